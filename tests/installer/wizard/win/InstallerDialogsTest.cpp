// The installer's own dialogs from its resources: texts, default buttons and answers.
#include "installer/wizard/win/InstallerDialogs.h"

#include "installer/wizard/win/ProgressBar.h"
#include "installer/wizard/win/TemplatePage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string textOf(HWND window)
{
    const ByteString text = controlText(window);
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

// The texts of the dialog's statics, in creation order.
std::vector<std::string> staticTexts(HWND dialog)
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = L"";
        GetClassNameW(child, name, 32);
        if (lstrcmpiW(name, L"Static") == 0)
            texts.push_back(textOf(child));
    }
    return texts;
}

// Ends the About box from a timer while it runs modally, with the message in pendingMessage.
UINT pendingMessage = WM_COMMAND;
void CALLBACK endAboutBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowW(L"#32770", L"About");
    if (!box)
        return;
    KillTimer(nullptr, id);
    PostMessageW(box, pendingMessage, pendingMessage == WM_COMMAND ? IDOK : 0, 0);
}

void CALLBACK cancelModalInput(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowW(L"#32770", L"Modal input");
    if (!box)
        return;
    KillTimer(nullptr, id);
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

HWND openModeless(int id, DLGPROC procedure, LPARAM parameter)
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, procedure, parameter);
}

} // namespace

TEST(InstallerDialogs, AboutBoxTextsAndDefaultButton)
{
    HWND about = openModeless(kAboutDialogId, aboutDialogProc, 0);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(textOf(about), "About");
    const auto texts = staticTexts(about);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Dravell Installer");
    EXPECT_EQ(texts[1], "Version 2.24.00");
    EXPECT_EQ(texts[2], "");
    EXPECT_EQ(LOWORD(SendMessageW(about, DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_EQ(textOf(GetDlgItem(about, IDOK)), "OK");
    DestroyWindow(about);
}

TEST(InstallerDialogs, AboutBoxEndsWithOkAndWithClose)
{
    for (const UINT message : {UINT(WM_COMMAND), UINT(WM_CLOSE)}) {
        pendingMessage = message;
        SetTimer(nullptr, 0, 50, endAboutBox);
        HWND owner = CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        runAboutBox(owner);
        EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner comes back";
        DestroyWindow(owner);
    }
}

TEST(InstallerDialogs, ProgressNoteTextIconAndBar)
{
    HWND note = openModeless(kProgressNoteDialogId, progressDialogProc, 0);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(textOf(note), "Dravell Installer");
    EXPECT_EQ(textOf(GetDlgItem(note, kProgressNoteTextId)), "Dravell Installer is initializing. Please wait....");
    // The program icon stands beside the text.
    HWND icon = GetWindow(note, GW_CHILD);
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
    // Painting before a bar was handed over draws nothing extra; afterwards the bar shows.
    UpdateWindow(note);
    ProgressBar bar;
    ASSERT_EQ(bar.create(note, 10, 60, 100, 16, RGB(0, 0, 200), kProgressSmooth, RGB(255, 255, 255), RGB(0, 0, 0)), 1);
    SendMessageW(note, kProgressNoteSetBar, 0, reinterpret_cast<LPARAM>(&bar));
    bar.setPercent(100);
    InvalidateRect(note, nullptr, TRUE);
    UpdateWindow(note);
    HDC dc = GetDC(note);
    EXPECT_EQ(GetPixel(dc, 15, 62), RGB(0, 0, 200));
    ReleaseDC(note, dc);
    bar.free();
    DestroyWindow(note);
}

TEST(InstallerDialogs, InputDialogShowsTheRequestAndAnswersOnlyOnOk)
{
    InputRequest request{ByteString("Your name"), ByteString("Please type \xCE\xA9:"), ByteString("")};
    HWND input = openModeless(kInputDialogId, inputDialogProc, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(textOf(input), "Your name");
    EXPECT_EQ(textOf(GetDlgItem(input, kInputPromptId)), "Please type \xCE\xA9:");
    EXPECT_EQ(LOWORD(SendMessageW(input, DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(input, IDCANCEL)));
    const HWND ok = GetDlgItem(input, IDOK);
    const HWND edit = GetDlgItem(input, kInputEditId);
    EXPECT_FALSE(IsWindowEnabled(ok)) << "nothing typed yet";
    setControlText(edit, ByteString("\xCE\xA9mega"));
    SendMessageW(input, WM_COMMAND, MAKEWPARAM(kInputEditId, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
    EXPECT_TRUE(IsWindowEnabled(ok));
    SetWindowTextW(edit, L"");
    SendMessageW(input, WM_COMMAND, MAKEWPARAM(kInputEditId, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
    EXPECT_FALSE(IsWindowEnabled(ok)) << "emptied again";
    // Cancel (Esc) leaves the value.
    setControlText(edit, ByteString("\xCE\xA9mega"));
    SendMessageW(input, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(request.value.empty());
    DestroyWindow(input);

    HWND again = openModeless(kInputDialogId, inputDialogProc, reinterpret_cast<LPARAM>(&request));
    setControlText(GetDlgItem(again, kInputEditId), ByteString("\xCE\xA9mega"));
    SendMessageW(again, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(request.value.data()), request.value.length()), "\xCE\xA9mega");
    DestroyWindow(again);
}

TEST(InstallerDialogs, InputDialogRunsModallyAndEscEndsItWithTwo)
{
    InputRequest request{ByteString("Modal input"), ByteString("Prompt"), ByteString("kept")};
    SetTimer(nullptr, 0, 50, cancelModalInput);
    EXPECT_EQ(runInputDialog(nullptr, request), IDCANCEL);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(request.value.data()), request.value.length()), "kept");
}
