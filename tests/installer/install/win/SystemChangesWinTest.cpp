// The system changes against the real registry, INI and text files, shell links and libraries:
// registry values of every type read back with their result flags (also in the 64-bit view),
// INI entries, a shortcut read back through the shell link object, library and type-library
// registration, shared-library counts and renames handed to the system for the next restart.
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/SystemChanges.h"
#include "installer/install/win/RegistryWriter.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/variables/ConditionEvaluation.h"
#include "support/SharedStateLock.h"

#include <windows.h>
#include <objidl.h>
#include <oleauto.h>
#include <shlobj.h>

namespace fs = std::filesystem;

namespace {

using Bytes8 = std::vector<std::uint8_t>;

const std::string kTestKey = "Software\\KvSystemChangesTest";
const char* const kStandinKey = "Software\\KvRegistrationStandin";
const char* const kSharedLibrariesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kSessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

ConditionPtr failingCondition()
{
    auto condition = std::make_unique<ConditionRecord>();
    condition->osFlags = kConditionAnyOs;
    condition->comparisons.push_back({ByteString("1"), kCompareEqual, ByteString("2")});
    return condition;
}

RegistryValue value(const char* name, std::int32_t type, const char* data)
{
    RegistryValue v;
    v.name = ByteString(name);
    v.type = type;
    v.data = ByteString(data);
    return v;
}

RegistryNode key(const std::string& name)
{
    RegistryNode node;
    node.name = ByteString(name.c_str());
    return node;
}

// The value's type and bytes, or type 0 when it cannot be read.
std::pair<DWORD, Bytes8> readValue(HKEY root, const std::string& keyPath, const char* name, REGSAM view = 0)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
        return {0, {}};
    DWORD type = 0;
    DWORD size = 0;
    Bytes8 bytes;
    if (RegQueryValueExA(handle, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        bytes.resize(size);
        RegQueryValueExA(handle, name, nullptr, &type, bytes.data(), &size);
        bytes.resize(size);
    } else {
        type = 0;
    }
    RegCloseKey(handle);
    return {type, bytes};
}

bool keyExists(HKEY root, const std::string& keyPath, REGSAM view = 0)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void deleteTree(HKEY root, const std::string& keyPath, REGSAM view = 0)
{
    HKEY parent = nullptr;
    const std::size_t slash = keyPath.rfind('\\');
    if (RegOpenKeyExA(root, keyPath.substr(0, slash).c_str(), 0, KEY_ALL_ACCESS | view, &parent) != ERROR_SUCCESS)
        return;
    RegDeleteTreeA(parent, keyPath.substr(slash + 1).c_str());
    RegCloseKey(parent);
}

Bytes8 bytes8(const std::string& text)
{
    return Bytes8(text.begin(), text.end());
}

class SystemChanges : public FileInstallTest {
protected:
    SystemChanges()
    {
        CoInitialize(nullptr);
        fs::create_directories(destination);
        deleteTree(HKEY_CURRENT_USER, kTestKey);
    }
    ~SystemChanges() override
    {
        deleteTree(HKEY_CURRENT_USER, kTestKey);
        setRegistryViewBits(0);
        gPackageToc.iniEntries.clear();
        gPackageToc.shortcuts.clear();
        gPackageToc.uninstallerNameTemplate = ByteString();
        gUninstallLog.shared = ByteString();
        gUninstallLog.placeholderMade = false;
        gLanguageTexts[176] = ByteString();
        CoUninitialize();
    }
};

} // namespace

