#include "present/window_geometry.h"

#include <algorithm>

#include "core/log.h"
#include "core/picture_rectangle.h"
#include "core/settings.h"
#include "core/splicer.h"
#include "present/display_objects.h"
#include "present/filter_selection.h"
#include "present/game_window_data.h"
#include "present/presentation.h"

namespace qz::present {
namespace {

using namespace qz::core;

// position * frame / picture in 64 bits, so far-off positions cannot overflow.
int32_t ToFrame(int32_t position, int32_t frame, int32_t picture) {
  return static_cast<int32_t>(int64_t{position} * frame / picture);
}

int32_t LimitInFullScreen(int32_t value, int32_t size) {
  if (!game::FullScreen()) return value;
  if (value < 0) return 0;
  return value > size - 1 ? size - 1 : value;
}

// Only when larger images cannot be had: the picture the images hold, centred in the client
// area, with black around it.
PictureRectangle LimitedPicture(int32_t width, int32_t height) {
  static bool logged = false;
  if (!logged) {
    LogLine("ERROR: NO MEMORY FOR A PICTURE OF THE WINDOW'S SIZE, PICTURE LIMITED");
    logged = true;
  }
  PictureRectangle picture = FitPicture(srcW, srcH, std::min(width, HeldPictureWidth()),
                                        std::min(height, HeldPictureHeight()));
  picture.x = (width - picture.width) / 2;
  picture.y = (height - picture.height) / 2;
  return picture;
}

}  // namespace

void (*PictureResized)() = nullptr;

void UpdateGeometry(HWND window) {
  if (srcW == 0) return;
  RECT client{};
  if (!GetClientRect(window, &client)) return;
  const int32_t width = client.right - client.left;
  const int32_t height = client.bottom - client.top;
  if (width == 0 || height == 0) return;
  const PictureRectangle wanted = FitPicture(srcW, srcH, width, height);
  const PictureRoom room = MakeRoomForPicture(wanted.width, wanted.height);
  SetPicture(room == PictureRoom::kShort ? LimitedPicture(width, height) : wanted);
  if (PictureResized != nullptr) PictureResized();
  // The host owns the rectangle; without one there is nothing to publish.
  const int32_t clip = ReadVariable("QZ.ClipRect");
  if (clip != 0) {
    auto* rectangle =
        reinterpret_cast<int32_t*>(static_cast<uintptr_t>(static_cast<uint32_t>(clip)));
    rectangle[0] = dstX;
    rectangle[1] = dstY;
    rectangle[2] = dstX + dstW;
    rectangle[3] = dstY + dstH;
  }
  SelectPresent();
  // Remade images start black: the whole frame is presented into them at once.
  if (room == PictureRoom::kGrown) PresentRoutine(nullptr, nullptr, nullptr, nullptr, 0, nullptr);
}

int32_t FrameX(int32_t window_x) {
  if (dstW < 1) return window_x;
  return LimitInFullScreen(ToFrame(window_x - dstX, srcW, dstW), srcW);
}

int32_t FrameY(int32_t window_y) {
  if (dstH < 1) return window_y;
  return LimitInFullScreen(ToFrame(window_y - dstY, srcH, dstH), srcH);
}

BOOL WINAPI AdjustWindowRectExtended(RECT* rectangle, DWORD style, BOOL menu, DWORD ex_style) {
  rectangle->right = rectangle->left + srcW;
  rectangle->bottom = rectangle->top + srcH;
  const DWORD extended = game::FullScreen() ? ex_style + WS_EX_TOPMOST : ex_style;
  const BOOL result = AdjustWindowRectEx(rectangle, style, menu, extended);
  RECT work{};
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    if (rectangle->right - rectangle->left > work.right - work.left) {
      rectangle->right = rectangle->left + (work.right - work.left);
    }
    if (rectangle->bottom - rectangle->top > work.bottom - work.top) {
      rectangle->bottom = rectangle->top + (work.bottom - work.top);
    }
  }
  return result;
}

BOOL WINAPI AdjustWindowRectPlain(RECT* rectangle, DWORD style, BOOL menu) {
  return AdjustWindowRectExtended(rectangle, style, menu, 0);
}

BOOL WINAPI FrameCursorPosition(POINT* point) {
  const BOOL result = GetCursorPos(point);
  POINT origin{0, 0};
  ClientToScreen(game::Window(), &origin);
  point->x = FrameX(point->x - origin.x);
  point->y = FrameY(point->y - origin.y);
  return result;
}

BOOL WINAPI IgnoreTwoArguments(void*, void*) {
  return 1;
}

}  // namespace qz::present
