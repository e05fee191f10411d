#include "core/game_heap.h"

namespace qz::core {

void* GameAllocate(uint32_t size) {
  using Allocate = void*(__cdecl*)(uint32_t);
  return reinterpret_cast<Allocate>(uintptr_t{kGameAllocate})(size);
}

void GameRelease(void* block) {
  using Release = void(__cdecl*)(void*);
  reinterpret_cast<Release>(uintptr_t{kGameRelease})(block);
}

}  // namespace qz::core
