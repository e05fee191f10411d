#pragma once
// Frames and exactly sized images for the tests of the 2x enlargers, so that AddressSanitizer
// catches any read or write a pixel beyond what the kernels may touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

#include "parallel/band_dispatch.h"
#include "parallel/worker_count.h"
#include "scale/color_magnitude.h"
#include "scale/kernel.h"

namespace qz::scale::enlarger_test {

// The colour magnitude table is 64 MiB: built once per test binary, by whichever suite runs first.
class EnlargerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(BuildColorMagnitudeTable()); }
};

// A game frame whose pitch is its width: no spare pixel to hide an overrun.
struct Frame {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;

  Frame(int32_t frame_width, int32_t frame_height, uint32_t colour = 0)
      : width(frame_width),
        height(frame_height),
        pixels(size_t(frame_width) * frame_height, colour) {}
  uint32_t& at(int32_t x, int32_t y) { return pixels[size_t(y) * width + x]; }
  uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * width + x]; }
};

// A 2x image with `spare` extra columns and rows, filled with a colour no kernel writes.
struct Doubled {
  int32_t pitch = 0;
  int32_t rows = 0;
  std::vector<uint32_t> pixels;

  Doubled(const Frame& frame, int32_t spare)
      : pitch(2 * frame.width + spare),
        rows(2 * frame.height + spare),
        pixels(size_t(pitch) * rows, kUnwritten) {}
  uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * pitch + x]; }

  static constexpr uint32_t kUnwritten = 0xEEEEEEEE;
};

// Top left, top right, bottom left, bottom right output of source pixel (x, y).
inline std::array<uint32_t, 4> BlockAt(const Doubled& doubled, int32_t x, int32_t y) {
  return {doubled.at(2 * x, 2 * y), doubled.at(2 * x + 1, 2 * y), doubled.at(2 * x, 2 * y + 1),
          doubled.at(2 * x + 1, 2 * y + 1)};
}

// The presentation's 2x image keeps three spare columns and rows.
inline constexpr int32_t kImageSpare = 3;

inline KernelImages ImagesOf(Frame& frame, Doubled& doubled) {
  return {{frame.pixels.data(), frame.width, frame.width, frame.height},
          {doubled.pixels.data(), doubled.pitch, 2 * frame.width, 2 * frame.height}};
}

// The 2x blocks of source columns x0..x1 and rows y0..y1, row by row.
inline std::vector<uint32_t> Blocks(const Doubled& doubled, int32_t x0, int32_t x1, int32_t y0,
                                    int32_t y1) {
  std::vector<uint32_t> blocks;
  for (int32_t y = 2 * y0; y <= 2 * y1 + 1; ++y) {
    for (int32_t x = 2 * x0; x <= 2 * x1 + 1; ++x) blocks.push_back(doubled.at(x, y));
  }
  return blocks;
}

// The whole frame doubled in one call.
inline Doubled Enlarge(Kernel kernel, Frame frame, int32_t spare = kImageSpare) {
  Doubled doubled(frame, spare);
  kernel(ImagesOf(frame, doubled), 0, frame.width - 1, 0, frame.height - 1);
  return doubled;
}

// The frame surrounded by `margin` copies of its edge rows and columns.
inline Frame Padded(const Frame& frame, int32_t margin) {
  Frame padded(frame.width + 2 * margin, frame.height + 2 * margin);
  for (int32_t y = 0; y < padded.height; ++y) {
    for (int32_t x = 0; x < padded.width; ++x) {
      const int32_t source_x = std::clamp(x - margin, 0, frame.width - 1);
      const int32_t source_y = std::clamp(y - margin, 0, frame.height - 1);
      padded.at(x, y) = frame.at(source_x, source_y);
    }
  }
  return padded;
}

// Pixel art in miniature: flat rectangles, staircase diagonals of several slopes, single pixels,
// colours a little apart (similar) and far apart, and random top bytes that carry no colour.
inline Frame RandomPixelArt(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  const auto next = [&] { return static_cast<uint32_t>(random()); };
  const uint32_t palette[] = {0x000000, 0xFFFFFF, 0x808080, 0x838383, 0xC03020,
                              0x2050C0, 0x20A040, 0x22A442, 0xF0E010, 0x101010};
  const auto any_colour = [&] { return palette[next() % std::size(palette)]; };
  const auto any_between = [&](int32_t low, int32_t high) {
    return low + static_cast<int32_t>(next() % uint32_t(high - low + 1));
  };
  Frame frame(width, height, any_colour());
  for (int32_t shape = 0; shape < (width * height) / 12 + 2; ++shape) {
    const uint32_t colour = any_colour();
    const int32_t left = any_between(-2, width);
    const int32_t top = any_between(-2, height);
    const int32_t size = any_between(1, 6);
    const int32_t kind = any_between(0, 2);
    for (int32_t step = 0; step < size * 2; ++step) {
      int32_t x = left + step;
      int32_t y = top;
      if (kind == 1) y = top + step / 2;     // shallow staircase
      if (kind == 2) y = top + step;         // 45 degrees
      if (kind == 0 && step >= size) break;  // a flat run, thickened below
      for (int32_t thick = 0; thick < (kind == 0 ? size : 1); ++thick) {
        if (x >= 0 && x < width && y + thick >= 0 && y + thick < height) {
          frame.at(x, y + thick) = colour;
        }
      }
    }
  }
  for (auto& pixel : frame.pixels) pixel |= next() << 24;
  return frame;
}

// The frame doubled by RunBands with the given worker count and minimum band height.
inline Doubled EnlargeInBands(Kernel kernel, Frame frame, int32_t workers, int32_t min_rows) {
  struct Operation {
    Kernel kernel;
    KernelImages images;
  };
  Doubled doubled(frame, kImageSpare);
  const Operation operation{kernel, ImagesOf(frame, doubled)};
  const int32_t saved = parallel::WorkerCount;
  parallel::WorkerCount = workers;
  parallel::RunBands(
      [](const void* context, int32_t left, int32_t right, int32_t top, int32_t bottom) {
        const auto& band = *static_cast<const Operation*>(context);
        band.kernel(band.images, left, right, top, bottom);
      },
      &operation, 0, frame.width - 1, 0, frame.height - 1, min_rows);
  parallel::WorkerCount = saved;
  return doubled;
}

// Per channel (weight * a + (256 - weight) * b) / 256, rounded down, one channel at a time.
inline uint32_t ChannelMix(uint32_t a, uint32_t b, uint32_t weight) {
  uint32_t mixed = 0;
  for (uint32_t shift : {0u, 8u, 16u}) {
    const uint32_t channel =
        (((a >> shift) & 255) * weight + ((b >> shift) & 255) * (256 - weight)) / 256;
    mixed |= channel << shift;
  }
  return mixed;
}

}  // namespace qz::scale::enlarger_test
