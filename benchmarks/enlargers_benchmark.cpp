// The start-up cost of the colour magnitude table and the per-pixel cost of the 2x enlargers,
// next to a plain copy of a 1440 x 1080 picture as yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game_art_frame.h"
#include "pixel_art_frame.h"
#include "scale/color_magnitude.h"
#include "scale/kernel.h"
#include "scale/scale2x_blend.h"
#include "scale/scale_ultra_sai.h"
#include "scale/scale_xbrz_2x.h"
#include "scale/vector_path.h"

namespace qz::scale {
namespace {

void BM_ColorMagnitudeTableBuild(benchmark::State& state) {
  const auto table = std::make_unique<uint32_t[]>(size_t{1} << 24);
  for (auto _ : state) {
    FillColorMagnitudeTable(table.get());
    benchmark::DoNotOptimize(table.get());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ColorMagnitudeTableBuild)->Unit(benchmark::kMillisecond);

// A first build includes the page faults of the fresh 64 MiB, as at start-up.
void BM_ColorMagnitudeTableFreshBuild(benchmark::State& state) {
  for (auto _ : state) {
    const std::unique_ptr<uint32_t[]> table(new uint32_t[size_t{1} << 24]);
    FillColorMagnitudeTable(table.get());
    benchmark::DoNotOptimize(table.get());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ColorMagnitudeTableFreshBuild)->Unit(benchmark::kMillisecond);

void BM_CopyOf1440x1080Picture(benchmark::State& state) {
  constexpr size_t kBytes = size_t{1440} * 1080 * 4;
  std::vector<uint8_t> from(kBytes, 1);
  std::vector<uint8_t> to(kBytes, 2);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_CopyOf1440x1080Picture)->Unit(benchmark::kMicrosecond);

// One 2x kernel over the whole game-like frame on one thread, reported per source pixel.
template <typename Enlarge>
void RunEnlarger(benchmark::State& state, Enlarge kernel) {
  if (!BuildColorMagnitudeTable()) {
    state.SkipWithError("no memory for the colour magnitude table");
    return;
  }
  using benchmarks::kFrameHeight;
  using benchmarks::kFrameWidth;
  // Argument: 0 flat pixel art, 1 game art.
  std::vector<uint32_t> frame = state.range(0) == 0
                                    ? benchmarks::PixelArtFrame()
                                    : benchmarks::GameArtFrame(kFrameWidth, kFrameHeight);
  const int32_t pitch = 2 * kFrameWidth + 3;
  std::vector<uint32_t> doubled(size_t(pitch) * (2 * kFrameHeight + 3));
  const KernelImages images{{frame.data(), kFrameWidth, kFrameWidth, kFrameHeight},
                            {doubled.data(), pitch, 2 * kFrameWidth, 2 * kFrameHeight}};
  for (auto _ : state) {
    kernel(images, 0, kFrameWidth - 1, 0, kFrameHeight - 1);
    benchmark::DoNotOptimize(doubled.data());
    benchmark::ClobberMemory();
  }
  state.counters["ns_per_source_pixel"] = benchmark::Counter(
      double(kFrameWidth) * kFrameHeight,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Second argument: the vector path, 0 SSE2 (what older processors run), 1 AVX2.
void BM_Xbrz2xFrame(benchmark::State& state) {
  const auto path = static_cast<VectorPath>(state.range(1));
  if (!MachineRuns(path)) {
    state.SkipWithError("this processor cannot run the path");
    return;
  }
  RunEnlarger(state, [path](const KernelImages& images, int32_t x0, int32_t x1, int32_t y0,
                            int32_t y1) { ScaleXbrz2xOn(path, images, x0, x1, y0, y1); });
}
void BM_Scale2xBlendFrame(benchmark::State& state) {
  RunEnlarger(state, Scale2xBlend);
}
void BM_UltraSaiFrame(benchmark::State& state) {
  RunEnlarger(state, ScaleUltraSai);
}
BENCHMARK(BM_Xbrz2xFrame)
    ->ArgNames({"frame", "path"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale2xBlendFrame)->ArgName("frame")->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UltraSaiFrame)->ArgName("frame")->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz::scale
