// Text, colour set-up and video in 32 bits, as the game calls them: glyphs of the game's font
// objects, the colour masks it is made to see, and decoder frames landing in the game's buffer.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_image.h"
#include "game/game_object_layouts.h"
#include "game/game_screen.h"
#include "game/x86_code.h"
#include "splicer/splicer_library.h"
#include "true_colour_test_support.h"
#include "truecolour/palette32.h"

namespace {

using qz::testing::StartTrueColour;
using qz::truecolour::PixelFromRgb565;
using standin::game::CallGameMethod;
using standin::game::DrawingRuns;
using standin::game::GameBitmap;
using standin::game::kDrawGlyph;
using standin::game::Word;

// A font of the game's with one glyph, 'A': two rows of three bytes, drawn 1 pixel right of
// where it is asked, its bytes 5 bytes into the font's glyph data; colour i is i * 0x0101.
struct GameFont {
  std::vector<uint8_t> glyph_data = {0, 0, 0, 0, 0, 0xFF, 0x80, 0x00, 0x00, 0xFF, 0xFF};
  std::vector<uint8_t> object;

  explicit GameFont(const char* name) {
    std::vector<uint16_t> palette(256);
    for (int index = 0; index < 256; ++index)
      palette[index] = static_cast<uint16_t>(index * 0x0101);
    std::vector<standin::game::FontCharacter> characters(256);
    characters['A'] = {1, 3, 5};
    object = standin::game::GameFontObject(name, 2, palette, characters, glyph_data.data());
  }
};

// The picture as text: '#' ink, 'e' the font's colour 32, 'd' darkened ground, '.' ground, '0'
// black.
std::string Picture(const GameBitmap& bitmap, uint32_t ink) {
  std::string rows;
  for (int32_t y = 0; y < bitmap.height; ++y) {
    for (int32_t x = 0; x < bitmap.width; ++x) {
      const uint32_t pixel = bitmap.At(x, y);
      rows += pixel == ink                       ? '#'
              : pixel == PixelFromRgb565(0x2020) ? 'e'
              : pixel == 0x00404040              ? 'd'
              : pixel == 0x00808080              ? '.'
              : pixel == 0                       ? '0'
                                                 : '?';
    }
    rows += '/';
  }
  return rows;
}

struct GlyphCase {
  int32_t exe_version;
  const char* name;
  std::string expected;
};

class TrueColourGlyph : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(TrueColourGlyph, DrawsWhatItsRowsSayInTheFontsStyle) {
  standin::host::Settings settings;
  settings.exe_version = GetParam().exe_version;
  StartTrueColour(settings);
  GameFont font(GetParam().name);
  GameBitmap* bitmap = standin::game::NewGameBitmap(6, 4);
  std::fill_n(bitmap->pixels, 24, 0x00808080u);
  CallGameMethod(kDrawGlyph, font.object.data(), {'A', Word(bitmap), 1, 1, 7});
  EXPECT_EQ(Picture(*bitmap, PixelFromRgb565(0x0707)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Styles, TrueColourGlyph,
                         ::testing::Values(GlyphCase{0, "smal", "....../..#e../...##./....../"},
                                           GlyphCase{8, "smal", "....../..#.../...##./....dd/"},
                                           GlyphCase{8, "Arial", "....../..#e../...##./....../"},
                                           GlyphCase{9, "SMALL", "....../..#.../...##./....dd/"},
                                           GlyphCase{8, "BigF", "....../..#.../...##./....00/"},
                                           GlyphCase{8, "cHAm", "..0.../.0#00./..0##0/...00./"}),
                         [](const ::testing::TestParamInfo<GlyphCase>& param_info) {
                           return std::string(param_info.param.name) + "_ExeVersion" +
                                  std::to_string(param_info.param.exe_version);
                         });

// Bit 3 of "QZ.ExeVersion" is read at every glyph: a change reaches the next glyph drawn.
TEST(TrueColourText, TheNamedStylesFollowTheSettingGlyphByGlyph) {
  StartTrueColour({});
  GameFont font("smal");
  GameBitmap* bitmap = standin::game::NewGameBitmap(6, 4);
  for (const GlyphCase& step : {GlyphCase{0, "plain", "....../..#e../...##./....../"},
                                GlyphCase{8, "shadowed", "....../..#.../...##./....dd/"},
                                GlyphCase{0, "plain again", "....../..#e../...##./....../"}}) {
    standin::splicer::Publish("QZ.ExeVersion", step.exe_version);
    std::fill_n(bitmap->pixels, 24, 0x00808080u);
    CallGameMethod(kDrawGlyph, font.object.data(), {'A', Word(bitmap), 1, 1, 7});
    EXPECT_EQ(Picture(*bitmap, PixelFromRgb565(0x0707)), step.expected) << step.name;
  }
}

TEST(TrueColourText, FontColourOverrideOnTheFirstGlyphAppliesToAllText) {
  StartTrueColour({});
  static const uint16_t kRed = 0xF800;
  standin::splicer::Publish("Tarn.FontColor", static_cast<int32_t>(Word(&kRed)));
  GameFont font("verd");
  GameBitmap* bitmap = standin::game::NewGameBitmap(6, 4);
  std::fill_n(bitmap->pixels, 24, 0x00808080u);
  const size_t allocations = standin::game::HeapCalls().size();
  CallGameMethod(kDrawGlyph, font.object.data(), {'A', Word(bitmap), 0, 0, 7});
  CallGameMethod(kDrawGlyph, font.object.data(), {'A', Word(bitmap), 1, 2, 9});
  EXPECT_EQ(Picture(*bitmap, 0xF80000), ".#e.../..##../..#e../...##./");
  // The 32-bit font palette comes from the game's heap once.
  EXPECT_EQ(standin::game::HeapCalls().size(), allocations + 1);
  // Characters past 255 draw nothing.
  CallGameMethod(kDrawGlyph, font.object.data(), {256 + 'A', Word(bitmap), 3, 0, 7});
  EXPECT_EQ(Picture(*bitmap, 0xF80000), ".#e.../..##../..#e../...##./");
}

TEST(TrueColourColourSetup, TheGameSeesRgb565MasksAndGetsItsOwnBack) {
  StartTrueColour({});
  using namespace standin::game;
  const uint32_t game_masks[] = {0x7C00, 0x03E0, 0x001F};
  for (int i = 0; i < 3; ++i) standin::Cell<uint32_t>(kColourMaskVariables[i]) = game_masks[i];
  uint8_t object[16] = {};
  SetColourMasks(object, 11, 22);
  SetColourFormat(0x7C00, 0x03E0, 0x1F);
  ASSERT_EQ(DrawingRuns().size(), 2u);
  EXPECT_EQ(DrawingRuns()[0].colour_masks, (std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(DrawingRuns()[0].arguments, (std::vector<uint32_t>{11, 22}));
  EXPECT_EQ(DrawingRuns()[0].ecx, Word(object));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(standin::Cell<uint32_t>(kColourMaskVariables[i]), game_masks[i]);
  EXPECT_EQ(DrawingRuns()[1].ecx, 0xF800u);
  EXPECT_EQ(DrawingRuns()[1].edx, 0x07E0u);
  EXPECT_EQ(DrawingRuns()[1].arguments, std::vector<uint32_t>{0x001F});
}

TEST(TrueColourVideo, DecodedFramesAppearConvertedAtTheGamesRectangle) {
  StartTrueColour({});
  using namespace standin::game;
  constexpr int32_t kPitchPixels = 20;
  std::vector<uint32_t> game_buffer(kPitchPixels * 12, 0x77777777);
  int32_t video[3] = {0, 6, 4};  // a 6 x 4 frame
  // Until the game asks for output, frames convert nothing.
  DecodeVideoFrame(video);
  EXPECT_EQ(game_buffer, std::vector<uint32_t>(kPitchPixels * 12, 0x77777777));
  RequestVideoOutput(video, 3, 5, kPitchPixels * 4, 12, game_buffer.data(), 0x10);
  const GameDrawingRun& request = DrawingRuns().back();
  EXPECT_EQ(request.arguments[1], 0u);
  EXPECT_EQ(request.arguments[2], 0u);
  EXPECT_EQ(request.arguments[3], 1600u);
  EXPECT_EQ(request.arguments[4], 600u);
  EXPECT_NE(request.arguments[5], Word(game_buffer.data()));
  EXPECT_EQ(request.arguments[6], 0xC0000000u);
  // The private buffer holds 1 920 000 bytes behind its guard word, twice the 600 rows of 1600
  // bytes, so a decoder writing past them stays inside it.
  const auto* guard = reinterpret_cast<uint32_t*>(static_cast<uintptr_t>(request.arguments[5])) - 1;
  EXPECT_EQ(*guard, 0x0BADF00Du);
  EXPECT_GE(malloc_usable_size(const_cast<uint32_t*>(guard)), 4u + 1920000u);
  for (int32_t frame = 0; frame < 2; ++frame) {
    DecodeVideoFrame(video);
    for (int32_t y = 0; y < 12; ++y) {
      for (int32_t x = 0; x < kPitchPixels; ++x) {
        const bool inside = x >= 3 && x < 9 && y >= 5 && y < 9;
        const uint32_t expected =
            inside ? PixelFromRgb565(VideoTestPixel(x - 3, y - 5, frame)) : 0x77777777;
        ASSERT_EQ(game_buffer[y * kPitchPixels + x], expected) << x << "," << y;
      }
    }
  }
  // The game's own rectangle is moved to where the frame is.
  uint8_t object[16] = {};
  PlaceVideoRectangle(object, 1, 2, 6, 4);
  EXPECT_EQ(DrawingRuns().back().arguments, (std::vector<uint32_t>{4, 7, 6, 4}));
}

}  // namespace
