#pragma once
// Four 32-bit pixels in one SSE2 register and their channels widened to 16-bit lanes, two pixels a
// register, so that every channel of a pixel shares one multiply, shift or add.
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace qz::scale {

inline constexpr int32_t kBlockPixels = 4;

// Loads `count` (1..4) pixels and reads nothing past them; the lanes after them are zero.
inline __m128i LoadPixels(const uint32_t* pixels, int32_t count) {
  if (count == kBlockPixels) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
  uint32_t block[kBlockPixels] = {};
  std::memcpy(block, pixels, sizeof(uint32_t) * count);
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
}

// Stores the first `count` (1..4) pixels of a block and writes nothing past them.
inline void StorePixels(uint32_t* pixels, __m128i block, int32_t count) {
  if (count == kBlockPixels) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), block);
    return;
  }
  uint32_t stored[kBlockPixels];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(stored), block);
  std::memcpy(pixels, stored, sizeof(uint32_t) * count);
}

// Channels of pixels 0 and 1 (WidenLow) or 2 and 3 (WidenHigh) as 16-bit lanes.
inline __m128i WidenLow(__m128i pixels) {
  return _mm_unpacklo_epi8(pixels, _mm_setzero_si128());
}
inline __m128i WidenHigh(__m128i pixels) {
  return _mm_unpackhi_epi8(pixels, _mm_setzero_si128());
}

// Back to four pixels; every lane is limited to 0..255 on the way.
inline __m128i Narrow(__m128i low, __m128i high) {
  return _mm_packus_epi16(low, high);
}

// Weights are kept multiplied by 256, so the upper half of a 16-bit product is directly
// floor(channel * weight / 256), with no shift.
inline constexpr int32_t kWeightScale = 256;

// Weights for blue, green and red of two pixels; the fourth byte gets 0 and so keeps `from`.
inline __m128i ColourWeights(int32_t weight) {
  const auto lane = static_cast<int16_t>(weight * kWeightScale);
  return _mm_set_epi16(0, lane, lane, lane, 0, lane, lane, lane);
}

// from + floor(to * w / 256) - floor(from * w / 256) per lane, in 0..255 for 8-bit inputs.
inline __m128i Interpolate(__m128i from, __m128i to, __m128i scaled_weights) {
  return _mm_add_epi16(from, _mm_sub_epi16(_mm_mulhi_epu16(to, scaled_weights),
                                           _mm_mulhi_epu16(from, scaled_weights)));
}

}  // namespace qz::scale
