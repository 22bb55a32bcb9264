#include "installer/sysinfo/CpuSpeed.h"

#include "installer/sysinfo/CpuIdentification.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kMicrosecondsPerSecond = 1000000;
constexpr std::uint64_t kSettleTicks = 50;
constexpr std::uint64_t kPassTicks = 1000;
constexpr int kMaxPasses = 20;
constexpr int kLoopRepeats = 10;
constexpr std::uint32_t kLoopIterations = 4000;
constexpr std::uint32_t kOnceSleepMs = 60;
constexpr std::size_t kMajorityTries = 8;

// Restores the priority it raised, also when the measurement leaves by an exception.
class PriorityBoost {
public:
    explicit PriorityBoost(SpeedClock& clock) : clock_(clock), raised_(clock.raisePriority()) {}
    ~PriorityBoost() { release(); }
    PriorityBoost(const PriorityBoost&) = delete;
    PriorityBoost& operator=(const PriorityBoost&) = delete;
    void release()
    {
        if (raised_)
            clock_.restorePriority();
        raised_ = false;
    }

private:
    SpeedClock& clock_;
    bool raised_;
};

SpeedRecord counterMeasurement(SpeedClock& clock, std::uint64_t frequency)
{
    SpeedRecord record;
    std::uint32_t recent[3] = {0, 0, 0};
    for (int pass = 1; pass <= kMaxPasses; ++pass) {
        std::uint64_t t0 = clock.counter();
        PriorityBoost boost(clock);
        std::uint64_t now = t0;
        std::uint64_t c0 = 0;
        do {
            now = clock.counter();
            c0 = clock.timeStamp();
        } while (now - t0 < kSettleTicks);
        t0 = now;
        std::uint64_t c1 = c0;
        do {
            now = clock.counter();
            c1 = clock.timeStamp();
        } while (now - t0 < kPassTicks);
        boost.release();

        const std::uint64_t microseconds = ticksToMicroseconds(now - t0, frequency);
        const std::uint64_t cycles = c1 - c0;
        record.cycles += cycles;
        record.microseconds += microseconds;
        recent[0] = recent[1];
        recent[1] = recent[2];
        recent[2] = roundedQuotient(cycles, microseconds);
        if (pass >= 3 && passesAgree(recent[0], recent[1], recent[2]))
            break;
    }
    return record;
}

SpeedRecord loopMeasurement(SpeedClock& clock, std::uint64_t frequency, std::int32_t cpuType)
{
    std::uint64_t fastest = 0;
    for (int i = 0; i < kLoopRepeats; ++i) {
        const std::uint64_t before = clock.counter();
        clock.busyLoop(kLoopIterations);
        const std::uint64_t taken = clock.counter() - before;
        if (i == 0 || taken < fastest)
            fastest = taken;
    }
    SpeedRecord record;
    record.cycles = loopCycles(cpuType);
    record.microseconds = ticksToMicroseconds(fastest, frequency);
    const std::uint32_t truncated = record.microseconds ? static_cast<std::uint32_t>(record.cycles / record.microseconds) : 0;
    record.mhzTruncated = truncated;
    record.mhzRounded = roundedQuotient(record.cycles, record.microseconds);
    return record;
}

// Waits for the millisecond clock to move on; its new value.
std::uint32_t nextTick(SpeedClock& clock)
{
    const std::uint32_t start = clock.milliseconds();
    std::uint32_t now = start;
    while (now == start)
        now = clock.milliseconds();
    return now;
}

} // namespace

std::uint64_t ticksToMicroseconds(std::uint64_t ticks, std::uint64_t frequency)
{
    if (frequency == 0)
        return 0;
    // Split so that no product wraps, whatever the tick count.
    const std::uint64_t whole = ticks / frequency;
    const std::uint64_t rest = ticks % frequency;
    const std::uint64_t scaled = rest * kMicrosecondsPerSecond;
    std::uint64_t microseconds = whole * kMicrosecondsPerSecond + scaled / frequency;
    if (scaled % frequency > frequency / 2)
        ++microseconds;
    return microseconds;
}

std::uint32_t roundedQuotient(std::uint64_t cycles, std::uint64_t microseconds)
{
    if (microseconds == 0)
        return 0;
    std::uint64_t quotient = cycles / microseconds;
    if (cycles % microseconds > microseconds / 2)
        ++quotient;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(quotient, UINT32_MAX));
}

