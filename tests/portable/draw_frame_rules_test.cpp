#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "draw_frame_test_support.h"
#include "truecolour/draw_frame_routines.h"
#include "truecolour/palette32.h"
#include "truecolour/pixel_operations.h"

namespace qz::truecolour::testing {
namespace {

constexpr uint16_t kFlagColour = 0xF81F;

// What a drawer does with one kind of sample.
enum class Effect { kKeep, kPalette, kHalfPalette, kDark75, kDark50, kFlag, kHalfFlag };

// One row: three raw pixels, then a run of three pixels of every special value, then three raw.
FramePicture EveryKeyRow(const std::vector<uint8_t>& specials) {
  FramePicture picture{0, 1, {}};
  for (int index : {17, 200, 3}) picture.samples.push_back({false, static_cast<uint8_t>(index)});
  for (uint8_t value : specials) picture.samples.insert(picture.samples.end(), 3, {true, value});
  for (int index : {255, 0, 42}) picture.samples.push_back({false, static_cast<uint8_t>(index)});
  // Type 3 needs whole blocks; the tail is transparent.
  while (picture.samples.size() % 32 != 0) picture.samples.push_back({true, 0});
  picture.width = static_cast<int32_t>(picture.samples.size());
  return picture;
}

struct RuleCase {
  const char* name;
  uint32_t type;
  std::function<void(const FrameDescription&, const FrameRequest&)> draw;
  Effect raw;
  std::map<uint8_t, Effect> runs;
  Effect other_runs = Effect::kKeep;
};

TEST(DrawFrameRules, SpecialIndicesAndCodesOfEveryDrawer) {
  using enum Effect;
  const std::vector<RuleCase> cases = {
      {"DrawFrame, runs painted",
       1,
       [](auto& f, auto& r) { DrawFrame(f, r, false, false); },
       kPalette,
       {},
       kPalette},
      {"DrawFrame, transparent runs",
       1,
       [](auto& f, auto& r) { DrawFrame(f, r, false, true); },
       kPalette,
       {}},
      {"DrawFrameShaded without flag colour",
       1,
       [](auto& f, auto& r) { DrawFrameShaded(f, r, false, 0, false); },
       kPalette,
       {{1, kDark75}, {7, kDark75}, {4, kDark50}, {6, kDark50}}},
      {"DrawFrameShaded with flag colour",
       1,
       [](auto& f, auto& r) { DrawFrameShaded(f, r, false, kFlagColour, false); },
       kPalette,
       {{1, kDark75}, {4, kDark50}, {5, kFlag}, {6, kFlag}, {7, kFlag}}},
      {"DrawFrameShaded half-transparent",
       1,
       [](auto& f, auto& r) { DrawFrameShaded(f, r, false, kFlagColour, true); },
       kHalfPalette,
       {{1, kDark75}, {4, kDark50}, {5, kFlag}, {6, kFlag}, {7, kFlag}}},
      {"DrawFrameHalf",
       1,
       [](auto& f, auto& r) { DrawFrameHalf(f, r, false, true); },
       kHalfPalette,
       {}},
      {"DrawFrameFlagged with flag colour",
       3,
       [](auto& f, auto& r) { DrawFrameFlagged(f, r, false, kFlagColour); },
       kPalette,
       {{5, kFlag}}},
      {"DrawFrameFlagged without flag colour",
       3,
       [](auto& f, auto& r) { DrawFrameFlagged(f, r, false, 0); },
       kPalette,
       {}},
      {"DrawFrameFlaggedHalf with flag colour",
       3,
       [](auto& f, auto& r) { DrawFrameFlaggedHalf(f, r, kFlagColour, false); },
       kHalfPalette,
       {{5, kHalfFlag}}},
      {"DrawFrameFlaggedHalf without flag colour",
       3,
       [](auto& f, auto& r) { DrawFrameFlaggedHalf(f, r, 0, false); },
       kHalfPalette,
       {}},
      {"DrawFrameShadowPacked",
       3,
       [](auto& f, auto& r) { DrawFrameShadowPacked(f, r, false, {}); },
       kKeep,
       {{1, kDark75}, {4, kDark50}}},
      {"DrawFrameOpaque",
       2,
       [](auto& f, auto& r) { DrawFrameOpaque(f, r, false, false); },
       kPalette,
       {}},
      {"DrawFrameShadowRows",
       2,
       [](auto& f, auto& r) { DrawFrameShadowRows(f, r, false, false); },
       kKeep,
       {{1, kDark75}, {2, kDark75}, {3, kDark50}, {4, kDark50}}},
  };
  std::mt19937 random(11);
  const std::vector<uint16_t> palette = RandomPalette(random);
  const auto colour = [&](uint8_t index) { return PixelFromRgb565(palette[index]); };
  for (const RuleCase& rule : cases) {
    const FramePicture picture =
        EveryKeyRow(rule.type == 1 ? std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 100, 254}
                                   : std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6});
    const FrameDescription cell{rule.type, picture.width, 1, 0, 0, 0, 0, 0, nullptr};
    const EncodedFrame encoded = EncodeFrame(picture, cell, 1);
    const Destination before(picture.width, 1, 0, random);
    Destination destination = before;
    rule.draw(encoded.frame, destination.Request(0, 0, picture.width, 1, 0, 0, palette));
    for (int32_t x = 0; x < picture.width; ++x) {
      const PictureSample sample = picture.At(x, 0);
      const uint32_t old = before.pixels[x];
      Effect effect = rule.raw;
      if (sample.special) {
        const auto found = rule.runs.find(sample.value);
        effect = found == rule.runs.end() ? rule.other_runs : found->second;
      }
      const uint32_t expected = std::map<Effect, uint32_t>{
          {kKeep, old},
          {kPalette, colour(sample.value)},
          {kHalfPalette, Half(colour(sample.value), old)},
          {kDark75, Dark75(old)},
          {kDark50, Dark50(old)},
          {kFlag, PixelFromRgb565(kFlagColour)},
          {kHalfFlag, Half(PixelFromRgb565(kFlagColour),
                           old)}}.at(effect);
      EXPECT_EQ(destination.pixels[x], expected)
          << rule.name << ": column " << x << (sample.special ? " special " : " index ")
          << int{sample.value};
    }
  }
}

