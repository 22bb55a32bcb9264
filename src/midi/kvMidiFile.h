#pragma once
// The song: its header, its tracks (owned, in song order), its file name and file type, the
// range of note numbers met while reading, the operations that build a song from scratch, and
// the reading and writing of Standard MIDI Files.
//
// How events are held as file events:
// - meta event: Event $FF, Data1 the meta type, Letter the data bytes as they stand in the file;
// - system-exclusive event: Event $F0 (a message) or $F7 (an escape or a continued packet),
//   Letter the bytes after the length, the closing $F7 included when the file has one;
// - channel message: Event the status, Data1 and Data2 its data bytes (0-127);
// - other system statuses ($F1-$FE) have no data in a file.
#include "base/TComponent.h"
#include "base/TMemoryStream.h"
#include "base/TObject.h"
#include "base/TObjectList.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiEventTypes.h"
#include "midi/kvMidiSongWatchers.h"
#include "midi/kvMidiTrack.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kv {

enum TFileType : std::uint8_t { feMidi, feOve };

class TMidiChunkReader;

class TKVMidiFile : public TComponent {
public:
    explicit TKVMidiFile(TComponent* AOwner);
    std::string ClassName() const override { return "TKVMidiFile"; }

    // Frees every track and clears FileName; header, file type and note range stay. The watchers
    // hear of it before and after.
    void ResetFile();
    std::uint8_t GetLowNote() const { return FLowNote; }
    std::uint8_t GetHighNote() const { return FHighNote; }
    // Makes Value the current track and appends it to the song.
    void SetTrack(std::unique_ptr<TMyMidiTrack> Value);
    // nil outside 0..TrackCount - 1.
    TMyMidiTrack* GetTrack(int Index) const;
    // A new song becomes format 1 with APulsesPerQuarter; the track count is always brought up to date.
    void CreateHeader(std::int32_t APulsesPerQuarter, bool IsNew);
    // Appends a track holding, at time 0, the name, meter, key, tempo and program change that
    // are given (empty texts and -1 leave them out). A failure, such as a speed of 0, ends the
    // list of events there; the track is appended all the same.
    void CreateTrack(const std::string& ATrackName, std::int32_t AChannel, std::int32_t ASpeed,
                     const std::string& AMeter, const std::string& AKey);

    // Reads the file named FileName. A file that is not a song raises EMidiFileError naming the
    // file, what is wrong in it ("Invalid midi header!" for the header) and the byte where.
    void ReadFile();
    // Replaces the tracks by those read from the stream's memory (all of it; the position is
    // neither used nor changed). On success FileReady becomes true and OnFileModified(false) is
    // raised; a failure leaves the tracks read so far and FileReady as it was. The watchers hear
    // before the old tracks are freed and after the reading, also a failed one.
    void ReadFile(TMemoryStream& Stream);
    // Writes the song to the file named FileName, created or replaced. Everything is built in
    // memory first: when a track is too long ("Overflow track size: %d!") the file is untouched.
    void WriteFile();
    // The bytes WriteFile would write, in place of the stream's content.
    void WriteFile(TMemoryStream& Stream);

    // A file was read or written since FileName was last set.
    bool FileReady() const { return FFileReady; }
    const std::string& FileName() const { return FFileName; }
    // Chooses the file type from the extension, clears FileReady and raises OnFileChanged,
    // also when the name is unchanged.
    void SetFileName(const std::string& Value);
    TFileType FileType() const { return FFileType; }
    void SetFileType(TFileType Value) { FFileType = Value; }
    const TKVMidiHeader& MidiHeader() const { return FMidiHeader; }
    void SetMidiHeader(const TKVMidiHeader& Value) { FMidiHeader = Value; }
    // The largest track length; -1 for a song without tracks.
    std::int32_t MidiLength() const;
    int TrackCount() const { return FTrackList.Count(); }

    // Everyone who holds the song's tracks or events watches here; whoever edits them tells.
    TKVSongWatchers& Watchers() const { return FWatchers; }

    TNotifyEvent OnFileChanged;
    // Raised with false after a read or write; read tracks report their changes here.
    TModified OnFileModified;

private:
    void ReadHeader(TMidiChunkReader& File);
    // Reads the next chunk; false when the reading of the file ends there.
    bool ReadTrack(TMidiChunkReader& File);
    void ReadEvents(TMidiChunkReader& Body, TMyMidiTrack& Track);
    void NoteMet(std::uint8_t Note);
    void ReadOve() {}
    // The file's bytes, built in memory.
    std::string SongBytes();
    void WriteHeader(std::string& Out) const;
    void WriteTrack(std::string& Out, const TMyMidiTrack& Track) const;
    void WriteOve() {}
    void FileDone();

    mutable TKVSongWatchers FWatchers;
    bool FFileReady = false;
    std::string FFileName;
    TKVMidiHeader FMidiHeader;
    TMyMidiTrack* FMidiTrack = nullptr; // the current track; owned by FTrackList
    TObjectList<TMyMidiTrack> FTrackList;
    TFileType FFileType = feMidi;
    std::uint8_t FLowNote = 0;
    std::uint8_t FHighNote = 0;
};

} // namespace kv
