#pragma once
// Applies hooks to the game image: each kind rewrites the game's code the way the real library
// does, so calling the game's routine reaches the handler.
#include <cstdint>

#include "splicer/splicer_library.h"

namespace standin::splicer {

// Prepares a hook: computes its entry (the handler, or for modes 1 and 2 a thunk that puts the
// hook object first) and the address that runs the replaced routine. False when the address
// does not hold what the kind needs.
bool PrepareHook(HookRecord& record, uint32_t hook_object);

// Puts a prepared hook in force.
void ApplyHook(const HookRecord& record, uint32_t entry);

// Entry a prepared hook jumps to.
uint32_t HookEntry(const HookRecord& record, uint32_t hook_object);

// Register hook: the handler gets (hook, context) with the registers pushed by pushad and, at
// byte offset 32, the address where the game resumes.
bool ApplyRegisterHook(HookRecord& record, uint32_t hook_object);

}  // namespace standin::splicer
