// Window placement: the frame a style gives, positions and sizes, the top-most band, show
// states, and the conversion between client and screen coordinates.
#include <algorithm>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

// Where Windows parks a minimised top-level window, and the size of its caption button.
constexpr LONG kMinimisedPosition = -32000;
constexpr LONG kMinimisedWidth = 160;
constexpr LONG kMinimisedHeight = 28;

RECT Deflated(const RECT& rect, const RECT& insets) {
  RECT inner{rect.left + insets.left, rect.top + insets.top, rect.right - insets.right,
             rect.bottom - insets.bottom};
  inner.right = std::max(inner.right, inner.left);
  inner.bottom = std::max(inner.bottom, inner.top);
  return inner;
}

bool IsMinimised(const Window& window) {
  return (window.style & WS_MINIMIZE) != 0;
}
bool IsMaximised(const Window& window) {
  return (window.style & WS_MAXIMIZE) != 0;
}

// A window grown by its own frame beyond the work area, so that only the caption and client
// area stay on screen, as a maximised window lies.
RECT MaximisedRect(const World& world, const Window& window) {
  const LONG frame = FrameInsets(window.style, window.has_menu, window.ex_style).left;
  return RECT{world.work_area.left - frame, world.work_area.top - frame,
              world.work_area.right + frame, world.work_area.bottom + frame};
}

void InvalidateExposed(Window& window, int old_width, int old_height) {
  const int width = Width(window.client);
  const int height = Height(window.client);
  if (((window.class_style & CS_HREDRAW) != 0 && width != old_width) ||
      ((window.class_style & CS_VREDRAW) != 0 && height != old_height)) {
    AddToUpdate(window, RECT{0, 0, width, height}, true);
    return;
  }
  if (width > old_width) AddToUpdate(window, RECT{old_width, 0, width, height}, true);
  if (height > old_height) AddToUpdate(window, RECT{0, old_height, width, height}, true);
}

void ResizeClientPixels(Window& window, int old_width, int old_height) {
  const int width = Width(window.client);
  const int height = Height(window.client);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height),
                               kUnpaintedClientColour);
  const int kept_width = std::min(width, old_width);
  for (int y = 0; y < std::min(height, old_height); ++y) {
    std::copy_n(window.pixels.begin() + static_cast<ptrdiff_t>(y) * old_width, kept_width,
                pixels.begin() + static_cast<ptrdiff_t>(y) * width);
  }
  window.pixels = std::move(pixels);
}

}  // namespace

int Width(const RECT& rect) {
  return rect.right - rect.left;
}
int Height(const RECT& rect) {
  return rect.bottom - rect.top;
}

RECT FrameInsets(DWORD style, bool has_menu, DWORD ex_style) {
  int frame = 0;
  if ((style & WS_THICKFRAME) != 0) {
    frame = kSizingFrame;
  } else if ((style & WS_DLGFRAME) != 0 || (ex_style & WS_EX_DLGMODALFRAME) != 0) {
    frame = kFixedFrame;  // WS_CAPTION includes WS_DLGFRAME
  } else if ((style & WS_BORDER) != 0) {
    frame = kThinBorder;
  }
  if ((ex_style & WS_EX_CLIENTEDGE) != 0) frame += kClientEdge;
  if ((ex_style & WS_EX_STATICEDGE) != 0) frame += kStaticEdge;
  int top = frame;
  if ((style & WS_CAPTION) == WS_CAPTION) top += kCaptionHeight;
  if (has_menu) top += kMenuHeight;
  return RECT{frame, top, frame, frame};
}

PlacementNotice PlaceWindow(Window& window, const RECT& rect, bool frame_changed) {
  const RECT old_client = window.client;
  const RECT old_rect = window.rect;
  const bool size_changed = Width(rect) != Width(old_rect) || Height(rect) != Height(old_rect);
  window.rect = rect;
  if (IsMinimised(window)) {
    window.client = RECT{rect.left, rect.top, rect.left, rect.top};
  } else if (size_changed || frame_changed) {
    window.client = Deflated(rect, FrameInsets(window.style, window.has_menu, window.ex_style));
  } else {
    const LONG dx = rect.left - old_rect.left;
    const LONG dy = rect.top - old_rect.top;
    window.client = RECT{old_client.left + dx, old_client.top + dy, old_client.right + dx,
                         old_client.bottom + dy};
  }
  PlacementNotice notice;
  notice.moved = window.client.left != old_client.left || window.client.top != old_client.top;
  notice.sized =
      Width(window.client) != Width(old_client) || Height(window.client) != Height(old_client);
  notice.client_origin = MAKELPARAM(window.client.left, window.client.top);
  notice.size_kind = IsMinimised(window)   ? SIZE_MINIMIZED
                     : IsMaximised(window) ? SIZE_MAXIMIZED
                                           : SIZE_RESTORED;
  notice.client_size = MAKELPARAM(Width(window.client), Height(window.client));
  if (notice.sized) {
    ResizeClientPixels(window, Width(old_client), Height(old_client));
    InvalidateExposed(window, Width(old_client), Height(old_client));
  }
  return notice;
}

void SendPlacementNotice(HWND handle, const PlacementNotice& notice, bool size_first) {
  if (size_first && notice.sized) {
    SendToProcedure(handle, WM_SIZE, notice.size_kind, notice.client_size);
  }
  if (notice.moved) SendToProcedure(handle, WM_MOVE, 0, notice.client_origin);
  if (!size_first && notice.sized) {
    SendToProcedure(handle, WM_SIZE, notice.size_kind, notice.client_size);
  }
}

