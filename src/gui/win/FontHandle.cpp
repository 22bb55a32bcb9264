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

std::int32_t TextWidth(const TFont& Font, const std::string& Text)
{
    HFONT font = MakeFont(Font);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = Utf8ToWide(Text);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (font) DeleteObject(font);
    return r.right - r.left;
}

} // namespace kv
