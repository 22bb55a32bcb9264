#pragma once
// The program's one table of 74 computer keys with the key number each plays, and the layout
// files (".kbl") it is saved to: a 16-byte header ("KBL\0", "2.1\0", eight zero bytes) and the
// 74 rows byte for byte, 1,792 bytes in all.
#include "base/Exceptions.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// One row, 24 bytes, the same in memory and in layout files (little-endian).
struct TKeyLayoutRec {
    std::uint8_t KeyName[16]{}; // length byte (0..15), then the characters
    std::int32_t KeyCode = 0;   // Windows virtual-key code
    std::int32_t KeyNote = -1;  // key number played, relative to the piano's base; -1 = none
};
static_assert(sizeof(TKeyLayoutRec) == 24);

constexpr int KeyLayoutRows = 74;
constexpr std::size_t KeyLayoutFileSize = 16 + KeyLayoutRows * sizeof(TKeyLayoutRec);
// Key codes a layout file may hold: a virtual-key code is a byte.
constexpr std::int32_t KeyLayoutMaxCode = 255;

using TKeyLayout = std::array<TKeyLayoutRec, KeyLayoutRows>;

// A layout file that cannot be taken: too short, or a row that does not fit its fields.
class EKeyLayoutError : public Exception { using Exception::Exception; };

// The program-wide table, initialised with the built-in layout.
extern TKeyLayout KeyLayout;
const TKeyLayout& BuiltInKeyLayout();

std::string KeyNameOf(const TKeyLayoutRec& Row);
TKeyLayoutRec MakeKeyLayoutRec(const std::string& Name, std::int32_t Code, std::int32_t Note);

std::vector<std::uint8_t> KeyLayoutToBytes(const TKeyLayout& Layout);
// Raises EKeyLayoutError naming FileName when the bytes are no layout; the header's magic and
// version are not checked.
TKeyLayout KeyLayoutFromBytes(const std::uint8_t* Bytes, std::size_t Size, const std::string& FileName);

} // namespace kv