bool GetPlacement(HWND handle, WindowPlacement* placement) {
  auto lock = LockWorld();
  const Window* window = LookUpWindow(TheWorld(), handle);
  if (window == nullptr) return false;
  *placement = WindowPlacement{
      window->rect,         window->client,
      window->style,        window->ex_style | (window->top_most ? WS_EX_TOPMOST : 0),
      window->top_most,     (window->style & WS_VISIBLE) != 0,
      IsMinimised(*window), IsMaximised(*window)};
  return true;
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
  if (lpRect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT insets = FrameInsets(dwStyle, bMenu != FALSE, dwExStyle);
  lpRect->left -= insets.left;
  lpRect->top -= insets.top;
  lpRect->right += insets.right;
  lpRect->bottom += insets.bottom;
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  auto lock = LockWorld();
  const Window* window = LookUpWindow(TheWorld(), hWnd);
  if (window == nullptr || lpRect == nullptr) return FALSE;
  *lpRect = RECT{0, 0, Width(window->client), Height(window->client)};
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  auto lock = LockWorld();
  const Window* window = LookUpWindow(TheWorld(), hWnd);
  if (window == nullptr || lpRect == nullptr) return FALSE;
  *lpRect = window->rect;
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                         UINT uFlags) {
  PlacementNotice notice;
  {
    auto lock = LockWorld();
    World& world = TheWorld();
    Window* window = LookUpWindow(world, hWnd);
    if (window == nullptr) return FALSE;
    if ((uFlags & SWP_NOZORDER) == 0) {
      if (hWndInsertAfter == HWND_TOPMOST) {
        window->top_most = true;
      } else if (hWndInsertAfter == HWND_NOTOPMOST || hWndInsertAfter == HWND_BOTTOM) {
        window->top_most = false;
      } else if (hWndInsertAfter != HWND_TOP) {
        const Window* after = LookUpWindow(world, hWndInsertAfter);
        if (after == nullptr) return FALSE;
        window->top_most = after->top_most;
      }
    }
    RECT rect = window->rect;
    if ((uFlags & SWP_NOMOVE) == 0) rect = RECT{X, Y, X + Width(rect), Y + Height(rect)};
    if ((uFlags & SWP_NOSIZE) == 0) {
      rect.right = rect.left + std::max(cx, 0);
      rect.bottom = rect.top + std::max(cy, 0);
    }
    if ((uFlags & SWP_SHOWWINDOW) != 0) window->style |= WS_VISIBLE;
    if ((uFlags & SWP_HIDEWINDOW) != 0) window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    notice = PlaceWindow(*window, rect, (uFlags & SWP_FRAMECHANGED) != 0);
  }
  SendPlacementNotice(hWnd, notice, false);
  return TRUE;
}

// Returns whether the window was visible before.
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  PlacementNotice notice;
  bool was_visible = false;
  bool now_visible = false;
  {
    auto lock = LockWorld();
    World& world = TheWorld();
    Window* window = LookUpWindow(world, hWnd);
    if (window == nullptr) return FALSE;
    if (nCmdShow < SW_HIDE || nCmdShow > SW_FORCEMINIMIZE) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    was_visible = (window->style & WS_VISIBLE) != 0;
    const bool minimise = nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINIMIZED ||
                          nCmdShow == SW_SHOWMINNOACTIVE || nCmdShow == SW_FORCEMINIMIZE;
    const bool maximise = nCmdShow == SW_SHOWMAXIMIZED;
    const bool restore = nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_RESTORE ||
                         nCmdShow == SW_SHOWNOACTIVATE || nCmdShow == SW_SHOWDEFAULT;
    const bool placed = IsMinimised(*window) || IsMaximised(*window);
    if ((minimise || maximise) && !placed) window->normal_rect = window->rect;
    RECT rect = window->rect;
    if (minimise) {
      window->style = (window->style | WS_MINIMIZE) & ~static_cast<DWORD>(WS_MAXIMIZE);
      rect = RECT{kMinimisedPosition, kMinimisedPosition, kMinimisedPosition + kMinimisedWidth,
                  kMinimisedPosition + kMinimisedHeight};
    } else if (maximise) {
      window->style = (window->style | WS_MAXIMIZE) & ~static_cast<DWORD>(WS_MINIMIZE);
      rect = MaximisedRect(world, *window);
    } else if (restore && placed) {
      window->style &= ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE);
      rect = window->normal_rect;
    }
    if (nCmdShow == SW_HIDE) {
      window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    } else {
      window->style |= WS_VISIBLE;
    }
    now_visible = (window->style & WS_VISIBLE) != 0;
    notice = PlaceWindow(*window, rect, minimise || maximise || (restore && placed));
    if (now_visible && !was_visible) {
      AddToUpdate(*window, RECT{0, 0, Width(window->client), Height(window->client)}, true);
    }
  }
  if (now_visible != was_visible) SendToProcedure(hWnd, WM_SHOWWINDOW, now_visible, 0);
  SendPlacementNotice(hWnd, notice, false);
  return was_visible ? TRUE : FALSE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  auto lock = LockWorld();
  const Window* window = LookUpWindow(TheWorld(), hWnd);
  if (window == nullptr || lpPoint == nullptr) return FALSE;
  lpPoint->x += window->client.left;
  lpPoint->y += window->client.top;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  auto lock = LockWorld();
  const Window* window = LookUpWindow(TheWorld(), hWnd);
  if (window == nullptr || lpPoint == nullptr) return FALSE;
  lpPoint->x -= window->client.left;
  lpPoint->y -= window->client.top;
  return TRUE;
}

}  // extern "C"
