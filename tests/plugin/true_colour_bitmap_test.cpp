// The game's bitmap objects and plain images in 32 bits, driven through the game's own addresses
// with the game's arguments: what the objects hold, what the game's heap sees and which pixels
// change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_image.h"
#include "game/game_object_layouts.h"
#include "game/game_screen.h"
#include "true_colour_test_support.h"

namespace {

using qz::testing::StartTrueColour;
using standin::game::CallGameMethod;
using standin::game::GameBitmap;
using standin::game::NewGameBitmap;
using standin::game::Word;
using namespace standin::game;

uint32_t U(int32_t value) {
  return static_cast<uint32_t>(value);
}

size_t Allocations(uint32_t size) {
  const auto& calls = standin::game::HeapCalls();
  return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [size](const auto& call) {
    return call.allocation && call.size_or_block == size;
  }));
}

size_t Releases(const void* block) {
  const auto& calls = standin::game::HeapCalls();
  return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [block](const auto& call) {
    return !call.allocation && call.size_or_block == Word(block);
  }));
}

TEST(TrueColourBitmap, ConstructionGivesFourBytesAPixelFromTheGamesHeap) {
  StartTrueColour({});
  GameBitmap* bitmap = NewGameBitmap(800, 600);
  EXPECT_EQ(Word(bitmap->table), 0x63B9C8u);
  EXPECT_EQ(bitmap->name, nullptr);
  EXPECT_EQ(bitmap->base_flags, 0u);
  EXPECT_EQ(bitmap->pitch, 3200);
  EXPECT_EQ(bitmap->buffer_size, 1920000u);
  EXPECT_EQ(bitmap->buffer_size2, 1920000u);
  EXPECT_EQ(bitmap->borrowed, 0);
  ASSERT_NE(bitmap->pixels, nullptr);
  EXPECT_EQ(Allocations(1920000), 1u);
  // The game's class destroys it and releases buffer and object.
  const int32_t live = standin::game::LiveHeapBlocks();
  standin::game::DeleteGameBitmap(bitmap);
  EXPECT_EQ(standin::game::LiveHeapBlocks(), live - 2);
}

TEST(TrueColourBitmap, NamedAndEmptyConstructions) {
  StartTrueColour({});
  GameBitmap named{};
  const char name[] = "panel";
  standin::game::CallConstructor(kConstructNamedBitmap, &named, {Word(name), 4, 2});
  EXPECT_EQ(named.name, name);
  EXPECT_EQ(named.base_flags, 0x12u);
  EXPECT_EQ(named.buffer_size, 32u);
  const int32_t live = standin::game::LiveHeapBlocks();
  for (auto [width, height] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}}) {
    GameBitmap* empty = NewGameBitmap(width, height);
    EXPECT_EQ(empty->pixels, nullptr) << width << "x" << height;
    EXPECT_EQ(empty->width, width);
    // Nothing is drawn into it, whatever the game asks.
    CallGameMethod(kFill, empty, {0, 0, 5, 5, 0xF800});
    standin::game::DeleteGameBitmap(empty);
  }
  EXPECT_EQ(standin::game::LiveHeapBlocks(), live);
}

TEST(TrueColourBitmap, AttachingReleasesAnOwnedBufferExactlyOnce) {
  StartTrueColour({});
  GameBitmap* bitmap = NewGameBitmap(4, 4);
  uint32_t* owned = bitmap->pixels;
  std::vector<uint32_t> first(6 * 3);
  std::vector<uint32_t> second(2 * 2);
  CallGameMethod(kAttachBuffer, bitmap, {6, 3, 24, Word(first.data())});
  EXPECT_EQ(Releases(owned), 1u);
  EXPECT_EQ(bitmap->pixels, first.data());
  EXPECT_EQ(bitmap->borrowed, 1);
  EXPECT_EQ(bitmap->width, 6);
  EXPECT_EQ(bitmap->pitch, 24);
  EXPECT_EQ(bitmap->buffer_size, 64u) << "the buffer size stays as it was";
  const size_t releases = standin::game::HeapCalls().size();
  CallGameMethod(kAttachBuffer, bitmap, {2, 2, 8, Word(second.data())});
  EXPECT_EQ(standin::game::HeapCalls().size(), releases) << "a borrowed buffer is not released";
  // Destroying it leaves the borrowed buffer alone.
  standin::game::DeleteGameBitmap(bitmap);
  EXPECT_EQ(Releases(second.data()), 0u);
}