TEST_F(SystemChanges, RegistryValuesOfEveryTypeAreWrittenAndFlaggedWithTheirKeys)
{
    RegistryNode root;
    RegistryNode top = key(kTestKey);
    top.values.push_back(value("Text", kRegistryString, "hello"));
    top.values.push_back(value("Expand", kRegistryExpandString, "%TEMP%\\x"));
    top.values.push_back(value("Number", kRegistryDword, "-2"));
    top.values.push_back(value("Bytes", kRegistryBinary, "0A,FF,10"));
    top.values.push_back(value("List", kRegistryMultiString, "a<\\0>b"));
    top.values.push_back(value("Broken", kRegistryBinary, "0A,GG"));
    RegistryValue skipped = value("Skipped", kRegistryString, "x");
    skipped.condition = failingCondition();
    ASSERT_FALSE(conditionHolds(skipped.condition.get()));
    top.values.push_back(std::move(skipped));
    RegistryNode inner = key("Inner");
    inner.values.push_back(value("", kRegistryString, "default"));
    top.subkeys.push_back(std::move(inner));
    RegistryNode skippedKey = key("SkippedKey");
    skippedKey.condition = failingCondition();
    top.subkeys.push_back(std::move(skippedKey));
    root.subkeys.push_back(std::move(top));

    std::int32_t errors = 0;
    std::int32_t done = 0;
    writeRegistry(HKEY_CURRENT_USER, root, errors, done);

    EXPECT_EQ(errors, 1);
    // Six values and one key of the top key, the inner key and its value.
    EXPECT_EQ(done, 9);
    const RegistryNode& written = root.subkeys[0];
    EXPECT_EQ(written.state, 3);
    const std::vector<std::uint32_t> valueFlags = {3, 3, 3, 3, 3, 2, 0};
    for (std::size_t i = 0; i < valueFlags.size(); ++i)
        EXPECT_EQ(written.values[i].resultFlags, valueFlags[i]) << i;
    EXPECT_EQ(written.subkeys[0].state, 3);
    EXPECT_EQ(written.subkeys[0].values[0].resultFlags, 3u);
    EXPECT_EQ(written.subkeys[1].state, 0);

    struct Expected {
        const char* name;
        DWORD type;
        Bytes8 bytes;
    };
    const std::vector<Expected> expected = {
        {"Text", REG_SZ, bytes8(std::string("hello\0", 6))},
        {"Expand", REG_EXPAND_SZ, bytes8(std::string("%TEMP%\\x\0", 9))},
        {"Number", REG_DWORD, Bytes8{0xFE, 0xFF, 0xFF, 0xFF}},
        {"Bytes", REG_BINARY, Bytes8{0x0A, 0xFF, 0x10}},
        {"List", REG_MULTI_SZ, bytes8(std::string("a\0b\0\0", 5))},
    };
    for (const Expected& e : expected) {
        const auto [type, bytes] = readValue(HKEY_CURRENT_USER, kTestKey, e.name);
        EXPECT_EQ(type, e.type) << e.name;
        EXPECT_EQ(bytes, e.bytes) << e.name;
    }
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, kTestKey, "Broken").first, 0u);
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, kTestKey, "Skipped").first, 0u);
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, kTestKey + "\\Inner", "").second, bytes8(std::string("default\0", 8)));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kTestKey + "\\SkippedKey"));

    // A second run finds the keys: they existed before it.
    std::int32_t errorsAgain = 0;
    std::int32_t doneAgain = 0;
    RegistryNode again;
    again.subkeys.push_back(key(kTestKey));
    again.subkeys[0].subkeys.push_back(key("Inner"));
    writeRegistry(HKEY_CURRENT_USER, again, errorsAgain, doneAgain);
    EXPECT_EQ(errorsAgain, 0);
    EXPECT_EQ(again.subkeys[0].state, 2);
    EXPECT_EQ(again.subkeys[0].subkeys[0].state, 2);
}

TEST_F(SystemChanges, TheSixtyFourBitViewWritesWhereThatViewReads)
{
    const std::string machineKey = "Software\\KvSystemChangesViewTest";
    deleteTree(HKEY_LOCAL_MACHINE, machineKey, KEY_WOW64_64KEY);
    deleteTree(HKEY_LOCAL_MACHINE, machineKey, KEY_WOW64_32KEY);
    setRegistryViewBits(KEY_WOW64_64KEY);
    RegistryNode root;
    root.subkeys.push_back(key(machineKey));
    root.subkeys[0].values.push_back(value("View", kRegistryDword, "64"));
    std::int32_t errors = 0;
    std::int32_t done = 0;
    writeRegistry(HKEY_LOCAL_MACHINE, root, errors, done);

    EXPECT_EQ(errors, 0);
    EXPECT_EQ(root.subkeys[0].state, 3);
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, machineKey, "View", KEY_WOW64_64KEY).second, (Bytes8{64, 0, 0, 0}));
    // A 32-bit system has one view only: there the 32-bit view is the same.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const bool separateViews = sizeof(void*) == 8 || wow64;
    EXPECT_EQ(keyExists(HKEY_LOCAL_MACHINE, machineKey, KEY_WOW64_32KEY), !separateViews);
    deleteTree(HKEY_LOCAL_MACHINE, machineKey, KEY_WOW64_64KEY);
}

