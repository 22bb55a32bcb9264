#include "installer/text/win/TextConversion.h"

#include "installer/text/Utf8.h"

#include <string>
#include <vector>

namespace {

bool isNtFamily()
{
    return (GetVersion() & 0x80000000u) == 0;
}

} // namespace

std::wstring utf8ToWideText(const char* text)
{
    const auto wide = utf8ToWide(text ? text : "");
    return wide ? std::wstring(wide->begin(), wide->end()) : std::wstring();
}

std::wstring utf8ToWideText(const ByteString& text)
{
    ByteString copy(text);
    return utf8ToWideText(copy.cStr());
}

void ansiToUtf8(const char* text, ByteString& out)
{
    if (!text)
        return;
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0)
        return;
    std::vector<wchar_t> wide(static_cast<std::size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
    if (auto utf8 = wideToUtf8(reinterpret_cast<const char16_t*>(wide.data())))
        out = std::move(*utf8);
}

void wideToAnsi(const wchar_t* wide, ByteString& out)
{
    out.assignCStr("");
    if (!wide)
        return;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return;
    std::uint8_t* target = out.grow(static_cast<std::uint32_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, reinterpret_cast<char*>(target), bytes, nullptr, nullptr);
    out.erase(static_cast<std::uint32_t>(bytes - 1), 1); // the terminating NUL
}

void setWindowTextUtf8(HWND window, const char* text)
{
    const std::wstring wide = utf8ToWideText(text);
    if (isNtFamily()) {
        SetWindowTextW(window, wide.c_str());
        return;
    }
    ByteString ansi;
    wideToAnsi(wide.c_str(), ansi);
    SetWindowTextA(window, ansi.cStr());
}

void setDlgItemTextUtf8(HWND dialog, int itemId, const char* text)
{
    setWindowTextUtf8(GetDlgItem(dialog, itemId), text);
}

ByteString getDlgItemTextAlloc(HWND dialog, int itemId)
{
    HWND item = GetDlgItem(dialog, itemId);
    const int length = item ? GetWindowTextLengthA(item) : 0;
    ByteString text;
    if (length <= 0)
        return text;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(item, buffer.data(), length + 1);
    if (got > 0)
        text.appendCStr(buffer.data(), static_cast<std::uint32_t>(got));
    return text;
}
