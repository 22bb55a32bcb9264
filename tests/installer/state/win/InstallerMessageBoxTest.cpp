#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"

#include <gtest/gtest.h>

TEST(InstallerMessageBox, SilentRunShowsNothingAndGivesTheDefaultAnswers)
{
    gFlags.silent = true;
    const std::pair<UINT, int> cases[] = {
        {MB_OK, IDOK}, {MB_OKCANCEL | MB_ICONQUESTION, IDOK}, {MB_YESNO, IDYES}, {MB_YESNOCANCEL, IDYES},
        {MB_RETRYCANCEL, IDCANCEL}, {MB_ABORTRETRYIGNORE | MB_ICONERROR, IDIGNORE},
    };
    // A box that was shown would wait for an answer that never comes.
    for (const auto& [type, answer] : cases)
        EXPECT_EQ(messageBox(nullptr, "Do your really want to exit setup?", nullptr, type), answer) << type;
    EXPECT_EQ(errorBox(nullptr, nullptr, nullptr), IDOK);
    gFlags.silent = false;
}
