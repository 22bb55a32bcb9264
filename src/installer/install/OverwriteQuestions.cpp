#include "installer/install/OverwriteQuestions.h"

#include "installer/state/InstallerState.h"

#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t kDescriptionLabel = 27;
constexpr std::size_t kVersionLabel = 53;
constexpr std::size_t kFileExistsFormat = 113;
constexpr std::size_t kKeepQuestion = 114;
constexpr std::size_t kLanguageDiffers = 115;
constexpr std::size_t kLanguagesFormat = 116;
constexpr std::size_t kExistingOlder = 117;
constexpr std::size_t kExistingEqual = 118;
constexpr std::size_t kExistingNewer = 119;

std::string text(std::size_t index)
{
    ByteString copy = gLanguageTexts[index];
    return copy.cStr();
}

// A language text with its %s replaced in order; the text decides how many.
std::string formatted(std::size_t index, std::initializer_list<std::string> values)
{
    ByteString result;
    ByteString format = gLanguageTexts[index];
    std::vector<FormatArg> args;
    for (const std::string& value : values)
        args.emplace_back(value.c_str());
    switch (args.size()) {
    case 1:
        result.format(format.cStr(), {args[0]});
        break;
    default:
        result.format(format.cStr(), {args[0], args[1]});
        break;
    }
    return result.cStr();
}

std::string comparisonLine(int order)
{
    return text(order < 0 ? kExistingOlder : order == 0 ? kExistingEqual : kExistingNewer);
}

const char* const kLineEnd = "\r\n";

} // namespace

std::string versionText(std::uint32_t high, std::uint32_t low)
{
    char buffer[64];
    const unsigned a = high >> 16, b = high & 0xFFFF, c = low >> 16, d = low & 0xFFFF;
    if (a != 0)
        std::snprintf(buffer, sizeof(buffer), "%u.%u.%u.%u", a, b, c, d);
    else if (b != 0)
        std::snprintf(buffer, sizeof(buffer), "%u.%u.%u", b, c, d);
    else if (c != 0)
        std::snprintf(buffer, sizeof(buffer), "%u.%u", c, d);
    else
        std::snprintf(buffer, sizeof(buffer), "%u", d);
    return buffer;
}

std::string plainQuestion(const QuestionFacts& f)
{
    return formatted(kFileExistsFormat, {f.path}) + kLineEnd + text(kKeepQuestion);
}

std::string existingNewerQuestion(const QuestionFacts& f)
{
    return formatted(kFileExistsFormat, {f.path}) + kLineEnd + text(kExistingNewer) + kLineEnd + text(kKeepQuestion);
}

std::string languageQuestion(const QuestionFacts& f)
{
    std::string question = text(kLanguageDiffers) + ":" + kLineEnd;
    question += formatted(kFileExistsFormat, {f.path}) + kLineEnd;
    question += comparisonLine(f.versionOrder) + kLineEnd;
    question += formatted(kLanguagesFormat, {f.existingLanguageName, f.packagedLanguageName}) + kLineEnd;
    question += text(kKeepQuestion);
    if (!f.description.empty())
        question += std::string(kLineEnd) + kLineEnd + text(kDescriptionLabel) + " " + f.description;
    return question;
}

std::string versionQuestion(const QuestionFacts& f)
{
    std::string question = formatted(kFileExistsFormat, {f.path}) + kLineEnd;
    question += comparisonLine(f.versionOrder) + kLineEnd;
    question += text(kKeepQuestion);
    const bool recordVersion = f.recordVersionHigh != 0 || f.recordVersionLow != 0;
    if (!f.description.empty() || recordVersion)
        question += kLineEnd;
    if (!f.description.empty())
        question += std::string(kLineEnd) + text(kDescriptionLabel) + " " + f.description;
    if (recordVersion) {
        std::string label = text(kVersionLabel);
        if (!label.empty() && label[0] >= 'a' && label[0] <= 'z')
            label[0] = static_cast<char>(label[0] - 'a' + 'A');
        question += std::string(kLineEnd) + label + ": " + versionText(f.recordVersionHigh, f.recordVersionLow);
    }
    return question;
}
