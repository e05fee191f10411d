// Cursors built from the game's sprites: their size and hot spot at the window's scale, the
// picture the key colour and the upside-down bitmap make, clipping of large frames, and the
// builder's care for the game's heap and the GDI objects.
#include "cursor/cursor_builder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "core/game_call.h"
#include "cursor/cursor_scaling.h"
#include "cursor_session.h"
#include "game/game_image.h"
#include "game/game_layout.h"
#include "game/game_mouse.h"
#include "game/game_session.h"
#include "game/x86_code.h"
#include "win32/win32_world.h"

namespace qz::testing {

// The game session moved to the game stand-in, where the demo uses it too.
using namespace standin::game;
namespace {

using standin::game::CursorSpriteShape;
using standin::game::Mouse;
using standin::game::RequestCursor;
using standin::game::SpriteFrameColour;

struct ScaleCase {
  int32_t client_width;
  int32_t client_height;
  int32_t cursor_size;  // of a 32 x 32 sprite
  uint32_t hot_x;       // of the hot spot (10, 4)
  uint32_t hot_y;
};

class CursorScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(CursorScale, ASpriteGrowsWithThePictureUpToTwiceItsSize) {
  const ScaleCase& scale = GetParam();
  CursorGameSettings settings;
  settings.client_width = scale.client_width;
  settings.client_height = scale.client_height;
  StartCursorGame(settings);
  standin::game::SetHotSpot(0, 10, 4);
  RequestCursor(0, 0);
  const CursorPicture cursor = ReadCursor(GetCursor());
  ASSERT_TRUE(cursor.valid);
  EXPECT_FALSE(cursor.is_icon);
  EXPECT_EQ(cursor.width, 128);
  EXPECT_EQ(cursor.height, 128);
  const RECT visible = VisibleArea(cursor);
  EXPECT_EQ(visible.left, 0);
  EXPECT_EQ(visible.top, 0);
  EXPECT_EQ(visible.right, scale.cursor_size);
  EXPECT_EQ(visible.bottom, scale.cursor_size);
  EXPECT_EQ(cursor.hot_x, scale.hot_x);
  EXPECT_EQ(cursor.hot_y, scale.hot_y);
  const int32_t middle = scale.cursor_size / 2;
  EXPECT_TRUE(ShowsFrameColour(cursor.At(middle, middle), SpriteFrameColour(0, 0)))
      << std::hex << cursor.At(middle, middle);
}

// Game frame 800 x 600; the picture keeps its shape, so both factors are alike.
INSTANTIATE_TEST_SUITE_P(PictureSizes, CursorScale,
                         ::testing::Values(ScaleCase{1600, 1200, 64, 20, 8},
                                           ScaleCase{2000, 1500, 64, 20, 8},
                                           ScaleCase{1200, 900, 48, 15, 6},
                                           ScaleCase{800, 600, 32, 10, 4},
                                           ScaleCase{400, 300, 16, 5, 2}));

TEST(CursorBuilder, BeforeNt6ASpriteFillsThe32By32Canvas) {
  CursorGameSettings settings;
  settings.nt6 = false;
  StartCursorGame(settings);
  standin::game::SetCursorSprite(4, CursorSpriteShape{64, 32, 0, {}});
  SetEveryHotSpot(32, 16);
  RequestCursor(4, 0);
  const CursorPicture cursor = ReadCursor(GetCursor());
  ASSERT_TRUE(cursor.valid);
  EXPECT_EQ(cursor.width, 32);
  EXPECT_EQ(cursor.height, 32);
  EXPECT_EQ(cursor.hot_x, 16u);
  EXPECT_EQ(cursor.hot_y, 16u);
  const RECT visible = VisibleArea(cursor);
  EXPECT_EQ(visible.right, 32);
  EXPECT_EQ(visible.bottom, 32);
}

// The shared scaling applied to the frame as the game draws it: zero around, the key under the
// frame, the frame's colour where the sprite is opaque.
std::vector<uint32_t> ExpectedPicture(const CursorSpriteShape& shape, uint32_t colour) {
  std::vector<uint32_t> sprite(64 * 64, 0);
  for (int32_t y = 0; y < shape.height; ++y) {
    for (int32_t x = 0; x < shape.width; ++x) {
      const bool opaque = x >= shape.border && y >= shape.border;
      sprite[y * 64 + x] = opaque ? colour : cursor::kCursorKey;
    }
  }
  std::vector<uint32_t> enlarged(128 * 128);
  std::vector<uint32_t> result(128 * 128);
  const cursor::CursorGeometry geometry{128, true, 800, 600, 800, 600};
  cursor::ScaleCursorSprite(geometry, {sprite.data(), 64, 64, 64}, shape.width, shape.height,
                            {enlarged.data(), 128, 128, 128}, {result.data(), 128, 128, 128});
  return result;
}

TEST(CursorBuilder, TheCursorShowsTheFrameUprightWithTheUntouchedPartsTransparent) {
  StartCursorGame({});
  const CursorSpriteShape shape{40, 36, 6, {}};
  standin::game::SetCursorSprite(1, shape);
  RequestCursor(1, 3);
  const CursorPicture cursor = ReadCursor(GetCursor());
  ASSERT_TRUE(cursor.valid);
  // The transparent bands lie along the top and the left, as in the sprite.
  EXPECT_EQ(cursor.At(20, 2) >> 24, 0u);
  EXPECT_EQ(cursor.At(2, 20) >> 24, 0u);
  EXPECT_TRUE(ShowsFrameColour(cursor.At(25, 30), SpriteFrameColour(1, 3)));
  EXPECT_TRUE(ShowsFrameColour(cursor.At(25, 34), SpriteFrameColour(1, 3)));
  EXPECT_EQ(cursor.pixels, ExpectedPicture(shape, SpriteFrameColour(1, 3)));
  // The game's routine drew frame 3 of the sprite into the 64 x 64 image under the lock.
  ASSERT_EQ(Mouse().draws.size(), 1u);
  const standin::game::DrawCall& draw = Mouse().draws[0];
  const std::vector<uint32_t> arguments(draw.arguments, draw.arguments + 14);
  EXPECT_EQ(arguments,
            (std::vector<uint32_t>{0, 3, 0, 0, 40, 36, arguments[6], 0, 0, 64, 64, 256, 0, 1}));
  EXPECT_TRUE(draw.under_lock);
}

TEST(CursorBuilder, FramesLargerThan64AreClippedToTheirTopLeft64By64) {
  StartCursorGame({});
  standin::game::SetCursorSprite(2, CursorSpriteShape{100, 80, 0, {}});
  SetEveryHotSpot(30, 70);
  RequestCursor(2, 0);
  const CursorPicture cursor = ReadCursor(GetCursor());
  ASSERT_TRUE(cursor.valid);
  const RECT visible = VisibleArea(cursor);
  EXPECT_EQ(visible.right, 64);
  EXPECT_EQ(visible.bottom, 64);
  ASSERT_EQ(Mouse().draws.size(), 1u);
  EXPECT_EQ(Mouse().draws[0].arguments[4], 64u);
  EXPECT_EQ(Mouse().draws[0].arguments[5], 64u);
  // The hot spot keeps the sprite's own scale, even where it lies beyond the clipped part.
  EXPECT_EQ(cursor.hot_x, 30u);
  EXPECT_EQ(cursor.hot_y, 70u);
}

TEST(CursorBuilder, BuildingAndRebuildingKeepOnlyTheBuilderOnTheGameHeap) {
  const HWND window = StartCursorGame({});
  // The builder record and its three images, each a record and pixels.
  const int32_t builder_blocks = standin::game::LiveHeapBlocks();
  EXPECT_EQ(builder_blocks, 7);
  for (int32_t frame = 0; frame < 6; ++frame) RequestCursor(frame % 5, frame);
  standin::game::ResizeClient(window, 1200, 900);
  RequestCursor(1, 1);
  EXPECT_EQ(standin::game::LiveHeapBlocks(), builder_blocks);
}

// The game's allocation routine, failing its n-th call from now on.
uint32_t original_allocate = 0;
int32_t allocations_left = 0;
void* __cdecl FailingAllocate(uint32_t size) {
  if (allocations_left-- == 0) return nullptr;
  return core::At<void*(__cdecl*)(uint32_t)>(original_allocate)(size);
}

TEST(CursorBuilder, AFailureAtAnyStepLeavesNothingBehind) {
  StartCursorGame({});
  const size_t gdi_objects = win32::LiveGdiObjectCount();
  const int32_t heap_blocks = standin::game::LiveHeapBlocks();
  original_allocate = standin::RelativeTarget(standin::game::kGameAllocate);
  standin::game::LayOutRoutine(standin::game::kGameAllocate,
                               standin::Address(reinterpret_cast<void*>(&FailingAllocate)));
  // Seven allocations: the record, then record and pixels of each image.
  for (int32_t failing = 0; failing < 7; ++failing) {
    allocations_left = failing;
    EXPECT_EQ(cursor::CreateCursorBuilder(128), nullptr) << failing;
    EXPECT_EQ(standin::game::LiveHeapBlocks(), heap_blocks) << failing;
    EXPECT_EQ(win32::LiveGdiObjectCount(), gdi_objects) << failing;
  }
  allocations_left = -1;
  // The colour bitmap, then the mask, refused by the GDI quota; the screen DC takes one place.
  for (size_t room : {size_t{1}, size_t{2}}) {
    win32::SetGdiObjectQuota(gdi_objects + room);
    EXPECT_EQ(cursor::CreateCursorBuilder(128), nullptr) << room;
    EXPECT_EQ(standin::game::LiveHeapBlocks(), heap_blocks) << room;
    EXPECT_EQ(win32::LiveGdiObjectCount(), gdi_objects) << room;
  }
  win32::SetGdiObjectQuota(win32::kDefaultObjectQuota);
  cursor::CursorBuilder* builder = cursor::CreateCursorBuilder(32);
  ASSERT_NE(builder, nullptr);
  EXPECT_EQ(builder->width, 32);
  EXPECT_EQ(standin::game::LiveHeapBlocks(), heap_blocks + 7);
}

}  // namespace
}  // namespace qz::testing
