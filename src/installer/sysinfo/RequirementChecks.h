#pragma once
// How each fact of the computer measures up against the package's system requirements, and the
// texts the report shows for the found and required values.
#include "installer/state/InstallerState.h"
#include "installer/sysinfo/CpuIdentification.h"
#include "installer/text/ByteString.h"

#include <cstdint>

enum class CheckStatus { met, notMet, unknown };

constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatform9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

// The service pack in a "CSDVersion" number: the number itself below 256, else its bits 8-15.
std::uint32_t servicePackFromCsd(std::uint32_t csdVersion);
// "Windows XP SP2", "Windows 98  (4.10.2222)", ...
ByteString osFoundText(const OsVersion& os, std::uint32_t servicePack);
// "Win 98/XP SP1", ...; "-" without a requirement.
ByteString osRequiredText(const SystemRequirements& r);
bool osRequirementMet(const SystemRequirements& r, const OsVersion& os, std::uint32_t servicePack);

// "Pentium II/Athlon Intel CPU (MMX)", ...; "-" without a requirement.
ByteString cpuRequiredText(const SystemRequirements& r);
CheckStatus cpuStatus(const SystemRequirements& r, const ProcessorIdentity& cpu);

// DirectX versions as the probe gives them (major in the low 16 bits) and as the requirement
// holds them (major in the high 16 bits).
std::uint32_t directXMajor(std::uint32_t probed);
std::uint32_t directXMinor(std::uint32_t probed);
bool directXMet(std::uint32_t probed, std::uint32_t required);

// Version texts compared part by part: runs of digits by their value, other bytes as bytes (so
// "10.0" is above "9.0" and "1.4.2_05" below "1.5"). Negative, 0 or positive like strcmp.
int compareVersionTexts(const ByteString& a, const ByteString& b);

// The .NET codes of the probe (-1 none, 0 = 1.0, 1 = 1.1, 2 = 2.0 or later) and of the
// requirement (0 none, 1 = 1.0, 2 = 1.1, 3 or more = 2.0).
const char* dotNetFoundText(std::int32_t found);
const char* dotNetRequiredText(std::uint32_t required);
bool dotNetMet(std::int32_t found, std::uint32_t required);
