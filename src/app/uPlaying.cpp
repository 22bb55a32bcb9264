#include "app/uPlaying.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

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

} // namespace kv
