#include "game/game_session.h"

#include <cstring>

#include "game/cursor_library.h"
#include "game/game_calls.h"
#include "game/game_mouse.h"
#include "game/game_window.h"
#include "splicer/splicer_library.h"
#include "startup/start.h"
#include "win32/win32_world.h"

namespace standin::game {
namespace {

constexpr int kCreateSurfaceSlot = 6;
constexpr int kBltSlot = 5;
constexpr int kLockSlot = 25;

}  // namespace

void StartGame(GameSession& session, const standin::host::Settings& settings,
               bool create_surfaces) {
  qz::win32::ResetWorld();
  qz::win32::SetSleepScale(0);
  qz::startup::InitialiseProcessSettings();
  standin::host::Boot(settings);
  // The host brings its cursor library; the game has its mouse manager before it draws.
  standin::host::InstallCursorLibrary();
  CreateMouseManager();
  standin::splicer::Publish("QZ.ClipRect", static_cast<int32_t>(Word(&session.clip_rect)));
  standin::host::CallStart();
  session.window = CreateGameWindow(settings.frame_width, settings.frame_height);
  if (!create_surfaces) return;
  session.direct_draw = CreateDirectDraw();
  session.frame_surface =
      CreateSurface(session.direct_draw, settings.frame_width, settings.frame_height, false);
  session.primary = CreateSurface(session.direct_draw, 0, 0, true);
}

void* CreateSurface(void* direct_draw, int32_t width, int32_t height, bool primary) {
  uint8_t description[108] = {};
  const uint32_t words[] = {108, 0, static_cast<uint32_t>(height), static_cast<uint32_t>(width)};
  std::memcpy(description, words, sizeof words);
  const uint32_t caps = primary ? 0x200 : 0x40;
  std::memcpy(description + 104, &caps, 4);
  void* surface = nullptr;
  CallMethod(direct_draw, kCreateSurfaceSlot, {Word(description), Word(&surface), 0});
  return surface;
}

LockedSurface LockSurface(void* surface) {
  uint8_t description[108] = {};
  LockedSurface locked;
  if (CallMethod(surface, kLockSlot, {0, Word(description), 1, 0}) != 0) return locked;
  int32_t pitch_bytes = 0;
  std::memcpy(&locked.height, description + 8, 4);
  std::memcpy(&locked.width, description + 12, 4);
  std::memcpy(&pitch_bytes, description + 16, 4);
  std::memcpy(&locked.pixels, description + 36, 4);
  locked.pitch_pixels = pitch_bytes / 4;
  return locked;
}

void DrawTestFrame(void* surface, uint32_t seed) {
  const LockedSurface frame = LockSurface(surface);
  uint32_t state = seed;
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) {
      state = state * 1664525u + 1013904223u;
      // Blocks of colour with some noise, so filters have edges to work on.
      const uint32_t block = static_cast<uint32_t>((x / 7) * 31 + (y / 5) * 17) * 0x10204u;
      frame.pixels[y * frame.pitch_pixels + x] = (block ^ (state >> 28)) & 0xFFFFFF;
    }
  }
}

void PresentFrame(void* primary, RECT rectangle) {
  CallMethod(primary, kBltSlot, {Word(&rectangle), 0, 0, 0, 0});
}

void ResizeClient(HWND window, int32_t width, int32_t height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
}

Screenshot TakeScreenshot(HWND window) {
  const qz::win32::ClientPixels client = qz::win32::WindowClientPixels(window);
  Screenshot shot{client.width, client.height, {}};
  shot.pixels.resize(static_cast<size_t>(client.width) * client.height);
  for (int y = 0; y < client.height; ++y) {
    std::memcpy(&shot.pixels[static_cast<size_t>(y) * client.width],
                client.pixels + static_cast<size_t>(y) * client.pitch_pixels,
                static_cast<size_t>(client.width) * 4);
  }
  return shot;
}

}  // namespace standin::game
