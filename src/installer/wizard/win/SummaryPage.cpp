// The summary page: the choices made, as text.
#include "installer/state/InstallerState.h"
#include "installer/text/NumberTexts.h"
#include "installer/variables/VariableApi.h"
#include "installer/wizard/PageNavigation.h"
#include "installer/wizard/TemplateParser.h"
#include "installer/wizard/SummaryText.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

namespace {

constexpr std::int32_t kSummaryEdit = 10;
constexpr std::int32_t kProgramGroupPage = 8;

bool sequenceHas(std::int32_t pageType)
{
    return findTemplateIndex(gPackageToc.pageSequence, pageType) >= 0;
}

class SummaryPage : public StandardPage {
public:
    SummaryPage() : StandardPage(102) {}

private:
    void initPage() override
    {
        HWND edit = item(kSummaryEdit);
        if (!edit)
            return;
        const INT tabStop = 12;
        SendMessageW(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
        SummaryInputs inputs(gLanguageTexts, gPackageToc.componentChoices);
        inputs.showsType = sequenceHas(kInstallTypePage) || sequenceHas(kComponentsPage);
        inputs.installationType = gPackageToc.installationType;
        inputs.bytesRequired = gPackageToc.bytesRequired;
        inputs.freeBytes = gPackageToc.freeSpace;
        inputs.installDir = gPackageToc.installDir;
        inputs.showsGroup = !gPackageToc.shortcuts.empty() || sequenceHas(kProgramGroupPage);
        inputs.shortcutDir = gPackageToc.shortcutDir;
        if (const char* extra = getVariableText("<SummaryExtraInfo>"))
            inputs.extraInfo = ByteString(extra);
        inputs.sizeText = [](std::uint64_t bytes) {
            ByteString text;
            formatSize(bytes, text);
            return text;
        };
        const bool readOnly = (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) != 0;
        SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
        setControlText(edit, buildSummaryText(inputs));
        if (readOnly)
            SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    }
};

} // namespace

std::unique_ptr<TemplatePage> makeSummaryPage()
{
    return std::make_unique<SummaryPage>();
}
