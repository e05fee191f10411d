// GDI32 over real pixels: DIB sections in both row orders, BitBlt and PatBlt clipped to both
// surfaces, readback through GetDIBits and GetPixel, and what GDI refuses.
#include <gtest/gtest.h>

#include <vector>

#include "win32/win32_world.h"

namespace qz::win32 {
namespace {

class Win32Gdi : public ::testing::Test {
 protected:
  void SetUp() override { ResetWorld(); }
  void TearDown() override { ResetWorld(); }
};

// A 32-bit DIB section selected into a new memory DC.
struct DibCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;  // negative: top-down

  // Pixel (x, y) of the picture, y = 0 at the top, whatever the row order in memory.
  uint32_t& At(int x, int y) const {
    const int rows = height < 0 ? -height : height;
    return bits[(height < 0 ? y : rows - 1 - y) * width + x];
  }
};

DibCanvas MakeCanvas(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  DibCanvas canvas;
  canvas.width = width;
  canvas.height = height;
  canvas.dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  canvas.bitmap = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  canvas.bits = static_cast<uint32_t*>(bits);
  if (canvas.bitmap != nullptr) SelectObject(canvas.dc, canvas.bitmap);
  return canvas;
}

uint32_t Pattern(int x, int y) {
  return static_cast<uint32_t>(0x00010000 * x + 0x100 * y + 7);
}

TEST_F(Win32Gdi, CopyBetweenDibSectionsOfEitherRowOrderLandsWhereAsked) {
  for (const int source_height : {-6, 6}) {
    for (const int destination_height : {-5, 5}) {
      const DibCanvas source = MakeCanvas(8, source_height);
      const DibCanvas destination = MakeCanvas(7, destination_height);
      ASSERT_NE(source.bits, nullptr);
      ASSERT_NE(destination.bits, nullptr);
      for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) source.At(x, y) = Pattern(x, y);
      }
      ASSERT_TRUE(BitBlt(destination.dc, 1, 2, 3, 2, source.dc, 4, 1, SRCCOPY));
      for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
          const bool copied = x >= 1 && x < 4 && y >= 2 && y < 4;
          ASSERT_EQ(destination.At(x, y), copied ? Pattern(x + 3, y - 1) : 0u)
              << source_height << " " << destination_height << " at " << x << "," << y;
        }
      }
    }
  }
}

// Each transfer reaches past an edge of the destination or the source; only pixels whose
// source and destination both exist change.
TEST_F(Win32Gdi, CopyIsClippedToBothSurfaces) {
  struct Case {
    int x, y, width, height, source_x, source_y;
  };
  const Case cases[] = {
      {-2, -1, 5, 4, 0, 0},  // past the destination's top-left
      {4, 3, 10, 10, 0, 0},  // past its bottom-right
      {0, 0, 6, 5, -3, -2},  // source starts before the source's corner
      {1, 1, 6, 5, 3, 2},    // source runs off the source's far edges
      {2, 1, -2, 3, 4, 0},   // negative width counts back from x
      {0, 0, 6, 5, 5, 4},    // only the source's last pixel
  };
  for (const Case& c : cases) {
    const DibCanvas source = MakeCanvas(6, -5);
    const DibCanvas destination = MakeCanvas(6, -5);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) source.At(x, y) = Pattern(x, y);
    }
    ASSERT_TRUE(BitBlt(destination.dc, c.x, c.y, c.width, c.height, source.dc, c.source_x,
                       c.source_y, SRCCOPY));
    const int left = c.width < 0 ? c.x + c.width : c.x;
    const int source_left = c.width < 0 ? c.source_x + c.width : c.source_x;
    const int width = c.width < 0 ? -c.width : c.width;
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) {
        const int sx = x - left + source_left;
        const int sy = y - c.y + c.source_y;
        const bool copied = x >= left && x < left + width && y >= c.y && y < c.y + c.height &&
                            sx >= 0 && sx < 6 && sy >= 0 && sy < 5;
        ASSERT_EQ(destination.At(x, y), copied ? Pattern(sx, sy) : 0u)
            << "case " << c.x << "," << c.y << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(Win32Gdi, OverlappingCopyWithinOneSurfaceReadsTheOriginal) {
  const DibCanvas canvas = MakeCanvas(5, -1);
  for (int x = 0; x < 5; ++x) canvas.At(x, 0) = Pattern(x, 0);
  ASSERT_TRUE(BitBlt(canvas.dc, 1, 0, 4, 1, canvas.dc, 0, 0, SRCCOPY));
  for (int x = 1; x < 5; ++x) EXPECT_EQ(canvas.At(x, 0), Pattern(x - 1, 0));
}

TEST_F(Win32Gdi, WindowReceivesCopiesAndFillsClippedAtItsEdge) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &DefWindowProcA;
  window_class.lpszClassName = "QzCanvasWindow";
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(0, "QzCanvasWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 6,
                                nullptr, nullptr, nullptr, nullptr);
  HDC dc = GetDC(window);
  ASSERT_TRUE(PatBlt(dc, 7, 4, 20, 20, BLACKNESS));
  const DibCanvas source = MakeCanvas(4, 4);
  source.At(0, 0) = 0x00123456;
  source.At(1, 0) = 0x00ABCDEF;
  ASSERT_TRUE(BitBlt(dc, -1, 0, 3, 1, source.dc, 0, 0, SRCCOPY));
  const ClientPixels client = WindowClientPixels(window);
  ASSERT_EQ(client.width, 10);
  ASSERT_EQ(client.height, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 10; ++x) {
      uint32_t expected = kUnpaintedClientColour;
      if (x >= 7 && y >= 4) expected = 0;
      if (y == 0 && x == 0) expected = 0x00ABCDEF;
      if (y == 0 && x == 1) expected = 0;  // the source's third pixel, never written
      ASSERT_EQ(client.pixels[y * client.pitch_pixels + x], expected) << x << "," << y;
    }
  }
  // COLORREF puts red in the low byte.
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xAB, 0xCD, 0xEF));
  EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 0, -1), CLR_INVALID);
}

