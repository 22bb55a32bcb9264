// The installation-type page: minimal, typical or custom, each with its byte counts.
#include "installer/package/PackageHeaderFields.h"
#include "installer/state/InstallerState.h"
#include "installer/wizard/InstallTypeChoice.h"
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

namespace {

constexpr std::int32_t kTypicalRadio = 10;
constexpr std::int32_t kMinimalRadio = 11;
constexpr std::int32_t kCustomRadio = 12;
constexpr std::size_t kTooLittleSpaceForTypical = 96;

class InstallTypePage : public StandardPage {
public:
    InstallTypePage() : StandardPage(88) {}

private:
    void initPage() override
    {
        const std::pair<std::int32_t, std::size_t> texts[] = {{30, 89}, {kTypicalRadio, 90}, {25, 91},
                                                              {kMinimalRadio, 92}, {27, 93}, {kCustomRadio, 94},
                                                              {26, 95}};
        for (const auto& [id, text] : texts)
            setItemLanguageText(id, text);
        const std::int32_t type = gPackageToc.installationType;
        const std::int32_t checked = type == kMinimalInstallation  ? kMinimalRadio
                                     : type == kCustomInstallation ? kCustomRadio
                                                                   : kTypicalRadio;
        for (std::int32_t id : {kTypicalRadio, kMinimalRadio, kCustomRadio})
            if (HWND radio = item(id))
                SendMessageW(radio, BM_SETCHECK, id == checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    bool checked(std::int32_t id) const
    {
        HWND radio = item(id);
        return radio && SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    std::int32_t chosenType() const
    {
        return checked(kMinimalRadio) ? kMinimalInstallation
               : checked(kCustomRadio) ? kCustomInstallation
                                       : kTypicalInstallation;
    }

    bool leaveForward() override
    {
        const std::int32_t type = chosenType();
        if (type != kCustomInstallation) {
            const InstallTypeFigures figures = installTypeFigures(gPackageHeader, type);
            if (type == kTypicalInstallation && gPackageToc.freeSpace < figures.bytesRequired) {
                pageMessage(window, gLanguageTexts[kTooLittleSpaceForTypical], MB_OK | MB_ICONWARNING);
                return false;
            }
            gPackageToc.bytesRequired = figures.bytesRequired;
            gPackageToc.jpegBytes = figures.jpegBytes;
            gPackageToc.mp3Bytes = figures.mp3Bytes;
            gPackageToc.otherBytes = figures.otherBytes;
        }
        gPackageToc.installationType = type;
        setInstallTypeVariables(type);
        return true;
    }

    void leaveBack() override
    {
        gPackageToc.installationType = chosenType();
        setInstallTypeVariables(gPackageToc.installationType);
    }
};

} // namespace

std::unique_ptr<TemplatePage> makeInstallTypePage()
{
    return std::make_unique<InstallTypePage>();
}
