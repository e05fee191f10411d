#pragma once
// Keeps the picture rectangle in step with the game window, and the hooks that size the window
// and answer cursor-position queries in frame coordinates.
#include <windows.h>

#include <cstdint>

namespace qz::present {

// Told after every new picture rectangle, so that what was built for the old scale (the cursors)
// is dropped. Start-up connects it; the presentation does not know who listens.
extern void (*PictureResized)();

// Recomputes the picture rectangle for the window's client area, publishes it through
// "QZ.ClipRect", tells PictureResized and picks the present routine.
void UpdateGeometry(HWND window);

// Window x to frame x (and y likewise), limited to the frame in full-screen mode. With no picture
// yet (dstW or dstH below 1) the position is left as it is.
int32_t FrameX(int32_t window_x);
int32_t FrameY(int32_t window_y);

// Replace the game's calls that size its window for a client area of the frame's size, no larger
// than the work area.
BOOL WINAPI AdjustWindowRectExtended(RECT* rectangle, DWORD style, BOOL menu, DWORD ex_style);
BOOL WINAPI AdjustWindowRectPlain(RECT* rectangle, DWORD style, BOOL menu);

// Replaces the game's cursor-position import: the position in frame coordinates.
BOOL WINAPI FrameCursorPosition(POINT* point);

// Replaces two imports of two arguments that the game must not reach.
BOOL WINAPI IgnoreTwoArguments(void*, void*);

}  // namespace qz::present
