// The on-screen piano in a window: a generated sequence lights keys in the two hands' colours,
// the mouse and the computer keys play it, and every OnKeyboard report is written to standard
// output. "pianodemo --frames N" stops after N steps of the sequence.
#include "base/Format.h"
#include "gui/win/TApplication.h"
#include "gui/win/TForm.h"
#include "gui/win/TTimer.h"
#include "piano/win/kvPianoKeyboard.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr kv::TColor LeftHandColor = kv::RGBColor(0x40, 0xC0, 0x60);
constexpr kv::TColor RightHandColor = kv::RGBColor(0x30, 0x80, 0xFF);

// Step Step of the sequence: a left-hand chord under a right-hand scale.
void PlayStep(kv::TKVPianoKeyboard& Piano, int Step)
{
    static const int scale[] = {72, 74, 76, 77, 79, 81, 83, 84};
    static const int chords[][3] = {{48, 52, 55}, {53, 57, 60}, {55, 59, 62}, {48, 52, 55}};
    const int previous = scale[(Step + 7) % 8];
    Piano.DoMidiShort(0x80, static_cast<std::uint8_t>(previous), 0);
    Piano.DoMidiShort(0x90, static_cast<std::uint8_t>(scale[Step % 8]), 100, RightHandColor);
    if (Step % 4 == 0) {
        for (int note : chords[(Step / 4 + 3) % 4]) Piano.DoMidiShort(0x80, static_cast<std::uint8_t>(note), 0);
        for (int note : chords[(Step / 4) % 4]) Piano.DoMidiShort(0x90, static_cast<std::uint8_t>(note), 90, LeftHandColor);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int frames = -1;
    if (__argc >= 3 && std::wcscmp(__wargv[1], L"--frames") == 0) frames = _wtoi(__wargv[2]);

    kv::Application()->SetTitle("Piano demo");
    kv::TComponent owner(nullptr);
    auto* form = new kv::TForm(&owner);
    form->SetMainForm(true);
    form->SetCaption("Piano demo");
    form->SetClientSize(966, 143);
    auto* piano = new kv::TKVPianoKeyboard(form);
    piano->SetBounds(8, 8, piano->Width(), piano->Height());
    piano->SetParent(form);
    piano->SetPianoKeyWidth(18);
    piano->SetPianoLable(kv::klNote);
    piano->SetPianoFixed(true);
    piano->OnKeyboard = [](std::uint8_t Event, std::uint8_t data1, std::uint8_t data2) {
        std::printf("%s\n", kv::Format("OnKeyboard %.2x %d %d", {Event, data1, data2}).c_str());
        std::fflush(stdout);
    };
    form->OnKeyDown = [piano](kv::TObject* Sender, std::uint16_t& Key, kv::TShiftState Shift) {
        piano->DoPianoKeyDown(Sender, Key, Shift);
    };
    form->OnKeyUp = [piano](kv::TObject* Sender, std::uint16_t& Key, kv::TShiftState Shift) {
        piano->DoPianoKeyUp(Sender, Key, Shift);
    };

    kv::TTimer timer(nullptr);
    int step = 0;
    timer.OnTimer = [&](kv::TObject*) {
        PlayStep(*piano, step++);
        if (frames >= 0 && step >= frames) timer.SetEnabled(false);
    };
    timer.SetInterval(250);

    form->Show();
    kv::Application()->Run();
    return 0;
}
