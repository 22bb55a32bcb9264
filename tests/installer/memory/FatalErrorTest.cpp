#include "installer/memory/FatalError.h"

#include "installer/memory/FatalErrorCatcher.h"

#include <gtest/gtest.h>

namespace {

TEST(FatalErrorTest, HandsTheTextToTheInstalledHandler)
{
    FatalErrorCatcher catcher;
    try {
        fatalError("Couldn't read TOC.");
        FAIL() << "fatalError returned";
    } catch (const FatalErrorRaised& raised) {
        EXPECT_EQ(raised.text, "Couldn't read TOC.");
    }
}

#ifndef _WIN32
// The default exit shows an error box on Windows; natively it reports on standard error.
TEST(FatalErrorDeathTest, DefaultHandlerEndsTheProcessWithExitCodeZero)
{
    EXPECT_EXIT(fatalError("Disk full"), ::testing::ExitedWithCode(0), "Disk full");
    EXPECT_EXIT(fatalError(nullptr), ::testing::ExitedWithCode(0), "Out of memory");
}

TEST(FatalErrorDeathTest, AHandlerThatReturnsStillEndsTheProcess)
{
    EXPECT_EXIT(
        {
            setFatalErrorHandler([](const char*) {});
            fatalError("returned");
        },
        ::testing::ExitedWithCode(0), "returned");
}
#endif

} // namespace