TEST_F(SystemChanges, IniEntriesAreWrittenAndANewIniFileIsLogged)
{
    const std::string existing = installed("existing.ini");
    writeText(existing, "[Old]\r\nkeep=1\r\n");
    const std::string created = installed("created.ini");
    const std::string untouched = installed("untouched.ini");
    auto add = [](const std::string& file, const char* section, const char* line) {
        IniEntry entry;
        entry.file = ByteString(file.c_str());
        entry.section = ByteString(section);
        entry.line = ByteString(line);
        gPackageToc.iniEntries.push_back(std::move(entry));
    };
    add(existing, "Old", "keep=2");
    add(existing, "New", "path=C:\\a=b");
    add(created, "Settings", "empty=");
    add(untouched, "Settings", "no assignment");

    EXPECT_EQ(writeIniEntries(), 1);
    auto read = [](const std::string& file, const char* section, const char* name) {
        char buffer[256] = {};
        GetPrivateProfileStringA(section, name, "<missing>", buffer, sizeof(buffer), file.c_str());
        return std::string(buffer);
    };
    EXPECT_EQ(read(existing, "Old", "keep"), "2");
    EXPECT_EQ(read(existing, "New", "path"), "C:\\a=b");
    EXPECT_EQ(read(created, "Settings", "empty"), "");
    EXPECT_FALSE(fs::exists(untouched));
    EXPECT_EQ(loggedFiles(), std::vector<std::string>{created});
}

TEST_F(SystemChanges, AShortcutIsReadBackWithEveryFieldAndAMissingTargetIsSkipped)
{
    const std::string target = installed("app.exe");
    writeText(target, "program");
    const std::string link = installed("menu\\group\\App.lnk");
    ShortcutEntry entry;
    entry.target = ByteString(target.c_str());
    entry.shortcutFile = ByteString(link.c_str());
    entry.arguments = ByteString("/quiet \"a b\"");
    entry.workingFolder = ByteString(destination.c_str());
    entry.icon = ByteString((destination + "\\icons,set\\app.ico,12").c_str());
    gPackageToc.shortcuts.push_back(std::move(entry));
    ShortcutEntry missing;
    missing.target = ByteString(installed("missing.exe").c_str());
    missing.shortcutFile = ByteString(installed("menu\\Missing.lnk").c_str());
    gPackageToc.shortcuts.push_back(std::move(missing));

    EXPECT_EQ(createShortcuts(), 1);
    EXPECT_EQ(loggedFiles(), std::vector<std::string>{link});
    EXPECT_FALSE(fs::exists(installed("menu\\Missing.lnk")));

    IShellLinkA* shellLink = nullptr;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&shellLink)));
    IPersistFile* file = nullptr;
    ASSERT_HRESULT_SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    const std::wstring wideLink(link.begin(), link.end());
    ASSERT_HRESULT_SUCCEEDED(file->Load(wideLink.c_str(), STGM_READ));
    char text[MAX_PATH] = {};
    shellLink->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_STRCASEEQ(text, target.c_str());
    shellLink->GetArguments(text, MAX_PATH);
    EXPECT_STREQ(text, "/quiet \"a b\"");
    shellLink->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_STRCASEEQ(text, destination.c_str());
    int iconIndex = 0;
    shellLink->GetIconLocation(text, MAX_PATH, &iconIndex);
    EXPECT_STRCASEEQ(text, (destination + "\\icons,set\\app.ico").c_str());
    EXPECT_EQ(iconIndex, 12);
    file->Release();
    shellLink->Release();
}

TEST_F(SystemChanges, AShortcutToTheUninstallerFindsItsPlaceholderWhichGoesAfterwards)
{
    const std::string uninstaller = installed("uninstall.exe");
    gPackageToc.uninstallerNameTemplate = ByteString(uninstaller.c_str());
    const std::string link = installed("Uninstall.lnk");
    ShortcutEntry entry;
    entry.target = ByteString(uninstaller.c_str());
    entry.shortcutFile = ByteString(link.c_str());
    gPackageToc.shortcuts.push_back(std::move(entry));

    EXPECT_EQ(createShortcuts(), 1);
    EXPECT_TRUE(fs::exists(link));
    EXPECT_FALSE(fs::exists(uninstaller));
    EXPECT_FALSE(gUninstallLog.placeholderMade);
}

TEST_F(SystemChanges, LibrariesRegisterInTheirOwnFolderAndFailuresAreListedInOneBox)
{
    const SharedStateLock machine;
    deleteTree(HKEY_CURRENT_USER, kStandinKey);
    const std::string library = installed("lib\\registration_standin.dll");
    fs::create_directories(installed("lib"));
    fs::copy_file(besideTestProgram("registration_standin.dll"), library);
    const std::string noExport = installed("unversioned_library.dll");
    fs::copy_file(besideTestProgram("unversioned_library.dll"), noExport);
    const std::string absent = installed("absent.dll");
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    gLanguageTexts[176] = ByteString("Registration failed.<\\n>Files:");

    std::vector<QueuedRegistration> queue;
    for (const std::string& path : {library, noExport, absent}) {
        QueuedRegistration entry;
        entry.path = ByteString(path.c_str());
        queue.push_back(std::move(entry));
    }
    registerFiles(queue);

    EXPECT_TRUE(queue.empty());
    const auto [type, folder] = readValue(HKEY_CURRENT_USER, kStandinKey, "CurrentFolder");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STRCASEEQ(reinterpret_cast<const char*>(folder.data()), installed("lib").c_str());
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, kStandinKey, "Calls").second, (Bytes8{1, 0, 0, 0}));
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0], "Registration failed.\nFiles:\n" + noExport + "\n" + absent);
    deleteTree(HKEY_CURRENT_USER, kStandinKey);
}

