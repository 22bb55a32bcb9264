#pragma once
// The dialog "Event": the song's header (format, pulses per quarter) on one page and one event
// (track, status, data bytes, start time and, for some meta events, their value as text) on the
// other. Apply checks every field before it writes anything; a field that cannot be taken keeps
// the dialog open with a message and leaves the song as it was.
#include "gui/win/TButton.h"
#include "gui/win/TForm.h"
#include "gui/win/TGroupBox.h"
#include "gui/win/TLabel.h"
#include "gui/win/TPageControl.h"
#include "gui/win/TRadioGroup.h"
#include "gui/win/TSpinEdit.h"
#include "midi/kvMidiFile.h"

namespace kv {

class TfrmEdit : public TForm {
public:
    TfrmEdit(TComponent* AOwner, TKVMidiFile* Song);
    ~TfrmEdit() override;
    std::string ClassName() const override { return "TfrmEdit"; }

    void SetMidiHeader(const TKVMidiHeader& Header);
    void SetMidiEvent(TKVMidiEvent* Event);
    TKVMidiEvent* MidiEvent() const { return FMidiEvent; }
    // Writes the fields into the song and closes; raises the conversion error of a field that
    // cannot be taken (nothing is written then).
    void Apply();

    TPageControl* PageControl1 = nullptr;
    TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TEdit *LabeledEdit1 = nullptr, *LabeledEdit2 = nullptr;
    TSpinEdit* SpinEdit1 = nullptr;
    TEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit5 = nullptr, *editLetter = nullptr;
    TLabel* lblLetter = nullptr;
    TButton *Button1 = nullptr, *Button2 = nullptr;

private:
    void CreateControls();

    TKVMidiFile* FSong;
    TKVMidiHeader FMidiHeader;
    TKVMidiEvent* FMidiEvent = nullptr;
    TKVSongWatch FSongWatch;
};

// Opens the editor modally over Owner on the page (0 header, 1 event) for the song's header and,
// when Event is not nil, for Event; Row is the event list's row of the event, -1 for none. After
// Apply the event list shows the new values.
void ShowEventEditor(TForm* Owner, TKVMidiFile* Song, int PageIndex, int Row, TKVMidiEvent* Event);

// The editor while it is open, nullptr otherwise.
extern TfrmEdit* frmEdit;

} // namespace kv
