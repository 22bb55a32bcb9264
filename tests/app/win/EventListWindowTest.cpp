// The event list window over the main window's song: its rows as the list control shows them,
// their colours on the screen, Delete, Go To, the trace and its line limit, and the rows never
// holding an event that was freed.
#include "app/win/EventListTestSupport.h"
#include "app/win/WindowPixels.h"
#include "app/win/fEdit.h"
#include "app/win/fEvent.h"
#include "app/win/fMain.h"
#include "app/win/fRoll.h"
#include "gui/win/TApplication.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <thread>

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::FillSongOfEveryKind;

class EventListWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControlClasses();
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        main = std::make_unique<TfrmMain>(nullptr);
        frmMain = main.get();
        main->SetBounds(60, 560, main->Width(), main->Height());
        main->Show();
        FillSongOfEveryKind(*main->MidiFile1);
        main->actMidiEvent->Execute();
        ASSERT_NE(frmEvent, nullptr);
        list = frmEvent;
        test::WaitForTheFillAfterShowing(*list);
        ASSERT_FALSE(list->TimerUpdate->Enabled());
        Pump();
    }
    void TearDown() override
    {
        main.reset();
        Application()->OnException = nullptr;
    }
    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application()->ProcessMessages();
    }
    // Long enough for the trace control's next refresh.
    static void WaitForTrace()
    {
        for (int i = 0; i < 15; ++i) {
            Application()->ProcessMessages();
            Sleep(20);
        }
    }
    // The row whose description is Text, -1 for none.
    int RowOf(const std::string& Text)
    {
        for (int r = 0; r < list->RowCount(); ++r)
            if (list->ListView1->CellText(r, 8) == Text) return r;
        return -1;
    }
    void SelectOnly(std::initializer_list<int> Rows)
    {
        for (int r = 0; r < list->RowCount(); ++r) list->ListView1->SetSelected(r, false);
        for (int r : Rows) list->ListView1->SetSelected(r, true);
    }
    int CountOf(int Status, int Data1)
    {
        int count = 0;
        for (int t = 0; t < main->MidiFile1->TrackCount(); ++t)
            for (int i = 0; i < main->MidiFile1->GetTrack(t)->TrackEventCount(); ++i) {
                const TKVMidiEvent* e = main->MidiFile1->GetTrack(t)->GetEvent(i);
                count += e->Event() == Status && e->Data1() == Data1;
            }
        return count;
    }

    // The trace's lines as the control shows them, one per line.
    std::string TraceText()
    {
        WaitForTrace();
        std::string text;
        for (int r = 0; r < list->Memo1->Count(); ++r) text += (r ? "\n" : "") + list->Memo1->CellText(r, 0);
        return text;
    }

    std::unique_ptr<TfrmMain> main;
    TfrmEvent* list = nullptr;
    std::vector<std::string> errors;
};

TEST_F(EventListWindow, HasItsColumnsButtonsAndPlace)
{
    EXPECT_EQ(list->Caption(), "Midi Event");
    EXPECT_EQ(list->ClientWidth(), 553);
    EXPECT_EQ(list->ClientHeight(), 301);
    struct Column {
        const char* caption;
        int width;
        bool titleWider; // the title needs more room than the width: the column takes it
    };
    const std::array<Column, 9> columns{{{"Position", 50, true}, {"Time", 50, false}, {"DeltaTime", 50, true},
                                         {"Track", 30, true}, {"Channel", 30, true}, {"Event", 45, false},
                                         {"Data1", 45, false}, {"Data2", 45, false}, {"Description", 100, false}}};
    ASSERT_EQ(list->ListView1->ColumnCount(), 9);
    for (int c = 0; c < 9; ++c) {
        const Column& column = columns[static_cast<std::size_t>(c)];
        EXPECT_EQ(list->ListView1->ColumnCaption(c), column.caption);
        if (column.titleWider) EXPECT_GT(list->ListView1->ColumnWidth(c), column.width) << column.caption;
        else EXPECT_EQ(list->ListView1->ColumnWidth(c), column.width) << column.caption;
    }
    const std::array<TButton*, 4> buttons{list->Button1, list->Button2, list->Button3, list->Button4};
    const std::array<const char*, 4> captions{"Header", "Event", "Delete", "Go To"};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->Caption(), captions[i]);
        EXPECT_EQ(buttons[i]->Width(), 75);
        EXPECT_EQ(buttons[i]->Height(), 25);
        if (i > 0) {
            EXPECT_GT(buttons[i]->Top(), buttons[i - 1]->Top());
        }
    }
    // Shown above the main window.
    EXPECT_EQ(list->Top(), std::max(0, main->Top() - list->Height()));
}

