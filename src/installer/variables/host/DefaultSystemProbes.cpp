#include "installer/variables/SystemProbes.h"

// The native stand-ins: no figures.
SystemProbes defaultSystemProbes()
{
    SystemProbes probes;
    probes.cpuMhz = [] { return std::int32_t{0}; };
    probes.identifyCpu = [] { return CpuIdentity{}; };
    probes.screen = [] { return ScreenFigures{}; };
    probes.physicalMemoryBytes = [] { return std::uint64_t{0}; };
    probes.directXVersion = [] { return std::int32_t{0}; };
    probes.dotNetVersion = [] { return std::int32_t{0}; };
    probes.dotNetFolder = [] { return std::string(); };
    return probes;
}
