#pragma once
#include <cstdint>

namespace qz::parallel {

inline constexpr int32_t kMaxBands = 8;

// Upper bound of WorkerCount: the processor count, limited to 1..8.
extern int32_t MaxWorkerCount;
// Bands a parallel image operation is cut into; written only at start-up.
extern int32_t WorkerCount;

int32_t MaxWorkersForProcessors(int64_t processor_count);
// The worker count a "QZ.Graphics.Nx.Threads" value asks for, within 1..max_workers.
int32_t WorkersForSetting(int32_t requested, int32_t max_workers);

// Sets WorkerCount for a scope, for the tools, tests and benchmarks that try several.
class WorkerCountScope {
 public:
  explicit WorkerCountScope(int32_t count) : saved_(WorkerCount) { WorkerCount = count; }
  ~WorkerCountScope() { WorkerCount = saved_; }
  WorkerCountScope(const WorkerCountScope&) = delete;
  WorkerCountScope& operator=(const WorkerCountScope&) = delete;

 private:
  int32_t saved_;
};

}  // namespace qz::parallel
