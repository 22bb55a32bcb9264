#include "installer/sysinfo/SystemReport.h"

#include "installer/sysinfo/RequirementChecks.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::array<ByteString, kLanguageTextCount> languageTexts()
{
    std::array<ByteString, kLanguageTextCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i].format("T%d", static_cast<std::int32_t>(i));
    texts[kTextInstalledProducts] = ByteString("Products of %s:");
    return texts;
}

// A computer of fixed answers: Windows XP SP2, 512 MB, a Pentium 4 at 2400 MHz, DirectX 9.0c,
// Java 1.4.2_05, .NET 1.1.
SystemFacts recordedFacts()
{
    SystemFacts f;
    f.osVersion = [] {
        OsVersion os;
        os.platformId = kPlatformNt;
        os.major = 5;
        os.minor = 1;
        os.build = 2600;
        return std::optional<OsVersion>(os);
    };
    f.csdVersion = [] { return std::uint32_t{0x200}; };
    f.physicalMemoryBytes = [] { return std::uint64_t{511} * 1048576 + 5; };
    f.identifyCpu = [] { return ProcessorIdentity{kCpuVendorIntel, kCpuIntelPentium4, kCpuFeatureMmx, 0}; };
    f.cpuMhz = [](const ProcessorIdentity&) { return std::uint32_t{2400}; };
    f.fixedDrives = [] { return std::vector<DriveSpace>{{ByteString("C:\\"), 512 * 1024}, {ByteString("D:\\"), 100 * 1024}}; };
    f.directX = [] { return std::uint32_t{9}; };
    f.javaVersion = [] { return ByteString("1.4.2_05"); };
    f.dotNet = [] { return std::int32_t{1}; };
    f.displayModes = [] { return std::vector<DisplayMode>{{640, 480, 8}, {1024, 768, 32}}; };
    f.soundOutput = [] { return true; };
    f.midiOutput = [] { return false; };
    f.joystick = [] { return false; };
    f.computer = [] {
        ComputerFacts c;
        c.computerName = ByteString("DESK");
        c.userName = ByteString("ann");
        c.currentMode = {1024, 768, 32};
        c.processors = 2;
        c.displayDevices.push_back({ByteString("Primary"), 64 * 1048576 + 3 * 102400 + 5, ByteString("display.drv")});
        c.displayDevices.push_back({ByteString("Second"), 1048575, std::nullopt});
        return c;
    };
    f.installedProducts = [](const ByteString&) {
        return std::optional<std::vector<InstalledProduct>>(std::vector<InstalledProduct>{
            {ByteString("Korv 1"), ByteString("1.2"), ByteString("2005-01-01")}, {ByteString("Korv 2"), std::nullopt, std::nullopt}});
    };
    return f;
}

class SystemReportTest : public ::testing::Test {
protected:
    std::vector<std::string> collect(const SystemFacts& facts)
    {
        ReportInputs inputs{requirements, texts, bytesRequired, minimumJava, productKey, ByteString("Korv")};
        report = ByteString();
        results = SystemInfoResults{};
        progress.clear();
        EXPECT_TRUE(collectSystemInfo(report, results, cache, inputs, facts, [this](std::int32_t p) { progress.push_back(p); }));
        std::vector<std::string> lines;
        std::int32_t pos = 0;
        while (report.hasMore(pos)) {
            ByteString line;
            report.nextLine(&pos, line);
            lines.emplace_back(line.cStr());
        }
        return lines;
    }

    SystemRequirements requirements;
    std::array<ByteString, kLanguageTextCount> texts = languageTexts();
    std::uint64_t bytesRequired = 0;
    ByteString minimumJava;
    ByteString productKey{"Korv"};
    ByteString report;
    SystemInfoResults results;
    SystemNumbers cache;
    std::vector<std::int32_t> progress;
};

