#pragma once
// What the finish page does as the installer ends: open the readme, start the installed
// program, run the third finish item, or restart the computer.
#include <functional>
#include <optional>
#include <string>

// Each text is expanded first; nothing waits for what it starts.
void launchAfterFinish(bool startProgram, bool openReadme, bool runThirdItem);

// The end of a silent run that installed: the restart when the run needs one (option bit 1; it
// does not return), else the finish launches the package chose: the program when it is offered
// and preselected (bits 3 and 14), the readme likewise (bits 2 and 15), the third item (bit 27).
void finishSilentRun();

// The command line and working folder of the program started at the finish: a command that
// begins with a double quote names its program up to the next quote and is used as it is;
// otherwise the whole text is the program, put in double quotes. The folder is the program's
// up to its last backslash when that lies beyond position 1.
struct StartCommand {
    std::string commandLine;
    std::optional<std::string> folder;
};
StartCommand startCommandOf(const std::string& command);

// The installer's end-of-run clean-up, run before the restart (the program sets it).
void setCleanupBeforeRestart(std::function<void()> cleanup);
// Cleans up, asks Windows to restart and ends the process: exit code 1, or 0 with "/REVERT".
void rebootNow();
