#include "installer/system/win/ComRef.h"
#include "installer/system/win/Registry.h"
#include "installer/system/win/Shortcut.h"
#include "installer/system/win/SpecialFolders.h"
#include "installer/system/win/UserAdmin.h"
#include "installer/system/win/VersionResource.h"
#include "installer/text/win/TextConversion.h"

#include "installer/text/ByteStringTestSupport.h"
#include "installer/text/TempFolder.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/system/VersionNumbers.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <string>

namespace {

class ComScope {
public:
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

TEST(ShortcutTest, CreatedLinkReadsBackThroughTheShellLinkObject)
{
    ComScope com;
    TempFolder root;
    const std::string link = root.file("Program.lnk");
    const std::string target = besideTestProgram("version_fixture.exe");
    ASSERT_TRUE(createShortcut(target.c_str(), link.c_str(), "The program", "C:\\windows", "C:\\windows\\notepad.exe", 2, "/x \"y z\""));

    ComRef<IShellLinkA> shellLink;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.out())));
    ComRef<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.out())));
    wchar_t wideLink[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wideLink, MAX_PATH);
    ASSERT_TRUE(SUCCEEDED(file->Load(wideLink, STGM_READ)));
    char text[MAX_PATH] = {};
    shellLink->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_STRCASEEQ(text, target.c_str());
    shellLink->GetArguments(text, MAX_PATH);
    EXPECT_STREQ(text, "/x \"y z\"");
    shellLink->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_STRCASEEQ(text, "C:\\windows");
    int iconIndex = -1;
    shellLink->GetIconLocation(text, MAX_PATH, &iconIndex);
    EXPECT_STRCASEEQ(text, "C:\\windows\\notepad.exe");
    EXPECT_EQ(iconIndex, 2);
    shellLink->GetDescription(text, MAX_PATH);
    EXPECT_STREQ(text, "The program");
}

TEST(ShortcutTest, FailsWhenTheLinkCannotBeSaved)
{
    ComScope com;
    TempFolder root;
    EXPECT_FALSE(createShortcut("C:\\x.exe", root.file("missing folder\\x.lnk").c_str(), "", "", "", 0, ""));
    EXPECT_FALSE(createShortcut("C:\\x.exe", "", "", "", "", 0, ""));
}

