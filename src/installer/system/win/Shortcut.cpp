#include "installer/system/win/Shortcut.h"

#include "installer/system/win/ComRef.h"
#include "installer/system/win/CriticalErrorBoxes.h"
#include "installer/text/CStrings.h"
#include "installer/text/win/WideName.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

bool createShortcut(const char* target, const char* linkPath, const char* description, const char* workingFolder,
                    const char* iconPath, int iconIndex, const char* arguments)
{
    if (isNullOrEmpty(linkPath))
        return false;
    CriticalErrorBoxesSuppressed suppressed;
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.out())))
        return false;
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
        return false;
    link->SetPath(WideName(target ? target : ""));
    if (!isNullOrEmpty(workingFolder))
        link->SetWorkingDirectory(WideName(workingFolder));
    if (!isNullOrEmpty(iconPath))
        link->SetIconLocation(WideName(iconPath), iconIndex);
    if (!isNullOrEmpty(description))
        link->SetDescription(WideName(description));
    if (!isNullOrEmpty(arguments))
        link->SetArguments(WideName(arguments));
    return SUCCEEDED(file->Save(WideName(linkPath), TRUE));
}
