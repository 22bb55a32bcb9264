#pragma once
// The main window "VELDRANE": the tool bar with the actions and the key, speed and volume
// sliders, the black read-out line, the on-screen piano and the status bar with the song's
// progress bar. It owns the song, the MIDI devices and the player; the application-wide message
// hook routes F1, Space and the system-menu items.
#include "gui/TAction.h"
#include "gui/win/TForm.h"
#include "gui/win/TImageList.h"
#include "gui/win/TLabel.h"
#include "gui/win/TPanel.h"
#include "gui/win/TPopupMenu.h"
#include "gui/win/TProgressBar.h"
#include "gui/win/TStatusBar.h"
#include "gui/win/TTimer.h"
#include "gui/win/TToolBar.h"
#include "gui/win/TTrackBar.h"
#include "midi/kvMidiDevices.h"
#include "midi/kvMidiFile.h"
#include "midi/kvMidiPlayer.h"
#include "piano/win/kvPianoKeyboard.h"

#include <shellapi.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

namespace kv {

constexpr char ApplicationTitle[] = "VELDRANE";
// The items the main window adds to its system menu.
constexpr UINT SysMenuAbout = 0xA1, SysMenuHelp = 0xA2, SysMenuStayOnTop = 0xA3;

class TfrmMain : public TForm {
public:
    explicit TfrmMain(TComponent* AOwner);
    ~TfrmMain() override;
    std::string ClassName() const override { return "TfrmMain"; }

    // The first show: the volume slider takes the devices' volume; the roll timer starts when
    // the roll was open at the last end.
    void FormShow();
    // Each tick of TimerRoll; the second one executes Piano Roll.
    void TimerRollTimer();
    // The application-wide message hook; true when the message was handled.
    bool ApplicationEvents1Message(MSG& Msg);
    // Creates the window with Create when Form is nullptr, shows it and puts it right above the
    // main window (at the screen's top when there is no room). Returns the window.
    TForm* ShowFormAbove(TForm* Form, const std::function<TForm*()>& Create);
    // Puts a visible window above the main window, centred on it.
    void SnapForm(TForm* Form);
    // Piano Roll: shows the roll above this window and moves this window below it when they overlap.
    void PianoRollExecute();
    // Places the sliders and their labels after the tool bar's buttons.
    void LayoutToolBar();
    // Whether a dialog is open (computer keys do not play then).
    bool DialogOpen() const { return FDialogOpen; }
    void SetDialogOpen(bool Value) { FDialogOpen = Value; }

    // Songs: opening (a missing file is passed over; a file that is no song raises and changes
    // nothing), the panels filled for the song read, and every enabled channel silenced.
    void OpenMidiFile(const std::string& FileName);
    void SetDefaultOptions();
    void SentAllNotesOff();
    // All Notes Off on every channel, checked or not (a song's notes may lie on channels whose
    // boxes are not checked), and the on-screen piano lets go of its keys.
    void SilenceEveryChannel();
    // The seek click on the progress bar at X.
    void pbLengthMouseDown(std::int32_t X);
    // A key message of any window of the program; true when it is to be swallowed.
    bool HandleKeyMessage(bool KeyDown, WPARAM wParam, LPARAM lParam);
    // Receives the trace lines of the MIDI devices ("Time: ..., Device: n, ..."), on the
    // interface thread; none are made while it is empty (until a window shows them).
    void SetOnTraceLine(std::function<void(const std::string& Line)> Value);

    TImageList* ImageList1 = nullptr;
    TActionList* ActionList1 = nullptr;
    TAction *actOpen = nullptr, *actPlay = nullptr, *actRecord = nullptr, *actStop = nullptr, *actSave = nullptr,
            *actSaveAs = nullptr, *actRepeat = nullptr, *actPianoRoll = nullptr, *actMidiEvent = nullptr,
            *actOptions = nullptr, *actKeyboard = nullptr, *actHelp = nullptr, *actAbout = nullptr,
            *actStayOnTop = nullptr;
    TPopupMenu *PopupMenu1 = nullptr, *PopupMenu2 = nullptr, *PopupMenu3 = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TLabel *lblKey = nullptr, *lblSpeed = nullptr, *lblValume = nullptr;
    TTrackBar *trbKey = nullptr, *trbSpeedRatio = nullptr, *trbVolume = nullptr;
    TPanel* plDisplay = nullptr;
    TLabel *lbKey = nullptr, *lbSpeed = nullptr, *lblSpeedRatio = nullptr, *lbOctave = nullptr, *lblVolume = nullptr,
           *lbMeter = nullptr, *lbTime = nullptr, *lbFile = nullptr;
    TKVPianoKeyboard* PianoKeyboard1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TProgressBar* pbLength = nullptr;
    TTimer* TimerRoll = nullptr;
    TKVMidiFile* MidiFile1 = nullptr;
    TKVMidiDevices* MidiDevices1 = nullptr;
    TKVMidiPlayer* MidiPlayer1 = nullptr;

protected:
    void Resize() override;
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateActions();
    void CreateToolBar();
    void CreateDisplay();
    // A label of the read-out line: a caption (yellow on blue, right-aligned) or a value (white on black).
    TLabel* DisplayLabel(const char* Name, const std::string& Text, std::int32_t Left, std::int32_t Width, bool IsCaption);
    void AddSystemMenuItems();
    void StayOnTopExecute();
    void HelpExecute();

    // Songs, playing and recording (fMainSong.cpp).
    void ConnectSongHandlers();
    void actOpenExecute();
    void actSaveExecute();
    void actSaveAsExecute();
    void actPlayExecute();
    void actStopExecute();
    void actRecordExecute();
    void CloseRecording();
    // Lets go of the song's tracks everywhere they are shown: its tracks are about to change.
    void ReleaseSongTracks();
    // The song as it now is, in every view that shows it: progress bar, panels, roll, event list.
    void ShowSong();
    // Before the player starts, pauses or resumes: what the roll sounds is ended and every
    // channel silenced.
    void EndEverySound();
    // The song's first tempo and time signature in the read-out, until the player plays others.
    void ShowSongStart();
    void SetActionState(TAction* Action, int Tag, int ImageIndex, const char* Caption);
    void DroppedFiles(HDROP Drop);
    void MidiFile1FileChanged();
    void MidiPlayer1MidiEvent(TKVMidiEvent* Event);
    void MidiPlayer1UpdateEvent(std::uint32_t iTime);
    void MidiPlayer1ReadyEvent();
    void MidiPlayer1StatusChange(TKVStatus Status);
    // Live playing (fMainLive.cpp).
    void ConnectLiveHandlers();
    void MidiDevices1MidiInShort(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);
    void PianoKeyboard1Keyboard(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2);
    void trbKeyEnter();
    void trbKeyChange();
    void trbSpeedRatioChange();
    void trbVolumeChange();
    void TraceLine(int DeviceIndex, const std::string& Text);
    // Runs Work on the interface thread: now when called there (unless Later), otherwise posted
    // to this window.
    void RunOnInterfaceThread(std::function<void()> Work, bool Later = false);
    void RunPostedWork();
    static bool IsPostedWorkMessage(UINT Msg);

    bool FDialogOpen = false;
    DWORD FInterfaceThread = 0;
    std::mutex FPostedLock;
    std::vector<std::function<void()>> FPosted;
    std::function<void(const std::string& Line)> FOnTraceLine;
    std::atomic<bool> FTracing{false};
};

// The one main window, from its creation to its destruction.
extern TfrmMain* frmMain;

} // namespace kv
