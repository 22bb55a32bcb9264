#include "piano/win/kvPianoTracks.h"

#include <algorithm>

namespace kv {

namespace {

// The list's distance to its group box's edges, below the caption.
constexpr std::int32_t ListMargin = 6;
constexpr std::int32_t ListTop = 16;

} // namespace

TKVPianoTracks::TKVPianoTracks(TComponent* AOwner) : TPanel(AOwner)
{
    SetBounds(0, 0, 260, 80);
    for (TKVTrackHand hand : {thLeft, thRight}) {
        auto* group = new TGroupBox(this);
        group->SetName(hand == thLeft ? "grpL" : "grpR");
        group->SetCaption(hand == thLeft ? CaptionL() : CaptionR());
        group->SetParent(this);
        FGroupBoxes[hand] = group;
    }
    FSplitter = new TSplitter(this);
    FSplitter->SetName("Splitter1");
    FSplitter->SetControl(FGroupBoxes[thLeft]);
    FSplitter->SetParent(this);
    FSplitter->OnMoved = [this](TObject*) { PlaceRightGroupBox(); };
    PlaceGroupBoxes();
    for (TKVTrackHand hand : {thLeft, thRight}) {
        TGroupBox* group = FGroupBoxes[hand];
        auto* list = new TCheckListBox(this);
        list->SetName(hand == thLeft ? "chklstL" : "chklstR");
        list->SetTag(hand);
        list->SetBounds(ListMargin, ListTop, group->Width() - 2 * ListMargin, group->Height() - ListTop - ListMargin);
        list->SetAnchors(akLeft | akTop | akRight | akBottom);
        list->SetParent(group);
        list->OnClickCheck = [this, hand](TObject*, int Index) { ToggleItem(hand, Index); };
        list->SetDragMode(dmAutomatic);
        list->OnDragOver = [this](TObject*, TObject* Source, std::int32_t, std::int32_t, bool& Accept) {
            ListDragOver(Source, Accept);
        };
        list->OnDragDrop = [this, hand](TObject*, TObject* Source, std::int32_t, std::int32_t) { ListDragDrop(hand, Source); };
        FPianoTracks[hand] = list;
    }
}

void TKVPianoTracks::PlaceGroupBoxes()
{
    if (!FSplitter) return;
    const std::int32_t half = Width() / 2;
    FGroupBoxes[thLeft]->SetBounds(0, 0, half, Height());
    FSplitter->SetBounds(half, 0, FSplitter->Width(), Height());
    PlaceRightGroupBox();
}

void TKVPianoTracks::PlaceRightGroupBox()
{
    const std::int32_t left = FSplitter->Left() + FSplitter->Width();
    FGroupBoxes[thRight]->SetBounds(left, 0, std::max(0, Width() - left), Height());
}

void TKVPianoTracks::ListDragOver(TObject* Source, bool& Accept) const { Accept = AcceptsDrag(Source); }

void TKVPianoTracks::ListDragDrop(TKVTrackHand Target, TObject* Source)
{
    int index = -1;
    for (TCheckListBox* list : FPianoTracks)
        if (list == Source) index = list->ItemIndex();
    DropItem(Target, Source, index);
}

void TKVPianoTracks::Resize()
{
    PlaceGroupBoxes();
    TPanel::Resize();
}

void TKVPianoTracks::ItemsChanged(TKVTrackHand Hand)
{
    TCheckListBox* list = FPianoTracks[Hand];
    if (!list) return;
    const auto& items = Items(Hand);
    bool sameTexts = list->Count() == static_cast<int>(items.size());
    for (int i = 0; sameTexts && i < list->Count(); ++i)
        sameTexts = list->Items(i) == items[static_cast<std::size_t>(i)].Text;
    if (sameTexts) {
        // Only check states changed: the selection stays.
        for (int i = 0; i < list->Count(); ++i) list->SetChecked(i, items[static_cast<std::size_t>(i)].Checked);
        return;
    }
    list->Clear();
    for (const TKVTrackItem& item : items) list->AddItem(item.Text, item.Checked);
}

void TKVPianoTracks::CaptionChanged(TKVTrackHand Hand)
{
    if (FGroupBoxes[Hand]) FGroupBoxes[Hand]->SetCaption(Hand == thLeft ? CaptionL() : CaptionR());
}

} // namespace kv
