// The game on screen: frames drawn into the locked surface and shown through the primary
// surface, the window's size, paint, mouse, filter keys and full-screen toggle, all observed
// through the window's client pixels and the game's own records.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/settings.h"
#include "game/game_calls.h"
#include "game/game_image.h"
#include "game/game_session.h"
#include "game/game_window.h"
#include "game/x86_code.h"
#include "parallel/worker_count.h"
#include "present/display_objects.h"
#include "present/filter_switch.h"
#include "present/frame_pipeline.h"
#include "present/present_routines.h"
#include "present/presentation.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace qz::testing {
namespace {

using namespace standin::game;

using standin::host::Settings;

Settings WithFilter(int32_t filter) {
  Settings settings;
  settings.filter = filter;
  return settings;
}

// The picture the pipeline makes of the locked frame, on buffers of its own laid out as the
// plug-in's images are, and the part of it a whole-frame present transfers to the window.
struct ExpectedPicture {
  std::vector<uint32_t> pixels;
  present::PictureArea area;
};

ExpectedPicture PictureOf(int32_t filter, const LockedSurface& frame) {
  const int32_t width = core::dstW;
  const int32_t height = core::dstH;
  const present::ImageBuffer& doubled_image = *present::DoubleImage;
  const present::ImageBuffer& output_image = *present::OutputImage;
  const int32_t pitch = output_image.pitch;
  std::vector<uint32_t> doubled(static_cast<size_t>(doubled_image.pitch) *
                                (doubled_image.height + present::kSpare));
  std::vector<uint32_t> output(static_cast<size_t>(pitch) *
                               (output_image.height + present::kSpare));
  std::vector<uint32_t> boundary(static_cast<size_t>(pitch) * parallel::kMaxBands);
  present::PresentationImages images{{frame.pixels, frame.pitch_pixels, 0, 0},
                                     {doubled.data(), doubled_image.pitch, 0, 0},
                                     {output.data(), pitch, 0, 0},
                                     {boundary.data(), pitch, parallel::kMaxBands}};
  ExpectedPicture expected;
  expected.area = present::PresentRectangle(filter, images, present::CurrentGeometry(), 0, 0,
                                            core::srcW - 1, core::srcH - 1);
  expected.pixels.resize(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) expected.pixels[y * width + x] = output[y * pitch + x];
  }
  return expected;
}

