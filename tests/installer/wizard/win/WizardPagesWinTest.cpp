// The wizard's main window and its own pages with real windows: the main window's class, size and
// About item, pages asked for by WM_USER and made by their type's maker (a custom page without
// one); the installation page's bars reached by the installation run and its one-bar layout; the
// finish page's choices and what Next and Back do with them; the custom page's Next text and
// Cancel.
#include "installer/wizard/PageNavigation.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/BackgroundPicture.h"
#include "installer/wizard/win/CustomPage.h"
#include "installer/wizard/win/FinishPage.h"
#include "installer/wizard/win/InstallationPage.h"
#include "installer/wizard/win/MainWindow.h"
#include "installer/wizard/win/PageMakers.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/ProgressBar.h"
#include "installer/wizard/win/TemplatePage.h"

#include "installer/install/InstallRun.h"
#include "installer/state/InstallerState.h"
#include "installer/variables/VariableTestSupport.h"

#include "TemplateWriter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr std::int32_t kCustomType = 20;

// Dispatches what is pending and takes the WM_QUIT among it; its code, or -1 when there is none.
// The installation page's start timer is never dispatched: on a loaded machine it could fall due
// while the queue drains and start a run the tests drive by hand.
int takeQuit()
{
    MSG message;
    int code = -1;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            code = static_cast<int>(message.wParam);
            continue;
        }
        if (message.message == WM_TIMER && message.wParam == kInstallationStartTimer)
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return code;
}

