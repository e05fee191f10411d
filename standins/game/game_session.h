#pragma once
// A game session as the game runs one: the host publishes its settings and calls Start, the game
// creates its window, its DirectDraw object, its frame surface and its primary surface.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "game/host_modification.h"

namespace standin::game {

struct GameSession {
  HWND window = nullptr;
  void* direct_draw = nullptr;
  void* frame_surface = nullptr;
  void* primary = nullptr;
  RECT clip_rect{};  // the host's rectangle behind "QZ.ClipRect"
};

// Boots the host with `settings` (frame 800 x 600 unless said), calls Start, creates the window
// with a client area of the frame's size and, when asked, the display object and surfaces.
void StartGame(GameSession& session, const standin::host::Settings& settings,
               bool create_surfaces = true);

void* CreateSurface(void* direct_draw, int32_t width, int32_t height, bool primary);

// What a lock hands the game; null pixels when the lock fails.
struct LockedSurface {
  uint32_t* pixels = nullptr;
  int32_t pitch_pixels = 0;
  int32_t width = 0;
  int32_t height = 0;
};
LockedSurface LockSurface(void* surface);

// Fills the whole frame with a deterministic picture.
void DrawTestFrame(void* surface, uint32_t seed);

// The game asks the primary surface to show an inclusive rectangle of the frame.
void PresentFrame(void* primary, RECT rectangle);

// Gives the window a client area of width x height (a size change reaches the window procedure).
void ResizeClient(HWND window, int32_t width, int32_t height);

// The window's client pixels, copied.
struct Screenshot {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Screenshot TakeScreenshot(HWND window);

}  // namespace standin::game
