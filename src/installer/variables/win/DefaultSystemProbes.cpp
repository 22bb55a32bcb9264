#include "installer/variables/SystemProbes.h"

#include "installer/state/InstallerState.h"

#include <windows.h>

namespace {

ScreenFigures mainWindowScreen()
{
    HWND window = static_cast<HWND>(gMainInstaller.mainWindow);
    HDC dc = GetDC(window);
    if (!dc)
        return ScreenFigures{};
    ScreenFigures figures{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, BITSPIXEL)};
    ReleaseDC(window, dc);
    return figures;
}

std::uint64_t physicalMemoryBytes()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

} // namespace

// The processor, DirectX and .NET probes are not part of this library yet: they answer 0 and no
// folder.
SystemProbes defaultSystemProbes()
{
    SystemProbes probes;
    probes.cpuMhz = [] { return std::int32_t{0}; };
    probes.identifyCpu = [] { return CpuIdentity{}; };
    probes.screen = &mainWindowScreen;
    probes.physicalMemoryBytes = &physicalMemoryBytes;
    probes.directXVersion = [] { return std::int32_t{0}; };
    probes.dotNetVersion = [] { return std::int32_t{0}; };
    probes.dotNetFolder = [] { return std::string(); };
    return probes;
}
