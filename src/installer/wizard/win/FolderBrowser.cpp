#include "installer/wizard/win/FolderBrowser.h"

#include "installer/system/DriveRoot.h"
#include "installer/system/FreeSpace.h"
#include "installer/text/CStrings.h"
#include "installer/text/win/WideName.h"

#include <shlobj.h>

#include <cstring>

namespace {

struct BrowseState {
    const char* initialFolder;
    std::uint64_t requiredBytes;
};

void onSelectionChanged(HWND dialog, LPCITEMIDLIST item, const BrowseState& state)
{
    wchar_t path[MAX_PATH] = {};
    SHGetPathFromIDListW(item, path);
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
    ByteString utf8 = utf8FromWide(path);
    const std::string root = driveRootOf(utf8.cStr());
    const bool enough = !root.empty() && getFreeSpace(root.c_str(), 1) >= state.requiredBytes;
    SendMessageA(dialog, BFFM_ENABLEOK, 0, enough ? 1 : 0);
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) noexcept
{
    try {
        const auto* state = reinterpret_cast<const BrowseState*>(data);
        if (message == BFFM_INITIALIZED) {
            SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(L""));
            if (!isNullOrEmpty(state->initialFolder))
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(WideName(state->initialFolder).get()));
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
    wchar_t displayName[MAX_PATH] = {};
    const WideName wideTitle(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = wideTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = &browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    if (!chosen)
        return;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path))
        copyName(utf8FromWide(path), outPath, MAX_PATH);
    CoTaskMemFree(chosen);
}
