#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "draw_frame_test_support.h"
#include "truecolour/draw_frame_routines.h"
#include "truecolour/palette32.h"
#include "truecolour/pixel_operations.h"

namespace qz::truecolour::testing {
namespace {

using Draw =
    std::function<void(const FrameDescription&, const FrameRequest&, bool mirror, bool flip)>;

// A drawer as reached from one routine; the flip takes effect only for `flipped_types`.
struct Drawer {
  const char* name;
  std::vector<uint32_t> types;
  std::vector<uint32_t> flipped_types;
  Draw draw;
};

// Drawers that show the same picture the same way, whatever layout it is stored in.
struct Family {
  std::vector<uint8_t> specials;
  std::function<uint32_t(const std::vector<uint16_t>& palette, PictureSample, uint32_t)> effect;
  std::vector<Drawer> drawers;
};

bool Contains(const std::vector<uint32_t>& types, uint32_t type) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

int32_t Between(std::mt19937& random, int32_t low, int32_t high) {
  return std::uniform_int_distribution<int32_t>(low, high)(random);
}

const std::vector<Family>& Families() {
  static const std::vector<Family> families = {
      {{0},
       [](const std::vector<uint16_t>& palette, PictureSample sample, uint32_t pixel) {
         return sample.special ? pixel : PixelFromRgb565(palette[sample.value]);
       },
       {{"DrawFrame",
         {0, 1, 2, 3},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrame(f, r, m, true); }},
        {"DrawFrameShaded",
         {0, 1, 2, 3},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrameShaded(f, r, m, 0, false); }},
        {"DrawFrameFlagged",
         {0, 1, 2, 3},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrameFlagged(f, r, m, 0); }},
        {"DrawFrameOpaque",
         {0, 1, 2, 3},
         {0, 2},
         [](auto& f, auto& r, bool m, bool flip) { DrawFrameOpaque(f, r, m, flip); }},
        {"DrawFrameHalf without half",
         {0, 1, 2, 3},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrameHalf(f, r, m, false); }}}},
      {{0, 1},
       [](const std::vector<uint16_t>&, PictureSample sample, uint32_t pixel) {
         return sample.special && sample.value == 1 ? Dark75(pixel) : pixel;
       },
       {{"DrawFrameShadowRows",
         {2},
         {2},
         [](auto& f, auto& r, bool m, bool flip) { DrawFrameShadowRows(f, r, m, flip); }},
        {"DrawFrameShadowPacked",
         {3},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrameShadowPacked(f, r, m, {}); }}}},
      {{0},
       [](const std::vector<uint16_t>& palette, PictureSample sample, uint32_t pixel) {
         return sample.special ? pixel : Half(PixelFromRgb565(palette[sample.value]), pixel);
       },
       {{"DrawFrameHalf",
         {1, 3},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrameHalf(f, r, m, true); }},
        {"DrawFrameFlaggedHalf",
         {3},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrameFlaggedHalf(f, r, 0, m); }},
        {"DrawFrameShaded with half",
         {1},
         {},
         [](auto& f, auto& r, bool m, bool) { DrawFrameShaded(f, r, m, 0, true); }}}},
  };
  return families;
}

