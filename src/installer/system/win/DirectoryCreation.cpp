#include "installer/system/DirectoryCreation.h"

#include "installer/system/ErrorBox.h"
#include "installer/text/ByteString.h"
#include "installer/text/CStrings.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// Puts the current directory back however the walk ends.
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper()
    {
        const DWORD n = GetCurrentDirectoryW(0, nullptr);
        saved_.resize(n);
        if (n)
            saved_.resize(GetCurrentDirectoryW(n, saved_.data()));
    }
    ~CurrentDirectoryKeeper()
    {
        if (!saved_.empty())
            SetCurrentDirectoryW(saved_.c_str());
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    std::wstring saved_;
};

void reportFailure(const std::string& folder, DWORD error)
{
    ByteString text;
    text.format(kCouldNotCreateFolderFormat, folder.c_str());
    if (error == ERROR_ACCESS_DENIED)
        text.appendCStr(kAccessDeniedAdvice);
    showErrorBox(text.cStr());
}

// The message names the whole folder that could not be made, not only its last part.
bool enterOrCreate(const std::string& component, const std::string& folder, bool quiet)
{
    const WideName name(component);
    if (SetCurrentDirectoryW(name))
        return true;
    if (!CreateDirectoryW(name, nullptr) || !SetCurrentDirectoryW(name)) {
        const DWORD error = GetLastError();
        if (!quiet)
            reportFailure(folder, error);
        return false;
    }
    wchar_t created[MAX_PATH * 2] = {};
    const DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, created);
    if (n > 0 && n < MAX_PATH * 2)
        recordCreatedFolder(utf8FromWide(created).cStr());
    return true;
}

} // namespace

bool createDirectories(const char* path, bool quiet)
{
    if (isNullOrEmpty(path))
        return false;
    // The system takes "/" for "\\" in a path, and so does a user typing a folder.
    std::string full(path);
    std::replace(full.begin(), full.end(), '/', '\\');
    std::string start;
    std::string rest;
    const bool isDrivePath = full.size() >= 3 && full[1] == ':' && full[2] == '\\' &&
        ((full[0] >= 'A' && full[0] <= 'Z') || (full[0] >= 'a' && full[0] <= 'z'));
    if (isDrivePath) {
        start = full.substr(0, 3);
        rest = full.substr(3);
    } else if (full.rfind("\\\\", 0) == 0) {
        const std::size_t afterServer = full.find('\\', 2);
        if (afterServer == std::string::npos)
            return false;
        const std::size_t afterShare = full.find('\\', afterServer + 1);
        if (afterShare == std::string::npos || afterShare + 1 >= full.size())
            return true; // only a server and a share: nothing to create
        start = full.substr(0, afterShare);
        rest = full.substr(afterShare + 1);
    } else {
        return false;
    }
    CurrentDirectoryKeeper keeper;
    // Components are created relative to the start: never anywhere else.
    if (!SetCurrentDirectoryW(WideName(start)))
        return false;
    if (!rest.empty() && rest.back() == '\\')
        rest.pop_back();
    const std::string base = isDrivePath ? start : start + "\\";
    std::size_t begin = 0;
    while (begin <= rest.size()) {
        std::size_t end = rest.find('\\', begin);
        if (end == std::string::npos)
            end = rest.size();
        const std::string component = rest.substr(begin, end - begin);
        if (!component.empty() && !enterOrCreate(component, base + rest.substr(0, end), quiet))
            return false;
        begin = end + 1;
    }
    return true;
}
