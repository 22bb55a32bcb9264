#include "app/win/fAbout.h"

#include "app/uLanguage.h"
#include "app/win/fMain.h"
#include "app/win/uLanguageWin.h"
#include "app/win/uProgram.h"
#include "gui/win/TApplication.h"

namespace kv {

TfrmAbout* frmAbout = nullptr;

namespace {

// Posted to the box when it closes: it frees itself once the close message is done with.
constexpr UINT WM_APP_FREE = WM_APP + 1;

} // namespace

TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner)
{
    SetName("frmAbout");
    SetCaption("About");
    SetBorderStyle(bsDialog);
    SetClientSize(272, 99);
    CenterOn(dynamic_cast<TForm*>(AOwner));
    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetBounds(89, 8, 160, 32);
    Label1->SetWordWrap(true);
    Label1->SetCaption(std::string(ApplicationTitle) + " " + GetFileVersionString());
    Label1->SetParent(this);
    lblWebsite = new TLabel(this);
    lblWebsite->SetName("lblWebsite");
    lblWebsite->SetBounds(89, 46, 170, 13);
    lblWebsite->SetCaption(MakerWebsite);
    lblWebsite->Font().SetColor(clBlue);
    lblWebsite->SetCursor(crHandPoint);
    lblWebsite->OnClick = [](TObject*) { ShellOpen()(MakerWebsite, ""); };
    lblWebsite->SetParent(this);
    BitBtn1 = new TButton(this);
    BitBtn1->SetName("BitBtn1");
    BitBtn1->SetCaption("Close");
    BitBtn1->SetBounds(89, 65, 75, 25);
    BitBtn1->OnClick = [this](TObject*) { Close(); };
    BitBtn1->SetParent(this);
    TranslateComponent(this);
    Language().HookLoadResString();
}

TfrmAbout::~TfrmAbout()
{
    Language().UnhookLoadResString();
    if (frmAbout == this) frmAbout = nullptr;
}

void TfrmAbout::Paint()
{
    TForm::Paint();
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (icon) DrawIconEx(Canvas().Handle(), 40, 8, icon, 32, 32, 0, nullptr, DI_NORMAL);
}

LRESULT TfrmAbout::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_CLOSE) {
        // The box is freed on close; the next About makes a new one.
        if (frmAbout == this) frmAbout = nullptr;
        Hide();
        PostMessageW(Handle(), WM_APP_FREE, 0, 0);
        return 0;
    }
    if (Msg == WM_APP_FREE) {
        delete this;
        return 0;
    }
    return TForm::WndProc(Msg, wParam, lParam);
}

} // namespace kv
