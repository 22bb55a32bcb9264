#pragma once
// Loading RTF into a rich-edit control, and printing its content.
#include "installer/text/ByteString.h"

#include <windows.h>

#include <vector>

void streamTextToRichEdit(HWND richEdit, const ByteString& text);

struct PrintedPage {
    LONG firstChar, lastChar;
    RECT rect; // in twips
};
// Formats the whole text page by page without rendering, until it is placed or a page does not
// advance.
std::vector<PrintedPage> paginateRichEdit(HWND richEdit, HDC printer, const RECT& textRect, const RECT& pageRect);

// Asks for a printer (print dialog) and prints the text with one-inch margins. False when the
// user does not confirm or the document cannot be started.
bool printRichEdit(HWND owner, HWND richEdit, const char* documentName);

// The print dialog's answer: a printer device context, or null when the user cancels. Tests set
// their own answer: no printer exists here.
using PrinterChooser = HDC (*)(HWND owner);
PrinterChooser setPrinterChooser(PrinterChooser chooser);
