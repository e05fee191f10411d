#pragma once
#include <string>

namespace demo {

// A short play-through for the end-to-end test: presents one frame through every filter in a
// 1280 x 800 window and saves the frame (frame.raw) and each picture as the window shows it
// (picture-NN.raw), for the host preview tool to reproduce bit for bit. Checks on the way that
// every hook the play-through needs is in force and that playing leaks nothing from the game's
// heap. With `plugin_dll` the host loads that DLL (relocated when asked) instead of the linked
// plug-in, and the check reads only what the plug-in publishes. Returns 0 when all checks pass.
int RunEndToEndCheck(const std::string& out_directory, const std::string& plugin_dll,
                     bool relocate_plugin_dll);

}  // namespace demo
