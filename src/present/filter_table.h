#pragma once
// The thirteen filters: which kernels make up each one. Present routines and tools read this
// table; adding a filter is one row.
#include <cstdint>

#include "scale/kernel.h"

namespace qz::present {

struct FilterRow {
  const char* name;
  scale::Kernel double_stage;    // frame into the 2x image; null for the single-stage filters
  scale::Kernel scaling_stage;   // into the picture
  scale::Kernel finishing_pass;  // in place on the picture; null when there is none
  bool banded;                   // cut into bands on the worker pool
  bool bicubic;                  // the scaling stage needs the bicubic weights
};

inline constexpr int32_t kFilterCount = 13;
// Filters from here on start with a 2x stage that needs the colour magnitude table.
inline constexpr int32_t kFirstDoublingFilter = 4;
// Where a 2x filter falls back to when the colour table could not be built.
inline constexpr int32_t kFallbackFilter = 3;

const FilterRow& Filter(int32_t index);

// A filter whose kernels can run now: every 2x filter needs the colour table.
bool FilterAvailable(int32_t index);

// The filter that runs when `index` is asked for: itself when available, else the fallback.
int32_t FilterInForce(int32_t index);

}  // namespace qz::present
