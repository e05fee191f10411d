#include "scale/scale2x_blend.h"

#include <algorithm>

#include "scale/color_magnitude.h"
#include "scale/packed_mix.h"

namespace qz::scale {

//       U
//     L E R      E is the current pixel; missing neighbours at the frame's edges are E's own
//       D        row or column.
void Scale2xBlend(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const ImageView& source = images.source;
  const ImageView& destination = images.destination;
  if (!ClipToImage(source, x0, x1, y0, y1)) return;
  const uint32_t* table = ColorMagnitudeTable;
  for (int32_t y = y0; y <= y1; ++y) {
    const uint32_t* row = source.pixels + static_cast<intptr_t>(y) * source.pitch;
    const uint32_t* up_row = y > 0 ? row - source.pitch : row;
    const uint32_t* down_row = y + 1 < source.height ? row + source.pitch : row;
    uint32_t* top = destination.pixels + static_cast<intptr_t>(2 * y) * destination.pitch;
    uint32_t* bottom = top + destination.pitch;
    for (int32_t x = x0; x <= x1; ++x) {
      const int32_t left_x = x > 0 ? x - 1 : x;
      const int32_t right_x = x + 1 < source.width ? x + 1 : x;
      const Sample u = SampleOf(table, up_row[x]);
      const Sample d = SampleOf(table, down_row[x]);
      const Sample l = SampleOf(table, row[left_x]);
      const Sample r = SampleOf(table, row[right_x]);
      const uint32_t e = row[x] & kColourMask;
      uint32_t top_left = e, top_right = e, bottom_left = e, bottom_right = e;
      if (!Similar(u, d) && !Similar(l, r)) {
        if (Similar(l, u)) top_left = Average(l.colour, u.colour);
        if (Similar(u, r)) top_right = Average(r.colour, u.colour);
        if (Similar(l, d)) bottom_left = Average(d.colour, l.colour);
        if (Similar(d, r)) bottom_right = Average(d.colour, r.colour);
      }
      top[2 * x] = top_left;
      top[2 * x + 1] = top_right;
      bottom[2 * x] = bottom_left;
      bottom[2 * x + 1] = bottom_right;
    }
  }
}

}  // namespace qz::scale
