#include "installer/variables/TextExpansion.h"

#include "installer/state/InstallerState.h"
#include "installer/system/ShortPathName.h"
#include "installer/variables/ProgramGroupFolder.h"
#include "installer/variables/UninstallerPath.h"

namespace {

ByteString withoutTrailingBackslash(const ByteString& path)
{
    ByteString result(path);
    if (!result.empty() && result.at(result.length() - 1) == '\\')
        result.erase(result.length() - 1, 1);
    return result;
}

void expandShortcutFolder(ByteString& text)
{
    if (text.find("<ShortcutDir>") < 0 && text.find("<ShortShortcutDir>") < 0)
        return;
    ByteString folder = withoutTrailingBackslash(programGroupFolder());
    ByteString shortFolder = shortPathName(folder.cStr());
    if (shortFolder.empty())
        shortFolder = folder; // the folder does not exist yet
    text.replace("<ShortShortcutDir>", shortFolder.cStr());
    text.replace("<ShortcutDir>", folder.cStr());
}

} // namespace

void expandBuiltinVariables(ByteString& text)
{
    if (text.findChar('<') < 0)
        return;
    ByteString install = withoutTrailingBackslash(gPackageToc.installDir);

    expandShortcutFolder(text);
    text.replace("<UserName>", gInstallerContext.userName.cStr());
    text.replace("<UserCompany>", gInstallerContext.organisation.cStr());
    // The short name is looked up on disk, component by component: only when it is used.
    if (text.find("<ShortInstallDir>") >= 0) {
        ByteString shortInstall = shortPathName(install.cStr());
        text.replace("<ShortInstallDir>", shortInstall.cStr());
    }
    text.replace("<InstallDir>", install.cStr());
    if (text.find("<UninstallerName>") >= 0 && !computingUninstallerPath()) {
        ByteString uninstaller = uninstallerPath();
        text.replace("<UninstallerName>", uninstaller.cStr());
    }
    text.replace("<ResourceDir>", gPackageToc.resourceDirectory.cStr());
}
