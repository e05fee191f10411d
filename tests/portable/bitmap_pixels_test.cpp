// The bitmap, image, text and transition pixel work against per-pixel rules, on random rectangles
// that reach past every edge, with buffers sized exactly so ASan catches any stray access.
#include "truecolour/bitmap_pixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "draw_frame_test_support.h"
#include "scale_kernel_reference.h"
#include "truecolour/image_draws.h"
#include "truecolour/palette32.h"
#include "truecolour/pixel_operations.h"

namespace qz::truecolour {
namespace {

using scale::testing::RandomIn;
using testing::Destination;

PixelBuffer View(Destination& picture) {
  return {picture.pixels.data(), picture.width, picture.height, picture.pitch_pixels * 4};
}

uint32_t& PixelAt(Destination& picture, int32_t x, int32_t y) {
  return picture.pixels[static_cast<size_t>(y) * picture.pitch_pixels + x];
}

bool Inside(const Destination& picture, int64_t x, int64_t y) {
  return x >= 0 && y >= 0 && x < picture.width && y < picture.height;
}

int32_t Coordinate(std::mt19937& random, int32_t size) {
  return RandomIn(random, -size - 3, size + 2);
}

BufferCopy RandomCopy(std::mt19937& random, Destination& destination, int32_t source_width,
                      int32_t source_height) {
  return {Coordinate(random, source_width),
          Coordinate(random, source_height),
          RandomIn(random, -2, 9),
          RandomIn(random, -2, 9),
          destination.pixels.data(),
          Coordinate(random, destination.width),
          Coordinate(random, destination.height),
          destination.width,
          destination.height,
          destination.pitch_pixels * 4};
}

// Pixel (i, j) of a copy lands when its destination pixel exists and `source_pixel` reads its
// source pixel (sx + i, sy + j), which it may not: a key, or a pixel outside the source's memory.
void ExpectCopied(const Destination& before, Destination& after, const BufferCopy& copy,
                  const std::function<bool(int64_t, int64_t, uint32_t&)>& source_pixel) {
  Destination expected = before;
  for (int32_t j = 0; j < copy.h; ++j) {
    for (int32_t i = 0; i < copy.w; ++i) {
      const int64_t dx = int64_t{copy.dx} + i;
      const int64_t dy = int64_t{copy.dy} + j;
      if (!Inside(expected, dx, dy)) continue;
      uint32_t value = PixelAt(expected, static_cast<int32_t>(dx), static_cast<int32_t>(dy));
      if (source_pixel(int64_t{copy.sx} + i, int64_t{copy.sy} + j, value)) {
        PixelAt(expected, static_cast<int32_t>(dx), static_cast<int32_t>(dy)) = value;
      }
    }
  }
  ASSERT_EQ(after.pixels, expected.pixels) << "copy " << copy.sx << "," << copy.sy << " " << copy.w
                                           << "x" << copy.h << " to " << copy.dx << "," << copy.dy;
}

// The source is read as memory, as the game reads it: a rectangle wider than the source goes on
// into the next row, one left of it comes from the row before; only what lies outside the
// bitmap's rows (from its first pixel to the end of its last row's pixels) is not read.
TEST(BitmapCopies, ReadTheSourcesMemoryAndLandWhereTheDestinationIsWithAndWithoutKey) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 400; ++trial) {
    Destination source(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                       random);
    for (uint32_t& pixel : source.pixels) pixel = random() % 4;  // keys get hit often
    Destination destination(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                            random);
    const Destination before = destination;
    const BufferCopy copy = RandomCopy(random, destination, source.width, source.height);
    const auto key = static_cast<uint8_t>(random() % 3);
    CopyBitmapPixels(View(source), copy, key);
    ExpectCopied(before, destination, copy, [&](int64_t x, int64_t y, uint32_t& value) {
      const int64_t index = y * source.pitch_pixels + x;
      if (index < 0 || index >= static_cast<int64_t>(source.pixels.size())) return false;
      if (key != 0 && source.pixels[index] == key) return false;
      value = source.pixels[index];
      return true;
    });
  }
}

TEST(BitmapCopies, KeyComparesTheWholePixel) {
  std::mt19937 random(1);
  Destination source(3, 1, 0, random);
  source.pixels = {0x05, 0x105, 0x05000000};
  Destination destination(3, 1, 0, random);
  const Destination before = destination;
  CopyBitmapPixels(View(source), {0, 0, 3, 1, destination.pixels.data(), 0, 0, 3, 1, 12}, 5);
  EXPECT_EQ(destination.pixels[0], before.pixels[0]);
  EXPECT_EQ(destination.pixels[1], 0x105u);
  EXPECT_EQ(destination.pixels[2], 0x05000000u);
}

