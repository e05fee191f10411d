// Events, semaphores, waits and handles.
#include "win32/kernel_objects.h"

#include <unistd.h>

#include <chrono>
#include <map>
#include <vector>

#include "win32/world_state.h"

namespace qz::win32 {
namespace {

std::map<HANDLE, std::shared_ptr<KernelObject>> objects;
uintptr_t next_object_handle = 0x7000;
thread_local std::shared_ptr<KernelObject> current_thread;

const HANDLE kCurrentProcessHandle = reinterpret_cast<HANDLE>(-1);

bool IsSignalled(const KernelObject& object) {
  switch (object.kind) {
    case KernelObject::Kind::kSemaphore:
      return object.count > 0;
    case KernelObject::Kind::kProcess:
      return false;
    default:
      return object.signalled;
  }
}

// What a satisfied wait takes: an auto-reset event resets, a semaphore counts down.
void Consume(KernelObject& object) {
  if (object.kind == KernelObject::Kind::kSemaphore) {
    --object.count;
  } else if (object.kind == KernelObject::Kind::kEvent && !object.manual_reset) {
    object.signalled = false;
  }
}

std::shared_ptr<KernelObject> LookUpKind(HANDLE handle, KernelObject::Kind kind) {
  std::shared_ptr<KernelObject> object = LookUpObject(handle);
  if (object != nullptr && object->kind != kind) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return object;
}

// Index of the object that ends the wait, `count` when all of them do, -1 while it must go on.
int Satisfied(const std::vector<std::shared_ptr<KernelObject>>& waited, bool all) {
  const int count = static_cast<int>(waited.size());
  if (all) {
    for (const auto& object : waited) {
      if (!IsSignalled(*object)) return -1;
    }
    for (const auto& object : waited) Consume(*object);
    return count;
  }
  for (int i = 0; i < count; ++i) {
    if (IsSignalled(*waited[i])) {
      Consume(*waited[i]);
      return i;
    }
  }
  return -1;
}

DWORD Wait(const HANDLE* handles, DWORD count, bool all, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::unique_lock lock(ObjectMutex());
  std::vector<std::shared_ptr<KernelObject>> waited;
  for (DWORD i = 0; i < count; ++i) {
    std::shared_ptr<KernelObject> object = LookUpObject(handles[i]);
    if (object == nullptr) return WAIT_FAILED;
    waited.push_back(std::move(object));
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    const int index = Satisfied(waited, all);
    if (index >= 0) return static_cast<DWORD>(index == static_cast<int>(count) ? 0 : index);
    if (milliseconds == INFINITE) {
      ObjectsChanged().wait(lock);
    } else if (ObjectsChanged().wait_until(lock, deadline) == std::cv_status::timeout) {
      const int last = Satisfied(waited, all);
      if (last < 0) return WAIT_TIMEOUT;
      return static_cast<DWORD>(last == static_cast<int>(count) ? 0 : last);
    }
  }
}

}  // namespace

// Never destroyed: threads still wait on them while the process exits, and destroying a
// condition that has waiters blocks.
std::mutex& ObjectMutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}

std::condition_variable& ObjectsChanged() {
  static auto* changed = new std::condition_variable;
  return *changed;
}

HANDLE AddObject(std::shared_ptr<KernelObject> object) {
  next_object_handle += 4;
  const HANDLE handle = reinterpret_cast<HANDLE>(next_object_handle);
  objects[handle] = std::move(object);
  return handle;
}

std::shared_ptr<KernelObject> CurrentThreadObject() {
  if (current_thread == nullptr) {
    current_thread = std::make_shared<KernelObject>();
    current_thread->kind = KernelObject::Kind::kThread;
    current_thread->thread_id = GetCurrentThreadId();
    current_thread->running = true;
  }
  return current_thread;
}

void SetCurrentThreadObject(std::shared_ptr<KernelObject> object) {
  current_thread = std::move(object);
}

std::shared_ptr<KernelObject> LookUpObject(HANDLE handle) {
  if (handle == kCurrentThreadHandle) return CurrentThreadObject();
  const auto found = objects.find(handle);
  if (found == objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return found->second;
}

}  // namespace qz::win32

