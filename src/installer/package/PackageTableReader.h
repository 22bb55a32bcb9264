#pragma once
// Sequential reading of a table in the installer file from a start offset. Every count and
// length read from the file is checked against what is left of the file before it is used, so
// a damaged or hostile table can neither read past the end nor ask for more memory than the
// file holds. After the first failure every read fails.
#include "installer/package/PackageSource.h"
#include "installer/text/ByteString.h"

#include <cstdint>

class PackageTableReader {
public:
    PackageTableReader(const PackageSource& file, std::uint64_t offset)
        : file_(file), position_(offset), end_(file.size())
    {
    }
    // Reads only below end (itself kept within the file).
    PackageTableReader(const PackageSource& file, std::uint64_t offset, std::uint64_t end)
        : file_(file), position_(offset), end_(end < file.size() ? end : file.size())
    {
    }

    bool readBE32(std::uint32_t& value);
    bool readLE32(std::uint32_t& value);
    // length bytes into out.
    bool readBytes(std::uint32_t length, ByteString& out);
    // A big-endian length followed by that many bytes.
    bool readCounted(ByteString& out);
    // True while the next count entries of at least minEntrySize bytes each can still fit.
    bool canHold(std::uint32_t count, std::uint32_t minEntrySize) const;
    bool ok() const { return ok_; }
    std::uint64_t position() const { return position_; }
    // Moves forward by count bytes without reading them.
    bool skip(std::uint64_t count);

private:
    bool readRaw(void* buffer, std::uint32_t count);
    std::uint64_t remaining() const { return position_ <= end_ ? end_ - position_ : 0; }

    const PackageSource& file_;
    std::uint64_t position_;
    std::uint64_t end_;
    bool ok_ = true;
};