TEST_F(EventListWindow, TheSplitterSharesTheHeightBetweenListAndLogEachKeepingAHundred)
{
    struct Case {
        int dy;
        int listHeight;
    };
    // Each drag starts where the one before it left the splitter: the list starts 179 high, the
    // splitter is 2, the log ends where the progress bar starts (281).
    const Case cases[] = {{-40, 139}, {60, 179}, {500, 179}, {-500, 100}, {0, 100}};
    const HWND splitter = list->Splitter1->Handle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dy);
        SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 1));
        SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 1 + c.dy));
        SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(100, 1 + c.dy));
        EXPECT_EQ(list->Panel2->Height(), c.listHeight);
        EXPECT_EQ(list->Splitter1->Top(), c.listHeight);
        EXPECT_EQ(list->Panel3->Top(), c.listHeight + 2);
        EXPECT_EQ(list->Panel3->Top() + list->Panel3->Height(), 281);
        EXPECT_EQ(list->ListView1->Height(), c.listHeight);
    }
    EXPECT_TRUE(GetCapture() == nullptr);
}

TEST_F(EventListWindow, EveryKindOfEventShowsItsColumnsInItsColour)
{
    struct Case {
        std::array<std::string, 9> columns;
        COLORREF colour;
    };
    const Case cases[] = {
        {{"0.00", "0", "0", "1", "-", "0xFF", "0x51", "0x 0", "Speed: 120"}, RGB(0, 0x80, 0)},
        {{"0.00", "0", "0", "1", "-", "0xFF", "0x58", "0x 0", "Meter: 6/8"}, RGB(0, 0x80, 0)},
        {{"0.00", "0", "0", "1", "-", "0xFF", "0x59", "0x 0", "Key: -2/0"}, RGB(0, 0x80, 0)},
        {{"0.00", "0", "0", "1", "-", "0xFF", "0x 3", "0x 0", "Piano"}, RGB(0, 0x80, 0)},
        {{"0.02", "10", "10", "1", "1", "0xB0", "0x 7", "0x5A", "Volume: 90"}, RGB(0xFF, 0, 0)},
        {{"0.04", "20", "10", "1", "1", "0xB0", "0x A", "0x5A", "Control Change"}, RGB(0xFF, 0, 0)},
        {{"0.06", "30", "10", "1", "6", "0xC5", "0x C", "0x 0", "Program Change"}, RGB(0, 0, 0xFF)},
        {{"0.08", "40", "10", "1", "1", "0xD0", "0x28", "0x 0", "Chan After Touch"}, RGB(0x80, 0, 0)},
        {{"0.10", "50", "10", "1", "1", "0xE0", "0x 0", "0x40", "Pitch Bend"}, RGB(0x80, 0, 0)},
        {{"0.13", "60", "10", "1", "1", "0xA0", "0x3C", "0x1E", "Key After Touch"}, RGB(0x80, 0, 0)},
        {{"0.15", "70", "10", "1", "1", "0xF0", "0x 0", "0x 0", "Unkown Event: 240"}, RGB(0x80, 0, 0)},
        {{"0.17", "80", "10", "1", "-", "0xFF", "0x7F", "0x 0", "Unkown Data1: 127"}, RGB(0, 0x80, 0)},
        {{"2.00", "960", "880", "1", "3", "0x92", "0x3C", "0x64", "Note On: C5"}, RGB(0, 0, 0)},
        {{"3.00", "1440", "480", "1", "3", "0x82", "0x3C", "0x40", "Note Off: C5"}, RGB(0x80, 0x80, 0x80)},
        {{"3.00", "1440", "0", "1", "-", "0xFF", "0x2F", "0x 0", "Track End"}, RGB(0, 0x80, 0)},
        {{"0.00", "0", "0", "2", "1", "0x90", "0x40", "0x64", "Note On: E5"}, RGB(0, 0, 0)},
    };
    ASSERT_EQ(list->RowCount(), 18);
    list->SetBounds(20, 20, list->Width(), list->Height());
    SetForegroundWindow(list->Handle());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns[8]);
        const int row = RowOf(c.columns[8]);
        ASSERT_GE(row, 0);
        for (int col = 0; col < 9; ++col) EXPECT_EQ(list->ListView1->CellText(row, col), c.columns[static_cast<std::size_t>(col)]);
        HWND view = list->ListView1->Handle();
        SendMessageW(view, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        UpdateWindow(view);
        Pump();
        RECT r{LVIR_LABEL, 0, 0, 0};
        SendMessageW(view, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        r.right = list->ListView1->Width() - 4;
        const test::WindowPixels shot = test::CaptureClient(view);
        EXPECT_TRUE(shot.Holds(r, c.colour)) << "row " << row;
    }
    test::SaveScreenshot(test::CaptureClient(list->Handle()), "event_list");
}

