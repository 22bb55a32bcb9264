// Replacing existing libraries by their version resources (older, equal, newer, none, another
// language), the questions and their answers, the silent defaults, backups of same-named files.
#include "installer/install/FileInstallTestSupport.h"
#include "installer/state/UninstallLists.h"
#include "installer/system/win/BesideTestProgram.h"

#include <windows.h>

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kVersion2 = 0x00020000;
constexpr std::uint16_t kEnglish = 0x0409;

enum class Answer { Silent, Yes, No };
enum class Question { None, Version, Language };

struct AskedBoxes {
    std::vector<std::string> texts;
    int answer = kAnswerYes;
};

AskedBoxes& asked()
{
    static AskedBoxes boxes;
    return boxes;
}

int recordBox(const char* text, std::uint32_t)
{
    asked().texts.emplace_back(text);
    return asked().answer;
}

class Overwrite : public FileInstallTest {
protected:
    Overwrite()
    {
        previousBox_ = setInstallMessageBox(recordBox);
        asked() = AskedBoxes();
        const std::pair<std::size_t, const char*> texts[] = {
            {113, "File %s exists."}, {114, "Keep it?"}, {115, "Other language"}, {116, "Existing %s, new %s"},
            {117, "Existing is older"}, {118, "Existing is the same"}, {119, "Existing is newer"},
            {27, "Description:"}, {53, "version"}};
        for (const auto& [index, text] : texts)
            gLanguageTexts[index] = ByteString(text);
    }
    ~Overwrite() override
    {
        setInstallMessageBox(previousBox_);
        for (std::size_t index : {113, 114, 115, 116, 117, 118, 119, 27, 53})
            gLanguageTexts[index] = ByteString();
    }
    // The packaged library: version 2, English, its bytes a marker text.
    nlohmann::json library(const std::string& name, std::uint32_t mode) const
    {
        nlohmann::json file = entry(name, Bytes{'n', 'e', 'w'});
        file["fileFlags"] = 1u;
        file["flags"] = mode << 12;
        file["versionMost"] = kVersion2;
        file["versionLanguage"] = kEnglish;
        return file;
    }
    void placeExisting(const std::string& name, const char* fixture)
    {
        fs::create_directories(fs::path(installed(name)).parent_path());
        fs::copy_file(besideTestProgram(fixture), installed(name), fs::copy_options::overwrite_existing);
    }
    bool replaced(const std::string& name) const { return textOf(installed(name)) == "new"; }

private:
    InstallMessageBox previousBox_;
};

struct OverwriteCase {
    const char* name;
    const char* existing;
    std::uint32_t mode;
    std::int32_t defaultMode;
    Answer answer;
    bool replaced;
    Question question;
};

class OverwriteTable : public Overwrite, public ::testing::WithParamInterface<OverwriteCase> {};

} // namespace

TEST_P(OverwriteTable, ReplacesKeepsOrAsks)
{
    const OverwriteCase& c = GetParam();
    writePackage({{"files", {library("lib.dll", c.mode)}}});
    placeExisting("lib.dll", c.existing);
    gInstallerContext.defaultOverwriteMode = c.defaultMode;
    gFlags.silent = c.answer == Answer::Silent;
    asked().answer = c.answer == Answer::No ? kAnswerNo : kAnswerYes;

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(replaced("lib.dll"), c.replaced);
    const std::vector<std::string>& texts = asked().texts;
    switch (c.question) {
    case Question::None:
        EXPECT_TRUE(texts.empty());
        break;
    case Question::Version:
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0], "File " + installed("lib.dll") +
                                " exists.\r\nExisting is newer\r\nKeep it?\r\n\r\nDescription: Versioned library 3"
                                "\r\nVersion: 2.0.0.0");
        break;
    case Question::Language:
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rfind("Other language:\r\nFile " + installed("lib.dll") + " exists.\r\nExisting is older\r\n", 0), 0u)
            << texts[0];
        EXPECT_NE(texts[0].find("Existing German"), std::string::npos) << texts[0];
        EXPECT_NE(texts[0].find(", new English"), std::string::npos) << texts[0];
        EXPECT_NE(texts[0].find("\r\n\r\nDescription: Versioned library 1"), std::string::npos) << texts[0];
        break;
    }
    // A replaced file's old content waits aside for the commit; a kept one is left alone.
    EXPECT_EQ(gInstallRun.asideFiles.size(), c.replaced ? 1u : 0u);
}

const OverwriteCase kOverwriteCases[] = {
    {"OlderIsReplaced", "version1_english.dll", 4, 0, Answer::Yes, true, Question::None},
    {"EqualIsKept", "version2_english.dll", 4, 0, Answer::Yes, false, Question::None},
    {"NewerIsKept", "version3_english.dll", 4, 0, Answer::Yes, false, Question::None},
    {"WithoutVersionIsReplaced", "unversioned_library.dll", 4, 0, Answer::Yes, true, Question::None},
    {"DefaultModeForModeZero", "version2_english.dll", 0, 4, Answer::Yes, false, Question::None},
    {"DefaultModeReplacing", "version3_english.dll", 0, 3, Answer::Yes, true, Question::None},
    {"NewerAskedNo", "version3_english.dll", 6, 0, Answer::No, true, Question::Version},
    {"NewerAskedYes", "version3_english.dll", 6, 0, Answer::Yes, false, Question::Version},
    {"NewerSilent", "version3_english.dll", 6, 0, Answer::Silent, false, Question::None},
    {"OtherLanguageAskedNo", "version1_german.dll", 4, 0, Answer::No, true, Question::Language},
    {"OtherLanguageAskedYes", "version1_german.dll", 4, 0, Answer::Yes, false, Question::Language},
    {"OtherLanguageSilent", "version1_german.dll", 4, 0, Answer::Silent, false, Question::None},
    {"OtherLanguageNewerIsKept", "version1_german.dll", 2, 0, Answer::No, false, Question::None},
};

INSTANTIATE_TEST_SUITE_P(Libraries, OverwriteTable, ::testing::ValuesIn(kOverwriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Overwrite, SameNamedFilesFromTwoFoldersKeepABackupEach)
{
    writePackage({{"files", {library("one\\lib.dll", 0), library("two\\lib.dll", 0)}}});
    placeExisting("one\\lib.dll", "version1_english.dll");
    placeExisting("two\\lib.dll", "version1_german.dll");
    gInstallerContext.optionWord = kOptionBackUpReplacedFiles;
    gFlags.silent = true;

    ASSERT_TRUE(installFiles());
    EXPECT_TRUE(replaced("one\\lib.dll"));
    EXPECT_TRUE(replaced("two\\lib.dll"));
    EXPECT_EQ(readWholeFile(installed("Backup\\lib.dll")), readWholeFile(besideTestProgram("version1_english.dll")));
    EXPECT_EQ(readWholeFile(installed("Backup\\lib.dll.1")), readWholeFile(besideTestProgram("version1_german.dll")));
    const std::string backups = ByteString(gUninstallLog.backupText).cStr();
    EXPECT_EQ(backups, installed("Backup\\lib.dll") + "\t" + installed("one\\lib.dll") + "\t131072\t0\t0\t0\r\n" +
                           installed("Backup\\lib.dll.1") + "\t" + installed("two\\lib.dll") + "\t131072\t0\t0\t0");
}
