#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <iterator>
#include <numeric>
#include <ostream>
#include <random>
#include <vector>

#include "scale/bicubic_weights.h"
#include "scale/bspline_weight.h"
#include "scale/scale_bicubic.h"

namespace qz::scale {
namespace {

struct Sizes {
  int32_t source_width, source_height, destination_width, destination_height;
};

std::ostream& operator<<(std::ostream& out, const Sizes& sizes) {
  return out << sizes.source_width << "x" << sizes.source_height << " -> "
             << sizes.destination_width << "x" << sizes.destination_height;
}

// Down and up, whole and fractional ratios, upscales past 4x where sx reaches W, and a downscale
// past 4x whose tap rows and columns jump over whole groups of four.
const Sizes kSizes[] = {{160, 120, 144, 108}, {200, 150, 333, 271}, {100, 75, 50, 37},
                        {64, 48, 128, 96},    {13, 7, 97, 61},      {1, 1, 9, 5},
                        {9, 5, 1, 1},         {7, 9, 7, 9},         {97, 61, 13, 7}};
// The 2x image of an 800 x 600 frame in a 1440 x 1080 picture; its weights only, since resampling
// it tap by tap is slow under the sanitizers.
const Sizes kPictureSizes{1600, 1200, 1440, 1080};

bool Build(const Sizes& sizes) {
  return BuildBicubicWeights(sizes.source_width, sizes.source_height, sizes.destination_width,
                             sizes.destination_height);
}

// An image with the three spare columns and rows of the presentation buffers, and `margin`
// columns and rows before it, allocated exactly so that ASan catches a read past either end.
struct Image {
  Image(int32_t image_width, int32_t image_height, int32_t margin_pixels, uint32_t fill)
      : width(image_width),
        height(image_height),
        margin(margin_pixels),
        buffer(static_cast<size_t>(width + 3 + margin) * (height + 3 + margin), fill) {}
  int32_t Pitch() const { return width + 3 + margin; }
  ImageView View() {
    return {buffer.data() + static_cast<ptrdiff_t>(margin) * Pitch() + margin, Pitch(), width,
            height};
  }
  uint32_t& At(int32_t x, int32_t y) { return View().pixels[y * Pitch() + x]; }
  int32_t width, height, margin;
  std::vector<uint32_t> buffer;
};

void FillRandom(Image& image, uint32_t seed) {
  std::mt19937 random(seed);
  for (int32_t y = 0; y < image.height + 3; ++y) {
    for (int32_t x = 0; x < image.width + 3; ++x) image.At(x, y) = static_cast<uint32_t>(random());
  }
}

int32_t Step(int32_t source_size, int32_t destination_size) {
  return ((source_size << 16) + 32768) / destination_size;
}

// The table the way the algorithm states it: sixteen weights per destination pixel, row-major.
std::vector<int32_t> FullWeightTable(const Sizes& sizes) {
  const int32_t step_x = Step(sizes.source_width, sizes.destination_width);
  const int32_t step_y = Step(sizes.source_height, sizes.destination_height);
  const double ratio_x = static_cast<double>(sizes.source_width) / sizes.destination_width;
  const double ratio_y = static_cast<double>(sizes.source_height) / sizes.destination_height;
  std::vector<int32_t> table;
  table.reserve(static_cast<size_t>(sizes.destination_width) * sizes.destination_height * 16);
  for (int32_t y = 0; y < sizes.destination_height; ++y) {
    for (int32_t x = 0; x < sizes.destination_width; ++x) {
      const int32_t sx = (step_x * x) >> 16;
      const int32_t sy = (step_y * y) >> 16;
      const double dx = x * ratio_x + 0.5 - sx;
      const double dy = y * ratio_y + 0.5 - sy;
      for (int32_t n = 0; n < 4; ++n) {
        const double row_factor = BSplineWeight(dy - (n - 1)) * 16384.0;
        for (int32_t m = 0; m < 4; ++m) {
          table.push_back(static_cast<int32_t>(row_factor * BSplineWeight((m - 1) - dx)));
        }
      }
    }
  }
  return table;
}

// The resampling one tap at a time from the full table.
void ScaleTapByTap(const std::vector<int32_t>& table, Image& source, Image& destination) {
  const int32_t step_x = Step(source.width, destination.width);
  const int32_t step_y = Step(source.height, destination.height);
  for (int32_t y = 0; y < destination.height; ++y) {
    for (int32_t x = 0; x < destination.width; ++x) {
      const int32_t sx = (step_x * x) >> 16;
      const int32_t sy = (step_y * y) >> 16;
      const int32_t* weights = &table[(static_cast<size_t>(y) * destination.width + x) * 16];
      int32_t sums[3] = {};
      for (int32_t n = 0; n < 4; ++n) {
        for (int32_t m = 0; m < 4; ++m) {
          const uint32_t pixel =
              source.At(sx == 0 && m == 0 ? 0 : sx - 1 + m, sy == 0 && n == 0 ? 0 : sy - 1 + n);
          for (int32_t c = 0; c < 3; ++c) {
            sums[c] += weights[4 * n + m] * static_cast<int32_t>((pixel >> (8 * c)) & 255);
          }
        }
      }
      uint32_t& out = destination.At(x, y);
      out &= 0xFF000000u;
      for (int32_t c = 0; c < 3; ++c)
        out |= static_cast<uint32_t>((sums[c] >> 14) & 255) << (8 * c);
    }
  }
}

void Scale(Image& source, Image& destination, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  ScaleBicubic({source.View(), destination.View()}, x0, x1, y0, y1);
}

void ScaleAll(Image& source, Image& destination) {
  Scale(source, destination, 0, destination.width - 1, 0, destination.height - 1);
}

TEST(BicubicSpline, IsTheCubicBSpline) {
  EXPECT_DOUBLE_EQ(BSplineWeight(0.0), 4.0 / 6.0);
  EXPECT_DOUBLE_EQ(BSplineWeight(1.0), 1.0 / 6.0);
  EXPECT_DOUBLE_EQ(BSplineWeight(-1.0), 1.0 / 6.0);
  for (double outside : {2.0, -2.0, 2.5, -2.5, 40.0, -40.0}) EXPECT_EQ(BSplineWeight(outside), 0.0);
  for (double t = 0.0; t < 1.0; t += 1.0 / 64) {
    double total = 0.0;
    for (int32_t tap = -1; tap <= 2; ++tap) {
      EXPECT_GE(BSplineWeight(t - tap), -1e-13) << t;
      EXPECT_NEAR(BSplineWeight(t - tap), BSplineWeight(tap - t), 1e-13) << t;
      total += BSplineWeight(t - tap);
    }
    EXPECT_NEAR(total, 1.0, 1e-13) << t;
  }
}

TEST(BicubicWeights, RebuiltOnlyWhenOneOfTheFourSizesChanges) {
  // A mark in the factors survives every request that does not rebuild them.
  const Sizes requests[] = {{200, 150, 333, 271}, {200, 150, 333, 271}, {200, 150, 333, 272},
                            {200, 150, 333, 272}, {201, 150, 333, 272}, {201, 151, 333, 272},
                            {201, 151, 334, 272}, {201, 151, 334, 272}, {200, 150, 333, 271}};
  int32_t rebuilds = 0;
  for (const Sizes& sizes : requests) {
    ASSERT_TRUE(Build(sizes));
    double& mark = CurrentBicubicWeights.rows.phases[0].factors[0];
    if (mark != -1000.0) ++rebuilds;
    mark = -1000.0;
  }
  EXPECT_EQ(rebuilds, 6);
  CurrentBicubicWeights = BicubicWeights{};
}

TEST(BicubicWeights, RefusedSizesLeaveTheKernelIdle) {
  for (const Sizes& refused : {Sizes{0, 150, 333, 271}, Sizes{200, 150, 333, 0},
                               Sizes{32768, 150, 333, 271}, Sizes{200, -1, 333, 271}}) {
    EXPECT_FALSE(Build(refused));
  }
  // Factors built for other sizes are never read.
  ASSERT_TRUE(Build({64, 48, 128, 96}));
  Image source(64, 48, 0, 0x00FFFFFF);
  Image destination(128, 97, 0, 0x12345678);
  ScaleAll(source, destination);
  for (uint32_t pixel : destination.buffer) ASSERT_EQ(pixel, 0x12345678u);
}

// The weights as 16 integers.
std::vector<int32_t> Unpacked(const PixelWeights& weights) {
  int16_t lanes[16];
  std::memcpy(lanes, weights.halves, sizeof lanes);
  return std::vector<int32_t>(std::begin(lanes), std::end(lanes));
}

TEST(BicubicWeights, EveryWeightIsTheFullTablesTruncatedProduct) {
  std::vector<Sizes> cases(std::begin(kSizes), std::end(kSizes));
  cases.push_back(kPictureSizes);
  for (const Sizes& sizes : cases) {
    SCOPED_TRACE(testing::Message() << sizes);
    ASSERT_TRUE(Build(sizes));
    const std::vector<int32_t> table = FullWeightTable(sizes);
    const BicubicWeights& weights = CurrentBicubicWeights;
    const int32_t step_x = Step(sizes.source_width, sizes.destination_width);
    const int32_t step_y = Step(sizes.source_height, sizes.destination_height);
    for (int32_t y = 0; y < sizes.destination_height; ++y) {
      const AxisTap row = weights.rows.taps[y];
      ASSERT_EQ(row.centre, (step_y * y) >> 16) << y;
      ASSERT_TRUE(row.phase >= 0 && row.phase < weights.rows.phase_count) << y;
      for (int32_t x = 0; x < sizes.destination_width; ++x) {
        const AxisTap column = weights.columns.taps[x];
        ASSERT_EQ(column.centre, (step_x * x) >> 16) << x;
        ASSERT_TRUE(column.phase >= 0 && column.phase < weights.columns.phase_count) << x;
        const auto full =
            table.begin() + (static_cast<ptrdiff_t>(y) * sizes.destination_width + x) * 16;
        const std::vector<int32_t> expected(full, full + 16);
        ASSERT_EQ(Unpacked(PhaseWeights(weights, row.phase, column.phase)), expected)
            << "x " << x << " y " << y;
        if (weights.phase_weights) {
          const int32_t pair = row.phase * weights.columns.phase_count + column.phase;
          ASSERT_EQ(Unpacked(weights.phase_weights[pair]), expected) << "x " << x << " y " << y;
        }
      }
    }
  }
}

TEST(BicubicWeights, PictureSizesShareAFewDozenPhasesAndTabulateTheirWeights) {
  // The weights of all phase pairs are worked out once per size, which only pays when the phases
  // are few.
  for (const Sizes& sizes : {kPictureSizes, Sizes{1600, 1200, 2880, 2160}}) {
    SCOPED_TRACE(testing::Message() << sizes);
    ASSERT_TRUE(Build(sizes));
    EXPECT_LE(CurrentBicubicWeights.rows.phase_count, 64);
    EXPECT_LE(CurrentBicubicWeights.columns.phase_count, 64);
    EXPECT_NE(CurrentBicubicWeights.phase_weights, nullptr);
  }
  // Incommensurate sizes give each column its own phase, and too many pairs for a table.
  ASSERT_TRUE(Build({1600, 1200, 1437, 1077}));
  EXPECT_EQ(CurrentBicubicWeights.columns.phase_count, 1437);
  EXPECT_EQ(CurrentBicubicWeights.phase_weights, nullptr);
}

TEST(ScaleBicubic, MatchesTheTapByTapResamplingWithinExactBuffers) {
  // Sizes with and without the table of phase weights.
  int32_t tabulated = 0;
  for (const Sizes& sizes : kSizes) {
    SCOPED_TRACE(testing::Message() << sizes);
    // Random pixels everywhere, spare columns and rows included, and a white margin before the
    // image that no tap may reach.
    Image source(sizes.source_width, sizes.source_height, 1, 0x00FFFFFF);
    FillRandom(source, 1);
    Image expected(sizes.destination_width, sizes.destination_height, 0, 0);
    FillRandom(expected, 2);
    Image picture = expected;
    ScaleTapByTap(FullWeightTable(sizes), source, expected);
    ASSERT_TRUE(Build(sizes));
    tabulated += CurrentBicubicWeights.phase_weights != nullptr;
    ScaleAll(source, picture);
    ASSERT_EQ(picture.buffer, expected.buffer);
  }
  EXPECT_GT(tabulated, 0);
  EXPECT_LT(tabulated, static_cast<int32_t>(std::size(kSizes)));
}

TEST(ScaleBicubic, FirstColumnAndRowStandInForThoseBeforeThem) {
  for (const Sizes& sizes : {Sizes{64, 48, 150, 110}, Sizes{13, 7, 97, 61}}) {
    Image source(sizes.source_width, sizes.source_height, 1, 0x00FFFFFF);
    for (int32_t y = 0; y < source.height + 3; ++y) {
      for (int32_t x = 0; x < source.width + 3; ++x) source.At(x, y) = 0;
    }
    Image picture(sizes.destination_width, sizes.destination_height, 0, 0x00FFFFFF);
    ASSERT_TRUE(Build(sizes));
    ScaleAll(source, picture);
    for (int32_t y = 0; y < picture.height; ++y) {
      for (int32_t x = 0; x < picture.width; ++x) ASSERT_EQ(picture.At(x, y), 0u) << x << "," << y;
    }
  }
}

TEST(ScaleBicubic, UniformImageComesOutScaledByEachPixelsTotalWeightNoBrighter) {
  // The four taps cover the spline only while the fraction is below 1 and every weight is
  // truncated, so a pixel's weights total at most 16384 and often less.
  for (const Sizes& sizes : {Sizes{160, 120, 144, 108}, Sizes{64, 48, 150, 110}}) {
    ASSERT_TRUE(Build(sizes));
    const std::vector<int32_t> table = FullWeightTable(sizes);
    for (uint32_t colour : {0x000000u, 0x010203u, 0x3F7FBFu, 0x808080u, 0xFFFFFFu}) {
      Image source(sizes.source_width, sizes.source_height, 0, colour | 0xFF000000u);
      Image picture(sizes.destination_width, sizes.destination_height, 0, 0xAB000000u);
      ScaleAll(source, picture);
      for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
          const auto weights = table.begin() + (static_cast<ptrdiff_t>(y) * picture.width + x) * 16;
          const int32_t total = std::accumulate(weights, weights + 16, 0);
          ASSERT_LE(total, 16384);
          const uint32_t pixel = picture.At(x, y);
          ASSERT_EQ(pixel >> 24, 0xABu);
          for (int32_t c = 0; c < 3; ++c) {
            const int32_t channel = static_cast<int32_t>((colour >> (8 * c)) & 255);
            ASSERT_EQ((pixel >> (8 * c)) & 255, static_cast<uint32_t>(channel * total >> 14));
          }
        }
      }
    }
  }
}

