#include "app/win/fKeyboard.h"

#include "app/uKeyButtons.h"
#include "app/uLanguage.h"
#include "app/uSettings.h"
#include "app/win/fMain.h"
#include "app/win/uLanguageWin.h"
#include "app/win/uProgram.h"
#include "base/TIniFile.h"
#include "gui/win/FontHandle.h"
#include "gui/win/TApplication.h"
#include "piano/kvPianoKeyLayout.h"

#include <commdlg.h>

#include <algorithm>

#include <filesystem>

namespace kv {

TfrmKeyboard* frmKeyboard = nullptr;

namespace {

constexpr char KeyLastLayout[] = "LastLayout";
constexpr const char* NoteItems[] = {"", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

// The filter of the file dialogs: the "|"-separated pairs with NULs instead, ending in two.
std::wstring DialogFilter(const std::string& Filter)
{
    std::wstring wide = Utf8ToWide(Filter) + L'|';
    for (wchar_t& c : wide)
        if (c == L'|') c = L'\0';
    return wide + L'\0';
}

// Re-enables a button whatever way its command ends.
class TEnableAfter {
public:
    explicit TEnableAfter(TButton* Button) : FButton(Button) { FButton->SetEnabled(false); }
    ~TEnableAfter() { FButton->SetEnabled(true); }
    TEnableAfter(const TEnableAfter&) = delete;
    TEnableAfter& operator=(const TEnableAfter&) = delete;

private:
    TButton* FButton;
};

TLabel* MakeLabel(TComponent* Owner, TWinControl* Parent, const char* Name, const char* Caption, std::int32_t Left,
                  std::int32_t Top)
{
    auto* label = new TLabel(Owner);
    label->SetName(Name);
    label->SetCaption(Caption);
    label->SetBounds(Left, Top, 62, 13);
    label->SetParent(Parent);
    return label;
}

TButton* MakeButton(TComponent* Owner, TWinControl* Parent, const char* Name, const char* Caption, std::int32_t Left,
                    std::int32_t Top)
{
    auto* button = new TButton(Owner);
    button->SetName(Name);
    button->SetCaption(Caption);
    button->SetBounds(Left, Top, 54, 21);
    button->SetParent(Parent);
    return button;
}

// A pushed button's caption keeps this much room from its edges.
constexpr std::int32_t CaptionMargin = 4;

// A key name wider than its button: on two lines where the button is two keys high, else in
// type small enough for one line.
void FitKeyCaption(TButton& Button)
{
    const auto fits = [&Button] { return TextWidth(Button.Font(), Button.Caption()) + CaptionMargin <= Button.Width(); };
    if (fits()) return;
    // Two keys high: the names' two words stand on two lines.
    if (Button.Height() > 21) {
        Button.SetWordWrap(true);
        return;
    }
    while (!fits() && Button.Font().Height() < -7) Button.Font().SetHeight(Button.Font().Height() + 1);
}

} // namespace

TfrmKeyboard::TfrmKeyboard(TComponent* AOwner, TfrmMain* Main, std::string SettingsFile)
    : TForm(AOwner), FMain(Main), FSettingsFile(std::move(SettingsFile))
{
    SetName("frmKeyboard");
    SetCaption("Keyboard");
    SetBorderStyle(bsDialog);
    SetClientSize(594, 236);
    Font().SetName("Tahoma");
    CenterOn(Main);
    ChooseLayoutFile = [this](bool Save) { return ChooseWithDialog(Save); };
    HandleNeeded();
    CreateControls();
    BuildKeyButtons();
    FillKeyList();
    LoadLastLayout();
    TranslateComponent(this);
    ShowKeyNames();
    Language().HookLoadResString();
    LayoutEditArea();
}

void TfrmKeyboard::ShowKeyNames()
{
    // Key names are the layout's data, not texts of the program: a translation of "Left" (the
    // hands) must not rename the arrow key.
    const TKeyLayout& table = BuiltInKeyLayout();
    for (int row = 0; row < KeyLayoutRows; ++row)
        KeyButtons[static_cast<std::size_t>(row)]->SetCaption(KeyNameOf(table[static_cast<std::size_t>(row)]));
    FillKeyList();
}

TfrmKeyboard::~TfrmKeyboard()
{
    GuardedCall([this] { SaveLastLayout(); });
    Language().UnhookLoadResString();
    if (frmKeyboard == this) frmKeyboard = nullptr;
}

void TfrmKeyboard::CreateControls()
{
    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetBounds(353, 112, 230, 108);
    GroupBox1->SetParent(this);
    Label1 = MakeLabel(this, GroupBox1, "Label1", "Key Symbol:", 6, 20);
    cbKeys = new TComboBox(this);
    cbKeys->SetName("cbKeys");
    cbKeys->SetBounds(70, 16, 96, 21);
    cbKeys->SetParent(GroupBox1);
    Label3 = MakeLabel(this, GroupBox1, "Label3", "Octave:", 6, 48);
    seOctave = new TSpinEdit(this);
    seOctave->SetName("seOctave");
    seOctave->SetBounds(70, 44, 40, 21);
    seOctave->SetRange(0, 8);
    seOctave->SetValue(0);
    seOctave->SetParent(GroupBox1);
    Label2 = MakeLabel(this, GroupBox1, "Label2", "Note:", 6, 76);
    cbNote = new TComboBox(this);
    cbNote->SetName("cbNote");
    cbNote->SetBounds(70, 72, 96, 21);
    for (const char* item : NoteItems) cbNote->AddItem(item, 0);
    cbNote->SetParent(GroupBox1);

    // The commands stand in a column at the editing area's right.
    BitBtn1 = MakeButton(this, GroupBox1, "BitBtn1", "Apply", 170, 14);
    BitBtn2 = MakeButton(this, GroupBox1, "BitBtn2", "Load", 170, 37);
    BitBtn3 = MakeButton(this, GroupBox1, "BitBtn3", "Save", 170, 60);
    BitBtn4 = MakeButton(this, GroupBox1, "BitBtn4", "Close", 170, 83);
    BitBtn1->SetEnabled(false);
    BitBtn1->OnClick = [this](TObject*) { Apply(); };
    BitBtn2->OnClick = [this](TObject*) { Load(); };
    BitBtn3->OnClick = [this](TObject*) { Save(); };
    BitBtn4->OnClick = [this](TObject*) { Close(); };
    cbKeys->OnChange = [this](TObject*) { cbKeysChange(); };
    AttachFieldHandlers(true);
}

void TfrmKeyboard::LayoutEditArea()
{
    // The fields stand right of the widest label, the commands are as wide as their widest
    // caption and keep the area's right edge; the lists take the room between.
    std::int32_t labelsRight = 0;
    for (const TLabel* label : {Label1, Label2, Label3}) labelsRight = std::max(labelsRight, label->Left() + label->Width());
    std::int32_t buttonWidth = 54;
    for (TButton* button : {BitBtn1, BitBtn2, BitBtn3, BitBtn4})
        buttonWidth = std::max(buttonWidth, TextWidth(button->Font(), button->Caption()) + 2 * CaptionMargin);
    const std::int32_t fieldsLeft = std::max(70, labelsRight + 4), buttonsLeft = 224 - buttonWidth;
    for (TButton* button : {BitBtn1, BitBtn2, BitBtn3, BitBtn4})
        button->SetBounds(buttonsLeft, button->Top(), buttonWidth, button->Height());
    for (TComboBox* list : {cbKeys, cbNote}) list->SetBounds(fieldsLeft, list->Top(), buttonsLeft - 4 - fieldsLeft, list->Height());
    seOctave->SetBounds(fieldsLeft, seOctave->Top(), seOctave->Width(), seOctave->Height());
}

void TfrmKeyboard::AttachFieldHandlers(bool Attached)
{
    const TNotifyEvent enableApply = [this](TObject*) { BitBtn1->SetEnabled(true); };
    cbNote->OnChange = Attached ? enableApply : nullptr;
    seOctave->OnChange = Attached ? enableApply : nullptr;
}

void TfrmKeyboard::BuildKeyButtons()
{
    const TKeyLayout& table = BuiltInKeyLayout();
    for (int row = 0; row < KeyLayoutRows; ++row) {
        auto* button = new TButton(this);
        button->SetName("Btn" + std::to_string(row));
        button->SetCaption(KeyNameOf(table[static_cast<std::size_t>(row)]));
        button->SetTabStop(false);
        button->SetTag(table[static_cast<std::size_t>(row)].KeyCode);
        const TRect r = KeyButtonBounds(row);
        button->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        FitKeyCaption(*button);
        button->OnMouseDown = [this, button](TObject*, TMouseButton, TShiftState Shift, std::int32_t, std::int32_t) {
            std::uint16_t key = static_cast<std::uint16_t>(button->Tag());
            if (button->Tag() >= 0 && FMain) FMain->PianoKeyboard1->DoPianoKeyDown(button, key, Shift);
        };
        button->OnMouseUp = [this, button](TObject*, TMouseButton, TShiftState Shift, std::int32_t, std::int32_t) {
            std::uint16_t key = static_cast<std::uint16_t>(button->Tag());
            if (button->Tag() >= 0 && FMain) FMain->PianoKeyboard1->DoPianoKeyUp(button, key, Shift);
        };
        button->OnClick = [this, row](TObject*) {
            cbKeys->SetItemIndex(row);
            cbKeysChange();
        };
        button->SetParent(this);
        KeyButtons[static_cast<std::size_t>(row)] = button;
    }
}

void TfrmKeyboard::FillKeyList()
{
    // The names may have changed with a loaded layout.
    cbKeys->Clear();
    for (const TKeyLayoutRec& row : KeyLayout) cbKeys->AddItem(KeyNameOf(row), 0);
    cbKeys->SetItemIndex(0);
    cbKeysChange();
}

void TfrmKeyboard::cbKeysChange()
{
    const int row = cbKeys->ItemIndex();
    if (row < 0 || row >= KeyLayoutRows) return;
    const std::int32_t note = KeyLayout[static_cast<std::size_t>(row)].KeyNote;
    // Showing the key is no edit: Apply stays as it is.
    AttachFieldHandlers(false);
    cbNote->SetItemIndex(note % 12 + 1);
    seOctave->SetValue(note / 12);
    AttachFieldHandlers(true);
}

void TfrmKeyboard::Apply()
{
    const int row = cbKeys->ItemIndex();
    if (row < 0 || row >= KeyLayoutRows) return;
    const int k = cbNote->ItemIndex();
    const std::int32_t note = k <= 0 ? -1 : seOctave->Value() * 12 + (k - 1);
    KeyLayout[static_cast<std::size_t>(row)].KeyNote = note;
    if (FMain) FMain->PianoKeyboard1->SetKeyNote(row, note);
    BitBtn1->SetEnabled(false);
}

void TfrmKeyboard::Load()
{
    TEnableAfter enable(BitBtn2);
    const std::string name = ChooseLayoutFile ? ChooseLayoutFile(false) : std::string();
    if (name.empty()) return;
    // A file that cannot be loaded changes nothing, not even the name kept for the next start.
    if (FMain) FMain->PianoKeyboard1->LoadFromFile(name);
    FLayoutFile = name;
    FillKeyList();
}

void TfrmKeyboard::Save()
{
    TEnableAfter enable(BitBtn3);
    const std::string name = ChooseLayoutFile ? ChooseLayoutFile(true) : std::string();
    if (name.empty()) return;
    if (FMain) FMain->PianoKeyboard1->SaveToFile(name);
    FLayoutFile = name;
}

void TfrmKeyboard::LoadLastLayout()
{
    FLayoutFile = TIniFile(FSettingsFile).ReadString(SectionCommon, KeyLastLayout, "");
    if (FLayoutFile.empty() || !FMain) return;
    std::error_code error;
    const std::string path = InProgramFolder(ProgramFolder(), FLayoutFile);
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), error)) return;
    try {
        FMain->PianoKeyboard1->LoadFromFile(path);
        FillKeyList();
    } catch (...) {
        // A last layout that cannot be loaded is reported once and forgotten: the built-in layout
        // stands, and the next start does not meet the file again.
        FLayoutFile.clear();
        Application()->HandleException(std::current_exception());
    }
}

void TfrmKeyboard::SaveLastLayout()
{
    TIniFile(FSettingsFile).WriteString(SectionCommon, KeyLastLayout, FLayoutFile);
}

std::string TfrmKeyboard::ChooseWithDialog(bool Save)
{
    std::wstring file(MAX_PATH, L'\0');
    const std::wstring filter = DialogFilter(ResStr(LayoutFileFilter));
    const std::wstring ext = Utf8ToWide(std::string(LayoutFileExt).substr(1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = ext.c_str();
    ofn.Flags = OFN_HIDEREADONLY | (Save ? 0 : OFN_FILEMUSTEXIST);
    const BOOL chosen = Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) return {};
    file.resize(wcslen(file.c_str()));
    return WideToUtf8(file);
}

} // namespace kv
