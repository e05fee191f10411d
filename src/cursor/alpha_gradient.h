#pragma once
// The mixing step of the cursor enlarger. Each pixel weighs by its alpha, so a transparent pixel
// lends no colour to the mix; this mixes two pixels with alpha, it is not alpha blending.
#include <cstdint>

#include "cursor/cursor_image_ops.h"

namespace qz::cursor {

template <uint32_t M, uint32_t N>
uint32_t AlphaGradient(uint32_t back, uint32_t front) {
  static_assert(0 < M && M < N && N <= 100, "a share of the front below one; sums fit 32 bits");
  const uint32_t front_weight = (front >> 24) * M;
  const uint32_t back_weight = (back >> 24) * (N - M);
  const uint32_t weight = front_weight + back_weight;
  if (weight == 0) return 0;
  const auto channel = [&](uint32_t shift) {
    return (((front >> shift) & 255) * front_weight + ((back >> shift) & 255) * back_weight) /
           weight;
  };
  return ((weight / N) << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

}  // namespace qz::cursor
