#include "installer/install/UpdateVersions.h"

#include "installer/state/InstallerState.h"
#include "installer/text/VersionTexts.h"
#include "installer/variables/VariableApi.h"

#include <string>
#include <cstring>
#include <vector>

namespace {

const char* const kAlreadyInstalledText = "This update updates to version %s which is already installed on your system.";
const char* const kCannotUpdateRangeText =
    "This update supports updates from version %s up to version %s. You have version %s and it cannot be "
    "updated by this program.";
const char* const kCannotUpdateListText =
    "This update supports updates from version(s) %s. You have currently version %s and it cannot be updated "
    "by this program.";

std::string textOf(const ByteString& text)
{
    return {reinterpret_cast<const char*>(text.data()), text.length()};
}

// The package's own text when it defines the variable, else the built-in one.
const char* messageFormat(const char* variable, const char* builtIn)
{
    const char* own = getVariableText(variable);
    return own ? own : builtIn;
}

std::vector<std::string> elementsOf(const std::string& list)
{
    std::vector<std::string> elements;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = list.find('|', start);
        elements.push_back(list.substr(start, bar - start));
        if (bar == std::string::npos)
            return elements;
        start = bar + 1;
    }
}

} // namespace

UpdateVersionCheck checkVersionInRange(const char* installed)
{
    const std::string from = textOf(gPackageToc.updatableVersions);
    const std::string to = textOf(gPackageToc.versionToInstall);
    ByteString shown = gPackageToc.versionShown;
    UpdateVersionCheck check;
    if (to == installed) {
        check.message.format(messageFormat("<__Internal_UpdateAlreadyInstalled__>", kAlreadyInstalledText),
                             {shown.cStr()});
        return check;
    }
    check.allowed = compareVersionTexts(installed, from) >= 0 && compareVersionTexts(installed, to) <= 0;
    if (!check.allowed)
        check.message.format(messageFormat("<__Internal_UpdateCannotUpdate1__>", kCannotUpdateRangeText),
                             {from.c_str(), shown.cStr(), installed});
    return check;
}

ByteString updatableVersionsShown(const ByteString& list)
{
    const std::vector<std::string> elements = elementsOf(textOf(list));
    ByteString shown;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (i > 0)
            shown.appendCStr(i + 1 == elements.size() ? " and " : ", ");
        shown.appendCStr(elements[i].c_str());
    }
    return shown;
}

UpdateVersionCheck checkVersionInList(const char* installed)
{
    UpdateVersionCheck check;
    for (const std::string& element : elementsOf(textOf(gPackageToc.updatableVersions)))
        if (element == installed) {
            check.allowed = true;
            return check;
        }
    ByteString shown = gPackageToc.versionShown;
    if (textOf(gPackageToc.versionToInstall) == installed) {
        // This message has no full stop.
        const std::string builtIn(kAlreadyInstalledText, std::strlen(kAlreadyInstalledText) - 1);
        check.message.format(messageFormat("<__Internal_UpdateAlreadyInstalled__>", builtIn.c_str()), {shown.cStr()});
        return check;
    }
    ByteString versions = updatableVersionsShown(gPackageToc.updatableVersions);
    check.message.format(messageFormat("<__Internal_UpdateCannotUpdate2__>", kCannotUpdateListText),
                         {versions.cStr(), installed});
    return check;
}
