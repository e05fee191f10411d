// Threads that a DLL's runtime makes (CreateThread, and _beginthreadex of the C runtime), their
// suspension before they first run, priorities, and the observer that hears of every thread
// entering and leaving.
#include <pthread.h>

#include <csetjmp>

#include "win32/kernel_objects.h"
#include "win32/msvcrt_functions.h"
#include "win32/world_state.h"

namespace qz::win32 {
namespace {

ThreadObserver observer{nullptr, nullptr};

constexpr size_t kDefaultStackBytes = 1 << 20;  // what a 32-bit executable reserves by default

struct ThreadStart {
  DWORD (*routine)(void*);  // stdcall, as both CreateThread and _beginthreadex take it
  void* argument;
  std::shared_ptr<KernelObject> object;
};

// Where _endthreadex leaves a thread that _beginthreadex made.
struct ExitPoint {
  jmp_buf jump;
  DWORD code = 0;
};
thread_local ExitPoint* exit_point = nullptr;

bool IsKnownPriority(int priority) {
  return (priority >= -2 && priority <= 2) || priority == -15 || priority == 15;
}

void* RunThread(void* raw) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(raw));
  {
    std::unique_lock lock(ObjectMutex());
    start->object->thread_id = GetCurrentThreadId();
    ObjectsChanged().notify_all();
    ObjectsChanged().wait(lock, [&] { return start->object->suspend_count == 0; });
    start->object->running = true;
    SetCurrentThreadObject(start->object);
  }
  ThreadEnters();
  ExitPoint exit;
  exit_point = &exit;
  DWORD code = 0;
  if (setjmp(exit.jump) == 0) {
    code = reinterpret_cast<DWORD(WINAPI*)(void*)>(start->routine)(start->argument);
  } else {
    code = exit.code;
  }
  exit_point = nullptr;
  ThreadLeaves();
  std::lock_guard lock(ObjectMutex());
  start->object->exit_code = code;
  start->object->signalled = true;
  ObjectsChanged().notify_all();
  return nullptr;
}

HANDLE StartThread(DWORD (*routine)(void*), void* argument, size_t stack_bytes, DWORD flags,
                   DWORD* thread_id) {
  if (routine == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_shared<KernelObject>();
  object->kind = KernelObject::Kind::kThread;
  object->suspend_count = (flags & CREATE_SUSPENDED) != 0 ? 1 : 0;
  auto start = std::make_unique<ThreadStart>(ThreadStart{routine, argument, object});
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes,
                            stack_bytes > kDefaultStackBytes ? stack_bytes : kDefaultStackBytes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  const int failed = pthread_create(&thread, &attributes, &RunThread, start.get());
  pthread_attr_destroy(&attributes);
  if (failed != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  start.release();
  std::unique_lock lock(ObjectMutex());
  // The identity is the new thread's own, so it is known once the thread has run a little.
  ObjectsChanged().wait(lock, [&] { return object->thread_id != 0; });
  if (thread_id != nullptr) *thread_id = object->thread_id;
  return AddObject(object);
}

std::shared_ptr<KernelObject> LookUpThread(HANDLE handle) {
  std::shared_ptr<KernelObject> object = LookUpObject(handle);
  if (object != nullptr && object->kind != KernelObject::Kind::kThread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return object;
}

}  // namespace

void SetThreadObserver(ThreadObserver new_observer) {
  observer = new_observer;
}

void ThreadEnters() {
  if (observer.enters != nullptr) observer.enters();
}

void ThreadLeaves() {
  if (observer.leaves != nullptr) observer.leaves();
}

namespace msvcrt {

uintptr_t BeginThreadEx(void*, unsigned stack_size, unsigned(WINAPI* routine)(void*),
                        void* argument, unsigned flags, unsigned* thread_id) {
  DWORD id = 0;
  const HANDLE handle =
      StartThread(reinterpret_cast<DWORD (*)(void*)>(routine), argument, stack_size, flags, &id);
  if (handle != nullptr && thread_id != nullptr) *thread_id = id;
  return reinterpret_cast<uintptr_t>(handle);
}

void EndThreadEx(unsigned code) {
  // Only a thread that _beginthreadex made has a place to return to without unwinding frames
  // that the host's unwinder cannot read.
  if (exit_point == nullptr) Fatal("_endthreadex on a thread that _beginthreadex did not make");
  exit_point->code = code;
  longjmp(exit_point->jump, 1);
}

}  // namespace msvcrt
}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

HANDLE WINAPI CreateThread(LPVOID, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                           LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId) {
  return StartThread(reinterpret_cast<DWORD (*)(void*)>(lpStartAddress), lpParameter, dwStackSize,
                     dwCreationFlags, lpThreadId);
}

HANDLE WINAPI GetCurrentThread(void) {
  return kCurrentThreadHandle;
}

DWORD WINAPI ResumeThread(HANDLE hThread) {
  std::lock_guard lock(ObjectMutex());
  const auto thread = LookUpThread(hThread);
  if (thread == nullptr) return static_cast<DWORD>(-1);
  const DWORD previous = thread->suspend_count;
  if (previous > 0 && --thread->suspend_count == 0) ObjectsChanged().notify_all();
  return previous;
}

// A thread can be held only before it first runs: stopping a running thread at an arbitrary
// instruction is not modelled, and the caller hears so.
DWORD WINAPI SuspendThread(HANDLE hThread) {
  std::lock_guard lock(ObjectMutex());
  const auto thread = LookUpThread(hThread);
  if (thread == nullptr) return static_cast<DWORD>(-1);
  if (thread->running || thread->signalled) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return static_cast<DWORD>(-1);
  }
  return thread->suspend_count++;
}

// Another thread's registers are not reachable here (see SuspendThread).
BOOL WINAPI GetThreadContext(HANDLE, PCONTEXT) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

BOOL WINAPI SetThreadContext(HANDLE, const CONTEXT*) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

int WINAPI GetThreadPriority(HANDLE hThread) {
  std::lock_guard lock(ObjectMutex());
  const auto thread = LookUpThread(hThread);
  return thread == nullptr ? THREAD_PRIORITY_ERROR_RETURN : thread->priority;
}

// Kept and reported; the host's scheduler is not asked.
BOOL WINAPI SetThreadPriority(HANDLE hThread, int nPriority) {
  std::lock_guard lock(ObjectMutex());
  const auto thread = LookUpThread(hThread);
  if (thread == nullptr) return FALSE;
  if (!IsKnownPriority(nPriority)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  thread->priority = nPriority;
  return TRUE;
}

}  // extern "C"
