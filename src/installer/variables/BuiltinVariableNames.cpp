#include "installer/variables/BuiltinVariableNames.h"

#include "installer/state/InstallerState.h"
#include "installer/variables/UninstallerPath.h"

#include <cstring>

namespace {

struct FolderName {
    const char* name;
    FolderValue value;
};

// Short forms and "<MyDocuments>" are not reachable by name.
const FolderName kFolderNames[] = {
    {"<CommonFiles>", kCommonFiles}, {"<Date>", kDate},           {"<Desktop>", kDesktop},
    {"<DesktopNt>", kDesktopNt},     {"<FontDir>", kFontDir},     {"<ProgramFiles>", kProgramFiles},
    {"<SetupDir>", kSetupDir},       {"<StartMenu>", kStartMenu}, {"<StartMenuNt>", kStartMenuNt},
    {"<StartUp>", kStartUp},         {"<StartUpNt>", kStartUpNt}, {"<SystemDir>", kSystemDir},
    {"<SystemDrive>", kSystemDrive}, {"<TempDir>", kTempDir},     {"<WindowsDir>", kWindowsDir},
    {"<Programs>", kProgramsDir},    {"<ProgramsNt>", kProgramsDirNt},
};

// The texts that both functions reach, except the uninstaller (computed when read) and the
// resource folder (read only).
ByteString* builtinValue(const char* name)
{
    for (const FolderName& folder : kFolderNames)
        if (std::strcmp(name, folder.name) == 0)
            return &gMainInstaller.folders[folder.value];
    if (std::strcmp(name, "<.NETDir>") == 0)
        return &gMainInstaller.dotNetDir;
    if (std::strcmp(name, "<InstallDir>") == 0)
        return &gPackageToc.installDir;
    if (std::strcmp(name, "<ShortcutDir>") == 0)
        return &gPackageToc.shortcutDir;
    if (std::strcmp(name, "<UserName>") == 0)
        return &gInstallerContext.userName;
    if (std::strcmp(name, "<UserCompany>") == 0)
        return &gInstallerContext.organisation;
    return nullptr;
}

} // namespace

const char* builtinVariableText(const char* name)
{
    if (!name)
        return nullptr;
    if (ByteString* value = builtinValue(name))
        return value->cStr();
    if (std::strcmp(name, "<UninstallerName>") == 0) {
        static ByteString path;
        path = uninstallerPath();
        return path.cStr();
    }
    if (std::strcmp(name, "<ResourceDir>") == 0)
        return gPackageToc.resourceDirectory.cStr();
    return nullptr;
}

bool setBuiltinVariableText(const char* name, const char* text)
{
    if (!name)
        return false;
    if (ByteString* value = builtinValue(name)) {
        value->assignCStr(text);
        return true;
    }
    if (std::strcmp(name, "<UninstallerName>") == 0) {
        gPackageToc.uninstallerNameTemplate.assignCStr(text);
        return true;
    }
    return false;
}
