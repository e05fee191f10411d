#include "parallel/band_dispatch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "parallel/usable_processors.h"
#include "parallel/worker_count.h"

namespace qz::parallel {
namespace {

bool RunDirect(BandRoutine routine, const void* context, int32_t left, int32_t right, int32_t top,
               int32_t bottom) {
  routine(context, left, right, top, bottom);
  return true;
}

struct Job {
  BandPlan plan;
  BandRoutine routine = nullptr;
  const void* context = nullptr;
  BandRunner runner = nullptr;
};

// Threads are made on first need and kept for the life of the process; the pool is never
// destroyed, because joining threads while a library unloads can deadlock the host.
//
// Bands 0 .. count - 2 go to whichever thread asks first, the caller included once its own band
// is done, so the caller never waits for a worker that has not started - whether the affinity or
// a busy machine holds it back - only for bands that are running. Waiting threads sleep: on one
// processor a spinning thread only takes time from the one with work.
class Pool {
 public:
  bool Run(const BandPlan& plan, BandRoutine routine, const void* context, BandRunner runner) {
    // One operation at a time, whoever calls; the game never overlaps them, but a stray second
    // thread must not overwrite a running job.
    std::lock_guard serial(dispatch_);
    // No band of the previous operation is running, so its record may be rewritten.
    job_ = {plan, routine, context, runner};
    failed_.store(false, std::memory_order_relaxed);
    const int32_t shared = plan.count - 1;
    unfinished_.store(shared, std::memory_order_relaxed);
    ++operation_;
    ticket_.store((uint64_t{operation_} << 32) | (static_cast<uint64_t>(shared) << 16),
                  std::memory_order_release);
    // Workers beyond the processors the process may use would only queue behind the caller.
    const int32_t wanted = std::min(shared, UsableProcessors() - 1);
    const bool workers_made = MakeWorkers(wanted);
    Wake(std::min(wanted, started_));
    RunBand(plan.count - 1);
    RunSharedBands(operation_);
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return unfinished_.load(std::memory_order_acquire) == 0; });
    return workers_made && !failed_.load(std::memory_order_relaxed);
  }

 private:
  // False when a thread could not be made; the bands then run on the threads there are.
  bool MakeWorkers(int32_t count) {
    while (started_ < count) {
      try {
        std::thread(&Pool::WorkerLoop, this).detach();
      } catch (...) {
        return false;
      }
      ++started_;
    }
    return true;
  }

  void Wake(int32_t helpers) {
    if (helpers < 1) return;
    {
      std::lock_guard lock(mutex_);
      wake_operation_ = operation_;
      wake_tokens_ = helpers;
    }
    for (int32_t i = 0; i < helpers; ++i) wake_.notify_one();
  }

  // The next unclaimed band of `operation`, or -1 when none is left or another operation runs.
  int32_t TakeBand(uint32_t operation) {
    uint64_t ticket = ticket_.load(std::memory_order_acquire);
    for (;;) {
      const auto next = static_cast<int32_t>(ticket & 0xFFFF);
      const auto shared = static_cast<int32_t>((ticket >> 16) & 0xFFFF);
      if (static_cast<uint32_t>(ticket >> 32) != operation || next >= shared) return -1;
      if (ticket_.compare_exchange_weak(ticket, ticket + 1, std::memory_order_acq_rel,
                                        std::memory_order_acquire)) {
        return next;
      }
    }
  }

  void RunBand(int32_t index) {
    const Band band = BandRows(job_.plan, index);
    if (!job_.runner(job_.routine, job_.context, job_.plan.left, job_.plan.right, band.top,
                     band.bottom)) {
      failed_.store(true, std::memory_order_relaxed);
    }
  }

  void RunSharedBands(uint32_t operation) {
    for (int32_t band = TakeBand(operation); band >= 0; band = TakeBand(operation)) {
      RunBand(band);
      if (unfinished_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        // Under the lock, so the caller cannot miss the wake-up between its test and its wait.
        std::lock_guard lock(mutex_);
        done_.notify_one();
      }
    }
  }

  void WorkerLoop() {
    uint32_t seen = 0;
    for (;;) {
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return wake_tokens_ > 0 && wake_operation_ != seen; });
        --wake_tokens_;
        seen = wake_operation_;
      }
      RunSharedBands(seen);
    }
  }

  std::mutex dispatch_;
  // Written by the caller only while no band runs; read by a worker only with a band it took.
  Job job_;
  uint32_t operation_ = 0;
  std::atomic<bool> failed_{false};
  std::atomic<uint64_t> ticket_{0};  // operation << 32 | bands to share << 16 | next band
  std::atomic<int32_t> unfinished_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  uint32_t wake_operation_ = 0;
  int32_t wake_tokens_ = 0;
  int32_t started_ = 0;
};

Pool& ThePool() {
  static Pool* pool = new Pool();
  return *pool;
}

}  // namespace

bool RunPlan(const BandPlan& plan, BandRoutine routine, const void* context, BandRunner runner) {
  if (runner == nullptr) runner = RunDirect;
  if (plan.count <= 1) {
    return runner(routine, context, plan.left, plan.right, plan.first, plan.last);
  }
  return ThePool().Run(plan, routine, context, runner);
}

void RunBands(BandRoutine routine, const void* context, int32_t left, int32_t right, int32_t first,
              int32_t last, int32_t min_rows) {
  RunPlan(PlanBands(first, last, left, right, WorkerCount, min_rows), routine, context);
}

}  // namespace qz::parallel
