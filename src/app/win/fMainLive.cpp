// The main window's live playing: notes from the instrument, the on-screen piano and the
// computer keys, the key, speed and volume sliders, and the devices' trace lines and errors.
#include "app/uLanguage.h"
#include "app/uPlaying.h"
#include "app/uRecordSettings.h"
#include "app/win/fMain.h"
#include "base/Format.h"
#include "gui/win/TApplication.h"

namespace kv {

namespace {

// Posted to the main window: work handed over from another thread waits in its queue.
constexpr UINT WM_APP_POSTED_WORK = WM_APP + 0x51;

std::string LongTimeText()
{
    wchar_t text[64] = {};
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 64) == 0) return {};
    return WideToUtf8(text);
}

} // namespace

void TfrmMain::ConnectLiveHandlers()
{
    FInterfaceThread = GetCurrentThreadId();
    MidiDevices1->SetOnMidiInShort([this](int, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2) {
        MidiDevices1MidiInShort(Event, Data1, Data2);
    });
    // The trace texts are taken only while a window shows them (SetOnTraceLine): the debug sink
    // discards its copy, and making a text for every message would slow playback for nothing.
    MidiDevices1->SetOnErrorMsg([this](const std::string& Text) {
        TConsoleDebuger::DebugThis(Format("ERROR: %s", {Text}));
        RunOnInterfaceThread([this, Text] { StatusBar1->SetPanelText(1, Text); });
    });
    MidiDevices1->SetOnMidiInSysEx([](int, TMemoryStream&) {});
    MidiDevices1->SetOnMidiOutShort([](int, std::uint8_t, std::uint8_t, std::uint8_t) {});
    MidiDevices1->SetOnMidiOutSysEx([](int, TMemoryStream&) {});
    PianoKeyboard1->OnKeyboard = [this](std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2) {
        PianoKeyboard1Keyboard(Event, Data1, Data2);
    };
    PianoKeyboard1->OnOctaveChanged = [this](std::uint8_t Value) { lbOctave->SetCaption(std::to_string(Value)); };
    trbKey->OnChange = [this](TObject*) { trbKeyChange(); };
    trbSpeedRatio->OnChange = [this](TObject*) { trbSpeedRatioChange(); };
    trbVolume->OnChange = [this](TObject*) { trbVolumeChange(); };
    for (TTrackBar* slider : {trbKey, trbSpeedRatio, trbVolume})
        slider->OnEnter = [this](TObject*) { trbKeyEnter(); };
    lblKey->OnDblClick = [this](TObject*) { trbKey->SetPosition(0); };
    lblSpeed->OnDblClick = [this](TObject*) { trbSpeedRatio->SetPosition(100); };
}

void TfrmMain::MidiDevices1MidiInShort(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    // The input driver's thread. The recorder stamps and queues the message itself, and drops it
    // unless a recording runs.
    MidiDevices1->SendMidiShort(Event, Data1, Data2);
    PianoKeyboard1->DoMidiShort(Event, Data1, Data2);
    MidiPlayer1->PutMidiShort(static_cast<std::uint8_t>((Event & 0xF0) + RecordSettings.Channel), Data1, Data2);
}

