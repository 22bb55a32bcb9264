// The welcome page: its texts, the product's name in the greeting.
#include "installer/state/InstallerState.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

namespace {

class WelcomePage : public StandardPage {
public:
    WelcomePage() : StandardPage(12) {}

private:
    void initPage() override
    {
        setItemText(10, formattedLanguageText(13, gPackageToc.productName, &gPackageToc.productName));
        for (std::int32_t id = 11; id <= 14; ++id)
            setItemLanguageText(id, std::size_t(id + 3));
    }
};

} // namespace

std::unique_ptr<TemplatePage> makeWelcomePage()
{
    return std::make_unique<WelcomePage>();
}
