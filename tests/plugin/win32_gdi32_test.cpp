// GDI32 of the stand-in where the Win32 contract suite does not reach: row orders in one copy,
// overlapping copies, and what GDI refuses.
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

TEST_F(Win32Gdi, OverlappingCopyWithinOneSurfaceReadsTheOriginal) {
  const DibCanvas canvas = MakeCanvas(5, -1);
  for (int x = 0; x < 5; ++x) canvas.At(x, 0) = Pattern(x, 0);
  ASSERT_TRUE(BitBlt(canvas.dc, 1, 0, 4, 1, canvas.dc, 0, 0, SRCCOPY));
  for (int x = 1; x < 5; ++x) EXPECT_EQ(canvas.At(x, 0), Pattern(x - 1, 0));
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
