#pragma once
// The game's executable image at its fixed addresses: code laid out so the plug-in's patches and
// hooks land on real instructions, data cells the plug-in reads, and routines that record their
// calls. Each test process maps it once.
#include <cstdint>
#include <string>
#include <vector>

namespace standin::game {

inline constexpr uint32_t kImageBase = 0x400000;
inline constexpr uint32_t kImageEnd = 0x700000;

inline bool InImage(uint32_t address, uint32_t size) {
  return address >= kImageBase && size <= kImageEnd - address;
}

// Maps the image and lays out its code; later calls do nothing.
void MapImage();

// Executable memory outside the image for the patching library's thunks.
uint32_t AllocateCode(uint32_t size);

// The game's heap (allocation 0x617492, release 0x60B0F0): blocks still live, and all calls.
struct HeapCall {
  bool allocation;
  uint32_t size_or_block;
};
const std::vector<HeapCall>& HeapCalls();
int32_t LiveHeapBlocks();

}  // namespace standin::game
