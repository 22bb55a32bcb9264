#pragma once
// A system track bar. OnChange follows every real change of Position: the user dragging the
// thumb or pressing keys, or SetPosition; setting the position it has raises nothing.
#include "gui/win/TWinControl.h"

#include <cstdint>

namespace kv {

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 45); SetTabStop(true); }
    std::string ClassName() const override { return "TTrackBar"; }

    // Set before the window is made.
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value) { FOrientation = Value; }
    // Ticks on both sides of the thumb; NoTicks draws none of them.
    bool TicksBoth() const { return FTicksBoth; }
    void SetTicksBoth(bool Value) { FTicksBoth = Value; }
    bool NoTicks() const { return FNoTicks; }
    void SetNoTicks(bool Value) { FNoTicks = Value; }

    std::int32_t Min() const { return FMin; }
    std::int32_t Max() const { return FMax; }
    // A range whose Max is below Min is taken as Min..Min; the position is kept within it.
    void SetRange(std::int32_t AMin, std::int32_t AMax);
    std::int32_t Position() const { return FPosition; }
    void SetPosition(std::int32_t Value);
    std::int32_t PageSize() const { return FPageSize; }
    void SetPageSize(std::int32_t Value);
    std::int32_t Frequency() const { return FFrequency; }
    void SetFrequency(std::int32_t Value);
    std::int32_t ThumbLength() const { return FThumbLength; }
    void SetThumbLength(std::int32_t Value);

    TNotifyEvent OnChange;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    void PositionMoved(std::int32_t Value);

    TTrackBarOrientation FOrientation = trHorizontal;
    bool FTicksBoth = false;
    bool FNoTicks = false;
    std::int32_t FMin = 0;
    std::int32_t FMax = 10;
    std::int32_t FPosition = 0;
    std::int32_t FFrequency = 1;
    std::int32_t FPageSize = 2;
    std::int32_t FThumbLength = 20;
};

} // namespace kv
