// Thread identity, last error, sleeping and critical sections.
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "win32/runtime_functions.h"
#include "win32/world_state.h"

using namespace qz::win32;

namespace {

thread_local DWORD last_error = ERROR_SUCCESS;

// The lock behind a critical section lives on the heap; LockSemaphore points at it.
std::mutex* LockOf(LPCRITICAL_SECTION section) {
  if (section->LockSemaphore == nullptr) Fatal("critical section used without initialisation");
  return static_cast<std::mutex*>(section->LockSemaphore);
}

HANDLE CurrentThreadAsOwner() {
  return reinterpret_cast<HANDLE>(GetCurrentThreadId());
}

}  // namespace

extern "C" {

DWORD WINAPI GetLastError(void) {
  return last_error;
}

void WINAPI SetLastError(DWORD dwErrCode) {
  last_error = dwErrCode;
}

DWORD WINAPI GetCurrentThreadId(void) {
  return static_cast<DWORD>(syscall(SYS_gettid));
}

void WINAPI Sleep(DWORD dwMilliseconds) {
  int percent = 0;
  {
    auto lock = LockWorld();
    World& world = TheWorld();
    world.requested_sleep += dwMilliseconds;
    percent = world.sleep_percent;
  }
  const uint64_t scaled = uint64_t{dwMilliseconds} * static_cast<uint64_t>(percent) / 100;
  if (dwMilliseconds == 0) {
    std::this_thread::yield();
  } else if (scaled > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(scaled));
  }
}

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  *lpCriticalSection = CRITICAL_SECTION{};
  lpCriticalSection->LockCount = -1;
  lpCriticalSection->LockSemaphore = new std::mutex;
}

// The owner may enter again; RecursionCount counts the entries, as on Windows.
void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  std::mutex* lock = LockOf(lpCriticalSection);
  std::atomic_ref<HANDLE> owner(lpCriticalSection->OwningThread);
  const HANDLE self = CurrentThreadAsOwner();
  if (owner.load() == self) {
    ++lpCriticalSection->RecursionCount;
    return;
  }
  lock->lock();
  owner.store(self);
  lpCriticalSection->LockCount = 0;
  lpCriticalSection->RecursionCount = 1;
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  std::mutex* lock = LockOf(lpCriticalSection);
  std::atomic_ref<HANDLE> owner(lpCriticalSection->OwningThread);
  const HANDLE self = CurrentThreadAsOwner();
  if (owner.load() == self) {
    ++lpCriticalSection->RecursionCount;
    return TRUE;
  }
  if (!lock->try_lock()) return FALSE;
  owner.store(self);
  lpCriticalSection->LockCount = 0;
  lpCriticalSection->RecursionCount = 1;
  return TRUE;
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  std::mutex* lock = LockOf(lpCriticalSection);
  std::atomic_ref<HANDLE> owner(lpCriticalSection->OwningThread);
  if (owner.load() != CurrentThreadAsOwner()) {
    Fatal("LeaveCriticalSection by a thread that does not own the section");
  }
  if (--lpCriticalSection->RecursionCount > 0) return;
  lpCriticalSection->LockCount = -1;
  owner.store(nullptr);
  lock->unlock();
}

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  std::mutex* lock = LockOf(lpCriticalSection);
  if (std::atomic_ref<HANDLE>(lpCriticalSection->OwningThread).load() != nullptr) {
    Fatal("DeleteCriticalSection on a section that is held");
  }
  delete lock;
  lpCriticalSection->LockSemaphore = nullptr;
}

}  // extern "C"
