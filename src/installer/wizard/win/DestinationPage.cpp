// The destination page: the installation folder, typed or browsed, checked before it is kept.
#include "installer/state/InstallerState.h"
#include "installer/system/FreeSpace.h"
#include "installer/text/win/WideName.h"
#include "installer/wizard/FolderChoice.h"
#include "installer/wizard/FolderTextChecks.h"
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

namespace {

constexpr std::int32_t kBrowseButton = 4;
constexpr std::int32_t kFolderEdit = 10;
constexpr std::size_t kTooLittleSpaceText = 82;
// The free bytes available to the installer's user.
constexpr int kFreeToCaller = 1;

DriveKind driveKind(const ByteString& root)
{
    ByteString copy(root);
    switch (GetDriveTypeW(WideName(copy.cStr()))) {
    case DRIVE_NO_ROOT_DIR: return DriveKind::NoRoot;
    case DRIVE_UNKNOWN: return DriveKind::Unknown;
    case DRIVE_REMOVABLE: return DriveKind::Removable;
    case DRIVE_FIXED: return DriveKind::Fixed;
    case DRIVE_REMOTE: return DriveKind::Remote;
    default: return DriveKind::Other;
    }
}

class DestinationPage : public StandardPage {
public:
    DestinationPage() : StandardPage(72) {}

private:
    void initPage() override
    {
        setItemLanguageText(kBrowseButton, 1);
        if (HWND edit = item(kFolderEdit))
            SendMessageW(edit, EM_LIMITTEXT, kDestinationEditLimit, 0);
        setItemText(kFolderEdit, gPackageToc.installDir);
        setItemText(30, formattedLanguageText(73, gPackageToc.productName));
        setItemText(31, formattedLanguageText(74, gPackageToc.fileNameSafeProductName));
        setItemLanguageText(32, 75);
    }

    ByteString typed() const { return item(kFolderEdit) ? controlText(item(kFolderEdit)) : ByteString(); }

    bool pageCommand(std::int32_t id, std::int32_t code, LPARAM) override
    {
        if (id != kBrowseButton || code != 0)
            return false;
        const ByteString folder = pageBrowse(window, gLanguageTexts[72], typed(), gPackageToc.bytesRequired);
        if (!folder.empty())
            setItemText(kFolderEdit,
                        browsedDestination(folder, gPackageToc.fileNameSafeProductId,
                                           (gInstallerContext.optionWord & kOptionNoProductFolder) == 0));
        return true;
    }

    bool leaveForward() override
    {
        const ByteString path = typed();
        DriveQueries drives;
        drives.kind = driveKind;
        drives.freeBytes = [](const ByteString& root) {
            ByteString copy(root);
            return getFreeSpace(copy.cStr(), kFreeToCaller);
        };
        const DestinationCheck check = checkDestination(path, gPackageToc.bytesRequired, drives);
        if (check.freeBytes)
            gPackageToc.freeSpace = *check.freeBytes;
        if (check.problem != 0) {
            pageMessage(window,
                        check.problem == kTooLittleSpaceText ? formattedLanguageText(check.problem, check.root)
                                                             : gLanguageTexts[check.problem],
                        MB_OK | MB_ICONWARNING);
            return false;
        }
        gPackageToc.installDir = keptDestination(path);
        return true;
    }

    void leaveBack() override { gPackageToc.installDir = typed(); }
};

} // namespace

std::unique_ptr<TemplatePage> makeDestinationPage()
{
    return std::make_unique<DestinationPage>();
}
