#pragma once
// The game's window and the window-related data and routines of the game image: the window the
// game creates, its own window procedure and command handler, the screen manager and its redraw,
// the message line, the game's thread routines, and the calls and imports the plug-in hooks.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace standin::game {

inline constexpr uint32_t kWindowHandleCell = 0x699650;
inline constexpr uint32_t kFullScreenCell = 0x698808;
inline constexpr uint32_t kWindowedXCell = 0x698800;
inline constexpr uint32_t kWindowedYCell = 0x698804;
inline constexpr uint32_t kScreenManagerCell = 0x6992D0;
inline constexpr uint32_t kStateWordCell = 0x6995E0;
inline constexpr uint32_t kPaintPointerCells[] = {0x6AAD24, 0x6AAD28, 0x6AAD2C, 0x6AAD30, 0x6AAD34};
inline constexpr uint32_t kWindowProcedure = 0x4F8290;
inline constexpr uint32_t kCommandHandler = 0x4F86F0;
inline constexpr uint32_t kCreateDirectDrawSite = 0x601ACC;
inline constexpr uint32_t kAdjustExtendedSite = 0x60225C;
inline constexpr uint32_t kAdjustSite = 0x4F81C7;
inline constexpr uint32_t kAfterPlacementSite = 0x4F812E;
inline constexpr uint32_t kCursorPositionSlot = 0x63A304;
inline constexpr uint32_t kTwoArgumentSlots[] = {0x63A2A0, 0x63A308};
inline constexpr uint32_t kMessageLinePass = 0x603060;
inline constexpr uint32_t kMessageLineSkipSite = 0x60306D;
inline constexpr uint32_t kMessageLineResume = 0x6030A3;

// What the game's own code saw, for tests to look at.
struct GameRecord {
  std::vector<UINT> messages;  // reaching the game's own window procedure
  std::vector<LPARAM> message_lparams;
  std::vector<int32_t> commands;  // reaching the game's own command handler
  int32_t redraws = 0;
  int32_t mode_changes = 0;  // calls of the two routines after a mode change
  std::vector<std::string> game_messages;
  std::atomic<int32_t> threads_started{0};
  std::atomic<int32_t> threads_ended{0};     // calls of the game's thread end
  std::atomic<int32_t> threads_finished{0};  // thread routines that returned
  int32_t direct_draw_creations = 0;         // reaching the game's own DirectDraw creation
  int32_t after_placement_calls = 0;
  int32_t ignored_import_calls = 0;
  int32_t message_line_passes = 0;  // runs of the code the plug-in may skip
};
GameRecord& Record();

// Lays out the window part of the image (part of mapping it).
void LayOutWindowCode();

// Creates the game's window in windowed mode with
// a client area of frame_width x frame_height at the saved position.
HWND CreateGameWindow(int32_t frame_width, int32_t frame_height);

// The game's screen manager (null until the game has one) and its message field.
void SetScreenManager(bool present);
int32_t ScreenManagerMessageField();

// As the game: sends a message to its window, asks for a command, places its window, runs the
// pass over its message line, sizes a window rectangle, asks for the cursor position.
LRESULT SendToGameWindow(UINT message, WPARAM wparam, LPARAM lparam);
int32_t RunCommand(int32_t command);
int32_t PlaceWindow();
void PassMessageLine();
BOOL AdjustGameWindowRect(RECT* rectangle, DWORD style, BOOL menu, DWORD ex_style);
BOOL AdjustGameWindowRectPlain(RECT* rectangle, DWORD style, BOOL menu);
BOOL GameCursorPosition(POINT* point);
void CallIgnoredImports();

// Creates a DirectDraw object through the game's call site; returns what the call stored.
void* CreateDirectDraw();

// Waits until every thread the game started has ended (at most a few seconds).
void JoinGameThreads();

}  // namespace standin::game
