#include "parallel/self_test.h"

#include <cstdint>

#include "core/log.h"
#include "parallel/fault_guard.h"
#include "parallel/worker_count.h"

namespace qz::parallel {

void StoreSelfTestValues(const void* context, int32_t, int32_t, int32_t top, int32_t bottom) {
  auto* bytes = static_cast<uint8_t*>(const_cast<void*>(context));
  for (int32_t i = top; i <= bottom; ++i) bytes[i] = static_cast<uint8_t>((i + 1) * 10);
}

bool ProveParallelism(BandRoutine band, void* buffer) {
  bool passed = false;
  {
    FaultGuardScope guard;
    passed = RunPlan(PlanBands(0, 3, 0, 0, 2, 1), band, buffer, RunGuardedBand);
  }
  if (passed) {
    core::LogLine("SUCCESS: DO PARALLEL");
  } else {
    core::LogLine("ERROR: CANN'T DO PARALLEL");
    WorkerCount = 1;
  }
  return passed;
}

}  // namespace qz::parallel
