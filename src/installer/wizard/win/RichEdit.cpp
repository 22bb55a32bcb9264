#include "installer/wizard/win/RichEdit.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace {

struct StreamSource {
    const ByteString* text;
    std::uint32_t position;
};

DWORD CALLBACK streamIn(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* copied) noexcept
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const std::uint32_t left = source->text->length() - source->position;
    const std::uint32_t n = std::min<std::uint32_t>(left, requested > 0 ? static_cast<std::uint32_t>(requested) : 0);
    if (n)
        std::memcpy(buffer, source->text->data() + source->position, n);
    source->position += n;
    *copied = static_cast<LONG>(n);
    return 0;
}

HDC askPrintDialog(HWND owner)
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nCopies = 1;
    if (!PrintDlgA(&dialog))
        return nullptr;
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return dialog.hDC;
}

PrinterChooser printerChooser = &askPrintDialog;

class PrinterDc {
public:
    explicit PrinterDc(HDC dc) : dc_(dc) {}
    ~PrinterDc()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    PrinterDc(const PrinterDc&) = delete;
    PrinterDc& operator=(const PrinterDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace

void streamTextToRichEdit(HWND richEdit, const ByteString& text)
{
    StreamSource source{&text, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &streamIn;
    SendMessageA(richEdit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

PrinterChooser setPrinterChooser(PrinterChooser chooser)
{
    PrinterChooser previous = printerChooser;
    printerChooser = chooser ? chooser : &askPrintDialog;
    return previous;
}

std::vector<PrintedPage> paginateRichEdit(HWND richEdit, HDC printer, const RECT& textRect, const RECT& pageRect)
{
    std::vector<PrintedPage> pages;
    GETTEXTLENGTHEX lengthQuery{GTL_DEFAULT, CP_ACP};
    const LONG textLength = static_cast<LONG>(SendMessageA(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0));
    FORMATRANGE range{};
    range.hdc = printer;
    range.hdcTarget = printer;
    range.rcPage = pageRect;
    LONG first = 0;
    while (first < textLength) {
        range.rc = textRect;
        range.chrg.cpMin = first;
        range.chrg.cpMax = -1;
        const LONG next = static_cast<LONG>(SendMessageA(richEdit, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&range)));
        if (next <= first)
            break;
        pages.push_back(PrintedPage{first, next, range.rc});
        first = next;
    }
    SendMessageA(richEdit, EM_FORMATRANGE, FALSE, 0);
    return pages;
}

bool printRichEdit(HWND owner, HWND richEdit, const char* documentName)
{
    PrinterDc printer(printerChooser(owner));
    if (!printer.get())
        return false;
    HDC dc = printer.get();
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0)
        return false;
    const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    RECT page{0, 0, MulDiv(GetDeviceCaps(dc, PHYSICALWIDTH), 1440, dpiX), MulDiv(GetDeviceCaps(dc, PHYSICALHEIGHT), 1440, dpiY)};
    RECT text{0, 0, page.right - 2880, page.bottom - 2880};
    const std::vector<PrintedPage> pages = paginateRichEdit(richEdit, dc, text, page);

    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName;
    if (StartDocA(dc, &document) <= 0)
        return false;
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rcPage = page;
    for (const PrintedPage& printed : pages) {
        StartPage(dc);
        SetMapMode(dc, MM_TEXT);
        SetViewportOrgEx(dc, dpiX - offsetX, dpiY - offsetY, nullptr);
        range.rc = printed.rect;
        range.chrg.cpMin = printed.firstChar;
        range.chrg.cpMax = printed.lastChar;
        SendMessageA(richEdit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        EndPage(dc);
    }
    EndDoc(dc);
    SendMessageA(richEdit, EM_FORMATRANGE, FALSE, 0);
    return true;
}
