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

} // namespace
} // namespace kv
