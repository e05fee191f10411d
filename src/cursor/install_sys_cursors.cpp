#include "cursor/install_sys_cursors.h"

#include "core/game_call.h"
#include "core/log.h"
#include "cursor/cursor_hooks.h"
#include "cursor/mouse_manager.h"
#include "cursor/sys_cursors.h"

namespace qz::cursor {
namespace {

constexpr int32_t kNt6CanvasSize = 128;
constexpr int32_t kOldCanvasSize = 32;
constexpr WORD kDefaultCursor = 500;

// Replacements in this order; the hooks whose game routine the plug-in calls itself are kept.
void InstallReplacements(core::SplicerInstance* instance) {
  using core::kRoutine;
  using core::kStackCall;
  using core::kThisCall;
  SysCursors& cursors = TheSysCursors;
  cursors.set_cursor_hook =
      core::ReplaceRoutine(instance, game::kSetCursor, core::CodeAddress(&N_SetCursor));
  cursors.set_frame_hook = core::WriteHook(instance, game::kSetCursorFrame, kRoutine, 0, kThisCall,
                                           core::CodeAddress(&N_SetCursorFrame));
  core::WriteHook(instance, game::kIfDefaultCursor, kRoutine, core::HandlerMode(), kThisCall,
                  core::CodeAddress(&N_IfDefaultCursor));
  core::WriteHook(instance, game::kMarkUnlessDefault, kRoutine, core::HandlerMode(), kThisCall,
                  core::CodeAddress(&N_MarkUnlessDefault));
  core::WriteHook(instance, game::kUnderDefaultCursor, kRoutine, core::HandlerMode(), kThisCall,
                  core::CodeAddress(&N_UnderDefaultCursor));
  cursors.window_procedure_hook = core::WriteHook(instance, game::kWindowProcedure, kRoutine, 0,
                                                  kStackCall, core::CodeAddress(&N_WndProc));
}

}  // namespace

void InstallSysCursors(core::SplicerInstance* instance) {
  SysCursors& cursors = TheSysCursors;
  core::WriteVariable("QZ.SysCursors.Ver", 32);
  if (core::ReadVariable("QZ.BPP") != 32) {
    ShowMessage("Cann't starting RedUrivodu32 with QZ.BPP less than 32!");
    return;
  }
  const auto common = static_cast<uint32_t>(core::ReadVariable("QZ.Dir.Common"));
  ChangeDirectory(2, reinterpret_cast<const char*>(uintptr_t{common}));
  cursors.library = LoadLibraryA("cursors.dll");
  cursors.nt6 = IsNt6OrLater();
  if (cursors.nt6) {
    CursorCanvasSize = kNt6CanvasSize;
  } else {
    cursors.animated_cursor = LoadAnimatedCursor();
    CursorCanvasSize = kOldCanvasSize;
  }
  cursors.builder = CreateCursorBuilder(CursorCanvasSize);
  ChangeDirectory(1, nullptr);
  cursors.default_cursor = LoadCursorA(cursors.library, MAKEINTRESOURCEA(kDefaultCursor));
  // Without these the game keeps drawing its own cursors: neither its cursor code nor any of its
  // routines is changed.
  if (cursors.library == nullptr) {
    core::LogLine("ERROR: CANN'T LOAD cursors.dll, NO SYS CURSORS");
  } else if (cursors.default_cursor == nullptr) {
    core::LogLine("ERROR: NO DEFAULT CURSOR IN cursors.dll, NO SYS CURSORS");
  } else if (cursors.builder == nullptr) {
    core::LogLine("ERROR: CANN'T CREATE CURSOR BUILDER, NO SYS CURSORS");
  } else {
    // The game's own cursor drawing goes only now that the system cursors take its place.
    for (uint32_t site : game::kCursorCodeSites) core::WriteHexBytes(instance, site, "90 90 90");
    InstallReplacements(instance);
  }
}

}  // namespace qz::cursor
