#include "game/cursor_picture.h"

namespace standin::game {

CursorPicture ReadCursor(HCURSOR cursor) {
  CursorPicture picture;
  ICONINFO info{};
  if (!GetIconInfo(cursor, &info)) return picture;
  BITMAP colour{};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  picture.width = colour.bmWidth;
  picture.height = colour.bmHeight;
  picture.hot_x = info.xHotspot;
  picture.hot_y = info.yHotspot;
  picture.is_icon = info.fIcon != FALSE;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = picture.width;
  request.bmiHeader.biHeight = -picture.height;  // top row first
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  picture.valid = GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(picture.height),
                            picture.pixels.data(), &request, DIB_RGB_COLORS) == picture.height;
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return picture;
}

}  // namespace standin::game