// A key of this test's own below HKEY_CURRENT_USER (tests run in parallel), removed afterwards.
class RegistryTestKey {
public:
    RegistryTestKey()
        : path_(std::string("Software\\InstallerCoreTests\\") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, path(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~RegistryTestKey()
    {
        RegCloseKey(key_);
        RegDeleteKeyA(HKEY_CURRENT_USER, path());
    }
    const char* path() const { return path_.c_str(); }
    void set(const char* name, DWORD type, const void* data, DWORD size)
    {
        RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size);
    }

private:
    std::string path_;
    HKEY key_ = nullptr;
};

TEST(RegistryTest, ReadsEachTypeWithATrailingZero)
{
    RegistryTestKey key;
    const DWORD number = 0x01020304;
    key.set("Text", REG_SZ, "C:\\Program Files", 17);
    key.set("Expand", REG_EXPAND_SZ, "%WINDIR%", 9);
    key.set("Number", REG_DWORD, &number, 4);
    key.set("List", REG_MULTI_SZ, "a\0bc\0", 6);
    key.set("Binary", REG_BINARY, "\x00\xFF\x10", 3);
    key.set("", REG_SZ, "default", 8);
    struct Case { const char* name; std::string expected; };
    const Case cases[] = {
        {"Text", std::string("C:\\Program Files\0\0", 18)},
        {"Expand", std::string("%WINDIR%\0\0", 10)},
        {"Number", std::string("\x04\x03\x02\x01\0", 5)},
        {"List", std::string("a\0bc\0\0", 7)},
        {"Binary", std::string("\x00\xFF\x10\0", 4)},
        {"", std::string("default\0\0", 9)},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> out;
        EXPECT_EQ(readRegistryBytes(HKEY_CURRENT_USER, key.path(), c.name, &out), 1) << c.name;
        EXPECT_EQ(std::string(out.begin(), out.end()), c.expected) << c.name;
    }
}

TEST(RegistryTest, ErrorCodes)
{
    RegistryTestKey key;
    std::vector<std::uint8_t> out{1, 2, 3};
    EXPECT_EQ(readRegistryBytes(HKEY_CURRENT_USER, key.path(), "Missing", &out), -3);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(readRegistryBytes(HKEY_CURRENT_USER, "Software\\InstallerCoreTests\\NoSuchKey", "x", &out), -4);
    EXPECT_EQ(readRegistryBytes(HKEY_CURRENT_USER, key.path(), "x", nullptr), -1);
}

TEST(VersionResourceTest, ReadsTheFixedVersionAndDescription)
{
    const std::string fixture = besideTestProgram("version_fixture.exe");
    std::uint32_t high = 0, low = 0;
    ASSERT_EQ(getFileVersion(fixture.c_str(), &high, &low), 1);
    EXPECT_EQ(high, (1u << 16) | 2);
    EXPECT_EQ(low, (30u << 16) | 400);
    EXPECT_EQ(compareVersion(high, low, (1u << 16) | 10, 0), 1);

    std::uint32_t translation = 0;
    ByteString description;
    EXPECT_EQ(getFileDescription(fixture.c_str(), &translation, &description), 1);
    EXPECT_EQ(translation, (1252u << 16) | 0x0407);
    EXPECT_EQ(str(description), "Fixture for version tests");
    EXPECT_EQ(str(fileDescriptionQuery(translation)), "\\StringFileInfo\\040704E4\\FileDescription");
    EXPECT_EQ(getFileDescription(fixture.c_str(), nullptr, nullptr), 1);
}

TEST(VersionResourceTest, MissingInformation)
{
    const std::string withoutDescription = besideTestProgram("version_without_description.exe");
    std::uint32_t translation = 0;
    ByteString description("stale");
    EXPECT_EQ(getFileDescription(withoutDescription.c_str(), &translation, &description), 1);
    EXPECT_EQ(translation, (1200u << 16) | 0x0409);
    EXPECT_TRUE(description.empty());

    const std::string plain = besideTestProgram("installer_tests.exe");
    std::uint32_t high = 7, low = 7;
    EXPECT_EQ(getFileVersion(plain.c_str(), &high, &low), -1);
    EXPECT_EQ(getFileDescription(plain.c_str(), nullptr, nullptr), -1);
    EXPECT_EQ(getFileVersion("C:\\no such file.dll", &high, &low), -1);
}

TEST(SpecialFoldersTest, KnownFoldersResolve)
{
    char path[MAX_PATH] = {};
    ASSERT_TRUE(getSpecialFolder(CSIDL_PROGRAMS, path));
    EXPECT_NE(path[0], '\0');
    ASSERT_TRUE(getSpecialFolder(CSIDL_SYSTEM, path)); // not among the Explorer values
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_STRCASEEQ(path, system);
    wchar_t wide[MAX_PATH] = {};
    ASSERT_TRUE(getSpecialFolderWide(CSIDL_SYSTEM, wide));
    EXPECT_NE(wide[0], L'\0');
    EXPECT_FALSE(getSpecialFolder(0x7F, path));
}

TEST(UserAdminTest, TheSystemsAnswerOrTheFixedOne)
{
    const bool real = isUserAdmin(); // Wine's user is an administrator
    EXPECT_TRUE(real);
    setUserAdminAnswer(false);
    EXPECT_FALSE(isUserAdmin());
    setUserAdminAnswer(std::nullopt);
    EXPECT_EQ(isUserAdmin(), real);
}

TEST(TextConversionTest, AnsiAndWindowTexts)
{
    ByteString utf8("unchanged");
    ansiToUtf8("plain", utf8);
    EXPECT_EQ(str(utf8), "plain");
    ansiToUtf8(nullptr, utf8);
    EXPECT_EQ(str(utf8), "plain");
    ByteString ansi;
    wideToAnsi(L"abc", ansi);
    EXPECT_EQ(str(ansi), "abc");
    if (GetACP() == 1252) {
        ansiToUtf8("caf\xE9", utf8);
        EXPECT_EQ(str(utf8), "caf\xC3\xA9");
        wideToAnsi(L"caf\u00E9", ansi);
        EXPECT_EQ(str(ansi), "caf\xE9");
    }

    HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, dialog, reinterpret_cast<HMENU>(42), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(getDlgItemTextAlloc(dialog, 42).empty());
    setDlgItemTextUtf8(dialog, 42, "\xE2\x82\xAC 5");
    wchar_t wide[16] = {};
    GetWindowTextW(edit, wide, 16);
    EXPECT_STREQ(wide, L"\u20AC 5");
    SetWindowTextA(edit, "typed text");
    EXPECT_EQ(str(getDlgItemTextAlloc(dialog, 42)), "typed text");
    EXPECT_TRUE(getDlgItemTextAlloc(dialog, 99).empty());
    DestroyWindow(dialog);
}

} // namespace
