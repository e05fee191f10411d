// The frame pipeline as a whole: every filter gives the same picture for 1 to 8 workers and any
// sequence of changed rectangles, and never reads or writes outside buffers sized exactly as the
// presentation's image records are.
#include "present/frame_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "parallel/worker_count.h"
#include "present/filter_table.h"
#include "present/presentation_buffers.h"
#include "scale/color_magnitude.h"

namespace qz::present {
namespace {

// The presentation's buffers with a random pixel-art frame: runs of a few colours, so the 2x
// filters find edges, and top bytes that carry no colour.
PresentationBuffers RandomBuffers(int32_t frame_width, int32_t frame_height, int32_t window_width,
                                  int32_t window_height, std::mt19937& random) {
  PresentationBuffers buffers =
      MakePresentationBuffers(frame_width, frame_height, window_width, window_height);
  const uint32_t palette[] = {0x102030, 0xC0C0C0, 0x20A040, 0xE03010, 0x000000, 0xF0E0D0};
  for (auto& pixel : buffers.frame) pixel = palette[random() % 6] | (random() % 2 ? 0xAB000000 : 0);
  std::fill(buffers.doubled.begin(), buffers.doubled.end(), 0x55555555);
  std::fill(buffers.output.begin(), buffers.output.end(), 0x66666666);
  return buffers;
}

struct Rectangle {
  int32_t left, top, right, bottom;
};

// Rectangles inside, across the edges, wholly outside and inverted.
Rectangle RandomRectangle(std::mt19937& random, int32_t width, int32_t height) {
  const auto pick = [&](int32_t size) { return static_cast<int32_t>(random() % (size + 20)) - 10; };
  return {pick(width), pick(height), pick(width), pick(height)};
}

class FramePipeline : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(scale::BuildColorMagnitudeTable()); }
};

struct Presentation {
  int32_t frame_width, frame_height, window_width, window_height;
};

// Presents `sequence` with each worker count and expects the same picture as with the first.
void ExpectTheSamePictureForEveryWorkerCount(int32_t filter, const Presentation& presentation,
                                             const std::vector<Rectangle>& sequence,
                                             std::initializer_list<int32_t> worker_counts,
                                             uint32_t seed) {
  std::vector<uint32_t> reference;
  for (const int32_t workers : worker_counts) {
    parallel::WorkerCountScope scope(workers);
    std::mt19937 frame_random(seed);
    PresentationBuffers buffers =
        RandomBuffers(presentation.frame_width, presentation.frame_height,
                      presentation.window_width, presentation.window_height, frame_random);
    for (const Rectangle& r : sequence) {
      PresentRectangle(filter, ImagesOf(buffers), buffers.geometry, r.left, r.top, r.right,
                       r.bottom);
    }
    if (reference.empty()) {
      reference = buffers.output;
    } else {
      ASSERT_EQ(buffers.output, reference)
          << "filter " << filter << ", " << workers << " workers, frame "
          << presentation.frame_width << "x" << presentation.frame_height << ", window "
          << presentation.window_width << "x" << presentation.window_height;
    }
  }
}

TEST_F(FramePipeline, ThePictureIsIdenticalForOneToEightWorkersAndAnyRectangleSequence) {
  std::mt19937 random(11);
  for (int32_t filter = 0; filter < kFilterCount; ++filter) {
    for (int trial = 0; trial < 8; ++trial) {
      const int32_t frame_width = 20 + static_cast<int32_t>(random() % 50);
      const int32_t frame_height = 15 + static_cast<int32_t>(random() % 40);
      const int32_t window_width = 10 + static_cast<int32_t>(random() % 300);
      const int32_t window_height = 10 + static_cast<int32_t>(random() % 250);
      std::vector<Rectangle> sequence;
      for (int i = 0; i < 4; ++i) {
        sequence.push_back(RandomRectangle(random, frame_width, frame_height));
      }
      sequence.push_back({0, 0, frame_width - 1, frame_height - 1});
      ExpectTheSamePictureForEveryWorkerCount(
          filter, {frame_width, frame_height, window_width, window_height}, sequence,
          {1, 2, 3, 4, 5, 6, 7, 8}, static_cast<uint32_t>(random()));
    }
  }
}

