#pragma once
// How one image operation is cut into horizontal bands of whole rows.
#include <cstdint>

namespace qz::parallel {

// Inclusive rows and columns of the whole operation, and how it is cut. `count` 0 or 1 means a
// single direct call over the whole rectangle.
struct BandPlan {
  int32_t first = 0;
  int32_t last = -1;
  int32_t left = 0;
  int32_t right = -1;
  int32_t count = 0;
  int32_t chunk = 0;
};

struct Band {
  int32_t top = 0;
  int32_t bottom = -1;
};

// The chunk is (last - first) / count, one row short of an even split; count falls until every
// band but the last has at least min_rows rows.
BandPlan PlanBands(int32_t first, int32_t last, int32_t left, int32_t right, int32_t worker_count,
                   int32_t min_rows);

// Rows of band `index` (0 .. count - 1); the last band takes the remainder.
Band BandRows(const BandPlan& plan, int32_t index);

}  // namespace qz::parallel
