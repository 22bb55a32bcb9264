// The license and readme pages: the text of the current language from the package's table, as
// RTF or plain text, and printing it.
#include "installer/package/PackageSource.h"
#include "installer/state/InstallerState.h"
#include "installer/wizard/PageTextTable.h"
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/RichEdit.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

#include "installer/package/PackageHeaderFields.h"

#include <string>

namespace {

constexpr std::int32_t kPrintCommand = 100;

struct TextPageKind {
    std::size_t caption;
    std::uint32_t presentField; // then the offset and the count
    std::size_t readErrorText;
    std::uint32_t plainOption;
    std::int32_t textControl;
    const char* documentName;
    bool license;
};

constexpr TextPageKind kLicense{18, 48, 21, kOptionLicensePlainText, 12, "License agreement", true};
constexpr TextPageKind kReadme{22, 60, 23, kOptionReadmePlainText, 10, "Readme", false};

class TextPage : public StandardPage {
public:
    explicit TextPage(const TextPageKind& kind) : StandardPage(kind.caption), kind_(kind) {}

private:
    void initPage() override
    {
        if (kind_.license) {
            setItemLanguageText(10, 19);
            setItemLanguageText(11, 20);
            if (gPackageToc.licenseNextButtonText)
                setItemLanguageText(1, 7);
        }
        if (headerField(gPackageHeader, kind_.presentField) != 0)
            showText();
    }

    void showText()
    {
        const std::uint32_t offset = headerField(gPackageHeader, kind_.presentField + 4);
        const std::uint32_t count = headerField(gPackageHeader, kind_.presentField + 8);
        if (offset == 0 || count == 0)
            return;
        const auto package = openPackageFile(gPackagePath.cStr());
        const auto text = package ? choosePageText(*package, offset, count, gPackageToc.languageNumber) : std::nullopt;
        if (!text) {
            pageMessage(window, gLanguageTexts[kind_.readErrorText], MB_OK | MB_ICONERROR);
            return;
        }
        const TemplateControl* control = findControlById(kind_.textControl);
        HWND edit = item(kind_.textControl);
        if (!control || !edit)
            return;
        const bool readOnly = (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) != 0;
        SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
        const PageTextDisplay display = pageTextDisplay(*text, control->type == kControlRichEdit,
                                                        (gInstallerContext.optionWord & kind_.plainOption) != 0);
        if (display.rich) {
            streamTextToRichEdit(edit, display.text);
        } else {
            // The text's bytes are in the ANSI code page.
            ByteString bytes(display.text);
            SetWindowTextA(edit, bytes.cStr());
        }
        if (readOnly)
            SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    }

    bool pageCommand(std::int32_t id, std::int32_t code, LPARAM) override
    {
        if (id != kPrintCommand || code != 0)
            return false;
        printRichEdit(window, item(kind_.textControl), kind_.documentName);
        return true;
    }

    const TextPageKind& kind_;
};

} // namespace

std::unique_ptr<TemplatePage> makeLicensePage()
{
    return std::make_unique<TextPage>(kLicense);
}

std::unique_ptr<TemplatePage> makeReadmePage()
{
    return std::make_unique<TextPage>(kReadme);
}
