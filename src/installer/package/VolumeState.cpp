#include "installer/package/VolumeState.h"

#include "installer/state/InstallerState.h"

VolumeState gVolumeState;

namespace {
constexpr std::uint32_t kHeaderFieldPackedFileCount = 188;
constexpr std::uint32_t kHeaderFieldFirstFileRecord = 192;
constexpr std::uint32_t kNoEnd = 0xFFFFFFFF;
} // namespace

std::uint32_t startPackedFiles()
{
    VolumeState& state = gVolumeState;
    state = VolumeState();
    state.fileName = gPackagePath;
    const std::uint32_t first = gPackageHeader.readBE32(kHeaderFieldFirstFileRecord);
    const std::uint32_t count = gPackageHeader.readBE32(kHeaderFieldPackedFileCount);
    if (first == 0xFFFFFFFF || count == 0xFFFFFFFF)
        return 0;
    state.position = first;
    return count;
}

void setSingleVolumeMember(std::uint32_t offset, std::uint32_t size)
{
    VolumeState& state = gVolumeState;
    state.firstVolume = state.currentVolume;
    state.volumeCount = 1;
    const std::uint64_t end = static_cast<std::uint64_t>(offset) + size;
    state.endOffsets.assign(1, size == 0 || end > kNoEnd ? kNoEnd : static_cast<std::uint32_t>(end));
    state.position = offset;
}

ByteString volumeFileName(const ByteString& fileName, std::int32_t number)
{
    ByteString name = fileName;
    if (name.length() >= 3)
        name.erase(name.length() - 3, 3);
    else
        name = ByteString();
    ByteString digits;
    digits.format("%d", number % 1000);
    while (digits.length() < 3)
        digits.insertChar('0', 0);
    name.append(digits);
    return name;
}

const char* currentVolumeFile()
{
    return gVolumeState.fileName.empty() ? gPackagePath.cStr() : gVolumeState.fileName.cStr();
}

ByteString volumeNameBase()
{
    const bool firstFile = gVolumeState.fileName.empty() || gVolumeState.fileName.equals(gPackagePath);
    if (firstFile && gFlags.localCopy && !gModulePath.empty())
        return gModulePath;
    return ByteString(currentVolumeFile());
}
