#pragma once
// The language file chosen at start, and the translation of a window and everything it owns.
#include "base/TComponent.h"

#include <string>

namespace kv {

// The user's locale as "<ISO 639 language>_<ISO 3166 country>" ("en_US").
std::string UserLocaleName();
// Chooses the language file (the settings' LanguageOverride when that file lies in the program's
// folder, else the one named after the locale) and loads it into Language(); nothing when there
// is none.
void LoadLanguage(const std::string& SettingsFile, const std::string& ProgramFolder);
// Translates the captions, hints, list items and column titles of AComponent and of everything it
// owns, the owned ones first. Each component is translated once, by its own class.
void TranslateComponent(TComponent* AComponent);

} // namespace kv
