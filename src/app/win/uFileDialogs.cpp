#include "app/win/uFileDialogs.h"

#include "gui/win/TApplication.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

namespace kv {

namespace {

std::optional<std::string> RunFileDialog(const TFileDialogRequest& Request)
{
    // The filter's "|" separators become NULs, and the list ends with two.
    std::wstring filter = Utf8ToWide(Request.Filter);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    const std::wstring extension = Utf8ToWide(Request.DefaultExt.empty() || Request.DefaultExt[0] != '.'
                                                  ? Request.DefaultExt
                                                  : Request.DefaultExt.substr(1));
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring start = Utf8ToWide(Request.FileName);
    if (start.size() < name.size()) std::copy(start.begin(), start.end(), name.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (Request.Save) dialog.Flags |= OFN_EXTENSIONDIFFERENT | OFN_PATHMUSTEXIST;
    else dialog.Flags |= OFN_FILEMUSTEXIST;
    const BOOL chosen = Request.Save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return WideToUtf8(name.data());
}

} // namespace

TFileDialog& FileDialog()
{
    static TFileDialog dialog = RunFileDialog;
    return dialog;
}

} // namespace kv
