#pragma once
// The game window's procedure, its paint, and the full-screen toggle.
#include <windows.h>

#include "core/splicer.h"

namespace qz::present {

// The hook through which messages go on to the game's own procedure.
extern core::SplicerHook* WindowProcedureHook;

LRESULT WINAPI WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Repaints the exposed part of the window from the finished picture, borders in black.
void PaintWindow(HWND window);

// Replaces the game's command handler: command 40009 toggles full screen.
int32_t WINAPI CommandHandler(core::SplicerHook* hook, void* object, int32_t command,
                              int32_t parameter);

// Replaces a call after the game places its window: keeps a full-screen window over the screen.
int32_t WINAPI AfterPlacement(core::SplicerHook* hook);

}  // namespace qz::present
