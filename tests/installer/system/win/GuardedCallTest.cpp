#include "installer/system/win/GuardedCall.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

namespace {

[[gnu::noinline]] void writeThroughNull()
{
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

volatile int gQuotient = 0;

[[gnu::noinline]] void divideBy(int divisor)
{
    volatile int kept = divisor;
    gQuotient = 10 / kept;
}

TEST(GuardedCallTest, AProcessorFaultEndsTheCallAndTheProgramGoesOn)
{
    volatile int reached = 0;
    EXPECT_FALSE(callGuarded([&] {
        reached = 1;
        writeThroughNull();
        reached = 2;
    }));
    EXPECT_EQ(reached, 1);
    EXPECT_FALSE(callGuarded([] { divideBy(0); }));
    EXPECT_FALSE(callGuarded([] { RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr); }));
    // The guard is ready again after each fault, and a call without one completes.
    int value = 0;
    EXPECT_TRUE(callGuarded([&] { value = 7; }));
    EXPECT_EQ(value, 7);
    for (int i = 0; i < 50; ++i)
        ASSERT_FALSE(callGuarded(writeThroughNull)) << "round " << i;
}

TEST(GuardedCallTest, ExceptionsTheCodeRaisesOnPurposeAreLeftToItsHandlers)
{
    EXPECT_THROW(callGuarded([] { throw std::runtime_error("meant"); }), std::runtime_error);
    EXPECT_FALSE(callGuarded(writeThroughNull)) << "the guard is ready again after an exception passed";
    bool caughtInside = false;
    EXPECT_TRUE(callGuarded([&] {
        try {
            throw 5;
        } catch (int) {
            caughtInside = true;
        }
    }));
    EXPECT_TRUE(caughtInside);
    EXPECT_TRUE(callGuarded([] { OutputDebugStringA("guarded call\n"); }));
}

// Raised on purpose, so that it can be continued.
TEST(GuardedCallTest, ANestedCallsFaultReturnsToTheNestedGuardOnly)
{
    bool inner = true;
    volatile bool outerWentOn = false;
    EXPECT_TRUE(callGuarded([&] {
        inner = callGuarded(writeThroughNull);
        outerWentOn = true;
    }));
    EXPECT_FALSE(inner);
    EXPECT_TRUE(outerWentOn);

    volatile bool innerCompleted = false;
    EXPECT_FALSE(callGuarded([&] {
        innerCompleted = callGuarded([] {});
        writeThroughNull();
    })) << "the outer guard is back after the nested call";
    EXPECT_TRUE(innerCompleted);
}

constexpr DWORD kTestException = EXCEPTION_ACCESS_VIOLATION;
bool gSeen = false;

LONG CALLBACK continueAfterTestException(EXCEPTION_POINTERS* pointers)
{
    if (pointers->ExceptionRecord->ExceptionCode != kTestException)
        return EXCEPTION_CONTINUE_SEARCH;
    gSeen = true;
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(GuardedCallTest, AFaultOutsideAGuardedCallIsNotTaken)
{
    // Nothing guarded: the guard's handler passes the fault on to the next handler (the test's,
    // registered after it), which continues the program.
    gSeen = false;
    PVOID handler = AddVectoredExceptionHandler(0, continueAfterTestException);
    callGuarded([] {});
    RaiseException(kTestException, 0, 0, nullptr);
    RemoveVectoredExceptionHandler(handler);
    EXPECT_TRUE(gSeen);
}

} // namespace
