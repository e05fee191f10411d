// Vectored exception handling over POSIX signals: a hardware fault becomes an exception record
// and a CONTEXT built from the signal's saved registers, the registered handlers see it in
// order on the faulting thread, and a handler that continues execution has its integer and
// control registers written back, so the thread resumes at its Eip and Esp.
#include <asm/ldt.h>
#include <signal.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <memory>

#include "win32/runtime_functions.h"
#include "win32/world_state.h"

using namespace qz::win32;

namespace {

struct Registration {
  PVECTORED_EXCEPTION_HANDLER handler;
};

// The handler list has its own lock: the world's lock may be held by the faulting thread.
std::mutex registrations_mutex;
std::vector<std::unique_ptr<Registration>> registrations;

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr size_t kMaxHandlers = 64;
constexpr greg_t kWriteAccessBit = 2;  // page fault error code: the access was a write

DWORD ExceptionCode(int signal_number) {
  switch (signal_number) {
    case SIGFPE:
      return EXCEPTION_INT_DIVIDE_BY_ZERO;
    case SIGILL:
      return EXCEPTION_ILLEGAL_INSTRUCTION;
    default:
      return EXCEPTION_ACCESS_VIOLATION;
  }
}

DWORD Register(const greg_t* registers, int index) {
  return static_cast<DWORD>(registers[index]);
}

void ReadContext(const greg_t* registers, CONTEXT* context) {
  context->ContextFlags = CONTEXT_FULL;
  context->SegGs = Register(registers, REG_GS);
  context->SegFs = Register(registers, REG_FS);
  context->SegEs = Register(registers, REG_ES);
  context->SegDs = Register(registers, REG_DS);
  context->Edi = Register(registers, REG_EDI);
  context->Esi = Register(registers, REG_ESI);
  context->Ebx = Register(registers, REG_EBX);
  context->Edx = Register(registers, REG_EDX);
  context->Ecx = Register(registers, REG_ECX);
  context->Eax = Register(registers, REG_EAX);
  context->Ebp = Register(registers, REG_EBP);
  context->Eip = Register(registers, REG_EIP);
  context->SegCs = Register(registers, REG_CS);
  context->EFlags = Register(registers, REG_EFL);
  context->Esp = Register(registers, REG_ESP);
  context->SegSs = Register(registers, REG_SS);
}

// Segment registers stay as they were: a handler has no business changing them.
void WriteContext(const CONTEXT& context, greg_t* registers) {
  registers[REG_EDI] = static_cast<greg_t>(context.Edi);
  registers[REG_ESI] = static_cast<greg_t>(context.Esi);
  registers[REG_EBX] = static_cast<greg_t>(context.Ebx);
  registers[REG_EDX] = static_cast<greg_t>(context.Edx);
  registers[REG_ECX] = static_cast<greg_t>(context.Ecx);
  registers[REG_EAX] = static_cast<greg_t>(context.Eax);
  registers[REG_EBP] = static_cast<greg_t>(context.Ebp);
  registers[REG_EIP] = static_cast<greg_t>(context.Eip);
  registers[REG_EFL] = static_cast<greg_t>(context.EFlags);
  registers[REG_ESP] = static_cast<greg_t>(context.Esp);
}

void ReadRecord(int signal_number, const siginfo_t* info, const greg_t* registers,
                EXCEPTION_RECORD* record) {
  record->ExceptionCode = ExceptionCode(signal_number);
  record->ExceptionAddress = reinterpret_cast<PVOID>(Register(registers, REG_EIP));
  if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
    const bool page_fault =
        signal_number == SIGSEGV && (info->si_code == SEGV_MAPERR || info->si_code == SEGV_ACCERR);
    const bool write = page_fault && (registers[REG_ERR] & kWriteAccessBit) != 0;
    record->NumberParameters = 2;
    record->ExceptionInformation[0] = write ? 1 : 0;
    record->ExceptionInformation[1] = reinterpret_cast<ULONG_PTR>(info->si_addr);
  }
}

