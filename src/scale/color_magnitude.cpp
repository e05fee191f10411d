#include "scale/color_magnitude.h"

#include <emmintrin.h>

#include <cstddef>

#include "scale/table_memory.h"

namespace qz::scale {

const uint32_t* ColorMagnitudeTable = nullptr;

namespace {

constexpr int32_t kChannelLevels = 256;
constexpr size_t kTableBytes = sizeof(uint32_t) * (kTableColours + kWidenedColours);

// Luma weights of BT.2020; the green one is one unit in the last place below the double nearest
// to 0.678, which the table's values depend on.
constexpr double kLumaRedWeight = 0.2627;
constexpr double kLumaGreenWeight = 0.6779999999999999;
constexpr double kLumaBlueWeight = 0.0593;
constexpr double kBlueDifferenceScale = 0.5315190815350271;  // 0.5 / (1 - 0.0593)
constexpr double kRedDifferenceScale = 0.6781500067815001;   // 0.5 / (1 - 0.2627)
constexpr double kMagnitudeScale = 394758.0;                 // table units per magnitude unit

// Each luma product depends on one channel only, so the 256 products of each channel are made
// once; the sums below then see exactly the doubles an entry-by-entry evaluation would.
struct LumaProducts {
  double red[kChannelLevels];
  double green[kChannelLevels];
  alignas(16) double blue[kChannelLevels];
  alignas(16) double blue_level[kChannelLevels];
};

LumaProducts MakeLumaProducts() {
  LumaProducts products;
  for (int32_t level = 0; level < kChannelLevels; ++level) {
    const double value = level;
    products.red[level] = kLumaRedWeight * value;
    products.green[level] = kLumaGreenWeight * value;
    products.blue[level] = kLumaBlueWeight * value;
    products.blue_level[level] = value;
  }
  return products;
}

// Two entries at once: SSE2 square roots are correctly rounded, like the scalar ones, and the
// additions keep the order (Y² + Cb²) + Cr².
__m128i MagnitudePair(__m128d red_green_luma, __m128d red, const double* blue_product,
                      const double* blue) {
  const __m128d luma = _mm_add_pd(red_green_luma, _mm_load_pd(blue_product));
  const __m128d blue_difference =
      _mm_mul_pd(_mm_sub_pd(_mm_load_pd(blue), luma), _mm_set1_pd(kBlueDifferenceScale));
  const __m128d red_difference =
      _mm_mul_pd(_mm_sub_pd(red, luma), _mm_set1_pd(kRedDifferenceScale));
  const __m128d sum =
      _mm_add_pd(_mm_add_pd(_mm_mul_pd(luma, luma), _mm_mul_pd(blue_difference, blue_difference)),
                 _mm_mul_pd(red_difference, red_difference));
  // Every entry is below 2^31, so the signed truncating conversion is exact.
  return _mm_cvttpd_epi32(_mm_mul_pd(_mm_sqrt_pd(sum), _mm_set1_pd(kMagnitudeScale)));
}

}  // namespace

void FillColorMagnitudeTable(uint32_t* table) {
  const LumaProducts products = MakeLumaProducts();
  uint32_t* entry = table;
  for (int32_t red = 0; red < kChannelLevels; ++red) {
    const __m128d red_value = _mm_set1_pd(red);
    for (int32_t green = 0; green < kChannelLevels; ++green) {
      const __m128d red_green_luma = _mm_set1_pd(products.green[green] + products.red[red]);
      for (int32_t blue = 0; blue < kChannelLevels; blue += 4, entry += 4) {
        const __m128i low = MagnitudePair(red_green_luma, red_value, products.blue + blue,
                                          products.blue_level + blue);
        const __m128i high = MagnitudePair(red_green_luma, red_value, products.blue + blue + 2,
                                           products.blue_level + blue + 2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(entry), _mm_unpacklo_epi64(low, high));
      }
    }
  }
}

bool BuildColorMagnitudeTable() {
  if (ColorMagnitudeTable != nullptr) return true;
  auto* table = static_cast<uint32_t*>(AllocateTableBlock(kTableBytes));
  if (table == nullptr) return false;
  FillColorMagnitudeTable(table);
  for (uint32_t colour = 0; colour < kWidenedColours; ++colour) {
    const uint32_t widened =
        ((colour & 0xF800) << 8) | ((colour & 0x07E0) << 5) | ((colour & 0x001F) << 3);
    table[kTableColours + colour] = table[widened];
  }
  ColorMagnitudeTable = table;
  return true;
}

}  // namespace qz::scale
