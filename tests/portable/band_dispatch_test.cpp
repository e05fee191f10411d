#include "parallel/band_dispatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "one_processor_process.h"
#include "parallel/usable_processors.h"
#include "parallel/worker_count.h"

namespace qz::parallel {
namespace {

struct RowMarks {
  std::vector<std::atomic<int>>* marks;
  int32_t first;
  std::atomic<int>* calls;
};

void MarkRows(const void* context, int32_t, int32_t, int32_t top, int32_t bottom) {
  const auto& rows = *static_cast<const RowMarks*>(context);
  rows.calls->fetch_add(1);
  for (int32_t row = top; row <= bottom; ++row) (*rows.marks)[row - rows.first].fetch_add(1);
}

TEST(BandDispatch, EveryRowDispatchedExactlyOnceForOneToEightWorkers) {
  std::mt19937 random(7);
  for (int32_t workers = 1; workers <= 8; ++workers) {
    WorkerCountScope scope(workers);
    for (int trial = 0; trial < 40; ++trial) {
      const int32_t first = static_cast<int32_t>(random() % 50);
      const int32_t last = first + static_cast<int32_t>(random() % 200) - 5;
      const int32_t min_rows = static_cast<int32_t>(random() % 7) + 1;
      std::vector<std::atomic<int>> marks(last >= first ? last - first + 1 : 0);
      std::atomic<int> calls{0};
      RowMarks rows{&marks, first, &calls};
      RunBands(MarkRows, &rows, 0, 0, first, last, min_rows);
      const BandPlan plan = PlanBands(first, last, 0, 0, workers, min_rows);
      EXPECT_EQ(calls.load(), plan.count <= 1 ? 1 : plan.count);
      for (auto& mark : marks) ASSERT_EQ(mark.load(), 1);
    }
  }
}

struct ThreadRecord {
  std::thread::id ids[kMaxBands];
  std::mutex mutex;
  std::condition_variable others_done;
  int32_t others = 0;
  bool last_waits = false;
};

// Records the thread of each band by its first row; with `last_waits` the last band holds its
// thread until every other band has run, which only threads other than the caller can then do.
void RecordThread(const void* context, int32_t, int32_t, int32_t top, int32_t) {
  auto& record = *const_cast<ThreadRecord*>(static_cast<const ThreadRecord*>(context));
  record.ids[top] = std::this_thread::get_id();
  std::unique_lock lock(record.mutex);
  if (top + 1 < kMaxBands) {
    ++record.others;
    record.others_done.notify_all();
  } else if (record.last_waits) {
    record.others_done.wait_for(lock, std::chrono::seconds(60),
                                [&] { return record.others == kMaxBands - 1; });
  }
}

const BandPlan kEightBands = PlanBands(0, kMaxBands, 0, 0, kMaxBands, 1);

TEST(BandDispatch, TheCallingThreadRunsTheLastBandAndWorkersRunTheOthersBesideIt) {
  if (UsableProcessors() < 2) GTEST_SKIP() << "one processor: every band is the caller's";
  ASSERT_EQ(kEightBands.count, kMaxBands);
  ThreadRecord record;
  record.last_waits = true;
  ASSERT_TRUE(RunPlan(kEightBands, RecordThread, &record));
  EXPECT_EQ(record.others, kMaxBands - 1);
  EXPECT_EQ(record.ids[kMaxBands - 1], std::this_thread::get_id());
  for (int32_t band = 0; band + 1 < kMaxBands; ++band) {
    EXPECT_NE(record.ids[band], std::this_thread::get_id()) << band;
  }
}

// Workers that share the caller's one processor could only wait for it.
TEST(BandDispatch, OnOneProcessorEveryBandRunsOnTheCallingThread) {
  ThreadRecord record;
  bool finished = false;
  {
    const benchmarks::OneProcessorProcess confined;
    finished = RunPlan(kEightBands, RecordThread, &record);
  }
  EXPECT_TRUE(finished);
  for (const std::thread::id id : record.ids) EXPECT_EQ(id, std::this_thread::get_id());
}

bool FailOddBands(BandRoutine, const void*, int32_t, int32_t, int32_t top, int32_t) {
  return top % 2 == 0;
}

TEST(BandDispatch, ARunnerFailureOnAnyBandIsReported) {
  EXPECT_FALSE(RunPlan(PlanBands(0, 3, 0, 0, 2, 1), nullptr, nullptr, FailOddBands));
  EXPECT_TRUE(RunPlan(PlanBands(0, 3, 0, 0, 4, 2), nullptr, nullptr, FailOddBands));
}

}  // namespace
}  // namespace qz::parallel
