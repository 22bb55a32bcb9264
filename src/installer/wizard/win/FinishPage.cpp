#include "installer/wizard/win/FinishPage.h"

#include "installer/state/InstallerState.h"
#include "installer/wizard/FinishChoices.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/PageTexts.h"

namespace {

constexpr std::size_t kFinishCaption = 144;
constexpr std::size_t kFinishHeadlineText = 146;
constexpr std::size_t kUpdateFinishHeadlineText = 147;
constexpr std::size_t kRestartNoteText = 148;
constexpr std::size_t kFirstChoiceText = 149;
constexpr std::size_t kFinishNoteText = 153;

void show(HWND page, int id, bool shown)
{
    if (const HWND item = GetDlgItem(page, id))
        ShowWindow(item, shown ? SW_SHOW : SW_HIDE);
}

void check(HWND page, int id, bool checked)
{
    CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool checked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

} // namespace

FinishActions& finishActions()
{
    static FinishActions actions;
    return actions;
}

bool FinishPage::onInitDialog(HWND page, WPARAM, LPARAM)
{
    const FinishChoices choices = finishChoices(gInstallerContext.optionWord, !gPackageToc.renamePairs.empty());
    if (hasOwnWindow()) {
        if (gInstallerContext.optionWord & kOptionCaptionsFromWindowTitle)
            setCaptionFromBackgroundTitle(page);
        else if (!gLanguageTexts[kFinishCaption].empty())
            setControlText(page, gLanguageTexts[kFinishCaption]);
    }
    const bool update = (gInstallerContext.packageOptions & kPackageUpdate) != 0;
    ByteString headline;
    headline.format(gLanguageTexts[update ? kUpdateFinishHeadlineText : kFinishHeadlineText].cStr(),
                    gPackageToc.productName.cStr());
    if (const HWND item = GetDlgItem(page, kFinishHeadline))
        setControlText(item, headline);
    setCommonButtonTexts(page);
    if (isLastPage(gPackageToc.pageSequence, gMainInstaller.currentPageIndex))
        setItemLanguageText(page, kNextButton, kFinishText);
    setItemLanguageText(page, kRestartNote, kRestartNoteText);
    for (int i = 0; i < 4; ++i)
        setItemLanguageText(page, kRestartNowRadio + i, kFirstChoiceText + std::size_t(i));
    setItemLanguageText(page, kFinishNote, kFinishNoteText);

    if (choices.restartOffered) {
        check(page, kRestartNowRadio, true);
        if (!choices.restartLaterEnabled)
            EnableWindow(GetDlgItem(page, kRestartLaterRadio), FALSE);
    } else {
        for (int id : {kRestartNote, kRestartNowRadio, kRestartLaterRadio})
            show(page, id, false);
    }
    show(page, kLaunchBox, choices.launchShown);
    check(page, kLaunchBox, choices.launchChecked);
    show(page, kReadmeBox, choices.readmeShown);
    check(page, kReadmeBox, choices.readmeChecked);
    check(page, kExtraProgramBox, choices.extraShown);
    show(page, kExtraProgramBox, choices.extraShown);
    const int placeOf = choices.extraPlace == FinishChoices::ExtraPlace::LaunchBox   ? kLaunchBox
                        : choices.extraPlace == FinishChoices::ExtraPlace::ReadmeBox ? kReadmeBox
                                                                                       : 0;
    // The hidden box's window still stands where its template put it (scaled like the page).
    const HWND place = placeOf ? GetDlgItem(page, placeOf) : nullptr;
    const HWND extra = GetDlgItem(page, kExtraProgramBox);
    if (place && extra) {
        RECT rect{};
        GetWindowRect(place, &rect);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(extra, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

bool FinishPage::onCommand(WPARAM wParam, LPARAM)
{
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) != 0 || (id != kNextButton && id != kBackButton))
        return false;
    const FinishActions& actions = finishActions();
    if (actions.applyPendingRenames)
        actions.applyPendingRenames();
    const HWND page = window;
    const bool restart = checked(page, kRestartNowRadio);
    const bool readme = checked(page, kReadmeBox);
    const bool launch = checked(page, kLaunchBox);
    const HWND extraBox = GetDlgItem(page, kExtraProgramBox);
    const bool extra = extraBox && IsWindowVisible(extraBox) && checked(page, kExtraProgramBox);
    const PageServices& services = pageServices();
    closeTemplatePage(*this, false);
    if (id == kBackButton) {
        if (services.goBack)
            services.goBack();
        return true;
    }
    if (restart) {
        if (actions.finishStep)
            actions.finishStep();
        if (actions.rebootNow)
            actions.rebootNow();
        PostQuitMessage(1);
        return true;
    }
    if (actions.launchAfterFinish)
        actions.launchAfterFinish(launch, readme, extra);
    if (services.goNext)
        services.goNext();
    return true;
}
