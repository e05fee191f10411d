#include "scale/vector_path.h"

namespace qz::scale {

bool MachineRuns(VectorPath path) {
  if (path == VectorPath::kSse2) return true;
  // The compiler's processor check also asks the system whether it saves the wide registers.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}

VectorPath FastestVectorPath() {
  static const VectorPath fastest =
      MachineRuns(VectorPath::kAvx2) ? VectorPath::kAvx2 : VectorPath::kSse2;
  return fastest;
}

}  // namespace qz::scale
