#pragma once
// How the system's figures are measured. The library itself measures only the screen and the
// memory; the program installs the system-information probes at start. A probe that is not
// installed measures nothing (0, an empty folder). Tests replace the probes with fixed answers.
#include <cstdint>
#include <string>

struct ScreenFigures {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
};

struct CpuIdentity {
    std::int32_t type = 0;
    std::int32_t flags = 0;
};

struct SystemProbes {
    std::int32_t (*cpuMhz)() = nullptr;
    CpuIdentity (*identifyCpu)() = nullptr;
    // Of the display that shows the main window.
    ScreenFigures (*screen)() = nullptr;
    std::uint64_t (*physicalMemoryBytes)() = nullptr;
    // The minor number in the high 16 bits, the major in the low 16 bits.
    std::int32_t (*directXVersion)() = nullptr;
    // 10000 for 1.0, 10100 for 1.1, 20000 for 2.0 or later, 0 when none is found.
    std::int32_t (*dotNetVersion)() = nullptr;
    // The folder of the highest version found; empty when none is found.
    std::string (*dotNetFolder)() = nullptr;
};

const SystemProbes& systemProbes();
// Returns the probes used before.
SystemProbes setSystemProbes(const SystemProbes& probes);
// The library's own probes: the screen and the memory (none in the native build).
SystemProbes defaultSystemProbes();
