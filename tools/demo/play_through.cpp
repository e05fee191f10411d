#include "play_through.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "cursor_art.h"
#include "demo_scene.h"
#include "game/cursor_picture.h"
#include "game/game_calls.h"
#include "game/game_drawing.h"
#include "game/game_mouse.h"
#include "game/game_screen.h"
#include "game/game_session.h"
#include "game/game_window.h"
#include "picture_dump.h"
#include "present/filter_table.h"
#include "raw_picture.h"
#include "scene_art.h"
#include "scene_transitions.h"
#include "splicer/splicer_library.h"
#include "win32/win32_world.h"

namespace demo {
namespace {

using namespace standin::game;

constexpr WPARAM kNumericPlus = 0x6B;
constexpr int32_t kToggleFullScreen = 40009;

class PlayThrough {
 public:
  explicit PlayThrough(const PlayThroughOptions& options)
      : options_(options), dump_(options.out_directory) {}

  int Run() {
    standin::host::Settings settings;
    settings.threads = 8;
    settings.filter = 12;  // the first Control + plus brings filter 0
    settings.plugin_dll = options_.plugin_dll;
    StartGame(session_, settings);
    ReportStart();
    frame_ = LockSurface(session_.frame_surface);
    if (!LoadPlayerFrame()) return 1;
    scene_ = MakeScene();
    Present(DrawNext());
    ResizeClient(session_.window, 1280, 800);
    Repaint();
    PlayTransitions();
    CycleAllFilters("windowed");
    MoveMouse();
    RequestCursors();
    RunCommand(kToggleFullScreen);
    Repaint();
    CycleAllFilters("fullscreen");
    RunCommand(kToggleFullScreen);
    ResizeClient(session_.window, 1000, 900);
    Repaint();
    Present(RECT{0, 0, kFrameWidth - 1, kFrameHeight - 1});
    SaveScreenshot("resized", "modes", "window resized to 1000 x 900");
    JoinGameThreads();
    dump_.Finish(standin::host::LogLines());
    const bool parallel = standin::host::Logged("SUCCESS: DO PARALLEL");
    std::printf("self-test %s\n", parallel ? "passed" : "failed");
    return parallel ? 0 : 1;
  }

 private:
  // The filter's name as the plug-in shows it in the game's message line.
  static std::string ShownFilterName() {
    const std::vector<std::string>& messages = Record().game_messages;
    return messages.empty() ? std::string() : messages.back();
  }

  // What the host's log received from Start and what the plug-in published and changed.
  void ReportStart() const {
    for (const std::string& line : standin::host::LogLines())
      std::printf("log: %s\n", line.c_str());
    const RECT& picture = session_.clip_rect;
    std::printf(
        "plug-in %s; picture at (%ld, %ld), %ld x %ld; %zu patches written, %zu hooks\n",
        options_.plugin_dll.empty() ? "linked into this program" : options_.plugin_dll.c_str(),
        picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top,
        standin::splicer::Writes().size(), standin::splicer::Hooks().size());
  }

  // A player's screenshot replaces the scene; it stays still.
  bool LoadPlayerFrame() {
    if (options_.frame_raw.empty()) return true;
    std::vector<uint32_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    if (!tools::ReadRawPicture(options_.frame_raw, pixels, width, height)) {
      std::fprintf(stderr, "cannot read %s\n", options_.frame_raw.c_str());
      return false;
    }
    for (int32_t y = 0; y < kFrameHeight; ++y) {
      for (int32_t x = 0; x < kFrameWidth; ++x) {
        frame_.pixels[y * frame_.pitch_pixels + x] =
            pixels[static_cast<size_t>(y % height) * width + x % width];
      }
    }
    player_frame_ = true;
    return true;
  }

  std::vector<RECT> DrawNext() {
    if (player_frame_) return {RECT{0, 0, kFrameWidth - 1, kFrameHeight - 1}};
    return DrawScene(*scene_, frame_, step_++);
  }

  void Present(const RECT& changed) { PresentFrame(session_.primary, changed); }
  void Present(const std::vector<RECT>& changed) {
    for (const RECT& rectangle : changed) Present(rectangle);
  }

  // The game's screen transitions, each present showing the whole frame; the third step of
  // each is saved.
  void PlayTransitions() {
    RunTransitions(
        frame_,
        [this](const char* name, int32_t present) {
          Present(RECT{0, 0, kFrameWidth - 1, kFrameHeight - 1});
          if (present == 3) SaveScreenshot(name, "transitions", std::string(name) + ", third step");
        },
        [this] { Present(DrawNext()); });
  }

  // What the game's message loop does after a change of size or mode: the window is repainted.
  void Repaint() {
    InvalidateRect(session_.window, nullptr, FALSE);
    SendToGameWindow(WM_PAINT, 0, 0);
  }

  void SaveScreenshot(const std::string& name, const std::string& group, const std::string& label) {
    const standin::game::Screenshot shot = TakeScreenshot(session_.window);
    dump_.Save(name, group, label, shot.pixels.data(), shot.width, shot.height, shot.width);
  }

  void CycleAllFilters(const std::string& group) {
    qz::win32::SetKeyDown(VK_CONTROL, true);
    for (int32_t filter = 0; filter < qz::present::kFilterCount; ++filter) {
      SendToGameWindow(WM_KEYDOWN, kNumericPlus, 0);
      Present(RECT{0, 0, kFrameWidth - 1, kFrameHeight - 1});
      for (int32_t i = 0; i < options_.frames_per_filter; ++i) Present(DrawNext());
      char number[4];
      std::snprintf(number, sizeof number, "%02d", filter);
      SaveScreenshot(group + "-" + number, group, std::string(number) + " " + ShownFilterName());
    }
    qz::win32::SetKeyDown(VK_CONTROL, false);
  }

  // The game asks for a cursor of every type; the plug-in builds each from the game's sprite at
  // the window's scale, and the system cursor shows it.
  void RequestCursors() {
    for (int32_t type = 0; type < kCursorArtTypes; ++type) {
      const CursorPicture cursor = ShowGameCursor(type);
      if (!cursor.valid) continue;
      std::printf("cursor of type %d: %d x %d, hot spot (%u, %u)\n", type, cursor.width,
                  cursor.height, cursor.hot_x, cursor.hot_y);
      dump_.Save("cursor-" + std::to_string(type), "cursors", "cursor type " + std::to_string(type),
                 cursor.pixels.data(), cursor.width, cursor.height, cursor.width);
    }
  }

  void MoveMouse() {
    for (int32_t x = 0; x < 1280; x += 160) {
      SendToGameWindow(WM_MOUSEMOVE, 0, MAKELPARAM(x, 400));
    }
    const LPARAM game_position = Record().message_lparams.back();
    std::printf("mouse at window (1120, 400) reaches the game at (%d, %d)\n",
                static_cast<int>(LOWORD(game_position)), static_cast<int>(HIWORD(game_position)));
  }

  PlayThroughOptions options_;
  PictureDump dump_;
  GameSession session_;
  LockedSurface frame_;
  std::shared_ptr<Scene> scene_;
  int32_t step_ = 0;
  bool player_frame_ = false;
};

}  // namespace

int RunPlayThrough(const PlayThroughOptions& options) {
  return PlayThrough(options).Run();
}

}  // namespace demo
