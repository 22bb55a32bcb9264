#include "installer/text/ByteString.h"

#include <array>
#include <chrono>

// The reversible scrambling of the table of contents, the language tables and the uninstall
// data. Byte i moves by (start + step * (i + 1)) mod 256; the key bytes step and start follow
// the content, then an 8-byte additive check over everything before it.

namespace {

using Check = std::array<std::uint8_t, 8>;

Check additiveCheck(const std::uint8_t* bytes, std::uint32_t count)
{
    Check check{};
    for (std::uint32_t j = 0; j < count; ++j)
        check[j % 8] = static_cast<std::uint8_t>(check[j % 8] + bytes[j]);
    return check;
}

// The run time's linear congruential generator (values 0..32767), seeded from the tick count.
class TickSeededRandom {
public:
    explicit TickSeededRandom(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next()
    {
        state_ = state_ * 214013u + 2531011u;
        return (state_ >> 16) & 0x7FFF;
    }

private:
    std::uint32_t state_;
};

std::uint32_t tickCount()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint8_t keyOffset(std::uint8_t step, std::uint8_t start, std::uint32_t i)
{
    return static_cast<std::uint8_t>(start + step * (i + 1));
}

} // namespace

bool ByteString::scramble()
{
    TickSeededRandom random(tickCount());
    const std::uint32_t r1 = random.next();
    const std::uint32_t r2 = random.next();
    scrambleWithKey(static_cast<std::uint8_t>(r1 % 30 + 5), static_cast<std::uint8_t>(r2 % 256));
    return true;
}

void ByteString::scrambleWithKey(std::uint8_t step, std::uint8_t start)
{
    std::uint8_t* p = data();
    for (std::uint32_t i = 0; i < length_; ++i)
        p[i] = static_cast<std::uint8_t>(p[i] + keyOffset(step, start, i));
    appendChar(step);
    appendChar(start);
    const Check check = additiveCheck(data(), length_);
    for (std::uint8_t b : check)
        appendChar(b);
}

bool ByteString::unscramble()
{
    if (length_ < 10)
        return false;
    const std::uint32_t contentLength = length_ - 10;
    const Check computed = additiveCheck(data(), length_ - 8);
    const std::uint8_t step = at(contentLength);
    const std::uint8_t start = at(contentLength + 1);
    std::uint8_t* p = data();
    for (std::uint32_t i = 0; i < contentLength; ++i)
        p[i] = static_cast<std::uint8_t>(p[i] - keyOffset(step, start, i));
    bool checkPasses = true;
    for (std::uint32_t j = 0; j < 8; ++j)
        checkPasses = checkPasses && computed[j] == p[contentLength + 2 + j];
    setLength(contentLength);
    return checkPasses;
}
