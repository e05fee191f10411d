#include <gtest/gtest.h>

#include <random>

#include "cursor/cursor_image_ops.h"
#include "cursor_test_image.h"

namespace qz::cursor {
namespace {

using test::Picture;

constexpr double kStrength = 0.21;

TEST(CursorSharpenCross, LeavesTheBorderAndWhatLiesBeyondTheWidth) {
  std::mt19937 random(2);
  constexpr uint32_t kBeyond = 0x5A5A5A5A;
  for (const auto& [width, height] : {std::pair{7, 6}, {3, 3}, {2, 9}, {9, 2}, {1, 1}}) {
    Picture picture(width, height, kBeyond, 2);
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) picture.at(x, y) = static_cast<uint32_t>(random());
    }
    const Picture before = picture;
    ASSERT_TRUE(SharpenCross(picture.View(), kStrength));
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < picture.pitch; ++x) {
        const bool interior = x > 0 && x < width - 1 && y > 0 && y < height - 1;
        if (interior) continue;
        ASSERT_EQ(picture.at(x, y), before.at(x, y)) << x << ", " << y;
      }
    }
  }
}

TEST(CursorSharpenCross, UniformBlackAndWhiteStayAsTheyAre) {
  for (const uint32_t fill : {0x00000000u, 0xFFFFFFFFu}) {
    Picture picture(8, 6, fill);
    ASSERT_TRUE(SharpenCross(picture.View(), kStrength));
    for (const uint32_t pixel : picture.pixels) ASSERT_EQ(pixel, fill);
  }
}

// The cross kernel overshoots and is clamped: a hole stays empty, a lone opaque pixel stays
// opaque and its colour is pushed outwards.
TEST(CursorSharpenCross, ClampsAtTransparentAndOpaque) {
  Picture hole(3, 3, 0xFF808080);
  hole.at(1, 1) = 0;
  ASSERT_TRUE(SharpenCross(hole.View(), kStrength));
  EXPECT_EQ(hole.at(1, 1), 0u);

  Picture lone(3, 3);
  lone.at(1, 1) = 0xFF604020;
  ASSERT_TRUE(SharpenCross(lone.View(), kStrength));
  // 1.84 times each byte: 255 clamps, 0x60 = 96 -> 176, 0x40 = 64 -> 117, 0x20 = 32 -> 58.
  EXPECT_EQ(lone.at(1, 1), 0xFFB0753Au);
}

// Each pixel is sharpened from the picture as it was, not from neighbours already sharpened:
// a mirror-symmetric picture stays mirror-symmetric.
TEST(CursorSharpenCross, ReadsThePictureAsItWas) {
  Picture picture(9, 5, 0x40404040);
  for (int32_t x = 2; x <= 6; ++x) picture.at(x, 2) = 0x80808080;
  ASSERT_TRUE(SharpenCross(picture.View(), kStrength));
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 9; ++x) ASSERT_EQ(picture.at(x, y), picture.at(8 - x, y)) << x;
  }
  EXPECT_NE(picture.at(4, 2), 0x80808080u);
}

}  // namespace
}  // namespace qz::cursor
