#include "game/game_layout.h"

#include "game/game_drawing.h"
#include "game/game_mouse.h"
#include "game/game_screen.h"
#include "game/game_window.h"
#include "game/pixel_loops.h"
#include "game/x86_code.h"

namespace standin::game {

void LayOutRoutine(uint32_t address, uint32_t body) {
  CodeWriter(address).Jump(body);
}

uint32_t LayOutCallSite(uint32_t site, uint32_t callee, uint8_t arguments, bool callee_cleans) {
  // sub esp,4 (3 bytes) + one 4-byte push per argument, ending exactly at the site.
  const uint32_t entry = site - 3 - 4u * arguments;
  CodeWriter code(entry);
  code.SubEsp(4);
  // After the misalignment the last argument sits at esp + 4 + 4n; each push moves the next one
  // to the same offset.
  for (uint8_t i = 0; i < arguments; ++i) {
    code.PushStackArgument(static_cast<uint8_t>(4 + 4 * arguments));
  }
  code.Call(callee);
  if (!callee_cleans && arguments > 0) code.AddEsp(static_cast<uint8_t>(4 * arguments));
  code.AddEsp(4);
  code.Return(static_cast<uint16_t>(4 * arguments));
  return entry;
}

void LayOutCode() {
  // jnz near to the end of the window set-up block
  CodeWriter jump(kWindowSetupJump);
  jump.Byte(0x0F);
  jump.Byte(0x85);
  jump.Dword(kWindowSetupJumpTarget - (kWindowSetupJump + 6));
  for (uint32_t address : kShortJumps) {
    CodeWriter code(address);
    code.Byte(0x74);  // jz short +0x10
    code.Byte(0x10);
  }
  for (uint32_t operand : kWindowStyleOperands) {
    CodeWriter code(operand - 1);
    code.PushImmediate(kGameWindowStyle);
  }
  LayOutWindowCode();
  LayOutDrawingCode();
  // Before the mouse code, which keeps its bytes-per-pixel cell (the first loop's step) at 4.
  LayOutPixelLoops();
  LayOutMouseCode();
  LayOutScreenCode();
}

}  // namespace standin::game
