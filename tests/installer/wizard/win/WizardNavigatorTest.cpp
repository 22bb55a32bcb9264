// The navigation over the installer's windows: pages asked for through the main window, the end
// of the wizard through WM_QUIT, the pages' services answering from the page index.
#include "installer/wizard/win/MessageLoop.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/WizardNavigator.h"

#include "installer/state/InstallerState.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

std::vector<WPARAM> gRequestedPages;

LRESULT CALLBACK mainWindowStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER && lParam == 1) {
        gRequestedPages.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

TEST(WizardNavigator, WalksTheInstallersSequence)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = mainWindowStandIn;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WizardNavigatorTestMain";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA("WizardNavigatorTestMain", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);

    const MainInstaller savedMain = gMainInstaller;
    const auto savedSequence = gPackageToc.pageSequence;
    const PageServices savedServices = pageServices();
    gMainInstaller.mainWindow = window;
    gMainInstaller.currentPageIndex = -1;
    gMainInstaller.currentPage = nullptr;
    gPackageToc.pageSequence.assign(3, TemplateEntry{});
    gPackageToc.pageSequence[0].pageType = 2;
    gPackageToc.pageSequence[1].pageType = 13;
    gPackageToc.pageSequence[2].pageType = 12;
    int firstSteps = 0;
    std::vector<std::int32_t> steps;
    wizardSteps().firstStep = [&] { ++firstSteps; };
    wizardSteps().step = [&](std::int32_t step) {
        steps.push_back(step);
        return -1;
    };
    connectPagesToNavigation();
    gRequestedPages.clear();

    EXPECT_TRUE(pageServices().installationPageAhead()) << "before the first page";
    wizardGoNext(false);
    while (pumpOneMessage() == kMessageDispatched) {
    }
    EXPECT_EQ(firstSteps, 1);
    EXPECT_EQ(gRequestedPages, std::vector<WPARAM>{2});
    EXPECT_EQ(gMainInstaller.currentPageIndex, 0);

    pageServices().goNext();
    pageServices().goNext();
    EXPECT_FALSE(pageServices().installationPageAhead());
    // Back on the finish page goes over the installation page: the wizard ends, installed.
    pageServices().goBack();
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_USER, WM_USER, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_USER, WM_USER, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, WPARAM(1));
    EXPECT_EQ(steps, (std::vector<std::int32_t>{2, 12}));

    wizardSteps() = WizardSteps{};
    pageServices() = savedServices;
    gPackageToc.pageSequence = savedSequence;
    gMainInstaller = savedMain;
    DestroyWindow(window);
}
