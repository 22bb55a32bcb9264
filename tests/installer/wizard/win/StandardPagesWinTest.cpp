// The standard pages with real windows, built from small templates: the common button rules,
// texts set on the controls, refusals in message boxes, what each page stores when it is left,
// the components tree's three states and its variables, the summary text.
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/PageHandlers.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/StandardPages.h"
#include "installer/wizard/win/RichEdit.h"
#include "installer/wizard/win/SystemInfoOnce.h"
#include "installer/wizard/win/TemplatePage.h"

#include "installer/state/InstallerState.h"
#include "installer/system/FreeSpace.h"
#include "installer/text/NumberTexts.h"
#include "installer/text/TempFolder.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableList.h"
#include "installer/variables/VariableTestSupport.h"

#include "TemplateWriter.h"
#include "support/ScreenCapture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string str(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
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

nlohmann::json control(const char* type, int id, int x, int y, int width, int height, std::uint32_t style = 0x50010000)
{
    return {{"type", type}, {"id", id}, {"x", x}, {"y", y}, {"width", width}, {"height", height}, {"style", style},
            {"text", ""}};
}

// A page with the three buttons and the given controls.
nlohmann::json page(std::vector<nlohmann::json> controls)
{
    controls.push_back(control("button", 3, 180, 270, 70, 24));
    controls.push_back(control("button", 1, 255, 270, 70, 24));
    controls.push_back(control("button", 2, 330, 270, 70, 24));
    return {{"title", "page"}, {"width", 420}, {"height", 330}, {"controls", controls}};
}

std::optional<std::uint64_t> fixedFreeSpace(const char*, int)
{
    return 10000;
}

void appendComponent(std::vector<std::uint8_t>& block, const std::string& name, std::uint32_t children,
                     const std::string& description, std::uint32_t flags, std::uint32_t bytes)
{
    const auto word = [&](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            block.push_back(std::uint8_t(value >> shift));
    };
    word(std::uint32_t(name.size()));
    block.insert(block.end(), name.begin(), name.end());
    word(children);
    word(std::uint32_t(description.size()));
    block.insert(block.end(), description.begin(), description.end());
    for (const std::uint32_t value : {flags, bytes, bytes / 10, bytes / 100, 1u})
        word(value);
}

class StandardPagesWin : public ::testing::Test {
protected:
    StandardPagesWin() : savedServices_(pageServices()), savedDialogs_(pageDialogs())
    {
        savedSequence_.swap(gPackageToc.pageSequence);
        savedTexts_ = gLanguageTexts;
        savedHeader_ = gPackageHeader;
        savedPath_ = gPackagePath;
        savedIndex_ = gMainInstaller.currentPageIndex;
        savedChoices_.swap(gPackageToc.componentChoices);
        savedFree_ = gPackageToc.freeSpace;
        savedRequired_ = gPackageToc.bytesRequired;
        savedUserOptions_ = gInstallerContext.userInfoOptions;
        savedProductName_ = gPackageToc.productName;
        savedSafeName_ = gPackageToc.fileNameSafeProductName;
        savedSafeId_ = gPackageToc.fileNameSafeProductId;
        for (std::size_t i = 0; i < gLanguageTexts.size(); ++i)
            gLanguageTexts[i] = ByteString(("T" + std::to_string(i)).c_str());
        for (std::size_t i : {13u, 73u, 74u, 82u, 62u})
            gLanguageTexts[i] = ByteString(("T" + std::to_string(i) + "[%s]").c_str());
        gLanguageTexts[13] = ByteString("Welcome to %s, %s");
        gPackageToc.productName = ByteString("Product");
        gPackageToc.fileNameSafeProductName = ByteString("Product");
        gPackageToc.fileNameSafeProductId = ByteString("Maker_Product");
        gMainInstaller.currentPageIndex = 2;
        gPackageHeader = ByteString();
        for (int i = 0; i < 60; ++i)
            gPackageHeader.appendBE32(0);
        pageServices() = PageServices{};
        pageServices().goNext = [this] { moves.push_back("next"); };
        pageServices().goBack = [this] { moves.push_back("back"); };
        pageServices().confirmExit = [this] { return exitAnswer; };
        pageServices().endInstaller = [this] { moves.push_back("end"); };
        pageDialogs().message = [this](HWND, const ByteString& text, UINT) {
            messages.push_back(str(text));
            return messageAnswer;
        };
        setFreeSpaceOverride(fixedFreeSpace);
        WNDCLASSW wc{};
        wc.lpfnWndProc = parentProcedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"StandardPagesTestParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        gMainInstaller.mainWindow = parent;
    }
    ~StandardPagesWin() override
    {
        pageServices() = PageServices{};
        pageDialogs() = PageDialogs{};
        if (gMainInstaller.currentPage)
            closeTemplatePage(*gMainInstaller.currentPage, true);
        destroyCurrentPage(true);
        setFreeSpaceOverride(nullptr);
        DestroyWindow(parent);
        gMainInstaller.mainWindow = nullptr;
        gPackageToc.pageSequence.swap(savedSequence_);
        gLanguageTexts = savedTexts_;
        gPackageHeader = savedHeader_;
        gPackagePath = savedPath_;
        gMainInstaller.currentPageIndex = savedIndex_;
        gPackageToc.componentChoices.swap(savedChoices_);
        gPackageToc.freeSpace = savedFree_;
        gPackageToc.bytesRequired = savedRequired_;
        gInstallerContext.userInfoOptions = savedUserOptions_;
        gPackageToc.productName = savedProductName_;
        gPackageToc.fileNameSafeProductName = savedSafeName_;
        gPackageToc.fileNameSafeProductId = savedSafeId_;
        pageServices() = savedServices_;
        pageDialogs() = savedDialogs_;
    }

