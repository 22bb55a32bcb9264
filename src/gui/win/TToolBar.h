#pragma once
// A row of buttons over the system tool bar, each showing an action (caption, enabled, checked)
// and running it when clicked; a button with a drop-down menu shows it from its arrow. Other
// controls (labels, track bars) may stand on the bar as its children.
#include "gui/TAction.h"
#include "gui/win/TImageList.h"
#include "gui/win/TPopupMenu.h"
#include "gui/win/TWinControl.h"

#include <string>
#include <vector>

namespace kv {

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 29); }
    std::string ClassName() const override { return "TToolBar"; }

    void SetButtonSize(std::int32_t Width, std::int32_t Height);
    // Set before the window is made: buttons show their action's image from Images (not owned).
    void SetImages(TImageList* Images) { FImages = Images; }
    // The text the button's tooltip shows: its action's hint, empty for none.
    std::string ButtonHint(int Index) const;
    // Appends a button for the action (not owned), with a drop-down menu when DropDown is given.
    void AddButton(TAction* Action, TPopupMenu* DropDown = nullptr);
    void AddSeparator();
    // The captions a button shows in turn (its action's caption changes while it runs): the
    // button is as wide as the widest of them and its action's caption, at least the button size.
    void SetButtonCaptions(int Index, std::vector<std::string> Captions);
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    // The action of a button, nullptr for a separator.
    TAction* ButtonAction(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)).Action; }
    // The button's rectangle in the bar's client coordinates.
    TRect ButtonRect(int Index);
    // The right edge of the last button.
    std::int32_t ButtonsWidth();

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    struct TButton {
        TAction* Action = nullptr;
        TPopupMenu* DropDown = nullptr;
        std::vector<std::string> Captions;
    };
    void InsertButton(std::size_t Index);
    void UpdateButton(std::size_t Index);
    // Widens the button to its widest caption.
    void FitButton(std::size_t Index);

    std::vector<TButton> FButtons;
    TImageList* FImages = nullptr;
    std::wstring FTipText;
    std::int32_t FButtonWidth = 23, FButtonHeight = 22;
};

} // namespace kv
