// A window's texts translated by the language file as the window shows them: a radio group's
// caption and every item, a combo box's items with its selection kept.
#include "app/uLanguage.h"
#include "app/win/uLanguageWin.h"
#include "gui/win/TApplication.h"
#include "gui/win/TComboBox.h"
#include "gui/win/TForm.h"
#include "gui/win/TRadioGroup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

} // namespace
} // namespace kv
