#pragma once
// The host modification that loads the plug-in: publishes its settings as shared variables,
// offers a log routine, and calls Start the way it is called in the game.
#include <cstdint>
#include <string>
#include <vector>

namespace standin::host {

struct Settings {
  int32_t threads = 2;
  int32_t filter = 9;
  int32_t frame_width = 800;
  int32_t frame_height = 600;
  int32_t exe_version = 0;
  bool log_routine = true;
  bool splicer_present = true;
  // The plug-in the host loads: empty for the one linked into this program, else a DLL file
  // that the PE loader maps (at its preferred base, or elsewhere when asked).
  std::string plugin_dll;
  bool relocate_plugin_dll = false;
};

// Maps the game, makes the patching library available (unless absent) and publishes settings.
void Boot(const Settings& settings);

// Loads the plug-in DLL when the settings name one, then calls the plug-in's Start through a
// caller that leaves the stack aligned to 4 bytes only. A DLL that cannot be loaded ends the
// program with the loader's reason.
void CallStart();

// Lines the host's log routine received.
const std::vector<std::string>& LogLines();
bool Logged(const std::string& line);

}  // namespace standin::host
