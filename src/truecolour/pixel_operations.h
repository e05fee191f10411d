#pragma once
// What a frame drawer does to one destination pixel besides copying or filling it. Each channel is
// shifted and masked before the add, so none carries into its neighbour and bits 24-31 end at zero.
#include <cstdint>

namespace qz::truecolour {

// Deep shadow: half plus a quarter of the pixel, per channel.
constexpr uint32_t Dark75(uint32_t pixel) {
  return ((pixel >> 1) & 0x7F7F7Fu) + ((pixel >> 2) & 0x3F3F3Fu);
}

// Light shadow: half the pixel, per channel.
constexpr uint32_t Dark50(uint32_t pixel) {
  return (pixel >> 1) & 0x7F7F7Fu;
}

// Half transparency: the mean of `colour` and the pixel, each halved first.
constexpr uint32_t Half(uint32_t colour, uint32_t pixel) {
  return ((colour >> 1) & 0x7F7F7Fu) + ((pixel >> 1) & 0x7F7F7Fu);
}

}  // namespace qz::truecolour
