// Template pages with real windows: controls of every type at their (DPI-scaled) places with
// their classes and texts, required controls and Next, bindings read and written back, control
// colours, hyperlink hover and its repair by the timer, image-button frames by pixel, WM_CLOSE,
// the plug-in's first look, button actions.
#include "installer/wizard/win/InstallerDialogs.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/TemplateButtons.h"
#include "installer/wizard/win/TemplateImage.h"
#include "installer/wizard/win/TemplatePage.h"

#include "installer/state/InstallerState.h"
#include "installer/text/TempFolder.h"
#include "installer/variables/VariableList.h"
#include "installer/variables/VariableTestSupport.h"

#include "BmpWriting.h"
#include "TemplateWriter.h"
#include "support/ScreenCapture.h"
#include "support/SharedStateLock.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kPageType = 20;
// "Ω ä €": Greek lies outside the ANSI code page, the others inside.
const char* const kWideText = "\xCE\xA9 \xC3\xA4 \xE2\x82\xAC";

std::string utf8(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
}

std::string className(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    std::string out;
    for (const wchar_t* p = name; *p; ++p)
        out += static_cast<char>(*p);
    return out;
}

RECT clientRectOf(HWND control, HWND page)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A page that records what reaches its own operations.
struct RecordingPage : TemplatePage {
    explicit RecordingPage(std::int32_t factor = 1000) { dpiFactor = factor; }
    bool onCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return true;
    }
    static inline std::vector<int> commands;
};

// A 24-bit BMP of frames of frameWidth x height side by side, each filled with its colour (0xRRGGBB).
void writeStrip(const std::string& path, int frameWidth, int height, const std::vector<std::uint32_t>& colours)
{
    writeBmp(path, frameWidth * static_cast<int>(colours.size()), height, [&](int x, int) {
        const std::uint32_t c = colours[static_cast<std::size_t>(x / frameWidth)];
        return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
    });
}

// A 16 x 16 32-bit icon file of one colour.
void writeIcon(const std::string& path, std::uint32_t colour)
{
    constexpr int size = 16;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = size;
    info.biHeight = size * 2; // colour and mask
    info.biPlanes = 1;
    info.biBitCount = 32;
    const std::vector<std::uint32_t> pixels(size * size, 0xFF000000u | colour);
    const std::vector<std::uint8_t> mask(size * 4, 0);
    const DWORD imageSize = static_cast<DWORD>(sizeof info + pixels.size() * 4 + mask.size());
    const std::uint16_t header[3] = {0, 1, 1};
    const std::uint8_t entry[8] = {size, size, 0, 0, 1, 0, 32, 0};
    const DWORD entryTail[2] = {imageSize, 6 + 16};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.write(reinterpret_cast<const char*>(entry), sizeof entry);
    out.write(reinterpret_cast<const char*>(entryTail), sizeof entryTail);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size() * 4));
    out.write(reinterpret_cast<const char*>(mask.data()), static_cast<std::streamsize>(mask.size()));
}

class TemplatePageWin : public ::testing::Test {
protected:
    TemplatePageWin() : savedServices_(pageServices())
    {
        savedSequence_.swap(gPackageToc.pageSequence);
        savedImages_.swap(gPackageToc.imageList);
        savedLanguage_ = gPackageToc.languageNumber;
        gPackageToc.languageNumber = 1;
        pageServices() = PageServices{};
        pageServices().openLink = [this](const char* link) { openedLinks.push_back(link); };
        RecordingPage::commands.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = parentProcedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TemplatePageTestParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        gMainInstaller.mainWindow = parent;
    }
    ~TemplatePageWin() override
    {
        // The tests' services capture their locals, which are gone by now.
        pageServices() = PageServices{};
        if (gMainInstaller.currentPage) {
            closeTemplatePage(*gMainInstaller.currentPage, true);
            destroyCurrentPage(true);
        }
        DestroyWindow(parent);
        gMainInstaller.mainWindow = nullptr;
        gPackageToc.pageSequence.swap(savedSequence_);
        gPackageToc.imageList.swap(savedImages_);
        gPackageToc.languageNumber = savedLanguage_;
        pageServices() = savedServices_;
    }

