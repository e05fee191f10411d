#include "win32_contract.h"

#include <algorithm>

namespace qz::contract {
namespace {

constexpr const char* kClassName = "QzContractWindow";

LRESULT WINAPI TestWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

// No background brush: nothing but the test paints the client area.
void RegisterTestClass() {
  static const bool registered = [] {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = TestWindowProcedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = kClassName;
    return RegisterClassA(&window_class) != 0;
  }();
  (void)registered;
}

}  // namespace

TestWindow::TestWindow(DWORD style, DWORD ex_style, int left, int top, int width, int height) {
  RegisterTestClass();
  RECT frame{left, top, left + width, top + height};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  handle_ = CreateWindowExA(ex_style, kClassName, "", style, frame.left, frame.top,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

DibCanvas::DibCanvas(int width, int height)
    : width_(width), rows_(height < 0 ? -height : height), top_down_(height < 0) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  if (bitmap_ != nullptr) SelectObject(dc_, bitmap_);
}

DibCanvas::~DibCanvas() {
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

uint32_t& DibCanvas::At(int x, int y) const {
  return bits_[static_cast<ptrdiff_t>(top_down_ ? y : rows_ - 1 - y) * width_ + x];
}

void DibCanvas::Fill(uint32_t colour) const {
  std::fill(bits_, bits_ + static_cast<ptrdiff_t>(width_) * rows_, colour);
}

Picture ReadClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  Picture picture{client.right, client.bottom, {}};
  const DibCanvas canvas(picture.width, -picture.height);
  HDC dc = GetDC(window);
  BitBlt(canvas.dc(), 0, 0, picture.width, picture.height, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  picture.pixels.assign(canvas.bits(),
                        canvas.bits() + static_cast<ptrdiff_t>(picture.width) * picture.height);
  for (uint32_t& pixel : picture.pixels) pixel &= kColourBits;
  return picture;
}

void PaintClient(HWND window, uint32_t colour) {
  RECT client{};
  GetClientRect(window, &client);
  const DibCanvas canvas(client.right, -client.bottom);
  canvas.Fill(colour);
  HDC dc = GetDC(window);
  BitBlt(dc, 0, 0, client.right, client.bottom, canvas.dc(), 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
}

Picture ReadBitmap(HBITMAP bitmap) {
  BITMAP shape{};
  GetObjectA(bitmap, sizeof shape, &shape);
  Picture picture{shape.bmWidth, shape.bmHeight, {}};
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = picture.width;
  request.bmiHeader.biHeight = -picture.height;  // top row first
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(picture.height),
                             picture.pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != picture.height) picture.pixels.clear();
  return picture;
}

IconPicture ReadIcon(HICON icon) {
  IconPicture picture;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return picture;
  picture.is_icon = info.fIcon != FALSE;
  picture.hot_x = info.xHotspot;
  picture.hot_y = info.yHotspot;
  picture.colour = ReadBitmap(info.hbmColor);
  picture.valid = info.hbmColor != nullptr && !picture.colour.pixels.empty();
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return picture;
}

uint32_t Pattern(int x, int y) {
  return static_cast<uint32_t>(0x00010000 * (x + 1) + 0x100 * (y + 1) + 0x5A);
}

HBITMAP CreateAlphaBitmap(int size, uint32_t** bits) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = size;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  HDC screen = GetDC(nullptr);
  void* pixels = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header),
                                          DIB_RGB_COLORS, &pixels, nullptr, 0);
  ReleaseDC(nullptr, screen);
  *bits = static_cast<uint32_t*>(pixels);
  return bitmap;
}

}  // namespace qz::contract
