// The German language file the package ships, read by the program's own language code: its
// texts translate, every key is a text the program's code really gives (a misspelt key would
// translate nothing), and the file is UTF-8, as the windows show the texts.
#include "app/uLanguage.h"
#include "base/TIniFile.h"
#include "piano/kvPianoKeyLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kv {
namespace {

namespace fs = std::filesystem;

// A build path of this machine, also as Wine shows it.
std::string HostPath(const std::string& Path)
{
#ifdef _WIN32
    return "Z:" + Path;
#else
    return Path;
#endif
}

const std::string ShippedFile = HostPath(KV_PACKAGE_SOURCE_DIR "/de_DE.lng");

std::string ReadAll(const fs::path& Path)
{
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string Text)
{
    std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return Text;
}

bool IsUtf8(const std::string& Text)
{
    for (std::size_t i = 0; i < Text.size();) {
        const auto lead = static_cast<unsigned char>(Text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > Text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(Text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// The program's sources, lower-cased, where its texts are written: its own and its run time's.
std::string ProgramSources()
{
    std::string all;
    for (const char* folder : {"/src/app", "/src/piano", "/src/midi", "/src/gui", "/src/base"})
        for (const auto& item : fs::recursive_directory_iterator(HostPath(std::string(KV_PROJECT_SOURCE_DIR) + folder)))
            if (item.path().extension() == ".cpp" || item.path().extension() == ".h") all += ReadAll(item.path());
    return Lower(all);
}

class ShippedLanguageFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Language().Load(ShippedFile)) << ShippedFile; }
    void TearDown() override { Language().Clear(); }
};

TEST_F(ShippedLanguageFile, TranslatesTheProgramsTextsIntoGerman)
{
    const std::pair<const char*, const char*> texts[] = {
        {"Play", "Abspielen"},         {"Keyboard", "Tastatur"},      {"Options", "Optionen"},
        {"Stay On Top", "Immer im Vordergrund"}, {"File not found!", "Datei nicht gefunden!"},
        {"Volume:", "Lautst.:"}, {"Close", "Schlie\xC3\x9F" "en"}, {"Midi Event", "MIDI-Ereignisse"},
        // The main window's "Key:" is the transposition, not a key signature.
        {"Key:", "Transp.:"}, {"Key: %s", "Tonart: %s"}, {"Letter:", "Text:"}, {"Description", "Beschreibung"},
        {"Unable to write to %s", "Kann nicht in %s schreiben"},
    };
    for (const auto& [text, german] : texts) EXPECT_EQ(Language().TranslateString(text), german) << text;
    // The main window's title is the program's name; it stays.
    EXPECT_EQ(Language().TranslateString("VELDRANE"), "VELDRANE");
}

TEST_F(ShippedLanguageFile, IsUtf8AndEveryKeyIsATextOfTheProgram)
{
    EXPECT_TRUE(IsUtf8(ReadAll(ShippedFile)));
    const std::string sources = ProgramSources();
    const auto entries = TIniFile(ShippedFile).ReadSectionValues("Translator");
    ASSERT_FALSE(entries.empty());
    for (const auto& [key, value] : entries) {
        // In the sources a quotation mark within a text is written \".
        std::string written;
        for (char c : Lower(key)) written += c == '"' ? std::string("\\\"") : std::string(1, c);
        EXPECT_NE(sources.find('"' + written + '"'), std::string::npos) << "no text \"" << key << "\" in the program";
        EXPECT_FALSE(value.empty()) << key;
    }
}

// Key names are the layout's data: the keyboard window shows them untranslated. The file gives
// no translation for a key name but for "Left" and "Right", which are the hands panel's texts too.
TEST_F(ShippedLanguageFile, TranslatesNoKeyNameButTheHands)
{
    for (const TKeyLayoutRec& row : BuiltInKeyLayout()) {
        const std::string name = KeyNameOf(row);
        if (name == "Left" || name == "Right") continue;
        EXPECT_EQ(Language().TranslateString(name), name);
    }
    EXPECT_EQ(Language().TranslateString("Left"), "Links");
    EXPECT_EQ(Language().TranslateString("Right"), "Rechts");
}

} // namespace
} // namespace kv
