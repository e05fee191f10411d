#include "core/game_heap.h"

#include <windows.h>

#include "core/game_call.h"

namespace qz::core {

void* GameAllocate(uint32_t size) {
  return At<void*(__cdecl*)(uint32_t)>(kGameAllocate)(size);
}

void GameRelease(void* block) {
  At<void(__cdecl*)(void*)>(kGameRelease)(block);
}

}  // namespace qz::core
