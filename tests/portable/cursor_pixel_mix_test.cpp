#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "cursor/alpha_gradient.h"
#include "cursor/cursor_image_ops.h"
#include "cursor_test_image.h"

namespace qz::cursor {
namespace {

class CursorColorDistance : public test::WithDistanceTable {};

TEST_F(CursorColorDistance, TransparencyOutweighsColour) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 1000; ++trial) {
    const uint32_t first = static_cast<uint32_t>(random()) & 0xFFFFFF;
    const uint32_t second = static_cast<uint32_t>(random()) & 0xFFFFFF;
    // Two see-through pixels look alike whatever colour bits they carry.
    ASSERT_EQ(ColorDistanceArgb(first, second), 0.0) << first << " " << second;
    // See-through against opaque is the full alpha gap, the colours count for nothing.
    ASSERT_EQ(ColorDistanceArgb(first, second | 0xFF000000), 255.0) << first << " " << second;
    ASSERT_EQ(ColorDistanceArgb(first | 0xFF000000, second), 255.0) << first << " " << second;
  }
  EXPECT_EQ(ColorDistanceArgb(0x00000000, 0xFF000000), 255.0);
}

TEST_F(CursorColorDistance, APixelIsAsFarFromTransparencyAsItIsOpaque) {
  for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
    EXPECT_NEAR(ColorDistanceArgb(0x00000000, alpha << 24 | 0x3366CC), alpha, 1e-9) << alpha;
  }
}

// Between opaque pixels only the colour counts. The table holds halved differences, so one
// opaque colour against itself reads the entry of a difference of -1 in each channel: the
// distance of the faintest grey step, well below the equal-colour tolerance of 30.
TEST_F(CursorColorDistance, OpaqueGreysDifferByTheirLuma) {
  EXPECT_NEAR(ColorDistanceArgb(0xFF123456, 0xFF123456), 1.0, 1e-6);
  for (int32_t difference = -255; difference <= 255; ++difference) {
    const int32_t first = difference > 0 ? 255 : 255 + difference;
    const int32_t second = first - difference;
    const auto grey = [](int32_t v) { return 0xFF000000 | uint32_t(v) * 0x010101; };
    // The halving keeps (difference + 255) / 2 and reads it back as twice that less 255.
    const int32_t kept = 2 * ((difference + 255) / 2) - 255;
    EXPECT_NEAR(ColorDistanceArgb(grey(first), grey(second)), std::abs(kept), 1e-3) << difference;
  }
}

// A faint pixel shows its colour only as far as its alpha, and the alpha gap adds to that.
TEST_F(CursorColorDistance, TheFainterPixelWeighsTheColourDifference) {
  const double opaque = ColorDistanceArgb(0xFF000000, 0xFFFFFFFF);
  EXPECT_NEAR(opaque, 255.0, 1e-3);
  EXPECT_NEAR(ColorDistanceArgb(0x33000000, 0xFFFFFFFF), 0x33 / 255.0 * opaque + (255 - 0x33),
              1e-9);
  EXPECT_NEAR(ColorDistanceArgb(0xFFFFFFFF, 0x33000000), 0x33 / 255.0 * opaque + (255 - 0x33),
              1e-3);
}

TEST(CursorAlphaGradient, MixesByAlphaNotByCoverage) {
  EXPECT_EQ((AlphaGradient<1, 2>(0x00000000, 0xFFFF0000)), 0x7FFF0000u);
  // Opaque blue behind opaque red: red 255 * 21 / 100 and blue 255 * 79 / 100, truncated.
  EXPECT_EQ((AlphaGradient<21, 100>(0xFF0000FF, 0xFFFF0000)), 0xFF3500C9u);
  EXPECT_EQ((AlphaGradient<3, 4>(0xFF102030, 0xFF102030)), 0xFF102030u);
}

template <uint32_t M, uint32_t N>
void ExpectTransparentPixelsLendNoColour() {
  SCOPED_TRACE(testing::Message() << M << "/" << N);
  EXPECT_EQ((AlphaGradient<M, N>(0x00FFFFFF, 0x00123456)), 0u);
  EXPECT_EQ((AlphaGradient<M, N>(0x00000000, 0x00000000)), 0u);
  // Against a see-through pixel a colour keeps its own channels; only the alpha falls.
  EXPECT_EQ((AlphaGradient<M, N>(0x00FFFFFF, 0xFF123456)), (255 * M / N) << 24 | 0x123456);
  EXPECT_EQ((AlphaGradient<M, N>(0xFF123456, 0x00FFFFFF)), (255 * (N - M) / N) << 24 | 0x123456);
}

TEST(CursorAlphaGradient, TransparentPixelsLendNoColourAtEveryWeight) {
  ExpectTransparentPixelsLendNoColour<1, 4>();
  ExpectTransparentPixelsLendNoColour<3, 4>();
  ExpectTransparentPixelsLendNoColour<5, 6>();
  ExpectTransparentPixelsLendNoColour<1, 2>();
  ExpectTransparentPixelsLendNoColour<21, 100>();
}

}  // namespace
}  // namespace qz::cursor
