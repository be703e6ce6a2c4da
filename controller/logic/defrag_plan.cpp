#include "controller/logic/defrag_plan.h"

#include <cstdio>

namespace {

constexpr std::uint64_t kBlockCountCeiling = 1u << 30;

}  // namespace

int DefragBlockCount(std::uint64_t totalPhysicalBytes)
{
    const std::uint64_t blocks = totalPhysicalBytes / kDefragBlockBytes;
    return static_cast<int>(blocks < kBlockCountCeiling ? blocks : kBlockCountCeiling);
}

DefragStep PlanDefragStep(std::uint64_t totalPhysicalBytes, int allocatedBlocks)
{
    const int n = DefragBlockCount(totalPhysicalBytes);
    DefragStep step;
    step.isFinal = allocatedBlocks > n;
    if (step.isFinal) {
        std::snprintf(step.progress, sizeof step.progress, "%s", "\rAllocating final block          ");
    } else {
        std::snprintf(step.progress, sizeof step.progress, "\rAllocating block %d of %d", allocatedBlocks + 1,
                      n + 1);
    }
    return step;
}

bool DefragWantsAnotherBlock(const DefragStep& step, int allocatedBlocks)
{
    return !step.isFinal && allocatedBlocks < kDefragMaxBlocks;
}
