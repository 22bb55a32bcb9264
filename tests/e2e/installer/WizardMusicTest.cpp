// The package's background music: the installer copies it out of the package, plays it through
// the package's music library from start-up until it ends, and stops it when the user leaves
// during the installation; the copy is gone afterwards. Back and Next, which stay enabled on the
// installation page, do nothing while the run works: no message, the music plays on. The library
// is a stand-in that writes its calls into a log file.
#include "InstallerProcess.h"
#include "WizardDriver.h"

#include "PackageBuilder.h"
#include "installer/system/win/BesideTestProgram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kNext = 1;
constexpr int kCancel = 2;
constexpr int kBack = 3;
constexpr unsigned kInstallation = 13;
constexpr unsigned kFinish = 12;
constexpr unsigned kCustom = 20;
const char* const kMusic = "KVMUSIC!";

nlohmann::json buttons()
{
    nlohmann::json controls = nlohmann::json::array();
    for (const auto& [id, x] : {std::pair{kBack, 120}, std::pair{kNext, 210}, std::pair{kCancel, 300}})
        controls.push_back({{"type", "button"}, {"id", id}, {"text", "b"}, {"x", x}, {"y", 230}, {"width", 80}, {"height", 24}});
    return controls;
}

nlohmann::json pages()
{
    nlohmann::json installation = buttons();
    installation.push_back({{"type", "progressbar"}, {"id", 11}, {"style", 1}, {"x", 10}, {"y", 60}, {"width", 370}, {"height", 20}});
    return nlohmann::json::array({
        {{"pageType", kCustom}, {"page", {{"title", "First page"}, {"controls", buttons()}}}},
        {{"pageType", kInstallation}, {"page", {{"title", "install"}, {"controls", installation}}}},
        {{"pageType", kFinish}, {"page", {{"title", "finish"}, {"controls", buttons()}}}},
    });
}

nlohmann::json lines()
{
    nlohmann::json lines = nlohmann::json::array();
    for (int i = 0; i < 160; ++i)
        lines.push_back("Text " + std::to_string(i));
    lines[8] = "Setup of %s";
    lines[10] = "Leave the setup now?";
    lines[110] = "Installing";
    lines[144] = "Setup finished";
    return lines;
}

std::string fileText(const fs::path& path)
{
    const Bytes bytes = fs::exists(path) ? readWholeFile(path.string()) : Bytes{};
    return std::string(bytes.begin(), bytes.end());
}

struct MusicCase {
    const char* name;
    // The button pressed on the installation page while the run is held by a slideshow's duration
    // (0 none); Cancel is answered Yes.
    int pressDuringRun;
    // The player's calls from start-up to the end, in order (the stand-in has no "MP3Stop").
    const char* calls;
};

class WizardMusic : public ::testing::TestWithParam<MusicCase> {};

TEST_P(WizardMusic, PlaysFromStartUpAndStopsWithTheInstaller)
{
    const MusicCase& c = GetParam();
    const fs::path folder = fs::temp_directory_path() / (std::string("dravell_music_") + c.name);
    fs::remove_all(folder);
    fs::create_directories(folder / "temp");
    const fs::path log = folder / "music.log";

    nlohmann::json d;
    d["toc"]["settings"]["installDir"] = (folder / "dest").string();
    d["toc"]["settings"]["productName"] = "Music";
    d["languageSets"]["sets"] = {{{"name", "English"}, {"number", 1}, {"langId", 0x409}, {"lines", lines()}}};
    d["templates"] = pages();
    d["files"] = {{{"name", "<InstallDir>\\a.txt"}, {"text", "a"}}};
    d["musicLibrary"] = {{"file", besideTestProgram("music_library_standin.dll")}};
    d["backgroundMusic"] = {{"text", kMusic}};
    if (c.pressDuringRun != 0) {
        d["slideshow"] = {"C:\\slides\\none.bmp"};
        d["toc"]["settings"]["slideshowDuration"] = 4u;
    }
    giveOwnProduct(d);
    const fs::path setup = folder / "setup.exe";
    writePackageFiles(setup.string(), buildPackage(readWholeFile(fs::path(installerProgramPath()).string()), d));

    SetEnvironmentVariableW(L"KV_MUSIC_STANDIN_LOG", log.wstring().c_str());
    bool playingOnFirstPage = false;
    bool pressed = false;
    const WizardWalk walk = walkWizard(
        setup.wstring(), L"", (folder / "temp").wstring(),
        [&](const PageSeen& page, std::size_t) {
            if (page.caption == L"First page")
                playingOnFirstPage = fileText(log).find("MP3Play(0)") != std::string::npos;
            if (page.caption == L"Installing") {
                const int press = pressed ? 0 : c.pressDuringRun;
                pressed = true;
                return press;
            }
            return kNext;
        },
        [](const BoxSeen& box) { return box.text == L"Leave the setup now?" ? IDYES : IDOK; });
    SetEnvironmentVariableW(L"KV_MUSIC_STANDIN_LOG", nullptr);

    ASSERT_TRUE(walk.finished);
    EXPECT_TRUE(playingOnFirstPage) << "the music plays while the first page is shown";
    EXPECT_EQ(fileText(log), c.calls);
    if (c.pressDuringRun != kCancel) {
        EXPECT_TRUE(walk.boxes.empty()) << "nothing is said";
        EXPECT_EQ(walk.pages.back().caption, L"Setup finished");
        EXPECT_EQ(walk.exitCode, 1u);
    }
    EXPECT_TRUE(fs::is_empty(folder / "temp")) << "the music's copy and the library's copy are deleted";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

INSTANTIATE_TEST_SUITE_P(
    FinishedAndLeft, WizardMusic,
    ::testing::Values(
        MusicCase{"finished", 0, "MP3Init(0) MP3SetPriority(0) MP3SetDevice(0) [KVMUSIC!] MP3Open(0) MP3Play(0) MP3DeInit(0) "},
        MusicCase{"left", kCancel,
                  "MP3Init(0) MP3SetPriority(0) MP3SetDevice(0) [KVMUSIC!] MP3Open(0) MP3Play(0) MP3Close(0) MP3DeInit(0) "},
        MusicCase{"backDuringRun", kBack,
                  "MP3Init(0) MP3SetPriority(0) MP3SetDevice(0) [KVMUSIC!] MP3Open(0) MP3Play(0) MP3DeInit(0) "},
        MusicCase{"nextDuringRun", kNext,
                  "MP3Init(0) MP3SetPriority(0) MP3SetDevice(0) [KVMUSIC!] MP3Open(0) MP3Play(0) MP3DeInit(0) "}),
    [](const ::testing::TestParamInfo<MusicCase>& info) { return std::string(info.param.name); });

} // namespace
