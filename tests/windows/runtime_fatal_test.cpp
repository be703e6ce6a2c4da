// The programs are built without exceptions: a throw point of the C++ library (an
// impossible allocation, an over-long string, an empty std::function) ends the program
// at once with a message on standard error and exit code 3; it never carries on with a
// null pointer or a half-made object. The nothrow allocation still reports null.
#include "support/wine_harness.h"

#include <gtest/gtest.h>

namespace {

using zt::BinPath;
using zt::RunCommand;
using zt::RunResult;

RunResult RunFatal(const std::string& what)
{
    return RunCommand("\"" + BinPath("fixture_fatal.exe") + "\" " + what);
}

TEST(RuntimeFatal, LibraryThrowPointsEndTheProgramWithTheirMessage)
{
    const struct {
        const char* what;
        const char* message;
    } cases[] = {
        {"length", "Fatal error: basic_string::_M_create\r\n"},
        {"alloc", "Fatal error: out of memory\r\n"},
        {"function", "Fatal error: empty function called\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunResult run = RunFatal(c.what);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.output, c.message);
        EXPECT_EQ(run.exitCode, 3u);
    }
}

TEST(RuntimeFatal, NothrowAllocationReportsNull)
{
    RunResult run = RunFatal("nothrow");
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.output, "nothrow null\r\n");
    EXPECT_EQ(run.exitCode, 0u);
}

}  // namespace
