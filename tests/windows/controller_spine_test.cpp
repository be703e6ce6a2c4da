#include <gtest/gtest.h>
#include "support/wine_harness.h"
TEST(Spine, Smoke) { auto r = zt::RunController({}); EXPECT_FALSE(r.timedOut); printf("%s\n", r.output.c_str()); }
