// The uninstaller really started for a rollback: a stand-in program that logs its command line,
// its current folder and where its data begins.
#include "../UninstallTestSupport.h"

#include "../../system/win/BesideTestProgram.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/UninstallCommit.h"

#include <windows.h>

#include <filesystem>

namespace {

class UninstallerStart : public UninstallTest {
protected:
    void SetUp() override
    {
        UninstallTest::SetUp();
        uninstallServices().runAndWait = systemUninstallServices().runAndWait;
    }

    std::vector<std::string> logLines(const std::string& program) const
    {
        std::vector<std::string> lines;
        std::istringstream log(readFile(program + ".log"));
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }
};

} // namespace

TEST_F(UninstallerStart, CommittedInstallationIsUndoneByTheInstalledUninstallerRunSilently)
{
    const std::string standin = readFile(besideTestProgram("uninstaller_standin.exe"));
    ASSERT_FALSE(standin.empty());
    givenTemplateProgram(standin);
    addListEntry(folder.file("app.txt").c_str(), gUninstallLog.files);
    ASSERT_TRUE(commitUninstallData(nullptr));
    const std::string installed = readFile(uninstaller());
    EXPECT_EQ(uninstall_reader::parseUninstallerFile(installed).sections.at("Files:"),
              (std::vector<std::string>{folder.file("app.txt")}));

    SetCurrentDirectoryA(folder.path().root_path().string().c_str());
    EXPECT_EQ(rollbackOnExit(), 1);
    const std::vector<std::string> lines = logLines(uninstaller());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "\"" + uninstaller() + "\" /SILENT /NOREMOVE");
    EXPECT_EQ(std::filesystem::path(lines[1]), std::filesystem::path(folder.file("")).parent_path());
    EXPECT_EQ(lines[2], std::to_string(standin.size())) << "the trailer gives the program's size";
    EXPECT_EQ(lines[3], std::to_string(installed.size()));
    EXPECT_FALSE(std::filesystem::exists(uninstaller())) << "the uninstaller is deleted after its run";
}

TEST_F(UninstallerStart, ProgramThatCannotStartReportsMinusOne)
{
    writeFile(folder.file("not_a_program.exe"), "not a program");
    EXPECT_EQ(uninstallServices().runAndWait(folder.file("not_a_program.exe"), "\"x\" /SILENT /NOREMOVE", folder.file("")),
              -1);
}