TEST_F(EventListWindow, DeleteRemovesANoteWithItsNoteOff)
{
    const int rows = list->RowCount();
    SelectOnly({RowOf("Note On: C5")});
    test::Press(list->Button3);
    Pump();
    EXPECT_EQ(list->RowCount(), rows - 2);
    EXPECT_EQ(RowOf("Note On: C5"), -1);
    EXPECT_EQ(RowOf("Note Off: C5"), -1);
    EXPECT_EQ(CountOf(0x92, 60) + CountOf(0x82, 60), 0);
    // The other note and the rest stay.
    EXPECT_GE(RowOf("Note On: E5"), 0);
    EXPECT_GE(RowOf("Note Off: E5"), 0);
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventListWindow, DeletingTwoRowsOfOneNoteAndAControllerLeavesNoRowOfThem)
{
    SelectOnly({RowOf("Note Off: E5"), RowOf("Volume: 90"), RowOf("Note On: E5")});
    test::Press(list->Button3);
    EXPECT_EQ(list->RowCount(), 15);
    EXPECT_EQ(RowOf("Note On: E5"), -1);
    EXPECT_EQ(RowOf("Volume: 90"), -1);
    EXPECT_EQ(CountOf(0x90, 64) + CountOf(0x80, 64) + CountOf(0xB0, 7), 0);
}

TEST_F(EventListWindow, GoToSeeksThePlayerToTheShownPositionOfOneRow)
{
    // Tick 60 shows 0.13 quarter notes: the player goes to round(0.13 x 480) = 62.
    SelectOnly({RowOf("Key After Touch")});
    test::Press(list->Button4);
    EXPECT_NEAR(main->MidiPlayer1->CurrentTime(), 62, 1);
    SelectOnly({RowOf("Note On: C5")});
    test::Press(list->Button4);
    EXPECT_NEAR(main->MidiPlayer1->CurrentTime(), 960, 1);
    // Zero or two rows: nothing.
    SelectOnly({});
    test::Press(list->Button4);
    SelectOnly({RowOf("Track End"), RowOf("Pitch Bend")});
    test::Press(list->Button4);
    EXPECT_NEAR(main->MidiPlayer1->CurrentTime(), 960, 1);
}

TEST_F(EventListWindow, TheTraceIsEmptiedBeforeTheLineThatPassesTheLimit)
{
    for (int i = 1; i <= 32767; ++i) list->UpdateText("line " + std::to_string(i));
    WaitForTrace();
    EXPECT_EQ(list->Memo1->Count(), 32767);
    EXPECT_EQ(list->Memo1->CellText(32766, 0), "line 32767");
    list->UpdateText("the next");
    WaitForTrace();
    EXPECT_EQ(list->Memo1->Count(), 1);
    EXPECT_EQ(TraceText(), "the next");
}

