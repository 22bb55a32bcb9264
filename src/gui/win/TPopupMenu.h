#pragma once
// A menu that pops up at a point: items linked to actions (caption, check, enabled and visible
// state taken from the action when it pops up) and separators. The chosen item's action runs.
#include "base/TComponent.h"
#include "gui/TAction.h"
#include "gui/win/TImageList.h"

#include <windows.h>

#include <vector>

namespace kv {

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
    std::string ClassName() const override { return "TPopupMenu"; }

    void AddAction(TAction* Action) { FItems.push_back(Action); }
    void AddSeparator() { FItems.push_back(nullptr); }
    // Items show their action's image from Images (not owned).
    void SetImages(TImageList* Images) { FImages = Images; }
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    // The action of an item, nullptr for a separator.
    TAction* ItemAction(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }

    // Shows the menu at a screen point for the window Owner and runs the chosen item's action.
    void Popup(HWND Owner, std::int32_t X, std::int32_t Y);

private:
    std::vector<TAction*> FItems;
    TImageList* FImages = nullptr;
};

} // namespace kv
