#include "app/win/fEvent.h"

#include "app/uLanguage.h"
#include "app/win/fEdit.h"
#include "app/win/uLanguageWin.h"
#include "gui/win/TApplication.h"
#include "gui/win/TClipboard.h"
#include "midi/kvMidiCommon.h"
#include "piano/kvEventListEdits.h"
#include "piano/kvEventListRows.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

namespace kv {

TfrmEvent* frmEvent = nullptr;

namespace {

// Posted to the window when trace lines wait to be shown.
constexpr UINT WM_TRACE_LINES = WM_APP + 0x121;
// The trace control is brought up to date at most this often: a busy MIDI stream costs the
// window a few refreshes a second, however many lines it brings.
constexpr UINT TraceRefreshMs = 250;
constexpr UINT_PTR TraceRefreshTimer = 0x121;

TButton* MakeButton(TComponent* Owner, TWinControl* Parent, const char* Name, const char* Caption, std::intptr_t Tag,
                    std::int32_t Top)
{
    auto* button = new TButton(Owner);
    button->SetName(Name);
    button->SetCaption(Caption);
    button->SetTag(Tag);
    button->SetBounds(5, Top, 75, 25);
    button->SetParent(Parent);
    return button;
}

TPanel* MakePanel(TComponent* Owner, TWinControl* Parent, const char* Name, std::int32_t Left, std::int32_t Top,
                  std::int32_t Width, std::int32_t Height, TAnchors Anchors)
{
    auto* panel = new TPanel(Owner);
    panel->SetName(Name);
    panel->SetBounds(Left, Top, Width, Height);
    panel->SetAnchors(Anchors);
    panel->SetParent(Parent);
    return panel;
}

} // namespace

TfrmEvent::TfrmEvent(TComponent* AOwner, TKVMidiFile* Song, TKVMidiPlayer* Player)
    : TForm(AOwner), FSong(Song), FPlayer(Player), FGuiThread(GetCurrentThreadId())
{
    SetName("frmEvent");
    SetCaption("Midi Event");
    SetClientSize(553, 301);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    HandleNeeded();
    CreateControls();
    TranslateComponent(this);
    Language().HookLoadResString();
    FSongWatch = FSong->Watchers().Watch([this](const TKVSongEdit& Edit) { SongEdited(Edit); });
}

void TfrmEvent::SongEdited(const TKVSongEdit& Edit)
{
    switch (Edit.Change) {
    case scEventsFreeing:
    case scTracksFreeing:
        ClearEvents();
        // The window's own Delete fills the list again at once.
        if (Edit.Source != this) ReloadSoon();
        break;
    case scEventsChanged:
        // The rows still point at live events: their times are read again.
        ListView1->Invalidate();
        break;
    case scTracksReplaced: ReloadSoon(); break;
    }
}

TfrmEvent::~TfrmEvent()
{
    Language().UnhookLoadResString();
    if (frmEvent == this) frmEvent = nullptr;
}

void TfrmEvent::CreateControls()
{
    Panel2 = MakePanel(this, this, "Panel2", 0, 0, 553, 179, akLeft | akTop | akRight);
    ListView1 = new TListView(this);
    ListView1->SetName("ListView1");
    ListView1->SetTag(1);
    ListView1->SetBounds(0, 0, 468, 179);
    ListView1->SetAnchors(akLeft | akTop | akRight | akBottom);
    const std::pair<const char*, std::int32_t> columns[] = {{"Position", -1}, {"Time", -1}, {"DeltaTime", -1},
                                                            {"Track", 30},    {"Channel", 30}, {"Event", 45},
                                                            {"Data1", 45},    {"Data2", 45},   {"Description", 100}};
    for (const auto& [caption, width] : columns) ListView1->AddColumn(caption, width);
    ListView1->OnGetText = [this](int Row, int Column) {
        return EventRowTexts(*FRows[static_cast<std::size_t>(Row)], PulsesPerQuarter())[static_cast<std::size_t>(Column)];
    };
    ListView1->OnGetColor = [this](int Row) { return EventRowColor(*FRows[static_cast<std::size_t>(Row)]); };
    ListView1->OnDblClick = [this](TObject*) { OpenEditor(1); };
    ListView1->SetParent(Panel2);

    Panel1 = MakePanel(this, Panel2, "Panel1", 468, 0, 85, 179, akTop | akRight | akBottom);
    Button1 = MakeButton(this, Panel1, "Button1", "Header", 0, 8);
    Button2 = MakeButton(this, Panel1, "Button2", "Event", 1, 40);
    Button3 = MakeButton(this, Panel1, "Button3", "Delete", 2, 72);
    Button4 = MakeButton(this, Panel1, "Button4", "Go To", 4, 104);
    Button1->OnClick = [this](TObject*) { OpenEditor(0); };
    Button2->OnClick = [this](TObject*) { OpenEditor(1); };
    Button3->OnClick = [this](TObject*) { DeleteSelected(); };
    Button4->OnClick = [this](TObject*) { GoToSelected(); };

    Splitter1 = new TSplitter(this, soHorizontal);
    Splitter1->SetName("Splitter1");
    Splitter1->SetBounds(0, 179, 553, 2);
    Splitter1->SetAnchors(akLeft | akTop | akRight);
    Splitter1->SetParent(this);
    Panel3 = MakePanel(this, this, "Panel3", 0, 181, 553, 100, akLeft | akTop | akRight | akBottom);
    // The list and the log each keep at least 100 pixels.
    Splitter1->SetControl(Panel2);
    Splitter1->SetNext(Panel3);
    Splitter1->SetMinSize(100);
    Memo1 = new TListView(this);
    Memo1->SetName("Memo1");
    Memo1->SetShowColumnHeaders(false);
    Memo1->AddColumn("", 2000);
    Memo1->OnGetText = [this](int Row, int) { return FTrace.Lines()[static_cast<std::size_t>(Row)]; };
    // Its lines are selected and copied as a memo's text is: Ctrl+C, Ctrl+A and a context menu.
    Memo1->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) {
        if (!(Shift & ssCtrl)) return;
        if (Key == 'C') CopyTraceLines();
        else if (Key == 'A') Memo1->SelectAll();
    };
    Memo1->SetBounds(0, 0, 468, 100);
    Memo1->SetAnchors(akLeft | akTop | akRight | akBottom);
    Memo1->SetParent(Panel3);
    Panel4 = MakePanel(this, Panel3, "Panel4", 468, 0, 85, 100, akTop | akRight | akBottom);
    Button5 = MakeButton(this, Panel4, "Button5", "Pause", 0, 8);
    Button6 = MakeButton(this, Panel4, "Button6", "Clear", 1, 40);
    Button5->OnClick = [this](TObject*) {
        FTrace.TogglePause();
        Memo1->SetTag(FTrace.Paused() ? 1 : 0);
    };
    Button6->OnClick = [this](TObject*) {
        DrainTraceQueue();
        FTrace.Clear();
        Memo1->SetCount(0);
    };

    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->SetName("ProgressBar1");
    ProgressBar1->SetBounds(0, 281, 553, 20);
    ProgressBar1->SetAnchors(akLeft | akRight | akBottom);
    ProgressBar1->SetParent(this);

