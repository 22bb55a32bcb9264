#pragma once
// Builds the bytes of small MIDI files for tests: hexadecimal text, chunks, whole files.
#include "base/TMemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kv::test {

// "00 90 3C" gives those three bytes: two hexadecimal digits a byte, blanks ignored.
inline std::string Hex(std::string_view text)
{
    std::string digits;
    for (char c : text)
        if (c != ' ') digits += c;
    std::string bytes;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(std::stoul(digits.substr(i, 2), nullptr, 16));
    return bytes;
}

inline std::string BigEndian32(std::uint32_t value)
{
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes;
}

inline std::string Chunk(std::string_view id, const std::string& body)
{
    return std::string(id) + BigEndian32(static_cast<std::uint32_t>(body.size())) + body;
}

inline std::string Header(int format, int tracks, int division)
{
    std::string data;
    for (int value : {format, tracks, division}) {
        data += static_cast<char>((value >> 8) & 0xFF);
        data += static_cast<char>(value & 0xFF);
    }
    return Chunk("MThd", data);
}

// A format 1 file of one track with this body, division 96.
inline std::string OneTrackFile(const std::string& body) { return Header(1, 1, 96) + Chunk("MTrk", body); }

inline void Fill(TMemoryStream& stream, const std::string& bytes)
{
    stream.Clear();
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

inline std::string Contents(TMemoryStream& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

} // namespace kv::test
