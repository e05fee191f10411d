// Whole-frame cost of the nearest, bilinear and sharpening kernels on one thread, from the
// 800 x 600 frame (1600 x 1200 for the bilinear stage after a 2x enlarger) into 1440 x 1080 and
// 2880 x 2160, next to a plain copy of the destination picture as yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "parallel/worker_count.h"
#include "scale/banded_sharpening.h"
#include "scale/scale_bilinear.h"
#include "scale/scale_nearest.h"
#include "scale/sharpen_pass.h"

namespace qz::scale {
namespace {

// An image laid out like the plug-in's, three spare columns and rows, filled with a pattern.
struct BenchImage {
  BenchImage(int32_t width, int32_t height)
      : pixels(static_cast<size_t>(width + 3) * (height + 3)),
        view{nullptr, width + 3, width, height} {
    uint32_t value = 0x12345678u;
    for (uint32_t& pixel : pixels) pixel = value = value * 1664525u + 1013904223u;
    view.pixels = pixels.data();
  }
  std::vector<uint32_t> pixels;
  ImageView view;
};

int32_t Width(const benchmark::State& state) {
  return static_cast<int32_t>(state.range(0));
}
int32_t Height(const benchmark::State& state) {
  return static_cast<int32_t>(state.range(1));
}

void BM_CopyOfDestinationPicture(benchmark::State& state) {
  BenchImage from(Width(state), Height(state));
  BenchImage to(Width(state), Height(state));
  const size_t bytes = from.pixels.size() * sizeof(uint32_t);
  for (auto _ : state) {
    std::memcpy(to.pixels.data(), from.pixels.data(), bytes);
    benchmark::DoNotOptimize(to.pixels.data());
    benchmark::ClobberMemory();
  }
}

template <Kernel kernel, int32_t kSourceWidth, int32_t kSourceHeight>
void BM_WholeFrame(benchmark::State& state) {
  parallel::WorkerCountScope scope(1);
  BenchImage source(kSourceWidth, kSourceHeight);
  BenchImage picture(Width(state), Height(state));
  const KernelImages images{source.view, picture.view};
  for (auto _ : state) {
    kernel(images, 0, Width(state) - 1, 0, Height(state) - 1);
    benchmark::DoNotOptimize(picture.pixels.data());
    benchmark::ClobberMemory();
  }
}

void BM_ScaleBilinearSharpX2InTwoBands(benchmark::State& state) {
  parallel::WorkerCountScope scope(2);
  BenchImage source(800, 600);
  BenchImage picture(Width(state), Height(state));
  const KernelImages images{source.view, picture.view};
  for (auto _ : state) {
    RunFusedInBands(ScaleBilinearSharpX2, images, 0, Width(state) - 1, 0, Height(state) - 1, 6);
    benchmark::DoNotOptimize(picture.pixels.data());
    benchmark::ClobberMemory();
  }
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Args({1440, 1080})->Args({2880, 2160})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_CopyOfDestinationPicture)->Apply(Sizes);
BENCHMARK(BM_WholeFrame<ScaleNearest, 800, 600>)->Name("ScaleNearest")->Apply(Sizes);
BENCHMARK(BM_WholeFrame<ScaleBilinear, 1600, 1200>)->Name("ScaleBilinear")->Apply(Sizes);
BENCHMARK(BM_WholeFrame<ScaleBilinearSharp, 800, 600>)->Name("ScaleBilinearSharp")->Apply(Sizes);
BENCHMARK(BM_WholeFrame<ScaleBilinearSharpX2, 800, 600>)
    ->Name("ScaleBilinearSharpX2")
    ->Apply(Sizes);
BENCHMARK(BM_WholeFrame<SharpenPass, 800, 600>)->Name("SharpenPass")->Apply(Sizes);
BENCHMARK(BM_WholeFrame<SharpenPassX2, 800, 600>)->Name("SharpenPassX2")->Apply(Sizes);
BENCHMARK(BM_ScaleBilinearSharpX2InTwoBands)->Apply(Sizes)->UseRealTime();

}  // namespace
}  // namespace qz::scale
