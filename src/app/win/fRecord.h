#pragma once
// The record dialog "Record File": whether to start a new song or add a track to the current
// one, the track's name and channel, and for a new song its resolution, speed and meter. Made by
// the main window's Record action, shown modally and freed when it closes.
#include "app/uRecordSettings.h"
#include "gui/win/TButton.h"
#include "gui/win/TCheckBox.h"
#include "gui/win/TForm.h"
#include "gui/win/TLabel.h"

#include <functional>
#include <string>

namespace kv {

class TfrmMain;

// A one-line edit field of the dialog.
class TRecordEdit : public TWinControl {
public:
    explicit TRecordEdit(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 121, 21); }
    std::string ClassName() const override { return "TRecordEdit"; }

    std::string Text();
    void SetText(const std::string& Value);
    // At most this many characters can be typed (0: no limit).
    void SetMaxLength(int Value);
    void SetNumbersOnly(bool Value) { FNumbersOnly = Value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    std::string FText;
    int FMaxLength = 0;
    bool FNumbersOnly = false;
};

class TfrmRecord : public TForm {
public:
    TfrmRecord(TComponent* AOwner, TfrmMain* Main);
    ~TfrmRecord() override;
    std::string ClassName() const override { return "TfrmRecord"; }

    // The settings in force into the fields; Cancelled until OK.
    void ShowRecordSettings();
    // Shows the dialog and returns when it is closed, the program's other windows disabled meanwhile.
    void ShowModal();

    void Button1Click(); // OK
    void Button2Click(); // Cancel
    void Button3Click(); // Default

    TButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TRecordEdit *editTrackName = nullptr, *seChannel = nullptr, *editPPQ = nullptr, *editSpeed = nullptr,
                *editMeter = nullptr;
    TLabel* Label1 = nullptr;

private:
    void CreateControls();
    void CheckBox1Click();

    TfrmMain* FMain;
    HWND FUpDown = nullptr;
};

// The dialog while it is open, nullptr otherwise.
extern TfrmRecord* frmRecord;

// How a shown dialog is waited for: by default a message loop until it is hidden. Tests put a
// function here that fills the fields and presses a button.
using TRecordDialogWait = std::function<void(TfrmRecord& Dialog)>;
TRecordDialogWait& RecordDialogWait();

} // namespace kv
