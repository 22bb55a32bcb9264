// The program-group page: the start-menu folder, typed or picked from the existing groups.
#include "installer/state/InstallerState.h"
#include "installer/text/win/TextConversion.h"
#include "installer/text/win/WideName.h"
#include "installer/wizard/FolderChoice.h"
#include "installer/wizard/FolderTextChecks.h"
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

#include <string>

namespace {

constexpr std::int32_t kGroupEdit = 10;
constexpr std::int32_t kGroupList = 11;

// Every folder below the pattern's folder whose name neither is empty nor begins with ".",
// unless the list holds it already (in any case).
void addFolderNames(HWND list, const ByteString& folder)
{
    std::wstring pattern(WideName(folder).get());
    pattern += L"\\*.*";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || found.cFileName[0] == L'\0' ||
            found.cFileName[0] == L'.')
            continue;
        if (SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(found.cFileName)) == LB_ERR)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

class ProgramGroupPage : public StandardPage {
public:
    ProgramGroupPage() : StandardPage(83) {}

private:
    void initPage() override
    {
        setItemLanguageText(30, 84);
        setItemLanguageText(31, 85);
        if (HWND edit = item(kGroupEdit))
            SendMessageW(edit, EM_LIMITTEXT, kGroupEditLimit, 0);
        setItemText(kGroupEdit, gPackageToc.shortcutDir);
        HWND list = item(kGroupList);
        if (!list)
            return;
        addFolderNames(list, gMainInstaller.folders[kProgramsDirNt]);
        const bool nt = gInstallerContext.osVersion.platformId == VER_PLATFORM_WIN32_NT;
        if (nt && (gInstallerContext.optionWord & kOptionAllUsersShortcuts) == 0)
            addFolderNames(list, gMainInstaller.folders[kProgramsDir]);
    }

    ByteString typed() const { return item(kGroupEdit) ? controlText(item(kGroupEdit)) : ByteString(); }

    bool pageCommand(std::int32_t id, std::int32_t code, LPARAM) override
    {
        if (id != kGroupList || code != LBN_SELCHANGE)
            return false;
        HWND list = item(kGroupList);
        const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR)
            return true;
        std::wstring line(std::size_t(SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(line.data()));
        line.resize(std::wcslen(line.c_str()));
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0, nullptr, nullptr);
        std::string utf8(std::size_t(bytes > 0 ? bytes : 0), '\0');
        if (bytes > 0)
            WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), utf8.data(), bytes, nullptr, nullptr);
        const ByteString chosen(reinterpret_cast<const std::uint8_t*>(utf8.data()), std::uint32_t(utf8.size()));
        setItemText(kGroupEdit, groupFromListLine(chosen, gPackageToc.fileNameSafeProductId,
                                                  (gInstallerContext.optionWord & kOptionNoProductFolder) == 0));
        return true;
    }

    bool leaveForward() override
    {
        const ByteString group = typed();
        if (const std::size_t problem = groupProblem(group)) {
            pageMessage(window, gLanguageTexts[problem], MB_OK | MB_ICONWARNING);
            return false;
        }
        gPackageToc.shortcutDir = keptGroup(group);
        return true;
    }

    void leaveBack() override { gPackageToc.shortcutDir = typed(); }
};

} // namespace

std::unique_ptr<TemplatePage> makeProgramGroupPage()
{
    return std::make_unique<ProgramGroupPage>();
}
