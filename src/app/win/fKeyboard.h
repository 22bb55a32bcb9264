#pragma once
// The window "Keyboard": the computer keys as 74 buttons that play the note their key plays and
// select it for editing, the note and octave of the selected key, Apply, and layout files loaded
// and saved. It edits the program's key layout through the main window's on-screen piano, whose
// rule it shares: a key's number is relative to the piano's base, as the table and files keep it.
// Made at start (loading the last layout), shown by the Keyboard action, hidden when closed; it
// keeps the last layout's name in [Common] LastLayout.
#include "gui/win/TButton.h"
#include "gui/win/TComboBox.h"
#include "gui/win/TForm.h"
#include "gui/win/TGroupBox.h"
#include "gui/win/TLabel.h"
#include "gui/win/TSpinEdit.h"

#include <array>
#include <functional>
#include <string>

namespace kv {

class TfrmMain;

constexpr char LayoutFileFilter[] = "Tavrona Keyboard Layer File (*.kbl)|*.kbl|All File (*.*)|*.*";
constexpr char LayoutFileExt[] = ".kbl";

class TfrmKeyboard : public TForm {
public:
    TfrmKeyboard(TComponent* AOwner, TfrmMain* Main, std::string SettingsFile);
    ~TfrmKeyboard() override;
    std::string ClassName() const override { return "TfrmKeyboard"; }

    void BuildKeyButtons();
    void FillKeyList();
    void LoadLastLayout();
    void SaveLastLayout();
    // The selected key's note and octave are shown; Apply keeps its state.
    void cbKeysChange();
    void Apply();
    void Load();
    void Save();
    const std::string& LayoutFile() const { return FLayoutFile; }

    // Chooses a layout file to open (Save false) or to save; empty when cancelled. The system's
    // file dialogs unless replaced.
    std::function<std::string(bool Save)> ChooseLayoutFile;

    std::array<TButton*, 74> KeyButtons{};
    TGroupBox* GroupBox1 = nullptr;
    TLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    TComboBox *cbKeys = nullptr, *cbNote = nullptr;
    TSpinEdit* seOctave = nullptr;
    TButton *BitBtn1 = nullptr, *BitBtn2 = nullptr, *BitBtn3 = nullptr, *BitBtn4 = nullptr;

private:
    void CreateControls();
    // The key picture and list show the key names untranslated.
    void ShowKeyNames();
    void AttachFieldHandlers(bool Attached);
    // Places the editing area's fields and commands for the width of their texts.
    void LayoutEditArea();
    std::string ChooseWithDialog(bool Save);

    TfrmMain* FMain;
    std::string FSettingsFile;
    std::string FLayoutFile;
};

extern TfrmKeyboard* frmKeyboard;

} // namespace kv
