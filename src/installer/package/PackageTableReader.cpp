#include "installer/package/PackageTableReader.h"

#include <array>

bool PackageTableReader::readRaw(void* buffer, std::uint32_t count)
{
    if (!ok_)
        return false;
    if (count > remaining() || !file_.readAt(position_, buffer, count)) {
        ok_ = false;
        return false;
    }
    position_ += count;
    return true;
}

bool PackageTableReader::readBE32(std::uint32_t& value)
{
    std::array<std::uint8_t, 4> b{};
    if (!readRaw(b.data(), 4))
        return false;
    value = (static_cast<std::uint32_t>(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
    return true;
}

bool PackageTableReader::readLE32(std::uint32_t& value)
{
    std::array<std::uint8_t, 4> b{};
    if (!readRaw(b.data(), 4))
        return false;
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

bool PackageTableReader::readBytes(std::uint32_t length, ByteString& out)
{
    out = ByteString();
    if (!ok_ || length > remaining()) {
        ok_ = false;
        return false;
    }
    if (length == 0)
        return true;
    if (!readRaw(out.grow(length), length)) {
        out = ByteString();
        return false;
    }
    return true;
}

bool PackageTableReader::readCounted(ByteString& out)
{
    std::uint32_t length = 0;
    return readBE32(length) && readBytes(length, out);
}

bool PackageTableReader::canHold(std::uint32_t count, std::uint32_t minEntrySize) const
{
    return ok_ && static_cast<std::uint64_t>(count) * minEntrySize <= remaining();
}

bool PackageTableReader::skip(std::uint64_t count)
{
    if (!ok_ || count > remaining()) {
        ok_ = false;
        return false;
    }
    position_ += count;
    return true;
}