TEST(BitmapCopies, NegativeDestinationOffsetsShiftTheSource) {
  std::mt19937 random(2);
  Destination source(20, 4, 0, random);
  Destination destination(10, 4, 0, random);
  CopyBitmapPixels(View(source), {2, 1, 8, 2, destination.pixels.data(), -5, -1, 10, 4, 40}, 0);
  EXPECT_EQ(PixelAt(destination, 0, 0), PixelAt(source, 7, 2));
  EXPECT_EQ(PixelAt(destination, 2, 0), PixelAt(source, 9, 2));
}

TEST(BitmapGrab, FillsTheBitmapFromTheOverlapOfItsRectangleWithTheSource) {
  std::mt19937 random(3);
  for (int trial = 0; trial < 300; ++trial) {
    Destination source(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                       random);
    Destination bitmap(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                       random);
    const Destination before = bitmap;
    const int32_t x = Coordinate(random, source.width);
    const int32_t y = Coordinate(random, source.height);
    GrabPixels(View(bitmap), View(source), x, y);
    const BufferCopy whole{x, y, bitmap.width, bitmap.height, nullptr,
                           0, 0, bitmap.width, bitmap.height, 0};
    // The grab stays inside the source's rectangle.
    ExpectCopied(before, bitmap, whole, [&](int64_t sx, int64_t sy, uint32_t& value) {
      if (!Inside(source, sx, sy)) return false;
      value = PixelAt(source, static_cast<int32_t>(sx), static_cast<int32_t>(sy));
      return true;
    });
  }
}

// --- Rectangles on a bitmap ----------------------------------------------------------------

PixelRectangle RandomRectangle(std::mt19937& random, const Destination& bitmap) {
  return {Coordinate(random, bitmap.width), Coordinate(random, bitmap.height),
          RandomIn(random, -2, 11), RandomIn(random, -2, 11)};
}

bool InRectangle(const PixelRectangle& rectangle, int32_t x, int32_t y) {
  return x >= rectangle.x && y >= rectangle.y && int64_t{x} < int64_t{rectangle.x} + rectangle.w &&
         int64_t{y} < int64_t{rectangle.y} + rectangle.h;
}

// Runs `draw` on random rectangles and compares with `rule` applied to every pixel inside both
// the rectangle and the bitmap.
void ExpectPerPixel(uint32_t seed,
                    const std::function<void(const PixelBuffer&, PixelRectangle)>& draw,
                    const std::function<uint32_t(uint32_t, int32_t, int32_t)>& rule) {
  std::mt19937 random(seed);
  for (int trial = 0; trial < 300; ++trial) {
    Destination bitmap(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                       random);
    Destination expected = bitmap;
    const PixelRectangle rectangle = RandomRectangle(random, bitmap);
    draw(View(bitmap), rectangle);
    for (int32_t y = 0; y < bitmap.height; ++y) {
      for (int32_t x = 0; x < bitmap.width; ++x) {
        if (InRectangle(rectangle, x, y)) {
          PixelAt(expected, x, y) = rule(PixelAt(expected, x, y), x - rectangle.x, y - rectangle.y);
        }
      }
    }
    ASSERT_EQ(bitmap.pixels, expected.pixels)
        << rectangle.x << "," << rectangle.y << " " << rectangle.w << "x" << rectangle.h;
  }
}

TEST(BitmapRectangles, FillAndDarkenChangeExactlyTheirPixelsInsideTheBitmap) {
  ExpectPerPixel(
      4, [](const PixelBuffer& bitmap, PixelRectangle r) { FillPixels(bitmap, r, 0xF80000); },
      [](uint32_t, int32_t, int32_t) { return 0xF80000u; });
  ExpectPerPixel(
      5, [](const PixelBuffer& bitmap, PixelRectangle r) { DarkenPixels(bitmap, r); },
      [](uint32_t pixel, int32_t, int32_t) { return Dark50(pixel); });
}

TEST(BitmapRectangles, MaskedDarkeningReadsTheMaskAtTheSameOffsets) {
  // A mask larger than any rectangle, read from (2, 3) on.
  constexpr int32_t kMaskStride = 40;
  std::vector<uint8_t> mask(kMaskStride * 40);
  std::mt19937 random(6);
  for (uint8_t& byte : mask) byte = static_cast<uint8_t>(random() % 2 * (RandomIn(random, 1, 255)));
  ExpectPerPixel(
      7,
      [&](const PixelBuffer& bitmap, PixelRectangle r) {
        DarkenPixelsThroughMask(bitmap, r, mask.data() + 15 * kMaskStride + 15, kMaskStride, 2, 3);
      },
      [&](uint32_t pixel, int32_t i, int32_t j) {
        return mask[(15 + 3 + j) * kMaskStride + 15 + 2 + i] != 0 ? Dark50(pixel) : pixel;
      });
}

