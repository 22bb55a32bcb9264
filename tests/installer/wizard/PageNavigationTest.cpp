// Moving through the wizard's page sequence forward and back, over a host that records what the
// navigation asks of it.
#include "installer/state/InstallerState.h"
#include "installer/wizard/PageNavigation.h"
#include "installer/wizard/PageSequence.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Page {
    std::int32_t type;
    bool showOnce = false;
    bool shown = false;
    bool conditionHolds = true;
};

class RecordingHost : public NavigationHost {
public:
    std::map<std::int32_t, std::int32_t> stepAnswers;
    std::set<std::size_t> failingConditions;
    bool onlyOnProblems = false;
    bool probesFoundProblems = false;
    std::int32_t type = kTypicalInstallation;
    std::vector<std::string> calls;
    const std::vector<TemplateEntry>* pages = nullptr;

    void runFirstStep() override { calls.push_back("first"); }
    std::int32_t runStep(std::int32_t step) override
    {
        calls.push_back("step " + std::to_string(step));
        const auto answer = stepAnswers.find(step);
        return answer == stepAnswers.end() ? -1 : answer->second;
    }
    bool conditionHolds(const TemplateEntry& page) override
    {
        return failingConditions.count(std::size_t(&page - pages->data())) == 0;
    }
    bool systemPageOnlyOnProblems() override { return onlyOnProblems; }
    bool systemInfoFoundProblems() override { return probesFoundProblems; }
    void checkPrerequisites() override { calls.push_back("prerequisites"); }
    std::int32_t installationType() override { return type; }
    void evaluateComponentsSilently() override { calls.push_back("components taken"); }
    void showPage(std::int32_t pageType) override { calls.push_back("show " + std::to_string(pageType)); }
    void destroyCurrentPage() override { calls.push_back("destroy"); }
    void endWizard() override { calls.push_back("end"); }
};

struct Wizard {
    std::vector<TemplateEntry> pages;
    std::int32_t index = -1;
    bool prerequisitesDone = true;
    RecordingHost host;
    NavigationState state{pages, index, prerequisitesDone};

    Wizard(std::initializer_list<Page> sequence, std::int32_t startIndex)
        : index(startIndex)
    {
        for (const Page& page : sequence) {
            if (!page.conditionHolds)
                host.failingConditions.insert(pages.size());
            pages.emplace_back();
            pages.back().pageType = page.type;
            pages.back().showOnce = page.showOnce;
            pages.back().shown = page.shown;
        }
        host.pages = &pages;
    }
};

using Calls = std::vector<std::string>;

enum class Move { next, back };

struct Case {
    const char* what;
    std::initializer_list<Page> pages;
    std::int32_t from;
    Move move;
    std::map<std::int32_t, std::int32_t> answers;
    std::int32_t installationType;
    Calls calls;
    std::int32_t indexAfter;
};

} // namespace

