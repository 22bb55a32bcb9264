#include "installer/sysinfo/CpuIdentification.h"
#include "installer/sysinfo/CpuSpeed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

// A processor of a fixed clock against a counter that moves on by a fixed step at each read,
// or scripted cycle rates against a millisecond clock that moves on every other read.
class ScriptedClock : public SpeedClock {
public:
    std::uint64_t frequency = 10000000; // 10 MHz counter
    bool hasCounter = true;
    bool hasTimeStamp = true;
    std::uint64_t ticksPerRead = 5;
    std::uint64_t cpuHz = 2400000000;
    // Milliseconds: the clock's tick count and the cycles that pass per millisecond.
    std::vector<std::uint32_t> cyclesPerMsScript;
    bool throwOnSleep = false;

    int raised = 0;
    int restored = 0;
    bool priorityReadable = true;

    bool counterFrequency(std::uint64_t& ticksPerSecond) override
    {
        ticksPerSecond = frequency;
        return hasCounter;
    }
    std::uint64_t counter() override
    {
        counter_ += ticksPerRead;
        return counter_;
    }
    std::uint64_t timeStamp() override
    {
        // The cycles that match the counter's time, or the scripted millisecond rate.
        if (!cyclesPerMsScript.empty()) {
            ++stamps_;
            return cycles_;
        }
        return frequency ? counter_ / frequency * cpuHz + counter_ % frequency * cpuHz / frequency : 0;
    }
    bool timeStampAvailable() override { return hasTimeStamp; }
    std::uint32_t milliseconds() override
    {
        // Every other read the clock moves on by one millisecond.
        if (++reads_ % 2 == 0) {
            ++ms_;
            cycles_ += rate();
        }
        return ms_;
    }
    void sleep(std::uint32_t ms) override
    {
        if (throwOnSleep)
            throw std::runtime_error("sleep");
        ms_ += ms;
        cycles_ += std::uint64_t{ms} * rate();
    }
    bool raisePriority() override
    {
        if (!priorityReadable)
            return false;
        ++raised;
        return true;
    }
    void restorePriority() override { ++restored; }
    void busyLoop(std::uint32_t) override { counter_ += 5; }

private:
    // One measurement reads the time stamp twice: the script gives each measurement its rate.
    std::uint64_t rate() const
    {
        if (cyclesPerMsScript.empty())
            return 0;
        const std::size_t i = stamps_ / 2;
        return cyclesPerMsScript[i < cyclesPerMsScript.size() ? i : cyclesPerMsScript.size() - 1];
    }

    std::uint64_t counter_ = 0;
    std::uint64_t cycles_ = 0;
    std::uint32_t ms_ = 0;
    unsigned reads_ = 0;
    std::size_t stamps_ = 0;
};

TEST(CpuSpeed, CyclesPerMillisecondRoundAtTheHundreds)
{
    struct Case {
        std::uint64_t cyclesPerMs;
        std::uint32_t mhz;
    };
    const Case cases[] = {{1499, 1}, {1500, 2}, {0, 0}, {999, 1}, {2992499, 2992}, {2992500, 2993},
                          {std::uint64_t{1} << 40, 1099511628}};
    for (const Case& c : cases)
        EXPECT_EQ(mhzFromCyclesPerMillisecond(c.cyclesPerMs), c.mhz) << c.cyclesPerMs;
}

TEST(CpuSpeed, MajorityTakesTheEarliestOnATie)
{
    const std::uint32_t measured[] = {2992, 2993, 2993, 2992, 2991, 2993, 2992, 2990};
    EXPECT_EQ(mostFrequent(measured, 8), 2992u);
    const std::uint32_t single[] = {5, 6, 7};
    EXPECT_EQ(mostFrequent(single, 3), 5u);
    EXPECT_EQ(mostFrequent(single, 0), 0u);
}

