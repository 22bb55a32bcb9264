// install-throughput <DravellInstaller.exe> <work folder>
//   1. 200 files, 72 MB in all (mixed sizes, half compressible, half not): a silent install of a
//      package carrying them, timed against copying the same files with CopyFileA;
//   2. one 64 MB member: the installer's member extraction timed against a bare loop of
//      ReadFile, inflate, CRC-32 and WriteFile over the same bytes.
// Prints the times, their ratios and the installer's peak working set.
#include "PackageBuilder.h"

#include "installer/package/FileRecord.h"
#include "installer/package/MemberExtraction.h"
#include "installer/package/PackageLocate.h"
#include "installer/package/VolumeState.h"
#include "installer/state/InstallerState.h"

#include <windows.h>
#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

Bytes content(std::size_t size, std::uint32_t seed, bool compressible)
{
    Bytes bytes(size);
    std::uint32_t state = seed;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = compressible ? static_cast<std::uint8_t>("abcdefgh \n"[(state >> 16) % 10]) : static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

// 200 sizes summing to 72 MB: ten large files, many small ones, the last one the rest.
std::vector<std::size_t> fileSizes()
{
    const std::size_t total = 72u << 20;
    std::vector<std::size_t> sizes;
    std::size_t used = 0;
    for (std::size_t i = 0; i < 199; ++i) {
        const std::size_t size = i % 20 == 0 ? (7u << 19) : 100000 + (i * 7919) % 150000;
        sizes.push_back(size);
        used += size;
    }
    sizes.push_back(total - used);
    return sizes;
}

struct ProcessResult {
    DWORD exitCode = 0;
    double seconds = 0;
    SIZE_T peakWorkingSet = 0;
};

ProcessResult runProcess(const std::string& commandLine)
{
    ProcessResult result;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return result;
    WaitForSingleObject(process.hProcess, INFINITE);
    result.seconds = secondsSince(start);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    PROCESS_MEMORY_COUNTERS counters{};
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters)))
        result.peakWorkingSet = counters.PeakWorkingSetSize;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

// The plain copy: every file of the source folder to the target folder.
int copyFolder(const fs::path& source, const fs::path& target)
{
    for (const auto& item : fs::directory_iterator(source))
        if (!CopyFileA(item.path().string().c_str(), (target / item.path().filename()).string().c_str(), FALSE))
            return 1;
    return 0;
}

void installVersusCopy(const std::string& installer, const std::string& self, const fs::path& work)
{
    const fs::path source = work / "source", installed = work / "installed", copied = work / "copied";
    fs::remove_all(work);
    fs::create_directories(source);
    fs::create_directories(copied);
    nlohmann::json files = nlohmann::json::array();
    std::size_t total = 0, index = 0;
    for (std::size_t size : fileSizes()) {
        const std::string name = "file" + std::to_string(index) + ".bin";
        writeWholeFile((source / name).string(), content(size, static_cast<std::uint32_t>(index), index % 2 == 0));
        files.push_back({{"name", "<InstallDir>\\" + std::string(index % 4 == 0 ? "sub\\" : "") + name},
                         {"file", (source / name).string()}});
        total += size;
        ++index;
    }
    nlohmann::json description;
    description["toc"]["settings"]["installDir"] = installed.string();
    description["files"] = files;
    const fs::path setup = work / "setup.exe";
    writePackageFiles(setup.string(), buildPackage(readWholeFile(installer), description));

    // What a silent run costs without files: process start, locating and reading the package.
    nlohmann::json empty = description;
    empty["files"] = nlohmann::json::array();
    const fs::path emptySetup = work / "empty.exe";
    writePackageFiles(emptySetup.string(), buildPackage(readWholeFile(installer), empty));
    // The best of three runs each; every run starts a process of its own.
    ProcessResult baseline, install, copy, copyBaseline;
    SIZE_T peak = 0;
    const fs::path emptyFolder = work / "empty";
    fs::create_directories(emptyFolder);
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(installed);
        fs::remove_all(copied);
        fs::create_directories(copied);
        const ProcessResult b = runProcess("\"" + emptySetup.string() + "\" /SILENT");
        const ProcessResult i = runProcess("\"" + setup.string() + "\" /SILENT");
        const ProcessResult c = runProcess("\"" + self + "\" --copy \"" + source.string() + "\" \"" + copied.string() + "\"");
        const ProcessResult cb = runProcess("\"" + self + "\" --copy \"" + emptyFolder.string() + "\" \"" + copied.string() + "\"");
        if (round == 0 || cb.seconds < copyBaseline.seconds)
            copyBaseline = cb;
        peak = std::max(peak, i.peakWorkingSet);
        if (round == 0 || b.seconds < baseline.seconds)
            baseline = b;
        if (round == 0 || i.seconds < install.seconds)
            install = i;
        if (round == 0 || c.seconds < copy.seconds)
            copy = c;
    }
    const double copySeconds = copy.seconds;

    std::printf("files: %zu, bytes: %zu\n", fileSizes().size(), total);
    std::printf("silent install: %.3f s (exit code %lu, peak working set %.1f MB)\n", install.seconds,
                install.exitCode, peak / 1048576.0);
    std::printf("silent run of the same installer without files: %.3f s\n", baseline.seconds);
    std::printf("copy program (CopyFileA, own process): %.3f s\n", copySeconds);
    std::printf("copy program without files: %.3f s\n", copyBaseline.seconds);
    std::printf("install / copy: %.2f; without the start of each program: %.2f\n", install.seconds / copySeconds,
                (install.seconds - baseline.seconds) / (copySeconds - copyBaseline.seconds));
}

