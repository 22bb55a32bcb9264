#pragma once
// The About box: the program's icon, its title and version, the maker's web address and Close.
// Made on demand, freed when closed.
#include "gui/win/TButton.h"
#include "gui/win/TForm.h"
#include "gui/win/TLabel.h"

namespace kv {

// The address the About box shows and opens.
constexpr char MakerWebsite[] = "https://veldrane.example/";

class TfrmAbout : public TForm {
public:
    explicit TfrmAbout(TComponent* AOwner);
    ~TfrmAbout() override;
    std::string ClassName() const override { return "TfrmAbout"; }

    TLabel* Label1 = nullptr;
    TLabel* lblWebsite = nullptr;
    TButton* BitBtn1 = nullptr;

protected:
    void Paint() override;
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
};

// The box while it is open, nullptr otherwise.
extern TfrmAbout* frmAbout;

} // namespace kv
