#pragma once
// What one installation run keeps beside the installer's state, and the services it is given:
// the installation page's bars and status line, message boxes, and the operations of the later
// phases. The program connects every operation; a run that finds one not connected does not
// start.
#include "installer/install/ProgressAccounting.h"
#include "installer/state/InstallerState.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

// The message-box types and answers the run uses (the system's values).
constexpr std::uint32_t kBoxYesNo = 0x4;
constexpr std::uint32_t kBoxRetryCancel = 0x5;
constexpr std::uint32_t kBoxExclamation = 0x30;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerRetry = 4;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

struct InstallView {
    std::function<void(std::int32_t)> setPhaseBar;
    std::function<void(std::int32_t)> setOverallBar;
    std::function<void(std::int32_t)> showSlide;
    // Takes the slideshow's image off the background at the end of the run.
    std::function<void()> endSlideshow;
    // Measures the slideshow's images when the run starts.
    std::function<void()> measureSlideshow;
    // UTF-8.
    std::function<void(const char*)> statusLine;
    // Dispatches every pending window message.
    std::function<void()> pumpMessages;
};

// The operations of the phases after the files. Each returns false when it failed in a way
// that its phase treats as failure.
struct InstallOperations {
    std::function<bool()> pluginStepsBeforeRun;
    std::function<bool()> prerequisites;
    std::function<bool()> expandEntryTables;
    std::function<bool()> convertMp3Files;
    std::function<bool()> convertJpegFiles;
    std::function<bool()> writeRegistry;
    std::function<bool()> writeIniEntries;
    std::function<bool()> editTextFiles;
    std::function<bool()> createShortcuts;
    std::function<bool()> countSharedLibraries;
    std::function<bool()> registerFiles;
    // Hands the renames of files left under temporary names to the system for the next restart.
    std::function<bool()> applyPendingRenames;
    std::function<bool()> commitUninstallData;
    std::function<bool()> pluginStepsAfterRun;
    std::function<void()> notifyAssociationsChanged;
};

struct InstallRunState {
    OpaqueHandle pageWindow = nullptr;
    std::uint32_t runStartTick = 0;
    std::int32_t phase = 0;
    std::uint64_t bytesCopied = 0;
    ProgressTracker progress;
    // Paths of files whose member could not be installed (the old file, if any, is back).
    std::vector<std::string> failedFiles;
    // Paths of files left out because the person answered the question after their failed
    // extraction with "go on": the run goes on without them and names them at its end.
    std::vector<std::string> skippedFiles;
    // What the run left to others (the renames at restart, to the finish page).
    std::vector<std::string> notPerformed;
    // Old contents moved aside while their files were replaced: kept until the installation
    // commits, so that a rollback can put them back.
    std::vector<std::string> asideFiles;
    // Shared libraries installed, for the shared-library counts; with whether they register.
    std::vector<std::pair<std::string, bool>> sharedLibraries;
    // Files this run wrote where no file was before: the only ones the run may delete again
    // for its own purposes (the slideshow's images, once shown).
    std::set<std::string> createdFiles;
    // Backup names used in this run.
    std::set<std::string> backupNames;
    // Folders made (or found) and found writable in this run: each is made and probed once.
    std::set<std::string> readyFolders;
};

// The names of the operations nobody has connected (empty when the run can start).
std::vector<std::string> unconnectedOperations(const InstallOperations& operations);

extern InstallRunState gInstallRun;
extern InstallView gInstallView;
extern InstallOperations gInstallOperations;

// The run's message box: returns the answer (kAnswer*). Silent runs answer without a box.
using InstallMessageBox = int (*)(const char* text, std::uint32_t type);
InstallMessageBox setInstallMessageBox(InstallMessageBox box);
int askUser(const char* text, std::uint32_t type);
void showInstallError(const char* text);

// Clears the run's state (not the progress high-water marks, which last for the process).
void resetInstallRun();
