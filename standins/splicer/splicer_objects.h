#pragma once
// The library's objects as the plug-in sees them: a pointer to a table of standard-call routines
// that take the object first, with the stand-in's state behind it.
#include <cstdint>
#include <string>

#define STANDIN_STDCALL __attribute__((stdcall))
#define STANDIN_CDECL __attribute__((cdecl))

namespace standin::splicer {

struct Object {
  void* const* slots;
};

struct Variable : Object {
  int32_t value;
};

struct Instance : Object {
  std::string name;
};

struct Hook : Object {
  int32_t record;  // index into Hooks()
};

// A table of `Size` slots where every slot the plug-in may not call stops the test with its
// number, so an unexpected slot is a clear failure rather than a wild jump.
template <int Size>
struct SlotTable {
  void* slots[Size];
};

[[noreturn]] void UnexpectedSlot(const char* object, int slot);

template <int Slot>
[[noreturn]] STANDIN_STDCALL void TrapSlot(Object*) {
  UnexpectedSlot("splicer object", Slot);
}

template <int Size, int... Slots>
SlotTable<Size> TrapTable(std::integer_sequence<int, Slots...>) {
  return {{reinterpret_cast<void*>(&TrapSlot<Slots>)...}};
}

template <int Size>
SlotTable<Size> TrapTable() {
  return TrapTable<Size>(std::make_integer_sequence<int, Size>());
}

}  // namespace standin::splicer
