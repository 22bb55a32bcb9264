#include "LanguageSetWriter.h"

#include "Scramble.h"

namespace {

void appendBE32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

Bytes plainTable(const nlohmann::json& set)
{
    if (set.contains("table")) {
        const std::string table = set.at("table").get<std::string>();
        return Bytes(table.begin(), table.end());
    }
    Bytes table;
    const nlohmann::json& lines = set.value("lines", nlohmann::json::array());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            appendText(table, "\r\n");
        appendText(table, lines[i].get<std::string>());
    }
    return table;
}

Bytes storedTable(const nlohmann::json& set)
{
    Bytes table = plainTable(set);
    const int scrambles = set.value("scrambleCount", 2);
    if (scrambles == 2)
        return scrambleTwice(table);
    for (int i = 0; i < scrambles; ++i)
        table = scramble(table, 7, 42);
    return table;
}

Bytes storedSet(const nlohmann::json& set)
{
    const std::string name = set.value("name", std::string());
    const Bytes table = storedTable(set);
    Bytes rest;
    appendBE32(rest, static_cast<std::uint32_t>(name.size()));
    appendText(rest, name);
    appendBE32(rest, set.value("number", 0u));
    appendBE32(rest, set.value("langId", 0u));
    appendBE32(rest, static_cast<std::uint32_t>(table.size()));
    rest.insert(rest.end(), table.begin(), table.end());

    Bytes out;
    // "sizeField" stores another size than the real one, for damaged packages.
    appendBE32(out, set.value("sizeField", static_cast<std::uint32_t>(rest.size())));
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

} // namespace

Bytes languageSetsFromDescription(const nlohmann::json& languageSets)
{
    Bytes out;
    for (const nlohmann::json& set : languageSets.value("sets", nlohmann::json::array())) {
        if (!set.is_object())
            throw PackageDescriptionError("language sets must be objects");
        const Bytes stored = storedSet(set);
        out.insert(out.end(), stored.begin(), stored.end());
    }
    return out;
}
