#include "base/TIniFile.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "base/ResStr.h"
#include "base/TFileStream.h"

#include <cctype>
#include <optional>

namespace kv {

namespace {

std::string Trim(const std::string& Text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t begin = 0, end = Text.size();
    while (begin < end && blank(Text[begin])) ++begin;
    while (end > begin && blank(Text[end - 1])) --end;
    return Text.substr(begin, end - begin);
}

bool SameName(const std::string& A, const std::string& B)
{
    if (A.size() != B.size()) return false;
    for (std::size_t i = 0; i < A.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i]))) return false;
    return true;
}

// The section a line opens, if it opens one.
std::optional<std::string> SectionName(const std::string& Line)
{
    const std::string line = Trim(Line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// The key and value of an entry line; false for blank, comment and section lines.
bool Entry(const std::string& Line, std::string& Key, std::string& Value)
{
    const std::string line = Trim(Line);
    if (line.empty() || line.front() == ';' || line.front() == '[') return false;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    Key = Trim(line.substr(0, equals));
    Value = Trim(line.substr(equals + 1));
    if (Value.size() >= 2 && (Value.front() == '"' || Value.front() == '\'') && Value.back() == Value.front())
        Value = Value.substr(1, Value.size() - 2);
    return !Key.empty();
}

// The lines of one section: [First, Last) after its header; First is npos when it is missing.
struct TSectionSpan {
    std::size_t First = std::string::npos;
    std::size_t Last = std::string::npos;
};

TSectionSpan FindSection(const std::vector<std::string>& Lines, const std::string& Section)
{
    TSectionSpan span;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const auto name = SectionName(Lines[i]);
        if (!name) continue;
        if (span.First != std::string::npos) {
            span.Last = i;
            return span;
        }
        if (SameName(*name, Section)) span.First = i + 1;
    }
    if (span.First != std::string::npos) span.Last = Lines.size();
    return span;
}

} // namespace

bool ParseIniInteger(const std::string& Text, std::int32_t& Value)
{
    const std::string text = Trim(Text);
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    } else if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= text.size()) return false;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int c = std::tolower(static_cast<unsigned char>(text[i]));
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFLL) return false;
    }
    std::int64_t result = negative ? -magnitude : magnitude;
    // Hexadecimal spells the 32 bits of a negative value too ($FF000000), as colours do.
    if (base == 16 && !negative && result > 0x7FFFFFFFLL) result -= 0x100000000LL;
    if (result < INT32_MIN || result > INT32_MAX) return false;
    Value = static_cast<std::int32_t>(result);
    return true;
}

std::vector<std::string> TIniFile::ReadLines() const
{
    std::vector<std::string> lines;
    std::string content;
    try {
        TFileStream file(FFileName, TFileMode::fmOpenRead);
        content.resize(static_cast<std::size_t>(file.Size()));
        if (!content.empty()) file.ReadBuffer(content.data(), static_cast<std::int64_t>(content.size()));
    } catch (const EStreamError&) {
        return lines; // a file that is missing or cannot be read holds nothing
    }
    // Editors write text files as UTF-8, with or without a byte-order mark, or in the system's
    // code page: a line that is no UTF-8 is read through the code page.
    std::size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!IsValidUtf8(line)) line = AnsiToUtf8(line);
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

void TIniFile::WriteLines(const std::vector<std::string>& Lines) const
{
    std::string content;
    for (const std::string& line : Lines) content += line + "\r\n";
    try {
        TFileStream file(FFileName, TFileMode::fmCreate);
        file.WriteBuffer(content.data(), static_cast<std::int64_t>(content.size()));
        file.Flush();
    } catch (const EStreamError&) {
        throw EIniFileException(Format(ResStr("Unable to write to %s"), {FFileName}));
    }
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const
{
    const std::vector<std::string> lines = ReadLines();
    const TSectionSpan span = FindSection(lines, Section);
    if (span.First == std::string::npos) return Default;
    std::string key, value;
    for (std::size_t i = span.First; i < span.Last; ++i)
        if (Entry(lines[i], key, value) && SameName(key, Ident)) return value;
    return Default;
}

bool TIniFile::ValueExists(const std::string& Section, const std::string& Ident) const
{
    const std::vector<std::string> keys = ReadSection(Section);
    for (const std::string& key : keys)
        if (SameName(key, Ident)) return true;
    return false;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& Section) const
{
    std::vector<std::string> keys;
    for (auto& entry : ReadSectionValues(Section)) keys.push_back(std::move(entry.first));
    return keys;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(const std::string& Section) const
{
    const std::vector<std::string> lines = ReadLines();
    const TSectionSpan span = FindSection(lines, Section);
    std::vector<std::pair<std::string, std::string>> entries;
    if (span.First == std::string::npos) return entries;
    std::string key, value;
    for (std::size_t i = span.First; i < span.Last; ++i)
        if (Entry(lines[i], key, value)) entries.emplace_back(key, value);
    return entries;
}

std::int32_t TIniFile::ReadInteger(const std::string& Section, const std::string& Ident, std::int32_t Default) const
{
    std::int32_t value = Default;
    return ParseIniInteger(ReadString(Section, Ident, ""), value) ? value : Default;
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    std::vector<std::string> lines = ReadLines();
    const std::string entry = Ident + "=" + Value;
    const TSectionSpan span = FindSection(lines, Section);
    if (span.First == std::string::npos) {
        lines.push_back("[" + Section + "]");
        lines.push_back(entry);
        WriteLines(lines);
        return;
    }
    std::string key, value;
    std::size_t after = span.First;
    for (std::size_t i = span.First; i < span.Last; ++i) {
        if (Entry(lines[i], key, value)) {
            if (SameName(key, Ident)) {
                lines[i] = entry;
                WriteLines(lines);
                return;
            }
        }
        if (!Trim(lines[i]).empty()) after = i + 1;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), entry);
    WriteLines(lines);
}

void TIniFile::WriteInteger(const std::string& Section, const std::string& Ident, std::int32_t Value)
{
    WriteString(Section, Ident, std::to_string(Value));
}

void TIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

} // namespace kv
