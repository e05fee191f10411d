#pragma once
// Test pictures laid out like the plug-in's image record, three spare columns and rows and not a
// pixel more, so that any read past them trips the address sanitizer; and the kernels' rules
// written the plain way, one channel and one pixel at a time, in the order the text walks them.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "scale/kernel.h"

namespace qz::scale::testing {

struct TestPicture {
  TestPicture(int32_t picture_width, int32_t picture_height)
      : width(picture_width),
        height(picture_height),
        pitch(picture_width + 3),
        pixels(static_cast<size_t>(pitch) * (picture_height + 3)) {}

  ImageView View() { return {pixels.data(), pitch, width, height}; }
  uint32_t& At(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * pitch + x]; }
  uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * pitch + x]; }

  int32_t width;
  int32_t height;
  int32_t pitch;
  std::vector<uint32_t> pixels;
};

inline void FillRandom(TestPicture& picture, std::mt19937& random) {
  for (uint32_t& pixel : picture.pixels) pixel = static_cast<uint32_t>(random());
}

inline int32_t RandomIn(std::mt19937& random, int32_t low, int32_t high) {
  return std::uniform_int_distribution<int32_t>(low, high)(random);
}

inline int32_t Channel(uint32_t pixel, int32_t channel) {
  return static_cast<int32_t>((pixel >> (8 * channel)) & 255);
}

// Where destination index `index` samples a source of `size` pixels: whole part and the 8-bit
// weight of the next pixel.
struct Sample {
  int32_t whole;
  int32_t weight;
};

inline Sample SampleAt(int32_t size, int32_t destination_size, int32_t index) {
  const int64_t step = ((static_cast<int64_t>(size) << 16) + 32768) / destination_size;
  const int64_t position = step * index;
  return {static_cast<int32_t>(position >> 16), static_cast<int32_t>((position >> 8) & 255)};
}

// Colour channels move from `from` towards `to` by weight / 256, each product rounded down; the
// fourth byte stays that of `from`.
inline uint32_t Blend(uint32_t from, uint32_t to, int32_t weight) {
  uint32_t out = from & 0xFF000000u;
  for (int32_t channel = 0; channel < 3; ++channel) {
    const int32_t a = Channel(from, channel);
    const int32_t b = Channel(to, channel);
    out |= static_cast<uint32_t>(a + b * weight / 256 - a * weight / 256) << (8 * channel);
  }
  return out;
}

inline uint32_t ReferenceBilinear(const TestPicture& source, int32_t destination_width,
                                  int32_t destination_height, int32_t x, int32_t y) {
  const Sample across = SampleAt(source.width, destination_width, x);
  const Sample down = SampleAt(source.height, destination_height, y);
  const int32_t sx = across.whole;
  const int32_t sy = down.whole;
  const uint32_t top = Blend(source.At(sx, sy), source.At(sx + 1, sy), across.weight);
  const uint32_t bottom = Blend(source.At(sx, sy + 1), source.At(sx + 1, sy + 1), across.weight);
  return Blend(top, bottom, down.weight);
}

enum class Rule { kMild, kStrongPass, kStrongFused };

inline uint32_t ReferenceSharpen(Rule rule, uint32_t p, uint32_t r, uint32_t d) {
  uint32_t out = 0;
  for (int32_t channel = 0; channel < 4; ++channel) {
    const int32_t pc = Channel(p, channel);
    const int32_t rc = Channel(r, channel);
    const int32_t dc = Channel(d, channel);
    int32_t value = 0;
    switch (rule) {
      case Rule::kMild:
        value = std::max(10 * pc - rc - dc, 0) / 8;
        break;
      case Rule::kStrongPass:
        value = std::max(6 * pc - rc - dc, 0) / 4;
        break;
      case Rule::kStrongFused:
        value = std::max(pc + pc / 2 - dc / 4 - rc / 4, 0);
        break;
    }
    out |= static_cast<uint32_t>(std::min(value, 255)) << (8 * channel);
  }
  return out;
}

// One fused call: row y is interpolated and row y - 1 (row y0 itself on the picture's first row)
// sharpened with it, pixel by pixel, reading the picture as it stands at that moment.
inline void ReferenceFused(Rule rule, const TestPicture& source, TestPicture& picture, int32_t x0,
                           int32_t x1, int32_t y0, int32_t y1) {
  for (int32_t y = y0; y <= y1; ++y) {
    const int32_t above = y > y0 ? y - 1 : std::max(y0 - 1, 0);
    for (int32_t x = x0; x <= x1; ++x) {
      const uint32_t b = ReferenceBilinear(source, picture.width, picture.height, x, y);
      picture.At(x, above) =
          ReferenceSharpen(rule, picture.At(x, above), picture.At(x + 1, above), b);
      picture.At(x, y) = b;
    }
  }
}

// One in-place pass, top to bottom and left to right.
inline void ReferencePass(Rule rule, TestPicture& picture, int32_t x0, int32_t x1, int32_t y0,
                          int32_t y1) {
  for (int32_t y = y0; y <= y1; ++y) {
    for (int32_t x = x0; x <= x1; ++x) {
      picture.At(x, y) =
          ReferenceSharpen(rule, picture.At(x, y), picture.At(x + 1, y), picture.At(x, y + 1));
    }
  }
}

struct Rectangle {
  int32_t x0;
  int32_t x1;
  int32_t y0;
  int32_t y1;
};

// A rectangle that may stick out of the picture, be empty or inverted, clipped to the picture as
// the callers of the kernels do.
inline Rectangle RandomClippedRectangle(std::mt19937& random, int32_t width, int32_t height) {
  const int32_t x0 = RandomIn(random, -4, width + 2);
  const int32_t y0 = RandomIn(random, -4, height + 2);
  const Rectangle wanted{x0, x0 + RandomIn(random, -2, width + 4), y0,
                         y0 + RandomIn(random, -2, height + 4)};
  return {std::max(wanted.x0, 0), std::min(wanted.x1, width - 1), std::max(wanted.y0, 0),
          std::min(wanted.y1, height - 1)};
}

}  // namespace qz::scale::testing
