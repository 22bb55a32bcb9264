#include "gui/win/TClipboard.h"

#include "base/Exceptions.h"
#include "gui/win/TApplication.h"

#include <cstring>

namespace kv {

namespace {

// Open for the lifetime of the object.
class TOpenClipboard {
public:
    explicit TOpenClipboard(HWND Owner)
    {
        if (!OpenClipboard(Owner)) throw Exception("Unable to open the clipboard");
    }
    ~TOpenClipboard() { CloseClipboard(); }
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;
};

} // namespace

void SetClipboardText(HWND Owner, const std::string& Text)
{
    const std::wstring wide = Utf8ToWide(Text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) throw Exception("Not enough memory to copy to the clipboard");
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, wide.c_str(), bytes);
        GlobalUnlock(memory);
    }
    try {
        const TOpenClipboard open(Owner);
        EmptyClipboard();
        if (!SetClipboardData(CF_UNICODETEXT, memory)) throw Exception("Unable to write to the clipboard");
    } catch (...) {
        GlobalFree(memory);
        throw;
    }
    // The clipboard owns the memory now.
}

} // namespace kv
