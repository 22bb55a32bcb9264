#include "midi/kvMidiCommon.h"

#include "base/Conversions.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Rounding.h"
#include "midi/kvMidiCommonNames.h"

#include <cstdlib>
#include <string>

namespace kv {

namespace {

constexpr std::int32_t MicrosecondsPerMinute = 60000000;

std::uint8_t ByteAt(std::string_view data, std::size_t index)
{
    return static_cast<std::uint8_t>(data[index]);
}

char ByteChar(std::int64_t value)
{
    return static_cast<char>(static_cast<std::uint8_t>(value & 0xFF));
}

// "a/b" read as two decimal integers, 0 for a part that is not a number;
// without a "/" the first is 0 and the whole text is the second.
struct NumberPair {
    std::int32_t first = 0;
    std::int32_t second = 0;
};

NumberPair SplitAtSlash(std::string_view text)
{
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) return {0, StrToIntDef(text, 0)};
    return {StrToIntDef(text.substr(0, slash), 0), StrToIntDef(text.substr(slash + 1), 0)};
}

// The exponent e with 2^e = denominator. A denominator that is not a power of two takes the
// exponent of the largest power of two below it; values below 2 give 0.
std::uint8_t DenominatorExponent(std::int32_t denominator)
{
    std::uint8_t exponent = 0;
    while (exponent < 30 && (std::int32_t{2} << exponent) <= denominator) ++exponent;
    return exponent;
}

} // namespace

std::uint32_t SwapLong(std::uint32_t Value)
{
    return (Value >> 24) | ((Value >> 8) & 0x0000FF00u) | ((Value << 8) & 0x00FF0000u) | (Value << 24);
}

std::int32_t TempoToBpm(std::string_view Letter)
{
    // Without a whole tempo the file format's default of 120 beats per minute applies.
    if (Letter.size() < 3) return 120;
    const std::int32_t tempo = (ByteAt(Letter, 0) << 16) | (ByteAt(Letter, 1) << 8) | ByteAt(Letter, 2);
    return CheckedDiv(MicrosecondsPerMinute, tempo);
}

std::string BpmToTempo(std::int32_t Bpm)
{
    const std::int32_t tempo = CheckedDiv(MicrosecondsPerMinute, Bpm);
    return {ByteChar(tempo >> 16), ByteChar(tempo >> 8), ByteChar(tempo)};
}

std::string TimeSignatureToText(std::string_view Letter)
{
    if (Letter.size() < 2) return {};
    // 2 shl ((e - 1) mod 32) in 32-bit arithmetic: e = 0 shifts by 31 and gives 0.
    const unsigned shift = (static_cast<unsigned>(ByteAt(Letter, 1)) - 1u) & 31u;
    const std::uint32_t denominator = std::uint32_t{2} << shift;
    return Format("%d/%u", {static_cast<int>(ByteAt(Letter, 0)), static_cast<unsigned>(denominator)});
}

std::string TextToTimeSignature(std::string_view Text)
{
    const NumberPair meter = SplitAtSlash(Text);
    return {ByteChar(meter.first), static_cast<char>(DenominatorExponent(meter.second)), '\0', '\x08'};
}

std::string KeySignatureToText(std::string_view Letter)
{
    if (Letter.size() < 2) return "0/0";
    return Format("%d/%d", {static_cast<int>(static_cast<std::int8_t>(ByteAt(Letter, 0))),
                            static_cast<int>(static_cast<std::int8_t>(ByteAt(Letter, 1)))});
}

std::string TextToKeySignature(std::string_view Text)
{
    const NumberPair key = SplitAtSlash(Text);
    return {ByteChar(key.first), ByteChar(key.second)};
}

std::string MsToTimeText(std::int32_t Ms)
{
    // A negative time is shown as the time of its magnitude after a minus sign.
    const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(Ms));
    const std::int64_t msec = magnitude % 1000;
    const std::int64_t totalSeconds = magnitude / 1000;
    const std::int64_t seconds = totalSeconds % 60;
    const std::int64_t totalMinutes = totalSeconds / 60;
    const std::int64_t minutes = totalMinutes % 60;
    const std::int64_t hours = totalMinutes / 60;
    return std::string(Ms < 0 ? "-" : "") + IntToStr(hours) + ":" + IntToZeroStr(minutes, 2) + ":" +
           IntToZeroStr(seconds, 2) + "." + IntToZeroStr(msec, 3);
}

std::string IntToZeroStr(std::int64_t Value, int Width)
{
    const std::uint64_t magnitude = Value < 0 ? 0 - static_cast<std::uint64_t>(Value) : static_cast<std::uint64_t>(Value);
    std::string digits = std::to_string(magnitude);
    const int signWidth = Value < 0 ? 1 : 0;
    const int padding = Width - signWidth - static_cast<int>(digits.size());
    if (padding > 0) digits.insert(0, static_cast<std::size_t>(padding), '0');
    return (Value < 0 ? "-" : "") + digits;
}

std::int32_t BeatsToTicks(std::int32_t PulsesPerQuarter, double Beats)
{
    return static_cast<std::int32_t>(Round(PulsesPerQuarter * Beats));
}

double TicksToBeats(std::int32_t PulsesPerQuarter, std::int32_t Ticks)
{
    KV_ASSERT(PulsesPerQuarter > 0, "PPQ <= 0");
    return static_cast<double>(Ticks) / PulsesPerQuarter;
}

std::string StrToHex(std::string_view Text)
{
    std::string hex;
    hex.reserve(Text.size() * 2);
    for (std::size_t i = 0; i < Text.size(); ++i)
        hex += Format("%2.2x", {static_cast<int>(ByteAt(Text, i))});
    return hex;
}

std::string StreamToHex(TMemoryStream& Stream)
{
    Stream.SetPosition(0);
    const std::uint8_t* bytes = Stream.Memory();
    const std::int64_t size = Stream.Size();
    std::string hex;
    hex.reserve(static_cast<std::size_t>(size) * 3);
    for (std::int64_t i = 0; i < size; ++i)
        hex += Format("%.2x ", {static_cast<int>(bytes[i])});
    return hex;
}

void StrToStream(std::string_view Text, TMemoryStream& Stream)
{
    Stream.SetSize(static_cast<std::int64_t>(Text.size()));
    for (std::size_t i = 0; i < Text.size(); ++i)
        Stream.Memory()[i] = ByteAt(Text, i);
    Stream.SetPosition(0);
}

std::string NoteToName(std::uint8_t Note)
{
    return Format("%s%d", {NoteNames[Note % 12], static_cast<int>(Note / 12)});
}

std::string NoteToNumbered(std::uint8_t Note)
{
    return NumberedNoteNames[Note % 12];
}

} // namespace kv