TEST_F(Win32Gdi, PatternFillsOfADibSection) {
  const DibCanvas canvas = MakeCanvas(4, 3);
  ASSERT_TRUE(PatBlt(canvas.dc, 0, 0, 4, 3, WHITENESS));
  ASSERT_TRUE(PatBlt(canvas.dc, 1, 1, 2, 1, BLACKNESS));
  // The white brush over (2, 1), counted back from (3, 2).
  ASSERT_TRUE(PatBlt(canvas.dc, 3, 2, -1, -1, PATCOPY));
  ASSERT_TRUE(BitBlt(canvas.dc, 0, 2, 1, 1, nullptr, 0, 0, BLACKNESS));
  const uint32_t expected[3][4] = {{0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF},
                                   {0x00FFFFFF, 0, 0x00FFFFFF, 0x00FFFFFF},
                                   {0, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.At(x, y), expected[y][x]) << x << "," << y;
  }
}

TEST_F(Win32Gdi, CursorCanvasFromAVersionFiveHeader) {
  constexpr int kSize = 32;
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(BITMAPV5HEADER);
  header.bV5Width = kSize;
  header.bV5Height = kSize;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  ASSERT_NE(colour, nullptr);
  ASSERT_NE(bits, nullptr);
  BITMAP description{};
  ASSERT_EQ(GetObjectA(colour, sizeof(description), &description),
            static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(description.bmWidth, kSize);
  EXPECT_EQ(description.bmHeight, kSize);
  EXPECT_EQ(description.bmWidthBytes, kSize * 4);
  EXPECT_EQ(description.bmBitsPixel, 32);
  EXPECT_EQ(description.bmBits, bits);

  // Bottom-up: the first row in memory is the bottom of the picture.
  static_cast<uint32_t*>(bits)[0] = 0xFF0000FF;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = kSize;
  request.bmiHeader.biHeight = -kSize;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> top_down(kSize * kSize);
  EXPECT_EQ(GetDIBits(screen, colour, 0, kSize, top_down.data(), &request, DIB_RGB_COLORS), kSize);
  EXPECT_EQ(top_down[(kSize - 1) * kSize], 0xFF0000FFu);
  EXPECT_EQ(top_down[0], 0u);
  // Only the scan lines asked for: lines 30 and 31 of the top-down layout.
  std::vector<uint32_t> two_lines(2 * kSize, 1);
  EXPECT_EQ(GetDIBits(screen, colour, 30, 5, two_lines.data(), &request, DIB_RGB_COLORS), 2);
  EXPECT_EQ(two_lines[kSize], 0xFF0000FFu);

  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
  ASSERT_NE(mask, nullptr);
  GetObjectA(mask, sizeof(description), &description);
  EXPECT_EQ(description.bmWidthBytes, 4);
  EXPECT_EQ(description.bmBitsPixel, 1);
  EXPECT_EQ(description.bmBits, nullptr);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_TRUE(DeleteObject(mask));
  EXPECT_TRUE(DeleteObject(colour));
}

TEST_F(Win32Gdi, MonochromeBitmapsHoldBlackAndWhite) {
  HBITMAP odd = CreateBitmap(33, 2, 1, 1, nullptr);
  BITMAP description{};
  GetObjectA(odd, sizeof(description), &description);
  EXPECT_EQ(description.bmWidthBytes, 6);  // rows of device-dependent bitmaps end on 16 bits
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, odd);
  ASSERT_TRUE(PatBlt(dc, 8, 0, 25, 1, WHITENESS));
  EXPECT_EQ(GetPixel(dc, 7, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 8, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 32, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 8, 1), RGB(0, 0, 0));

  // A zero size gives the 1 x 1 stock bitmap, which is never really deleted.
  HBITMAP stock = CreateBitmap(0, 0, 1, 1, nullptr);
  ASSERT_NE(stock, nullptr);
  GetObjectA(stock, sizeof(description), &description);
  EXPECT_EQ(description.bmWidth, 1);
  EXPECT_EQ(SelectObject(dc, stock), odd);
  EXPECT_TRUE(DeleteObject(stock));
  EXPECT_NE(GetObjectA(stock, sizeof(description), &description), 0);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(odd));
}

