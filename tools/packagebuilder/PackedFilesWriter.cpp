#include "MemberWriter.h"
#include "PackageMembers.h"

namespace {

void appendLE32(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putLE32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putLE64(Bytes& bytes, std::size_t at, std::uint64_t value)
{
    putLE32(bytes, at, static_cast<std::uint32_t>(value));
    putLE32(bytes, at + 4, static_cast<std::uint32_t>(value >> 32));
}

// In every byte the four 2-bit groups in reverse order.
std::uint8_t scrambleNameByte(std::uint8_t b)
{
    std::uint8_t out = 0;
    for (int group = 0; group < 4; ++group)
        out |= static_cast<std::uint8_t>(((b >> (2 * group)) & 3) << (2 * (3 - group)));
    return out;
}

std::uint32_t number(const nlohmann::json& file, const char* name, std::uint32_t fallback)
{
    if (!file.contains(name))
        return fallback;
    const auto& value = file.at(name);
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0xFFFFFFFFu)
        throw PackageDescriptionError(std::string("\"") + name + "\" must be an unsigned 32-bit number");
    return value.get<std::uint32_t>();
}

std::string text(const nlohmann::json& object, const char* name)
{
    if (!object.contains(name))
        return {};
    if (!object.at(name).is_string())
        throw PackageDescriptionError(std::string("\"") + name + "\" must be a text");
    return object.at(name).get<std::string>();
}

void appendCountedLE(Bytes& bytes, const std::string& value)
{
    appendLE32(bytes, static_cast<std::uint32_t>(value.size()));
    bytes.insert(bytes.end(), value.begin(), value.end());
}

// [count], per comparison [length][left][operator][length][right]; returns the OS flag word.
std::uint32_t appendCondition(Bytes& bytes, const nlohmann::json& file)
{
    if (!file.contains("condition"))
        return 0;
    const auto& condition = file.at("condition");
    const std::uint32_t osFlags = number(condition, "osFlags", 1);
    if (osFlags == 0)
        return 0;
    const auto comparisons = condition.value("comparisons", nlohmann::json::array());
    appendLE32(bytes, static_cast<std::uint32_t>(comparisons.size()));
    for (const auto& comparison : comparisons) {
        appendCountedLE(bytes, text(comparison, "left"));
        appendLE32(bytes, number(comparison, "op", 0));
        appendCountedLE(bytes, text(comparison, "right"));
    }
    return osFlags;
}

// The packed files as they are laid out: volume 1 is out, later volumes are the returned files.
class VolumeLayout {
public:
    explicit VolumeLayout(Bytes& first) : first_(first) {}
    Bytes& current() { return volumes_.empty() ? first_ : volumes_.back(); }
    std::uint32_t position()
    {
        if (current().size() > 0xFFFFFFFFu)
            throw PackageDescriptionError("a volume is larger than 4 GB");
        return static_cast<std::uint32_t>(current().size());
    }
    void startVolume()
    {
        if (volumes_.empty())
            firstVolumeEnd_ = first_.size();
        volumes_.emplace_back();
    }
    std::size_t firstVolumeEnd() const { return volumes_.empty() ? first_.size() : firstVolumeEnd_; }
    std::vector<Bytes> takeVolumes() { return std::move(volumes_); }

private:
    Bytes& first_;
    std::vector<Bytes> volumes_;
    std::size_t firstVolumeEnd_ = 0;
};

void appendFile(VolumeLayout& layout, const nlohmann::json& file)
{
    if (!file.is_object())
        throw PackageDescriptionError("each file must be an object");
    std::uint32_t storageFlags = 0;
    Bytes stored;
    const std::string storage = text(file, "storage");
    if (storage == "beside") {
        storageFlags = 0x2;
        stored = memberContent(file);
    } else {
        if (storage == "raw")
            storageFlags = 0x1;
        stored = storedMember(file, "gzip");
    }

    // Where the member's bytes go: the current volume first, then one new volume per count.
    std::vector<std::uint32_t> pieces;
    std::uint64_t placed = 0;
    for (const auto& piece : file.value("split", nlohmann::json::array())) {
        const auto n = piece.get<std::uint64_t>();
        if (placed + n > stored.size())
            throw PackageDescriptionError("\"split\" is larger than the member");
        pieces.push_back(static_cast<std::uint32_t>(n));
        placed += n;
    }
    pieces.push_back(static_cast<std::uint32_t>(stored.size() - placed));

    std::string name = text(file, "name");
    for (char& c : name)
        c = static_cast<char>(scrambleNameByte(static_cast<std::uint8_t>(c)));

    Bytes record(64, 0);
    Bytes tail;
    const std::uint32_t osFlags = appendCondition(tail, file);
    tail.insert(tail.end(), name.begin(), name.end());
    const std::uint32_t dataOffset = layout.position() + 64 + static_cast<std::uint32_t>(tail.size()) +
                                     4 * static_cast<std::uint32_t>(pieces.size());
    std::vector<std::uint32_t> ends;
    std::uint64_t end = dataOffset;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        end = (i == 0 ? end : 0) + pieces[i];
        ends.push_back(static_cast<std::uint32_t>(end));
    }
    if (file.contains("endOffsets")) {
        ends.clear();
        for (const auto& value : file.at("endOffsets"))
            ends.push_back(value.get<std::uint32_t>());
    }
    // End offsets in volumes that are not written, after the real ones (a crafted record).
    for (const auto& value : file.value("extraEndOffsets", nlohmann::json::array()))
        ends.push_back(value.get<std::uint32_t>());
    for (std::uint32_t value : ends)
        appendLE32(tail, value);

