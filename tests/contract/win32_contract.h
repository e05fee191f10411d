#pragma once
// What the contract tests share: visible top-level windows, 32-bit DIB sections selected into
// memory DCs, and reading pixels back the way any Windows program can. Only Win32 calls, so the
// tests mean the same against the stand-in and on Windows.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace qz::contract {

// The plug-in's windowed style: visible, caption, system menu, sizing border, both boxes.
inline constexpr DWORD kWindowedStyle = 0x10CF0000;
inline constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE;

// Colours without their fourth byte, which a window does not keep.
inline constexpr uint32_t kColourBits = 0x00FFFFFF;

// A window destroyed with the test. `style` and `ex_style` as CreateWindowExA takes them; the
// window rectangle is the one AdjustWindowRectEx gives for a client area of width x height at
// (left, top) of the screen.
class TestWindow {
 public:
  TestWindow(DWORD style, DWORD ex_style, int left, int top, int width, int height);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND handle() const { return handle_; }

 private:
  HWND handle_ = nullptr;
};

// A 32-bit DIB section of width x height (negative height: top-down) in its own memory DC.
class DibCanvas {
 public:
  DibCanvas(int width, int height);
  ~DibCanvas();
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  uint32_t* bits() const { return bits_; }
  int width() const { return width_; }
  int rows() const { return rows_; }
  // Pixel (x, y) of the picture, y = 0 at the top, whatever the row order in memory.
  uint32_t& At(int x, int y) const;
  void Fill(uint32_t colour) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int rows_ = 0;
  bool top_down_ = true;
};

// A picture read back, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The client pixels of a window, read through its DC with BitBlt; bits 24 to 31 cleared.
Picture ReadClient(HWND window);
// Fills the whole client area with one colour through the window's DC.
void PaintClient(HWND window, uint32_t colour);
// The rows of a 32-bit bitmap through GetDIBits as 32-bit pixels, top row first.
Picture ReadBitmap(HBITMAP bitmap);

// A cursor or icon read back through GetIconInfo: its first picture and its hot spot.
struct IconPicture {
  bool valid = false;
  bool is_icon = true;
  uint32_t hot_x = 0;
  uint32_t hot_y = 0;
  Picture colour;
};
IconPicture ReadIcon(HICON icon);

// The cursor builder's colour bitmap: BI_BITFIELDS with an alpha mask, rows bottom-up; `bits`
// receives its pixels.
HBITMAP CreateAlphaBitmap(int size, uint32_t** bits);

// Test pixels that name their place.
uint32_t Pattern(int x, int y);

}  // namespace qz::contract
