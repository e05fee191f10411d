#pragma once
// The simulated Windows behind the stand-in calls: one process-wide record under one lock.
// Window procedures and exception handlers are never called with the lock held, since they call
// back into the API.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "win32/win32_world.h"

namespace qz::win32 {

struct Module {
  std::string name;  // lower case, with its extension
  std::map<std::string, FARPROC> exports;
  HMODULE handle = nullptr;
  int load_count = 0;
  std::string directory;  // lower case; empty for a library found from anywhere
  std::map<std::pair<WORD, WORD>, std::vector<uint8_t>> resources;  // by (type, identifier)
};

// What FindResourceA found: a resource of a loaded module.
struct FoundResource {
  HMODULE module = nullptr;
  WORD type = 0;
  WORD identifier = 0;
};

// One picture of a cursor or icon: colours 0xAARRGGBB and the AND mask (1 = screen shows
// through), both top row first.
struct CursorFrame {
  std::vector<uint32_t> colour;
  std::vector<uint8_t> mask;
};

struct Cursor {
  int width = 0;
  int height = 0;
  POINT hot_spot{};
  bool is_icon = false;
  // Loaded by LoadCursorA: lives as long as its module and is never destroyed by the program.
  bool shared = false;
  std::vector<CursorFrame> frames;  // more than one for an animated cursor
};

struct WindowClass {
  ATOM atom = 0;
  WNDPROC procedure = nullptr;
  UINT style = 0;
};

// A pixel surface: a bitmap's bits or a window's client area. Rows are `stride_bytes` apart and
// image row 0 is the top row, whatever the memory order.
struct Surface {
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride_bytes = 0;
  int bits_per_pixel = 0;
  bool top_down = true;

  uint8_t* Row(int y) const {
    return bits + static_cast<ptrdiff_t>(top_down ? y : height - 1 - y) * stride_bytes;
  }
};

struct Window {
  WNDPROC procedure = nullptr;
  UINT class_style = 0;
  DWORD style = 0;
  DWORD ex_style = 0;  // without WS_EX_TOPMOST, which `top_most` holds
  bool top_most = false;
  bool has_menu = false;
  RECT rect{};                   // screen coordinates
  RECT normal_rect{};            // where a minimised or maximised window returns to
  RECT client{};                 // screen coordinates
  std::vector<uint32_t> pixels;  // client area, top row first, pitch = client width
  RECT update{};                 // bounding rectangle of the update region, client coordinates
  bool erase_pending = false;
};

struct Bitmap {
  std::unique_ptr<uint32_t[]> storage;
  Surface surface;
  bool is_dib_section = false;
  HDC selected_into = nullptr;
};

struct DeviceContext {
  enum class Kind { kMemory, kWindow, kPaint, kScreen };
  Kind kind = Kind::kMemory;
  HWND window = nullptr;
  HBITMAP bitmap = nullptr;  // memory DCs: the selected bitmap
  RECT clip{};               // paint DCs: the update rectangle, client coordinates
};

// Plain data, so that ResetWorld can replace it whole; the lock lives beside it.
struct World {
  uintptr_t next_handle = 0x10000;

  DWORD processor_count = kDefaultProcessorCount;
  DWORD_PTR affinity_mask = 0;
  int screen_width = kDefaultScreenWidth;
  int screen_height = kDefaultScreenHeight;
  RECT work_area{};
  POINT cursor{};
  bool cursor_position_fails = false;  // as on a desktop the process may not read
  uint8_t keys_down[256]{};
  int sleep_percent = 100;
  uint64_t requested_sleep = 0;
  DWORD nt_major = 10, nt_minor = 0, nt_build = 19045;

  std::map<std::string, Module> modules;  // by lower-case name
  std::vector<MessageBoxRecord> message_boxes;
  std::map<std::string, WindowClass> classes;  // by lower-case name
  ATOM next_atom = 0xC000;
  std::map<HWND, Window> windows;
  std::map<HBITMAP, Bitmap> bitmaps;
  std::map<HDC, DeviceContext> device_contexts;
  HBITMAP stock_bitmap = nullptr;          // the 1 x 1 monochrome bitmap of a new memory DC
  size_t gdi_quota = kDefaultObjectQuota;  // bitmaps and DCs the process may hold at once

