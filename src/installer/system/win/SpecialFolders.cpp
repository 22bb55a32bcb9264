#include "installer/system/win/SpecialFolders.h"

#include "installer/system/RegistryView.h"
#include "installer/system/win/Registry.h"
#include "installer/text/win/WideName.h"

#include <shlobj.h>

#include <cstring>

namespace {

struct ShellFolderValue {
    int number;
    HKEY root;
    const char* valueName;
};

const ShellFolderValue kShellFolderValues[] = {
    {2, HKEY_CURRENT_USER, "Programs"},           {5, HKEY_CURRENT_USER, "Personal"},
    {7, HKEY_CURRENT_USER, "Startup"},            {11, HKEY_CURRENT_USER, "Start Menu"},
    {16, HKEY_CURRENT_USER, "Desktop"},           {20, HKEY_CURRENT_USER, "Fonts"},
    {22, HKEY_LOCAL_MACHINE, "Common Start Menu"}, {23, HKEY_LOCAL_MACHINE, "Common Programs"},
    {24, HKEY_LOCAL_MACHINE, "Common Startup"},   {25, HKEY_LOCAL_MACHINE, "Common Desktop"},
};

bool readShellFolderValue(const ShellFolderValue& entry, char* buffer)
{
    HKEY key;
    if (openRegistryKey(entry.root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                        KEY_READ | registryViewBits(), &key) != ERROR_SUCCESS)
        return false;
    std::vector<std::uint8_t> value;
    DWORD type = 0;
    const bool read = queryRegistryValue(key, entry.valueName, &type, value) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && !value.empty() && value[0] != 0;
    RegCloseKey(key);
    if (!read)
        return false;
    value.push_back(0);
    return copyName(ByteString(reinterpret_cast<const char*>(value.data())), buffer, MAX_PATH);
}

class ItemList {
public:
    ~ItemList() { CoTaskMemFree(list_); }
    LPITEMIDLIST* out() { return &list_; }
    LPITEMIDLIST get() const { return list_; }

private:
    LPITEMIDLIST list_ = nullptr;
};

} // namespace

bool getSpecialFolder(int number, char* buffer)
{
    for (const ShellFolderValue& entry : kShellFolderValues)
        if (entry.number == number && readShellFolderValue(entry, buffer))
            return true;
    ItemList list;
    if (SHGetSpecialFolderLocation(nullptr, number, list.out()) != S_OK || !list.get())
        return false;
    buffer[0] = '\0';
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(list.get(), path))
        copyName(utf8FromWide(path), buffer, MAX_PATH);
    return true;
}

bool getSpecialFolderWide(int number, wchar_t* buffer)
{
    using WidePathFunction = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell)
        shell = LoadLibraryW(L"shell32.dll");
    auto widePath = shell ? reinterpret_cast<WidePathFunction>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetPathFromIDListW"))) : nullptr;
    if (!widePath)
        return false;
    ItemList list;
    if (SHGetSpecialFolderLocation(nullptr, number, list.out()) != S_OK || !list.get())
        return false;
    return widePath(list.get(), buffer) == 1;
}
