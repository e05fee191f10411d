#pragma once
// Addresses of the game's code and data that the plug-in touches, and how the stand-in lays them
// out: every routine starts with a jump to its C++ body, every call site is a real call
// instruction inside a small caller that tests invoke as the game would.
#include <cstdint>

namespace standin::game {

inline constexpr uint32_t kGameAllocate = 0x617492;
inline constexpr uint32_t kGameRelease = 0x60B0F0;

// Targets of the fixed patches: a near conditional jump, two short conditional jumps, and the
// operands of three pushes of the game's own window style.
inline constexpr uint32_t kWindowSetupJump = 0x601C25;
inline constexpr uint32_t kWindowSetupJumpTarget = 0x601C4E;
inline constexpr uint32_t kShortJumps[] = {0x4EDD1B, 0x602124};
inline constexpr uint32_t kWindowStyleOperands[] = {0x60216C, 0x4F81A2, 0x602243};
inline constexpr uint32_t kGameWindowStyle = 0x02CA0000;

// A routine at `address` whose body is `body`: a jump the patching library can splice.
void LayOutRoutine(uint32_t address, uint32_t body);

// The call instruction at `site` calls `callee` with `arguments` stack words. The site's caller
// starts before the site; it copies its own arguments, misaligns the stack by 4 bytes as the
// game's old code does, and returns like a standard call. `callee_cleans` says whether the
// callee removes its arguments. Returns the caller's entry.
uint32_t LayOutCallSite(uint32_t site, uint32_t callee, uint8_t arguments, bool callee_cleans);

// Everything else of the image that the plug-in patches.
void LayOutCode();

}  // namespace standin::game
