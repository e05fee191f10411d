#pragma once
// Loads a 32-bit Windows DLL into the stand-in world as Windows would: maps and relocates it,
// binds its imports to the stand-in's system libraries and modules (refusing, with every
// missing import named, when one is lacking), sets up thread-local storage, runs its TLS
// callbacks and entry point for the process and for every thread that enters or leaves, and
// registers it so that LoadLibraryA, GetModuleHandleA and GetProcAddress find it. The process
// detaches it at exit.
#include <windows.h>

#include <string>

#include "pe_loader/image_mapping.h"

namespace standin::pe {

struct LoadResult {
  HMODULE module = nullptr;  // the image's base, as on Windows; null when refused
  std::string error;         // why it was refused
};

// The module is registered under the file's name (directory dropped).
LoadResult LoadDll(const std::string& path, Placement placement);

// The image's preferred base, from its headers.
uintptr_t PreferredBase(HMODULE module);

}  // namespace standin::pe
