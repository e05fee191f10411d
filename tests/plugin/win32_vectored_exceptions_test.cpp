// Hardware faults reach vectored exception handlers as they do on 32-bit Windows: on the
// faulting thread, with the registers of the faulting instruction, in registration order, and
// execution resumes from the registers the handler leaves in the CONTEXT.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "win32/win32_world.h"

namespace qz::win32 {
namespace {

// Each fault below is a two-byte instruction; the handler steps over it.
constexpr DWORD kFaultLength = 2;
constexpr DWORD kUnmappedAddress = 0x10;

struct SeenFault {
  DWORD code = 0;
  DWORD eip = 0;
  PVOID address = nullptr;
  DWORD parameter_count = 0;
  ULONG_PTR access = 0;
  ULONG_PTR data_address = 0;
  DWORD thread = 0;
};

SeenFault seen;

LONG WINAPI StepOverFault(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  seen = SeenFault{
      record.ExceptionCode,    exception->ContextRecord->Eip,  record.ExceptionAddress,
      record.NumberParameters, record.ExceptionInformation[0], record.ExceptionInformation[1],
      GetCurrentThreadId()};
  exception->ContextRecord->Eax = 42;
  exception->ContextRecord->Eip += kFaultLength;
  return EXCEPTION_CONTINUE_EXECUTION;
}

DWORD ReadUnmapped() {
  DWORD value = kUnmappedAddress;
  asm volatile("movl (%0), %0" : "+a"(value)::"memory");
  return value;
}

DWORD WriteUnmapped() {
  DWORD value = kUnmappedAddress;
  asm volatile("movl %%ecx, (%0)" : "+a"(value) : "c"(7) : "memory");
  return value;
}

DWORD DivideByZero() {
  DWORD value = 1;
  asm volatile("xorl %%edx, %%edx\n\tdivl %%ecx" : "+a"(value) : "c"(0) : "edx");
  return value;
}

DWORD IllegalInstruction() {
  DWORD value = 0;
  asm volatile("ud2" : "+a"(value));
  return value;
}

class Win32VectoredExceptions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorld();
    seen = SeenFault{};
  }
  void TearDown() override { ResetWorld(); }
};

TEST_F(Win32VectoredExceptions, EachFaultKindArrivesWithItsCodeAndResumesAfterStepping) {
  struct Case {
    const char* name;
    DWORD (*fault)();
    DWORD code;
  };
  const Case cases[] = {
      {"read", &ReadUnmapped, EXCEPTION_ACCESS_VIOLATION},
      {"write", &WriteUnmapped, EXCEPTION_ACCESS_VIOLATION},
      {"divide", &DivideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO},
      {"ud2", &IllegalInstruction, EXCEPTION_ILLEGAL_INSTRUCTION},
  };
  PVOID handler = AddVectoredExceptionHandler(0, &StepOverFault);
  ASSERT_NE(handler, nullptr);
  for (const Case& c : cases) {
    seen = SeenFault{};
    EXPECT_EQ(c.fault(), 42u) << c.name;
    EXPECT_EQ(seen.code, c.code) << c.name;
    EXPECT_EQ(reinterpret_cast<DWORD>(seen.address), seen.eip) << c.name;
    EXPECT_EQ(seen.thread, GetCurrentThreadId()) << c.name;
  }
  EXPECT_EQ(RemoveVectoredExceptionHandler(handler), 1u);
}

TEST_F(Win32VectoredExceptions, AccessViolationNamesTheAddressAndWhetherItWasAWrite) {
  PVOID handler = AddVectoredExceptionHandler(1, &StepOverFault);
  ReadUnmapped();
  EXPECT_EQ(seen.parameter_count, 2u);
  EXPECT_EQ(seen.access, 0u);
  EXPECT_EQ(seen.data_address, kUnmappedAddress);
  WriteUnmapped();
  EXPECT_EQ(seen.access, 1u);
  EXPECT_EQ(seen.data_address, kUnmappedAddress);
  RemoveVectoredExceptionHandler(handler);
}

