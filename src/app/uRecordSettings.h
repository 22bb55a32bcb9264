#pragma once
// The settings of a recording, kept for the whole run and never saved, and the song a recording
// starts from: a new song with a conductor track, or the current song, each with an empty record
// track at the end.
#include "midi/kvMidiFile.h"

#include <cstdint>
#include <string>

namespace kv {

// The name of the conductor track of a new recorded song.
constexpr char RecordFileTrackName[] = "Tavrona Record File";
// The file a recording is written to, in the program's folder.
constexpr char RecordFileName[] = "Record.mid";

struct TRecordSettings {
    bool Cancelled = false;
    bool NewFile = true;
    std::string TrackName = "Record Track"; // at most 30 characters
    std::int32_t PPQ = 480;
    std::int32_t Speed = 120;
    std::string Meter = "4/4";        // at most 10 characters
    std::string KeySignature = "0/0"; // at most 10 characters
    std::uint8_t Channel = 0;         // 0..15
};

// The one set of record settings of the run.
extern TRecordSettings RecordSettings;

// The text as a whole decimal integer, or Previous when it is none.
std::int32_t IntOrPrevious(const std::string& Text, std::int32_t Previous);

// What a Standard MIDI File can carry: the division holds the pulses per quarter note in 15 bits
// (with the top bit set it is a time code), a tempo is 1..16,777,215 microseconds per quarter
// note in 24 bits, so at least 4 and at most 60,000,000 beats per minute.
constexpr std::int32_t MinRecordPPQ = 1;
constexpr std::int32_t MaxRecordPPQ = 0x7FFF;
constexpr std::int32_t MinRecordSpeed = 4;
constexpr std::int32_t MaxRecordSpeed = 60000000;

// Raises Exception, with what is wrong, when no playable song can be recorded: a new song needs
// pulses per quarter note and a speed that a file can carry, a track added to Song needs Song's
// pulses per quarter note above 0.
void CheckRecordSettings(const TRecordSettings& Settings, const TKVMidiFile& Song);

// Prepares Song for a recording: for a new song it is emptied and gets the conductor track
// (name, meter, key, tempo, copyright notice, end of track); then the record track (name and a
// program change to program 0 on the record channel, no end of track yet) is appended and the
// header brought up to date. A track added to the current song keeps its resolution, and its
// format unless that is the single-track format 0, which becomes format 1.
void PrepareRecordSong(TKVMidiFile& Song, const TRecordSettings& Settings);

} // namespace kv
