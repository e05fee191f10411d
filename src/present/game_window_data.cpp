#include "present/game_window_data.h"

#include "core/game_call.h"
#include "core/settings.h"

namespace qz::present::game {

using core::At;
using core::ThisCall;

void Redraw() {
  void* manager = Cell<void*>(kScreenManager);
  if (manager == nullptr) return;
  At<ThisCall<void, int32_t, int32_t, int32_t, int32_t>>(kRedraw)(manager, 0, 0, core::srcW,
                                                                  core::srcH);
}

void AfterModeChange() {
  At<ThisCall<void>>(kAfterModeChangeA)(nullptr);
  At<void (*)()>(kAfterModeChangeB)();
}

void ShowGameMessage(const char* text) {
  using Show =
      void(__attribute__((fastcall))*)(const char*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                       int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
  At<Show>(kShowGameMessage)(text, 4, -1, -1, -1, 0, -1, 0, -1, 15000, -1, 0);
}

void StartThread(void(__cdecl* routine)(void*)) {
  using Start = uintptr_t(__cdecl*)(void(__cdecl*)(void*), uint32_t, void*);
  At<Start>(kThreadStart)(routine, 0, nullptr);
}

void EndThread() {
  using End = void(__cdecl*)();
  At<End>(kThreadEnd)();
}

}  // namespace qz::present::game