// The bare loop: ReadFile, inflate (gzip wrapper), CRC-32, WriteFile.
bool bareInflate(const std::string& package, std::uint64_t offset, std::uint64_t storedSize, const std::string& output)
{
    HANDLE in = CreateFileA(package.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileA(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    SetFilePointerEx(in, at, nullptr, FILE_BEGIN);
    z_stream z{};
    inflateInit2(&z, 16 + MAX_WBITS);
    std::vector<std::uint8_t> input(0x8000), decoded(0x8000);
    uLong crc = crc32(0, nullptr, 0);
    int status = Z_OK;
    std::uint64_t left = storedSize;
    while (status != Z_STREAM_END && left > 0) {
        DWORD got = 0;
        ReadFile(in, input.data(), static_cast<DWORD>(std::min<std::uint64_t>(input.size(), left)), &got, nullptr);
        if (got == 0)
            break;
        left -= got;
        z.next_in = input.data();
        z.avail_in = got;
        while (z.avail_in > 0 && status != Z_STREAM_END) {
            z.next_out = decoded.data();
            z.avail_out = static_cast<uInt>(decoded.size());
            status = inflate(&z, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END)
                break;
            const DWORD produced = static_cast<DWORD>(decoded.size() - z.avail_out);
            crc = crc32(crc, decoded.data(), produced);
            DWORD written = 0;
            WriteFile(out, decoded.data(), produced, &written, nullptr);
        }
    }
    inflateEnd(&z);
    CloseHandle(in);
    CloseHandle(out);
    return status == Z_STREAM_END && crc != 0;
}

void extractionVersusInflate(const std::string& installer, const fs::path& work)
{
    fs::create_directories(work);
    const Bytes member = content(64u << 20, 99, true);
    // Half of it incompressible, so the inflate does real work both ways.
    Bytes mixed = member;
    const Bytes noise = content(32u << 20, 7, false);
    std::copy(noise.begin(), noise.end(), mixed.begin());
    const fs::path memberFile = work / "member.bin";
    writeWholeFile(memberFile.string(), mixed);
    nlohmann::json description;
    description["files"] = {{{"name", "member.bin"}, {"file", memberFile.string()}}};
    const fs::path setup = work / "one_member.exe";
    writePackageFiles(setup.string(), buildPackage(readWholeFile(installer), description));

    gPackagePath.assignCStr(setup.string().c_str());
    if (locatePackage() != kLocateOk || startPackedFiles() != 1)
        return;
    FileRecord record;
    std::uint32_t conditionLength = 0;
    readFileRecord(record, conditionLength);
    const std::uint64_t offset = gVolumeState.position;

    const auto installerStart = Clock::now();
    const int result = extractMember(setup.string().c_str(), (work / "by_installer.bin").string().c_str(),
                                     static_cast<std::uint32_t>(offset), 0);
    const double installerSeconds = secondsSince(installerStart);
    const auto bareStart = Clock::now();
    const bool bare = bareInflate(setup.string(), offset, record.storedSize, (work / "by_loop.bin").string());
    const double bareSeconds = secondsSince(bareStart);
    std::printf("64 MB member (%u bytes stored): extraction %.3f s (result %d), bare inflate loop %.3f s (%s)\n",
                record.storedSize, installerSeconds, result, bareSeconds, bare ? "ok" : "failed");
    std::printf("extraction / bare loop: %.2f\n", installerSeconds / bareSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--copy")
        return copyFolder(argv[2], argv[3]);
    if (argc != 3) {
        std::fprintf(stderr, "usage: install-throughput <DravellInstaller.exe> <work folder>\n");
        return 2;
    }
    const fs::path work(argv[2]);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    installVersusCopy(argv[1], self, work / "files");
    extractionVersusInflate(argv[1], work / "member");
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
