// The rules of the memory defragmentation phase: how many 10 MiB blocks a machine gets,
// when the final block comes, the 356-block cap, the commit left to others and the progress texts.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t kDefragBlockBytes = 10485760;  // 10 MiB
constexpr int kDefragMaxBlocks = 356;                // 3560 MiB at most

// N: the physical memory in whole blocks (the remainder is dropped). Capped far above
// kDefragMaxBlocks so that N + 1 always fits an int.
int DefragBlockCount(std::uint64_t totalPhysicalBytes);

// One step of the phase, planned before its block is allocated.
struct DefragStep {
    bool isFinal;       // more blocks than N are held already: this is the final block
    char progress[48];  // "\rAllocating block %d of %d" or "\rAllocating final block          "
};

// allocatedBlocks: blocks held before this step.
DefragStep PlanDefragStep(std::uint64_t totalPhysicalBytes, int allocatedBlocks);

// Whether one more block still leaves other programs a margin below the commit limit (where
// their allocations fail: a small page file, or none): a quarter of the physical memory, at
// most 512 MiB.
bool DefragBlockLeavesMargin(std::uint64_t totalPhysicalBytes, std::uint64_t commitAvailableBytes);

// After a successful allocation: whether another step follows (not after the final
// block, and never beyond kDefragMaxBlocks blocks).
bool DefragWantsAnotherBlock(const DefragStep& step, int allocatedBlocks);
