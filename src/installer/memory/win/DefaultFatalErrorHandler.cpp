#include "installer/memory/FatalError.h"

#include <windows.h>

void defaultFatalErrorHandler(const char* text)
{
    MessageBoxA(nullptr, text ? text : kOutOfMemoryText, "Setup", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(0);
}