// Pictures smaller than the frame: the 2x image is then no wider than twice the frame, so
// anything a 2x stage leaves beside its blocks lies in the image, and shrinking reads the rows
// above a changed rectangle that its own 2x stage did not redo. Only long sequences of
// rectangles reliably bring such pixels into view.
TEST_F(FramePipeline, SmallPicturesStayIdenticalForAnyWorkerCountOverLongRectangleSequences) {
  std::mt19937 random(7);
  // One filter of each 2x stage, and each scaling stage after xBRZ.
  for (const int32_t filter : {4, 6, 9, 12}) {
    for (int trial = 0; trial < 2; ++trial) {
      const int32_t frame_width = 60 + static_cast<int32_t>(random() % 100);
      const int32_t frame_height = 45 + static_cast<int32_t>(random() % 80);
      const int32_t window_width = 4 + static_cast<int32_t>(random() % (frame_width / 2));
      const int32_t window_height = 4 + static_cast<int32_t>(random() % (frame_height / 2));
      std::vector<Rectangle> sequence{{0, 0, frame_width - 1, frame_height - 1}};
      for (int i = 0; i < 300; ++i) {
        sequence.push_back(RandomRectangle(random, frame_width, frame_height));
      }
      ExpectTheSamePictureForEveryWorkerCount(
          filter, {frame_width, frame_height, window_width, window_height}, sequence, {1, 3, 8},
          static_cast<uint32_t>(random()));
    }
  }
}

// The changed area grows by the filter's neighbourhood and stays inside the picture.
TEST_F(FramePipeline, TheChangedAreaCoversTheRectangleGrownAndClippedToThePicture) {
  std::mt19937 random(5);
  PresentationBuffers buffers = RandomBuffers(100, 75, 250, 180, random);
  const int32_t width = buffers.geometry.dstW;
  const int32_t height = buffers.geometry.dstH;
  // The single-stage growth reaches the last column; the 2x growth maps the doubled rectangle,
  // whose last column 2r + 1 maps to (2r + 1) * dstW / (2 srcW).
  const PictureArea single = PresentRectangle(0, ImagesOf(buffers), buffers.geometry, 0, 0, 99, 74);
  EXPECT_EQ(single.right, width - 1);
  EXPECT_EQ(single.bottom, height - 1);
  const PictureArea doubled =
      PresentRectangle(9, ImagesOf(buffers), buffers.geometry, 0, 0, 99, 74);
  EXPECT_EQ(doubled.right, 199 * width / 200);
  EXPECT_EQ(doubled.bottom, 149 * height / 150);
  for (int32_t filter : {0, 9}) {
    const PictureArea whole =
        PresentRectangle(filter, ImagesOf(buffers), buffers.geometry, 0, 0, 99, 74);
    EXPECT_EQ(whole.left, 0);
    EXPECT_EQ(whole.top, 0);
    // A one-pixel rectangle at the left edge grows only to the right.
    const PictureArea edge =
        PresentRectangle(filter, ImagesOf(buffers), buffers.geometry, 0, 30, 0, 30);
    EXPECT_EQ(edge.left, 0);
    EXPECT_GT(edge.right, 0);
    EXPECT_LT(edge.right, 10);
    const PictureArea outside =
        PresentRectangle(filter, ImagesOf(buffers), buffers.geometry, 500, 500, 600, 600);
    EXPECT_TRUE(IsEmpty(outside));
  }
}

// Under ASan: window sizes from 1 x 1 to 7680 x 4320, rectangles anywhere.
TEST_F(FramePipeline, NoFilterTouchesMemoryOutsideItsBuffers) {
  std::mt19937 random(3);
  struct Size {
    int32_t frame_width, frame_height, window_width, window_height;
  };
  const Size sizes[] = {{40, 30, 1, 1},   {40, 30, 7, 5},    {33, 17, 100, 37},
                        {40, 30, 41, 29}, {64, 48, 64, 48},  {40, 30, 7680, 4320},
                        {1, 1, 3, 3},     {2, 300, 1000, 20}};
  for (const Size& size : sizes) {
    PresentationBuffers buffers = RandomBuffers(size.frame_width, size.frame_height,
                                                size.window_width, size.window_height, random);
    for (int32_t filter = 0; filter < kFilterCount; ++filter) {
      for (int i = 0; i < 3; ++i) {
        const Rectangle r = RandomRectangle(random, size.frame_width, size.frame_height);
        PresentRectangle(filter, ImagesOf(buffers), buffers.geometry, r.left, r.top, r.right,
                         r.bottom);
      }
      PresentRectangle(filter, ImagesOf(buffers), buffers.geometry, INT32_MIN, INT32_MIN, INT32_MAX,
                       INT32_MAX);
    }
  }
}

TEST_F(FramePipeline, WithoutAColourTableTheDoublingFiltersFallBack) {
  EXPECT_EQ(FilterInForce(9), 9);
  const uint32_t* table = scale::ColorMagnitudeTable;
  scale::ColorMagnitudeTable = nullptr;
  EXPECT_EQ(FilterInForce(9), kFallbackFilter);
  EXPECT_EQ(FilterInForce(2), 2);
  scale::ColorMagnitudeTable = table;
}

}  // namespace
}  // namespace qz::present
