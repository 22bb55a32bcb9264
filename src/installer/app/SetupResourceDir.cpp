#include "SetupResourceDir.h"

#include "installer/state/InstallerState.h"
#include "installer/system/ResourceDirectory.h"
#include "installer/system/win/SystemPaths.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <string>

void setupResourceDir(bool runFromFolder)
{
    const std::string modulePath = gModulePath.cStr();
    if (runFromFolder) {
        std::string folder = currentFolderPath().cStr();
        if (!folder.empty() && folder.back() == '\\')
            folder.pop_back();
        gMainInstaller.folders[kSetupDir].assignCStr(folder.c_str());
        gPackageToc.resourceDirectory.assignCStr(parentOfProgramFolder(modulePath).c_str());
        return;
    }
    gMainInstaller.folders[kSetupDir].assignCStr(packageDirectoryOf(modulePath).c_str());
    ByteString temp = tempFolderPath();
    const std::string directory = freeResourceDirectory(temp.cStr(), GetTickCount(),
        [](const std::string& candidate) { return GetFileAttributesW(WideName(candidate)) != INVALID_FILE_ATTRIBUTES; });
    gPackageToc.resourceDirectory.assignCStr(directory.c_str());
}
