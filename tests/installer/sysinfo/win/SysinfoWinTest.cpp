#include "installer/state/InstallerState.h"
#include "installer/sysinfo/CpuIdentification.h"
#include "installer/sysinfo/CpuSpeed.h"
#include "installer/sysinfo/ReportFile.h"
#include "installer/sysinfo/SystemReport.h"
#include "installer/sysinfo/win/DirectXDetection.h"
#include "installer/sysinfo/win/SoftwareDetection.h"
#include "installer/sysinfo/win/SystemFactsWin.h"
#include "installer/sysinfo/win/SystemInfoCollection.h"
#include "installer/sysinfo/win/SystemInformationProbes.h"
#include "installer/variables/SystemNumbers.h"
#include "installer/variables/SystemProbes.h"

#include "installer/text/TempFolder.h"
#include "support/HostRequirements.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A registry key of the current user for one test, deleted with everything in it at the end.
class TestKey {
public:
    explicit TestKey(const std::string& name) : path_("Software\\KorvanelTests\\Sysinfo\\" + name)
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }
    ~TestKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }
    const std::string& path() const { return path_; }
    void set(const std::string& subkey, const char* name, const char* value) const
    {
        HKEY key;
        const std::string full = subkey.empty() ? path_ : path_ + "\\" + subkey;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(std::strlen(value) + 1));
        RegCloseKey(key);
    }

private:
    std::string path_;
};

std::string text(ByteString value)
{
    return value.cStr();
}

