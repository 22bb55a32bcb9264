#pragma once
// The hands panel: two group boxes side by side, "grpL" and "grpR", each with a check list of the
// tracks of its hand, with the splitter "Splitter1" between them. What it decides lives in
// TKVPianoTracksCore; this class adds the windows and passes a toggled check box and an item
// dragged onto a list to the core.
#include "gui/win/TCheckListBox.h"
#include "gui/win/TGroupBox.h"
#include "gui/win/TPanel.h"
#include "gui/win/TSplitter.h"
#include "piano/kvPianoTracksCore.h"

#include <array>

namespace kv {

class TKVPianoTracks : public TPanel, public TKVPianoTracksCore {
public:
    explicit TKVPianoTracks(TComponent* AOwner);
    std::string ClassName() const override { return "TKVPianoTracks"; }

    TGroupBox* GroupBox(TKVTrackHand Hand) const { return FGroupBoxes[Hand]; }
    TCheckListBox* List(TKVTrackHand Hand) const { return FPianoTracks[Hand]; }
    TSplitter* Splitter() const { return FSplitter; }

protected:
    TObject* TrackList(TKVTrackHand Hand) const override { return FPianoTracks[Hand]; }
    void ItemsChanged(TKVTrackHand Hand) override;
    void CaptionChanged(TKVTrackHand Hand) override;
    // The left group box takes half the width, the splitter follows it, the right one the rest.
    void Resize() override;

private:
    void PlaceGroupBoxes();
    void PlaceRightGroupBox();
    void ListDragOver(TObject* Source, bool& Accept) const;
    void ListDragDrop(TKVTrackHand Target, TObject* Source);

    std::array<TGroupBox*, 2> FGroupBoxes{};
    std::array<TCheckListBox*, 2> FPianoTracks{};
    TSplitter* FSplitter = nullptr;
};

} // namespace kv
