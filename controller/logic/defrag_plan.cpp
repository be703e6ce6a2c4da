#include "controller/logic/defrag_plan.h"
#include "runtime/format_text.h"

#include <cstdio>

namespace {

constexpr std::uint64_t kBlockCountCeiling = 1u << 30;
constexpr std::uint64_t kMaxCommitMargin = 512ull << 20;

std::uint64_t DefragCommitMargin(std::uint64_t totalPhysicalBytes)
{
    const std::uint64_t quarter = totalPhysicalBytes / 4;
    return quarter < kMaxCommitMargin ? quarter : kMaxCommitMargin;
}

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
        FormatText(step.progress, sizeof step.progress, "%s", "\rAllocating final block          ");
    } else {
        FormatText(step.progress, sizeof step.progress, "\rAllocating block %d of %d", allocatedBlocks + 1,
                   n + 1);
    }
    return step;
}

bool DefragWantsAnotherBlock(const DefragStep& step, int allocatedBlocks)
{
    return !step.isFinal && allocatedBlocks < kDefragMaxBlocks;
}

bool DefragBlockLeavesMargin(std::uint64_t totalPhysicalBytes, std::uint64_t commitAvailableBytes)
{
    return commitAvailableBytes >= kDefragBlockBytes
           && commitAvailableBytes - kDefragBlockBytes >= DefragCommitMargin(totalPhysicalBytes);
}
