#pragma once
// Recolouring a bitmap rectangle with one hue and saturation, keeping each pixel's brightness.
#include <cstdint>

#include "truecolour/pixel_buffer.h"

namespace qz::truecolour {

struct HueSaturation {
  double hue = 0;  // degrees, 0 <= hue < 360
  double saturation = 0;
};

// Hue and saturation of a 24-bit RGB colour (red in bits 16-23).
HueSaturation HueFromColour(uint32_t colour);

// Every pixel of the rectangle (limited to the bitmap as the other bitmap routines limit it)
// becomes the colour of `hue` (0 to 1 for the whole circle) and `saturation` at the brightness of
// its largest channel; bits 24-31 become 0. A hue of 1 or more, or below 0, goes round the circle
// again, so 1.0 is red like 0.0; a hue that is not a number counts as 0.
void TintPixels(const PixelBuffer& bitmap, PixelRectangle rectangle, float hue, float saturation);

}  // namespace qz::truecolour
