#pragma once
// The patching library's objects as the plug-in calls them: each is a pointer to a table of
// routines that take the object first and remove their own arguments. Every setting and every
// change to the game passes through here.
#include <cstdint>

namespace qz::core {

struct SplicerObject {
  void* const* slots;
};
using Splicer = SplicerObject;
using SplicerInstance = SplicerObject;
using SharedVariable = SplicerObject;
using SplicerHook = SplicerObject;

// Slot numbers of the tables, in the order the library lays them out.
enum SplicerSlot : int { kCreateInstance = 0, kCreateVariable = 12, kFindVariable = 13 };
enum VariableSlot : int { kValuePointer = 2 };
enum InstanceSlot : int {
  kWriteByte = 0,
  kWriteDword = 2,
  kWriteJump = 3,
  kWriteHook = 7,
  kCreateHook = 15,
  kWriteHexBytes = 19,
  kWriteRegisterHook = 26,
};
enum HookSlot : int { kActivate = 6, kOriginalFunction = 11, kOriginalFunctionDirect = 12 };

// Hook kinds: the call instruction at the address, the routine starting there, a pointer cell.
enum HookKind : int32_t { kCallSite = 0, kRoutine = 1, kPointerCell = 2 };
// Conventions: stack only, object in the first register, two register arguments.
enum HookConvention : int32_t { kStackCall = 0, kThisCall = 1, kRegisterCall = 2 };

// The library's Splicer, null until obtained or when the library or its getter is missing.
extern Splicer* TheSplicer;

// Locates splicer_x86.dll once per process (already loaded, else loaded) and returns its
// Splicer; later calls return the cached answer.
Splicer* ObtainSplicer();

// Find-or-create: the address of the variable's 32-bit value. A variable that can be neither
// found nor created stops the program at once.
int32_t* VariablePointer(const char* name);
int32_t ReadVariable(const char* name);
void WriteVariable(const char* name, int32_t value);

SplicerInstance* CreateInstance(const char* name);
void WriteByte(SplicerInstance* instance, uint32_t address, uint8_t value);
void WriteDword(SplicerInstance* instance, uint32_t address, uint32_t value);
void WriteJump(SplicerInstance* instance, uint32_t address, uint32_t target);
void WriteHexBytes(SplicerInstance* instance, uint32_t address, const char* text);
SplicerHook* WriteHook(SplicerInstance* instance, uint32_t address, HookKind kind, int32_t mode,
                       HookConvention convention, const void* handler);
// A whole-routine replacement in the routine's own convention: created, then put in force.
SplicerHook* ReplaceRoutine(SplicerInstance* instance, uint32_t address, const void* handler);
void WriteRegisterHook(SplicerInstance* instance, uint32_t address, const void* handler);

const void* OriginalFunction(SplicerHook* hook);
const void* OriginalFunctionDirect(SplicerHook* hook);

// Mode of a hook whose handler gets the SplicerHook first: 1 when bit 0 of "QZ.ExeVersion" is
// set, else 2; read afresh for every hook.
int32_t HandlerMode();

}  // namespace qz::core