    // Shows the standard page of that type; extra sequence entries come after it.
    TemplatePage* show(std::int32_t pageType, const nlohmann::json& description, std::vector<std::int32_t> more = {})
    {
        gPackageToc.pageSequence = {};
        more.insert(more.begin(), pageType);
        for (std::int32_t type : more) {
            const Bytes bytes = templateFromDescription(description);
            TemplateEntry entry;
            entry.templateBytes = ByteString(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
            entry.pageType = type;
            gPackageToc.pageSequence.push_back(std::move(entry));
        }
        const int result = createTemplatePage(makeStandardPage(pageType), pageType, parent, GetModuleHandleW(nullptr),
                                              &gMainInstaller.currentPage);
        EXPECT_EQ(result, 1);
        pump();
        shown = gMainInstaller.currentPage;
        return shown;
    }

    HWND item(int id) const { return GetDlgItem(shown->window, id); }
    std::string text(int id) const { return str(controlText(item(id))); }
    void setText(int id, const char* utf8) const { setControlText(item(id), ByteString(utf8)); }
    void press(int id, int code = BN_CLICKED)
    {
        SendMessageW(shown->window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(id)));
        pump();
    }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }

    // Writes the bytes as the package file; header fields are set by the test.
    void writePackage(const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = folder.file("package.bin");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    std::streamsize(bytes.size()));
        gPackagePath = ByteString(path.c_str());
    }
    void setHeaderField(std::uint32_t offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            gPackageHeader.data()[offset + std::uint32_t(i)] = std::uint8_t(value >> (24 - 8 * i));
    }

    CleanVariableState variables;
    TempFolder folder;
    HWND parent = nullptr;
    TemplatePage* shown = nullptr;
    std::vector<std::string> moves;
    std::vector<std::string> messages;
    bool exitAnswer = true;
    int messageAnswer = IDOK;

private:
    PageServices savedServices_;
    PageDialogs savedDialogs_;
    std::vector<TemplateEntry> savedSequence_;
    std::array<ByteString, kLanguageTextCount> savedTexts_;
    ByteString savedHeader_, savedPath_, savedProductName_, savedSafeName_, savedSafeId_;
    std::int32_t savedIndex_ = -1;
    std::vector<ComponentChoice> savedChoices_;
    std::uint64_t savedFree_ = 0, savedRequired_ = 0;
    std::uint32_t savedUserOptions_ = 0;
};

std::string windowText(HWND window)
{
    wchar_t buffer[256] = L"";
    GetWindowTextW(window, buffer, 256);
    std::string out;
    for (const wchar_t* p = buffer; *p; ++p)
        out += char(*p);
    return out;
}

} // namespace

