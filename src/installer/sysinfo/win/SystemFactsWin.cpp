#include "installer/sysinfo/win/SystemFactsWin.h"

#include "installer/state/InstallerState.h"
#include "installer/sysinfo/CpuSpeed.h"
#include "installer/sysinfo/win/DirectXDetection.h"
#include "installer/sysinfo/win/SoftwareDetection.h"
#include "installer/system/FreeSpace.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/ComRef.h"
#include "installer/system/win/GuardedCall.h"
#include "installer/system/win/Registry.h"
#include "installer/text/Utf8.h"
#include "installer/text/win/WideName.h"

#include <ddraw.h>
#include <mmsystem.h>

#include <string>

namespace {

constexpr int kAvailableToCaller = 1;

std::optional<OsVersion> queryOsVersion()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version))
        return std::nullopt;
#pragma GCC diagnostic pop
    OsVersion os;
    os.major = version.dwMajorVersion;
    os.minor = version.dwMinorVersion;
    os.build = version.dwBuildNumber;
    os.platformId = version.dwPlatformId;
    return os;
}

std::uint32_t csdVersion()
{
    std::vector<std::uint8_t> bytes;
    if (readRegistryBytes(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Windows", "CSDVersion", &bytes) != 1
        || bytes.size() < 5)
        return 0;
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
}

ByteString fromWide(const wchar_t* text)
{
    const auto utf8 = wideToUtf8(reinterpret_cast<const char16_t*>(text));
    return utf8 ? *utf8 : ByteString();
}

ByteString computerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? fromWide(name) : ByteString();
}

ByteString userName()
{
    wchar_t name[257] = {};
    DWORD size = 257;
    return GetUserNameW(name, &size) ? fromWide(name) : ByteString();
}

ByteString decimalSeparator()
{
    char separator[10] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) == 0)
        return ByteString(",");
    return ByteString(separator);
}

using DirectDrawCreateFunction = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
using DirectDrawEnumerateFunction = HRESULT(WINAPI*)(LPDDENUMCALLBACKA, void*);

struct DeviceListing {
    DirectDrawCreateFunction create = nullptr;
    std::vector<DisplayDevice>* devices = nullptr;
};

BOOL WINAPI listDisplayDevice(GUID* guid, char* description, char*, void* context)
{
    try {
        auto& listing = *static_cast<DeviceListing*>(context);
        DisplayDevice device;
        device.description.assignCStr(description);
        ComRef<IDirectDraw> draw;
        if (SUCCEEDED(listing.create(guid, reinterpret_cast<IDirectDraw**>(draw.out()), nullptr))) {
            DDCAPS caps{};
            caps.dwSize = sizeof(caps);
            if (SUCCEEDED(draw->GetCaps(&caps, nullptr)))
                device.videoMemoryBytes = caps.dwVidMemTotal;
            ComRef<IDirectDraw7> draw7;
            DDDEVICEIDENTIFIER2 identifier{};
            if (SUCCEEDED(draw->QueryInterface(IID_IDirectDraw7, draw7.out())) && draw7
                && SUCCEEDED(draw7->GetDeviceIdentifier(&identifier, 0)))
                device.driverName = ByteString(identifier.szDriver);
        }
        listing.devices->push_back(std::move(device));
    } catch (...) {
    }
    return TRUE;
}

std::vector<DisplayDevice> displayDevices()
{
    std::vector<DisplayDevice> devices;
    HMODULE ddraw = LoadLibraryA("DDRAW.DLL");
    if (!ddraw)
        return devices;
    auto enumerate = reinterpret_cast<DirectDrawEnumerateFunction>(reinterpret_cast<void*>(GetProcAddress(ddraw, "DirectDrawEnumerateA")));
    DeviceListing listing{reinterpret_cast<DirectDrawCreateFunction>(reinterpret_cast<void*>(GetProcAddress(ddraw, "DirectDrawCreate"))),
                          &devices};
    if (enumerate && listing.create)
        enumerate(&listDisplayDevice, &listing);
    FreeLibrary(ddraw);
    return devices;
}

ComputerFacts computer()
{
    ComputerFacts c;
    c.computerName = computerName();
    c.userName = userName();
    c.currentMode = currentDisplayMode(static_cast<HWND>(gMainInstaller.mainWindow));
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    c.processors = static_cast<std::int32_t>(system.dwNumberOfProcessors);
    c.decimalSeparator = decimalSeparator();
    if (c.currentMode.bits > 4)
        c.displayDevices = displayDevices();
    return c;
}

