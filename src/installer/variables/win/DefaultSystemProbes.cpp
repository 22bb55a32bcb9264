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

SystemProbes defaultSystemProbes()
{
    SystemProbes probes;
    probes.screen = &mainWindowScreen;
    probes.physicalMemoryBytes = &physicalMemoryBytes;
    return probes;
}
