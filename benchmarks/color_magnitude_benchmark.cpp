// The colour magnitude table as start-up builds it: into a fresh block of table memory, page
// faults included (enlargers_benchmark.cpp fills a fresh heap block and a touched one).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/table_memory.h"

namespace qz::scale {
namespace {

constexpr size_t kTableBytes = sizeof(uint32_t) << 24;

void FreshTableBlock(benchmark::State& state) {
  for (auto _ : state) {
    void* block = AllocateTableBlock(kTableBytes);
    if (block == nullptr) {
      state.SkipWithError("no table memory");
      return;
    }
    FillColorMagnitudeTable(static_cast<uint32_t*>(block));
    benchmark::DoNotOptimize(block);
    benchmark::ClobberMemory();
    ReleaseTableBlock(block, kTableBytes);
  }
}
BENCHMARK(FreshTableBlock)
    ->Name("ColorMagnitudeTable/fresh_table_block")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz::scale
