#include "scale/scale_bilinear.h"

#include <gtest/gtest.h>

#include <random>

#include "scale_kernel_reference.h"

namespace qz::scale {
namespace {

using testing::Rule;
using testing::TestPicture;

KernelImages Images(TestPicture& source, TestPicture& picture) {
  return {source.View(), picture.View()};
}

TEST(ScaleBilinear, StepCarriesHalfAPixelSoTheLastPixelsReachPastTheEdge) {
  struct Case {
    int32_t size;
    int32_t destination_size;
    int32_t first_column;  // of the last destination pixel
    int32_t weight;
  };
  // 800 -> 800 is no copy; 800 -> 1920 reads columns 800 and 801, both past the last one.
  const Case cases[] = {{800, 800, 799, 124}, {800, 1600, 799, 252}, {800, 1920, 800, 15}};
  std::mt19937 random(11);
  for (const Case& c : cases) {
    const int32_t last = c.destination_size - 1;
    // Along a row, then the same along a column.
    TestPicture row_source(c.size, 1);
    TestPicture row_picture(c.destination_size, 1);
    testing::FillRandom(row_source, random);
    ScaleBilinear(Images(row_source, row_picture), last, last, 0, 0);
    EXPECT_EQ(row_picture.At(last, 0),
              testing::Blend(row_source.At(c.first_column, 0), row_source.At(c.first_column + 1, 0),
                             c.weight))
        << c.destination_size;

    TestPicture column_source(1, c.size);
    TestPicture column_picture(1, c.destination_size);
    testing::FillRandom(column_source, random);
    ScaleBilinear(Images(column_source, column_picture), 0, 0, last, last);
    EXPECT_EQ(column_picture.At(0, last),
              testing::Blend(column_source.At(0, c.first_column),
                             column_source.At(0, c.first_column + 1), c.weight))
        << c.destination_size;
  }
}

TEST(ScaleBilinear, FourthByteIsTheTopLeftNeighboursAndColourlessStaysColourless) {
  std::mt19937 random(12);
  TestPicture source(13, 9);
  for (uint32_t& pixel : source.pixels) pixel = static_cast<uint32_t>(random()) & 0xFF000000u;
  TestPicture picture(37, 20);
  ScaleBilinear(Images(source, picture), 0, 36, 0, 19);
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 37; ++x) {
      const int32_t sx = testing::SampleAt(13, 37, x).whole;
      const int32_t sy = testing::SampleAt(9, 20, y).whole;
      ASSERT_EQ(picture.At(x, y), source.At(sx, sy)) << x << "," << y;
    }
  }
}

struct KernelCase {
  Kernel kernel;
  bool fused;
  Rule rule;
};

const KernelCase kKernels[] = {{ScaleBilinear, false, Rule::kMild},
                               {ScaleBilinearSharp, true, Rule::kMild},
                               {ScaleBilinearSharpX2, true, Rule::kStrongFused}};

void ExpectMatchesReference(const KernelCase& kernel, TestPicture& source, TestPicture& picture,
                            const testing::Rectangle& r) {
  TestPicture expected = picture;
  if (kernel.fused) {
    testing::ReferenceFused(kernel.rule, source, expected, r.x0, r.x1, r.y0, r.y1);
  } else {
    for (int32_t y = r.y0; y <= r.y1; ++y) {
      for (int32_t x = r.x0; x <= r.x1; ++x) {
        expected.At(x, y) = testing::ReferenceBilinear(source, picture.width, picture.height, x, y);
      }
    }
  }
  kernel.kernel(Images(source, picture), r.x0, r.x1, r.y0, r.y1);
  ASSERT_EQ(picture.pixels, expected.pixels)
      << source.width << "x" << source.height << " -> " << picture.width << "x" << picture.height
      << " columns " << r.x0 << ".." << r.x1 << " rows " << r.y0 << ".." << r.y1;
}

