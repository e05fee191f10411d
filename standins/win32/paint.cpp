// Painting: the update region, paint and window device contexts, and the client pixels they
// draw into.
#include <algorithm>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

bool IsEmpty(const RECT& rect) {
  return rect.right <= rect.left || rect.bottom <= rect.top;
}

HDC NewDeviceContext(World& world, DeviceContext::Kind kind, HWND window, const RECT& clip) {
  const HDC dc = NewHandle<HDC>(world);
  DeviceContext& context = world.device_contexts[dc];
  context.kind = kind;
  context.window = window;
  context.clip = clip;
  return dc;
}

}  // namespace

Surface ClientSurface(Window& window) {
  const int width = Width(window.client);
  return Surface{reinterpret_cast<uint8_t*>(window.pixels.data()),
                 width,
                 Height(window.client),
                 width * 4,
                 32,
                 true};
}

void AddToUpdate(Window& window, const RECT& area, bool erase) {
  RECT clipped{std::max(area.left, LONG{0}), std::max(area.top, LONG{0}),
               std::min(area.right, static_cast<LONG>(Width(window.client))),
               std::min(area.bottom, static_cast<LONG>(Height(window.client)))};
  if (IsEmpty(clipped)) return;
  if (!IsEmpty(window.update)) {
    clipped =
        RECT{std::min(clipped.left, window.update.left), std::min(clipped.top, window.update.top),
             std::max(clipped.right, window.update.right),
             std::max(clipped.bottom, window.update.bottom)};
  }
  window.update = clipped;
  window.erase_pending = window.erase_pending || erase;
}

ClientPixels WindowClientPixels(HWND handle) {
  auto lock = LockWorld();
  Window* window = LookUpWindow(TheWorld(), handle);
  if (window == nullptr) return ClientPixels{nullptr, 0, 0, 0};
  const Surface surface = ClientSurface(*window);
  return ClientPixels{window->pixels.data(), surface.width, surface.width, surface.height};
}

int DispatchPaint(HWND window) {
  int sent = 0;
  MSG message{};
  while (sent < kUnvalidatedPaints &&
         PeekMessageA(&message, window, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    DispatchMessageA(&message);
    ++sent;
  }
  return sent;
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

// Nothing is ever posted in this world, so the queue holds only what Windows makes when it is
// otherwise empty: WM_PAINT for a window whose update region is not empty. As on Windows it
// stays until the window validates its region, whatever the remove flag says.
BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
  (void)wRemoveMsg;
  const bool any_message = wMsgFilterMin == 0 && wMsgFilterMax == 0;
  if (!any_message && (WM_PAINT < wMsgFilterMin || WM_PAINT > wMsgFilterMax)) return FALSE;
  auto lock = LockWorld();
  for (const auto& [handle, window] : TheWorld().windows) {
    if ((hWnd != nullptr && handle != hWnd) || IsEmpty(window.update)) continue;
    *lpMsg = MSG{handle, WM_PAINT, 0, 0, 0, TheWorld().cursor};
    return TRUE;
  }
  return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  return SendToProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

// A null window invalidates every window, as it does on Windows.
BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  auto lock = LockWorld();
  World& world = TheWorld();
  if (hWnd == nullptr) {
    for (auto& [handle, window] : world.windows) {
      AddToUpdate(window, RECT{0, 0, Width(window.client), Height(window.client)}, bErase);
    }
    return TRUE;
  }
  Window* window = LookUpWindow(world, hWnd);
  if (window == nullptr) return FALSE;
  AddToUpdate(
      *window,
      lpRect != nullptr ? *lpRect : RECT{0, 0, Width(window->client), Height(window->client)},
      bErase != FALSE);
  return TRUE;
}

// The update region is validated here, as on Windows; drawing through the paint DC is clipped
// to it. A pending erase goes to the window procedure as WM_ERASEBKGND first.
HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  HDC dc = nullptr;
  bool erase = false;
  {
    auto lock = LockWorld();
    World& world = TheWorld();
    Window* window = LookUpWindow(world, hWnd);
    if (window == nullptr) return nullptr;
    if (lpPaint == nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    *lpPaint = PAINTSTRUCT{};
    lpPaint->rcPaint = window->update;
    dc = NewDeviceContext(world, DeviceContext::Kind::kPaint, hWnd, window->update);
    lpPaint->hdc = dc;
    erase = window->erase_pending;
    window->update = RECT{};
    window->erase_pending = false;
  }
  if (erase) {
    lpPaint->fErase =
        SendToProcedure(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
  }
  return dc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  auto lock = LockWorld();
  World& world = TheWorld();
  if (lpPaint == nullptr) return TRUE;
  const auto found = world.device_contexts.find(lpPaint->hdc);
  if (found != world.device_contexts.end() && found->second.kind == DeviceContext::Kind::kPaint &&
      found->second.window == hWnd) {
    world.device_contexts.erase(found);
  }
  return TRUE;
}

// A null window gives the screen's DC, which serves as a reference DC but has no pixels here.
HDC WINAPI GetDC(HWND hWnd) {
  auto lock = LockWorld();
  World& world = TheWorld();
  if (hWnd == nullptr) return NewDeviceContext(world, DeviceContext::Kind::kScreen, nullptr, {});
  if (LookUpWindow(world, hWnd) == nullptr) return nullptr;
  return NewDeviceContext(world, DeviceContext::Kind::kWindow, hWnd, {});
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  auto lock = LockWorld();
  World& world = TheWorld();
  const auto found = world.device_contexts.find(hDC);
  if (found == world.device_contexts.end() || found->second.window != hWnd ||
      (found->second.kind != DeviceContext::Kind::kWindow &&
       found->second.kind != DeviceContext::Kind::kScreen)) {
    return 0;
  }
  world.device_contexts.erase(found);
  return 1;
}

}  // extern "C"
