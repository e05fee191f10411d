#pragma once
// How the xBRZ frame enlarger holds a strip of source columns, and the part of its work that is
// written once per instruction set: deciding a row's corners and blending its blocks.
#include <cstdint>

namespace qz::scale {

// The rectangle is worked in strips of source columns, so that everything a strip carries from
// row to row (the source rows with their magnitudes, the corner verdicts) fits on the stack
// whatever the frame's width, and nothing is kept in the 2x image.
inline constexpr int32_t kStripColumns = 256;
// A strip's rows reach two columns to each side; the corner decisions, in groups of up to eight,
// read at most nine entries past the last column's, and a row holds a little more, to a whole
// number of groups.
inline constexpr int32_t kRowPadding = 2;
inline constexpr int32_t kLaneGroup = 8;
inline constexpr int32_t kRowOverrun = 24;
inline constexpr int32_t kRowLength = kStripColumns + kRowOverrun;
static_assert(kRowLength % kLaneGroup == 0);

// One source row over a strip, clamped to the frame: entry i is column first_column - 2 + i.
struct StripRow {
  uint32_t colour[kRowLength];
  uint32_t magnitude[kRowLength];
};

// Verdicts on the corners at the bottom right of a strip's pixels of one row, indexed from the
// column left of the strip (index 0), plus room for the decisions and marks that work in groups
// to overrun.
struct VerdictRow {
  uint8_t verdict[kStripColumns + 16];
};

// rows[0..3] are source rows y - 1 .. y + 2 of a strip.
struct XbrzLaneWork {
  // The magnitudes of `count` 24-bit colours, a whole number of groups.
  void (*look_up_magnitudes)(const uint32_t* table, const uint32_t* colours, int32_t count,
                             uint32_t* magnitudes);
  // The verdicts of the corners 0 .. count - 1 of row y, and up to a group more.
  void (*decide_row)(const StripRow* const rows[4], int32_t count, uint8_t* verdicts);
  // The 2 x 2 blocks of the strip's first pixels of row y, from their marks, into the two
  // output rows at the strip's first block; returns how many pixels it did (whole groups).
  int32_t (*double_row)(const StripRow* const rows[4], const uint8_t* marks, int32_t count,
                        uint32_t* top, uint32_t* bottom);
};

extern const XbrzLaneWork kXbrzSse2Work;
// Only for processors with AVX2.
extern const XbrzLaneWork kXbrzAvx2Work;

}  // namespace qz::scale
