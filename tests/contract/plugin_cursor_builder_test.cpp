// The plug-in's cursor builder against whatever Windows the suite is built for: the cursor it
// hands to CreateIconIndirect reads back through GetIconInfo as its canvas shows it, with the
// hot spot at the cursor's scale.
#include <gtest/gtest.h>

#include "core/settings.h"
#include "cursor/cursor_builder.h"
#include "game_routines.h"
#include "win32_contract.h"

namespace qz::contract {
namespace {

// An arrow-like sprite: opaque colours in a triangle, with a few fully transparent holes.
std::vector<uint32_t> SpritePicture(int32_t width, int32_t height) {
  std::vector<uint32_t> picture(static_cast<size_t>(width) * height, 0u);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x <= y * width / height; ++x) {
      if ((x + 2 * y) % 11 == 3) continue;
      picture[static_cast<size_t>(y) * width + x] = 0xFF000000 | Pattern(x * 5, y * 3);
    }
  }
  return picture;
}

struct BuildCase {
  int32_t canvas;
  int32_t picture_width, picture_height;  // dstW, dstH of an 800 x 600 frame
  int32_t sprite_width, sprite_height;
  uint32_t hot_x, hot_y;
  uint32_t scaled_hot_x, scaled_hot_y;
};

class ContractCursorBuilder : public ::testing::TestWithParam<BuildCase> {};

TEST_P(ContractCursorBuilder, CursorReadsBackAsTheCanvasShowsIt) {
  ASSERT_TRUE(PlaceGameRoutines());
  const BuildCase& build = GetParam();
  core::srcW = 800;
  core::srcH = 600;
  core::dstW = build.picture_width;
  core::dstH = build.picture_height;
  cursor::CursorBuilder* builder = cursor::CreateCursorBuilder(build.canvas);
  ASSERT_NE(builder, nullptr);
  const std::vector<uint32_t> picture = SpritePicture(build.sprite_width, build.sprite_height);
  TestSprite sprite{{}, build.sprite_width, build.sprite_height, &picture};
  const HCURSOR cursor = cursor::BuildCursor(builder, &sprite, 0, build.hot_x, build.hot_y);
  ASSERT_NE(cursor, nullptr);
  const IconPicture icon = ReadIcon(cursor);
  ASSERT_TRUE(icon.valid);
  EXPECT_FALSE(icon.is_icon);
  EXPECT_EQ(icon.hot_x, build.scaled_hot_x);
  EXPECT_EQ(icon.hot_y, build.scaled_hot_y);
  EXPECT_EQ(icon.hot_x, builder->icon.xHotspot);
  EXPECT_EQ(icon.hot_y, builder->icon.yHotspot);
  ASSERT_EQ(icon.colour.width, build.canvas);
  ASSERT_EQ(icon.colour.height, build.canvas);
  int32_t opaque = 0;
  for (int32_t y = 0; y < build.canvas; ++y) {
    for (int32_t x = 0; x < build.canvas; ++x) {
      const uint32_t canvas = builder->colour_bits[(build.canvas - 1 - y) * build.canvas + x];
      ASSERT_EQ(icon.colour.At(x, y), canvas) << std::hex << x << "," << y;
      opaque += canvas >> 24 == 0xFF ? 1 : 0;
    }
  }
  EXPECT_GT(opaque, build.sprite_width);  // the sprite shows
  EXPECT_TRUE(DestroyIcon(cursor));
}

INSTANTIATE_TEST_SUITE_P(Scales, ContractCursorBuilder,
                         ::testing::Values(BuildCase{128, 1200, 900, 32, 32, 10, 4, 15, 6},
                                           BuildCase{128, 1600, 1200, 20, 30, 7, 9, 14, 18},
                                           BuildCase{32, 800, 600, 64, 32, 32, 16, 16, 16}));

}  // namespace
}  // namespace qz::contract
