#include "installer/install/TextFileEdit.h"

#include <cctype>

namespace {

const std::string kLineEnd = "\r\n";

bool sameIgnoringCase(char a, char b)
{
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

std::size_t findIgnoringCase(const std::string& text, const std::string& pattern)
{
    if (pattern.size() > text.size())
        return std::string::npos;
    for (std::size_t pos = 0; pos + pattern.size() <= text.size(); ++pos) {
        std::size_t i = 0;
        while (i < pattern.size() && sameIgnoringCase(text[pos + i], pattern[i]))
            ++i;
        if (i == pattern.size())
            return pos;
    }
    return std::string::npos;
}

std::string appendedLine(const std::string& content, const std::string& line)
{
    const bool endsWithLineEnd = content.size() >= 2 && content.compare(content.size() - 2, 2, kLineEnd) == 0;
    std::string result = content;
    if (!content.empty() && !endsWithLineEnd)
        result += kLineEnd;
    return result + line + kLineEnd;
}

std::string withoutLinesStartingWith(const std::string& content, const std::string& search)
{
    std::string result;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const std::size_t next = end == std::string::npos ? content.size() : end + 1;
        if (end == std::string::npos)
            end = content.size();
        if (end > start && content[end - 1] == '\r')
            --end;
        if (content.compare(start, search.size(), search) != 0)
            result += content.substr(start, end - start) + kLineEnd;
        start = next;
    }
    return result;
}

std::string replacedEverywhere(const std::string& content, const std::string& search, const std::string& line)
{
    std::string result;
    std::size_t start = 0;
    for (std::size_t found; (found = content.find(search, start)) != std::string::npos; start = found + search.size())
        result += content.substr(start, found - start) + line;
    return result + content.substr(start);
}

} // namespace

std::optional<std::string> editedText(std::int32_t mode, const std::string& content, const std::string& search,
                                      const std::string& line)
{
    switch (mode) {
    case kTextInsertAtStart:
        return line + kLineEnd + content;
    case kTextAppendLine:
        return appendedLine(content, line);
    case kTextAppendToFoundLine:
    case kTextRemoveFoundLine:
    case kTextInsertAfterFoundLine:
    case kTextInsertBeforeFoundLine: {
        if (search.empty())
            return std::nullopt;
        const std::size_t found = findIgnoringCase(content, search + kLineEnd);
        if (found == std::string::npos)
            return std::nullopt;
        std::string result = content;
        if (mode == kTextAppendToFoundLine)
            result.insert(found + search.size(), line);
        else if (mode == kTextRemoveFoundLine)
            result.erase(found, search.size() + kLineEnd.size());
        else if (mode == kTextInsertAfterFoundLine)
            result.insert(found + search.size() + kLineEnd.size(), line + kLineEnd);
        else
            result.insert(found, line + kLineEnd);
        return result;
    }
    case kTextRemoveLinesStartingWith:
        if (search.empty())
            return std::nullopt;
        return withoutLinesStartingWith(content, search);
    case kTextReplaceAll:
        if (search.empty())
            return std::nullopt;
        return replacedEverywhere(content, search, line);
    default:
        return std::nullopt;
    }
}
