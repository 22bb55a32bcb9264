#include "installer/sysinfo/CpuIdentification.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

#if defined(__i386__) || defined(__x86_64__)
// On a 32-bit processor the instruction exists when the ID flag of EFLAGS can be toggled, which
// the compiler's helper tests before it executes anything.
bool cpuidPresent()
{
    return __get_cpuid_max(0, nullptr) != 0;
}

CpuidRegisters cpuidLeaf(std::uint32_t leaf)
{
    CpuidRegisters r;
    __cpuid(leaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}
#else
bool cpuidPresent()
{
    return false;
}

CpuidRegisters cpuidLeaf(std::uint32_t)
{
    return {};
}
#endif

} // namespace

CpuidReader processorCpuid()
{
    return CpuidReader{&cpuidPresent, &cpuidLeaf};
}
