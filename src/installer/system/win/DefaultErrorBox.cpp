#include "installer/system/ErrorBox.h"

#include <windows.h>

void defaultErrorBox(const char* text)
{
    MessageBoxA(nullptr, text ? text : "Out of memory", "Setup", MB_OK | MB_ICONERROR);
}