using namespace qz::win32;

extern "C" {

HANDLE WINAPI CreateEventA(LPVOID, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName) {
  // Named objects are shared between processes; this world has one process and no names.
  if (lpName != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto event = std::make_shared<KernelObject>();
  event->kind = KernelObject::Kind::kEvent;
  event->manual_reset = bManualReset != FALSE;
  event->signalled = bInitialState != FALSE;
  std::lock_guard lock(ObjectMutex());
  return AddObject(std::move(event));
}

BOOL WINAPI SetEvent(HANDLE hEvent) {
  std::lock_guard lock(ObjectMutex());
  const auto event = LookUpKind(hEvent, KernelObject::Kind::kEvent);
  if (event == nullptr) return FALSE;
  event->signalled = true;
  ObjectsChanged().notify_all();
  return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE hEvent) {
  std::lock_guard lock(ObjectMutex());
  const auto event = LookUpKind(hEvent, KernelObject::Kind::kEvent);
  if (event == nullptr) return FALSE;
  event->signalled = false;
  return TRUE;
}

HANDLE WINAPI CreateSemaphoreA(LPVOID, LONG lInitialCount, LONG lMaximumCount, LPCSTR lpName) {
  if (lpName != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto semaphore = std::make_shared<KernelObject>();
  semaphore->kind = KernelObject::Kind::kSemaphore;
  semaphore->count = lInitialCount;
  semaphore->maximum = lMaximumCount;
  std::lock_guard lock(ObjectMutex());
  return AddObject(std::move(semaphore));
}

BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount) {
  std::lock_guard lock(ObjectMutex());
  const auto semaphore = LookUpKind(hSemaphore, KernelObject::Kind::kSemaphore);
  if (semaphore == nullptr) return FALSE;
  if (lReleaseCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (lReleaseCount > semaphore->maximum - semaphore->count) {
    SetLastError(ERROR_TOO_MANY_POSTS);
    return FALSE;
  }
  if (lpPreviousCount != nullptr) *lpPreviousCount = semaphore->count;
  semaphore->count += lReleaseCount;
  ObjectsChanged().notify_all();
  return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  return Wait(&hHandle, 1, false, dwMilliseconds);
}

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                                    DWORD dwMilliseconds) {
  return Wait(lpHandles, nCount, bWaitAll != FALSE, dwMilliseconds);
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
  if (hObject == kCurrentThreadHandle || hObject == kCurrentProcessHandle) return TRUE;
  std::lock_guard lock(ObjectMutex());
  if (objects.erase(hObject) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

// Within this one process only; the access asked for is not modelled.
BOOL WINAPI DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle,
                            HANDLE hTargetProcessHandle, PHANDLE lpTargetHandle, DWORD, BOOL,
                            DWORD dwOptions) {
  if (hSourceProcessHandle != kCurrentProcessHandle ||
      hTargetProcessHandle != kCurrentProcessHandle) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(ObjectMutex());
  std::shared_ptr<KernelObject> object = LookUpObject(hSourceHandle);
  if (object == nullptr) return FALSE;
  if ((dwOptions & DUPLICATE_CLOSE_SOURCE) != 0) objects.erase(hSourceHandle);
  if (lpTargetHandle != nullptr) *lpTargetHandle = AddObject(std::move(object));
  return TRUE;
}

BOOL WINAPI GetHandleInformation(HANDLE hObject, LPDWORD lpdwFlags) {
  std::lock_guard lock(ObjectMutex());
  if (LookUpObject(hObject) == nullptr) return FALSE;
  if (lpdwFlags == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpdwFlags = 0;
  return TRUE;
}

DWORD WINAPI GetCurrentProcessId(void) {
  return static_cast<DWORD>(getpid());
}

HANDLE WINAPI OpenProcess(DWORD, BOOL, DWORD dwProcessId) {
  if (dwProcessId != GetCurrentProcessId()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto process = std::make_shared<KernelObject>();
  process->kind = KernelObject::Kind::kProcess;
  std::lock_guard lock(ObjectMutex());
  return AddObject(std::move(process));
}

}  // extern "C"
