#pragma once
// A group box with one system radio button per item, one above the other; ItemIndex is the
// checked one (-1 for none).
#include "gui/win/TGroupBox.h"

#include <string>
#include <vector>

namespace kv {

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 113, 17); }
    std::string ClassName() const override { return "TRadioButton"; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Checked() const;
    void SetChecked(bool Value);

    TNotifyEvent OnClick;
    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    std::string FCaption;
    bool FChecked = false;
};

class TRadioGroup : public TGroupBox {
public:
    explicit TRadioGroup(TComponent* AOwner) : TGroupBox(AOwner) {}
    std::string ClassName() const override { return "TRadioGroup"; }

    void AddItem(const std::string& Caption);
    int Count() const { return static_cast<int>(FButtons.size()); }
    TRadioButton* Buttons(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)); }
    int ItemIndex() const;
    void SetItemIndex(int Index);

private:
    std::vector<TRadioButton*> FButtons;
};

} // namespace kv
