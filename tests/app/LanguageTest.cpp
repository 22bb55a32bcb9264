#include "app/uLanguage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace kv {
namespace {

namespace fs = std::filesystem;

class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() / ("kv_language_" + std::to_string(random()) + "_" + std::to_string(static_cast<long long>(now)));
        ASSERT_TRUE(fs::create_directories(folder_));
        name_ = (folder_ / "fr_FR.lng").string();
        std::ofstream(name_, std::ios::binary) << "[Other]\r\nOpen=Wrong\r\n"
                                                   "[Translator]\r\n"
                                                   "Play=Lecture\r\n"
                                                   "  pause  =  Pause FR  \r\n"
                                                   "File not found!=Fichier introuvable !\r\n"
                                                   "Play=Second\r\n"
                                                   "Empty=\r\n";
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;
    std::string name_;
};

TEST_F(LanguageFile, TranslatesByTheTranslatorSectionOnly)
{
    TKVLanguage language;
    ASSERT_TRUE(language.Load(name_));
    struct Case {
        const char* text;
        const char* translated;
    };
    const std::vector<Case> cases = {
        {"Play", "Lecture"}, {"PLAY", "Lecture"}, {"Pause", "Pause FR"}, {"File not found!", "Fichier introuvable !"},
        {"Open", "Open"},    {"Stop", "Stop"},    {"", ""},              {"Empty", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(language.TranslateString(c.text), c.translated) << c.text;
}

TEST_F(LanguageFile, RunTimeTextsFollowTheWindowsThatSwitchedTranslationOn)
{
    TKVLanguage language;
    ASSERT_TRUE(language.Load(name_));
    EXPECT_EQ(language.LoadResString("Pause"), "Pause");
    language.HookLoadResString(); // main window
    language.HookLoadResString(); // About box
    EXPECT_EQ(language.LoadResString("Pause"), "Pause FR");
    language.UnhookLoadResString(); // the About box closes: the main window still translates
    EXPECT_EQ(language.LoadResString("File not found!"), "Fichier introuvable !");
    language.UnhookLoadResString();
    EXPECT_EQ(language.LoadResString("Pause"), "Pause");
    language.UnhookLoadResString(); // one too many does no harm
    language.HookLoadResString();
    EXPECT_EQ(language.LoadResString("Play"), "Lecture");
}

// The forms an editor saves a language file in: with a byte-order mark, or in the system's code
// page (Windows-1252 here); both translate as the plain UTF-8 file does.
TEST_F(LanguageFile, AFileWithAByteOrderMarkOrInTheCodePageTranslates)
{
    const std::pair<std::string, std::string> files[] = {
        {"\xEF\xBB\xBF[Translator]\r\nPlay=Abspielen\r\nOpen=\xC3\x96" "ffnen\r\n", "byte-order mark"},
        {"[Translator]\r\nPlay=Abspielen\r\nOpen=\xD6" "ffnen\r\n", "code page"},
    };
    for (const auto& [bytes, form] : files) {
        SCOPED_TRACE(form);
        std::ofstream(name_, std::ios::binary | std::ios::trunc) << bytes;
        TKVLanguage language;
        ASSERT_TRUE(language.Load(name_));
        EXPECT_EQ(language.TranslateString("Play"), "Abspielen");
        EXPECT_EQ(language.TranslateString("Open"), "\xC3\x96" "ffnen");
    }
}

// The one language is also the run time's translator: its own messages are translated too.
TEST_F(LanguageFile, TheRunTimesTextsGoThroughTheProgramsLanguage)
{
    std::ofstream(name_, std::ios::binary | std::ios::trunc) << "[Translator]\r\nStream read error=Erreur de lecture\r\n";
    ASSERT_TRUE(Language().Load(name_));
    Language().HookLoadResString();
    EXPECT_EQ(ResStr("Stream read error"), "Erreur de lecture");
    Language().UnhookLoadResString();
    EXPECT_EQ(ResStr("Stream read error"), "Stream read error");
    Language().Clear();
}

TEST_F(LanguageFile, NoFileTranslatesNothing)
{
    TKVLanguage language;
    EXPECT_FALSE(language.Load((folder_ / "de_DE.lng").string()));
    EXPECT_FALSE(language.Loaded());
    language.HookLoadResString();
    EXPECT_EQ(language.LoadResString("Play"), "Play");
    EXPECT_EQ(language.TranslateString("Play"), "Play");
}

TEST(LanguageFileName, OverrideWhenItExistsElseTheLocale)
{
    const auto exists = [](const std::string& name) { return name == "fr_FR.lng"; };
    EXPECT_EQ(LanguageFileName("fr_FR.lng", "en_US", exists), "fr_FR.lng");
    EXPECT_EQ(LanguageFileName("de_DE.lng", "en_US", exists), "en_US.lng");
    EXPECT_EQ(LanguageFileName("", "zh_CN", exists), "zh_CN.lng");
}

} // namespace
} // namespace kv
