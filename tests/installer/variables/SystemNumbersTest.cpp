#include "installer/variables/SystemNumbers.h"
#include "installer/variables/SystemProbes.h"

#include "installer/variables/FakeVariableSources.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

namespace {

int probeCalls = 0;
std::uint64_t memoryBytes = 0;

SystemProbes countingProbes()
{
    SystemProbes probes;
    probes.cpuMhz = [] { ++probeCalls; return std::int32_t{2400}; };
    probes.identifyCpu = [] { ++probeCalls; return CpuIdentity{6, 0x1F}; };
    probes.screen = [] { ++probeCalls; return ScreenFigures{1280, 1024, 24}; };
    probes.physicalMemoryBytes = [] { ++probeCalls; return memoryBytes; };
    probes.directXVersion = [] { ++probeCalls; return std::int32_t{(1 << 16) | 9}; }; // 9.1, minor high
    probes.dotNetVersion = [] { ++probeCalls; return std::int32_t{20000}; };
    probes.dotNetFolder = [] { return std::string(); };
    return probes;
}

class SystemNumbersTest : public ::testing::Test {
protected:
    SystemNumbersTest() : previous_(setSystemProbes(countingProbes()))
    {
        probeCalls = 0;
        memoryBytes = 255ull * 1048576 + 1000;
    }
    ~SystemNumbersTest() override { setSystemProbes(previous_); }

    CleanVariableState state_;
    std::shared_ptr<FakeSystem> system_ = std::make_shared<FakeSystem>();
    ScopedVariableSources sources_{fakeVariableSources(system_)};
    SystemProbes previous_;
};

std::int32_t number(const char* text)
{
    return evaluateNumber(ByteString(text));
}

TEST_F(SystemNumbersTest, LiteralsAndUnknownNames)
{
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"", 0},       {"42", 42},        {"12abc", 12},         {"  -7x", -7},     {"+5", 5},
        {"abc", 0},    {"\"4\"", 0},      {"<Unknown>", 0},      {"<ram>", 0},      {"- 3", 0},
        {"2147483647", 2147483647},       {"-2147483648", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(number(c.text), c.value) << c.text;
    EXPECT_EQ(probeCalls, 0);
}

TEST_F(SystemNumbersTest, SystemFiguresAreMeasuredOnce)
{
    gInstallerContext.osVersion.build = 0x0A280ECE; // the high word is not part of the build
    gPackageToc.languageNumber = 3;
    struct Case {
        const char* name;
        std::int32_t value;
    };
    const Case cases[] = {
        {"<CPUSpeed>", 2400}, {"<CPUType>", 6},     {"<CPUFlags>", 0x1F},        {"<CurXRes>", 1280},
        {"<CurYRes>", 1024},  {"<CurBPP>", 24},     {"<RAM>", 256},              {"<DirectXVer>", (9 << 16) | 1},
        {"<OSBuild>", 0x0ECE}, {"<LanguageID>", 3}, {"<.NETVersion>", 20000},
    };
    for (int round = 0; round < 2; ++round)
        for (const Case& c : cases)
            EXPECT_EQ(number(c.name), c.value) << c.name;
    // One measurement each for the processor speed, the processor, the screen, the memory and
    // DirectX; .NET is asked every time.
    EXPECT_EQ(probeCalls, 5 + 2);
    EXPECT_EQ(gSystemNumbers.memoryMb, 256);
    EXPECT_EQ(gSystemNumbers.directX, (1 << 16) | 9);
}

TEST_F(SystemNumbersTest, ACellFilledElsewhereIsNotMeasured)
{
    gSystemNumbers.memoryMb = 64;
    gSystemNumbers.cpuType = 5;
    EXPECT_EQ(number("<RAM>"), 64);
    EXPECT_EQ(number("<CPUType>"), 5);
    EXPECT_EQ(number("<CPUFlags>"), 0x1F);
    EXPECT_EQ(gSystemNumbers.cpuType, 5);
    resetSystemNumbers();
    EXPECT_EQ(gSystemNumbers.memoryMb, -1);
    memoryBytes = 512ull * 1048576;
    EXPECT_EQ(number("<RAM>"), 512);
}

TEST_F(SystemNumbersTest, AVariableOfTheNameComesFirst)
{
    system_->ini["f.ini|S|Ram"] = "77";
    declareVariable("<RAM>", kVariableInteger, kVariableFromIni, "", "f.ini", "S", "Ram");
    declareVariable("<Text>", kVariableText, kVariableKnown).valueText.assignCStr("12 abc");
    gPackageToc.variables.back()->valueInt = 12;
    EXPECT_EQ(number("<RAM>"), 77);
    EXPECT_EQ(number("<Text>"), 12);
    EXPECT_EQ(probeCalls, 0);
}

} // namespace
