#include "installer/wizard/FolderChoice.h"

namespace {

ByteString cutToBuffer(const ByteString& text)
{
    if (text.length() <= kFolderBufferSize - 1)
        return text;
    // Never inside a UTF-8 character: half a character would make the whole text unshowable.
    std::uint32_t end = kFolderBufferSize - 1;
    while (end > 0 && (text.at(end) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

} // namespace

ByteString browsedDestination(const ByteString& folder, const ByteString& safeProductId, bool appendProductId)
{
    ByteString path = folder;
    if (path.empty() || path.at(path.length() - 1) != '\\')
        path.appendChar('\\');
    if (appendProductId)
        path.append(safeProductId);
    return cutToBuffer(path);
}

ByteString groupFromListLine(const ByteString& line, const ByteString& safeProductId, bool appendProductId)
{
    ByteString group = line;
    if (appendProductId) {
        if (!group.empty())
            group.appendChar('\\');
        group.append(safeProductId);
    }
    return cutToBuffer(group);
}