TEST_F(Win32Gdi, RefusesMalformedDibHeaders) {
  struct Case {
    const char* what;
    DWORD size;
    LONG width, height;
    WORD planes, bit_count;
    DWORD compression;
    UINT usage;
  };
  const Case cases[] = {
      {"header size 39", 39, 4, 4, 1, 32, BI_RGB, DIB_RGB_COLORS},
      {"header size 41", 41, 4, 4, 1, 32, BI_RGB, DIB_RGB_COLORS},
      {"zero width", 40, 0, 4, 1, 32, BI_RGB, DIB_RGB_COLORS},
      {"negative width", 40, -4, 4, 1, 32, BI_RGB, DIB_RGB_COLORS},
      {"zero height", 40, 4, 0, 1, 32, BI_RGB, DIB_RGB_COLORS},
      {"two planes", 40, 4, 4, 2, 32, BI_RGB, DIB_RGB_COLORS},
      {"no bits", 40, 4, 4, 1, 0, BI_RGB, DIB_RGB_COLORS},
      {"24 bits", 40, 4, 4, 1, 24, BI_RGB, DIB_RGB_COLORS},
      {"bit fields at 1 bit", 40, 4, 4, 1, 1, BI_BITFIELDS, DIB_RGB_COLORS},
      {"run-length", 40, 4, 4, 1, 32, BI_RLE8, DIB_RGB_COLORS},
      {"palette usage", 40, 4, 4, 1, 32, BI_RGB, 7},
  };
  for (const Case& c : cases) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{
        c.size, c.width, c.height, c.planes, c.bit_count, c.compression, 0, 0, 0, 0, 0};
    void* bits = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, c.usage, &bits, nullptr, 0), nullptr) << c.what;
    EXPECT_EQ(bits, nullptr) << c.what;
  }
  // Bit fields other than 8 bits each of red, green and blue.
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } fields{{40, 4, 4, 1, 32, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0x000000FF, 0x0000FF00, 0x00FF0000}};
  EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&fields), DIB_RGB_COLORS,
                             nullptr, nullptr, 0),
            nullptr);
  fields.masks[0] = 0x00FF0000;
  fields.masks[2] = 0x000000FF;
  EXPECT_NE(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&fields), DIB_RGB_COLORS,
                             nullptr, nullptr, 0),
            nullptr);
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 24, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 4, 1, 1, nullptr), nullptr);
}

TEST_F(Win32Gdi, RefusesDevicesWithoutPixelsAndMisusedObjects) {
  HDC empty = CreateCompatibleDC(nullptr);
  const DibCanvas canvas = MakeCanvas(4, 4);
  // A memory DC with only its stock bitmap has nothing to copy or fill.
  EXPECT_FALSE(BitBlt(canvas.dc, 0, 0, 4, 4, empty, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(empty, 0, 0, 4, 4, canvas.dc, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(canvas.dc, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(PatBlt(empty, 0, 0, 1, 1, BLACKNESS));
  // PatBlt takes no raster operation that needs a source; BitBlt only copies for now.
  EXPECT_FALSE(PatBlt(canvas.dc, 0, 0, 1, 1, SRCCOPY));
  EXPECT_FALSE(BitBlt(canvas.dc, 0, 0, 1, 1, canvas.dc, 0, 0, SRCPAINT));
  HDC screen = GetDC(nullptr);
  EXPECT_FALSE(BitBlt(canvas.dc, 0, 0, 1, 1, screen, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(empty, 0, 0), CLR_INVALID);

  // One DC at a time; no deleting while selected; no bitmaps in a window DC.
  EXPECT_EQ(SelectObject(empty, canvas.bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(canvas.bitmap));
  EXPECT_EQ(SelectObject(screen, CreateBitmap(1, 1, 1, 1, nullptr)), nullptr);
  EXPECT_FALSE(DeleteDC(screen));
  EXPECT_TRUE(DeleteDC(canvas.dc));
  EXPECT_EQ(SelectObject(empty, canvas.bitmap), CreateBitmap(0, 0, 1, 1, nullptr));
  EXPECT_TRUE(DeleteDC(empty));
  EXPECT_TRUE(DeleteObject(canvas.bitmap));
  EXPECT_FALSE(DeleteObject(canvas.bitmap));
  EXPECT_FALSE(DeleteDC(empty));
  EXPECT_FALSE(PatBlt(empty, 0, 0, 1, 1, BLACKNESS));
  EXPECT_EQ(GetObjectA(canvas.bitmap, sizeof(BITMAP), nullptr), 0);
  EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(0x99)), nullptr);
}

}  // namespace
}  // namespace qz::win32
