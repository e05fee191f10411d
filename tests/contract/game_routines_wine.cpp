// The game's routines in a 64-bit Windows process, each a jump to a function of the suite. The
// loader puts the process heap where the game's code lies before any code of the suite runs, so
// the suite's main thread stack is made 8 MiB (a linker option): it is laid out first, from the
// bottom of the address space, and its deepest part, megabytes below anything the suite reaches,
// holds the game's addresses.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "core/game_call.h"
#include "game_routines.h"

namespace qz::contract {
namespace {

constexpr uintptr_t kFirstPage = 0x470000;  // the sprite routine at 0x47B610 ...
constexpr uintptr_t kEndPage = 0x620000;    // ... to the heap's allocation at 0x617492
constexpr uint32_t kDrawSpriteFrame = 0x47B610;
constexpr uint32_t kBytesPerPixel = 0x5FA22B;
constexpr uint32_t kGameRelease = 0x60B0F0;
constexpr uint32_t kGameAllocate = 0x617492;

void* GameAllocate(uint32_t size) {
  return std::malloc(size);
}

void GameRelease(void* block) {
  std::free(block);
}

void DrawSpriteFrame(void* sprite, int32_t, int32_t, int32_t, int32_t, int32_t width,
                     int32_t height, uint32_t* pixels, int32_t, int32_t, int32_t, int32_t,
                     int32_t pitch_bytes, int32_t, int32_t) {
  DrawTestSprite(sprite, width, height, pixels, pitch_bytes);
}

// mov rax, target; jmp rax
template <typename Function>
void JumpAt(uint32_t address, Function* target) {
  uint8_t code[12] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
  const auto value = reinterpret_cast<uint64_t>(target);
  std::memcpy(code + 2, &value, sizeof value);
  std::memcpy(reinterpret_cast<void*>(uintptr_t{address}), code, sizeof code);
}

constexpr uintptr_t kStackMargin = 0x100000;

bool InDeepStack() {
  const int local = 0;
  MEMORY_BASIC_INFORMATION stack{};
  MEMORY_BASIC_INFORMATION pages{};
  if (VirtualQuery(&local, &stack, sizeof stack) == 0 ||
      VirtualQuery(reinterpret_cast<void*>(kFirstPage), &pages, sizeof pages) == 0) {
    return false;
  }
  return stack.AllocationBase == pages.AllocationBase &&
         reinterpret_cast<uintptr_t>(&local) > kEndPage + kStackMargin;
}

}  // namespace

bool PlaceGameRoutines() {
  static const bool placed = [] {
    DWORD previous = 0;
    if (!InDeepStack() ||
        !VirtualAlloc(reinterpret_cast<void*>(kFirstPage), kEndPage - kFirstPage, MEM_COMMIT,
                      PAGE_READWRITE) ||
        !VirtualProtect(reinterpret_cast<void*>(kFirstPage), kEndPage - kFirstPage,
                        PAGE_EXECUTE_READWRITE, &previous)) {
      return false;
    }
    JumpAt(kGameAllocate, &GameAllocate);
    JumpAt(kGameRelease, &GameRelease);
    JumpAt(kDrawSpriteFrame, &DrawSpriteFrame);
    *reinterpret_cast<uint8_t*>(uintptr_t{kBytesPerPixel}) = 4;
    return true;
  }();
  return placed;
}

}  // namespace qz::contract
