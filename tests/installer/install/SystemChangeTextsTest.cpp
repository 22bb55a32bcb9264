// The texts behind the system changes: registry data of every type, text-file edits in every
// mode, INI assignments, shortcut icon texts and the rename list; then text-file entries and the
// uninstaller's placeholder on real files.
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/IniAssignment.h"
#include "installer/install/PendingRenames.h"
#include "installer/install/RegistryData.h"
#include "installer/install/ShortcutIcon.h"
#include "installer/install/SystemChanges.h"
#include "installer/install/TextFileEdit.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using Bytes8 = std::vector<std::uint8_t>;

ByteString bytesOf(const std::string& text)
{
    return ByteString(reinterpret_cast<const std::uint8_t*>(text.data()), static_cast<std::uint32_t>(text.size()));
}

Bytes8 bytes8(const std::string& text)
{
    return Bytes8(text.begin(), text.end());
}

} // namespace

TEST(RegistryValueData, EachTypeIsConvertedFromItsText)
{
    struct Case {
        std::int32_t type;
        std::string text;
        Bytes8 expected;
    };
    const std::vector<Case> cases = {
        {kRegistryString, "abc", bytes8(std::string("abc\0", 4))},
        {kRegistryExpandString, "%TEMP%", bytes8(std::string("%TEMP%\0", 7))},
        {kRegistryString, "", Bytes8{0}},
        {kRegistryDword, "258", Bytes8{2, 1, 0, 0}},
        {kRegistryDword, "-1", Bytes8{0xFF, 0xFF, 0xFF, 0xFF}},
        {kRegistryDword, "4294967295", Bytes8{0xFF, 0xFF, 0xFF, 0xFF}},
        {kRegistryDword, "12abc", Bytes8{12, 0, 0, 0}},
        {kRegistryDword, "abc", Bytes8{0, 0, 0, 0}},
        {kRegistryBinary, "0A,FF,1", Bytes8{0x0A, 0xFF}},
        {kRegistryBinary, "0a ff 7C", Bytes8{0x0A, 0xFF, 0x7C}},
        {kRegistryBinary, "", Bytes8{}},
        {kRegistryMultiString, "a<\\0>b", bytes8(std::string("a\0b\0\0", 5))},
        {kRegistryMultiString, "a<\\0>", bytes8(std::string("a\0\0", 3))},
        {kRegistryMultiString, "one", bytes8(std::string("one\0\0", 5))},
        {kRegistryMultiString, "", Bytes8{0, 0}},
    };
    for (const Case& c : cases) {
        const auto data = registryValueData(c.type, bytesOf(c.text));
        ASSERT_TRUE(data.has_value()) << c.type << " " << c.text;
        EXPECT_EQ(*data, c.expected) << c.type << " " << c.text;
    }
}

TEST(RegistryValueData, ABinaryTextWithANonDigitWhereADigitBelongsIsRefused)
{
    for (const char* text : {"0G,12", "12,3x", "Z", "12,34,Z"})
        EXPECT_FALSE(registryValueData(kRegistryBinary, ByteString(text)).has_value()) << text;
}

