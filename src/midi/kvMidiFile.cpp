#include "midi/kvMidiFile.h"

#include "base/Conversions.h"
#include "base/Exceptions.h"

#include <algorithm>
#include <utility>

namespace kv {

namespace {

std::unique_ptr<TKVMidiEvent> MakeEvent(std::uint8_t status, std::uint8_t data1, const std::string& letter = "")
{
    auto event = std::make_unique<TKVMidiEvent>();
    event->SetEvent(status);
    event->SetData1(data1);
    event->SetLetter(letter);
    return event;
}

// The opening events of a new track, all at time 0, in this order.
void PutTrackEvents(TMyMidiTrack& track, const std::string& trackName, std::int32_t channel, std::int32_t speed,
                    const std::string& meter, const std::string& key)
{
    if (!trackName.empty()) track.PutEvent(MakeEvent(0xFF, 0x03, trackName));
    if (!meter.empty()) track.PutEvent(MakeEvent(0xFF, 0x58, TextToTimeSignature(meter)));
    if (!key.empty()) track.PutEvent(MakeEvent(0xFF, 0x59, TextToKeySignature(key)));
    if (speed > -1) track.PutEvent(MakeEvent(0xFF, 0x51, BpmToTempo(speed)));
    if (channel > -1) track.PutEvent(MakeEvent(static_cast<std::uint8_t>(0xC0u + static_cast<unsigned>(channel)), 0));
}

} // namespace

TKVMidiFile::TKVMidiFile(TComponent* AOwner) : TComponent(AOwner) {}

void TKVMidiFile::ResetFile()
{
    FWatchers.TracksFreeing(this);
    FMidiTrack = nullptr;
    FTrackList.Clear();
    SetFileName("");
    FWatchers.TracksReplaced(this);
}

void TKVMidiFile::SetTrack(std::unique_ptr<TMyMidiTrack> Value)
{
    FMidiTrack = Value.get();
    FTrackList.Add(std::move(Value));
}

TMyMidiTrack* TKVMidiFile::GetTrack(int Index) const
{
    if (Index < 0 || Index >= TrackCount()) return nullptr;
    return FTrackList.Items(Index);
}

void TKVMidiFile::CreateHeader(std::int32_t APulsesPerQuarter, bool IsNew)
{
    TKVMidiHeader header = FMidiHeader;
    if (IsNew) {
        header.HeaderType = ftMultiSynch;
        header.PulsesPerQuarter = APulsesPerQuarter;
    }
    header.NumberTracks = TrackCount();
    SetMidiHeader(header);
}

void TKVMidiFile::CreateTrack(const std::string& ATrackName, std::int32_t AChannel, std::int32_t ASpeed,
                              const std::string& AMeter, const std::string& AKey)
{
    auto track = std::make_unique<TMyMidiTrack>();
    FMidiTrack = track.get();
    try {
        PutTrackEvents(*track, ATrackName, AChannel, ASpeed, AMeter, AKey);
    } catch (const Exception&) {
        // The track keeps the events made before the failure.
    }
    SetTrack(std::move(track));
}

void TKVMidiFile::SetFileName(const std::string& Value)
{
    FFileName = Value;
    FFileReady = false;
    const std::string extension = LowerCase(ExtractFileExt(Value));
    if (extension == ".mid" || extension == ".midi" || extension == ".kar")
        FFileType = feMidi;
    else if (extension == ".ove")
        FFileType = feOve;
    if (OnFileChanged) OnFileChanged(this);
}

std::int32_t TKVMidiFile::MidiLength() const
{
    std::int32_t length = -1;
    for (const auto& track : FTrackList)
        length = std::max(length, track->TrackLength());
    return length;
}

} // namespace kv
