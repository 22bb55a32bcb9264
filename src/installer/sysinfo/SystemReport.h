#pragma once
// The system-information report: the selected probes run in order, each writing its line of
// label, found value, required value and status into the report text, counting the failures
// (requirements not met) and unknowns (what could not be told) into the results block.
#include "installer/state/InstallerState.h"
#include "installer/sysinfo/SystemFacts.h"
#include "installer/text/ByteString.h"
#include "installer/variables/SystemNumbers.h"

#include <array>
#include <cstdint>
#include <functional>

// The bits of SystemRequirements::probes.
enum ProbeBit : std::uint32_t {
    kProbeOs = 1u << 0,
    kProbeMemory = 1u << 1,
    kProbeCpuType = 1u << 2,
    kProbeCpuSpeed = 1u << 3,
    kProbeDiskSpace = 1u << 4,
    kProbeDirectX = 1u << 5,
    kProbeJava = 1u << 6,
    kProbeDotNet = 1u << 7,
    kProbeDisplayModes = 1u << 8,
    kProbeSound = 1u << 9,
    kProbeMidi = 1u << 10,
    kProbeJoystick = 1u << 11,
    kProbeComputer = 1u << 12,
    kProbeInstalledProducts = 1u << 13,
};

// The bits of SystemRequirements::devices.
enum DeviceBit : std::uint32_t {
    kDeviceJoystick = 1u << 0,
    kDeviceSound = 1u << 1,
    kDeviceMidi = 1u << 2,
};

// The language texts the report uses.
enum ReportTextEntry : std::size_t {
    kTextNotMet = 5,
    kTextMet = 7,
    kTextOs = 31,
    kTextCpuType = 32,
    kTextUnknown = 33,
    kTextCpuSpeed = 34,
    kTextDiskSpace = 35,
    kTextDirectX = 36,
    kTextDirectX9 = 37,
    kTextNoDirectX = 38,
    kTextDisplayModes = 39,
    kTextSound = 40,
    kTextMidi = 41,
    kTextJoystick = 42,
    kTextComputer = 43,
    kTextComputerName = 44,
    kTextUserName = 45,
    kTextResolution = 46,
    kTextColours = 47,
    kTextProcessors = 48,
    kTextDisplayDevice = 49,
    kTextVideoMemory = 50,
    kTextDriver = 51,
    kTextInstalledProducts = 52,
    kTextVersion = 53,
    kTextInstalled = 54,
    kTextNone = 55,
};

struct ReportInputs {
    const SystemRequirements& requirements;
    const std::array<ByteString, kLanguageTextCount>& texts;
    std::uint64_t bytesRequired = 0;
    ByteString minimumJavaVersion;
    ByteString reportedProductKey;
    ByteString reportedProductName;
};

// Adds CR LF when the report is not empty, then the line.
void addReportLine(ByteString& report, const ByteString& line);

// Runs the probes selected by the requirements into report (Algorithms of the report), each
// inside a guard: a probe that throws is abandoned, the others go on. progress receives the
// percentage after each probe. The cached system numbers are filled where they are still
// unmeasured. Returns true.
bool collectSystemInfo(ByteString& report, SystemInfoResults& results, SystemNumbers& cache, const ReportInputs& inputs,
                       const SystemFacts& facts, const std::function<void(std::int32_t percent)>& progress);
