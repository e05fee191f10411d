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

// One trial: a random source and picture, and rectangles drawn one after another, by `whole`
// (one call each) and by `banded` with 1 to 8 workers; the pictures must agree.
template <typename Whole, typename Banded>
void ExpectBandsGiveThePictureOfOneCall(std::mt19937& random, Whole whole, Banded banded) {
  TestPicture source(testing::RandomIn(random, 1, 30), testing::RandomIn(random, 1, 40));
  TestPicture single(testing::RandomIn(random, 1, 50), testing::RandomIn(random, 1, 90));
  testing::FillRandom(source, random);
  testing::FillRandom(single, random);
  const TestPicture start = single;
  const std::vector<Rectangle> rectangles = RandomRectangles(random, single.width, single.height);
  const int32_t min_rows = testing::RandomIn(random, 1, 6);
  for (const Rectangle& r : rectangles) whole(KernelImages{source.View(), single.View()}, r);
  for (int32_t workers = 1; workers <= parallel::kMaxBands; ++workers) {
    parallel::WorkerCountScope scope(workers);
    TestPicture picture = start;
    for (const Rectangle& r : rectangles) {
      banded(KernelImages{source.View(), picture.View()}, r, min_rows);
    }
    ASSERT_EQ(picture.pixels, single.pixels)
        << workers << " workers, min rows " << min_rows << ", picture " << single.width << "x"
        << single.height;
  }
}

TEST(BandedSharpening, FusedKernelsInBandsGiveThePictureOfOneCallForOneToEightWorkers) {
  std::mt19937 random(31);
  for (const Kernel fused :
       {Kernel{ScaleBilinearSharp}, Kernel{ScaleBilinearSharpX2}, Kernel{ScaleBilinear}}) {
    for (int trial = 0; trial < 60; ++trial) {
      ExpectBandsGiveThePictureOfOneCall(
          random,
          [&](const KernelImages& images, const Rectangle& r) {
            fused(images, r.x0, r.x1, r.y0, r.y1);
          },
          [&](const KernelImages& images, const Rectangle& r, int32_t min_rows) {
            RunFusedInBands(fused, images, r.x0, r.x1, r.y0, r.y1, min_rows);
          });
    }
  }
}

// The scaling stage (or none) and then the pass, each as one call over each rectangle, against
// both in bands, a few rows at a time; pictures up to 90 rows hold several such pieces.
TEST(BandedSharpening, ScalingAndPassesInBandsGiveThePictureOfOneCallEachForOneToEightWorkers) {
  std::mt19937 random(32);
  for (const Kernel scaling : {Kernel{nullptr}, Kernel{ScaleBilinear}}) {
    for (const Kernel pass : {Kernel{SharpenPass}, Kernel{SharpenPassX2}}) {
      for (int trial = 0; trial < 40; ++trial) {
        ExpectBandsGiveThePictureOfOneCall(
            random,
            [&](const KernelImages& images, const Rectangle& r) {
              if (scaling != nullptr) scaling(images, r.x0, r.x1, r.y0, r.y1);
              pass(images, r.x0, r.x1, r.y0, r.y1);
            },
            [&](const KernelImages& images, const Rectangle& r, int32_t min_rows) {
              Scratch scratch(images.destination.width);
              RunSharpenInBands(scaling, pass, images, r.x0, r.x1, r.y0, r.y1, min_rows,
                                scratch.rows);
            });
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
