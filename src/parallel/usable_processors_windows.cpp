#include <windows.h>

#include <bit>

#include "parallel/usable_processors.h"
#include "parallel/worker_count.h"

namespace qz::parallel {

int32_t UsableProcessors() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system)) return kMaxBands;
  const int count = std::popcount(process);
  return count < 1 ? 1 : count;
}

}  // namespace qz::parallel
