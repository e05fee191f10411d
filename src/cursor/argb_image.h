#pragma once
// Cursor pictures: 32-bit pixels 0xAARRGGBB with a real, non-premultiplied alpha.
#include <cstdint>

namespace qz::cursor {

struct ArgbImage {
  uint32_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch_pixels = 0;
};

// The xBRZ settings of the cursor enlarger, in their fixed order.
struct XbrzConfiguration {
  double luminance_weight = 1.0;  // not used by the alpha-aware distance
  double equal_colour_tolerance = 30.0;
  double dominant_direction_threshold = 3.6;
  double steep_direction_threshold = 2.2;
  double unused = 0.0;
};

}  // namespace qz::cursor
