#include "installer/system/win/OwnedWindow.h"

namespace {

struct Search {
    HWND owner;
    HWND found;
};

BOOL CALLBACK visit(HWND window, LPARAM data) noexcept
{
    auto* search = reinterpret_cast<Search*>(data);
    if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    search->found = window; // listed from the top: the first is the uppermost
    return FALSE;
}

} // namespace

HWND frontOwnedWindow(HWND owner)
{
    if (!owner)
        return nullptr;
    Search search{owner, nullptr};
    EnumWindows(&visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
