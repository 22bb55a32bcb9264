#include "app/win/fEdit.h"

#include "app/uLanguage.h"
#include "app/win/fEvent.h"
#include "app/win/fMain.h"
#include "app/win/uLanguageWin.h"
#include "gui/win/TApplication.h"
#include "piano/kvEventEditor.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace kv {

TfrmEdit* frmEdit = nullptr;

namespace {

TLabel* MakeLabel(TComponent* Owner, TWinControl* Parent, const char* Name, const char* Caption, std::int32_t Left,
                  std::int32_t Top, std::int32_t Width)
{
    auto* label = new TLabel(Owner);
    label->SetName(Name);
    label->SetCaption(Caption);
    label->SetBounds(Left, Top, Width, 13);
    label->SetParent(Parent);
    return label;
}

TEdit* MakeEdit(TComponent* Owner, TWinControl* Parent, TEdit* Edit, const char* Name, std::int32_t Left,
                std::int32_t Top, std::int32_t Width)
{
    Edit->SetName(Name);
    Edit->SetBounds(Left, Top, Width, 21);
    Edit->SetParent(Parent);
    (void)Owner;
    return Edit;
}

} // namespace

TfrmEdit::TfrmEdit(TComponent* AOwner, TKVMidiFile* Song) : TForm(AOwner), FSong(Song)
{
    SetName("frmEdit");
    SetCaption("Event");
    SetBorderStyle(bsDialog);
    SetClientSize(297, 204);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    CenterOn(dynamic_cast<TForm*>(AOwner));
    HandleNeeded();
    CreateControls();
    TranslateComponent(this);
    PageControl1->UpdateCaptions();
    Language().HookLoadResString();
    // The event edited may be freed elsewhere while the editor is open: Apply then writes the header only.
    FSongWatch = FSong->Watchers().Watch([this](const TKVSongEdit& Edit) {
        if (Edit.Frees(FMidiEvent)) FMidiEvent = nullptr;
    });
}

TfrmEdit::~TfrmEdit()
{
    Language().UnhookLoadResString();
    if (frmEdit == this) frmEdit = nullptr;
}

void TfrmEdit::CreateControls()
{
    PageControl1 = new TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetBounds(8, 8, 281, 157);
    PageControl1->SetParent(this);
    TabSheet1 = PageControl1->AddPage("TabSheet1", "Midi Header");
    TabSheet2 = PageControl1->AddPage("TabSheet2", "Event");

    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->SetName("RadioGroup1");
    RadioGroup1->SetCaption("Header Type");
    RadioGroup1->SetBounds(6, 4, 100, 90);
    RadioGroup1->SetParent(TabSheet1);
    for (const char* item : {"Single", "MultiSynch", "MultiAsynch"}) RadioGroup1->AddItem(item);
    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetBounds(112, 4, 156, 112);
    GroupBox1->SetParent(TabSheet1);
    MakeLabel(this, GroupBox1, "lblNumberTracks", "Number Of Tracks:", 8, 18, 140);
    LabeledEdit1 = MakeEdit(this, GroupBox1, new TEdit(this), "LabeledEdit1", 8, 33, 140);
    LabeledEdit1->SetReadOnly(true);
    LabeledEdit1->SetColor(clInfoBk);
    MakeLabel(this, GroupBox1, "lblPulsesPerQuarter", "Pulses Per Quarter:", 8, 62, 140);
    LabeledEdit2 = MakeEdit(this, GroupBox1, new TEdit(this), "LabeledEdit2", 8, 77, 140);

    const std::int32_t labelLeft = 8, editLeft = 100;
    MakeLabel(this, TabSheet2, "Label1", "Track:", labelLeft, 9, 88);
    SpinEdit1 = new TSpinEdit(this);
    MakeEdit(this, TabSheet2, SpinEdit1, "SpinEdit1", editLeft, 6, 60);
    SpinEdit1->SetRange(1, 100);
    SpinEdit1->SetValue(1);
    MakeLabel(this, TabSheet2, "Label2", "Event:", labelLeft, 33, 88);
    Edit1 = MakeEdit(this, TabSheet2, new TEdit(this), "Edit1", editLeft, 30, 76);
    MakeLabel(this, TabSheet2, "Label3", "Data1:", labelLeft, 57, 88);
    Edit2 = MakeEdit(this, TabSheet2, new TEdit(this), "Edit2", editLeft, 54, 76);
    MakeLabel(this, TabSheet2, "Label4", "Data2:", labelLeft, 81, 88);
    Edit3 = MakeEdit(this, TabSheet2, new TEdit(this), "Edit3", editLeft, 78, 76);
    MakeLabel(this, TabSheet2, "Label5", "StartTime:", labelLeft, 105, 88);
    Edit5 = MakeEdit(this, TabSheet2, new TEdit(this), "Edit5", editLeft, 102, 76);
    lblLetter = MakeLabel(this, TabSheet2, "lblLetter", "Letter:", 184, 9, 88);
    lblLetter->SetVisible(false);
    editLetter = MakeEdit(this, TabSheet2, new TEdit(this), "editLetter", 184, 30, 84);
    editLetter->SetVisible(false);
    PageControl1->SetActivePageIndex(1);

    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetCaption("Apply");
    Button1->SetBounds(133, 172, 75, 25);
    Button1->SetParent(this);
    Button1->OnClick = [this](TObject*) { Apply(); };
    Button2 = new TButton(this);
    Button2->SetName("Button2");
    Button2->SetCaption("Close");
    Button2->SetBounds(214, 172, 75, 25);
    Button2->SetParent(this);
    Button2->OnClick = [this](TObject*) { Close(); };
}

