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
    void BoundsChanged() override;

private:
    // The width of the bar's filled part, in pixels, at a position.
    std::int64_t FilledWidth(std::int32_t Value) const;
    // Gives the control the position; it draws it with its next paint.
    void ShowPosition();

    std::int32_t FMin = 0, FMax = 100, FPosition = 0;
    // The position the control was last given.
    std::int32_t FShownPosition = 0;
};

} // namespace kv