TEST(ScaleBicubic, BandsAndPartialRectanglesGiveTheSamePixels) {
  const Sizes sizes{160, 120, 250, 190};
  ASSERT_TRUE(Build(sizes));
  Image source(sizes.source_width, sizes.source_height, 0, 0);
  FillRandom(source, 3);
  Image whole(sizes.destination_width, sizes.destination_height, 0, 0);
  FillRandom(whole, 4);
  Image untouched = whole;
  ScaleAll(source, whole);
  for (int32_t middle : {0, 1, 3, 94, 187, 188}) {
    Image banded = untouched;
    Scale(source, banded, 0, -1, 0, 10);  // empty rectangles do nothing
    Scale(source, banded, 5, 4, 0, 10);
    Scale(source, banded, 0, 249, 0, middle);
    Scale(source, banded, 0, 249, middle + 1, 189);
    ASSERT_EQ(banded.buffer, whole.buffer) << middle;
  }
  // Rectangles of every width modulo four, starting anywhere.
  for (int32_t right : {80, 81, 82, 83}) {
    Image part = untouched;
    Scale(source, part, 17, right, 33, 150);
    for (int32_t y = 0; y < sizes.destination_height; ++y) {
      for (int32_t x = 0; x < sizes.destination_width; ++x) {
        const bool inside = x >= 17 && x <= right && y >= 33 && y <= 150;
        Image& wanted = inside ? whole : untouched;
        ASSERT_EQ(part.At(x, y), wanted.At(x, y)) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace qz::scale
