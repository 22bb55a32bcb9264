#include "midi/kvMidiChunkReader.h"

#include "base/Format.h"
#include "midi/kvMidiFileError.h"

#include <utility>

namespace kv {

TMidiChunkReader::TMidiChunkReader(const std::uint8_t* Data, std::size_t Size, std::string Where,
                                   std::size_t FileOffset)
    : FData(Data), FSize(Data != nullptr ? Size : 0), FWhere(std::move(Where)), FFileOffset(FileOffset)
{
}

void TMidiChunkReader::Fail(const std::string& What) const
{
    throw EMidiFileError(Format("%s: %s (at byte %u of the file).", {FWhere, What, FileOffset()}));
}

void TMidiChunkReader::Require(std::uint32_t Count, const std::string& What) const
{
    if (Count > Remaining())
        Fail(Format("%s of %u bytes runs past the end (%u bytes left)", {What, Count, Remaining()}));
}

std::uint8_t TMidiChunkReader::PeekByte() const
{
    if (AtEnd()) Fail("an event is cut off at the end");
    return FData[FPosition];
}

std::uint8_t TMidiChunkReader::ReadByte()
{
    const std::uint8_t value = PeekByte();
    ++FPosition;
    return value;
}

std::uint8_t TMidiChunkReader::ReadDataByte()
{
    const std::uint8_t value = PeekByte();
    if (value >= 0x80) Fail(Format("byte $%.2x stands where a data byte belongs", {value}));
    ++FPosition;
    return value;
}

std::uint32_t TMidiChunkReader::ReadBigEndian(int Bytes)
{
    Require(static_cast<std::uint32_t>(Bytes), "a number");
    std::uint32_t value = 0;
    for (int i = 0; i < Bytes; ++i) value = (value << 8) | FData[FPosition++];
    return value;
}

std::uint32_t TMidiChunkReader::ReadVarLen()
{
    std::uint32_t value = 0;
    for (;;) {
        if (AtEnd()) Fail("a variable-length number does not end");
        const std::uint8_t byte = FData[FPosition++];
        value = (value << 7) + (byte & 0x7Fu);
        if (byte < 0x80) return value;
    }
}

std::string TMidiChunkReader::ReadBytes(std::uint32_t Count, const std::string& What)
{
    Require(Count, What);
    std::string bytes(reinterpret_cast<const char*>(FData + FPosition), Count);
    FPosition += Count;
    return bytes;
}

TMidiChunkReader TMidiChunkReader::ReadChunk(std::uint32_t Count, std::string Where, const std::string& What)
{
    Require(Count, What);
    TMidiChunkReader chunk(FData + FPosition, Count, std::move(Where), FileOffset());
    FPosition += Count;
    return chunk;
}

void TMidiChunkReader::Skip(std::uint32_t Count, const std::string& What)
{
    Require(Count, What);
    FPosition += Count;
}

} // namespace kv
