#include "app/win/uProgram.h"

#include "app/uSettings.h"
#include "gui/win/TApplication.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace kv {

std::string ProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return WideToUtf8(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string ProgramFolder() { return FolderOf(ProgramPath()); }

TShellOpen& ShellOpen()
{
    static TShellOpen open = [](const std::string& File, const std::string& Folder) {
        const std::wstring file = Utf8ToWide(File), folder = Utf8ToWide(Folder);
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
    };
    return open;
}

std::string GetFileVersionString(const std::string& FileName)
{
    const std::wstring name = Utf8ToWide(FileName);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> buffer(size);
    if (!GetFileVersionInfoW(name.c_str(), 0, size, buffer.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

std::string GetFileVersionString() { return GetFileVersionString(ProgramPath()); }

} // namespace kv

namespace kv {

bool FileExists(const std::string& Name)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(Name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ParamStr(int Index)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return {};
    const std::string argument = Index >= 0 && Index < count ? WideToUtf8(arguments[Index]) : std::string();
    LocalFree(arguments);
    return argument;
}

} // namespace kv
