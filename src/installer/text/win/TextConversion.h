#pragma once
// Conversions between UTF-8, UTF-16 and the ANSI code page, and UTF-8 window texts.
#include "installer/text/ByteString.h"

#include <windows.h>

#include <string>

// Converts through UTF-16 from the ANSI code page; out is left as it is when the system reports
// no length.
void ansiToUtf8(const char* text, ByteString& out);
void wideToAnsi(const wchar_t* wide, ByteString& out);
// The UTF-16 text of UTF-8 text; empty for text that is not UTF-8.
std::wstring utf8ToWideText(const char* text);
std::wstring utf8ToWideText(const ByteString& text);
void setWindowTextUtf8(HWND window, const char* text);
void setDlgItemTextUtf8(HWND dialog, int itemId, const char* text);
// A dialog item's text as the system gives it (ANSI code page bytes); empty when there is none.
ByteString getDlgItemTextAlloc(HWND dialog, int itemId);
