#include "installer/sysinfo/CpuIdentification.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

// A processor given as a table of leaves.
std::map<std::uint32_t, CpuidRegisters> gLeaves;
bool gHasCpuid = true;

CpuidRegisters vendorLeaf(const char* vendor, std::uint32_t maxLeaf)
{
    CpuidRegisters r;
    r.eax = maxLeaf;
    std::memcpy(&r.ebx, vendor, 4);
    std::memcpy(&r.edx, vendor + 4, 4);
    std::memcpy(&r.ecx, vendor + 8, 4);
    return r;
}

CpuidReader tableReader()
{
    return CpuidReader{[] { return gHasCpuid; },
                       [](std::uint32_t leaf) {
                           const auto it = gLeaves.find(leaf);
                           return it == gLeaves.end() ? CpuidRegisters{} : it->second;
                       }};
}

std::uint32_t signature(std::uint32_t family, std::uint32_t model)
{
    return (family << 8) | (model << 4) | 1;
}

TEST(CpuIdentification, TypeTableByVendorFamilyAndModel)
{
    struct Case {
        std::int32_t vendor;
        std::uint32_t signature;
        std::uint32_t leaf2Edx;
        std::int32_t type;
        const char* name;
    };
    const Case cases[] = {
        {kCpuVendorIntel, signature(4, 8), 0, 1, "Intel 486"},
        {kCpuVendorIntel, signature(5, 2), 0, 2, "Intel Pentium"},
        {kCpuVendorIntel, signature(6, 1), 0, 3, "Intel Pentium Pro"},
        {kCpuVendorIntel, signature(6, 3), 0, 4, "Intel Pentium II"},
        {kCpuVendorIntel, signature(6, 4), 0, 4, "Intel Pentium II"},
        {kCpuVendorIntel, signature(6, 5), 0x12345640, 5, "Intel Celeron"},
        {kCpuVendorIntel, signature(6, 5), 0x40404041, 4, "Intel Pentium II"},
        {kCpuVendorIntel, signature(6, 6), 0, 5, "Intel Celeron"},
        {kCpuVendorIntel, signature(6, 8), 0, 6, "Intel Pentium III"},
        {kCpuVendorIntel, signature(6, 13), 0, 6, "Intel Pentium III"},
        {kCpuVendorIntel, signature(15, 2), 0, 7, "Intel Pentium 4"},
        // Later family-6 processors rank with the Pentium 4 (Core 2, and every extended model).
        {kCpuVendorIntel, signature(6, 15), 0, 7, "Intel Pentium 4"},
        {kCpuVendorIntel, (1u << 16) | signature(6, 7), 0, 7, "Intel Pentium 4"},
        {kCpuVendorAmd, signature(5, 8), 0, 512, "AMD K6-2"},
        {kCpuVendorAmd, signature(5, 9), 0, 768, "AMD K6-3"},
        {kCpuVendorAmd, signature(5, 1), 0, 256, "AMD K5"},
        {kCpuVendorAmd, signature(6, 3), 0, 1025, nullptr},
        {kCpuVendorAmd, signature(6, 7), 0, 1025, nullptr},
        {kCpuVendorAmd, signature(6, 4), 0, 1024, "AMD Athlon"},
        {kCpuVendorAmd, signature(15, 1), 0, 1024, "AMD Athlon"},
        {kCpuVendorCyrix, 0x0600, 0, 0x10000, "Cyrix CPU"},
        {kCpuVendorCyrix, 0x0520, 0, 0x20000, "Cyrix CPU"},
        {kCpuVendorUnknown, signature(6, 8), 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        const std::int32_t type = cpuTypeCode(c.vendor, c.signature, c.leaf2Edx);
        EXPECT_EQ(type, c.type) << std::hex << c.signature;
        const char* name = cpuTypeName(type);
        if (c.name)
            EXPECT_STREQ(name, c.name) << std::hex << c.signature;
        else
            EXPECT_EQ(name, nullptr) << std::hex << c.signature;
    }
}

TEST(CpuIdentification, VendorTextInEbxEdxEcxOrder)
{
    EXPECT_EQ(cpuVendorFromRegisters(vendorLeaf("GenuineIntel", 1)), kCpuVendorIntel);
    EXPECT_EQ(cpuVendorFromRegisters(vendorLeaf("AuthenticAMD", 1)), kCpuVendorAmd);
    EXPECT_EQ(cpuVendorFromRegisters(vendorLeaf("CyrixInstead", 1)), kCpuVendorCyrix);
    EXPECT_EQ(cpuVendorFromRegisters(vendorLeaf("GenuineIotel", 1)), kCpuVendorUnknown);
    // The same bytes in EBX, ECX, EDX order are no vendor.
    CpuidRegisters swapped = vendorLeaf("GenuineIntel", 1);
    std::swap(swapped.ecx, swapped.edx);
    EXPECT_EQ(cpuVendorFromRegisters(swapped), kCpuVendorUnknown);
}

TEST(CpuIdentification, IdentifiesFromRegisterTables)
{
    gHasCpuid = true;
    gLeaves = {{0, vendorLeaf("AuthenticAMD", 1)},
               {1, CpuidRegisters{signature(5, 8), 0, 0, kCpuFeatureMmx | kCpuFeatureTimeStampCounter}},
               {0x80000000u, CpuidRegisters{0x80000001u, 0, 0, 0}},
               {0x80000001u, CpuidRegisters{0, 0, 0, kCpuExtendedFeature3DNow}}};
    ProcessorIdentity identity;
    ASSERT_EQ(identifyCpu(tableReader(), identity), kCpuIdentified);
    EXPECT_EQ(identity.vendor, kCpuVendorAmd);
    EXPECT_EQ(identity.type, kCpuAmdK6_2);
    EXPECT_EQ(identity.features, kCpuFeatureMmx | kCpuFeatureTimeStampCounter);
    EXPECT_EQ(identity.extendedFeatures, kCpuExtendedFeature3DNow);

    // Leaf 2 is read only when leaf 0 announces it; no extended leaves, no extended flags.
    gLeaves = {{0, vendorLeaf("GenuineIntel", 2)},
               {1, CpuidRegisters{signature(6, 5), 0, 0, 0}},
               {2, CpuidRegisters{0, 0, 0, 0x40}}};
    ASSERT_EQ(identifyCpu(tableReader(), identity), kCpuIdentified);
    EXPECT_EQ(identity.type, kCpuIntelCeleron);
    EXPECT_EQ(identity.extendedFeatures, 0u);
    gLeaves[0] = vendorLeaf("GenuineIntel", 1);
    ASSERT_EQ(identifyCpu(tableReader(), identity), kCpuIdentified);
    EXPECT_EQ(identity.type, kCpuIntelPentiumII);
}

TEST(CpuIdentification, NullOutputsAndMissingInstructionLeaveOutputsAlone)
{
    gLeaves = {{0, vendorLeaf("GenuineIntel", 1)}, {1, CpuidRegisters{signature(6, 8), 0, 0, 0}}};
    std::int32_t vendor = -5, type = -6;
    std::uint32_t features = 7, extended = 8;
    EXPECT_EQ(identifyCpu(tableReader(), nullptr, &type, &features, &extended), kCpuNullOutput);
    EXPECT_EQ(identifyCpu(tableReader(), &vendor, &type, &features, nullptr), kCpuNullOutput);
    gHasCpuid = false;
    EXPECT_EQ(identifyCpu(tableReader(), &vendor, &type, &features, &extended), kCpuNoCpuid);
    EXPECT_EQ(vendor, -5);
    EXPECT_EQ(type, -6);
    EXPECT_EQ(features, 7u);
    EXPECT_EQ(extended, 8u);
    gHasCpuid = true;
    EXPECT_EQ(identifyCpu(CpuidReader{}, &vendor, &type, &features, &extended), kCpuNoCpuid);
}

TEST(CpuIdentification, ThisProcessorIsIdentified)
{
    ProcessorIdentity identity;
    const int result = identifyCpu(processorCpuid(), identity);
#if defined(__i386__) || defined(__x86_64__)
    ASSERT_EQ(result, kCpuIdentified);
    // Every processor that runs this build has a time-stamp counter and MMX.
    EXPECT_TRUE(identity.features & kCpuFeatureTimeStampCounter);
    EXPECT_TRUE(identity.features & kCpuFeatureMmx);
    if (identity.vendor == kCpuVendorIntel || identity.vendor == kCpuVendorAmd) {
        EXPECT_NE(cpuTypeName(identity.type), nullptr);
    }
#else
    EXPECT_EQ(result, kCpuNoCpuid);
#endif
}

} // namespace
