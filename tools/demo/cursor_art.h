#pragma once
// The game's cursor sprites for the play-through, made by the project as pixel art with
// diagonal edges and outlines: a pointer, a sword, a magnifier, a gold pointer and a target.
#include <cstdint>

#include "game/cursor_picture.h"
#include "game/game_mouse.h"

namespace demo {

inline constexpr int32_t kCursorArtTypes = 5;

standin::game::CursorSpriteShape CursorArt(int32_t type);

// The game asks for a cursor of `type` drawn from its art (type 3 at frame 0, the others at
// frame 1); the answer is the system cursor then shown, as Windows holds it.
standin::game::CursorPicture ShowGameCursor(int32_t type);

}  // namespace demo
