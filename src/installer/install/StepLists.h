#pragma once
// The package's step actions and step file operations: small jobs attached to a wizard step
// (0 start-up, 1 to 13 the pages and the run, 15 on custom pages). What touches the system goes
// through StepSystem, so that tests can watch it.
#include <cstdint>
#include <optional>
#include <string>

// The shell's file operations as the step file operations use them.
enum class ShellFileFunction { Copy, Delete, Move, Rename };

class StepSystem {
public:
    virtual ~StepSystem() = default;
    // ShellExecute with the verb ("open" or "explore"), shown normally; ownedByPage hands the
    // installation page's window as owner.
    virtual void shellExecute(const char* verb, const char* file, const char* parameters, const char* folder,
                              bool ownedByPage) = 0;
    // The installer's message box with its default owner; OK only, or Yes and No. True for OK
    // or Yes.
    virtual bool messageBox(const char* text, const char* caption, bool yesNo) = 0;
    // The input dialog owned by the installation page; true on OK with text replaced.
    virtual bool inputDialog(const char* prompt, const char* caption, std::string& text) = 0;
    // Starts the command line and pumps messages until it ends; folder and message may be null.
    virtual void runAndWait(const char* commandLine, const char* folder, const char* message) = 0;
    // Ends the installer with rollback; a test's system may throw instead.
    virtual void endInstaller() = 0;
    virtual bool createFolders(const char* path) = 0;
    virtual void removeEmptyFolder(const char* path) = 0;
    // The shell's file operation without questions or error boxes, allowing undo.
    virtual bool shellFileOperation(ShellFileFunction function, const char* source, const char* destination) = 0;
    // The path's attributes; none when nothing of that name exists.
    virtual std::optional<std::uint32_t> attributes(const char* path) = 0;
    // Adds a font file to the system's fonts and tells every window.
    virtual void addFont(const char* path) = 0;
    // Starts the command line (the child gets the default error mode) without waiting; folder
    // may be null.
    virtual void startProgram(const char* commandLine, const char* folder) = 0;
    // Asks Windows to restart, with the shutdown privilege enabled first.
    virtual void restartWindows() = 0;
    // Ends the process; a test's system may throw instead.
    virtual void exitProcess(std::uint32_t code) = 0;
};

StepSystem& stepSystem();
// Null restores the system's; returns the one in place before.
StepSystem* setStepSystem(StepSystem* system);

// Runs the actions of step whose condition holds and that have runs left. Returns 1.
std::int32_t runStageActions(std::int32_t step);
// Runs the file operations of step whose condition holds, each once. Returns how many did work:
// folders created and copies that made a new file.
std::int32_t runStageFileOps(std::int32_t step);

// The command line of a program action: the program in double quotes, then the arguments;
// trailing blanks removed.
std::string programActionCommand(const std::string& program, const std::string& arguments);
// The working folder of a program action: the given folder, else the program's folder (none
// when the program path has no backslash).
std::optional<std::string> programActionFolder(const std::string& program, const std::string& folder);
// "<\t>", "<\r>" and "<\n>" written out in a message text become the characters they name.
std::string messageEscapes(std::string text);