// Copies the handlers out so that none runs under the lock (a handler may fault or register).
size_t SnapshotHandlers(std::array<PVECTORED_EXCEPTION_HANDLER, kMaxHandlers>& handlers) {
  std::lock_guard<std::mutex> lock(registrations_mutex);
  const size_t count = std::min(registrations.size(), handlers.size());
  for (size_t i = 0; i < count; ++i) handlers[i] = registrations[i]->handler;
  return count;
}

// qemu-i386 reloads %gs from a descriptor table that all threads share when a signal handler
// returns, so a thread would come back with the thread pointer of the thread started last. The
// entry is set to this thread's own pointer first; on a real kernel the entry is per thread and
// this writes the value it already holds.
void KeepThreadPointerAcrossReturn(const greg_t* registers) {
  uintptr_t thread_pointer = 0;
  asm("movl %%gs:0, %0" : "=r"(thread_pointer));
  user_desc descriptor{};
  descriptor.entry_number = static_cast<unsigned>(registers[REG_GS]) >> 3;
  descriptor.base_addr = static_cast<unsigned>(thread_pointer);
  descriptor.limit = 0xFFFFF;
  descriptor.seg_32bit = 1;
  descriptor.limit_in_pages = 1;
  descriptor.useable = 1;
  syscall(SYS_set_thread_area, &descriptor);
}

void OnFaultSignal(int signal_number, siginfo_t* info, void* signal_context) {
  greg_t* registers = static_cast<ucontext_t*>(signal_context)->uc_mcontext.gregs;
  EXCEPTION_RECORD record{};
  CONTEXT context{};
  ReadRecord(signal_number, info, registers, &record);
  ReadContext(registers, &context);
  EXCEPTION_POINTERS pointers{&record, &context};
  if (DispatchToVectoredHandlers(&pointers)) {
    WriteContext(context, registers);
    KeepThreadPointerAcrossReturn(registers);
    return;
  }
  // Unhandled: the process dies of the fault, as it would without a handler. The signal is
  // blocked while we run, so it arrives with its default action as soon as we return.
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

void InstallSignalHandlers() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction action {};
    action.sa_sigaction = &OnFaultSignal;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (int signal_number : kFaultSignals) sigaction(signal_number, &action, nullptr);
  });
}

}  // namespace

namespace qz::win32 {

bool DispatchToVectoredHandlers(EXCEPTION_POINTERS* exception) {
  std::array<PVECTORED_EXCEPTION_HANDLER, kMaxHandlers> handlers{};
  const size_t count = SnapshotHandlers(handlers);
  for (size_t i = 0; i < count; ++i) {
    if (handlers[i](exception) == EXCEPTION_CONTINUE_EXECUTION) return true;
  }
  return false;
}

void RemoveExceptionHandlers() {
  std::lock_guard<std::mutex> lock(registrations_mutex);
  registrations.clear();
}

}  // namespace qz::win32

extern "C" {

PVOID WINAPI AddVectoredExceptionHandler(ULONG First, PVECTORED_EXCEPTION_HANDLER Handler) {
  InstallSignalHandlers();
  std::lock_guard<std::mutex> lock(registrations_mutex);
  if (Handler == nullptr || registrations.size() == kMaxHandlers) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto registration = std::make_unique<Registration>(Registration{Handler});
  Registration* handle = registration.get();
  registrations.insert(First != 0 ? registrations.begin() : registrations.end(),
                       std::move(registration));
  return handle;
}

ULONG WINAPI RemoveVectoredExceptionHandler(PVOID Handle) {
  std::lock_guard<std::mutex> lock(registrations_mutex);
  const auto found = std::find_if(registrations.begin(), registrations.end(),
                                  [Handle](const auto& entry) { return entry.get() == Handle; });
  if (found == registrations.end()) return 0;
  registrations.erase(found);
  return 1;
}

}  // extern "C"