std::optional<ByteString> registryString(HKEY key, const char* value)
{
    DWORD type = 0;
    std::vector<std::uint8_t> bytes;
    if (queryRegistryValue(key, value, &type, bytes) != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0)
        ++n;
    return ByteString(bytes.data(), static_cast<std::uint32_t>(n));
}

std::optional<std::vector<InstalledProduct>> installedProducts(const ByteString& productKey)
{
    ByteString keyName(productKey);
    const std::string path = std::string("Software\\") + keyName.cStr();
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideName(path), 0, KEY_READ | registryViewBits(), &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<InstalledProduct> products;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        InstalledProduct product;
        product.name = utf8FromWide(name, static_cast<int>(size));
        HKEY sub;
        if (RegOpenKeyExW(key, name, 0, KEY_QUERY_VALUE | registryViewBits(), &sub) == ERROR_SUCCESS) {
            product.version = registryString(sub, "Version");
            product.installed = registryString(sub, "Installed");
            RegCloseKey(sub);
        }
        products.push_back(std::move(product));
    }
    RegCloseKey(key);
    return products;
}

using SystemInformationExport = void(WINAPI*)(HWND, std::int32_t*, std::int32_t*);

std::optional<PluginLines> pluginLines(HWND listBox)
{
    if (!listBox)
        return std::nullopt;
    PluginLines plugin;
    if (auto entry = reinterpret_cast<SystemInformationExport>(gPluginLibrary.entry("SystemInformation"))) {
        // A fault inside the plug-in loses only its lines.
        callGuarded([&] { entry(listBox, &plugin.failures, &plugin.unknowns); });
    }
    plugin.lines = takeListBoxLines(listBox);
    return plugin;
}

} // namespace

DisplayMode currentDisplayMode(HWND window)
{
    HDC dc = GetDC(window);
    if (!dc)
        return {};
    const DisplayMode mode{static_cast<std::uint32_t>(GetDeviceCaps(dc, HORZRES)), static_cast<std::uint32_t>(GetDeviceCaps(dc, VERTRES)),
                           static_cast<std::uint32_t>(GetDeviceCaps(dc, BITSPIXEL))};
    ReleaseDC(window, dc);
    return mode;
}

std::uint64_t physicalMemoryBytes()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

std::vector<DisplayMode> displayModes()
{
    std::vector<DisplayMode> modes;
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    EnumDisplaySettingsA(nullptr, 0, &mode);
    for (DWORD i = 1; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        modes.push_back({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel});
    return modes;
}

std::vector<DriveSpace> fixedDrives()
{
    std::vector<DriveSpace> drives;
    char roots[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof(roots) - 1, roots);
    if (length == 0 || length >= sizeof(roots))
        return drives;
    for (const char* root = roots; *root; root += std::char_traits<char>::length(root) + 1) {
        if (GetDriveTypeW(WideName(root)) == DRIVE_FIXED)
            drives.push_back({ByteString(root), getFreeSpace(root, kAvailableToCaller)});
    }
    return drives;
}

std::vector<ByteString> takeListBoxLines(HWND listBox)
{
    std::vector<ByteString> lines;
    const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0)
            continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        lines.push_back(fromWide(text.c_str()));
    }
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    return lines;
}

SystemFacts systemFacts(HWND listBox)
{
    SystemFacts f;
    f.osVersion = &queryOsVersion;
    f.csdVersion = &csdVersion;
    f.physicalMemoryBytes = &physicalMemoryBytes;
    f.identifyCpu = [] {
        ProcessorIdentity identity;
        identifyCpu(processorCpuid(), identity);
        return identity;
    };
    f.cpuMhz = [](const ProcessorIdentity& cpu) { return reportedCpuMhz(systemSpeedClock(), cpu.vendor, cpu.type, cpu.features); };
    f.fixedDrives = &fixedDrives;
    f.directX = &detectDirectX;
    f.javaVersion = [] { return detectJava(); };
    f.dotNet = [] { return detectDotNet(nullptr); };
    f.displayModes = &displayModes;
    f.soundOutput = [] { return waveOutGetNumDevs() > 0; };
    f.midiOutput = [] { return midiOutGetNumDevs() > 0; };
    f.joystick = [] {
        JOYINFO info{};
        return joyGetPos(JOYSTICKID1, &info) == JOYERR_NOERROR;
    };
    f.computer = &computer;
    f.installedProducts = &installedProducts;
    f.pluginLines = [listBox] { return pluginLines(listBox); };
    // DirectDraw, DirectInput, DirectMusic and the joystick driver run code of their own in this
    // process: a fault in one of them must not end the installer.
    f.guard = [](const std::function<void()>& probe) { return callGuarded([&] { probe(); }); };
    return f;
}
