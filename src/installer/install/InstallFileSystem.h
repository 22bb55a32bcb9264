#pragma once
// The file-system services the file installation uses. The program uses the system's; tests
// may put their own in place (a locked file, a full disk) with setInstallFileSystem.
#include <cstdint>
#include <optional>
#include <string>

constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeArchive = 0x20;
constexpr std::uint32_t kAttributeNormal = 0x80;

struct FileVersionFacts {
    bool hasVersion = false;
    std::uint32_t high = 0;
    std::uint32_t low = 0;
    // The first translation's language; 0 when the file names none.
    std::uint16_t language = 0;
    std::string description;
};

enum class ProbeResult { Created, AccessDenied, OtherError };

class InstallFileSystem {
public:
    virtual ~InstallFileSystem() = default;
    virtual bool exists(const std::string& path) = 0;
    virtual std::optional<std::uint32_t> attributes(const std::string& path) = 0;
    virtual bool setAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Fails when the target exists.
    virtual bool move(const std::string& from, const std::string& to) = 0;
    // Clears read-only first; true when nothing of that name is left.
    virtual bool remove(const std::string& path) = 0;
    // Overwrites the target.
    virtual bool copy(const std::string& from, const std::string& to) = 0;
    virtual bool createEmpty(const std::string& path) = 0;
    // True when another process holds the file so that it cannot be opened for reading and
    // writing without sharing. Whatever was opened for the test is closed again.
    virtual bool inUse(const std::string& path) = 0;
    virtual bool deleteAtRestart(const std::string& path) = 0;
    // FILETIME values; null leaves that time as it is.
    virtual bool setTimes(const std::string& path, const std::uint64_t* creation, const std::uint64_t* lastWrite) = 0;
    virtual std::optional<std::uint64_t> lastWriteTime(const std::string& path) = 0;
    virtual std::optional<std::uint64_t> creationTime(const std::string& path) = 0;
    virtual FileVersionFacts version(const std::string& path) = 0;
    // The language's name as the system gives it.
    virtual std::string languageName(std::uint16_t language) = 0;
    // Creates the missing folders, logging each created one; unless quiet a failure shows a box.
    virtual bool createFolders(const std::string& folder, bool quiet) = 0;
    // Creates a new file for writing without sharing and deletes it again.
    virtual ProbeResult probeCreate(const std::string& path) = 0;
    virtual std::uint32_t tickCount() = 0;
};

InstallFileSystem& installFileSystem();
// Null restores the system's; returns the one in place before.
InstallFileSystem* setInstallFileSystem(InstallFileSystem* fileSystem);
// The system's own services.
InstallFileSystem& systemFileSystem();
