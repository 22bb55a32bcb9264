#include "PackageBuilder.h"

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

Bytes buildHeader(const nlohmann::json& description, std::uint32_t headerOffset)
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

Bytes buildInstallerWithPackage(const Bytes& installer, const nlohmann::json& description)
{
    if (!description.is_object())
        throw PackageDescriptionError("the description must be a JSON object");
    if (installer.size() > 0xFFFFFFFFu)
        throw PackageDescriptionError("the installer program is larger than 4 GB");
    const auto headerOffset = static_cast<std::uint32_t>(installer.size());

    Bytes out = installer;
    const Bytes header = buildHeader(description, headerOffset);
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
    return out;
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