    TimerUpdate = new TTimer(this);
    TimerUpdate->SetName("TimerUpdate");
    TimerUpdate->SetEnabled(false);
    TimerUpdate->SetInterval(500);
    TimerUpdate->OnTimer = [this](TObject*) { TimerUpdateTimer(); };

    PopupActions = new TActionList(this);
    PopupActions->SetName("PopupActions");
    TAction* edit = PopupActions->Add("actEdit", "Edit", -1, "");
    edit->SetTag(1);
    edit->OnExecute = [this](TObject*) { OpenEditor(1); };
    TAction* remove = PopupActions->Add("actDelete", "Delete", -1, "");
    remove->SetTag(2);
    remove->OnExecute = [this](TObject*) { DeleteSelected(); };
    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    PopupMenu1->AddAction(edit);
    PopupMenu1->AddAction(remove);
    ListView1->OnContextPopup = [this](std::int32_t X, std::int32_t Y) { PopupMenu1->Popup(Handle(), X, Y); };

    TAction* copy = PopupActions->Add("actCopy", "Copy", -1, "");
    copy->OnExecute = [this](TObject*) { CopyTraceLines(); };
    TAction* selectAll = PopupActions->Add("actSelectAll", "Select All", -1, "");
    selectAll->OnExecute = [this](TObject*) { Memo1->SelectAll(); };
    PopupMenu2 = new TPopupMenu(this);
    PopupMenu2->SetName("PopupMenu2");
    PopupMenu2->AddAction(copy);
    PopupMenu2->AddSeparator();
    PopupMenu2->AddAction(selectAll);
    Memo1->OnContextPopup = [this, copy](std::int32_t X, std::int32_t Y) {
        copy->SetEnabled(Memo1->SelCount() > 0);
        PopupMenu2->Popup(Handle(), X, Y);
    };
}

