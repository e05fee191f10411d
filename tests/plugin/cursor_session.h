#pragma once
// A game session for the cursor tests: the host with its cursor library, the game with its mouse
// manager, Start, the window; and cursors read back as a Windows program reads them.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "game/cursor_picture.h"
#include "game/game_mouse.h"
#include "game/host_modification.h"

namespace qz::testing {

using standin::game::CursorPicture;
using standin::game::ReadCursor;

struct CursorGameSettings {
  standin::host::Settings host;
  bool nt6 = true;
  bool cursor_library = true;
  std::vector<uint16_t> left_out;  // cursor groups missing from the library
  int32_t client_width = 800;      // the window's client area once the game runs
  int32_t client_height = 600;
};

// Boots the host (with cursors.dll in its common directory unless said), creates the game's
// mouse manager, calls Start and creates the window. Returns the window.
HWND StartCursorGame(const CursorGameSettings& settings);

// The smallest rectangle holding every pixel with alpha above 0 (right and bottom exclusive).
RECT VisibleArea(const CursorPicture& picture);

// Whether a cursor pixel shows the colour of a sprite frame, opaque. The smoothing and the
// sharpening each truncate, so a uniform area may come out a little darker and less opaque.
inline constexpr int kRoundingLoss = 3;
bool ShowsFrameColour(uint32_t pixel, uint32_t frame_colour);

// Gives every hot-spot table entry its own hot spot (entry % 32, entry / 32), so that a
// cursor's hot spot at the sprite's own scale names the entry it came from.
void NumberHotSpots();
int32_t HotSpotNumber(const CursorPicture& picture);
void SetEveryHotSpot(int32_t x, int32_t y);

}  // namespace qz::testing
