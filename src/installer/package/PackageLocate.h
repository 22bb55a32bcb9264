#pragma once
// Finding the install package in the installer file: the 16-byte trailer at the end of the file
// (or in front of the certificate table of a file signed afterwards) gives the file offset H of
// the package header and the length S of a reserved block; the header runs from H up to the
// trailer and holds H again in its field at byte 232.
//
// Trailer, from the end (little-endian 32-bit): -4 0x12345678, -8 0x0B1C2D3E, -12 S
// (0xFFFFFFFF = no block), then S reserved bytes, then H.
#include "installer/package/PackageSource.h"
#include "installer/text/ByteString.h"

#include <cstdint>

constexpr std::uint32_t kTrailerMagicLast = 0x12345678;
constexpr std::uint32_t kTrailerMagicFirst = 0x0B1C2D3E;
constexpr std::uint32_t kNoReservedBlock = 0xFFFFFFFF;
constexpr std::uint32_t kMaxReservedBlock = 1000;
constexpr std::uint32_t kMaxHeaderLength = 1000;

enum LocateCode : int {
    kLocateOk = 1,
    kLocateNotOpened = -1,
    kLocateOffsetNotRead = -2,
    kLocateHeaderNotRead = -3,
    kLocateSizeMismatch = -4,
    kLocateChecksumMismatch = -5,
};

extern const char* const kChecksumMismatchText;
extern const char* const kFileSizeMismatchText;

struct LocateResult {
    int code = kLocateNotOpened;
    // The text to show for this failure; null when there is none.
    const char* message = nullptr;
};

// Loads the header into header; on failure header is left empty.
LocateResult locatePackageIn(const PackageSource& file, ByteString& header);

// Opens the package path, loads PackageHeader and shows the failure's text in an error box.
// Returns the code.
int locatePackage();
