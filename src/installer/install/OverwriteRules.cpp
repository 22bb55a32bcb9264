#include "installer/install/OverwriteRules.h"

namespace {

OverwriteAction withoutVersionCheck(const OverwriteFacts& f)
{
    switch (f.recordMode) {
    case 1:
        return OverwriteAction::AskPlain;
    case 2:
        return OverwriteAction::Keep;
    case 5:
        return f.existingOlder ? OverwriteAction::Replace : OverwriteAction::Keep;
    case 6:
        return f.existingOlder ? OverwriteAction::Replace : OverwriteAction::AskExistingNewer;
    default:
        return OverwriteAction::Replace;
    }
}

} // namespace

OverwriteAction overwriteAction(const OverwriteFacts& f)
{
    if (!f.versionCheck)
        return withoutVersionCheck(f);
    const std::int32_t mode = f.recordMode != 0 ? static_cast<std::int32_t>(f.recordMode) : f.defaultMode;
    const bool existingOlderVersion = f.versionOrder < 0;
    if (f.otherLanguage) {
        if ((mode == 4 && existingOlderVersion) || mode == 1 || (mode == 6 && existingOlderVersion))
            return OverwriteAction::AskLanguage;
        if (mode == 5)
            return f.existingNewer ? OverwriteAction::AskLanguage
                                   : (f.existingOlder ? OverwriteAction::Replace : OverwriteAction::Keep);
    }
    switch (mode) {
    case 1:
        return OverwriteAction::AskVersion;
    case 2:
        return OverwriteAction::Keep;
    case 4:
        return existingOlderVersion ? OverwriteAction::Replace : OverwriteAction::Keep;
    case 5:
        return f.existingOlder ? OverwriteAction::Replace : OverwriteAction::Keep;
    case 6:
        return f.versionOrder > 0 ? OverwriteAction::AskVersion : OverwriteAction::Replace;
    default:
        return OverwriteAction::Replace;
    }
}
