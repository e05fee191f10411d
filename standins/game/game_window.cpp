#include "game/game_window.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "game/game_calls.h"
#include "game/game_image.h"
#include "game/game_layout.h"
#include "game/x86_code.h"
#include "splicer/splicer_library.h"
#include "win32/runtime_functions.h"

namespace standin::game {
namespace {

constexpr uint32_t kGameRedraw = 0x603190;
constexpr uint32_t kAfterModeChangeA = 0x4F8810;
constexpr uint32_t kAfterModeChangeB = 0x50C370;
constexpr uint32_t kShowGameMessage = 0x4F6C00;
constexpr uint32_t kThreadStart = 0x61A56C;
constexpr uint32_t kThreadEnd = 0x61A676;
constexpr int32_t kSavedX = 100;
constexpr int32_t kSavedY = 50;

GameRecord record;

template <typename Routine>
uint32_t CodeOf(Routine routine) {
  return Address(reinterpret_cast<void*>(routine));
}

[[noreturn]] void WrongArguments(const char* routine) {
  std::fprintf(stderr, "game routine %s called with other arguments than the game's\n", routine);
  std::abort();
}

// The screen manager: the plug-in sets its message field and asks it to redraw.
struct ScreenManager {
  uint8_t fields[64];
};
ScreenManager screen_manager;

// The game leaves what it does not handle to the default procedure, creation included.
LRESULT __attribute__((stdcall))
GameWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  record.messages.push_back(message);
  record.message_lparams.push_back(lparam);
  return DefWindowProcA(window, message, wparam, lparam);
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
__attribute__((thiscall)) int32_t GameCommandHandler(void*, int32_t command, int32_t) {
  record.commands.push_back(command);
  return 7;
}
// The whole frame of the screen manager, or the game would redraw the wrong part.
__attribute__((thiscall)) void GameRedraw(void* manager, int32_t left, int32_t top, int32_t width,
                                          int32_t height) {
  const bool whole_frame = left == 0 && top == 0 && width == splicer::Value("QZ.Rez.X") &&
                           height == splicer::Value("QZ.Rez.Y");
  if (manager != Cell<void*>(kScreenManagerCell) || !whole_frame) {
    WrongArguments("Redraw");
  }
  ++record.redraws;
}
__attribute__((thiscall)) void GameAfterModeChangeA(void*) {
  ++record.mode_changes;
}
#pragma GCC diagnostic pop

void GameAfterModeChangeB() {
  ++record.mode_changes;
}

// The text in ECX, 4 in EDX and ten fixed values on the stack, first argument nearest.
__attribute__((fastcall)) void GameShowMessage(const char* text, int32_t kind, int32_t a, int32_t b,
                                               int32_t c, int32_t d, int32_t e, int32_t f,
                                               int32_t g, int32_t h, int32_t i, int32_t j) {
  const std::array<int32_t, 10> values{a, b, c, d, e, f, g, h, i, j};
  if (text == nullptr || kind != 4 ||
      values != std::array<int32_t, 10>{-1, -1, -1, 0, -1, 0, -1, 15000, -1, 0}) {
    WrongArguments("ShowGameMessage");
  }
  record.game_messages.emplace_back(text);
}

uintptr_t __cdecl GameThreadStart(void(__cdecl* routine)(void*), uint32_t, void* argument) {
  ++record.threads_started;
  std::thread([routine, argument] {
    qz::win32::ThreadEnters();
    CallGameCdecl(Word(routine), {Word(argument)});
    qz::win32::ThreadLeaves();
    ++record.threads_finished;
  }).detach();
  return 1;
}

void __cdecl GameThreadEnd() {
  ++record.threads_ended;
}

HRESULT __attribute__((stdcall)) GameCreateDirectDraw(void*, void**, void*) {
  ++record.direct_draw_creations;
  return static_cast<HRESULT>(0x80004005);
}

BOOL __attribute__((stdcall)) GameAdjustWindowRect(RECT* rectangle, DWORD style, BOOL menu) {
  return AdjustWindowRectEx(rectangle, style, menu, 0);
}

int32_t __attribute__((stdcall)) GameAfterPlacement() {
  ++record.after_placement_calls;
  return 5;
}

BOOL __attribute__((stdcall)) GameIgnoredImport(void*, void*) {
  ++record.ignored_import_calls;
  return 0;
}

void __cdecl MessageLineBody() {
  ++record.message_line_passes;
}

// push ebp; mov ebp, esp; ...; call body (the code the plug-in may skip); ...; pop ebp; ret
void LayOutMessageLinePass() {
  CodeWriter code(kMessageLinePass);
  code.Byte(0x55);
  code.Byte(0x89);
  code.Byte(0xE5);
  code.Nops(kMessageLineSkipSite);
  code.Call(CodeOf(&MessageLineBody));
  code.Nops(kMessageLineResume);
  code.Byte(0x5D);
  code.Return(0);
}

uint32_t create_direct_draw_caller = 0;
uint32_t adjust_extended_caller = 0;
uint32_t adjust_caller = 0;
uint32_t after_placement_caller = 0;

}  // namespace

void LayOutWindowCode() {
  LayOutRoutine(kWindowProcedure, CodeOf(&GameWindowProcedure));
  LayOutRoutine(kCommandHandler, CodeOf(&GameCommandHandler));
  LayOutRoutine(kGameRedraw, CodeOf(&GameRedraw));
  LayOutRoutine(kAfterModeChangeA, CodeOf(&GameAfterModeChangeA));
  LayOutRoutine(kAfterModeChangeB, CodeOf(&GameAfterModeChangeB));
  LayOutRoutine(kShowGameMessage, CodeOf(&GameShowMessage));
  LayOutRoutine(kThreadStart, CodeOf(&GameThreadStart));
  LayOutRoutine(kThreadEnd, CodeOf(&GameThreadEnd));
  create_direct_draw_caller =
      LayOutCallSite(kCreateDirectDrawSite, CodeOf(&GameCreateDirectDraw), 3, true);
  adjust_extended_caller =
      LayOutCallSite(kAdjustExtendedSite, CodeOf(&AdjustWindowRectEx), 4, true);
  adjust_caller = LayOutCallSite(kAdjustSite, CodeOf(&GameAdjustWindowRect), 3, true);
  after_placement_caller =
      LayOutCallSite(kAfterPlacementSite, CodeOf(&GameAfterPlacement), 0, true);
  Cell<uint32_t>(kCursorPositionSlot) = CodeOf(&GetCursorPos);
  for (uint32_t slot : kTwoArgumentSlots) Cell<uint32_t>(slot) = CodeOf(&GameIgnoredImport);
  LayOutMessageLinePass();
}

GameRecord& Record() {
  return record;
}

HWND CreateGameWindow(int32_t frame_width, int32_t frame_height) {
  MapImage();
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = reinterpret_cast<WNDPROC>(uintptr_t{kWindowProcedure});
  window_class.lpszClassName = "GameWindow";
  RegisterClassA(&window_class);
  RECT frame{0, 0, frame_width, frame_height};
  AdjustWindowRectEx(&frame, kGameWindowStyle, TRUE, 0);
  HWND window = CreateWindowExA(0, "GameWindow", "Game", kGameWindowStyle | WS_VISIBLE, kSavedX,
                                kSavedY, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, nullptr, nullptr);
  Cell<HWND>(kWindowHandleCell) = window;
  Cell<int32_t>(kFullScreenCell) = 0;
  Cell<int32_t>(kWindowedXCell) = kSavedX;
  Cell<int32_t>(kWindowedYCell) = kSavedY;
  Cell<int32_t>(kStateWordCell) = 1;
  // The game fills these once its screen is set up; painting waits for them.
  for (uint32_t cell : kPaintPointerCells) Cell<void*>(cell) = &screen_manager;
  SetScreenManager(true);
  return window;
}

void SetScreenManager(bool present) {
  Cell<ScreenManager*>(kScreenManagerCell) = present ? &screen_manager : nullptr;
}

int32_t ScreenManagerMessageField() {
  int32_t value;
  std::memcpy(&value, screen_manager.fields + 56, 4);
  return value;
}

LRESULT SendToGameWindow(UINT message, WPARAM wparam, LPARAM lparam) {
  return SendMessageA(Cell<HWND>(kWindowHandleCell), message, wparam, lparam);
}

int32_t RunCommand(int32_t command) {
  static ScreenManager command_object;
  return static_cast<int32_t>(
      CallGame(kCommandHandler, {static_cast<uint32_t>(command), 0}, Word(&command_object)));
}

int32_t PlaceWindow() {
  return static_cast<int32_t>(CallGame(after_placement_caller, {}));
}

void PassMessageLine() {
  CallGame(kMessageLinePass, {});
}

BOOL AdjustGameWindowRect(RECT* rectangle, DWORD style, BOOL menu, DWORD ex_style) {
  return static_cast<BOOL>(CallGame(
      adjust_extended_caller, {Word(rectangle), style, static_cast<uint32_t>(menu), ex_style}));
}

BOOL AdjustGameWindowRectPlain(RECT* rectangle, DWORD style, BOOL menu) {
  return static_cast<BOOL>(
      CallGame(adjust_caller, {Word(rectangle), style, static_cast<uint32_t>(menu)}));
}

BOOL GameCursorPosition(POINT* point) {
  return static_cast<BOOL>(CallGame(Cell<uint32_t>(kCursorPositionSlot), {Word(point)}));
}

void CallIgnoredImports() {
  for (uint32_t slot : kTwoArgumentSlots) CallGame(Cell<uint32_t>(slot), {0, 0});
}

void* CreateDirectDraw() {
  void* object = nullptr;
  CallGame(create_direct_draw_caller, {0, Word(&object), 0});
  return object;
}

void JoinGameThreads() {
  for (int wait = 0; wait < 500 && record.threads_finished < record.threads_started; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace standin::game
