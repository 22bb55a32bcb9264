#include "piano/kvPianoGeometry.h"

#include <array>

namespace kv {

namespace {

constexpr std::array<std::int32_t, 12> WhiteIndexOfPitch{0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
constexpr std::array<std::int32_t, 7> FreePitchOfWhite{0, 2, 4, 5, 7, 9, 11};   // C D E F G A B
constexpr std::array<std::int32_t, 7> FixedPitchOfWhite{0, 2, 3, 5, 7, 8, 10};  // A B C D E F G

// Truncating division and its remainder made non-negative, for table lookups.
std::int32_t FloorDiv(std::int32_t a, std::int32_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int32_t FloorMod(std::int32_t a, std::int32_t b) { return a - FloorDiv(a, b) * b; }

} // namespace

bool TKVPianoGeometry::IsBlackKey(std::int32_t Key)
{
    switch (FloorMod(Key, 12)) {
    case 1: case 3: case 6: case 8: case 10: return true;
    default: return false;
    }
}

std::int32_t TKVPianoGeometry::WhiteIndex(std::int32_t Key)
{
    return WhiteIndexOfPitch[FloorMod(Key, 12)] + 7 * FloorDiv(Key, 12);
}

std::int32_t TKVPianoGeometry::KeyOfWhiteIndex(std::int32_t W) const
{
    if (Fixed) return FixedPitchOfWhite[FloorMod(W, 7)] + 12 * FloorDiv(W, 7) + PianoFixedFirstKey;
    return FreePitchOfWhite[FloorMod(W, 7)] + 12 * FloorDiv(W, 7);
}

std::int32_t TKVPianoGeometry::ControlWidth() const
{
    if (Fixed) return 52 * KeyWidth + 14;
    return 7 * KeyWidth * Group + 2 * PianoSideMargin + 2 * PianoTopMargin;
}

TRect TKVPianoGeometry::StripRect() const
{
    const std::int32_t side = PianoTopMargin + PianoSideMargin;
    return {side, 0, PaintWidth - side, PianoTopMargin + PianoStripHeight};
}

TRect TKVPianoGeometry::KeysArea() const
{
    const TRect strip = StripRect();
    return {strip.Left, strip.Bottom - 1, strip.Right, strip.Bottom + KeyHeight};
}

TRect TKVPianoGeometry::KeyRect(std::int32_t Key) const
{
    const std::int32_t wi = WhiteIndex(Key);
    const std::int32_t left = 7 + wi * KeyWidth - KeyOffset();
    if (!IsBlackKey(Key)) return {left, 20, left + KeyWidth, 21 + KeyHeight};
    return {left + KeyWidth / 2 + KeyWidth / 6, 20, left + KeyWidth + KeyWidth / 2 - KeyWidth / 6, BlackKeysBottom()};
}

std::int32_t TKVPianoGeometry::KeyAtPoint(std::int32_t X, std::int32_t Y) const
{
    if (KeyWidth <= 0 || !PtInRect(KeysArea(), {X, Y})) return -1;
    const std::int32_t k = KeyOfWhiteIndex((X - 7) / KeyWidth);
    auto shown = [this](std::int32_t key) { return key >= FirstKey() && key <= LastKey(); };
    std::int32_t found = k;
    if (Y < BlackKeysBottom()) {
        // Only a black neighbour can cover the upper part of a white key's column.
        for (std::int32_t neighbour : {k + 1, k - 1}) {
            if (IsBlackKey(neighbour) && shown(neighbour) && PtInRect(KeyRect(neighbour), {X, Y})) {
                found = neighbour;
                break;
            }
        }
    }
    return shown(found) ? found : -1;
}

} // namespace kv
