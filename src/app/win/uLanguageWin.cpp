#include "app/win/uLanguageWin.h"

#include "app/uLanguage.h"
#include "app/uSettings.h"
#include "base/TIniFile.h"
#include "gui/TAction.h"
#include "gui/win/TApplication.h"
#include "gui/win/TButton.h"
#include "gui/win/TCheckBox.h"
#include "gui/win/TComboBox.h"
#include "gui/win/TForm.h"
#include "gui/win/TGroupBox.h"
#include "gui/win/TLabel.h"
#include "gui/win/TListView.h"
#include "gui/win/TPageControl.h"
#include "gui/win/TRadioGroup.h"
#include "gui/win/TSpeedButton.h"

#include <windows.h>

namespace kv {

namespace {

bool FileExists(const std::string& Name)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(Name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string LocaleInfo(LCTYPE Type)
{
    wchar_t text[9] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, Type, text, 6); // at most five characters
    return WideToUtf8(text);
}

std::string Tr(const std::string& Text) { return Language().TranslateString(Text); }

void TranslateOne(TComponent* C)
{
    if (auto* form = dynamic_cast<TForm*>(C)) {
        form->SetCaption(Tr(form->Caption()));
    } else if (auto* label = dynamic_cast<TLabel*>(C)) {
        label->SetCaption(Tr(label->Caption()));
    } else if (auto* button = dynamic_cast<TButton*>(C)) {
        button->SetCaption(Tr(button->Caption()));
        button->SetHint(Tr(button->Hint()));
    } else if (auto* speed = dynamic_cast<TSpeedButton*>(C)) {
        speed->SetCaption(Tr(speed->Caption()));
        speed->SetHint(Tr(speed->Hint()));
    } else if (auto* radios = dynamic_cast<TRadioGroup*>(C)) {
        radios->SetCaption(Tr(radios->Caption()));
        for (int i = 0; i < radios->Count(); ++i) radios->Buttons(i)->SetCaption(Tr(radios->Buttons(i)->Caption()));
    } else if (auto* group = dynamic_cast<TGroupBox*>(C)) {
        group->SetCaption(Tr(group->Caption()));
    } else if (auto* check = dynamic_cast<TCheckBox*>(C)) {
        check->SetCaption(Tr(check->Caption()));
        check->SetHint(Tr(check->Hint()));
    } else if (auto* combo = dynamic_cast<TComboBox*>(C)) {
        std::vector<std::string> texts;
        for (int i = 0; i < combo->Count(); ++i) texts.push_back(Tr(combo->Items(i)));
        combo->SetItemTexts(texts); // keeps the selected item
    } else if (auto* pages = dynamic_cast<TPageControl*>(C)) {
        for (int i = 0; i < pages->PageCount(); ++i) pages->Pages(i)->SetCaption(Tr(pages->Pages(i)->Caption()));
        pages->UpdateCaptions();
    } else if (auto* list = dynamic_cast<TListView*>(C)) {
        for (int i = 0; i < list->ColumnCount(); ++i) list->SetColumnCaption(i, Tr(list->ColumnCaption(i)));
    } else if (auto* actions = dynamic_cast<TActionList*>(C)) {
        for (int i = 0; i < actions->ActionCount(); ++i) {
            TAction* action = actions->Actions(i);
            action->SetCaption(Tr(action->Caption()));
            action->SetHint(Tr(action->Hint()));
        }
    }
}

} // namespace

std::string UserLocaleName() { return LocaleInfo(LOCALE_SISO639LANGNAME) + "_" + LocaleInfo(LOCALE_SISO3166CTRYNAME); }

void LoadLanguage(const std::string& SettingsFile, const std::string& ProgramFolder)
{
    const std::string override = TIniFile(SettingsFile).ReadString(SectionCommon, "LanguageOverride", "");
    const std::string name = LanguageFileName(override, UserLocaleName(),
                                              [&](const std::string& n) { return FileExists(ProgramFolder + n); });
    Language().Load(ProgramFolder + name);
}

void TranslateComponent(TComponent* AComponent)
{
    if (!AComponent || !Language().Loaded()) return;
    for (int i = 0; i < AComponent->ComponentCount(); ++i) TranslateComponent(AComponent->Components(i));
    TranslateOne(AComponent);
}

} // namespace kv
