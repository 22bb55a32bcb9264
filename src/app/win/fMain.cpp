#include "app/win/fMain.h"

#include "app/uLanguage.h"
#include "app/uSettings.h"
#include "app/win/fAbout.h"
#include "app/win/fEvent.h"
#include "app/win/fKeyboard.h"
#include "app/win/fOption.h"
#include "app/win/fRoll.h"
#include "app/win/uLanguageWin.h"
#include "app/win/uProgram.h"
#include "app/win/uToolImages.h"
#include "gui/win/TApplication.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

namespace kv {

TfrmMain* frmMain = nullptr;

namespace {

constexpr std::int32_t ToolBarHeight = 48;
constexpr std::int32_t DisplayHeight = 25;
constexpr std::int32_t StatusBarHeight = 19;
constexpr TColor clYellow = 0x00FFFF;

} // namespace

TfrmMain::TfrmMain(TComponent* AOwner) : TForm(AOwner)
{
    SetName("frmMain");
    SetCaption(ApplicationTitle);
    SetBorderStyle(bsSingle);
    SetClientSize(951, 219);
    CenterOn(nullptr);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    SetScreenSnap(true);

    MidiFile1 = new TKVMidiFile(this);
    MidiFile1->SetName("MidiFile1");
    MidiFile1->SetFileType(feMidi);
    MidiDevices1 = new TKVMidiDevices(this);
    MidiDevices1->SetName("MidiDevices1");
    MidiPlayer1 = new TKVMidiPlayer(this);
    MidiPlayer1->SetName("MidiPlayer1");
    MidiPlayer1->SetMidiFile(MidiFile1);
    MidiPlayer1->SetSpeedRatio(1.0);
    TimerRoll = new TTimer(this);
    TimerRoll->SetName("TimerRoll");
    TimerRoll->SetEnabled(false);
    TimerRoll->SetInterval(500);
    TimerRoll->OnTimer = [this](TObject*) { TimerRollTimer(); };

    CreateActions();
    CreateToolBar();
    CreateDisplay();

    PianoKeyboard1 = new TKVPianoKeyboard(this);
    PianoKeyboard1->SetName("PianoKeyboard1");
    PianoKeyboard1->SetBounds(0, ToolBarHeight + DisplayHeight, 950, 127);
    PianoKeyboard1->SetPianoKeyWidth(18);
    PianoKeyboard1->SetPianoLable(klNote);
    PianoKeyboard1->SetPianoFixed(true);
    PianoKeyboard1->SetPianoOctave(0);
    PianoKeyboard1->SetParent(this);

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetBounds(0, 219 - StatusBarHeight, 951, StatusBarHeight);
    StatusBar1->AddPanel(578, psOwnerDraw);
    StatusBar1->AddPanel(50, psText);
    StatusBar1->SetParent(this);
    pbLength = new TProgressBar(this);
    pbLength->SetName("pbLength");
    pbLength->SetCursor(crHandPoint);
    // The progress bar lives in the status bar's owner-drawn panel and takes its rectangle.
    pbLength->SetParent(StatusBar1);
    const auto fitProgress = [this](const TRect& R) {
        if (pbLength->BoundsRect() != R) pbLength->SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
    };
    fitProgress(StatusBar1->PanelRect(0));
    StatusBar1->OnDrawPanel = [fitProgress](TStatusBar*, int Panel, const TRect& Rect) {
        if (Panel == 0) fitProgress(Rect);
    };

    ConnectSongHandlers();
    ConnectLiveHandlers();

    // The system menu's texts and the status bar's version are taken before the window is
    // translated, as the window description has them.
    HandleNeeded();
    AddSystemMenuItems();
    DragAcceptFiles(Handle(), TRUE);
    StatusBar1->SetPanelText(1, GetFileVersionString());
    TranslateComponent(this);
    Language().HookLoadResString();
    // Play and Record show Pause and Resume while they run: their buttons have room for them.
    for (TAction* running : {actPlay, actRecord})
        for (int i = 0; i < ToolBar1->ButtonCount(); ++i)
            if (ToolBar1->ButtonAction(i) == running) ToolBar1->SetButtonCaptions(i, {ResStr("Pause"), ResStr("Resume")});
    LayoutToolBar();
}

TfrmMain::~TfrmMain()
{
    GuardedCall([this] {
        // The song goes with this window: the roll lets go of its events first.
        if (frmRoll) frmRoll->PianoRoll1->SetMidiFile(nullptr);
        if (frmEvent) frmEvent->ClearEvents();
        MidiPlayer1->Stop();
        for (int i = 0; i < static_cast<int>(MidiDevices1->MidiInputList().size()); ++i) MidiDevices1->CloseMidiIn(i);
        for (int i = 0; i < static_cast<int>(MidiDevices1->MidiOutputList().size()); ++i) MidiDevices1->CloseMidiOut(i);
    });
    Language().UnhookLoadResString();
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::CreateActions()
{
    ImageList1 = new TImageList(this, ToolImageSize, ToolImageSize);
    ImageList1->SetName("ImageList1");
    LoadToolImages(*ImageList1);
    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    actOpen = ActionList1->Add("actOpen", "Open", 4, "Piano");
    actPlay = ActionList1->Add("actPlay", "Play", 0, "Piano");
    actRecord = ActionList1->Add("actRecord", "Record", 2, "Piano");
    actStop = ActionList1->Add("actStop", "Stop", 3, "Piano");
    actSave = ActionList1->Add("actSave", "Save", 5, "Piano");
    actSaveAs = ActionList1->Add("actSaveAs", "Save As", 6, "Piano");
    actRepeat = ActionList1->Add("actRepeat", "Repeat", 12, "Common");
    actPianoRoll = ActionList1->Add("actPianoRoll", "Piano Roll", 19, "Common");
    actMidiEvent = ActionList1->Add("actMidiEvent", "Midi Event", 7, "Common");
    actOptions = ActionList1->Add("actOptions", "Options", 14, "Common");
    actKeyboard = ActionList1->Add("actKeyboard", "Keyboard", 18, "Common");
    actKeyboard->SetHint("");
    actHelp = ActionList1->Add("actHelp", "Help", 13, "Common");
    actAbout = ActionList1->Add("actAbout", "About", 17, "Common");
    actStayOnTop = ActionList1->Add("actStayOnTop", "Stay On Top", 20, "Common");

    // Repeat is a check action: each execution toggles it.
    actRepeat->OnExecute = [this](TObject*) { actRepeat->SetChecked(!actRepeat->Checked()); };
    actStayOnTop->OnExecute = [this](TObject*) { StayOnTopExecute(); };
    actHelp->OnExecute = [this](TObject*) { HelpExecute(); };
    actAbout->OnExecute = [this](TObject*) {
        frmAbout = static_cast<TfrmAbout*>(ShowFormAbove(frmAbout, [this] { return new TfrmAbout(this); }));
    };
    actPianoRoll->OnExecute = [this](TObject*) { PianoRollExecute(); };
    actMidiEvent->OnExecute = [this](TObject*) {
        frmEvent = static_cast<TfrmEvent*>(
            ShowFormAbove(frmEvent, [this] { return new TfrmEvent(this, MidiFile1, MidiPlayer1); }));
        // From now on the devices' trace lines are made, for the list's trace.
        SetOnTraceLine([](const std::string& Line) {
            if (frmEvent) frmEvent->UpdateText(Line);
        });
    };
    actKeyboard->OnExecute = [this](TObject*) {
        if (frmKeyboard) ShowFormAbove(frmKeyboard, nullptr);
    };
    actOptions->OnExecute = [this](TObject*) {
        if (frmOption) ShowFormAbove(frmOption, nullptr);
    };

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    PopupMenu1->AddAction(actKeyboard);
    PopupMenu1->AddSeparator();
    actHelp->SetVisible(false);
    PopupMenu1->AddAction(actHelp);
    PopupMenu1->AddAction(actAbout);
    PopupMenu1->AddSeparator();
    PopupMenu1->AddAction(actStayOnTop);
    PopupMenu2 = new TPopupMenu(this);
    PopupMenu2->SetName("PopupMenu2");
    PopupMenu2->AddAction(actSaveAs);
    PopupMenu3 = new TPopupMenu(this);
    PopupMenu3->SetName("PopupMenu3");
    PopupMenu3->AddAction(actMidiEvent);
    for (TPopupMenu* menu : {PopupMenu1, PopupMenu2, PopupMenu3}) menu->SetImages(ImageList1);
}

void TfrmMain::CreateToolBar()
{
    ToolBar1 = new TToolBar(this);
    ToolBar1->SetName("ToolBar1");
    ToolBar1->SetBounds(0, 0, 951, ToolBarHeight);
    ToolBar1->SetButtonSize(59, 44);
    ToolBar1->SetShowHint(true);
    ToolBar1->SetImages(ImageList1);
    ToolBar1->AddButton(actOpen);
    ToolBar1->AddButton(actPlay);
    ToolBar1->AddButton(actRecord);
    ToolBar1->AddButton(actStop);
    ToolBar1->AddButton(actSave, PopupMenu2);
    ToolBar1->AddSeparator();
    ToolBar1->AddButton(actRepeat);
    ToolBar1->AddSeparator();
    ToolBar1->AddButton(actPianoRoll, PopupMenu3);
    ToolBar1->AddSeparator();
    ToolBar1->AddButton(actOptions, PopupMenu1);
    ToolBar1->AddSeparator();
    ToolBar1->SetParent(this);

    struct TSlider {
        TLabel*& Label;
        TTrackBar*& Bar;
        const char* LabelName;
        const char* BarName;
        const char* Caption;
    };
    const TSlider sliders[] = {{lblKey, trbKey, "lblKey", "trbKey", "Key:"},
                               {lblSpeed, trbSpeedRatio, "lblSpeed", "trbSpeedRatio", "Speed:"},
                               {lblValume, trbVolume, "lblValume", "trbVolume", "Volume:"}};
    for (const TSlider& s : sliders) {
        s.Label = new TLabel(this);
        s.Label->SetName(s.LabelName);
        s.Label->SetCaption(s.Caption);
        s.Label->SetBounds(0, 17, 42, 13);
        s.Label->SetParent(ToolBar1);
        s.Bar = new TTrackBar(this);
        s.Bar->SetName(s.BarName);
        s.Bar->SetBounds(42, 2, 80, 44);
        s.Bar->SetParent(ToolBar1);
    }
    trbKey->SetRange(-12, 12);
    trbKey->SetPageSize(1);
    trbKey->SetFrequency(6);
    trbKey->SetTicksBoth(true);
    trbKey->SetTabStop(false);
    trbSpeedRatio->SetRange(1, 200);
    trbSpeedRatio->SetPosition(100);
    trbSpeedRatio->SetPageSize(20);
    trbSpeedRatio->SetFrequency(20);
    trbSpeedRatio->SetHint("100%");
    trbVolume->SetRange(0, 65535);
    trbVolume->SetPageSize(6553);
    trbVolume->SetFrequency(6553);
    LayoutToolBar();
}

void TfrmMain::LayoutToolBar()
{
    // The sliders follow the buttons, each right of its label, however wide the texts are.
    std::int32_t left = ToolBar1->ButtonsWidth() + 2;
    for (auto [label, bar] : {std::pair{lblKey, trbKey}, std::pair{lblSpeed, trbSpeedRatio}, std::pair{lblValume, trbVolume}}) {
        label->SetBounds(left, label->Top(), label->Width(), label->Height());
        bar->SetBounds(left + label->Width(), bar->Top(), 80, bar->Height());
        left += label->Width() + 80 + 2;
    }
    Resize();
}

TLabel* TfrmMain::DisplayLabel(const char* Name, const std::string& Text, std::int32_t Left, std::int32_t Width, bool IsCaption)
{
    auto* label = new TLabel(this);
    label->SetName(Name);
    label->SetCaption(Text);
    label->SetBounds(Left, 6, Width, 13);
    label->SetColor(IsCaption ? clBlue : clBlack);
    label->Font().SetColor(IsCaption ? clYellow : clWhite);
    if (IsCaption) label->SetAlignment(taRightJustify);
    label->SetParent(plDisplay);
    return label;
}

void TfrmMain::CreateDisplay()
{
    plDisplay = new TPanel(this);
    plDisplay->SetName("plDisplay");
    plDisplay->SetColor(clBlack);
    plDisplay->SetBounds(0, ToolBarHeight, 951, DisplayHeight);
    plDisplay->SetParent(this);
    DisplayLabel("Label8", "Key:", 9, 42, true);
    lbKey = DisplayLabel("lbKey", "0", 57, 24, false);
    DisplayLabel("Label7", "Speed:", 83, 42, true);
    lbSpeed = DisplayLabel("lbSpeed", "100", 131, 24, false);
    lblSpeedRatio = DisplayLabel("lblSpeedRatio", "100%", 155, 33, false);
    DisplayLabel("Label2", "Octave:", 190, 42, true);
    lbOctave = DisplayLabel("lbOctave", "3", 238, 10, false);
    DisplayLabel("Label3", "Volume:", 250, 42, true);
    lblVolume = DisplayLabel("lblVolume", "100%", 298, 33, false);
    DisplayLabel("Label5", "Meter:", 333, 42, true);
    lbMeter = DisplayLabel("lbMeter", "4/4", 381, 20, false);
    DisplayLabel("Label4", "Time:", 403, 42, true);
    lbTime = DisplayLabel("lbTime", "0:00:00.000", 451, 64, false);
    DisplayLabel("Label6", "File:", 517, 42, true);
    lbFile = DisplayLabel("lbFile", UntitledFileName, 565, 951 - 565 - 4, false);
    lbFile->SetShowHint(true);
    lbFile->SetAnchors(akLeft | akTop | akRight);
}

void TfrmMain::Resize()
{
    TForm::Resize();
    if (!trbVolume) return;
    // The volume slider takes the bar's width right of its label, but no more than the speed slider.
    const std::int32_t room = ToolBar1->Width() - (lblValume->Left() + lblValume->Width());
    trbVolume->SetWidth(std::min(room, trbSpeedRatio->Width()));
    if (frmRoll && frmRoll->Visible()) frmRoll->UpdateFormSize();
}

void TfrmMain::FormShow()
{
    trbVolume->SetPosition(MidiDevices1->MidiVolume());
    trbSpeedRatioChange();
    trbVolumeChange();
    // The song named on the command line, else the last file; a missing file is passed over.
    const std::string argument = ParamStr(1);
    const std::string song = !argument.empty() && FileExists(argument) ? argument : MidiFile1->FileName();
    // A song that fails to read is reported once and the start goes on under the default name:
    // the name kept would be written as the last file again, and Save would write the empty
    // song over the file.
    if (FileExists(song) && !GuardedCall([this, &song] { OpenMidiFile(song); }))
        MidiFile1->SetFileName(InProgramFolder(ProgramFolder(), UntitledFileName));
    // The piano roll was open when the program last ended: it opens again a second after start.
    if (actPianoRoll->Tag() == 1) TimerRoll->SetEnabled(true);
}

void TfrmMain::TimerRollTimer()
{
    TimerRoll->SetTag(TimerRoll->Tag() + 1);
    if (TimerRoll->Tag() <= 1) return;
    TimerRoll->SetEnabled(false);
    TimerRoll->SetTag(0);
    actPianoRoll->Execute();
}

void TfrmMain::AddSystemMenuItems()
{
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    AppendMenuW(menu, MF_STRING, SysMenuAbout, Utf8ToWide(ResStr("About")).c_str());
    AppendMenuW(menu, MF_STRING, SysMenuHelp, Utf8ToWide(ResStr("Help")).c_str());
    AppendMenuW(menu, MF_STRING, SysMenuStayOnTop, Utf8ToWide(ResStr("Stay On Top")).c_str());
}

void TfrmMain::StayOnTopExecute()
{
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    const bool itemChecked = (GetMenuState(menu, SysMenuStayOnTop, MF_BYCOMMAND) & MF_CHECKED) != 0;
    const bool on = !itemChecked && !actStayOnTop->Checked();
    CheckMenuItem(menu, SysMenuStayOnTop, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    SetTopMost(on);
    actStayOnTop->SetChecked(on);
}

void TfrmMain::HelpExecute()
{
    ShellOpen()(ChangeFileExt(ProgramPath(), ".chm"), ProgramFolder());
}

bool TfrmMain::ApplicationEvents1Message(MSG& Msg)
{
    switch (Msg.message) {
    case WM_KEYDOWN:
        if (Msg.wParam == VK_F1) PostMessageW(Handle(), WM_SYSCOMMAND, SysMenuHelp, 0);
        // Space plays only where the main window has the keyboard: not while typing in another
        // window nor behind a modal dialog.
        if (Msg.wParam == VK_SPACE && !FDialogOpen && IsWindowEnabled(Handle()) &&
            (Msg.hwnd == Handle() || IsChild(Handle(), Msg.hwnd)))
            actPlay->Execute();
        return HandleKeyMessage(true, Msg.wParam, Msg.lParam);
    case WM_KEYUP:
        return HandleKeyMessage(false, Msg.wParam, Msg.lParam);
    case WM_DROPFILES:
        if (Msg.hwnd != Handle()) return false;
        DroppedFiles(reinterpret_cast<HDROP>(Msg.wParam));
        return true; // the drop's handle is released
    case WM_SYSCOMMAND:
        if (Msg.wParam == SysMenuAbout) actAbout->Execute();
        else if (Msg.wParam == SysMenuHelp) actHelp->Execute();
        else if (Msg.wParam == SysMenuStayOnTop) actStayOnTop->Execute();
        return false;
    default:
        return false;
    }
}

TForm* TfrmMain::ShowFormAbove(TForm* Form, const std::function<TForm*()>& Create)
{
    if (!Form) {
        if (!Create) return nullptr;
        Form = Create();
    }
    Form->Show();
    Form->SetTop(std::max(0, Top() - Form->Height()));
    return Form;
}

void TfrmMain::PianoRollExecute()
{
    if (!frmRoll) return;
    // Showing it reads its zoom and sizes it to the song.
    ShowFormAbove(frmRoll, nullptr);
    // Where there is no room above, this window goes below the roll, as far as the screen allows.
    const std::int32_t rollBottom = frmRoll->Top() + frmRoll->Height();
    if (rollBottom > Top()) SetTop(std::min(GetSystemMetrics(SM_CYSCREEN) - Height(), rollBottom));
}

void TfrmMain::SnapForm(TForm* Form)
{
    if (Application()->Terminated() || !Form || !Form->Visible()) return;
    Form->SetBounds(Left() + (Width() - Form->Width()) / 2, std::max(0, Top() - Form->Height()), Form->Width(), Form->Height());
}

LRESULT TfrmMain::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (IsPostedWorkMessage(Msg)) {
        RunPostedWork();
        return 0;
    }
    if (Msg == WM_MOVE) {
        RECT r;
        GetWindowRect(Handle(), &r);
        if (r.left != Left() || r.top != Top()) TControl::SetBounds(r.left, r.top, Width(), Height());
        // The roll and the event list stay above this window wherever it goes.
        SnapForm(frmRoll);
        SnapForm(frmEvent);
    }
    return TForm::WndProc(Msg, wParam, lParam);
}

} // namespace kv
