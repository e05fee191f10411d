#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <vector>

#include "../tests/portable/draw_frame_test_support.h"
#include "frame_encoder.h"
#include "truecolour/draw_frame_routines.h"
#include "truecolour/frame_clip.h"

namespace qz::truecolour::testing {
namespace {

constexpr int32_t kTargetWidth = 800;
constexpr int32_t kTargetHeight = 600;
constexpr int kSprites = 200;

// 200 sprites of 64 × 64 in layout state.range(0), half of every picture in transparent runs
// (none in layout 0), over an 800 × 600 frame, some across its edges and half of them mirrored,
// through the drawer that takes the layout itself. Reported as time per pixel of the clipped
// rectangles.
void DrawSprites(benchmark::State& state) {
  const auto type = static_cast<uint32_t>(state.range(0));
  std::mt19937 random(3);
  const std::vector<uint16_t> palette = RandomPalette(random);
  std::vector<EncodedFrame> frames;
  for (int picture = 0; picture < 8; ++picture) {
    const std::vector<uint8_t> specials =
        type == 0 ? std::vector<uint8_t>{} : std::vector<uint8_t>{0};
    frames.push_back(EncodeFrame(RandomPicture(random, 64, 64, specials),
                                 {type, 64, 64, 0, 0, 0, 0, 0, nullptr}, random()));
  }
  std::vector<uint32_t> target(kTargetWidth * kTargetHeight);
  struct Sprite {
    const FrameDescription* frame;
    FrameRequest request;
    bool mirror;
  };
  std::vector<Sprite> sprites;
  int64_t pixels = 0;
  for (int k = 0; k < kSprites; ++k) {
    const FrameDescription& frame = frames[k % frames.size()].frame;
    const FrameRequest request{0,
                               0,
                               64,
                               64,
                               target.data(),
                               static_cast<int32_t>(random() % (kTargetWidth + 32)) - 32,
                               static_cast<int32_t>(random() % (kTargetHeight + 32)) - 32,
                               kTargetWidth,
                               kTargetHeight,
                               kTargetWidth * 4,
                               palette.data()};
    const bool mirror = k % 2 == 1;
    sprites.push_back({&frame, request, mirror});
    if (const std::optional<FrameClip> clip = ClipFrame(frame, request, mirror, false)) {
      pixels += static_cast<int64_t>(clip->w) * clip->h;
    }
  }
  for (auto _ : state) {
    for (const Sprite& sprite : sprites) {
      if (type == 1) {
        DrawFrame(*sprite.frame, sprite.request, sprite.mirror, true);
      } else if (type == 3) {
        DrawFrameFlagged(*sprite.frame, sprite.request, sprite.mirror, 0);
      } else {
        DrawFrameOpaque(*sprite.frame, sprite.request, sprite.mirror, false);
      }
    }
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.counters["time_per_pixel"] = benchmark::Counter(
      static_cast<double>(pixels),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(DrawSprites)->ArgName("layout")->DenseRange(0, 3);

}  // namespace
}  // namespace qz::truecolour::testing
