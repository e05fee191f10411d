#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "draw_frame_test_support.h"
#include "truecolour/draw_frame_routines.h"

namespace qz::truecolour::testing {
namespace {

constexpr uint16_t kFlag = 0x07E0;

using Draw = std::function<void(const FrameDescription&, const FrameRequest&, bool mirror)>;

struct HandOver {
  const char* name;
  std::vector<uint32_t> types;
  Draw caller;
  Draw receiver;  // the call the caller must amount to
};

// A drawer that passes a frame on draws exactly what the receiving drawer draws with the
// arguments the caller hands over. Pictures hold every special value and are not symmetric, so a
// lost mirror flag, flip or flag colour changes the pixels.
TEST(DrawFrameHandOver, CallersDrawWhatTheirReceiversDraw) {
  const std::vector<HandOver> hand_overs = {
      {"DrawFrame to DrawFrameOpaque",
       {0, 2},
       [](auto& f, auto& r, bool m) { DrawFrame(f, r, m, false); },
       [](auto& f, auto& r, bool m) { DrawFrameOpaque(f, r, m, false); }},
      {"DrawFrame to DrawFrameFlagged",
       {3},
       [](auto& f, auto& r, bool m) { DrawFrame(f, r, m, false); },
       [](auto& f, auto& r, bool m) { DrawFrameFlagged(f, r, m, 0); }},
      {"DrawFrameShaded to DrawFrameOpaque",
       {0, 2},
       [](auto& f, auto& r, bool m) { DrawFrameShaded(f, r, m, kFlag, false); },
       [](auto& f, auto& r, bool m) { DrawFrameOpaque(f, r, m, false); }},
      {"DrawFrameShaded to DrawFrameFlagged",
       {3},
       [](auto& f, auto& r, bool m) { DrawFrameShaded(f, r, m, kFlag, false); },
       [](auto& f, auto& r, bool m) { DrawFrameFlagged(f, r, m, kFlag); }},
      {"DrawFrameFlagged to DrawFrameOpaque",
       {0, 2},
       [](auto& f, auto& r, bool m) { DrawFrameFlagged(f, r, m, kFlag); },
       [](auto& f, auto& r, bool m) { DrawFrameOpaque(f, r, m, false); }},
      {"DrawFrameFlagged to DrawFrameShaded",
       {1},
       [](auto& f, auto& r, bool m) { DrawFrameFlagged(f, r, m, kFlag); },
       [](auto& f, auto& r, bool m) { DrawFrameShaded(f, r, m, kFlag, false); }},
      {"DrawFrameOpaque to DrawFrame, flip dropped",
       {1},
       [](auto& f, auto& r, bool m) { DrawFrameOpaque(f, r, m, true); },
       [](auto& f, auto& r, bool m) { DrawFrame(f, r, m, true); }},
      {"DrawFrameOpaque to DrawFrameFlagged, flip dropped",
       {3},
       [](auto& f, auto& r, bool m) { DrawFrameOpaque(f, r, m, true); },
       [](auto& f, auto& r, bool m) { DrawFrameFlagged(f, r, m, 0); }},
      {"DrawFrameHalf without half to DrawFrame",
       {0, 1, 2, 3},
       [](auto& f, auto& r, bool m) { DrawFrameHalf(f, r, m, false); },
       [](auto& f, auto& r, bool m) { DrawFrame(f, r, m, true); }},
      {"DrawFrameHalf to DrawFrameOpaque",
       {0, 2},
       [](auto& f, auto& r, bool m) { DrawFrameHalf(f, r, m, true); },
       [](auto& f, auto& r, bool m) { DrawFrameOpaque(f, r, m, false); }},
      {"DrawFrameHalf to DrawFrameFlaggedHalf, mirror moved",
       {3},
       [](auto& f, auto& r, bool m) { DrawFrameHalf(f, r, m, true); },
       [](auto& f, auto& r, bool m) { DrawFrameFlaggedHalf(f, r, 0, m); }},
  };
  std::mt19937 random(17);
  const std::vector<uint16_t> palette = RandomPalette(random);
  std::vector<EncodedFrame> frames;
  for (uint32_t type = 0; type <= 3; ++type) {
    const std::vector<uint8_t> specials = type == 0   ? std::vector<uint8_t>{}
                                          : type == 1 ? std::vector<uint8_t>{0, 1, 4, 5, 6, 7, 9}
                                                      : std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6};
    frames.push_back(EncodeFrame(RandomPicture(random, 64, 24, specials),
                                 {type, 70, 30, 0, 0, 4, 2, 0, nullptr}, random()));
  }
  for (const HandOver& hand_over : hand_overs) {
    for (uint32_t type : hand_over.types) {
      const Destination before(80, 40, 2, random);
      std::vector<std::vector<uint32_t>> received;
      for (bool mirror : {false, true}) {
        Destination by_caller = before;
        Destination by_receiver = before;
        const FrameDescription& frame = frames[type].frame;
        hand_over.caller(frame, by_caller.Request(3, 1, 60, 26, 5, 4, palette), mirror);
        hand_over.receiver(frame, by_receiver.Request(3, 1, 60, 26, 5, 4, palette), mirror);
        EXPECT_EQ(by_caller.pixels, by_receiver.pixels)
            << hand_over.name << ", type " << type << ", mirror " << mirror;
        received.push_back(by_receiver.pixels);
      }
      // The comparison means something only if the receiver draws and mirroring shows.
      EXPECT_NE(received[0], before.pixels) << hand_over.name << ", type " << type;
      EXPECT_NE(received[0], received[1]) << hand_over.name << ", type " << type;
    }
  }
}

// Layouts a drawer neither draws nor passes on leave the destination alone.
TEST(DrawFrameHandOver, LayoutsADrawerDoesNotTakeDrawNothing) {
  const std::vector<std::pair<std::vector<uint32_t>, Draw>> refusals = {
      {{0, 2, 3}, [](auto& f, auto& r, bool m) { DrawFrameShaded(f, r, m, kFlag, true); }},
      {{0, 1, 2}, [](auto& f, auto& r, bool m) { DrawFrameFlaggedHalf(f, r, kFlag, m); }},
      {{0, 1, 2}, [](auto& f, auto& r, bool m) { DrawFrameShadowPacked(f, r, m, {}); }},
      {{0, 1, 3}, [](auto& f, auto& r, bool m) { DrawFrameShadowRows(f, r, m, true); }},
  };
  std::mt19937 random(19);
  const std::vector<uint16_t> palette = RandomPalette(random);
  for (const auto& [types, draw] : refusals) {
    for (uint32_t type : types) {
      const std::vector<uint8_t> specials =
          type == 0 ? std::vector<uint8_t>{} : std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6};
      const EncodedFrame encoded = EncodeFrame(RandomPicture(random, 32, 8, specials),
                                               {type, 32, 8, 0, 0, 0, 0, 0, nullptr}, 5);
      const Destination before(32, 8, 0, random);
      Destination destination = before;
      draw(encoded.frame, destination.Request(0, 0, 32, 8, 0, 0, palette), true);
      EXPECT_EQ(destination.pixels, before.pixels) << "type " << type;
    }
  }
}

}  // namespace
}  // namespace qz::truecolour::testing
