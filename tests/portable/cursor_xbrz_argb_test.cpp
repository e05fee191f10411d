#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <utility>

#include "cursor/cursor_image_ops.h"
#include "cursor_test_image.h"

namespace qz::cursor {
namespace {

using test::Picture;

class CursorXbrz : public test::WithDistanceTable {};

Picture Doubled(Picture& source) {
  Picture doubled(2 * source.width, 2 * source.height, 0xEEEEEEEE);
  ScaleXbrz2xArgb(source.pixels.data(), doubled.pixels.data(), source.width, source.height,
                  XbrzConfiguration{});
  return doubled;
}

// top left, top right, bottom left, bottom right
std::array<uint32_t, 4> BlockAt(const Picture& doubled, int32_t x, int32_t y) {
  return {doubled.at(2 * x, 2 * y), doubled.at(2 * x + 1, 2 * y), doubled.at(2 * x, 2 * y + 1),
          doubled.at(2 * x + 1, 2 * y + 1)};
}

TEST_F(CursorXbrz, AUniformImageStaysUniformAtTwiceTheSize) {
  for (const uint32_t pixel : {0xFF2050C0u, 0x00000000u, 0x00123456u, 0x80FFFFFFu}) {
    for (const auto& [width, height] : {std::pair{1, 1}, {1, 5}, {5, 1}, {3, 3}, {7, 4}}) {
      Picture source(width, height, pixel);
      const Picture doubled = Doubled(source);
      for (const uint32_t out : doubled.pixels) ASSERT_EQ(out, pixel) << width << "x" << height;
    }
  }
}

// A lone opaque pixel on a see-through ground has a normal corner wherever it has neighbours on
// both sides of that corner; each such corner is rounded off by keeping 79% of it, alpha 201,
// in its own colour. Corners against the image's edge have nothing to round towards.
TEST_F(CursorXbrz, ALonePixelRoundsTheCornersThatFaceTheImage) {
  constexpr uint32_t kPixel = 0xFFE0A060;
  constexpr uint32_t kRounded = 201u << 24 | (kPixel & 0xFFFFFF);
  constexpr int32_t kSize = 5;
  for (int32_t y = 0; y < kSize; ++y) {
    for (int32_t x = 0; x < kSize; ++x) {
      Picture source(kSize, kSize);
      source.at(x, y) = kPixel;
      const Picture doubled = Doubled(source);
      const bool left = x > 0, right = x<kSize - 1, up = y> 0, down = y < kSize - 1;
      const std::array<uint32_t, 4> expected = {
          left && up ? kRounded : kPixel, right && up ? kRounded : kPixel,
          left && down ? kRounded : kPixel, right && down ? kRounded : kPixel};
      EXPECT_EQ(BlockAt(doubled, x, y), expected) << x << ", " << y;
      for (int32_t by = 0; by < kSize; ++by) {
        for (int32_t bx = 0; bx < kSize; ++bx) {
          if (bx == x && by == y) continue;
          ASSERT_EQ(BlockAt(doubled, bx, by), (std::array<uint32_t, 4>{}))
              << "around " << x << ", " << y << ": " << bx << ", " << by;
        }
      }
    }
  }
}

// The thresholds come from the configuration: where every neighbour counts as equal, or every
// edge as dominant, the lone pixel's corners are drawn as lines meeting half-way, alpha 127.
TEST_F(CursorXbrz, TheConfigurationSetsTheThresholds) {
  XbrzConfiguration lenient;
  lenient.equal_colour_tolerance = 300.0;
  XbrzConfiguration dominant;
  dominant.dominant_direction_threshold = 0.0;
  for (const auto& [configuration, alpha] :
       {std::pair{XbrzConfiguration{}, 201u}, {lenient, 127u}, {dominant, 127u}}) {
    Picture source(3, 3);
    source.at(1, 1) = 0xFF102030;
    Picture doubled(6, 6);
    ScaleXbrz2xArgb(source.pixels.data(), doubled.pixels.data(), 3, 3, configuration);
    std::array<uint32_t, 4> expected;
    expected.fill(alpha << 24 | 0x102030);
    EXPECT_EQ(BlockAt(doubled, 1, 1), expected) << alpha;
  }
}

// The edge of an opaque area on a see-through ground rising one pixel every two columns fades
// in quarter steps, in the area's own colour: the last opaque pixel of each run keeps three
// quarters and one quarter of its top, the first see-through one gains them at its bottom.
TEST_F(CursorXbrz, AShallowEdgeFadesInQuarterSteps) {
  constexpr uint32_t kColour = 0xFF2050C0;
  const auto faded = [](uint32_t alpha) { return alpha << 24 | (kColour & 0xFFFFFF); };
  Picture source(18, 7);
  for (int32_t y = 0; y < source.height; ++y) {
    for (int32_t x = 0; x < source.width; ++x) source.at(x, y) = x > 2 * y + 1 ? 0 : kColour;
  }
  const Picture doubled = Doubled(source);
  for (int32_t y = 1; y < source.height - 1; ++y) {
    for (int32_t x = 1; x < source.width - 1; ++x) {
      std::array<uint32_t, 4> expected;
      expected.fill(source.at(x, y));
      if (x == 2 * y + 1) expected = {faded(191), faded(63), kColour, kColour};
      if (x == 2 * y + 2) expected = {0, 0, faded(191), faded(63)};
      EXPECT_EQ(BlockAt(doubled, x, y), expected) << x << ", " << y;
    }
  }
}

// Whatever the shapes, a sprite of one colour on a see-through ground stays that colour: the
// mixes take no colour from transparent pixels and give no colour to them, only alpha.
TEST_F(CursorXbrz, OneColourSpritesKeepTheirColourAtEverySize) {
  constexpr uint32_t kColour = 0xFFC03020;
  std::mt19937 random(9);
  for (int trial = 0; trial < 60; ++trial) {
    Picture source(1 + int32_t(random() % 12), 1 + int32_t(random() % 12));
    for (uint32_t& pixel : source.pixels) pixel = random() % 3 ? 0 : kColour;
    const Picture doubled = Doubled(source);
    for (int32_t y = 0; y < source.height; ++y) {
      for (int32_t x = 0; x < source.width; ++x) {
        for (const uint32_t out : BlockAt(doubled, x, y)) {
          ASSERT_TRUE(out == 0 || (out & 0xFFFFFF) == (kColour & 0xFFFFFF)) << std::hex << out;
        }
        // Amid its own kind (the image's edge repeating) a pixel has no corner to round.
        bool among_its_kind = true;
        for (int32_t dy = -1; dy <= 1; ++dy) {
          for (int32_t dx = -1; dx <= 1; ++dx) {
            const int32_t nx = std::clamp(x + dx, 0, source.width - 1);
            const int32_t ny = std::clamp(y + dy, 0, source.height - 1);
            among_its_kind = among_its_kind && source.at(nx, ny) == source.at(x, y);
          }
        }
        if (among_its_kind) {
          std::array<uint32_t, 4> same;
          same.fill(source.at(x, y));
          ASSERT_EQ(BlockAt(doubled, x, y), same) << x << ", " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qz::cursor
