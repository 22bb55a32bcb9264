// The keyboard-layout window: its 74 key buttons where the picture wants them, a key's note and
// octave, Apply on the table and the on-screen piano, the buttons playing their key, layout files
// saved and loaded back (a saved layout plays what it played before), and the last layout kept in
// the settings file.
#include "app/uKeyButtons.h"
#include "app/win/EventListTestSupport.h"
#include "app/win/WindowPixels.h"
#include "app/win/fKeyboard.h"
#include "app/win/fMain.h"
#include "base/TIniFile.h"
#include "gui/win/TApplication.h"
#include "piano/kvPianoKeyLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace kv {
namespace {

namespace fs = std::filesystem;

constexpr int RowQ = 14;

class KeyboardLayoutWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControlClasses();
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        KeyLayout = BuiltInKeyLayout();
        folder = fs::temp_directory_path() / ("kv_kbl_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()));
        fs::create_directories(folder);
        settings = (folder / "Korvanel.ini").string();
        main = std::make_unique<TfrmMain>(nullptr);
        frmMain = main.get();
        MakeWindow();
    }
    void TearDown() override
    {
        keyboard.reset();
        main.reset();
        KeyLayout = BuiltInKeyLayout();
        Application()->OnException = nullptr;
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void MakeWindow()
    {
        keyboard = std::make_unique<TfrmKeyboard>(nullptr, frmMain, settings);
        frmKeyboard = keyboard.get();
        keyboard->ChooseLayoutFile = [this](bool) { return chosen; };
    }
    // What each computer key plays on the on-screen piano.
    std::vector<std::int32_t> KeyNotes() const
    {
        std::vector<std::int32_t> notes;
        for (int code = 0; code < 256; ++code) notes.push_back(main->PianoKeyboard1->KeyToNote(static_cast<std::uint16_t>(code)));
        return notes;
    }
    void Select(int Row)
    {
        keyboard->cbKeys->SetItemIndex(Row);
        keyboard->cbKeysChange();
    }
    void ChooseNote(int Octave, int NoteItem)
    {
        keyboard->seOctave->SetValue(Octave);
        keyboard->cbNote->SetItemIndex(NoteItem);
        // As the user's choice: the field's change.
        SendMessageW(GetParent(keyboard->cbNote->Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(keyboard->cbNote->Handle()));
    }

    fs::path folder;
    std::string settings, chosen;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmKeyboard> keyboard;
    std::vector<std::string> errors;
};

TEST_F(KeyboardLayoutWindow, KeyButtonsStandWhereThePictureWantsThemWithTheirKeys)
{
    EXPECT_EQ(keyboard->Caption(), "Keyboard");
    EXPECT_EQ(keyboard->ClientWidth(), 594);
    EXPECT_EQ(keyboard->ClientHeight(), 236);
    EXPECT_EQ(keyboard->GroupBox1->BoundsRect(), (TRect{353, 112, 583, 220}));
    for (int row = 0; row < KeyLayoutRows; ++row) {
        SCOPED_TRACE(row);
        TButton* button = keyboard->KeyButtons[static_cast<std::size_t>(row)];
        EXPECT_EQ(button->Name(), "Btn" + std::to_string(row));
        EXPECT_EQ(button->Caption(), KeyNameOf(BuiltInKeyLayout()[static_cast<std::size_t>(row)]));
        EXPECT_EQ(button->Tag(), BuiltInKeyLayout()[static_cast<std::size_t>(row)].KeyCode);
        EXPECT_FALSE(button->TabStop());
        RECT r{};
        GetWindowRect(button->Handle(), &r);
        MapWindowPoints(nullptr, keyboard->Handle(), reinterpret_cast<POINT*>(&r), 2);
        const TRect want = KeyButtonBounds(row);
        EXPECT_EQ((TRect{r.left, r.top, r.right, r.bottom}), want);
    }
    EXPECT_FALSE(keyboard->BitBtn1->Enabled());
    EXPECT_EQ(keyboard->cbKeys->Count(), 74);
    EXPECT_EQ(keyboard->cbKeys->ItemIndex(), 0);
    keyboard->Show();
    Application()->ProcessMessages();
    test::SaveScreenshot(test::CaptureClient(keyboard->Handle()), "keyboard_layout");
}

TEST_F(KeyboardLayoutWindow, ASelectedKeyShowsItsNoteAndApplyStoresTheEditedOne)
{
    Select(RowQ);
    EXPECT_EQ(keyboard->cbNote->Items(keyboard->cbNote->ItemIndex()), "C");
    EXPECT_EQ(keyboard->seOctave->Value(), 2);
    EXPECT_FALSE(keyboard->BitBtn1->Enabled()); // selecting is no edit

    const auto code = static_cast<std::uint16_t>(KeyLayout[RowQ].KeyCode);
    const std::int32_t offset = main->PianoKeyboard1->KeyToNote(code) - 24;
    ChooseNote(3, 5); // E
    EXPECT_TRUE(keyboard->BitBtn1->Enabled());
    test::Press(keyboard->BitBtn1);
    EXPECT_EQ(KeyLayout[RowQ].KeyNote, 40);
    EXPECT_EQ(main->PianoKeyboard1->KeyToNote(code), 40 + offset);
    EXPECT_FALSE(keyboard->BitBtn1->Enabled());

    // The empty note: no note, shown as the empty item in octave 0.
    ChooseNote(4, 0);
    test::Press(keyboard->BitBtn1);
    EXPECT_EQ(KeyLayout[RowQ].KeyNote, -1);
    EXPECT_EQ(main->PianoKeyboard1->KeyToNote(code), -1);
    Select(0);
    Select(RowQ);
    EXPECT_EQ(keyboard->cbNote->ItemIndex(), 0);
    EXPECT_EQ(keyboard->seOctave->Value(), 0);
    EXPECT_TRUE(errors.empty());
}

TEST_F(KeyboardLayoutWindow, AKeyButtonPlaysItsKeysNoteAndSelectsIt)
{
    keyboard->Show();
    const auto code = static_cast<std::uint16_t>(KeyLayout[RowQ].KeyCode);
    const std::int32_t note = main->PianoKeyboard1->KeyToNote(code);
    HWND button = keyboard->KeyButtons[RowQ]->Handle();
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(main->PianoKeyboard1->KeyPressed(static_cast<std::uint8_t>(note)));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Application()->ProcessMessages();
    EXPECT_FALSE(main->PianoKeyboard1->KeyPressed(static_cast<std::uint8_t>(note)));
    EXPECT_EQ(keyboard->cbKeys->ItemIndex(), RowQ);
    EXPECT_EQ(keyboard->seOctave->Value(), 2);
}

TEST_F(KeyboardLayoutWindow, ASavedLayoutLoadsBackAndPlaysWhatItPlayedBefore)
{
    const std::vector<std::int32_t> builtIn = KeyNotes();
    chosen = (folder / "mine.kbl").string();
    test::Press(keyboard->BitBtn3);
    EXPECT_TRUE(keyboard->BitBtn3->Enabled());
    ASSERT_EQ(fs::file_size(chosen), KeyLayoutFileSize);

    // Another note for q, then the saved layout back.
    Select(RowQ);
    ChooseNote(5, 3);
    test::Press(keyboard->BitBtn1);
    EXPECT_NE(KeyNotes(), builtIn);
    test::Press(keyboard->BitBtn2);
    EXPECT_TRUE(keyboard->BitBtn2->Enabled());
    EXPECT_EQ(KeyNotes(), builtIn);
    EXPECT_EQ(KeyLayout[RowQ].KeyNote, 24);
    EXPECT_EQ(keyboard->cbKeys->ItemIndex(), 0);

    // Edited and saved, the file plays the edit once loaded, also in the next run.
    Select(RowQ);
    ChooseNote(5, 3);
    test::Press(keyboard->BitBtn1);
    const std::vector<std::int32_t> edited = KeyNotes();
    chosen = (folder / "edited.kbl").string();
    test::Press(keyboard->BitBtn3);
    keyboard.reset();
    EXPECT_EQ(TIniFile(settings).ReadString("Common", "LastLayout", "?"), chosen);
    KeyLayout = BuiltInKeyLayout();
    main->PianoKeyboard1->BuildNotesMap();
    MakeWindow();
    EXPECT_EQ(keyboard->LayoutFile(), chosen);
    EXPECT_EQ(KeyNotes(), edited);
    EXPECT_EQ(KeyLayout[RowQ].KeyNote, 62);
    EXPECT_TRUE(errors.empty());
}

TEST_F(KeyboardLayoutWindow, AFileThatIsNoLayoutIsRefusedWithAMessageAndChangesNothing)
{
    chosen = (folder / "good.kbl").string();
    test::Press(keyboard->BitBtn3);
    chosen = (folder / "short.kbl").string();
    std::ofstream(chosen, std::ios::binary) << "KBL";
    const std::vector<std::int32_t> before = KeyNotes();
    test::Press(keyboard->BitBtn2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("short.kbl"), std::string::npos) << errors[0];
    EXPECT_EQ(KeyNotes(), before);
    EXPECT_TRUE(keyboard->BitBtn2->Enabled());
    // Not even the name kept for the next start changes.
    EXPECT_EQ(keyboard->LayoutFile(), (folder / "good.kbl").string());

    // A last layout that is missing is not loaded, without a message.
    TIniFile(settings).WriteString("Common", "LastLayout", (folder / "gone.kbl").string());
    keyboard.reset();
    TIniFile(settings).WriteString("Common", "LastLayout", (folder / "gone.kbl").string());
    MakeWindow();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(KeyNotes(), before);
}

// A last layout that cannot be loaded never keeps the program from starting: the window is made
// with the built-in layout, the file is reported once and forgotten, so the next start is quiet.
TEST_F(KeyboardLayoutWindow, ABadLastLayoutIsReportedOnceAndForgotten)
{
    const std::string bad = (folder / "bad.kbl").string();
    std::ofstream(bad, std::ios::binary) << "KBL";
    const std::vector<std::int32_t> builtIn = KeyNotes();
    keyboard.reset();
    TIniFile(settings).WriteString("Common", "LastLayout", bad);
    ASSERT_NO_THROW(MakeWindow());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("bad.kbl"), std::string::npos) << errors[0];
    EXPECT_EQ(KeyNotes(), builtIn);
    EXPECT_EQ(KeyLayout[RowQ].KeyNote, 24);
    EXPECT_EQ(keyboard->LayoutFile(), "");
    keyboard.reset();
    EXPECT_EQ(TIniFile(settings).ReadString("Common", "LastLayout", "?"), "");
    MakeWindow();
    EXPECT_EQ(errors.size(), 1u);
}

} // namespace
} // namespace kv
