#include "cursor/cursor_scaling.h"

#include <gtest/gtest.h>

#include <tuple>

#include "cursor_test_image.h"

namespace qz::cursor {
namespace {

using test::Picture;

CursorGeometry Nt6(int32_t picture_width, int32_t picture_height) {
  return {128, true, 800, 600, picture_width, picture_height};
}

constexpr CursorGeometry kBeforeNt6{32, false, 800, 600, 1600, 1200};

// size, hot spot
std::tuple<uint32_t, uint32_t, uint32_t, uint32_t> Scaled(const CursorGeometry& geometry,
                                                          int32_t width, int32_t height,
                                                          uint32_t hot_x, uint32_t hot_y) {
  const CursorScale scale = ScaleFor(geometry, width, height);
  uint32_t x = 99, y = 99;
  ScaleHotSpot(scale, hot_x, hot_y, &x, &y);
  return {scale.width, scale.height, x, y};
}

// A game of 800 x 600: cursors and hot spots grow with the picture up to twice their size.
TEST(CursorScaleFor, CursorsGrowWithThePictureUpToTwice) {
  struct Case {
    int32_t picture_width, picture_height;
    std::tuple<uint32_t, uint32_t, uint32_t, uint32_t> expected;
  };
  for (const Case& c : {Case{1600, 1200, {64, 64, 20, 8}}, Case{2560, 1440, {64, 64, 20, 8}},
                        Case{1200, 900, {48, 48, 15, 6}}, Case{800, 600, {32, 32, 10, 4}},
                        Case{400, 300, {16, 16, 5, 2}}, Case{1440, 1080, {57, 57, 18, 7}},
                        Case{1600, 600, {64, 32, 20, 4}}}) {
    EXPECT_EQ(Scaled(Nt6(c.picture_width, c.picture_height), 32, 32, 10, 4), c.expected)
        << c.picture_width << "x" << c.picture_height;
  }
}

TEST(CursorScaleFor, BeforeNt6EverySpriteFillsTheClassicCanvas) {
  EXPECT_EQ(Scaled(kBeforeNt6, 64, 32, 32, 16), std::tuple(32u, 32u, 16u, 16u));
  EXPECT_EQ(Scaled(kBeforeNt6, 16, 16, 15, 0), std::tuple(32u, 32u, 30u, 0u));
}

// Frames beyond the 64 x 64 work image are clipped to it; sizes without pixels give no cursor.
TEST(CursorScaleFor, OversizedSpritesAreClippedAndEmptyOnesGiveNoCursor) {
  EXPECT_EQ(Scaled(Nt6(1600, 1200), 100, 70, 90, 60), std::tuple(128u, 128u, 180u, 120u));
  EXPECT_EQ(Scaled(kBeforeNt6, 100, 70, 96, 32), std::tuple(32u, 32u, 48u, 16u));
  const std::tuple<uint32_t, uint32_t, uint32_t, uint32_t> none{0, 0, 0, 0};
  EXPECT_EQ(Scaled(Nt6(1600, 1200), 0, 32, 5, 5), none);
  EXPECT_EQ(Scaled(Nt6(1600, 1200), 32, -1, 5, 5), none);
  EXPECT_EQ(Scaled(kBeforeNt6, -3, 32, 5, 5), none);
  EXPECT_EQ(Scaled(Nt6(0, 1200), 32, 32, 5, 5), none);
  EXPECT_EQ(Scaled({128, true, 0, 600, 1600, 1200}, 32, 32, 5, 5), none);
  EXPECT_EQ(std::get<0>(Scaled(Nt6(10, 10), 32, 32, 5, 5)), 0u);
}

// The three work images of the builder, exactly sized.
struct WorkImages {
  explicit WorkImages(int32_t canvas)
      : sprite(kSpriteImageSize, kSpriteImageSize),
        enlarged(canvas, canvas),
        result(canvas, canvas, 0xEEEEEEEE) {}
  // The game draws the frame's opaque pixels over the key colour.
  void Draw(int32_t width, int32_t height, uint32_t colour) {
    for (int32_t y = 0; y < height && y < kSpriteImageSize; ++y) {
      for (int32_t x = 0; x < width && x < kSpriteImageSize; ++x) sprite.at(x, y) = colour;
    }
  }
  CursorScale Scale(const CursorGeometry& geometry, int32_t width, int32_t height) {
    return ScaleCursorSprite(geometry, sprite.View(), width, height, enlarged.View(),
                             result.View());
  }
  Picture sprite, enlarged, result;
};

class CursorScaleSprite : public test::WithDistanceTable {};

// An opaque sprite becomes an opaque cursor of the scaled size in the canvas's top-left corner,
// on a see-through canvas.
TEST_F(CursorScaleSprite, AnOpaqueSpriteFillsTheCursorRectangleOnly) {
  struct Case {
    CursorGeometry geometry;
    int32_t width, height;
  };
  for (const Case& c :
       {Case{Nt6(1200, 900), 32, 20}, Case{Nt6(1600, 1200), 64, 64}, Case{Nt6(1600, 1200), 90, 70},
        Case{Nt6(700, 500), 5, 64}, Case{kBeforeNt6, 64, 32}, Case{kBeforeNt6, 3, 7}}) {
    WorkImages images(c.geometry.canvas);
    images.Draw(c.width, c.height, 0x00407020);
    const CursorScale scale = images.Scale(c.geometry, c.width, c.height);
    ASSERT_EQ(scale.width, ScaleFor(c.geometry, c.width, c.height).width);
    ASSERT_GT(scale.width, 0u);
    for (int32_t y = 0; y < c.geometry.canvas; ++y) {
      for (int32_t x = 0; x < c.geometry.canvas; ++x) {
        const uint32_t pixel = images.result.at(x, y);
        if (uint32_t(x) < scale.width && uint32_t(y) < scale.height) {
          ASSERT_GE(pixel >> 24, 250u) << c.width << "x" << c.height << " at " << x << ", " << y;
        } else {
          ASSERT_EQ(pixel, 0u) << c.width << "x" << c.height << " at " << x << ", " << y;
        }
      }
    }
  }
}

TEST_F(CursorScaleSprite, TheKeyColourIsSeeThrough) {
  for (const CursorGeometry& geometry : {Nt6(1600, 1200), kBeforeNt6}) {
    WorkImages images(geometry.canvas);
    images.Draw(40, 30, kCursorKey);
    images.Scale(geometry, 40, 30);
    for (const uint32_t pixel : images.result.pixels) ASSERT_EQ(pixel, 0u);
  }
}

TEST_F(CursorScaleSprite, WithNoCursorToShowTheCanvasIsOnlyCleared) {
  WorkImages images(128);
  images.Draw(64, 64, kCursorKey);
  EXPECT_EQ(images.Scale(Nt6(1600, 1200), 0, 20).width, 0u);
  for (const uint32_t pixel : images.result.pixels) ASSERT_EQ(pixel, 0u);
  for (const uint32_t pixel : images.sprite.pixels) ASSERT_EQ(pixel, kCursorKey);
}

}  // namespace
}  // namespace qz::cursor
