#pragma once
// Tabs over the system tab control, each with a page (a panel) that is shown while its tab is
// selected. Pages fill the tab control's display area.
#include "gui/win/TPanel.h"
#include "gui/win/TWinControl.h"

#include <string>
#include <vector>

namespace kv {

class TTabSheet : public TPanel {
public:
    explicit TTabSheet(TComponent* AOwner) : TPanel(AOwner) {}
    std::string ClassName() const override { return "TTabSheet"; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }

private:
    std::string FCaption;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 289, 193); }
    std::string ClassName() const override { return "TPageControl"; }

    // A new page with the caption, owned by the control's owner.
    TTabSheet* AddPage(const std::string& Name, const std::string& Caption);
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(static_cast<std::size_t>(Index)); }
    int ActivePageIndex() const { return FActive; }
    void SetActivePageIndex(int Index);
    // Shows the captions the pages hold now (after they were translated).
    void UpdateCaptions();

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;
    void Resize() override;

private:
    void PlacePages();

    std::vector<TTabSheet*> FPages;
    int FActive = 0;
};

} // namespace kv
