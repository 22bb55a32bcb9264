#include "installer/install/SystemChanges.h"

#include "installer/install/PendingRenames.h"
#include "installer/system/FileSystem.h"
#include "installer/system/ShortPathName.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <string>

namespace {

// Systems without rename lists in the registry read the "Rename" section of WININIT.INI.
void writeToWininit(const PendingRename& rename)
{
    char windows[MAX_PATH] = {};
    const std::uint32_t length = getWindowsDirectory(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    ByteString folder = shortPathName(windows);
    const std::string ini = std::string(folder.empty() ? windows : folder.cStr()) + "\\WININIT.INI";
    ByteString target = shortPathName(rename.target.c_str());
    ByteString temporary = shortPathName(rename.temporary.c_str());
    WritePrivateProfileStringW(L"Rename", WideName(target.empty() ? rename.target.c_str() : target.cStr()),
                               WideName(temporary.empty() ? rename.temporary.c_str() : temporary.cStr()), WideName(ini));
}

} // namespace

void applyPendingRenames()
{
    for (const PendingRename& rename : pendingRenamesOf(gPackageToc.renamePairs)) {
        if (!MoveFileExW(WideName(rename.temporary), WideName(rename.target),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT))
            writeToWininit(rename);
    }
    gPackageToc.renamePairs = ByteString();
}
