#pragma once
// Everything the hands panel decides without a window: the two lists of tracks ("grpL" for the
// left hand, "grpR" for the right), their items and check states, the hand colours, moving a
// track to the other hand and switching it on and off. TKVPianoTracks adds the group boxes, the
// check lists and the splitter, and shows the lists through the protected hooks.
//
// Items point at tracks the song owns. The panel watches its song: before the song's tracks are
// freed or replaced (ResetFile, ReadFile, also a read that fails) both lists are emptied, so that
// no item outlives its track.
#include "base/TObject.h"
#include "gui/TColor.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiFile.h"
#include "midi/kvMidiTrack.h"

#include <array>
#include <string>
#include <vector>

namespace kv {

constexpr TColor HandColorLDefault = 0xB4BD86;
constexpr TColor HandColorRDefault = 0x9F96DE;

// One line of a list: the text "[%.2d] %s", the track shown (not owned) and its check state.
struct TKVTrackItem {
    std::string Text;
    TMyMidiTrack* Track = nullptr;
    bool Checked = false;
};

// The text of a track's item: its TrackIndex with at least two digits in brackets, a blank and
// its TrackName.
std::string TrackItemText(const TMyMidiTrack& Track);

class TKVPianoTracksCore {
public:
    TKVPianoTracksCore();
    virtual ~TKVPianoTracksCore() = default;
    TKVPianoTracksCore(const TKVPianoTracksCore&) = delete;
    TKVPianoTracksCore& operator=(const TKVPianoTracksCore&) = delete;

    // The song whose tracks are listed; not owned. Setting it lists nothing.
    TKVMidiFile* MidiFile() const { return FMidiFile; }
    void SetMidiFile(TKVMidiFile* Value);
    const std::string& CaptionL() const { return FCaptionL; }
    void SetCaptionL(const std::string& Value);
    const std::string& CaptionR() const { return FCaptionR; }
    void SetCaptionR(const std::string& Value);
    // Setting a hand colour recolours every track listed under that hand.
    TColor HandColorL() const { return FHandColorL; }
    void SetHandColorL(TColor Value);
    TColor HandColorR() const { return FHandColorR; }
    void SetHandColorR(TColor Value);
    TColor HandColor(TKVTrackHand Hand) const { return Hand == thRight ? FHandColorR : FHandColorL; }

    // Lists the track at the end of its hand's list, checked when it is active, and gives it the
    // colour of its hand.
    void AddTrack(TMyMidiTrack* MidiTrack);
    // Removes the track's item from the list of its current hand (nothing when it is not there).
    void DelTrack(TMyMidiTrack* MidiTrack);
    // Empties both lists; the tracks are not changed.
    void ClearTracks();

    // iTrack is the track's position in the song. Positions outside the song are ignored by the
    // setters and answered with true and thLeft. A track switched on or off shows so in its list.
    void SetTrackActive(int iTrack, bool Value);
    bool GetTrackActive(int iTrack) const;
    // Moves the track to the end of the list of Value and recolours it.
    void SetTrackHand(int iTrack, TKVTrackHand Value);
    TKVTrackHand GetTrackHand(int iTrack) const;

    // The items of a hand's list, top to bottom.
    const std::vector<TKVTrackItem>& Items(TKVTrackHand Hand) const { return FItems[Hand]; }

    // The user toggled the check box of item Index of a list (a click on it or the space bar):
    // that item's track is switched on or off and OnTrackClick follows with the list. An index
    // outside the list does nothing.
    void ToggleItem(TKVTrackHand Hand, int Index);
    // A drag may end on the panel only when it comes from one of its own two lists.
    bool AcceptsDrag(const TObject* Source) const;
    // A drag from Source, whose selected item is SourceIndex (-1 for none), dropped on the list of
    // Target: the item's track moves to the end of Target's list. Foreign sources and drags
    // without a selected item do nothing.
    void DropItem(TKVTrackHand Target, const TObject* Source, int SourceIndex);

    // Raised after a track was switched on or off by the user, with the list as Sender.
    TNotifyEvent OnTrackClick;

protected:
    // Hooks for the window. TrackList gives the object standing for a hand's list: the drag's
    // source and OnTrackClick's Sender.
    virtual TObject* TrackList(TKVTrackHand Hand) const { return &FModelLists[Hand]; }
    virtual void ItemsChanged(TKVTrackHand /*Hand*/) {}
    virtual void CaptionChanged(TKVTrackHand /*Hand*/) {}

private:
    class TKVTrackListModel : public TObject {
    public:
        std::string ClassName() const override { return "TKVTrackListModel"; }
    };

    TMyMidiTrack* SongTrack(int iTrack) const;
    void MoveTrack(TMyMidiTrack& Track, TKVTrackHand Value);
    void RecolourHand(TKVTrackHand Hand);
    // The hand whose list Source is; false for an object that is none of them.
    bool ListHand(const TObject* Source, TKVTrackHand& Hand) const;

    TKVMidiFile* FMidiFile = nullptr;
    TKVSongWatch FSongWatch;
    std::array<std::vector<TKVTrackItem>, 2> FItems;
    mutable std::array<TKVTrackListModel, 2> FModelLists;
    std::string FCaptionR = "Right";
    std::string FCaptionL = "Left";
    TColor FHandColorR = HandColorRDefault;
    TColor FHandColorL = HandColorLDefault;
};

} // namespace kv
