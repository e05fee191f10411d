#include <cmath>
#include <memory>
#include <new>

#include "cursor/cursor_image_ops.h"

namespace qz::cursor {
namespace {

// 2^24 floats, one per packed triple of halved channel differences: 64 MiB spent once so that a
// distance is a lookup instead of a square root.
constexpr uint32_t kTableEntries = 1u << 24;

// BT.2020 luma weights and the scales of the two colour differences.
constexpr double kRedLuma = 0.2627;
constexpr double kBlueLuma = 0.0593;
constexpr double kGreenLuma = 1.0 - kBlueLuma - kRedLuma;
constexpr double kBlueDifferenceScale = 0.5 / (1.0 - kBlueLuma);
constexpr double kRedDifferenceScale = 0.5 / (1.0 - kRedLuma);

// Released at process exit; null until the first successful build.
std::unique_ptr<float[]> ColorDistanceTable;

// An index byte back to the colour difference it stands for, -255 .. 255 in steps of 2.
double DifferenceOf(uint32_t index_byte) {
  return 2.0 * static_cast<double>(index_byte) - 255.0;
}

double DistanceAt(uint32_t index) {
  const double red = DifferenceOf((index >> 16) & 255);
  const double green = DifferenceOf((index >> 8) & 255);
  const double blue = DifferenceOf(index & 255);
  const double luma = kRedLuma * red + kGreenLuma * green + kBlueLuma * blue;
  const double blue_difference = (blue - luma) * kBlueDifferenceScale;
  const double red_difference = (red - luma) * kRedDifferenceScale;
  return std::sqrt(luma * luma + blue_difference * blue_difference +
                   red_difference * red_difference);
}

void FillColorDistanceTable(float* table) {
  // Index bytes b and 255 - b stand for opposite differences, which negate the luma and both
  // colour differences exactly: the upper half mirrors the lower one, at half the square roots.
  for (uint32_t index = 0; index < kTableEntries / 2; ++index) {
    const auto distance = static_cast<float>(DistanceAt(index));
    table[index] = distance;
    table[kTableEntries - 1 - index] = distance;
  }
}

// (first - second + 255) / 2 for the channel at `shift`: 0 .. 255, one index byte.
uint32_t HalvedDifference(uint32_t first, uint32_t second, uint32_t shift) {
  const int32_t difference =
      static_cast<int32_t>((first >> shift) & 255) - static_cast<int32_t>((second >> shift) & 255);
  return static_cast<uint32_t>((difference + 255) / 2);
}

}  // namespace

bool EnsureColorDistanceTable() {
  if (ColorDistanceTable) return true;
  // A failed attempt leaves nothing behind, so a later cursor may try again.
  std::unique_ptr<float[]> table(new (std::nothrow) float[kTableEntries]);
  if (!table) return false;
  FillColorDistanceTable(table.get());
  ColorDistanceTable = std::move(table);
  return true;
}

double ColorDistanceArgb(uint32_t first, uint32_t second) {
  const uint32_t index = (HalvedDifference(first, second, 16) << 16) |
                         (HalvedDifference(first, second, 8) << 8) |
                         HalvedDifference(first, second, 0);
  const double colour = ColorDistanceTable[index];
  // The colour counts only as far as the fainter pixel shows it; the rest is the alpha gap.
  const double first_alpha = static_cast<double>(first >> 24) / 255.0;
  const double second_alpha = static_cast<double>(second >> 24) / 255.0;
  if (first_alpha < second_alpha) {
    return first_alpha * colour + 255.0 * (second_alpha - first_alpha);
  }
  return second_alpha * colour + 255.0 * (first_alpha - second_alpha);
}

}  // namespace qz::cursor
