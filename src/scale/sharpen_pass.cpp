#include "scale/sharpen_pass.h"

#include <cstddef>

#include "scale/pixel_block.h"
#include "scale/sharpen_rules.h"

namespace qz::scale {
namespace {

//   P R      P = (x, y) is rewritten; R = (x + 1, y) lies ahead in the walk and
//   D        D = (x, y + 1) a row later, so both are read before anyone rewrites them.
template <typename Rule>
void SharpenInPlace(const ImageView& picture, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  for (int32_t y = y0; y <= y1; ++y) {
    uint32_t* row = picture.pixels + static_cast<ptrdiff_t>(y) * picture.pitch;
    const uint32_t* below = row + picture.pitch;
    // Four pixels a block; `pixels` is 4 except in the row's last block.
    const auto block = [&](int32_t x, int32_t pixels) {
      const __m128i p = LoadPixels(row + x, pixels);
      const __m128i r = LoadPixels(row + x + 1, pixels);
      const __m128i d = LoadPixels(below + x, pixels);
      StorePixels(row + x, SharpenBlock<Rule>(p, r, d), pixels);
    };
    int32_t x = x0;
    for (; x + kBlockPixels - 1 <= x1; x += kBlockPixels) block(x, kBlockPixels);
    if (x <= x1) block(x, x1 - x + 1);
  }
}

}  // namespace

void SharpenPass(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  SharpenInPlace<MildSharpening>(images.destination, x0, x1, y0, y1);
}

void SharpenPassX2(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  SharpenInPlace<StrongSharpening>(images.destination, x0, x1, y0, y1);
}

}  // namespace qz::scale
