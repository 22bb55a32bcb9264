#include "installer/sysinfo/CpuSpeed.h"

#include "installer/sysinfo/CpuIdentification.h"

#include <windows.h>

#include <x86intrin.h>

namespace {

class SystemClock : public SpeedClock {
public:
    bool counterFrequency(std::uint64_t& ticksPerSecond) override
    {
        LARGE_INTEGER frequency{};
        if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0)
            return false;
        ticksPerSecond = static_cast<std::uint64_t>(frequency.QuadPart);
        return true;
    }

    std::uint64_t counter() override
    {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return static_cast<std::uint64_t>(now.QuadPart);
    }

    std::uint64_t timeStamp() override { return __rdtsc(); }

    // The instruction faults on a processor without the counter: it is never executed there.
    bool timeStampAvailable() override
    {
        ProcessorIdentity identity;
        return identifyCpu(processorCpuid(), identity) == kCpuIdentified && (identity.features & kCpuFeatureTimeStampCounter);
    }

    std::uint32_t milliseconds() override { return GetTickCount(); }
    void sleep(std::uint32_t milliseconds) override { Sleep(milliseconds); }

    bool raisePriority() override
    {
        saved_ = GetThreadPriority(GetCurrentThread());
        if (saved_ == THREAD_PRIORITY_ERROR_RETURN)
            return false;
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        return true;
    }

    void restorePriority() override { SetThreadPriority(GetCurrentThread(), saved_); }

    void busyLoop(std::uint32_t iterations) override
    {
        volatile std::uint32_t sink = 0;
        for (std::uint32_t i = 0; i < iterations; ++i)
            sink = sink + i;
    }

private:
    int saved_ = THREAD_PRIORITY_NORMAL;
};

} // namespace

SpeedClock& systemSpeedClock()
{
    static SystemClock clock;
    return clock;
}