TEST(TrueColourBitmap, DrawsToABufferWithTheGamesClippingAndKey) {
  StartTrueColour({});
  GameBitmap* bitmap = NewGameBitmap(20, 3);
  for (int32_t i = 0; i < 60; ++i) bitmap->pixels[i] = static_cast<uint32_t>(i % 5 == 0 ? 7 : i);
  std::vector<uint32_t> buffer(10 * 3, 0xEEEEEEEE);
  // dx = -5: source columns from sx + 5 land at column 0; the key's noise bits do not count.
  CallGameMethod(kDrawToBuffer, bitmap,
                 {2, 1, 12, 1, Word(buffer.data()), U(-5), 0, 10, 3, 40, 0xABCDEF07});
  for (int32_t x = 0; x < 10; ++x) {
    const uint32_t source = bitmap->At(x + 7, 1);
    EXPECT_EQ(buffer[x], x < 7 ? (source == 7 ? 0xEEEEEEEE : source) : 0xEEEEEEEE) << x;
  }
  standin::game::DeleteGameBitmap(bitmap);
}

TEST(TrueColourBitmap, FillAndTintReachThePixels) {
  StartTrueColour({});
  GameBitmap* bitmap = NewGameBitmap(3, 2);
  CallGameMethod(kFill, bitmap, {0, 0, 3, 2, 0x1234F800});
  EXPECT_EQ(bitmap->At(2, 1), 0xF80000u);
  // Through the game's tint-by-hue address: pure red tints at full saturation, grey takes the
  // colour away.
  bitmap->pixels[0] = 0x00204080;
  CallGameMethod(kTintByColour, bitmap, {0, 0, 1, 1, 0xFF0000});
  EXPECT_EQ(bitmap->At(0, 0), 0x800000u);
  bitmap->pixels[1] = 0x00204080;
  CallGameMethod(kTintByColour, bitmap, {1, 0, 1, 1, 0x808080});
  EXPECT_EQ(bitmap->At(1, 0), 0x808080u);
  standin::game::DeleteGameBitmap(bitmap);
}

TEST(TrueColourBitmap, MaskedDarkeningReadsTheGamesMaskObject) {
  StartTrueColour({});
  GameBitmap* bitmap = NewGameBitmap(4, 1);
  std::fill_n(bitmap->pixels, 4, 0x00808080u);
  const uint8_t bytes[2][5] = {{0, 0, 0, 0, 0}, {0, 1, 0, 9, 1}};
  const std::vector<uint8_t> mask = standin::game::GameMaskObject(5, &bytes[0][0]);
  CallGameMethod(kDarkenThroughMask, bitmap, {0, 0, 4, 1, Word(mask.data()), 1, 1});
  EXPECT_EQ(std::vector<uint32_t>(bitmap->pixels, bitmap->pixels + 4),
            (std::vector<uint32_t>{0x404040, 0x808080, 0x404040, 0x404040}));
  standin::game::DeleteGameBitmap(bitmap);
}

TEST(TrueColourImages, TwentyFourAndEightBitImagesDrawFromTheGamesObjects) {
  StartTrueColour({});
  const uint8_t rgb[2][3][3] = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
                                {{10, 11, 12}, {13, 14, 15}, {16, 17, 18}}};
  const std::vector<uint8_t> image24 = standin::game::GameImage24Object(3, &rgb[0][0][0]);
  std::vector<uint32_t> buffer(4, 0xAA000000);
  CallGameMethod(kDrawImage24, image24.data(), {1, 1, 2, 1, Word(buffer.data()), 1, 0, 4, 1, 16});
  EXPECT_EQ(buffer, (std::vector<uint32_t>{0xAA000000, 0xAA0F0E0D, 0xAA121110, 0xAA000000}));

  const uint8_t indices[4] = {0, 1, 2, 0};
  std::vector<uint16_t> colours(256);
  colours[0] = 0x001F;
  colours[1] = 0xF800;
  colours[2] = 0x07E0;
  const std::vector<uint8_t> image8 = standin::game::GameImage8Object(4, indices, colours);
  std::fill(buffer.begin(), buffer.end(), 0x55555555);
  CallGameMethod(kDrawImage8, image8.data(),
                 {0, 0, 4, 1, Word(buffer.data()), 0, 0, 4, 1, 16, 0xFFFFFF01});
  EXPECT_EQ(buffer, (std::vector<uint32_t>{0x55555555, 0xF80000, 0x00FC00, 0x55555555}));
  CallGameMethod(kDrawImage8, image8.data(),
                 {0, 0, 1, 1, Word(buffer.data()), 0, 0, 4, 1, 16, 0xFFFFFF00});
  EXPECT_EQ(buffer[0], 0x0000F8u);
}

}  // namespace
