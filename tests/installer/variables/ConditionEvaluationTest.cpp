#include "installer/variables/ConditionEvaluation.h"

#include "installer/variables/FakeVariableSources.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kPlatform9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

class ConditionEvaluationTest : public ::testing::Test {
protected:
    ConditionEvaluationTest()
    {
        setSystem(kPlatformNt, 5, 1);
        declareVariable("<IT_Type>", kVariableInteger, kVariableKnown).valueInt = 2;
        gPackageToc.variables.back()->valueText.assignCStr("2");
        declareVariable("<Name>", kVariableText, kVariableKnown).valueText.assignCStr("Beta");
        gMainInstaller.folders[kProgramFiles].assignCStr("C:\\Program Files");
    }

    static void setSystem(std::uint32_t platform, std::uint32_t major, std::uint32_t minor)
    {
        gInstallerContext.osVersion.platformId = platform;
        gInstallerContext.osVersion.major = major;
        gInstallerContext.osVersion.minor = minor;
    }

    CleanVariableState state_;
    std::shared_ptr<FakeSystem> system_ = std::make_shared<FakeSystem>();
    ScopedVariableSources sources_{fakeVariableSources(system_)};
};

ConditionRecord condition(std::uint32_t osFlags, std::vector<ConditionComparison> comparisons = {})
{
    ConditionRecord record;
    record.osFlags = osFlags;
    record.comparisons = std::move(comparisons);
    return record;
}

ConditionComparison compare(const char* left, std::int32_t op, const char* right)
{
    return ConditionComparison{ByteString(left), op, ByteString(right)};
}

TEST_F(ConditionEvaluationTest, NoConditionHolds)
{
    EXPECT_TRUE(conditionHolds(nullptr));
}

TEST_F(ConditionEvaluationTest, SystemTest)
{
    struct Case {
        std::uint32_t platform, major, minor;
        std::uint32_t osFlags;
        bool holds;
    };
    const Case cases[] = {
        {kPlatform9x, 4, 0, 0x2, true},         {kPlatform9x, 4, 10, 0x4, true},
        {kPlatform9x, 4, 90, 0x8, true},        {kPlatform9x, 4, 3, 0x8, true},   // any other 9x version
        {kPlatform9x, 4, 10, 0x2, false},       {kPlatform9x, 4, 0, 0x40000000, true},
        {kPlatform9x, 4, 0, 0x20000000, false}, {kPlatformNt, 4, 0, 0x10, true},
        {kPlatformNt, 3, 51, 0x10, true},       {kPlatformNt, 5, 0, 0x20, true},
        {kPlatformNt, 5, 0, 0x40, false},       {kPlatformNt, 5, 1, 0x40, true},
        {kPlatformNt, 5, 2, 0x80, true},        {kPlatformNt, 5, 3, 0x100, true},
        {kPlatformNt, 6, 1, 0x100, true},       {kPlatformNt, 10, 0, 0x1FE, true},
        {kPlatformNt, 10, 0, 0xFE, false},      {kPlatformNt, 6, 0, 0x20000000, true},
        {kPlatformNt, 6, 0, 0x40000000, false}, {kPlatformNt, 6, 0, 0x1, true},
        {kPlatformNt, 6, 0, 0x80000000, false},
    };
    for (const Case& c : cases) {
        setSystem(c.platform, c.major, c.minor);
        const ConditionRecord record = condition(c.osFlags);
        EXPECT_EQ(conditionHolds(&record), c.holds)
            << c.platform << " " << c.major << "." << c.minor << " flags " << std::hex << c.osFlags;
    }
}

TEST_F(ConditionEvaluationTest, AFamilyBitStillNeedsTheComparisons)
{
    setSystem(kPlatformNt, 5, 0);
    const ConditionRecord both = condition(0x20000000, {compare("<IT_Type>", 0, "2"), compare("1", 0, "1")});
    EXPECT_TRUE(conditionHolds(&both));
    const ConditionRecord failing = condition(0x20000000, {compare("<IT_Type>", 0, "2"), compare("1", 0, "2")});
    EXPECT_FALSE(conditionHolds(&failing));
}

