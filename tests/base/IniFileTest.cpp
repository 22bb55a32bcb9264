#include "base/TIniFile.h"

#include "base/ResStr.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() /
                  ("kv_ini_test_" + std::to_string(random()) + "_" + std::to_string(static_cast<long long>(now)));
        ASSERT_TRUE(fs::create_directories(folder_));
        name_ = (folder_ / "settings.ini").string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string ReadAll() const
    {
        std::ifstream in(name_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteAll(const std::string& bytes) const
    {
        std::ofstream out(name_, std::ios::binary);
        out << bytes;
    }

    fs::path folder_;
    std::string name_;
};

TEST_F(IniFileTest, ReadsValuesByTheProfileRules)
{
    WriteAll("; settings\r\n"
             "[Common]\r\n"
             "  DefaultColor = 8240639 \r\n"
             "lastfile=\"C:\\Songs\\A b.mid\"\r\n"
             "Empty=\r\n"
             "Twice=first\r\n"
             "Twice=second\n"
             "[ device ]\n"
             "Input=[0][2]\n"
             "no equals sign here\n"
             "[Other]\n"
             "Input=elsewhere\n");
    const TIniFile ini(name_);
    struct Case {
        const char* section;
        const char* key;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Common", "DefaultColor", "8240639"},      // blanks around key and value dropped
        {"COMMON", "LastFile", "C:\\Songs\\A b.mid"}, // names without case, quotes dropped
        {"Common", "Empty", ""},
        {"Common", "Twice", "first"},
        {"Device", "Input", "[0][2]"},             // blanks inside the brackets dropped
        {"Other", "Input", "elsewhere"},
        {"Common", "Missing", "default"},
        {"Nowhere", "Input", "default"},
        {"Device", "no equals sign here", "default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(ini.ReadSection("Common"), (std::vector<std::string>{"DefaultColor", "lastfile", "Empty", "Twice", "Twice"}));
    EXPECT_TRUE(ini.ValueExists("device", "INPUT"));
    EXPECT_FALSE(ini.ValueExists("Common", "Input"));
}

TEST_F(IniFileTest, IntegersAndBooleansFallBackOnTheirDefault)
{
    struct Case {
        const char* text;
        std::int32_t integer; // read with default -7
        bool boolean;         // read with default true
    };
    const std::vector<Case> cases = {
        {"42", 42, true},          {"-12", -12, true},      {"0", 0, false},
        {"0x7DBDFF", 0x7DBDFF, true}, {"0XfF", 255, true},  {"$1F", 31, true},
        {"0xFF000000", static_cast<std::int32_t>(0xFF000000u), true},
        {"2147483647", 2147483647, true}, {"2147483648", -7, true}, {"-2147483649", -7, true},
        {"0x100000000", -7, true}, {"12abc", -7, true},    {"abc", -7, true},
        {"", -7, true},            {"0x", -7, true},        {"-", -7, true},
        {"1.5", -7, true},         {" 7 ", 7, true},
    };
    for (const Case& c : cases) {
        WriteAll(std::string("[S]\nK=") + c.text + "\n");
        const TIniFile ini(name_);
        EXPECT_EQ(ini.ReadInteger("S", "K", -7), c.integer) << '"' << c.text << '"';
        EXPECT_EQ(ini.ReadBool("S", "K", true), c.boolean) << '"' << c.text << '"';
    }
    const TIniFile missing((folder_ / "none.ini").string());
    EXPECT_EQ(missing.ReadInteger("S", "K", 5), 5);
    EXPECT_FALSE(missing.ReadBool("S", "K", false));
    EXPECT_EQ(missing.ReadString("S", "K", "x"), "x");
}

TEST_F(IniFileTest, WritesKeepOtherLinesAndTheOrderOfFirstWriting)
{
    WriteAll("; keep me\n[Common]\nAutoRepeat=0\n\n[PianoRoll]\nShowRoll=1\n");
    TIniFile ini(name_);
    ini.WriteBool("Common", "autorepeat", true);       // an existing key keeps its place
    ini.WriteInteger("Common", "DefaultColor", 8240639); // a new key after the section's last entry
    ini.WriteString("Device", "Input", "[0]");          // a new section at the end
    ini.WriteString("Device", "Output", "");
    ini.WriteInteger("PianoRoll", "QuarterNoteWidth", -3);
    EXPECT_EQ(ReadAll(), "; keep me\r\n[Common]\r\nautorepeat=1\r\nDefaultColor=8240639\r\n\r\n"
                         "[PianoRoll]\r\nShowRoll=1\r\nQuarterNoteWidth=-3\r\n"
                         "[Device]\r\nInput=[0]\r\nOutput=\r\n");
    EXPECT_TRUE(ini.ReadBool("Common", "AutoRepeat", false));
    EXPECT_EQ(ini.ReadString("Device", "Output", "[0]"), "");

    TIniFile fresh((folder_ / "fresh.ini").string());
    fresh.WriteString("Common", "LastFile", "Untitled.mid");
    EXPECT_EQ(fresh.ReadString("Common", "LastFile", ""), "Untitled.mid");
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenRaisesItsName)
{
    const std::string name = (folder_ / "missing folder" / "x.ini").string();
    TIniFile ini(name);
    try {
        ini.WriteInteger("Common", "DefaultColor", 1);
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + name);
    }
}

// The forms a user's editor writes: UTF-8 with or without a byte-order mark, or the system's code
// page (Windows-1252 here: $DC is "Ü"), also one line of each in the same file.
TEST_F(IniFileTest, ReadsUtf8WithOrWithoutAMarkAndTheCodePage)
{
    const std::string uebung = "\xC3\x9C" "bung";
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8", "[Translator]\r\nPlay=" + uebung + "\r\n"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[Translator]\r\nPlay=" + uebung + "\r\n"},
        {"code page", "[Translator]\r\nPlay=\xDC" "bung\r\n"},
        {"code page with a UTF-8 line", "[Translator]\r\nPlay=\xDC" "bung\r\nStop=" + uebung + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(c.bytes);
        const TIniFile ini(name_);
        EXPECT_EQ(ini.ReadSection("Translator").front(), "Play");
        EXPECT_EQ(ini.ReadString("Translator", "Play", "?"), uebung);
    }
    EXPECT_EQ(TIniFile(name_).ReadString("Translator", "Stop", "?"), uebung);
}

// The run time's own message goes through the program's translation.
TEST_F(IniFileTest, TheWriteErrorIsARunTimeTextThatTranslates)
{
    SetResStringLoader([](const std::string& Text) { return Text == "Unable to write to %s" ? "Kann %s nicht schreiben" : Text; });
    const std::string name = (folder_ / "missing folder" / "x.ini").string();
    try {
        TIniFile(name).WriteInteger("Common", "DefaultColor", 1);
        ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Kann " + name + " nicht schreiben");
    }
    SetResStringLoader(nullptr);
}

} // namespace
} // namespace kv