TEST(SysinfoWinTest, ThisProcessorAndItsSpeed)
{
    ProcessorIdentity identity;
    ASSERT_EQ(identifyCpu(processorCpuid(), identity), kCpuIdentified);
    EXPECT_TRUE(identity.features & kCpuFeatureTimeStampCounter);
    SpeedClock& clock = systemSpeedClock();
    const auto start = std::chrono::steady_clock::now();
    const SpeedRecord record = measureCpuMhz(clock, identity.type, identity.features);
    const std::uint32_t majority = measureCpuMhzMajority(clock);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("processor vendor %d type %d features %08X; counter %u MHz (%llu cycles in %llu us), majority %u MHz, %.2f s\n",
                identity.vendor, identity.type, identity.features, record.mhzRounded,
                static_cast<unsigned long long>(record.cycles), static_cast<unsigned long long>(record.microseconds), majority, seconds);
    EXPECT_GT(record.mhzRounded, 100u);
    EXPECT_LT(record.mhzRounded, 20000u);
    EXPECT_GT(majority, 100u);
    EXPECT_LT(majority, 20000u);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

TEST(SysinfoWinTest, PlainSystemFigures)
{
    EXPECT_GT(physicalMemoryBytes(), std::uint64_t{64} << 20);
    const DisplayMode current = currentDisplayMode(nullptr);
    EXPECT_GT(current.width, 0u);
    EXPECT_GT(current.bits, 0u);
    const std::vector<DisplayMode> modes = displayModes();
    EXPECT_FALSE(modes.empty()) << "no display modes listed: " << kWineXLibrariesHint;
    for (const DriveSpace& drive : fixedDrives())
        EXPECT_EQ(drive.root.length(), 3u);
    const std::uint32_t directX = detectDirectX();
    std::printf("DirectX %u.%u, .NET code %d, %zu display modes, %zu fixed drives\n", directX & 0xFFFF, directX >> 16,
                detectDotNet(nullptr), modes.size(), fixedDrives().size());
    EXPECT_LE(directX & 0xFFFF, 9u);
}

TEST(SysinfoWinTest, JavaVersionWithItsMicroVersion)
{
    TestKey key("Java");
    EXPECT_EQ(text(detectJava(HKEY_CURRENT_USER, key.path().c_str())), "");
    key.set("", "CurrentVersion", "1.4");
    key.set("1.4", "MicroVersion", "2");
    key.set("1.4", "JavaHome", "C:\\Java\\1.4");
    EXPECT_EQ(text(detectJava(HKEY_CURRENT_USER, key.path().c_str())), "1.4.2");
    key.set("", "CurrentVersion", "1.6.0_10");
    EXPECT_EQ(text(detectJava(HKEY_CURRENT_USER, key.path().c_str())), "1.6.0_10");
    // At most 50 bytes of the version are read.
    key.set("", "CurrentVersion", std::string(60, '7').c_str());
    EXPECT_EQ(detectJava(HKEY_CURRENT_USER, key.path().c_str()).length(), 51u); // 50 and the appended "."
}

TEST(SysinfoWinTest, WholeReportOverThisSystem)
{
    const SystemRequirements savedRequirements = gSystemRequirements;
    const SystemInfoResults savedResults = gSystemInfoResults;
    const SystemNumbers savedNumbers = gSystemNumbers;
    gSystemRequirements = SystemRequirements{};
    gSystemRequirements.probes = 0x3FFF;
    gSystemRequirements.ramMB = 16;
    gSystemRequirements.displayWidth = 640;
    gSystemRequirements.displayHeight = 480;
    gSystemInfoResults = SystemInfoResults{};
    resetSystemNumbers();

    HWND listBox = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(listBox, nullptr);
    SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Plug-in line \u00e9"));
    ByteString report;
    std::vector<std::int32_t> progress;
    EXPECT_TRUE(collectSystemInfo(report, [&progress](std::int32_t p) { progress.push_back(p); }, listBox));
    EXPECT_EQ(SendMessageW(listBox, LB_GETCOUNT, 0, 0), 0);
    DestroyWindow(listBox);
    std::printf("%s\n", report.cStr());
    EXPECT_NE(report.find("RAM:\t"), -1);
    EXPECT_NE(report.find("Plug-in line \xC3\xA9"), -1);
    EXPECT_EQ(progress.size(), 13u);
    EXPECT_GT(gSystemInfoResults.memoryMb, 16);
    EXPECT_GT(gSystemInfoResults.cpuMhz, 100);
    EXPECT_GT(gSystemInfoResults.largestWidth, 0) << kWineXLibrariesHint;
    EXPECT_EQ(gSystemInfoResults.displayModeMet, 1) << kWineXLibrariesHint;
    EXPECT_EQ(gSystemInfoResults.joystickProbed, 1);
    EXPECT_EQ(gSystemNumbers.memoryMb, gSystemInfoResults.memoryMb);
    EXPECT_EQ(gSystemNumbers.cpuMhz, gSystemInfoResults.cpuMhz);

    gSystemRequirements = savedRequirements;
    gSystemInfoResults = savedResults;
    gSystemNumbers = savedNumbers;
}

TEST(SysinfoWinTest, ReportSavedUnderTheFirstFreeName)
{
    TempFolder folder;
    const std::vector<ByteString> lines = {ByteString("RAM:\t512 MB\t-\tYes"), ByteString()};
    ByteString first, second;
    ASSERT_TRUE(saveReportFile(lines, ByteString(folder.path().string().c_str()), first));
    ASSERT_TRUE(saveReportFile(lines, ByteString(folder.path().string().c_str()), second));
    EXPECT_EQ(text(first), folder.file("sysinfo.txt"));
    EXPECT_EQ(text(second), folder.file("sysinfo1.txt"));
    std::ifstream in(folder.file("sysinfo1.txt"), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "RAM:                  512 MB                          -                               Yes\r\n\r\n");
    ByteString missing;
    EXPECT_FALSE(saveReportFile(lines, ByteString(folder.file("no such folder").c_str()), missing));
}

TEST(SysinfoWinTest, InstalledProbesGiveTheNumericVariables)
{
    const SystemProbes previous = setSystemProbes(systemInformationProbes());
    const SystemNumbers savedNumbers = gSystemNumbers;
    resetSystemNumbers();
    EXPECT_GT(evaluateNumber(ByteString("<CPUSpeed>")), 100);
    EXPECT_GT(evaluateNumber(ByteString("<CPUType>")), 0);
    EXPECT_NE(evaluateNumber(ByteString("<CPUFlags>")) & static_cast<std::int32_t>(kCpuFeatureTimeStampCounter), 0);
    EXPECT_GE(evaluateNumber(ByteString("<DirectXVer>")), 0);
    EXPECT_GE(evaluateNumber(ByteString("<.NETVersion>")), 0);
    EXPECT_GT(evaluateNumber(ByteString("<RAM>")), 0);
    gSystemNumbers = savedNumbers;
    setSystemProbes(previous);
}

} // namespace

