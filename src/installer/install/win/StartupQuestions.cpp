#include "installer/install/win/StartupQuestions.h"

#include "installer/state/InstallerRunRules.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"

namespace {

int installerBox(const char* text, const char* caption, UINT type)
{
    return messageBox(nullptr, text, caption, type);
}

StartupMessageBox currentBox = installerBox;

} // namespace

StartupMessageBox setStartupMessageBox(StartupMessageBox box)
{
    const StartupMessageBox previous = currentBox;
    currentBox = box ? box : installerBox;
    return previous;
}

int askAtStartup(const char* text, const char* caption, UINT type)
{
    if (gFlags.silent)
        return silentMessageBoxAnswer(type);
    return currentBox(text, caption, type);
}