// Random pictures in every layout that can hold them, random requests inside, across and outside
// every edge of the cell, the stored rectangle and the destination, mirrored and flipped.
TEST(DrawFrameGeometry, EveryLayoutShowsThePictureThroughAnyRequest) {
  std::mt19937 random(20261205);
  int drawn = 0;
  int draws = 0;
  for (int trial = 0; trial < 240; ++trial) {
    const Family& family = Families()[trial % Families().size()];
    const bool with_runs = random() % 4 != 0;
    const int32_t width = random() % 2 ? 32 * Between(random, 1, 2) : Between(random, 1, 70);
    const FramePicture picture =
        RandomPicture(random, width, Between(random, 1, 40),
                      with_runs ? family.specials : std::vector<uint8_t>{});
    FrameDescription cell;
    cell.left = Between(random, 0, 7);
    cell.top = Between(random, 0, 7);
    cell.fullWidth = cell.left + picture.width + Between(random, 0, 7);
    cell.fullHeight = cell.top + picture.height + Between(random, 0, 7);
    const std::vector<uint16_t> palette = RandomPalette(random);
    std::vector<EncodedFrame> frames;
    for (cell.type = with_runs ? 1 : 0; cell.type <= 3; ++cell.type) {
      if (cell.type != 3 || width % 32 == 0) frames.push_back(EncodeFrame(picture, cell, random()));
    }
    for (int attempt = 0; attempt < 6; ++attempt) {
      const bool mirror = random() % 2;
      const bool flip = random() % 2;
      const Destination before(Between(random, 0, 90), Between(random, 0, 70),
                               Between(random, 0, 2), random);
      FrameRequest request;
      // Mostly requests that overlap the cell and the destination; one in four anywhere.
      const int32_t reach = random() % 4 == 0 ? 12 : 0;
      request.srcX = Between(random, -4 - reach, cell.fullWidth / 2 + reach);
      request.srcY = Between(random, -4 - reach, cell.fullHeight / 2 + reach);
      request.w = Between(random, 1 - reach, cell.fullWidth + 4 + reach);
      request.h = Between(random, 1 - reach, cell.fullHeight + 4 + reach);
      request.destX = Between(random, -request.w / 2 - reach, before.width - 1 + reach);
      request.destY = Between(random, -request.h / 2 - reach, before.height - 1 + reach);
      request.destW = before.width;
      request.destH = before.height;
      request.pitch = before.pitch_pixels * 4;
      request.palette = palette.data();
      for (const Drawer& drawer : family.drawers) {
        for (const EncodedFrame& encoded : frames) {
          const FrameDescription& frame = encoded.frame;
          if (!Contains(drawer.types, frame.type)) continue;
          Destination destination = before;
          request.dst = destination.pixels.data();
          drawer.draw(frame, request, mirror, flip);
          const std::vector<uint32_t> expected =
              ExpectedPixels(before, picture, frame, request, mirror,
                             flip && Contains(drawer.flipped_types, frame.type),
                             [&](PictureSample sample, uint32_t pixel) {
                               return family.effect(palette, sample, pixel);
                             });
          ASSERT_EQ(destination.pixels, expected)
              << drawer.name << " type " << frame.type << " trial " << trial << " mirror " << mirror
              << " flip " << flip << " request " << request.srcX << "," << request.srcY << " "
              << request.w << "x" << request.h << " at " << request.destX << "," << request.destY
              << " limits " << request.destW << "x" << request.destH;
          ++draws;
          drawn += expected != before.pixels;
        }
      }
    }
  }
  // Guards against requests that are almost never drawn.
  EXPECT_GT(drawn, draws / 2);
}

int32_t CallbackMustNotRun(void*, int32_t, uint32_t**, int32_t, int32_t) {
  ADD_FAILURE() << "callback offered a run of a frame that is not drawn";
  return 0;
}

const std::vector<
    std::pair<const char*, std::function<void(const FrameDescription&, const FrameRequest&)>>>&
EveryRoutine() {
  static const std::vector<
      std::pair<const char*, std::function<void(const FrameDescription&, const FrameRequest&)>>>
      routines = {
          {"DrawFrame", [](auto& f, auto& r) { DrawFrame(f, r, false, false); }},
          {"DrawFrame transparent", [](auto& f, auto& r) { DrawFrame(f, r, true, true); }},
          {"DrawFrameShaded", [](auto& f, auto& r) { DrawFrameShaded(f, r, true, 0xF81F, false); }},
          {"DrawFrameFlagged", [](auto& f, auto& r) { DrawFrameFlagged(f, r, false, 0xF81F); }},
          {"DrawFrameFlaggedHalf",
           [](auto& f, auto& r) { DrawFrameFlaggedHalf(f, r, 0xF81F, true); }},
          {"DrawFrameShadowPacked",
           [](auto& f, auto& r) { DrawFrameShadowPacked(f, r, false, {&CallbackMustNotRun}); }},
          {"DrawFrameOpaque", [](auto& f, auto& r) { DrawFrameOpaque(f, r, true, true); }},
          {"DrawFrameShadowRows", [](auto& f, auto& r) { DrawFrameShadowRows(f, r, false, true); }},
          {"DrawFrameHalf", [](auto& f, auto& r) { DrawFrameHalf(f, r, true, true); }},
          {"DrawFrameHalf without half",
           [](auto& f, auto& r) { DrawFrameHalf(f, r, false, false); }},
      };
  return routines;
}

