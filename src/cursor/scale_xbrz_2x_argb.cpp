#include <algorithm>
#include <cstddef>
#include <vector>

#include "cursor/alpha_gradient.h"
#include "cursor/cursor_image_ops.h"
#include "scale/xbrz_rules.h"

namespace qz::cursor {
namespace {

using scale::BlendShare;

// The xBRZ rules on pixels with alpha: the alpha-aware distance, the configuration's thresholds,
// and mixes that take no colour from transparent pixels.
struct ArgbRules {
  using Pixel = uint32_t;

  const XbrzConfiguration& configuration;

  static double Distance(uint32_t a, uint32_t b) { return ColorDistanceArgb(a, b); }
  bool Similar(uint32_t a, uint32_t b) const {
    return Distance(a, b) < configuration.equal_colour_tolerance;
  }
  static bool Identical(uint32_t a, uint32_t b) { return a == b; }
  bool DominantDirection(double less, double more) const {
    return configuration.dominant_direction_threshold * less < more;
  }
  bool SteepDirection(double side, double across) const {
    return configuration.steep_direction_threshold * side <= across;
  }
  template <BlendShare Share>
  static uint32_t Mix(uint32_t colour, uint32_t pixel) {
    if constexpr (Share == BlendShare::kQuarter) return AlphaGradient<1, 4>(pixel, colour);
    if constexpr (Share == BlendShare::kHalf) return AlphaGradient<1, 2>(pixel, colour);
    if constexpr (Share == BlendShare::kThreeQuarters) return AlphaGradient<3, 4>(pixel, colour);
    if constexpr (Share == BlendShare::kFiveSixths) return AlphaGradient<5, 6>(pixel, colour);
    if constexpr (Share == BlendShare::kCorner) return AlphaGradient<21, 100>(pixel, colour);
  }
};

// A packed image read with coordinates clamped to its edges.
struct ClampedImage {
  const uint32_t* pixels;
  int32_t width;
  int32_t height;

  uint32_t At(int32_t x, int32_t y) const {
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    return pixels[static_cast<ptrdiff_t>(y) * width + x];
  }
};

// The 4 x 4 block from (x - 1, y - 1) to (x + 2, y + 2) around the square whose top-left pixel is
// (x, y).
struct Square {
  uint32_t at[4][4];
};

Square SquareAt(const ClampedImage& image, int32_t x, int32_t y) {
  Square square;
  for (int32_t row = 0; row < 4; ++row) {
    for (int32_t column = 0; column < 4; ++column) {
      square.at[row][column] = image.At(x - 1 + column, y - 1 + row);
    }
  }
  return square;
}

// The blend kind of every corner of every pixel, one byte per pixel. Each square's verdict is
// shared by the four pixels around it. Squares on the last column or row need no analysis: their
// clamped right or lower half repeats the left or upper one, which the rules never blend.
std::vector<uint8_t> CornerMarks(const ArgbRules& rules, const ClampedImage& image) {
  std::vector<uint8_t> marks(static_cast<size_t>(image.width) * image.height);
  const auto mark = [&](int32_t x, int32_t y, scale::CornerBlend blend, uint32_t shift) {
    marks[static_cast<size_t>(y) * image.width + x] |= static_cast<uint8_t>(blend << shift);
  };
  for (int32_t y = 0; y + 1 < image.height; ++y) {
    for (int32_t x = 0; x + 1 < image.width; ++x) {
      const scale::CornerVerdict verdict = scale::DecideCornerWith(rules, SquareAt(image, x, y));
      mark(x, y, verdict.f, scale::kBottomRightShift);
      mark(x + 1, y, verdict.g, scale::kBottomLeftShift);
      mark(x, y + 1, verdict.j, scale::kTopRightShift);
      mark(x + 1, y + 1, verdict.k, scale::kTopLeftShift);
    }
  }
  return marks;
}

scale::Grid3x3<uint32_t> NeighboursAt(const ClampedImage& image, int32_t x, int32_t y) {
  return {image.At(x - 1, y - 1), image.At(x, y - 1), image.At(x + 1, y - 1),
          image.At(x - 1, y),     image.At(x, y),     image.At(x + 1, y),
          image.At(x - 1, y + 1), image.At(x, y + 1), image.At(x + 1, y + 1)};
}

}  // namespace

void ScaleXbrz2xArgb(const uint32_t* source, uint32_t* destination, int32_t source_width,
                     int32_t source_height, const XbrzConfiguration& configuration) {
  const ArgbRules rules{configuration};
  const ClampedImage image{source, source_width, source_height};
  const std::vector<uint8_t> marks = CornerMarks(rules, image);
  const ptrdiff_t destination_pitch = 2 * static_cast<ptrdiff_t>(source_width);
  for (int32_t y = 0; y < source_height; ++y) {
    uint32_t* top_row = destination + 2 * y * destination_pitch;
    for (int32_t x = 0; x < source_width; ++x) {
      const scale::OutputBlock block{{top_row + 2 * x, top_row + destination_pitch + 2 * x}};
      const uint32_t centre = image.At(x, y);
      block.row[0][0] = block.row[0][1] = block.row[1][0] = block.row[1][1] = centre;
      const uint32_t pixel_marks = marks[static_cast<size_t>(y) * source_width + x];
      if (pixel_marks != 0) {
        scale::BlendBlockWith(rules, NeighboursAt(image, x, y), pixel_marks, block);
      }
    }
  }
}

}  // namespace qz::cursor
