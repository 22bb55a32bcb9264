#pragma once
// The piano-roll window "Piano Roll": a narrow black strip with the four mode buttons over the
// roll showing the main window's song. It sounds what the user asks of the roll while the player
// is idle (a note auditioned, the notes under a cursor put there), ends every note it sounded,
// shows the selected note in the roll's info strip and keeps the zoom and whether it is open in
// [PianoRoll] of the settings file. Made hidden at start, shown by the main window's Piano Roll
// action above the main window at its width, hidden when closed.
#include "gui/win/TForm.h"
#include "gui/win/TPanel.h"
#include "gui/win/TSpeedButton.h"
#include "piano/win/kvPianoRoll.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class TfrmMain;

class TfrmRoll : public TForm {
public:
    // Main is the main window whose song, devices, player and piano the roll works with.
    TfrmRoll(TComponent* AOwner, TfrmMain* Main, std::string SettingsFile);
    ~TfrmRoll() override;
    std::string ClassName() const override { return "TfrmRoll"; }

    // Sizes the window to show every pitch of the song and puts it right above the main window
    // (at the screen's top when there is no room), as wide as the main window.
    void UpdateFormSize();
    // The zoom from the settings file (a missing value leaves the zoom as it is) and ShowRoll=1.
    void LoadSettings();
    void ClearShowRoll();
    void SaveSettings();
    // The selection's text for the info strip; empty for no note.
    static std::string SelectionText(std::int32_t Count, const TKVMidiEvent* Event);

    TPanel* Panel1 = nullptr;
    std::array<TSpeedButton*, 4> ModeButtons{};
    TKVPianoRoll* PianoRoll1 = nullptr;

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void FormShow();
    void RollMidiEvent(TKVMidiEvent* Event);
    // A sounding note by its channel and pitch.
    static std::uint16_t SoundingKey(const TKVMidiEvent& Event);
    // Opens the event editor on the note double-clicked last, when the roll still holds it.
    void EditNote();

    static constexpr UINT WM_EDIT_NOTE = WM_APP + 0x122;
    TKVMidiEvent* FEditNote = nullptr;
    // The notes the roll sent a note-on for and not yet their note-off, in the order sounded.
    std::vector<std::uint16_t> FSounding;

    TfrmMain* FMain;
    std::string FSettingsFile;
};

// The one piano-roll window, from start to the end.
extern TfrmRoll* frmRoll;

} // namespace kv
