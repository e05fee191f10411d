#include "game/host_modification.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "game/game_calls.h"
#include "game/game_image.h"
#include "game/game_layout.h"
#include "game/x86_code.h"
#include "pe_loader/pe_loader.h"
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

Settings booted;

uint32_t StartAddress() {
  if (booted.plugin_dll.empty()) return Address(reinterpret_cast<void*>(&Start));
  const pe::LoadResult loaded =
      pe::LoadDll(booted.plugin_dll, booted.relocate_plugin_dll ? pe::Placement::kElsewhere
                                                                : pe::Placement::kPreferredBase);
  if (loaded.module == nullptr) {
    std::fprintf(stderr, "%s: %s\n", booted.plugin_dll.c_str(), loaded.error.c_str());
    std::exit(1);
  }
  const FARPROC start = GetProcAddress(loaded.module, "Start");
  if (start == nullptr) {
    std::fprintf(stderr, "%s exports no Start\n", booted.plugin_dll.c_str());
    std::exit(1);
  }
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(start));
}

}  // namespace

void Boot(const Settings& settings) {
  booted = settings;
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
  const uint32_t entry = game::LayOutCallSite(kStartCaller, StartAddress(), 0, true);
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
