#include "app/uLanguage.h"

#include "base/TFileStream.h"
#include "base/TIniFile.h"

#include <algorithm>
#include <cctype>

namespace kv {

namespace {

std::string Trimmed(const std::string& Text)
{
    const std::size_t begin = Text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    return Text.substr(begin, Text.find_last_not_of(" \t") - begin + 1);
}

} // namespace

bool TKVLanguage::TNoCase::operator()(const std::string& A, const std::string& B) const
{
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) < std::tolower(static_cast<unsigned char>(b));
    });
}

bool TKVLanguage::Load(const std::string& FileName)
{
    Clear();
    try {
        TFileStream probe(FileName, TFileMode::fmOpenRead);
    } catch (const EStreamError&) {
        return false;
    }
    // The first line of a text wins, as the ini rules read it.
    for (auto& [key, value] : TIniFile(FileName).ReadSectionValues("Translator")) FTable.emplace(key, value);
    FLoaded = true;
    return true;
}

void TKVLanguage::Clear()
{
    FTable.clear();
    FLoaded = false;
}

std::string TKVLanguage::TranslateString(const std::string& Text) const
{
    if (Text.empty()) return {};
    const auto found = FTable.find(Trimmed(Text));
    return found == FTable.end() ? Text : found->second;
}

std::string TKVLanguage::LoadResString(const std::string& Text) const
{
    return ResStringsTranslated() ? TranslateString(Text) : Text;
}

TKVLanguage& Language()
{
    static TKVLanguage language;
    static const bool loading = (SetResStringLoader([](const std::string& Text) { return language.LoadResString(Text); }), true);
    (void)loading;
    return language;
}

std::string LanguageFileName(const std::string& Override, const std::string& LocaleName,
                             const std::function<bool(const std::string& Name)>& Exists)
{
    if (!Override.empty() && Exists(Override)) return Override;
    return LocaleName + ".lng";
}

} // namespace kv
