#pragma once
// Sequential reading of a block held in memory (the unscrambled table of contents, a stored
// condition): big-endian 32-bit integers, NUL-terminated texts and counted lists. Nothing is ever
// read outside the block: an integer or text that runs past its end fails the read, and a count
// is refused when its entries, at their smallest, could not fit in what is left. After the first
// failure every read fails and leaves its output empty or 0.
#include "installer/text/ByteString.h"

#include <cstdint>

class BlockReader {
public:
    explicit BlockReader(const ByteString& block) : block_(block) {}

    bool readUnsigned(std::uint32_t& value);
    bool readInt(std::int32_t& value);
    // An integer, non-zero = true.
    bool readBool(bool& value);
    // The bytes up to the next NUL, which is consumed.
    bool readText(ByteString& out);
    // A list's count; refused (count 0) when count entries of at least minEntrySize bytes each
    // cannot fit in the rest of the block.
    bool readCount(std::uint32_t& count, std::uint32_t minEntrySize);
    // Ends reading as failed (the data is inconsistent).
    void fail() { ok_ = false; }

    bool ok() const { return ok_; }
    std::uint32_t position() const { return position_; }
    std::uint32_t remaining() const { return block_.length() - position_; }

private:
    const ByteString& block_;
    std::uint32_t position_ = 0;
    bool ok_ = true;
};
