#include "uninstaller/UninstallUndo.h"

#include "uninstaller/win/SystemText.h"

#include <windows.h>

namespace {

namespace reader = uninstall_reader;

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// True when the file is gone afterwards (also when it was gone before).
bool deleteFile(const std::wstring& path)
{
    if (!exists(path))
        return true;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) != 0 || !exists(path);
}

void removeFile(const std::string& name, UndoOutcome& outcome)
{
    const std::wstring path = systemName(name);
    const bool there = exists(path);
    if (!deleteFile(path))
        outcome.notUndone.push_back(name);
    else if (there)
        ++outcome.filesRemoved;
}

void unregisterLibrary(const std::wstring& path)
{
    HMODULE library = LoadLibraryW(path.c_str());
    if (!library)
        return;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    if (auto unregister = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, "DllUnregisterServer"))))
        unregister();
    FreeLibrary(library);
}

void releaseShared(const std::string& line, REGSAM view, UndoOutcome& outcome)
{
    const std::size_t bar = line.find('|');
    const std::string name = line.substr(0, bar);
    const bool registered = bar != std::string::npos && line.substr(bar) == "|ctrl";
    const std::wstring path = systemName(name);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", 0,
                      KEY_READ | KEY_WRITE | view, &key) != ERROR_SUCCESS) {
        outcome.notUndone.push_back(name);
        return;
    }
    DWORD count = 0;
    DWORD size = sizeof(count);
    DWORD type = 0;
    if (RegQueryValueExW(key, path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        count = 1;
    if (count > 1) {
        --count;
        if (RegSetValueExW(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count)) !=
            ERROR_SUCCESS)
            outcome.notUndone.push_back(name);
    } else {
        const LONG deleted = RegDeleteValueW(key, path.c_str());
        if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
            outcome.notUndone.push_back(name);
        if (registered)
            unregisterLibrary(path);
        removeFile(name, outcome);
    }
    RegCloseKey(key);
}

void restoreBackup(const std::string& line, UndoOutcome& outcome)
{
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos)
        return;
    const std::wstring backup = systemName(line.substr(0, tab));
    const std::string name = line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
    const std::wstring path = systemName(name);
    if (!exists(backup))
        return;
    // The backup keeps the file's attributes; copying over an existing file may not carry them.
    const DWORD attributes = GetFileAttributesW(backup.c_str());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!CopyFileW(backup.c_str(), path.c_str(), FALSE)) {
        outcome.notUndone.push_back(name);
        return;
    }
    SetFileAttributesW(path.c_str(), attributes);
    deleteFile(backup);
    ++outcome.backupsRestored;
}

void removeFolder(const std::string& name, UndoOutcome& outcome)
{
    const std::wstring path = systemName(name);
    if (!exists(path))
        return;
    if (RemoveDirectoryW(path.c_str())) {
        ++outcome.foldersRemoved;
        return;
    }
    // A folder that still holds what someone else put there stays.
    const std::wstring pattern = path + L"\\*";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    bool holdsSomething = false;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring item = found.cFileName;
            holdsSomething = holdsSomething || (item != L"." && item != L"..");
        } while (!holdsSomething && FindNextFileW(search, &found));
        FindClose(search);
    }
    if (!holdsSomething)
        outcome.notUndone.push_back(name);
}

bool keyIsEmpty(HKEY key)
{
    DWORD subkeys = 0;
    DWORD values = 0;
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

bool gone(LONG result) { return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND; }

void deleteValue(HKEY key, const std::string& path, const reader::Value& value, UndoOutcome& outcome)
{
    if (!(value.flags & 1))
        return;
    const LONG result = RegDeleteValueW(key, systemName(value.name).c_str());
    if (result == ERROR_SUCCESS)
        ++outcome.registryEntriesRemoved;
    else if (!gone(result))
        outcome.notUndone.push_back(path + "|" + value.name);
}

void undoKey(HKEY parent, const std::string& parentPath, const reader::Key& node, REGSAM view, UndoOutcome& outcome)
{
    const std::string path = parentPath + "\\" + node.name;
    const std::wstring name = systemName(node.name);
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | KEY_WRITE | view, &key);
    if (opened != ERROR_SUCCESS) {
        if (!gone(opened))
            outcome.notUndone.push_back(path);
        return;
    }
    for (const reader::Value& value : node.values)
        deleteValue(key, path, value, outcome);
    for (const reader::Key& child : node.keys)
        undoKey(key, path, child, view, outcome);
    const bool empty = keyIsEmpty(key);
    RegCloseKey(key);
    if (!(node.flags & 1))
        return;
    LONG result = ERROR_SUCCESS;
    if (node.flags & 8) {
        // The tree goes with the key itself; what is left of it is deleted after.
        result = RegDeleteTreeW(parent, name.c_str());
        if (result == ERROR_SUCCESS && !gone(RegDeleteKeyExW(parent, name.c_str(), view, 0)))
            result = ERROR_ACCESS_DENIED;
    } else if (empty)
        result = RegDeleteKeyExW(parent, name.c_str(), view, 0);
    else
        return; // it holds what someone else put there
    if (result == ERROR_SUCCESS)
        ++outcome.registryEntriesRemoved;
    else if (!gone(result))
        outcome.notUndone.push_back(path);
}

void undoRegistry(const reader::Data& data, REGSAM view, UndoOutcome& outcome)
{
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    const char* const rootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};
    for (std::size_t i = 0; i < data.roots.size() && i < 4; ++i) {
        for (const reader::Value& value : data.roots[i].values)
            deleteValue(roots[i], rootNames[i], value, outcome);
        for (const reader::Key& key : data.roots[i].keys)
            undoKey(roots[i], rootNames[i], key, view, outcome);
    }
}

} // namespace

UndoOutcome undoUninstallData(const reader::Data& data)
{
    UndoOutcome outcome;
    const REGSAM view = data.version.size() > 3 && data.version.back() == 'a' ? KEY_WOW64_64KEY : 0;
    for (const std::string& line : data.section("Shared:"))
        releaseShared(line, view, outcome);
    for (const std::string& file : data.section("Files:"))
        removeFile(file, outcome);
    for (const std::string& line : data.section("Backups:"))
        restoreBackup(line, outcome);
    for (const std::string& folder : data.section("Directories:"))
        removeFolder(folder, outcome);
    undoRegistry(data, view, outcome);
    return outcome;
}
