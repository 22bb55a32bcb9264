#pragma once
// The processor's vendor, type code and feature flags, decoded from the CPUID registers. The
// instruction itself is read through a CpuidReader, so the decoding runs on fixed register
// tables in tests.
#include <cstdint>

enum CpuVendor : std::int32_t {
    kCpuVendorUnknown = 0,
    kCpuVendorIntel = 1,
    kCpuVendorAmd = 2,
    kCpuVendorCyrix = 3,
};

// Intel codes in the low byte, AMD codes as multiples of 256, Cyrix codes in bits 16-17.
constexpr std::int32_t kCpuIntel486 = 1;
constexpr std::int32_t kCpuIntelPentium = 2;
constexpr std::int32_t kCpuIntelPentiumPro = 3;
constexpr std::int32_t kCpuIntelPentiumII = 4;
constexpr std::int32_t kCpuIntelCeleron = 5;
constexpr std::int32_t kCpuIntelPentiumIII = 6;
constexpr std::int32_t kCpuIntelPentium4 = 7;
constexpr std::int32_t kCpuAmdK5 = 256;
constexpr std::int32_t kCpuAmdK6_2 = 512;
constexpr std::int32_t kCpuAmdK6_3 = 768;
constexpr std::int32_t kCpuAmdAthlon = 1024;
constexpr std::int32_t kCpuAmdDuron = 1025;
constexpr std::int32_t kCpuCyrixFamily6 = 0x10000;
constexpr std::int32_t kCpuCyrixOther = 0x20000;

// Feature bits of EDX of leaf 1, and of the extended leaf 0x80000001.
constexpr std::uint32_t kCpuFeatureTimeStampCounter = 1u << 4;
constexpr std::uint32_t kCpuFeatureMmx = 1u << 23;
constexpr std::uint32_t kCpuExtendedFeature3DNow = 1u << 31;

struct CpuidRegisters {
    std::uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

struct CpuidReader {
    // False on a processor without the instruction.
    bool (*available)() = nullptr;
    CpuidRegisters (*leaf)(std::uint32_t leaf) = nullptr;
};

// The processor this program runs on.
CpuidReader processorCpuid();

// 12 bytes of vendor text in EBX, EDX, ECX order.
std::int32_t cpuVendorFromRegisters(const CpuidRegisters& leaf0);
// The type code of a vendor from the leaf-1 signature (EAX) and, for Intel family 6 model 5,
// EDX of leaf 2.
std::int32_t cpuTypeCode(std::int32_t vendor, std::uint32_t signature, std::uint32_t leaf2Edx);
// "Intel Pentium III", "AMD K6-2", ...; null for a type without a name (unknown vendor, Duron).
const char* cpuTypeName(std::int32_t type);

struct ProcessorIdentity {
    std::int32_t vendor = kCpuVendorUnknown;
    std::int32_t type = 0;
    std::uint32_t features = 0;
    std::uint32_t extendedFeatures = 0;
};

constexpr int kCpuIdentified = 1;
constexpr int kCpuNullOutput = -1;
constexpr int kCpuNoCpuid = -2;

// 1 with every output set; -1 when an output is null; -2 without the CPUID instruction (the
// outputs are left as they were).
int identifyCpu(const CpuidReader& cpuid, std::int32_t* vendor, std::int32_t* type, std::uint32_t* features,
                std::uint32_t* extendedFeatures);
// The same into one record; the record stays as it was when identification fails.
int identifyCpu(const CpuidReader& cpuid, ProcessorIdentity& identity);
