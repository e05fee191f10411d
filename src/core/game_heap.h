#pragma once
// The game's own heap, for objects handed to the game and for images it may release.
#include <cstdint>

namespace qz::core {

inline constexpr uint32_t kGameAllocate = 0x617492;  // (size), the caller removes the argument
inline constexpr uint32_t kGameRelease = 0x60B0F0;   // (block), the caller removes the argument

void* GameAllocate(uint32_t size);
void GameRelease(void* block);

}  // namespace qz::core
