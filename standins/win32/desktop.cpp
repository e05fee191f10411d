// What the desktop shows and reports outside any one window: message boxes, screen metrics,
// the work area, the keyboard and the mouse cursor.
#include <algorithm>

#include "win32/world_state.h"

namespace qz::win32 {

std::vector<MessageBoxRecord> MessageBoxes() {
  auto lock = LockWorld();
  return TheWorld().message_boxes;
}

}  // namespace qz::win32

using namespace qz::win32;

namespace {

constexpr UINT kButtonsMask = 0x0000000F;

}  // namespace

extern "C" {

// The player presses the first button. A null caption shows as "Error", as on Windows.
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  auto lock = LockWorld();
  World& world = TheWorld();
  if (hWnd != nullptr && world.windows.count(hWnd) == 0) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  world.message_boxes.push_back(MessageBoxRecord{
      hWnd, lpText != nullptr ? lpText : "", lpCaption != nullptr ? lpCaption : "Error", uType});
  return (uType & kButtonsMask) == MB_YESNO ? IDYES : IDOK;
}

int WINAPI GetSystemMetrics(int nIndex) {
  auto lock = LockWorld();
  const World& world = TheWorld();
  switch (nIndex) {
    case SM_CXSCREEN:
      return world.screen_width;
    case SM_CYSCREEN:
      return world.screen_height;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return kThinBorder;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
      return kFixedFrame;
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME:
      return kSizingFrame;
    case SM_CYCAPTION:
      return kCaptionHeight;
    case SM_CYMENU:
      return kMenuHeight;
    default:
      return 0;
  }
}

BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) {
  (void)uiParam;
  (void)fWinIni;
  if (uiAction != SPI_GETWORKAREA) {
    SetLastError(ERROR_INVALID_SPI_VALUE);
    return FALSE;
  }
  if (pvParam == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto lock = LockWorld();
  *static_cast<RECT*>(pvParam) = TheWorld().work_area;
  return TRUE;
}

// Negative (top bit set) while the key is down; toggle states are not kept.
SHORT WINAPI GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey > 0xFF) return 0;
  auto lock = LockWorld();
  return TheWorld().keys_down[nVirtKey] != 0 ? static_cast<SHORT>(-128) : 0;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
  if (lpPoint == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto lock = LockWorld();
  if (TheWorld().cursor_position_fails) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  *lpPoint = TheWorld().cursor;
  return TRUE;
}

// The cursor cannot leave the screen.
BOOL WINAPI SetCursorPos(int X, int Y) {
  auto lock = LockWorld();
  World& world = TheWorld();
  world.cursor.x = std::clamp(X, 0, world.screen_width - 1);
  world.cursor.y = std::clamp(Y, 0, world.screen_height - 1);
  return TRUE;
}

}  // extern "C"
