#include "installer/package/MemberDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char* const kInvalidLevel = "Invalid compression level";
const char* const kInvalidTable = "Invalid table";
const char* const kInvalidInput = "Invalid input";

constexpr std::uint8_t kGzipMagic1 = 0x1F, kGzipMagic2 = 0x8B;
constexpr std::uint8_t kGzipDeflate = 8;
constexpr std::uint8_t kGzipHeaderCrc = 0x02, kGzipExtra = 0x04, kGzipName = 0x08, kGzipComment = 0x10;
constexpr std::uint8_t kGzipReservedFlags = 0xE0;
constexpr std::uint32_t kZipLocalHeader = 0x04034B50;
constexpr std::uint32_t kZipDataDescriptor = 0x08074B50;
constexpr std::uint16_t kZipEncrypted = 0x0001, kZipHasDescriptor = 0x0008;
constexpr std::uint16_t kZipStored = 0, kZipDeflated = 8;

// The member's bytes in blocks, read only when the decoder needs them.
class MemberInput {
public:
    explicit MemberInput(MemberDecodeIo& io) : io_(io), buffer_(kMemberBlockSize) {}

    // True when at least one byte is buffered; reports missing input once.
    bool fill()
    {
        if (position_ < length_)
            return true;
        position_ = 0;
        length_ = missing_ ? 0 : io_.read(buffer_.data(), kMemberBlockSize);
        length_ = std::min(length_, kMemberBlockSize);
        if (length_ == 0 && !missing_) {
            missing_ = true;
            io_.inputMissing();
        }
        return length_ != 0;
    }
    bool byte(std::uint8_t& value)
    {
        if (!fill())
            return false;
        value = buffer_[position_++];
        return true;
    }
    bool le16(std::uint16_t& value)
    {
        std::uint8_t a = 0, b = 0;
        if (!byte(a) || !byte(b))
            return false;
        value = static_cast<std::uint16_t>(a | (b << 8));
        return true;
    }
    bool le32(std::uint32_t& value)
    {
        std::uint16_t low = 0, high = 0;
        if (!le16(low) || !le16(high))
            return false;
        value = low | (static_cast<std::uint32_t>(high) << 16);
        return true;
    }
    bool skip(std::uint32_t count)
    {
        while (count > 0) {
            if (!fill())
                return false;
            const std::uint32_t step = std::min(count, length_ - position_);
            position_ += step;
            count -= step;
        }
        return true;
    }
    bool skipText()
    {
        std::uint8_t c = 1;
        while (c != 0)
            if (!byte(c))
                return false;
        return true;
    }
    const std::uint8_t* data() const { return buffer_.data() + position_; }
    std::uint32_t available() const { return length_ - position_; }
    void consume(std::uint32_t count) { position_ += count; }

private:
    MemberDecodeIo& io_;
    std::vector<std::uint8_t> buffer_;
    std::uint32_t position_ = 0;
    std::uint32_t length_ = 0;
    bool missing_ = false;
};

// Decoded data on its way out: CRC-32, count, and whether every block was written.
class MemberOutput {
public:
    explicit MemberOutput(MemberDecodeIo& io) : io_(io) {}
    void put(const std::uint8_t* data, std::uint32_t count)
    {
        if (count == 0)
            return;
        crc_ = crc32(crc_, data, count);
        total_ += count;
        if (!io_.write(data, count))
            writeFailed_ = true;
    }
    bool matches(std::uint32_t crc, std::uint64_t total) const { return crc_ == crc && total_ == total; }
    std::uint32_t crc() const { return static_cast<std::uint32_t>(crc_); }
    std::uint64_t total() const { return total_; }
    bool writeFailed() const { return writeFailed_; }

private:
    MemberDecodeIo& io_;
    uLong crc_ = crc32(0, nullptr, 0);
    std::uint64_t total_ = 0;
    bool writeFailed_ = false;
};

const char* decoderMessage(const char* zlibMessage)
{
    if (!zlibMessage)
        return kInvalidInput;
    for (const char* word : {"code", "set", "symbols", "repeat"})
        if (std::strstr(zlibMessage, word))
            return kInvalidTable;
    return kInvalidInput;
}

