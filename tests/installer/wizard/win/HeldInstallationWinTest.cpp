// A real installation run started by the installation page on the installer's main window, held
// at each of its steps while the test looks at what the user sees: the status line (the file
// being installed, then each phase's text) and the slideshow's images on the background, which
// are gone once the run has ended.
#include "installer/install/ConnectedOperations.h"
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/ForwardingFileSystem.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/wizard/PageSequence.h"
#include "installer/wizard/win/BackgroundPicture.h"
#include "installer/wizard/win/InstallationPage.h"
#include "installer/wizard/win/MainWindow.h"
#include "installer/wizard/win/PageMakers.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/TemplatePage.h"

#include "BmpWriting.h"
#include "TemplateWriter.h"
#include "support/ScreenCapture.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kTop = RGB(0, 0, 160);
constexpr COLORREF kFirstSlide = RGB(255, 0, 0);
constexpr COLORREF kSecondSlide = RGB(0, 255, 0);
constexpr int kSlideWidth = 80;
constexpr int kSlideHeight = 40;
// The slideshow's area: top left, moved by this offset.
constexpr int kSlideX = 30;
constexpr int kSlideY = 20;

nlohmann::json control(const char* type, int id, int y)
{
    return {{"type", type}, {"id", id}, {"style", WS_CHILD | WS_VISIBLE}, {"text", ""}, {"x", 10},
            {"y", y}, {"width", 300}, {"height", 20}};
}

nlohmann::json barControl(int id, int y)
{
    return {{"type", "progressbar"}, {"id", id}, {"style", 0x50000001u}, {"x", 10}, {"y", y}, {"width", 300},
            {"height", 20}, {"textColour", 0xC56B32}, {"backColour", 0xFFFFFF}, {"action", 0}};
}

TemplateEntry installationPageEntry()
{
    nlohmann::json controls = {control("static", 20, 10), control("static", 21, 40), barControl(10, 70),
                               barControl(11, 100)};
    for (int id : {1, 2, 3})
        controls.push_back(control("button", id, 250));
    const Bytes bytes = templateFromDescription(
        {{"title", "install"}, {"width", 400}, {"height", 300}, {"controls", controls}});
    TemplateEntry entry;
    entry.templateBytes = ByteString(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    entry.pageType = kInstallationPage;
    return entry;
}

// Saves what the screen shows as a .bmp in the folder KV_SCREENSHOT_DIR names, when it names one.
void saveScreenshot(const char* name)
{
    const char* folder = std::getenv("KV_SCREENSHOT_DIR");
    if (!folder)
        return;
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const std::string path = std::string(folder) + "/" + name + ".bmp";
    saveScreenArea(screen, std::wstring(path.begin(), path.end()));
}

// The system's files, with a look taken whenever the run asks whether a file exists.
class WatchingFileSystem final : public ForwardingFileSystem {
public:
    std::function<void(const std::string&)> onExists;
    bool exists(const std::string& p) override
    {
        if (onExists)
            onExists(p);
        return real.exists(p);
    }
};

// What the user sees at one moment of the run.
struct Look {
    std::string status;
    COLORREF slidePixel = CLR_INVALID;
};

class HeldInstallation : public FileInstallTest {
protected:
    HeldInstallation()
        : savedServices_(pageServices()), savedView_(gInstallView), savedStyle_(gBackgroundStyle),
          savedSlideshow_(gSlideshowSettings), savedTexts_(gLanguageTexts), savedFs_(setInstallFileSystem(&files_))
    {
        gInstallerContext.instance = GetModuleHandleW(nullptr);
        gBackgroundStyle = BackgroundStyle{};
        gBackgroundStyle.flags = kBackgroundDrawn;
        gBackgroundStyle.topColour = gBackgroundStyle.splitColour = gBackgroundStyle.bottomColour = kTop;
        gBackgroundStyle.splitPercent = 50;
        gSlideshowSettings = SlideshowSettings{};
        gSlideshowSettings.area = 1;
        gSlideshowSettings.alignment = 1;
        gSlideshowSettings.offsetX = kSlideX;
        gSlideshowSettings.offsetY = kSlideY;
        const std::pair<std::size_t, const char*> texts[] = {
            {112, "Installing"}, {132, "Writing the registry"}, {134, "Writing INI entries"},
            {136, "Editing text files"}, {137, "Creating shortcuts"}, {139, "Registering"}};
        for (const auto& [index, text] : texts)
            gLanguageTexts[index] = ByteString(text);
        for (const auto& [name, colour] : {std::pair{"slide0.bmp", kFirstSlide}, std::pair{"slide1.bmp", kSecondSlide}}) {
            writeBmp(file(name), kSlideWidth, kSlideHeight, [colour](int, int) { return colour; });
            gPackageToc.slideshowPaths.emplace_back(file(name).c_str());
        }
        gPackageToc.pageSequence.clear();
        gPackageToc.pageSequence.push_back(installationPageEntry());
        setPageMaker(kInstallationPage, [] { return std::make_unique<InstallationPage>(); });
        pageServices() = PageServices{};
        pageServices().goNext = [] { PostQuitMessage(1); };
        pageServices().endInstaller = [] { PostQuitMessage(0); };
        gInstallOperations = connectedOperations();
        main_ = createMainWindow(GetModuleHandleW(nullptr));
        ShowWindow(main_, SW_SHOWNORMAL);
        UpdateWindow(main_);
    }
    ~HeldInstallation() override
    {
        if (gMainInstaller.currentPage)
            closeTemplatePage(*gMainInstaller.currentPage, true);
        destroyCurrentPage(true);
        releaseBackgroundPicture();
        DestroyWindow(main_);
        gMainInstaller.mainWindow = nullptr;
        gInstallerContext.mainWindow = nullptr;
        gMainInstaller.currentPageIndex = -1;
        gPackageToc.pageSequence.clear();
        gPackageToc.slideshowPaths.clear();
        setPageMaker(kInstallationPage, nullptr);
        setInstallFileSystem(savedFs_);
        gInstallOperations = InstallOperations();
        pageServices() = savedServices_;
        gInstallView = savedView_;
        gBackgroundStyle = savedStyle_;
        gSlideshowSettings = savedSlideshow_;
        gLanguageTexts = savedTexts_;
    }

    // The status line and the colour where the slideshow's images stand.
    Look look() const
    {
        Look now;
        wchar_t text[256] = {};
        if (gMainInstaller.currentPage && gMainInstaller.currentPage->window)
            GetDlgItemTextW(gMainInstaller.currentPage->window, 20, text, 256);
        now.status = std::string(text, text + wcslen(text));
        // The background's picture as it is copied to the window (the window itself may lie
        // under another program's window on a shared display).
        now.slidePixel = GetPixel(static_cast<HDC>(gInstallerContext.screenDc), kSlideX + 5, kSlideY + 5);
        return now;
    }
    // Shows the installation page as the navigation does; its timer starts the run, and the
    // wizard's loop runs until the page moves on (1) or ends the installer (0).
    int runThroughThePage()
    {
        gMainInstaller.currentPageIndex = 0;
        PostMessageW(main_, WM_USER, WPARAM(kInstallationPage), kShowPageRequest);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return static_cast<int>(message.wParam);
    }
    // An operation that succeeds after a look at the screen.
    std::function<bool()> lookingAs(const char* step)
    {
        return [this, step] {
            looks_[step] = look();
            return true;
        };
    }

    WatchingFileSystem files_;
    std::map<std::string, Look> looks_;
    HWND main_ = nullptr;

private:
    PageServices savedServices_;
    InstallView savedView_;
    BackgroundStyle savedStyle_;
    SlideshowSettings savedSlideshow_;
    std::array<ByteString, kLanguageTextCount> savedTexts_;
    InstallFileSystem* savedFs_;
};

} // namespace

