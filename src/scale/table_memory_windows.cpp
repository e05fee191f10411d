#include <windows.h>

#include "scale/table_memory.h"

namespace qz::scale {

// Committed pages read as zero. Large pages would need a privilege the game does not hold.
void* AllocateTableBlock(size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void ReleaseTableBlock(void* block, size_t /*bytes*/) {
  if (block != nullptr) VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace qz::scale
