// Which installed versions an update accepts, and what it tells the user otherwise.
#include "installer/install/UpdateVersions.h"
#include "installer/state/InstallerState.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class UpdateVersionsTest : public ::testing::Test {
protected:
    UpdateVersionsTest() { gPackageToc.versionShown = ByteString("Two"); }
    ~UpdateVersionsTest() override
    {
        gPackageToc.updatableVersions = ByteString();
        gPackageToc.versionToInstall = ByteString();
        gPackageToc.versionShown = ByteString();
    }
    void versions(const char* updatable, const char* toInstall)
    {
        gPackageToc.updatableVersions = ByteString(updatable);
        gPackageToc.versionToInstall = ByteString(toInstall);
    }
    static std::string text(ByteString message) { return message.cStr(); }

    CleanVariableState clean;
};

struct RangeCase {
    const char* from;
    const char* to;
    const char* installed;
    bool allowed;
};

TEST_F(UpdateVersionsTest, RangeComparesNumbersPartByPart)
{
    const RangeCase cases[] = {
        {"1.0", "2.0", "1.5", true},   {"1.0", "2.0", "1.0", true},  {"1.0", "2.0", "0.9", false},
        {"1.0", "2.0", "2.1", false},  {"9.0", "11.0", "10.0", true}, {"1.2", "1.20", "1.10", true},
        {"1.2", "1.20", "1.100", false}, {"1.0", "2.0", "1.5.3", true}, {"1.0", "2.0", "10", false},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(std::string(c.installed) + " in " + c.from + ".." + c.to);
        versions(c.from, c.to);
        const UpdateVersionCheck check = checkVersionInRange(c.installed);
        EXPECT_EQ(check.allowed, c.allowed);
        if (!c.allowed) {
            EXPECT_EQ(text(check.message), std::string("This update supports updates from version ") + c.from +
                                               " up to version Two. You have version " + c.installed +
                                               " and it cannot be updated by this program.");
        }
    }
}

TEST_F(UpdateVersionsTest, TheVersionToInstallIsAlreadyInstalled)
{
    versions("1.0", "2.0");
    UpdateVersionCheck check = checkVersionInRange("2.0");
    EXPECT_FALSE(check.allowed);
    EXPECT_EQ(text(check.message), "This update updates to version Two which is already installed on your system.");

    versions("1.0|1.1", "2.0");
    check = checkVersionInList("2.0");
    EXPECT_FALSE(check.allowed);
    EXPECT_EQ(text(check.message), "This update updates to version Two which is already installed on your system");
}

TEST_F(UpdateVersionsTest, ListTakesExactElements)
{
    versions("1.0|1.1", "2.0");
    EXPECT_TRUE(checkVersionInList("1.1").allowed);
    EXPECT_TRUE(checkVersionInList("1.0").allowed);
    const UpdateVersionCheck check = checkVersionInList("1.2");
    EXPECT_FALSE(check.allowed);
    EXPECT_EQ(text(check.message), "This update supports updates from version(s) 1.0 and 1.1. You have currently "
                                   "version 1.2 and it cannot be updated by this program.");
    EXPECT_FALSE(checkVersionInList("1.10").allowed);
    EXPECT_FALSE(checkVersionInList("1").allowed);
}

TEST_F(UpdateVersionsTest, ListShownForPeople)
{
    EXPECT_EQ(text(updatableVersionsShown(ByteString("1.0"))), "1.0");
    EXPECT_EQ(text(updatableVersionsShown(ByteString("1.0|1.1"))), "1.0 and 1.1");
    EXPECT_EQ(text(updatableVersionsShown(ByteString("1.0|1.1|1.2|1.3"))), "1.0, 1.1, 1.2 and 1.3");
}

TEST_F(UpdateVersionsTest, PackageTextsReplaceTheMessagesWithoutBeingFormats)
{
    setVariableText("<__Internal_UpdateCannotUpdate2__>", "Only %s, not %s %s %d.");
    setVariableText("<__Internal_UpdateCannotUpdate1__>", "From %s to %s; you have %s.");
    versions("1.0|1.1", "2.0");
    EXPECT_EQ(text(checkVersionInList("0.5").message), "Only 1.0 and 1.1, not 0.5 %s %d.");
    versions("1.0", "2.0");
    EXPECT_EQ(text(checkVersionInRange("0.5").message), "From 1.0 to Two; you have 0.5.");
}

} // namespace
