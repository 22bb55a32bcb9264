#pragma once
// The program's texts in the user's language. A language file (".lng", an ini file) maps texts
// to translations in its [Translator] section: "untranslated text=translation". The file is
// chosen once at start; without one nothing is translated.
//
// Texts the code gives at run time ("Pause", "File not found!") pass through ResStr. They are
// translated while at least one window is alive that switched run-time translation on (each
// window switches it on when created and off when destroyed), so closing one window does not
// switch it off for the others.
#include "base/ResStr.h"

#include <functional>
#include <map>
#include <string>

namespace kv {

class TKVLanguage {
public:
    // Reads the [Translator] section of the file; false (and nothing loaded) when it is missing.
    bool Load(const std::string& FileName);
    void Clear();
    bool Loaded() const { return FLoaded; }

    // The translation of Text; Text itself when it has none, "" for "". Texts are compared
    // without regard to ASCII case, blanks around them dropped, as the ini rules read keys.
    std::string TranslateString(const std::string& Text) const;

    void HookLoadResString() { ++FHooks; }
    void UnhookLoadResString() { if (FHooks > 0) --FHooks; }
    bool ResStringsTranslated() const { return FLoaded && FHooks > 0; }
    // A run-time text, translated while run-time translation is on.
    std::string LoadResString(const std::string& Text) const;

private:
    struct TNoCase {
        bool operator()(const std::string& A, const std::string& B) const;
    };
    std::map<std::string, std::string, TNoCase> FTable;
    bool FLoaded = false;
    int FHooks = 0;
};

// The program's one language; it is the loader of every run-time text (ResStr).
TKVLanguage& Language();

// The language file's name: Override when it names a file in the program's folder, else the
// locale's name ("en_US") with ".lng". Exists tells whether a file in the program's folder exists.
std::string LanguageFileName(const std::string& Override, const std::string& LocaleName,
                             const std::function<bool(const std::string& Name)>& Exists);

// The debug sink: takes the long form of each MIDI trace line and keeps nothing.
class TConsoleDebuger {
public:
    static void DebugThis(const std::string& /*debugMsg*/) {}
};

} // namespace kv
