#pragma once
// Runs the bands of one operation: the last band on the calling thread, the others on the
// persistent worker pool - at most one worker fewer than the processors the process may use, and
// any band no worker has taken yet on the calling thread once its own is done - and returns when
// all are done. Nothing is allocated per dispatch.
#include <cstdint>

#include "parallel/band_plan.h"

namespace qz::parallel {

// One band of an operation: the columns are the operation's, the rows the band's own.
using BandRoutine = void (*)(const void* context, int32_t left, int32_t right, int32_t top,
                             int32_t bottom);

// Runs one band and says whether it finished; lets start-up run bands under a fault guard.
using BandRunner = bool (*)(BandRoutine routine, const void* context, int32_t left, int32_t right,
                            int32_t top, int32_t bottom);

// Plans with WorkerCount and runs the operation. Bands write disjoint rows; the caller settles
// any row a routine touches outside its own band.
void RunBands(BandRoutine routine, const void* context, int32_t left, int32_t right, int32_t first,
              int32_t last, int32_t min_rows);

// Runs a ready plan; true when every band's runner reported success and every worker thread it
// needed could be made (without one, its bands run on the calling thread).
bool RunPlan(const BandPlan& plan, BandRoutine routine, const void* context,
             BandRunner runner = nullptr);

}  // namespace qz::parallel
