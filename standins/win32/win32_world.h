#pragma once
// The test-facing side of the simulated Windows: sets up what a real machine would bring along
// (processors, screen, keys held down, modules on disk) and shows what no Win32 call shows
// (message boxes seen by the player, the pixels in a window's client area).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qz::win32 {

// Client pixels that nothing has drawn yet, so a test can tell painted from unpainted.
inline constexpr uint32_t kUnpaintedClientColour = 0x00FF00FF;

// Frame metrics of the simulated desktop in pixels (a Windows 10 classic set at 96 dpi), used by
// AdjustWindowRectEx and thus by every window's client area.
inline constexpr int kSizingFrame = 8;     // WS_THICKFRAME, each side
inline constexpr int kFixedFrame = 3;      // WS_DLGFRAME or WS_CAPTION without a sizing frame
inline constexpr int kThinBorder = 1;      // WS_BORDER alone
inline constexpr int kCaptionHeight = 23;  // WS_CAPTION, above the client area
inline constexpr int kMenuHeight = 20;     // one menu bar row
inline constexpr int kClientEdge = 2;      // WS_EX_CLIENTEDGE, each side
inline constexpr int kStaticEdge = 1;      // WS_EX_STATICEDGE, each side

// Defaults that ResetWorld restores.
inline constexpr DWORD kDefaultProcessorCount = 4;
inline constexpr int kDefaultScreenWidth = 1920;
inline constexpr int kDefaultScreenHeight = 1080;
inline constexpr int kTaskBarHeight = 40;
inline constexpr const char* kDefaultCurrentDirectory = "C:\\Game";
inline constexpr size_t kDefaultObjectQuota = 10000;  // GDI and USER objects of one process

// Forgets every window, device context, bitmap, module registration, message box, exception
// handler and setting, and restores the defaults above. Handles from before stay invalid.
void ResetWorld();

void SetProcessorCount(DWORD count);        // also resets the process affinity to every processor
void SetScreenSize(int width, int height);  // also resets the work area to the default
void SetWorkArea(const RECT& area);
void SetKeyDown(int virtual_key, bool down);
// GetCursorPos fails (ERROR_ACCESS_DENIED, the point left alone) while set.
void SetCursorPositionFails(bool fails);

// Real sleeping is scaled by percent (0 returns at once); the requested total is kept either way.
void SetSleepScale(int percent);
uint64_t RequestedSleepMilliseconds();

// What RtlGetNtVersionNumbers of ntdll.dll reports (default 10.0, build 19045).
void SetNtVersion(DWORD major, DWORD minor, DWORD build);
// Adds "wine_get_version" to ntdll.dll, as the emulator does, or takes it away.
void SetEmulatorExports(bool present);

struct ModuleExport {
  std::string name;
  FARPROC address;
};
// Any function as an export address (through void (*)(), the one type every function pointer
// may be cast to without a warning).
template <typename Function>
FARPROC AsExport(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}
// A module "on disk": LoadLibraryA finds it by name (case-insensitive, ".dll" optional).
// `already_loaded` puts it in the process from the start, as a library the host loaded.
void RegisterModule(const std::string& name, const std::vector<ModuleExport>& exports,
                    bool already_loaded);
void UnregisterModule(const std::string& name);
// A DLL that a loader mapped at `base`, in the process from now on, its handle being its base.
void RegisterLoadedImage(const std::string& name, const std::vector<ModuleExport>& exports,
                         HMODULE base);
// Load count of a registered module: 0 when it is not in the process.
int ModuleLoadCount(const std::string& name);

// A resource of a library, identified by numbers (MAKEINTRESOURCE) as the cursor libraries are.
struct ModuleResource {
  WORD type;
  WORD identifier;
  std::vector<uint8_t> data;
};
// A resource-only library "on disk" in `directory` (which then exists): LoadLibraryA finds it by
// its bare name only while that directory is current, or by a path naming the directory.
void RegisterLibraryFile(const std::string& directory, const std::string& name,
                         const std::vector<ModuleResource>& resources);

// Directories that exist besides kDefaultCurrentDirectory.
void AddDirectory(const std::string& path);

// How many GDI objects (bitmaps and device contexts) and USER objects (cursors and icons) the
// process may hold before creating more fails, as the per-process handle quotas make it. Only
// the creation of bitmaps, cursors and icons is refused.
void SetGdiObjectQuota(size_t count);
void SetUserObjectQuota(size_t count);
// Bitmaps and device contexts alive in the process, stock objects included.
size_t LiveGdiObjectCount();
// Cursors and icons alive in the process, the shared ones loaded from resources included.
size_t LiveCursorCount();

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
std::vector<MessageBoxRecord> MessageBoxes();

// What a window's message loop does when nothing else is queued: WM_PAINT again and again while
// the update region is not empty, as Windows re-sends it until the window validates it. Returns
// how many were sent; a window that never validates stops at kUnvalidatedPaints.
inline constexpr int kUnvalidatedPaints = 100;
int DispatchPaint(HWND window);

// A window's client pixels, 32 bits each, top row first. Valid until the client area changes
// size or the window is destroyed; empty (null pixels) for an invalid window.
struct ClientPixels {
  const uint32_t* pixels;
  int pitch_pixels;
  int width;
  int height;
};
ClientPixels WindowClientPixels(HWND window);

// Where a window is and how it is shown, all in screen coordinates.
struct WindowPlacement {
  RECT window;
  RECT client;
  DWORD style;
  DWORD ex_style;
  bool top_most;
  bool visible;
  bool minimized;
  bool maximized;
};
bool GetPlacement(HWND window, WindowPlacement* placement);

}  // namespace qz::win32
