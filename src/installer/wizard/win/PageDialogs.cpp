#include "installer/wizard/win/PageDialogs.h"

#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/wizard/FolderChoice.h"
#include "installer/wizard/win/FolderBrowser.h"

PageDialogs& pageDialogs()
{
    static PageDialogs dialogs;
    return dialogs;
}

int pageMessage(HWND owner, const ByteString& text, UINT type)
{
    if (pageDialogs().message)
        return pageDialogs().message(owner, text, type);
    ByteString copy(text);
    return messageBox(owner, copy.cStr(), gSetupTitle.empty() ? nullptr : gSetupTitle.cStr(), type);
}

ByteString pageBrowse(HWND owner, const ByteString& title, const ByteString& start, std::uint64_t required)
{
    if (pageDialogs().browse)
        return pageDialogs().browse(owner, title, start, required);
    char chosen[kFolderBufferSize] = "";
    ByteString titleCopy(title);
    ByteString startCopy(start);
    browseForFolder(owner, titleCopy.cStr(), chosen, std::uint32_t(required), std::uint32_t(required >> 32),
                    startCopy.cStr());
    chosen[kFolderBufferSize - 1] = 0;
    return ByteString(chosen);
}