std::uint32_t mhzRoundedByTenths(std::uint64_t cycles, std::uint64_t microseconds)
{
    if (microseconds == 0)
        return 0;
    const std::uint64_t truncated = cycles / microseconds;
    const std::uint64_t rest = cycles % microseconds;
    // The first two decimals of the exact quotient, from the remainder (never overflows: rest
    // is below microseconds).
    const std::uint64_t tenths = rest * 10 / microseconds;
    const std::uint64_t hundredths = (rest * 100 / microseconds) % 10;
    std::uint64_t rounded = truncated;
    if (tenths + (hundredths > 5 ? 1 : 0) > 5)
        ++rounded;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(rounded, UINT32_MAX));
}

std::uint32_t mhzFromCyclesPerMillisecond(std::uint64_t cyclesPerMillisecond)
{
    std::uint64_t mhz = cyclesPerMillisecond / 1000;
    if ((cyclesPerMillisecond / 100) % 10 >= 5)
        ++mhz;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(mhz, UINT32_MAX));
}

bool passesAgree(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    const std::int64_t sum = std::int64_t{a} + b + c;
    for (const std::int64_t x : {std::int64_t{a}, std::int64_t{b}, std::int64_t{c}}) {
        const std::int64_t spread = 3 * x - sum;
        if (spread > 3 || spread < -3)
            return false;
    }
    return true;
}

std::uint32_t mostFrequent(const std::uint32_t* values, std::size_t count)
{
    std::uint32_t best = 0;
    std::size_t bestCount = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t n = static_cast<std::size_t>(std::count(values, values + count, values[i]));
        if (n > bestCount) {
            best = values[i];
            bestCount = n;
        }
    }
    return best;
}

std::uint64_t loopCycles(std::int32_t cpuType)
{
    switch (cpuType) {
    case 1:
        return 188000;
    case 2:
        return 172000;
    default:
        return 152000;
    }
}

SpeedRecord measureCpuMhz(SpeedClock& clock, std::int32_t cpuType, std::uint32_t features)
{
    std::uint64_t frequency = 0;
    if (!clock.counterFrequency(frequency) || frequency == 0)
        return {};
    if (!(features & kCpuFeatureTimeStampCounter) || !clock.timeStampAvailable())
        return loopMeasurement(clock, frequency, cpuType);
    SpeedRecord record = counterMeasurement(clock, frequency);
    if (record.microseconds != 0) {
        record.mhzTruncated = static_cast<std::uint32_t>(std::min<std::uint64_t>(record.cycles / record.microseconds, UINT32_MAX));
        record.mhzRounded = mhzRoundedByTenths(record.cycles, record.microseconds);
    }
    return record;
}

std::uint32_t measureCpuMhzOnce(SpeedClock& clock)
{
    // Without a time-stamp counter the instruction would fault: nothing to measure.
    if (!clock.timeStampAvailable())
        return 0;
    try {
        std::uint32_t t0 = 0;
        std::uint64_t c0 = 0;
        {
            PriorityBoost boost(clock);
            t0 = nextTick(clock);
            c0 = clock.timeStamp();
        }
        clock.sleep(kOnceSleepMs);
        std::uint32_t t1 = 0;
        std::uint64_t c1 = 0;
        {
            PriorityBoost boost(clock);
            t1 = nextTick(clock);
            c1 = clock.timeStamp();
        }
        const std::uint32_t elapsed = t1 - t0;
        if (elapsed == 0)
            return 0;
        return mhzFromCyclesPerMillisecond((c1 - c0) / elapsed);
    } catch (...) {
        return 0;
    }
}

std::uint32_t measureCpuMhzMajority(SpeedClock& clock)
{
    std::uint32_t results[kMajorityTries];
    for (std::uint32_t& result : results)
        result = measureCpuMhzOnce(clock);
    return mostFrequent(results, kMajorityTries);
}

std::uint32_t reportedCpuMhz(SpeedClock& clock, std::int32_t vendor, std::int32_t cpuType, std::uint32_t features)
{
    if (vendor == kCpuVendorUnknown)
        return 0;
    if (vendor == kCpuVendorIntel) {
        const SpeedRecord record = measureCpuMhz(clock, cpuType, features);
        return record.cycles == 0 && record.microseconds == 0 ? 0 : record.mhzRounded;
    }
    return measureCpuMhzMajority(clock);
}
