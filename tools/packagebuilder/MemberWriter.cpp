#include "MemberWriter.h"

#include <zlib.h>

namespace {

void appendLE16(Bytes& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendLE32(Bytes& bytes, std::uint32_t value)
{
    appendLE16(bytes, value & 0xFFFF);
    appendLE16(bytes, value >> 16);
}

std::string textOf(const nlohmann::json& object, const char* name)
{
    const auto& value = object.at(name);
    if (!value.is_string())
        throw PackageDescriptionError(std::string("\"") + name + "\" must be a text");
    return value.get<std::string>();
}

// windowBits: 15 + 16 for a gzip member, -15 for raw deflate data.
Bytes deflateBytes(const Bytes& content, int windowBits, gz_header* header = nullptr)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("zlib's deflate could not start");
    if (header && deflateSetHeader(&stream, header) != Z_OK) {
        deflateEnd(&stream);
        throw std::runtime_error("zlib refused the gzip header");
    }
    Bytes out(deflateBound(&stream, static_cast<uLong>(content.size())) + 256);
    stream.next_in = const_cast<Bytef*>(content.data());
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("zlib's deflate did not finish");
    return out;
}

std::uint32_t crcOf(const Bytes& content)
{
    return static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), content.data(), static_cast<uInt>(content.size())));
}

// Breaks a stored member as the description asks.
void corrupt(Bytes& stored, const nlohmann::json& member, const std::string& storage)
{
    const std::string how = textOf(member, "corrupt");
    if (stored.empty())
        throw PackageDescriptionError("an empty member cannot be corrupted");
    if (how == "header") {
        stored[0] ^= 0xFF;
    } else if (how == "truncate") {
        const auto keep = member.value("keep", std::uint64_t{0});
        if (keep < stored.size())
            stored.resize(keep);
    } else if (how == "crc" || how == "length") {
        // gzip: CRC-32 and length end the member; zip: they lie at 14 and 22 of the local header.
        std::size_t at = 0;
        if (storage == "gzip")
            at = stored.size() - (how == "crc" ? 8 : 4);
        else if (storage == "zip" || storage == "zipStored")
            at = how == "crc" ? 14 : 22;
        else
            throw PackageDescriptionError("\"corrupt\": \"" + how + "\" needs a gzip or zip member");
        stored[at] ^= 0x01;
    } else {
        throw PackageDescriptionError("\"corrupt\" must be crc, length, header or truncate");
    }
}

} // namespace

Bytes bytesFromHex(const std::string& hex)
{
    if (hex.size() % 2 != 0 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw PackageDescriptionError("\"" + hex.substr(0, 16) + "...\" is not a hex text");
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

Bytes memberContent(const nlohmann::json& member)
{
    if (!member.is_object())
        throw PackageDescriptionError("a member must be an object");
    if (member.contains("text")) {
        const std::string text = textOf(member, "text");
        return Bytes(text.begin(), text.end());
    }
    if (member.contains("hex"))
        return bytesFromHex(textOf(member, "hex"));
    if (member.contains("file"))
        return readWholeFile(textOf(member, "file"));
    return {};
}

Bytes gzipBytes(const Bytes& content, const nlohmann::json& gzipHeader)
{
    if (gzipHeader.empty())
        return deflateBytes(content, 15 + 16);
    std::string name = gzipHeader.value("name", std::string());
    std::string comment = gzipHeader.value("comment", std::string());
    Bytes extra = bytesFromHex(gzipHeader.value("extra", std::string()));
    gz_header header{};
    header.os = 0;
    if (gzipHeader.contains("name"))
        header.name = reinterpret_cast<Bytef*>(name.data());
    if (gzipHeader.contains("comment"))
        header.comment = reinterpret_cast<Bytef*>(comment.data());
    if (!extra.empty()) {
        header.extra = extra.data();
        header.extra_len = static_cast<uInt>(extra.size());
    }
    header.hcrc = gzipHeader.value("headerCrc", false) ? 1 : 0;
    return deflateBytes(content, 15 + 16, &header);
}

Bytes zipArchive(const Bytes& content, bool deflated, const std::string& entryName)
{
    const Bytes data = deflated ? deflateBytes(content, -15) : content;
    const std::uint32_t crc = crcOf(content);
    Bytes out;
    auto entryFields = [&](Bytes& bytes) {
        appendLE16(bytes, 20);                      // version needed
        appendLE16(bytes, 0);                       // flags
        appendLE16(bytes, deflated ? 8 : 0);        // method
        appendLE16(bytes, 0);                       // time
        appendLE16(bytes, 0x21);                    // date: 1980-01-01
        appendLE32(bytes, crc);
        appendLE32(bytes, static_cast<std::uint32_t>(data.size()));
        appendLE32(bytes, static_cast<std::uint32_t>(content.size()));
        appendLE16(bytes, static_cast<std::uint32_t>(entryName.size()));
        appendLE16(bytes, 0);                       // extra length
    };
    appendLE32(out, 0x04034B50);
    entryFields(out);
    out.insert(out.end(), entryName.begin(), entryName.end());
    out.insert(out.end(), data.begin(), data.end());

    const auto directory = static_cast<std::uint32_t>(out.size());
    appendLE32(out, 0x02014B50);
    appendLE16(out, 20);                            // version made by
    entryFields(out);
    appendLE16(out, 0);                             // comment length
    appendLE16(out, 0);                             // disk
    appendLE16(out, 0);                             // internal attributes
    appendLE32(out, 0);                             // external attributes
    appendLE32(out, 0);                             // local header offset
    out.insert(out.end(), entryName.begin(), entryName.end());
    const auto directorySize = static_cast<std::uint32_t>(out.size()) - directory;

    appendLE32(out, 0x06054B50);
    appendLE16(out, 0);
    appendLE16(out, 0);
    appendLE16(out, 1);
    appendLE16(out, 1);
    appendLE32(out, directorySize);
    appendLE32(out, directory);
    appendLE16(out, 0);
    return out;
}

Bytes storedMember(const nlohmann::json& member, const std::string& defaultStorage)
{
    if (!member.is_object())
        throw PackageDescriptionError("a member must be an object");
    if (member.contains("rawBytes"))
        return bytesFromHex(textOf(member, "rawBytes"));
    const std::string storage = member.contains("storage") ? textOf(member, "storage") : defaultStorage;
    const Bytes content = memberContent(member);
    Bytes stored;
    if (storage == "gzip")
        stored = gzipBytes(content, member.value("gzipHeader", nlohmann::json::object()));
    else if (storage == "zip" || storage == "zipStored")
        stored = zipArchive(content, storage == "zip");
    else if (storage == "raw")
        stored = content;
    else
        throw PackageDescriptionError("\"storage\" must be gzip, zip, zipStored or raw");
    if (member.contains("corrupt"))
        corrupt(stored, member, storage);
    return stored;
}