    putLE32(record, 0, number(file, "componentIndex", 0));
    putLE32(record, 4, number(file, "installTypeMask", 3));
    putLE32(record, 8, storageFlags | number(file, "flags", 0));
    putLE32(record, 12, number(file, "fileFlags", 0));
    putLE64(record, 16, file.value("lastWriteTime", std::uint64_t{0}));
    putLE64(record, 24, file.value("creationTime", std::uint64_t{0}));
    putLE32(record, 32, number(file, "versionMost", 0));
    putLE32(record, 36, number(file, "versionLeast", 0));
    putLE32(record, 40, number(file, "versionLanguage", 0) & 0xFFFF);
    putLE32(record, 44, number(file, "nameLength", static_cast<std::uint32_t>(name.size())));
    putLE32(record, 48, number(file, "volumeCount", static_cast<std::uint32_t>(ends.size())));
    putLE32(record, 52, number(file, "storedSize", static_cast<std::uint32_t>(stored.size())));
    putLE32(record, 56, number(file, "priority", 0));
    putLE32(record, 60, osFlags);

    Bytes& volume = layout.current();
    volume.insert(volume.end(), record.begin(), record.end());
    volume.insert(volume.end(), tail.begin(), tail.end());
    std::size_t from = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            layout.startVolume();
        Bytes& target = layout.current();
        target.insert(target.end(), stored.begin() + static_cast<std::ptrdiff_t>(from),
                      stored.begin() + static_cast<std::ptrdiff_t>(from + pieces[i]));
        from += pieces[i];
    }
}

} // namespace

std::vector<Bytes> appendPackedFiles(Bytes& out, const nlohmann::json& description, HeaderFieldValues& fields)
{
    if (!description.contains("files"))
        return {};
    const auto& files = description.at("files");
    if (!files.is_array())
        throw PackageDescriptionError("\"files\" must be an array");
    const auto first = static_cast<std::uint32_t>(out.size());
    VolumeLayout layout(out);
    for (const auto& file : files)
        appendFile(layout, file);
    fields.emplace_back(188, static_cast<std::uint32_t>(files.size()));
    fields.emplace_back(192, first);
    fields.emplace_back(196, static_cast<std::uint32_t>(layout.firstVolumeEnd() - first));
    return layout.takeVolumes();
}
