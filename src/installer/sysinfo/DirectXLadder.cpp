#include "installer/sysinfo/DirectXLadder.h"

#include "installer/system/VersionNumbers.h"

namespace {

constexpr FileVersion version(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    return FileVersion{(a << 16) | b, (c << 16) | d};
}

bool atLeast(const FileVersion& found, const FileVersion& wanted)
{
    return compareVersion(found.high, found.low, wanted.high, wanted.low) <= 0;
}

std::uint32_t majorPart(const FileVersion& v)
{
    return v.high >> 16;
}

// From 8.0 on, the versions of the runtime's files tell the rest.
std::uint32_t fromRuntimeFiles(DirectXProbe& probe)
{
    std::uint32_t result = directXValue(8, 0);
    if (const auto d3d8 = probe.systemFileVersion("d3d8.dll")) {
        if ((majorPart(*d3d8) == 4 && atLeast(*d3d8, version(4, 8, 1, 881)))
            || (majorPart(*d3d8) == 5 && atLeast(*d3d8, version(5, 1, 2600, 881))))
            result = directXValue(8, 1);
    }
    if (const auto dpnet = probe.systemFileVersion("dpnet.dll")) {
        if (majorPart(*dpnet) == 4 && atLeast(*dpnet, version(4, 9, 0, 134)))
            return probe.systemFileVersion("d3d9.dll") ? directXValue(9, 0) : directXValue(8, 2);
        if (majorPart(*dpnet) == 5 && atLeast(*dpnet, version(5, 2, 3677, 134)))
            result = directXValue(8, 2);
    }
    if (probe.systemFileVersion("d3d9.dll"))
        result = directXValue(9, 0);
    return result;
}

} // namespace

std::uint32_t directXVersion(DirectXProbe& probe)
{
    if (!probe.directDraw())
        return 0;
    if (!probe.directDraw2())
        return directXValue(1, 0);
    if (!probe.directInput())
        return directXValue(2, 0);
    if (!probe.directInput2())
        return directXValue(3, 0);
    if (probe.directInput8())
        return fromRuntimeFiles(probe);
    if (!probe.directDraw4())
        return directXValue(5, 0);
    if (!probe.directMusicLibrary())
        return directXValue(6, 0);
    if (!probe.directDraw7())
        return probe.directMusicObject() ? directXValue(6, 1) : directXValue(6, 0);
    return directXValue(7, 0);
}
