// The language page: the package's language sets in a list; Next loads the chosen one.
#include "installer/memory/FatalError.h"
#include "installer/package/LanguageSet.h"
#include "installer/state/InstallerState.h"
#include "installer/text/Utf8.h"
#include "installer/wizard/LanguageNames.h"
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

#include <string>

namespace {

constexpr std::int32_t kLanguageList = 10;
constexpr std::int32_t kPromptItem = 30;

class LanguagePage : public StandardPage {
public:
    LanguagePage() : StandardPage(kOwnCaption) {}

private:
    void initPage() override
    {
        if ((gInstallerContext.optionWord & kOptionCaptionsFromWindowTitle) == 0 &&
            gPackageToc.languagePageAutoLoad == 0) {
            if (hasOwnWindow())
                setControlText(window, gPackageToc.languagePageCaption);
            setItemText(kPromptItem, gPackageToc.languagePagePrompt);
        }
        HWND list = item(kLanguageList);
        const auto package = openPackageFile(gPackagePath.cStr());
        const auto names = package ? readLanguageNames(*package, gPackageHeader) : std::nullopt;
        if (!names)
            fatalError("Unknown error");
        for (const LanguageName& language : *names) {
            ByteString name(language.name);
            const auto wide = utf8ToWide(name.cStr());
            const std::wstring line = wide ? std::wstring(wide->begin(), wide->end()) : std::wstring();
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        SendMessageW(list, LB_SETCURSEL,
                     WPARAM(preselectedLanguage(*names, gPackageToc.languagePreselection, gPackageToc.languageNumber)),
                     0);
    }

    bool leaveForward() override
    {
        const LRESULT index = SendMessageW(item(kLanguageList), LB_GETCURSEL, 0, 0);
        if (index == LB_ERR)
            return false;
        if (!loadLanguageSet(std::int32_t(index))) {
            pageMessage(window, ByteString("Couldn't load language set!"), MB_OK | MB_ICONERROR);
            return false;
        }
        const bool update = (gInstallerContext.packageOptions & kPackageUpdate) != 0;
        gSetupTitle = formattedLanguageText(update ? 9 : 8, gPackageToc.productName);
        return true;
    }
};

} // namespace

std::unique_ptr<TemplatePage> makeLanguagePage()
{
    return std::make_unique<LanguagePage>();
}
