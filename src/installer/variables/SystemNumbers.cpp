#include "installer/variables/SystemNumbers.h"

#include "installer/state/InstallerState.h"
#include "installer/text/DecimalNumbers.h"
#include "installer/variables/SystemProbes.h"
#include "installer/variables/VariableEvaluation.h"
#include "installer/variables/VariableList.h"

SystemNumbers gSystemNumbers;

namespace {

constexpr std::uint64_t kBytesPerMb = 1048576;

// A probe that is not installed measures nothing.
template <typename Result>
Result measure(Result (*probe)())
{
    return probe ? probe() : Result{};
}

std::int32_t cachedCpuMhz()
{
    if (gSystemNumbers.cpuMhz == -1)
        gSystemNumbers.cpuMhz = measure(systemProbes().cpuMhz);
    return gSystemNumbers.cpuMhz;
}

// One identification fills both cells.
void identifyCpuOnce()
{
    if (gSystemNumbers.cpuType != -1 && gSystemNumbers.cpuFlags != -1)
        return;
    const CpuIdentity identity = measure(systemProbes().identifyCpu);
    if (gSystemNumbers.cpuType == -1)
        gSystemNumbers.cpuType = identity.type;
    if (gSystemNumbers.cpuFlags == -1)
        gSystemNumbers.cpuFlags = identity.flags;
}

void measureScreenOnce(std::int32_t& cell)
{
    if (cell != -1)
        return;
    const ScreenFigures figures = measure(systemProbes().screen);
    if (gSystemNumbers.screenWidth == -1)
        gSystemNumbers.screenWidth = figures.width;
    if (gSystemNumbers.screenHeight == -1)
        gSystemNumbers.screenHeight = figures.height;
    if (gSystemNumbers.bitsPerPixel == -1)
        gSystemNumbers.bitsPerPixel = figures.bitsPerPixel;
}

// Physical memory in MB, raised to an even number (255 MB reported for 256 MB installed).
std::int32_t cachedMemoryMb()
{
    if (gSystemNumbers.memoryMb == -1) {
        std::uint64_t mb = measure(systemProbes().physicalMemoryBytes) / kBytesPerMb;
        if (mb & 1)
            ++mb;
        gSystemNumbers.memoryMb = static_cast<std::int32_t>(mb > 0x7FFFFFFF ? 0x7FFFFFFF : mb);
    }
    return gSystemNumbers.memoryMb;
}

// The major number in the high 16 bits, the minor in the low: the probe keeps them the other way
// round.
std::int32_t directXVersion()
{
    if (gSystemNumbers.directX == -1)
        gSystemNumbers.directX = measure(systemProbes().directXVersion);
    const auto probed = static_cast<std::uint32_t>(gSystemNumbers.directX);
    return static_cast<std::int32_t>((probed << 16) | (probed >> 16));
}

bool systemNumber(const ByteString& name, std::int32_t& value)
{
    if (name.equalsCStr("<CPUSpeed>")) {
        value = cachedCpuMhz();
    } else if (name.equalsCStr("<CPUType>")) {
        identifyCpuOnce();
        value = gSystemNumbers.cpuType;
    } else if (name.equalsCStr("<CPUFlags>")) {
        identifyCpuOnce();
        value = gSystemNumbers.cpuFlags;
    } else if (name.equalsCStr("<LanguageID>")) {
        value = gPackageToc.languageNumber;
    } else if (name.equalsCStr("<OSBuild>")) {
        value = static_cast<std::int32_t>(gInstallerContext.osVersion.build & 0xFFFF);
    } else if (name.equalsCStr("<CurXRes>")) {
        measureScreenOnce(gSystemNumbers.screenWidth);
        value = gSystemNumbers.screenWidth;
    } else if (name.equalsCStr("<CurYRes>")) {
        measureScreenOnce(gSystemNumbers.screenHeight);
        value = gSystemNumbers.screenHeight;
    } else if (name.equalsCStr("<CurBPP>")) {
        measureScreenOnce(gSystemNumbers.bitsPerPixel);
        value = gSystemNumbers.bitsPerPixel;
    } else if (name.equalsCStr("<RAM>")) {
        value = cachedMemoryMb();
    } else if (name.equalsCStr("<DirectXVer>")) {
        value = directXVersion();
    } else if (name.equalsCStr("<.NETVersion>")) {
        value = measure(systemProbes().dotNetVersion);
    } else {
        return false;
    }
    return true;
}

} // namespace

void resetSystemNumbers()
{
    gSystemNumbers = SystemNumbers{};
}

std::int32_t evaluateNumber(const ByteString& text)
{
    if (text.empty())
        return 0;
    if (text.at(0) != '<')
        return decimalValue(text);
    ByteString name(text);
    const std::int32_t index = findVariableIndex(name.cStr());
    if (index >= 0) {
        evaluateVariable(index);
        return gPackageToc.variables[static_cast<std::size_t>(index)]->valueInt;
    }
    std::int32_t value = 0;
    return systemNumber(text, value) ? value : 0;
}
