#include "gui/win/TSpinEdit.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace kv {

TSpinEdit::~TSpinEdit()
{
    if (FUpDown) DestroyWindow(FUpDown);
}

void TSpinEdit::SetRange(std::int32_t AMin, std::int32_t AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    if (FUpDown) SendMessageW(FUpDown, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SetValue(Value());
}

std::int32_t TSpinEdit::Value() const
{
    const std::string text = Text();
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') return FMin;
    return static_cast<std::int32_t>(std::clamp<long>(value, FMin, FMax));
}

void TSpinEdit::SetValue(std::int32_t Value)
{
    SetText(std::to_string(std::clamp(Value, FMin, FMax)));
}

void TSpinEdit::HandleCreated()
{
    TEdit::HandleCreated();
    InitCommonControlClasses();
    // The arrows sit right of the edit in its parent and write the number into it.
    FUpDown = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                              Left() + Width(), Top(), 16, Height(), GetParent(Handle()), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!FUpDown) return;
    SendMessageW(FUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Handle()), 0);
    SendMessageW(FUpDown, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TSpinEdit::BoundsChanged()
{
    TEdit::BoundsChanged();
    if (FUpDown) SetWindowPos(FUpDown, nullptr, Left() + Width(), Top(), 16, Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace kv
