#include "installer/install/FinishActions.h"

#include "installer/install/StepLists.h"
#include "installer/state/InstallerState.h"
#include "installer/variables/TextExpansion.h"

namespace {

std::function<void()>& cleanupBeforeRestart()
{
    static std::function<void()> cleanup;
    return cleanup;
}

std::string expanded(const ByteString& text)
{
    ByteString copy = text;
    expandFolderVariables(copy);
    expandBuiltinVariables(copy);
    expandVariables(copy, kAllVariables);
    return copy.cStr();
}

std::string upToLastBackslash(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

StartCommand startCommandOf(const std::string& command)
{
    StartCommand start;
    std::string program = command;
    if (!command.empty() && command[0] == '"') {
        const std::size_t close = command.find('"', 1);
        program = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        start.commandLine = command;
    } else {
        start.commandLine = "\"" + command + "\"";
    }
    const std::size_t slash = program.rfind('\\');
    if (slash != std::string::npos && slash > 1)
        start.folder = program.substr(0, slash);
    return start;
}

void launchAfterFinish(bool startProgram, bool openReadme, bool runThirdItem)
{
    StepSystem& system = stepSystem();
    if (openReadme) {
        const std::string readme = expanded(gInstallerContext.readmeToOpen);
        const std::string folder = upToLastBackslash(readme);
        system.shellExecute("open", readme.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(), false);
    }
    if (startProgram) {
        const StartCommand start = startCommandOf(expanded(gInstallerContext.programToStart));
        system.startProgram(start.commandLine.c_str(), start.folder ? start.folder->c_str() : nullptr);
    }
    if (runThirdItem) {
        const std::string command = "\"" + expanded(gInstallerContext.thirdFinishItem) + "\"";
        system.startProgram(command.c_str(), nullptr);
    }
}

void finishSilentRun()
{
    const std::uint32_t options = gInstallerContext.optionWord;
    if (options & kOptionRestartAtEnd) {
        rebootNow();
        return;
    }
    const auto chosen = [options](std::uint32_t offered, std::uint32_t preselected) {
        return (options & offered) != 0 && (options & preselected) != 0;
    };
    launchAfterFinish(chosen(kOptionStartProgram, kOptionStartProgramPreselected),
                      chosen(kOptionOpenReadme, kOptionOpenReadmePreselected),
                      (options & kOptionThirdFinishItem) != 0);
}

void setCleanupBeforeRestart(std::function<void()> cleanup)
{
    cleanupBeforeRestart() = std::move(cleanup);
}

void rebootNow()
{
    StepSystem& system = stepSystem();
    if (cleanupBeforeRestart())
        cleanupBeforeRestart()();
    system.restartWindows();
    system.exitProcess(gFlags.revert ? 0 : 1);
}
