#include "SetupResourceDir.h"

#include "installer/state/InstallerState.h"
#include "installer/system/ResourceDirectory.h"

#include <windows.h>

#include <string>

void setupResourceDir(bool runFromFolder)
{
    const std::string modulePath = gModulePath.cStr();
    if (runFromFolder) {
        char current[MAX_PATH + 1] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        std::string folder = current;
        if (!folder.empty() && folder.back() == '\\')
            folder.pop_back();
        gMainInstaller.folders[kSetupDir].assignCStr(folder.c_str());
        gPackageToc.resourceDirectory.assignCStr(parentOfProgramFolder(modulePath).c_str());
        return;
    }
    gMainInstaller.folders[kSetupDir].assignCStr(packageDirectoryOf(modulePath).c_str());
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    const std::string directory = freeResourceDirectory(n && n < MAX_PATH ? temp : "", GetTickCount(),
        [](const std::string& candidate) { return GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES; });
    gPackageToc.resourceDirectory.assignCStr(directory.c_str());
}
