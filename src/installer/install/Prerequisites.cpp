#include "installer/install/Prerequisites.h"

#include "installer/install/InstallRun.h"
#include "installer/state/InstallerState.h"
#include "installer/text/VersionTexts.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/TextExpansion.h"

#include <string_view>

namespace {

constexpr std::size_t kDeclinableQuestion = 178;
constexpr std::size_t kSkippableQuestion = 179;
constexpr std::size_t kDownloadFailedQuestion = 180;
constexpr std::uint32_t kBoxYesNoCancel = 0x3;

struct HelpViewerRelease {
    const char* text;
    std::uint16_t major, minor, build;
};

// The published releases and the control version each installs.
constexpr HelpViewerRelease kHelpViewerReleases[] = {
    {"1.0", 4, 72, 7290},  {"1.1", 4, 72, 7323},  {"1.1a", 4, 72, 7325}, {"1.1b", 4, 72, 8164},
    {"1.2", 4, 73, 8252},  {"1.21", 4, 73, 8412}, {"1.21a", 4, 73, 8474}, {"1.22", 4, 73, 8561},
    {"1.3", 4, 74, 8702},  {"1.31", 4, 74, 8793}, {"1.32", 4, 74, 8875}, {"1.33", 4, 74, 9273},
};

struct NamedVersion {
    const char* text;
    const char* fullVersion;
};

constexpr NamedVersion kDataAccessReleases[] = {
    {"2.5", "2.50.4403.12"}, {"2.6", "2.60.6526.3"}, {"2.7", "2.70.9001.0"}, {"2.8", "2.80.1022.0"}};

std::string_view viewOf(const ByteString& text)
{
    return {reinterpret_cast<const char*>(text.data()), text.length()};
}

bool textIs(const ByteString& text, const char* expected)
{
    return viewOf(text) == expected;
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool dotNetMissing(const ByteString& required, std::int32_t found)
{
    const std::int32_t needed = textIs(required, "1.1") ? 1 : textIs(required, "2.0") ? 2 : 0;
    return found < needed;
}

bool javaMissing(const ByteString& required, const std::string& found)
{
    return found.empty() || compareVersionTexts(viewOf(required), found) > 0;
}

bool helpViewerMissing(const ByteString& required, std::uint32_t high, std::uint32_t low)
{
    for (const HelpViewerRelease& release : kHelpViewerReleases) {
        if (!textIs(required, release.text))
            continue;
        const std::uint32_t neededMajorMinor = (std::uint32_t{release.major} << 16) | release.minor;
        if (high != neededMajorMinor)
            return high < neededMajorMinor;
        return (low >> 16) < release.build;
    }
    return false;
}

bool dataAccessMissing(const ByteString& required, const std::string& found)
{
    const char* needed = "";
    for (const NamedVersion& release : kDataAccessReleases)
        if (textIs(required, release.text))
            needed = release.fullVersion;
    return found.empty() || compareVersionTexts(needed, found) > 0;
}

bool directXMissing(const ByteString& required, std::uint32_t found)
{
    std::uint32_t major = 0, minor = 0;
    if (textIs(required, "7.0"))
        major = 7;
    else if (textIs(required, "8.0"))
        major = 8;
    else if (textIs(required, "8.1"))
        major = 8, minor = 1;
    else if (textIs(required, "9.0"))
        major = 9;
    const std::uint32_t foundMajor = found & 0xFFFF;
    const std::uint32_t foundMinor = found >> 16;
    return foundMajor < major || (foundMajor == major && foundMinor < minor);
}

const char* languageText(std::size_t index)
{
    return gLanguageTexts[index].cStr();
}

// Runs the setup as the entry's mode says; false when the entry is skipped, so that nothing
// after the run applies to it.
bool runSetup(const Prerequisite& entry, ByteString& shown, ByteString& program, bool& endInstaller,
              const PrerequisiteSystem& system)
{
    ByteString setup = entry.setup;
    expandFolderVariables(setup);
    expandBuiltinVariables(setup);
    expandVariables(setup, kAllVariables);
    ByteString packageArguments = entry.arguments;
    const std::string arguments = prerequisiteArguments(entry.kind, packageArguments.cStr());

    if (entry.mode == 0) {
        system.runAndWait(setupCommandLine(setup.cStr(), arguments).c_str());
    } else if (entry.mode == 1) {
        ByteString local("<ResourceDir>\\3rd-party\\");
        local.append(shown);
        local.appendCStr(".exe");
        expandBuiltinVariables(local);
        ByteString download(downloaderCommandLine(local.cStr(), setup.cStr(), program.cStr()).c_str());
        expandBuiltinVariables(download);
        system.runAndWait(download.cStr());
        if (!system.fileExists(local.cStr())) {
            ByteString question;
            question.format(languageText(kDownloadFailedQuestion), {shown.cStr(), "Yes", "No"});
            endInstaller = system.ask(question.cStr(), kBoxYesNo) == kAnswerNo;
            return false;
        }
        system.runAndWait(setupCommandLine(local.cStr(), arguments).c_str());
        system.deleteFile(local.cStr());
    }
    return true;
}

} // namespace

const char* prerequisiteName(std::int32_t kind)
{
    switch (kind) {
    case kPrerequisiteDotNet:
        return ".NET Framework ";
    case kPrerequisiteJava:
        return "Java ";
    case kPrerequisiteHelpViewer:
        return "HTML Help Viewer ";
    case kPrerequisiteDataAccess:
        return "Microsoft Data Access Components ";
    case kPrerequisiteDirectX:
        return "DirectX ";
    default:
        return nullptr;
    }
}

bool prerequisiteMissing(const Prerequisite& entry, const PrerequisiteSystem& system)
{
    switch (entry.kind) {
    case kPrerequisiteDotNet:
        return dotNetMissing(entry.requiredVersion, system.dotNet());
    case kPrerequisiteJava:
        return javaMissing(entry.requiredVersion, system.javaVersion());
    case kPrerequisiteHelpViewer: {
        std::uint32_t high = 0, low = 0;
        system.helpViewerVersion(high, low);
        return helpViewerMissing(entry.requiredVersion, high, low);
    }
    case kPrerequisiteDataAccess:
        return dataAccessMissing(entry.requiredVersion, system.dataAccessVersion());
    case kPrerequisiteDirectX:
        return directXMissing(entry.requiredVersion, system.directX());
    default:
        return false;
    }
}

std::string prerequisiteArguments(std::int32_t kind, const char* packageArguments)
{
    if (packageArguments && !equalIgnoringCase(packageArguments, "(Default)"))
        return packageArguments;
    if (kind == kPrerequisiteHelpViewer)
        return "/r:n /q:a";
    if (kind == kPrerequisiteDataAccess)
        return "/q:a /c:\"dasetup.exe /q /n\"";
    return {};
}

std::string setupCommandLine(const std::string& program, const std::string& arguments)
{
    std::string line = "\"" + program + "\"";
    if (!arguments.empty())
        line += " " + arguments;
    return line;
}

std::string downloaderCommandLine(const char* localPath, const char* url, const char* program)
{
    return std::string("\"<ResourceDir>\\3rd-party\\Downloader.exe\" /download /local \"") + localPath +
           "\" /url \"" + url + "\" /program \"" + program + "\"";
}

PrerequisiteOutcome runPrerequisiteChecks(const PrerequisiteSystem& system)
{
    for (const Prerequisite& entry : gPackageToc.prerequisites) {
        const char* name = prerequisiteName(entry.kind);
        if (!name || !conditionHolds(entry.condition.get()) || !prerequisiteMissing(entry, system))
            continue;
        ByteString shown(name);
        shown.append(entry.requiredVersion);
        ByteString program(name);
        program.append(entry.product);

        ByteString question;
        if (system.mayDecline()) {
            question.format(languageText(kDeclinableQuestion), {shown.cStr(), "Yes", "No"});
            if (system.ask(question.cStr(), kBoxYesNo) == kAnswerNo)
                return PrerequisiteOutcome::endInstaller;
        } else {
            question.format(languageText(kSkippableQuestion), {shown.cStr(), "Yes", "No", "Cancel"});
            const int answer = system.ask(question.cStr(), kBoxYesNoCancel);
            if (answer == kAnswerCancel)
                return PrerequisiteOutcome::endInstaller;
            if (answer == kAnswerNo)
                continue;
        }
        bool endInstaller = false;
        if (!runSetup(entry, shown, program, endInstaller, system)) {
            if (endInstaller)
                return PrerequisiteOutcome::endInstaller;
            continue;
        }
        if (entry.kind == kPrerequisiteDataAccess) {
            std::uint32_t& options = gInstallerContext.optionWord;
            options |= kOptionRestartAtEnd;
            options &= ~(kOptionOpenReadme | kOptionStartProgram | kOptionThirdFinishItem);
        }
    }
    return PrerequisiteOutcome::carryOn;
}
