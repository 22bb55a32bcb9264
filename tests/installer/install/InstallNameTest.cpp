// Install paths from record names: variables replaced once, doubled backslashes, components that
// could leave the folder.
#include "installer/install/InstallName.h"

#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

TEST(InstallName, DoubledBackslashesCollapseAfterTheNetworkPrefix)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\\\Program Files\\\\App\\a.dll", "C:\\Program Files\\App\\a.dll"},
        {"\\\\server\\share\\\\dir\\x", "\\\\server\\share\\dir\\x"},
        {"C:\\a\\\\\\\\b", "C:\\a\\\\b"},
        {"", ""},
        {"\\", "\\"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(collapseDoubleBackslashes(in), out) << in;
}

TEST(InstallName, DotComponentsAreFound)
{
    EXPECT_TRUE(hasRelativeComponent("C:\\App\\..\\Windows\\x.dll"));
    EXPECT_TRUE(hasRelativeComponent("C:\\App\\.\\x.dll"));
    EXPECT_TRUE(hasRelativeComponent("C:/App/../x"));
    EXPECT_TRUE(hasRelativeComponent(".."));
    EXPECT_FALSE(hasRelativeComponent("C:\\App\\..x\\x..dll"));
    EXPECT_FALSE(hasRelativeComponent("C:\\App\\...\\x"));
    EXPECT_FALSE(hasRelativeComponent("\\\\server\\share\\x"));
}

TEST(InstallName, FolderIsEverythingBeforeTheLastSeparator)
{
    EXPECT_EQ(folderOf("C:\\App\\sub\\a.txt"), "C:\\App\\sub");
    EXPECT_EQ(folderOf("/tmp/a/b"), "/tmp/a");
    EXPECT_EQ(folderOf("a.txt"), "");
}

TEST(InstallName, InsertedValuesAreNotExpandedAgain)
{
    const CleanVariableState clean;
    gInstallerContext.userName = ByteString("<Secret>");
    gPackageToc.installDir = ByteString("X:\\App\\");
    setVariableText("<Product>", "<Secret>Tool");
    setVariableText("<Secret>", "LEAKED");
    setVariableText("<Edition>", "Home");
    EXPECT_EQ(expandNameOnce("<InstallDir>\\<Product>\\<UserName>\\<Edition>\\<Secret>.txt"),
              "X:\\App\\<Secret>Tool\\<Secret>\\Home\\LEAKED.txt");
    EXPECT_EQ(expandNameOnce("X:\\<Unknown>\\a<b<Edition>>"), "X:\\<Unknown>\\a<bHome>");
}
