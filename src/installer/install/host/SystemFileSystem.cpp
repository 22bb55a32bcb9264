#include "installer/install/InstallFileSystem.h"

#include "installer/system/DirectoryCreation.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

// Native stand-in over POSIX: read-only maps to the owner's write permission; hidden, archive,
// creation times, version resources and locks do not exist here. Paths keep their backslashes
// as plain characters: native tests use "/" paths.

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kUnixEpochAsFileTime = 116444736000000000ull;

class HostFileSystem final : public InstallFileSystem {
public:
    bool exists(const std::string& path) override
    {
        std::error_code error;
        return !path.empty() && fs::exists(path, error);
    }
    std::optional<std::uint32_t> attributes(const std::string& path) override
    {
        struct stat status{};
        if (::stat(path.c_str(), &status) != 0)
            return std::nullopt;
        const bool readOnly = (status.st_mode & S_IWUSR) == 0;
        return readOnly ? kAttributeReadOnly : kAttributeNormal;
    }
    bool setAttributes(const std::string& path, std::uint32_t attributes) override
    {
        std::error_code error;
        fs::permissions(path, fs::perms::owner_write,
                        (attributes & kAttributeReadOnly) ? fs::perm_options::remove : fs::perm_options::add, error);
        return !error;
    }
    bool move(const std::string& from, const std::string& to) override
    {
        if (exists(to))
            return false;
        std::error_code error;
        fs::rename(from, to, error);
        return !error;
    }
    bool remove(const std::string& path) override
    {
        std::error_code error;
        fs::remove(path, error);
        return !exists(path);
    }
    bool copy(const std::string& from, const std::string& to) override
    {
        std::error_code error;
        fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
        return !error;
    }
    bool createEmpty(const std::string& path) override { return static_cast<bool>(std::ofstream(path, std::ios::binary | std::ios::trunc)); }
    bool inUse(const std::string&) override { return false; }
    bool deleteAtRestart(const std::string&) override { return false; }
    bool setTimes(const std::string& path, const std::uint64_t*, const std::uint64_t* lastWrite) override
    {
        if (!lastWrite)
            return true;
        const std::uint64_t since1970 = *lastWrite - kUnixEpochAsFileTime;
        timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(since1970 / 10000000);
        times[1].tv_nsec = static_cast<long>(since1970 % 10000000) * 100;
        return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
    }
    std::optional<std::uint64_t> lastWriteTime(const std::string& path) override
    {
        struct stat status{};
        if (::stat(path.c_str(), &status) != 0)
            return std::nullopt;
        return kUnixEpochAsFileTime + static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 10000000 +
               static_cast<std::uint64_t>(status.st_mtim.tv_nsec) / 100;
    }
    std::optional<std::uint64_t> creationTime(const std::string& path) override { return lastWriteTime(path); }
    FileVersionFacts version(const std::string&) override { return {}; }
    std::string languageName(std::uint16_t language) override { return "language " + std::to_string(language); }
    bool createFolders(const std::string& folder, bool) override
    {
        fs::path built;
        for (const auto& part : fs::path(folder)) {
            built /= part;
            std::error_code error;
            if (fs::is_directory(built, error))
                continue;
            if (!fs::create_directory(built, error))
                return false;
            recordCreatedFolder(built.string().c_str());
        }
        return true;
    }
    ProbeResult probeCreate(const std::string& path) override
    {
        const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0)
            return errno == EACCES ? ProbeResult::AccessDenied : ProbeResult::OtherError;
        ::close(fd);
        ::unlink(path.c_str());
        return ProbeResult::Created;
    }
    std::uint32_t tickCount() override
    {
        using namespace std::chrono;
        return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

} // namespace

InstallFileSystem& systemFileSystem()
{
    static HostFileSystem fileSystem;
    return fileSystem;
}
