#pragma once
// The window "Midi Event": every event of the main window's song as a row of a list (its times,
// track, channel, bytes and description, coloured by kind) with Header, Event, Delete and Go To,
// and below it the MIDI trace. The rows point at the song's events without owning them: the
// window watches the song, drops its rows before events are freed or replaced, and fills the list
// again after.
#include "gui/TAction.h"
#include "gui/win/TButton.h"
#include "gui/win/TForm.h"
#include "gui/win/TListView.h"
#include "gui/win/TPanel.h"
#include "gui/win/TPopupMenu.h"
#include "gui/win/TProgressBar.h"
#include "gui/win/TSplitter.h"
#include "gui/win/TTimer.h"
#include "midi/kvMidiFile.h"
#include "midi/kvMidiPlayer.h"
#include "piano/kvTraceLog.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace kv {

class TfrmEvent : public TForm {
public:
    TfrmEvent(TComponent* AOwner, TKVMidiFile* Song, TKVMidiPlayer* Player);
    ~TfrmEvent() override;
    std::string ClassName() const override { return "TfrmEvent"; }

    // Appends a line to the trace; callable from any thread, lines keep their order. The control
    // shows the new lines when the window next handles its messages, at most four times a second.
    void UpdateText(const std::string& Text);
    // Row Index shows Event from now on (after the editor's Apply).
    void SetMidiEvent(int Index, TKVMidiEvent* Event);
    // The event of row Index, nullptr outside the rows.
    TKVMidiEvent* GetMidiEvent(int Index) const;
    int RowCount() const { return static_cast<int>(FRows.size()); }
    // Fills the list from the song, processing messages between steps; a fill that is cleared
    // meanwhile (ClearEvents) stops without reading the song again.
    void LoadEventList();
    // The rows are dropped and a running fill stops.
    void ClearEvents();
    // The list is filled again about a second from now.
    void ReloadSoon();
    // How long the fill works between two looks at the message queue (0: at every 1024th row).
    void SetFillSlice(std::chrono::milliseconds Value) { FFillSlice = Value; }
    // 1 while the list is being filled: the list's commands do nothing then.
    bool Busy() const { return Tag() == 1; }

    // The commands (buttons, pop-up menu and double click).
    void OpenEditor(int PageIndex);
    void DeleteSelected();
    void GoToSelected();

    TPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr, *Panel4 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TListView* ListView1 = nullptr;
    TButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr, *Button5 = nullptr,
            *Button6 = nullptr;
    // The trace: one row per line, so that adding a line costs the same however many there are.
    TListView* Memo1 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TTimer* TimerUpdate = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    // The trace's menu: Copy, Select All.
    TPopupMenu* PopupMenu2 = nullptr;
    TActionList* PopupActions = nullptr;
    const TKVTraceLog& TraceLog() const { return FTrace; }
    // The selected trace lines, one per line; CopyTraceLines puts them on the clipboard.
    std::string SelectedTraceText();
    void CopyTraceLines();

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Where the list stood before a Delete: its first row in view and its first selected row.
    struct TListPlace {
        int TopRow;
        int SelectedRow;
    };
    TListPlace KeepPlace();
    // The list shows the same rows again, the neighbour of the deleted rows selected.
    void ReturnToPlace(const TListPlace& Place);
    void CreateControls();
    void TimerUpdateTimer();
    void AppendTraceLine(const std::string& Text);
    void DrainTraceQueue();
    // The trace control shows the log's lines, the last one in view.
    void ShowTrace();
    std::int32_t PulsesPerQuarter() const;
    void SongEdited(const TKVSongEdit& Edit);

    TKVMidiFile* FSong;
    TKVMidiPlayer* FPlayer;
    std::vector<TKVMidiEvent*> FRows;
    // Raised by ClearEvents: a fill that sees it change stops.
    unsigned FFillGeneration = 0;
    std::chrono::milliseconds FFillSlice{15};
    TKVTraceLog FTrace;
    DWORD FGuiThread;
    std::mutex FQueueLock;
    std::deque<std::string> FQueue;
    bool FRefreshPosted = false;
    // The log was emptied since the control last showed it.
    bool FTraceEmptied = false;
    DWORD FTraceShownAt = 0;
    // Last, so that it ends first.
    TKVSongWatch FSongWatch;
};

// The one event list window, made on first use.
extern TfrmEvent* frmEvent;

} // namespace kv
