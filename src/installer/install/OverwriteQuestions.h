#pragma once
// The texts of the questions asked before an existing file is replaced, built from the language
// texts. Yes keeps the existing file.
#include <cstdint>
#include <string>

struct QuestionFacts {
    std::string path;
    // -1 the existing file is older, 0 equal, 1 newer.
    int versionOrder = 0;
    std::string existingLanguageName;
    std::string packagedLanguageName;
    // The existing file's description, UTF-8; empty when it has none.
    std::string description;
    std::uint32_t recordVersionHigh = 0;
    std::uint32_t recordVersionLow = 0;
};

std::string plainQuestion(const QuestionFacts& facts);
std::string existingNewerQuestion(const QuestionFacts& facts);
std::string languageQuestion(const QuestionFacts& facts);
std::string versionQuestion(const QuestionFacts& facts);
// "%d.%d.%d.%d" down to "%d", leaving out the leading parts that are 0.
std::string versionText(std::uint32_t high, std::uint32_t low);
