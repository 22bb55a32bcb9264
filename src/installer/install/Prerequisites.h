#pragma once
// The system components a package may need before it is installed (.NET Framework, Java, the
// HTML Help viewer, the data access components and DirectX): which are missing, the question
// offering each setup, and the setup's command line, run from a path or fetched first by the
// outside download program. What touches the system comes through PrerequisiteSystem.
#include "installer/state/TocEntries.h"

#include <cstdint>
#include <functional>
#include <string>

enum PrerequisiteKind : std::int32_t {
    kPrerequisiteDotNet = 1,
    kPrerequisiteJava = 2,
    kPrerequisiteHelpViewer = 3,
    kPrerequisiteDataAccess = 4,
    kPrerequisiteDirectX = 5,
};

// What is installed, each asked only when an entry of its kind is tested.
struct PrerequisiteSystem {
    // -1 none, 0 = 1.0, 1 = 1.1, 2 = 2.0 or later.
    std::function<std::int32_t()> dotNet;
    // Empty when there is none.
    std::function<std::string()> javaVersion;
    // The file version of the viewer's control (most significant dword first); 0 when unreadable.
    std::function<void(std::uint32_t& high, std::uint32_t& low)> helpViewerVersion;
    // The full version text, empty when there is none.
    std::function<std::string()> dataAccessVersion;
    // Major in the low 16 bits, minor in the high 16 bits.
    std::function<std::uint32_t()> directX;
    // Windows 9x, or a user with administrator rights: declining ends the installer.
    std::function<bool()> mayDecline;
    // The installer's message box (answers kAnswer*; a silent run answers without showing it).
    std::function<int(const char* text, std::uint32_t type)> ask;
    // Runs the command line and waits for the program to end, window messages flowing.
    std::function<void(const char* commandLine)> runAndWait;
    std::function<bool(const char* path)> fileExists;
    std::function<void(const char* path)> deleteFile;
};

// The name of a kind, ending with a blank; null for kinds that are not tested.
const char* prerequisiteName(std::int32_t kind);
// Whether the component of the entry is missing (other kinds never are).
bool prerequisiteMissing(const Prerequisite& entry, const PrerequisiteSystem& system);
// The setup's arguments: the kind's own unless the package gives others ("(Default)" keeps them).
std::string prerequisiteArguments(std::int32_t kind, const char* packageArguments);
// The program in double quotes, then a blank and the arguments when there are any.
std::string setupCommandLine(const std::string& program, const std::string& arguments);
// The download program's command line, before built-in names are expanded.
std::string downloaderCommandLine(const char* localPath, const char* url, const char* program);

enum class PrerequisiteOutcome { carryOn, endInstaller };

// Tests the package's entries in order and offers each missing setup. The data access setup
// asks for a restart at the end and takes the finish page's launches away.
PrerequisiteOutcome runPrerequisiteChecks(const PrerequisiteSystem& system);
