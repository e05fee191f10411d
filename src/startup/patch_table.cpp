#include "startup/patch_table.h"

#include <cstdint>
#include <iterator>

#include "core/game_call.h"
#include "core/settings.h"
#include "present/display_objects.h"
#include "present/filter_switch.h"
#include "present/window_geometry.h"
#include "present/window_procedure.h"

namespace qz::startup {

using namespace qz::core;

namespace {

enum class Operation { kJump, kHexBytes, kDword, kHook, kRegisterHook };

// One change to the game. Hooks with `handler_mode` get the SplicerHook first (mode 1 or 2 by
// "QZ.ExeVersion"); the others replace the game's code in its own convention (mode 0).
struct GamePatch {
  Operation operation;
  uint32_t address;
  uint32_t value;  // jump target or dword
  const char* text;
  HookKind kind;
  bool handler_mode;
  HookConvention convention;
  const void* handler;
  SplicerHook** keep;  // where the returned hook is stored, if anywhere
};

GamePatch Fixed(Operation operation, uint32_t address, uint32_t value, const char* text) {
  return {operation, address, value, text, kCallSite, false, kStackCall, nullptr, nullptr};
}

GamePatch Hook(uint32_t address, HookKind kind, bool handler_mode, HookConvention convention,
               const void* handler, SplicerHook** keep = nullptr) {
  return {Operation::kHook, address, 0, nullptr, kind, handler_mode, convention, handler, keep};
}

// Rows 2 and 3 turn conditional jumps of the game into short unconditional ones; rows 4 to 6
// replace the window style the game itself uses.
const GamePatch* Patches(int& count) {
  using namespace qz::present;
  static const GamePatch patches[] = {
      Fixed(Operation::kJump, 0x601C25, 0x601C4E, nullptr),
      Fixed(Operation::kHexBytes, 0x4EDD1B, 0, "EB"),
      Fixed(Operation::kHexBytes, 0x602124, 0, "EB"),
      Fixed(Operation::kDword, 0x60216C, WindowStyle, nullptr),
      Fixed(Operation::kDword, 0x4F81A2, WindowStyle, nullptr),
      Fixed(Operation::kDword, 0x602243, WindowStyle, nullptr),
      Hook(0x601ACC, kCallSite, false, kStackCall, CodeAddress(&CreateDisplayObject)),
      Hook(0x60225C, kCallSite, false, kStackCall, CodeAddress(&AdjustWindowRectExtended)),
      Hook(0x4F81C7, kCallSite, false, kStackCall, CodeAddress(&AdjustWindowRectPlain)),
      Hook(0x63A304, kPointerCell, false, kStackCall, CodeAddress(&FrameCursorPosition)),
      Hook(0x63A2A0, kPointerCell, false, kStackCall, CodeAddress(&IgnoreTwoArguments)),
      Hook(0x63A308, kPointerCell, false, kStackCall, CodeAddress(&IgnoreTwoArguments)),
      Hook(0x4F8290, kRoutine, false, kStackCall, CodeAddress(&WindowProcedure),
           &WindowProcedureHook),
      {Operation::kRegisterHook, 0x60306D, 0, nullptr, kCallSite, false, kStackCall,
       CodeAddress(&SkipOnce), nullptr},
      Hook(0x4F86F0, kRoutine, true, kThisCall, CodeAddress(&CommandHandler)),
      Hook(0x4F812E, kCallSite, true, kStackCall, CodeAddress(&AfterPlacement)),
  };
  count = static_cast<int>(std::size(patches));
  return patches;
}

void Write(SplicerInstance* instance, const GamePatch& patch) {
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
    case Operation::kRegisterHook:
      WriteRegisterHook(instance, patch.address, patch.handler);
      break;
    case Operation::kHook: {
      const int32_t mode = patch.handler_mode ? HandlerMode() : 0;
      SplicerHook* hook =
          WriteHook(instance, patch.address, patch.kind, mode, patch.convention, patch.handler);
      if (patch.keep != nullptr) *patch.keep = hook;
      break;
    }
  }
}

}  // namespace

void WriteGamePatches(SplicerInstance* instance) {
  int count = 0;
  const GamePatch* patches = Patches(count);
  for (int i = 0; i < count; ++i) Write(instance, patches[i]);
}

}  // namespace qz::startup