TEST_F(ConditionEvaluationTest, Comparisons)
{
    struct Case {
        const char* left;
        std::int32_t op;
        const char* right;
        bool holds;
    };
    const Case cases[] = {
        // An integer variable against a plain number compares numbers; against a quoted one, texts.
        {"<IT_Type>", 0, "2", true},
        {"<IT_Type>", 0, "4", false},
        {"<IT_Type>", 3, "10", true},        // 2 < 10 as numbers
        {"<IT_Type>", 3, "\"10\"", false},   // "2" > "10" as texts
        {"<IT_Type>", 0, "\"2\"", true},
        {"<IT_Type>", 0, "\"4\"", false},
        // Numbers are signed.
        {"-1", 3, "1", true},
        {"-2147483648", 3, "2147483647", true},
        {"-1", 2, "0", false},
        {"0", 2, "-1", true},
        {"5", 4, "5", true},
        {"5", 5, "4", false},
        {"5", 1, "4", true},
        // Operators without a numeric meaning test common bits; between texts they are false.
        {"6", 7, "4", true},
        {"6", 7, "1", false},
        {"-1", 99, "-2147483648", true},
        {"6", -1, "2", true},
        {"6", 6, "2", true},
        {"\"6\"", 7, "\"4\"", false},
        {"\"6\"", -1, "\"6\"", false},
        // Texts compare byte-wise like strcmp, with bytes taken as unsigned.
        {"<Name>", 0, "Beta", true},          // a text variable makes the plain right text a text
        {"Beta", 0, "<Name>", true},
        {"<Name>", 0, "beta", false},
        {"<Name>", 2, "Alpha", true},
        {"<Name>", 3, "\"\xC3\xA9t\xC3\xA9\"", true},
        {"\"\xC3\xA9\"", 2, "\"z\"", true},
        {"\"abc\"", 4, "\"abc\"", true},
        {"\"abc\"", 5, "\"abd\"", true},
        {"\"\"", 0, "\"\"", true},
        {"\"", 0, "\"\"", true},              // a lone quote is an empty literal
        // Contains: upper-cased, the right text inside the left one.
        {"\"C:\\Program Files\"", 6, "\"program\"", true},
        {"<ProgramFiles>", 6, "\"FILES\"", true},
        {"\"program\"", 6, "\"C:\\Program Files\"", false},
        {"<Name>", 6, "ET", true},
        {"<Name>", 6, "\"\"", true},
        // A built-in folder against an unquoted text is no text comparison: both read as 0.
        {"<ProgramFiles>", 0, "C:\\Other", true},
        // Names of nothing and plain texts read as numbers.
        {"<Missing>", 0, "0", true},
        {"abc", 0, "xyz", true},
        {"12abc", 0, "12", true},
    };
    for (const Case& c : cases) {
        const ConditionRecord record = condition(0x1, {compare(c.left, c.op, c.right)});
        EXPECT_EQ(conditionHolds(&record), c.holds) << c.left << " op " << c.op << " " << c.right;
    }
}

TEST_F(ConditionEvaluationTest, AndOrStopAsSoonAsTheResultIsKnown)
{
    // A registry variable is read when a comparison that names it is evaluated.
    declareVariable("<Probe>", kVariableInteger, kVariableFromRegistry, "1", "-2147483646", "Software\\X", "V");
    const auto falseOne = compare("1", 0, "2");
    const auto trueOne = compare("1", 0, "1");
    const auto probe = compare("<Probe>", 0, "1");
    struct Case {
        std::uint32_t osFlags;
        std::vector<ConditionComparison> comparisons;
        bool holds;
        int reads;
    };
    const Case cases[] = {
        {0x1, {falseOne, probe}, false, 0},
        {0x1, {trueOne, probe}, true, 1},
        {0x80000001, {trueOne, probe}, true, 0},
        {0x80000001, {falseOne, probe}, true, 1},
        {0x80000001, {falseOne, falseOne}, false, 0},
        {0x1, {trueOne, trueOne, falseOne}, false, 0},
    };
    for (const Case& c : cases) {
        gPackageToc.variables.back()->state = kVariableFromRegistry;
        system_->registryReads = 0;
        const ConditionRecord record = condition(c.osFlags, c.comparisons);
        EXPECT_EQ(conditionHolds(&record), c.holds);
        EXPECT_EQ(system_->registryReads, c.reads);
    }
}

} // namespace
