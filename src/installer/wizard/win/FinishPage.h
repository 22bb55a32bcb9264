#pragma once
// The last page of an installation: restart now or later, start the installed program, open its
// readme, start a second program.
#include "installer/wizard/win/TemplatePage.h"

#include <functional>

// What the finish page's choices do; another part of the installer gives them. An empty one
// does nothing.
struct FinishActions {
    // Moves the files waiting for reboot-time renames where they can go now.
    std::function<void()> applyPendingRenames;
    std::function<void(bool launch, bool readme, bool extra)> launchAfterFinish;
    std::function<void()> rebootNow;
    // The plug-in's finish step.
    std::function<void()> finishStep;
};
FinishActions& finishActions();

constexpr int kFinishHeadline = 10;
constexpr int kRestartNote = 11;
constexpr int kFinishNote = 12;
constexpr int kRestartNowRadio = 20;
constexpr int kRestartLaterRadio = 21;
constexpr int kLaunchBox = 22;
constexpr int kReadmeBox = 23;
constexpr int kExtraProgramBox = 70;

struct FinishPage : TemplatePage {
    bool onInitDialog(HWND window, WPARAM, LPARAM) override;
    bool onCommand(WPARAM wParam, LPARAM lParam) override;
};
