#include "InstallationTotals.h"

#include "MemberWriter.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace {

constexpr std::uint32_t kMinimalMask = 1;
constexpr std::uint32_t kTypicalMask = 3;
constexpr std::uint32_t kPackageMp3ToWav = 0x2;
constexpr std::uint32_t kPackageJpegToBmp = 0x4;
constexpr std::uint32_t kExemptFromJpegConversion = 0x100;

struct Totals {
    std::uint64_t required = 0;
    std::uint64_t jpeg = 0;
    std::uint64_t mp3 = 0;
    std::uint64_t other = 0;
};

std::uint32_t numberOr(const nlohmann::json& object, const char* name, std::uint32_t fallback)
{
    if (!object.is_object() || !object.contains(name))
        return fallback;
    const auto& value = object.at(name);
    if (value.is_boolean())
        return value.get<bool>() ? 1 : 0;
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFFFFFFu)
        throw PackageDescriptionError(std::string("\"") + name + "\" must be an unsigned 32-bit number");
    return value.get<std::uint32_t>();
}

std::string upperExtension(const nlohmann::json& file)
{
    const std::string name = file.value("name", std::string());
    std::string last = name.substr(name.size() < 3 ? 0 : name.size() - 3);
    std::transform(last.begin(), last.end(), last.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return last;
}

void count(Totals& totals, const nlohmann::json& file, std::uint64_t size, std::uint32_t packageOptions)
{
    totals.required += size;
    const std::string extension = upperExtension(file);
    if ((packageOptions & kPackageJpegToBmp) && extension == "JPG" && !(numberOr(file, "flags", 0) & kExemptFromJpegConversion))
        totals.jpeg += size;
    else if ((packageOptions & kPackageMp3ToWav) && extension == "MP3")
        totals.mp3 += size;
    else
        totals.other += size;
}

std::uint32_t field(std::uint64_t value)
{
    if (value > std::numeric_limits<std::uint32_t>::max())
        throw PackageDescriptionError("the installation writes more than 4 GB: its totals do not fit the header");
    return static_cast<std::uint32_t>(value);
}

// Option bit 17: the package installs no uninstaller.
bool noUninstaller(const nlohmann::json& toc)
{
    const nlohmann::json settings = toc.value("settings", nlohmann::json::object());
    const nlohmann::json switches = settings.is_object() ? settings.value("optionSwitches", nlohmann::json::array())
                                                         : nlohmann::json::array();
    constexpr std::size_t kNoUninstallerSwitch = 17;
    return switches.is_array() && switches.size() > kNoUninstallerSwitch && switches[kNoUninstallerSwitch].is_boolean() &&
           switches[kNoUninstallerSwitch].get<bool>();
}

} // namespace

void appendInstallationTotals(const nlohmann::json& description, HeaderFieldValues& fields)
{
    if (!description.contains("files") || !description.at("files").is_array())
        return;
    const nlohmann::json toc = description.value("toc", nlohmann::json::object());
    const std::uint32_t packageOptions = numberOr(toc.value("settings", nlohmann::json::object()), "packageOptions", 0);
    Totals minimal;
    Totals typical;
    for (const auto& file : description.at("files")) {
        if (!file.is_object() || file.value("storage", std::string()) == "beside")
            continue;
        const std::uint64_t size = memberContent(file).size();
        const std::uint32_t mask = numberOr(file, "installTypeMask", 3);
        if (mask & kMinimalMask)
            count(minimal, file, size, packageOptions);
        if (mask & kTypicalMask)
            count(typical, file, size, packageOptions);
    }
    std::uint64_t uninstaller = 0;
    if (description.contains("uninstaller") && !noUninstaller(toc))
        uninstaller = memberContent(description.at("uninstaller")).size();
    const bool extractor = numberOr(toc.value("settings", nlohmann::json::object()), "extractorMode", 0) != 0;
    fields.emplace_back(200, extractor ? 0 : field(minimal.required + uninstaller));
    fields.emplace_back(204, extractor ? 0 : field(typical.required + uninstaller));
    fields.emplace_back(208, field(minimal.jpeg));
    fields.emplace_back(212, field(minimal.mp3));
    fields.emplace_back(216, field(typical.jpeg));
    fields.emplace_back(220, field(typical.mp3));
    fields.emplace_back(224, field(minimal.other));
    fields.emplace_back(228, field(typical.other));
}
