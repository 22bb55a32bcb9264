// package-install-time <DravellInstaller.exe> <description.json> <work folder>
//   Builds the package of a filled package description (as scripts/package writes it) into the
//   work folder, installing there, and prints the package's size, the time of a silent install
//   and the time of copying the same payload files plainly with CopyFileA, in one run; the best
//   of three rounds each. A silent run of the installer carrying an empty package is timed too:
//   the cost of starting the process and reading the package. The package's product key is
//   deleted before each install, so that no round finds an earlier one.
#include "PackageBuilder.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct Timed {
    DWORD exitCode = 0;
    double seconds = 0;
};

Timed runSilently(const fs::path& setup)
{
    Timed result;
    std::string line = "\"" + setup.string() + "\" /SILENT";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start '" + setup.string() + "'");
    WaitForSingleObject(process.hProcess, INFINITE);
    result.seconds = secondsSince(start);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

HKEY rootKey(std::uint32_t number)
{
    switch (number) {
    case 0x80000000u: return HKEY_CLASSES_ROOT;
    case 0x80000001u: return HKEY_CURRENT_USER;
    case 0x80000002u: return HKEY_LOCAL_MACHINE;
    case 0x80000003u: return HKEY_USERS;
    default: return nullptr;
    }
}

// Shortcuts into the work folder instead of the user's menu and desktop.
void keepShortcutsIn(nlohmann::json& toc, const fs::path& folder)
{
    if (!toc.contains("shortcuts"))
        return;
    for (std::size_t i = 0; i < toc["shortcuts"].size(); ++i)
        toc["shortcuts"][i]["shortcutFile"] = (folder / ("shortcut" + std::to_string(i) + ".lnk")).string();
}

std::vector<fs::path> payloadFiles(const nlohmann::json& description)
{
    std::vector<fs::path> files;
    for (const auto& file : description.value("files", nlohmann::json::array()))
        if (file.contains("file"))
            files.emplace_back(file.at("file").get<std::string>());
    if (description.contains("uninstaller") && description.at("uninstaller").contains("file"))
        files.emplace_back(description.at("uninstaller").at("file").get<std::string>());
    return files;
}

std::uint64_t packageSize(const fs::path& setup)
{
    std::uint64_t size = fs::file_size(setup);
    for (std::uint32_t volume = 2;; ++volume) {
        const fs::path next = volumePath(setup.string(), volume);
        if (!fs::exists(next))
            return size;
        size += fs::file_size(next);
    }
}

int run(const std::string& installer, const std::string& descriptionFile, const fs::path& work)
{
    std::ifstream file(descriptionFile);
    if (!file)
        throw std::runtime_error("cannot open '" + descriptionFile + "'");
    nlohmann::json description = nlohmann::json::parse(file);
    const fs::path installed = work / "installed", copied = work / "copied", shortcuts = work / "shortcuts";
    fs::remove_all(work);
    fs::create_directories(shortcuts);
    nlohmann::json& settings = description["toc"]["settings"];
    settings["installDir"] = installed.string();
    keepShortcutsIn(description["toc"], shortcuts);
    const Bytes program = readWholeFile(installer);
    const fs::path setup = work / "setup.exe";
    writePackageFiles(setup.string(), buildPackage(program, description));
    nlohmann::json empty;
    empty["toc"]["settings"]["installDir"] = (work / "empty").string();
    const fs::path emptySetup = work / "empty.exe";
    writePackageFiles(emptySetup.string(), buildPackage(program, empty));

    const HKEY root = rootKey(settings.value("productRegistryRoot", 0u));
    const std::string productKey = settings.value("productKey", std::string());
    const std::vector<fs::path> payload = payloadFiles(description);
    std::uint64_t payloadBytes = 0;
    for (const auto& path : payload)
        payloadBytes += fs::file_size(path);

    Timed install, baseline;
    double copySeconds = 0;
    for (int round = 0; round < 3; ++round) {
        if (root && !productKey.empty())
            RegDeleteTreeA(root, productKey.c_str());
        fs::remove_all(installed);
        const Timed i = runSilently(setup);
        const Timed b = runSilently(emptySetup);
        fs::remove_all(copied);
        fs::create_directories(copied);
        const auto start = Clock::now();
        for (const auto& path : payload)
            if (!CopyFileA(path.string().c_str(), (copied / path.filename()).string().c_str(), FALSE))
                throw std::runtime_error("cannot copy '" + path.string() + "'");
        const double c = secondsSince(start);
        if (round == 0 || i.seconds < install.seconds)
            install = i;
        if (round == 0 || b.seconds < baseline.seconds)
            baseline = b;
        if (round == 0 || c < copySeconds)
            copySeconds = c;
    }
    if (root && !productKey.empty())
        RegDeleteTreeA(root, productKey.c_str());

    std::printf("package: %llu bytes; payload: %zu files, %llu bytes\n", static_cast<unsigned long long>(packageSize(setup)),
                payload.size(), static_cast<unsigned long long>(payloadBytes));
    std::printf("silent install: %.3f s (exit code %lu)\n", install.seconds, install.exitCode);
    std::printf("silent run of the installer with an empty package: %.3f s\n", baseline.seconds);
    std::printf("plain copy of the payload (CopyFileA): %.3f s\n", copySeconds);
    return install.exitCode == 1 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: package-install-time <DravellInstaller.exe> <description.json> <work folder>\n");
        return 2;
    }
    try {
        // The installer takes its folders in Windows form.
        const int result = run(argv[1], argv[2], fs::path(argv[3]).make_preferred());
        std::error_code ignored;
        fs::remove_all(argv[3], ignored);
        return result;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "package-install-time: %s\n", e.what());
        return 1;
    }
}