TEST_F(EventListWindow, PausedTraceTakesNoLinesAndLinesFromOtherThreadsKeepTheirOrder)
{
    list->UpdateText("before");
    test::Press(list->Button5);
    EXPECT_EQ(list->Memo1->Tag(), 1);
    for (int i = 0; i < 10; ++i) list->UpdateText("paused");
    test::Press(list->Button5);
    EXPECT_EQ(list->Button5->Caption(), "Pause");
    EXPECT_EQ(TraceText(), "before");

    std::thread driver([this] {
        for (int i = 0; i < 200; ++i) list->UpdateText("in " + std::to_string(i));
    });
    driver.join();
    list->UpdateText("out");
    std::string expected = "before";
    for (int i = 0; i < 200; ++i) expected += "\nin " + std::to_string(i);
    EXPECT_EQ(TraceText(), expected + "\nout");
    test::Press(list->Button6);
    WaitForTrace();
    EXPECT_EQ(list->Memo1->Count(), 0);
}

std::string ClipboardText()
{
    if (!OpenClipboard(nullptr)) return "(clipboard not open)";
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = WideToUtf8(wide);
            GlobalUnlock(data);
        }
    CloseClipboard();
    return text;
}

// Presses a key in the window with Ctrl held, as this thread's keyboard state says.
void PressWithCtrl(HWND Wnd, WPARAM Key)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(Wnd, WM_KEYDOWN, Key, 1);
    SendMessageW(Wnd, WM_KEYUP, Key, 0xC0000001);
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
}

TEST_F(EventListWindow, TraceLinesAreSelectedAndCopiedAsAMemosText)
{
    for (const char* line : {"one", "tw\xC3\xB6", "three"}) list->UpdateText(line);
    WaitForTrace();
    ASSERT_EQ(list->Memo1->Count(), 3);
    HWND trace = list->Memo1->Handle();
    list->Memo1->SetSelected(1, true);
    list->Memo1->SetSelected(2, true);
    PressWithCtrl(trace, 'C');
    EXPECT_EQ(ClipboardText(), "tw\xC3\xB6\r\nthree");
    // Ctrl+A selects every line; lines that come meanwhile keep the selection.
    PressWithCtrl(trace, 'A');
    EXPECT_EQ(list->Memo1->SelCount(), 3);
    list->UpdateText("four");
    WaitForTrace();
    EXPECT_EQ(list->Memo1->SelectedRows(), (std::vector<int>{0, 1, 2}));
    // The context menu (a right click on the trace shows it): Copy, then Select All.
    EXPECT_TRUE(list->Memo1->OnContextPopup);
    ASSERT_EQ(list->PopupMenu2->ItemCount(), 3);
    TAction* copy = list->PopupMenu2->ItemAction(0);
    EXPECT_EQ(copy->Caption(), "Copy");
    EXPECT_EQ(list->PopupMenu2->ItemAction(2)->Caption(), "Select All");
    list->PopupMenu2->ItemAction(2)->Execute();
    copy->Execute();
    EXPECT_EQ(ClipboardText(), "one\r\ntw\xC3\xB6\r\nthree\r\nfour");
    // Plain C copies nothing.
    list->Memo1->SetItemIndex(0);
    SendMessageW(trace, WM_KEYDOWN, 'C', 1);
    EXPECT_EQ(ClipboardText(), "one\r\ntw\xC3\xB6\r\nthree\r\nfour");
    EXPECT_TRUE(errors.empty());
}

// Records the progress bar's range and the highest position it was given.
struct ProgressWatch {
    static inline HWND bar = nullptr;
    static inline LPARAM max = 0;
    static inline WPARAM highest = 0;
    static LRESULT CALLBACK Hook(int Code, WPARAM wParam, LPARAM lParam)
    {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (Code == HC_ACTION && m->hwnd == bar) {
            if (m->message == PBM_SETRANGE32) max = m->lParam;
            if (m->message == PBM_SETPOS) highest = std::max(highest, m->wParam);
        }
        return CallNextHookEx(nullptr, Code, wParam, lParam);
    }
};

