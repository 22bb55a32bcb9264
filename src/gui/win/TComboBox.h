#pragma once
// A drop-down list over the system combo box: items with an attached value each, the selected
// item, OnChange when the user picks another one.
#include "gui/win/TWinControl.h"

#include <string>
#include <vector>

namespace kv {

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 145, 21); }
    std::string ClassName() const override { return "TComboBox"; }

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).Text; }
    std::intptr_t ItemValue(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).Value; }
    void AddItem(const std::string& Text, std::intptr_t Value);
    void Clear();
    // Replaces the item texts, keeping the values and the selection.
    void SetItemTexts(const std::vector<std::string>& Texts);
    int ItemIndex();
    void SetItemIndex(int Index);

    TNotifyEvent OnChange;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    struct TItem {
        std::string Text;
        std::intptr_t Value = 0;
    };
    void FillWindow();

    std::vector<TItem> FItems;
    int FItemIndex = -1;
};

} // namespace kv
