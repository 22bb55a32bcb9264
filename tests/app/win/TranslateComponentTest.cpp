// A window's texts translated by the language file as the window shows them: a radio group's
// caption and every item, a combo box's items with its selection kept; the program's windows:
// the hands panel, the event list's columns and descriptions, the editor's text field, while the
// keyboard window keeps the key names.
#include "app/uLanguage.h"
#include "app/win/EventListTestSupport.h"
#include "app/win/fEdit.h"
#include "app/win/fEvent.h"
#include "app/win/fKeyboard.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/uLanguageWin.h"
#include "gui/win/TApplication.h"
#include "gui/win/TComboBox.h"
#include "gui/win/TForm.h"
#include "gui/win/TRadioGroup.h"
#include "midi/kvMidiApi.h"
#include "midi/kvMidiDevicesInstances.h"
#include "midi/kvMidiFakeApi.h"
#include "piano/kvPianoKeyLayout.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;

std::wstring WindowText(HWND Wnd)
{
    wchar_t text[64] = {};
    GetWindowTextW(Wnd, text, 64);
    return text;
}

class TranslateComponentWin : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = fs::temp_directory_path() / ("kv_translate_" + std::to_string(GetCurrentProcessId()) + ".lng");
        std::ofstream(file) << "[Translator]\nHeader Type=Kopftyp\nSingle=Einzeln\nMultiSynch=Mehrspurig\n"
                               "Left=Links\nRight=Rechts\n";
        Language().Load(file.string());
        form = new TForm(&owner);
        form->Show();
    }
    void TearDown() override
    {
        Language().Clear();
        std::error_code ignored;
        fs::remove(file, ignored);
    }

    fs::path file;
    TComponent owner{nullptr};
    TForm* form = nullptr;
};

TEST_F(TranslateComponentWin, ARadioGroupShowsItsCaptionAndEveryItemTranslated)
{
    auto* group = new TRadioGroup(form);
    group->SetCaption("Header Type");
    group->SetBounds(5, 5, 150, 90);
    group->SetParent(form);
    for (const char* item : {"Single", "MultiSynch", "MultiAsynch"}) group->AddItem(item);
    group->SetItemIndex(1);

    TranslateComponent(form);

    EXPECT_EQ(WindowText(group->Handle()), L"Kopftyp");
    EXPECT_EQ(WindowText(group->Buttons(0)->Handle()), L"Einzeln");
    EXPECT_EQ(WindowText(group->Buttons(1)->Handle()), L"Mehrspurig");
    EXPECT_EQ(WindowText(group->Buttons(2)->Handle()), L"MultiAsynch"); // no translation: unchanged
    EXPECT_EQ(group->ItemIndex(), 1);
}

