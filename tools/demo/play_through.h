#pragma once
// A scripted play-through: the host starts the plug-in, the game opens its window and surfaces,
// draws and presents frames, the player cycles all thirteen filters in a window and in full
// screen, moves the mouse, resizes the window. Screenshots of the window's client area go to the
// output folder for the host tools to turn into PNG files and a web page.
#include <string>

namespace demo {

struct PlayThroughOptions {
  std::string out_directory = "out/demo";
  std::string frame_raw;  // a player's own screenshot as the game's frame, or empty
  int32_t frames_per_filter = 3;
  std::string plugin_dll;  // QZ_PRX.dll to load, or empty for the plug-in linked in
};

// Returns 0 when the play-through ran and the self-test passed.
int RunPlayThrough(const PlayThroughOptions& options);

}  // namespace demo