TEST(PageNavigation, MovesThroughTheSequence)
{
    const Page seenOnce{2, true, true};
    const Page failing{4, false, false, false};
    const Case cases[] = {
        {"start: the plug-in's first call, then the first page", {{2}, {3}}, -1, Move::next, {}, 2,
         {"first", "show 2"}, 0},
        {"Next runs the step of the page left", {{2}, {3}, {13}}, 0, Move::next, {}, 2, {"step 2", "show 3"}, 1},
        {"a page seen once is passed and its step still runs", {{2}, seenOnce, {3}}, 0, Move::next, {}, 2,
         {"step 2", "step 2", "show 3"}, 2},
        {"a page whose condition fails is passed", {{2}, failing, {6}}, 0, Move::next, {}, 2,
         {"step 2", "step 4", "show 6"}, 2},
        {"a step answering stay shows the page again", {{2}, {3}}, 0, Move::next, {{2, 1}}, 2, {"step 2", "show 2"},
         0},
        {"a step answering 2 stays too", {{2}, {3}}, 0, Move::next, {{2, 2}}, 2, {"step 2", "show 2"}, 0},
        {"a step answering go on moves on", {{2}, {3}}, 0, Move::next, {{2, 0}}, 2, {"step 2", "show 3"}, 1},
        {"a show-once page stays when its step says so", {seenOnce, {3}}, 0, Move::next, {{2, 1}}, 2,
         {"step 2", "show 2"}, 0},
        {"the stay of a passed page keeps the page being left", {{6}, seenOnce, {3}}, 0, Move::next, {{2, 1}}, 2,
         {"step 6", "step 2", "show 6"}, 0},
        {"the installation page's stay is ignored", {{13}, {12}}, 0, Move::next, {{12, 1}}, 2,
         {"step 12", "show 12"}, 1},
        {"the finish page left forward runs the finish step", {{12}, {15}}, 0, Move::next, {}, 2,
         {"step 13", "show 15"}, 1},
        {"a custom page runs its own step", {{15}, {2}}, 0, Move::next, {}, 2, {"step 15", "show 2"}, 1},
        {"types below the custom range have no step", {{14}, {2}, {3}}, 0, Move::next, {}, 2, {"show 2"}, 1},
        {"Next on the last page ends the wizard", {{2}, {12}}, 1, Move::next, {}, 2,
         {"step 13", "destroy", "step 13", "end"}, 2},
        {"the uninstaller's template is never reached", {{2}, {12}, {14}}, 1, Move::next, {}, 2,
         {"step 13", "destroy", "step 13", "end"}, 2},
        {"an index past the end ends the wizard", {{2}, {12}}, 7, Move::next, {}, 2,
         {"destroy", "step 13", "end"}, 2},
        {"components hidden by a type page even when it is passed", {{2}, {9, false, false, false}, {10}, {11}}, 0,
         Move::next, {}, 2, {"step 2", "step 9", "step 10", "show 11"}, 3},
        {"components shown for a custom installation", {{2}, {9, false, false, false}, {10}, {11}}, 0, Move::next,
         {}, 4, {"step 2", "step 9", "show 10"}, 2},
        {"components shown without a type page", {{2}, {10}, {11}}, 0, Move::next, {}, 2, {"step 2", "show 10"}, 1},
        {"passed custom components still take their choices", {{2}, {10, true, true}, {11}}, 0, Move::next, {}, 4,
         {"step 2", "components taken", "step 10", "show 11"}, 2},

        {"Back runs the landing page's step", {{2}, {3}, {6}}, 2, Move::back, {}, 2, {"step 3", "show 3"}, 1},
        {"Back on the first page shows it again", {{2}, {3}}, 0, Move::back, {}, 2, {"show 2"}, 0},
        {"Back passes a page seen once", {{2}, seenOnce, {6}}, 2, Move::back, {}, 2,
         {"step 2", "step 2", "show 2"}, 0},
        {"when everything before is passed the first entry is shown", {seenOnce, seenOnce, {6}}, 2, Move::back, {},
         2, {"step 2", "step 2", "show 2"}, 0},
        {"a landing step answering go on goes forward again", {{2}, {3}, {6}}, 2, Move::back, {{3, 0}}, 2,
         {"step 3", "show 6"}, 2},
        {"a landing step answering stay shows that page", {{2}, {3}, {6}}, 2, Move::back, {{3, 1}}, 2,
         {"step 3", "show 3"}, 1},
        {"a landing step answering 2 shows that page", {{2}, {3}, {6}}, 2, Move::back, {{3, 2}}, 2,
         {"step 3", "show 3"}, 1},
        {"a landing step going on from the first entry moves to the second", {{2}, {3}, {6}}, 1, Move::back,
         {{2, 0}}, 2, {"step 2", "show 3"}, 1},
        {"going back skips components unless custom", {{2}, {10}, {11}}, 2, Move::back, {}, 2,
         {"step 10", "step 2", "show 2"}, 0},
        {"going back shows custom components", {{2}, {10}, {11}}, 2, Move::back, {}, 4, {"step 10", "show 10"}, 1},
        {"Back on the finish page ends the wizard with the installation done", {{11}, {13}, {12}}, 2, Move::back,
         {}, 2, {"end"}, 1},
        {"Back over passed pages after the installation ends it too", {{13}, {16, true, true}, {12}}, 2, Move::back,
         {}, 2, {"step 16", "end"}, 0},
        {"Back from past the end lands on the last entry", {{2}, {3}}, 9, Move::back, {}, 2, {"step 3", "show 3"},
         1},
    };
    for (const Case& c : cases) {
        Wizard wizard(c.pages, c.from);
        wizard.host.stepAnswers = c.answers;
        wizard.host.type = c.installationType;
        if (c.move == Move::next)
            goNext(wizard.state, wizard.host, false);
        else
            goBack(wizard.state, wizard.host, false);
        EXPECT_EQ(wizard.host.calls, c.calls) << c.what;
        EXPECT_EQ(wizard.index, c.indexAfter) << c.what;
    }
}

