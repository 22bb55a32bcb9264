#include "Scramble.h"

#include <array>

Bytes scramble(const Bytes& plain, std::uint8_t step, std::uint8_t start)
{
    Bytes out;
    out.reserve(plain.size() + 10);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const auto shift = static_cast<std::uint8_t>(start + step * static_cast<std::uint32_t>(i + 1));
        out.push_back(static_cast<std::uint8_t>(plain[i] + shift));
    }
    out.push_back(step);
    out.push_back(start);
    std::array<std::uint8_t, 8> check{};
    for (std::size_t j = 0; j < out.size(); ++j)
        check[j % 8] = static_cast<std::uint8_t>(check[j % 8] + out[j]);
    out.insert(out.end(), check.begin(), check.end());
    return out;
}

Bytes scrambleTwice(const Bytes& plain)
{
    return scramble(scramble(plain, 17, 0xC3), 29, 0x4E);
}
