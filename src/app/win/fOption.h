#pragma once
// The options window: the MIDI inputs and outputs to open, the hands and channel panels, the
// General MIDI program of the enabled channels and the three key colours. Made at start (it
// reads the settings file then and opens the devices named there), hidden when closed, and
// destroyed at the end, when it writes the settings file.
#include "app/uSettings.h"
#include "gui/win/TButton.h"
#include "gui/win/TCheckListBox.h"
#include "gui/win/TComboBox.h"
#include "gui/win/TForm.h"
#include "gui/win/TGroupBox.h"
#include "gui/win/TLabel.h"
#include "gui/win/TPageControl.h"
#include "midi/kvMidiEvent.h"
#include "piano/win/kvPianoChannels.h"
#include "piano/win/kvPianoTracks.h"

#include <array>

namespace kv {

class TfrmMain;

class TfrmOption : public TForm {
public:
    // Main is the main window whose song, devices, player, piano and actions the options act on.
    TfrmOption(TComponent* AOwner, TfrmMain* Main, std::string SettingsFile);
    ~TfrmOption() override;
    std::string ClassName() const override { return "TfrmOption"; }

    const std::string& SettingsFile() const { return FSettingsFile; }
    // The colour a note event lights in: that of its track's hand (the left hand's for a track
    // number beyond the song's last track).
    TColor GetHandColor(const TKVMidiEvent& Event) const;
    // The channel panel shows a volume the song set on the channel. The song's own message has
    // gone to the outputs already: the slider's move sends nothing more.
    void ShowChannelVolume(int Channel, int Value);

    TPageControl* PageControl1 = nullptr;
    TPageControl* PageControl2 = nullptr;
    TCheckListBox* clbInput = nullptr;
    TCheckListBox* clbOutput = nullptr;
    TKVPianoTracks* PianoTracks1 = nullptr;
    TKVPianoChannels* PianoChannels1 = nullptr;
    TGroupBox* Options = nullptr;
    TComboBox* cbGMPatches = nullptr;
    TLabel *lblColor = nullptr, *lblColorL = nullptr, *lblColorR = nullptr;
    TButton *BitBtn5 = nullptr, *BitBtn4 = nullptr;

protected:
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The captions of the three colours, left of them.
    std::array<TLabel*, 3> FColorCaptions{};
    void CreateControls();
    void FillGMPatches();
    void LoadOptions();
    void LoadDevices();
    void SaveOptions();
    void SaveDevices();
    void DeviceClicked(bool Input, int Index);
    void ChannelBoxClicked(int Channel, bool Checked);
    void PickColor(TLabel* Label);

    TfrmMain* FMain;
    std::string FSettingsFile;
    bool FShowingSongVolume = false;
};

// The one options window, from start to the end.
extern TfrmOption* frmOption;

} // namespace kv
