#pragma once
// The MIDI vocabulary shared by the engine, the piano controls and the windows: enumerations,
// records, and the conversions between meta data, times, notes and the texts the program shows.
//
// Meta data are raw bytes held in a std::string, one char per data byte; the routines read each
// char as an unsigned byte and build one char per byte.
#include "base/TMemoryStream.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

enum TKVEventType : std::uint8_t { etOn, etOff, etSystem, etControl, etProgram, etOther };
enum TKVHeaderType : std::uint8_t { ftSingle, ftMultiSynch, ftMultiAsynch };
enum TKVStatus : std::uint8_t { stReady, stPlaying, stRecording, stPaused, stStop };
enum TKVTrackHand : std::uint8_t { thLeft, thRight };
enum TKVKeyboardLabel : std::uint8_t { klNone, klKey, klNote };

struct TKVMidiHeader {
    TKVHeaderType HeaderType = ftSingle;
    std::int32_t NumberTracks = 0;
    std::int32_t PulsesPerQuarter = 0; // ticks per quarter note

    friend bool operator==(const TKVMidiHeader&, const TKVMidiHeader&) = default;
};

// One flag per MIDI channel.
using TKVChannels = std::array<bool, 16>;

struct KVInstrument {
    std::string sName;
    std::int32_t iData = 0; // program number, percussion key or status value
};

struct KVFamily {
    std::string FName;
    std::array<KVInstrument, 8> FInstrument;
};

std::uint32_t SwapLong(std::uint32_t Value);

// Tempo meta data: three bytes of microseconds per quarter note, big-endian.
// A tempo of 0 and a bpm of 0 raise EDivByZero.
std::int32_t TempoToBpm(std::string_view Letter);
std::string BpmToTempo(std::int32_t Bpm);

// Time-signature meta data: numerator, denominator exponent, clocks per click, 32nds per quarter.
std::string TimeSignatureToText(std::string_view Letter);
std::string TextToTimeSignature(std::string_view Text);

// Key-signature meta data: sharps (negative: flats) and mode, each a signed byte.
std::string KeySignatureToText(std::string_view Letter);
std::string TextToKeySignature(std::string_view Text);

// "h:mm:ss.mmm", hours unlimited.
std::string MsToTimeText(std::int32_t Ms);
std::string IntToZeroStr(std::int64_t Value, int Width);

// Ticks rounded to the nearest integer, ties to even.
std::int32_t BeatsToTicks(std::int32_t PulsesPerQuarter, double Beats);
// Raises EAssertionFailed "PPQ <= 0" when PulsesPerQuarter is below 1.
double TicksToBeats(std::int32_t PulsesPerQuarter, std::int32_t Ticks);

// Two upper-case hexadecimal digits per byte, no separators.
std::string StrToHex(std::string_view Text);
// Two upper-case hexadecimal digits and a blank per byte; leaves the stream at position 0.
std::string StreamToHex(TMemoryStream& Stream);
// The stream becomes the bytes of Text, at position 0.
void StrToStream(std::string_view Text, TMemoryStream& Stream);

// "C5" for 60: letter name and octave (note div 12).
std::string NoteToName(std::uint8_t Note);
// "1" for 60, "1#" for 61: numbered notation without octave.
std::string NoteToNumbered(std::uint8_t Note);

} // namespace kv
