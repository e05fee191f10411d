#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstring>
#include <random>
#include <vector>

#include "scale/bicubic_paired_rows.h"
#include "scale/bicubic_weights.h"
#include "scale/scale_bicubic.h"

namespace qz::scale {
namespace {

// A 2x image of an 800 x 600 frame.
constexpr int32_t kSourceWidth = 1600;
constexpr int32_t kSourceHeight = 1200;

// Images with the three spare columns and rows of the presentation buffers, random pixels.
struct Images {
  Images(int32_t picture_width, int32_t picture_height)
      : source(static_cast<size_t>(kSourceWidth + 3) * (kSourceHeight + 3)),
        picture(static_cast<size_t>(picture_width + 3) * (picture_height + 3)) {
    std::mt19937 random(5);
    for (uint32_t& pixel : source) pixel = static_cast<uint32_t>(random());
    views.source = {source.data(), kSourceWidth + 3, kSourceWidth, kSourceHeight};
    views.destination = {picture.data(), picture_width + 3, picture_width, picture_height};
  }
  std::vector<uint32_t> source;
  std::vector<uint32_t> picture;
  KernelImages views;
};

// The baseline: sixteen ready 32-bit weights per picture pixel (64 bytes), read by the same
// integer step and the same paired rows and multiply-adds as the kernel.
struct FullTableEntry {
  __m128i tap_rows[4];
};

std::vector<FullTableEntry> FullWeightTable(const BicubicWeights& weights) {
  std::vector<FullTableEntry> table;
  table.reserve(static_cast<size_t>(weights.destination_width) * weights.destination_height);
  for (int32_t y = 0; y < weights.destination_height; ++y) {
    const double* row_factors = weights.rows.phases[weights.rows.taps[y].phase].factors;
    for (int32_t x = 0; x < weights.destination_width; ++x) {
      const double* column_factors = weights.columns.phases[weights.columns.taps[x].phase].factors;
      FullTableEntry& pixel = table.emplace_back();
      for (int32_t n = 0; n < 4; ++n) {
        pixel.tap_rows[n] = TapRowWeights(_mm_set1_pd(row_factors[n]), column_factors);
      }
    }
  }
  return table;
}

void ScaleBicubicFromFullTable(const std::vector<FullTableEntry>& table,
                               const KernelImages& images) {
  const ImageView& source = images.source;
  const ImageView& destination = images.destination;
  const int32_t step_x = ((source.width << 16) + 32768) / destination.width;
  const int32_t step_y = ((source.height << 16) + 32768) / destination.height;
  PairedRowRing ring = MakePairedRowRing(-1, ((step_x * (destination.width - 1)) >> 16) + 1);
  int32_t position_y = 0;
  for (int32_t y = 0; y < destination.height; ++y, position_y += step_y) {
    const int32_t sy = position_y >> 16;
    const PairedColumns* tap_rows[4];
    for (int32_t n = 0; n < 4; ++n) {
      tap_rows[n] = PairedRow(ring, source, sy == 0 && n == 0 ? 0 : sy - 1 + n);
    }
    const FullTableEntry* pixel_weights = &table[static_cast<size_t>(y) * destination.width];
    const auto sums_of = [&](int32_t x) {
      return BicubicSums(tap_rows, EntryOfColumn(((step_x * x) >> 16) - 1),
                         NarrowWeights(pixel_weights[x].tap_rows));
    };
    // The width is a multiple of four.
    uint32_t* out = destination.pixels + static_cast<ptrdiff_t>(y) * destination.pitch;
    for (int32_t x = 0; x < destination.width; x += 4) {
      __m128i* four = reinterpret_cast<__m128i*>(out + x);
      _mm_storeu_si128(four, BicubicPixels(sums_of(x), sums_of(x + 1), sums_of(x + 2),
                                           sums_of(x + 3), _mm_loadu_si128(four)));
    }
  }
}

void FactorisedWeights(benchmark::State& state) {
  const auto width = static_cast<int32_t>(state.range(0));
  const auto height = static_cast<int32_t>(state.range(1));
  Images images(width, height);
  if (!BuildBicubicWeights(kSourceWidth, kSourceHeight, width, height)) {
    state.SkipWithError("no memory for the weights");
    return;
  }
  for (auto _ : state) {
    ScaleBicubic(images.views, 0, width - 1, 0, height - 1);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * width * height);
  const BicubicWeights& weights = CurrentBicubicWeights;
  const int32_t phase_pairs =
      weights.phase_weights ? weights.rows.phase_count * weights.columns.phase_count : 0;
  state.counters["weight_bytes"] = static_cast<double>(
      (width + height) * sizeof(AxisTap) +
      (weights.rows.phase_count + weights.columns.phase_count) * sizeof(TapPhase) +
      phase_pairs * sizeof(PixelWeights));
  state.counters["phase_pairs"] = phase_pairs;
}

void FullTableWeights(benchmark::State& state) {
  const auto width = static_cast<int32_t>(state.range(0));
  const auto height = static_cast<int32_t>(state.range(1));
  Images images(width, height);
  if (!BuildBicubicWeights(kSourceWidth, kSourceHeight, width, height)) {
    state.SkipWithError("no memory for the weights");
    return;
  }
  const std::vector<FullTableEntry> table = FullWeightTable(CurrentBicubicWeights);
  for (auto _ : state) {
    ScaleBicubicFromFullTable(table, images.views);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * width * height);
  state.counters["weight_bytes"] = static_cast<double>(table.size() * sizeof(FullTableEntry));
}

// The yardstick: copying a 1440 x 1080 picture.
void CopyPicture(benchmark::State& state) {
  const size_t bytes = size_t{1440} * 1080 * 4;
  std::vector<char> from(bytes, 1);
  std::vector<char> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

BENCHMARK(FactorisedWeights)
    ->Name("ScaleBicubic/factorised")
    ->Args({1440, 1080})
    ->Args({2880, 2160})
    ->Args({1436, 1077})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FullTableWeights)
    ->Name("ScaleBicubic/full_table")
    ->Args({1440, 1080})
    ->Args({2880, 2160})
    ->Args({1436, 1077})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CopyPicture)->Name("ScaleBicubic/memcpy_1440x1080")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz::scale
