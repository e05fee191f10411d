// DIB sections from the two headers the plug-in fills: the top-down image with three spare
// columns and rows, and the bottom-up BITMAPV5 colour bitmap with alpha of the cursor builder.
#include <gtest/gtest.h>

#include "win32_contract.h"

namespace qz::contract {
namespace {

constexpr int kSpare = 3;

TEST(ContractDibSection, TopDownImageWithSpareRowsHandsOutZeroedRowsPitchPixelsApart) {
  for (const auto& [width, height] : {std::pair{5, 4}, std::pair{64, 1}, std::pair{1, 37}}) {
    const int pitch = width + kSpare;
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = pitch;
    info.bmiHeader.biHeight = -(height + kSpare);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>((height + kSpare) * pitch * 4);
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);
    const HGDIOBJ stock = SelectObject(dc, bitmap);
    ASSERT_NE(stock, nullptr);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int i = 0; i < (height + kSpare) * pitch; ++i) ASSERT_EQ(pixels[i], 0u) << i;

    BITMAP shape{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof shape, &shape), static_cast<int>(sizeof shape));
    EXPECT_EQ(shape.bmWidth, pitch);
    EXPECT_EQ(shape.bmHeight, height + kSpare);
    EXPECT_EQ(shape.bmWidthBytes, pitch * 4);
    EXPECT_EQ(shape.bmBitsPixel, 32);
    EXPECT_EQ(shape.bmBits, bits);

    // Memory row 0 is the top row: a blit of (x, y) from the DC shows pixel y * pitch + x.
    for (int y = 0; y < height + kSpare; ++y) {
      for (int x = 0; x < pitch; ++x) pixels[y * pitch + x] = Pattern(x, y);
    }
    const DibCanvas copy(pitch, -(height + kSpare));
    ASSERT_TRUE(BitBlt(copy.dc(), 0, 0, pitch, height + kSpare, dc, 0, 0, SRCCOPY));
    for (int y = 0; y < height + kSpare; ++y) {
      for (int x = 0; x < pitch; ++x) ASSERT_EQ(copy.At(x, y), Pattern(x, y)) << x << "," << y;
    }
    SelectObject(dc, stock);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
}

TEST(ContractDibSection, GetDIBitsReadsEitherRowOrderAsAsked) {
  const DibCanvas canvas(6, -5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) canvas.At(x, y) = Pattern(x, y);
  }
  for (const bool top_down : {true, false}) {
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = 6;
    request.bmiHeader.biHeight = top_down ? -5 : 5;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> rows(30, 0xDEADBEEF);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, canvas.bitmap(), 0, 5, rows.data(), &request, DIB_RGB_COLORS), 5);
    ReleaseDC(nullptr, screen);
    for (int line = 0; line < 5; ++line) {
      const int y = top_down ? line : 4 - line;
      for (int x = 0; x < 6; ++x) EXPECT_EQ(rows[line * 6 + x], Pattern(x, y)) << top_down;
    }
  }
}

TEST(ContractDibSection, AlphaColourBitmapRunsBottomUpAndKeepsItsAlpha) {
  for (const int size : {32, 128}) {
    uint32_t* bits = nullptr;
    const HBITMAP bitmap = CreateAlphaBitmap(size, &bits);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);
    for (int i = 0; i < size * size; ++i) ASSERT_EQ(bits[i], 0u);
    BITMAP shape{};
    GetObjectA(bitmap, sizeof shape, &shape);
    EXPECT_EQ(shape.bmWidth, size);
    EXPECT_EQ(shape.bmHeight, size);
    EXPECT_EQ(shape.bmWidthBytes, size * 4);
    EXPECT_EQ(shape.bmBitsPixel, 32);
    // Alphas of every kind: transparent, half and opaque.
    const auto pixel = [](int x, int y) { return Pattern(x, y) | uint32_t(x * 37 + y) << 24; };
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) bits[(size - 1 - y) * size + x] = pixel(x, y);
    }
    const Picture picture = ReadBitmap(bitmap);
    ASSERT_EQ(picture.pixels.size(), static_cast<size_t>(size * size));
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) ASSERT_EQ(picture.At(x, y), pixel(x, y)) << x << "," << y;
    }
    DeleteObject(bitmap);
  }
}

TEST(ContractDibSection, MonochromeMaskBitmapHasOneBitAPixel) {
  const HBITMAP mask = CreateBitmap(128, 128, 1, 1, nullptr);
  ASSERT_NE(mask, nullptr);
  BITMAP shape{};
  ASSERT_EQ(GetObjectA(mask, sizeof shape, &shape), static_cast<int>(sizeof shape));
  EXPECT_EQ(shape.bmWidth, 128);
  EXPECT_EQ(shape.bmHeight, 128);
  EXPECT_EQ(shape.bmBitsPixel, 1);
  EXPECT_EQ(shape.bmPlanes, 1);
  EXPECT_EQ(shape.bmWidthBytes, 16);
  EXPECT_TRUE(DeleteObject(mask));
}

}  // namespace
}  // namespace qz::contract
