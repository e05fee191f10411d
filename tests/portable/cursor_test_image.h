#pragma once
// Cursor pictures for the tests, sized exactly (pitch = width unless asked otherwise) so that
// AddressSanitizer catches any access a pixel beyond the image.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "cursor/argb_image.h"
#include "cursor/cursor_image_ops.h"

namespace qz::cursor::test {

// The distance table is 64 MiB: built once per test binary, by whichever suite needs it first.
class WithDistanceTable : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(EnsureColorDistanceTable()); }
};

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  std::vector<uint32_t> pixels;

  Picture(int32_t picture_width, int32_t picture_height, uint32_t fill = 0, int32_t spare = 0)
      : width(picture_width),
        height(picture_height),
        pitch(picture_width + spare),
        pixels(size_t(pitch) * picture_height, fill) {}
  uint32_t& at(int32_t x, int32_t y) { return pixels[size_t(y) * pitch + x]; }
  uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * pitch + x]; }
  ArgbImage View() { return {pixels.data(), width, height, pitch}; }
};

}  // namespace qz::cursor::test