// The shadow-only drawers darken what is there without a palette to read.
TEST(DrawFrameRules, ShadowDrawersNeedNoPalette) {
  std::mt19937 random(12);
  const FramePicture picture = RandomPicture(random, 32, 4, {1, 4});
  for (uint32_t type : {2u, 3u}) {
    const EncodedFrame encoded = EncodeFrame(picture, {type, 32, 4, 0, 0, 0, 0, 0, nullptr}, type);
    const Destination before(32, 4, 0, random);
    Destination destination = before;
    FrameRequest request = destination.Request(0, 0, 32, 4, 0, 0, {});
    request.palette = nullptr;
    if (type == 2) {
      DrawFrameShadowRows(encoded.frame, request, true, true);
    } else {
      DrawFrameShadowPacked(encoded.frame, request, true, {});
    }
    EXPECT_NE(destination.pixels, before.pixels) << "type " << type;
  }
}

// Records every run offered, takes over code-2 runs (writing a marker and moving the pointer past
// them) and, when asked, moves the pointer one pixel on for other codes but leaves them.
struct CallbackRecorder {
  struct Call {
    int32_t code, count, step;
    ptrdiff_t position;  // of the pointer at the call, in pixels from the row start
  };
  uint32_t* row = nullptr;
  bool shift_others = false;
  std::vector<Call> calls;

  static int32_t Offer(void* context, int32_t code, uint32_t** destination, int32_t count,
                       int32_t step) {
    auto& recorder = *static_cast<CallbackRecorder*>(context);
    recorder.calls.push_back({code, count, step, *destination - recorder.row});
    if (code != 2) {
      if (recorder.shift_others) *destination += step;
      return 0;
    }
    for (int32_t k = 0; k < count; ++k) {
      if (step < 0) --*destination;
      **destination = 0xC0FFEE;
      if (step > 0) ++*destination;
    }
    return 1;
  }
};

// Requests start inside the first run and exactly where the second begins (no empty offer),
// with and without mirror, with a callback that refuses after moving the pointer and one that
// leaves it.
TEST(DrawFrameRules, CallbackTakesOverRunsOnlyWhenItSaysSo) {
  // One row of 32 pixels, segments written out: columns 0-2 code 1, 3-6 code 2, 7-8 raw,
  // 9-11 code 4, 12-31 code 0.
  const uint8_t data[] = {2, 0, 1 << 5 | 2, 2 << 5 | 3, 7 << 5 | 1, 9, 9, 4 << 5 | 2, 0 << 5 | 19};
  const FrameDescription frame{3, 32, 1, 32, 1, 0, 0, 0, data};
  struct Run {
    int32_t code, begin, end;
  };
  const Run runs[] = {{1, 0, 3}, {2, 3, 7}, {4, 9, 12}, {0, 12, 32}};
  std::mt19937 random(13);
  for (int32_t first : {1, 3}) {
    for (bool mirror : {false, true}) {
      for (bool shift : {false, true}) {
        const Destination before(32, 1, 0, random);
        Destination destination = before;
        CallbackRecorder recorder{destination.pixels.data(), shift, {}};
        // Cell columns first..31; under mirror they are mirrored columns 0..31-first.
        const int32_t width = 32 - first;
        DrawFrameShadowPacked(frame, destination.Request(mirror ? 0 : first, 0, width, 1, 0, 0, {}),
                              mirror, {&CallbackRecorder::Offer, &recorder});
        const std::string trace = "first column " + std::to_string(first) + ", mirror " +
                                  std::to_string(mirror) + ", shift " + std::to_string(shift);
        // Destination column of cell column x; without mirror the pointer offered sits on a
        // run's first pixel, with mirror just right of it.
        const auto at = [&](int32_t x) { return mirror ? 31 - x : x - first; };
        const int32_t step = mirror ? -1 : 1;
        const int32_t moved = shift ? step : 0;
        std::vector<uint32_t> expected = before.pixels;
        int32_t shifted = 0;  // by refusing offers so far
        size_t offer = 0;
        for (const Run& run : runs) {
          if (run.end <= first) continue;
          const int32_t begin = std::max(run.begin, first);
          ASSERT_LT(offer, recorder.calls.size()) << trace;
          const CallbackRecorder::Call& call = recorder.calls[offer++];
          EXPECT_EQ(call.code, run.code) << trace;
          EXPECT_EQ(call.count, run.end - begin) << trace;
          EXPECT_EQ(call.step, step) << trace;
          EXPECT_EQ(call.position, at(begin) + (mirror ? 1 : 0) + shifted) << trace;
          if (run.code != 2) shifted += moved;
          if (run.code == 0) continue;  // left alone; its shifted span may leave the row
          for (int32_t x = begin; x < run.end; ++x) {
            uint32_t& pixel = expected[at(x) + shifted];
            pixel = run.code == 2 ? 0xC0FFEE : run.code == 1 ? Dark75(pixel) : Dark50(pixel);
          }
        }
        EXPECT_EQ(offer, recorder.calls.size()) << trace;
        EXPECT_EQ(destination.pixels, expected) << trace;
      }
    }
  }
}

}  // namespace
}  // namespace qz::truecolour::testing