std::int32_t TfrmEvent::PulsesPerQuarter() const { return FSong->MidiHeader().PulsesPerQuarter; }

TKVMidiEvent* TfrmEvent::GetMidiEvent(int Index) const
{
    return Index >= 0 && Index < RowCount() ? FRows[static_cast<std::size_t>(Index)] : nullptr;
}

void TfrmEvent::SetMidiEvent(int Index, TKVMidiEvent* Event)
{
    if (!Event || Index < 0 || Index >= RowCount()) return;
    FRows[static_cast<std::size_t>(Index)] = Event;
    ListView1->UpdateRow(Index);
}

void TfrmEvent::ClearEvents()
{
    ++FFillGeneration;
    FRows.clear();
    ListView1->SetCount(0);
}

void TfrmEvent::ReloadSoon()
{
    TimerUpdate->SetTag(0);
    TimerUpdate->SetEnabled(true);
}

void TfrmEvent::TimerUpdateTimer()
{
    TimerUpdate->SetTag(TimerUpdate->Tag() + 1);
    if (TimerUpdate->Tag() <= 1) return;
    TimerUpdate->SetEnabled(false);
    TimerUpdate->SetTag(0);
    LoadEventList();
}

void TfrmEvent::LoadEventList()
{
    if (Busy()) return;
    SetTag(1);
    ClearEvents();
    const unsigned generation = FFillGeneration;
    int total = 0;
    for (int t = 0; t < FSong->TrackCount(); ++t) total += FSong->GetTrack(t)->TrackEventCount();
    ProgressBar1->SetRange(0, total);
    ProgressBar1->SetPosition(0);
    std::vector<TKVMidiEvent*> rows;
    rows.reserve(static_cast<std::size_t>(total));
    auto sliceEnd = std::chrono::steady_clock::now() + FFillSlice;
    bool cleared = false;
    // The song is read only while no message runs: after each look at the queue the fill checks
    // that nobody cleared the list (the song may have been replaced meanwhile).
    for (int t = 0; t < FSong->TrackCount() && !cleared; ++t) {
        const TMyMidiTrack* track = FSong->GetTrack(t);
        for (int e = 0; e < track->TrackEventCount(); ++e) {
            rows.push_back(track->GetEvent(e));
            if ((rows.size() & 1023) != 0 || std::chrono::steady_clock::now() < sliceEnd) continue;
            ProgressBar1->SetPosition(static_cast<std::int32_t>(rows.size()));
            Application()->ProcessMessages();
            if (generation != FFillGeneration) {
                cleared = true;
                break;
            }
            track = FSong->GetTrack(t);
            sliceEnd = std::chrono::steady_clock::now() + FFillSlice;
        }
    }
    if (!cleared) {
        ProgressBar1->SetPosition(total);
        FRows = std::move(rows);
        ListView1->SetCount(RowCount());
    }
    ProgressBar1->SetPosition(0);
    SetTag(0);
}

void TfrmEvent::OpenEditor(int PageIndex)
{
    if (Busy()) return;
    const int index = ListView1->ItemIndex();
    ShowEventEditor(this, FSong, PageIndex, index, GetMidiEvent(index));
}

void TfrmEvent::DeleteSelected()
{
    if (Busy() || ListView1->SelCount() == 0) return;
    std::vector<TKVMidiEvent*> events;
    for (int row : ListView1->SelectedRows()) events.push_back(GetMidiEvent(row));
    const TListPlace place = KeepPlace();
    // The rows let go of the events before they are freed.
    ClearEvents();
    DeleteListedEvents(*FSong, events, this);
    LoadEventList();
    ReturnToPlace(place);
}