namespace {

TEST(SysinfoWinTest, ReportListAndSummary)
{
    HWND listBox = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_USETABSTOPS, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(listBox, nullptr);
    fillReportList(listBox, ByteString("RAM:\t512 MB\r\n\r\nJ\xC3\xA9r\xC3\xB4me"));
    ASSERT_EQ(SendMessageW(listBox, LB_GETCOUNT, 0, 0), 3);
    wchar_t line[64] = {};
    SendMessageW(listBox, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(line));
    EXPECT_STREQ(line, L"J\u00e9r\u00f4me");
    DestroyWindow(listBox);

    const SystemInfoResults savedResults = gSystemInfoResults;
    const ByteString savedText = gLanguageTexts[59];
    const ByteString savedProduct = gPackageToc.productName;
    const std::uint32_t savedOptions = gInstallerContext.optionWord;
    gSystemInfoResults.failures = 2;
    gSystemInfoResults.unknowns = 1;
    gLanguageTexts[59] = ByteString("%s may not run here.");
    gPackageToc.productName = ByteString("Korvanel");
    gInstallerContext.optionWord = kOptionFailuresInRed;
    std::optional<std::uint32_t> colour;
    EXPECT_EQ(text(reportSummaryText(colour)), "Korvanel may not run here.");
    EXPECT_EQ(colour, std::optional<std::uint32_t>(0x0000FF));
    gSystemInfoResults = savedResults;
    gLanguageTexts[59] = savedText;
    gPackageToc.productName = savedProduct;
    gInstallerContext.optionWord = savedOptions;
}

TEST(SysinfoWinTest, ReportFolderIsTheUsersDocumentsOrTemporaryFolder)
{
    const ByteString saved = gMainInstaller.folders[kMyDocuments];
    gMainInstaller.folders[kMyDocuments] = ByteString("C:\\users\\ann\\Documents");
    EXPECT_EQ(text(systemInfoReportFolder()), "C:\\users\\ann\\Documents");
    gMainInstaller.folders[kMyDocuments] = ByteString();
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, temp);
    EXPECT_EQ(text(systemInfoReportFolder()), temp);
    gMainInstaller.folders[kMyDocuments] = saved;
}

} // namespace

// The system's DirectX, DirectInput, DirectMusic and joystick code runs inside the installer: an
// access violation in one probe ends that probe, and the report goes on with the next.
TEST(SysinfoWinTest, AProbeThatFaultsEndsOnlyItself)
{
    SystemFacts facts = systemFacts(nullptr);
    facts.directX = []() -> std::uint32_t {
        volatile std::uint32_t* nowhere = nullptr;
        return *nowhere;
    };
    bool soundAsked = false;
    facts.soundOutput = [&soundAsked] {
        soundAsked = true;
        return true;
    };
    SystemRequirements requirements;
    requirements.probes = kProbeDirectX | kProbeSound | kProbeJoystick;
    const std::array<ByteString, kLanguageTextCount> texts{};
    const ReportInputs inputs{requirements, texts, 0, {}, {}, {}};
    SystemInfoResults results;
    SystemNumbers numbers;
    ByteString report;
    std::vector<std::int32_t> progress;
    EXPECT_TRUE(collectSystemInfo(report, results, numbers, inputs, facts, [&progress](std::int32_t p) { progress.push_back(p); }));
    EXPECT_TRUE(soundAsked);
    EXPECT_EQ(results.joystickProbed, 1);
    EXPECT_EQ(progress, (std::vector<std::int32_t>{33, 66, 100}));
    EXPECT_EQ(results.directXMajor, 0);
}
