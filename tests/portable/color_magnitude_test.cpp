#include "scale/color_magnitude.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ios>
#include <utility>
#include <vector>

#include "scale/vector_path.h"
#include "scale/xbrz_strip_row.h"

namespace qz::scale {
namespace {

// The measure evaluated entry by entry, as plainly as it is defined.
uint32_t PlainMagnitude(uint32_t colour) {
  const double red = (colour >> 16) & 255;
  const double green = (colour >> 8) & 255;
  const double blue = colour & 255;
  const double luma = (0.6779999999999999 * green + 0.2627 * red) + 0.0593 * blue;
  const double blue_difference = (blue - luma) * 0.5315190815350271;
  const double red_difference = (red - luma) * 0.6781500067815001;
  const double sum =
      (luma * luma + blue_difference * blue_difference) + red_difference * red_difference;
  return static_cast<uint32_t>(std::sqrt(sum) * 394758.0);
}

class ColorMagnitude : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(BuildColorMagnitudeTable()); }
};

TEST_F(ColorMagnitude, EveryEntryEqualsThePlainEvaluationAndStaysBelowTwoToThe31) {
  const uint32_t* table = ColorMagnitudeTable;
  uint32_t mismatches = 0;
  uint32_t largest = 0;
  for (uint32_t colour = 0; colour <= kColourMask; ++colour) {
    mismatches += table[colour] != PlainMagnitude(colour);
    largest = std::max(largest, table[colour]);
  }
  EXPECT_EQ(mismatches, 0u);
  EXPECT_LT(largest, 1u << 31);
}

// Every 16-bit colour widened as the game widens it, and its neighbours that are not, give the
// entry of the full table, on every vector path the machine runs.
TEST_F(ColorMagnitude, TheWidenedColoursPartRepeatsTheFullTable) {
  const uint32_t* table = ColorMagnitudeTable;
  std::vector<uint32_t> colours;
  for (uint32_t colour = 0; colour < kWidenedColours; ++colour) {
    const uint32_t widened =
        ((colour & 0xF800) << 8) | ((colour & 0x07E0) << 5) | ((colour & 0x001F) << 3);
    colours.push_back(widened);
    colours.push_back(widened | (colour % 3 == 0 ? 0x040000 : colour % 3 == 1 ? 0x100 : 1));
  }
  for (const auto& [path, work] : {std::pair{VectorPath::kSse2, &kXbrzSse2Work},
                                   std::pair{VectorPath::kAvx2, &kXbrzAvx2Work}}) {
    if (!MachineRuns(path)) continue;
    std::vector<uint32_t> magnitudes(colours.size());
    work->look_up_magnitudes(table, colours.data(), static_cast<int32_t>(colours.size()),
                             magnitudes.data());
    for (size_t i = 0; i < colours.size(); ++i) {
      ASSERT_EQ(magnitudes[i], table[colours[i]]) << std::hex << colours[i];
    }
  }
}

TEST_F(ColorMagnitude, GreysGiveTheirLevelTimesTheUnitOrOneUnitLess) {
  const uint32_t* table = ColorMagnitudeTable;
  EXPECT_EQ(table[0x000000], 0u);
  constexpr uint32_t kUnit = 394758;
  for (uint32_t level : {1u, 0x80u, 0xFFu}) {
    EXPECT_EQ(table[level * 0x010101], level * kUnit - 1) << level;
  }
  EXPECT_EQ(table[17 * 0x010101], 17 * kUnit);
  for (uint32_t level = 0; level < 256; ++level) {
    const uint32_t entry = table[level * 0x010101];
    EXPECT_TRUE(entry == level * kUnit || entry + 1 == level * kUnit) << level;
  }
}

TEST_F(ColorMagnitude, RebuildingKeepsThePublishedTable) {
  const uint32_t* published = ColorMagnitudeTable;
  ASSERT_TRUE(BuildColorMagnitudeTable());
  EXPECT_EQ(ColorMagnitudeTable, published);
}

TEST_F(ColorMagnitude, TheTopByteTakesNoPartInAComparison) {
  const uint32_t* table = ColorMagnitudeTable;
  for (uint32_t colour : {0x000000u, 0x123456u, 0xFFFFFFu}) {
    EXPECT_EQ(ColourDistance(table, colour, colour | 0xFF000000), 0);
    EXPECT_TRUE(ColoursSimilar(table, colour | 0x80000000, colour));
  }
  EXPECT_EQ(ColourDistance(table, 0xAA000000, 0x55FFFFFF), table[0xFFFFFF]);
}

// Any colour whose entry is `magnitude`.
uint32_t ColourWithMagnitude(const uint32_t* table, uint32_t magnitude) {
  for (uint32_t colour = 0; colour <= kColourMask; ++colour) {
    if (table[colour] == magnitude) return colour;
  }
  ADD_FAILURE() << "no colour has magnitude " << magnitude;
  return 0;
}

TEST_F(ColorMagnitude, ThirtyUnitsApartIsTheFirstDistanceThatIsNotSimilar) {
  const uint32_t* table = ColorMagnitudeTable;
  // One bit per magnitude that some colour has; then a colour whose entry has partners exactly
  // one unit below the limit and at the limit above it.
  std::vector<bool> present(size_t{1} << 28);
  for (uint32_t colour = 0; colour <= kColourMask; ++colour) present[table[colour]] = true;
  const uint32_t below = kSimilarityLimit - 1;
  const uint32_t at = kSimilarityLimit;
  uint32_t base = 0;
  while (base <= kColourMask && !(present[table[base] + below] && present[table[base] + at])) {
    ++base;
  }
  ASSERT_LE(base, kColourMask);
  const uint32_t near = ColourWithMagnitude(table, table[base] + below);
  const uint32_t far = ColourWithMagnitude(table, table[base] + at);
  EXPECT_EQ(ColourDistance(table, base, near), 11842739);
  EXPECT_EQ(ColourDistance(table, far, base), 11842740);
  EXPECT_TRUE(ColoursSimilar(table, base, near));
  EXPECT_TRUE(ColoursSimilar(table, near, base));
  EXPECT_FALSE(ColoursSimilar(table, base, far));
  EXPECT_FALSE(ColoursSimilar(table, far, base));
}

}  // namespace
}  // namespace qz::scale
