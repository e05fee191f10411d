#include "scale/scale_nearest.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace qz::scale {
namespace {

// Columns of one piece of a row; a picture up to 7680 pixels wide is one piece.
constexpr int32_t kPieceColumns = 7680;

// The source column of every destination column, made once per call instead of once per pixel.
thread_local int32_t source_columns[kPieceColumns];

}  // namespace

void ScaleNearest(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const ImageView& source = images.source;
  const ImageView& picture = images.destination;
  if (picture.width < 1 || picture.height < 1) return;
  for (int32_t left = x0; left <= x1; left += kPieceColumns) {
    const int32_t count = std::min(kPieceColumns, x1 - left + 1);
    for (int32_t i = 0; i < count; ++i) {
      source_columns[i] = static_cast<int32_t>(int64_t{left + i} * source.width / picture.width);
    }
    int32_t previous_source_row = -1;
    for (int32_t y = y0; y <= y1; ++y) {
      const auto source_row = static_cast<int32_t>(int64_t{y} * source.height / picture.height);
      uint32_t* out = picture.pixels + static_cast<ptrdiff_t>(y) * picture.pitch + left;
      if (source_row == previous_source_row) {
        // Enlarging repeats whole rows; the row just written is already the answer.
        std::memcpy(out, out - picture.pitch, sizeof(uint32_t) * count);
        continue;
      }
      const uint32_t* in = source.pixels + static_cast<ptrdiff_t>(source_row) * source.pitch;
      for (int32_t i = 0; i < count; ++i) out[i] = in[source_columns[i]];
      previous_source_row = source_row;
    }
  }
}

}  // namespace qz::scale
