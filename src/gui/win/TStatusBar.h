#pragma once
// A system status bar of panels: text panels show their text, owner-drawn ones are painted by
// OnDrawPanel with the panel's rectangle each time the bar draws them. The last panel reaches
// to the bar's right edge.
#include "gui/win/TWinControl.h"

#include <functional>
#include <string>
#include <vector>

namespace kv {

enum TStatusPanelStyle : std::uint8_t { psText, psOwnerDraw };

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 200, 19); }
    std::string ClassName() const override { return "TStatusBar"; }

    void AddPanel(std::int32_t Width, TStatusPanelStyle Style);
    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    const std::string& PanelText(int Index) const { return FPanels.at(static_cast<std::size_t>(Index)).Text; }
    void SetPanelText(int Index, const std::string& Value);
    // The panel's rectangle in the bar's client coordinates.
    TRect PanelRect(int Index);

    std::function<void(TStatusBar* Sender, int Panel, const TRect& Rect)> OnDrawPanel;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    struct TPanelItem {
        std::int32_t Width = 50;
        TStatusPanelStyle Style = psText;
        std::string Text;
    };
    void UpdateParts();
    void UpdatePanel(std::size_t Index);

    std::vector<TPanelItem> FPanels;
};

} // namespace kv