TEST_F(Win32VectoredExceptions, FaultOnAnotherThreadIsHandledOnThatThread) {
  PVOID handler = AddVectoredExceptionHandler(1, &StepOverFault);
  DWORD result = 0;
  DWORD worker = 0;
  std::thread thread([&] {
    worker = GetCurrentThreadId();
    result = ReadUnmapped();
  });
  thread.join();
  EXPECT_EQ(result, 42u);
  EXPECT_EQ(seen.code, EXCEPTION_ACCESS_VIOLATION);
  EXPECT_EQ(seen.thread, worker);
  EXPECT_NE(worker, GetCurrentThreadId());
  RemoveVectoredExceptionHandler(handler);
}

// The faulting code loads the address of its own resume point into Ecx; the handler sends the
// thread there and sets Edx, so the instruction between the fault and that point never runs.
LONG WINAPI ResumeAtEcx(EXCEPTION_POINTERS* exception) {
  exception->ContextRecord->Eip = exception->ContextRecord->Ecx;
  exception->ContextRecord->Edx = 7;
  return EXCEPTION_CONTINUE_EXECUTION;
}

DWORD FaultThenSkipToResumePoint() {
  DWORD edx = 0;
  asm volatile(
      "call 1f\n"
      "1: popl %%ecx\n\t"
      "addl $(2f - 1b), %%ecx\n\t"
      "xorl %%eax, %%eax\n\t"
      "movl (%%eax), %%eax\n\t"
      "movl $1, %%edx\n"
      "2:"
      : "=d"(edx)
      :
      : "eax", "ecx", "memory");
  return edx;
}

TEST_F(Win32VectoredExceptions, ExecutionResumesAtTheEipTheHandlerChose) {
  PVOID handler = AddVectoredExceptionHandler(1, &ResumeAtEcx);
  EXPECT_EQ(FaultThenSkipToResumePoint(), 7u);
  std::thread thread([] { EXPECT_EQ(FaultThenSkipToResumePoint(), 7u); });
  thread.join();
  RemoveVectoredExceptionHandler(handler);
}

std::vector<int> call_order;

LONG WINAPI PassOnAsOne(EXCEPTION_POINTERS*) {
  call_order.push_back(1);
  return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI PassOnAsTwo(EXCEPTION_POINTERS*) {
  call_order.push_back(2);
  return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI PassOnAsThree(EXCEPTION_POINTERS*) {
  call_order.push_back(3);
  return EXCEPTION_CONTINUE_SEARCH;
}

TEST_F(Win32VectoredExceptions, HandlersRunInOrderWithFirstOnesInFront) {
  call_order.clear();
  PVOID last = AddVectoredExceptionHandler(0, &StepOverFault);
  PVOID two = AddVectoredExceptionHandler(0, &PassOnAsTwo);
  PVOID one = AddVectoredExceptionHandler(1, &PassOnAsOne);
  PVOID three = AddVectoredExceptionHandler(0, &PassOnAsThree);
  // StepOverFault was added first without First, so it still comes before two and three.
  ReadUnmapped();
  EXPECT_EQ(call_order, std::vector<int>({1}));
  ASSERT_EQ(RemoveVectoredExceptionHandler(last), 1u);
  AddVectoredExceptionHandler(0, &StepOverFault);
  call_order.clear();
  ReadUnmapped();
  EXPECT_EQ(call_order, std::vector<int>({1, 2, 3}));
  EXPECT_EQ(RemoveVectoredExceptionHandler(one), 1u);
  EXPECT_EQ(RemoveVectoredExceptionHandler(one), 0u);
  EXPECT_EQ(RemoveVectoredExceptionHandler(two), 1u);
  EXPECT_EQ(RemoveVectoredExceptionHandler(three), 1u);
}

TEST_F(Win32VectoredExceptions, UnhandledFaultEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        AddVectoredExceptionHandler(0, &PassOnAsOne);
        ReadUnmapped();
      },
      "");
}

}  // namespace
}  // namespace qz::win32
