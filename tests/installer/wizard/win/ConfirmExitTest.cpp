// The exit question: its text, and the answer that keeps the installer going.
#include "installer/wizard/win/ConfirmExit.h"

#include "installer/state/InstallerState.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

struct Answerer {
    std::string seenText;
    std::atomic<bool> done{false};
};

BOOL CALLBACK collectText(HWND child, LPARAM answererAddress)
{
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    if (std::string(text).find("exit") != std::string::npos)
        reinterpret_cast<Answerer*>(answererAddress)->seenText = text;
    return TRUE;
}

BOOL CALLBACK findShownBox(HWND window, LPARAM found)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Waits for this thread's message box, notes its question and answers it with the given button.
void answerBox(DWORD threadId, int button, Answerer& answerer)
{
    for (int tries = 0; tries < 500 && !answerer.done; ++tries) {
        Sleep(10);
        HWND box = nullptr;
        EnumThreadWindows(threadId, findShownBox, reinterpret_cast<LPARAM>(&box));
        if (box) {
            EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&answerer));
            PostMessageA(box, WM_COMMAND, WPARAM(button), 0);
            answerer.done = true;
        }
    }
}

bool askAndAnswer(int button, Answerer& answerer)
{
    std::thread clicker(answerBox, GetCurrentThreadId(), button, std::ref(answerer));
    const bool leave = confirmExit();
    clicker.join();
    return leave;
}

} // namespace

TEST(ConfirmExit, NoKeepsTheInstallerGoingAndYesLeaves)
{
    const ByteString savedText = gLanguageTexts[10];
    gLanguageTexts[10] = ByteString();
    Answerer no;
    EXPECT_FALSE(askAndAnswer(IDNO, no));
    EXPECT_EQ(no.seenText, "Do your really want to exit setup?") << "the text when the language has none";

    gLanguageTexts[10] = ByteString("Really exit now?");
    Answerer yes;
    EXPECT_TRUE(askAndAnswer(IDYES, yes));
    EXPECT_EQ(yes.seenText, "Really exit now?");
    gLanguageTexts[10] = savedText;
}
