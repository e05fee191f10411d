#include "core/splicer.h"

#include <windows.h>

#include "core/game_call.h"

namespace qz::core {

Splicer* TheSplicer = nullptr;

namespace {

// The library is located once; its two exports stay cached with it.
struct SplicerLibrary {
  bool looked_up = false;
  HMODULE module = nullptr;
  FARPROC get_splicer = nullptr;
  FARPROC get_version = nullptr;
};
SplicerLibrary library;

template <typename Routine>
Routine Slot(const SplicerObject* object, int slot) {
  return reinterpret_cast<Routine>(object->slots[slot]);
}

[[noreturn]] void StopProgram() {
  __builtin_trap();
}

}  // namespace

Splicer* ObtainSplicer() {
  if (library.looked_up) return TheSplicer;
  library.looked_up = true;
  library.module = GetModuleHandleA("splicer_x86.dll");
  if (library.module == nullptr) library.module = LoadLibraryA("splicer_x86.dll");
  if (library.module == nullptr) return nullptr;
  library.get_splicer = GetProcAddress(library.module, "_GetSplicerX86@0");
  library.get_version = GetProcAddress(library.module, "_GetSplicerX86Version@0");
  if (library.get_splicer == nullptr) return nullptr;
  using Getter = Splicer*(WINAPI*)();
  TheSplicer = At<Getter>(reinterpret_cast<const void*>(library.get_splicer))();
  return TheSplicer;
}

int32_t* VariablePointer(const char* name) {
  using Find = SharedVariable*(WINAPI*)(Splicer*, const char*);
  using Create = SharedVariable*(WINAPI*)(Splicer*, const char*, int32_t);
  using Value = int32_t*(WINAPI*)(SharedVariable*);
  if (TheSplicer == nullptr) StopProgram();
  SharedVariable* variable = Slot<Find>(TheSplicer, kFindVariable)(TheSplicer, name);
  if (variable == nullptr) {
    variable = Slot<Create>(TheSplicer, kCreateVariable)(TheSplicer, name, 0);
  }
  if (variable == nullptr) StopProgram();
  return Slot<Value>(variable, kValuePointer)(variable);
}

int32_t ReadVariable(const char* name) {
  return *VariablePointer(name);
}

void WriteVariable(const char* name, int32_t value) {
  *VariablePointer(name) = value;
}

SplicerInstance* CreateInstance(const char* name) {
  using Create = SplicerInstance*(WINAPI*)(Splicer*, const char*);
  return Slot<Create>(TheSplicer, kCreateInstance)(TheSplicer, name);
}

void WriteByte(SplicerInstance* instance, uint32_t address, uint8_t value) {
  using Write = int32_t(WINAPI*)(SplicerInstance*, uint32_t, uint8_t);
  Slot<Write>(instance, kWriteByte)(instance, address, value);
}

void WriteDword(SplicerInstance* instance, uint32_t address, uint32_t value) {
  using Write = int32_t(WINAPI*)(SplicerInstance*, uint32_t, uint32_t);
  Slot<Write>(instance, kWriteDword)(instance, address, value);
}

void WriteJump(SplicerInstance* instance, uint32_t address, uint32_t target) {
  using Write = int32_t(WINAPI*)(SplicerInstance*, uint32_t, uint32_t);
  Slot<Write>(instance, kWriteJump)(instance, address, target);
}

void WriteHexBytes(SplicerInstance* instance, uint32_t address, const char* text) {
  // The library's wrapper is variadic, so the caller removes the arguments.
  using Write = int32_t(__cdecl*)(SplicerInstance*, uint32_t, const char*, ...);
  Slot<Write>(instance, kWriteHexBytes)(instance, address, text);
}

SplicerHook* WriteHook(SplicerInstance* instance, uint32_t address, HookKind kind, int32_t mode,
                       HookConvention convention, const void* handler) {
  using Write =
      SplicerHook*(WINAPI*)(SplicerInstance*, uint32_t, int32_t, int32_t, int32_t, const void*);
  return Slot<Write>(instance, kWriteHook)(instance, address, kind, mode, convention, handler);
}

SplicerHook* ReplaceRoutine(SplicerInstance* instance, uint32_t address, const void* handler) {
  using Create =
      SplicerHook*(WINAPI*)(SplicerInstance*, uint32_t, int32_t, int32_t, int32_t, const void*);
  using Activate = int32_t(WINAPI*)(SplicerHook*, int32_t);
  SplicerHook* hook =
      Slot<Create>(instance, kCreateHook)(instance, address, kRoutine, 0, kThisCall, handler);
  if (hook != nullptr) Slot<Activate>(hook, kActivate)(hook, 0);
  return hook;
}

void WriteRegisterHook(SplicerInstance* instance, uint32_t address, const void* handler) {
  using Write = int32_t(WINAPI*)(SplicerInstance*, uint32_t, const void*, int32_t);
  Slot<Write>(instance, kWriteRegisterHook)(instance, address, handler, 128);
}

const void* OriginalFunction(SplicerHook* hook) {
  using Original = const void*(WINAPI*)(SplicerHook*);
  return Slot<Original>(hook, kOriginalFunction)(hook);
}

const void* OriginalFunctionDirect(SplicerHook* hook) {
  using Original = const void*(WINAPI*)(SplicerHook*);
  return Slot<Original>(hook, kOriginalFunctionDirect)(hook);
}

int32_t HandlerMode() {
  return (ReadVariable("QZ.ExeVersion") & 1) != 0 ? 1 : 2;
}

}  // namespace qz::core
