// What the finish page offers for the package's option word, and how the page changes that word.
#include "installer/state/InstallerState.h"
#include "installer/wizard/FinishChoices.h"

#include <gtest/gtest.h>

namespace {

using Place = FinishChoices::ExtraPlace;

constexpr std::uint32_t kRestart = kOptionRestartAtEnd, kReadme = kOptionOpenReadme, kLaunch = kOptionStartProgram,
                        kExtra = kOptionThirdFinishItem, kLaunchOn = kOptionStartProgramPreselected,
                        kReadmeOn = kOptionOpenReadmePreselected, kFixed = kOptionRestartChoiceFixed;

struct Case {
    const char* what;
    std::uint32_t options;
    bool renames;
    // restart offered, later enabled, launch shown, launch checked, readme shown, readme checked, extra shown
    bool expected[7];
    Place place;
    std::uint32_t optionsAfter;
};

} // namespace

TEST(FinishChoices, OfferWhatThePackageAsksAndOnlyRestartWhenRenamesWait)
{
    const Case cases[] = {
        {"nothing offered", 0, false, {false, false, false, false, false, false, false}, Place::Own, 0},
        {"launch and readme with their defaults", kLaunch | kReadme | kLaunchOn, false,
         {false, false, true, true, true, false, false}, Place::Own, kLaunch | kReadme | kLaunchOn},
        {"checked by default only when offered", kLaunchOn | kReadmeOn, false,
         {false, false, false, false, false, false, false}, Place::Own, kLaunchOn | kReadmeOn},
        {"restart with the later choice", kRestart, false, {true, true, false, false, false, false, false},
         Place::Own, kRestart},
        {"restart without the later choice", kRestart | kFixed, false, {true, false, false, false, false, false, false},
         Place::Own, kRestart | kFixed},
        {"restart takes away the extra program", kRestart | kExtra | kLaunch, false,
         {true, true, true, false, false, false, false}, Place::Own, kRestart | kLaunch},
        {"pending renames leave only the restart", kLaunch | kReadme | kExtra | kLaunchOn, true,
         {true, true, false, false, false, false, false}, Place::Own, kRestart | kLaunchOn},
        {"extra without launch takes the launch box's place", kExtra | kReadme, false,
         {false, false, false, false, true, false, true}, Place::LaunchBox, kExtra | kReadme},
        {"extra with launch but no readme takes the readme box's place", kExtra | kLaunch, false,
         {false, false, true, false, false, false, true}, Place::ReadmeBox, kExtra | kLaunch},
        {"extra with both keeps its own place", kExtra | kLaunch | kReadme | kReadmeOn, false,
         {false, false, true, false, true, true, true}, Place::Own, kExtra | kLaunch | kReadme | kReadmeOn},
    };
    for (const Case& c : cases) {
        std::uint32_t options = c.options;
        const FinishChoices got = finishChoices(options, c.renames);
        const bool actual[7] = {got.restartOffered, got.restartLaterEnabled, got.launchShown, got.launchChecked,
                                got.readmeShown,    got.readmeChecked,       got.extraShown};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(actual[i], c.expected[i]) << c.what << ", field " << i;
        EXPECT_EQ(got.extraPlace, c.place) << c.what;
        EXPECT_EQ(options, c.optionsAfter) << c.what;
    }
}