TEST_F(SystemReportTest, EveryProbeAgainstItsRequirement)
{
    requirements.probes = 0x3FFF;
    requirements.osFlags = 4;
    requirements.ntMajor = 5;
    requirements.ntMinor = 1;
    requirements.ntServicePack = 2;
    requirements.ramMB = 1024;
    requirements.cpuType = 6;
    requirements.cpuMHz = 1000;
    requirements.directX = (9 << 16) | 1;
    requirements.dotNet = 2;
    requirements.displayWidth = 800;
    requirements.displayHeight = 600;
    requirements.displayBits = 16;
    requirements.devices = kDeviceMidi;
    minimumJava = ByteString("1.5");
    bytesRequired = 200 * 1024;
    const std::vector<std::string> expected = {
        "T31\tWindows XP SP2\tWin XP SP2\tT7",
        "RAM:\t512 MB\t1024 MB\tT5",
        "T32\tIntel Pentium 4\tPentium III\tT7",
        "T34\t2400 MHz\t1000 MHz\tT7",
        "T35\t\t200 KB\tT7",
        "    C:\\\t512 KB",
        "    D:\\\t100 KB",
        "T36\t9.0 T37\t9.1\tT5",
        "Java T53:\t1.4.2_05\t1.5\tT5",
        ".NET Framework:\t1.1\t1.1\tT7",
        "T39\t1024x768 32 T47\t800x600 16 T47\tT7",
        "T40\tT7\tT5\tT7",
        "T41\tT5\tT7\tT5",
        "T42\tT5\tT5\tT7",
        "",
        "T43",
        "T44\tDESK",
        "T45\tann",
        "T46\t1024x768 32 T47",
        "T48\t2",
        "T49 1:\tPrimary",
        "\tT50: 64,3 MB",
        "\tT51: display.drv",
        "T49 2:\tSecond",
        "\tT50: 0,9 MB",
        "",
        "",
        "Products of Korv:",
        "Korv 1 T53 1.2, T54: 2005-01-01",
        "Korv 2",
    };
    EXPECT_EQ(collect(recordedFacts()), expected);
    EXPECT_EQ(results.failures, 4);
    EXPECT_EQ(results.unknowns, 0);
    EXPECT_EQ(results.memoryMb, 512);
    EXPECT_EQ(results.cpuMhz, 2400);
    EXPECT_EQ(results.cpuType, kCpuIntelPentium4);
    EXPECT_EQ(results.cpuVendor, kCpuVendorIntel);
    EXPECT_EQ(results.directXMajor, 9);
    EXPECT_EQ(results.directXMinor, 0);
    EXPECT_EQ(results.largestWidth, 1024);
    EXPECT_EQ(results.largestModeBits, 32);
    EXPECT_EQ(results.displayModeMet, 1);
    EXPECT_EQ(results.joystickProbed, 1);
    EXPECT_EQ(results.displayDevices, 2);
    // Thirteen steps of fourteen bits (the two processor bits count as one step).
    EXPECT_EQ(progress.size(), 13u);
    EXPECT_EQ(progress.front(), 7);
    EXPECT_EQ(progress.back(), 92);
    // The cached numbers the variables share.
    EXPECT_EQ(cache.memoryMb, 512);
    EXPECT_EQ(cache.cpuMhz, 2400);
    EXPECT_EQ(cache.directX, 9);
    EXPECT_EQ(cache.screenWidth, 1024);
    EXPECT_EQ(cache.bitsPerPixel, 32);
}

TEST_F(SystemReportTest, NoRequirementsAreMetWithADash)
{
    requirements.probes = kProbeOs | kProbeMemory | kProbeCpuType | kProbeDirectX | kProbeJava | kProbeDotNet | kProbeDisplayModes;
    SystemFacts facts = recordedFacts();
    facts.directX = [] { return std::uint32_t{0}; };
    facts.javaVersion = [] { return ByteString("0"); };
    facts.dotNet = [] { return std::int32_t{-1}; };
    const std::vector<std::string> expected = {
        "T31\tWindows XP SP2\t-\tT7",
        "RAM:\t512 MB\t-\tT7",
        "T32\tIntel Pentium 4\t-\tT7",
        "T36\tT38\t-\tT7",
        "Java T53:\tT55\tT55\tT7",
        ".NET Framework:\tT55\tT55\tT7",
        "T39\t1024x768 32 T47\t-\tT7",
    };
    EXPECT_EQ(collect(facts), expected);
    EXPECT_EQ(results.failures, 0);
    EXPECT_EQ(results.unknowns, 0);
}

