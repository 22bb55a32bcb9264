#pragma once
// The small rules of the main window's playing that need no window: read-out texts of the
// sliders, the hands given to a song's tracks, which dropped files are songs, and the keypad keys
// read without NumLock.
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiEvent.h"
#include "midi/kvMidiFile.h"

#include <cstdint>
#include <string>

namespace kv {

// "+1".."+12" for a raised key, the plain number otherwise ("0", "-5").
std::string KeyText(std::int32_t Value);
// The speed ratio's read-out: "100%".
std::string SpeedRatioText(std::int32_t Position);
// The volume's read-out: Position as a percentage of Volume, no decimals ("50%"); "0%" for a
// Volume of 0.
std::string VolumeText(std::int32_t Position, std::int32_t Volume);
// The hand a song's track goes to: with 2 tracks track 0 is the right hand and track 1 the left;
// with 3 or more track 1 is the right hand and track 2 the left; every other track keeps Current.
TKVTrackHand HandForTrack(int TrackCount, int Track, TKVTrackHand Current);
// Whether a dropped file's name ends in ".mid", ".midi" or ".kar", in any case.
bool IsSongFileName(const std::string& FileName);
// A keypad key read without NumLock becomes the keypad key (Up, 38, becomes keypad 8, 104);
// other keys stay as they are.
std::uint16_t TranslateNumpadKey(std::uint16_t Key);

// The tempo and time signature in force when a song starts: those its events at tick 0 set, as
// the player plays them (track by track, the last one winning), else 120 and "4/4". A tempo that
// cannot be converted is passed over.
struct TKVSongStart {
    std::int32_t Speed = 120;
    std::string Meter = "4/4";
};
TKVSongStart SongStart(const TKVMidiFile& Song);

// A song's system-exclusive event ($F0, or the escape $F7).
inline bool IsSysExEvent(std::uint8_t Status) { return Status == 0xF0 || Status == 0xF7; }
// The bytes of a system-exclusive event as they go to an output: $F0 and its data for a $F0
// event, the data alone for an escape ($F7) event.
std::string SysExMessage(const TKVMidiEvent& Event);

} // namespace kv
