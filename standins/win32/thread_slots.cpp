// Thread-local slots (Tls*): 1088 per thread as on Windows. A slot reads 0 in every thread from
// its TlsAlloc until that thread sets it: each allocation and each release starts a new
// generation of the slot (odd while allocated), and a value stored under an older generation no
// longer counts. Reads take no lock: the DLL's thread-local variables go through them.
#include <array>
#include <atomic>
#include <mutex>

#include "win32/runtime_functions.h"

namespace {

constexpr DWORD kSlotCount = 1088;

std::mutex slots_mutex;
std::array<std::atomic<uint32_t>, kSlotCount> generations{};

struct Slot {
  LPVOID value = nullptr;
  uint32_t generation = 0;
};
thread_local std::array<Slot, kSlotCount> slots{};

// The slot's generation while it is allocated, else 0.
uint32_t Generation(DWORD index) {
  if (index >= kSlotCount) return 0;
  const uint32_t generation = generations[index].load(std::memory_order_acquire);
  return (generation & 1) != 0 ? generation : 0;
}

}  // namespace

extern "C" {

DWORD WINAPI TlsAlloc(void) {
  std::lock_guard lock(slots_mutex);
  for (DWORD index = 0; index < kSlotCount; ++index) {
    if ((generations[index].load() & 1) == 0) {
      generations[index].fetch_add(1, std::memory_order_release);
      return index;
    }
  }
  SetLastError(ERROR_NO_MORE_ITEMS);
  return TLS_OUT_OF_INDEXES;
}

BOOL WINAPI TlsFree(DWORD dwTlsIndex) {
  std::lock_guard lock(slots_mutex);
  if (Generation(dwTlsIndex) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  generations[dwTlsIndex].fetch_add(1, std::memory_order_release);
  return TRUE;
}

// Success clears the last error, as Windows does, so a stored null can be told from a failure.
LPVOID WINAPI TlsGetValue(DWORD dwTlsIndex) {
  const uint32_t generation = Generation(dwTlsIndex);
  if (generation == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  const Slot& slot = slots[dwTlsIndex];
  return slot.generation == generation ? slot.value : nullptr;
}

BOOL WINAPI TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue) {
  const uint32_t generation = Generation(dwTlsIndex);
  if (generation == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  slots[dwTlsIndex] = Slot{lpTlsValue, generation};
  return TRUE;
}

}  // extern "C"
