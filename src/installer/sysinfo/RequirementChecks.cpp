#include "installer/sysinfo/RequirementChecks.h"

namespace {

constexpr std::uint32_t kOs95 = 1u << 0;
constexpr std::uint32_t kOs98 = 1u << 1;
constexpr std::uint32_t kOsNt = 1u << 2;
constexpr std::uint32_t kOsMe = 1u << 3;
constexpr std::uint32_t kFirst98Build = 1998;
constexpr std::uint32_t kOsr2FirstBuild = 1001;
constexpr std::uint32_t kSecondEdition98Build = 2222;

std::uint32_t build16(const OsVersion& os)
{
    return os.build & 0xFFFF;
}

void appendPiece(ByteString& text, const char* piece)
{
    if (!text.empty())
        text.appendChar(' ');
    text.appendCStr(piece);
}

bool isDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::uint32_t servicePackFromCsd(std::uint32_t csdVersion)
{
    return csdVersion < 256 ? csdVersion : (csdVersion >> 8) & 0xFF;
}

ByteString osFoundText(const OsVersion& os, std::uint32_t servicePack)
{
    ByteString text;
    if (os.platformId == kPlatform9x) {
        if (os.minor == 90 || os.major != 4)
            text.appendCStr("Windows ME");
        else if (os.minor != 0)
            text.appendCStr("Windows 98 ");
        else
            text.appendCStr("Windows 95 ");
        text.format(" (%d.%d.%d)", os.major, os.minor, build16(os));
    } else if (os.platformId == kPlatformNt) {
        if (os.major == 5)
            text.appendCStr(os.minor == 0 ? "Windows 2000" : os.minor == 1 ? "Windows XP" : "Windows 2003");
        else if (os.major == 6)
            text.appendCStr("Windows Vista");
        else
            text.format("Windows NT %d.%d", os.major, os.minor);
        if (servicePack != 0)
            text.format(" SP%d", servicePack);
    } else {
        text.appendCStr("Windows 32s ");
    }
    return text;
}

ByteString osRequiredText(const SystemRequirements& r)
{
    if (r.osFlags == 0)
        return ByteString("-");
    ByteString text("Win ");
    if (r.osFlags & kOs95)
        text.appendCStr(r.minBuild9x <= 1000 ? "95/" : "95 (OSR2)/");
    if (r.osFlags & kOs98)
        text.appendCStr(r.minBuild9x < kSecondEdition98Build ? "98/" : "98 SE/");
    if (r.osFlags & kOsMe)
        text.appendCStr("ME/");
    if (r.osFlags & kOsNt) {
        if (r.ntMajor == 5 && r.ntMinor == 0)
            text.appendCStr("2000");
        else if (r.ntMajor == 5 && r.ntMinor == 1)
            text.appendCStr("XP");
        else if (r.ntMajor == 5)
            ;
        else if (r.ntMajor == 6)
            text.appendCStr("Vista");
        else {
            text.appendCStr("NT");
            if (r.ntMajor != 0)
                text.format(" %d.%d", r.ntMajor, r.ntMinor);
        }
        if (r.ntServicePack != 0)
            text.format(" SP%d", r.ntServicePack);
        text.appendChar('/');
    }
    text.erase(text.length() - 1, 1);
    return text;
}

bool osRequirementMet(const SystemRequirements& r, const OsVersion& os, std::uint32_t servicePack)
{
    if (r.osFlags == 0)
        return true;
    if (os.platformId == kPlatform9x) {
        const std::uint32_t build = build16(os);
        if ((r.osFlags & kOs95) && build >= r.minBuild9x)
            return true;
        return (r.osFlags & kOs98) && build >= kFirst98Build && build >= r.minBuild9x && os.minor != 0;
    }
    if (os.platformId == kPlatformNt && (r.osFlags & kOsNt)) {
        if (os.major != r.ntMajor)
            return os.major > r.ntMajor;
        if (os.minor != r.ntMinor)
            return os.minor > r.ntMinor;
        return servicePack >= r.ntServicePack;
    }
    return false;
}

ByteString cpuRequiredText(const SystemRequirements& r)
{
    static const char* const kIntel[] = {"486/", "Pentium/", "Pentium Pro/", "Pentium II/", "Celeron/", "Pentium III/", "Pentium 4/"};
    static const char* const kAmd[] = {"K5", "K6-2", "K6-3", "Athlon"};
    const std::uint32_t intel = r.cpuType & 0xFF;
    const std::uint32_t amd = (r.cpuType >> 8) & 0xFF;
    ByteString types;
    if (intel >= 1 && intel <= 7)
        types.appendCStr(kIntel[intel - 1]);
    if (amd >= 1 && amd <= 4)
        types.appendCStr(kAmd[amd - 1]);
    if (!types.empty() && types.at(types.length() - 1) == '/')
        types.erase(types.length() - 1, 1);
    ByteString text(types);
    if (r.cpuVendor == kCpuVendorIntel)
        appendPiece(text, "Intel CPU");
    else if (r.cpuVendor == kCpuVendorAmd)
        appendPiece(text, "AMD CPU");
    if (r.cpuFeatures & kCpuFeatureMmx)
        appendPiece(text, "(MMX)");
    if (r.cpuFeatures & kCpuExtendedFeature3DNow)
        appendPiece(text, "(3DNow!)");
    return text.empty() ? ByteString("-") : text;
}

CheckStatus cpuStatus(const SystemRequirements& r, const ProcessorIdentity& cpu)
{
    const std::uint32_t intel = r.cpuType & 0xFF;
    const std::uint32_t amd = r.cpuType & 0xFF00;
    const bool mmx = r.cpuFeatures & kCpuFeatureMmx;
    const bool threeDNow = r.cpuFeatures & kCpuExtendedFeature3DNow;
    if (intel == 0 && amd == 0 && r.cpuVendor == 0 && !mmx && !threeDNow)
        return CheckStatus::met;
    if (mmx && !(cpu.features & kCpuFeatureMmx))
        return CheckStatus::notMet;
    if (threeDNow)
        return (cpu.extendedFeatures & kCpuExtendedFeature3DNow) && cpu.vendor == kCpuVendorAmd ? CheckStatus::met
                                                                                                : CheckStatus::notMet;
    if (cpu.vendor == kCpuVendorUnknown)
        return CheckStatus::unknown;
    if (r.cpuVendor != 0 && static_cast<std::int32_t>(r.cpuVendor) != cpu.vendor)
        return CheckStatus::notMet;
    const auto type = static_cast<std::uint32_t>(cpu.type);
    if ((intel != 0 && type >= intel) || (amd != 0 && type >= amd) || r.cpuVendor != 0)
        return CheckStatus::met;
    // Features alone were asked for, and the processor has them.
    return intel == 0 && amd == 0 ? CheckStatus::met : CheckStatus::notMet;
}

std::uint32_t directXMajor(std::uint32_t probed)
{
    return probed & 0xFFFF;
}

std::uint32_t directXMinor(std::uint32_t probed)
{
    return probed >> 16;
}

bool directXMet(std::uint32_t probed, std::uint32_t required)
{
    const std::uint32_t requiredMajor = required >> 16;
    const std::uint32_t requiredMinor = required & 0xFFFF;
    if (directXMajor(probed) != requiredMajor)
        return directXMajor(probed) > requiredMajor;
    return directXMinor(probed) >= requiredMinor;
}

int compareVersionTexts(const ByteString& a, const ByteString& b)
{
    std::uint32_t i = 0, j = 0;
    while (i < a.length() && j < b.length()) {
        if (isDigit(a.at(i)) && isDigit(b.at(j))) {
            while (i < a.length() && a.at(i) == '0')
                ++i;
            while (j < b.length() && b.at(j) == '0')
                ++j;
            std::uint32_t endA = i, endB = j;
            while (endA < a.length() && isDigit(a.at(endA)))
                ++endA;
            while (endB < b.length() && isDigit(b.at(endB)))
                ++endB;
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            for (; i < endA; ++i, ++j)
                if (a.at(i) != b.at(j))
                    return a.at(i) < b.at(j) ? -1 : 1;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.length())
        return 1;
    return j < b.length() ? -1 : 0;
}

const char* dotNetFoundText(std::int32_t found)
{
    switch (found) {
    case 0:
        return "1.0";
    case 1:
        return "1.1";
    case 2:
        return "2.0";
    default:
        return nullptr;
    }
}

const char* dotNetRequiredText(std::uint32_t required)
{
    if (required == 0)
        return nullptr;
    return required == 1 ? "1.0" : required == 2 ? "1.1" : "2.0";
}

bool dotNetMet(std::int32_t found, std::uint32_t required)
{
    if (required == 0)
        return true;
    const std::int64_t needed = std::int64_t{required > 3 ? 3u : required} - 1;
    return found >= needed;
}
