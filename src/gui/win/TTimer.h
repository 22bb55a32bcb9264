#pragma once
// Raises OnTimer every Interval milliseconds on the GUI thread while enabled.
#include "base/TComponent.h"

#include <windows.h>

#include <cstdint>

namespace kv {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner) : TComponent(AOwner) {}
    ~TTimer() override;
    std::string ClassName() const override { return "TTimer"; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    std::uint32_t Interval() const { return FInterval; }
    void SetInterval(std::uint32_t Value);

    TNotifyEvent OnTimer;

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR Id, DWORD);
    void Update();

    bool FEnabled = true;
    std::uint32_t FInterval = 1000;
    UINT_PTR FId = 0;
};

} // namespace kv
