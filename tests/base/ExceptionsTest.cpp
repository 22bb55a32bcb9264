#include "base/Exceptions.h"

#include <gtest/gtest.h>

#include <climits>

namespace kv {
namespace {

template <typename E>
std::string MessageOf(void (*f)())
{
    try {
        f();
    } catch (const E& e) {
        return e.Message();
    }
    return "(no exception)";
}

TEST(ExceptionsTest, AssertionFailedNamesFileBaseNameAndLine)
{
    try {
        AssertionFailed("Bad state", "/home/me/src/midi/kvMidiFile.cpp", 42);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "Bad state (kvMidiFile.cpp, line 42)");
    }
    try {
        AssertionFailed("x", "C:\\src\\app\\fMain.cpp", 7);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "x (fMain.cpp, line 7)");
    }
    try {
        AssertionFailed("y", "plain.cpp", 1);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "y (plain.cpp, line 1)");
    }
}

TEST(ExceptionsTest, AssertMacro)
{
    int evaluated = 0;
    KV_ASSERT(++evaluated == 1, "not raised");
    EXPECT_EQ(evaluated, 1);
    const int line = __LINE__ + 2;
    try {
        KV_ASSERT(evaluated == 2, "Count mismatch");
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "Count mismatch (ExceptionsTest.cpp, line " + std::to_string(line) + ")");
    }
}

TEST(ExceptionsTest, CheckedDiv)
{
    EXPECT_EQ(CheckedDiv(7, 2), 3);
    EXPECT_EQ(CheckedDiv(-7, 2), -3);
    EXPECT_EQ(CheckedDiv<long long>(1LL << 40, 1024), 1LL << 30);
    EXPECT_THROW(CheckedDiv(1, 0), EDivByZero);
    EXPECT_EQ(MessageOf<EDivByZero>([] { CheckedDiv(5, 0); }), "Division by zero");
}

TEST(ExceptionsTest, Hierarchy)
{
    EXPECT_THROW(throw EFOpenError("x"), EStreamError);
    EXPECT_THROW(throw EFCreateError("x"), EStreamError);
    EXPECT_THROW(throw EReadError("x"), EStreamError);
    EXPECT_THROW(throw EWriteError("x"), EStreamError);
    EXPECT_THROW(throw EStreamError("x"), Exception);
    EXPECT_THROW(throw EListError("x"), Exception);
    EXPECT_THROW(throw EConvertError("x"), std::runtime_error);
    EXPECT_EQ(EConvertError("text").Message(), "text");
}

} // namespace
} // namespace kv
