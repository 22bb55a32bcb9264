#include "installer/install/StepLists.h"
#include "installer/state/UninstallLists.h"
#include "installer/system/DirectoryCreation.h"
#include "installer/wizard/win/StepSystemWin.h"

#include "installer/install/StepTestSupport.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const char* text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool waitForFile(const std::string& path)
{
    for (int i = 0; i < 200 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // The writer may still be closing it.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return fs::exists(path);
}

// What the owner window saw of the wait while its message was dispatched.
struct WaitObservation {
    bool messageDispatched = false;
    bool ownerEnabled = true;
    std::string noteText;
};
WaitObservation gObserved;
constexpr UINT kProbeMessage = WM_APP + 7;

BOOL CALLBACK findNote(HWND window, LPARAM)
{
    if (HWND text = GetDlgItem(window, 1058)) {
        char buffer[256] = {};
        GetWindowTextA(text, buffer, sizeof(buffer));
        gObserved.noteText = buffer;
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbeMessage) {
        gObserved.messageDispatched = true;
        gObserved.ownerEnabled = IsWindowEnabled(window) != FALSE;
        EnumThreadWindows(GetCurrentThreadId(), findNote, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class StepSystemWinTest : public ::testing::Test {
protected:
    StepSystemWinTest()
    {
        setStepSystem(&windowsStepSystem());
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ownerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "StepSystemWinTestOwner";
        RegisterClassA(&windowClass);
        owner_ = CreateWindowExA(0, "StepSystemWinTestOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        gMainInstaller.mainWindow = owner_;
        previousFolderLog_ = setCreatedFolderLog([](const char* path) { addListEntry(path, gUninstallLog.directories); });
        gObserved = WaitObservation();
    }
    ~StepSystemWinTest() override
    {
        setStepSystem(&stage_.system);
        setCreatedFolderLog(previousFolderLog_);
        gMainInstaller.mainWindow = nullptr;
        DestroyWindow(owner_);
    }

    std::string writerCommand(int milliseconds, const std::string& output, const char* arguments = "")
    {
        return "\"" + besideTestProgram("late_writer.exe") + "\" " + std::to_string(milliseconds) + " \"" + output +
               "\" " + arguments;
    }

    StepStage stage_;
    TempFolder folder_;
    HWND owner_ = nullptr;
    CreatedFolderLog previousFolderLog_ = nullptr;
};

TEST_F(StepSystemWinTest, RunAndWaitKeepsDispatchingWithTheOwnerDisabledUntilTheProgramEnds)
{
    const std::string output = folder_.file("written.txt");
    PostMessageA(owner_, kProbeMessage, 0, 0);
    const auto start = std::chrono::steady_clock::now();
    windowsStepSystem().runAndWait(writerCommand(600, output, "one two").c_str(), folder_.path().string().c_str(),
                                   "Working<\\n>please wait");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(550));
    ASSERT_TRUE(fs::exists(output)) << "the program had ended when the wait returned";
    EXPECT_EQ(readAll(output), "folder=" + folder_.path().string() + "\nargument=one\nargument=two\n");
    EXPECT_TRUE(gObserved.messageDispatched);
    EXPECT_FALSE(gObserved.ownerEnabled);
    EXPECT_EQ(gObserved.noteText, "Working\nplease wait");
    EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(StepSystemWinTest, RunAndWaitReturnsAtOnceForAProgramThatCannotStart)
{
    windowsStepSystem().runAndWait("\"C:\\no such folder\\missing.exe\"", nullptr, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(StepSystemWinTest, AProgramActionRunsInTheProgramsFolderAndIsWaitedFor)
{
    const std::string copy = folder_.file("late_writer.exe");
    fs::copy_file(besideTestProgram("late_writer.exe"), copy);
    const std::string output = folder_.file("action.txt");
    stage_.addAction(6, 3, copy.c_str(), ("300 \"" + output + "\" <Word>").c_str());
    setVariableText("<Word>", "expanded");
    runStageActions(3);
    ASSERT_TRUE(fs::exists(output));
    EXPECT_EQ(readAll(output), "folder=" + folder_.path().string() + "\nargument=expanded\n");
}

TEST_F(StepSystemWinTest, TheFinishStartsItsProgramWithoutWaiting)
{
    const std::string output = folder_.file("started.txt");
    windowsStepSystem().startProgram(writerCommand(1500, output).c_str(), folder_.path().string().c_str());
    EXPECT_FALSE(fs::exists(output)) << "the installer does not wait";
    ASSERT_TRUE(waitForFile(output));
    EXPECT_EQ(readAll(output), "folder=" + folder_.path().string() + "\n");
}

TEST_F(StepSystemWinTest, ShellOpenPassesParametersAndFolder)
{
    const std::string output = folder_.file("opened.txt");
    windowsStepSystem().shellExecute("open", besideTestProgram("late_writer.exe").c_str(),
                                     ("0 \"" + output + "\" parameter").c_str(), folder_.path().string().c_str(), false);
    ASSERT_TRUE(waitForFile(output));
    EXPECT_EQ(readAll(output), "folder=" + folder_.path().string() + "\nargument=parameter\n");
}

TEST_F(StepSystemWinTest, FileOperationsWorkOnRealFilesAndCountWhatTheyMade)
{
    const std::string source = folder_.file("source.txt");
    writeFile(source, "source");
    const std::string existing = folder_.file("existing.txt");
    writeFile(existing, "old");
    const std::string copied = folder_.file("copied.txt");
    const std::string moved = folder_.file("moved.txt");
    const std::string toMove = folder_.file("to_move.txt");
    writeFile(toMove, "moving");
    const std::string toDelete = folder_.file("to_delete.txt");
    writeFile(toDelete, "gone");
    const std::string made = folder_.file("new\\deeper");
    const std::string emptyFolder = folder_.file("empty");
    fs::create_directory(emptyFolder);
    const std::string fullFolder = folder_.file("full");
    fs::create_directory(fullFolder);
    writeFile(folder_.file("full\\keep.txt"), "kept");

    stage_.addFileOp(0, 4, source.c_str(), copied.c_str());
    stage_.addFileOp(0, 4, source.c_str(), existing.c_str());
    stage_.addFileOp(2, 4, toMove.c_str(), moved.c_str());
    stage_.addFileOp(3, 4, copied.c_str(), folder_.file("renamed.txt").c_str());
    stage_.addFileOp(1, 4, toDelete.c_str());
    stage_.addFileOp(4, 4, made.c_str());
    stage_.addFileOp(5, 4, emptyFolder.c_str());
    stage_.addFileOp(5, 4, fullFolder.c_str());
    EXPECT_EQ(runStageFileOps(4), 2) << "the new copy and the new folder";

    EXPECT_EQ(readAll(existing), "source") << "copied over";
    EXPECT_FALSE(fs::exists(copied)) << "renamed afterwards";
    EXPECT_EQ(readAll(folder_.file("renamed.txt")), "source");
    EXPECT_FALSE(fs::exists(toMove));
    EXPECT_EQ(readAll(moved), "moving");
    EXPECT_FALSE(fs::exists(toDelete));
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_FALSE(fs::exists(emptyFolder));
    EXPECT_TRUE(fs::exists(folder_.file("full\\keep.txt"))) << "only an empty folder goes";
    EXPECT_EQ(listEntries(gUninstallLog.files), std::vector<std::string>{copied});
    EXPECT_EQ(listEntries(gUninstallLog.directories).size(), 2u);
}

} // namespace
