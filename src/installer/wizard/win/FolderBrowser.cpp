#include "installer/wizard/win/FolderBrowser.h"

#include "installer/system/DriveRoot.h"
#include "installer/system/FreeSpace.h"
#include "installer/text/CStrings.h"

#include <shlobj.h>

#include <cstring>

namespace {

struct BrowseState {
    const char* initialFolder;
    std::uint64_t requiredBytes;
};

void onSelectionChanged(HWND dialog, LPCITEMIDLIST item, const BrowseState& state)
{
    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(item, path);
    SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    const std::string root = driveRootOf(path);
    const bool enough = !root.empty() && getFreeSpace(root.c_str(), 1) >= state.requiredBytes;
    SendMessageA(dialog, BFFM_ENABLEOK, 0, enough ? 1 : 0);
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) noexcept
{
    try {
        const auto* state = reinterpret_cast<const BrowseState*>(data);
        if (message == BFFM_INITIALIZED) {
            SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(""));
            if (!isNullOrEmpty(state->initialFolder))
                SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(state->initialFolder));
        } else if (message == BFFM_SELCHANGED) {
            onSelectionChanged(dialog, reinterpret_cast<LPCITEMIDLIST>(lParam), *state);
        }
    } catch (...) {
        // Nothing may cross the shell's frame; the dialog stays as it is.
    }
    return 0;
}

} // namespace

void browseForFolder(HWND owner, const char* title, char* outPath, std::uint32_t requiredLow, std::uint32_t requiredHigh,
                     const char* initialFolder)
{
    outPath[0] = '\0';
    BrowseState state{initialFolder, (static_cast<std::uint64_t>(requiredHigh) << 32) | requiredLow};
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = &browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return;
    if (!SHGetPathFromIDListA(chosen, outPath))
        outPath[0] = '\0';
    CoTaskMemFree(chosen);
}
