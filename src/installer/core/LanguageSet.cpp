#include "installer/core/LanguageSet.h"

#include <array>

namespace {

// Reads big-endian integers and byte runs from one range of the file, never past its end.
class RangeReader {
public:
    RangeReader(const PackageSource& file, std::uint64_t begin, std::uint64_t end)
        : file_(file), position_(begin), end_(end)
    {
    }

    bool readBE32(std::uint32_t& value)
    {
        std::uint8_t bytes[4];
        if (!readBytes(bytes, 4))
            return false;
        value = std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 | std::uint32_t(bytes[2]) << 8 | bytes[3];
        return true;
    }

    bool readText(std::uint32_t length, ByteString& text)
    {
        if (length > end_ - position_)
            return false;
        std::vector<std::uint8_t> bytes(length);
        if (!readBytes(bytes.data(), length))
            return false;
        text = ByteString(bytes.data(), length);
        return true;
    }

private:
    bool readBytes(void* buffer, std::uint32_t count)
    {
        if (count > end_ - position_ || !file_.readAt(position_, buffer, count))
            return false;
        position_ += count;
        return true;
    }

    const PackageSource& file_;
    std::uint64_t position_;
    std::uint64_t end_;
};

bool readSetSize(const PackageSource& file, std::uint64_t start, std::uint32_t& size)
{
    RangeReader reader(file, start, file.size());
    return reader.readBE32(size);
}

std::vector<ByteString> splitLines(const ByteString& table)
{
    std::vector<ByteString> lines;
    std::int32_t position = 0;
    while (table.hasMore(position) && lines.size() < kLanguageTextCount) {
        ByteString line;
        table.nextLine(&position, line);
        lines.push_back(std::move(line));
    }
    return lines;
}

void replaceEscapes(ByteString& text)
{
    text.replace("<\\t>", "\t");
    text.replace("<\\r>", "\r");
    text.replace("<\\n>", "\n");
}

} // namespace

bool readLanguageSet(const PackageSource& file, const ByteString& header, std::uint32_t index, LanguageSet& set)
{
    if (header.length() < kHeaderFieldFirstLanguageSet + 4 || index >= header.readBE32(kHeaderFieldLanguageSetCount))
        return false;
    std::uint64_t start = header.readBE32(kHeaderFieldFirstLanguageSet);
    std::uint32_t size = 0;
    for (std::uint32_t skipped = 0; skipped < index; ++skipped) {
        if (!readSetSize(file, start, size))
            return false;
        start += 4 + std::uint64_t(size);
    }
    if (!readSetSize(file, start, size))
        return false;

    RangeReader reader(file, start + 4, start + 4 + std::uint64_t(size));
    std::uint32_t nameLength = 0, languageNumber = 0, langId = 0, tableLength = 0;
    LanguageSet read;
    ByteString table;
    if (!reader.readBE32(nameLength) || !reader.readText(nameLength, read.name) || !reader.readBE32(languageNumber)
        || !reader.readBE32(langId) || !reader.readBE32(tableLength) || !reader.readText(tableLength, table))
        return false;
    if (!table.unscramble() || !table.unscramble())
        return false;
    read.languageNumber = static_cast<std::int32_t>(languageNumber);
    read.langId = static_cast<std::uint16_t>(langId);
    read.lines = splitLines(table);
    set = std::move(read);
    return true;
}

void applyLanguageSet(const LanguageSet& set, const std::function<void(ByteString&)>& expand,
                      std::array<ByteString, kLanguageTextCount>& texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i >= set.lines.size()) {
            texts[i] = ByteString();
            continue;
        }
        ByteString line = set.lines[i];
        if (expand)
            expand(line);
        replaceEscapes(line);
        texts[i] = std::move(line);
    }
}
