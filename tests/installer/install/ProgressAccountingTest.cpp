// The two bars of the installation: their percentages by phase, the phase bar restarting per
// phase, neither moving back, neither passing its end, and the slideshow's images.
#include "installer/install/ProgressAccounting.h"

#include <gtest/gtest.h>

TEST(ProgressAccounting, PhasesShareTheBarByWeightedBytes)
{
    ProgressTotals totals;
    totals.other = 1000;
    totals.mp3 = 100;
    totals.jpeg = 50;
    totals.mp3ToWav = true;
    totals.jpegToBmp = true;
    // T = 1000 + 2900 + 1000.
    EXPECT_EQ(overallPercent(kPhaseFiles, 0, totals), 0);
    EXPECT_EQ(overallPercent(kPhaseFiles, 1000, totals), 20 * 95 / 100);
    EXPECT_EQ(overallPercent(kPhaseMp3, 100, totals), (3900 * 100 / 4900) * 95 / 100);
    EXPECT_EQ(overallPercent(kPhaseJpeg, 50, totals), 95);
    EXPECT_EQ(overallPercent(kPhaseRegistry, 0, totals), 96);
    EXPECT_EQ(overallPercent(kPhaseShortcuts, 0, totals), 97);
    EXPECT_EQ(overallPercent(kPhaseRegistration, 0, totals), 99);
    EXPECT_EQ(overallPercent(9, 0, totals), 100);
}

TEST(ProgressAccounting, TotalsThatUndercountStopAtTheFilePhasesShare)
{
    ProgressTotals totals;
    totals.other = 100;
    EXPECT_EQ(overallPercent(kPhaseFiles, 5000, totals), 95);
    totals.other = 0;
    EXPECT_EQ(overallPercent(kPhaseFiles, 0xFFFFFFFFull, totals), 95);
}

TEST(ProgressAccounting, BarsNeverMoveBackAndThePhaseBarRestartsPerPhase)
{
    ProgressTracker tracker;
    ProgressTotals totals;
    totals.other = 100;
    auto u = tracker.update(kPhaseFiles, 0, 0, totals, 0);
    EXPECT_EQ(u.phaseBar, 0);
    EXPECT_EQ(u.overallBar, 0);
    u = tracker.update(kPhaseFiles, 60, 60, totals, 0);
    EXPECT_EQ(u.phaseBar, 60);
    EXPECT_EQ(u.overallBar, 57);
    u = tracker.update(kPhaseFiles, 40, 40, totals, 0);
    EXPECT_FALSE(u.phaseBar);
    EXPECT_FALSE(u.overallBar);
    EXPECT_EQ(u.overall, 57);
    u = tracker.update(kPhaseFiles, 250, 250, totals, 0);
    EXPECT_EQ(u.phaseBar, 100);
    EXPECT_EQ(u.overallBar, 95);
    u = tracker.update(kPhaseRegistry, 0, 0, totals, 0);
    EXPECT_EQ(u.phaseBar, 0);
    EXPECT_EQ(u.overallBar, 96);
    u = tracker.update(kPhaseFiles, -5, 0, totals, 0);
    EXPECT_EQ(u.phaseBar, 0);
    EXPECT_FALSE(u.overallBar);
    EXPECT_EQ(tracker.overallShown(), 96);
}

TEST(ProgressAccounting, FourSlidesAppearAtEachQuarterAndNoneAtTheEnd)
{
    ProgressTracker tracker;
    ProgressTotals totals;
    totals.other = 95;
    std::vector<std::int32_t> shown;
    for (std::uint64_t done : {0, 10, 25, 27, 60, 79, 95}) {
        const auto u = tracker.update(kPhaseFiles, 0, done * 100 / 95, totals, 4);
        if (u.slide)
            shown.push_back(*u.slide);
    }
    const auto end = tracker.update(9, 100, 0, totals, 4);
    EXPECT_FALSE(end.slide);
    EXPECT_EQ(shown, (std::vector<std::int32_t>{0, 1, 2, 3}));
}