TEST(TextFileEdit, EveryModeChangesTheContentAsItSays)
{
    const std::string file = "first\r\nSecond line\r\nthird\r\n";
    struct Case {
        std::int32_t mode;
        std::string content;
        std::string search;
        std::string line;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases = {
        {0, file, "", "new", "new\r\n" + file},
        {1, file, "", "new", file + "new\r\n"},
        {1, "no end", "", "new", "no end\r\nnew\r\n"},
        {1, "x", "", "new", "x\r\nnew\r\n"},
        {1, "", "", "new", "new\r\n"},
        {2, file, "SECOND LINE", " appended", "first\r\nSecond line appended\r\nthird\r\n"},
        {2, file, "missing", "x", std::nullopt},
        // The search text must end a line.
        {2, file, "Second", "x", std::nullopt},
        {3, file, "second line", "", "first\r\nthird\r\n"},
        {3, "a\r\nb\r\na\r\n", "a", "", "b\r\na\r\n"},
        {4, file, "FIRST", "new", "first\r\nnew\r\nSecond line\r\nthird\r\n"},
        {4, file, "missing", "new", std::nullopt},
        {5, file, "third", "new", "first\r\nSecond line\r\nnew\r\nthird\r\n"},
        {5, file, "missing", "new", std::nullopt},
        {6, "set A=1\r\nset B=2\nSET A=3\r\nlast", "set A", "", "set B=2\r\nSET A=3\r\nlast\r\n"},
        {7, "a-b-a", "a", "xa", "xa-b-xa"},
        {7, "ABC", "abc", "x", "ABC"},
        {8, file, "first", "x", std::nullopt},
        {-1, file, "first", "x", std::nullopt},
        // An empty search text changes nothing.
        {3, file, "", "", std::nullopt},
        {6, file, "", "", std::nullopt},
        {7, file, "", "x", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto edited = editedText(c.mode, c.content, c.search, c.line);
        EXPECT_EQ(edited, c.expected) << "mode " << c.mode << " search \"" << c.search << "\"";
    }
}

TEST(IniAssignment, TheTextIsSplitAtTheFirstEqualsSign)
{
    const auto split = splitIniAssignment("Path=C:\\a=b");
    ASSERT_TRUE(split.has_value());
    EXPECT_EQ(split->key, "Path");
    EXPECT_EQ(split->value, "C:\\a=b");
    const auto empty = splitIniAssignment("Key=");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->value, "");
    EXPECT_FALSE(splitIniAssignment("no assignment").has_value());
}

TEST(ShortcutIconText, TheIndexIsTheWholeNumberAfterTheLastComma)
{
    struct Case {
        std::string text;
        std::string file;
        int index;
    };
    const std::vector<Case> cases = {
        {"C:\\app\\app.ico,12", "C:\\app\\app.ico", 12},
        {"C:\\a,b\\lib.dll,103", "C:\\a,b\\lib.dll", 103},
        {"lib.dll,-3", "lib.dll", -3},
        {"lib.dll, 7", "lib.dll", 7},
        {"lib.dll,", "lib.dll", 0},
        {"lib.dll,x", "lib.dll", 0},
        {"C:\\app\\app.ico", "C:\\app\\app.ico", 0},
        {"lib.dll,99999999999", "lib.dll", 0},
    };
    for (const Case& c : cases) {
        const ShortcutIcon icon = parseShortcutIcon(c.text);
        EXPECT_EQ(icon.file, c.file) << c.text;
        EXPECT_EQ(icon.index, c.index) << c.text;
    }
}

TEST(PendingRenameList, TextsAreTakenInPairs)
{
    const auto pairs = pendingRenamesOf(bytesOf(std::string("C:\\a.dll\0C:\\a.tmp\0C:\\b.dll\0C:\\b.tmp\0C:\\c\0", 38)));
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].target, "C:\\a.dll");
    EXPECT_EQ(pairs[0].temporary, "C:\\a.tmp");
    EXPECT_EQ(pairs[1].target, "C:\\b.dll");
    EXPECT_EQ(pairs[1].temporary, "C:\\b.tmp");
    EXPECT_TRUE(pendingRenamesOf(ByteString()).empty());
}

class TextFileEntries : public FileInstallTest {
protected:
    ~TextFileEntries() override
    {
        gPackageToc.textFileEntries.clear();
        gPackageToc.uninstallerNameTemplate = ByteString();
        gUninstallLog.placeholderMade = false;
    }
    void addEntry(std::int32_t mode, const std::string& path, const std::string& search, const std::string& line)
    {
        TextFileEntry entry;
        entry.mode = mode;
        entry.file = ByteString(path.c_str());
        entry.searchText = ByteString(search.c_str());
        entry.lineText = ByteString(line.c_str());
        gPackageToc.textFileEntries.push_back(std::move(entry));
    }
};

TEST_F(TextFileEntries, EntriesEditExistingFilesAndCreateAndLogMissingOnes)
{
    const std::string existing = installed("config.sys");
    writeText(existing, "DEVICE=a\r\nFILES=20");
    const std::string created = installed("new/folder/autoexec.bat");
    addEntry(1, existing, "", "BUFFERS=30");
    addEntry(5, existing, "files=20", "REM before");
    addEntry(1, created, "", "SET PATH=C:\\APP");
    addEntry(3, created, "missing", "");

    EXPECT_EQ(editTextFiles(), 1);
    EXPECT_EQ(textOf(existing), "DEVICE=a\r\nREM before\r\nFILES=20\r\nBUFFERS=30\r\n");
    EXPECT_EQ(textOf(created), "SET PATH=C:\\APP\r\n");
    EXPECT_EQ(loggedFiles(), std::vector<std::string>{created});
}

TEST_F(TextFileEntries, ThePlaceholderStandsOnlyWhereNoUninstallerIsAndGoesAgain)
{
    const std::string uninstaller = installed("uninstall.exe");
    fs::create_directories(destination);
    gPackageToc.uninstallerNameTemplate = ByteString(uninstaller.c_str());

    makeUninstallerPlaceholder();
    EXPECT_TRUE(gUninstallLog.placeholderMade);
    EXPECT_TRUE(fs::exists(uninstaller));
    removeUninstallerPlaceholder();
    EXPECT_FALSE(gUninstallLog.placeholderMade);
    EXPECT_FALSE(fs::exists(uninstaller));

    writeText(uninstaller, "real");
    makeUninstallerPlaceholder();
    EXPECT_FALSE(gUninstallLog.placeholderMade);
    removeUninstallerPlaceholder();
    EXPECT_EQ(textOf(uninstaller), "real");
}
