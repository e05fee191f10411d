#include "present/filter_switch.h"

#include "core/settings.h"
#include "present/filter_selection.h"
#include "present/filter_table.h"
#include "present/game_window_data.h"
#include "present/window_geometry.h"

namespace qz::present {

std::atomic<int32_t> PendingTimers{0};
std::atomic<int32_t> SkipPending{0};

namespace {

constexpr DWORD kMessageDelay = 1500;
constexpr uint32_t kSkipTarget = 0x6030A3;
constexpr int kResumeField = 8;  // 32-bit words: the resume address sits at byte offset 32

}  // namespace

int32_t NextFilter(int32_t index, int32_t step) {
  int32_t next = index;
  for (int32_t tries = 0; tries < kFilterCount; ++tries) {
    next = (next + step + kFilterCount) % kFilterCount;
    if (FilterAvailable(next)) return next;
  }
  return index;
}

void SwitchFilter(HWND window) {
  using namespace qz::core;
  SelectFilter(FilterIndex);
  SetProcessAffinityMask(GetCurrentProcess(), FilterIndex >= 4 ? SavedAffinityMask : 1);
  UpdateGeometry(window);
  game::Redraw();
  ++PendingTimers;
  game::StartThread(FilterMessageTimer);
  void* manager = game::Cell<void*>(game::kScreenManager);
  if (manager == nullptr) return;
  *reinterpret_cast<int32_t*>(static_cast<uint8_t*>(manager) + game::kMessageField) = -1;
  game::ShowGameMessage(Filter(FilterIndex).name);
}

void __cdecl FilterMessageTimer(void*) {
  Sleep(kMessageDelay);
  // Only the last of several quick switches raises the flag; testing and counting down in one
  // step keeps two timers that wake together from both missing it.
  if (game::Cell<int32_t>(game::kStateWord) != 0 && PendingTimers.fetch_sub(1) == 1) {
    SkipPending.store(1);
  }
  game::EndThread();
}

int32_t WINAPI SkipOnce(void*, uint32_t* context) {
  int32_t expected = 1;
  if (SkipPending.compare_exchange_strong(expected, 0)) context[kResumeField] = kSkipTarget;
  return 1;
}

}  // namespace qz::present
