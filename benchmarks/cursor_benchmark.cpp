#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "cursor/argb_image.h"
#include "cursor/cursor_image_ops.h"
#include "cursor/cursor_scaling.h"

namespace qz::cursor {
namespace {

// A 1920 x 1080 screen shows an 800 x 600 game as a 1440 x 1080 picture: a 32 x 32 sprite
// becomes a 57 x 57 cursor.
constexpr CursorGeometry kNt6{128, true, 800, 600, 1440, 1080};
constexpr CursorGeometry kBeforeNt6{32, false, 800, 600, 1440, 1080};
constexpr int32_t kSpriteSize = 32;

struct WorkImages {
  explicit WorkImages(int32_t canvas)
      : canvas_size(canvas),
        sprite(static_cast<size_t>(kSpriteImageSize) * kSpriteImageSize),
        enlarged(static_cast<size_t>(canvas) * canvas),
        result(static_cast<size_t>(canvas) * canvas) {}

  // What the game's drawing leaves in the sprite image: an outlined arrow over the key colour.
  void DrawArrow() {
    std::fill(sprite.begin(), sprite.end(), 0);
    for (int32_t y = 0; y < kSpriteSize; ++y) {
      for (int32_t x = 0; x < kSpriteSize; ++x) {
        const bool inside = x <= y && x + y / 2 < 20 && y < 28;
        const bool outline = x == 0 || x == y || x + y / 2 >= 19 || y == 27;
        sprite[static_cast<size_t>(y) * kSpriteImageSize + x] = !inside   ? kCursorKey
                                                                : outline ? 0x000000
                                                                          : 0xFFFFFF;
      }
    }
  }

  CursorScale Build(const CursorGeometry& geometry) {
    DrawArrow();
    return ScaleCursorSprite(
        geometry, {sprite.data(), kSpriteImageSize, kSpriteImageSize, kSpriteImageSize},
        kSpriteSize, kSpriteSize, {enlarged.data(), canvas_size, canvas_size, canvas_size},
        {result.data(), canvas_size, canvas_size, canvas_size});
  }

  int32_t canvas_size;
  std::vector<uint32_t> sprite;
  std::vector<uint32_t> enlarged;
  std::vector<uint32_t> result;
};

// The process's first cursor also fills the 64 MiB distance table. Registered first, and run
// once, so that it is the first build of the benchmark process.
void FirstBuild(benchmark::State& state) {
  WorkImages images(kNt6.canvas);
  for (auto _ : state) benchmark::DoNotOptimize(images.Build(kNt6));
}

void LaterBuilds(benchmark::State& state) {
  if (!EnsureColorDistanceTable()) {
    state.SkipWithError("no memory for the distance table");
    return;
  }
  WorkImages images(kNt6.canvas);
  for (auto _ : state) {
    benchmark::DoNotOptimize(images.Build(kNt6));
    benchmark::ClobberMemory();
  }
}

void BuildsBeforeNt6(benchmark::State& state) {
  WorkImages images(kBeforeNt6.canvas);
  for (auto _ : state) {
    benchmark::DoNotOptimize(images.Build(kBeforeNt6));
    benchmark::ClobberMemory();
  }
}

BENCHMARK(FirstBuild)
    ->Name("Cursor/first_build_with_table")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LaterBuilds)->Name("Cursor/later_builds")->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildsBeforeNt6)->Name("Cursor/builds_before_nt6")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qz::cursor
