#include "game/game_image.h"

#include <sys/mman.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

#include "game/game_layout.h"
#include "game/x86_code.h"

namespace standin::game {
namespace {

std::mutex heap_mutex;
std::vector<HeapCall> heap_calls;
std::set<uint32_t> live_blocks;

void* __cdecl GameAllocate(uint32_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  std::lock_guard lock(heap_mutex);
  heap_calls.push_back({true, size});
  live_blocks.insert(Address(block));
  return block;
}

void __cdecl GameRelease(void* block) {
  std::lock_guard lock(heap_mutex);
  heap_calls.push_back({false, Address(block)});
  // Releasing a block the game never handed out is a fault in the game too.
  if (live_blocks.erase(Address(block)) != 1) {
    std::fprintf(stderr, "game heap: release of unknown block %p\n", block);
    std::abort();
  }
  std::free(block);
}

uint32_t code_next = 0;
uint32_t code_end = 0;

void* MapFixed(uint32_t address, uint32_t size) {
  return mmap(reinterpret_cast<void*>(static_cast<uintptr_t>(address)), size,
              PROT_READ | PROT_WRITE | PROT_EXEC, MAP_FIXED | MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
}

}  // namespace

void MapImage() {
  static bool mapped = false;
  if (mapped) return;
  mapped = true;
  if (MapFixed(kImageBase, kImageEnd - kImageBase) == MAP_FAILED) {
    std::perror("game image");
    std::abort();
  }
  // Thunks live right above the image, like a library loaded next to the game.
  code_next = kImageEnd;
  code_end = kImageEnd + 0x40000;
  if (MapFixed(code_next, code_end - code_next) == MAP_FAILED) {
    std::perror("thunk memory");
    std::abort();
  }
  LayOutRoutine(kGameAllocate, Address(reinterpret_cast<void*>(&GameAllocate)));
  LayOutRoutine(kGameRelease, Address(reinterpret_cast<void*>(&GameRelease)));
  LayOutCode();
}

uint32_t AllocateCode(uint32_t size) {
  const uint32_t address = (code_next + 15) & ~15u;
  if (address + size > code_end) {
    std::fprintf(stderr, "thunk memory exhausted\n");
    std::abort();
  }
  code_next = address + size;
  return address;
}

const std::vector<HeapCall>& HeapCalls() {
  return heap_calls;
}

int32_t LiveHeapBlocks() {
  std::lock_guard lock(heap_mutex);
  return static_cast<int32_t>(live_blocks.size());
}

}  // namespace standin::game
