#include "installer/variables/ProgramGroupFolder.h"

#include "installer/state/InstallerState.h"

namespace {

void appendBackslashWhenMissing(ByteString& path)
{
    if (path.empty() || path.at(path.length() - 1) != '\\')
        path.appendChar('\\');
}

} // namespace

ByteString programGroupFolder()
{
    const bool allUsers = gInstallerContext.unicode && (gInstallerContext.optionWord & kOptionAllUsersStartMenu);
    ByteString folder = programsMenuFolder(allUsers);
    appendBackslashWhenMissing(folder);
    folder.append(gPackageToc.shortcutDir);
    appendBackslashWhenMissing(folder);
    return folder;
}
