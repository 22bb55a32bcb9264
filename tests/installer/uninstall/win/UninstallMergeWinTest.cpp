// A merge onto an installed uninstaller that another program holds open: the commit fails and
// says which file and the system's reason, the file stays as it was, and the log keeps this run's
// entries, so that the rollback still undoes them. A read-only uninstaller is merged all the same
// and stays read-only.
#include "../UninstallTestSupport.h"

#include "installer/state/UninstallLists.h"
#include "installer/system/SystemError.h"
#include "installer/uninstall/UninstallCommit.h"

#include <windows.h>

namespace {

class HeldUninstaller : public UninstallTest {
protected:
    void TearDown() override
    {
        if (lock_ != INVALID_HANDLE_VALUE)
            CloseHandle(lock_);
        SetFileAttributesA(uninstaller().c_str(), FILE_ATTRIBUTE_NORMAL);
        UninstallTest::TearDown();
    }

    // An installation committed into the uninstaller, then the next run's template and entry.
    void givenAnInstallationAndANextRun()
    {
        givenTemplateProgram();
        addListEntry("first", gUninstallLog.files);
        ASSERT_TRUE(commitUninstallData(nullptr));
        gUninstallLog.committed = false;
        givenTemplateProgram();
        addListEntry("second", gUninstallLog.files);
    }

    HANDLE lock_ = INVALID_HANDLE_VALUE;
};

} // namespace

TEST_F(HeldUninstaller, ALockedUninstallerFailsTheCommitNamingTheFileAndKeepsTheRunsEntries)
{
    givenAnInstallationAndANextRun();
    const std::string installed = readFile(uninstaller());
    // Another program reads it and lets no one write.
    lock_ = CreateFileA(uninstaller().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock_, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(commitUninstallData(nullptr));

    ASSERT_EQ(errors.size(), 1u);
    const std::string reason = systemErrorMessage(ERROR_SHARING_VIOLATION).cStr();
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(errors[0], "The uninstall data of this installation could not be added to \"" + uninstaller() +
                             "\": " + reason);
    EXPECT_EQ(listEntries(gUninstallLog.files), (std::vector<std::string>{"second"}));
    CloseHandle(lock_);
    lock_ = INVALID_HANDLE_VALUE;
    EXPECT_EQ(readFile(uninstaller()), installed);

    // The rollback gives the template this run's entries (and only those).
    rollbackOnExit();
    ASSERT_EQ(started.size(), 1u);
    const uninstall_reader::Data data = uninstall_reader::parseUninstallerFile(started[0].bytes);
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"second"}));
    EXPECT_EQ(readFile(uninstaller()), installed) << "the earlier installation's uninstaller stays";
}

TEST_F(HeldUninstaller, AReadOnlyUninstallerIsMergedAndStaysReadOnly)
{
    givenAnInstallationAndANextRun();
    ASSERT_TRUE(SetFileAttributesA(uninstaller().c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(commitUninstallData(nullptr));

    EXPECT_TRUE(errors.empty());
    const uninstall_reader::Data data = uninstall_reader::parseUninstallerFile(readFile(uninstaller()));
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"second", "first"}));
    EXPECT_TRUE(GetFileAttributesA(uninstaller().c_str()) & FILE_ATTRIBUTE_READONLY);
}
