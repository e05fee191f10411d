#pragma once
// Stand-in for the patching library splicer_x86.dll: shared variables, and writes and hooks
// applied to the game image for real (calling a hooked game routine reaches the handler), each
// recorded so tests can walk what the plug-in changed.
#include <cstdint>
#include <string>
#include <vector>

namespace standin::splicer {

struct WriteRecord {
  std::string instance;
  uint32_t address;
  std::vector<uint8_t> bytes;
};

struct HookRecord {
  std::string instance;
  uint32_t address;
  int32_t kind;        // 0 call instruction, 1 routine entry, 2 pointer cell, -1 register hook
  int32_t mode;        // 0: handler replaces the routine; 1 or 2: handler gets the hook first
  int32_t convention;  // 0 stack, 1 object in ECX, 2 ECX and EDX
  uint32_t handler;
  uint32_t original;  // what OriginalFunction returns: the hook in force before, else the game
  uint32_t direct;    // what OriginalFunctionDirect returns: the game's own code
  bool active;
};

// Makes the library appear as a loaded module "splicer_x86.dll" with its two exports.
void Install();

// The host modification's side: publish a value (creating the variable) and read one back.
void Publish(const char* name, int32_t value);
bool Exists(const char* name);
int32_t Value(const char* name);

// Instance names that will fail to be created.
void RefuseInstance(const char* name);

const std::vector<WriteRecord>& Writes();
const std::vector<HookRecord>& Hooks();
const std::vector<std::string>& Instances();
// The hook in force at an address, or null.
const HookRecord* HookAt(uint32_t address);

}  // namespace standin::splicer
