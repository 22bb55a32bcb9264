#include "installer/system/FileSearch.h"

#include "installer/text/CStrings.h"

namespace {

bool sameNameIgnoringCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(ca) != lower(cb))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

int searchFolder(const FileSearchSystem& system, const std::string& folder, const char* name, ByteString* out, int depth)
{
    std::vector<FolderEntry> entries;
    if (!system.listFolder(folder, entries))
        return -3;
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder) {
            if (entry.name.empty() || entry.name[0] == '.' || entry.isReparsePoint || depth >= kMaxFileSearchDepth)
                continue;
            if (searchFolder(system, folder + entry.name + "\\", name, out, depth + 1) > 0)
                return 1;
        } else if (sameNameIgnoringCase(entry.name, name)) {
            out->assignCStr(folder.c_str());
            return 1;
        }
    }
    if (system.dispatchMessages)
        system.dispatchMessages();
    return 0;
}

} // namespace

int findFileWith(const FileSearchSystem& system, const char* folder, const char* name, ByteString* out)
{
    if (!folder || !name || !out)
        return -1;
    return searchFolder(system, folder, name, out, 0);
}
