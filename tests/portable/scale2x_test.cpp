#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>
#include <vector>

#include "enlarger_test_support.h"
#include "scale/packed_mix.h"
#include "scale/scale2x_blend.h"

namespace qz::scale {
namespace {

using enlarger_test::BlockAt;
using enlarger_test::Blocks;
using enlarger_test::ChannelMix;
using enlarger_test::Doubled;
using enlarger_test::Enlarge;
using enlarger_test::Frame;
using enlarger_test::ImagesOf;
using enlarger_test::RandomPixelArt;

class Scale2x : public enlarger_test::EnlargerTest {};

// Each source pixel repeated over its block, top byte cleared.
std::vector<uint32_t> NearestBlocks(const Frame& frame) {
  std::vector<uint32_t> blocks;
  for (int32_t y = 0; y < 2 * frame.height; ++y) {
    for (int32_t x = 0; x < 2 * frame.width; ++x) {
      blocks.push_back(frame.at(x / 2, y / 2) & kColourMask);
    }
  }
  return blocks;
}

TEST(PackedMix, AverageRoundsEachChannelDown) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 100000; ++trial) {
    const uint32_t a = static_cast<uint32_t>(random()) & kColourMask;
    const uint32_t b = static_cast<uint32_t>(random()) & kColourMask;
    ASSERT_EQ(Average(a, b), ChannelMix(a, b, 128)) << a << " " << b;
  }
}

TEST_F(Scale2x, AUniformFrameGivesAUniformImageWithTheTopByteCleared) {
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 4}, {4, 1}, {6, 5}}) {
    const Frame frame(width, height, 0xC1406080);
    const Doubled doubled = Enlarge(Scale2xBlend, frame);
    for (uint32_t pixel : Blocks(doubled, 0, width - 1, 0, height - 1)) {
      ASSERT_EQ(pixel, 0x406080u);
    }
  }
}

// Across a one-pixel line its two sides agree, so nothing is rounded anywhere.
TEST_F(Scale2x, AOnePixelLineIsCopiedToAllFourOutputs) {
  Frame vertical(7, 6, 0x203040);
  Frame horizontal(7, 6, 0x203040);
  for (int32_t y = 0; y < 6; ++y) vertical.at(3, y) = 0xE0C0A0;
  for (int32_t x = 0; x < 7; ++x) horizontal.at(x, 2) = 0xE0C0A0;
  for (const Frame& frame : {vertical, horizontal}) {
    EXPECT_EQ(Blocks(Enlarge(Scale2xBlend, frame), 0, 6, 0, 5), NearestBlocks(frame));
  }
}

// In the corner of the frame the missing neighbours are the pixel itself: for a lone pixel in the
// top-left corner, L and U are the pixel and only the corner facing the background turns.
TEST_F(Scale2x, AtTheFrameCornerTheMissingNeighboursAreThePixelItself) {
  constexpr uint32_t kPixel = 0xE0C0A0;
  constexpr uint32_t kBack = 0x203040;
  Frame frame(2, 2, kBack);
  frame.at(0, 0) = kPixel;
  const Doubled doubled = Enlarge(Scale2xBlend, frame);
  EXPECT_EQ(BlockAt(doubled, 0, 0), (std::array{kPixel, kPixel, kPixel, kBack}));
}

constexpr uint32_t kCentre = 0xC03020;
constexpr uint32_t kYellow = 0xFFFF00;

// The block of the centre of a 3 x 3 frame with these neighbours.
std::array<uint32_t, 4> CentreBlock(uint32_t up, uint32_t left, uint32_t down, uint32_t right) {
  Frame frame(3, 3, kCentre);
  frame.at(1, 0) = up;
  frame.at(0, 1) = left;
  frame.at(1, 2) = down;
  frame.at(2, 1) = right;
  return BlockAt(Enlarge(Scale2xBlend, frame), 1, 1);
}