struct Inflater {
    z_stream stream{};
    bool ready = false;
    Inflater() { ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK; }
    ~Inflater()
    {
        if (ready)
            inflateEnd(&stream);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
};

// Raw deflate data up to its end block.
int inflateData(MemberDecodeIo& io, MemberInput& input, MemberOutput& output)
{
    Inflater inflater;
    if (!inflater.ready)
        return kMemberNoMemory;
    z_stream& z = inflater.stream;
    std::vector<std::uint8_t> block(kMemberBlockSize);
    for (;;) {
        if (!input.fill())
            return kMemberInputMissing;
        z.next_in = const_cast<Bytef*>(input.data());
        z.avail_in = input.available();
        z.next_out = block.data();
        z.avail_out = kMemberBlockSize;
        const int result = inflate(&z, Z_NO_FLUSH);
        input.consume(input.available() - z.avail_in);
        output.put(block.data(), kMemberBlockSize - z.avail_out);
        if (result == Z_STREAM_END)
            return kMemberDecoded;
        if (result == Z_DATA_ERROR || result == Z_NEED_DICT) {
            io.decoderError(decoderMessage(z.msg));
            return kMemberInvalid;
        }
        if (result == Z_MEM_ERROR)
            return kMemberNoMemory;
        // Z_OK or Z_BUF_ERROR: more input or more room; the loop gives both.
    }
}

int copyStored(MemberInput& input, MemberOutput& output, std::uint32_t size)
{
    while (size > 0) {
        if (!input.fill())
            return kMemberInputMissing;
        const std::uint32_t step = std::min(size, input.available());
        output.put(input.data(), step);
        input.consume(step);
        size -= step;
    }
    return kMemberDecoded;
}

int finish(int result, const MemberOutput& output)
{
    if (result == kMemberDecoded && output.writeFailed())
        return kMemberWriteFailed;
    return result;
}

int decodeGzip(MemberDecodeIo& io, MemberInput& input)
{
    std::uint8_t method = 0, flags = 0;
    if (!input.byte(method) || !input.byte(flags) || !input.skip(6))
        return kMemberInputMissing;
    if (method != kGzipDeflate) {
        io.decoderError(kInvalidLevel);
        return kMemberInvalid;
    }
    if (flags & kGzipReservedFlags)
        return kMemberInvalid;
    std::uint16_t extra = 0;
    if ((flags & kGzipExtra) && (!input.le16(extra) || !input.skip(extra)))
        return kMemberInputMissing;
    if ((flags & kGzipName) && !input.skipText())
        return kMemberInputMissing;
    if ((flags & kGzipComment) && !input.skipText())
        return kMemberInputMissing;
    if ((flags & kGzipHeaderCrc) && !input.skip(2))
        return kMemberInputMissing;

    MemberOutput output(io);
    const int result = inflateData(io, input, output);
    if (result != kMemberDecoded)
        return finish(result, output);
    std::uint32_t crc = 0, size = 0;
    if (!input.le32(crc) || !input.le32(size))
        return kMemberInputMissing;
    if (output.crc() != crc || static_cast<std::uint32_t>(output.total()) != size)
        return kMemberInvalid;
    return finish(kMemberDecoded, output);
}

int decodeZipEntry(MemberDecodeIo& io, MemberInput& input)
{
    std::uint16_t version = 0, flags = 0, method = 0, time = 0, date = 0, nameLength = 0, extraLength = 0;
    std::uint32_t crc = 0, packedSize = 0, size = 0;
    if (!input.le16(version) || !input.le16(flags) || !input.le16(method) || !input.le16(time) ||
        !input.le16(date) || !input.le32(crc) || !input.le32(packedSize) || !input.le32(size) ||
        !input.le16(nameLength) || !input.le16(extraLength) || !input.skip(nameLength) || !input.skip(extraLength))
        return kMemberInputMissing;
    // A stored entry whose sizes follow its data cannot tell where the data ends.
    if ((flags & kZipEncrypted) || (method == kZipStored && (flags & kZipHasDescriptor)))
        return kMemberInvalid;
    if (method != kZipStored && method != kZipDeflated) {
        io.decoderError(kInvalidLevel);
        return kMemberInvalid;
    }
    MemberOutput output(io);
    const int result = method == kZipStored ? copyStored(input, output, packedSize) : inflateData(io, input, output);
    if (result != kMemberDecoded)
        return finish(result, output);
    if (method == kZipDeflated && (flags & kZipHasDescriptor)) {
        // CRC-32 and sizes follow the data, with or without their signature.
        std::uint32_t first = 0;
        if (!input.le32(first))
            return kMemberInputMissing;
        if (first == kZipDataDescriptor && !input.le32(first))
            return kMemberInputMissing;
        crc = first;
        if (!input.le32(packedSize) || !input.le32(size))
            return kMemberInputMissing;
    }
    if (!output.matches(crc, size))
        return kMemberInvalid;
    return finish(kMemberDecoded, output);
}

} // namespace

int decodeMember(MemberDecodeIo& io)
{
    MemberInput input(io);
    std::uint8_t first = 0, second = 0;
    if (!input.byte(first) || !input.byte(second))
        return kMemberInputMissing;
    if (first == kGzipMagic1 && second == kGzipMagic2)
        return decodeGzip(io, input);
    std::uint8_t third = 0, fourth = 0;
    if (first == 'P' && second == 'K') {
        if (!input.byte(third) || !input.byte(fourth))
            return kMemberInputMissing;
        const std::uint32_t signature = first | (second << 8) | (third << 16) | (static_cast<std::uint32_t>(fourth) << 24);
        if (signature == kZipLocalHeader)
            return decodeZipEntry(io, input);
    }
    return kMemberInvalid;
}
