#pragma once
// How many processors the calling thread may run on now, as the process's affinity allows.
#include <cstdint>

namespace qz::parallel {

// At least 1; kMaxBands or more when the system cannot say.
int32_t UsableProcessors();

}  // namespace qz::parallel
