#include "gui/win/TPopupMenu.h"

#include "gui/win/TApplication.h"

namespace kv {

void TPopupMenu::Popup(HWND Owner, std::int32_t X, std::int32_t Y)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    // The item images live as long as the menu.
    struct Destroy {
        HMENU menu;
        std::vector<HBITMAP> images;
        ~Destroy()
        {
            DestroyMenu(menu);
            for (HBITMAP image : images) DeleteObject(image);
        }
    } destroy{menu, {}};
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        const TAction* action = FItems[i];
        if (!action) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (!action->Visible()) continue;
        const UINT flags = MF_STRING | (action->Checked() ? MF_CHECKED : 0u) | (action->Enabled() ? 0u : MF_GRAYED);
        AppendMenuW(menu, flags, i + 1, Utf8ToWide(action->Caption()).c_str());
        if (FImages && action->ImageIndex() >= 0)
            if (HBITMAP image = FImages->MakeOpaqueBitmap(action->ImageIndex(), clMenu)) {
                destroy.images.push_back(image);
                MENUITEMINFOW item{};
                item.cbSize = sizeof(item);
                item.fMask = MIIM_BITMAP;
                item.hbmpItem = image;
                SetMenuItemInfoW(menu, static_cast<UINT>(i + 1), FALSE, &item);
            }
    }
    const auto chosen = static_cast<std::size_t>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, X, Y, 0, Owner, nullptr));
    if (chosen >= 1 && chosen <= FItems.size() && FItems[chosen - 1]) FItems[chosen - 1]->Execute();
}

} // namespace kv
