#include <sched.h>

#include "parallel/usable_processors.h"
#include "parallel/worker_count.h"

namespace qz::parallel {

int32_t UsableProcessors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof(set), &set) != 0) return kMaxBands;
  const int count = CPU_COUNT(&set);
  return count < 1 ? 1 : count;
}

}  // namespace qz::parallel