TfrmEvent::TListPlace TfrmEvent::KeepPlace() { return {ListView1->TopIndex(), ListView1->ItemIndex()}; }

void TfrmEvent::ReturnToPlace(const TListPlace& Place)
{
    if (RowCount() == 0) return;
    ListView1->SetTopIndex(Place.TopRow);
    // The rows above the first deleted one stay as they were: the row that followed it takes
    // its index, or the last row when nothing followed.
    if (Place.SelectedRow < 0) return;
    const int neighbour = std::min(Place.SelectedRow, RowCount() - 1);
    ListView1->SetItemIndex(neighbour);
    ListView1->MakeVisible(neighbour);
}

void TfrmEvent::GoToSelected()
{
    if (Busy() || ListView1->SelCount() != 1 || PulsesPerQuarter() < 1) return;
    // The position as shown, to two decimals of a quarter note.
    std::string shown = ListView1->CellText(ListView1->ItemIndex(), 0);
    std::replace(shown.begin(), shown.end(), ',', '.');
    char* end = nullptr;
    const double beats = std::strtod(shown.c_str(), &end);
    if (end == shown.c_str()) return;
    FPlayer->SetCurrentTime(BeatsToTicks(PulsesPerQuarter(), beats));
}

void TfrmEvent::UpdateText(const std::string& Text)
{
    const bool guiThread = GetCurrentThreadId() == FGuiThread;
    if (guiThread) {
        DrainTraceQueue();
        AppendTraceLine(Text);
    }
    // The control catches up once the messages waiting now are handled, however many lines came.
    std::lock_guard lock(FQueueLock);
    if (!guiThread) FQueue.push_back(Text);
    if (!FRefreshPosted) FRefreshPosted = PostMessageW(Handle(), WM_TRACE_LINES, 0, 0) != FALSE;
}

void TfrmEvent::DrainTraceQueue()
{
    std::deque<std::string> lines;
    {
        std::lock_guard lock(FQueueLock);
        lines.swap(FQueue);
    }
    for (const std::string& line : lines) AppendTraceLine(line);
}

void TfrmEvent::AppendTraceLine(const std::string& Text)
{
    const std::size_t before = FTrace.Lines().size();
    if (FTrace.Append(Text) && FTrace.Lines().size() <= before) FTraceEmptied = true;
}

std::string TfrmEvent::SelectedTraceText()
{
    std::string text;
    for (int row : Memo1->SelectedRows()) {
        if (row >= static_cast<int>(FTrace.Lines().size())) break;
        if (!text.empty()) text += "\r\n";
        text += FTrace.Lines()[static_cast<std::size_t>(row)];
    }
    return text;
}

void TfrmEvent::CopyTraceLines()
{
    if (Memo1->SelCount() == 0) return;
    SetClipboardText(Handle(), SelectedTraceText());
}

void TfrmEvent::ShowTrace()
{
    {
        std::lock_guard lock(FQueueLock);
        FRefreshPosted = false;
    }
    DrainTraceQueue();
    const int lines = static_cast<int>(FTrace.Lines().size());
    if (FTraceEmptied || lines < Memo1->Count()) Memo1->SetCount(lines);
    else Memo1->GrowTo(lines);
    FTraceEmptied = false;
    // The newest line comes into view, unless the user has picked lines to copy.
    if (lines > 0 && Memo1->SelCount() == 0) Memo1->MakeVisible(lines - 1);
    FTraceShownAt = GetTickCount();
}

LRESULT TfrmEvent::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_TRACE_LINES) {
        const DWORD since = GetTickCount() - FTraceShownAt;
        if (since >= TraceRefreshMs) ShowTrace();
        else SetTimer(Handle(), TraceRefreshTimer, TraceRefreshMs - since, nullptr);
        return 0;
    }
    if (Msg == WM_TIMER && wParam == TraceRefreshTimer) {
        KillTimer(Handle(), TraceRefreshTimer);
        ShowTrace();
        return 0;
    }
    if (Msg == WM_SHOWWINDOW && wParam) ReloadSoon();
    return TForm::WndProc(Msg, wParam, lParam);
}

} // namespace kv
