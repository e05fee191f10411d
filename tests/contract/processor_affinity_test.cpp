// A process mask of one processor holds every thread of the process on it: the calling thread
// at once and a thread made afterwards from its start, as the worker pool relies on when the
// filters that confine the game are chosen.
#include <gtest/gtest.h>

#include <set>

#include "win32_contract.h"

namespace qz::contract {
namespace {

constexpr int kSamples = 2000;

// The processors a thread is seen on while it keeps giving up its time slice.
std::set<DWORD> ProcessorsSeen() {
  std::set<DWORD> seen;
  for (int sample = 0; sample < kSamples; ++sample) {
    seen.insert(GetCurrentProcessorNumber());
    Sleep(0);
  }
  return seen;
}

DWORD WINAPI RecordProcessors(LPVOID seen) {
  *static_cast<std::set<DWORD>*>(seen) = ProcessorsSeen();
  return 0;
}

DWORD HighestProcessor(DWORD_PTR mask) {
  DWORD highest = 0;
  for (DWORD bit = 0; bit < 8 * sizeof mask; ++bit) {
    if ((mask >> bit & 1) != 0) highest = bit;
  }
  return highest;
}

TEST(ContractProcessorAffinity, OneProcessorMaskHoldsTheCallerAndLaterThreadsOnIt) {
  DWORD_PTR before = 0;
  DWORD_PTR system = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &before, &system));
  const DWORD processor = HighestProcessor(system);
  const DWORD_PTR one = DWORD_PTR{1} << processor;
  ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), one));
  DWORD_PTR now = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &now, &system));
  EXPECT_EQ(now, one);

  EXPECT_EQ(ProcessorsSeen(), std::set<DWORD>{processor}) << "the calling thread";
  std::set<DWORD> thread_seen;
  HANDLE thread = CreateThread(nullptr, 0, RecordProcessors, &thread_seen, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  CloseHandle(thread);
  EXPECT_EQ(thread_seen, std::set<DWORD>{processor}) << "a thread made afterwards";

  ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), before));
}

}  // namespace
}  // namespace qz::contract