TEST_F(StandardPagesWin, CommonRulesCaptionButtonsAndMoves)
{
    gMainInstaller.currentPageIndex = 0;
    pageServices().installationPageAhead = [] { return true; };
    // The installation page follows: Next says "Install".
    show(2, page({control("static", 10, 10, 10, 300, 16), control("static", 11, 10, 30, 300, 16)}), {13});
    EXPECT_EQ(windowText(shown->window), "T12");
    EXPECT_EQ(text(3), "T0");
    EXPECT_EQ(text(1), "T3");
    EXPECT_EQ(text(2), "T2");
    EXPECT_EQ(text(10), "Welcome to Product, Product");
    EXPECT_EQ(text(11), "T14");
    EXPECT_FALSE(enabled(3));

    // A notification other than a click is left to the window.
    press(1, BN_SETFOCUS);
    EXPECT_TRUE(moves.empty());
    exitAnswer = false;
    press(2);
    EXPECT_TRUE(moves.empty());
    exitAnswer = true;
    press(2);
    EXPECT_EQ(moves, std::vector<std::string>{"end"});
}

TEST_F(StandardPagesWin, NextAndBackLeaveThePage)
{
    const std::pair<int, const char*> cases[] = {{1, "next"}, {3, "back"}};
    for (const auto& [button, move] : cases) {
        moves.clear();
        // The installation page lies ahead but not next: Next says "Next".
        gMainInstaller.currentPageIndex = 2;
        show(11, page({control("edit", 10, 10, 10, 380, 200, 0x50A00804)}), {20, 20, 20, 13});
        EXPECT_TRUE(enabled(3));
        EXPECT_EQ(text(1), "T4");
        press(button);
        EXPECT_EQ(moves, std::vector<std::string>{move});
        EXPECT_EQ(gMainInstaller.currentPage, nullptr);
    }
}

