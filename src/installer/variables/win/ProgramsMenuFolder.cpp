#include "installer/variables/ProgramGroupFolder.h"

#include "installer/state/InstallerState.h"
#include "installer/system/win/SpecialFolders.h"
#include "installer/text/win/WideName.h"

#include <shlobj.h>

namespace {

// NT: the wide path shortened through GetShortPathNameW (looked up at run time), in UTF-8;
// false when any step is not available or fails.
bool shortWideFolder(int number, ByteString& out)
{
    using ShortPathFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
    wchar_t wide[MAX_PATH + 1] = {};
    if (!getSpecialFolderWide(number, wide))
        return false;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto shortPath = kernel ? reinterpret_cast<ShortPathFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetShortPathNameW"))) : nullptr;
    if (!shortPath)
        return false;
    wchar_t shortened[MAX_PATH + 1] = {};
    const DWORD n = shortPath(wide, shortened, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    out = utf8FromWide(shortened);
    return !out.empty();
}

} // namespace

ByteString programsMenuFolder(bool allUsers)
{
    const int number = allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
    ByteString folder;
    if (gInstallerContext.unicode && shortWideFolder(number, folder))
        return folder;
    char buffer[MAX_PATH + 1] = {};
    if (!getSpecialFolder(number, buffer))
        buffer[0] = '\0';
    return ByteString(buffer);
}
