#include "cursor_session.h"

#include <algorithm>

#include "game/cursor_library.h"
#include "game/game_calls.h"
#include "game/game_session.h"
#include "game/game_window.h"
#include "splicer/splicer_library.h"
#include "startup/start.h"
#include "win32/win32_world.h"

namespace qz::testing {

// The game session moved to the game stand-in, where the demo uses it too.
using namespace standin::game;

HWND StartCursorGame(const CursorGameSettings& settings) {
  win32::ResetWorld();
  win32::SetSleepScale(0);
  if (!settings.nt6) win32::SetNtVersion(5, 1, 2600);
  startup::InitialiseProcessSettings();
  standin::host::Boot(settings.host);
  if (settings.cursor_library) {
    standin::host::InstallCursorLibrary(standin::host::kCommonDirectory, settings.left_out);
  }
  static RECT clip_rect{};
  standin::splicer::Publish("QZ.ClipRect", static_cast<int32_t>(standin::game::Word(&clip_rect)));
  standin::game::CreateMouseManager();
  standin::host::CallStart();
  HWND window =
      standin::game::CreateGameWindow(settings.host.frame_width, settings.host.frame_height);
  if (settings.client_width != settings.host.frame_width ||
      settings.client_height != settings.host.frame_height) {
    standin::game::ResizeClient(window, settings.client_width, settings.client_height);
  }
  return window;
}

RECT VisibleArea(const CursorPicture& picture) {
  RECT area{picture.width, picture.height, 0, 0};
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      if ((picture.At(x, y) >> 24) == 0) continue;
      area.left = std::min<LONG>(area.left, x);
      area.top = std::min<LONG>(area.top, y);
      area.right = std::max<LONG>(area.right, x + 1);
      area.bottom = std::max<LONG>(area.bottom, y + 1);
    }
  }
  return area;
}

bool ShowsFrameColour(uint32_t pixel, uint32_t frame_colour) {
  const uint32_t opaque = frame_colour | 0xFF000000u;
  for (int shift = 0; shift < 32; shift += 8) {
    const int difference =
        static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((opaque >> shift) & 0xFF);
    if (difference < -kRoundingLoss || difference > 0) return false;
  }
  return true;
}

void NumberHotSpots() {
  for (int32_t entry = 0; entry < standin::game::kHotSpotEntries; ++entry) {
    standin::game::SetHotSpot(entry, entry % 32, entry / 32);
  }
}

void SetEveryHotSpot(int32_t x, int32_t y) {
  for (int32_t entry = 0; entry < standin::game::kHotSpotEntries; ++entry) {
    standin::game::SetHotSpot(entry, x, y);
  }
}

int32_t HotSpotNumber(const CursorPicture& picture) {
  return static_cast<int32_t>(picture.hot_y * 32 + picture.hot_x);
}

}  // namespace qz::testing