    TemplatePage* show(const nlohmann::json& description, std::unique_ptr<TemplatePage> page = nullptr)
    {
        const Bytes bytes = templateFromDescription(description);
        TemplateEntry entry;
        entry.templateBytes = ByteString(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        entry.pageType = kPageType;
        gPackageToc.pageSequence = {};
        gPackageToc.pageSequence.push_back(std::move(entry));
        if (!page)
            page = std::make_unique<RecordingPage>();
        const int result = createTemplatePage(std::move(page), kPageType, parent, GetModuleHandleW(nullptr),
                                              &gMainInstaller.currentPage);
        EXPECT_EQ(result, 1);
        pump();
        return gMainInstaller.currentPage;
    }

    static HWND item(TemplatePage* page, int id) { return GetDlgItem(page->window, id); }

    CleanVariableState variables;
    HWND parent = nullptr;
    std::vector<std::string> openedLinks;

private:
    PageServices savedServices_;
    std::vector<TemplateEntry> savedSequence_;
    std::vector<PageImage> savedImages_;
    std::int32_t savedLanguage_ = 0;
};

nlohmann::json allControlsPage()
{
    return {
        {"title", std::string("Page ") + kWideText},
        {"width", 420},
        {"height", 320},
        {"controls",
         {{{"type", "static"}, {"id", 10}, {"x", 10}, {"y", 8}, {"width", 200}, {"height", 16},
           {"text", "<LangID=2>Zwei</LangID=2><LangID=1>Label</LangID=1>"}},
          {{"type", "button"}, {"id", 1}, {"x", 300}, {"y", 260}, {"width", 80}, {"height", 24},
           {"style", 0x50010000}, {"text", "Next"}},
          {{"type", "checkbox"}, {"id", 11}, {"x", 10}, {"y", 30}, {"width", 150}, {"height", 16},
           {"style", 0x50010003}, {"text", "Check"}},
          {{"type", "radio"}, {"id", 12}, {"x", 10}, {"y", 50}, {"width", 150}, {"height", 16},
           {"style", 0x50010009}, {"text", "Radio"}},
          {{"type", "edit"}, {"id", 13}, {"x", 10}, {"y", 70}, {"width", 200}, {"height", 20},
           {"style", 0x50810080}, {"text", kWideText}},
          {{"type", "richedit"}, {"id", 14}, {"x", 220}, {"y", 30}, {"width", 180}, {"height", 60},
           {"style", 0x50A00004}, {"text", "line one<\\n>line two"}},
          {{"type", "listbox"}, {"id", 15}, {"x", 10}, {"y", 100}, {"width", 120}, {"height", 60},
           {"style", 0x50A00001}, {"text", "one\r\ntwo\r\nthree"}},
          {{"type", "combobox"}, {"id", 16}, {"x", 140}, {"y", 100}, {"width", 120}, {"height", 100},
           {"style", 0x50200003}, {"text", "red\r\ngreen"}},
          {{"type", "groupbox"}, {"id", 17}, {"x", 270}, {"y", 100}, {"width", 130}, {"height", 60},
           {"style", 0x50000007}, {"text", "Group"}},
          {{"type", "listview"}, {"id", 18}, {"x", 10}, {"y", 170}, {"width", 120}, {"height", 60}},
          {{"type", "treeview"}, {"id", 19}, {"x", 140}, {"y", 170}, {"width", 120}, {"height", 60}},
          {{"type", "progressbar"}, {"id", 20}, {"x", 10}, {"y", 240}, {"width", 200}, {"height", 16},
           {"style", 1}, {"textColour", 0xC56B32}},
          {{"type", "ipaddress"}, {"id", 21}, {"x", 270}, {"y", 170}, {"width", 130}, {"height", 20},
           {"text", "10.1.2.3"}}}}};
}

} // namespace

