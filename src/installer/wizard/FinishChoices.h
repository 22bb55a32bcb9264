#pragma once
// What the finish page offers, from the package's option word: restarting (now or later),
// starting the program, opening the readme and a second program. Pending reboot-time renames
// leave only the restart choice.
#include <cstdint>

struct FinishChoices {
    bool restartOffered = false;
    bool restartLaterEnabled = false;
    bool launchShown = false;
    bool launchChecked = false;
    bool readmeShown = false;
    bool readmeChecked = false;
    bool extraShown = false;
    // Where the extra program's box goes when it is shown: the place of the launch box when
    // that is hidden, else the readme box's place when that is hidden, else its own.
    enum class ExtraPlace { Own, LaunchBox, ReadmeBox } extraPlace = ExtraPlace::Own;
};

// Adjusts optionWord as the finish page does (renames pending: restart only; restart: no extra
// program) and says what the page shows.
FinishChoices finishChoices(std::uint32_t& optionWord, bool renamesPending);
