#pragma once
// The functions and data that KERNEL32, USER32, GDI32 and msvcrt export in this world, by
// library and name, for the PE loader to bind a DLL's imports to.
#include <windows.h>

#include <span>

namespace qz::win32 {

struct SystemExport {
  const char* library;  // lower case, with ".dll"
  const char* name;
  FARPROC address;  // a function, or the address of exported data
};

std::span<const SystemExport> SystemExports();

}  // namespace qz::win32
