// The wrapped system controls in real windows: every real change of a check box, a track bar or
// a check list's item raises its event once, whether the user, a message or the program made it;
// no change raises nothing.
#include "base/Exceptions.h"
#include "gui/win/TApplication.h"
#include "gui/win/TCheckBox.h"
#include "gui/win/TCheckListBox.h"
#include "gui/win/TForm.h"
#include "gui/win/TGroupBox.h"
#include "gui/win/TLabel.h"
#include "gui/win/TProgressBar.h"
#include "gui/win/TTrackBar.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kv {
namespace {

// A shown form to put the controls on; exceptions that reach the application are collected.
struct FormHarness {
    FormHarness()
    {
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        form = new TForm(&owner);
        form->SetClientSize(300, 200);
        form->Show();
    }
    ~FormHarness() { Application()->OnException = nullptr; }
    static void Pump() { Application()->ProcessMessages(); }
    // A left click posted to the window at (x, y) of its client area.
    static void PostClick(HWND wnd, int x, int y)
    {
        PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }
    static std::wstring WindowText(HWND wnd)
    {
        wchar_t text[64] = {};
        GetWindowTextW(wnd, text, 64);
        return text;
    }

    TComponent owner{nullptr};
    TForm* form = nullptr;
    std::vector<std::string> errors;
};

struct StandardControls : ::testing::Test, FormHarness {};

// --- label ---

TEST_F(StandardControls, ALabelGrowsToItsTextKeepingTheEdgeItIsAlignedTo)
{
    struct Case {
        TAlignment alignment;
        const char* caption;
        bool grows;
    };
    for (const Case& c : {Case{taRightJustify, "Key:", false}, Case{taRightJustify, "A caption far wider than its box", true},
                          Case{taLeftJustify, "A caption far wider than its box", true}}) {
        auto* label = new TLabel(form);
        label->SetAlignment(c.alignment);
        label->SetCaption(c.caption);
        label->SetBounds(100, 10, 42, 13);
        label->SetParent(form);
        const std::int32_t needed = label->TextWidth();
        if (!c.grows) {
            // Where the text fits, the box stays as it was given.
            EXPECT_EQ(label->BoundsRect(), Rect(100, 10, 142, 23)) << c.caption;
        } else if (c.alignment == taRightJustify) {
            EXPECT_EQ(label->BoundsRect(), Rect(142 - needed, 10, 142, 23)) << c.caption;
        } else {
            EXPECT_EQ(label->BoundsRect(), Rect(100, 10, 100 + needed, 23)) << c.caption;
        }
        // A caption set later grows the label too.
        label->SetCaption(std::string(c.caption) + " and more");
        EXPECT_GE(label->Width(), label->TextWidth()) << c.caption;
    }
    EXPECT_TRUE(errors.empty());
}

// --- read-outs ---

// A read-out changed with every tick of a playing song (the time, the song's bar) gives the system
// its new state at once and draws it with the next paint, not before returning.
TEST_F(StandardControls, ReadOutsTakeANewValueAtOnceAndDrawItWithTheNextPaint)
{
    auto* label = new TLabel(form);
    label->SetBounds(10, 10, 80, 13);
    label->SetParent(form);
    auto* bar = new TProgressBar(form);
    bar->SetBounds(10, 40, 200, 16);
    bar->SetParent(form);
    bar->SetRange(0, 100000); // 500 a pixel
    const auto drawn = [](TWinControl* c) {
        RECT r;
        return GetUpdateRect(c->Handle(), &r, FALSE) == FALSE;
    };
    const auto given = [&] { return SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0); };
    Pump();
    ASSERT_TRUE(drawn(label) && drawn(bar));

    label->SetCaption("0:01:02.345");
    bar->SetPosition(50000);
    EXPECT_EQ(WindowText(label->Handle()), L"0:01:02.345");
    EXPECT_EQ(given(), 50000);
    EXPECT_FALSE(drawn(label));
    EXPECT_FALSE(drawn(bar));
    Pump();
    EXPECT_TRUE(drawn(label) && drawn(bar));

    // Within the same pixel the bar keeps the position and has nothing to draw; a new width gives
    // the control the exact position.
    bar->SetPosition(50100);
    EXPECT_EQ(bar->Position(), 50100);
    EXPECT_EQ(given(), 50000);
    EXPECT_TRUE(drawn(bar));
    bar->SetBounds(10, 40, 400, 16);
    EXPECT_EQ(given(), 50100);

