#pragma once
// A system scroll bar. The user's scrolling moves Position by SmallChange (arrows), LargeChange
// (the track) or to the thumb, within Min..Max, and raises OnScroll with the new position;
// SetPosition and SetRange raise nothing.
#include "gui/win/TWinControl.h"

#include <cstdint>
#include <functional>

namespace kv {

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 121, 17); }
    std::string ClassName() const override { return "TScrollBar"; }

    // Set before the window is made.
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value) { FKind = Value; }

    std::int32_t Min() const { return FMin; }
    std::int32_t Max() const { return FMax; }
    // A Max below Min is taken as Min; the position is kept within the range.
    void SetRange(std::int32_t AMin, std::int32_t AMax);
    std::int32_t Position() const { return FPosition; }
    void SetPosition(std::int32_t Value);
    std::int32_t SmallChange() const { return FSmallChange; }
    void SetSmallChange(std::int32_t Value) { FSmallChange = Value; }
    std::int32_t LargeChange() const { return FLargeChange; }
    void SetLargeChange(std::int32_t Value) { FLargeChange = Value; }

    std::function<void(TObject* Sender, std::int32_t Position)> OnScroll;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    void UpdateWindow();
    void Scrolled(WORD Code);

    TScrollBarKind FKind = sbHorizontal;
    std::int32_t FMin = 0;
    std::int32_t FMax = 100;
    std::int32_t FPosition = 0;
    std::int32_t FSmallChange = 1;
    std::int32_t FLargeChange = 1;
};

} // namespace kv
