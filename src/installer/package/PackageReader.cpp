#include "installer/package/PackageReader.h"

#include "installer/package/KeptPackageFile.h"
#include "installer/package/NextVolumePrompt.h"
#include "installer/package/VolumeState.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/system/ErrorBox.h"
#include "installer/system/FileSystem.h"
#include "installer/system/SystemError.h"

#include <algorithm>

namespace {

const char* const kVolumeNotOpenedFormat = "File \"%s\" could not be opened. Error: %s";

std::uint32_t lastReadError = 0;

// The member's end in the current volume; none when the state names no such volume.
bool currentEndOffset(std::uint64_t& end)
{
    const VolumeState& state = gVolumeState;
    const std::int64_t index = static_cast<std::int64_t>(state.currentVolume) - state.firstVolume;
    if (index < 0 || index >= state.volumeCount || static_cast<std::size_t>(index) >= state.endOffsets.size())
        return false;
    end = state.endOffsets[static_cast<std::size_t>(index)];
    return true;
}

bool memberContinues()
{
    const VolumeState& state = gVolumeState;
    return static_cast<std::int64_t>(state.currentVolume) - state.firstVolume < state.volumeCount - 1;
}

// Reads what lies between the position and both the member's end and the file's end.
std::uint32_t readInVolume(PackageHandle& handle, std::uint8_t* buffer, std::uint32_t n)
{
    std::uint64_t end = 0;
    if (!handle.file || !currentEndOffset(end))
        return 0;
    end = std::min(end, handle.file->size());
    if (handle.position >= end)
        return 0;
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, end - handle.position));
    if (!handle.file->readAt(handle.position, buffer, count)) {
        lastReadError = lastSystemError();
        return 0;
    }
    handle.position += count;
    return count;
}

void reportVolumeNotOpened(const ByteString& name, std::uint32_t error)
{
    ByteString copy = name;
    ByteString message = systemErrorMessage(error);
    ByteString text;
    text.format(kVolumeNotOpenedFormat, copy.cStr(), message.cStr());
    showErrorBox(text.cStr());
}

} // namespace

bool openCurrentVolume(PackageHandle& handle, std::uint64_t position)
{
    handle.file = openVolumeFile(currentVolumeFile());
    handle.position = position;
    return handle.file != nullptr;
}

std::uint32_t packageReadError()
{
    return lastReadError;
}

int readPackage(PackageHandle& handle, std::uint8_t* buffer, std::uint32_t n, std::uint32_t& bytesRead)
{
    lastReadError = 0;
    bytesRead = readInVolume(handle, buffer, n);
    std::uint64_t end = 0;
    // Only a read that stopped at the member's end in this volume goes on in the next one: a
    // volume that is shorter than its end offset is damaged, not finished.
    if (bytesRead < n && memberContinues() && currentEndOffset(end) && handle.position == end) {
        handle.file.reset();
        openNextVolume(handle);
        bytesRead += readInVolume(handle, buffer + bytesRead, n - bytesRead);
    }
    gVolumeState.position = handle.position;
    return 1;
}

int openNextVolume(PackageHandle& handle)
{
    VolumeState& state = gVolumeState;
    handle.file.reset();
    // The volume asked for may be on another disk: the one read so far is let go.
    releaseKeptPackageFile();
    if (state.currentVolume >= kLastVolumeNumber)
        endInstaller();
    state.currentVolume += 1;
    ByteString name = volumeFileName(volumeNameBase(), state.currentVolume);
    for (;;) {
        if (!fileExists(name.cStr())) {
            if (gFlags.silent || promptForVolume(name, state.currentVolume) != 1)
                endInstaller();
            continue;
        }
        handle.file = openVolumeFile(name.cStr());
        if (handle.file) {
            handle.position = 0;
            state.fileName = name;
            state.position = 0;
            return 1;
        }
        reportVolumeNotOpened(name, lastSystemError());
        if (gFlags.silent || promptForVolume(name, state.currentVolume) != 1)
            endInstaller();
    }
}

void skipMember()
{
    VolumeState& state = gVolumeState;
    if (state.volumeCount <= 0 || state.endOffsets.empty())
        return;
    const std::int32_t lastVolume = state.firstVolume + state.volumeCount - 1;
    if (lastVolume > state.currentVolume) {
        state.currentVolume = lastVolume - 1;
        PackageHandle handle;
        openNextVolume(handle);
    }
    state.position = state.endOffsets.back();
}