void ExpectPictureInWindow(const Screenshot& shot, const ExpectedPicture& expected) {
  int mismatches = 0;
  for (int32_t y = expected.area.top; y <= expected.area.bottom; ++y) {
    for (int32_t x = expected.area.left; x <= expected.area.right; ++x) {
      if (shot.At(x + core::dstX, y + core::dstY) != expected.pixels[y * core::dstW + x]) {
        ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// One game per process, as in the game: each filter is its own test.
class FilterOnScreen : public ::testing::TestWithParam<int32_t> {};

TEST_P(FilterOnScreen, AFrameShownThroughThePrimaryAppearsEnlargedAtThePictureRectangle) {
  const int32_t filter = GetParam();
  GameSession session;
  StartGame(session, WithFilter(filter));
  ResizeClient(session.window, 1200, 1000);
  ASSERT_EQ(core::dstW, 1200);
  ASSERT_EQ(core::dstY, 50);
  DrawTestFrame(session.frame_surface, 5);
  PresentFrame(session.primary, {0, 0, 799, 599});
  ExpectPictureInWindow(TakeScreenshot(session.window),
                        PictureOf(filter, LockSurface(session.frame_surface)));
}

INSTANTIATE_TEST_SUITE_P(GameOnScreen, FilterOnScreen, ::testing::Range(0, 13));

// A window larger than the screen (1920 x 1080, so the images were made 1920 x 1200), as on a
// larger second monitor: the images grow and the whole picture is drawn into them at once.
class LargerThanTheScreen : public ::testing::TestWithParam<int32_t> {};

TEST_P(LargerThanTheScreen, TheImagesGrowAndTheWholePictureFillsTheWindow) {
  const int32_t filter = GetParam();
  GameSession session;
  StartGame(session, WithFilter(filter));
  DrawTestFrame(session.frame_surface, 8);
  PresentFrame(session.primary, {0, 0, 799, 599});
  ResizeClient(session.window, 2560, 1400);
  ASSERT_EQ(core::dstW, 1866);
  ASSERT_EQ(core::dstH, 1400);
  ASSERT_EQ(core::dstX, 347);
  ExpectPictureInWindow(TakeScreenshot(session.window),
                        PictureOf(filter, LockSurface(session.frame_surface)));
  // And the next frame goes to the grown images.
  DrawTestFrame(session.frame_surface, 9);
  PresentFrame(session.primary, {0, 0, 799, 599});
  ExpectPictureInWindow(TakeScreenshot(session.window),
                        PictureOf(filter, LockSurface(session.frame_surface)));
}

INSTANTIATE_TEST_SUITE_P(GameOnScreen, LargerThanTheScreen, ::testing::Values(0, 3, 5, 12));

TEST(GameOnScreen, WithoutMemoryForLargerImagesThePictureIsLimitedCentredAndLoggedOnce) {
  GameSession session;
  StartGame(session, WithFilter(9));
  DrawTestFrame(session.frame_surface, 2);
  win32::SetGdiObjectQuota(win32::LiveGdiObjectCount());
  ResizeClient(session.window, 2600, 1500);
  ResizeClient(session.window, 2560, 1400);
  EXPECT_EQ(core::dstW, 1600);
  EXPECT_EQ(core::dstH, 1200);
  EXPECT_EQ(core::dstX, 480);
  EXPECT_EQ(core::dstY, 100);
  EXPECT_EQ(session.clip_rect.bottom, 1300);
  const auto& lines = standin::host::LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "ERROR: NO MEMORY FOR A PICTURE OF THE WINDOW'S SIZE, PICTURE LIMITED"),
            1);
  PresentFrame(session.primary, {0, 0, 799, 599});
  const ExpectedPicture picture = PictureOf(9, LockSurface(session.frame_surface));
  ExpectPictureInWindow(TakeScreenshot(session.window), picture);
  // Painting keeps the whole picture and blacks all four sides.
  InvalidateRect(session.window, nullptr, FALSE);
  standin::game::SendToGameWindow(WM_PAINT, 0, 0);
  const Screenshot shot = TakeScreenshot(session.window);
  ExpectPictureInWindow(shot, picture);
  for (const POINT border : {POINT{0, 0}, POINT{479, 700}, POINT{2080, 700}, POINT{1200, 99},
                             POINT{1200, 1300}, POINT{2559, 1399}}) {
    EXPECT_EQ(shot.At(border.x, border.y) & 0xFFFFFF, 0u) << border.x << "," << border.y;
  }
}

TEST(GameOnScreen, NearestDoublesEveryPixel) {
  GameSession session;
  StartGame(session, WithFilter(0));
  ResizeClient(session.window, 1600, 1200);
  DrawTestFrame(session.frame_surface, 9);
  PresentFrame(session.primary, {0, 0, 799, 599});
  const LockedSurface frame = LockSurface(session.frame_surface);
  const Screenshot shot = TakeScreenshot(session.window);
  int mismatches = 0;
  for (int32_t y = 0; y < 1200; ++y) {
    for (int32_t x = 0; x < 1600; ++x) {
      if (shot.At(x, y) != frame.pixels[(y / 2) * frame.pitch_pixels + x / 2]) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(GameOnScreen, APictureOfTheFramesSizeIsCopiedOneToOne) {
  GameSession session;
  StartGame(session, WithFilter(9));
  ResizeClient(session.window, 1600, 600);
  EXPECT_EQ(core::dstX, 400);
  EXPECT_EQ(core::dstW, 800);
  EXPECT_EQ(session.clip_rect.left, 400);
  EXPECT_EQ(session.clip_rect.right, 1200);
  EXPECT_EQ(session.clip_rect.bottom, 600);
  DrawTestFrame(session.frame_surface, 3);
  PresentFrame(session.primary, {10, 20, 300, 400});
  const LockedSurface frame = LockSurface(session.frame_surface);
  const Screenshot shot = TakeScreenshot(session.window);
  int mismatches = 0;
  for (int32_t y = 20; y <= 400; ++y) {
    for (int32_t x = 10; x <= 300; ++x) {
      if (shot.At(x + 400, y) != frame.pixels[y * frame.pitch_pixels + x]) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// Unused method slots hold markers: 0x..00 + slot up to slot 9, then the slot's decimal digits.
TEST(GameOnScreen, UnusedSlotsOfTheEmulatedObjectsHoldTheirMarkers) {
  GameSession session;
  StartGame(session, WithFilter(9));
  auto* display = static_cast<present::DisplayObject*>(session.direct_draw);
  auto* surface =
      static_cast<present::SurfaceObject*>(CreateSurface(session.direct_draw, 64, 64, false));
  const auto marker = [](void* slot) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(slot));
  };
  EXPECT_EQ(display->table, display->slots);
  EXPECT_EQ(surface->table, surface->slots);
  const struct {
    void* const* slots;
    int slot;
    uint32_t expected;
  } cases[] = {{display->slots, 0, 0xDDDDDD00},  {display->slots, 9, 0xDDDDDD09},
               {display->slots, 10, 0xDDDD0010}, {display->slots, 22, 0xDDDD0022},
               {surface->slots, 0, 0xEEEEEE00},  {surface->slots, 3, 0xEEEEEE03},
               {surface->slots, 23, 0xEEEE0023}, {surface->slots, 35, 0xEEEE0035}};
  for (const auto& c : cases) EXPECT_EQ(marker(c.slots[c.slot]), c.expected) << c.slot;
}

// At creation either matching side picks the one-to-one copy; later both must match.
TEST(GameOnScreen, CreationAndSelectionDifferOnOneMatchingSide) {
  GameSession session;
  StartGame(session, WithFilter(9));
  core::dstW = core::srcW;
  core::dstH = core::srcH + 1;
  void* primary = CreateSurface(session.direct_draw, 0, 0, true);
  auto* surface = static_cast<present::SurfaceObject*>(primary);
  EXPECT_EQ(surface->slots[5], reinterpret_cast<void*>(&present::OneToOnePresent));
  present::SelectPresent();
  EXPECT_NE(surface->slots[5], reinterpret_cast<void*>(&present::OneToOnePresent));
}

// Each method of the two objects, called as the game calls it with the published number of
// arguments (the game's caller checks that exactly those are removed), answers 0.
TEST(GameOnScreen, EveryDisplayMethodTakesItsPublishedArgumentsAndAnswersZero) {
  GameSession session;
  StartGame(session, WithFilter(9));
  const uint32_t window = Word(session.window);
  uint32_t out = 0;
  const std::pair<int, std::vector<uint32_t>> display_calls[] = {
      {4, {0, Word(&out), 0}}, {19, {}}, {20, {window, 8}}, {21, {800, 600, 16}}};
  for (const auto& [slot, arguments] : display_calls) {
    EXPECT_EQ(CallMethod(session.direct_draw, slot, arguments), 0u) << slot;
  }
  uint32_t format[8] = {0, 0, 0x12345678, 0, 0, 0, 0, 7};
  uint8_t description[108] = {};
  RECT rectangle{0, 0, 9, 9};
  const std::pair<int, std::vector<uint32_t>> surface_calls[] = {
      {5, {Word(&rectangle), 0, 0, 0, 0}},
      {21, {Word(format)}},
      {22, {Word(description)}},
      {24, {}},
      {25, {0, Word(description), 1, 0}},
      {27, {}},
      {28, {0}},
      {29, {8, 0}},
      {32, {0}},
      {2, {}}};
  for (const auto& [slot, arguments] : surface_calls) {
    EXPECT_EQ(CallMethod(session.primary, slot, arguments), 0u) << slot;
  }
  EXPECT_EQ(format[0], 32u);
  EXPECT_EQ(format[1], 0x40u);
  EXPECT_EQ(format[2], 0x12345678u) << "the four-character code stays";
  EXPECT_EQ(format[3], 32u);
  EXPECT_EQ(format[4], 0xFF0000u);
  EXPECT_EQ(format[5], 0xFF00u);
  EXPECT_EQ(format[6], 0xFFu);
  EXPECT_EQ(format[7], 0u);
  const int32_t live = LiveHeapBlocks();
  EXPECT_EQ(CallMethod(session.direct_draw, 2, {}), 0u);
  EXPECT_EQ(LiveHeapBlocks(), live - 1) << "released to the game's heap";
}

TEST(GameOnScreen, PaintingRepaintsTheExposedAreaWithBlackBorders) {
  GameSession session;
  StartGame(session, WithFilter(0));
  ResizeClient(session.window, 1600, 600);
  DrawTestFrame(session.frame_surface, 4);
  PresentFrame(session.primary, {0, 0, 799, 599});
  const Screenshot before = TakeScreenshot(session.window);
  HDC dc = GetDC(session.window);
  PatBlt(dc, 0, 0, 1600, 600, WHITENESS);
  ReleaseDC(session.window, dc);
  InvalidateRect(session.window, nullptr, FALSE);
  EXPECT_EQ(win32::DispatchPaint(session.window), 1) << "one WM_PAINT validates the window";
  const Screenshot after = TakeScreenshot(session.window);
  // The border fills reach one pixel into the picture: its first column and its last row.
  int picture_mismatches = 0;
  for (int32_t y = 0; y < 599; ++y) {
    for (int32_t x = 401; x < 1200; ++x) picture_mismatches += before.At(x, y) != after.At(x, y);
  }
  EXPECT_EQ(picture_mismatches, 0);
  EXPECT_EQ(after.At(400, 10) & 0xFFFFFF, 0u);
  EXPECT_EQ(after.At(700, 599) & 0xFFFFFF, 0u);
  for (int32_t y = 0; y < 600; y += 37) {
    EXPECT_EQ(after.At(0, y) & 0xFFFFFF, 0u);
    EXPECT_EQ(after.At(399, y) & 0xFFFFFF, 0u);
    EXPECT_EQ(after.At(1200, y) & 0xFFFFFF, 0u);
    EXPECT_EQ(after.At(1599, y) & 0xFFFFFF, 0u);
  }
  // The game's own procedure never sees WM_PAINT.
  const auto& messages = standin::game::Record().messages;
  EXPECT_EQ(std::count(messages.begin(), messages.end(), UINT{WM_PAINT}), 0);
}

TEST(GameOnScreen, PaintBeforeTheGameHasItsScreenValidatesAndDrawsNothing) {
  GameSession session;
  StartGame(session, WithFilter(0));
  DrawTestFrame(session.frame_surface, 4);
  PresentFrame(session.primary, {0, 0, 799, 599});
  for (uint32_t cell : kPaintPointerCells) standin::Cell<void*>(cell) = nullptr;
  HDC dc = GetDC(session.window);
  PatBlt(dc, 0, 0, 4096, 4096, WHITENESS);
  ReleaseDC(session.window, dc);
  InvalidateRect(session.window, nullptr, FALSE);
  EXPECT_EQ(win32::DispatchPaint(session.window), 1) << "one WM_PAINT validates the window";
  const Screenshot after = TakeScreenshot(session.window);
  EXPECT_EQ(std::count(after.pixels.begin(), after.pixels.end(), after.pixels[0]),
            static_cast<ptrdiff_t>(after.pixels.size()));
  EXPECT_EQ(after.pixels[0] & 0xFFFFFF, 0xFFFFFFu) << "nothing drawn over the window";
}

// Window points go to the frame through the picture rectangle's offset and scale on both axes:
// bars left and right (pillarboxed) or above and below (letterboxed).
TEST(GameOnScreen, MouseAndCursorPositionsReachTheGameInFrameCoordinates) {
  struct Case {
    int32_t client_width, client_height;
    POINT client, frame;
  };
  const Case cases[] = {
      {2000, 900, {700, 450}, {200, 300}},   // picture 1200 x 900 at x 400
      {1000, 1000, {500, 500}, {400, 300}},  // picture 1000 x 750 at y 125
      {1000, 1000, {0, 50}, {0, -60}},       // above the picture in a window: passed on as is
  };
  GameSession session;
  StartGame(session, WithFilter(0));
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.client_width << "x" << c.client_height);
    ResizeClient(session.window, c.client_width, c.client_height);
    SendToGameWindow(WM_MOUSEMOVE, 0, MAKELPARAM(c.client.x, c.client.y));
    EXPECT_EQ(Record().message_lparams.back(), MAKELPARAM(c.frame.x, c.frame.y));
    POINT origin{0, 0};
    ClientToScreen(session.window, &origin);
    SetCursorPos(origin.x + c.client.x, origin.y + c.client.y);
    POINT frame_point{};
    EXPECT_TRUE(GameCursorPosition(&frame_point));
    EXPECT_EQ(frame_point.x, c.frame.x);
    EXPECT_EQ(frame_point.y, c.frame.y);
  }
  // A failed query reaches the game as a failure.
  win32::SetCursorPositionFails(true);
  POINT frame_point{};
  EXPECT_FALSE(GameCursorPosition(&frame_point));
}

// With no picture (no frame size from the host) the window maps one to one onto the frame: mouse
// messages keep their client positions and the query gives the same client position.
TEST(GameOnScreen, WithoutAPictureMouseMessagesAndTheQueryAgreeOnClientPositions) {
  GameSession session;
  Settings settings;
  settings.frame_width = 0;
  StartGame(session, settings, false);
  ASSERT_EQ(core::dstW, 0);
  standin::game::SendToGameWindow(WM_MOUSEMOVE, 0, MAKELPARAM(500, 300));
  EXPECT_EQ(standin::game::Record().message_lparams.back(), MAKELPARAM(500, 300));
  POINT origin{0, 0};
  ClientToScreen(session.window, &origin);
  SetCursorPos(origin.x + 500, origin.y + 300);
  POINT frame_point{};
  standin::game::GameCursorPosition(&frame_point);
  EXPECT_EQ(frame_point.x, 500);
  EXPECT_EQ(frame_point.y, 300);
}

// Only the changed rectangle grown by one output pixel (two frame pixels before a 2x stage)
// reaches the window: on a blackened window the shown area is exactly that rectangle.
struct GrowthCase {
  int32_t filter;
  RECT shown;  // inclusive, for the frame rectangle (100, 100, 199, 149) in a 1000 x 750 window
};

class ChangedRectangleGrowth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(ChangedRectangleGrowth, AnInteriorRectangleIsShownGrownByExactlyTheFiltersNeighbourhood) {
  const GrowthCase& c = GetParam();
  GameSession session;
  StartGame(session, WithFilter(c.filter));
  ResizeClient(session.window, 1000, 750);
  const LockedSurface frame = LockSurface(session.frame_surface);
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) frame.pixels[y * frame.pitch_pixels + x] = 0x404040;
  }
  HDC dc = GetDC(session.window);
  PatBlt(dc, 0, 0, 1000, 750, BLACKNESS);
  ReleaseDC(session.window, dc);
  PresentFrame(session.primary, {100, 100, 199, 149});
  const Screenshot shot = TakeScreenshot(session.window);
  RECT lit{shot.width, shot.height, -1, -1};
  for (int32_t y = 0; y < shot.height; ++y) {
    for (int32_t x = 0; x < shot.width; ++x) {
      if ((shot.At(x, y) & 0xFFFFFF) == 0) continue;
      ASSERT_EQ(shot.At(x, y) & 0xFFFFFF, 0x404040u) << x << "," << y;
      lit = {std::min<LONG>(lit.left, x), std::min<LONG>(lit.top, y), std::max<LONG>(lit.right, x),
             std::max<LONG>(lit.bottom, y)};
    }
  }
  EXPECT_EQ(lit.left, c.shown.left);
  EXPECT_EQ(lit.top, c.shown.top);
  EXPECT_EQ(lit.right, c.shown.right);
  EXPECT_EQ(lit.bottom, c.shown.bottom);
}

INSTANTIATE_TEST_SUITE_P(SingleStageAnd2x, ChangedRectangleGrowth,
                         ::testing::Values(GrowthCase{0, {123, 123, 250, 187}},
                                           GrowthCase{4, {124, 124, 249, 186}}),
                         [](const auto& growth) {
                           return "Filter" + std::to_string(growth.param.filter);
                         });

TEST(GameOnScreen, FullScreenLimitsMousePositionsToTheFrame) {
  GameSession session;
  StartGame(session, WithFilter(0));
  standin::game::RunCommand(40009);
  standin::game::SendToGameWindow(WM_MOUSEMOVE, 0, MAKELPARAM(0, 2000));
  EXPECT_EQ(standin::game::Record().message_lparams.back(), MAKELPARAM(0, 599));
  SetCursorPos(1919, 0);
  POINT frame_point{};
  standin::game::GameCursorPosition(&frame_point);
  EXPECT_EQ(frame_point.x, 799);
  EXPECT_EQ(frame_point.y, 0);
}

TEST(GameOnScreen, ControlAndNumericPlusCyclesTheFilterAndNamesIt) {
  GameSession session;
  StartGame(session, WithFilter(12));
  win32::SetKeyDown(VK_CONTROL, true);
  standin::game::SendToGameWindow(WM_KEYDOWN, 0x6B, 0);
  EXPECT_EQ(core::FilterIndex, 0);
  ASSERT_FALSE(standin::game::Record().game_messages.empty());
  EXPECT_EQ(standin::game::Record().game_messages.back(), "Nearest");
  EXPECT_EQ(standin::game::ScreenManagerMessageField(), -1);
  standin::game::SendToGameWindow(WM_KEYDOWN, 0x6D, 0);
  EXPECT_EQ(core::FilterIndex, 12);
  EXPECT_EQ(standin::game::Record().game_messages.back(), "xBRZ + Bicubic");
  win32::SetKeyDown(VK_CONTROL, false);
  standin::game::SendToGameWindow(WM_KEYDOWN, 0x6B, 0);
  EXPECT_EQ(core::FilterIndex, 12);
  standin::game::JoinGameThreads();
}

TEST(GameOnScreen, QuickSwitchesSkipTheMessageLineOnce) {
  GameSession session;
  StartGame(session, WithFilter(2));
  win32::SetSleepScale(100);
  win32::SetKeyDown(VK_CONTROL, true);
  for (int i = 0; i < 3; ++i) standin::game::SendToGameWindow(WM_KEYDOWN, 0x6B, 0);
  standin::game::JoinGameThreads();
  EXPECT_EQ(present::PendingTimers.load(), 0);
  EXPECT_EQ(present::SkipPending.load(), 1);
  const int32_t passes = standin::game::Record().message_line_passes;
  standin::game::PassMessageLine();
  EXPECT_EQ(standin::game::Record().message_line_passes, passes);
  standin::game::PassMessageLine();
  EXPECT_EQ(standin::game::Record().message_line_passes, passes + 1);
}

TEST(GameOnScreen, Command40009TogglesFullScreenAndBack) {
  GameSession session;
  StartGame(session, WithFilter(9));
  EXPECT_EQ(standin::game::RunCommand(40009), 0);
  win32::WindowPlacement placement{};
  ASSERT_TRUE(win32::GetPlacement(session.window, &placement));
  EXPECT_EQ(placement.style, DWORD{WS_POPUP | WS_VISIBLE});
  EXPECT_TRUE(placement.top_most);
  EXPECT_EQ(placement.window.right - placement.window.left, 1920);
  EXPECT_EQ(placement.window.bottom - placement.window.top, 1080);
  EXPECT_EQ(standin::game::RunCommand(40009), 0);
  ASSERT_TRUE(win32::GetPlacement(session.window, &placement));
  EXPECT_EQ(placement.style, DWORD{core::WindowStyle});
  EXPECT_FALSE(placement.top_most);
  EXPECT_EQ(placement.window.left, 100);
  EXPECT_EQ(placement.window.top, 50);
  // The window is sized for a windowed client area of the frame's size (menu included); the new
  // frame takes effect on the client area with the next size change, as on Windows.
  RECT expected{0, 0, 800, 600};
  AdjustWindowRectEx(&expected, core::WindowStyle, TRUE, 0);
  EXPECT_EQ(placement.window.right - placement.window.left, expected.right - expected.left);
  EXPECT_EQ(placement.window.bottom - placement.window.top, expected.bottom - expected.top);
  EXPECT_EQ(standin::game::Record().mode_changes, 4);
  // Other commands reach the game's own handler.
  EXPECT_EQ(standin::game::RunCommand(123), 7);
  EXPECT_EQ(standin::game::Record().commands.back(), 123);
}

// The game's other calls into the window handling: its window rectangles, the two imports that
// do nothing, the placement after its call, the filter keys with Alt held, activation and moves.
TEST(GameOnScreen, TheGamesWindowCallsReachTheirReplacements) {
  GameSession session;
  StartGame(session, WithFilter(9));
  win32::SetWorkArea({0, 0, 600, 400});
  RECT expected{10, 20, 810, 620};
  AdjustWindowRectEx(&expected, core::WindowStyle, TRUE, 0);
  expected.right = std::min<LONG>(expected.right, expected.left + 600);
  expected.bottom = std::min<LONG>(expected.bottom, expected.top + 400);
  RECT extended{10, 20, 0, 0};
  EXPECT_TRUE(AdjustGameWindowRect(&extended, core::WindowStyle, TRUE, 0));
  RECT plain{10, 20, 0, 0};
  EXPECT_TRUE(AdjustGameWindowRectPlain(&plain, core::WindowStyle, TRUE));
  for (const RECT& adjusted : {extended, plain}) {
    EXPECT_EQ(adjusted.left, expected.left);
    EXPECT_EQ(adjusted.top, expected.top);
    EXPECT_EQ(adjusted.right, expected.right);
    EXPECT_EQ(adjusted.bottom, expected.bottom);
  }
  CallIgnoredImports();
  EXPECT_EQ(Record().ignored_import_calls, 0);

  win32::SetKeyDown(VK_CONTROL, true);
  SendToGameWindow(WM_SYSKEYDOWN, 0x6B, 0);
  EXPECT_EQ(core::FilterIndex, 10);
  win32::SetKeyDown(VK_CONTROL, false);

  // Full screen: the game's placement is followed by the top-most band over the screen;
  // activation makes the next mouse move redraw once; deactivation minimises, activation shows
  // it again.
  RunCommand(40009);
  SetWindowPos(session.window, HWND_NOTOPMOST, 10, 10, 300, 200, 0);
  EXPECT_EQ(PlaceWindow(), 5);
  win32::WindowPlacement placement{};
  ASSERT_TRUE(win32::GetPlacement(session.window, &placement));
  EXPECT_TRUE(placement.top_most);
  EXPECT_EQ(placement.window.left, 0);
  EXPECT_EQ(placement.window.right, 1920);
  EXPECT_EQ(placement.window.bottom, 1080);
  const int32_t redraws = Record().redraws;
  SendToGameWindow(WM_ACTIVATE, 1, 0);
  SendToGameWindow(WM_MOUSEMOVE, 0, 0);
  SendToGameWindow(WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Record().redraws, redraws + 1);
  SendToGameWindow(WM_ACTIVATE, 0, 0);
  ASSERT_TRUE(win32::GetPlacement(session.window, &placement));
  EXPECT_TRUE(placement.minimized);
  SendToGameWindow(WM_ACTIVATE, 1, 0);
  ASSERT_TRUE(win32::GetPlacement(session.window, &placement));
  EXPECT_FALSE(placement.minimized);
  EXPECT_TRUE(placement.top_most);
  EXPECT_EQ(placement.window.left, 0);
  EXPECT_EQ(placement.window.right, 1920);

  // Windowed: a move redraws and settles a redraw still pending from activation.
  RunCommand(40009);
  SendToGameWindow(WM_ACTIVATE, 1, 0);
  const int32_t windowed_redraws = Record().redraws;
  SendToGameWindow(WM_MOVE, 0, 0);
  SendToGameWindow(WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Record().redraws, windowed_redraws + 1);
  JoinGameThreads();
}

TEST(GameOnScreen, BadInputKeepsTheGameRunning) {
  GameSession session;
  Settings settings = WithFilter(9);
  StartGame(session, settings, false);
  void* direct_draw = standin::game::CreateDirectDraw();
  ASSERT_NE(direct_draw, nullptr);
  EXPECT_EQ(standin::game::Record().direct_draw_creations, 0);
  // A lock before any frame-sized surface exists fails; a narrow surface makes no image.
  void* narrow = CreateSurface(direct_draw, 128, 128, false);
  EXPECT_EQ(LockSurface(narrow).pixels, nullptr);
  EXPECT_EQ(present::FrameImage, nullptr);
  // A block transfer before the images exist does nothing.
  void* primary = CreateSurface(direct_draw, 0, 0, true);
  PresentFrame(primary, {0, 0, 799, 599});
  void* frame = CreateSurface(direct_draw, 800, 600, false);
  void* second = CreateSurface(direct_draw, 1024, 768, false);
  EXPECT_EQ(LockSurface(second).pixels, LockSurface(frame).pixels);
  // A zero-sized client area leaves the picture as it was; no host rectangle is needed.
  standin::splicer::Publish("QZ.ClipRect", 0);
  const int32_t width = core::dstW;
  ResizeClient(session.window, 0, 0);
  EXPECT_EQ(core::dstW, width);
  ResizeClient(session.window, 1000, 700);
  PresentFrame(primary, {-50, -50, 5000, 5000});
  PresentFrame(primary, {500, 400, 100, 100});
}

}  // namespace
}  // namespace qz::testing
