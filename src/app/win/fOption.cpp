#include "app/win/fOption.h"

#include "app/uLanguage.h"
#include "app/win/fMain.h"
#include "app/win/uLanguageWin.h"
#include "app/win/uProgram.h"
#include "gui/win/TApplication.h"
#include "midi/kvMidiCommonNames.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <iterator>

namespace kv {

TfrmOption* frmOption = nullptr;

namespace {

TLabel* MakeLabel(TForm* Owner, TWinControl* Parent, const char* Name, const std::string& Caption, std::int32_t Left,
                  std::int32_t Top, std::int32_t Width)
{
    auto* label = new TLabel(Owner);
    label->SetName(Name);
    label->SetCaption(Caption);
    label->SetBounds(Left, Top, Width, 13);
    label->SetParent(Parent);
    return label;
}

} // namespace

TfrmOption::TfrmOption(TComponent* AOwner, TfrmMain* Main, std::string SettingsFile)
    : TForm(AOwner), FMain(Main), FSettingsFile(std::move(SettingsFile))
{
    SetName("frmOption");
    SetCaption("Options");
    SetBorderStyle(bsDialog);
    SetClientSize(564, 236);
    CenterOn(Main);
    // The window and its controls exist from the start, hidden until Options shows them; the
    // pages know their size before their controls are placed on them.
    HandleNeeded();
    CreateControls();
    FillGMPatches();
    LoadOptions();
    LoadDevices();
    TranslateComponent(this);
    Language().HookLoadResString();
    // A colour stands right of its caption, however long the caption has become.
    const std::array<TLabel*, 3> swatches{lblColor, lblColorL, lblColorR};
    for (std::size_t i = 0; i < swatches.size(); ++i) {
        const TLabel* caption = FColorCaptions[i];
        swatches[i]->SetLeft(std::max(caption->Left() + 80, caption->Left() + caption->Width() + 2));
    }
    PianoTracks1->SetMidiFile(FMain->MidiFile1);
}

TfrmOption::~TfrmOption()
{
    // The settings are written before the window goes; an error that stops writing reaches the
    // application's handler, and the writes after it do not happen.
    GuardedCall([this] {
        SaveOptions();
        SaveDevices();
    });
    Language().UnhookLoadResString();
    if (frmOption == this) frmOption = nullptr;
}

void TfrmOption::CreateControls()
{
    PageControl1 = new TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetBounds(4, 4, 272, 150);
    PageControl1->SetParent(this);
    TTabSheet* inputs = PageControl1->AddPage("TabSheet1", "Input Devices");
    TTabSheet* outputs = PageControl1->AddPage("TabSheet2", "Output Devices");
    PageControl1->SetActivePageIndex(1);
    clbInput = new TCheckListBox(this);
    clbInput->SetName("clbInput");
    clbInput->SetBounds(0, 0, inputs->Width(), inputs->Height());
    clbInput->SetAnchors(akLeft | akTop | akRight | akBottom);
    clbInput->SetParent(inputs);
    clbInput->OnClickCheck = [this](TObject*, int Index) { DeviceClicked(true, Index); };
    clbOutput = new TCheckListBox(this);
    clbOutput->SetName("clbOutput");
    clbOutput->SetBounds(0, 0, outputs->Width(), outputs->Height());
    clbOutput->SetAnchors(akLeft | akTop | akRight | akBottom);
    clbOutput->SetParent(outputs);
    clbOutput->OnClickCheck = [this](TObject*, int Index) { DeviceClicked(false, Index); };

    PageControl2 = new TPageControl(this);
    PageControl2->SetName("PageControl2");
    PageControl2->SetBounds(282, 4, 278, 150);
    PageControl2->SetParent(this);
    TTabSheet* hands = PageControl2->AddPage("TabSheet3", "Hands");
    TTabSheet* channels = PageControl2->AddPage("TabSheet4", "Channels");
    PageControl2->SetActivePageIndex(0);
    PianoTracks1 = new TKVPianoTracks(this);
    PianoTracks1->SetName("PianoTracks1");
    PianoTracks1->SetBounds(0, 0, hands->Width(), hands->Height());
    PianoTracks1->SetParent(hands);
    PianoTracks1->OnTrackClick = [this](TObject*) {
        // A track switched off gets no more note-offs from the player: what sounds stops now, on
        // the channels its notes use too, which need not be checked.
        FMain->SilenceEveryChannel();
    };
    PianoChannels1 = new TKVPianoChannels(this);
    PianoChannels1->SetName("PianoChannels1");
    PianoChannels1->SetChannelLeft(5);
    PianoChannels1->SetChannelSpace(11);
    PianoChannels1->SetChannelHeight(56);
    PianoChannels1->SetBounds(0, 0, channels->Width(), channels->Height());
    PianoChannels1->SetParent(channels);
    PianoChannels1->OnChannelChange = [this](TObject* Sender) {
        if (FShowingSongVolume) return;
        if (const auto* slider = dynamic_cast<TTrackBar*>(Sender))
            FMain->MidiPlayer1->SetVolume(static_cast<std::int32_t>(slider->Tag()), 127 - slider->Position());
    };
    PianoChannels1->OnChannelClick = [this](TObject* Sender) {
        if (const auto* box = dynamic_cast<TCheckBox*>(Sender)) ChannelBoxClicked(static_cast<int>(box->Tag()), box->Checked());
    };

    Options = new TGroupBox(this);
    Options->SetName("Options");
    Options->SetCaption("Options");
    Options->SetBounds(4, 156, 556, 76);
    Options->SetParent(this);
    MakeLabel(this, Options, "lbl", "GM Patches:", 10, 22, 70);
    cbGMPatches = new TComboBox(this);
    cbGMPatches->SetName("cbGMPatches");
    cbGMPatches->SetBounds(84, 18, 265, 21);
    cbGMPatches->SetParent(Options);
    cbGMPatches->OnChange = [this](TObject*) {
        const int index = cbGMPatches->ItemIndex();
        if (index < 0) return;
        for (int channel = 0; channel < 16; ++channel)
            if (PianoChannels1->GetChannelActive(channel))
                FMain->MidiPlayer1->SetPatches(channel, static_cast<std::int32_t>(cbGMPatches->ItemValue(index)));
    };
    const struct {
        const char* Name;
        const char* Caption;
        const char* ColorName;
        TLabel** Target;
        std::int32_t Left;
    } colours[] = {{"LabelColor", "Default Color:", "lblColor", &lblColor, 10},
                   {"Label1", "Left Hand:", "lblColorL", &lblColorL, 138},
                   {"Label2", "Right Hand:", "lblColorR", &lblColorR, 266}};
    int tag = 0;
    for (std::size_t i = 0; i < std::size(colours); ++i) {
        const auto& c = colours[i];
        FColorCaptions[i] = MakeLabel(this, Options, c.Name, c.Caption, c.Left, 50, 78);
        TLabel* label = MakeLabel(this, Options, c.ColorName, "", c.Left + 80, 48, 36);
        label->SetTag(tag++);
        label->OnDblClick = [this, label](TObject*) { PickColor(label); };
        *c.Target = label;
    }
    BitBtn5 = new TButton(this);
    BitBtn5->SetName("BitBtn5");
    BitBtn5->SetCaption("Help");
    BitBtn5->SetTabStop(false);
    BitBtn5->SetBounds(390, 44, 75, 25);
    BitBtn5->OnClick = [this](TObject*) { FMain->actHelp->Execute(); };
    BitBtn5->SetParent(Options);
    BitBtn4 = new TButton(this);
    BitBtn4->SetName("BitBtn4");
    BitBtn4->SetCaption("Close");
    BitBtn4->SetTabStop(false);
    BitBtn4->SetBounds(472, 44, 75, 25);
    BitBtn4->OnClick = [this](TObject*) { Close(); };
    BitBtn4->SetParent(Options);
}

void TfrmOption::FillGMPatches()
{
    for (const KVFamily& family : GMFamilies)
        for (const KVInstrument& program : family.FInstrument)
            cbGMPatches->AddItem(std::to_string(program.iData) + ": " + program.sName, program.iData);
}

void TfrmOption::LoadOptions()
{
    const TIniFile ini(FSettingsFile);
    TKVCommonOptions defaults;
    defaults.DefaultColor = FMain->PianoKeyboard1->PianoColor();
    defaults.HandColorL = PianoTracks1->HandColorL();
    defaults.HandColorR = PianoTracks1->HandColorR();
    defaults.AutoRepeat = false;
    defaults.StayOnTop = false;
    defaults.LastFile = UntitledFileName;
    defaults.ShowRoll = 0;
    const TKVCommonOptions options = ReadCommonOptions(ini, defaults);
    FMain->PianoKeyboard1->SetPianoColor(options.DefaultColor);
    PianoTracks1->SetHandColorL(options.HandColorL);
    PianoTracks1->SetHandColorR(options.HandColorR);
    FMain->actRepeat->SetChecked(options.AutoRepeat);
    // A relative name means the file beside the program, not in the current folder.
    FMain->MidiFile1->SetFileName(InProgramFolder(ProgramFolder(), options.LastFile));
    FMain->lbFile->SetCaption(options.LastFile.substr(FolderOf(options.LastFile).size()));
    FMain->lbFile->SetHint(FMain->MidiFile1->FileName());
    FMain->actPianoRoll->SetTag(options.ShowRoll);
    // The action toggles: set to the opposite, then executed once.
    FMain->actStayOnTop->SetChecked(!options.StayOnTop);
    FMain->actStayOnTop->Execute();
    lblColor->SetColor(options.DefaultColor);
    lblColorL->SetColor(options.HandColorL);
    lblColorR->SetColor(options.HandColorR);
}

void TfrmOption::LoadDevices()
{
    const TIniFile ini(FSettingsFile);
    TKVMidiDevices* devices = FMain->MidiDevices1;
    for (const std::string& name : devices->MidiInputList()) clbInput->AddItem(name, false);
    for (const std::string& name : devices->MidiOutputList()) clbOutput->AddItem(name, false);
    const std::string inputs = ini.ReadString(SectionDevice, "Input", "[0]");
    const std::string outputs = ini.ReadString(SectionDevice, "Output", "[0]");
    for (int i = 0; i < clbInput->Count(); ++i)
        if (DeviceListHas(inputs, i)) {
            clbInput->SetChecked(i, true);
            devices->OpenMidiIn(i);
        }
    for (int i = 0; i < clbOutput->Count(); ++i)
        if (DeviceListHas(outputs, i)) {
            clbOutput->SetChecked(i, true);
            devices->OpenMidiOut(i);
        }
}

void TfrmOption::SaveOptions()
{
    TIniFile ini(FSettingsFile);
    TKVCommonOptions options;
    options.DefaultColor = FMain->PianoKeyboard1->PianoColor();
    options.HandColorL = PianoTracks1->HandColorL();
    options.HandColorR = PianoTracks1->HandColorR();
    options.AutoRepeat = FMain->actRepeat->Checked();
    options.StayOnTop = FMain->actStayOnTop->Checked();
    // A song beside the program is kept by its name, as the file names it at first.
    const std::string folder = ProgramFolder();
    const std::string& file = FMain->MidiFile1->FileName();
    options.LastFile = file.compare(0, folder.size(), folder) == 0 && FolderOf(file) == folder ? file.substr(folder.size()) : file;
    WriteCommonOptions(ini, options);
}

void TfrmOption::SaveDevices()
{
    TKVMidiDevices* devices = FMain->MidiDevices1;
    std::vector<bool> inputs, outputs;
    for (int i = 0; i < clbInput->Count(); ++i) {
        inputs.push_back(clbInput->Checked(i));
        if (inputs.back()) devices->CloseMidiIn(i);
    }
    for (int i = 0; i < clbOutput->Count(); ++i) {
        outputs.push_back(clbOutput->Checked(i));
        if (outputs.back()) devices->CloseMidiOut(i);
    }
    TIniFile ini(FSettingsFile);
    ini.WriteString(SectionDevice, "Input", DeviceListText(inputs));
    ini.WriteString(SectionDevice, "Output", DeviceListText(outputs));
}

TColor TfrmOption::GetHandColor(const TKVMidiEvent& Event) const
{
    return PianoTracks1->GetTrackHand(Event.Track()) == thRight ? lblColorR->Color() : lblColorL->Color();
}

void TfrmOption::ShowChannelVolume(int Channel, int Value)
{
    FShowingSongVolume = true;
    try {
        PianoChannels1->DoChannelEvent(Channel, Value);
    } catch (...) {
        FShowingSongVolume = false;
        throw;
    }
    FShowingSongVolume = false;
}

void TfrmOption::ChannelBoxClicked(int Channel, bool Checked)
{
    // A channel switched off gets no more note-offs from the song: what it still sounds stops now.
    if (!Checked) {
        const auto status = static_cast<std::uint8_t>(0xB0 + Channel);
        FMain->MidiDevices1->SendMidiShort(status, 123, 0);
        FMain->PianoKeyboard1->DoMidiShort(status, 123, 0);
    }
    // Every track that uses the channel is switched with its box, in the panel and in the song.
    TKVMidiFile* song = FMain->MidiFile1;
    for (int i = 0; i < song->TrackCount(); ++i) {
        TMyMidiTrack* track = song->GetTrack(i);
        if (!track || !track->GetChannels(Channel)) continue;
        PianoTracks1->SetTrackActive(i, Checked);
        track->SetActive(Checked);
    }
}

void TfrmOption::DeviceClicked(bool Input, int Index)
{
    TCheckListBox* list = Input ? clbInput : clbOutput;
    const bool open = list->Checked(Index);
    TKVMidiDevices* devices = FMain->MidiDevices1;
    if (Input)
        open ? devices->OpenMidiIn(Index) : devices->CloseMidiIn(Index);
    else
        open ? devices->OpenMidiOut(Index) : devices->CloseMidiOut(Index);
}

void TfrmOption::PickColor(TLabel* Label)
{
    static COLORREF custom[16] = {};
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = Handle();
    choice.lpCustColors = custom;
    choice.Flags = CC_FULLOPEN | CC_SOLIDCOLOR;
    if (!ChooseColorW(&choice)) return;
    const TColor colour = static_cast<TColor>(choice.rgbResult);
    switch (Label->Tag()) {
    case 0: FMain->PianoKeyboard1->SetPianoColor(colour); break;
    case 1: PianoTracks1->SetHandColorL(colour); break;
    case 2: PianoTracks1->SetHandColorR(colour); break;
    default: break;
    }
    Label->SetColor(colour);
}

LRESULT TfrmOption::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_SHOWWINDOW) FMain->SetDialogOpen(wParam != 0);
    return TForm::WndProc(Msg, wParam, lParam);
}

} // namespace kv
