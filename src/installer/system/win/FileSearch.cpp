#include "installer/system/FileSearch.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

#include <cstring>

namespace {

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(WideName(folder + "*.*"), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        entries.push_back(FolderEntry{utf8FromWide(data.cFileName).cStr(), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                      (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

void dispatchPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int findFile(const char* folder, const char* name, int, ByteString* out)
{
    return findFileWith(FileSearchSystem{&listFolder, &dispatchPendingMessages}, folder, name, out);
}

int findFileOnFixedDrives(const char* name, int ignored, ByteString* out)
{
    if (!name || !out)
        return -1;
    out->assignCStr("");
    const DWORD size = GetLogicalDriveStringsW(0, nullptr);
    if (size == 0)
        return -2;
    std::wstring roots(size + 1, L'\0');
    if (GetLogicalDriveStringsW(size, roots.data()) == 0)
        return -4;
    int result = 0;
    for (const wchar_t* root = roots.c_str(); *root; root += std::wcslen(root) + 1) {
        if (GetDriveTypeW(root) != DRIVE_FIXED)
            continue;
        ByteString folder = utf8FromWide(root);
        result = findFile(folder.cStr(), name, ignored, out);
        if (result > 0)
            break;
    }
    return result;
}
