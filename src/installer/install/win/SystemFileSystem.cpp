#include "installer/install/InstallFileSystem.h"

#include "installer/system/DirectoryCreation.h"
#include "installer/system/win/VersionResource.h"
#include "installer/text/win/FileHandle.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

namespace {

FILETIME asFileTime(std::uint64_t value)
{
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(value);
    time.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return time;
}

std::uint64_t fromFileTime(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class WindowsFileSystem final : public InstallFileSystem {
public:
    bool exists(const std::string& path) override
    {
        return !path.empty() && GetFileAttributesW(WideName(path)) != INVALID_FILE_ATTRIBUTES;
    }
    std::optional<std::uint32_t> attributes(const std::string& path) override
    {
        const DWORD attributes = GetFileAttributesW(WideName(path));
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return std::nullopt;
        return attributes;
    }
    bool setAttributes(const std::string& path, std::uint32_t attributes) override
    {
        return SetFileAttributesW(WideName(path), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) != 0;
    }
    bool move(const std::string& from, const std::string& to) override
    {
        return MoveFileW(WideName(from), WideName(to)) != 0;
    }
    bool remove(const std::string& path) override
    {
        const DWORD attributes = GetFileAttributesW(WideName(path));
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return true;
        if (attributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(WideName(path), attributes & ~FILE_ATTRIBUTE_READONLY);
        DeleteFileW(WideName(path));
        return GetFileAttributesW(WideName(path)) == INVALID_FILE_ATTRIBUTES;
    }
    bool copy(const std::string& from, const std::string& to) override
    {
        return CopyFileW(WideName(from), WideName(to), FALSE) != 0;
    }
    bool createEmpty(const std::string& path) override
    {
        const FileHandle file(CreateFileW(WideName(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.valid();
    }
    bool inUse(const std::string& path) override
    {
        const FileHandle file(CreateFileW(WideName(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid())
            return false;
        const DWORD error = GetLastError();
        return error == ERROR_INVALID_ACCESS || error == ERROR_SHARING_VIOLATION;
    }
    bool deleteAtRestart(const std::string& path) override
    {
        return MoveFileExW(WideName(path), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }
    bool setTimes(const std::string& path, const std::uint64_t* creation, const std::uint64_t* lastWrite) override
    {
        const FileHandle file(CreateFileW(WideName(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return false;
        const FILETIME created = creation ? asFileTime(*creation) : FILETIME{};
        const FILETIME written = lastWrite ? asFileTime(*lastWrite) : FILETIME{};
        return SetFileTime(file.get(), creation ? &created : nullptr, nullptr, lastWrite ? &written : nullptr) != 0;
    }
    std::optional<std::uint64_t> lastWriteTime(const std::string& path) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(WideName(path), GetFileExInfoStandard, &data))
            return std::nullopt;
        return fromFileTime(data.ftLastWriteTime);
    }
    std::optional<std::uint64_t> creationTime(const std::string& path) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(WideName(path), GetFileExInfoStandard, &data))
            return std::nullopt;
        return fromFileTime(data.ftCreationTime);
    }
    FileVersionFacts version(const std::string& path) override
    {
        FileVersionFacts facts;
        facts.hasVersion = getFileVersion(path.c_str(), &facts.high, &facts.low) == 1;
        if (!facts.hasVersion) {
            facts.high = 0;
            facts.low = 0;
        }
        std::uint32_t translation = 0;
        ByteString description;
        if (getFileDescription(path.c_str(), &translation, &description) == 1) {
            facts.language = static_cast<std::uint16_t>(translation & 0xFFFF);
            facts.description = description.cStr();
        }
        return facts;
    }
    std::string languageName(std::uint16_t language) override
    {
        wchar_t name[260] = {};
        VerLanguageNameW(language, name, 260);
        return utf8FromWide(name).cStr();
    }
    bool createFolders(const std::string& folder, bool quiet) override
    {
        return createDirectories(folder.c_str(), quiet);
    }
    ProbeResult probeCreate(const std::string& path) override
    {
        HANDLE handle = CreateFileW(WideName(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_ACCESS_DENIED ? ProbeResult::AccessDenied : ProbeResult::OtherError;
        CloseHandle(handle);
        DeleteFileW(WideName(path));
        return ProbeResult::Created;
    }
    std::uint32_t tickCount() override { return GetTickCount(); }
};

} // namespace

InstallFileSystem& systemFileSystem()
{
    static WindowsFileSystem fileSystem;
    return fileSystem;
}
