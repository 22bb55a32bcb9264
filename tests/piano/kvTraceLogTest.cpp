#include "piano/kvTraceLog.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(TraceLog, TheLineBeyondTheLimitStandsAlone)
{
    TKVTraceLog log;
    for (std::size_t i = 0; i < TraceLineLimit; ++i) ASSERT_TRUE(log.Append("line " + std::to_string(i)));
    EXPECT_EQ(log.Lines().size(), TraceLineLimit);
    EXPECT_EQ(log.Lines().back(), "line 32766");
    EXPECT_TRUE(log.Append("line 32767"));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"line 32767"});
}

TEST(TraceLog, LinesWhilePausedAreLostAndClearEmpties)
{
    TKVTraceLog log;
    log.Append("before");
    log.TogglePause();
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(log.Append("paused " + std::to_string(i)));
    log.TogglePause();
    log.Append("after");
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"before", "after"}));
    log.Clear();
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_FALSE(log.Paused());
}

} // namespace
} // namespace kv
