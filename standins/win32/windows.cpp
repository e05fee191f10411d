// Window classes, window creation and destruction, messages sent to window procedures and the
// window longs.
#include <algorithm>
#include <utility>

#include "game/game_calls.h"
#include "win32/world_state.h"

namespace qz::win32 {
namespace {

const WindowClass* FindClass(const World& world, LPCSTR name) {
  // A class name whose pointer fits in 16 bits is the class atom.
  const uintptr_t value = reinterpret_cast<uintptr_t>(name);
  for (const auto& [key, window_class] : world.classes) {
    if (value <= 0xFFFF ? window_class.atom == value : key == LowerCase(name)) {
      return &window_class;
    }
  }
  return nullptr;
}

// Where CW_USEDEFAULT puts an overlapped window: the work area's corner, three quarters of its
// size. Pop-up windows get zero, as on Windows.
RECT InitialRect(const World& world, DWORD style, int x, int y, int width, int height) {
  const bool overlapped = (style & WS_POPUP) == 0;
  if (x == CW_USEDEFAULT) {
    x = overlapped ? world.work_area.left : 0;
    y = overlapped ? world.work_area.top : 0;
  }
  if (width == CW_USEDEFAULT) {
    width = overlapped ? Width(world.work_area) * 3 / 4 : 0;
    height = overlapped ? Height(world.work_area) * 3 / 4 : 0;
  }
  return RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

void RemoveWindow(HWND handle) {
  auto lock = LockWorld();
  World& world = TheWorld();
  world.windows.erase(handle);
  std::erase_if(world.device_contexts,
                [handle](const auto& entry) { return entry.second.window == handle; });
}

// Windows calls a window procedure on a stack aligned to 4 bytes only and relies on it to remove
// its four arguments and keep the registers it must keep.
LRESULT CallProcedure(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  using standin::game::Word;
  return static_cast<LRESULT>(standin::game::CallGame(
      Word(procedure),
      {Word(handle), message, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)}));
}

}  // namespace

Window* LookUpWindow(World& world, HWND window) {
  const auto found = world.windows.find(window);
  if (found == world.windows.end()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return &found->second;
}

LRESULT SendToProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = nullptr;
  {
    auto lock = LockWorld();
    Window* window = LookUpWindow(TheWorld(), handle);
    if (window == nullptr) return 0;
    procedure = window->procedure;
  }
  return procedure != nullptr ? CallProcedure(procedure, handle, message, wParam, lParam) : 0;
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
  if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr ||
      lpWndClass->lpfnWndProc == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto lock = LockWorld();
  World& world = TheWorld();
  const std::string key = LowerCase(lpWndClass->lpszClassName);
  if (world.classes.count(key) != 0) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  const ATOM atom = world.next_atom++;
  world.classes[key] = WindowClass{atom, lpWndClass->lpfnWndProc, lpWndClass->style};
  return atom;
}

// Top-level windows only: child windows are not part of this world.
HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) {
  HWND handle = nullptr;
  CREATESTRUCTA create{};
  PlacementNotice notice;
  {
    auto lock = LockWorld();
    World& world = TheWorld();
    const WindowClass* window_class =
        lpClassName != nullptr ? FindClass(world, lpClassName) : nullptr;
    if (window_class == nullptr) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    if ((dwStyle & WS_CHILD) != 0) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    if (hWndParent != nullptr && LookUpWindow(world, hWndParent) == nullptr) return nullptr;
    // An overlapped window always has a caption and clips its siblings.
    if ((dwStyle & WS_POPUP) == 0) dwStyle |= WS_CAPTION | WS_CLIPSIBLINGS;
    const RECT rect = InitialRect(world, dwStyle, X, Y, nWidth, nHeight);
    handle = NewHandle<HWND>(world);
    Window& window = world.windows[handle];
    window.procedure = window_class->procedure;
    window.class_style = window_class->style;
    window.style = dwStyle;
    window.ex_style = dwExStyle & ~static_cast<DWORD>(WS_EX_TOPMOST);
    window.top_most = (dwExStyle & WS_EX_TOPMOST) != 0;
    window.has_menu = hMenu != nullptr;
    window.normal_rect = rect;
    window.client = RECT{rect.left, rect.top, rect.left, rect.top};
    notice = PlaceWindow(window, rect, true);
    create = CREATESTRUCTA{lpParam,
                           hInstance,
                           hMenu,
                           hWndParent,
                           nHeight,
                           nWidth,
                           Y,
                           X,
                           static_cast<LONG>(dwStyle),
                           lpWindowName,
                           lpClassName,
                           dwExStyle};
  }
  const LPARAM create_parameter = reinterpret_cast<LPARAM>(&create);
  if (SendToProcedure(handle, WM_NCCREATE, 0, create_parameter) == FALSE ||
      SendToProcedure(handle, WM_CREATE, 0, create_parameter) == -1) {
    SendToProcedure(handle, WM_NCDESTROY, 0, 0);
    RemoveWindow(handle);
    return nullptr;
  }
  SendPlacementNotice(handle, notice, true);
  return handle;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  SendToProcedure(hWnd, WM_DESTROY, 0, 0);
  SendToProcedure(hWnd, WM_NCDESTROY, 0, 0);
  RemoveWindow(hWnd);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
  auto lock = LockWorld();
  return TheWorld().windows.count(hWnd) != 0 ? TRUE : FALSE;
}

// The default answers that matter here: creation goes on, closing destroys, and painting
// validates the window.
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  switch (Msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (BeginPaint(hWnd, &paint) != nullptr) EndPaint(hWnd, &paint);
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return SendToProcedure(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                               LPARAM lParam) {
  if (lpPrevWndFunc == nullptr) return 0;
  return CallProcedure(lpPrevWndFunc, hWnd, Msg, wParam, lParam);
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
  auto lock = LockWorld();
  const Window* window = LookUpWindow(TheWorld(), hWnd);
  if (window == nullptr) return 0;
  switch (nIndex) {
    case GWL_STYLE:
      return static_cast<LONG>(window->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(window->ex_style | (window->top_most ? WS_EX_TOPMOST : 0));
    case GWL_WNDPROC:
      return reinterpret_cast<LONG>(window->procedure);
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

// The new styles are stored at once but the frame stays as it was until SetWindowPos measures
// it again (a size change or SWP_FRAMECHANGED); WS_EX_TOPMOST only changes through SetWindowPos.
LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  auto lock = LockWorld();
  Window* window = LookUpWindow(TheWorld(), hWnd);
  if (window == nullptr) return 0;
  const DWORD value = static_cast<DWORD>(dwNewLong);
  switch (nIndex) {
    case GWL_STYLE:
      return static_cast<LONG>(std::exchange(window->style, value));
    case GWL_EXSTYLE: {
      const DWORD previous = window->ex_style | (window->top_most ? WS_EX_TOPMOST : 0);
      window->ex_style = value & ~static_cast<DWORD>(WS_EX_TOPMOST);
      return static_cast<LONG>(previous);
    }
    case GWL_WNDPROC:
      return reinterpret_cast<LONG>(
          std::exchange(window->procedure, reinterpret_cast<WNDPROC>(dwNewLong)));
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

}  // extern "C"
