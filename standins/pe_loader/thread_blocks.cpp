#include "pe_loader/thread_blocks.h"

#include <asm/ldt.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <bitset>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "win32/world_state.h"

namespace standin::pe {
namespace {

constexpr uint32_t kBlockBytes = 0x1000;
constexpr int kMaxModules = 64;
constexpr int kLdtEntries = 8192;

// Offsets in the thread information block.
constexpr uint32_t kExceptionList = 0x00;
constexpr uint32_t kStackBase = 0x04;
constexpr uint32_t kStackLimit = 0x08;
constexpr uint32_t kSelf = 0x18;
constexpr uint32_t kProcessId = 0x20;
constexpr uint32_t kThreadId = 0x24;
constexpr uint32_t kTlsArray = 0x2C;
constexpr uint32_t kProcessBlock = 0x30;

struct ThreadRecord {
  uint8_t* block = nullptr;
  void** tls_array = nullptr;
  int ldt_entry = 0;
};

std::mutex blocks_mutex;
std::bitset<kLdtEntries> ldt_in_use;
std::vector<ModuleTls> modules;
std::set<ThreadRecord*> threads;
thread_local ThreadRecord* current = nullptr;

void Put(uint8_t* block, uint32_t offset, uint32_t value) {
  std::memcpy(block + offset, &value, 4);
}

uint32_t Word(const void* pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

uint8_t* ProcessBlock() {
  static uint8_t* process = static_cast<uint8_t*>(std::calloc(1, kBlockBytes));
  return process;
}

void* NewTlsBlock(const ModuleTls& tls) {
  const uint32_t template_bytes = tls.template_end - tls.template_start;
  auto* data = static_cast<uint8_t*>(std::calloc(1, template_bytes + tls.zero_fill + 4));
  std::memcpy(data, reinterpret_cast<const void*>(static_cast<uintptr_t>(tls.template_start)),
              template_bytes);
  return data;
}

// The thread's stack as the host knows it; the DLL's runtime uses the base to tell threads apart.
void StackRange(uint32_t* base, uint32_t* limit) {
  pthread_attr_t attributes;
  void* address = nullptr;
  size_t bytes = 0;
  if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
    pthread_attr_getstack(&attributes, &address, &bytes);
    pthread_attr_destroy(&attributes);
  }
  if (address == nullptr) {
    const uint32_t here = Word(__builtin_frame_address(0));
    *base = (here | 0xFFFF) + 1;
    *limit = *base - 0x100000;
    return;
  }
  *limit = Word(address);
  *base = Word(static_cast<uint8_t*>(address) + bytes);
}

void WriteLdtEntry(int entry, uint32_t base, bool present) {
  user_desc descriptor{};
  descriptor.entry_number = static_cast<unsigned>(entry);
  descriptor.base_addr = base;
  descriptor.limit = present ? kBlockBytes - 1 : 0;
  descriptor.seg_32bit = 1;
  descriptor.read_exec_only = present ? 0 : 1;
  descriptor.seg_not_present = present ? 0 : 1;
  descriptor.useable = present ? 1 : 0;
  if (syscall(SYS_modify_ldt, 1, &descriptor, sizeof descriptor) != 0) {
    qz::win32::Fatal("modify_ldt refused a thread block's descriptor");
  }
}

void LoadFs(uint16_t selector) {
  asm volatile("movw %0, %%fs" : : "r"(selector) : "memory");
}

}  // namespace

bool EnterThreadBlock() {
  if (current != nullptr) return false;
  auto* record = new ThreadRecord;
  record->block = static_cast<uint8_t*>(std::aligned_alloc(kBlockBytes, kBlockBytes));
  std::memset(record->block, 0, kBlockBytes);
  record->tls_array = static_cast<void**>(std::calloc(kMaxModules, sizeof(void*)));
  uint32_t stack_base = 0;
  uint32_t stack_limit = 0;
  StackRange(&stack_base, &stack_limit);
  Put(record->block, kExceptionList, 0xFFFFFFFF);  // the end of the chain
  Put(record->block, kStackBase, stack_base);
  Put(record->block, kStackLimit, stack_limit);
  Put(record->block, kSelf, Word(record->block));
  Put(record->block, kProcessId, static_cast<uint32_t>(getpid()));
  Put(record->block, kThreadId, static_cast<uint32_t>(syscall(SYS_gettid)));
  Put(record->block, kTlsArray, Word(record->tls_array));
  Put(record->block, kProcessBlock, Word(ProcessBlock()));
  {
    std::lock_guard lock(blocks_mutex);
    int entry = 1;
    while (entry < kLdtEntries && ldt_in_use[entry]) ++entry;
    if (entry == kLdtEntries) qz::win32::Fatal("more threads than descriptor table entries");
    ldt_in_use[entry] = true;
    record->ldt_entry = entry;
    for (const ModuleTls& tls : modules) record->tls_array[tls.index] = NewTlsBlock(tls);
    threads.insert(record);
  }
  WriteLdtEntry(record->ldt_entry, Word(record->block), true);
  // Local table, privilege level 3.
  LoadFs(static_cast<uint16_t>((record->ldt_entry << 3) | 7));
  current = record;
  return true;
}

void LeaveThreadBlock() {
  ThreadRecord* record = current;
  if (record == nullptr) return;
  current = nullptr;
  LoadFs(0);
  WriteLdtEntry(record->ldt_entry, 0, false);
  std::lock_guard lock(blocks_mutex);
  for (const ModuleTls& tls : modules) std::free(record->tls_array[tls.index]);
  ldt_in_use[record->ldt_entry] = false;
  threads.erase(record);
  std::free(record->tls_array);
  std::free(record->block);
  delete record;
}

uint32_t AddModuleTls(ModuleTls tls) {
  std::lock_guard lock(blocks_mutex);
  if (modules.size() == kMaxModules) qz::win32::Fatal("too many modules with thread-local data");
  tls.index = static_cast<uint32_t>(modules.size());
  modules.push_back(tls);
  for (ThreadRecord* record : threads) record->tls_array[tls.index] = NewTlsBlock(tls);
  return tls.index;
}

}  // namespace standin::pe
