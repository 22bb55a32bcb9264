#include "PackageBuilder.h"

#include "DescriptionFields.h"
#include "InstallationTotals.h"
#include "LanguageSetWriter.h"
#include "PackageMembers.h"
#include "TemplateWriter.h"
#include "TocWriter.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

constexpr std::uint32_t kSelfOffsetField = 232;
constexpr std::uint32_t kDefaultHeaderSize = kSelfOffsetField + 4;
constexpr std::uint8_t kReservedFill = 0xA5;

void putBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value >> 24);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 16);
    bytes[at + 2] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 3] = static_cast<std::uint8_t>(value);
}

void appendLittleEndian(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t unsignedMember(const nlohmann::json& object, const char* name, std::uint32_t fallback)
{
    if (!object.contains(name))
        return fallback;
    const auto& value = object.at(name);
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFFFFFFu)
        throw PackageDescriptionError(std::string("\"") + name + "\" must be an unsigned 32-bit number");
    return value.get<std::uint32_t>();
}

// A JSON text whose characters U+0000 to U+00FF stand for one byte each, so that bytes of $80
// and above can be written.
Bytes bytesOfLatin1Text(const std::string& utf8, const char* name)
{
    Bytes out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(utf8[i]);
        if (byte < 0x80) {
            out.push_back(byte);
        } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<std::uint8_t>(utf8[i + 1]) & 0xC0) == 0x80) {
            out.push_back(static_cast<std::uint8_t>(((byte & 0x03) << 6) | (static_cast<std::uint8_t>(utf8[++i]) & 0x3F)));
        } else {
            throw PackageDescriptionError(std::string("\"") + name + "\" holds a character above U+00FF");
        }
    }
    return out;
}

void appendCounted(Bytes& bytes, const std::string& text)
{
    appendBigEndian(bytes, static_cast<std::uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

const nlohmann::json& arrayMember(const nlohmann::json& description, const char* name)
{
    static const nlohmann::json empty = nlohmann::json::array();
    if (!description.contains(name))
        return empty;
    const auto& value = description.at(name);
    if (!value.is_array())
        throw PackageDescriptionError(std::string("\"") + name + "\" must be an array");
    return value;
}

std::string textMember(const nlohmann::json& object, const char* name)
{
    if (!object.contains(name))
        return {};
    if (!object.at(name).is_string())
        throw PackageDescriptionError(std::string("\"") + name + "\" must be a text");
    return object.at(name).get<std::string>();
}

void appendCounted(Bytes& bytes, const Bytes& data)
{
    appendBigEndian(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
}

// A template's bytes: from a page description ("page"), or its bytes as a text whose characters
// are taken one byte each ("template"; characters above U+00FF are refused).
Bytes templateBytes(const nlohmann::json& entry)
{
    if (entry.contains("page"))
        return templateFromDescription(entry.at("page"));
    return bytesOfLatin1Text(textMember(entry, "template"), "template");
}

// A page's condition: a condition object (osFlags and comparisons) stored as the table of contents
// stores one, or a text of its bytes as for "template"; none gives no bytes.
Bytes conditionBytes(const nlohmann::json& entry)
{
    if (!entry.contains("condition"))
        return {};
    if (entry.at("condition").is_object())
        return storedConditionFromDescription(entry);
    return bytesOfLatin1Text(textMember(entry, "condition"), "condition");
}

using ComputedFields = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// Writes one table at the end of out and records its count and offset fields.
template <typename WriteEntry>
void appendTable(Bytes& out, const nlohmann::json& entries, std::uint32_t countField, std::uint32_t offsetField,
                 ComputedFields& fields, WriteEntry writeEntry)
{
    if (entries.empty())
        return;
    fields.emplace_back(countField, static_cast<std::uint32_t>(entries.size()));
    fields.emplace_back(offsetField, static_cast<std::uint32_t>(out.size()));
    for (const auto& entry : entries)
        writeEntry(out, entry);
}

ComputedFields appendTables(Bytes& out, const nlohmann::json& description)
{
    ComputedFields fields;
    appendTable(out, arrayMember(description, "templates"), 16, 20, fields, [](Bytes& bytes, const nlohmann::json& entry) {
        if (!entry.is_object())
            throw PackageDescriptionError("each template must be an object");
        appendCounted(bytes, templateBytes(entry));
        appendBigEndian(bytes, unsignedMember(entry, "pageType", 0));
        appendBigEndian(bytes, entry.value("showOnce", false) ? 1 : 0);
        appendCounted(bytes, conditionBytes(entry));
    });
    appendTable(out, arrayMember(description, "imageIdentifiers"), 24, 28, fields, [](Bytes& bytes, const nlohmann::json& entry) {
        if (!entry.is_number_unsigned() || entry.get<std::uint64_t>() > 0xFFFFFFFFu)
            throw PackageDescriptionError("image identifiers must be unsigned 32-bit numbers");
        appendLittleEndian(bytes, entry.get<std::uint32_t>());
    });
    appendTable(out, arrayMember(description, "slideshow"), 144, 148, fields, [](Bytes& bytes, const nlohmann::json& entry) {
        if (!entry.is_string())
            throw PackageDescriptionError("slideshow entries must be texts");
        appendCounted(bytes, entry.get<std::string>());
    });
    if (description.contains("toc")) {
        const Bytes toc = storedTocFromDescription(description.at("toc"));
        fields.emplace_back(0, static_cast<std::uint32_t>(out.size()));
        fields.emplace_back(4, static_cast<std::uint32_t>(toc.size()));
        out.insert(out.end(), toc.begin(), toc.end());
    }
    if (description.contains("languageSets")) {
        const nlohmann::json& languageSets = description.at("languageSets");
        const Bytes sets = languageSetsFromDescription(languageSets);
        fields.emplace_back(156, static_cast<std::uint32_t>(languageSets.value("sets", nlohmann::json::array()).size()));
        fields.emplace_back(160, unsignedMember(languageSets, "default", 0));
        fields.emplace_back(164, static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), sets.begin(), sets.end());
    }
    return fields;
}

Bytes buildHeader(const nlohmann::json& description, std::uint32_t headerOffset, const ComputedFields& computed)
{
    const nlohmann::json header = description.value("header", nlohmann::json::object());
    if (!header.is_object())
        throw PackageDescriptionError("\"header\" must be an object");
    const std::uint32_t size = unsignedMember(header, "size", kDefaultHeaderSize);
    Bytes bytes(size, 0);
    auto put = [&](std::uint32_t at, std::uint32_t value) {
        if (static_cast<std::uint64_t>(at) + 4 > size)
            throw PackageDescriptionError("header field " + std::to_string(at) + " lies outside a header of " +
                                          std::to_string(size) + " bytes");
        putBigEndian(bytes, at, value);
    };
    if (size >= kDefaultHeaderSize)
        put(kSelfOffsetField, unsignedMember(header, "selfOffset", headerOffset));
    for (const auto& [at, value] : computed)
        put(at, value);
    const nlohmann::json fields = header.value("fields", nlohmann::json::object());
    for (const auto& [key, value] : fields.items()) {
        if (key.empty() || key.find_first_not_of("0123456789") != std::string::npos)
            throw PackageDescriptionError("header field name \"" + key + "\" is not a byte offset");
        if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFFFFFFu)
            throw PackageDescriptionError("header field " + key + " must be an unsigned 32-bit number");
        put(static_cast<std::uint32_t>(std::stoul(key)), value.get<std::uint32_t>());
    }
    return bytes;
}

} // namespace

