#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controller/logic/defrag_plan.h"

namespace {

// Drives the plan the way the phase does: plan a step, "allocate" its block, ask for
// the next one. Returns the progress texts in order.
std::vector<std::string> RunPhase(std::uint64_t totalPhysicalBytes)
{
    std::vector<std::string> lines;
    int held = 0;
    for (;;) {
        const DefragStep step = PlanDefragStep(totalPhysicalBytes, held);
        lines.push_back(step.progress);
        ++held;
        if (!DefragWantsAnotherBlock(step, held))
            break;
        if (lines.size() > 1000)
            break;  // a runaway plan fails below instead of hanging
    }
    return lines;
}

const char kFinalLine[] = "\rAllocating final block          ";

}  // namespace

TEST(DefragPlan, HalfGigabyteGetsFiftyTwoNumberedBlocksAndTheFinalOne)
{
    const std::vector<std::string> lines = RunPhase(536870912ull);  // 512 MiB: N = 51
    ASSERT_EQ(lines.size(), 53u);                                   // 530 MiB in all
    EXPECT_EQ(lines.front(), "\rAllocating block 1 of 52");
    EXPECT_EQ(lines[50], "\rAllocating block 51 of 52");
    EXPECT_EQ(lines[51], "\rAllocating block 52 of 52");
    EXPECT_EQ(lines.back(), kFinalLine);
}

TEST(DefragPlan, UnderTenMegabytesGetsOneNumberedBlockAndTheFinalOne)
{
    const std::vector<std::string> lines = RunPhase(10485759ull);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\rAllocating block 1 of 1");
    EXPECT_EQ(lines[1], kFinalLine);
    EXPECT_EQ(RunPhase(0).size(), 2u);
}

TEST(DefragPlan, ExactMultipleOfTheBlockSize)
{
    const std::vector<std::string> lines = RunPhase(10ull * 10485760ull);  // N = 10
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[10], "\rAllocating block 11 of 11");
    EXPECT_EQ(lines[11], kFinalLine);
}

TEST(DefragPlan, FourGigabytesStopsAtTheCapWithoutFinalBlock)
{
    const std::vector<std::string> lines = RunPhase(4294967296ull);  // N = 409
    ASSERT_EQ(lines.size(), 356u);
    EXPECT_EQ(lines.front(), "\rAllocating block 1 of 410");
    EXPECT_EQ(lines.back(), "\rAllocating block 356 of 410");
}

TEST(DefragPlan, CapLeavesRoomForTheFinalBlockJustBelowIt)
{
    // N = 354: 355 numbered blocks and the final one make exactly 356.
    std::vector<std::string> lines = RunPhase(354ull * 10485760ull);
    ASSERT_EQ(lines.size(), 356u);
    EXPECT_EQ(lines.back(), kFinalLine);
    // N = 355: the cap is reached by the last numbered block.
    lines = RunPhase(355ull * 10485760ull);
    ASSERT_EQ(lines.size(), 356u);
    EXPECT_EQ(lines.back(), "\rAllocating block 356 of 356");
}

TEST(DefragPlan, HugeMachinesNeitherWrapNorOverflow)
{
    // 24 GiB (this kind of machine) and beyond the 32-bit range of the old memory call.
    EXPECT_EQ(DefragBlockCount(24ull << 30), 2457);
    EXPECT_EQ(RunPhase(24ull << 30).front(), "\rAllocating block 1 of 2458");
    const DefragStep step = PlanDefragStep(UINT64_MAX, 0);
    EXPECT_FALSE(step.isFinal);
    EXPECT_EQ(std::string(step.progress), "\rAllocating block 1 of 1073741825");
    EXPECT_EQ(RunPhase(UINT64_MAX).size(), 356u);
}

TEST(DefragPlan, EveryBlockLeavesAQuarterOfThePhysicalMemoryOrHalfAGigabyteToOthers)
{
    const std::uint64_t block = 10485760ull;
    EXPECT_TRUE(DefragBlockLeavesMargin(1ull << 30, (256ull << 20) + block));  // a quarter of 1 GiB
    EXPECT_FALSE(DefragBlockLeavesMargin(1ull << 30, (256ull << 20) + block - 1));
    EXPECT_TRUE(DefragBlockLeavesMargin(8ull << 30, (512ull << 20) + block));  // at most 512 MiB
    EXPECT_FALSE(DefragBlockLeavesMargin(8ull << 30, (512ull << 20) + block - 1));
    EXPECT_FALSE(DefragBlockLeavesMargin(0, block - 1));  // no room for the block itself
}