TEST_F(SystemChanges, ATypeLibraryIsRegistered)
{
    const std::string path = installed("standin.tlb");
    const std::wstring widePath(path.begin(), path.end());
    // {6B1C2D84-3F0A-4E55-9C1B-2A7D5E8F9012}
    const GUID libraryId = {0x6b1c2d84, 0x3f0a, 0x4e55, {0x9c, 0x1b, 0x2a, 0x7d, 0x5e, 0x8f, 0x90, 0x12}};
    // A library for this process's own kind of system: it is registered and looked up under it.
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    ICreateTypeLib2* creator = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CreateTypeLib2(kind, widePath.c_str(), &creator));
    creator->SetGuid(libraryId);
    creator->SetName(const_cast<LPOLESTR>(L"KvStandinLibrary"));
    creator->SetVersion(1, 0);
    creator->SetLcid(LOCALE_NEUTRAL);
    ASSERT_HRESULT_SUCCEEDED(creator->SaveAllChanges());
    creator->Release();
    UnRegisterTypeLib(libraryId, 1, 0, LOCALE_NEUTRAL, kind);

    std::vector<QueuedRegistration> queue(1);
    queue[0].path = ByteString(path.c_str());
    registerFiles(queue);

    EXPECT_TRUE(errorBoxes.empty());
    BSTR registeredPath = nullptr;
    ASSERT_HRESULT_SUCCEEDED(QueryPathOfRegTypeLib(libraryId, 1, 0, LOCALE_NEUTRAL, &registeredPath));
    EXPECT_EQ(std::wstring(registeredPath), widePath);
    SysFreeString(registeredPath);
    UnRegisterTypeLib(libraryId, 1, 0, LOCALE_NEUTRAL, kind);
}

TEST_F(SystemChanges, SharedLibraryCountsRiseAndAreLoggedWithTheirRegistration)
{
    const std::string path = installed("shared.dll");
    auto count = [&] { return readValue(HKEY_LOCAL_MACHINE, kSharedLibrariesKey, path.c_str()).second; };
    // A fresh system may not have the key yet; the installer only counts where it exists.
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedLibrariesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    gInstallRun.sharedLibraries = {{path, false}, {path, true}};

    countSharedLibraries();

    EXPECT_EQ(count(), (Bytes8{2, 0, 0, 0}));
    EXPECT_EQ(listEntries(gUninstallLog.shared), (std::vector<std::string>{path, path + "|ctrl"}));
    incrementSharedDll(path.c_str(), false);
    EXPECT_EQ(count(), (Bytes8{3, 0, 0, 0}));
    RegDeleteValueA(key, path.c_str());
    RegCloseKey(key);
    if (disposition == REG_CREATED_NEW_KEY)
        deleteTree(HKEY_LOCAL_MACHINE, kSharedLibrariesKey);
}

TEST_F(SystemChanges, RenamesAreHandedToTheSystemForTheNextRestart)
{
    const auto [oldType, oldList] = readValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations");
    const std::string target = installed("locked.dll");
    const std::string temporary = installed("kv1A2B.tmp");
    writeText(target, "old");
    writeText(temporary, "new");
    const std::string pairs = target + '\0' + temporary + '\0';
    gPackageToc.renamePairs = ByteString(reinterpret_cast<const std::uint8_t*>(pairs.data()), static_cast<std::uint32_t>(pairs.size()));

    applyPendingRenames();

    EXPECT_TRUE(gPackageToc.renamePairs.empty());
    const auto [type, list] = readValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations");
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    std::string all(list.begin(), list.end());
    const std::size_t from = all.find(temporary);
    const std::size_t to = all.find(target, from == std::string::npos ? 0 : from + temporary.size());
    EXPECT_NE(from, std::string::npos) << all;
    EXPECT_NE(to, std::string::npos) << all;
    EXPECT_EQ(textOf(target), "old");

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    if (oldType == REG_MULTI_SZ)
        RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ, oldList.data(), static_cast<DWORD>(oldList.size()));
    else
        RegDeleteValueA(key, "PendingFileRenameOperations");
    RegCloseKey(key);
}