void TfrmEdit::SetMidiHeader(const TKVMidiHeader& Header)
{
    FMidiHeader = Header;
    RadioGroup1->SetItemIndex(static_cast<int>(Header.HeaderType));
    LabeledEdit1->SetText(std::to_string(Header.NumberTracks));
    LabeledEdit2->SetText(std::to_string(Header.PulsesPerQuarter));
}

void TfrmEdit::SetMidiEvent(TKVMidiEvent* Event)
{
    FMidiEvent = Event;
    if (!Event) return;
    SpinEdit1->SetRange(1, std::max(1, FSong->TrackCount()));
    SpinEdit1->SetValue(Event->Track() + 1);
    SpinEdit1->SetReadOnly(SpinEdit1->MinValue() == SpinEdit1->MaxValue());
    Edit1->SetText(std::to_string(Event->Event()));
    Edit2->SetText(std::to_string(Event->Data1()));
    Edit3->SetText(std::to_string(Event->Data2()));
    Edit5->SetText(std::to_string(Event->StartTime()));
    const TKVMetaField meta = MetaFieldOf(*Event);
    lblLetter->SetCaption(ResStr(meta.Shown ? meta.Label : "Letter:"));
    lblLetter->SetVisible(meta.Shown);
    editLetter->SetText(meta.Text);
    editLetter->SetVisible(meta.Shown);
}

void TfrmEdit::Apply()
{
    const TKVMidiHeader header = ReadHeaderFields(
        FSong->MidiHeader(), {RadioGroup1->ItemIndex(), LabeledEdit1->Text(), LabeledEdit2->Text()});
    std::optional<TKVEventValues> values;
    if (FMidiEvent)
        values = ReadEventFields(*FMidiEvent, {SpinEdit1->Value(), Edit1->Text(), Edit2->Text(), Edit3->Text(),
                                               Edit5->Text(), editLetter->Text()});
    const bool resolutionChanged = header.PulsesPerQuarter != FSong->MidiHeader().PulsesPerQuarter;
    FMidiHeader = header;
    FSong->SetMidiHeader(FMidiHeader);
    // The song's holders (the roll, the list, the player) hear of the change through the song.
    if (FMidiEvent) ApplyEventValues(*FSong, *FMidiEvent, *values, this);
    else if (resolutionChanged) FSong->Watchers().EventsChanged(this);
    if (frmEvent) frmEvent->SetMidiEvent(static_cast<int>(Tag()), FMidiEvent);
    Close();
}

void ShowEventEditor(TForm* Owner, TKVMidiFile* Song, int PageIndex, int Row, TKVMidiEvent* Event)
{
    if (frmEdit) return;
    auto editor = std::make_unique<TfrmEdit>(nullptr, Song);
    editor->CenterOn(Owner);
    frmEdit = editor.get();
    editor->PageControl1->SetActivePageIndex(PageIndex);
    editor->SetTag(Row);
    editor->SetMidiHeader(Song->MidiHeader());
    if (Event) editor->SetMidiEvent(Event);
    editor->Hide();
    // Computer keys do not play the piano while the editor is open.
    const bool dialogOpen = frmMain && frmMain->DialogOpen();
    if (frmMain) frmMain->SetDialogOpen(true);
    editor->ShowModal();
    if (frmMain) frmMain->SetDialogOpen(dialogOpen);
}

} // namespace kv
