#include "piano/kvPianoRollGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kv {

namespace {

constexpr std::int64_t CoordinateLimit = std::int64_t{1} << 30;

// Nearest integer, halves to even, whatever the floating-point rounding mode; saturated to the
// 32-bit range so that a huge song or a far scroll position cannot overflow.
std::int32_t RoundHalfEven(long double Value)
{
    long double whole = std::floor(Value);
    const long double fraction = Value - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0.0L)) whole += 1.0L;
    constexpr long double low = std::numeric_limits<std::int32_t>::min();
    constexpr long double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(whole, low, high));
}

std::int32_t Clamp32(std::int64_t Value)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(Value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t ClampCoordinate(std::int64_t Value)
{
    return static_cast<std::int32_t>(std::clamp(Value, -CoordinateLimit, CoordinateLimit));
}

} // namespace

std::int32_t RollPixelsToTicks(std::int32_t PulsesPerQuarter, std::int32_t QuarterWidth, std::int64_t Pixels)
{
    if (PulsesPerQuarter < 1 || QuarterWidth < 1) return 0;
    const long double ticksPerPixel = static_cast<long double>(PulsesPerQuarter) / QuarterWidth;
    return RoundHalfEven(ticksPerPixel * static_cast<long double>(Pixels));
}

std::int32_t RollTicksToPixels(std::int32_t PulsesPerQuarter, std::int32_t QuarterWidth, std::int64_t Ticks)
{
    if (PulsesPerQuarter < 1 || QuarterWidth < 1) return 0;
    const long double pixelsPerTick = static_cast<long double>(QuarterWidth) / PulsesPerQuarter;
    return RoundHalfEven(pixelsPerTick * static_cast<long double>(Ticks));
}

TRect TKVPianoRollGeometry::RulerRect() const
{
    return {RollKeyColumnWidth + RollBorder, 0, Width - RollBorder, RollRulerHeight + RollBorder};
}

TRect TKVPianoRollGeometry::NotesRect() const
{
    return {RollKeyColumnWidth + RollBorder, RollRulerHeight, Width - RollBorder,
            Height - RollBorder - RollInfoHeight - 1};
}

TRect TKVPianoRollGeometry::InfoRect() const
{
    return {RollKeyColumnWidth + RollBorder, Height - RollBorder - RollInfoHeight - 1, Width - RollBorder,
            Height - RollBorder};
}

TRect TKVPianoRollGeometry::RowRect(bool InKeyColumn, std::int32_t Row) const
{
    const TRect area = InKeyColumn ? KeyColumnRect() : NotesRect();
    const std::int32_t p = RowPitch();
    const std::int32_t top = ClampCoordinate(RollRulerHeight + std::int64_t{Row - VertPosition} * p);
    return {area.Left, top, area.Right, ClampCoordinate(std::int64_t{top} + p)};
}

std::int32_t TKVPianoRollGeometry::LastVisibleRow(bool InKeyColumn) const
{
    const TRect area = InKeyColumn ? KeyColumnRect() : NotesRect();
    const std::int32_t p = std::max(1, RowPitch());
    return std::min(RollLastRow, (area.Bottom - area.Top) / p + VertPosition - 1);
}

std::int32_t TKVPianoRollGeometry::PixelsToTicks(std::int64_t Pixels) const
{
    return RollPixelsToTicks(PulsesPerQuarter, QuarterNoteWidth, Pixels);
}

std::int32_t TKVPianoRollGeometry::TicksToPixels(std::int64_t Ticks) const
{
    return RollTicksToPixels(PulsesPerQuarter, QuarterNoteWidth, Ticks);
}

std::int32_t TKVPianoRollGeometry::StartTicks() const
{
    return Clamp32(std::int64_t{PulsesPerQuarter} * HorzPosition);
}

std::int32_t TKVPianoRollGeometry::TimeOfX(std::int32_t X) const
{
    return Clamp32(std::int64_t{PixelsToTicks(std::int64_t{X} - RollKeyColumnWidth)} + StartTicks());
}

std::int32_t TKVPianoRollGeometry::RowOfY(std::int32_t Y) const
{
    const std::int32_t p = std::max(1, RowPitch());
    return Clamp32((std::int64_t{Y} - (RollRulerHeight + RollBorder)) / p + VertPosition);
}

std::int64_t TKVPianoRollGeometry::TickX(std::int32_t Time) const
{
    return NotesRect().Left + std::int64_t{TicksToPixels(std::int64_t{Time} - StartTicks())};
}

std::int64_t TKVPianoRollGeometry::CursorX(std::int32_t Time) const
{
    return RollKeyColumnWidth + std::int64_t{TicksToPixels(std::int64_t{Time} - StartTicks())};
}

TRect TKVPianoRollGeometry::NoteRect(std::int32_t StartTime, std::int32_t EndTime, std::uint8_t Pitch) const
{
    const TRect lane = RowRect(false, RollLastRow - Pitch);
    return {ClampCoordinate(TickX(StartTime)), lane.Top + 1, ClampCoordinate(TickX(EndTime)), lane.Bottom - 1};
}

} // namespace kv
