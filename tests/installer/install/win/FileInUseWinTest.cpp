// Files held open by another program: moved away and deleted at restart, or written beside the
// target under a temporary name whose rename is queued under the real target, or skipped when
// neither works (a silent run cancels); the in-use probe leaves no handle open.
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/SystemChanges.h"
#include "installer/system/win/BesideTestProgram.h"

#include <windows.h>


namespace fs = std::filesystem;

namespace {

// Another program holding a file open without sharing, as long as the object lives.
class FileHolder {
public:
    explicit FileHolder(const std::string& path, bool movable = false)
    {
        // The holder says when it has the file; probing the file from here could itself take
        // the file away from the holder while it opens it.
        static int count = 0;
        const std::string eventName =
            "kv_hold_file_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++count);
        HANDLE heldEvent = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        if (!heldEvent)
            return;
        std::string commandLine =
            "\"" + besideTestProgram("hold_file.exe") + "\" " + eventName + " \"" + path + "\"";
        if (movable)
            commandLine += " movable";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
            // Whichever comes first: the file held, or the holder ended without it.
            const HANDLE waits[] = {heldEvent, process_.hProcess};
            held_ = WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
        }
        CloseHandle(heldEvent);
    }
    ~FileHolder()
    {
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, 10000);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    bool held() const { return held_; }

private:
    PROCESS_INFORMATION process_{};
    bool held_ = false;
};

// The system's services, except that a locked file cannot be moved away.
class LockedFilesStay final : public InstallFileSystem {
public:
    bool exists(const std::string& p) override { return sys().exists(p); }
    std::optional<std::uint32_t> attributes(const std::string& p) override { return sys().attributes(p); }
    bool setAttributes(const std::string& p, std::uint32_t a) override { return sys().setAttributes(p, a); }
    bool move(const std::string& from, const std::string& to) override
    {
        return to.find(".delete_on_reboot") == std::string::npos && sys().move(from, to);
    }
    bool remove(const std::string& p) override { return sys().remove(p); }
    bool copy(const std::string& from, const std::string& to) override { return sys().copy(from, to); }
    bool createEmpty(const std::string& p) override { return sys().createEmpty(p); }
    bool inUse(const std::string& p) override { return sys().inUse(p); }
    bool deleteAtRestart(const std::string& p) override { return sys().deleteAtRestart(p); }
    bool setTimes(const std::string& p, const std::uint64_t* c, const std::uint64_t* w) override { return sys().setTimes(p, c, w); }
    std::optional<std::uint64_t> lastWriteTime(const std::string& p) override { return sys().lastWriteTime(p); }
    std::optional<std::uint64_t> creationTime(const std::string& p) override { return sys().creationTime(p); }
    FileVersionFacts version(const std::string& p) override { return sys().version(p); }
    std::string languageName(std::uint16_t l) override { return sys().languageName(l); }
    bool createFolders(const std::string& f, bool q) override { return sys().createFolders(f, q); }
    ProbeResult probeCreate(const std::string& p) override { return sys().probeCreate(p); }
    std::uint32_t tickCount() override { return sys().tickCount(); }

private:
    static InstallFileSystem& sys() { return systemFileSystem(); }
};

const char* const kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

std::string pendingRenames()
{
    char buffer[32768] = {};
    DWORD size = sizeof(buffer) - 2;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
        return {};
    std::string all(buffer, size);
    std::replace(all.begin(), all.end(), '\0', '|');
    return all;
}

void clearPendingRenames()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "PendingFileRenameOperations");
        RegCloseKey(key);
    }
}

class FileInUse : public FileInstallTest {
protected:
    FileInUse() { clearPendingRenames(); }
    ~FileInUse() override
    {
        setInstallFileSystem(nullptr);
        clearPendingRenames();
    }
    void packageOneFile()
    {
        writePackage({{"files", {entry("locked.dll", Bytes{'n', 'e', 'w'})}}});
        writeText(installed("locked.dll"), "old");
    }
};

} // namespace

TEST_F(FileInUse, AFileInUseThatCanMoveIsMovedAwayAndDeletedAtRestart)
{
    packageOneFile();
    gFlags.silent = true;
    const FileHolder holder(installed("locked.dll"), true);
    ASSERT_TRUE(holder.held());

    ASSERT_TRUE(installFiles());
    const std::string moved = installed("locked.dll") + ".delete_on_reboot0";
    EXPECT_EQ(textOf(installed("locked.dll")), "new");
    EXPECT_TRUE(fs::exists(moved));
    const std::string pending = pendingRenames();
    EXPECT_NE(pending.find(moved), std::string::npos) << pending;
    // It existed before: the uninstaller leaves it.
    EXPECT_TRUE(loggedFiles().empty());
}

