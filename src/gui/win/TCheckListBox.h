#pragma once
// A list box whose items carry a check box each. A click on an item's check box or the space bar
// toggles an item: the one hit, or the one with the focus rectangle; OnClickCheck follows with
// that item's index, whichever item is selected. Setting Checked raises nothing.
// With DragMode dmAutomatic, pressing the left button on an item's text and moving the mouse a few
// pixels drags the list (its ItemIndex stays the item pressed); releasing the button drops it on
// the control under the mouse, when that control accepts it.
#include "gui/win/TWinControl.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

using TCheckItemEvent = std::function<void(TObject* Sender, int Index)>;

class TCheckListBox : public TWinControl {
public:
    // The item's height and the width of the area on its left that holds the check box.
    static constexpr std::int32_t ItemHeight = 16;
    static constexpr std::int32_t CheckAreaWidth = 18;

    explicit TCheckListBox(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 121, 97); SetTabStop(true); }
    std::string ClassName() const override { return "TCheckListBox"; }

    int Count() const { return static_cast<int>(FItems.size()); }
    // The texts and states of items outside 0..Count - 1 raise EListError.
    const std::string& Items(int Index) const;
    void AddItem(const std::string& Text, bool Checked);
    void Clear();
    bool Checked(int Index) const;
    void SetChecked(int Index, bool Value);
    // The selected item, -1 for none.
    int ItemIndex();
    void SetItemIndex(int Index);
    // The item's rectangle in the list's client coordinates (empty for an item scrolled away
    // or outside the list).
    TRect ItemRect(int Index);

    TCheckItemEvent OnClickCheck;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    struct TItem {
        std::string Text;
        bool Checked = false;
    };
    std::size_t CheckIndex(int Index) const;
    void Toggle(int Index);
    void InvalidateItem(int Index);
    void DrawItem(const DRAWITEMSTRUCT& Item);
    // The mouse moved with the button down: starts the drag past the system's threshold.
    // Returns whether the list is dragging (the list box must not see the move then).
    bool TrackDrag(WPARAM wParam, std::int32_t X, std::int32_t Y);
    POINT ScreenPoint(LPARAM lParam);

    std::vector<TItem> FItems;
    int FItemIndex = -1; // kept while there is no window
    bool FDragPending = false, FDragging = false;
    POINT FDragStart{};
};

} // namespace kv
