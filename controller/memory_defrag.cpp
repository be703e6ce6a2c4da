// Phase 4: pushes other programs' memory out to the paging file by taking about as
// much memory as the machine has, touching every page of it, and giving it back.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "controller/log_message.h"
#include "controller/logic/defrag_plan.h"
#include "controller/memory_defrag.h"
#include "controller/phases.h"
#include "controller/system_memory.h"

namespace {

void* g_defragBlocks[kDefragMaxBlocks];
int g_defragBlockCount = 0;

}  // namespace

// Allocates and fills one block; true while more blocks are wanted.
bool DefragmentMemoryStep()
{
    if (g_defragBlockCount >= kDefragMaxBlocks)
        return false;  // the table is full
    const PhysicalMemory memory = QueryPhysicalMemory();
    const DefragStep step = PlanDefragStep(memory.total, g_defragBlockCount);
    LogMessage(LOG_PLAIN, "%s", step.progress);
    // Other programs' allocations fail at the commit limit while the blocks are held: with
    // a small page file, or none, the phase ends before it takes their margin.
    if (!DefragBlockLeavesMargin(memory.total, memory.commitAvailable)) {
        LogMessage(LOG_PLAIN, "\r\nEnough memory taken: the rest is left to other programs");
        return false;
    }

    // Where the heap or the address space (a 32-bit process) runs out first, this is
    // where the phase ends; everything held so far is freed by the caller.
    void* block = std::malloc(kDefragBlockBytes);
    if (block == nullptr) {
        LogMessage(LOG_ERROR, "\r\nUnable to allocate memory");
        return false;
    }
    std::memset(block, 0, kDefragBlockBytes);  // commits every page
    g_defragBlocks[g_defragBlockCount++] = block;
    return DefragWantsAnotherBlock(step, g_defragBlockCount);
}

// Frees every block allocated so far.
void ReleaseDefragmentBlocks()
{
    for (int i = 0; i < g_defragBlockCount; ++i) {
        std::free(g_defragBlocks[i]);
        g_defragBlocks[i] = nullptr;
    }
    g_defragBlockCount = 0;
}

void DefragmentMemory()
{
    while (DefragmentMemoryStep())
        Sleep(20);
    ReleaseDefragmentBlocks();
}
