#pragma once
// A system progress bar from Min to Max.
#include "gui/win/TWinControl.h"

namespace kv {

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }
    std::string ClassName() const override { return "TProgressBar"; }

    std::int32_t Min() const { return FMin; }
    std::int32_t Max() const { return FMax; }
    void SetRange(std::int32_t AMin, std::int32_t AMax);
    std::int32_t Position() const { return FPosition; }
    void SetPosition(std::int32_t Value);

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    std::int32_t FMin = 0, FMax = 100, FPosition = 0;
};

} // namespace kv
