#include "TocWriter.h"

#include "DescriptionFields.h"
#include "Scramble.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <set>

namespace {

using nlohmann::json;

void requireObject(const json& value, const std::string& what)
{
    if (!value.is_object())
        throw PackageDescriptionError(what + " must be an object");
}

void appendWord(Bytes& out, const json& object, const char* name, std::int64_t fallback = 0)
{
    appendBigEndian(out, descriptionWord(object, name, fallback));
}

void appendText(Bytes& out, const json& object, const char* name)
{
    if (object.contains(name)) {
        if (!object.at(name).is_string())
            throw PackageDescriptionError(std::string("\"") + name + "\" must be a text");
        const std::string text = object.at(name).get<std::string>();
        if (text.find('\0') != std::string::npos)
            throw PackageDescriptionError(std::string("\"") + name + "\" must not hold a NUL");
        out.insert(out.end(), text.begin(), text.end());
    }
    out.push_back(0);
}

const json& arrayMember(const json& object, const char* name)
{
    static const json empty = json::array();
    if (!object.contains(name))
        return empty;
    if (!object.at(name).is_array())
        throw PackageDescriptionError(std::string("\"") + name + "\" must be an array");
    return object.at(name);
}

// {"osFlags": n, "comparisons": [{"left", "op", "right"}], "count": stored count instead of the
// number of comparisons}; absent: no condition (osFlags 0).
void appendCondition(Bytes& out, const json& entry)
{
    if (!entry.contains("condition")) {
        appendBigEndian(out, 0);
        return;
    }
    const json& condition = entry.at("condition");
    requireObject(condition, "a condition");
    const std::uint32_t osFlags = descriptionWord(condition, "osFlags");
    appendBigEndian(out, osFlags);
    if (osFlags == 0)
        return;
    const json& comparisons = arrayMember(condition, "comparisons");
    appendWord(out, condition, "count", static_cast<std::int64_t>(comparisons.size()));
    for (const json& comparison : comparisons) {
        requireObject(comparison, "a comparison");
        appendText(out, comparison, "left");
        appendWord(out, comparison, "op");
        appendText(out, comparison, "right");
    }
}

} // namespace

Bytes storedConditionFromDescription(const json& entry)
{
    Bytes out;
    appendCondition(out, entry);
    return out;
}

namespace {

template <typename WriteEntry>
void appendList(Bytes& out, const json& toc, const char* name, WriteEntry writeEntry)
{
    const json& entries = arrayMember(toc, name);
    appendBigEndian(out, static_cast<std::uint32_t>(entries.size()));
    for (const json& entry : entries) {
        requireObject(entry, std::string("each entry of \"") + name + "\"");
        writeEntry(entry);
    }
}

// A key's values, then its subkeys, each subkey followed at once by its own values and subkeys.
void appendRegistryKey(Bytes& out, const json& key)
{
    appendList(out, key, "values", [&](const json& value) {
        appendText(out, value, "name");
        appendText(out, value, "data");
        appendWord(out, value, "type");
        appendWord(out, value, "flags");
        appendCondition(out, value);
    });
    appendList(out, key, "subkeys", [&](const json& subkey) {
        appendText(out, subkey, "name");
        appendWord(out, subkey, "flags");
        appendCondition(out, subkey);
        appendRegistryKey(out, subkey);
    });
}

void appendRegistry(Bytes& out, const json& toc)
{
    static const std::array<const char*, 4> roots = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                                     "HKEY_USERS"};
    const json registry = toc.value("registry", json::object());
    requireObject(registry, "\"registry\"");
    for (const auto& [name, key] : registry.items())
        if (std::find(roots.begin(), roots.end(), name) == roots.end())
            throw PackageDescriptionError("unknown registry root \"" + name + "\"");
    for (const char* root : roots) {
        const json key = registry.value(root, json::object());
        requireObject(key, std::string("\"") + root + "\"");
        appendRegistryKey(out, key);
    }
}