std::wstring text(HWND window)
{
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

nlohmann::json control(const char* type, int id, int x, int y, std::uint32_t style = WS_CHILD | WS_VISIBLE)
{
    return {{"type", type}, {"id", id}, {"style", style}, {"text", "item " + std::to_string(id)}, {"x", x},
            {"y", y}, {"width", 150}, {"height", 20}};
}

nlohmann::json pageWith(nlohmann::json controls)
{
    for (int id : {1, 2, 3})
        controls.push_back(control("button", id, 10 + 90 * id, 250));
    return {{"title", "template title"}, {"width", 400}, {"height", 300}, {"controls", controls}};
}

nlohmann::json barControl(int id, int y)
{
    return {{"type", "progressbar"}, {"id", id}, {"style", 0x50000001u}, {"x", 10}, {"y", y}, {"width", 300},
            {"height", 20}, {"textColour", 0xC56B32}, {"backColour", 0xFFFFFF}, {"action", 0}};
}

TemplateEntry entryOf(std::int32_t type, const nlohmann::json& page = pageWith(nlohmann::json::array()))
{
    const Bytes bytes = templateFromDescription(page);
    TemplateEntry entry;
    entry.templateBytes = ByteString(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    entry.pageType = type;
    return entry;
}

class WizardPagesWin : public ::testing::Test {
protected:
    WizardPagesWin() : savedServices_(pageServices()), savedView_(gInstallView)
    {
        savedSequence_.swap(gPackageToc.pageSequence);
        savedTexts_ = gLanguageTexts;
        savedOptions_ = gInstallerContext.optionWord;
        pageServices() = PageServices{};
        gInstallerContext.optionWord = 0;
        gInstallerContext.instance = GetModuleHandleW(nullptr);
        gLanguageTexts[0].assignCStr("Back");
        gLanguageTexts[2].assignCStr("Cancel");
        gLanguageTexts[3].assignCStr("Install");
        gLanguageTexts[4].assignCStr("Next");
        gLanguageTexts[110].assignCStr("Installing");
        gLanguageTexts[111].assignCStr("Copying");
        gLanguageTexts[145].assignCStr("Finish");
        gLanguageTexts[146].assignCStr("%s is installed");
        gPackageToc.productName.assignCStr("Tool");
        main = createMainWindow(GetModuleHandleW(nullptr));
        takeQuit();
    }
    ~WizardPagesWin() override
    {
        pageServices() = PageServices{};
        if (gMainInstaller.currentPage)
            closeTemplatePage(*gMainInstaller.currentPage, true);
        destroyCurrentPage(true);
        takeQuit();
        DestroyWindow(main);
        gMainInstaller.mainWindow = nullptr;
        gInstallerContext.mainWindow = nullptr;
        gMainInstaller.currentPageIndex = -1;
        gPackageToc.pageSequence.swap(savedSequence_);
        gLanguageTexts = savedTexts_;
        gInstallerContext.optionWord = savedOptions_;
        gPackageToc.renamePairs = ByteString();
        finishActions() = FinishActions{};
        pageServices() = savedServices_;
        gInstallView = savedView_;
    }

    // Asks the main window for the page at index of the sequence, as the navigation does.
    TemplatePage* showEntry(std::int32_t index)
    {
        gMainInstaller.currentPageIndex = index;
        PostMessageW(main, WM_USER, WPARAM(gPackageToc.pageSequence[std::size_t(index)].pageType), kShowPageRequest);
        EXPECT_EQ(takeQuit(), -1);
        return gMainInstaller.currentPage;
    }
    HWND item(int id) const { return GetDlgItem(gMainInstaller.currentPage->window, id); }
    void click(int id) const
    {
        SendMessageW(gMainInstaller.currentPage->window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(item(id)));
    }

    CleanVariableState variables;
    HWND main = nullptr;

private:
    PageServices savedServices_;
    InstallView savedView_;
    std::vector<TemplateEntry> savedSequence_;
    std::array<ByteString, kLanguageTextCount> savedTexts_;
    std::uint32_t savedOptions_ = 0;
};

} // namespace

TEST_F(WizardPagesWin, MainWindowIsTheInstallersClassWithTheAboutItem)
{
    ASSERT_NE(main, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(main, name, 64);
    EXPECT_STREQ(name, L"DravellInstaller");
    EXPECT_EQ(gMainInstaller.mainWindow, main);
    // Without a background the window is only the pages' parent.
    RECT rect{};
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.right - rect.left, 0);

    // A captioned background window over the work area, with the About item in its menu.
    const std::uint32_t savedFlags = gBackgroundStyle.flags;
    gBackgroundStyle.flags = kBackgroundDrawn | kBackgroundCaption;
    const HWND background = createMainWindow(GetModuleHandleW(nullptr));
    gBackgroundStyle.flags = savedFlags;
    ASSERT_NE(background, nullptr);
    EXPECT_NE(gInstallerContext.screenDc, nullptr) << "the background picture is built";
    RECT client{};
    GetClientRect(background, &client);
    EXPECT_EQ(gInstallerContext.clientArea.right, client.right);
    EXPECT_GT(client.right, 0);
    HMENU menu = GetSystemMenu(background, FALSE);
    ASSERT_NE(menu, nullptr);
    wchar_t item[32] = {};
    EXPECT_GT(GetMenuStringW(menu, kAboutCommand, item, 32, MF_BYCOMMAND), 0);
    EXPECT_STREQ(item, L"About...");
    DestroyWindow(background);
    releaseBackgroundPicture();
    gMainInstaller.mainWindow = main;
    gInstallerContext.mainWindow = main;
}

// A 24-bit picture of one colour.
void writeBmp(const std::wstring& path, int width, int height, COLORREF colour)
{
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * height);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(rowBytes * height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[static_cast<std::size_t>(y * rowBytes + x * 3)];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
}

TEST_F(WizardPagesWin, TheBackgroundKeepsItsPageImageWhenTheDisplaySettingsChange)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring image = std::wstring(temp) + L"wizard_pages_page_image.bmp";
    writeBmp(image, 40, 20, RGB(255, 255, 0));
    const BackgroundStyle savedStyle = gBackgroundStyle;
    gBackgroundStyle.flags = kBackgroundDrawn | kBackgroundCaption;
    gBackgroundStyle.imageX = 10;
    gBackgroundStyle.imageY = 12;
    gTempFilePaths.pageImageBitmap = ByteString(std::string(image.begin(), image.end()).c_str()); // an ASCII path
    const HWND background = createMainWindow(GetModuleHandleW(nullptr));
    ASSERT_NE(background, nullptr);
    HDC picture = static_cast<HDC>(gInstallerContext.screenDc);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(GetPixel(picture, 20, 20), RGB(255, 255, 0));
    EXPECT_EQ(GetFileAttributesW(image.c_str()), INVALID_FILE_ATTRIBUTES) << "the temporary file is gone";

    SendMessageW(background, WM_DISPLAYCHANGE, 32, 0);
    picture = static_cast<HDC>(gInstallerContext.screenDc);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(GetPixel(picture, 20, 20), RGB(255, 255, 0));

    DestroyWindow(background);
    releaseBackgroundPicture();
    gBackgroundStyle = savedStyle;
    gMainInstaller.mainWindow = main;
    gInstallerContext.mainWindow = main;
}

