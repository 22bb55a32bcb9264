// The next-volume dialog from the installer's resources: its prompt, captions and answers.
#include "installer/wizard/win/NextVolumeDialog.h"

#include "installer/state/InstallerState.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

namespace {

const char* const kTitle = "Next volume test";

class NextVolumeDialog : public ::testing::Test {
protected:
    NextVolumeDialog()
    {
        set(1, "Browse");
        set(2, "Cancel");
        set(6, "OK");
        set(121, "Please insert disk %d.");
        set(122, "Insert it into the drive.");
        set(123, "It must lie beside the setup.");
        set(124, "Then press OK.");
        gSetupTitle = ByteString(kTitle);
    }
    ~NextVolumeDialog() override
    {
        for (std::size_t i : {1, 2, 6, 121, 122, 123, 124})
            gLanguageTexts[i] = ByteString();
        gSetupTitle = ByteString();
    }
    static void set(std::size_t i, const char* text) { gLanguageTexts[i] = ByteString(text); }

    // Shows the dialog, reads what it shows and presses button.
    int showAndPress(ByteString& name, int button)
    {
        pressed = button;
        shownPrompt.clear();
        shownOk.clear();
        SetTimer(nullptr, 0, 50, &onTimer);
        return showNextVolumeDialog(name, 2);
    }

    static inline int pressed = IDCANCEL;
    static inline std::string shownPrompt;
    static inline std::string shownOk;

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND dialog = FindWindowA("#32770", kTitle);
        if (!dialog)
            return;
        KillTimer(nullptr, id);
        char text[512] = {};
        GetDlgItemTextA(dialog, kNextVolumePromptId, text, sizeof(text));
        shownPrompt = text;
        GetDlgItemTextA(dialog, IDOK, text, sizeof(text));
        shownOk = text;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED), 0);
    }

    TempFolder folder_;
};

TEST_F(NextVolumeDialog, PromptIsComposedFromTheLanguageTexts)
{
    struct Case {
        const char* insert;
        bool fixed;
        const char* expected;
    } cases[] = {
        {"Please insert disk %d.", false, "Please insert disk 3. Insert it into the drive. Then press OK."},
        {"Please insert disk %d.", true, "Please insert disk 3. It must lie beside the setup. Then press OK."},
        {"Where is %s?", true, "Where is D:\\setup.003? It must lie beside the setup. Then press OK."},
    };
    for (const auto& c : cases) {
        set(121, c.insert);
        EXPECT_STREQ(nextVolumePrompt(ByteString("D:\\setup.003"), 3, c.fixed).cStr(), c.expected) << c.insert;
    }
    // No second blank when the drive text ends with one.
    set(121, "Please insert disk %d.");
    set(123, "Beside the setup. ");
    EXPECT_STREQ(nextVolumePrompt(ByteString("x.003"), 3, true).cStr(), "Please insert disk 3. Beside the setup. Then press OK.");
}

TEST_F(NextVolumeDialog, CancelAnswersZeroAndOkNeedsTheFile)
{
    TempFolder folder;
    ByteString name(folder.file("setup.002").c_str());
    EXPECT_EQ(showAndPress(name, IDCANCEL), 0);
    EXPECT_EQ(shownOk, "OK");
    EXPECT_EQ(shownPrompt, "Please insert disk 2. It must lie beside the setup. Then press OK.");

    std::ofstream(folder.file("setup.002")) << "volume";
    EXPECT_EQ(showAndPress(name, IDOK), 1);
    EXPECT_EQ(std::string(name.cStr()), folder.file("setup.002"));
}

} // namespace