TEST(ScaleBilinear, EveryKernelMatchesThePlainRuleOnRandomPicturesAndRectangles) {
  std::mt19937 random(13);
  for (const KernelCase& kernel : kKernels) {
    for (int trial = 0; trial < 300; ++trial) {
      TestPicture source(testing::RandomIn(random, 1, 40), testing::RandomIn(random, 1, 30));
      TestPicture picture(testing::RandomIn(random, 1, 90), testing::RandomIn(random, 1, 60));
      testing::FillRandom(source, random);
      testing::FillRandom(picture, random);
      ExpectMatchesReference(
          kernel, source, picture,
          testing::RandomClippedRectangle(random, picture.width, picture.height));
    }
  }
}

TEST(ScaleBilinear, PicturesWiderThanOneStretchOfScratchMatchThePlainRule) {
  std::mt19937 random(14);
  for (const KernelCase& kernel : kKernels) {
    TestPicture source(3001, 3);
    TestPicture picture(7690, 4);
    testing::FillRandom(source, random);
    testing::FillRandom(picture, random);
    ExpectMatchesReference(kernel, source, picture, {2, 7689, 1, 3});
  }
}

TEST(ScaleBilinear, FusedFirstRowIsPlainAtTheTopAndSharpensTheRowAboveFurtherDown) {
  std::mt19937 random(15);
  TestPicture source(7, 5);
  testing::FillRandom(source, random);
  for (const KernelCase& kernel : kKernels) {
    if (!kernel.fused) continue;
    for (const int32_t first_row : {0, 4}) {
      TestPicture picture(17, 11);
      testing::FillRandom(picture, random);
      const TestPicture before = picture;
      kernel.kernel(Images(source, picture), 2, 14, first_row, first_row);
      for (int32_t y = 0; y < picture.height + 3; ++y) {
        for (int32_t x = 0; x < picture.pitch; ++x) {
          uint32_t expected = before.At(x, y);
          const bool inside = x >= 2 && x <= 14;
          if (inside && y == first_row) {
            expected = testing::ReferenceBilinear(source, 17, 11, x, y);
          } else if (inside && y == first_row - 1) {
            expected =
                testing::ReferenceSharpen(kernel.rule, before.At(x, y), before.At(x + 1, y),
                                          testing::ReferenceBilinear(source, 17, 11, x, y + 1));
          }
          ASSERT_EQ(picture.At(x, y), expected) << x << "," << y << " first row " << first_row;
        }
      }
    }
  }
}

TEST(ScaleBilinear, FusedStrongRuleLiftsUniformAreasWhoseValueModFourIsTwoOrThree) {
  for (int32_t value = 0; value < 256; ++value) {
    const uint32_t uniform = static_cast<uint32_t>(value) * 0x01010101u;
    TestPicture source(5, 4);
    TestPicture picture(11, 9);
    std::fill(source.pixels.begin(), source.pixels.end(), uniform);
    std::fill(picture.pixels.begin(), picture.pixels.end(), uniform);
    ScaleBilinearSharpX2(Images(source, picture), 0, 10, 0, 8);
    const uint32_t lifted = static_cast<uint32_t>(std::min(value + (value % 4 >= 2), 255));
    for (int32_t y = 0; y < 9; ++y) {
      // The last row is left for a call that starts below it.
      const uint32_t expected = (y == 8 ? static_cast<uint32_t>(value) : lifted) * 0x01010101u;
      for (int32_t x = 0; x < 11; ++x) ASSERT_EQ(picture.At(x, y), expected) << value;
    }
  }
}

TEST(ScaleBilinear, NothingHappensForEmptyRangesOrAnEmptyDestination) {
  std::mt19937 random(16);
  TestPicture source(6, 6);
  TestPicture picture(8, 8);
  testing::FillRandom(source, random);
  testing::FillRandom(picture, random);
  const TestPicture before = picture;
  for (const KernelCase& kernel : kKernels) {
    kernel.kernel(Images(source, picture), 3, 2, 1, 5);
    kernel.kernel(Images(source, picture), 1, 5, 3, 2);
    KernelImages no_width = Images(source, picture);
    no_width.destination.width = 0;
    kernel.kernel(no_width, 1, 5, 1, 5);
    KernelImages no_height = Images(source, picture);
    no_height.destination.height = 0;
    kernel.kernel(no_height, 1, 5, 1, 5);
  }
  EXPECT_EQ(picture.pixels, before.pixels);
}

}  // namespace
}  // namespace qz::scale
