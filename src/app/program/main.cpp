// Korvanel.exe: the language is chosen, the application titled, the main window and the options
// window made (the options read the settings and open the devices), the keyboard-layout window
// (loading the last layout) and the piano-roll window made hidden, then the message loop runs.
// At the end the windows go in the reverse order; the options window writes the settings.
#include "app/uSettings.h"
#include "app/win/fKeyboard.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRoll.h"
#include "app/win/uLanguageWin.h"
#include "app/win/uProgram.h"
#include "gui/win/TApplication.h"

#include <windows.h>

#include <memory>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace kv;
    InitCommonControlClasses();
    const std::string settings = SettingsFileName(ProgramPath());
    LoadLanguage(settings, ProgramFolder());
    Application()->SetTitle(ApplicationTitle);
    Application()->OnMessage = [](MSG& Msg) { return frmMain && frmMain->ApplicationEvents1Message(Msg); };

    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmOption> options;
    std::unique_ptr<TfrmKeyboard> keyboard;
    std::unique_ptr<TfrmRoll> roll;
    const bool created = GuardedCall([&] {
        main = std::make_unique<TfrmMain>(nullptr);
        frmMain = main.get();
        frmMain->SetMainForm(true);
        options = std::make_unique<TfrmOption>(nullptr, frmMain, settings);
        frmOption = options.get();
        keyboard = std::make_unique<TfrmKeyboard>(nullptr, frmMain, settings);
        frmKeyboard = keyboard.get();
        roll = std::make_unique<TfrmRoll>(nullptr, frmMain, settings);
        frmRoll = roll.get();
    });
    if (created) {
        frmMain->Show();
        GuardedCall([] { frmMain->FormShow(); });
        Application()->Run();
    }
    Application()->OnMessage = nullptr;
    roll.reset();
    keyboard.reset();
    options.reset();
    main.reset();
    return 0;
}
