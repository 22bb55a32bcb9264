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

} // namespace kv
