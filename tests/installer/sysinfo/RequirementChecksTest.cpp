#include "installer/sysinfo/RequirementChecks.h"

#include <gtest/gtest.h>

namespace {

OsVersion os(std::uint32_t platform, std::uint32_t major, std::uint32_t minor, std::uint32_t build)
{
    OsVersion v;
    v.platformId = platform;
    v.major = major;
    v.minor = minor;
    v.build = build;
    return v;
}

std::string str(ByteString text)
{
    return text.cStr();
}

TEST(RequirementChecks, OsNames)
{
    struct Case {
        OsVersion os;
        std::uint32_t servicePack;
        const char* text;
    };
    const Case cases[] = {
        {os(kPlatform9x, 4, 0, (4u << 24) | 950), 0, "Windows 95  (4.0.950)"},
        {os(kPlatform9x, 4, 10, (4u << 24) | (10u << 16) | 2222), 0, "Windows 98  (4.10.2222)"},
        {os(kPlatform9x, 4, 90, 3000), 0, "Windows ME (4.90.3000)"},
        {os(kPlatformNt, 5, 0, 2195), 4, "Windows 2000 SP4"},
        {os(kPlatformNt, 5, 1, 2600), 2, "Windows XP SP2"},
        {os(kPlatformNt, 5, 2, 3790), 0, "Windows 2003"},
        {os(kPlatformNt, 6, 1, 7601), 1, "Windows Vista SP1"},
        {os(kPlatformNt, 10, 0, 19045), 0, "Windows NT 10.0"},
        {os(kPlatformNt, 4, 0, 1381), 6, "Windows NT 4.0 SP6"},
        {os(kPlatformWin32s, 3, 10, 0), 0, "Windows 32s "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(osFoundText(c.os, c.servicePack)), c.text);
    EXPECT_EQ(servicePackFromCsd(3), 3u);
    EXPECT_EQ(servicePackFromCsd(0x0200), 2u);
    EXPECT_EQ(servicePackFromCsd(0x30100), 1u);
}

TEST(RequirementChecks, OsRequirementTextAndVerdict)
{
    struct Case {
        std::uint32_t flags, minBuild, ntMajor, ntMinor, ntSp;
        const char* text;
        OsVersion system;
        std::uint32_t servicePack;
        bool met;
    };
    const OsVersion xpSp2 = os(kPlatformNt, 5, 1, 2600);
    const OsVersion win98 = os(kPlatform9x, 4, 10, 1998);
    const OsVersion win95 = os(kPlatform9x, 4, 0, 950);
    const Case cases[] = {
        {0, 0, 0, 0, 0, "-", xpSp2, 2, true},
        {0, 0, 0, 0, 0, "-", os(kPlatformWin32s, 3, 1, 0), 0, true},
        {4, 0, 5, 1, 2, "Win XP SP2", xpSp2, 2, true},
        {4, 0, 5, 1, 3, "Win XP SP3", xpSp2, 2, false},
        {4, 0, 5, 0, 4, "Win 2000 SP4", xpSp2, 0, true},
        {4, 0, 6, 0, 0, "Win Vista", xpSp2, 2, false},
        {4, 0, 5, 2, 0, "Win ", xpSp2, 2, false},
        {4, 0, 0, 0, 0, "Win NT", xpSp2, 0, true},
        {4, 0, 4, 0, 6, "Win NT 4.0 SP6", xpSp2, 0, true},
        {1 | 2 | 8 | 4, 0, 5, 0, 0, "Win 95/98/ME/2000", win98, 0, true},
        {1, 1001, 0, 0, 0, "Win 95 (OSR2)", win95, 0, false},
        {1, 950, 0, 0, 0, "Win 95", win95, 0, true},
        {2, 2222, 0, 0, 0, "Win 98 SE", win98, 0, false},
        {2, 0, 0, 0, 0, "Win 98", win95, 0, false},
        {2, 0, 0, 0, 0, "Win 98", win98, 0, true},
        {8, 0, 0, 0, 0, "Win ME", win98, 0, false},
        {3, 0, 0, 0, 0, "Win 95/98", xpSp2, 2, false},
        {4, 0, 5, 0, 0, "Win 2000", os(kPlatformWin32s, 3, 1, 0), 0, false},
    };
    for (const Case& c : cases) {
        SystemRequirements r;
        r.osFlags = c.flags;
        r.minBuild9x = c.minBuild;
        r.ntMajor = c.ntMajor;
        r.ntMinor = c.ntMinor;
        r.ntServicePack = c.ntSp;
        EXPECT_EQ(str(osRequiredText(r)), c.text);
        EXPECT_EQ(osRequirementMet(r, c.system, c.servicePack), c.met) << c.text;
    }
}

TEST(RequirementChecks, ProcessorRequirement)
{
    const ProcessorIdentity pentium4{kCpuVendorIntel, kCpuIntelPentium4, kCpuFeatureMmx, 0};
    const ProcessorIdentity k62{kCpuVendorAmd, kCpuAmdK6_2, kCpuFeatureMmx, kCpuExtendedFeature3DNow};
    const ProcessorIdentity pentium{kCpuVendorIntel, kCpuIntelPentium, 0, 0};
    const ProcessorIdentity unknown{kCpuVendorUnknown, 0, kCpuFeatureMmx, 0};
    struct Case {
        std::uint32_t vendor, type, features;
        const char* text;
        ProcessorIdentity cpu;
        CheckStatus status;
    };
    const Case cases[] = {
        {0, 0, 0, "-", unknown, CheckStatus::met},
        {0, 4, 0, "Pentium II", pentium4, CheckStatus::met},
        {0, 4, 0, "Pentium II", pentium, CheckStatus::notMet},
        {0, 4 | 0x400, 0, "Pentium II/Athlon", pentium, CheckStatus::notMet},
        {0, 0x400, 0, "Athlon", k62, CheckStatus::notMet},
        {0, 0x200, 0, "K6-2", k62, CheckStatus::met},
        {1, 0, 0, "Intel CPU", k62, CheckStatus::notMet},
        {2, 0, 0, "AMD CPU", k62, CheckStatus::met},
        {1, 7, kCpuFeatureMmx, "Pentium 4 Intel CPU (MMX)", pentium4, CheckStatus::met},
        {0, 2, kCpuFeatureMmx, "Pentium (MMX)", pentium, CheckStatus::notMet},
        // Features alone are met by a processor that has them.
        {0, 0, kCpuFeatureMmx, "(MMX)", pentium4, CheckStatus::met},
        {0, 0, kCpuExtendedFeature3DNow, "(3DNow!)", k62, CheckStatus::met},
        {0, 0, kCpuExtendedFeature3DNow, "(3DNow!)", pentium4, CheckStatus::notMet},
        {0, 6, 0, "Pentium III", unknown, CheckStatus::unknown},
        {0, 0, kCpuFeatureMmx, "(MMX)", unknown, CheckStatus::unknown},
    };
    for (const Case& c : cases) {
        SystemRequirements r;
        r.cpuVendor = c.vendor;
        r.cpuType = c.type;
        r.cpuFeatures = c.features;
        EXPECT_EQ(str(cpuRequiredText(r)), c.text);
        EXPECT_EQ(cpuStatus(r, c.cpu), c.status) << c.text;
    }
}

TEST(RequirementChecks, DirectXComparesMajorThenMinor)
{
    struct Case {
        std::uint32_t foundMajor, foundMinor, requiredMajor, requiredMinor;
        bool met;
    };
    const Case cases[] = {{9, 0, 9, 1, false}, {8, 1, 8, 0, true}, {9, 0, 8, 2, true},
                          {7, 0, 7, 0, true},  {6, 1, 7, 0, false}, {10, 0, 9, 3, true}};
    for (const Case& c : cases) {
        const std::uint32_t probed = (c.foundMinor << 16) | c.foundMajor;
        EXPECT_EQ(directXMajor(probed), c.foundMajor);
        EXPECT_EQ(directXMinor(probed), c.foundMinor);
        EXPECT_EQ(directXMet(probed, (c.requiredMajor << 16) | c.requiredMinor), c.met) << c.foundMajor << "." << c.foundMinor;
    }
}

TEST(RequirementChecks, VersionTextsCompareNumbersByValue)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"1.4.2_05", "1.5", -1}, {"10.0", "9.0", 1}, {"1.5.0", "1.5", 1}, {"1.5", "1.5", 0},
        {"1.05", "1.5", 0},      {"1.6.0_10", "1.6.0_9", 1}, {"", "1.5", -1}, {"abc", "abd", -1},
        {"1.10", "1.9", 1},      {"00000000000000000000000001", "2", -1},
    };
    for (const Case& c : cases) {
        const int result = compareVersionTexts(ByteString(c.a), ByteString(c.b));
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
        const int back = compareVersionTexts(ByteString(c.b), ByteString(c.a));
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
    }
}

TEST(RequirementChecks, DotNetCodes)
{
    struct Case {
        std::int32_t found;
        std::uint32_t required;
        bool met;
    };
    const Case cases[] = {{-1, 0, true}, {-1, 1, false}, {0, 1, true},  {0, 2, false}, {1, 2, true},
                          {1, 3, false}, {2, 3, true},   {2, 9, true},  {-1, 9, false}};
    for (const Case& c : cases)
        EXPECT_EQ(dotNetMet(c.found, c.required), c.met) << c.found << " " << c.required;
    EXPECT_STREQ(dotNetFoundText(1), "1.1");
    EXPECT_EQ(dotNetFoundText(-1), nullptr);
    EXPECT_STREQ(dotNetRequiredText(7), "2.0");
    EXPECT_EQ(dotNetRequiredText(0), nullptr);
}

} // namespace
