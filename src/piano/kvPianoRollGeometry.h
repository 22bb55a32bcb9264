#pragma once
// Where the piano roll draws things: its areas, the lanes of the 132 pitch rows (row r shows
// pitch 131 - r, rows 0..3 stay empty), and the mapping between ticks and pixels at the current
// zoom and scroll positions. All rectangles are in paint-box coordinates, right and bottom
// exclusive.
//
// Conversions run in extended precision and round to the nearest integer, halves to even. They
// give 0 without a song (PulsesPerQuarter 0), so nothing divides by zero.
#include "gui/TRect.h"

#include <cstdint>

namespace kv {

constexpr std::int32_t RollKeyColumnWidth = 61;
constexpr std::int32_t RollRulerHeight = 21;
constexpr std::int32_t RollInfoHeight = 17;
constexpr std::int32_t RollBorder = 1;
constexpr std::int32_t RollRowCount = 132;
constexpr std::int32_t RollLastRow = RollRowCount - 1;
constexpr std::int32_t RollDefaultQuarterWidth = 64;
constexpr std::int32_t RollDefaultQuarterHeight = 6;
constexpr std::int32_t RollMinQuarterWidth = RollDefaultQuarterWidth / 4;
constexpr std::int32_t RollMaxQuarterWidth = RollDefaultQuarterWidth * 4;
constexpr std::int32_t RollMinQuarterHeight = 2;
constexpr std::int32_t RollMaxQuarterHeight = 20;
constexpr std::int32_t RollScrollBarSize = 17;
constexpr std::int32_t RollMinPitchRange = 24;

// Round(PulsesPerQuarter / QuarterWidth x Pixels); 0 when either is below 1.
std::int32_t RollPixelsToTicks(std::int32_t PulsesPerQuarter, std::int32_t QuarterWidth, std::int64_t Pixels);
// Round(QuarterWidth / PulsesPerQuarter x Ticks); 0 when either is below 1.
std::int32_t RollTicksToPixels(std::int32_t PulsesPerQuarter, std::int32_t QuarterWidth, std::int64_t Ticks);

struct TKVPianoRollGeometry {
    std::int32_t Width = 0;  // the paint box
    std::int32_t Height = 0;
    std::int32_t QuarterNoteWidth = RollDefaultQuarterWidth;
    std::int32_t QuarterNoteHeight = RollDefaultQuarterHeight;
    std::int32_t PulsesPerQuarter = 0; // 0: no song to show
    std::int32_t HorzPosition = 0;     // first visible quarter note
    std::int32_t VertPosition = 0;     // first visible row

    std::int32_t RowPitch() const { return QuarterNoteHeight + 2 * RollBorder; }

    TRect KeyColumnRect() const { return {0, 0, RollKeyColumnWidth, Height - 1}; }
    TRect RulerRect() const;
    TRect NotesRect() const;
    TRect InfoRect() const;
    TRect PaintBoxRect() const { return {0, -1, Width, Height}; }
    // The lane of a row, across the key column or across the notes area.
    TRect RowRect(bool InKeyColumn, std::int32_t Row) const;
    // The last row whose lane the area shows whole (the key column reaches beside the info strip).
    std::int32_t LastVisibleRow(bool InKeyColumn) const;

    std::int32_t PixelsToTicks(std::int64_t Pixels) const;
    std::int32_t TicksToPixels(std::int64_t Ticks) const;
    // The tick at the notes area's left edge.
    std::int32_t StartTicks() const;
    // Ticks the notes area spans.
    std::int32_t VisibleTicks() const { return PixelsToTicks(NotesRect().Right - NotesRect().Left); }

    // A pointer position: time from the key column's right edge, row by whole lanes (truncating).
    std::int32_t TimeOfX(std::int32_t X) const;
    std::int32_t RowOfY(std::int32_t Y) const;
    std::int32_t PitchOfY(std::int32_t Y) const { return RollLastRow - RowOfY(Y); }

    // The bar of a note from StartTime to EndTime, one pixel inside its lane at top and bottom.
    // Coordinates are kept within +-2^30, whatever the times.
    TRect NoteRect(std::int32_t StartTime, std::int32_t EndTime, std::uint8_t Pitch) const;
    // The play cursor's x: from the key column's right edge, one pixel left of a note's start.
    std::int64_t CursorX(std::int32_t Time) const;
    // The x of a tick from the notes area's left edge.
    std::int64_t TickX(std::int32_t Time) const;
};

} // namespace kv
