#pragma once
// Unpacking members of the package into files.
//
// Members of the package header lie in the installer file: set the volume state to that one
// member first (setSingleVolumeMember). Packed files are read through the volumes that their
// record named (readFileRecord).
#include "installer/package/MemberDecoder.h"

#include <cstdint>

enum ExtractMemberResult : int {
    kExtractDone = kMemberDecoded,
    kExtractPackageNotOpened = -32767,
    kExtractOutputNotCreated = -32766,
    // Any other value: the decoder's result (MemberDecodeResult).
};

// Decodes the member that starts at offset in packagePath into outputPath; size 0 sets no limit
// on the input. Errors while decoding are put to the user as a Yes/No question; No ends the
// installer. The output file is never deleted here, also when decoding failed.
int extractMember(const char* packagePath, const char* outputPath, std::uint32_t offset, std::uint32_t size);

// Copies size raw bytes from offset in packagePath to a new file outputPath. Through the
// volumes (packed files) the bytes are read with readPackage and each block counts towards the
// progress; otherwise (header members) by plain reads inside the file. True when every byte was
// read and written.
bool copyRawMember(const char* packagePath, const char* outputPath, std::uint32_t offset, std::uint32_t size,
                   bool throughVolumes);

// Closes the file that an extraction or raw copy is writing, so that the installer's shutdown
// can roll back and delete it; nothing when none is being written.
void closeExtractionOutput();
