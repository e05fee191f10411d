// Tints, glyph styles and the mixes of the screen transitions, on small pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "draw_frame_test_support.h"
#include "scale_kernel_reference.h"
#include "truecolour/bitmap_tint.h"
#include "truecolour/glyph_pixels.h"
#include "truecolour/picture_mix.h"
#include "truecolour/pixel_operations.h"

namespace qz::truecolour {
namespace {

using testing::Destination;

PixelBuffer View(Destination& picture) {
  return {picture.pixels.data(), picture.width, picture.height, picture.pitch_pixels * 4};
}

uint32_t& PixelAt(Destination& picture, int32_t x, int32_t y) {
  return picture.pixels[static_cast<size_t>(y) * picture.pitch_pixels + x];
}

Destination Picture(int32_t width, int32_t height, uint32_t fill) {
  std::mt19937 random(0);
  Destination picture(width, height, 1, random);
  std::fill(picture.pixels.begin(), picture.pixels.end(), fill);
  return picture;
}

// --- Tints ------------------------------------------------------------------------------------

TEST(Tint, HueAndSaturationOfAColour) {
  const auto expect = [](uint32_t colour, double hue, double saturation) {
    const HueSaturation tint = HueFromColour(colour);
    EXPECT_NEAR(tint.hue, hue, 1e-9) << std::hex << colour;
    EXPECT_NEAR(tint.saturation, saturation, 1e-9) << std::hex << colour;
  };
  expect(0xFF0000, 0, 1);
  expect(0x808080, 0, 0);
  expect(0x000000, 0, 0);
  expect(0x00FF00, 120, 1);
  expect(0x0000FF, 240, 1);
  expect(0xFF00FF, 300, 1);  // the negative hue wraps
  expect(0xFF8080, 0, 1 - 128.0 / 255);
  // Whatever the colour, the hue stays on the circle.
  std::mt19937 random(1);
  for (int trial = 0; trial < 1000; ++trial) {
    const HueSaturation tint = HueFromColour(random() & 0xFFFFFF);
    ASSERT_GE(tint.hue, 0);
    ASSERT_LT(tint.hue, 360);
  }
}

uint32_t TintOne(uint32_t pixel, float hue, float saturation) {
  Destination picture = Picture(1, 1, pixel);
  TintPixels(View(picture), {0, 0, 1, 1}, hue, saturation);
  return picture.pixels[0];
}

TEST(Tint, KeepsTheBrightestChannelAndTruncatesTheOthers) {
  EXPECT_EQ(TintOne(0xAB102030, 0, 1), 0x300000u) << "red at the pixel's brightest channel";
  EXPECT_EQ(TintOne(0x00C80000, 1.0f / 3, 1), 0x00C800u);
  EXPECT_EQ(TintOne(0x000000C8, 2.0f / 3, 1), 0x0000C8u);
  EXPECT_EQ(TintOne(0x00646464, 0.5f, 0), 0x646464u) << "no saturation leaves grey";
  // Half saturation: p = 100 * 0.5 = 50, t at f = 0 is p too.
  EXPECT_EQ(TintOne(0x00006400, 0, 0.5f), 0x643232u);
  // f = 0.5 in sector 0: t = 100 * (1 - 0.5 * 0.5) = 75.
  EXPECT_EQ(TintOne(0x00000064, 1.0f / 12, 0.5f), 0x644B32u);
}

TEST(Tint, HueOneGoesRoundToRedAndHuesOutsideWrap) {
  std::mt19937 random(2);
  for (int trial = 0; trial < 200; ++trial) {
    const auto pixel = static_cast<uint32_t>(random());
    const float saturation = static_cast<float>(random() % 101) / 100;
    const float hue = static_cast<float>(random() % 1000) / 1000;
    EXPECT_EQ(TintOne(pixel, 1.0f, saturation), TintOne(pixel, 0.0f, saturation));
    EXPECT_EQ(TintOne(pixel, hue + 2.0f, saturation), TintOne(pixel, hue, saturation));
    EXPECT_EQ(TintOne(pixel, hue - 1.0f, saturation), TintOne(pixel, hue, saturation));
  }
  EXPECT_EQ(TintOne(0x808080, std::nanf(""), 1), TintOne(0x808080, 0, 1));
  EXPECT_EQ(TintOne(0x808080, 0, 5) & 0xFFFF, 0u) << "channels below 0 stop at 0";
}

// --- Glyphs -----------------------------------------------------------------------------------

TEST(Glyph, NamedStylesFollowTheFirstFourLettersInAnyCase) {
  EXPECT_EQ(StyleForFont("SmAl", true), GlyphStyle::kSoftShadow);
  EXPECT_EQ(StyleForFont("medf", true), GlyphStyle::kHardShadow);
  EXPECT_EQ(StyleForFont("BIGF", true), GlyphStyle::kHardShadow);
  EXPECT_EQ(StyleForFont("Verd", true), GlyphStyle::kBlackBorder);
  EXPECT_EQ(StyleForFont("cham", true), GlyphStyle::kBlackBorder);
  EXPECT_EQ(StyleForFont("SMAX", true), GlyphStyle::kPlain);
  EXPECT_EQ(StyleForFont("SMAL", false), GlyphStyle::kPlain);
}

constexpr uint32_t kGround = 0x808080;
constexpr uint32_t kInkColour = 0x00F800;
constexpr uint32_t kEdge = 0x0000F8;

// A 2 x 2 glyph drawn at (1, 1) of a 5 x 5 picture, as rows of text: '#' ink, 'e' edge colour,
// 'd' darkened ground, '0' black, '.' ground.
std::vector<std::string> Draw(const std::vector<uint8_t>& bytes, GlyphStyle style) {
  Destination picture = Picture(5, 5, kGround);
  DrawGlyphPixels(View(picture), 1, 1, {bytes.data(), 2, 2}, style, kInkColour, kEdge);
  std::vector<std::string> rows;
  for (int32_t y = 0; y < 5; ++y) {
    std::string row;
    for (int32_t x = 0; x < 5; ++x) {
      const uint32_t pixel = PixelAt(picture, x, y);
      row += pixel == kInkColour        ? '#'
             : pixel == kEdge           ? 'e'
             : pixel == kGround         ? '.'
             : pixel == 0               ? '0'
             : pixel == Dark50(kGround) ? 'd'
                                        : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(Glyph, EachStyleDrawsWhatItsRowsSayIncludingTheShadows) {
  const std::vector<uint8_t> diagonal = {0xFF, 0x80, 0x00, 0xFF};
  using Rows = std::vector<std::string>;
  EXPECT_EQ(Draw(diagonal, GlyphStyle::kPlain),
            (Rows{".....", ".#e..", "..#..", ".....", "....."}));
  EXPECT_EQ(Draw(diagonal, GlyphStyle::kSoftShadow),
            (Rows{".....", ".#...", "..#..", "...d.", "....."}));
  EXPECT_EQ(Draw(diagonal, GlyphStyle::kHardShadow),
            (Rows{".....", ".#...", "..#..", "...0.", "....."}));
  EXPECT_EQ(Draw(diagonal, GlyphStyle::kBlackBorder),
            (Rows{".0...", "0#0..", ".0#0.", "..0..", "....."}));
  // A later glyph pixel covers an earlier one's shadow.
  EXPECT_EQ(Draw({0xFF, 0x00, 0x00, 0xFF}, GlyphStyle::kSoftShadow)[2], "..#..");
}

TEST(Glyph, PixelsOutsideTheBitmapAreLeftOut) {
  std::mt19937 random(3);
  std::vector<uint8_t> bytes(7 * 5);
  for (uint8_t& byte : bytes) byte = random() % 2 == 0 ? 0xFF : static_cast<uint8_t>(random());
  for (GlyphStyle style : {GlyphStyle::kPlain, GlyphStyle::kSoftShadow, GlyphStyle::kHardShadow,
                           GlyphStyle::kBlackBorder}) {
    for (int32_t x = -8; x <= 4; ++x) {
      for (int32_t y = -6; y <= 4; ++y) {
        Destination picture(3, 3, 0, random);
        DrawGlyphPixels(View(picture), x, y, {bytes.data(), 7, 5}, style, 1, 2);
      }
    }
  }
}

// --- Transitions and video ----------------------------------------------------------------------

TEST(PictureMix, WeighsBytesZeroToTwoAndKeepsTheTopByte) {
  Destination target = Picture(4, 3, 0xAA000000);
  Destination first = Picture(3, 2, 0x11FF8040);
  Destination second = Picture(3, 3, 0x22000810);
  const PixelBuffer first_view = View(first);
  const PixelBuffer second_view = View(second);
  // Cut to the smaller picture, 3 x 2, and to the target's right edge.
  MixPictures(View(target), {2, 1, 9, 9}, {&first_view, 3, &second_view, 5, 3});
  const uint32_t mixed = 0xAA000000u | ((0xFF * 3) >> 3) << 16 | ((0x80 * 3 + 8 * 5) >> 3) << 8 |
                         ((0x40 * 3 + 0x10 * 5) >> 3);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      const bool inside = x >= 2 && y >= 1;
      EXPECT_EQ(PixelAt(target, x, y), inside ? mixed : 0xAA000000u) << x << "," << y;
    }
  }
}

TEST(PictureMix, DroppedColumnsLeftOfTheTargetMoveTheReadPosition) {
  Destination target = Picture(3, 1, 0);
  Destination picture = Picture(4, 1, 0);
  for (int32_t x = 0; x < 4; ++x) PixelAt(picture, x, 0) = static_cast<uint32_t>(4 * (x + 1));
  const PixelBuffer view = View(picture);
  MixPictures(View(target), {-2, 0, 4, 1}, {&view, 4, &view, 0, 2});
  EXPECT_EQ(PixelAt(target, 0, 0), 12u);
  EXPECT_EQ(PixelAt(target, 1, 0), 16u);
  EXPECT_EQ(PixelAt(target, 2, 0), 0u);
}

TEST(VideoPicture, ConvertsRgb565RowsAtTheirPitch) {
  const uint16_t frame[2][3] = {{0xF800, 0x07E0, 0x001F}, {0xFFFF, 0x0000, 0x8410}};
  Destination picture = Picture(2, 2, 0x12345678);
  ConvertRgb565Picture(reinterpret_cast<const uint8_t*>(frame), 6, 2, 2, View(picture));
  EXPECT_EQ(picture.pixels,
            (std::vector<uint32_t>{0xF80000, 0x00FC00, 0x12345678, 0xF8FCF8, 0x000000}));
}

}  // namespace
}  // namespace qz::truecolour