TEST_F(TemplatePageWin, EveryControlTypeWithItsClassTextAndScaledPlace)
{
    struct Expect {
        int id;
        const char* className;
        const char* text; // null: not compared
    };
    const Expect expected[] = {
        {10, "Static", "Label"},          {1, "Button", "Next"},         {11, "Button", "Check"},
        {12, "Button", "Radio"},          {13, "Edit", kWideText},       {14, "RichEdit20W", "line one\r\nline two"},
        {15, "ListBox", nullptr},         {16, "ComboBox", nullptr},     {17, "Button", "Group"},
        {18, "SysListView32", nullptr},   {19, "SysTreeView32", nullptr}, {21, "SysIPAddress32", nullptr},
    };
    for (const std::int32_t factor : {1000, 1250, 1500}) {
        SCOPED_TRACE(factor);
        TemplatePage* page = show(allControlsPage(), std::make_unique<RecordingPage>(factor));
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(page->hasOwnWindow());
        EXPECT_EQ(utf8(controlText(page->window)), std::string("Page ") + kWideText);
        for (const Expect& e : expected) {
            const HWND control = item(page, e.id);
            ASSERT_NE(control, nullptr) << e.id;
            EXPECT_STRCASEEQ(className(control).c_str(), e.className) << e.id;
            if (e.text) {
                EXPECT_EQ(utf8(controlText(control)), e.text) << e.id;
            }
            const TemplateControl* record = page->findControlById(e.id);
            ASSERT_NE(record, nullptr);
            const RECT rect = clientRectOf(control, page->window);
            EXPECT_EQ(rect.left, record->x) << e.id;
            EXPECT_EQ(rect.top, record->y) << e.id;
        }
        // The template's places scaled by the factor.
        const RECT check = clientRectOf(item(page, 11), page->window);
        EXPECT_EQ(check.left, 10 * factor / 1000);
        EXPECT_EQ(check.top, 30 * factor / 1000);
        EXPECT_EQ(check.right - check.left, 150 * factor / 1000);
        EXPECT_EQ(SendMessageW(item(page, 15), LB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendMessageW(item(page, 16), CB_GETCOUNT, 0, 0), 2);
        ByteString ip;
        EXPECT_EQ(getIpAddressText(item(page, 21), ip), 4);
        EXPECT_EQ(utf8(ip), "10.1.2.3");
        // The progress bar is drawn on the page, not a window.
        EXPECT_NE(page->templateWindow.options & kPageOptionHasProgressBar, 0u);
        closeTemplatePage(*page, true);
        destroyCurrentPage(true);
    }
}

TEST_F(TemplatePageWin, RequiredEditKeepsNextDisabledUntilItHoldsText)
{
    TemplatePage* page = show({{"controls",
                                {{{"type", "button"}, {"id", 1}, {"x", 10}, {"y", 10}, {"width", 60}, {"height", 20}},
                                 {{"type", "edit"}, {"id", 5}, {"x", 10}, {"y", 40}, {"width", 100}, {"height", 20},
                                  {"flag", true}},
                                 {{"type", "ipaddress"}, {"id", 6}, {"x", 10}, {"y", 70}, {"width", 120},
                                  {"height", 20}, {"text", "1.2.3.4"}, {"flag", true}}}}});
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(IsWindowEnabled(item(page, 1)));
    SetWindowTextW(item(page, 5), L"x");
    SendMessageW(page->window, WM_COMMAND, MAKEWPARAM(5, EN_CHANGE), reinterpret_cast<LPARAM>(item(page, 5)));
    EXPECT_TRUE(IsWindowEnabled(item(page, 1)));
    SetWindowTextW(item(page, 5), L"");
    SendMessageW(page->window, WM_COMMAND, MAKEWPARAM(5, EN_CHANGE), reinterpret_cast<LPARAM>(item(page, 5)));
    EXPECT_FALSE(IsWindowEnabled(item(page, 1)));
    // An IP address with a field missing keeps it disabled too.
    SetWindowTextW(item(page, 5), L"y");
    SendMessageW(item(page, 6), IPM_CLEARADDRESS, 0, 0);
    SendMessageW(page->window, WM_COMMAND, MAKEWPARAM(5, EN_CHANGE), reinterpret_cast<LPARAM>(item(page, 5)));
    EXPECT_FALSE(IsWindowEnabled(item(page, 1)));
}

TEST_F(TemplatePageWin, BindingsShowTheVariablesAndWriteThemBack)
{
    appendKnownVariable("<Dir>", kVariableText, ByteString(), ByteString(kWideText), 0);
    appendKnownVariable("<Opt>", kVariableText, ByteString(), ByteString("0"), 0);
    appendKnownVariable("<Pick>", kVariableInteger, ByteString(), ByteString("1"), 1);
    appendKnownVariable("<Ip>", kVariableText, ByteString(), ByteString("192.168.1.20"), 0);
    TemplatePage* page = show(
        {{"bindings",
          {{{"variable", "<Dir>"}, {"control", 5}},
           {{"variable", "<Opt>"}, {"control", 6}},
           {{"variable", "<Pick>"}, {"control", 7}},
           {{"variable", "<Ip>"}, {"control", 8}},
           {{"variable", "<New>"}, {"control", 6}}}},
         {"controls",
          {{{"type", "edit"}, {"id", 5}, {"x", 0}, {"y", 0}, {"width", 200}, {"height", 20}, {"text", "template"}},
           {{"type", "checkbox"}, {"id", 6}, {"x", 0}, {"y", 30}, {"width", 100}, {"height", 20},
            {"style", 0x50010003}},
           {{"type", "listbox"}, {"id", 7}, {"x", 0}, {"y", 60}, {"width", 100}, {"height", 60},
            {"style", 0x50800001}, {"text", "a\r\nb\r\nc"}},
           {{"type", "ipaddress"}, {"id", 8}, {"x", 0}, {"y", 130}, {"width", 130}, {"height", 20}}}}});
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(utf8(controlText(item(page, 5))), kWideText);
    EXPECT_EQ(SendMessageW(item(page, 6), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(item(page, 7), LB_GETCURSEL, 0, 0), 1);
    ByteString ip;
    EXPECT_EQ(getIpAddressText(item(page, 8), ip), 4);
    EXPECT_EQ(utf8(ip), "192.168.1.20");

    // The user's changes, texts outside the ANSI code page included.
    setControlText(item(page, 5), ByteString("\xE4\xB8\xAD 12"));
    SendMessageW(item(page, 6), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(item(page, 7), LB_SETCURSEL, 2, 0);
    closeTemplatePage(*page, false);
    EXPECT_EQ(gMainInstaller.currentPage, nullptr);
    EXPECT_FALSE(IsWindowEnabled(item(page, 6))) << "buttons of a page being left are disabled";

    const InstallerVariable* dir = findVariable("<Dir>");
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(utf8(dir->valueText), "\xE4\xB8\xAD 12");
    EXPECT_EQ(dir->kind, kVariableInteger);
    const InstallerVariable* opt = findVariable("<Opt>");
    ASSERT_NE(opt, nullptr);
    EXPECT_EQ(utf8(opt->valueText), "1");
    EXPECT_EQ(opt->valueInt, 1);
    EXPECT_EQ(findVariable("<Pick>")->valueInt, 2);
    EXPECT_EQ(utf8(findVariable("<Ip>")->valueText), "192.168.1.20");
    EXPECT_EQ(findVariable("<Ip>")->valueInt, 192);
    // A binding to a variable that did not exist is appended.
    ASSERT_NE(findVariable("<New>"), nullptr);
    EXPECT_EQ(findVariable("<New>")->valueInt, 1);
    destroyCurrentPage(true);

    // Shown again, the stored "1" checks the box.
    TemplatePage* again = show({{"bindings", {{{"variable", "<Opt>"}, {"control", 6}}}},
                                {"controls",
                                 {{{"type", "checkbox"}, {"id", 6}, {"x", 0}, {"y", 0}, {"width", 100},
                                   {"height", 20}, {"style", 0x50010003}}}}});
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(SendMessageW(item(again, 6), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(TemplatePageWin, ControlsGetTheirColoursAndTransparentBackgrounds)
{
    TemplatePage* page = show(
        {{"controls",
          {{{"type", "static"}, {"id", 5}, {"x", 0}, {"y", 0}, {"width", 100}, {"height", 20}, {"text", "a"},
            {"textColour", 0x0000C0}, {"backColour", 0x4000000}},
           {{"type", "static"}, {"id", 6}, {"x", 0}, {"y", 30}, {"width", 100}, {"height", 20}, {"text", "b"},
            {"textColour", 0x1000000}, {"backColour", 0x00FFEE}},
           {{"type", "edit"}, {"id", 7}, {"x", 0}, {"y", 60}, {"width", 100}, {"height", 20},
            {"textColour", 0x00FF00}, {"backColour", 0x202020}},
           {{"type", "checkbox"}, {"id", 8}, {"x", 0}, {"y", 90}, {"width", 100}, {"height", 20},
            {"style", 0x50010003}, {"textColour", 0xFF0000}, {"backColour", 0x3000000}}}}});
    ASSERT_NE(page, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    struct Case {
        int id;
        UINT message;
        COLORREF text;
        bool transparent;
        COLORREF back;
    };
    const Case cases[] = {
        {5, WM_CTLCOLORSTATIC, 0x0000C0, true, 0},
        {6, WM_CTLCOLORSTATIC, GetSysColor(COLOR_WINDOWTEXT), true, 0},
        {7, WM_CTLCOLOREDIT, 0x00FF00, false, 0x202020},
        {7, WM_CTLCOLORSTATIC, 0x00FF00, false, 0x202020},
        {8, WM_CTLCOLORBTN, 0xFF0000, true, 0},
        {8, WM_CTLCOLORSTATIC, 0xFF0000, true, 0},
    };
    for (const Case& c : cases) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, 0x777777);
        const LRESULT brush = SendMessageW(page->window, c.message, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(item(page, c.id)));
        SCOPED_TRACE(c.id);
        EXPECT_EQ(GetTextColor(dc), c.text);
        EXPECT_EQ(GetBkMode(dc), c.transparent ? TRANSPARENT : OPAQUE);
        if (!c.transparent) {
            EXPECT_EQ(GetBkColor(dc), c.back);
        }
        EXPECT_EQ(reinterpret_cast<void*>(brush), page->findControlById(c.id)->brush);
    }
    // The transparent back colour gives the hollow brush, the others a brush of their colour.
    EXPECT_EQ(page->findControlById(5)->brush, GetStockObject(HOLLOW_BRUSH));
    LOGBRUSH solid{};
    GetObjectW(static_cast<HGDIOBJ>(page->findControlById(6)->brush), sizeof solid, &solid);
    EXPECT_EQ(solid.lbColor, 0x00FFEEu);
    GetObjectW(static_cast<HGDIOBJ>(page->findControlById(8)->brush), sizeof solid, &solid);
    EXPECT_EQ(solid.lbColor, GetSysColor(COLOR_BTNFACE));
    DeleteDC(dc);
}

TEST_F(TemplatePageWin, HyperlinkTurnsRedUnderTheMouseOpensAndIsRestoredByTheTimer)
{
    // The timer follows the real cursor, which the other test programs must leave alone.
    const SharedStateLock cursor(kRealCursorLock);
    appendKnownVariable("<Site>", kVariableText, ByteString(), ByteString("example.invalid"), 0);
    TemplatePage* page = show(
        {{"controls",
          {{{"type", "static"}, {"id", 5}, {"x", 20}, {"y", 20}, {"width", 150}, {"height", 20},
            {"textColour", 0x800000}, {"style", 0x50000100},
            {"text", "HyperLink: TEXT=\"Visit us\" LINK=\"https://<Site>/x\""}},
           {{"type", "static"}, {"id", 6}, {"x", 20}, {"y", 60}, {"width", 150}, {"height", 20},
            {"textColour", 0x008000}, {"text", "plain"}}}}});
    ASSERT_NE(page, nullptr);
    const HWND link = item(page, 5);
    EXPECT_EQ(utf8(controlText(link)), "Visit us");
    EXPECT_EQ(GetWindowLongPtrW(link, GWLP_USERDATA), 1);
    TemplateControl* record = page->findControlById(5);
    EXPECT_EQ(utf8(record->link), "https://example.invalid/x");
    EXPECT_NE(page->hover.bits & kHoverTracking, 0u);

    SendMessageW(page->window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 25));
    EXPECT_EQ(record->textColour, 0xFFu);
    EXPECT_EQ(page->hover.hot, record);
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(page->window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(GetTextColor(dc), 0xFFu);
    DeleteDC(dc);
    // The plain static never turns.
    SendMessageW(page->window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 65));
    EXPECT_EQ(page->findControlById(6)->textColour, 0x008000u);
    EXPECT_EQ(record->textColour, 0x800000u);

    // A click on the hot link opens its target.
    SendMessageW(page->window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 25));
    SendMessageW(page->window, WM_LBUTTONDOWN, 0, MAKELPARAM(30, 25));
    ASSERT_EQ(openedLinks.size(), 1u);
    EXPECT_EQ(openedLinks[0], "https://example.invalid/x");

    // The mouse leaves without a move reaching the page: the 70 ms timer repairs it.
    EXPECT_EQ(record->textColour, 0xFFu);
    SetCursorPos(1000, 900);
    const DWORD start = GetTickCount();
    while (record->textColour != 0x800000u && GetTickCount() - start < 2000) {
        pump();
        Sleep(10);
    }
    EXPECT_EQ(record->textColour, 0x800000u);
    EXPECT_EQ(page->hover.hot, nullptr);
}

TEST_F(TemplatePageWin, ImageButtonFramesByPixel)
{
    TempFolder folder;
    const std::string five = folder.file("five.bmp");
    const std::string two = folder.file("two.bmp");
    // Normal, pressed, disabled, hover, focused.
    writeStrip(five, 40, 20, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF});
    writeStrip(two, 40, 20, {0x112233, 0x445566});
    gPackageToc.imageList = {{31, ByteString(five.c_str())}, {32, ByteString(two.c_str())}};
    TemplatePage* page = show(
        {{"controls",
          {{{"type", "button"}, {"id", 5}, {"x", 10}, {"y", 10}, {"width", 40}, {"height", 20},
            {"style", 0x5001000B}, {"image", 31}},
           {{"type", "button"}, {"id", 6}, {"x", 10}, {"y", 40}, {"width", 40}, {"height", 20},
            {"style", 0x5001000B}, {"image", 32}}}}});
    ASSERT_NE(page, nullptr);
    TemplateControl* full = page->findControlById(5);
    TemplateControl* narrow = page->findControlById(6);
    EXPECT_EQ(full->imageWidth, 200);
    EXPECT_EQ(narrow->imageWidth, 80);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, target);
    auto drawn = [&](TemplateControl& control, UINT state) {
        DRAWITEMSTRUCT itemRecord{};
        itemRecord.CtlType = ODT_BUTTON;
        itemRecord.hwndItem = static_cast<HWND>(control.window);
        itemRecord.hDC = memory;
        itemRecord.itemState = state;
        itemRecord.rcItem = RECT{0, 0, 40, 20};
        SetPixel(memory, 20, 10, 0x999999);
        SendMessageW(page->window, WM_DRAWITEM, static_cast<WPARAM>(control.id), reinterpret_cast<LPARAM>(&itemRecord));
        return GetPixel(memory, 20, 10);
    };
    SetFocus(page->window);
    // COLORREF is 0x00BBGGRR.
    EXPECT_EQ(drawn(*full, 0), RGB(0xFF, 0, 0));
    EXPECT_EQ(drawn(*full, ODS_SELECTED), RGB(0, 0xFF, 0));
    EXPECT_EQ(drawn(*full, 0x40), RGB(0xFF, 0xFF, 0));
    SetFocus(static_cast<HWND>(full->window));
    EXPECT_EQ(drawn(*full, 0), RGB(0xFF, 0, 0xFF));
    EnableWindow(static_cast<HWND>(full->window), FALSE);
    EXPECT_EQ(drawn(*full, 0), RGB(0, 0, 0xFF));
    // A strip of two frames: disabled and hover show the normal frame, never pixels from beyond
    // the strip.
    EXPECT_EQ(drawn(*narrow, ODS_SELECTED), RGB(0x44, 0x55, 0x66));
    EnableWindow(static_cast<HWND>(narrow->window), FALSE);
    EXPECT_EQ(drawn(*narrow, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(drawn(*narrow, 0x40), RGB(0x11, 0x22, 0x33));
    SelectObject(memory, old);
    DeleteObject(target);
    DeleteDC(memory);

    // Entering the button shows its hover frame through the tracking.
    EnableWindow(static_cast<HWND>(full->window), TRUE);
    SendMessageW(page->window, WM_SETCURSOR, reinterpret_cast<WPARAM>(full->window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(full->hoverFlags, kControlHovered);
    EXPECT_EQ(page->hover.hot, full);
    closeTemplatePage(*page, true);
    destroyCurrentPage(true);
}

// The colour of a bitmap's pixel.
COLORREF bitmapPixel(HBITMAP bitmap, int x, int y)
{
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    return colour;
}

// Pictures, bitmap buttons and image buttons name their images through the package's identifier
// list, read as pairs (from, to), the first pair for an id deciding.
TEST_F(TemplatePageWin, ImageIdsGoThroughThePackagesIdentifierList)
{
    TempFolder folder;
    const std::string red = folder.file("red.bmp");
    const std::string green = folder.file("green.bmp");
    const std::string blue = folder.file("blue.bmp");
    writeStrip(red, 8, 8, {0xFF0000});
    writeStrip(green, 40, 20, {0x00FF00, 0x00C000});
    writeStrip(blue, 8, 8, {0x0000FF});
    const std::vector<std::uint32_t> savedIdentifiers = gPackageToc.identifierList;
    gPackageToc.identifierList = {50, 61, 51, 62, 50, 63};
    gPackageToc.imageList = {{61, ByteString(red.c_str())}, {62, ByteString(green.c_str())}, {63, ByteString(blue.c_str())}};
    TemplatePage* page = show(
        {{"controls",
          {{{"type", "static"}, {"subType", 4}, {"id", 5}, {"x", 10}, {"y", 10}, {"width", 16}, {"height", 16},
            {"style", 0x5000000E}, {"image", 50}},
           {{"type", "button"}, {"id", 6}, {"x", 40}, {"y", 10}, {"width", 40}, {"height", 20},
            {"style", 0x50010080}, {"image", 51}},
           {{"type", "button"}, {"id", 7}, {"x", 90}, {"y", 10}, {"width", 40}, {"height", 20},
            {"style", 0x5001000B}, {"image", 51}}}}});
    ASSERT_NE(page, nullptr);
    const auto picture = reinterpret_cast<HBITMAP>(SendMessageW(item(page, 5), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(picture, nullptr);
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    EXPECT_EQ(size.bmWidth, 16) << "stretched to the control";
    EXPECT_EQ(bitmapPixel(picture, 8, 8), RGB(0xFF, 0, 0));
    const auto buttonImage = reinterpret_cast<HBITMAP>(SendMessageW(item(page, 6), BM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(buttonImage, nullptr);
    EXPECT_EQ(bitmapPixel(buttonImage, 50, 10), RGB(0, 0xC0, 0));
    EXPECT_EQ(page->findControlById(7)->imageWidth, 80);
    closeTemplatePage(*page, true);
    destroyCurrentPage(true);

    HBITMAP loaded = nullptr;
    int width = 0;
    EXPECT_EQ(loadTemplateImage(nullptr, 50, 0, 0, &width), kTemplateImageNoTarget);
    EXPECT_EQ(loadTemplateImage(&loaded, 99, 0, 0, &width), kTemplateImageUnknownId);
    EXPECT_EQ(loadTemplateImage(&loaded, 63, 0, 0, &width), kTemplateImageLoaded) << "an id no pair names stays";
    EXPECT_EQ(width, 8);
    EXPECT_EQ(bitmapPixel(loaded, 1, 1), RGB(0, 0, 0xFF));
    DeleteObject(loaded);
    gPackageToc.imageList = {{61, ByteString(folder.file("missing.bmp").c_str())}};
    EXPECT_EQ(loadTemplateImage(&loaded, 50, 0, 0, &width), kTemplateImageNotOpened);
    // A bitmap whose pixels are cut short gives no bitmap, never a read past the file.
    const std::string cut = folder.file("cut.bmp");
    writeStrip(cut, 64, 64, {0x123456});
    std::filesystem::resize_file(cut, 14 + 40 + 100);
    gPackageToc.imageList = {{61, ByteString(cut.c_str())}};
    EXPECT_EQ(loadTemplateImage(&loaded, 50, 0, 0, &width), kTemplateImageNoBitmap);
    gPackageToc.identifierList = savedIdentifiers;
}

TEST_F(TemplatePageWin, IconsFromFilesAreShownAndFreedAsIcons)
{
    TempFolder folder;
    const std::string path = folder.file("page.ico");
    writeIcon(path, 0x00C000);
    gPackageToc.imageList = {{41, ByteString(path.c_str())}};
    TemplatePage* page = show({{"controls",
                                {{{"type", "static"}, {"subType", 3}, {"id", 5}, {"x", 0}, {"y", 0}, {"width", 32},
                                  {"height", 32}, {"style", 0x50000003}, {"image", 41}},
                                 {{"type", "static"}, {"subType", 3}, {"id", 6}, {"x", 40}, {"y", 0}, {"width", 32},
                                  {"height", 32}, {"style", 0x50000003}, {"image", -1}}}}});
    ASSERT_NE(page, nullptr);
    const HICON fromFile = static_cast<HICON>(page->findControlById(5)->imageBitmap);
    const HICON program = static_cast<HICON>(page->findControlById(6)->imageBitmap);
    ASSERT_NE(fromFile, nullptr);
    ASSERT_NE(program, nullptr) << "the program's own icon";
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(item(page, 5), STM_GETICON, 0, 0)), fromFile);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(fromFile, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    closeTemplatePage(*page, true);
    destroyCurrentPage(true);
    // The file's icon is gone; the program's shared icon stays.
    EXPECT_FALSE(GetIconInfo(fromFile, &info));
    ICONINFO shared{};
    EXPECT_TRUE(GetIconInfo(program, &shared));
    DeleteObject(shared.hbmColor);
    DeleteObject(shared.hbmMask);
}

TEST_F(TemplatePageWin, CloseActsAsCancelAndTheButtonActionsRun)
{
    int exitQuestions = 0;
    int nexts = 0;
    bool running = false;
    pageServices().confirmExit = [&] { ++exitQuestions; return false; };
    pageServices().goNext = [&] { ++nexts; };
    pageServices().installationRunning = [&] { return running; };
    appendKnownVariable("<Name>", kVariableText, ByteString(), ByteString("old"), 0);
    const nlohmann::json withCancel = {
        {"bindings", {{{"variable", "<Name>"}, {"control", 7}}}},
        {"controls",
         {{{"type", "button"}, {"id", 2}, {"x", 0}, {"y", 0}, {"width", 60}, {"height", 20}, {"action", 5}},
          {{"type", "button"}, {"id", 3}, {"x", 0}, {"y", 30}, {"width", 60}, {"height", 20}, {"action", 3}},
          {{"type", "edit"}, {"id", 7}, {"x", 0}, {"y", 60}, {"width", 60}, {"height", 20}}}}};
    TemplatePage* page = show(withCancel);
    ASSERT_NE(page, nullptr);
    // (The edit's own notifications while it was made reached the page.)
    RecordingPage::commands.clear();
    SendMessageW(page->window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitQuestions, 1);
    EXPECT_EQ(gMainInstaller.currentPage, page) << "a refused exit keeps the page";
    EXPECT_TRUE(RecordingPage::commands.empty());

    // While the installation runs, Next is ignored: the page and its bars stay.
    running = true;
    SendMessageW(page->window, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), reinterpret_cast<LPARAM>(item(page, 3)));
    EXPECT_EQ(nexts, 0);
    EXPECT_EQ(gMainInstaller.currentPage, page);
    running = false;
    setControlText(item(page, 7), ByteString("new"));
    SendMessageW(page->window, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), reinterpret_cast<LPARAM>(item(page, 3)));
    EXPECT_EQ(nexts, 1);
    EXPECT_EQ(gMainInstaller.currentPage, nullptr);
    EXPECT_EQ(utf8(findVariable("<Name>")->valueText), "new");
    destroyCurrentPage(true);

    // Without a template button of id 2, WM_CLOSE reaches the page's own command handling.
    TemplatePage* plain = show({{"controls",
                                 {{{"type", "static"}, {"id", 5}, {"x", 0}, {"y", 0}, {"width", 60},
                                   {"height", 20}}}}});
    ASSERT_NE(plain, nullptr);
    RecordingPage::commands.clear();
    SendMessageW(plain->window, WM_CLOSE, 0, 0);
    ASSERT_EQ(RecordingPage::commands.size(), 1u);
    EXPECT_EQ(RecordingPage::commands[0], IDCANCEL);
}

TEST_F(TemplatePageWin, PluginAnswerSuppressesThePagesOwnHandling)
{
    std::vector<std::pair<UINT, std::uint32_t>> seen;
    pageServices().pluginMessage = [&](HWND, UINT message, WPARAM, LPARAM, std::uint32_t pageId) -> LRESULT {
        seen.emplace_back(message, pageId);
        return message == WM_COMMAND ? 7 : 0;
    };
    TemplatePage* page = show({{"pageId", 4242},
                               {"controls",
                                {{{"type", "button"}, {"id", 9}, {"x", 0}, {"y", 0}, {"width", 60}, {"height", 20}}}}});
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SendMessageW(page->window, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), 0), 7);
    EXPECT_TRUE(RecordingPage::commands.empty());
    bool sawCommand = false;
    for (const auto& [message, id] : seen)
        if (message == WM_COMMAND)
            sawCommand = id == 4242;
    EXPECT_TRUE(sawCommand);
    // Other messages still reach the page after the plug-in's look.
    SendMessageW(page->window, WM_CLOSE, 0, 0);
    ASSERT_EQ(seen.back().first, WM_COMMAND) << "WM_CLOSE becomes Cancel, which the plug-in answered";
    EXPECT_TRUE(RecordingPage::commands.empty());

    // A window that is no page passes page id 0 and gets the default handling.
    seen.clear();
    EXPECT_EQ(templateWindowProc(parent, WM_USER + 77, 0, 0), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].second, 0u);
}

TEST_F(TemplatePageWin, NextPageTakesThePlaceWhereTheUserDraggedTheLastOne)
{
    const nlohmann::json first = {{"alignment", 4}, {"width", 300}, {"height", 200}};
    TemplatePage* page = show(first);
    ASSERT_NE(page, nullptr);
    RECT placed{};
    GetWindowRect(page->window, &placed);
    SetWindowPos(page->window, nullptr, placed.left - 100, placed.top + 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    closeTemplatePage(*page, false);
    EXPECT_TRUE(IsWindowVisible(page->window)) << "a page with a window of its own stays until the next is shown";

    TemplatePage* second = show(first);
    ASSERT_NE(second, nullptr);
    RECT now{};
    GetWindowRect(second->window, &now);
    EXPECT_EQ(now.left, placed.left - 100);
    EXPECT_EQ(now.top, placed.top + 50);
    EXPECT_EQ(findPageByWindow(second->window), second);

    // Another alignment places the page by its template.
    closeTemplatePage(*second, false);
    TemplatePage* third = show({{"alignment", 0}, {"width", 300}, {"height", 200}});
    ASSERT_NE(third, nullptr);
    GetWindowRect(third->window, &now);
    EXPECT_NE(now.left, placed.left - 100);
}

TEST_F(TemplatePageWin, PageWithoutOwnWindowIsDrawnOnTheBackground)
{
    pageServices().backgroundShown = [] { return true; };
    TemplatePage* page = show({{"style", 0x00C80000},
                               {"alignment", 0},
                               {"x", 30},
                               {"y", 40},
                               {"controls",
                                {{{"type", "static"}, {"id", 5}, {"x", 5}, {"y", 6}, {"width", 60}, {"height", 20},
                                  {"text", "on background"}}}}});
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->window, parent);
    EXPECT_FALSE(page->hasOwnWindow());
    const HWND label = item(page, 5);
    ASSERT_NE(label, nullptr);
    const RECT rect = clientRectOf(label, parent);
    EXPECT_EQ(rect.left, page->templateWindow.x + 5);
    EXPECT_EQ(rect.top, page->templateWindow.y + 6);
    // Closing a page drawn on the background removes its controls at once, not the background.
    closeTemplatePage(*page, false);
    EXPECT_EQ(GetDlgItem(parent, 5), nullptr);
    EXPECT_TRUE(IsWindow(parent));
}

TEST_F(TemplatePageWin, APageWithItsOwnWindowGoesWhenTheNextIsDrawnOnTheBackground)
{
    const nlohmann::json ownWindow = {{"title", "own"}, {"width", 200}, {"height", 100},
                                      {"controls", {{{"type", "static"}, {"id", 5}, {"x", 5}, {"y", 6}, {"width", 60},
                                                     {"height", 20}, {"text", "own"}}}}};
    const nlohmann::json onBackground = {{"style", 0x00C80000}, {"alignment", 0}, {"x", 30}, {"y", 40},
                                         {"controls", {{{"type", "static"}, {"id", 6}, {"x", 5}, {"y", 6}, {"width", 60},
                                                        {"height", 20}, {"text", "drawn"}}}}};
    // Own window, then the background: the first page goes once the second is drawn.
    TemplatePage* first = show(ownWindow);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->hasOwnWindow());
    const HWND firstWindow = first->window;
    closeTemplatePage(*first, false);
    EXPECT_TRUE(IsWindowVisible(firstWindow)) << "stays until the next page is shown";

    pageServices().backgroundShown = [] { return true; };
    TemplatePage* second = show(onBackground);
    ASSERT_NE(second, nullptr);
    ASSERT_FALSE(second->hasOwnWindow());
    EXPECT_FALSE(IsWindow(firstWindow));
    EXPECT_NE(GetDlgItem(parent, 6), nullptr);

    closeTemplatePage(*second, false);
    EXPECT_EQ(GetDlgItem(parent, 6), nullptr);
}

TEST_F(TemplatePageWin, ScreenshotsOfAPageAndTheDialogs)
{
    const char* folder = std::getenv("KV_SCREENSHOT_DIR");
    if (!folder)
        GTEST_SKIP() << "KV_SCREENSHOT_DIR not set";
    TempFolder images;
    const std::string strip = images.file("strip.bmp");
    writeStrip(strip, 80, 24, {0x3060C0, 0x204080, 0x909090, 0x4080E0, 0x3060C0});
    gPackageToc.imageList = {{31, ByteString(strip.c_str())}};
    nlohmann::json description = allControlsPage();
    description["controls"].push_back({{"type", "static"}, {"id", 30}, {"x", 220}, {"y", 240}, {"width", 160},
                                       {"height", 16}, {"textColour", 0x800000},
                                       {"text", "hyperlink: text=\"A hyperlink\" link=\"x\""}});
    description["controls"].push_back({{"type", "button"}, {"id", 31}, {"x", 220}, {"y", 260}, {"width", 80},
                                       {"height", 24}, {"style", 0x5001000B}, {"image", 31}, {"text", "Image"},
                                       {"backColour", 0xFFFFFF}});
    TemplatePage* page = show(description);
    ASSERT_NE(page, nullptr);
    SetWindowPos(page->window, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SendMessageW(page->window, kSetBarPercentMessage, 60, 20);
    for (int i = 0; i < 20; ++i) {
        pump();
        Sleep(20);
    }
    saveWindowShot(page->window, std::string(folder) + "\\page.bmp");
    // The installer's dialogs beside it.
    for (const auto& [id, name] : {std::pair{kAboutDialogId, "about"}, std::pair{kProgressNoteDialogId, "note"},
                                   std::pair{kInputDialogId, "input"}}) {
        InputRequest request{ByteString("Input"), ByteString("Your name, please:"), ByteString("Ann")};
        const DLGPROC procedure = id == kAboutDialogId         ? aboutDialogProc
                                  : id == kProgressNoteDialogId ? progressDialogProc
                                                                : inputDialogProc;
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, procedure,
                                         reinterpret_cast<LPARAM>(&request));
        ASSERT_NE(dialog, nullptr);
        SetWindowPos(dialog, HWND_TOPMOST, 500, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        for (int i = 0; i < 10; ++i) {
            pump();
            Sleep(20);
        }
        saveWindowShot(dialog, std::string(folder) + "\\" + name + ".bmp");
        DestroyWindow(dialog);
    }
}
