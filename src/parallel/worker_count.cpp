#include "parallel/worker_count.h"

namespace qz::parallel {

int32_t MaxWorkerCount = 1;
int32_t WorkerCount = 1;

int32_t MaxWorkersForProcessors(int64_t processor_count) {
  if (processor_count < 1) return 1;
  return processor_count > kMaxBands ? kMaxBands : static_cast<int32_t>(processor_count);
}

int32_t WorkersForSetting(int32_t requested, int32_t max_workers) {
  if (requested < 1) return 1;
  return requested > max_workers ? max_workers : requested;
}

}  // namespace qz::parallel
