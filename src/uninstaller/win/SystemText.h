#pragma once
// Names in the uninstall data are the bytes the installer used: UTF-8, or the ANSI code page of
// the machine it ran on. The wide form is taken from UTF-8 when the bytes are valid UTF-8.
#include <windows.h>

#include <string>

std::wstring systemName(const std::string& bytes);
// UTF-8 of a wide text, for the texts this program shows.
std::string utf8Of(const std::wstring& text);
