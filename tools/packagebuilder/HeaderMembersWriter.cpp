#include "DescriptionFields.h"
#include "MemberWriter.h"
#include "PackageMembers.h"

namespace {

void appendBE32(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t offsetOf(const Bytes& out)
{
    if (out.size() > 0xFFFFFFFFu)
        throw PackageDescriptionError("the package is larger than 4 GB");
    return static_cast<std::uint32_t>(out.size());
}

// Appends the member; returns its offset and stored size.
std::pair<std::uint32_t, std::uint32_t> appendMember(Bytes& out, const nlohmann::json& member, const std::string& storage)
{
    const Bytes stored = storedMember(member, storage);
    const std::uint32_t offset = offsetOf(out);
    out.insert(out.end(), stored.begin(), stored.end());
    return {offset, static_cast<std::uint32_t>(stored.size())};
}

struct PresentMember {
    const char* name;
    std::uint32_t presentField;
    const char* storage;
};

// A license or readme table: per entry [language number][length][text], big-endian.
Bytes pageTextTable(const nlohmann::json& texts, const std::string& name)
{
    if (!texts.is_array())
        throw PackageDescriptionError("\"" + name + "\" must be an array");
    Bytes table;
    for (const auto& entry : texts) {
        if (!entry.is_object() || !entry.contains("language"))
            throw PackageDescriptionError("every entry of \"" + name + "\" needs its \"language\"");
        if (!entry.contains("text") && !entry.contains("hex") && !entry.contains("file"))
            throw PackageDescriptionError("an entry of \"" + name + "\" needs its \"text\", \"hex\" or \"file\"");
        const std::uint32_t language = descriptionWord(entry, "language", 0, (name + " entry ").c_str());
        const Bytes text = memberContent(entry);
        if (text.size() > 0xFFFFFFFFu)
            throw PackageDescriptionError("a text of \"" + name + "\" is larger than 4 GB");
        appendBE32(table, language);
        appendBE32(table, static_cast<std::uint32_t>(text.size()));
        table.insert(table.end(), text.begin(), text.end());
    }
    return table;
}

} // namespace

void appendHeaderMembers(Bytes& out, const nlohmann::json& description, HeaderFieldValues& fields)
{
    if (description.contains("dialogImage")) {
        const auto [offset, size] = appendMember(out, description.at("dialogImage"), "gzip");
        fields.emplace_back(8, offset);
        fields.emplace_back(12, size);
    }
    for (const PresentMember& m : {PresentMember{"imageLibrary", 80, "gzip"}, PresentMember{"musicLibrary", 92, "gzip"},
                                   PresentMember{"pluginLibrary", 104, "gzip"}, PresentMember{"backgroundMusic", 116, "raw"}}) {
        if (!description.contains(m.name))
            continue;
        const auto [offset, size] = appendMember(out, description.at(m.name), m.storage);
        fields.emplace_back(m.presentField, 1);
        fields.emplace_back(m.presentField + 4, offset);
        fields.emplace_back(m.presentField + 8, size);
    }
    if (description.contains("pageImage")) {
        const auto& member = description.at("pageImage");
        const std::uint32_t kind = member.is_object() ? member.value("kind", 1u) : 1u;
        const auto [offset, size] = appendMember(out, member, kind == 1 ? "gzip" : "raw");
        fields.emplace_back(128, 1);
        fields.emplace_back(132, kind);
        fields.emplace_back(136, offset);
        fields.emplace_back(140, size);
    }
    if (description.contains("uninstaller")) {
        const auto [offset, size] = appendMember(out, description.at("uninstaller"), "gzip");
        fields.emplace_back(168, size);
        fields.emplace_back(172, offset);
    }
    if (description.contains("images")) {
        const auto& images = description.at("images");
        if (!images.is_array())
            throw PackageDescriptionError("\"images\" must be an array");
        fields.emplace_back(32, static_cast<std::uint32_t>(images.size()));
        fields.emplace_back(36, offsetOf(out));
        for (const auto& image : images) {
            const Bytes stored = storedMember(image, "gzip");
            appendBE32(out, image.value("id", 0u));
            appendBE32(out, static_cast<std::uint32_t>(stored.size()));
            out.insert(out.end(), stored.begin(), stored.end());
        }
    }
    // Blocks the installer finds through header fields only (a component tree, or tables made by
    // hand): stored as given; their offset (and size, when asked) go to the named fields.
    if (description.contains("blocks")) {
        const auto& blocks = description.at("blocks");
        if (!blocks.is_array())
            throw PackageDescriptionError("\"blocks\" must be an array");
        for (const auto& block : blocks) {
            if (!block.is_object() || !block.contains("offsetField"))
                throw PackageDescriptionError("a block needs its \"offsetField\"");
            const auto [offset, size] = appendMember(out, block, "raw");
            fields.emplace_back(block.at("offsetField").get<std::uint32_t>(), offset);
            if (block.contains("sizeField"))
                fields.emplace_back(block.at("sizeField").get<std::uint32_t>(), size);
        }
    }
    // The license and readme tables: present, offset, number of entries.
    for (const auto& [name, presentField] : {std::pair{"licenseTexts", 48u}, std::pair{"readmeTexts", 60u}}) {
        if (!description.contains(name))
            continue;
        const auto& texts = description.at(name);
        const Bytes table = pageTextTable(texts, name);
        fields.emplace_back(presentField, 1);
        fields.emplace_back(presentField + 4, offsetOf(out));
        fields.emplace_back(presentField + 8, static_cast<std::uint32_t>(texts.size()));
        out.insert(out.end(), table.begin(), table.end());
    }
    if (description.contains("fonts")) {
        const auto& fonts = description.at("fonts");
        if (!fonts.is_array())
            throw PackageDescriptionError("\"fonts\" must be an array");
        fields.emplace_back(40, static_cast<std::uint32_t>(fonts.size()));
        fields.emplace_back(44, offsetOf(out));
        for (const auto& font : fonts) {
            const Bytes stored = storedMember(font, "gzip");
            appendBE32(out, static_cast<std::uint32_t>(stored.size()));
            out.insert(out.end(), stored.begin(), stored.end());
        }
    }
}
