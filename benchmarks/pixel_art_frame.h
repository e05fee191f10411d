#pragma once
// A game-like 800 x 600 frame for the benchmarks: terrain of flat patches in a few hundred shades
// cut by diagonal borders, and small outlined sprites.
#include <cstdint>
#include <vector>

namespace qz::benchmarks {

inline constexpr int32_t kFrameWidth = 800;
inline constexpr int32_t kFrameHeight = 600;

// kFrameWidth x kFrameHeight pixels, packed rows.
std::vector<uint32_t> PixelArtFrame();

}  // namespace qz::benchmarks