TEST_F(WizardPagesWin, PagesAreMadeByTheirTypesMakerAndOtherwiseAreCustom)
{
    struct MadePage : CustomPage {};
    int made = 0;
    setPageMaker(30, [&made] {
        ++made;
        return std::make_unique<MadePage>();
    });
    gPackageToc.pageSequence.push_back(entryOf(30));
    gPackageToc.pageSequence.push_back(entryOf(kCustomType));
    TemplatePage* first = showEntry(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_NE(dynamic_cast<MadePage*>(first), nullptr);
    EXPECT_EQ(text(first->window), L"template title");
    closeTemplatePage(*first, false);
    TemplatePage* second = showEntry(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(dynamic_cast<MadePage*>(second), nullptr);
    EXPECT_NE(dynamic_cast<CustomPage*>(second), nullptr);
    setPageMaker(30, nullptr);
}

TEST_F(WizardPagesWin, CustomPageNamesNextByWhatFollowsAndCancelEndsAsItShould)
{
    bool leave = false;
    int ended = 0, forward = 0;
    pageServices().confirmExit = [&] { return leave; };
    pageServices().endInstaller = [&] { ++ended; };
    pageServices().goNext = [&] { ++forward; };
    pageServices().installationPageAhead = [] {
        return gMainInstaller.currentPageIndex < 1;
    };
    gPackageToc.pageSequence.push_back(entryOf(kCustomType));
    gPackageToc.pageSequence.push_back(entryOf(kInstallationPage));
    gPackageToc.pageSequence.push_back(entryOf(kCustomType + 1));

    ASSERT_NE(showEntry(0), nullptr);
    EXPECT_EQ(text(item(1)), L"Install");
    EXPECT_EQ(text(item(3)), L"Back");
    EXPECT_EQ(text(gMainInstaller.currentPage->window), L"template title");
    click(2);
    EXPECT_EQ(ended, 0) << "No keeps the page";
    EXPECT_NE(gMainInstaller.currentPage, nullptr);
    leave = true;
    click(2);
    EXPECT_EQ(ended, 1) << "before the installation the installer ends (and rolls back)";
    EXPECT_EQ(takeQuit(), -1);

    ASSERT_NE(showEntry(2), nullptr);
    EXPECT_EQ(text(item(1)), L"Finish");
    click(2);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(takeQuit(), 1) << "after the installation the wizard simply ends";

    ASSERT_NE(showEntry(2), nullptr);
    click(1);
    EXPECT_EQ(forward, 1);
    EXPECT_EQ(gMainInstaller.currentPage, nullptr) << "the page closed before moving on";
}

TEST_F(WizardPagesWin, InstallationBarsAreDrivenByTheRunAndOneBarTakesTheFirstPlace)
{
    for (const bool twoBars : {false, true}) {
        gInstallerContext.optionWord = twoBars ? static_cast<std::uint32_t>(kOptionTwoProgressBars) : 0u;
        gPackageToc.pageSequence.clear();
        gPackageToc.pageSequence.push_back(entryOf(
            kInstallationPage, pageWith({control("static", 21, 10, 10), barControl(10, 50), barControl(11, 90)})));
        setPageMaker(kInstallationPage, [] { return std::make_unique<InstallationPage>(); });
        auto* page = dynamic_cast<InstallationPage*>(showEntry(0));
        ASSERT_NE(page, nullptr);
        // The run is not started here.
        KillTimer(page->window, kInstallationStartTimer);
        ASSERT_NE(page->phaseBar, nullptr);
        ASSERT_NE(page->overallBar, nullptr);
        EXPECT_EQ(text(page->window), L"Installing");
        EXPECT_EQ(text(item(21)), L"Copying");
        EXPECT_EQ(text(item(1)), L"Next");
        EXPECT_EQ(IsWindowVisible(item(21)) != FALSE, twoBars);
        RECT first{}, second{};
        page->phaseBar->getRect(first);
        page->overallBar->getRect(second);
        EXPECT_EQ(first.top == second.top, !twoBars);
        EXPECT_EQ((page->phaseBar->flags() & kProgressHidden) != 0, !twoBars);

        ASSERT_TRUE(gInstallView.setPhaseBar);
        ASSERT_TRUE(gInstallView.setOverallBar);
        gInstallView.setPhaseBar(40);
        gInstallView.setOverallBar(70);
        EXPECT_EQ(page->phaseBar->percent(), 40);
        EXPECT_EQ(page->overallBar->percent(), 70);
        closeTemplatePage(*page, true);
        // The windows are gone: the run's late calls reach nothing.
        gInstallView.setPhaseBar(50);
        gInstallView.setOverallBar(80);
        setPageMaker(kInstallationPage, nullptr);
    }
    // The page object itself goes when the next page is made; the run's hooks go with it.
    gPackageToc.pageSequence.push_back(entryOf(kCustomType));
    ASSERT_NE(showEntry(1), nullptr);
    EXPECT_FALSE(gInstallView.setPhaseBar);
    EXPECT_FALSE(gInstallView.setOverallBar);
}

TEST_F(WizardPagesWin, FinishPageOffersTheChoicesAndActsOnThem)
{
    const std::uint32_t box = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
    const std::uint32_t radio = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
    const nlohmann::json finish = pageWith({control("static", 10, 10, 10), control("static", 11, 10, 30),
                                            control("radio", 20, 10, 50, radio), control("radio", 21, 10, 70, radio),
                                            control("checkbox", 22, 10, 100, box), control("checkbox", 23, 10, 120, box),
                                            control("checkbox", 70, 10, 150, box)});
    std::vector<std::string> done;
    finishActions().applyPendingRenames = [&] { done.push_back("renames"); };
    finishActions().finishStep = [&] { done.push_back("finish step"); };
    finishActions().rebootNow = [&] { done.push_back("reboot"); };
    finishActions().launchAfterFinish = [&](bool launch, bool readme, bool extra) {
        done.push_back(std::string("launch ") + (launch ? "1" : "0") + (readme ? "1" : "0") + (extra ? "1" : "0"));
    };
    pageServices().goNext = [&] { done.push_back("next"); };
    pageServices().goBack = [&] { done.push_back("back"); };
    setPageMaker(kFinishPage, [] { return std::make_unique<FinishPage>(); });
    gPackageToc.pageSequence.push_back(entryOf(kFinishPage, finish));

    // The extra program without a launch offer takes the launch box's place.
    gInstallerContext.optionWord = kOptionThirdFinishItem | kOptionOpenReadme | kOptionOpenReadmePreselected;
    ASSERT_NE(showEntry(0), nullptr);
    EXPECT_EQ(text(item(10)), L"Tool is installed");
    EXPECT_EQ(text(item(1)), L"Finish");
    EXPECT_FALSE(IsWindowVisible(item(20)));
    EXPECT_FALSE(IsWindowVisible(item(22)));
    EXPECT_TRUE(IsWindowVisible(item(70)));
    EXPECT_EQ(IsDlgButtonChecked(gMainInstaller.currentPage->window, 23), BST_CHECKED);
    RECT launchPlace{}, extraPlace{};
    GetWindowRect(item(22), &launchPlace);
    GetWindowRect(item(70), &extraPlace);
    EXPECT_EQ(extraPlace.top, launchPlace.top);
    click(1);
    EXPECT_EQ(done, (std::vector<std::string>{"renames", "launch 011", "next"}));
    EXPECT_EQ(takeQuit(), -1);

    // Pending renames: restart only, now by default; Next restarts and ends the wizard.
    done.clear();
    gPackageToc.renamePairs.assignCStr("a");
    gInstallerContext.optionWord = kOptionStartProgram | kOptionStartProgramPreselected | kOptionRestartChoiceFixed;
    ASSERT_NE(showEntry(0), nullptr);
    EXPECT_TRUE(IsWindowVisible(item(20)));
    EXPECT_EQ(IsDlgButtonChecked(gMainInstaller.currentPage->window, 20), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(item(21)));
    EXPECT_FALSE(IsWindowVisible(item(22)));
    EXPECT_FALSE(IsWindowVisible(item(70)));
    click(1);
    EXPECT_EQ(done, (std::vector<std::string>{"renames", "finish step", "reboot"}));
    EXPECT_EQ(takeQuit(), 1);

    // Back goes back without launching anything.
    done.clear();
    gPackageToc.renamePairs = ByteString();
    gInstallerContext.optionWord = kOptionStartProgram | kOptionStartProgramPreselected;
    ASSERT_NE(showEntry(0), nullptr);
    click(3);
    EXPECT_EQ(done, (std::vector<std::string>{"renames", "back"}));
    setPageMaker(kFinishPage, nullptr);
}

TEST_F(WizardPagesWin, ClosingTheMainWindowAsksAndEndsTheInstaller)
{
    bool leave = false;
    int ended = 0;
    pageServices().confirmExit = [&] { return leave; };
    pageServices().endInstaller = [&] { ++ended; };
    EXPECT_EQ(SendMessageW(main, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(ended, 0);
    leave = true;
    EXPECT_EQ(SendMessageW(main, WM_CLOSE, 0, 0), 1);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(ended, 1);
}
