// BitBlt and PatBlt between memory and window DCs as the present routines and the paint use
// them: offsets on both sides, sources that run past their bitmap, and clipping at the edge of
// the window's client area.
#include <gtest/gtest.h>

#include "win32_contract.h"

namespace qz::contract {
namespace {

constexpr uint32_t kGround = 0x00203040;
constexpr int kClientWidth = 160;
constexpr int kClientHeight = 120;

struct BlitCase {
  int x, y, width, height;  // destination
  int source_x, source_y;
};

// Where a blit writes: inside the destination, the request and, shifted, the source.
bool Written(const BlitCase& blit, int x, int y, int destination_width, int destination_height,
             int source_width, int source_height) {
  const int source_x = x - blit.x + blit.source_x;
  const int source_y = y - blit.y + blit.source_y;
  return x >= 0 && y >= 0 && x < destination_width && y < destination_height && x >= blit.x &&
         y >= blit.y && x < blit.x + blit.width && y < blit.y + blit.height && source_x >= 0 &&
         source_y >= 0 && source_x < source_width && source_y < source_height;
}

const BlitCase kBlits[] = {
    {0, 0, 20, 10, 0, 0},      // plain copy
    {7, 3, 12, 9, 2, 5},       // offsets on both sides
    {-4, -2, 10, 8, 0, 0},     // starting left of and above the destination
    {150, 114, 30, 20, 0, 0},  // past the right and bottom edges
    {10, 10, 40, 30, -5, -3},  // source starting before its bitmap
    {20, 20, 50, 40, 30, 20},  // source running past its bitmap
};

TEST(ContractBlit, MemoryToMemoryCopiesOnlyWhereBothSidesHavePixels) {
  for (const BlitCase& blit : kBlits) {
    const DibCanvas source(48, -36);
    for (int y = 0; y < 36; ++y) {
      for (int x = 0; x < 48; ++x) source.At(x, y) = Pattern(x, y);
    }
    for (const int rows : {-kClientHeight, kClientHeight}) {
      const DibCanvas destination(kClientWidth, rows);
      destination.Fill(kGround);
      EXPECT_TRUE(BitBlt(destination.dc(), blit.x, blit.y, blit.width, blit.height, source.dc(),
                         blit.source_x, blit.source_y, SRCCOPY));
      for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
          const bool written = Written(blit, x, y, kClientWidth, kClientHeight, 48, 36);
          const uint32_t expected =
              written ? Pattern(x - blit.x + blit.source_x, y - blit.y + blit.source_y) : kGround;
          ASSERT_EQ(destination.At(x, y), expected)
              << x << "," << y << " blit at " << blit.x << "," << blit.y;
        }
      }
    }
  }
}

TEST(ContractBlit, MemoryToWindowLandsInTheClientAreaClippedAtItsEdge) {
  const TestWindow window(kWindowedStyle, 0, 200, 150, kClientWidth, kClientHeight);
  ASSERT_NE(window.handle(), nullptr);
  const DibCanvas source(48, -36);
  for (int y = 0; y < 36; ++y) {
    for (int x = 0; x < 48; ++x) source.At(x, y) = Pattern(x, y);
  }
  for (const BlitCase& blit : kBlits) {
    PaintClient(window.handle(), kGround);
    HDC dc = GetDC(window.handle());
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(BitBlt(dc, blit.x, blit.y, blit.width, blit.height, source.dc(), blit.source_x,
                       blit.source_y, SRCCOPY));
    ReleaseDC(window.handle(), dc);
    const Picture client = ReadClient(window.handle());
    ASSERT_EQ(client.width, kClientWidth);
    ASSERT_EQ(client.height, kClientHeight);
    for (int y = 0; y < kClientHeight; ++y) {
      for (int x = 0; x < kClientWidth; ++x) {
        const bool written = Written(blit, x, y, kClientWidth, kClientHeight, 48, 36);
        const uint32_t expected =
            written ? Pattern(x - blit.x + blit.source_x, y - blit.y + blit.source_y) : kGround;
        ASSERT_EQ(client.At(x, y), expected & kColourBits)
            << x << "," << y << " blit at " << blit.x << "," << blit.y;
      }
    }
  }
}

// Reading a window back is how the suite sees it; only the client area is read, since what a
// window DC gives outside it is the screen's business.
TEST(ContractBlit, WindowToMemoryReadsTheClientAreaAtAnOffset) {
  const TestWindow window(kWindowedStyle, 0, 200, 150, kClientWidth, kClientHeight);
  ASSERT_NE(window.handle(), nullptr);
  const DibCanvas picture(kClientWidth, -kClientHeight);
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) picture.At(x, y) = Pattern(x, y);
  }
  HDC dc = GetDC(window.handle());
  BitBlt(dc, 0, 0, kClientWidth, kClientHeight, picture.dc(), 0, 0, SRCCOPY);
  const DibCanvas copy(40, -30);
  copy.Fill(kGround);
  EXPECT_TRUE(BitBlt(copy.dc(), 3, 2, 37, 28, dc, kClientWidth - 37, kClientHeight - 28, SRCCOPY));
  ReleaseDC(window.handle(), dc);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool copied = x >= 3 && y >= 2;
      const uint32_t expected =
          copied ? Pattern(kClientWidth - 40 + x, kClientHeight - 30 + y) : kGround;
      ASSERT_EQ(copy.At(x, y) & kColourBits, expected & kColourBits) << x << "," << y;
    }
  }
}

TEST(ContractBlit, PatBltBlacknessFillsAClippedRectangleBlack) {
  struct Fill {
    int x, y, width, height;
  };
  const Fill fills[] = {{5, 6, 7, 8}, {-3, -3, 10, 10}, {150, 100, 40, 40}, {0, 0, 0, 5}};
  const TestWindow window(kWindowedStyle, 0, 200, 150, kClientWidth, kClientHeight);
  ASSERT_NE(window.handle(), nullptr);
  const DibCanvas memory(kClientWidth, -kClientHeight);
  for (const Fill& fill : fills) {
    PaintClient(window.handle(), kGround);
    memory.Fill(kGround);
    HDC dc = GetDC(window.handle());
    EXPECT_TRUE(PatBlt(dc, fill.x, fill.y, fill.width, fill.height, BLACKNESS));
    ReleaseDC(window.handle(), dc);
    EXPECT_TRUE(PatBlt(memory.dc(), fill.x, fill.y, fill.width, fill.height, BLACKNESS));
    const Picture client = ReadClient(window.handle());
    for (int y = 0; y < kClientHeight; ++y) {
      for (int x = 0; x < kClientWidth; ++x) {
        const bool black =
            x >= fill.x && y >= fill.y && x < fill.x + fill.width && y < fill.y + fill.height;
        ASSERT_EQ(client.At(x, y), black ? 0u : kGround) << x << "," << y;
        ASSERT_EQ(memory.At(x, y) & kColourBits, black ? 0u : kGround) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace qz::contract
