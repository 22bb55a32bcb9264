// Write access to the package's registry keys, tested on a key below HKEY_CURRENT_USER. The test
// system grants every access, so the key opener refuses writing to keys named "Locked".
#include "installer/install/win/RegistryAccess.h"
#include "installer/install/win/StartupQuestions.h"
#include "installer/state/InstallerState.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const char* const kTestKey = "Software\\KvRegistryAccessTest";
std::vector<std::string>* shownTexts = nullptr;

int recordBox(const char* text, const char*, UINT)
{
    shownTexts->emplace_back(text);
    return IDOK;
}

LONG refuseLockedWrites(HKEY parent, const char* name, REGSAM access, HKEY* key)
{
    if (std::string(name) == "Locked" && (access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    return RegOpenKeyExA(parent, name, 0, access, key);
}

RegistryNode node(const char* name)
{
    RegistryNode n;
    n.name = ByteString(name);
    return n;
}

RegistryValue value(bool holds)
{
    RegistryValue v;
    v.name = ByteString("Setting");
    if (!holds) {
        v.condition = std::make_unique<ConditionRecord>();
        v.condition->osFlags = kConditionAnyOs;
        v.condition->comparisons.push_back({ByteString("1"), kCompareEqual, ByteString("2")});
    }
    return v;
}

class RegistryAccessTest : public ::testing::Test {
protected:
    RegistryAccessTest()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        shownTexts = &texts;
        previousBox_ = setStartupMessageBox(recordBox);
        previousOpener_ = setRegistryKeyOpener(refuseLockedWrites);
        gInstallerContext.osVersion.platformId = VER_PLATFORM_WIN32_NT;
    }
    ~RegistryAccessTest() override
    {
        setStartupMessageBox(previousBox_);
        setRegistryKeyOpener(previousOpener_);
        shownTexts = nullptr;
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        for (RegistryNode& root : gPackageToc.registryRoots)
            root = RegistryNode();
        gPackageToc.privilegesQuiet = 0;
    }
    static void createKey(const std::string& below)
    {
        HKEY key = nullptr;
        const std::string path = std::string(kTestKey) + below;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    // HKEY_CURRENT_USER\Software\KvRegistryAccessTest\<locked>.
    static void package(RegistryNode locked)
    {
        RegistryNode test = node("KvRegistryAccessTest");
        test.subkeys.push_back(std::move(locked));
        RegistryNode software = node("Software");
        software.subkeys.push_back(std::move(test));
        gPackageToc.registryRoots[1].rootKey = 0x80000001;
        gPackageToc.registryRoots[1].subkeys.clear();
        gPackageToc.registryRoots[1].subkeys.push_back(std::move(software));
    }

    CleanVariableState clean;
    std::vector<std::string> texts;

private:
    StartupMessageBox previousBox_ = nullptr;
    RegistryKeyOpener previousOpener_ = nullptr;
};

std::string noAccessText(const char* path)
{
    return std::string("You don't have the required privileges to continue the installation. Please have your system "
                       "administrator (or some other user with higher privileges) install this software\n"
                       "(Couldn't get write access to the \"") +
           path + "\" registry key)";
}

TEST_F(RegistryAccessTest, AKeyWithValuesNeedsWriteAccess)
{
    createKey("\\Locked");
    RegistryNode locked = node("Locked");
    locked.values.push_back(value(true));
    package(std::move(locked));

    EXPECT_EQ(checkRegistryAccess(), 0);
    EXPECT_EQ(texts, std::vector<std::string>{noAccessText("HKEY_CURRENT_USER\\Software\\KvRegistryAccessTest\\Locked")});
}

TEST_F(RegistryAccessTest, AnExistingKeyWithoutValuesOnlyNeedsItsSubkeys)
{
    createKey("\\Locked\\Child");
    RegistryNode locked = node("Locked");
    locked.subkeys.push_back(node("Child"));
    package(std::move(locked));
    EXPECT_EQ(checkRegistryAccess(), 1);

    RegistryNode withMissingChild = node("Locked");
    withMissingChild.subkeys.push_back(node("Missing"));
    package(std::move(withMissingChild));
    EXPECT_EQ(checkRegistryAccess(), 0);
    EXPECT_EQ(texts, std::vector<std::string>{noAccessText("HKEY_CURRENT_USER\\Software\\KvRegistryAccessTest\\Locked")});
}

TEST_F(RegistryAccessTest, AMissingKeyBelowAWritableOneCanBeCreated)
{
    createKey("");
    RegistryNode missing = node("New");
    missing.values.push_back(value(true));
    missing.subkeys.push_back(node("Deeper"));
    package(std::move(missing));
    EXPECT_EQ(checkRegistryAccess(), 1);
    EXPECT_TRUE(texts.empty());
}

TEST_F(RegistryAccessTest, WithConditionsOnlyValuesThatHoldCount)
{
    createKey("\\Locked");
    RegistryNode locked = node("Locked");
    locked.values.push_back(value(false));
    package(std::move(locked));
    EXPECT_EQ(checkRegistryAccess(), 0);

    texts.clear();
    gInstallerContext.optionWord = kOptionConditionsInAccessTest;
    EXPECT_EQ(checkRegistryAccess(), 1);
    EXPECT_TRUE(texts.empty());
}

TEST_F(RegistryAccessTest, TheQuietSwitchOnlyNotesTheFailure)
{
    createKey("\\Locked");
    RegistryNode locked = node("Locked");
    locked.values.push_back(value(true));
    package(std::move(locked));
    gPackageToc.privilegesQuiet = 1;

    EXPECT_EQ(checkRegistryAccess(), 0);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(getVariableInt("<InsufficientPrivileges>"), 1);
}

TEST_F(RegistryAccessTest, ThePackagesOwnMessageNamesThePath)
{
    createKey("\\Locked");
    RegistryNode locked = node("Locked");
    locked.values.push_back(value(true));
    package(std::move(locked));
    setVariableText("<__Internal_NoRegAccess__>", "No access:<\\n>%s %s %d");

    EXPECT_EQ(checkRegistryAccess(), 0);
    EXPECT_EQ(texts, std::vector<std::string>{"No access:\nHKEY_CURRENT_USER\\Software\\KvRegistryAccessTest\\Locked %s %d"});
}

TEST_F(RegistryAccessTest, OnlyNtSystemsAreTested)
{
    createKey("\\Locked");
    RegistryNode locked = node("Locked");
    locked.values.push_back(value(true));
    package(std::move(locked));
    gInstallerContext.osVersion.platformId = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_EQ(checkRegistryAccess(), 1);
}

TEST_F(RegistryAccessTest, TheRealRegistryGrantsAWritableKey)
{
    setRegistryKeyOpener(nullptr);
    createKey("\\Locked");
    RegistryNode locked = node("Locked");
    locked.values.push_back(value(true));
    package(std::move(locked));
    EXPECT_EQ(checkRegistryAccess(), 1);
}

} // namespace
