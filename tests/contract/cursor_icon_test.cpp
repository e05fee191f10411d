// Cursors made as the cursor builder makes them: CreateIconIndirect from the bottom-up alpha
// colour bitmap and a monochrome mask, read back through GetIconInfo, made the process's cursor
// with SetCursor and shown with ShowCursor.
#include <gtest/gtest.h>

#include "win32_contract.h"

namespace qz::contract {
namespace {

struct AlphaCanvas {
  HBITMAP colour = nullptr;
  uint32_t* bits = nullptr;
  HBITMAP mask = nullptr;
  int size = 0;
};

AlphaCanvas MakeCanvas(int size) {
  AlphaCanvas canvas;
  canvas.size = size;
  canvas.colour = CreateAlphaBitmap(size, &canvas.bits);
  canvas.mask = CreateBitmap(size, size, 1, 1, nullptr);
  return canvas;
}

void Release(const AlphaCanvas& canvas) {
  DeleteObject(canvas.colour);
  DeleteObject(canvas.mask);
}

// A picture with transparent, opaque and half-transparent pixels, upright, top row first.
uint32_t CursorPixel(int x, int y, uint32_t seed) {
  if (x + y < 6) return 0;
  const uint32_t alpha = (x * 7 + y * 3 + seed) % 5 == 0 ? 0x80u : 0xFFu;
  return alpha << 24 | ((Pattern(x, y) + seed) & kColourBits);
}

void Draw(const AlphaCanvas& canvas, uint32_t seed) {
  for (int y = 0; y < canvas.size; ++y) {
    for (int x = 0; x < canvas.size; ++x) {
      canvas.bits[(canvas.size - 1 - y) * canvas.size + x] = CursorPixel(x, y, seed);
    }
  }
}

HCURSOR MakeCursor(const AlphaCanvas& canvas, DWORD hot_x, DWORD hot_y) {
  ICONINFO info{FALSE, hot_x, hot_y, canvas.mask, canvas.colour};
  return CreateIconIndirect(&info);
}

::testing::AssertionResult ShowsPicture(const IconPicture& icon, int size, uint32_t seed) {
  if (!icon.valid) return ::testing::AssertionFailure() << "no picture";
  if (icon.colour.width != size || icon.colour.height != size) {
    return ::testing::AssertionFailure()
           << "size " << icon.colour.width << " x " << icon.colour.height;
  }
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (icon.colour.At(x, y) != CursorPixel(x, y, seed)) {
        return ::testing::AssertionFailure()
               << std::hex << "pixel " << std::dec << x << "," << y << std::hex << " is "
               << icon.colour.At(x, y) << " instead of " << CursorPixel(x, y, seed);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(ContractCursor, AlphaCursorReadsBackWithItsPictureAndHotSpot) {
  for (const int size : {32, 128}) {
    const AlphaCanvas canvas = MakeCanvas(size);
    ASSERT_NE(canvas.colour, nullptr);
    ASSERT_NE(canvas.mask, nullptr);
    Draw(canvas, 1);
    const HCURSOR cursor = MakeCursor(canvas, 11, static_cast<DWORD>(size - 3));
    ASSERT_NE(cursor, nullptr);
    const IconPicture icon = ReadIcon(cursor);
    EXPECT_FALSE(icon.is_icon);
    EXPECT_EQ(icon.hot_x, 11u);
    EXPECT_EQ(icon.hot_y, static_cast<uint32_t>(size - 3));
    EXPECT_TRUE(ShowsPicture(icon, size, 1));
    EXPECT_TRUE(DestroyIcon(cursor));
    Release(canvas);
  }
}

TEST(ContractCursor, CursorKeepsItsPictureWhenTheCanvasIsReused) {
  const AlphaCanvas canvas = MakeCanvas(32);
  Draw(canvas, 1);
  const HCURSOR first = MakeCursor(canvas, 0, 0);
  Draw(canvas, 2);
  const HCURSOR second = MakeCursor(canvas, 5, 6);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_TRUE(ShowsPicture(ReadIcon(first), 32, 1));
  const IconPicture later = ReadIcon(second);
  EXPECT_TRUE(ShowsPicture(later, 32, 2));
  EXPECT_EQ(later.hot_x, 5u);
  EXPECT_EQ(later.hot_y, 6u);
  DestroyIcon(first);
  DestroyIcon(second);
  Release(canvas);
}

TEST(ContractCursor, DestroyedCursorNoLongerReadsBack) {
  const AlphaCanvas canvas = MakeCanvas(32);
  const HCURSOR cursor = MakeCursor(canvas, 0, 0);
  ASSERT_NE(cursor, nullptr);
  ASSERT_TRUE(DestroyIcon(cursor));
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(cursor, &info));
  Release(canvas);
}

TEST(ContractCursor, SetCursorAnswersThePreviousCursorAndGetCursorTheCurrentOne) {
  const AlphaCanvas canvas = MakeCanvas(32);
  Draw(canvas, 3);
  const HCURSOR first = MakeCursor(canvas, 1, 1);
  const HCURSOR second = MakeCursor(canvas, 2, 2);
  SetCursor(first);
  EXPECT_EQ(GetCursor(), first);
  EXPECT_EQ(SetCursor(second), first);
  EXPECT_EQ(GetCursor(), second);
  EXPECT_EQ(SetCursor(second), second);
  EXPECT_EQ(SetCursor(nullptr), second);
  EXPECT_EQ(GetCursor(), nullptr);
  DestroyIcon(first);
  DestroyIcon(second);
  Release(canvas);
}

TEST(ContractCursor, ShowCursorCountsUpAndDown) {
  const int shown = ShowCursor(TRUE);
  EXPECT_EQ(ShowCursor(TRUE), shown + 1);
  EXPECT_EQ(ShowCursor(FALSE), shown);
  EXPECT_EQ(ShowCursor(FALSE), shown - 1);
  EXPECT_GE(shown, 1);  // a mouse is there: the count starts at 0
}

}  // namespace
}  // namespace qz::contract