    // A hidden bar takes the position and stays hidden.
    bar->SetVisible(false);
    bar->SetPosition(90000);
    EXPECT_EQ(given(), 90000);
    EXPECT_FALSE(IsWindowVisible(bar->Handle()));

    // The label measures its text as its own window draws it.
    HDC dc = GetDC(label->Handle());
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label->Handle(), WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, L"0:01:02.345", 11, &size);
    SelectObject(dc, old);
    ReleaseDC(label->Handle(), dc);
    EXPECT_EQ(label->TextWidth(), size.cx);
    EXPECT_TRUE(errors.empty());
}

// --- check box ---

struct CheckBoxCase {
    const char* name;
    bool checkedBefore;
    std::function<void(TCheckBox&)> act;
    bool checkedAfter;
    int clicks;
};

TEST_F(StandardControls, CheckBoxRaisesOnClickOncePerRealChange)
{
    const auto post = [](TCheckBox& box, UINT msg, WPARAM wp) {
        PostMessageW(box.Handle(), msg, wp, 0);
        Pump();
    };
    const std::vector<CheckBoxCase> cases = {
        {"BM_CLICK on an unchecked box", false, [](TCheckBox& b) { SendMessageW(b.Handle(), BM_CLICK, 0, 0); }, true, 1},
        {"BM_CLICK on a checked box", true, [](TCheckBox& b) { SendMessageW(b.Handle(), BM_CLICK, 0, 0); }, false, 1},
        {"SetChecked(true)", false, [](TCheckBox& b) { b.SetChecked(true); }, true, 1},
        {"SetChecked(false) on a checked box", true, [](TCheckBox& b) { b.SetChecked(false); }, false, 1},
        {"SetChecked of the state it has", true, [](TCheckBox& b) { b.SetChecked(true); }, true, 0},
        {"SetChecked(true) twice", false, [](TCheckBox& b) { b.SetChecked(true); b.SetChecked(true); }, true, 1},
        {"SetChecked there and back", false, [](TCheckBox& b) { b.SetChecked(true); b.SetChecked(false); }, false, 2},
        {"a mouse click", false, [](TCheckBox& b) { PostClick(b.Handle(), 5, 8); }, true, 1},
        {"the space bar", false,
         [&](TCheckBox& b) {
             SetFocus(b.Handle());
             post(b, WM_KEYDOWN, VK_SPACE);
             post(b, WM_KEYUP, VK_SPACE);
         },
         true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TCheckBox box(nullptr);
        box.SetBounds(10, 10, 120, 17);
        box.SetCaption("Box");
        box.SetChecked(c.checkedBefore); // before its window: no handler yet
        box.SetParent(form);
        int clicks = 0;
        box.OnClick = [&](TObject* sender) {
            EXPECT_EQ(sender, &box);
            ++clicks;
        };
        Pump();
        c.act(box);
        Pump();
        EXPECT_EQ(box.Checked(), c.checkedAfter);
        EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED, c.checkedAfter);
        EXPECT_EQ(clicks, c.clicks);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(StandardControls, AnExceptionInAControlsEventStopsAtItsWindow)
{
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->OnClick = [](TObject*) { throw std::runtime_error("click failed on purpose"); };
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors.front(), "click failed on purpose");
    EXPECT_TRUE(box->Checked());
    // The form and the box still work.
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(box->Checked());
}

TEST_F(StandardControls, CheckBoxFillsItsBackgroundWithItsColour)
{
    const TColor green = 0xC0DCC0;
    for (TColor color : {green, clBtnFace}) {
        SCOPED_TRACE(color);
        TCheckBox box(nullptr);
        box.SetBounds(10, 10, 60, 17);
        box.SetColor(color);
        box.SetParent(form);
        box.Repaint();
        Pump();
        HDC dc = GetDC(box.Handle());
        const COLORREF pixel = GetPixel(dc, 50, 8);
        ReleaseDC(box.Handle(), dc);
        EXPECT_EQ(pixel, ColorToRGB(color));
    }
}

// --- group box ---

TEST_F(StandardControls, GroupBoxShowsItsCaptionAndPassesItsChildrensNotificationsOn)
{
    auto* group = new TGroupBox(form);
    group->SetCaption("Left");
    group->SetBounds(5, 5, 150, 100);
    group->SetParent(form);
    EXPECT_EQ(WindowText(group->Handle()), L"Left");
    EXPECT_EQ(GetWindowLongPtrW(group->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    group->SetCaption("Links");
    EXPECT_EQ(WindowText(group->Handle()), L"Links");

    auto* box = new TCheckBox(form);
    box->SetBounds(8, 20, 100, 17);
    box->SetParent(group);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetParent(box->Handle()), group->Handle());

    HWND groupWindow = group->Handle(), boxWindow = box->Handle();
    delete group;
    EXPECT_FALSE(IsWindow(groupWindow));
    EXPECT_FALSE(IsWindow(boxWindow));
    delete box; // its window went with its parent's
    EXPECT_TRUE(errors.empty());
}

// --- track bar ---

// A track bar as the channel panel has them, on its own on the form; it goes with the rig.
struct TrackBarRig {
    explicit TrackBarRig(TForm* AForm) : form(AForm)
    {
        bar = new TTrackBar(form);
        bar->SetOrientation(trVertical);
        bar->SetTicksBoth(true);
        bar->SetNoTicks(true);
        bar->SetThumbLength(10);
        bar->SetBounds(10, 10, 15, 66);
        bar->SetRange(0, 127);
        bar->SetPosition(127);
        bar->SetParent(form);
        bar->OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, bar);
            changes.push_back(bar->Position());
        };
        FormHarness::Pump();
    }
    ~TrackBarRig() { delete bar; }
    TrackBarRig(const TrackBarRig&) = delete;
    TrackBarRig& operator=(const TrackBarRig&) = delete;
    int WindowPosition() { return static_cast<int>(SendMessageW(bar->Handle(), TBM_GETPOS, 0, 0)); }
    void Notify(WPARAM code)
    {
        SendMessageW(form->Handle(), WM_VSCROLL, code, reinterpret_cast<LPARAM>(bar->Handle()));
    }

    TForm* form;
    TTrackBar* bar = nullptr;
    std::vector<int> changes;
};

