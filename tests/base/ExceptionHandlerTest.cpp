// The application's exception handler: what reaches it, and that nothing escapes it.
#include "base/ExceptionHandler.h"

#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(ExceptionHandlerTest, ReachesTheInstalledHandlerAndNeverEscapes)
{
    std::string seen;
    SetApplicationExceptionHandler([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const Exception& e) {
            seen = e.Message();
        }
        throw Exception("the handler failed too");
    });
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(HandleApplicationException(std::make_exception_ptr(Exception("tick failed"))));
    EXPECT_EQ(seen, "tick failed");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "the handler failed too\n");

    SetApplicationExceptionHandler(nullptr);
    testing::internal::CaptureStderr();
    HandleApplicationException(std::make_exception_ptr(Exception("nobody listens")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "nobody listens\n");
}

TEST(ExceptionHandlerTest, TheErrorBoxTextEndsAsOneSentence)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Unable to write to C:\\x.ini", "Unable to write to C:\\x.ini."},
        {"Stream read error", "Stream read error."},
        {"List index out of bounds (5)", "List index out of bounds (5)."},
        {"Overflow track size: 16777217!", "Overflow track size: 16777217!"},
        {"a (at byte 0 of the file).", "a (at byte 0 of the file)."},
        {"Really?", "Really?"},
        {"", ""},
    };
    for (const auto& [message, shown] : cases) EXPECT_EQ(ExceptionBoxText(message), shown) << message;
}

} // namespace
} // namespace kv
