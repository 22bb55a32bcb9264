#include "app/uRecordSettings.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/ResStr.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace kv {

TRecordSettings RecordSettings;

std::int32_t IntOrPrevious(const std::string& Text, std::int32_t Previous)
{
    if (Text.empty()) return Previous;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(Text.c_str(), &end, 10);
    if (errno != 0 || end != Text.c_str() + Text.size() || std::isspace(static_cast<unsigned char>(Text[0])) ||
        value < INT32_MIN || value > INT32_MAX)
        return Previous;
    return static_cast<std::int32_t>(value);
}

void CheckRecordSettings(const TRecordSettings& Settings, const TKVMidiFile& Song)
{
    if (!Settings.NewFile) {
        if (Song.MidiHeader().PulsesPerQuarter <= 0)
            throw Exception("The song has no pulses per quarter note; a track cannot be recorded into it.");
        return;
    }
    if (Settings.PPQ < MinRecordPPQ || Settings.PPQ > MaxRecordPPQ)
        throw Exception(Format(ResStr("Pulses per quarter note must lie within %d..%d, not %d."),
                               {MinRecordPPQ, MaxRecordPPQ, Settings.PPQ}));
    if (Settings.Speed < MinRecordSpeed || Settings.Speed > MaxRecordSpeed)
        throw Exception(Format(ResStr("Speed must lie within %d..%d, not %d."),
                               {MinRecordSpeed, MaxRecordSpeed, Settings.Speed}));
}

void PrepareRecordSong(TKVMidiFile& Song, const TRecordSettings& Settings)
{
    if (Settings.NewFile) {
        Song.ResetFile();
        Song.CreateTrack(RecordFileTrackName, -1, Settings.Speed, Settings.Meter, Settings.KeySignature);
        TMyMidiTrack* conductor = Song.GetTrack(0);
        conductor->PutCopyright();
        conductor->PutEndEvent();
    }
    Song.CreateTrack(Settings.TrackName, Settings.Channel & 0x0F, -1, "", "");
    Song.CreateHeader(Settings.PPQ, Settings.NewFile);
    // A single-track file cannot hold a second track: the song becomes a synchronous one.
    TKVMidiHeader header = Song.MidiHeader();
    if (header.HeaderType == ftSingle && Song.TrackCount() > 1) {
        header.HeaderType = ftMultiSynch;
        Song.SetMidiHeader(header);
    }
}

} // namespace kv
