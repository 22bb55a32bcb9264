#pragma once
// The processor's clock speed in MHz: the time-stamp counter counted against the
// high-resolution counter or the millisecond clock. The clocks are reached through a
// SpeedClock, so the arithmetic and the loops run on scripted clocks in tests. Every division
// is 64-bit and guarded: no frequency and no count makes it divide by zero or wrap.
#include <cstddef>
#include <cstdint>

class SpeedClock {
public:
    virtual ~SpeedClock() = default;
    // False when the system has no high-resolution counter.
    virtual bool counterFrequency(std::uint64_t& ticksPerSecond) = 0;
    virtual std::uint64_t counter() = 0;
    // The processor's time-stamp counter; called only when timeStampAvailable() is true.
    virtual std::uint64_t timeStamp() = 0;
    virtual bool timeStampAvailable() = 0;
    virtual std::uint32_t milliseconds() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
    // Raises the thread to time-critical priority; false when its priority cannot be read (it is
    // then left alone). restorePriority is called once for every true answer.
    virtual bool raisePriority() = 0;
    virtual void restorePriority() = 0;
    // A fixed busy loop of the given number of iterations.
    virtual void busyLoop(std::uint32_t iterations) = 0;
};

struct SpeedRecord {
    std::uint64_t cycles = 0;
    std::uint64_t microseconds = 0;
    std::uint32_t mhzTruncated = 0;
    std::uint32_t mhzRounded = 0;
};

// Counter ticks as microseconds, rounded to nearest; 0 for a frequency of 0.
std::uint64_t ticksToMicroseconds(std::uint64_t ticks, std::uint64_t frequency);
// cycles / microseconds, plus 1 when the remainder exceeds half the divisor; 0 for no time.
std::uint32_t roundedQuotient(std::uint64_t cycles, std::uint64_t microseconds);
// The rounded figure of a speed record: the truncated quotient, plus 1 when its tenths digit
// (raised by 1 when the hundredths digit exceeds 5) exceeds 5.
std::uint32_t mhzRoundedByTenths(std::uint64_t cycles, std::uint64_t microseconds);
// MHz from cycles per millisecond: g / 1000, plus 1 when the hundreds digit of g is 5 or more.
std::uint32_t mhzFromCyclesPerMillisecond(std::uint64_t cyclesPerMillisecond);
// Three passes agree when each lies within 3 of their mean.
bool passesAgree(std::uint32_t a, std::uint32_t b, std::uint32_t c);
// The value that occurs most often; the earliest on a tie; 0 for none.
std::uint32_t mostFrequent(const std::uint32_t* values, std::size_t count);

// The cycles a fixed loop costs by processor type (the loop measurement without a time-stamp
// counter).
std::uint64_t loopCycles(std::int32_t cpuType);

// Measures with the time-stamp counter when the features have it, else by timing the fixed loop.
// All zero without a high-resolution counter.
SpeedRecord measureCpuMhz(SpeedClock& clock, std::int32_t cpuType, std::uint32_t features);
// One measurement against the millisecond clock; 0 when it cannot measure.
std::uint32_t measureCpuMhzOnce(SpeedClock& clock);
// The speed measured most often in eight tries.
std::uint32_t measureCpuMhzMajority(SpeedClock& clock);
// The speed the report shows for a processor: 0 for an unknown vendor, the rounded counter
// measurement for Intel (0 when it measured nothing), the majority for the others.
std::uint32_t reportedCpuMhz(SpeedClock& clock, std::int32_t vendor, std::int32_t cpuType, std::uint32_t features);

// The system's clocks.
SpeedClock& systemSpeedClock();