TEST_F(SystemReportTest, WhatCannotBeToldCountsUnknowns)
{
    requirements.probes = kProbeOs | kProbeCpuType | kProbeCpuSpeed | kProbeDirectX;
    requirements.cpuMHz = 500;
    requirements.cpuType = 2;
    requirements.directX = 8 << 16;
    SystemFacts facts = recordedFacts();
    facts.osVersion = [] { return std::optional<OsVersion>(); };
    facts.identifyCpu = [] { return ProcessorIdentity{}; };
    bool measured = false;
    facts.cpuMhz = [&measured](const ProcessorIdentity&) {
        measured = true;
        return std::uint32_t{1};
    };
    facts.directX = [] { return std::uint32_t{0}; };
    const std::vector<std::string> expected = {
        "T32\tT33\tPentium\t-",
        "T34\tT33\t500 MHz\t-",
        "T36\tT38\t8.0\tT5",
    };
    EXPECT_EQ(collect(facts), expected);
    EXPECT_FALSE(measured);
    EXPECT_EQ(results.unknowns, 3);
    EXPECT_EQ(results.failures, 1);
}

TEST_F(SystemReportTest, DirectXAndJavaEdges)
{
    requirements.probes = kProbeDirectX | kProbeJava;
    struct Case {
        std::uint32_t found;
        std::uint32_t required;
        const char* java;
        const char* minimumJava;
        std::int32_t failures;
    };
    const Case cases[] = {
        {9, (9 << 16) | 1, "1.5.0", "1.5", 1},
        {(1 << 16) | 8, 8 << 16, "10.0", "9.0", 0},
        {(1 << 16) | 8, 8 << 16, "", "1.4", 1},
        {(3 << 16) | 9, 9 << 16, "1.4.2_05", "1.5", 1},
    };
    for (const Case& c : cases) {
        requirements.directX = c.required;
        minimumJava = ByteString(c.minimumJava);
        SystemFacts facts = recordedFacts();
        facts.directX = [&c] { return c.found; };
        facts.javaVersion = [&c] { return ByteString(c.java); };
        cache = SystemNumbers{};
        collect(facts);
        EXPECT_EQ(results.failures, c.failures) << c.java;
    }
}

TEST_F(SystemReportTest, DiskSpaceWithoutFixedDrives)
{
    requirements.probes = kProbeOs | kProbeDiskSpace;
    bytesRequired = 1;
    SystemFacts facts = recordedFacts();
    facts.fixedDrives = [] { return std::vector<DriveSpace>{}; };
    const std::vector<std::string> expected = {"T31\tWindows XP SP2\t-\tT7", "T35\t\t0 KB\tT5"};
    EXPECT_EQ(collect(facts), expected);
    EXPECT_EQ(results.failures, 1);
}

TEST_F(SystemReportTest, PluginLinesAloneWithoutProbes)
{
    SystemFacts facts = recordedFacts();
    facts.pluginLines = [] { return std::optional<PluginLines>(PluginLines{2, -4, {ByteString("a\tb"), ByteString("c")}}); };
    EXPECT_EQ(collect(facts), (std::vector<std::string>{"a\tb", "c"}));
    EXPECT_EQ(results.failures, 2);
    EXPECT_EQ(results.unknowns, 0);
    EXPECT_TRUE(progress.empty());
}

TEST_F(SystemReportTest, AProbeThatThrowsIsAbandonedAndTheRestGoOn)
{
    requirements.probes = kProbeOs | kProbeDiskSpace | kProbeMemory | kProbeInstalledProducts;
    SystemFacts facts = recordedFacts();
    facts.physicalMemoryBytes = []() -> std::uint64_t { throw std::runtime_error("memory"); };
    facts.fixedDrives = []() -> std::vector<DriveSpace> { throw std::bad_alloc(); };
    facts.installedProducts = [](const ByteString&) { return std::optional<std::vector<InstalledProduct>>(); };
    const std::vector<std::string> expected = {"T31\tWindows XP SP2\t-\tT7", "(HD space placeholder)", "", "Products of Korv:", "T55"};
    EXPECT_EQ(collect(facts), expected);
    EXPECT_EQ(progress, (std::vector<std::int32_t>{25, 50, 75, 100}));
}

TEST_F(SystemReportTest, MeasuredNumbersAreNotMeasuredAgain)
{
    requirements.probes = kProbeCpuSpeed | kProbeDirectX;
    cache.cpuMhz = 1800;
    cache.directX = (1 << 16) | 8;
    SystemFacts facts = recordedFacts();
    facts.cpuMhz = [](const ProcessorIdentity&) -> std::uint32_t { throw std::logic_error("measured again"); };
    facts.directX = []() -> std::uint32_t { throw std::logic_error("probed again"); };
    const std::vector<std::string> expected = {"T34\t1800 MHz\t-\tT7", "T36\t8.1\t-\tT7"};
    EXPECT_EQ(collect(facts), expected);
}

} // namespace
