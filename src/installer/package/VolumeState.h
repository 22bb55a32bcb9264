#pragma once
// Where the package reader stands. Packed files may continue in numbered volume files beside
// the installer: volume 1 is the installer file itself, volume n the file named like it with
// its last three characters replaced by n in three digits ("setup.exe" -> "setup.002").
#include "installer/text/ByteString.h"

#include <cstdint>
#include <vector>

constexpr std::int32_t kLastVolumeNumber = 999;

struct VolumeState {
    std::int32_t currentVolume = 1;
    // The volume in which the current member starts, and how many volumes it occupies.
    std::int32_t firstVolume = 1;
    std::int32_t volumeCount = 0;
    // The member's end position in each of those volumes, the first in firstVolume.
    std::vector<std::uint32_t> endOffsets;
    // File position after the last read; before a record is read, where it begins.
    std::uint64_t position = 0;
    // The file that holds the current volume: the package path until the first volume switch.
    ByteString fileName;
};

extern VolumeState gVolumeState;

// Volume 1 at the first packed-file record (header fields 192 and 188); returns the number of
// records.
std::uint32_t startPackedFiles();
// One volume (the current one) in which a member of the package header ends at offset + size;
// size 0 lets the member run to the end of the file.
void setSingleVolumeMember(std::uint32_t offset, std::uint32_t size);
// The name of volume number for a file name: its last three characters replaced by the number
// in three digits.
ByteString volumeFileName(const ByteString& fileName, std::int32_t number);
// The file that holds the current volume.
const char* currentVolumeFile();
// The name the next volume's name is made from: the current volume's file, except that a
// package read from a local copy of the installer finds its volumes beside the original.
ByteString volumeNameBase();
