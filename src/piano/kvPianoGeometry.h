#pragma once
// Where the on-screen piano's keys lie: the size of the control, the octave strip, the keys area,
// the rectangle of every key and the key under a point. Fixed mode shows the 88 keys A0..C8 and
// numbers them by MIDI note; free mode shows PianoGroup octaves and numbers keys from 0 at the
// leftmost C.
#include "gui/TRect.h"

#include <cstdint>

namespace kv {

constexpr std::int32_t PianoTopMargin = 1;
constexpr std::int32_t PianoStripHeight = 21;
constexpr std::int32_t PianoSideMargin = 6;
constexpr std::int32_t PianoArrowSize = 17;
constexpr std::int32_t PianoFixedFirstKey = 21;  // A0
constexpr std::int32_t PianoFixedLastKey = 108;  // C8

struct TKVPianoGeometry {
    std::int32_t KeyWidth = 22;
    std::int32_t KeyHeight = 100;
    bool Fixed = false;
    std::int32_t Group = 6;
    std::int32_t PaintWidth = 0; // the paint box's width

    static bool IsBlackKey(std::int32_t Key);
    // The white index of a key: counted from C in free mode; in fixed mode the same count,
    // which KeyOffset() moves so that A0 starts at the left edge.
    static std::int32_t WhiteIndex(std::int32_t Key);
    std::int32_t KeyOfWhiteIndex(std::int32_t WhiteIndex) const;

    std::int32_t ControlWidth() const;
    std::int32_t ControlHeight() const { return KeyHeight + PianoStripHeight + PianoSideMargin; }
    std::int32_t FirstKey() const { return Fixed ? PianoFixedFirstKey : 0; }
    std::int32_t LastKey() const { return Fixed ? PianoFixedLastKey : 12 * Group - 1; }

    TRect StripRect() const;
    // Bounds the hit test, the mouse confinement and the fill under the keys; it ends where the
    // keys end.
    TRect KeysArea() const;
    TRect KeyRect(std::int32_t Key) const;
    // The shown key at (X, Y), or -1.
    std::int32_t KeyAtPoint(std::int32_t X, std::int32_t Y) const;

private:
    std::int32_t KeyOffset() const { return Fixed ? 12 * KeyWidth : 0; }
    std::int32_t BlackKeysBottom() const { return 21 + KeyHeight / 2 + KeyHeight / 6; }
};

} // namespace kv