// A replaced file is backed up whether it is free or in use: moved away for the restart, its old
// content would be gone after it too.
TEST_F(FileInUse, AFileInUseThatIsReplacedIsBackedUpLikeAnyOther)
{
    constexpr std::uint32_t kVersionCheck = 0x1;
    nlohmann::json member = entry("locked.dll", Bytes{'n', 'e', 'w'});
    member["fileFlags"] = kVersionCheck;
    writePackage({{"files", {member}}});
    writeText(installed("locked.dll"), "old");
    gInstallerContext.optionWord = kOptionBackUpReplacedFiles;
    gFlags.silent = true;
    const FileHolder holder(installed("locked.dll"), true);
    ASSERT_TRUE(holder.held());

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(textOf(installed("locked.dll")), "new");
    const std::string backups(reinterpret_cast<const char*>(gUninstallLog.backupText.data()),
                              gUninstallLog.backupText.length());
    const std::string backup = backups.substr(0, backups.find('\t'));
    EXPECT_EQ(backups.substr(backup.size() + 1, installed("locked.dll").size()), installed("locked.dll"))
        << backups;
    ASSERT_FALSE(backup.empty()) << "no backup line";
    EXPECT_EQ(textOf(backup), "old");
}

TEST_F(FileInUse, ALockedFileThatCannotMoveIsWrittenBesideItAndLoggedUnderItsRealName)
{
    packageOneFile();
    LockedFilesStay lockedFilesStay;
    setInstallFileSystem(&lockedFilesStay);
    gInstallerContext.optionWord = kOptionReplaceLockedThroughTmp;
    gFlags.silent = true;
    const FileHolder holder(installed("locked.dll"));
    ASSERT_TRUE(holder.held());

    ASSERT_TRUE(installFiles());
    const std::string pairs(reinterpret_cast<const char*>(gPackageToc.renamePairs.data()), gPackageToc.renamePairs.length());
    const std::size_t nul = pairs.find('\0');
    ASSERT_NE(nul, std::string::npos);
    EXPECT_EQ(pairs.substr(0, nul), installed("locked.dll"));
    const std::string temporary = pairs.substr(nul + 1, pairs.find('\0', nul + 1) - nul - 1);
    EXPECT_EQ(fs::path(temporary).parent_path(), fs::path(installed("locked.dll")).parent_path());
    EXPECT_EQ(fs::path(temporary).extension(), ".tmp");
    EXPECT_EQ(textOf(temporary), "new");
    EXPECT_EQ(loggedFiles(), std::vector<std::string>{installed("locked.dll")});
}

TEST_F(FileInUse, ALockedFileWithNoWayRoundIsSkippedInASilentRun)
{
    packageOneFile();
    LockedFilesStay lockedFilesStay;
    setInstallFileSystem(&lockedFilesStay);
    gFlags.silent = true;
    {
        const FileHolder holder(installed("locked.dll"));
        ASSERT_TRUE(holder.held());
        ASSERT_TRUE(installFiles());
    }
    EXPECT_EQ(textOf(installed("locked.dll")), "old");
    EXPECT_TRUE(gPackageToc.renamePairs.empty());
    EXPECT_TRUE(loggedFiles().empty());
    EXPECT_EQ(filesBelow(destination), std::vector<std::string>{"locked.dll"});
}

TEST_F(FileInUse, TheProbeOfAFreeFileLeavesNoHandleOpen)
{
    writeText(installed("free.dll"), "x");
    EXPECT_FALSE(systemFileSystem().inUse(installed("free.dll")));
    HANDLE exclusive = CreateFileA(installed("free.dll").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE)
        CloseHandle(exclusive);
    EXPECT_TRUE(DeleteFileA(installed("free.dll").c_str()));
}

TEST_F(FileInUse, TheTemporaryCopyOfALockedFileIsRenamedToItsTargetAtRestart)
{
    packageOneFile();
    LockedFilesStay lockedFilesStay;
    setInstallFileSystem(&lockedFilesStay);
    gInstallerContext.optionWord = kOptionReplaceLockedThroughTmp;
    gFlags.silent = true;
    const FileHolder holder(installed("locked.dll"));
    ASSERT_TRUE(holder.held());
    ASSERT_TRUE(installFiles());
    const std::string pairs(reinterpret_cast<const char*>(gPackageToc.renamePairs.data()), gPackageToc.renamePairs.length());
    const std::string temporary = pairs.substr(pairs.find('\0') + 1, pairs.find('\0', pairs.find('\0') + 1) - pairs.find('\0') - 1);

    applyPendingRenames();

    EXPECT_TRUE(gPackageToc.renamePairs.empty());
    const std::string pending = pendingRenames();
    const std::size_t from = pending.find(temporary + "|");
    ASSERT_NE(from, std::string::npos) << pending;
    // The entry after the temporary file names the real target (replacing it: "!").
    const std::size_t to = pending.find('|', from + temporary.size() + 1);
    const std::string target = pending.substr(from + temporary.size() + 1, to - from - temporary.size() - 1);
    EXPECT_EQ(target.substr(0, 1), "!");
    EXPECT_NE(target.find(installed("locked.dll")), std::string::npos) << pending;
}