  std::string current_directory = kDefaultCurrentDirectory;
  std::vector<std::string> directories;  // lower case, the ones that exist besides the default
  std::map<HRSRC, FoundResource> found_resources;

  std::map<HCURSOR, Cursor> cursors;  // cursors and icons alike
  std::map<std::pair<HMODULE, WORD>, HCURSOR> shared_cursors;
  size_t user_quota = kDefaultObjectQuota;  // cursors and icons the process may hold at once
  HCURSOR current_cursor = nullptr;
  int cursor_display_count = 0;  // ShowCursor's counter; shown while not negative
};

World& TheWorld();
std::unique_lock<std::mutex> LockWorld();

// A fresh handle value, never reused in this process. Call with the lock held.
template <typename Handle>
Handle NewHandle(World& world) {
  world.next_handle += 4;
  return reinterpret_cast<Handle>(world.next_handle);
}

std::string LowerCase(const std::string& text);
// A directory as the file system compares it: lower case, backslashes, no trailing separator
// except after a drive.
std::string DirectoryKey(const std::string& path);
bool DirectoryExists(const World& world, const std::string& key);

// Adds a cursor unless the process holds its quota of them already (ERROR_NOT_ENOUGH_MEMORY).
// Call with the lock held.
HCURSOR AddCursor(World& world, Cursor cursor);
// Reads a cursor or icon image resource (hot spot words for a cursor, then a DIB of twice the
// height holding colours and mask); false for anything but 32-bit colours.
bool ParseCursorImage(const uint8_t* bits, size_t size, bool cursor, Cursor* parsed);
DWORD_PTR SystemAffinityMask(const World& world);

// Parts of a fresh world that belong to other files.
void AddSystemModules(World& world);
void AddStockObjects(World& world);
void RemoveExceptionHandlers();

// Ends the process for a misuse that Windows leaves undefined (a corrupted lock, for instance).
[[noreturn]] void Fatal(const char* message);

// Lookups that set ERROR_INVALID_WINDOW_HANDLE or ERROR_INVALID_HANDLE and give null when the
// handle is unknown. Call with the lock held.
Window* LookUpWindow(World& world, HWND window);
DeviceContext* LookUpDeviceContext(World& world, HDC dc);
Bitmap* LookUpBitmap(World& world, HBITMAP bitmap);
// The module behind a handle while it is in the process, else null.
Module* LoadedModule(World& world, HMODULE handle);

int Width(const RECT& rect);
int Height(const RECT& rect);

// A window's client area as a surface, sized from its client rectangle.
Surface ClientSurface(Window& window);
// Adds a client-coordinate rectangle to the update region (its bounding rectangle).
void AddToUpdate(Window& window, const RECT& area, bool erase);
// The frame around the client area that a style gives: client = window minus these.
RECT FrameInsets(DWORD style, bool has_menu, DWORD ex_style);

// Messages that a change of placement owes the window procedure; they are sent once the lock
// is released.
struct PlacementNotice {
  bool moved = false;
  bool sized = false;
  LPARAM client_origin = 0;
  WPARAM size_kind = SIZE_RESTORED;
  LPARAM client_size = 0;
};
// Puts the window at `rect`. The frame is measured again from the style when the size changes
// or `frame_changed` asks for it; otherwise the client area moves with the window, as Windows
// keeps its frame cached. The client pixels follow the client size and newly exposed parts join
// the update region.
PlacementNotice PlaceWindow(Window& window, const RECT& rect, bool frame_changed);
// WM_MOVE then WM_SIZE, or the other way round as window creation sends them.
void SendPlacementNotice(HWND handle, const PlacementNotice& notice, bool size_first);
LRESULT SendToProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qz::win32
