#include "cursor/sys_cursors.h"

#include <cstdarg>
#include <cstdio>

#include "core/game_call.h"

namespace qz::cursor {

SysCursors TheSysCursors;
int32_t CursorCanvasSize = 0;

namespace {

constexpr WORD kAnimatedCursor = 700;
constexpr WORD kAnimatedCursorType = 21;  // RT_ANICURSOR
constexpr DWORD kResourceFormat = 0x00030000;
constexpr int kAnimatedCursorSize = 32;

char kept_directory[MAX_PATH];

}  // namespace

void ShowSysCursor(HCURSOR cursor) {
  TheSysCursors.current.store(cursor, std::memory_order_relaxed);
  SetCursor(cursor);
  ShowCursor(TRUE);
}

bool IsNt6OrLater() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (ntdll == nullptr) return false;
  const FARPROC routine = GetProcAddress(ntdll, "RtlGetNtVersionNumbers");
  if (routine == nullptr) return false;
  DWORD major = 0;
  DWORD minor = 0;
  DWORD build = 0;
  using Version = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  core::At<Version>(reinterpret_cast<const void*>(routine))(&major, &minor, &build);
  return major >= 6;
}

void ChangeDirectory(int32_t mode, const char* path) {
  switch (mode) {
    case 0:
      GetCurrentDirectoryA(MAX_PATH, kept_directory);
      break;
    case 1:
      SetCurrentDirectoryA(kept_directory);
      break;
    case 2:
      GetCurrentDirectoryA(MAX_PATH, kept_directory);
      if (path != nullptr) SetCurrentDirectoryA(path);
      break;
    default:
      break;
  }
}

void ShowMessage(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  MessageBoxA(nullptr, text, "", MB_OK);
}

HCURSOR LoadAnimatedCursor() {
  HMODULE library = TheSysCursors.library;
  HRSRC resource = FindResourceA(library, MAKEINTRESOURCEA(kAnimatedCursor),
                                 MAKEINTRESOURCEA(kAnimatedCursorType));
  if (resource == nullptr) return nullptr;
  const DWORD size = SizeofResource(library, resource);
  HGLOBAL loaded = LoadResource(library, resource);
  auto* bits = static_cast<PBYTE>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (bits == nullptr) return nullptr;
  return CreateIconFromResourceEx(bits, size, FALSE, kResourceFormat, kAnimatedCursorSize,
                                  kAnimatedCursorSize, 0);
}

}  // namespace qz::cursor
