#pragma once
// Reading the current member of the package through the volume state: reads stop at the
// member's end offset in the current volume and continue in the next volume file when the
// member goes on there.
#include "installer/package/PackageSource.h"

#include <cstdint>
#include <memory>

// An open package or volume file and the position of the next read.
struct PackageHandle {
    std::unique_ptr<PackageSource> file;
    std::uint64_t position = 0;
};

// Opens the file that holds the current volume at position; false when it cannot be opened.
bool openCurrentVolume(PackageHandle& handle, std::uint64_t position);

// Reads at most n bytes of the current member into buffer; bytesRead tells how many (0 at the
// member's end or when the file holds fewer bytes than the member claims). Returns 1.
int readPackage(PackageHandle& handle, std::uint8_t* buffer, std::uint32_t n, std::uint32_t& bytesRead);

// The system's code for the failure of the last readPackage; 0 when no read failed.
std::uint32_t packageReadError();

// Opens the volume after the current one (asking for it when it is missing) into handle and
// makes it the current volume; returns 1. Ends the installer when the volume cannot be had:
// the user cancelled, or the run is silent.
int openNextVolume(PackageHandle& handle);

// Moves the reader past the current member, to where the next record begins: the member's last
// volume (opened when it is a later one) at its last end offset.
void skipMember();
