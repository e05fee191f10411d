#pragma once
// Writes one picture as a sprite frame in any of the game's four layouts: the tests draw the same
// picture through every layout and compare, the benchmarks and the play-through make their
// sprites with it.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "truecolour/frame_description.h"

namespace tools {

using qz::truecolour::FrameDescription;

// A palette index stored as raw bytes, or a special index (type 1) or code (types 2, 3) stored
// as a run.
struct PictureSample {
  bool special = false;
  uint8_t value = 0;
  bool operator==(const PictureSample&) const = default;
};

struct FramePicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<PictureSample> samples;  // row after row
  const PictureSample& At(int32_t x, int32_t y) const { return samples[y * width + x]; }
};

struct EncodedFrame {
  FrameDescription frame;            // `data` points into `bytes`
  std::unique_ptr<uint8_t[]> bytes;  // exactly as long as the encoding, so ASan sees over-reads
};

namespace detail {

inline bool SameSegmentKind(PictureSample a, PictureSample b) {
  return a.special == b.special && (!a.special || a.value == b.value);
}

// Cuts columns begin..end-1 of row y into segments; where a raw stretch or run could go on, the
// cut falls at random so decoders meet segment ends at every column.
inline void AppendSegments(const FramePicture& picture, int32_t y, int32_t begin, int32_t end,
                           bool index_layout, std::mt19937& random, std::vector<uint8_t>& bytes) {
  const int32_t max_count = index_layout ? 256 : 32;
  for (int32_t x = begin; x < end;) {
    const PictureSample first = picture.At(x, y);
    int32_t longest = 1;
    while (x + longest < end && longest < max_count &&
           SameSegmentKind(picture.At(x + longest, y), first)) {
      ++longest;
    }
    const int32_t count =
        random() % 2 ? longest : std::uniform_int_distribution<int32_t>(1, longest)(random);
    const uint8_t count_bits = static_cast<uint8_t>(count - 1);
    if (first.special && (index_layout ? first.value == 0xFF : first.value > 6)) {
      throw std::invalid_argument("special value has no run in this layout");
    }
    if (index_layout) {
      bytes.push_back(first.special ? first.value : uint8_t{0xFF});
      bytes.push_back(count_bits);
    } else {
      const uint8_t code = first.special ? first.value : uint8_t{7};
      bytes.push_back(static_cast<uint8_t>(code << 5 | count_bits));
    }
    if (!first.special) {
      for (int32_t k = 0; k < count; ++k) bytes.push_back(picture.At(x + k, y).value);
    }
    x += count;
  }
}

template <class Offset>
void WriteOffset(std::vector<uint8_t>& bytes, size_t entry, size_t offset) {
  if (offset > static_cast<Offset>(~Offset{0})) throw std::length_error("frame too large");
  const auto value = static_cast<Offset>(offset);
  std::memcpy(bytes.data() + entry * sizeof(Offset), &value, sizeof(Offset));
}

}  // namespace detail

// Encodes `picture` as the stored rectangle of `cell`, whose type, fullWidth, fullHeight, left
// and top are kept; width, height, rowStride and data are filled in. `seed` chooses the segment
// cuts; type-3 block streams run on to the end of their row when it is odd and stop at the next
// block otherwise; type-0 rows get seed % 4 bytes of padding. Type 0 takes only raw samples.
inline EncodedFrame EncodeFrame(const FramePicture& picture, FrameDescription cell,
                                std::mt19937::result_type seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes;
  cell.width = picture.width;
  cell.height = picture.height;
  const auto height = static_cast<size_t>(picture.height);
  if (cell.type == 0) {
    cell.rowStride = picture.width + static_cast<int32_t>(seed % 4);
    for (int32_t y = 0; y < picture.height; ++y) {
      for (int32_t x = 0; x < cell.rowStride; ++x) {
        if (x >= picture.width) {
          if (y + 1 == picture.height) break;  // the last row ends the data
          bytes.push_back(0xEE);
        } else if (picture.At(x, y).special) {
          throw std::invalid_argument("type 0 holds palette indices only");
        } else {
          bytes.push_back(picture.At(x, y).value);
        }
      }
    }
  } else if (cell.type == 1 || cell.type == 2) {
    const bool index_layout = cell.type == 1;
    bytes.resize(height * (index_layout ? 4 : 2));
    for (int32_t y = 0; y < picture.height; ++y) {
      if (index_layout) {
        detail::WriteOffset<uint32_t>(bytes, y, bytes.size());
      } else {
        detail::WriteOffset<uint16_t>(bytes, y, bytes.size());
      }
      detail::AppendSegments(picture, y, 0, picture.width, index_layout, random, bytes);
    }
  } else if (cell.type == 3) {
    const int32_t blocks = picture.width / 32;
    bytes.resize(height * blocks * 2);
    for (int32_t y = 0; y < picture.height; ++y) {
      for (int32_t block = 0; block < blocks; ++block) {
        detail::WriteOffset<uint16_t>(bytes, y * blocks + block, bytes.size());
        const int32_t end = seed % 2 ? picture.width : 32 * (block + 1);
        detail::AppendSegments(picture, y, 32 * block, end, false, random, bytes);
      }
    }
  }
  EncodedFrame encoded{cell, std::make_unique<uint8_t[]>(std::max<size_t>(bytes.size(), 1))};
  std::copy(bytes.begin(), bytes.end(), encoded.bytes.get());
  encoded.frame.data = encoded.bytes.get();
  return encoded;
}

}  // namespace tools
