// The member decoder over arbitrary bytes: no read outside the input, no write of more than the
// decoder produced, no hang; every result is one of the documented codes.
#include "installer/package/MemberDecoder.h"

#include <algorithm>
#include <cstring>

namespace {

class MemoryIo final : public MemberDecodeIo {
public:
    MemoryIo(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t read(std::uint8_t* buffer, std::uint32_t n) override
    {
        // Odd block sizes exercise the decoder's refilling.
        const std::size_t step = std::min<std::size_t>({n, size_ - position_, 1 + (position_ % 977)});
        if (step)
            std::memcpy(buffer, data_ + position_, step);
        position_ += step;
        return static_cast<std::uint32_t>(step);
    }
    void inputMissing() override {}
    bool write(const std::uint8_t* data, std::uint32_t n) override
    {
        for (std::uint32_t i = 0; i < n; ++i)
            sink_ ^= data[i];
        return true;
    }
    void decoderError(const char* message) override
    {
        if (!message)
            __builtin_trap();
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
    std::uint8_t sink_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MemoryIo io(data, size);
    const int result = decodeMember(io);
    if (result != kMemberDecoded && result != kMemberInvalid && result != kMemberInputMissing && result != kMemberNoMemory)
        __builtin_trap();
    return 0;
}