TEST_F(TranslateComponentWin, AComboBoxShowsItsItemsTranslatedWithTheSameOneSelected)
{
    auto* combo = new TComboBox(form);
    combo->SetBounds(5, 100, 150, 100);
    combo->SetParent(form);
    for (const char* item : {"Left", "Right", "Both"}) combo->AddItem(item, 0);
    combo->SetItemIndex(1);

    TranslateComponent(form);

    const auto shown = [&](int Index) {
        wchar_t text[64] = {};
        SendMessageW(combo->Handle(), CB_GETLBTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    EXPECT_EQ(shown(0), L"Links");
    EXPECT_EQ(shown(1), L"Rechts");
    EXPECT_EQ(shown(2), L"Both");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(WindowText(combo->Handle()), L"Rechts");
}

BOOL CALLBACK CollectText(HWND Wnd, LPARAM Texts)
{
    reinterpret_cast<std::vector<std::wstring>*>(Texts)->push_back(WindowText(Wnd));
    return TRUE;
}

std::vector<std::wstring> ChildTexts(HWND Wnd)
{
    std::vector<std::wstring> texts;
    EnumChildWindows(Wnd, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool Has(const std::vector<std::wstring>& Texts, const std::wstring& Text)
{
    return std::find(Texts.begin(), Texts.end(), Text) != Texts.end();
}

// The column title the list view shows.
std::wstring ColumnTitle(HWND List, int Index)
{
    wchar_t text[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 64;
    SendMessageW(List, LVM_GETCOLUMNW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&column));
    return text;
}

class TranslatedWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControlClasses();
        SetMidiApi(std::make_shared<TFakeMidiApi>()); // the options window opens devices
        folder = fs::temp_directory_path() / ("kv_translated_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()));
        fs::create_directories(folder);
        std::ofstream(folder / "de_DE.lng") << "[Translator]\nLeft=Links\nRight=Rechts\nDescription=Beschreibung\nTrack=Spur\n"
                                               "Note On: %s=Note an: %s\nLetter:=Text:\nDown=Runter\n";
        ASSERT_TRUE(Language().Load((folder / "de_DE.lng").string()));
        main = std::make_unique<TfrmMain>(nullptr);
        frmMain = main.get();
        test::FillSongOfEveryKind(*main->MidiFile1);
    }
    void TearDown() override
    {
        editor.reset();
        keyboard.reset();
        options.reset();
        main.reset();
        FreeMidiDeviceObjects();
        SetMidiApi(nullptr);
        Language().Clear();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    fs::path folder;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmOption> options;
    std::unique_ptr<TfrmKeyboard> keyboard;
    std::unique_ptr<TfrmEdit> editor;
};

TEST_F(TranslatedWindows, ShowTheTranslationWhereTheProgramGivesTextsAndTheKeysTheirNames)
{
    options = std::make_unique<TfrmOption>(nullptr, frmMain, (folder / "Korvanel.ini").string());
    frmOption = options.get();
    const auto optionTexts = ChildTexts(options->Handle());
    EXPECT_TRUE(Has(optionTexts, L"Links"));
    EXPECT_TRUE(Has(optionTexts, L"Rechts"));
    EXPECT_FALSE(Has(optionTexts, L"Left"));

    // The arrow keys keep their names in the picture and the list.
    keyboard = std::make_unique<TfrmKeyboard>(nullptr, frmMain, (folder / "Korvanel.ini").string());
    frmKeyboard = keyboard.get();
    for (int row : {49, 52, 54, 55, 56}) {
        const std::string name = KeyNameOf(BuiltInKeyLayout()[static_cast<std::size_t>(row)]);
        EXPECT_EQ(WindowText(keyboard->KeyButtons[static_cast<std::size_t>(row)]->Handle()), std::wstring(name.begin(), name.end()));
        EXPECT_EQ(keyboard->cbKeys->Items(row), name);
    }

    main->actMidiEvent->Execute();
    ASSERT_NE(frmEvent, nullptr);
    test::WaitForTheFillAfterShowing(*frmEvent);
    EXPECT_EQ(ColumnTitle(frmEvent->ListView1->Handle(), 3), L"Spur");
    EXPECT_EQ(ColumnTitle(frmEvent->ListView1->Handle(), 8), L"Beschreibung");
    EXPECT_EQ(ColumnTitle(frmEvent->ListView1->Handle(), 1), L"Time");
    bool noteOn = false;
    for (int r = 0; r < frmEvent->ListView1->Count(); ++r) noteOn |= frmEvent->ListView1->CellText(r, 8).rfind("Note an: ", 0) == 0;
    EXPECT_TRUE(noteOn);

    TKVMidiEvent* name = nullptr;
    for (int i = 0; i < main->MidiFile1->GetTrack(0)->TrackEventCount(); ++i) {
        TKVMidiEvent* e = main->MidiFile1->GetTrack(0)->GetEvent(i);
        if (e->Event() == 0xFF && e->Data1() == 0x03) name = e;
    }
    ASSERT_NE(name, nullptr);
    editor = std::make_unique<TfrmEdit>(nullptr, main->MidiFile1);
    editor->SetMidiEvent(name);
    EXPECT_EQ(WindowText(editor->lblLetter->Handle()), L"Text:");
}

} // namespace
} // namespace kv
