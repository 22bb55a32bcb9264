#include "app/win/fRecord.h"

#include "app/uLanguage.h"
#include "app/win/fMain.h"
#include "app/win/uLanguageWin.h"
#include "base/AnsiText.h"
#include "gui/win/TApplication.h"

#include <commctrl.h>

#include <algorithm>

namespace kv {

TfrmRecord* frmRecord = nullptr;

std::string TRecordEdit::Text()
{
    if (!HandleAllocated()) return FText;
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(Handle(), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return WideToUtf8(text);
}

void TRecordEdit::SetText(const std::string& Value)
{
    FText = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), Utf8ToWide(Value).c_str());
}

void TRecordEdit::SetMaxLength(int Value)
{
    FMaxLength = Value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TRecordEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass = L"EDIT";
    Params.Style |= WS_TABSTOP | ES_AUTOHSCROLL | (FNumbersOnly ? ES_NUMBER : 0);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.Caption = Utf8ToWide(FText);
}

void TRecordEdit::HandleCreated()
{
    if (FMaxLength > 0) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

TfrmRecord::TfrmRecord(TComponent* AOwner, TfrmMain* Main) : TForm(AOwner), FMain(Main)
{
    SetName("frmRecord");
    SetCaption("Record File");
    SetBorderStyle(bsDialog);
    SetClientSize(258, 157);
    CenterOn(Main);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    CreateControls();
    OnClose = [this](TObject*) {
        if (FMain) FMain->SetDialogOpen(false);
    };
    TranslateComponent(this);
    Language().HookLoadResString();
}

TfrmRecord::~TfrmRecord()
{
    Language().UnhookLoadResString();
    if (frmRecord == this) frmRecord = nullptr;
}

void TfrmRecord::CreateControls()
{
    // Made in the tab order: the buttons first, then the fields from the top.
    const auto button = [this](const char* Name, const char* Caption, int Left) {
        auto* b = new TButton(this);
        b->SetName(Name);
        b->SetCaption(Caption);
        b->SetBounds(Left, 124, 75, 25);
        b->SetParent(this);
        return b;
    };
    Button1 = button("Button1", "OK", 8);
    Button1->OnClick = [this](TObject*) { Button1Click(); };
    Button2 = button("Button2", "Cancel", 91);
    Button2->OnClick = [this](TObject*) { Button2Click(); };
    Button3 = button("Button3", "Default", 175);
    Button3->OnClick = [this](TObject*) { Button3Click(); };

    CheckBox1 = new TCheckBox(this);
    CheckBox1->SetName("CheckBox1");
    CheckBox1->SetCaption("Create New Record File");
    CheckBox1->SetBounds(8, 6, 240, 17);
    CheckBox1->SetChecked(true);
    CheckBox1->OnClick = [this](TObject*) { CheckBox1Click(); };
    CheckBox1->SetParent(this);

    const auto field = [this](const char* Name, const char* LabelName, const char* Caption, int Top, int Width) {
        auto* label = new TLabel(this);
        label->SetName(LabelName);
        label->SetCaption(Caption);
        label->SetBounds(8, Top + 3, 110, 13);
        label->SetParent(this);
        auto* edit = new TRecordEdit(this);
        edit->SetName(Name);
        edit->SetBounds(122, Top, Width, 19);
        return std::make_pair(label, edit);
    };
    editTrackName = field("editTrackName", "Label2", "Track Name:", 27, 128).second;
    editTrackName->SetMaxLength(30);
    editTrackName->SetParent(this);
    auto channel = field("seChannel", "Label1", "Channel:", 46, 44);
    Label1 = channel.first;
    seChannel = channel.second;
    seChannel->SetNumbersOnly(true);
    seChannel->SetMaxLength(2);
    seChannel->SetText("1");
    seChannel->SetParent(this);
    // The spin buttons beside the channel field keep it within 1..16.
    FUpDown = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                              WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                              0, 0, 0, 0, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (FUpDown) {
        SendMessageW(FUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(seChannel->Handle()), 0);
        SendMessageW(FUpDown, UDM_SETRANGE32, 1, 16);
        SendMessageW(FUpDown, UDM_SETPOS32, 0, 1);
    }
    editPPQ = field("editPPQ", "Label3", "Pulses Per Quarter:", 65, 60).second;
    editPPQ->SetText("480");
    editPPQ->SetParent(this);
    editSpeed = field("editSpeed", "Label4", "Speed:", 84, 60).second;
    editSpeed->SetText("120");
    editSpeed->SetParent(this);
    editMeter = field("editMeter", "Label5", "Meter:", 103, 60).second;
    editMeter->SetMaxLength(10);
    editMeter->SetText("4/4");
    editMeter->SetParent(this);
}

void TfrmRecord::ShowRecordSettings()
{
    CheckBox1->SetChecked(RecordSettings.NewFile);
    CheckBox1Click();
    editTrackName->SetText(AnsiToUtf8(RecordSettings.TrackName));
    editPPQ->SetText(std::to_string(RecordSettings.PPQ));
    editSpeed->SetText(std::to_string(RecordSettings.Speed));
    editMeter->SetText(RecordSettings.Meter);
    seChannel->SetText(std::to_string(RecordSettings.Channel + 1));
    if (FUpDown) SendMessageW(FUpDown, UDM_SETPOS32, 0, RecordSettings.Channel + 1);
    RecordSettings.Cancelled = true;
}

void TfrmRecord::CheckBox1Click()
{
    const bool newFile = CheckBox1->Checked();
    for (TRecordEdit* edit : {editPPQ, editSpeed, editMeter})
        if (edit) edit->SetEnabled(newFile);
}

void TfrmRecord::ShowModal()
{
    // The program's windows take input again however the wait ends.
    struct TModalScope {
        TfrmMain* Main;
        explicit TModalScope(TfrmMain* AMain) : Main(AMain)
        {
            if (Main) Main->SetDialogOpen(true);
        }
        ~TModalScope()
        {
            if (!Main) return;
            Main->SetDialogOpen(false);
            SetForegroundWindow(Main->Handle());
        }
    } scope(FMain);
    const TTaskWindowsDisabled disabled(Handle());
    ShowRecordSettings();
    Show();
    if (RecordDialogWait()) RecordDialogWait()(*this);
}

void TfrmRecord::Button1Click()
{
    RecordSettings.NewFile = CheckBox1->Checked();
    // The name as the system's code page holds it, cut to 30 characters.
    std::string name;
    for (wchar_t c : Utf8ToWide(editTrackName->Text())) {
        char ansi[4] = {};
        BOOL lost = FALSE;
        if (WideCharToMultiByte(CP_ACP, 0, &c, 1, ansi, sizeof ansi, nullptr, &lost) == 1) name += ansi[0];
        else name += '?';
    }
    RecordSettings.TrackName = name.substr(0, 30);
    RecordSettings.PPQ = IntOrPrevious(editPPQ->Text(), RecordSettings.PPQ);
    RecordSettings.Speed = IntOrPrevious(editSpeed->Text(), RecordSettings.Speed);
    RecordSettings.Meter = editMeter->Text().substr(0, 10);
    const std::int32_t channel = IntOrPrevious(seChannel->Text(), RecordSettings.Channel + 1);
    RecordSettings.Channel = static_cast<std::uint8_t>(std::clamp(channel, 1, 16) - 1);
    RecordSettings.Cancelled = false;
    Close();
}

void TfrmRecord::Button2Click()
{
    RecordSettings.Cancelled = true;
    Close();
}

void TfrmRecord::Button3Click() { ShowRecordSettings(); }

TRecordDialogWait& RecordDialogWait()
{
    static TRecordDialogWait wait = [](TfrmRecord& Dialog) {
        while (IsWindowVisible(Dialog.Handle()) && !Application()->Terminated()) Application()->HandleMessage();
    };
    return wait;
}

} // namespace kv
