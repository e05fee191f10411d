#include "splicer/splicer_library.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "game/game_image.h"
#include "game/x86_code.h"
#include "splicer/splicer_hooks.h"
#include "splicer/splicer_module.h"
#include "splicer/splicer_objects.h"

namespace standin::splicer {
namespace {

// Objects live until the process ends, as the real library's do.
struct Library {
  std::recursive_mutex mutex;
  std::map<std::string, std::unique_ptr<Variable>> variables;
  std::vector<std::unique_ptr<Instance>> instances;
  std::vector<std::unique_ptr<Hook>> hooks;
  std::set<std::string> refused;
  std::vector<WriteRecord> writes;
  std::vector<HookRecord> hook_records;
  std::vector<std::string> instance_names;
};

Library& TheLibrary() {
  static Library* library = new Library();
  return *library;
}

// --- SharedVariable ------------------------------------------------------------------------

STANDIN_STDCALL int32_t* ValuePointer(Variable* variable) {
  return &variable->value;
}

const SlotTable<4>& VariableSlots() {
  static const SlotTable<4> table = [] {
    auto slots = TrapTable<4>();
    slots.slots[2] = reinterpret_cast<void*>(&ValuePointer);
    return slots;
  }();
  return table;
}

Variable* MakeVariable(const std::string& name, int32_t value) {
  auto& variable = TheLibrary().variables[name];
  if (!variable) {
    variable = std::make_unique<Variable>();
    variable->slots = VariableSlots().slots;
    variable->value = value;
  }
  return variable.get();
}

// --- SplicerHook ---------------------------------------------------------------------------

const HookRecord& RecordOf(const Hook* hook) {
  return TheLibrary().hook_records[hook->record];
}

STANDIN_STDCALL int32_t Activate(Hook* hook, int32_t) {
  std::lock_guard lock(TheLibrary().mutex);
  HookRecord& record = TheLibrary().hook_records[hook->record];
  if (record.active) return 1;
  ApplyHook(record, HookEntry(record, Address(hook)));
  record.active = true;
  return 1;
}

STANDIN_STDCALL uint32_t OriginalFunction(Hook* hook) {
  return RecordOf(hook).original;
}

STANDIN_STDCALL uint32_t OriginalFunctionDirect(Hook* hook) {
  return RecordOf(hook).direct;
}

const SlotTable<16>& HookSlots() {
  static const SlotTable<16> table = [] {
    auto slots = TrapTable<16>();
    slots.slots[6] = reinterpret_cast<void*>(&Activate);
    slots.slots[11] = reinterpret_cast<void*>(&OriginalFunction);
    slots.slots[12] = reinterpret_cast<void*>(&OriginalFunctionDirect);
    return slots;
  }();
  return table;
}

Hook* MakeHook(HookRecord record, bool register_hook) {
  Library& library = TheLibrary();
  auto hook = std::make_unique<Hook>();
  hook->slots = HookSlots().slots;
  hook->record = static_cast<int32_t>(library.hook_records.size());
  const bool prepared = register_hook ? ApplyRegisterHook(record, Address(hook.get()))
                                      : PrepareHook(record, Address(hook.get()));
  if (!prepared) return nullptr;
  // Past every hook written at the address before, down to the game's own code.
  record.direct = record.original;
  for (const HookRecord& earlier : library.hook_records) {
    if (earlier.address == record.address && earlier.kind == record.kind) {
      record.direct = earlier.direct;
      break;
    }
  }
  library.hook_records.push_back(record);
  library.hooks.push_back(std::move(hook));
  return library.hooks.back().get();
}

// --- SplicerInstance -----------------------------------------------------------------------

bool Write(Instance* instance, uint32_t address, const std::vector<uint8_t>& bytes) {
  if (!game::InImage(address, static_cast<uint32_t>(bytes.size()))) return false;
  std::memcpy(Bytes(address), bytes.data(), bytes.size());
  TheLibrary().writes.push_back({instance->name, address, bytes});
  return true;
}

STANDIN_STDCALL int32_t WriteByte(Instance* instance, uint32_t address, uint32_t value) {
  std::lock_guard lock(TheLibrary().mutex);
  return Write(instance, address, {static_cast<uint8_t>(value)});
}

std::vector<uint8_t> LittleEndian(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

STANDIN_STDCALL int32_t WriteDword(Instance* instance, uint32_t address, uint32_t value) {
  std::lock_guard lock(TheLibrary().mutex);
  return Write(instance, address, LittleEndian(value));
}

STANDIN_STDCALL int32_t WriteJump(Instance* instance, uint32_t address, uint32_t target) {
  std::lock_guard lock(TheLibrary().mutex);
  std::vector<uint8_t> bytes = LittleEndian(target - (address + 5));
  bytes.insert(bytes.begin(), 0xE9);
  return Write(instance, address, bytes);
}

// "EB", "90 90 90": two hexadecimal digits a byte, single spaces between; anything else is
// refused whole.
bool ParseHex(const char* text, std::vector<uint8_t>& bytes) {
  if (text == nullptr) return false;
  for (const char* at = text;; at += 3) {
    unsigned value = 0;
    int consumed = 0;
    if (std::sscanf(at, "%2x%n", &value, &consumed) != 1 || consumed != 2) return false;
    bytes.push_back(static_cast<uint8_t>(value));
    if (at[2] == '\0') return true;
    if (at[2] != ' ') return false;
  }
}

int32_t STANDIN_CDECL WriteHexBytes(Instance* instance, uint32_t address, const char* text, ...) {
  std::lock_guard lock(TheLibrary().mutex);
  std::vector<uint8_t> bytes;
  return ParseHex(text, bytes) && Write(instance, address, bytes);
}

Hook* NewHook(Instance* instance, uint32_t address, int32_t kind, int32_t mode, int32_t convention,
              uint32_t handler) {
  const bool valid = mode >= 0 && mode <= 2 && convention >= 0 && convention <= 2 && handler != 0;
  if (!valid) return nullptr;
  // The library of a game build hands the hook to wrappers in the one way that build's version
  // selects; a wrapper written for the other way would misread its arguments in the game.
  const int32_t build_mode = (Value("QZ.ExeVersion") & 1) != 0 ? 1 : 2;
  if (mode != 0 && mode != build_mode) {
    std::fprintf(stderr, "hook at %08X in mode %d on a game whose version selects mode %d\n",
                 address, mode, build_mode);
    std::abort();
  }
  return MakeHook({instance->name, address, kind, mode, convention, handler, 0, 0, false}, false);
}

STANDIN_STDCALL Hook* CreateHook(Instance* instance, uint32_t address, int32_t kind, int32_t mode,
                                 int32_t convention, uint32_t handler) {
  std::lock_guard lock(TheLibrary().mutex);
  return NewHook(instance, address, kind, mode, convention, handler);
}

STANDIN_STDCALL Hook* WriteHook(Instance* instance, uint32_t address, int32_t kind, int32_t mode,
                                int32_t convention, uint32_t handler) {
  std::lock_guard lock(TheLibrary().mutex);
  Hook* hook = NewHook(instance, address, kind, mode, convention, handler);
  if (hook != nullptr) Activate(hook, 0);
  return hook;
}

STANDIN_STDCALL int32_t WriteRegisterHook(Instance* instance, uint32_t address, uint32_t handler,
                                          int32_t size) {
  std::lock_guard lock(TheLibrary().mutex);
  if (handler == 0 || size != 128) return 0;
  Hook* hook = MakeHook({instance->name, address, -1, 0, 0, handler, 0, 0, true}, true);
  if (hook == nullptr) return 0;
  TheLibrary().hook_records[hook->record].active = true;
  return 1;
}

const SlotTable<28>& InstanceSlots() {
  static const SlotTable<28> table = [] {
    auto slots = TrapTable<28>();
    slots.slots[0] = reinterpret_cast<void*>(&WriteByte);
    slots.slots[2] = reinterpret_cast<void*>(&WriteDword);
    slots.slots[3] = reinterpret_cast<void*>(&WriteJump);
    slots.slots[7] = reinterpret_cast<void*>(&WriteHook);
    slots.slots[15] = reinterpret_cast<void*>(&CreateHook);
    slots.slots[19] = reinterpret_cast<void*>(&WriteHexBytes);
    slots.slots[26] = reinterpret_cast<void*>(&WriteRegisterHook);
    return slots;
  }();
  return table;
}

// --- Splicer -------------------------------------------------------------------------------

STANDIN_STDCALL Instance* CreateInstance(Object*, const char* name) {
  Library& library = TheLibrary();
  std::lock_guard lock(library.mutex);
  if (name == nullptr || library.refused.count(name) != 0) return nullptr;
  auto instance = std::make_unique<Instance>();
  instance->slots = InstanceSlots().slots;
  instance->name = name;
  library.instance_names.push_back(name);
  library.instances.push_back(std::move(instance));
  return library.instances.back().get();
}

STANDIN_STDCALL Variable* CreateVariable(Object*, const char* name, int32_t value) {
  std::lock_guard lock(TheLibrary().mutex);
  return name == nullptr ? nullptr : MakeVariable(name, value);
}

STANDIN_STDCALL Variable* FindVariable(Object*, const char* name) {
  Library& library = TheLibrary();
  std::lock_guard lock(library.mutex);
  if (name == nullptr) return nullptr;
  const auto found = library.variables.find(name);
  return found == library.variables.end() ? nullptr : found->second.get();
}

Object* TheSplicerObject() {
  static const SlotTable<16> table = [] {
    auto slots = TrapTable<16>();
    slots.slots[0] = reinterpret_cast<void*>(&CreateInstance);
    slots.slots[12] = reinterpret_cast<void*>(&CreateVariable);
    slots.slots[13] = reinterpret_cast<void*>(&FindVariable);
    return slots;
  }();
  static Object splicer{table.slots};
  return &splicer;
}

STANDIN_STDCALL Object* GetSplicerX86() {
  return TheSplicerObject();
}
STANDIN_STDCALL int32_t GetSplicerX86Version() {
  return 0x0100;
}

}  // namespace

void UnexpectedSlot(const char* object, int slot) {
  std::fprintf(stderr, "%s: slot %d called, which the plug-in never uses\n", object, slot);
  std::abort();
}

void Install() {
  game::MapImage();
  RegisterSplicerModule(reinterpret_cast<void*>(&GetSplicerX86),
                        reinterpret_cast<void*>(&GetSplicerX86Version));
}

void Publish(const char* name, int32_t value) {
  std::lock_guard lock(TheLibrary().mutex);
  MakeVariable(name, value)->value = value;
}

bool Exists(const char* name) {
  std::lock_guard lock(TheLibrary().mutex);
  return TheLibrary().variables.count(name) != 0;
}

int32_t Value(const char* name) {
  std::lock_guard lock(TheLibrary().mutex);
  const auto found = TheLibrary().variables.find(name);
  return found == TheLibrary().variables.end() ? 0 : found->second->value;
}

void RefuseInstance(const char* name) {
  std::lock_guard lock(TheLibrary().mutex);
  TheLibrary().refused.insert(name);
}

const std::vector<WriteRecord>& Writes() {
  return TheLibrary().writes;
}
const std::vector<HookRecord>& Hooks() {
  return TheLibrary().hook_records;
}
const std::vector<std::string>& Instances() {
  return TheLibrary().instance_names;
}

const HookRecord* HookAt(uint32_t address) {
  const HookRecord* found = nullptr;
  for (const HookRecord& record : TheLibrary().hook_records) {
    if (record.address == address && record.active) found = &record;
  }
  return found;
}

}  // namespace standin::splicer
