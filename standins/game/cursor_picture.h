#pragma once
// Reading a cursor back as a Windows program would: its picture, size and hot spot.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace standin::game {

// A cursor's first picture, its size and hot spot, read through GetIconInfo and GetDIBits.
struct CursorPicture {
  bool valid = false;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t hot_x = 0;
  uint32_t hot_y = 0;
  bool is_icon = true;
  std::vector<uint32_t> pixels;  // top row first
  uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
CursorPicture ReadCursor(HCURSOR cursor);

}  // namespace standin::game
