#include "installer/sysinfo/win/SystemInformationProbes.h"

#include "installer/state/InstallerState.h"
#include "installer/sysinfo/CpuIdentification.h"
#include "installer/sysinfo/CpuSpeed.h"
#include "installer/sysinfo/DotNetFolders.h"
#include "installer/sysinfo/win/DirectXDetection.h"
#include "installer/sysinfo/win/SoftwareDetection.h"
#include "installer/sysinfo/win/SystemFactsWin.h"

SystemProbes systemInformationProbes()
{
    SystemProbes probes;
    probes.cpuMhz = [] { return static_cast<std::int32_t>(measureCpuMhzMajority(systemSpeedClock())); };
    probes.identifyCpu = [] {
        ProcessorIdentity identity;
        identifyCpu(processorCpuid(), identity);
        return CpuIdentity{identity.type, static_cast<std::int32_t>(identity.features)};
    };
    probes.screen = [] {
        const DisplayMode mode = currentDisplayMode(static_cast<HWND>(gMainInstaller.mainWindow));
        return ScreenFigures{static_cast<std::int32_t>(mode.width), static_cast<std::int32_t>(mode.height),
                             static_cast<std::int32_t>(mode.bits)};
    };
    probes.physicalMemoryBytes = &physicalMemoryBytes;
    probes.directXVersion = [] { return static_cast<std::int32_t>(detectDirectX()); };
    probes.dotNetVersion = [] { return dotNetVariableValue(detectDotNet(nullptr)); };
    probes.dotNetFolder = [] {
        ByteString folder;
        detectDotNet(&folder);
        return std::string(folder.cStr());
    };
    return probes;
}