TEST(TrackBar, IsMadeVerticalWithItsRangeAndPosition)
{
    FormHarness h;
    TrackBarRig f(h.form);
    TTrackBar* bar = f.bar;
    const LONG_PTR style = GetWindowLongPtrW(bar->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & TBS_VERT);
    EXPECT_TRUE(style & TBS_BOTH);
    EXPECT_TRUE(style & TBS_NOTICKS);
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETRANGEMAX, 0, 0), 127);
    EXPECT_EQ(f.WindowPosition(), 127);
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETTHUMBLENGTH, 0, 0), 10);
    EXPECT_TRUE(f.changes.empty());
}

struct TrackBarCase {
    const char* name;
    std::function<void(TrackBarRig&)> act;
    int position;
    std::vector<int> changes;
};

TEST(TrackBar, RaisesOnChangeOncePerRealChange)
{
    const std::vector<TrackBarCase> cases = {
        {"SetPosition", [](TrackBarRig& f) { f.bar->SetPosition(27); }, 27, {27}},
        {"SetPosition of the position it has", [](TrackBarRig& f) { f.bar->SetPosition(127); }, 127, {}},
        {"SetPosition beyond the range", [](TrackBarRig& f) { f.bar->SetPosition(500); f.bar->SetPosition(-3); }, 0, {0}},
        {"a narrower range", [](TrackBarRig& f) { f.bar->SetRange(0, 100); }, 100, {100}},
        {"TBM_SETPOS, then the thumb's notifications",
         [](TrackBarRig& f) {
             SendMessageW(f.bar->Handle(), TBM_SETPOS, TRUE, 40);
             f.Notify(MAKEWPARAM(TB_THUMBPOSITION, 40));
             f.Notify(TB_ENDTRACK);
         },
         40, {40}},
        {"a notification without a move", [](TrackBarRig& f) { f.Notify(TB_ENDTRACK); }, 127, {}},
        {"the up arrow key, which the bar reports twice",
         [](TrackBarRig& f) {
             SendMessageW(f.bar->Handle(), WM_KEYDOWN, VK_UP, 0);
             SendMessageW(f.bar->Handle(), WM_KEYUP, VK_UP, 0);
         },
         126, {126}},
        {"a posted page key",
         [](TrackBarRig& f) {
             PostMessageW(f.bar->Handle(), WM_KEYDOWN, VK_HOME, 0);
             PostMessageW(f.bar->Handle(), WM_KEYUP, VK_HOME, 0);
             FormHarness::Pump();
         },
         0, {0}},
    };
    FormHarness h;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrackBarRig f(h.form);
        c.act(f);
        FormHarness::Pump();
        EXPECT_EQ(f.bar->Position(), c.position);
        EXPECT_EQ(f.WindowPosition(), c.position);
        EXPECT_EQ(f.changes, c.changes);
    }
    EXPECT_TRUE(h.errors.empty());
}

