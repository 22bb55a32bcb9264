#pragma once
// What the report asks of the computer, one function per probe. The system's own answers are in
// win/; tests give recorded ones.
#include "installer/state/InstallerState.h"
#include "installer/sysinfo/CpuIdentification.h"
#include "installer/sysinfo/DisplayModes.h"
#include "installer/text/ByteString.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct DriveSpace {
    ByteString root;
    std::uint64_t availableBytes = 0;
};

struct DisplayDevice {
    ByteString description;
    std::uint64_t videoMemoryBytes = 0;
    // Present when the device answers the newer DirectDraw interface.
    std::optional<ByteString> driverName;
};

struct ComputerFacts {
    ByteString computerName;
    ByteString userName;
    DisplayMode currentMode;
    std::int32_t processors = 0;
    // The user's decimal separator, for the video memory.
    ByteString decimalSeparator{","};
    std::vector<DisplayDevice> displayDevices;
};

struct InstalledProduct {
    ByteString name;
    std::optional<ByteString> version;
    std::optional<ByteString> installed;
};

struct PluginLines {
    std::int32_t failures = 0;
    std::int32_t unknowns = 0;
    std::vector<ByteString> lines;
};

struct SystemFacts {
    // The running system's version; none when the query fails.
    std::function<std::optional<OsVersion>()> osVersion;
    // The "CSDVersion" number of the NT platform, 0 without one.
    std::function<std::uint32_t()> csdVersion;
    std::function<std::uint64_t()> physicalMemoryBytes;
    std::function<ProcessorIdentity()> identifyCpu;
    // The speed the report shows for an identified processor (0 when unmeasured).
    std::function<std::uint32_t(const ProcessorIdentity&)> cpuMhz;
    // The fixed drives with the bytes available to the user.
    std::function<std::vector<DriveSpace>()> fixedDrives;
    // Major in the low 16 bits, minor in the high 16 bits; 0 when none.
    std::function<std::uint32_t()> directX;
    std::function<ByteString()> javaVersion;
    // -1 none, 0 = 1.0, 1 = 1.1, 2 = 2.0 or later.
    std::function<std::int32_t()> dotNet;
    std::function<std::vector<DisplayMode>()> displayModes;
    std::function<bool()> soundOutput;
    std::function<bool()> midiOutput;
    std::function<bool()> joystick;
    std::function<ComputerFacts()> computer;
    // The subkeys of the product's key below HKEY_LOCAL_MACHINE\Software; none when the key is
    // missing.
    std::function<std::optional<std::vector<InstalledProduct>>(const ByteString& key)> installedProducts;
    // The plug-in library's lines and counts; none when there is no list box to take them.
    std::function<std::optional<PluginLines>()> pluginLines;
    // Runs one probe so that a processor fault inside the system's libraries ends only that
    // probe; false when it was ended. Unset: the probe is simply called.
    std::function<bool(const std::function<void()>& probe)> guard;
};
