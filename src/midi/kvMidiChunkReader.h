#pragma once
// Reads the bytes of one part of a MIDI file (the whole file, or one chunk of it) without ever
// stepping past its end: every read that would raises EMidiFileError naming the part and the
// offset in the file. Lengths taken from the file are checked against the bytes left before
// anything is copied, so a false length never costs more memory than the file itself.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kv {

class TMidiChunkReader {
public:
    // Where names the part in messages ("track 2"); FileOffset is the offset of Data in the file.
    TMidiChunkReader(const std::uint8_t* Data, std::size_t Size, std::string Where, std::size_t FileOffset = 0);

    bool AtEnd() const { return FPosition == FSize; }
    std::size_t Remaining() const { return FSize - FPosition; }
    // Offset of the next byte in the file.
    std::size_t FileOffset() const { return FFileOffset + FPosition; }

    std::uint8_t PeekByte() const;
    std::uint8_t ReadByte();
    // A byte below $80: the data of a channel message.
    std::uint8_t ReadDataByte();
    // Big-endian unsigned integer of 1 to 4 bytes.
    std::uint32_t ReadBigEndian(int Bytes);
    // 7-bit groups until a byte below $80, wrapping around in 32 bits; it must end in the part.
    std::uint32_t ReadVarLen();
    // Count bytes, checked against the bytes left; What names them in the message.
    std::string ReadBytes(std::uint32_t Count, const std::string& What);
    // A reader over the next Count bytes, which this one skips.
    TMidiChunkReader ReadChunk(std::uint32_t Count, std::string Where, const std::string& What);
    void Skip(std::uint32_t Count, const std::string& What);

    [[noreturn]] void Fail(const std::string& What) const;

private:
    void Require(std::uint32_t Count, const std::string& What) const;

    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPosition = 0;
    std::string FWhere;
    std::size_t FFileOffset;
};

} // namespace kv
