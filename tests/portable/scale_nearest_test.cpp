#include "scale/scale_nearest.h"

#include <gtest/gtest.h>

#include <random>

#include "scale_kernel_reference.h"

namespace qz::scale {
namespace {

using testing::TestPicture;

void ExpectNearest(TestPicture& source, TestPicture& picture, const testing::Rectangle& r) {
  TestPicture expected = picture;
  for (int32_t y = r.y0; y <= r.y1; ++y) {
    for (int32_t x = r.x0; x <= r.x1; ++x) {
      expected.At(x, y) =
          source.At(x * source.width / picture.width, y * source.height / picture.height);
    }
  }
  ScaleNearest({source.View(), picture.View()}, r.x0, r.x1, r.y0, r.y1);
  ASSERT_EQ(picture.pixels, expected.pixels)
      << source.width << "x" << source.height << " -> " << picture.width << "x" << picture.height
      << " columns " << r.x0 << ".." << r.x1 << " rows " << r.y0 << ".." << r.y1;
}

TEST(ScaleNearest, CopiesTheTruncatedSourcePositionIntoTheRectangleOnly) {
  std::mt19937 random(41);
  for (int trial = 0; trial < 400; ++trial) {
    // Enlarging and reducing; a rectangle starting between two rows of the same source row must
    // not borrow the row above it.
    TestPicture source(testing::RandomIn(random, 1, 40), testing::RandomIn(random, 1, 30));
    TestPicture picture(testing::RandomIn(random, 1, 90), testing::RandomIn(random, 1, 60));
    testing::FillRandom(source, random);
    testing::FillRandom(picture, random);
    ExpectNearest(source, picture,
                  testing::RandomClippedRectangle(random, picture.width, picture.height));
  }
}

TEST(ScaleNearest, PicturesWiderThanOneStretchOfScratchAreCopiedWhole) {
  std::mt19937 random(42);
  TestPicture source(2000, 2);
  TestPicture picture(7700, 5);
  testing::FillRandom(source, random);
  testing::FillRandom(picture, random);
  ExpectNearest(source, picture, {1, 7699, 0, 4});
}

}  // namespace
}  // namespace qz::scale
