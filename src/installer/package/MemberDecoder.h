#pragma once
// Decodes one member of the package: a gzip member, or a one-entry PKZIP archive whose entry is
// stored or deflated. Input and output go through the caller, which also hears of every error
// while decoding (and may end the installer there). Decoding stops at the end of the member:
// nothing after the gzip trailer or the zip entry is read.
#include <cstdint>

// Results besides 0 (data, CRC-32 and length checked): the zlib codes.
enum MemberDecodeResult : int {
    kMemberDecoded = 0,
    kMemberWriteFailed = -1,      // Z_ERRNO
    kMemberInvalid = -3,          // Z_DATA_ERROR: header, data, CRC-32 or length
    kMemberNoMemory = -4,         // Z_MEM_ERROR
    kMemberInputMissing = -5,     // Z_BUF_ERROR: the input ended where data was required
};

constexpr std::uint32_t kMemberBlockSize = 0x8000;

class MemberDecodeIo {
public:
    virtual ~MemberDecodeIo() = default;
    // Up to n bytes of the member into buffer; 0 when none can be had.
    virtual std::uint32_t read(std::uint8_t* buffer, std::uint32_t n) = 0;
    // The decoder needed input and read returned none.
    virtual void inputMissing() = 0;
    // Writes a block of decoded data; false when it was not written.
    virtual bool write(const std::uint8_t* data, std::uint32_t n) = 0;
    // The data cannot be decoded; message is "Invalid compression level", "Invalid table" or
    // "Invalid input".
    virtual void decoderError(const char* message) = 0;
};

int decodeMember(MemberDecodeIo& io);
