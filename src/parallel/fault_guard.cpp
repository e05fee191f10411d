#include "parallel/fault_guard.h"

#include <windows.h>

namespace qz::parallel {
namespace {

// __builtin_setjmp needs five words; it restores only the stack and frame registers, so no
// run-time unwinding is involved when we leave a faulted band.
struct GuardFrame {
  void* jump_buffer[5];
};

thread_local GuardFrame* active_frame = nullptr;

// Entered in place of the faulting instruction, on the faulting thread's stack, which may be
// aligned to 4 bytes only.
[[noreturn]] __attribute__((force_align_arg_pointer)) void LeaveFaultedBand() {
  __builtin_longjmp(active_frame->jump_buffer, 1);
}

LONG WINAPI OnException(EXCEPTION_POINTERS* exception) {
  if (active_frame == nullptr) return EXCEPTION_CONTINUE_SEARCH;
  exception->ContextRecord->Eip =
      static_cast<DWORD>(reinterpret_cast<uintptr_t>(&LeaveFaultedBand));
  return EXCEPTION_CONTINUE_EXECUTION;
}

bool RunCatchingExceptions(BandRoutine routine, const void* context, int32_t left, int32_t right,
                           int32_t top, int32_t bottom) {
  try {
    routine(context, left, right, top, bottom);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

FaultGuardScope::FaultGuardScope() : handler_(AddVectoredExceptionHandler(1, OnException)) {}

FaultGuardScope::~FaultGuardScope() {
  if (handler_ != nullptr) RemoveVectoredExceptionHandler(handler_);
}

bool RunGuardedBand(BandRoutine routine, const void* context, int32_t left, int32_t right,
                    int32_t top, int32_t bottom) {
  GuardFrame frame;
  if (__builtin_setjmp(frame.jump_buffer) != 0) {
    active_frame = nullptr;
    return false;
  }
  active_frame = &frame;
  const bool finished = RunCatchingExceptions(routine, context, left, right, top, bottom);
  active_frame = nullptr;
  return finished;
}

}  // namespace qz::parallel