TEST(CpuSpeed, TicksToMicrosecondsNeverDividesByZeroOrWraps)
{
    struct Case {
        std::uint64_t ticks, frequency, microseconds;
    };
    const Case cases[] = {
        {1000, 0, 0},                     // no counter
        {3, 1, 3000000},                  // a frequency below 10
        {7, 9, 777778},                   // rounded to nearest
        {1000, 3579545, 279},             // the classic timer chip
        {1000, 10000000, 100},
        {std::numeric_limits<std::uint64_t>::max(), 1000, 18446744073709551615ull / 1000 * 1000000 + 615000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ticksToMicroseconds(c.ticks, c.frequency), c.microseconds) << c.ticks << " / " << c.frequency;
}

TEST(CpuSpeed, RoundingOfTheSpeedRecord)
{
    EXPECT_EQ(roundedQuotient(2400, 0), 0u);
    EXPECT_EQ(roundedQuotient(2450, 100), 24u);
    EXPECT_EQ(roundedQuotient(2451, 100), 25u);
    EXPECT_EQ(mhzRoundedByTenths(1000, 0), 0u);
    // Tenths 5 and hundredths 6 round up; tenths 5 and hundredths 5 do not; tenths 6 always.
    EXPECT_EQ(mhzRoundedByTenths(12560, 1000), 13u);
    EXPECT_EQ(mhzRoundedByTenths(12550, 1000), 12u);
    EXPECT_EQ(mhzRoundedByTenths(12600, 1000), 13u);
    EXPECT_EQ(mhzRoundedByTenths(12499, 1000), 12u);
    // More cycles than 32 bits hold.
    EXPECT_EQ(mhzRoundedByTenths(std::uint64_t{3000000000} * 20, 20000000), 3000u);
}

TEST(CpuSpeed, PassesAgreeWithinThreeOfTheirMean)
{
    EXPECT_TRUE(passesAgree(2400, 2401, 2402));
    EXPECT_FALSE(passesAgree(2400, 2400, 2403)); // 3 x 2403 - 7203 = 6
    EXPECT_FALSE(passesAgree(2400, 2400, 2405));
    EXPECT_TRUE(passesAgree(0, 0, 0));
    EXPECT_TRUE(passesAgree(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFEu));
}

TEST(CpuSpeed, CounterMeasurementFindsTheClockAndRestoresPriority)
{
    ScriptedClock clock;
    const SpeedRecord record = measureCpuMhz(clock, kCpuIntelPentium4, kCpuFeatureTimeStampCounter);
    EXPECT_EQ(record.mhzTruncated, 2400u);
    EXPECT_EQ(record.mhzRounded, 2400u);
    EXPECT_GT(record.microseconds, 0u);
    // Three passes of 100 us at 2.4 GHz agree at once.
    EXPECT_EQ(record.cycles, 3u * 240000);
    EXPECT_EQ(record.microseconds, 300u);
    EXPECT_EQ(clock.raised, clock.restored);
    EXPECT_GE(clock.raised, 3);

    clock.priorityReadable = false;
    EXPECT_EQ(measureCpuMhz(clock, kCpuIntelPentium4, kCpuFeatureTimeStampCounter).mhzRounded, 2400u);
}

TEST(CpuSpeed, FastProcessorsDoNotWrap)
{
    ScriptedClock clock;
    clock.cpuHz = 50000000000ull; // 50 GHz: a pass's cycles exceed 32 bits
    clock.frequency = 1000;       // a slow counter: one pass takes a second
    EXPECT_EQ(measureCpuMhz(clock, kCpuIntelPentium4, kCpuFeatureTimeStampCounter).mhzRounded, 50000u);
}

TEST(CpuSpeed, NoCounterOrOddFrequenciesMeasureWithoutFault)
{
    ScriptedClock clock;
    clock.hasCounter = false;
    const SpeedRecord none = measureCpuMhz(clock, kCpuIntelPentium4, kCpuFeatureTimeStampCounter);
    EXPECT_EQ(none.cycles, 0u);
    EXPECT_EQ(none.microseconds, 0u);
    EXPECT_EQ(none.mhzRounded, 0u);

    for (const std::uint64_t frequency : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{9}, std::uint64_t{11}}) {
        ScriptedClock odd;
        odd.frequency = frequency;
        odd.cpuHz = 1000000; // 1 MHz, so the slow counters still show a speed
        const SpeedRecord record = measureCpuMhz(odd, kCpuIntelPentium4, kCpuFeatureTimeStampCounter);
        if (frequency == 0)
            EXPECT_EQ(record.mhzRounded, 0u);
        else
            EXPECT_EQ(record.mhzRounded, 1u) << frequency;
    }
}

TEST(CpuSpeed, LoopMeasurementWithoutTimeStampCounter)
{
    ScriptedClock clock;
    clock.frequency = 1000000; // 1 us per tick; the loop takes 5 + 5 ticks
    struct Case {
        std::int32_t type;
        std::uint32_t mhz;
    };
    for (const Case c : {Case{1, 18800}, Case{2, 17200}, Case{5, 15200}}) {
        const SpeedRecord record = measureCpuMhz(clock, c.type, 0);
        EXPECT_EQ(record.cycles, loopCycles(c.type));
        EXPECT_EQ(record.microseconds, 10u);
        EXPECT_EQ(record.mhzRounded, c.mhz) << c.type;
    }
}

TEST(CpuSpeed, OnceAndMajorityAgainstTheMillisecondClock)
{
    ScriptedClock clock;
    clock.cyclesPerMsScript = {1500, 2992000, 2993000, 2993000, 2992000, 2991000, 2993000, 2992000, 2990000};
    EXPECT_EQ(measureCpuMhzOnce(clock), 2u);
    EXPECT_EQ(measureCpuMhzMajority(clock), 2992u);
    EXPECT_EQ(clock.raised, clock.restored);

    ScriptedClock noStamp;
    noStamp.hasTimeStamp = false;
    EXPECT_EQ(measureCpuMhzOnce(noStamp), 0u);

    // A fault in the middle gives 0 and restores the priority.
    ScriptedClock faulty;
    faulty.cyclesPerMsScript = {2000000};
    faulty.throwOnSleep = true;
    EXPECT_EQ(measureCpuMhzOnce(faulty), 0u);
    EXPECT_EQ(faulty.raised, faulty.restored);
}

TEST(CpuSpeed, ReportedSpeedByVendor)
{
    ScriptedClock clock;
    EXPECT_EQ(reportedCpuMhz(clock, kCpuVendorUnknown, 0, kCpuFeatureTimeStampCounter), 0u);
    EXPECT_EQ(reportedCpuMhz(clock, kCpuVendorIntel, 7, kCpuFeatureTimeStampCounter), 2400u);
    clock.hasCounter = false;
    EXPECT_EQ(reportedCpuMhz(clock, kCpuVendorIntel, 7, kCpuFeatureTimeStampCounter), 0u);
    ScriptedClock amd;
    amd.cyclesPerMsScript = {1800000};
    EXPECT_EQ(reportedCpuMhz(amd, kCpuVendorAmd, 1024, kCpuFeatureTimeStampCounter), 1800u);
}

} // namespace
