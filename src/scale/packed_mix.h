#pragma once
// Channel mixes on packed 0xRRGGBB pixels: the masks keep each channel's carries inside its own
// byte, so one integer operation serves all three channels. Inputs have their top byte 0, and so
// do the results.
#include <cstdint>

namespace qz::scale {

// Per channel (a + b) / 2, rounded down.
inline uint32_t Average(uint32_t a, uint32_t b) {
  return (a & b & 0x010101) + ((a >> 1) & 0x7F7F7F) + ((b >> 1) & 0x7F7F7F);
}

// Per channel (a + b + c + d) / 4, rounded down: the low two bits of each channel are summed
// apart (at most 12, no carry out of the byte) and their quarter added to the others' quarters.
inline uint32_t Quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  constexpr uint32_t kLowBits = 0x030303;
  constexpr uint32_t kHighBits = 0x3F3F3F;
  const uint32_t low_quarter =
      (((a & kLowBits) + (b & kLowBits) + (c & kLowBits) + (d & kLowBits)) >> 2) & kLowBits;
  return low_quarter + ((a >> 2) & kHighBits) + ((b >> 2) & kHighBits) + ((c >> 2) & kHighBits) +
         ((d >> 2) & kHighBits);
}

// Per channel (a + 2b + c) / 4, rounded down.
inline uint32_t Mix121(uint32_t a, uint32_t b, uint32_t c) {
  return Quad(a, b, b, c);
}

// Per channel (weight * a + (256 - weight) * b) / 256, rounded down, for weight 0..256. Red and
// blue share one multiply (each product stays below 2^16 within its half), green takes another.
inline uint32_t MixIn256ths(uint32_t a, uint32_t b, uint32_t weight) {
  constexpr uint32_t kRedBlue = 0xFF00FF;
  constexpr uint32_t kGreen = 0x00FF00;
  const uint32_t other = 256 - weight;
  const uint32_t red_blue = (((a & kRedBlue) * weight + (b & kRedBlue) * other) >> 8) & kRedBlue;
  const uint32_t green = (((a & kGreen) * weight + (b & kGreen) * other) >> 8) & kGreen;
  return red_blue | green;
}

}  // namespace qz::scale
