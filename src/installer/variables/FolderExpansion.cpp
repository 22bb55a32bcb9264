#include "installer/variables/TextExpansion.h"

#include "installer/state/InstallerState.h"

namespace {

struct FolderName {
    const char* name;
    FolderValue value;
};

// The order of replacement; "<.NETDir>" is kept outside the folder array and comes after
// "<WindowsDir>".
const FolderName kBeforeDotNet[] = {
    {"<ProgramsDir>", kProgramsDir},       {"<ShortProgramsDir>", kProgramsDirShort},
    {"<StartUp>", kStartUp},               {"<ShortStartUp>", kStartUpShort},
    {"<Desktop>", kDesktop},               {"<ShortDesktop>", kDesktopShort},
    {"<FontDir>", kFontDir},               {"<StartMenu>", kStartMenu},
    {"<ShortStartMenu>", kStartMenuShort}, {"<ProgramFiles>", kProgramFiles},
    {"<ShortProgramFiles>", kProgramFilesShort}, {"<CommonFiles>", kCommonFiles},
    {"<ShortCommonFiles>", kCommonFilesShort},   {"<WindowsDir>", kWindowsDir},
};

const FolderName kAfterDotNet[] = {
    {"<ShortWindowsDir>", kWindowsDirShort}, {"<SystemDir>", kSystemDir},
    {"<ShortSystemDir>", kSystemDirShort},   {"<TempDir>", kTempDir},
    {"<ShortTempDir>", kTempDirShort},       {"<SetupDir>", kSetupDir},
    {"<SystemDrive>", kSystemDrive},         {"<Date>", kDate},
    {"<StartUpNt>", kStartUpNt},             {"<StartMenuNt>", kStartMenuNt},
    {"<ProgramsDirNt>", kProgramsDirNt},     {"<DesktopNt>", kDesktopNt},
    {"<MyDocuments>", kMyDocuments},
};

void replaceAll(ByteString& text, const char* name, ByteString& value)
{
    text.replace(name, value.cStr());
}

void replaceFolders(ByteString& text, const FolderName* names, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        ByteString& value = gMainInstaller.folders[names[i].value];
        // The package folder is known only after the resource folder is set up; until then its
        // name stays in the text.
        if (names[i].value == kSetupDir && value.empty())
            continue;
        replaceAll(text, names[i].name, value);
    }
}

} // namespace

void expandFolderVariables(ByteString& text)
{
    if (text.findChar('<') < 0)
        return;
    replaceFolders(text, kBeforeDotNet, std::size(kBeforeDotNet));
    replaceAll(text, "<.NETDir>", gMainInstaller.dotNetDir);
    replaceFolders(text, kAfterDotNet, std::size(kAfterDotNet));
}
