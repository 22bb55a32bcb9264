#pragma once
// One packed file of the package: a 64-byte record (little-endian 32-bit fields), then its
// condition when field 60 is not 0 ([count], per comparison [length][left][operator][length]
// [right]), its name (scrambled with the byte permutation, no NUL), its volume end offsets, and
// then the member itself.
#include "installer/package/PackageSource.h"
#include "installer/state/ConditionRecord.h"
#include "installer/text/ByteString.h"

#include <cstdint>
#include <vector>

constexpr std::uint32_t kFileRecordSize = 64;

enum FileRecordFlag : std::uint32_t {
    kFileRawMember = 0x1,
    kFileBesidePackage = 0x2,
    kFileKeepAttributes = 0x4,
    kFileSetCreationTime = 0x8,
    kFileSetLastWriteTime = 0x10,
    kFileRegister = 0x20,
    kFileNeverLogged = 0x40,
    kFileAlwaysLogged = 0x80,
    kFileJpegNotConverted = 0x100,
};

struct FileRecord {
    std::uint32_t componentIndex = 0;
    // Bit 0 minimal, bit 1 typical installation.
    std::uint32_t installTypeMask = 0;
    std::uint32_t flags = 0;
    // Bit 0 compare versions, 1 shared library, 2 hidden, 3 archive, 4 read-only.
    std::uint32_t fileFlags = 0;
    std::uint64_t lastWriteTime = 0;
    std::uint64_t creationTime = 0;
    std::uint32_t versionMost = 0;
    std::uint32_t versionLeast = 0;
    std::uint16_t versionLanguage = 0;
    std::uint32_t nameLength = 0;
    std::uint32_t volumeCount = 0;
    std::uint32_t storedSize = 0;
    std::int32_t registrationPriority = 0;
    // Null when field 60 is 0.
    ConditionPtr condition;
    // Unscrambled, up to a first NUL.
    ByteString name;
    std::vector<std::uint32_t> endOffsets;

    // Bits 12-15 of the flags; 0 is the package's default.
    std::uint32_t overwriteMode() const { return (flags >> 12) & 0xF; }
};

enum FileRecordResult : int {
    kFileRecordRead = 1,
    kFileRecordNotOpened = -2,
    // The record, its condition, name or end offsets do not fit the file, or its member claims
    // more bytes than its end offsets leave room for.
    kFileRecordDamaged = -3,
};

// Reads the record at position in the file that holds volume currentVolume. dataOffset receives
// where the member begins; conditionLength the bytes of the condition part. Returns
// kFileRecordRead or kFileRecordDamaged.
int parseFileRecord(const PackageSource& file, std::uint64_t position, std::int32_t currentVolume,
                    FileRecord& record, std::uint32_t& conditionLength, std::uint64_t& dataOffset);

// Reads the record at the reader's position, from the file of the current volume. On success
// the member's volumes become the volume state's (first volume = current) and the reader's
// position is the member's start.
int readFileRecord(FileRecord& record, std::uint32_t& conditionLength);
