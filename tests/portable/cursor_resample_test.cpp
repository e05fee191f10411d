#include <gtest/gtest.h>

#include <random>

#include "cursor/cursor_image_ops.h"
#include "cursor_test_image.h"

namespace qz::cursor {
namespace {

using test::Picture;

// At equal sizes every sample lies half-way between pixels, where the sixteen weights of a
// uniform white area sum to 254.99999999999997; truncated, white turns 254 in all four bytes.
// At twice the size every other sample lands on a pixel, where they sum to 255.00000000000003.
TEST(CursorResampleBSpline, TruncationDarkensWhiteBetweenPixelsOnly) {
  Picture source(6, 5, 0xFFFFFFFF);
  Picture same(6, 5);
  ResampleBSpline(same.View(), source.View(), 6, 5, 0, 0, 6, 5);
  for (const uint32_t pixel : same.pixels) ASSERT_EQ(pixel, 0xFEFEFEFEu);

  Picture twice(12, 10);
  ResampleBSpline(twice.View(), source.View(), 6, 5, 0, 0, 12, 10);
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 12; ++x) {
      const bool on_pixel = x % 2 == 1 && y % 2 == 1;
      const bool between_pixels = x % 2 == 0 && y % 2 == 0;
      if (on_pixel || between_pixels) {
        EXPECT_EQ(twice.at(x, y), on_pixel ? 0xFFFFFFFFu : 0xFEFEFEFEu) << x << ", " << y;
      }
    }
  }
}

// Only the source's top-left region is read (its edges repeat outwards), and only the
// destination rectangle is written.
TEST(CursorResampleBSpline, ReadsTheRegionAndWritesTheRectangleOnly) {
  std::mt19937 random(4);
  for (const auto& [region_width, region_height, out_width, out_height] :
       {std::array{5, 4, 9, 7}, {5, 4, 2, 3}, {1, 1, 4, 4}, {7, 3, 7, 3}, {3, 6, 1, 1}}) {
    Picture region(region_width, region_height);
    for (uint32_t& pixel : region.pixels) pixel = static_cast<uint32_t>(random());
    Picture larger(region_width + 3, region_height + 2, 0xFFFFFFFF);
    for (int32_t y = 0; y < region_height; ++y) {
      for (int32_t x = 0; x < region_width; ++x) larger.at(x, y) = region.at(x, y);
    }
    Picture alone(out_width, out_height);
    ResampleBSpline(alone.View(), region.View(), region_width, region_height, 0, 0, out_width,
                    out_height);
    constexpr uint32_t kUntouched = 0x5A5A5A5A;
    Picture placed(out_width + 4, out_height + 3, kUntouched, 2);
    ResampleBSpline(placed.View(), larger.View(), region_width, region_height, 3, 1, out_width,
                    out_height);
    for (int32_t y = 0; y < placed.height; ++y) {
      for (int32_t x = 0; x < placed.pitch; ++x) {
        const bool inside = x >= 3 && x < 3 + out_width && y >= 1 && y < 1 + out_height;
        const uint32_t pixel = placed.pixels[size_t(y) * placed.pitch + x];
        ASSERT_EQ(pixel, inside ? alone.at(x - 3, y - 1) : kUntouched) << x << ", " << y;
      }
    }
  }
}

// Alpha, red, green and blue are filtered alike: pixels whose four bytes agree stay so.
TEST(CursorResampleBSpline, TreatsAllFourBytesAlike) {
  std::mt19937 random(8);
  Picture source(9, 7);
  for (uint32_t& pixel : source.pixels) pixel = (random() % 256) * 0x01010101u;
  Picture out(13, 5);
  ResampleBSpline(out.View(), source.View(), 9, 7, 0, 0, 13, 5);
  for (const uint32_t pixel : out.pixels) ASSERT_EQ(pixel, (pixel & 255) * 0x01010101u);
}

}  // namespace
}  // namespace qz::cursor
