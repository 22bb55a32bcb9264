// The hands and channel panels in real windows: the core's lists and channels shown by real
// controls, the user's clicks, keys and slider moves passed to the core, one event per change.
#include "piano/win/kvPianoChannels.h"
#include "piano/win/kvPianoTracks.h"

#include "gui/win/TApplication.h"
#include "gui/win/TForm.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

std::wstring WindowText(HWND wnd)
{
    wchar_t text[64] = {};
    GetWindowTextW(wnd, text, 64);
    return text;
}

// Both panels on one form, as the options window has them on its pages.
class PianoPanels : public ::testing::Test {
protected:
    // Dragging needs the mouse capture, which Wine grants only to the foreground window's thread:
    // the suite's windows live on a desktop of their own, whose foreground nobody else takes.
    static void SetUpTestSuite()
    {
        static HDESK desktop = CreateDesktopW(L"KvPianoPanelsTest", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (desktop) SetThreadDesktop(desktop);
    }
    PianoPanels()
    {
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        form = new TForm(&owner);
        form->SetClientSize(290, 200);
        form->Show();
        tracks = new TKVPianoTracks(form);
        tracks->SetBounds(5, 5, 260, 90);
        tracks->SetParent(form);
        channels = new TKVPianoChannels(form);
        channels->SetBounds(5, 105, 265, 76);
        channels->SetParent(form);
        tracks->OnTrackClick = [this](TObject* sender) { trackClicks.push_back(sender); };
        channels->OnChannelChange = [this](TObject* sender) { channelEvents.emplace_back("change", sender); };
        channels->OnChannelClick = [this](TObject* sender) { channelEvents.emplace_back("click", sender); };
        Pump();
    }
    ~PianoPanels() override { Application()->OnException = nullptr; }
    static void Pump() { Application()->ProcessMessages(); }

    // A song of Count tracks, track i named "T<i>", every track on the left and active, listed.
    void FillSong(int Count)
    {
        for (int i = 0; i < Count; ++i) {
            auto track = std::make_unique<TMyMidiTrack>();
            track->SetTrackIndex(i);
            track->SetTrackName("T" + std::to_string(i));
            song.SetTrack(std::move(track));
        }
        tracks->SetMidiFile(&song);
        tracks->ClearTracks();
        for (int i = 0; i < song.TrackCount(); ++i) tracks->AddTrack(song.GetTrack(i));
    }
    // The texts and check states the list's window shows.
    std::vector<std::string> Shown(TKVTrackHand hand)
    {
        TCheckListBox* list = tracks->List(hand);
        std::vector<std::string> shown;
        EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), list->Count());
        for (int i = 0; i < list->Count(); ++i) shown.push_back(list->Items(i) + (list->Checked(i) ? " +" : " -"));
        return shown;
    }
    void ClickAt(TCheckListBox* list, int index, int x)
    {
        const TRect r = list->ItemRect(index);
        const int y = (r.Top + r.Bottom) / 2;
        PostMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.Left + x, y));
        PostMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.Left + x, y));
        Pump();
    }
    static LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }
    // Presses the left button on the text of item Index of From, moves the mouse FirstMove pixels
    // to the right and on to the screen point Drop and releases it there, as the mouse would send
    // it to the list that has the capture. A first move below the drag threshold releases the
    // button where that move ended.
    void DragItem(TCheckListBox* from, int index, POINT drop, int firstMove = 10)
    {
        const TRect r = from->ItemRect(index);
        const POINT press{r.Left + TCheckListBox::CheckAreaWidth + 20, (r.Top + r.Bottom) / 2};
        const POINT moved{press.x + firstMove, press.y};
        POINT release = drop;
        ScreenToClient(from->Handle(), &release);
        if (firstMove < GetSystemMetrics(SM_CXDRAG)) release = moved;
        PostMessageW(from->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(press));
        PostMessageW(from->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(moved));
        PostMessageW(from->Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(release));
        PostMessageW(from->Handle(), WM_LBUTTONUP, 0, At(release));
        Pump();
    }
    // The middle of a control's window on the screen.
    static POINT Middle(TWinControl* control)
    {
        RECT r;
        GetWindowRect(control->Handle(), &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void ClickCheck(TKVTrackHand hand, int index) { ClickAt(tracks->List(hand), index, TCheckListBox::CheckAreaWidth / 2); }
    void ClickText(TKVTrackHand hand, int index) { ClickAt(tracks->List(hand), index, TCheckListBox::CheckAreaWidth + 20); }

    TComponent owner{nullptr};
    TForm* form = nullptr;
    TKVPianoTracks* tracks = nullptr;
    TKVPianoChannels* channels = nullptr;
    TKVMidiFile song{nullptr};
    std::vector<std::string> errors;
    std::vector<TObject*> trackClicks;
    std::vector<std::pair<std::string, TObject*>> channelEvents;
};

// --- hands panel ---

TEST_F(PianoPanels, HandsPanelShowsTheListsOfBothHandsInItsGroupBoxes)
{
    EXPECT_EQ(tracks->GroupBox(thLeft)->Name(), "grpL");
    EXPECT_EQ(tracks->GroupBox(thRight)->Name(), "grpR");
    EXPECT_EQ(tracks->List(thLeft)->Name(), "chklstL");
    EXPECT_EQ(tracks->List(thRight)->Tag(), 1);
    EXPECT_EQ(WindowText(tracks->GroupBox(thLeft)->Handle()), L"Left");
    EXPECT_EQ(WindowText(tracks->GroupBox(thRight)->Handle()), L"Right");
    EXPECT_EQ(GetParent(tracks->List(thRight)->Handle()), tracks->GroupBox(thRight)->Handle());

    FillSong(4);
    song.GetTrack(2)->SetActive(false);
    tracks->SetTrackHand(2, thRight);
    tracks->SetTrackHand(0, thRight);
    EXPECT_EQ(Shown(thLeft), (std::vector<std::string>{"[01] T1 +", "[03] T3 +"}));
    EXPECT_EQ(Shown(thRight), (std::vector<std::string>{"[02] T2 -", "[00] T0 +"}));
    tracks->DelTrack(song.GetTrack(0));
    EXPECT_EQ(Shown(thRight), (std::vector<std::string>{"[02] T2 -"}));
    tracks->ClearTracks();
    EXPECT_TRUE(Shown(thLeft).empty());
    EXPECT_TRUE(Shown(thRight).empty());

    tracks->SetCaptionL("Links");
    tracks->SetCaptionR("Rechts");
    EXPECT_EQ(WindowText(tracks->GroupBox(thLeft)->Handle()), L"Links");
    EXPECT_EQ(WindowText(tracks->GroupBox(thRight)->Handle()), L"Rechts");
    EXPECT_TRUE(trackClicks.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoPanels, HandsPanelGivesTheLeftGroupBoxHalfItsWidth)
{
    for (int width : {260, 301, 120}) {
        tracks->SetWidth(width);
        EXPECT_EQ(tracks->GroupBox(thLeft)->BoundsRect(), Rect(0, 0, width / 2, 90)) << width;
        EXPECT_EQ(tracks->Splitter()->BoundsRect(), Rect(width / 2, 0, width / 2 + 3, 90)) << width;
        EXPECT_EQ(tracks->GroupBox(thRight)->BoundsRect(), Rect(width / 2 + 3, 0, width, 90)) << width;
        RECT r;
        GetWindowRect(tracks->List(thRight)->Handle(), &r);
        EXPECT_EQ(r.right - r.left, width - width / 2 - 3 - 12) << width;
    }
}

TEST_F(PianoPanels, AToggledCheckBoxSwitchesTheTrackOfTheItemHit)
{
    // Left: T1, T3; right: T0, T2.
    FillSong(4);
    tracks->SetTrackHand(0, thRight);
    tracks->SetTrackHand(2, thRight);
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<bool> active;
        std::vector<TKVTrackHand> senders;
    };
    const auto space = [this](TKVTrackHand hand) {
        PostMessageW(tracks->List(hand)->Handle(), WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(tracks->List(hand)->Handle(), WM_KEYUP, VK_SPACE, 0);
        Pump();
    };
    // Each case starts from the state the one before it left.
    const std::vector<Case> cases = {
        {"the box of the right list's second item", [&] { ClickCheck(thRight, 1); }, {true, true, false, true}, {thRight}},
        {"a click at a text toggles nothing", [&] { ClickText(thLeft, 1); }, {true, true, false, true}, {}},
        {"the box of an item other than the selected one", [&] { ClickCheck(thLeft, 0); },
         {true, false, false, true}, {thLeft}},
        {"the same box again", [&] { ClickCheck(thLeft, 0); }, {true, true, false, true}, {thLeft}},
        {"the space bar on the focused item", [&] { ClickText(thRight, 0); space(thRight); },
         {false, true, false, true}, {thRight}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        trackClicks.clear();
        c.act();
        std::vector<bool> active;
        for (int i = 0; i < 4; ++i) active.push_back(song.GetTrack(i)->Active());
        EXPECT_EQ(active, c.active);
        std::vector<TObject*> senders;
        for (TKVTrackHand hand : c.senders) senders.push_back(tracks->List(hand));
        EXPECT_EQ(trackClicks, senders);
        // The lists show the core's states.
        for (TKVTrackHand hand : {thLeft, thRight})
            for (int i = 0; i < tracks->List(hand)->Count(); ++i)
                EXPECT_EQ(tracks->List(hand)->Checked(i), tracks->Items(hand)[static_cast<std::size_t>(i)].Checked);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoPanels, DraggingAnItemOntoAListMovesItsTrackToThatHand)
{
    // Left: T1, T3; right: T0, T2.
    FillSong(4);
    tracks->SetTrackHand(0, thRight);
    tracks->SetTrackHand(2, thRight);
    using Lists = std::pair<std::vector<std::string>, std::vector<std::string>>;
    struct Case {
        const char* name;
        TKVTrackHand from;
        int index;
        std::function<POINT()> drop;
        int firstMove;
        Lists shown;
    };
    const auto onList = [this](TKVTrackHand hand) { return [this, hand] { return Middle(tracks->List(hand)); }; };
    const auto onGroupCaption = [this] {
        RECT r;
        GetWindowRect(tracks->GroupBox(thLeft)->Handle(), &r);
        return POINT{r.left + 30, r.top + 4};
    };
    // Each case starts from the state the one before it left.
    const std::vector<Case> cases = {
        {"right's second item onto the left list", thRight, 1, onList(thLeft), 10,
         {{"[01] T1 +", "[03] T3 +", "[02] T2 +"}, {"[00] T0 +"}}},
        {"left's first item onto the right list", thLeft, 0, onList(thRight), 10,
         {{"[03] T3 +", "[02] T2 +"}, {"[00] T0 +", "[01] T1 +"}}},
        {"an item onto its own list goes to its end", thLeft, 0, onList(thLeft), 10,
         {{"[02] T2 +", "[03] T3 +"}, {"[00] T0 +", "[01] T1 +"}}},
        {"a move below the drag threshold drags nothing", thRight, 0, onList(thRight), 1,
         {{"[02] T2 +", "[03] T3 +"}, {"[00] T0 +", "[01] T1 +"}}},
        {"a drop beside the lists is taken by none", thRight, 0, onGroupCaption, 10,
         {{"[02] T2 +", "[03] T3 +"}, {"[00] T0 +", "[01] T1 +"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.firstMove > 1) {
            // The press selects the dragged item; a selection elsewhere must not matter.
            tracks->List(c.from)->SetItemIndex(c.index == 0 ? 1 : 0);
        }
        DragItem(tracks->List(c.from), c.index, c.drop(), c.firstMove);
        EXPECT_EQ(Lists(Shown(thLeft), Shown(thRight)), c.shown);
        for (TKVTrackHand hand : {thLeft, thRight})
            for (const TKVTrackItem& item : tracks->Items(hand)) {
                EXPECT_EQ(item.Track->TrackHand(), hand) << item.Text;
                EXPECT_EQ(item.Track->TrackColor(), tracks->HandColor(hand)) << item.Text;
            }
    }
    EXPECT_TRUE(GetCapture() == nullptr);
    EXPECT_TRUE(trackClicks.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoPanels, ADragBetweenTheListsAndAForeignListIsRefused)
{
    FillSong(2);
    form->SetClientSize(420, 200);
    auto* foreign = new TCheckListBox(form);
    foreign->SetBounds(290, 5, 120, 90);
    foreign->SetParent(form);
    foreign->SetDragMode(dmAutomatic);
    foreign->AddItem("[00] T0", true);
    std::vector<TObject*> foreignDrops;
    foreign->OnDragDrop = [&](TObject*, TObject* source, std::int32_t, std::int32_t) { foreignDrops.push_back(source); };
    Pump();

    DragItem(foreign, 0, Middle(tracks->List(thRight)));
    EXPECT_EQ(Shown(thLeft), (std::vector<std::string>{"[00] T0 +", "[01] T1 +"}));
    EXPECT_TRUE(Shown(thRight).empty());
    EXPECT_EQ(song.GetTrack(0)->TrackHand(), thLeft);
    // Nor does the foreign list, which asks nothing, take an item of the panel.
    DragItem(tracks->List(thLeft), 0, Middle(foreign));
    EXPECT_EQ(Shown(thLeft), (std::vector<std::string>{"[00] T0 +", "[01] T1 +"}));
    EXPECT_TRUE(foreignDrops.empty());
    EXPECT_FALSE(tracks->List(thRight)->DragOver(foreign, 0, 0));
    EXPECT_TRUE(tracks->List(thRight)->DragOver(tracks->List(thLeft), 0, 0));
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoPanels, TheSplitterSizesTheGroupBoxesWithinTheirLeastWidth)
{
    struct Case {
        int dx;
        int leftWidth;
    };
    // Each case starts where the one before it left the splitter; the panel is 260 wide, the
    // splitter 3, each side keeps at least 30.
    const std::vector<Case> cases = {{-40, 90}, {25, 115}, {500, 227}, {-500, 30}, {0, 30}};
    HWND splitter = tracks->Splitter()->Handle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        PostMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 40));
        PostMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + c.dx, 40));
        PostMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(1 + c.dx, 40));
        Pump();
        EXPECT_EQ(tracks->GroupBox(thLeft)->BoundsRect(), Rect(0, 0, c.leftWidth, 90));
        EXPECT_EQ(tracks->Splitter()->Left(), c.leftWidth);
        EXPECT_EQ(tracks->GroupBox(thRight)->BoundsRect(), Rect(c.leftWidth + 3, 0, 260, 90));
        RECT r;
        GetWindowRect(tracks->List(thLeft)->Handle(), &r);
        EXPECT_EQ(r.right - r.left, c.leftWidth - 12);
        GetWindowRect(tracks->List(thRight)->Handle(), &r);
        EXPECT_EQ(r.right - r.left, 260 - c.leftWidth - 3 - 12);
    }
    EXPECT_TRUE(GetCapture() == nullptr);
    // Resizing the panel halves it again.
    tracks->SetWidth(300);
    EXPECT_EQ(tracks->GroupBox(thLeft)->Width(), 150);
    EXPECT_EQ(tracks->GroupBox(thRight)->Left(), 153);
    EXPECT_TRUE(errors.empty());
}

// --- channel panel ---

TEST_F(PianoPanels, ChannelPanelMakesItsControlsWhereTheCorePlacesThem)
{
    for (int i = 0; i < ChannelCount; ++i) {
        SCOPED_TRACE(i);
        TTrackBar* bar = channels->ChannelSlider(i);
        TCheckBox* box = channels->ChannelBox(i);
        EXPECT_EQ(bar->Name(), "trbChannel" + std::to_string(i));
        EXPECT_EQ(box->Name(), "chkChannel" + std::to_string(i));
        EXPECT_EQ(bar->Tag(), i);
        EXPECT_EQ(box->Tag(), i);
        EXPECT_EQ(bar->BoundsRect(), channels->Slider(i).Bounds);
        EXPECT_EQ(box->BoundsRect(), channels->Box(i).Bounds);
        EXPECT_EQ(box->Hint(), std::to_string(i + 1));
        EXPECT_TRUE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & TBS_VERT);
        EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETPOS, 0, 0), 0);
        EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETRANGEMAX, 0, 0), ChannelPositionMax);
        EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED, i == 0);
        EXPECT_TRUE(channels->GetChannelActive(i) == (i == 0));
    }
    EXPECT_EQ(channels->ChannelBox(PercussionChannel)->Color(), PercussionBoxColor);
    EXPECT_TRUE(channelEvents.empty());
}

