#include "gui/win/FontHandle.h"

#include "gui/win/TApplication.h"

namespace kv {

HFONT MakeFont(const TFont& Font)
{
    LOGFONTW log{};
    log.lfHeight = Font.Height();
    log.lfWeight = Font.Bold() ? FW_BOLD : FW_NORMAL;
    log.lfCharSet = Font.Charset();
    log.lfQuality = DEFAULT_QUALITY;
    const std::wstring name = Utf8ToWide(Font.Name());
    lstrcpynW(log.lfFaceName, name.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&log);
}

namespace {

// Measured in a memory device context, which has the screen's resolution: a window's own device
// context costs a round trip to the window system, and labels measure with every new caption.
std::int32_t TextWidthIn(HGDIOBJ Font, const std::string& Text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font ? Font : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = Utf8ToWide(Text);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    return r.right - r.left;
}

} // namespace

std::int32_t TextWidth(const TFont& Font, const std::string& Text)
{
    HFONT font = MakeFont(Font);
    const std::int32_t width = TextWidthIn(font, Text);
    if (font) DeleteObject(font);
    return width;
}

std::int32_t TextWidth(HWND Wnd, const std::string& Text)
{
    return TextWidthIn(reinterpret_cast<HGDIOBJ>(SendMessageW(Wnd, WM_GETFONT, 0, 0)), Text);
}

} // namespace kv
