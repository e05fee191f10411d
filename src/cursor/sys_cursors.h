#pragma once
// The state of the system cursors, made once by InstallSysCursors and never freed, and the
// platform helpers the installation uses.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "core/splicer.h"
#include "cursor/cursor_builder.h"

namespace qz::cursor {

struct SysCursors {
  HMODULE library = nullptr;  // cursors.dll
  bool nt6 = false;
  HCURSOR default_cursor = nullptr;   // resource 500 of the library
  HCURSOR animated_cursor = nullptr;  // before NT 6 only
  // The handle last made the system cursor here; the window procedure and the guards read it
  // without the game's lock.
  std::atomic<HCURSOR> current{nullptr};
  // The handle last found, loaded or built, shown again when nothing new can be had.
  HCURSOR last_obtained = nullptr;
  CursorBuilder* builder = nullptr;
  core::SplicerHook* set_cursor_hook = nullptr;
  core::SplicerHook* set_frame_hook = nullptr;
  core::SplicerHook* window_procedure_hook = nullptr;
};
extern SysCursors TheSysCursors;

// 128 from NT 6 on, else 32.
extern int32_t CursorCanvasSize;

// Makes `cursor` the system cursor: the current one, set and shown.
void ShowSysCursor(HCURSOR cursor);

// Windows NT 6.0 (Vista) or later, by RtlGetNtVersionNumbers of the loaded ntdll.dll.
bool IsNt6OrLater();

// 0 keeps the current directory, 1 returns to the kept one, 2 keeps the current one and makes
// `path` current (a null path changes nothing); other modes do nothing.
void ChangeDirectory(int32_t mode, const char* path);

// Formats into 512 characters and shows the text in a message box without owner or caption.
void ShowMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The animated cursor 700 of the library, 32 x 32; null when it cannot be had.
HCURSOR LoadAnimatedCursor();

}  // namespace qz::cursor