// A song of Notes notes on one track (two events each, and the track's end).
void FillLongSong(TKVMidiFile& Song, int Notes)
{
    auto track = std::make_unique<TMyMidiTrack>();
    for (int i = 0; i < Notes; ++i)
        track->AddEvent(test::ListEvent(0x90, 60 + i % 12, 100, i * 10), test::ListEvent(0x80, 60 + i % 12, 0, i * 10 + 5));
    track->AddEvent(test::ListEvent(0xFF, 0x2F, 0, Notes * 10));
    track->UpdateDeltaTime();
    Song.ResetFile();
    Song.SetTrack(std::move(track));
    Song.CreateHeader(480, true);
}

TEST_F(EventListWindow, TheFillReachesTheEndAndStopsWhenTheSongIsReplacedMeanwhile)
{
    FillLongSong(*main->MidiFile1, 20000);
    list->SetFillSlice(std::chrono::milliseconds(0));
    ProgressWatch::bar = list->ProgressBar1->Handle();
    ProgressWatch::max = ProgressWatch::highest = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, ProgressWatch::Hook, nullptr, GetCurrentThreadId());
    list->LoadEventList();
    EXPECT_EQ(list->RowCount(), 40001);
    EXPECT_EQ(ProgressWatch::max, 40001);
    EXPECT_EQ(ProgressWatch::highest, 40001u);
    EXPECT_EQ(list->ProgressBar1->Position(), 0);
    EXPECT_FALSE(list->Busy());

    // A song read while the list fills: the list hears of it through the song before the old
    // tracks are freed, and the fill stops without reading them again.
    bool replaced = false;
    test::RunInMessageLoop([&] {
        FillSongOfEveryKind(*main->MidiFile1);
        replaced = true;
    });
    Sleep(50);
    list->LoadEventList();
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(list->RowCount(), 0);
    EXPECT_FALSE(list->Busy());
    list->LoadEventList();
    EXPECT_EQ(list->RowCount(), 18);
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventListWindow, DeleteKeepsTheRowsInViewAndSelectsTheNeighbour)
{
    FillLongSong(*main->MidiFile1, 300);
    list->LoadEventList();
    ASSERT_EQ(list->RowCount(), 601);
    // Rows 200 and on in view, the note-on of row 204 selected: it goes with its note-off.
    list->ListView1->SetTopIndex(200);
    const int top = list->ListView1->TopIndex();
    ASSERT_EQ(top, 200);
    SelectOnly({204});
    TKVMidiEvent* following = list->GetMidiEvent(206);
    test::Press(list->Button3);
    Pump();
    ASSERT_EQ(list->RowCount(), 599);
    EXPECT_EQ(list->ListView1->TopIndex(), top);
    // The row that followed the deleted ones takes their place, selected.
    EXPECT_EQ(list->ListView1->SelectedRows(), std::vector<int>{204});
    EXPECT_EQ(list->GetMidiEvent(204), following);
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventListWindow, CommandsDoNothingWhileTheListFills)
{
    list->SetTag(1);
    const int rows = list->RowCount();
    SelectOnly({0});
    test::Press(list->Button3);
    test::Press(list->Button1);
    EXPECT_EQ(list->RowCount(), rows);
    EXPECT_EQ(frmEdit, nullptr);
    list->SetTag(0);
}

TEST_F(EventListWindow, DeletingInTheRollClearsTheRowsFirst)
{
    const std::string settings = (fs::temp_directory_path() / ("kv_evroll_" + std::to_string(GetCurrentProcessId()) + ".ini")).string();
    {
        TfrmRoll roll(nullptr, frmMain, settings);
        frmRoll = &roll;
        roll.PianoRoll1->SetMidiFile(main->MidiFile1);
        const int rows = list->RowCount();
        TKVMidiEvent* note = list->GetMidiEvent(RowOf("Note On: E5"));
        roll.PianoRoll1->DeleteNote(note);
        EXPECT_EQ(list->RowCount(), 0);
        list->LoadEventList();
        EXPECT_EQ(list->RowCount(), rows - 2);
        frmRoll = nullptr;
    }
    std::error_code ignored;
    fs::remove(settings, ignored);
}

} // namespace
} // namespace kv
