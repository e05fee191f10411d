#pragma once
// Heap blocks with a header word, so a release of anything else is caught.
#include <cstdint>

namespace qz::core {

inline constexpr uint32_t kGuardWord = 0x0BADF00D;

// Size bytes behind a header word. On failure the player sees "CANN'T QZ_ALLOC from %X" with the
// caller's address, and the caller gets null: every caller keeps the game running without the
// block.
void* GuardedAlloc(uint32_t size);

// Ignores null. A block without the header word is not ours: it is left alone and logged rather
// than taking the game down.
void GuardedFree(void* block);

// Formats one value into a 512-byte text and shows it in a message box captioned "Error".
void ShowError(const char* format, uint32_t value);

}  // namespace qz::core
