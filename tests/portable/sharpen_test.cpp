#include <gtest/gtest.h>

#include <random>

#include "scale/scale_bilinear.h"
#include "scale/sharpen_pass.h"
#include "scale_kernel_reference.h"

namespace qz::scale {
namespace {

using testing::Rule;
using testing::TestPicture;

KernelImages PictureOnly(TestPicture& picture) {
  return {ImageView{}, picture.View()};
}

struct PassCase {
  Kernel pass;
  Rule rule;
};

const PassCase kPasses[] = {{SharpenPass, Rule::kMild}, {SharpenPassX2, Rule::kStrongPass}};

TEST(SharpenPass, UniformAreasStayUnchangedByTheMildRuleAndTheStrongPass) {
  for (int32_t value = 0; value < 256; ++value) {
    const uint32_t uniform = static_cast<uint32_t>(value) * 0x01010101u;
    TestPicture picture(9, 6);
    std::fill(picture.pixels.begin(), picture.pixels.end(), uniform);
    for (const PassCase& pass : kPasses) pass.pass(PictureOnly(picture), 0, 8, 0, 5);
    TestPicture source(4, 3);
    std::fill(source.pixels.begin(), source.pixels.end(), uniform);
    ScaleBilinearSharp({source.View(), picture.View()}, 0, 8, 0, 5);
    for (const uint32_t pixel : picture.pixels) ASSERT_EQ(pixel, uniform) << value;
  }
}

// P at (0, 1) with its right neighbour R and lower neighbour D; the fused kernel sharpens row 1
// while interpolating row 2 from a uniform source of D's value.
uint32_t SharpenOne(Kernel kernel, uint32_t p, uint32_t r, uint32_t d) {
  TestPicture picture(2, 3);
  picture.At(0, 1) = p;
  picture.At(1, 1) = r;
  picture.At(0, 2) = d;
  TestPicture source(2, 2);
  std::fill(source.pixels.begin(), source.pixels.end(), d);
  if (kernel == SharpenPass || kernel == SharpenPassX2) {
    kernel(PictureOnly(picture), 0, 0, 1, 1);
  } else {
    kernel({source.View(), picture.View()}, 0, 0, 2, 2);
  }
  return picture.At(0, 1);
}

TEST(SharpenPass, BrightOnDarkSaturatesAndDarkOnBrightGoesToZeroInEveryRule) {
  for (const Kernel kernel : {Kernel{SharpenPass}, Kernel{SharpenPassX2},
                              Kernel{ScaleBilinearSharp}, Kernel{ScaleBilinearSharpX2}}) {
    EXPECT_EQ(SharpenOne(kernel, 0xFFFFFFFFu, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(SharpenOne(kernel, 0x0A0A0A0Au, 0xFFFFFFFFu, 0xFFFFFFFFu), 0u);
    // Channels are independent: only the bright one saturates, only the dark one drops to 0.
    EXPECT_EQ(SharpenOne(kernel, 0x00FF000Au, 0x000000FFu, 0x000000FFu), 0x00FF0000u);
  }
}

TEST(SharpenPass, MatchesThePlainRuleOnRandomPicturesAndRectangles) {
  std::mt19937 random(21);
  for (const PassCase& pass : kPasses) {
    for (int trial = 0; trial < 400; ++trial) {
      TestPicture picture(testing::RandomIn(random, 1, 70), testing::RandomIn(random, 1, 40));
      testing::FillRandom(picture, random);
      const testing::Rectangle r =
          testing::RandomClippedRectangle(random, picture.width, picture.height);
      TestPicture expected = picture;
      testing::ReferencePass(pass.rule, expected, r.x0, r.x1, r.y0, r.y1);
      pass.pass(PictureOnly(picture), r.x0, r.x1, r.y0, r.y1);
      ASSERT_EQ(picture.pixels, expected.pixels)
          << picture.width << "x" << picture.height << " columns " << r.x0 << ".." << r.x1
          << " rows " << r.y0 << ".." << r.y1;
    }
  }
}

}  // namespace
}  // namespace qz::scale
