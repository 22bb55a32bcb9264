#include "installer/system/win/Shortcut.h"

#include "installer/system/win/ComRef.h"
#include "installer/system/win/CriticalErrorBoxes.h"
#include "installer/text/CStrings.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

bool createShortcut(const char* target, const char* linkPath, const char* description, const char* workingFolder,
                    const char* iconPath, int iconIndex, const char* arguments)
{
    if (isNullOrEmpty(linkPath))
        return false;
    CriticalErrorBoxesSuppressed suppressed;
    ComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())))
        return false;
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
        return false;
    link->SetPath(target ? target : "");
    if (!isNullOrEmpty(workingFolder))
        link->SetWorkingDirectory(workingFolder);
    if (!isNullOrEmpty(iconPath))
        link->SetIconLocation(iconPath, iconIndex);
    if (!isNullOrEmpty(description))
        link->SetDescription(description);
    if (!isNullOrEmpty(arguments))
        link->SetArguments(arguments);
    wchar_t widePath[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0)
        return false;
    return SUCCEEDED(file->Save(widePath, TRUE));
}
