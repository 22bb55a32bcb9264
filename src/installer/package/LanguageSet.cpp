#include "installer/package/LanguageSet.h"

#include "installer/package/PackageHeaderFields.h"
#include "installer/package/PackageTableReader.h"
#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableApi.h"

#include <array>
#include <memory>

namespace {

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
    if (index >= headerField(header, kHeaderFieldLanguageSetCount))
        return false;
    PackageTableReader sets(file, headerField(header, kHeaderFieldFirstLanguageSet));
    std::uint32_t size = 0;
    for (std::uint32_t skipped = 0; skipped < index; ++skipped)
        if (!sets.readBE32(size) || !sets.skip(size))
            return false;
    if (!sets.readBE32(size))
        return false;

    PackageTableReader reader(file, sets.position(), sets.position() + size);
    std::uint32_t languageNumber = 0, langId = 0;
    LanguageSet read;
    ByteString table;
    if (!reader.readCounted(read.name) || !reader.readBE32(languageNumber) || !reader.readBE32(langId)
        || !reader.readCounted(table))
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

bool loadLanguageSet(std::int32_t n)
{
    if (n < 0)
        return false;
    const std::unique_ptr<PackageSource> file = openPackageFile(gPackagePath.cStr());
    LanguageSet set;
    if (!file || !readLanguageSet(*file, gPackageHeader, static_cast<std::uint32_t>(n), set))
        return false;
    gPackageToc.languageNumber = set.languageNumber;
    gPackageToc.languageSetLangId = set.langId;
    ByteString number;
    number.format("%d", set.languageNumber);
    setVariableText("<LanguageID>", number.cStr());
    applyLanguageSet(set, [](ByteString& line) { expandVariables(line, kAllVariables); }, gLanguageTexts);
    return true;
}
