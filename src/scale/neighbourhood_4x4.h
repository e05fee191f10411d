#pragma once
// The 4 x 4 source neighbourhood that the edge-directed 2x enlargers look at, carried along a row
// so that each step right loads one new column instead of sixteen pixels.
#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/kernel.h"

namespace qz::scale {

// at[row][column] around the current pixel X at (x, y); coordinates outside the frame are
// clamped to its edge rows and columns:
//
//            x-1  x    x+1  x+2
//     y-1    .    .    .    .
//     y      .    X    .    .
//     y+1    .    .    .    .
//     y+2    .    .    .    .
struct Neighbourhood4x4 {
  Sample at[4][4];
};

// The four source rows y-1 .. y+2, clamped, and the last column of the frame.
struct SourceRows {
  const uint32_t* row[4];
  int32_t last_column;
};

inline SourceRows ClampedSourceRows(const ImageView& source, int32_t y) {
  SourceRows rows{};
  for (int32_t slot = 0; slot < 4; ++slot) {
    int32_t row = y - 1 + slot;
    row = row < 0 ? 0 : row;
    row = row >= source.height ? source.height - 1 : row;
    rows.row[slot] = source.pixels + static_cast<intptr_t>(row) * source.pitch;
  }
  rows.last_column = source.width - 1;
  return rows;
}

inline void LoadColumn(Neighbourhood4x4& neighbourhood, int32_t slot, const SourceRows& rows,
                       int32_t column, const uint32_t* table) {
  column = column < 0 ? 0 : column;
  column = column > rows.last_column ? rows.last_column : column;
  for (int32_t row = 0; row < 4; ++row) {
    neighbourhood.at[row][slot] = SampleOf(table, rows.row[row][column]);
  }
}

// Moves the neighbourhood of column x - 1 on to column x.
inline void StepRight(Neighbourhood4x4& neighbourhood, const SourceRows& rows, int32_t x,
                      const uint32_t* table) {
  for (auto& row : neighbourhood.at) {
    row[0] = row[1];
    row[1] = row[2];
    row[2] = row[3];
  }
  LoadColumn(neighbourhood, 3, rows, x + 2, table);
}

// Calls visit(x, neighbourhood) for x = x0 .. x1, left to right.
template <typename Visit>
void ForEachNeighbourhood(const SourceRows& rows, int32_t x0, int32_t x1, const uint32_t* table,
                          Visit&& visit) {
  Neighbourhood4x4 neighbourhood;
  for (int32_t slot = 0; slot < 4; ++slot) {
    LoadColumn(neighbourhood, slot, rows, x0 - 2 + slot, table);
  }
  for (int32_t x = x0; x <= x1; ++x) {
    StepRight(neighbourhood, rows, x, table);
    visit(x, static_cast<const Neighbourhood4x4&>(neighbourhood));
  }
}

}  // namespace qz::scale
