// Every caption of every window fits its control, in English and in the German of the shipped
// language file, measured in the font the control really draws with (under Wine a Tahoma that
// is wider than the one the sizes were first made for): labels, buttons, check boxes, group
// boxes, tool-bar buttons and list column titles. A label's text must not run into a neighbour.
#include "app/uLanguage.h"
#include "app/win/fAbout.h"
#include "app/win/fEdit.h"
#include "app/win/fEvent.h"
#include "app/win/fKeyboard.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRecord.h"
#include "app/win/fRoll.h"
#include "app/win/WindowPixels.h"
#include "gui/win/TApplication.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;

std::wstring WindowText(HWND Wnd)
{
    const int length = GetWindowTextLengthW(Wnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Wnd, text.data(), length + 1)));
    return text;
}

std::wstring ClassOf(HWND Wnd)
{
    wchar_t name[64] = {};
    GetClassNameW(Wnd, name, 64);
    return name;
}

// The size of Text in the font the window draws with.
SIZE TextSize(HWND Wnd, const std::wstring& Text, UINT Flags = DT_SINGLELINE)
{
    HDC dc = GetDC(Wnd);
    auto font = reinterpret_cast<HFONT>(SendMessageW(Wnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | Flags);
    SelectObject(dc, old);
    ReleaseDC(Wnd, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// Where a control's caption lies, in its parent's coordinates.
struct TInk {
    HWND Wnd;
    RECT Rect;
};

class CaptionFit {
public:
    // Looks at every control of the window and its children.
    void Check(TForm& Form)
    {
        FForm = Form.Name();
        EnumChildWindows(Form.Handle(), Visit, reinterpret_cast<LPARAM>(this));
    }
    std::vector<std::string> Faults;

private:
    static BOOL CALLBACK Visit(HWND Wnd, LPARAM Self)
    {
        reinterpret_cast<CaptionFit*>(Self)->Control(Wnd);
        return TRUE;
    }
    void Fault(HWND Wnd, const std::wstring& Text, int Needed, int Has)
    {
        Faults.push_back(FForm + ": \"" + WideToUtf8(Text) + "\" (" + WideToUtf8(ClassOf(Wnd)) + ") needs " +
                         std::to_string(Needed) + " pixels, has " + std::to_string(Has));
    }
    void Control(HWND Wnd)
    {
        RECT client{};
        GetClientRect(Wnd, &client);
        const std::wstring kind = ClassOf(Wnd);
        const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
        if (kind == L"Static") Label(Wnd, client, style);
        else if (kind == L"Button") Button(Wnd, client, style);
        else if (kind == WC_LISTVIEWW) ListColumns(Wnd, style);
        else if (kind == TOOLBARCLASSNAMEW) ToolButtons(Wnd);
    }
    void Label(HWND Wnd, const RECT& Client, LONG_PTR Style)
    {
        const std::wstring text = WindowText(Wnd);
        if (text.empty()) return;
        const UINT align = Style & SS_TYPEMASK;
        if (align == SS_LEFT) {
            // A label that breaks its text into lines: every line fits its width and height.
            RECT r{0, 0, Client.right, 0};
            HDC dc = GetDC(Wnd);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Wnd, WM_GETFONT, 0, 0)));
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            SelectObject(dc, old);
            ReleaseDC(Wnd, dc);
            if (r.right > Client.right) Fault(Wnd, text, r.right, Client.right);
            if (r.bottom > Client.bottom) Fault(Wnd, text, r.bottom, Client.bottom);
            return;
        }
        const int width = TextSize(Wnd, text, DT_SINGLELINE | DT_NOPREFIX).cx;
        if (width > Client.right) Fault(Wnd, text, width, Client.right);
        // The text's own extent must not reach into another control beside it.
        RECT ink{};
        GetWindowRect(Wnd, &ink);
        MapWindowPoints(nullptr, GetParent(Wnd), reinterpret_cast<POINT*>(&ink), 2);
        if (align == SS_RIGHT) ink.left = ink.right - width;
        else if (align == SS_CENTER) ink.left += (ink.right - ink.left - width) / 2, ink.right = ink.left + width;
        else ink.right = ink.left + width;
        // Siblings come from the top of the drawing order down: those before this label paint over it.
        bool above = true;
        for (HWND other = GetWindow(GetParent(Wnd), GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
            if (other == Wnd) above = false;
            if (other == Wnd || !IsWindowVisible(other)) continue;
            RECT theirs{}, overlap{};
            GetWindowRect(other, &theirs);
            MapWindowPoints(nullptr, GetParent(Wnd), reinterpret_cast<POINT*>(&theirs), 2);
            if (above && IntersectRect(&overlap, &ink, &theirs)) {
                Faults.push_back(FForm + ": \"" + WideToUtf8(text) + "\" is covered by \"" + WideToUtf8(WindowText(other)) + "\" (" +
                                 WideToUtf8(ClassOf(other)) + ")");
                continue;
            }
            // A neighbouring label with text counts with its text only (an empty one, such as a
            // colour swatch, with all of it).
            const std::wstring theirText = WindowText(other);
            if (ClassOf(other) == L"Static" && !theirText.empty()) {
                const int theirWidth = TextSize(other, theirText, DT_SINGLELINE | DT_NOPREFIX).cx;
                const UINT theirAlign = GetWindowLongPtrW(other, GWL_STYLE) & SS_TYPEMASK;
                if (theirAlign == SS_RIGHT) theirs.left = theirs.right - theirWidth;
                else if (theirAlign == SS_LEFTNOWORDWRAP) theirs.right = theirs.left + theirWidth;
            }
            if (IntersectRect(&overlap, &ink, &theirs))
                Faults.push_back(FForm + ": \"" + WideToUtf8(text) + "\" runs into \"" + WideToUtf8(WindowText(other)) + "\" (" +
                                 WideToUtf8(ClassOf(other)) + ")");
        }
    }
    void Button(HWND Wnd, const RECT& Client, LONG_PTR Style)
    {
        const std::wstring text = WindowText(Wnd);
        if (text.empty()) return;
        const LONG_PTR type = Style & BS_TYPEMASK;
        if (Style & BS_MULTILINE) {
            // A caption on several lines: each line fits inside the edges, all lines the height.
            RECT r{0, 0, Client.right - 4, 0};
            HDC dc = GetDC(Wnd);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Wnd, WM_GETFONT, 0, 0)));
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK);
            SelectObject(dc, old);
            ReleaseDC(Wnd, dc);
            if (r.right > Client.right - 4) Fault(Wnd, text, r.right + 4, Client.right);
            if (r.bottom > Client.bottom - 4) Fault(Wnd, text, r.bottom + 4, Client.bottom);
            return;
        }
        const int width = TextSize(Wnd, text).cx;
        int margin = 2; // a push button's edges
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
            type == BS_3STATE || type == BS_AUTO3STATE)
            margin = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        else if (type == BS_GROUPBOX)
            margin = 16;
        if (width + margin > Client.right) Fault(Wnd, text, width + margin, Client.right);
    }
    void ListColumns(HWND Wnd, LONG_PTR Style)
    {
        if (Style & LVS_NOCOLUMNHEADER) return;
        HWND header = reinterpret_cast<HWND>(SendMessageW(Wnd, LVM_GETHEADER, 0, 0));
        const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
        for (int i = 0; i < count; ++i) {
            wchar_t caption[128] = {};
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = caption;
            column.cchTextMax = 128;
            SendMessageW(Wnd, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
            // The header keeps a few pixels on each side of a title.
            const int width = TextSize(header, caption).cx + 12;
            if (width > column.cx) Fault(Wnd, caption, width, column.cx);
        }
    }
    void ToolButtons(HWND Wnd)
    {
        const int count = static_cast<int>(SendMessageW(Wnd, TB_BUTTONCOUNT, 0, 0));
        const DWORD extended = static_cast<DWORD>(SendMessageW(Wnd, TB_GETEXTENDEDSTYLE, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            SendMessageW(Wnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            if (button.fsStyle & BTNS_SEP) continue;
            wchar_t caption[128] = {};
            SendMessageW(Wnd, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(caption));
            RECT r{};
            SendMessageW(Wnd, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
            int room = r.right - r.left;
            // The drop-down arrow takes its part of the button.
            if ((button.fsStyle & BTNS_DROPDOWN) && (extended & TBSTYLE_EX_DRAWDDARROWS)) room -= 11;
            const int width = TextSize(Wnd, caption).cx + 6;
            if (width > room) Fault(Wnd, caption, width, room);
        }
    }

    std::string FForm;
};

class CaptionsFit : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        InitCommonControlClasses();
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        folder = fs::temp_directory_path() / ("kv_fit_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()));
        fs::create_directories(folder);
        if (*GetParam()) {
            ASSERT_TRUE(Language().Load(std::string("Z:") + KV_PACKAGE_SOURCE_DIR + "/" + GetParam()));
        }
    }
    void TearDown() override
    {
        about.reset();
        edit.reset();
        record.reset();
        roll.reset();
        keyboard.reset();
        options.reset();
        main.reset();
        Language().Clear();
        Application()->OnException = nullptr;
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    fs::path folder;
    std::vector<std::string> errors;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmOption> options;
    std::unique_ptr<TfrmKeyboard> keyboard;
    std::unique_ptr<TfrmRoll> roll;
    std::unique_ptr<TfrmRecord> record;
    std::unique_ptr<TfrmEdit> edit;
    std::unique_ptr<TfrmAbout> about;
};

TEST_P(CaptionsFit, InEveryWindow)
{
    const std::string settings = (folder / "Korvanel.ini").string();
    main = std::make_unique<TfrmMain>(nullptr);
    frmMain = main.get();
    options = std::make_unique<TfrmOption>(nullptr, frmMain, settings);
    keyboard = std::make_unique<TfrmKeyboard>(nullptr, frmMain, settings);
    roll = std::make_unique<TfrmRoll>(nullptr, frmMain, settings);
    record = std::make_unique<TfrmRecord>(nullptr, frmMain);
    edit = std::make_unique<TfrmEdit>(nullptr, main->MidiFile1);
    about = std::make_unique<TfrmAbout>(nullptr);
    main->Show();
    main->actMidiEvent->Execute();
    ASSERT_TRUE(frmEvent);
    std::vector<TForm*> forms{main.get(), options.get(), keyboard.get(), roll.get(), frmEvent, record.get(), edit.get(), about.get()};
    for (TForm* form : forms) form->Show();
    for (int i = 0; i < 3; ++i) Application()->ProcessMessages();
    CaptionFit fit;
    for (TForm* form : forms) {
        fit.Check(*form);
        const std::string shot = std::string(*GetParam() ? "de_" : "en_") + form->Name();
        test::SaveScreenshot(test::CaptureClient(form->Handle()), shot);
    }
    std::string all;
    for (const std::string& fault : fit.Faults) all += fault + "\n";
    EXPECT_TRUE(fit.Faults.empty()) << all;
    EXPECT_TRUE(errors.empty());
    frmMain = nullptr;
}

INSTANTIATE_TEST_SUITE_P(EnglishAndGerman, CaptionsFit, ::testing::Values("", "de_DE.lng"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(*info.param ? "German" : "English");
                         });

} // namespace
} // namespace kv
