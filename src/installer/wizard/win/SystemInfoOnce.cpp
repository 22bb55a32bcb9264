#include "installer/wizard/win/SystemInfoOnce.h"

#include "installer/state/InstallerState.h"
#include "installer/sysinfo/win/SystemInfoCollection.h"
#include "installer/wizard/win/InstallerDialogs.h"
#include "installer/wizard/win/ProgressBar.h"
#include "installer/wizard/win/TemplatePage.h"

namespace {

std::optional<ByteString>& report()
{
    static std::optional<ByteString> made;
    return made;
}

std::int32_t dpiFactor()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi * 1000 / 96 : 1000;
}

} // namespace

const std::optional<ByteString>& systemReport()
{
    return report();
}

void setSystemReport(std::optional<ByteString> made)
{
    report() = std::move(made);
}

void collectSystemInfoOnce(HWND listBox)
{
    if (report())
        return;
    HWND note = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgressNoteDialogId),
                                   static_cast<HWND>(gMainInstaller.mainWindow), progressDialogProc, 0);
    ProgressBar bar;
    if (note) {
        setControlText(note, gSetupTitle);
        setControlText(GetDlgItem(note, kProgressNoteTextId), gLanguageTexts[24]);
        const std::int32_t f = dpiFactor();
        bar.create(note, 60 * f / 1000, 51 * f / 1000, 178 * f / 1000, 20 * f / 1000, 0xFF3232, 2,
                   GetSysColor(COLOR_BTNFACE), 0xFFFFFF);
        SendMessageW(note, kProgressNoteSetBar, 0, reinterpret_cast<LPARAM>(&bar));
        ShowWindow(note, SW_SHOW);
    }
    ByteString made;
    collectSystemInfo(made, [&](std::int32_t percent) { bar.setPercent(percent); }, listBox);
    report() = std::move(made);
    if (note)
        DestroyWindow(note);
    bar.free();
}