// Every routine draws nothing for a type outside 0..3, a type-3 frame whose width is not a
// multiple of 32, and requests that clip to nothing.
TEST(DrawFrameNothingDrawn, UnknownTypesNarrowPackedFramesAndEmptyRequests) {
  std::mt19937 random(7);
  const std::vector<uint16_t> palette = RandomPalette(random);
  FrameDescription cell{0, 74, 22, 0, 0, 5, 3, 0, nullptr};
  std::vector<EncodedFrame> frames;
  for (cell.type = 0; cell.type <= 3; ++cell.type) {
    const std::vector<uint8_t> specials =
        cell.type == 0 ? std::vector<uint8_t>{} : std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6};
    frames.push_back(EncodeFrame(RandomPicture(random, 64, 16, specials), cell, random()));
  }
  struct Shape {
    int32_t srcX, srcY, w, h, destX, destY;
  };
  const Shape whole{0, 0, 74, 22, 10, 10};
  const std::vector<Shape> empty_requests = {
      {0, 0, 0, 22, 10, 10},   {0, 0, 74, 0, 10, 10},    {0, 0, -5, 22, 10, 10},
      {74, 0, 10, 22, 10, 10}, {-10, 0, 10, 22, 10, 10}, {0, 0, 5, 22, 10, 10},
      {0, 0, 74, 3, 10, 10},   {0, 0, 74, 22, 100, 10},  {0, 0, 74, 22, -74, 10},
      {0, 0, 74, 22, 10, 40},  {0, 0, 74, 22, 10, -22},
  };
  std::vector<std::pair<const FrameDescription*, Shape>> cases;
  for (const EncodedFrame& encoded : frames) {
    for (const Shape& shape : empty_requests) cases.push_back({&encoded.frame, shape});
  }
  std::vector<FrameDescription> odd_frames;
  for (uint32_t type : {4u, 7u, 255u, 0xFFFFFFFFu}) {
    odd_frames.push_back(frames[1].frame);
    odd_frames.back().type = type;
  }
  odd_frames.push_back(frames[3].frame);
  odd_frames.back().width = 40;
  for (const FrameDescription& frame : odd_frames) cases.push_back({&frame, whole});

  for (const auto& [name, draw] : EveryRoutine()) {
    for (const auto& [frame, shape] : cases) {
      const Destination before(90, 40, 1, random);
      Destination destination = before;
      draw(*frame, destination.Request(shape.srcX, shape.srcY, shape.w, shape.h, shape.destX,
                                       shape.destY, palette));
      EXPECT_EQ(destination.pixels, before.pixels)
          << name << " type " << frame->type << " width " << frame->width << " request "
          << shape.srcX << "," << shape.srcY << " " << shape.w << "x" << shape.h << " at "
          << shape.destX << "," << shape.destY;
    }
  }
}

TEST(FramePixels, ColourConversionKeepsTheLowBitsZero) {
  EXPECT_EQ(PixelFromRgb565(0xFFFF), 0xF8FCF8u);
  EXPECT_EQ(PixelFromRgb565(0xF800), 0xF80000u);
  EXPECT_EQ(PixelFromRgb565(0x07E0), 0x00FC00u);
  EXPECT_EQ(PixelFromRgb565(0x001F), 0x0000F8u);
  EXPECT_EQ(PixelFromRgb565(0x0821), 0x080408u);
  std::vector<uint16_t> palette(256);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint16_t>(i * 257);
  BuildPalette32(palette.data());
  for (size_t i = 0; i < palette.size(); ++i) {
    EXPECT_EQ(Palette32[i], PixelFromRgb565(palette[i])) << i;
  }
}

TEST(FramePixels, ShadowsAndHalfTransparencyStayInsideEachChannel) {
  EXPECT_EQ(Dark75(0xFFFFFF), 0x7F7F7Fu + 0x3F3F3Fu);
  EXPECT_EQ(Dark50(0xFFFFFF), 0x7F7F7Fu);
  EXPECT_EQ(Half(0xFFFFFF, 0), 0x7F7F7Fu);
  // The low bit of one channel never reaches the channel below it.
  EXPECT_EQ(Dark75(0x030303), 0x010101u);
  EXPECT_EQ(Dark50(0x010101), 0u);
  EXPECT_EQ(Half(0x010101, 0x010101), 0u);
  for (uint32_t pixel : {0xFF000000u, 0xFFFFFFFFu, 0x80FF00FFu}) {
    EXPECT_EQ(Dark75(pixel) >> 24, 0u);
    EXPECT_EQ(Dark50(pixel) >> 24, 0u);
    EXPECT_EQ(Half(pixel, pixel) >> 24, 0u);
  }
}

}  // namespace
}  // namespace qz::truecolour::testing
