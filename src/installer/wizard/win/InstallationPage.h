#pragma once
// The page that runs the installation a moment after it is shown and carries the run's two
// progress bars: the phase bar (control 10) and the overall bar (control 11).
#include "installer/wizard/win/TemplatePage.h"

class ProgressBar;

constexpr UINT_PTR kInstallationStartTimer = 1;
constexpr UINT kInstallationStartDelay = 100;
constexpr int kPhaseBarId = 10;
constexpr int kOverallBarId = 11;

struct InstallationPage : TemplatePage {
    ~InstallationPage() override;
    bool onInitDialog(HWND window, WPARAM, LPARAM) override;
    bool onCommand(WPARAM wParam, LPARAM lParam) override;
    bool onPaint(WPARAM, LPARAM) override;
    bool onTimer(WPARAM wParam, LPARAM lParam) override;

    ProgressBar* phaseBar = nullptr;
    ProgressBar* overallBar = nullptr;

private:
    ProgressBar* barOf(int id) const;
    void connectBars();
};

// True while an installation page's run is working.
bool installationRunning();
// True once an installation page's run ended successfully.
bool installationCompleted();