TEST_F(StandardPagesWin, DestinationRefusesAndKeepsWhatPasses)
{
    gPackageToc.installDir = ByteString("C:\\Old\\");
    gPackageToc.bytesRequired = 5000;
    show(7, page({control("edit", 10, 10, 10, 380, 20, 0x50810080), control("button", 4, 10, 40, 80, 24),
                  control("static", 30, 10, 70, 380, 16), control("static", 31, 10, 90, 380, 16)}));
    EXPECT_EQ(text(10), "C:\\Old\\");
    EXPECT_EQ(text(4), "T1");
    EXPECT_EQ(text(30), "T73[Product]");
    EXPECT_EQ(SendMessageW(item(10), EM_GETLIMITTEXT, 0, 0), 258);

    struct Case {
        const char* typed;
        std::string message;
    };
    const Case refusals[] = {{"", "T76"}, {"C:App", "T77"}, {"C:\\a|b", "T81"}, {"C:\\a\\\\b", "T80"}};
    for (const Case& c : refusals) {
        messages.clear();
        setText(10, c.typed);
        press(1);
        EXPECT_EQ(messages, std::vector<std::string>{c.message}) << c.typed;
        EXPECT_TRUE(moves.empty());
    }

    messages.clear();
    gPackageToc.bytesRequired = 20000;
    setText(10, "C:\\New App");
    press(1);
    EXPECT_EQ(messages, std::vector<std::string>{"T82[C:\\]"});
    EXPECT_EQ(gPackageToc.freeSpace, 10000u);
    EXPECT_TRUE(moves.empty());

    messages.clear();
    gPackageToc.bytesRequired = 5000;
    setText(10, "C:\\New App\\ ");
    press(1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(moves, std::vector<std::string>{"next"});
    EXPECT_EQ(str(gPackageToc.installDir), "C:\\New App\\");
}

TEST_F(StandardPagesWin, DestinationBrowseAppendsTheProductAndFitsTheBuffer)
{
    std::vector<std::string> starts;
    ByteString answer("D:\\Games");
    pageDialogs().browse = [&](HWND, const ByteString& title, const ByteString& start, std::uint64_t) {
        EXPECT_EQ(str(title), "T72");
        starts.push_back(str(start));
        return answer;
    };
    gPackageToc.installDir = ByteString("C:\\Start\\");
    show(7, page({control("edit", 10, 10, 10, 380, 20, 0x50810080), control("button", 4, 10, 40, 80, 24)}));
    press(4);
    EXPECT_EQ(starts, std::vector<std::string>{"C:\\Start\\"});
    EXPECT_EQ(text(10), "D:\\Games\\Maker_Product");

    gInstallerContext.optionWord |= kOptionNoProductFolder;
    answer = ByteString(("C:\\" + std::string(300, 'x')).c_str());
    press(4);
    EXPECT_EQ(text(10).size(), 259u);

    // Back keeps the text as typed.
    setText(10, "C:\\a|b");
    press(3);
    EXPECT_EQ(str(gPackageToc.installDir), "C:\\a|b");
    EXPECT_EQ(moves, std::vector<std::string>{"back"});
}

TEST_F(StandardPagesWin, ProgramGroupFromTheListAndItsChecks)
{
    const std::string programs = folder.file("Programs");
    for (const char* name : {"Alpha", "Beta", ".hidden"})
        std::filesystem::create_directories(programs + "\\" + name);
    gMainInstaller.folders[kProgramsDirNt] = ByteString(programs.c_str());
    gMainInstaller.folders[kProgramsDir] = ByteString(programs.c_str());
    gInstallerContext.osVersion.platformId = VER_PLATFORM_WIN32_NT;
    gPackageToc.shortcutDir = ByteString("Maker");
    show(8, page({control("edit", 10, 10, 10, 380, 20, 0x50810080),
                  control("listbox", 11, 10, 40, 200, 100, 0x50A00001)}));
    EXPECT_EQ(text(10), "Maker");
    EXPECT_EQ(SendMessageW(item(10), EM_GETLIMITTEXT, 0, 0), 210);
    // The same folder listed twice appears once; names beginning with "." not at all.
    ASSERT_EQ(SendMessageW(item(11), LB_GETCOUNT, 0, 0), 2);

    SendMessageW(item(11), LB_SETCURSEL, 1, 0);
    press(11, LBN_SELCHANGE);
    EXPECT_EQ(text(10), "Beta\\Maker_Product");

    setText(10, "Bad:Name");
    press(1);
    EXPECT_EQ(messages, std::vector<std::string>{"T87"});
    messages.clear();
    setText(10, "A\\\\B");
    press(1);
    EXPECT_EQ(messages, std::vector<std::string>{"T86"});
    EXPECT_TRUE(moves.empty());

    messages.clear();
    setText(10, "\\Maker\\Product\\ ");
    press(1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(str(gPackageToc.shortcutDir), "Maker\\Product");
}

TEST_F(StandardPagesWin, InstallationTypeSetsFiguresAndVariables)
{
    setHeaderField(200, 100);
    setHeaderField(204, 20000);
    setHeaderField(208, 1);
    setHeaderField(212, 2);
    setHeaderField(224, 3);
    gPackageToc.freeSpace = 10000;
    gPackageToc.installationType = kTypicalInstallation;
    const auto description = page({control("radio", 10, 10, 10, 200, 16, 0x50010009),
                                    control("radio", 11, 10, 30, 200, 16, 0x50010009),
                                    control("radio", 12, 10, 50, 200, 16, 0x50010009)});
    show(9, description);
    EXPECT_EQ(text(11), "T92");
    EXPECT_EQ(SendMessageW(item(10), BM_GETCHECK, 0, 0), BST_CHECKED);
    // Typical needs more than is free.
    press(1);
    EXPECT_EQ(messages, std::vector<std::string>{"T96"});
    EXPECT_TRUE(moves.empty());

    SendMessageW(item(10), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(item(11), BM_SETCHECK, BST_CHECKED, 0);
    press(1);
    EXPECT_EQ(moves, std::vector<std::string>{"next"});
    EXPECT_EQ(gPackageToc.installationType, kMinimalInstallation);
    EXPECT_EQ(gPackageToc.bytesRequired, 100u);
    EXPECT_EQ(gPackageToc.jpegBytes, 1u);
    EXPECT_EQ(gPackageToc.mp3Bytes, 2u);
    EXPECT_EQ(gPackageToc.otherBytes, 3u);
    EXPECT_STREQ(getVariableText("<IT_Minimal>"), "1");
    EXPECT_STREQ(getVariableText("<IT_Typical>"), "0");
    EXPECT_EQ(getVariableInt("<IT_Type>"), 1);

    // Back takes the type without its figures.
    show(9, description);
    EXPECT_EQ(SendMessageW(item(11), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(item(11), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(item(12), BM_SETCHECK, BST_CHECKED, 0);
    press(3);
    EXPECT_EQ(gPackageToc.installationType, kCustomInstallation);
    EXPECT_EQ(gPackageToc.bytesRequired, 100u);
    EXPECT_STREQ(getVariableText("<IT_Custom>"), "1");
}

class ComponentsPageWin : public StandardPagesWin {
protected:
    ComponentsPageWin()
    {
        std::vector<std::uint8_t> file(16, 0);
        std::vector<std::uint8_t> block;
        appendComponent(block, "Base", 0, "The base", 1, 1000);
        appendComponent(block, "Tools", 2, "Tools", 0, 0);
        appendComponent(block, "Editor", 0, "An editor", 4, 2000);
        appendComponent(block, "Viewer", 0, "A viewer", 0, 3000);
        file.insert(file.end(), block.begin(), block.end());
        writePackage(file);
        setHeaderField(176, 2);
        setHeaderField(180, 16);
        setHeaderField(184, std::uint32_t(block.size()));
        gPackageToc.freeSpace = 12345678;
    }

    static nlohmann::json componentsPage()
    {
        return page({control("treeview", 10, 10, 10, 250, 150, 0x50810027), control("edit", 24, 270, 10, 130, 60),
                     control("static", 25, 270, 80, 130, 16), control("static", 26, 270, 100, 130, 16)});
    }

    HTREEITEM handle(int index) const
    {
        HWND tree = item(10);
        HTREEITEM at = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        for (int i = 0; i < index && at; ++i)
            at = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE,
                                                          reinterpret_cast<LPARAM>(at)));
        return at;
    }

    std::vector<int> images() const
    {
        std::vector<int> states;
        for (int i = 0; i < 4; ++i) {
            TVITEMW tv{};
            tv.mask = TVIF_IMAGE | TVIF_HANDLE;
            tv.hItem = handle(i);
            SendMessageW(item(10), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
            states.push_back(tv.iImage);
        }
        return states;
    }

    void space(int index)
    {
        SendMessageW(item(10), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle(index)));
        SendMessageW(item(10), WM_KEYDOWN, VK_SPACE, 0);
        pump();
    }
};

TEST_F(ComponentsPageWin, TreeShowsThreeStatesAndKeepsTheChoices)
{
    show(10, componentsPage());
    SendMessageW(item(10), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle(1)));
    ByteString size;
    formatSize(1000, size);
    wchar_t label[64] = L"";
    TVITEMW tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = handle(0);
    tv.pszText = label;
    tv.cchTextMax = 64;
    SendMessageW(item(10), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    std::string shownText;
    for (const wchar_t* p = label; *p; ++p)
        shownText += char(*p);
    EXPECT_EQ(shownText, "Base (" + str(size) + ")");
    EXPECT_EQ(images(), (std::vector<int>{2, 3, 1, 0}));
    EXPECT_EQ(text(24), "The base");
    EXPECT_EQ(gPackageToc.installationType, kCustomInstallation);

    // The fixed component does not change; the parent follows its children.
    space(0);
    EXPECT_EQ(images(), (std::vector<int>{2, 3, 1, 0}));
    space(3);
    EXPECT_EQ(images(), (std::vector<int>{2, 1, 1, 1}));
    EXPECT_EQ(text(24), "A viewer");
    space(1);
    EXPECT_EQ(images(), (std::vector<int>{2, 0, 0, 0}));

    space(2);
    press(1);
    EXPECT_EQ(moves, std::vector<std::string>{"next"});
    EXPECT_EQ(getVariableInt("<II_Base>"), 1);
    EXPECT_EQ(getVariableInt("<II_Tools>"), 1);
    EXPECT_EQ(getVariableInt("<II_Tools_Editor>"), 1);
    EXPECT_EQ(getVariableInt("<II_Tools_Viewer>"), 0);
    EXPECT_EQ(gPackageToc.bytesRequired, 3000u);
    ASSERT_EQ(gPackageToc.componentChoices.size(), 4u);
    EXPECT_EQ(str(gPackageToc.componentChoices[2].name).substr(0, 8), "\tEditor ");

    // The next visit shows the same choices.
    show(10, componentsPage());
    SendMessageW(item(10), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle(1)));
    EXPECT_EQ(images(), (std::vector<int>{2, 3, 1, 0}));
}

TEST_F(ComponentsPageWin, SpaceFiguresAndNextFollowTheChoice)
{
    gPackageToc.freeSpace = 3500;
    show(10, componentsPage());
    SendMessageW(item(10), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle(1)));
    EXPECT_EQ(text(25), "3 K");
    EXPECT_EQ(text(26), "0 K");
    EXPECT_TRUE(enabled(1));
    space(3);
    EXPECT_FALSE(enabled(1));
    space(1);
    EXPECT_TRUE(enabled(1));
    EXPECT_EQ(text(26), "2 K");
}

TEST_F(ComponentsPageWin, VariablesPresetTheFirstVisitAndTheSilentEvaluationSavesThem)
{
    setVariableInt("<II_Tools_Viewer>", 1);
    setVariableInt("<II_Tools_Editor>", 0);
    gPackageToc.pageSequence = {};
    const Bytes bytes = templateFromDescription(componentsPage());
    TemplateEntry entry;
    entry.templateBytes = ByteString(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    entry.pageType = 10;
    gPackageToc.pageSequence.push_back(std::move(entry));
    evaluateComponentsSilently();
    EXPECT_EQ(gPackageToc.bytesRequired, 4000u);
    EXPECT_EQ(getVariableInt("<II_Tools>"), 1);
    EXPECT_EQ(getVariableInt("<II_Tools_Editor>"), 0);
    ASSERT_EQ(gPackageToc.componentChoices.size(), 4u);
    EXPECT_TRUE(gPackageToc.componentChoices[3].checked);
}

TEST_F(StandardPagesWin, SummaryShowsTheChoices)
{
    gPackageToc.installationType = kCustomInstallation;
    gPackageToc.componentChoices = {{true, ByteString("Base (1 KB)")}, {false, ByteString("Extra")}};
    gPackageToc.installDir = ByteString("C:\\App\\");
    gPackageToc.bytesRequired = 0;
    gPackageToc.freeSpace = 0;
    setVariableText("<SummaryExtraInfo>", "x<\\n>y");
    show(11, page({control("edit", 10, 10, 10, 380, 200, 0x50A00804)}), {10});
    ByteString zero;
    formatSize(0, zero);
    EXPECT_EQ(text(10), "T103\r\n=====================================\r\n\r\nT104\r\nT94\r\nT105\r\n\tBase (1 KB)\r\n\r\n"
                        "T106 " + str(zero) + "\r\nT107 " + str(zero) + "\r\n\r\nT108\r\nC:\\App\\\r\nx\ny");
}

TEST_F(StandardPagesWin, UserInformationRequiredFieldsAndConfirmation)
{
    gInstallerContext.userInfoOptions = 0x1 | 0x2 | 0x4;
    gInstallerContext.userName = ByteString("Ann");
    gInstallerContext.organisation = ByteString("Co");
    gInstallerContext.optionWord |= kOptionConfirmUserInfo;
    show(6, page({control("static", 10, 10, 10, 100, 16), control("static", 11, 10, 40, 100, 16),
                  control("edit", 20, 120, 10, 200, 20, 0x50810080), control("edit", 21, 120, 40, 200, 20, 0x50810080)}));
    EXPECT_EQ(text(10), "T66 *:");
    EXPECT_EQ(text(11), "T67:");
    EXPECT_EQ(text(20), "Ann");
    EXPECT_EQ(SendMessageW(item(20), EM_GETLIMITTEXT, 0, 0), 259);
    EXPECT_TRUE(enabled(1));
    setText(20, "");
    EXPECT_FALSE(enabled(1));
    setText(20, "Bob");
    EXPECT_TRUE(enabled(1));

    messageAnswer = IDNO;
    press(1);
    EXPECT_EQ(messages, std::vector<std::string>{"T70\r\n\r\nT66: Bob\r\nT67: Co\r\n\r\nT71"});
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(str(gInstallerContext.userName), "Bob");
    messageAnswer = IDYES;
    press(1);
    EXPECT_EQ(moves, std::vector<std::string>{"next"});
}

TEST_F(StandardPagesWin, UserInformationHidesFieldsNotShown)
{
    gInstallerContext.userInfoOptions = 0x4 | 0x8;
    gInstallerContext.organisation = ByteString();
    show(6, page({control("static", 10, 10, 10, 100, 16), control("static", 11, 10, 40, 100, 16),
                  control("edit", 20, 120, 10, 200, 20, 0x50810080), control("edit", 21, 120, 40, 200, 20, 0x50810080)}));
    EXPECT_FALSE(IsWindowVisible(item(20)));
    EXPECT_FALSE(IsWindowVisible(item(10)));
    EXPECT_FALSE(enabled(1));
    setText(21, "Co");
    EXPECT_TRUE(enabled(1));
}

TEST_F(StandardPagesWin, LicenseTextOfTheLanguageWithoutItsPrefix)
{
    std::vector<std::uint8_t> file(8, 0);
    const auto entry = [&](std::uint32_t language, const std::string& text) {
        for (std::uint32_t value : {language, std::uint32_t(text.size())})
            for (int shift = 24; shift >= 0; shift -= 8)
                file.push_back(std::uint8_t(value >> shift));
        file.insert(file.end(), text.begin(), text.end());
    };
    entry(0, "plain://Neutral terms");
    entry(1, "plain://Terms one");
    writePackage(file);
    setHeaderField(48, 1);
    setHeaderField(52, 8);
    setHeaderField(56, 2);
    gPackageToc.languageNumber = 1;
    gPackageToc.licenseNextButtonText = 1;
    int chooserCalls = 0;
    static int* calls = nullptr;
    calls = &chooserCalls;
    const PrinterChooser previous = setPrinterChooser([](HWND) -> HDC {
        ++*calls;
        return nullptr;
    });
    show(3, page({control("richedit", 12, 10, 10, 380, 200, 0x50A00804), control("button", 100, 10, 220, 80, 24)}));
    EXPECT_EQ(text(12), "Terms one");
    EXPECT_EQ(text(1), "T7");
    EXPECT_NE(GetWindowLongPtrW(item(12), GWL_STYLE) & ES_READONLY, 0);
    press(100);
    EXPECT_EQ(chooserCalls, 1);
    setPrinterChooser(previous);

    // An unreadable table: the error text, an empty page, Next still works.
    gPackageToc.languageNumber = 2;
    setHeaderField(56, 3);
    show(3, page({control("richedit", 12, 10, 10, 380, 200, 0x50A00804)}));
    EXPECT_EQ(messages, std::vector<std::string>{"T21"});
    EXPECT_EQ(text(12), "");
    press(1);
    EXPECT_EQ(moves, std::vector<std::string>{"next"});
}

TEST_F(StandardPagesWin, LanguageListAndAFailedLoad)
{
    std::vector<std::uint8_t> file(8, 0);
    const auto word = [&](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            file.push_back(std::uint8_t(value >> shift));
    };
    // Two sets whose tables are missing: they list, but do not load.
    for (const auto& [name, number] : {std::pair<std::string, std::uint32_t>{"English", 9}, {"Deutsch", 7}}) {
        word(std::uint32_t(4 + name.size() + 4));
        word(std::uint32_t(name.size()));
        file.insert(file.end(), name.begin(), name.end());
        word(number);
    }
    writePackage(file);
    setHeaderField(156, 2);
    setHeaderField(164, 8);
    gPackageToc.languagePreselection = 7;
    gPackageToc.languagePagePrompt = ByteString("Choose");
    gPackageToc.languagePageCaption = ByteString("Language");
    show(1, page({control("listbox", 10, 10, 30, 200, 100, 0x50A00001), control("static", 30, 10, 5, 200, 16)}));
    EXPECT_EQ(windowText(shown->window), "Language");
    EXPECT_EQ(text(30), "Choose");
    ASSERT_EQ(SendMessageW(item(10), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(item(10), LB_GETCURSEL, 0, 0), 1);
    press(1);
    EXPECT_EQ(messages, std::vector<std::string>{"Couldn't load language set!"});
    EXPECT_TRUE(moves.empty());
    gPackageToc.languagePreselection = -1;
}

TEST_F(StandardPagesWin, CaptionFromTheBackgroundTitle)
{
    const ByteString savedTitle = gBackgroundStyle.windowTitle;
    gBackgroundStyle.windowTitle = ByteString("Background title");
    gInstallerContext.optionWord |= kOptionCaptionsFromWindowTitle;
    for (const std::int32_t type : {2, 7, 9}) {
        show(type, page({control("listbox", 10, 10, 30, 200, 100, 0x50A00001),
                         control("edit", 11, 10, 140, 200, 20, 0x50810080)}));
        EXPECT_EQ(windowText(shown->window), "Background title") << type;
    }
    gBackgroundStyle.windowTitle = savedTitle;
}

TEST_F(StandardPagesWin, SystemInformationShowsTheReport)
{
    setSystemReport(ByteString("CPU\tx86\r\nMemory\t64 MB"));
    show(5, page({control("listbox", 15, 10, 10, 380, 150, 0x50A00081), control("button", 4, 10, 170, 80, 24),
                  control("static", 14, 10, 200, 380, 16)}));
    EXPECT_EQ(text(4), "T60");
    EXPECT_EQ(SendMessageW(item(15), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(text(14).substr(0, 2), "T5");

    // Saving writes the list in columns and names the file written.
    press(4);
    ASSERT_EQ(messages.size(), 1u);
    ASSERT_EQ(messages[0].substr(0, 4), "T62[");
    const std::string path = messages[0].substr(4, messages[0].size() - 5);
    std::ifstream saved(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    saved.close();
    EXPECT_EQ(content, "CPU" + std::string(19, ' ') + "x86\r\nMemory" + std::string(16, ' ') + "64 MB\r\n");
    std::remove(path.c_str());
    setSystemReport(std::nullopt);
}

namespace {

void settle()
{
    for (int i = 0; i < 10; ++i) {
        pump();
        Sleep(30);
    }
}

} // namespace

// Not a check: writes pictures of the pages into the folder named by KV_SCREENSHOT_DIR, to be
// looked at (run with --gtest_also_run_disabled_tests).
TEST_F(ComponentsPageWin, DISABLED_Screenshots)
{
    const char* target = std::getenv("KV_SCREENSHOT_DIR");
    ASSERT_NE(target, nullptr);
    const std::pair<std::size_t, const char*> texts[] = {
        {0, "< Back"}, {2, "Cancel"}, {4, "Next >"}, {72, "Destination folder"}, {1, "Browse..."},
        {73, "Setup will install %s into the following folder."},
        {74, "To install into a different folder, click Browse."}, {97, "Components"},
        {98, "Choose the components to install."}, {102, "Summary"}, {103, "Ready to install"},
        {104, "Installation type:"}, {94, "Custom"}, {105, "Components:"}, {106, "Space required:"},
        {107, "Space available:"}, {108, "Destination folder:"}};
    for (const auto& [index, text] : texts)
        gLanguageTexts[index] = ByteString(text);
    gPackageToc.productName = ByteString("Korvanel");
    gPackageToc.installDir = ByteString("C:\\Program Files\\Korvanel\\");
    show(7, page({control("static", 30, 10, 10, 390, 16), control("static", 31, 10, 30, 390, 16),
                  control("edit", 10, 10, 60, 300, 22, 0x50810080), control("button", 4, 320, 59, 80, 24)}));
    settle();
    saveWindowShot(shown->window, std::string(target) + "\\destination.bmp");

    show(10, page({control("static", 30, 10, 5, 390, 16), control("treeview", 10, 10, 25, 250, 150, 0x50810027),
                   control("edit", 24, 270, 25, 130, 60, 0x50810844), control("static", 25, 270, 100, 130, 16),
                   control("static", 26, 270, 120, 130, 16)}));
    SendMessageW(item(10), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle(1)));
    space(3);
    settle();
    saveWindowShot(shown->window, std::string(target) + "\\components.bmp");
    press(1);

    show(11, page({control("edit", 10, 10, 10, 390, 240, 0x50A00804)}), {10});
    settle();
    saveWindowShot(shown->window, std::string(target) + "\\summary.bmp");

    gLanguageTexts[63] = ByteString("User information");
    gLanguageTexts[64] = ByteString("Please enter your name and the name of your company.");
    gLanguageTexts[66] = ByteString("Name");
    gLanguageTexts[67] = ByteString("Company");
    gInstallerContext.userInfoOptions = 0x1 | 0x2 | 0x4;
    gInstallerContext.userName = ByteString("");
    show(6, page({control("static", 45, 10, 10, 390, 16), control("static", 10, 10, 40, 100, 16),
                  control("static", 11, 10, 70, 100, 16), control("edit", 20, 120, 38, 250, 22, 0x50810080),
                  control("edit", 21, 120, 68, 250, 22, 0x50810080)}));
    settle();
    saveWindowShot(shown->window, std::string(target) + "\\userinfo.bmp");
}
