// The installer program's entry point.
#include "InstallerStartup.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return runInstaller(instance);
}