TEST_F(PianoPanels, ChannelChangesFromEitherSideRaiseOneEventAndShowInBoth)
{
    const auto slider = [this](int ch) -> TObject* { return channels->ChannelSlider(ch); };
    const auto box = [this](int ch) -> TObject* { return channels->ChannelBox(ch); };
    using Events = std::vector<std::pair<std::string, TObject*>>;
    struct Case {
        const char* name;
        std::function<void()> act;
        Events events;
    };
    const auto userMove = [this](int ch, int pos) {
        HWND bar = channels->ChannelSlider(ch)->Handle();
        SendMessageW(bar, TBM_SETPOS, TRUE, pos);
        SendMessageW(channels->Handle(), WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(bar));
        SendMessageW(channels->Handle(), WM_VSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(bar));
    };
    // Each case starts from the state the one before it left.
    const std::vector<Case> cases = {
        {"DoChannelEvent(3, 100)", [&] { channels->DoChannelEvent(3, 100); }, {{"change", slider(3)}}},
        {"DoChannelEvent(3, 100) again", [&] { channels->DoChannelEvent(3, 100); }, {}},
        {"the user drags slider 4", [&] { userMove(4, 60); }, {{"change", slider(4)}}},
        {"the down key on slider 4", [&] {
             PostMessageW(channels->ChannelSlider(4)->Handle(), WM_KEYDOWN, VK_DOWN, 0);
             PostMessageW(channels->ChannelSlider(4)->Handle(), WM_KEYUP, VK_DOWN, 0);
             Pump();
         }, {{"change", slider(4)}}},
        {"BM_CLICK on box 5", [&] { SendMessageW(channels->ChannelBox(5)->Handle(), BM_CLICK, 0, 0); }, {{"click", box(5)}}},
        {"a mouse click on box 5", [&] {
             PostMessageW(channels->ChannelBox(5)->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
             PostMessageW(channels->ChannelBox(5)->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 8));
             Pump();
         }, {{"click", box(5)}}},
        {"DoChannelBox(9, true)", [&] { channels->DoChannelBox(9, true); }, {{"click", box(9)}}},
        {"DoChannelBox(9, false)", [&] { channels->DoChannelBox(9, false); }, {{"click", box(9)}, {"change", slider(9)}}},
        {"ResetChannel(false)", [&] { channels->ResetChannel(false); }, {{"change", slider(3)}, {"change", slider(4)}, {"change", slider(9)}}},
    };
    const std::vector<std::vector<int>> positions = {
        {3, 27}, {3, 27}, {4, 60}, {4, 61}, {4, 61}, {4, 61}, {9, 0}, {9, 127}, {9, 0}};
    const std::vector<bool> box5 = {false, false, false, false, true, false, false, false, false};
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.name);
        channelEvents.clear();
        c.act();
        EXPECT_EQ(channelEvents, c.events);
        const int ch = positions[k][0], pos = positions[k][1];
        EXPECT_EQ(channels->Slider(ch).Position, pos);
        EXPECT_EQ(channels->ChannelSlider(ch)->Position(), pos);
        EXPECT_EQ(SendMessageW(channels->ChannelSlider(ch)->Handle(), TBM_GETPOS, 0, 0), pos);
        EXPECT_EQ(channels->GetChannelActive(5), box5[k]);
        EXPECT_EQ(SendMessageW(channels->ChannelBox(5)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED, box5[k]);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(PianoPanels, ALayoutChangeMakesTheControlsAnewAtTheirNewPlaces)
{
    channels->DoChannelBox(7, true);
    channels->DoChannelEvent(2, 5);
    HWND oldBar = channels->ChannelSlider(1)->Handle();
    HWND oldBox = channels->ChannelBox(7)->Handle();
    channelEvents.clear();
    channels->SetChannelSpace(0);
    EXPECT_FALSE(IsWindow(oldBar));
    EXPECT_FALSE(IsWindow(oldBox));
    EXPECT_EQ(channels->ChannelSlider(1)->Left(), 12);
    EXPECT_EQ(channels->ChannelBox(15)->Left(), 96);
    for (int i = 0; i < ChannelCount; ++i) {
        EXPECT_EQ(SendMessageW(channels->ChannelSlider(i)->Handle(), TBM_GETPOS, 0, 0), 0) << i;
        EXPECT_EQ(channels->ChannelBox(i)->Checked(), i == 0) << i;
    }
    // The new controls are the events' senders: every slider moved to the top, channel 0 checked.
    ASSERT_EQ(channelEvents.size(), 17u);
    EXPECT_EQ(channelEvents[0], std::make_pair(std::string("change"), static_cast<TObject*>(channels->ChannelSlider(0))));
    EXPECT_EQ(channelEvents[16], std::make_pair(std::string("click"), static_cast<TObject*>(channels->ChannelBox(0))));
    EXPECT_TRUE(errors.empty());
}

} // namespace
} // namespace kv
