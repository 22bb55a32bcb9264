#pragma once
// A clean stage for the step lists and the plug-in calls: no actions, file operations or
// variables, empty uninstall lists, no page, a recording StepSystem in place, and an end of the
// installer that throws InstallerEnded. Everything is put back at the end of the scope.
#include "installer/install/StepLists.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableTestSupport.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct StepsEnded {};

// Writes down every call as one line; answers what the test scripts.
class RecordingStepSystem : public StepSystem {
public:
    void shellExecute(const char* verb, const char* file, const char* parameters, const char* folder,
                      bool ownedByPage) override
    {
        record(std::string("shell ") + verb + " [" + file + "] [" + (parameters ? parameters : "(null)") +
                        "] [" + (folder ? folder : "(null)") + "]" + (ownedByPage ? " owned" : ""));
    }
    bool messageBox(const char* text, const char* caption, bool yesNo) override
    {
        record(std::string(yesNo ? "yesno [" : "message [") + text + "] [" + caption + "]");
        return yesAnswer;
    }
    bool inputDialog(const char* prompt, const char* caption, std::string& text) override
    {
        record(std::string("input [") + prompt + "] [" + caption + "] [" + text + "]");
        if (!inputAnswer)
            return false;
        text = *inputAnswer;
        return true;
    }
    void runAndWait(const char* commandLine, const char* folder, const char* message) override
    {
        record(std::string("wait [") + commandLine + "] [" + (folder ? folder : "(null)") + "] [" +
                        (message ? message : "(null)") + "]");
    }
    void endInstaller() override
    {
        record("end");
        throw StepsEnded{};
    }
    bool createFolders(const char* path) override
    {
        record(std::string("create [") + path + "]");
        return true;
    }
    void removeEmptyFolder(const char* path) override { record(std::string("remove [") + path + "]"); }
    bool shellFileOperation(ShellFileFunction function, const char* source, const char* destination) override
    {
        static const char* const names[] = {"copy", "delete", "move", "rename"};
        record(std::string(names[static_cast<int>(function)]) + " [" + source + "] [" +
                        (destination ? destination : "(null)") + "]");
        if (operationSucceeds && destination)
            existing[destination] = createsFolder ? 0x10 : 0x20;
        return operationSucceeds;
    }
    std::optional<std::uint32_t> attributes(const char* path) override
    {
        const auto found = existing.find(path);
        if (found == existing.end())
            return std::nullopt;
        return found->second;
    }
    void addFont(const char* path) override { record(std::string("font [") + path + "]"); }
    void startProgram(const char* commandLine, const char* folder) override
    {
        record(std::string("start [") + commandLine + "] [" + (folder ? folder : "(null)") + "]");
    }
    void restartWindows() override { record("restart"); }
    void exitProcess(std::uint32_t code) override
    {
        record("exit " + std::to_string(code));
        throw StepsEnded{};
    }

    void record(const std::string& line)
    {
        calls.push_back(line);
        if (echo)
            echo(line);
    }

    std::vector<std::string> calls;
    // Also given every call as it happens, when set.
    std::function<void(const std::string&)> echo;
    bool yesAnswer = true;
    std::optional<std::string> inputAnswer;
    bool operationSucceeds = true;
    // The attributes of paths that exist; a successful operation adds its destination.
    std::map<std::string, std::uint32_t> existing;
    // A successful operation leaves a folder at its destination instead of a file.
    bool createsFolder = false;
};

class StepStage {
public:
    StepStage() : previousSystem_(setStepSystem(&system))
    {
        gPackageToc.stageActions.clear();
        gPackageToc.stageFileOps.clear();
        clearUninstallLists();
        gMainInstaller.currentPageIndex = -1;
        previousEnd_ = setEndInstallerHandler([] { throw StepsEnded{}; });
    }
    ~StepStage()
    {
        setStepSystem(previousSystem_);
        setEndInstallerHandler(previousEnd_);
        gPackageToc.stageActions.clear();
        gPackageToc.stageFileOps.clear();
        clearUninstallLists();
        gMainInstaller.currentPageIndex = -1;
    }
    StepStage(const StepStage&) = delete;
    StepStage& operator=(const StepStage&) = delete;

    StageAction& addAction(std::int32_t type, std::int32_t step, const char* t1 = "", const char* t2 = "",
                           const char* t3 = "")
    {
        StageAction action;
        action.type = type;
        action.step = step;
        action.text1.assignCStr(t1);
        action.text2.assignCStr(t2);
        action.text3.assignCStr(t3);
        gPackageToc.stageActions.push_back(std::move(action));
        return gPackageToc.stageActions.back();
    }
    StageFileOp& addFileOp(std::int32_t type, std::int32_t step, const char* source, const char* destination = "")
    {
        StageFileOp op;
        op.type = type;
        op.step = step;
        op.source.assignCStr(source);
        op.destination.assignCStr(destination);
        gPackageToc.stageFileOps.push_back(std::move(op));
        return gPackageToc.stageFileOps.back();
    }

    RecordingStepSystem system;

private:
    static void clearUninstallLists()
    {
        for (ByteString* list : {&gUninstallLog.files, &gUninstallLog.directories, &gUninstallLog.keys,
                                 &gUninstallLog.values, &gUninstallLog.shared, &gUninstallLog.backupText})
            *list = ByteString();
    }

    CleanVariableState variables_;
    StepSystem* previousSystem_;
    EndInstallerHandler previousEnd_;
};
