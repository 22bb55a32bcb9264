#include "installer/system/win/ComRef.h"
#include "installer/system/win/Registry.h"
#include "installer/system/win/Shortcut.h"
#include "installer/system/win/SpecialFolders.h"
#include "installer/system/win/UserAdmin.h"
#include "installer/system/win/VersionResource.h"
#include "installer/text/win/TextConversion.h"

#include "installer/system/VersionNumbers.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/ByteStringTestSupport.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
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

// Names in UTF-8 as the package writes them: characters of no code page, an emoji among them.
const char* const kFolderUtf8 = "Mein Ordner \xC3\x9C \xE2\x99\xAA \xE9\x9F\xB3 \xF0\x9F\x8E\xB9";
const wchar_t* const kFolderWide = L"Mein Ordner \u00DC \u266A \u97F3 \U0001F3B9";

TEST(ShortcutTest, NamesOutsideTheCodePageReadBackThroughTheWideLink)
{
    ComScope com;
    TempFolder root;
    const std::filesystem::path wideFolder = root.path() / kFolderWide;
    std::filesystem::create_directories(wideFolder);
    std::ofstream(wideFolder / L"caf\u00E9.exe") << "x";
    const std::string folder = root.path().string() + "\\" + kFolderUtf8;
    const std::string target = folder + "\\caf\xC3\xA9.exe";
    const std::string link = folder + "\\\xE9\x9F\xB3\xE6\xA5\xBD.lnk";
    ASSERT_TRUE(createShortcut(target.c_str(), link.c_str(), "Klavier \xE2\x99\xAA", folder.c_str(), target.c_str(), 0,
                               "/open \"\xC3\xBC\""));

    ComRef<IShellLinkW> shellLink;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.out())));
    ComRef<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.out())));
    const std::filesystem::path wideLink = wideFolder / L"\u97F3\u697D.lnk";
    ASSERT_TRUE(std::filesystem::exists(wideLink));
    ASSERT_TRUE(SUCCEEDED(file->Load(wideLink.c_str(), STGM_READ)));
    wchar_t text[MAX_PATH] = {};
    // The target as the shell opens it: its item list. (Wine keeps the link's plain path text in
    // the ANSI code page only, whoever writes the link.)
    LPITEMIDLIST items = nullptr;
    ASSERT_TRUE(SUCCEEDED(shellLink->GetIDList(&items)) && items);
    SHGetPathFromIDListW(items, text);
    CoTaskMemFree(items);
    EXPECT_EQ(std::wstring(text), (wideFolder / L"caf\u00E9.exe").wstring());
    shellLink->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_EQ(std::wstring(text), wideFolder.wstring());
    shellLink->GetArguments(text, MAX_PATH);
    EXPECT_STREQ(text, L"/open \"\u00FC\"");
    shellLink->GetDescription(text, MAX_PATH);
    EXPECT_STREQ(text, L"Klavier \u266A");
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

TEST(RegistryTest, NamesAndTextsOutsideTheCodePageAreStoredAsWritten)
{
    RegistryTestKey key;
    HKEY opened = nullptr;
    ASSERT_EQ(openRegistryKey(HKEY_CURRENT_USER, key.path(), KEY_ALL_ACCESS, &opened), ERROR_SUCCESS);
    const std::string name = std::string("Gr\xC3\xB6\xC3\x9F" "e ") + kFolderUtf8;
    const std::string text = std::string("C:\\") + kFolderUtf8 + "\\Korvanel";
    const std::string list = std::string("caf\xC3\xA9") + '\0' + kFolderUtf8 + std::string("\0\0", 2);
    EXPECT_EQ(setRegistryValue(opened, name.c_str(), REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)), ERROR_SUCCESS);
    EXPECT_EQ(setRegistryValue(opened, "List", REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list.data()),
                               static_cast<DWORD>(list.size())), ERROR_SUCCESS);
    RegCloseKey(opened);

    // What another program reads through the wide functions.
    const std::wstring wideKey(key.path(), key.path() + std::strlen(key.path()));
    wchar_t stored[MAX_PATH] = {};
    DWORD size = sizeof(stored);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, wideKey.c_str(), (std::wstring(L"Gr\u00F6\u00DFe ") + kFolderWide).c_str(),
                           RRF_RT_REG_SZ, nullptr, stored, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), std::wstring(L"C:\\") + kFolderWide + L"\\Korvanel");
    size = sizeof(stored);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, wideKey.c_str(), L"List", RRF_RT_REG_MULTI_SZ, nullptr, stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored, size / sizeof(wchar_t)), std::wstring(L"caf\u00E9\0", 5) + kFolderWide + std::wstring(L"\0\0", 2));

    // And what the installer reads back: its own UTF-8.
    std::vector<std::uint8_t> out;
    ASSERT_EQ(readRegistryBytes(HKEY_CURRENT_USER, key.path(), name.c_str(), &out), 1);
    EXPECT_EQ(std::string(out.begin(), out.end()), text + std::string("\0\0", 2));
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