TEST_F(HeldInstallation, TheUserSeesTheFileThePhaseAndTheSlideshowWhileTheRunInstalls)
{
    writePackage({{"files", {entry("docs/guide.txt", sampleContent(100))}}});
    const std::string guide = installed("docs/guide.txt");
    files_.onExists = [&](const std::string& path) {
        if (path == guide)
            looks_["file"] = look();
    };
    gInstallOperations.writeRegistry = [&] {
        looks_["registry"] = look();
        saveScreenshot("installation_registry_phase");
        return true;
    };
    gInstallOperations.writeIniEntries = lookingAs("ini");
    gInstallOperations.editTextFiles = lookingAs("text");
    gInstallOperations.createShortcuts = lookingAs("shortcuts");
    gInstallOperations.commitUninstallData = lookingAs("commit");
    const COLORREF background = look().slidePixel;
    ASSERT_EQ(background, kTop);

    EXPECT_EQ(runThroughThePage(), 1);

    const std::pair<const char*, std::string> statuses[] = {
        {"file", "Installing " + guide}, {"registry", "Writing the registry"}, {"ini", "Writing INI entries"},
        {"text", "Editing text files"}, {"shortcuts", "Creating shortcuts"}, {"commit", "Registering"}};
    for (const auto& [step, status] : statuses) {
        ASSERT_TRUE(looks_.count(step)) << step;
        EXPECT_EQ(looks_[step].status, status) << step;
    }
    // Two images: the first from 0 %, the second from 50 %; the phases after the files stand at 96 % and more.
    EXPECT_EQ(looks_["file"].slidePixel, kFirstSlide);
    for (const char* step : {"registry", "commit"})
        EXPECT_EQ(looks_[step].slidePixel, kSecondSlide) << step;
    EXPECT_EQ(look().slidePixel, background) << "the slide is taken off after the run";
}
