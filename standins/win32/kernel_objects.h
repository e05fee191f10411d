#pragma once
// Kernel objects behind handles: events, semaphores and threads, with one lock and one
// condition that every wait shares, so a wait for several objects sees them change together.
#include <condition_variable>
#include <memory>
#include <mutex>

#include "win32/runtime_functions.h"

namespace qz::win32 {

struct KernelObject {
  enum class Kind { kEvent, kSemaphore, kThread, kProcess };
  Kind kind = Kind::kEvent;
  bool manual_reset = false;  // events
  bool signalled = false;     // events; threads once they have finished
  LONG count = 0;             // semaphores
  LONG maximum = 0;
  DWORD thread_id = 0;  // threads
  DWORD exit_code = STILL_ACTIVE;
  DWORD suspend_count = 0;  // only before the thread first runs
  bool running = false;
  int priority = 0;
};

std::mutex& ObjectMutex();
// Notified whenever an object becomes signalled or a thread may go on.
std::condition_variable& ObjectsChanged();

// Call with ObjectMutex held.
HANDLE AddObject(std::shared_ptr<KernelObject> object);
// The object behind a handle, GetCurrentThread()'s pseudo handle included; null and
// ERROR_INVALID_HANDLE when there is none. Call with ObjectMutex held.
std::shared_ptr<KernelObject> LookUpObject(HANDLE handle);
// The object of the calling thread, made on first use for threads the stand-in did not start.
// Call with ObjectMutex held.
std::shared_ptr<KernelObject> CurrentThreadObject();
void SetCurrentThreadObject(std::shared_ptr<KernelObject> object);

inline const HANDLE kCurrentThreadHandle = reinterpret_cast<HANDLE>(-2);

}  // namespace qz::win32
