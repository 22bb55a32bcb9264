#pragma once
// Byte offsets of the big-endian 32-bit fields of the package header that the installer reads.
#include "installer/text/ByteString.h"

#include <cstdint>

constexpr std::uint32_t kHeaderFieldTocOffset = 0;
constexpr std::uint32_t kHeaderFieldTocLength = 4;
constexpr std::uint32_t kHeaderFieldMusicPresent = 116;
constexpr std::uint32_t kHeaderFieldBytesRequiredMinimal = 200;
constexpr std::uint32_t kHeaderFieldJpegBytesMinimal = 208;
constexpr std::uint32_t kHeaderFieldMp3BytesMinimal = 212;
constexpr std::uint32_t kHeaderFieldOtherBytesMinimal = 224;
// The header's own file offset, for validation.
constexpr std::uint32_t kHeaderFieldSelfOffset = 232;

// The field at offset, or 0 when the header is too short to hold it.
inline std::uint32_t headerField(const ByteString& header, std::uint32_t offset)
{
    return header.length() >= std::uint64_t(offset) + 4 ? header.readBE32(offset) : 0;
}
