#include "scale/banded_sharpening.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "parallel/worker_count.h"
#include "scale/scale_bilinear.h"
#include "scale/sharpen_pass.h"
#include "scale_kernel_reference.h"

namespace qz::scale {
namespace {

using testing::Rectangle;
using testing::TestPicture;

// Rows for the widest rectangle a picture holds: its width and the column right of it.
struct Scratch {
  explicit Scratch(int32_t picture_width, int32_t row_count = parallel::kMaxBands - 1)
      : pixels(static_cast<size_t>(picture_width + 1) * row_count),
        rows{pixels.data(), picture_width + 1, row_count} {}
  std::vector<uint32_t> pixels;
  RowScratch rows;
};

// Several rectangles one after another, as consecutive frames; the first call has one band.
std::vector<Rectangle> RandomRectangles(std::mt19937& random, int32_t width, int32_t height) {
  std::vector<Rectangle> rectangles;
  for (int32_t count = testing::RandomIn(random, 1, 3); count > 0; --count) {
    rectangles.push_back(testing::RandomClippedRectangle(random, width, height));
  }
  // The whole picture, so that every band count is reached.
  if (random() % 2 == 0) rectangles.push_back({0, width - 1, 0, height - 1});
  return rectangles;
}

TEST(BandedSharpening, FusedKernelsInBandsGiveThePictureOfOneCallForOneToEightWorkers) {
  std::mt19937 random(31);
  for (const Kernel fused :
       {Kernel{ScaleBilinearSharp}, Kernel{ScaleBilinearSharpX2}, Kernel{ScaleBilinear}}) {
    for (int trial = 0; trial < 60; ++trial) {
      TestPicture source(testing::RandomIn(random, 1, 30), testing::RandomIn(random, 1, 40));
      TestPicture single(testing::RandomIn(random, 1, 50), testing::RandomIn(random, 1, 90));
      testing::FillRandom(source, random);
      testing::FillRandom(single, random);
      const TestPicture start = single;
      const std::vector<Rectangle> rectangles =
          RandomRectangles(random, single.width, single.height);
      const int32_t min_rows = testing::RandomIn(random, 1, 6);
      for (const Rectangle& r : rectangles) {
        fused({source.View(), single.View()}, r.x0, r.x1, r.y0, r.y1);
      }
      for (int32_t workers = 1; workers <= parallel::kMaxBands; ++workers) {
        parallel::WorkerCountScope scope(workers);
        TestPicture banded = start;
        for (const Rectangle& r : rectangles) {
          RunFusedInBands(fused, {source.View(), banded.View()}, r.x0, r.x1, r.y0, r.y1, min_rows);
        }
        ASSERT_EQ(banded.pixels, single.pixels)
            << workers << " workers, min rows " << min_rows << ", picture " << single.width << "x"
            << single.height;
      }
    }
  }
}

// The scaling stage and then the pass, each as one call over each rectangle, against both in
// bands, a few rows at a time; pictures up to 90 rows hold several such pieces.
TEST(BandedSharpening, ScalingAndPassesInBandsGiveThePictureOfOneCallEachForOneToEightWorkers) {
  std::mt19937 random(32);
  for (const Kernel scaling : {Kernel{nullptr}, Kernel{ScaleBilinear}})
    for (const Kernel pass : {Kernel{SharpenPass}, Kernel{SharpenPassX2}}) {
      for (int trial = 0; trial < 40; ++trial) {
        TestPicture source(testing::RandomIn(random, 1, 30), testing::RandomIn(random, 1, 40));
        TestPicture single(testing::RandomIn(random, 1, 50), testing::RandomIn(random, 1, 90));
        testing::FillRandom(source, random);
        testing::FillRandom(single, random);
        const TestPicture start = single;
        const std::vector<Rectangle> rectangles =
            RandomRectangles(random, single.width, single.height);
        const int32_t min_rows = testing::RandomIn(random, 1, 6);
        for (const Rectangle& r : rectangles) {
          if (scaling != nullptr) scaling({source.View(), single.View()}, r.x0, r.x1, r.y0, r.y1);
          pass({ImageView{}, single.View()}, r.x0, r.x1, r.y0, r.y1);
        }
        Scratch scratch(single.width);
        for (int32_t workers = 1; workers <= parallel::kMaxBands; ++workers) {
          parallel::WorkerCountScope scope(workers);
          TestPicture banded = start;
          for (const Rectangle& r : rectangles) {
            RunSharpenInBands(scaling, pass, {source.View(), banded.View()}, r.x0, r.x1, r.y0, r.y1,
                              min_rows, scratch.rows);
          }
          ASSERT_EQ(banded.pixels, single.pixels)
              << workers << " workers, min rows " << min_rows << ", picture " << single.width << "x"
              << single.height;
        }
      }
    }
}

TEST(BandedSharpening, TooSmallScratchFallsBackToOneCall) {
  std::mt19937 random(33);
  parallel::WorkerCountScope scope(parallel::kMaxBands);
  TestPicture single(20, 64);
  testing::FillRandom(single, random);
  TestPicture banded = single;
  SharpenPassX2({ImageView{}, single.View()}, 0, 19, 0, 63);
  // Eight bands need seven rows, of 21 pixels.
  Scratch too_few_rows(20, parallel::kMaxBands - 2);
  Scratch too_narrow(19);
  RunSharpenInBands(nullptr, SharpenPassX2, {ImageView{}, banded.View()}, 0, 19, 0, 31, 1,
                    too_few_rows.rows);
  RunSharpenInBands(nullptr, SharpenPassX2, {ImageView{}, banded.View()}, 0, 19, 32, 63, 1,
                    too_narrow.rows);
  EXPECT_EQ(banded.pixels, single.pixels);
}

}  // namespace
}  // namespace qz::scale