BuiltPackage buildPackage(const Bytes& installer, const nlohmann::json& description)
{
    if (!description.is_object())
        throw PackageDescriptionError("the description must be a JSON object");
    BuiltPackage built;
    Bytes& out = built.installer;
    out = installer;
    ComputedFields tableFields = appendTables(out, description);
    appendHeaderMembers(out, description, tableFields);
    built.volumes = appendPackedFiles(out, description, tableFields);
    appendInstallationTotals(description, tableFields);
    if (out.size() > 0xFFFFFFFFu)
        throw PackageDescriptionError("the installer and its tables are larger than 4 GB");
    const auto headerOffset = static_cast<std::uint32_t>(out.size());
    const Bytes header = buildHeader(description, headerOffset, tableFields);
    out.insert(out.end(), header.begin(), header.end());

    appendLittleEndian(out, headerOffset);
    std::uint32_t reservedLength = 0xFFFFFFFF;
    if (description.contains("reservedBlock")) {
        const auto& block = description.at("reservedBlock");
        if (!block.is_object())
            throw PackageDescriptionError("\"reservedBlock\" must be an object");
        const std::uint32_t size = unsignedMember(block, "size", 0);
        out.insert(out.end(), size, kReservedFill);
        reservedLength = unsignedMember(block, "lengthField", size);
    }
    appendLittleEndian(out, reservedLength);
    appendLittleEndian(out, 0x0B1C2D3E);
    appendLittleEndian(out, 0x12345678);
    return built;
}

Bytes buildInstallerWithPackage(const Bytes& installer, const nlohmann::json& description)
{
    return buildPackage(installer, description).installer;
}

std::string volumePath(const std::string& installerPath, std::size_t number)
{
    std::string digits = std::to_string(number);
    digits.insert(0, 3 - std::min<std::size_t>(3, digits.size()), '0');
    return installerPath.substr(0, installerPath.size() < 3 ? 0 : installerPath.size() - 3) + digits;
}

void writePackageFiles(const std::string& installerPath, const BuiltPackage& built)
{
    writeWholeFile(installerPath, built.installer);
    for (std::size_t i = 0; i < built.volumes.size(); ++i)
        writeWholeFile(volumePath(installerPath, i + 2), built.volumes[i]);
}

Bytes readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open '" + path + "'");
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWholeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write '" + path + "'");
}
