#include "parallel/band_dispatch.h"

#include <emmintrin.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "parallel/worker_count.h"

namespace qz::parallel {
namespace {

bool RunDirect(BandRoutine routine, const void* context, int32_t left, int32_t right, int32_t top,
               int32_t bottom) {
  routine(context, left, right, top, bottom);
  return true;
}

// The job of one dispatch lives on the caller's stack; workers only read it.
struct Job {
  const BandPlan* plan;
  BandRoutine routine;
  const void* context;
  BandRunner runner;
  std::atomic<bool> failed{false};
};

void RunBand(Job& job, int32_t index) {
  const Band band = BandRows(*job.plan, index);
  if (!job.runner(job.routine, job.context, job.plan->left, job.plan->right, band.top,
                  band.bottom)) {
    job.failed.store(true, std::memory_order_relaxed);
  }
}

// Threads are made on first need and kept for the life of the process; the pool is never
// destroyed, because joining threads while a library unloads can deadlock the host.
class Pool {
 public:
  bool Run(const BandPlan& plan, BandRoutine routine, const void* context, BandRunner runner) {
    // One operation at a time, whoever calls; the game never overlaps them, but a stray second
    // thread must not overwrite a running job.
    std::lock_guard serial(dispatch_);
    Job job{&plan, routine, context, runner};
    const int32_t helpers = plan.count - 1;
    {
      std::unique_lock lock(mutex_);
      while (started_ < helpers) {
        std::thread(&Pool::WorkerLoop, this, started_).detach();
        ++started_;
      }
      job_ = &job;
      pending_.store(helpers, std::memory_order_relaxed);
      generation_.fetch_add(1, std::memory_order_release);
    }
    wake_.notify_all();
    RunBand(job, plan.count - 1);
    SpinWhile([this] { return pending_.load(std::memory_order_acquire) != 0; });
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return pending_.load(std::memory_order_acquire) == 0; });
    job_ = nullptr;
    return !job.failed.load(std::memory_order_relaxed);
  }

 private:
  // The stages of a frame follow each other within microseconds; spinning that long before
  // sleeping saves a wake-up through the scheduler per stage and per worker.
  template <typename Condition>
  static void SpinWhile(Condition condition) {
    constexpr int kSpins = 20000;
    for (int spin = 0; spin < kSpins && condition(); ++spin) _mm_pause();
  }

  void WorkerLoop(int32_t index) {
    uint64_t seen = 0;
    for (;;) {
      SpinWhile([&] { return generation_.load(std::memory_order_acquire) == seen; });
      Job* job = nullptr;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [&] { return generation_.load(std::memory_order_acquire) != seen; });
        seen = generation_.load(std::memory_order_relaxed);
        // Decided under the lock: a job this worker has no band in may end, and its record on
        // the caller's stack go, as soon as the lock is released.
        if (job_ != nullptr && index < job_->plan->count - 1) job = job_;
      }
      if (job == nullptr) continue;
      RunBand(*job, index);
      if (pending_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        // Under the lock, so the caller cannot miss the wake-up between its test and its wait.
        std::lock_guard lock(mutex_);
        done_.notify_one();
      }
    }
  }

  std::mutex dispatch_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  Job* job_ = nullptr;
  std::atomic<uint64_t> generation_{0};
  std::atomic<int32_t> pending_{0};
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
