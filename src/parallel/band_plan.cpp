#include "parallel/band_plan.h"

namespace qz::parallel {

BandPlan PlanBands(int32_t first, int32_t last, int32_t left, int32_t right, int32_t worker_count,
                   int32_t min_rows) {
  BandPlan plan{first, last, left, right, worker_count, 0};
  // 64-bit so that extreme row ranges cannot overflow the dividend.
  const int64_t span = static_cast<int64_t>(last) - first;
  if (plan.count < 1) {
    plan.count = 0;
    return plan;
  }
  int64_t chunk = span / plan.count;
  while (chunk < min_rows) {
    --plan.count;
    if (plan.count == 0) break;
    chunk = span / plan.count;
  }
  plan.chunk = plan.count == 0 ? 0 : static_cast<int32_t>(chunk);
  return plan;
}

Band BandRows(const BandPlan& plan, int32_t index) {
  if (plan.count <= 1) return {plan.first, plan.last};
  const int32_t top = plan.first + index * plan.chunk;
  if (index == plan.count - 1) return {top, plan.last};
  return {top, top + plan.chunk - 1};
}

}  // namespace qz::parallel