// --- check list box ---

// A check list of three items, the first checked, on its own on the form; it goes with the rig.
struct CheckListRig {
    explicit CheckListRig(TForm* form)
    {
        list = new TCheckListBox(form);
        list->SetBounds(10, 10, 150, 120);
        list->AddItem("[00] Piano", true);
        list->AddItem("[01] Bass", false);
        list->SetParent(form);
        list->AddItem("[02] Drums", false);
        list->OnClickCheck = [this](TObject* sender, int index) {
            EXPECT_EQ(sender, list);
            toggled.push_back(index);
        };
        FormHarness::Pump();
    }
    ~CheckListRig() { delete list; }
    CheckListRig(const CheckListRig&) = delete;
    CheckListRig& operator=(const CheckListRig&) = delete;
    std::vector<bool> States() const
    {
        std::vector<bool> states;
        for (int i = 0; i < list->Count(); ++i) states.push_back(list->Checked(i));
        return states;
    }
    // A click at the item's check box or at its text.
    void ClickCheck(int index) { ClickAt(index, TCheckListBox::CheckAreaWidth / 2); }
    void ClickText(int index) { ClickAt(index, TCheckListBox::CheckAreaWidth + 20); }
    void ClickAt(int index, int x)
    {
        const TRect r = list->ItemRect(index);
        ASSERT_FALSE(r.Right == r.Left) << "item " << index << " has no rectangle";
        FormHarness::PostClick(list->Handle(), r.Left + x, (r.Top + r.Bottom) / 2);
    }
    void Space()
    {
        PostMessageW(list->Handle(), WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(list->Handle(), WM_CHAR, L' ', 0);
        PostMessageW(list->Handle(), WM_KEYUP, VK_SPACE, 0);
        FormHarness::Pump();
    }

    TCheckListBox* list = nullptr;
    std::vector<int> toggled;
};

TEST(CheckListBox, ShowsItsItemsInTheWindow)
{
    FormHarness h;
    CheckListRig f(h.form);
    TCheckListBox* list = f.list;
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(list->Items(2), "[02] Drums");
    EXPECT_EQ(f.States(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(list->ItemRect(1).Top, TCheckListBox::ItemHeight);
    EXPECT_THROW(list->Items(3), EListError);
    list->Clear();
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
}

// A case's selection that is not looked at.
constexpr int AnySelection = -2;

struct CheckListCase {
    const char* name;
    std::function<void(CheckListRig&)> act;
    std::vector<int> toggled;
    std::vector<bool> states;
    int itemIndex;
};

TEST(CheckListBox, TogglesTheItemHitOrFocusedAndReportsItsIndex)
{
    const std::vector<CheckListCase> cases = {
        {"a click at a check box", [](CheckListRig& f) { f.ClickCheck(1); }, {1}, {true, true, false}, 1},
        {"a click at a checked item's box", [](CheckListRig& f) { f.ClickCheck(0); }, {0}, {false, false, false}, 0},
        {"a click at an item's text", [](CheckListRig& f) { f.ClickText(2); }, {}, {true, false, false}, 2},
        {"a click at a box of an item other than the selected one",
         [](CheckListRig& f) {
             f.ClickText(2);
             f.ClickCheck(1);
         },
         {1}, {true, true, false}, 1},
        {"a click below the last item", [](CheckListRig& f) { FormHarness::PostClick(f.list->Handle(), 5, 110); }, {}, {true, false, false}, AnySelection},
        {"the space bar on the focused item",
         [](CheckListRig& f) {
             f.ClickText(2);
             f.Space();
         },
         {2}, {true, false, true}, 2},
        {"the space bar twice",
         [](CheckListRig& f) {
             f.ClickText(0);
             f.Space();
             f.Space();
         },
         {0, 0}, {true, false, false}, 0},
        {"SetChecked", [](CheckListRig& f) { f.list->SetChecked(2, true); }, {}, {true, false, true}, AnySelection},
    };
    FormHarness h;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CheckListRig f(h.form);
        c.act(f);
        EXPECT_EQ(f.toggled, c.toggled);
        EXPECT_EQ(f.States(), c.states);
        if (c.itemIndex != AnySelection) {
            EXPECT_EQ(f.list->ItemIndex(), c.itemIndex);
        }
    }
    EXPECT_TRUE(h.errors.empty());
}

} // namespace
} // namespace kv