TEST(BitmapRectangles, OutlineIsAFrameWhoseFarEdgesFollowTheLimitedRectangle) {
  std::mt19937 random(8);
  for (int trial = 0; trial < 300; ++trial) {
    Destination bitmap(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                       random);
    Destination expected = bitmap;
    PixelRectangle r = RandomRectangle(random, bitmap);
    OutlinePixels(View(bitmap), r, 0x123456);
    const auto right =
        static_cast<int32_t>(std::min<int64_t>(int64_t{r.x} + r.w, bitmap.width) - 1);
    const auto bottom =
        static_cast<int32_t>(std::min<int64_t>(int64_t{r.y} + r.h, bitmap.height) - 1);
    for (int32_t y = std::max(r.y, 0); y <= bottom; ++y) {
      for (int32_t x = std::max(r.x, 0); x <= right; ++x) {
        if (y == r.y || y == bottom || x == r.x || x == right) PixelAt(expected, x, y) = 0x123456;
      }
    }
    ASSERT_EQ(bitmap.pixels, expected.pixels) << r.x << "," << r.y << " " << r.w << "x" << r.h;
  }
}

TEST(BitmapRectangles, OutlineOfOnePixelAndOfOneRow) {
  std::mt19937 random(9);
  Destination bitmap(6, 4, 0, random);
  std::fill(bitmap.pixels.begin(), bitmap.pixels.end(), 0);
  OutlinePixels(View(bitmap), {2, 1, 1, 1}, 7);
  EXPECT_EQ(std::count(bitmap.pixels.begin(), bitmap.pixels.end(), 7u), 1);
  EXPECT_EQ(PixelAt(bitmap, 2, 1), 7u);
  OutlinePixels(View(bitmap), {1, 3, 4, 1}, 9);
  EXPECT_EQ(std::count(bitmap.pixels.begin(), bitmap.pixels.end(), 9u), 4);
}

// --- Plain images ----------------------------------------------------------------------------

// Images as the draws see them: the start and the row length known, the height not. The buffers
// hold rows enough for any copy below, so only reads before the start are outside them.
constexpr int32_t kRowsPastAnyCopy = 12;

TEST(ImageDraws, TwentyFourBitKeepsTheTopByteAndReadsOnFromTheImagesStart) {
  std::mt19937 random(10);
  for (int trial = 0; trial < 200; ++trial) {
    const int32_t width = RandomIn(random, 1, 9);
    const int32_t height = RandomIn(random, 1, 9);
    std::vector<uint8_t> image(static_cast<size_t>(width) * (height + kRowsPastAnyCopy) * 3);
    for (uint8_t& byte : image) byte = static_cast<uint8_t>(random());
    Destination destination(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                            random);
    const Destination before = destination;
    const BufferCopy copy = RandomCopy(random, destination, width, height);
    DrawImage24Pixels(image.data(), width, copy);
    ExpectCopied(before, destination, copy, [&](int64_t x, int64_t y, uint32_t& value) {
      const int64_t offset = (y * width + x) * 3;
      if (offset < 0) return false;
      const uint8_t* bytes = &image.at(static_cast<size_t>(offset) + 2) - 2;
      value = (value & 0xFF000000u) | bytes[0] | bytes[1] << 8 | bytes[2] << 16;
      return true;
    });
  }
}

TEST(ImageDraws, EightBitGoesThroughItsOwnPaletteAndIndexZeroCanBeTransparent) {
  std::mt19937 random(11);
  const std::vector<uint16_t> palette = testing::RandomPalette(random);
  for (int trial = 0; trial < 200; ++trial) {
    const int32_t stride = RandomIn(random, 1, 9);
    const int32_t height = RandomIn(random, 1, 9);
    std::vector<uint8_t> image(static_cast<size_t>(stride) * (height + kRowsPastAnyCopy));
    for (uint8_t& byte : image) byte = static_cast<uint8_t>(random() % 3 == 0 ? 0 : random());
    Destination destination(RandomIn(random, 1, 9), RandomIn(random, 1, 9), RandomIn(random, 0, 2),
                            random);
    const Destination before = destination;
    const BufferCopy copy = RandomCopy(random, destination, stride, height);
    const bool transparent = random() % 2 == 0;
    DrawImage8Pixels(image.data(), stride, palette.data(), copy, transparent);
    ExpectCopied(before, destination, copy, [&](int64_t x, int64_t y, uint32_t& value) {
      const int64_t offset = y * stride + x;
      if (offset < 0) return false;
      const uint8_t index = image.at(static_cast<size_t>(offset));
      if (transparent && index == 0) return false;
      value = PixelFromRgb565(palette[index]);
      return true;
    });
  }
}

TEST(ImageDraws, ARowLengthOfZeroOrLessDrawsNothing) {
  std::mt19937 random(12);
  const std::vector<uint16_t> palette = testing::RandomPalette(random);
  const std::vector<uint8_t> image(64, 1);
  for (int32_t length : {0, -3}) {
    Destination destination(4, 4, 0, random);
    const Destination before = destination;
    const BufferCopy copy{0, 0, 4, 4, destination.pixels.data(), 0, 0, 4, 4, 16};
    DrawImage24Pixels(image.data(), length, copy);
    DrawImage8Pixels(image.data(), length, palette.data(), copy, false);
    EXPECT_EQ(destination.pixels, before.pixels) << length;
  }
}

}  // namespace
}  // namespace qz::truecolour
