#include "game/host_modification.h"

#include <windows.h>

#include <algorithm>
#include <mutex>

#include "game/game_calls.h"
#include "game/game_image.h"
#include "game/game_layout.h"
#include "game/x86_code.h"
#include "splicer/splicer_library.h"
#include "startup/start.h"

namespace standin::host {
namespace {

std::mutex log_mutex;
std::vector<std::string> log_lines;

// The host's log routine leaves its argument for the caller to remove.
void __cdecl WriteLog(const char* text) {
  std::lock_guard lock(log_mutex);
  log_lines.emplace_back(text);
}

// Where the host modification's own code calls Start.
constexpr uint32_t kStartCaller = 0x6A0000;

}  // namespace

void Boot(const Settings& settings) {
  game::MapImage();
  if (!settings.splicer_present) return;
  splicer::Install();
  splicer::Publish("QZ.Graphics.Nx.Threads", settings.threads);
  splicer::Publish("QZ.Graphics.Nx.Filter", settings.filter);
  splicer::Publish("QZ.Rez.X", settings.frame_width);
  splicer::Publish("QZ.Rez.Y", settings.frame_height);
  splicer::Publish("QZ.ExeVersion", settings.exe_version);
  splicer::Publish(
      "QZ.Func.LOG_WRITE",
      settings.log_routine ? static_cast<int32_t>(Address(reinterpret_cast<void*>(&WriteLog))) : 0);
}

void CallStart() {
  game::MapImage();
  const uint32_t entry =
      game::LayOutCallSite(kStartCaller, Address(reinterpret_cast<void*>(&Start)), 0, true);
  game::CallGame(entry, {});
}

const std::vector<std::string>& LogLines() {
  return log_lines;
}

bool Logged(const std::string& line) {
  std::lock_guard lock(log_mutex);
  return std::find(log_lines.begin(), log_lines.end(), line) != log_lines.end();
}

}  // namespace standin::host
