#include "core/patch_table.h"

#include <cstdint>

#include "core/settings.h"

namespace qz::core {
namespace {

enum class Operation { kJump, kHexBytes, kDword };

struct FixedPatch {
  Operation operation;
  uint32_t address;
  uint32_t value;    // jump target or dword
  const char* text;  // hex bytes
};

// Rows 2 and 3 turn conditional jumps of the game into short unconditional ones; rows 4 to 6
// replace the window style the game itself uses.
constexpr FixedPatch kFixedPatches[] = {
    {Operation::kJump, 0x601C25, 0x601C4E, nullptr},
    {Operation::kHexBytes, 0x4EDD1B, 0, "EB"},
    {Operation::kHexBytes, 0x602124, 0, "EB"},
    {Operation::kDword, 0x60216C, WindowStyle, nullptr},
    {Operation::kDword, 0x4F81A2, WindowStyle, nullptr},
    {Operation::kDword, 0x602243, WindowStyle, nullptr},
};

void Write(SplicerInstance* instance, const FixedPatch& patch) {
  switch (patch.operation) {
    case Operation::kJump:
      WriteJump(instance, patch.address, patch.value);
      break;
    case Operation::kHexBytes:
      WriteHexBytes(instance, patch.address, patch.text);
      break;
    case Operation::kDword:
      WriteDword(instance, patch.address, patch.value);
      break;
  }
}

}  // namespace

void WriteGamePatches(SplicerInstance* instance) {
  for (const FixedPatch& patch : kFixedPatches) Write(instance, patch);
}

}  // namespace qz::core
