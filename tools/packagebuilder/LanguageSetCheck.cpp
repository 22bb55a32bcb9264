#include "LanguageSetCheck.h"

#include <initializer_list>

namespace {

using json = nlohmann::json;

constexpr std::uint32_t kPackageMp3ToWav = 0x2;
constexpr std::uint32_t kPackageJpegToBmp = 0x4;
constexpr std::uint32_t kPackageUpdate = 0x40;
constexpr std::uint32_t kRegisterAfterInstallation = 0x20;
constexpr std::uint32_t kFileSearchVariable = 2;
constexpr std::size_t kReadmeOfferedSwitch = 2, kLaunchOfferedSwitch = 3, kNoUninstallerSwitch = 17;

struct Range {
    std::size_t first, last;
};

void add(std::set<std::size_t>& shown, std::initializer_list<Range> ranges)
{
    for (const Range& range : ranges)
        for (std::size_t i = range.first; i <= range.last; ++i)
            shown.insert(i);
}

// The texts each page type shows, its captions, labels and messages.
void addPageTexts(std::set<std::size_t>& shown, std::uint32_t pageType, const json& settings)
{
    switch (pageType) {
    case 2: add(shown, {{12, 17}}); break;
    case 3:
        add(shown, {{18, 21}});
        if (settings.value("licenseNextButtonText", 0) != 0)
            add(shown, {{7, 7}});
        break;
    case 4: add(shown, {{22, 23}}); break;
    case 5: add(shown, {{5, 5}, {7, 7}, {24, 24}, {26, 62}}); break;
    case 6: add(shown, {{63, 71}}); break;
    case 7: add(shown, {{1, 1}, {72, 82}}); break;
    case 8: add(shown, {{83, 87}}); break;
    case 9: add(shown, {{88, 96}}); break;
    case 10: add(shown, {{97, 101}}); break;
    case 11: add(shown, {{102, 109}}); break;
    case 12: add(shown, {{144, 150}, {153, 153}}); break;
    case 13: add(shown, {{3, 3}, {110, 112}, {132, 139}, {141, 141}}); break;
    default: break;
    }
}

bool switchOn(const json& settings, std::size_t index)
{
    const json switches = settings.value("optionSwitches", json::array());
    return switches.is_array() && index < switches.size() && switches[index].is_boolean() && switches[index].get<bool>();
}

std::uint32_t wordSetting(const json& settings, const char* name)
{
    const json& value = settings.contains(name) ? settings.at(name) : json(0);
    if (value.is_boolean())
        return value.get<bool>() ? 1 : 0;
    return value.is_number() ? value.get<std::uint32_t>() : 0;
}

const json& arrayOf(const json& object, const char* name)
{
    static const json empty = json::array();
    return object.is_object() && object.contains(name) && object.at(name).is_array() ? object.at(name) : empty;
}

std::vector<std::string> linesOf(const json& set)
{
    std::vector<std::string> lines;
    if (set.contains("table") && set.at("table").is_string()) {
        const std::string table = set.at("table").get<std::string>();
        std::size_t start = 0;
        for (std::size_t end; (end = table.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(table.substr(start, end - start));
        lines.push_back(table.substr(start));
        return lines;
    }
    for (const json& line : arrayOf(set, "lines"))
        lines.push_back(line.is_string() ? line.get<std::string>() : std::string());
    return lines;
}

} // namespace

std::set<std::size_t> languageTextsShown(const nlohmann::json& description)
{
    std::set<std::size_t> shown;
    const json& templates = arrayOf(description, "templates");
    if (templates.empty())
        return shown;
    const json toc = description.value("toc", json::object());
    const json settings = toc.value("settings", json::object());
    const std::uint32_t packageOptions = wordSetting(settings, "packageOptions");

    // Buttons, the setup title, the question whether to leave, lack of memory.
    add(shown, {{0, 0}, {2, 2}, {4, 4}, {8, 8}, {10, 11}});
    if (packageOptions & kPackageUpdate)
        add(shown, {{9, 9}});
    bool installationPage = false;
    for (const json& entry : templates) {
        const std::uint32_t pageType = entry.value("pageType", 0u);
        addPageTexts(shown, pageType, settings);
        installationPage = installationPage || pageType == 13;
        if (pageType == 12) {
            if (switchOn(settings, kLaunchOfferedSwitch))
                add(shown, {{151, 151}});
            if (switchOn(settings, kReadmeOfferedSwitch))
                add(shown, {{152, 152}});
        }
    }
    if (!installationPage)
        return shown;

    const json& files = arrayOf(description, "files");
    if (!files.empty()) {
        // Existing and locked files (the version question names the description and version),
        // the next volume, the member decoder's errors.
        add(shown, {{1, 1}, {6, 6}, {27, 27}, {53, 53}, {113, 126}, {154, 156}, {158, 162}});
    }
    for (const json& file : files) {
        if (file.value("storage", std::string()) == "beside")
            add(shown, {{127, 127}});
        if (file.value("flags", 0u) & kRegisterAfterInstallation)
            add(shown, {{176, 176}});
    }
    if (packageOptions & kPackageMp3ToWav)
        add(shown, {{128, 131}});
    if (packageOptions & kPackageJpegToBmp)
        add(shown, {{128, 128}});
    if (description.contains("uninstaller") && !switchOn(settings, kNoUninstallerSwitch)) {
        // The uninstaller's own texts travel in the uninstall data, with the two result words.
        add(shown, {{5, 5}, {7, 7}, {140, 140}, {164, 174}});
    }
    if (!arrayOf(toc, "stageActions").empty())
        add(shown, {{163, 163}});
    for (const json& variable : arrayOf(toc, "variables"))
        if (variable.value("source", -1) == static_cast<int>(kFileSearchVariable))
            add(shown, {{175, 175}});
    if (wordSetting(settings, "adminRequired") != 0)
        add(shown, {{177, 177}});
    if (!arrayOf(toc, "prerequisites").empty())
        add(shown, {{178, 180}});
    return shown;
}

std::vector<EmptyLanguageTexts> emptyLanguageTexts(const nlohmann::json& description)
{
    std::vector<EmptyLanguageTexts> result;
    const std::set<std::size_t> shown = languageTextsShown(description);
    if (shown.empty() || !description.contains("languageSets"))
        return result;
    for (const json& set : arrayOf(description.at("languageSets"), "sets")) {
        const std::vector<std::string> lines = linesOf(set);
        EmptyLanguageTexts empty{set.value("name", std::string()), {}};
        for (std::size_t entry : shown)
            if (entry >= lines.size() || lines[entry].empty())
                empty.entries.push_back(entry);
        if (!empty.entries.empty())
            result.push_back(std::move(empty));
    }
    return result;
}

std::string emptyLanguageTextsMessage(const EmptyLanguageTexts& empty)
{
    std::string message = "language set \"" + empty.setName + "\" leaves empty texts the package shows:";
    for (std::size_t i = 0; i < empty.entries.size(); ++i)
        message += (i == 0 ? " " : ", ") + std::to_string(empty.entries[i]);
    return message;
}
