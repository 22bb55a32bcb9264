#include "installer/sysinfo/CpuIdentification.h"

#include <cstring>

namespace {

constexpr std::uint32_t kExtendedLeafBase = 0x80000000u;
constexpr std::uint32_t kExtendedFeatureLeaf = 0x80000001u;

std::uint32_t family(std::uint32_t signature)
{
    return (signature >> 8) & 0xF;
}

std::uint32_t model(std::uint32_t signature)
{
    return (signature >> 4) & 0xF;
}

std::uint32_t extendedModel(std::uint32_t signature)
{
    return (signature >> 16) & 0xF;
}

std::int32_t intelType(std::uint32_t signature, std::uint32_t leaf2Edx)
{
    switch (family(signature)) {
    case 4:
        return kCpuIntel486;
    case 5:
        return kCpuIntelPentium;
    case 6:
        break;
    default:
        return kCpuIntelPentium4;
    }
    // Family 6 came back after the Pentium 4: its models from 15 on (and every model with an
    // extended model number) are later processors and rank with the Pentium 4, so that an old
    // requirement is met by a newer processor.
    if (extendedModel(signature) != 0 || model(signature) == 15)
        return kCpuIntelPentium4;
    switch (model(signature)) {
    case 1:
        return kCpuIntelPentiumPro;
    case 3:
    case 4:
        return kCpuIntelPentiumII;
    case 5:
        return (leaf2Edx & 0xFF) == 0x40 ? kCpuIntelCeleron : kCpuIntelPentiumII;
    case 6:
        return kCpuIntelCeleron;
    default:
        return kCpuIntelPentiumIII;
    }
}

std::int32_t amdType(std::uint32_t signature)
{
    const std::uint32_t m = model(signature);
    switch (family(signature)) {
    case 5:
        return m == 8 ? kCpuAmdK6_2 : m == 9 ? kCpuAmdK6_3 : kCpuAmdK5;
    case 6:
        return m == 3 || m == 7 ? kCpuAmdDuron : kCpuAmdAthlon;
    default:
        return kCpuAmdAthlon;
    }
}

} // namespace

std::int32_t cpuVendorFromRegisters(const CpuidRegisters& leaf0)
{
    char text[12];
    std::memcpy(text, &leaf0.ebx, 4);
    std::memcpy(text + 4, &leaf0.edx, 4);
    std::memcpy(text + 8, &leaf0.ecx, 4);
    if (std::memcmp(text, "GenuineIntel", 12) == 0)
        return kCpuVendorIntel;
    if (std::memcmp(text, "AuthenticAMD", 12) == 0)
        return kCpuVendorAmd;
    if (std::memcmp(text, "CyrixInstead", 12) == 0)
        return kCpuVendorCyrix;
    return kCpuVendorUnknown;
}

std::int32_t cpuTypeCode(std::int32_t vendor, std::uint32_t signature, std::uint32_t leaf2Edx)
{
    switch (vendor) {
    case kCpuVendorIntel:
        return intelType(signature, leaf2Edx);
    case kCpuVendorAmd:
        return amdType(signature);
    case kCpuVendorCyrix:
        return ((signature >> 8) & 0xFF) == 6 ? kCpuCyrixFamily6 : kCpuCyrixOther;
    default:
        return 0;
    }
}

const char* cpuTypeName(std::int32_t type)
{
    switch (type) {
    case kCpuIntel486:
        return "Intel 486";
    case kCpuIntelPentium:
        return "Intel Pentium";
    case kCpuIntelPentiumPro:
        return "Intel Pentium Pro";
    case kCpuIntelPentiumII:
        return "Intel Pentium II";
    case kCpuIntelCeleron:
        return "Intel Celeron";
    case kCpuIntelPentiumIII:
        return "Intel Pentium III";
    case kCpuIntelPentium4:
        return "Intel Pentium 4";
    case kCpuAmdK5:
        return "AMD K5";
    case kCpuAmdK6_2:
        return "AMD K6-2";
    case kCpuAmdK6_3:
        return "AMD K6-3";
    case kCpuAmdAthlon:
        return "AMD Athlon";
    case kCpuCyrixFamily6:
    case kCpuCyrixOther:
        return "Cyrix CPU";
    default:
        return nullptr;
    }
}

int identifyCpu(const CpuidReader& cpuid, std::int32_t* vendor, std::int32_t* type, std::uint32_t* features,
                std::uint32_t* extendedFeatures)
{
    if (!vendor || !type || !features || !extendedFeatures)
        return kCpuNullOutput;
    if (!cpuid.available || !cpuid.leaf || !cpuid.available())
        return kCpuNoCpuid;
    const CpuidRegisters leaf0 = cpuid.leaf(0);
    *vendor = cpuVendorFromRegisters(leaf0);
    CpuidRegisters leaf1;
    if (leaf0.eax >= 1)
        leaf1 = cpuid.leaf(1);
    const std::uint32_t leaf2Edx = leaf0.eax >= 2 ? cpuid.leaf(2).edx : 0;
    *features = leaf1.edx;
    // The extended flags carry 3DNow!, which a requirement may ask for.
    *extendedFeatures = 0;
    if (cpuid.leaf(kExtendedLeafBase).eax >= kExtendedFeatureLeaf)
        *extendedFeatures = cpuid.leaf(kExtendedFeatureLeaf).edx;
    *type = cpuTypeCode(*vendor, leaf1.eax, leaf2Edx);
    return kCpuIdentified;
}

int identifyCpu(const CpuidReader& cpuid, ProcessorIdentity& identity)
{
    ProcessorIdentity found = identity;
    const int result = identifyCpu(cpuid, &found.vendor, &found.type, &found.features, &found.extendedFeatures);
    if (result == kCpuIdentified)
        identity = found;
    return result;
}
