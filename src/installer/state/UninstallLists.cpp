#include "installer/state/UninstallLists.h"

#include "installer/state/InstallerState.h"

#include <cstring>

void addListEntry(const char* text, ByteString& list)
{
    if (!list.empty() && list.at(list.length() - 1) == 0)
        list.erase(list.length() - 1, 1);
    list.appendCStr(text, static_cast<std::uint32_t>(std::strlen(text)));
    list.appendChar(0);
    list.appendChar(0);
}

std::vector<std::string> listEntries(const ByteString& list)
{
    std::vector<std::string> entries;
    const char* bytes = reinterpret_cast<const char*>(list.data());
    std::uint32_t pos = 0;
    while (pos < list.length() && bytes[pos] != 0) {
        const void* end = std::memchr(bytes + pos, 0, list.length() - pos);
        const std::uint32_t stop = end ? static_cast<std::uint32_t>(static_cast<const char*>(end) - bytes) : list.length();
        entries.emplace_back(bytes + pos, stop - pos);
        pos = stop + 1;
    }
    return entries;
}

void addBackupLine(const ByteString& line)
{
    if (!gUninstallLog.backupText.empty())
        gUninstallLog.backupText.appendCStr("\r\n");
    gUninstallLog.backupText.append(line);
}
