// The two steps of phase 4, used by DefragmentMemory (phases.h).
#pragma once

// Allocates and zero-fills one 10 MiB block; true while more blocks are wanted.
bool DefragmentMemoryStep();
// Frees every block allocated so far.
void ReleaseDefragmentBlocks();
