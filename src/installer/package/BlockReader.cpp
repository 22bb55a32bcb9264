#include "installer/package/BlockReader.h"

#include <cstring>

bool BlockReader::readUnsigned(std::uint32_t& value)
{
    value = 0;
    if (!ok_ || remaining() < 4) {
        ok_ = false;
        return false;
    }
    const std::uint8_t* p = block_.data() + position_;
    value = (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
            (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
    position_ += 4;
    return true;
}

bool BlockReader::readInt(std::int32_t& value)
{
    std::uint32_t stored = 0;
    const bool read = readUnsigned(stored);
    value = static_cast<std::int32_t>(stored);
    return read;
}

bool BlockReader::readBool(bool& value)
{
    std::uint32_t stored = 0;
    const bool read = readUnsigned(stored);
    value = stored != 0;
    return read;
}

bool BlockReader::readText(ByteString& out)
{
    out = ByteString();
    if (!ok_ || remaining() == 0) {
        ok_ = false;
        return false;
    }
    const std::uint8_t* start = block_.data() + position_;
    const void* nul = std::memchr(start, 0, remaining());
    if (!nul) {
        ok_ = false;
        return false;
    }
    const auto length = static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(nul) - start);
    out = ByteString(start, length);
    position_ += length + 1;
    return true;
}

bool BlockReader::readCount(std::uint32_t& count, std::uint32_t minEntrySize)
{
    if (!readUnsigned(count))
        return false;
    if (static_cast<std::uint64_t>(count) * minEntrySize > remaining()) {
        count = 0;
        ok_ = false;
        return false;
    }
    return true;
}
