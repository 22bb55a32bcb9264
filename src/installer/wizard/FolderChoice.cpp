#include "installer/wizard/FolderChoice.h"

namespace {

ByteString cutToBuffer(const ByteString& text)
{
    return text.length() > kFolderBufferSize - 1 ? text.substr(0, kFolderBufferSize - 1) : text;
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
