#pragma once
// A number edit with up and down arrows (a system up-down control beside it) between MinValue
// and MaxValue.
#include "gui/win/TEdit.h"

namespace kv {

class TSpinEdit : public TEdit {
public:
    explicit TSpinEdit(TComponent* AOwner) : TEdit(AOwner) {}
    ~TSpinEdit() override;
    std::string ClassName() const override { return "TSpinEdit"; }

    std::int32_t MinValue() const { return FMin; }
    std::int32_t MaxValue() const { return FMax; }
    void SetRange(std::int32_t AMin, std::int32_t AMax);
    // The number shown, kept within the range; a text that is no number gives MinValue.
    std::int32_t Value() const;
    void SetValue(std::int32_t Value);
    HWND UpDown() const { return FUpDown; }

protected:
    void HandleCreated() override;
    void BoundsChanged() override;

private:
    std::int32_t FMin = 0, FMax = 100;
    HWND FUpDown = nullptr;
};

} // namespace kv
