#include "installer/state/InstallerRunRules.h"

const char* const kDefaultMessageBoxCaption = "Dravell Installer";

namespace {
// The system's message-box button sets and answers.
constexpr std::uint32_t kOk = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4, kRetryCancel = 5;
constexpr int kIdOk = 1, kIdCancel = 2, kIdIgnore = 5, kIdYes = 6;
} // namespace

void readCommandLineFlags(const char* commandLine, InstallerFlags& flags)
{
    ByteString upper(commandLine ? commandLine : "");
    upper.toUpper();
    if (upper.find("/SILENT") >= 0)
        flags.silent = true;
    if (upper.find("/REVERT") >= 0)
        flags.revert = true;
    if (upper.find("/ACCEPTLICENSE") >= 0)
        flags.acceptLicense = true;
}

int installerExitCode(bool installed, bool revert)
{
    return installed != revert ? 1 : 0;
}

int silentMessageBoxAnswer(std::uint32_t type)
{
    switch (type & 0xF) {
    case kOk:
    case kOkCancel:
        return kIdOk;
    case kYesNoCancel:
    case kYesNo:
        return kIdYes;
    case kRetryCancel:
        return kIdCancel;
    case kAbortRetryIgnore:
        return kIdIgnore;
    default:
        return kIdYes;
    }
}

const char* messageBoxCaption(const char* caption)
{
    if (caption && *caption)
        return caption;
    if (!gSetupTitle.empty())
        return gSetupTitle.cStr();
    if (!gBackgroundStyle.windowTitle.empty())
        return gBackgroundStyle.windowTitle.cStr();
    return kDefaultMessageBoxCaption;
}
