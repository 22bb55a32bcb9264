// The installer program's entry point.
#include "InstallerExit.h"
#include "InstallerStartup.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try {
        return runInstaller(instance);
    } catch (...) {
        endAfterUncaughtException();
    }
}
