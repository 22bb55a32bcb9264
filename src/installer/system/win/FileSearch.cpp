#include "installer/system/FileSearch.h"

#include <windows.h>

#include <cstring>

namespace {

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        entries.push_back(FolderEntry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                      (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileA(find, &data));
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
    const DWORD size = GetLogicalDriveStringsA(0, nullptr);
    if (size == 0)
        return -2;
    std::string roots(size + 1, '\0');
    if (GetLogicalDriveStringsA(size, roots.data()) == 0)
        return -4;
    int result = 0;
    for (const char* root = roots.c_str(); *root; root += std::strlen(root) + 1) {
        if (GetDriveTypeA(root) != DRIVE_FIXED)
            continue;
        result = findFile(root, name, ignored, out);
        if (result > 0)
            break;
    }
    return result;
}
