#pragma once
// Every thread that runs a loaded DLL's code gets a thread information block of its own, which
// the DLL reaches through FS as on Windows: the exception chain at fs:0, the stack base and
// limit at fs:4 and fs:8, the block's own address at fs:0x18, the thread-local storage array
// at fs:0x2C (one block per module with a TLS directory) and the process block at fs:0x30. FS
// selects an entry of the process's local descriptor table (modify_ldt), one entry per thread.
#include <cstdint>

namespace standin::pe {

// A module's thread-local template: copied into each thread's block, then zero-filled.
struct ModuleTls {
  uint32_t template_start = 0;
  uint32_t template_end = 0;
  uint32_t zero_fill = 0;
  uint32_t index = 0;  // the module's slot in every thread's TLS array
};

// Gives the calling thread its block and loads FS; false when it had one already.
bool EnterThreadBlock();
// Releases the calling thread's block and clears FS.
void LeaveThreadBlock();
// A new module's slot, with its TLS block made in every thread that has a block. Returns the
// slot index, which the module's index variable receives.
uint32_t AddModuleTls(ModuleTls tls);

}  // namespace standin::pe
