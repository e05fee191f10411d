#include "truecolour/bitmap_tint.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "truecolour/bitmap_pixels.h"

namespace qz::truecolour {
namespace {

// A brightness times a factor, truncated into a byte; anything not above 0 (not a number too)
// gives 0.
uint32_t TruncatedChannel(double value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  return static_cast<uint32_t>(value);
}

// The six sectors of the colour circle: which of V, p, q and t feed red, green and blue.
enum Term { kV, kP, kQ, kT };
constexpr std::array<std::array<Term, 3>, 6> kSectors = {
    {{kV, kT, kP}, {kQ, kV, kP}, {kP, kV, kT}, {kP, kQ, kV}, {kT, kP, kV}, {kV, kP, kQ}}};

}  // namespace

HueSaturation HueFromColour(uint32_t colour) {
  const double red = static_cast<double>(colour & 0xFF0000u) / 0xFF0000;
  const double green = static_cast<double>(colour & 0xFF00u) / 0xFF00;
  const double blue = static_cast<double>(colour & 0xFFu) / 255;
  const double largest = std::max({red, green, blue});
  const double smallest = std::min({red, green, blue});
  if (largest == 0) return {};
  const double saturation = (largest - smallest) / largest;
  if (saturation == 0) return {};
  const double spread = largest - smallest;
  double hue = 0;
  if (red == largest) {
    hue = (green - blue) / spread;
  } else if (green == largest) {
    hue = (blue - red) / spread + 2;
  } else {
    hue = (red - green) / spread + 4;
  }
  hue *= 60;
  if (hue < 0) hue += 360;
  return {hue, saturation};
}

void TintPixels(const PixelBuffer& bitmap, PixelRectangle rectangle, float hue, float saturation) {
  const double k = std::isfinite(hue) ? static_cast<double>(hue) * 6 : 0;
  const double whole = std::floor(k);
  const double f = k - whole;
  double sector = std::fmod(whole, 6.0);
  if (sector < 0) sector += 6;
  const std::array<Term, 3>& terms = kSectors[static_cast<size_t>(sector)];
  // The terms depend on the brightness alone: one table of each for the whole call.
  const double s = saturation;
  const std::array<double, 4> factors = {1, 1 - s, 1 - s * f, 1 - s * (1 - f)};
  std::array<std::array<uint32_t, 256>, 3> channel{};
  for (size_t c = 0; c < 3; ++c) {
    for (uint32_t v = 0; v < 256; ++v) {
      channel[c][v] = TruncatedChannel(v * factors[terms[c]]) << (16 - 8 * c);
    }
  }
  if (!LimitToBitmap(rectangle, bitmap)) return;
  for (int32_t row = rectangle.y; row < rectangle.y + rectangle.h; ++row) {
    uint32_t* pixels = PixelRow(bitmap, row);
    for (int32_t column = rectangle.x; column < rectangle.x + rectangle.w; ++column) {
      const uint32_t pixel = pixels[column];
      const uint32_t v = std::max({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF});
      pixels[column] = channel[0][v] | channel[1][v] | channel[2][v];
    }
  }
}

}  // namespace qz::truecolour
