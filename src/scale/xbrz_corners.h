#pragma once
// xBRZ corner marks of the frame enlarger: for every corner where four source pixels meet,
// whether an edge runs along it and how strongly, decided once on colour magnitudes and shared
// by the four pixels around the corner.
#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/neighbourhood_4x4.h"
#include "scale/xbrz_rules.h"

namespace qz::scale {

// Colour magnitudes, exact 24-bit colours, and a dominant edge at four times the change.
struct FrameCornerRules {
  using Pixel = Sample;

  // Eight distances of up to 2^27 each: the sums fit 32 bits, four times a sum does not.
  static int64_t Distance(const Sample& a, const Sample& b) { return scale::Distance(a, b); }
  static bool Identical(const Sample& a, const Sample& b) { return a.colour == b.colour; }
  static bool Identical(uint32_t a_colour, uint32_t b_colour) { return a_colour == b_colour; }
  static bool DominantDirection(int64_t less, int64_t more) { return 4 * less < more; }
};

inline CornerVerdict DecideCorner(const Neighbourhood4x4& around) {
  return DecideCornerWith(FrameCornerRules{}, around);
}

}  // namespace qz::scale
