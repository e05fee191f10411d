#pragma once
// Shared pieces of the sprite-frame drawer tests: random pictures and palettes, destinations sized
// exactly, and what the player should see.
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "frame_encoder.h"
#include "truecolour/frame_description.h"

namespace qz::truecolour::testing {

using tools::EncodedFrame;
using tools::EncodeFrame;
using tools::FramePicture;
using tools::PictureSample;

// Stretches of raw indices and of runs of the given special values.
inline FramePicture RandomPicture(std::mt19937& random, int32_t width, int32_t height,
                                  const std::vector<uint8_t>& specials) {
  const size_t size = static_cast<size_t>(width) * height;
  FramePicture picture{width, height, {}};
  while (picture.samples.size() < size) {
    const bool special = !specials.empty() && random() % 2 == 0;
    const uint8_t value = special ? specials[random() % specials.size()] : 0;
    for (size_t k = 1 + random() % 40; k > 0 && picture.samples.size() < size; --k) {
      picture.samples.push_back({special, special ? value : static_cast<uint8_t>(random())});
    }
  }
  return picture;
}

inline std::vector<uint16_t> RandomPalette(std::mt19937& random) {
  std::vector<uint16_t> palette(256);
  for (uint16_t& colour : palette) colour = static_cast<uint16_t>(random());
  return palette;
}

// destW × destH pixels at a pitch of destW + padding, allocated exactly up to the last pixel of
// the last row so ASan catches any write past either end; every pixel starts random, with bits
// 24-31 set as often as not.
struct Destination {
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch_pixels = 0;
  std::vector<uint32_t> pixels;

  Destination(int32_t destination_width, int32_t destination_height, int32_t padding,
              std::mt19937& random)
      : width(destination_width),
        height(destination_height),
        pitch_pixels(destination_width + padding),
        pixels(width > 0 && height > 0 ? (height - 1) * pitch_pixels + width : 0) {
    for (uint32_t& pixel : pixels) pixel = static_cast<uint32_t>(random());
  }

  FrameRequest Request(int32_t srcX, int32_t srcY, int32_t w, int32_t h, int32_t destX,
                       int32_t destY, const std::vector<uint16_t>& palette) {
    return {srcX,          srcY, w, h, pixels.data(), destX, destY, width, height, pitch_pixels * 4,
            palette.data()};
  }
};

// New value of a drawn pixel from its picture sample and old value.
using SampleEffect = std::function<uint32_t(PictureSample sample, uint32_t pixel)>;

// The cell, reflected as asked (cell column c shows at mirrored column fullWidth - 1 - c), seen
// through the requested rectangle placed at (destX, destY), inside the destination limits.
inline std::vector<uint32_t> ExpectedPixels(const Destination& before, const FramePicture& picture,
                                            const FrameDescription& frame,
                                            const FrameRequest& request, bool mirror, bool flip,
                                            const SampleEffect& effect) {
  std::vector<uint32_t> pixels = before.pixels;
  for (int32_t y = 0; y < before.height; ++y) {
    for (int32_t x = 0; x < before.width; ++x) {
      const int32_t u = x - request.destX;
      const int32_t v = y - request.destY;
      if (u < 0 || u >= request.w || v < 0 || v >= request.h) continue;
      const int32_t cell_x = mirror ? frame.fullWidth - 1 - (request.srcX + u) : request.srcX + u;
      const int32_t cell_y = flip ? frame.fullHeight - 1 - (request.srcY + v) : request.srcY + v;
      const int32_t stored_x = cell_x - frame.left;
      const int32_t stored_y = cell_y - frame.top;
      if (stored_x < 0 || stored_x >= frame.width || stored_y < 0 || stored_y >= frame.height) {
        continue;
      }
      uint32_t& pixel = pixels[y * before.pitch_pixels + x];
      pixel = effect(picture.At(stored_x, stored_y), pixel);
    }
  }
  return pixels;
}

}  // namespace qz::truecolour::testing
