#include "app/uPlaying.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>

namespace kv {

std::string KeyText(std::int32_t Value) { return (Value >= 1 && Value <= 12 ? "+" : "") + std::to_string(Value); }

std::string SpeedRatioText(std::int32_t Position) { return std::to_string(Position) + "%"; }

std::string VolumeText(std::int32_t Position, std::int32_t Volume)
{
    const double percent = Volume == 0 ? 0.0 : 100.0 * Position / Volume;
    char text[32];
    std::snprintf(text, sizeof text, "%.0f%%", percent);
    return text;
}

TKVTrackHand HandForTrack(int TrackCount, int Track, TKVTrackHand Current)
{
    if (TrackCount == 2) return Track == 0 ? thRight : thLeft;
    if (TrackCount >= 3) {
        if (Track == 1) return thRight;
        if (Track == 2) return thLeft;
    }
    return Current;
}

bool IsSongFileName(const std::string& FileName)
{
    const std::size_t dot = FileName.rfind('.');
    if (dot == std::string::npos || FileName.find_first_of("\\/", dot) != std::string::npos) return false;
    std::string extension = FileName.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mid" || extension == ".midi" || extension == ".kar";
}

std::uint16_t TranslateNumpadKey(std::uint16_t Key)
{
    switch (Key) {
    case 12: return 101;
    case 33: return 105;
    case 34: return 99;
    case 35: return 97;
    case 36: return 103;
    case 37: return 100;
    case 38: return 104;
    case 39: return 102;
    case 40: return 98;
    case 45: return 96;
    case 46: return 110;
    default: return Key;
    }
}

TKVSongStart SongStart(const TKVMidiFile& Song)
{
    TKVSongStart start;
    for (int t = 0; t < Song.TrackCount(); ++t) {
        const TMyMidiTrack* track = Song.GetTrack(t);
        for (int i = 0; track != nullptr && i < track->TrackEventCount(); ++i) {
            const TKVMidiEvent& event = *track->GetEvent(i);
            if (event.StartTime() > 0) break;
            if (event.Event() != 0xFF) continue;
            if (event.Data1() == 0x51) {
                try {
                    // A quarter note of 0 microseconds, or of more than a minute, plays nowhere.
                    if (const std::int32_t bpm = TempoToBpm(event.Letter()); bpm > 0) start.Speed = bpm;
                } catch (const std::exception&) {
                }
            } else if (event.Data1() == 0x58) {
                start.Meter = TimeSignatureToText(event.Letter());
            }
        }
    }
    return start;
}

std::string SysExMessage(const TKVMidiEvent& Event)
{
    if (Event.Event() == 0xF0) return std::string(1, '\xF0') + Event.Letter();
    return Event.Letter();
}

} // namespace kv