// Similar U and L give their average in the top-left output, not either colour; across a line
// (U like D, or L like R) nothing turns.
TEST_F(Scale2x, ACornerBetweenSimilarNeighboursTakesTheirAverage) {
  constexpr uint32_t kGrey = 0x808080;
  constexpr uint32_t kGreyAlike = 0x848484;
  const uint32_t c = kCentre;
  EXPECT_EQ(CentreBlock(kGrey, kGreyAlike, kYellow, kYellow),
            (std::array<uint32_t, 4>{0x828282, c, c, kYellow}));
  EXPECT_EQ(CentreBlock(kGrey, kGreyAlike, kGreyAlike, kYellow), (std::array{c, c, c, c}));
  EXPECT_EQ(CentreBlock(kGrey, kGreyAlike, kYellow, kGrey), (std::array{c, c, c, c}));
}

TEST_F(Scale2x, SimilarMeansLessThanThirtyMagnitudeUnitsApart) {
  const uint32_t* table = ColorMagnitudeTable;
  for (const int32_t distance : {11842739, 11842740}) {
    // Greys 30 levels apart lie right at the limit, one unit either side as the table rounds.
    uint32_t level = 0;
    while (level < 150 &&
           ColourDistance(table, level * 0x010101, (level + 30) * 0x010101) != distance) {
      ++level;
    }
    ASSERT_LT(level, 150u) << distance;
    const uint32_t up = level * 0x010101;
    const uint32_t left = (level + 30) * 0x010101;
    ASSERT_FALSE(ColoursSimilar(table, up, kYellow));
    ASSERT_FALSE(ColoursSimilar(table, left, kYellow));
    const uint32_t expected = distance < kSimilarityLimit ? ChannelMix(up, left, 128) : kCentre;
    EXPECT_EQ(CentreBlock(up, left, kYellow, kYellow)[0], expected) << distance;
  }
}

TEST_F(Scale2x, FrameEdgesActAsIfTheEdgePixelsWereRepeated) {
  uint32_t seed = 300;
  for (const auto& [width, height] : {std::pair{1, 1}, {1, 5}, {5, 1}, {2, 2}, {9, 7}}) {
    for (int trial = 0; trial < 5; ++trial) {
      const Frame frame = RandomPixelArt(width, height, ++seed);
      EXPECT_EQ(Blocks(Enlarge(Scale2xBlend, frame), 0, width - 1, 0, height - 1),
                Blocks(Enlarge(Scale2xBlend, enlarger_test::Padded(frame, 1)), 1, width, 1, height))
          << width << " x " << height << " seed " << seed;
    }
  }
}

TEST_F(Scale2x, TheTopByteOfTheSourceChangesNothing) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    const Frame frame = RandomPixelArt(12, 9, seed);
    Frame colours_only = frame;
    for (auto& pixel : colours_only.pixels) pixel &= kColourMask;
    EXPECT_EQ(Blocks(Enlarge(Scale2xBlend, frame), 0, 11, 0, 8),
              Blocks(Enlarge(Scale2xBlend, colours_only), 0, 11, 0, 8));
  }
}

TEST_F(Scale2x, ACallWritesItsBlocksAndNothingElse) {
  Frame frame = RandomPixelArt(10, 8, 3);
  for (const auto& [x0, x1, y0, y1] : {std::array{2, 6, 3, 5}, {0, 9, 0, 7}, {-2, 20, 6, 12}}) {
    Doubled doubled(frame, 0);
    Scale2xBlend(ImagesOf(frame, doubled), x0, x1, y0, y1);
    const int32_t left = std::max(x0, 0), right = std::min(x1, 9);
    const int32_t top = std::max(y0, 0), bottom = std::min(y1, 7);
    for (int32_t y = 0; y < doubled.rows; ++y) {
      for (int32_t x = 0; x < doubled.pitch; ++x) {
        const bool in_block =
            x >= 2 * left && x <= 2 * right + 1 && y >= 2 * top && y <= 2 * bottom + 1;
        ASSERT_EQ(doubled.at(x, y) == Doubled::kUnwritten, !in_block) << x << ", " << y;
      }
    }
  }
}

}  // namespace
}  // namespace qz::scale