void TfrmMain::PianoKeyboard1Keyboard(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
{
    const auto status = static_cast<std::uint8_t>(Event + RecordSettings.Channel);
    MidiDevices1->SendMidiShort(status, Data1, Data2);
    if (MidiPlayer1->Status() == stRecording) MidiPlayer1->PutMidiShort(status, Data1, Data2);
}

bool TfrmMain::HandleKeyMessage(bool KeyDown, WPARAM wParam, LPARAM lParam)
{
    if (FDialogOpen) return false;
    // The separate navigation keys (extended) keep their codes; the keypad's, read without
    // NumLock, play as the keypad digits.
    const bool extended = (lParam & (1 << 24)) != 0;
    std::uint16_t key = LOWORD(wParam);
    if (!extended) key = TranslateNumpadKey(key);
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (lParam & (1 << 29)) shift |= ssAlt;
    if (KeyDown) {
        if (lParam & (1 << 30)) return false; // auto-repeat: the note plays once
        PianoKeyboard1->DoPianoKeyDown(nullptr, key, shift);
    } else {
        PianoKeyboard1->DoPianoKeyUp(nullptr, key, shift);
    }
    return GetForegroundWindow() == Handle();
}

void TfrmMain::trbKeyEnter()
{
    // No control keeps the focus: the arrow and other keys keep playing the piano instead of
    // moving a slider.
    ::SetFocus(Handle());
}

void TfrmMain::trbKeyChange()
{
    const std::int32_t value = trbKey->Position();
    lbKey->SetCaption(KeyText(value));
    PianoKeyboard1->ResetPianoKeys();
    MidiDevices1->SetMidiKey(static_cast<std::uint8_t>(value));
}

void TfrmMain::trbSpeedRatioChange()
{
    const std::string text = SpeedRatioText(trbSpeedRatio->Position());
    lblSpeedRatio->SetCaption(text);
    trbSpeedRatio->SetHint(text);
    MidiPlayer1->SetSpeedRatio(trbSpeedRatio->Position() / 100.0);
}

void TfrmMain::trbVolumeChange()
{
    const std::string text = VolumeText(trbVolume->Position(), MidiDevices1->MidiVolume());
    lblVolume->SetCaption(text);
    trbVolume->SetHint(text);
    MidiDevices1->SetMidiVolume(static_cast<std::uint16_t>(trbVolume->Position()));
}

void TfrmMain::SetOnTraceLine(std::function<void(const std::string& Line)> Value)
{
    FOnTraceLine = std::move(Value);
    FTracing = static_cast<bool>(FOnTraceLine);
    if (!FTracing) {
        MidiDevices1->SetOnMidiInText(nullptr);
        MidiDevices1->SetOnMidiOutText(nullptr);
        return;
    }
    MidiDevices1->SetOnMidiInText([this](int DeviceIndex, const std::string& Text) {
        TConsoleDebuger::DebugThis(Format("[%s] Midi In Text[%d]: %s", {Name(), DeviceIndex, Text}));
        TraceLine(DeviceIndex, Text);
    });
    MidiDevices1->SetOnMidiOutText([this](int DeviceIndex, const std::string& Text) {
        TConsoleDebuger::DebugThis(Format("[%s] Midi Out Text[%d]: %s", {Name(), DeviceIndex, Text}));
        TraceLine(DeviceIndex, Text);
    });
}

void TfrmMain::TraceLine(int DeviceIndex, const std::string& Text)
{
    if (!FTracing) return;
    // Any thread: the line is made now, with the time it happened, and shown on the interface thread.
    const std::string line = Format("Time: %s, Device: %d, %s", {LongTimeText(), DeviceIndex, Text});
    RunOnInterfaceThread([this, line] {
        if (FOnTraceLine) FOnTraceLine(line);
    });
}

void TfrmMain::RunOnInterfaceThread(std::function<void()> Work, bool Later)
{
    if (!Later && GetCurrentThreadId() == FInterfaceThread) {
        Work();
        return;
    }
    bool first = false;
    {
        std::lock_guard lock(FPostedLock);
        first = FPosted.empty();
        FPosted.push_back(std::move(Work));
    }
    if (first) PostMessageW(Handle(), WM_APP_POSTED_WORK, 0, 0);
}

void TfrmMain::RunPostedWork()
{
    std::vector<std::function<void()>> work;
    {
        std::lock_guard lock(FPostedLock);
        work.swap(FPosted);
    }
    for (auto& w : work) GuardedCall(w);
}

bool TfrmMain::IsPostedWorkMessage(UINT Msg) { return Msg == WM_APP_POSTED_WORK; }

} // namespace kv
