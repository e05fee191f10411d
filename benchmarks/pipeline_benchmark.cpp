// Every filter through the whole frame pipeline, as the game's present request runs it: an
// 800 x 600 frame into a 1920 x 1080 window (picture 1440 x 1080) and a 3840 x 2160 one
// (2880 x 2160), the whole frame or a 64 x 64 changed rectangle, with 1 and 2 workers, on two
// frames; and a memcpy of the picture's bytes as the yardstick. Last, filter 3 with the process
// held on one processor, with 1 and 8 workers.
//
// Frame 0 is flat pixel art, where the 2x stages mostly take their shortcut for flat corners.
// Frame 1 is like the game's real art: dithered, textured terrain, shaded anti-aliased sprites
// with shadows, a panel with text. Its counters say why it is the dearer, realistic case: the
// share of flat 2 x 2 blocks (under 4 %, against 82 % in frame 0), distinct colours (over 11000
// against 550), and the share of pixels with a corner the xBRZ rules mark (76 % against 10 %).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "game_art_frame.h"
#include "one_processor_process.h"
#include "parallel/worker_count.h"
#include "pixel_art_frame.h"
#include "present/filter_table.h"
#include "present/presentation_buffers.h"
#include "scale/color_magnitude.h"

namespace qz::benchmarks {
namespace {

struct Window {
  int32_t width;
  int32_t height;
};
constexpr Window kWindows[] = {{1920, 1080}, {3840, 2160}};

void PictureCopy(benchmark::State& state) {
  const Window window = kWindows[state.range(0)];
  const size_t bytes = size_t{4} * (window.height * 4 / 3) * window.height;
  std::vector<uint8_t> from(bytes, 1);
  std::vector<uint8_t> to(bytes, 2);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetLabel("memcpy of the picture");
}
BENCHMARK(PictureCopy)->ArgName("window")->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

struct BenchmarkFrame {
  std::vector<uint32_t> pixels;
  FrameCharacter character;
};

BenchmarkFrame Measured(std::vector<uint32_t> pixels) {
  const FrameCharacter character = CharacterOf(pixels, kFrameWidth, kFrameHeight);
  return {std::move(pixels), character};
}

// Needs the colour magnitude table.
const BenchmarkFrame& FrameOfKind(int64_t kind) {
  static const BenchmarkFrame frames[] = {Measured(PixelArtFrame()),
                                          Measured(GameArtFrame(kFrameWidth, kFrameHeight))};
  return frames[kind];
}

// The presentation's buffers for a window, holding a frame.
present::PresentationBuffers FramedBuffers(const Window& window,
                                           const std::vector<uint32_t>& frame) {
  present::PresentationBuffers buffers =
      present::MakePresentationBuffers(kFrameWidth, kFrameHeight, window.width, window.height);
  for (int32_t y = 0; y < kFrameHeight; ++y) {
    std::copy_n(&frame[static_cast<size_t>(y) * kFrameWidth], kFrameWidth,
                &buffers.frame[static_cast<size_t>(y) * buffers.frame_pitch]);
  }
  return buffers;
}

// Arguments: filter, window (0: 1920 x 1080, 1: 3840 x 2160), workers, changed rectangle
// (0: whole frame, 1: 64 x 64), frame (0: flat pixel art, 1: game art).
void Present(benchmark::State& state) {
  const auto filter = static_cast<int32_t>(state.range(0));
  const Window window = kWindows[state.range(1)];
  if (!scale::BuildColorMagnitudeTable()) state.SkipWithError("no colour table");
  const parallel::WorkerCountScope workers(static_cast<int32_t>(state.range(2)));
  const BenchmarkFrame& chosen = FrameOfKind(state.range(4));
  present::PresentationBuffers buffers = FramedBuffers(window, chosen.pixels);
  const bool small = state.range(3) == 1;
  const int32_t left = small ? 368 : 0;
  const int32_t top = small ? 268 : 0;
  const int32_t right = small ? 431 : kFrameWidth - 1;
  const int32_t bottom = small ? 331 : kFrameHeight - 1;
  for (auto _ : state) {
    present::PresentRectangle(filter, present::ImagesOf(buffers), buffers.geometry, left, top,
                              right, bottom);
    benchmark::DoNotOptimize(buffers.output.data());
  }
  state.SetLabel(present::Filter(filter).name);
  state.counters["flat_2x2_%"] = 100 * chosen.character.flat_blocks;
  state.counters["colours"] = chosen.character.distinct_colours;
  state.counters["marked_%"] = 100 * chosen.character.marked_pixels;
}
BENCHMARK(Present)
    ->ArgNames({"filter", "window", "workers", "rect64", "frame"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, 12, 1), {0, 1}, {1, 2}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Argument: workers. Filter 3 ("Bilinear SharperX2 (M)"), whole frame, 1920 x 1080 window, the
// process on one processor: more workers than processors must cost no more than one worker.
void PresentOnOneProcessor(benchmark::State& state) {
  const parallel::WorkerCountScope workers(static_cast<int32_t>(state.range(0)));
  present::PresentationBuffers buffers = FramedBuffers(kWindows[0], PixelArtFrame());
  const OneProcessorProcess confined;
  for (auto _ : state) {
    present::PresentRectangle(3, present::ImagesOf(buffers), buffers.geometry, 0, 0,
                              kFrameWidth - 1, kFrameHeight - 1);
    benchmark::DoNotOptimize(buffers.output.data());
  }
}
BENCHMARK(PresentOnOneProcessor)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace qz::benchmarks
