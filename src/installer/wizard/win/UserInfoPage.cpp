// The user-information page: name and organisation, each shown or hidden, required or not,
// with Next enabled while the required ones are filled.
#include "installer/state/InstallerState.h"
#include "installer/wizard/UserInfoText.h"
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

namespace {

constexpr std::int32_t kNameEdit = 20;
constexpr std::int32_t kOrganisationEdit = 21;
constexpr std::int32_t kEditLimit = 259;

struct Field {
    std::uint32_t shown, required;
    std::int32_t label, edit;
    std::size_t labelText;
    ByteString InstallerContext::*value;
};

const Field kFields[2] = {
    {kUserNameShown, kUserNameRequired, 10, kNameEdit, 66, &InstallerContext::userName},
    {kOrganisationShown, kOrganisationRequired, 11, kOrganisationEdit, 67, &InstallerContext::organisation},
};

class UserInfoPage : public StandardPage {
public:
    UserInfoPage() : StandardPage(63) {}

private:
    void initPage() override
    {
        fillingIn_ = true;
        setItemLanguageText(45, 64);
        const std::uint32_t options = gInstallerContext.userInfoOptions;
        for (std::size_t i = 0; i < 2; ++i) {
            const Field& field = kFields[i];
            setItemText(field.label, userInfoLabel(gLanguageTexts[field.labelText], (options & field.required) != 0));
            if (HWND edit = item(field.edit))
                SendMessageW(edit, EM_LIMITTEXT, kEditLimit, 0);
            if (options & field.shown) {
                setItemText(field.edit, gInstallerContext.*field.value);
                valid_[i] = (options & field.required) == 0 || !editEmpty(field.edit);
            } else {
                for (std::int32_t id : {field.label, field.edit})
                    if (HWND control = item(id))
                        ShowWindow(control, SW_HIDE);
                valid_[i] = true;
            }
        }
        enableNext(valid_[0] && valid_[1]);
        fillingIn_ = false;
    }

    bool editEmpty(std::int32_t id) const
    {
        HWND edit = item(id);
        return !edit || GetWindowTextLengthW(edit) == 0;
    }

    void enableNext(bool enable) const
    {
        if (HWND next = item(1))
            EnableWindow(next, enable);
    }

    bool pageCommand(std::int32_t id, std::int32_t code, LPARAM) override
    {
        if (fillingIn_)
            return true;
        if (code == EN_CHANGE) {
            const std::uint32_t options = gInstallerContext.userInfoOptions;
            for (std::size_t i = 0; i < 2; ++i) {
                const Field& field = kFields[i];
                if (id != field.edit || (options & field.shown) == 0 || (options & field.required) == 0)
                    continue;
                valid_[i] = !editEmpty(field.edit);
                if (!valid_[i])
                    enableNext(false);
                else if (valid_[1 - i])
                    enableNext(true);
            }
            return true;
        }
        return false;
    }

    void saveFields() const
    {
        for (const Field& field : kFields)
            if ((gInstallerContext.userInfoOptions & field.shown) && item(field.edit))
                gInstallerContext.*field.value = controlText(item(field.edit));
    }

    bool leaveForward() override
    {
        saveFields();
        if ((gInstallerContext.optionWord & kOptionConfirmUserInfo) == 0)
            return true;
        const ByteString question = userInfoConfirmation(gLanguageTexts, gInstallerContext.userInfoOptions,
                                                         gInstallerContext.userName, gInstallerContext.organisation);
        return pageMessage(window, question, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }

    void leaveBack() override { saveFields(); }

    bool fillingIn_ = false;
    bool valid_[2] = {true, true};
};

} // namespace

std::unique_ptr<TemplatePage> makeUserInfoPage()
{
    return std::make_unique<UserInfoPage>();
}
