#pragma once
// A page of the package's own design: Next, Back and Cancel are its only logic.
#include "installer/wizard/win/TemplatePage.h"

struct CustomPage : TemplatePage {
    bool onInitDialog(HWND window, WPARAM, LPARAM) override;
    bool onCommand(WPARAM wParam, LPARAM lParam) override;
};
