#pragma once
// Proves at start-up that bands can run on the worker pool: two bands over four bytes, whatever
// WorkerCount is. Any fault or exception, or a worker thread that cannot be made, makes every
// later operation run on the calling thread.
#include "parallel/band_dispatch.h"

namespace qz::parallel {

// Each band stores (i + 1) * 10 at every index i of its rows of a four-byte buffer.
void StoreSelfTestValues(const void* context, int32_t left, int32_t right, int32_t top,
                         int32_t bottom);

// Runs `band` over rows 0..3 of `buffer` in exactly two bands under the fault guard. On success
// logs "SUCCESS: DO PARALLEL"; on any fault or a worker that cannot be made logs "ERROR: CANN'T DO
// PARALLEL" and sets WorkerCount to 1. Returns whether it passed.
bool ProveParallelism(BandRoutine band, void* buffer);

}  // namespace qz::parallel
