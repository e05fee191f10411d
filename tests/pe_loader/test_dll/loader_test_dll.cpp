// A DLL of the loader's own tests, built by the mingw-w64 toolchain as QZ_PRX.dll is: it keeps
// a log of every TLS callback and entry-point notification and offers one routine per part of
// the loader's contract.
#include "loader_test_dll.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

constexpr int32_t kMaxEvents = 256;
LoaderEvent events[kMaxEvents];
std::atomic<int32_t> event_count{0};

void Record(int32_t source, DWORD reason) {
  const int32_t slot = event_count.fetch_add(1);
  if (slot < kMaxEvents) events[slot] = {source, reason, GetCurrentThreadId()};
}

void WINAPI OnTls(PVOID, DWORD reason, PVOID) {
  Record(kFromTlsCallback, reason);
}

// Listed after the runtime's own callbacks, between .CRT$XLA and .CRT$XLZ.
extern "C" __attribute__((section(".CRT$XLF"), used))
const PIMAGE_TLS_CALLBACK loader_test_tls_callback = OnTls;

int32_t value_behind_pointer = 4711;
int32_t* volatile pointer_in_data = &value_behind_pointer;

thread_local int32_t runtime_thread_local = 0;
// A variable in the image's own TLS template, reached through fs:0x2C and the module's index.
__attribute__((section(".tls$QZ"))) int32_t image_tls_value = 17;
extern "C" uint32_t _tls_index;
extern "C" char _tls_start;

int32_t* ImageTlsValue() {
  void** tls_array = nullptr;
  asm("movl %%fs:0x2C, %0" : "=r"(tls_array));
  char* block = static_cast<char*>(tls_array[_tls_index]);
  return reinterpret_cast<int32_t*>(block +
                                    (reinterpret_cast<char*>(&image_tls_value) - &_tls_start));
}

struct Carried : std::runtime_error {
  explicit Carried(int32_t carried) : std::runtime_error("carried"), value(carried) {}
  int32_t value;
};

__attribute__((noinline)) void ThrowInner(int32_t value) {
  throw Carried(value);
}
__attribute__((noinline)) void ThrowMiddle(int32_t value) {
  std::vector<int32_t> owned(4, value);  // unwound on the way out
  ThrowInner(owned[3]);
}

void* resume_point[5];
// Read at run time, so the compiler cannot see the write below fault.
int32_t* volatile fault_address = nullptr;
[[noreturn]] void LeaveFault() {
  __builtin_longjmp(resume_point, 1);
}

__attribute__((noinline)) void WriteThroughFaultAddress() {
  *fault_address = 1;
}

// 1 when the write faulted and the handler brought the thread back here.
__attribute__((noinline)) int32_t WriteResumably() {
  if (__builtin_setjmp(resume_point) != 0) return 1;
  WriteThroughFaultAddress();
  return 0;
}

LONG WINAPI OnFault(EXCEPTION_POINTERS* exception) {
  if (exception->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  exception->ContextRecord->Eip = static_cast<DWORD>(reinterpret_cast<uintptr_t>(&LeaveFault));
  return EXCEPTION_CONTINUE_EXECUTION;
}

DetachWitness detach_witness = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  Record(kFromEntryPoint, reason);
  if (reason == DLL_PROCESS_DETACH && detach_witness != nullptr) {
    detach_witness(reserved != nullptr ? 1 : 0);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) void WatchProcessDetach(DetachWitness witness) {
  detach_witness = witness;
}

extern "C" __declspec(dllexport) int32_t CopyEvents(LoaderEvent* copy, int32_t capacity) {
  const int32_t count = std::min(event_count.load(), kMaxEvents);
  for (int32_t i = 0; i < count && i < capacity; ++i) copy[i] = events[i];
  return count;
}

extern "C" __declspec(dllexport) int32_t ReadThroughPointer() {
  return *pointer_in_data;
}

extern "C" __declspec(dllexport) int32_t ThreadLocalRound(int32_t count, int32_t rounds) {
  std::atomic<bool> all_own{true};
  std::vector<std::thread> threads;
  for (int32_t t = 0; t < count; ++t) {
    threads.emplace_back([&all_own, t, rounds] {
      int32_t* image_value = ImageTlsValue();
      if (runtime_thread_local != 0 || *image_value != 17) all_own = false;
      for (int32_t round = 0; round < rounds; ++round) {
        runtime_thread_local += t + 1;
        *image_value += t + 1;
        std::this_thread::yield();
      }
      if (runtime_thread_local != rounds * (t + 1) || *image_value != 17 + rounds * (t + 1)) {
        all_own = false;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  return all_own && runtime_thread_local == 0 && *ImageTlsValue() == 17 ? 1 : 0;
}

extern "C" __declspec(dllexport) int32_t ThrowAcrossFrames(int32_t value) {
  try {
    ThrowMiddle(value);
  } catch (const std::runtime_error& error) {
    return static_cast<const Carried&>(error).value;
  }
  return -1;
}

extern "C" __declspec(dllexport) int32_t FaultOnWorker() {
  PVOID handler = AddVectoredExceptionHandler(1, OnFault);
  std::atomic<int32_t> resumed{0};
  std::thread worker([&resumed] { resumed = WriteResumably(); });
  worker.join();
  RemoveVectoredExceptionHandler(handler);
  return resumed.load();
}
