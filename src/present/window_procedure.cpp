#include "present/window_procedure.h"

#include "core/game_call.h"
#include "core/settings.h"
#include "present/filter_switch.h"
#include "present/game_window_data.h"
#include "present/presentation.h"
#include "present/window_geometry.h"

namespace qz::present {

core::SplicerHook* WindowProcedureHook = nullptr;

namespace {

using namespace qz::core;

constexpr WPARAM kNumericPlus = 0x6B;
constexpr WPARAM kNumericMinus = 0x6D;
constexpr UINT kFirstMouseMessage = 0x200;
constexpr UINT kLastMouseMessage = 0x209;

bool RedrawOnMouseMove = false;

void CycleFilter(HWND window, WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0) return;
  if (key != kNumericPlus && key != kNumericMinus) return;
  FilterIndex = NextFilter(FilterIndex, key == kNumericPlus ? 1 : -1);
  SwitchFilter(window);
}

LPARAM ToFrame(LPARAM lparam) {
  const auto position = static_cast<uint32_t>(lparam);
  const int32_t x = FrameX(static_cast<int32_t>(position & 0xFFFF));
  const int32_t y = FrameY(static_cast<int32_t>(position >> 16));
  return static_cast<LPARAM>((static_cast<uint32_t>(y) << 16) |
                             (static_cast<uint32_t>(x) & 0xFFFF));
}

void CoverScreen(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, ScreenW, ScreenH, 0);
}

void Activate(HWND window, WPARAM wparam) {
  if (wparam == 0) {
    if (game::FullScreen()) ShowWindow(window, SW_MINIMIZE);
    return;
  }
  RedrawOnMouseMove = true;
  if (!game::FullScreen()) return;
  ShowWindow(window, SW_SHOWNORMAL);
  CoverScreen(window);
}

void Moved() {
  if (!game::FullScreen()) game::Redraw();
  RedrawOnMouseMove = false;
}

bool AllPaintPointersSet() {
  for (uint32_t address : game::kPaintPointers) {
    if (game::Cell<void*>(address) == nullptr) return false;
  }
  return true;
}

// Before the game has its screen there is nothing to show, but the region must still be
// validated: Windows sends WM_PAINT again and again until it is.
void ValidateUnpainted(HWND window) {
  PAINTSTRUCT paint{};
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
}

void FillBlack(HDC dc, const RECT& paint, int left, int top, int right, int bottom) {
  RECT border{};
  RECT visible{};
  SetRect(&border, left, top, right, bottom);
  if (!IntersectRect(&visible, &border, &paint)) return;
  PatBlt(dc, visible.left, visible.top, visible.right - visible.left + 1,
         visible.bottom - visible.top + 1, BLACKNESS);
}

}  // namespace

LRESULT WINAPI WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      if (AllPaintPointersSet()) {
        PaintWindow(window);
      } else {
        ValidateUnpainted(window);
      }
      return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      CycleFilter(window, wparam);
      break;
    case WM_SIZE:
      UpdateGeometry(window);
      Moved();
      break;
    case WM_MOVE:
      Moved();
      break;
    case WM_ACTIVATE:
      Activate(window, wparam);
      break;
    default:
      break;
  }
  if (message >= kFirstMouseMessage && message <= kLastMouseMessage) {
    lparam = ToFrame(lparam);
    if (message == WM_MOUSEMOVE && RedrawOnMouseMove) {
      game::Redraw();
      RedrawOnMouseMove = false;
    }
  }
  using Procedure = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
  const auto original = core::At<Procedure>(core::OriginalFunction(WindowProcedureHook));
  return original(window, message, wparam, lparam);
}

void PaintWindow(HWND window) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  RECT area = paint.rcPaint;
  if (area.right == 0 || area.bottom == 0) area = client;
  const bool one_to_one = dstW == srcW && dstH == srcH;
  const ImageBuffer* source = one_to_one ? FrameImage : OutputImage;
  if (area.right - area.left > 0 && area.bottom - area.top > 0 && source != nullptr) {
    BitBlt(dc, area.left, area.top, area.right - area.left + 1, area.bottom - area.top + 1,
           source->dc, area.left - dstX, area.top - dstY, SRCCOPY);
    if (dstX > 0 && dstY > 0) {
      // A picture limited to the images it has: black on all four sides, none of it covered.
      FillBlack(dc, area, 0, 0, dstX - 1, client.bottom);
      FillBlack(dc, area, dstX + dstW, 0, client.right, client.bottom);
      FillBlack(dc, area, 0, 0, client.right, dstY - 1);
      FillBlack(dc, area, 0, dstY + dstH, client.right, client.bottom);
    } else if (dstX > 0) {
      FillBlack(dc, area, 0, 0, dstX, client.bottom);
      FillBlack(dc, area, dstX + dstW, 0, client.right, client.bottom);
      FillBlack(dc, area, 0, dstH - 1, client.right, client.bottom);
    } else {
      FillBlack(dc, area, 0, 0, client.right, dstY);
      FillBlack(dc, area, 0, dstY + dstH, client.right, client.bottom);
      FillBlack(dc, area, dstW - 1, 0, client.right, client.bottom);
    }
  }
  EndPaint(window, &paint);
}

int32_t WINAPI CommandHandler(core::SplicerHook* hook, void* object, int32_t command,
                              int32_t parameter) {
  constexpr int32_t kToggleFullScreen = 40009;
  if (command != kToggleFullScreen) {
    using Handler = core::ThisCall<int32_t, int32_t, int32_t>;
    return core::At<Handler>(core::OriginalFunctionDirect(hook))(object, command, parameter);
  }
  HWND window = game::Window();
  int32_t& full_screen = game::Cell<int32_t>(game::kFullScreenFlag);
  full_screen = 1 - full_screen;
  if (full_screen == 1) {
    ShowWindow(window, SW_SHOWNORMAL);
    CoverScreen(window);
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    SetWindowLongA(window, GWL_EXSTYLE, WS_EX_TOPMOST);
  } else {
    RECT frame{0, 0, srcW, srcH};
    AdjustWindowRectEx(&frame, WindowStyle, TRUE, 0);
    SetWindowPos(window, HWND_NOTOPMOST, game::Cell<int32_t>(game::kWindowedX),
                 game::Cell<int32_t>(game::kWindowedY), frame.right - frame.left,
                 frame.bottom - frame.top, 0);
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WindowStyle));
    SetWindowLongA(window, GWL_EXSTYLE, 0);
  }
  game::AfterModeChange();
  game::Redraw();
  return 0;
}

int32_t WINAPI AfterPlacement(core::SplicerHook* hook) {
  using Routine = int32_t(WINAPI*)();
  const int32_t result = core::At<Routine>(core::OriginalFunctionDirect(hook))();
  if (game::FullScreen()) CoverScreen(game::Window());
  return result;
}

}  // namespace qz::present