void appendEntryLists(Bytes& out, const json& toc)
{
    appendList(out, toc, "shortcuts", [&](const json& e) {
        for (const char* text : {"target", "shortcutFile", "arguments", "workingFolder", "icon"})
            appendText(out, e, text);
        appendCondition(out, e);
    });
    appendList(out, toc, "iniEntries", [&](const json& e) {
        for (const char* text : {"file", "section", "line"})
            appendText(out, e, text);
        appendCondition(out, e);
    });
    appendList(out, toc, "textFileEntries", [&](const json& e) {
        appendWord(out, e, "mode");
        for (const char* text : {"file", "searchText", "lineText"})
            appendText(out, e, text);
        appendCondition(out, e);
    });
    appendList(out, toc, "stageFileOps", [&](const json& e) {
        appendWord(out, e, "type");
        appendText(out, e, "source");
        appendText(out, e, "destination");
        appendWord(out, e, "step");
        appendCondition(out, e);
    });
    appendList(out, toc, "variables", [&](const json& e) {
        appendText(out, e, "name");
        appendWord(out, e, "kind");
        appendWord(out, e, "source", -1);
        for (const char* text : {"default", "textA", "textB", "textC"})
            appendText(out, e, text);
        appendWord(out, e, "flags");
    });
    appendList(out, toc, "stageActions", [&](const json& e) {
        appendWord(out, e, "type");
        for (const char* text : {"text1", "text2", "text3"})
            appendText(out, e, text);
        appendWord(out, e, "step");
        appendWord(out, e, "runsLeft", -1);
        appendWord(out, e, "flags");
        appendText(out, e, "windowTitle");
        appendCondition(out, e);
    });
    appendList(out, toc, "prerequisites", [&](const json& e) {
        appendWord(out, e, "kind");
        appendWord(out, e, "mode");
        for (const char* text : {"requiredVersion", "product", "setup", "arguments"})
            appendText(out, e, text);
        appendCondition(out, e);
    });
}

enum class SettingKind { Word, Text };
struct Setting {
    const char* name;
    SettingKind kind;
};

constexpr SettingKind W = SettingKind::Word;
constexpr SettingKind T = SettingKind::Text;

// The settings in their stored order. Booleans are words; the 27 option switches are the
// "optionSwitches" array, written where the marker stands.
constexpr Setting kSettingsBeforeSwitches[] = {
    {"unused", W}, {"productId", T}, {"productName", T}, {"reportedProductKey", T}, {"reportedProductName", T},
    {"installDir", T}, {"destinationFromRegistry", W}, {"destinationRegistryRoot", W}, {"destinationKey", T},
    {"destinationValueName", T}, {"shortcutDir", T}, {"windowTitle", T}, {"title", T}, {"subtitle", T},
    {"footer", T}, {"programToStart", T}, {"readmeToOpen", T}, {"productRegistryRoot", W}, {"productKey", T},
    {"versionValueName", T}, {"updatableVersions", T}, {"versionToInstall", T}, {"versionShown", T},
    {"pluginSettings", T}, {"languagePageCaption", T}, {"languagePagePrompt", T}, {"languagePageAutoLoad", W},
    {"uninstallerName", T}, {"uninstallDataSettings", T}, {"topColour", W}, {"splitColour", W},
    {"bottomColour", W}, {"splitPercent", W}, {"imageX", W}, {"imageY", W}, {"titleColour", W},
    {"titleShadowColour", W}, {"subtitleColour", W}, {"subtitleShadowColour", W}, {"footerColour", W},
    {"backgroundFullScreen", W}, {"backgroundDrawn", W}, {"backgroundStretchImage", W},
    {"backgroundTileImage", W}, {"backgroundCaption", W}, {"backgroundTransparentImage", W}, {"probes", W},
    {"cpuMHz", W}, {"cpuVendor", W}, {"cpuType", W}, {"cpuFeatures", W}, {"ramMB", W}, {"osFlags", W},
    {"minBuild9x", W}, {"ntMajor", W}, {"ntMinor", W}, {"ntServicePack", W}, {"directX", W},
    {"displayWidth", W}, {"displayHeight", W}, {"displayBits", W}, {"dotNet", W}, {"javaVersion", T},
    {"unusedRequirement1", W}, {"unusedRequirement2", W}, {"unusedRequirement3", W}, {"needsJoystick", W},
    {"needsSoundOutput", W}, {"needsMidiOutput", W}, {"userInfoOptions", W}, {"defaultOverwriteMode", W},
    {"packageOptions", W},
};
constexpr std::size_t kFirstSwitches = 17;
constexpr std::size_t kLaterSwitches = 10;
constexpr Setting kSettingsAfterSwitches[] = {
    {"extractorMode", W}, {"innerInstallerPath", T}, {"runFromFolderMode", W}, {"systemPageOnlyOnProblems", W},
    {"autorun", W}, {"registryView64", W}, {"adminRequired", W}, {"privilegesQuiet", W},
    {"thirdFinishItemSwitch", W}, {"thirdFinishItem", T}, {"normalInstallFallback", W},
    {"licenseNextButtonText", W}, {"silentRunNeedsLicense", W}, {"slideshowArea", W}, {"slideshowAlignment", W},
    {"slideshowOffsetX", W}, {"slideshowOffsetY", W}, {"slideshowDuration", W}, {"pageAlignment", W},
};