TEST(PageNavigation, ShownPagesAreMarkedGoingForwardOnly)
{
    Wizard wizard({{2, true}, {3, true}, {6}}, -1);
    goNext(wizard.state, wizard.host, false);
    goNext(wizard.state, wizard.host, false);
    EXPECT_TRUE(wizard.pages[0].shown);
    EXPECT_TRUE(wizard.pages[1].shown);
    goNext(wizard.state, wizard.host, false);
    wizard.host.calls.clear();
    // Back from the third page: both show-once pages were seen, so the first is shown again anyway.
    goBack(wizard.state, wizard.host, false);
    EXPECT_EQ(wizard.host.calls, (Calls{"step 3", "step 2", "show 2"}));
    EXPECT_EQ(wizard.index, 0);
    // Forward again passes both seen pages.
    wizard.host.calls.clear();
    goNext(wizard.state, wizard.host, false);
    EXPECT_EQ(wizard.host.calls, (Calls{"step 2", "step 3", "show 6"}));
}

TEST(PageNavigation, PrerequisitesAreCheckedOnceAfterTheLicenseOrBeforeTheInstallation)
{
    Wizard afterLicense({{3}, {6}, {13}}, 0);
    afterLicense.prerequisitesDone = false;
    goNext(afterLicense.state, afterLicense.host, false);
    goNext(afterLicense.state, afterLicense.host, false);
    EXPECT_EQ(afterLicense.host.calls, (Calls{"step 3", "prerequisites", "show 6", "step 6", "show 13"}));

    Wizard beforeInstallation({{2}, {13}}, 0);
    beforeInstallation.prerequisitesDone = false;
    goNext(beforeInstallation.state, beforeInstallation.host, false);
    EXPECT_EQ(beforeInstallation.host.calls, (Calls{"step 2", "prerequisites", "show 13"}));
    EXPECT_TRUE(beforeInstallation.prerequisitesDone);
}

TEST(PageNavigation, SystemPageOnlyWhenTheProbesFoundSomething)
{
    for (const bool problems : {false, true}) {
        Wizard wizard({{2}, {5}, {6}}, 0);
        wizard.host.onlyOnProblems = true;
        wizard.host.probesFoundProblems = problems;
        goNext(wizard.state, wizard.host, false);
        // The hidden page's step runs all the same.
        const Calls expected = problems ? Calls{"step 2", "show 5"} : Calls{"step 2", "step 5", "show 6"};
        EXPECT_EQ(wizard.host.calls, expected);
    }
    Wizard back({{2}, {5}, {6}}, 2);
    back.host.onlyOnProblems = true;
    goBack(back.state, back.host, false);
    EXPECT_EQ(back.host.calls, (Calls{"step 5", "step 2", "show 2"}));
}

TEST(PageNavigation, PluginsThatAlwaysSayStayOrGoOnCannotTrapTheWizard)
{
    // A seen show-once page between two others whose step always says stay, with the page before
    // it always saying go on: the wizard must settle on a page.
    Wizard forward({{6}, {2, true, true}, {3}}, 0);
    forward.host.stepAnswers = {{2, 1}, {6, 0}};
    goNext(forward.state, forward.host, false);
    ASSERT_FALSE(forward.host.calls.empty());
    EXPECT_EQ(forward.host.calls.back(), "show 6");
    EXPECT_EQ(forward.index, 0);

    Wizard back({{6}, {2, true, true}, {3}}, 2);
    back.host.stepAnswers = {{2, 1}, {6, 0}, {3, 0}};
    goBack(back.state, back.host, false);
    ASSERT_FALSE(back.host.calls.empty());
    EXPECT_EQ(back.host.calls.back(), "show 6");
    EXPECT_EQ(back.index, 0);
}

TEST(PageNavigation, TheIndexStartsBeforeTheFirstPage)
{
    const MainInstaller fresh;
    EXPECT_EQ(fresh.currentPageIndex, -1);
    std::vector<TemplateEntry> pages(3);
    pages[2].pageType = kInstallationPage;
    EXPECT_TRUE(installationPageAhead(pages, fresh.currentPageIndex));
    EXPECT_TRUE(sequenceEnded(pages, 3));
    EXPECT_TRUE(sequenceEnded(pages, 4)) << "past the last page counts as the end";
    EXPECT_FALSE(sequenceEnded(pages, 2));
}