void appendSettingList(Bytes& out, const json& settings, const Setting* first, const Setting* last)
{
    for (const Setting* s = first; s != last; ++s) {
        if (s->kind == T)
            appendText(out, settings, s->name);
        else
            appendWord(out, settings, s->name);
    }
}

// The switches for option bits 0-16, the silent switch, then the ten switches for bits 17-20,
// 22-26 and 28, in their stored order: "optionSwitches" lists the 27 option switches (missing
// ones are false), "silent" the other.
void appendSwitches(Bytes& out, const json& settings)
{
    const json& switches = arrayMember(settings, "optionSwitches");
    if (switches.size() > kFirstSwitches + kLaterSwitches)
        throw PackageDescriptionError("\"optionSwitches\" holds at most 27 switches");
    auto appendSwitch = [&](std::size_t i) {
        json holder = json::object();
        if (i < switches.size())
            holder["switch"] = switches[i];
        appendWord(out, holder, "switch");
    };
    for (std::size_t i = 0; i < kFirstSwitches; ++i)
        appendSwitch(i);
    appendWord(out, settings, "silent");
    for (std::size_t i = kFirstSwitches; i < kFirstSwitches + kLaterSwitches; ++i)
        appendSwitch(i);
}

void appendSettings(Bytes& out, const json& toc)
{
    const json settings = toc.value("settings", json::object());
    requireObject(settings, "\"settings\"");
    std::set<std::string> known = {"optionSwitches", "silent"};
    for (const Setting& s : kSettingsBeforeSwitches)
        known.insert(s.name);
    for (const Setting& s : kSettingsAfterSwitches)
        known.insert(s.name);
    for (const auto& [name, value] : settings.items())
        if (!known.count(name))
            throw PackageDescriptionError("unknown setting \"" + name + "\"");
    appendSettingList(out, settings, std::begin(kSettingsBeforeSwitches), std::end(kSettingsBeforeSwitches));
    appendSwitches(out, settings);
    appendSettingList(out, settings, std::begin(kSettingsAfterSwitches), std::end(kSettingsAfterSwitches));
}

Bytes bytesFromHex(const std::string& hex)
{
    Bytes bytes;
    std::string digits;
    for (char c : hex)
        if (!std::isspace(static_cast<unsigned char>(c)))
            digits.push_back(c);
    if (digits.size() % 2 != 0 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw PackageDescriptionError("\"rawPlainHex\" must be pairs of hexadecimal digits");
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

} // namespace

Bytes plainTocFromDescription(const json& toc)
{
    requireObject(toc, "\"toc\"");
    if (toc.contains("rawPlainHex")) {
        if (!toc.at("rawPlainHex").is_string())
            throw PackageDescriptionError("\"rawPlainHex\" must be a text");
        return bytesFromHex(toc.at("rawPlainHex").get<std::string>());
    }
    Bytes out;
    appendRegistry(out, toc);
    appendEntryLists(out, toc);
    appendSettings(out, toc);
    return out;
}

Bytes storedTocFromDescription(const json& toc)
{
    const Bytes plain = plainTocFromDescription(toc);
    switch (descriptionWord(toc, "scrambleCount", 2)) {
    case 0: return plain;
    case 1: return scramble(plain, 17, 0xC3);
    case 2: return scrambleTwice(plain);
    default: throw PackageDescriptionError("\"scrambleCount\" must be 0, 1 or 2");
    }
}
