// What a runtime asks about debugging and error reporting: no debugger is attached, system
// messages have no texts here, and a raised exception goes to the vectored handlers and, when
// none continues, ends the process as an unhandled exception does.
#include <cstdio>
#include <cstdlib>

#include "win32/runtime_functions.h"

using namespace qz::win32;

extern "C" {

BOOL WINAPI IsDebuggerPresent(void) {
  return FALSE;
}

// Without a debugger the text goes nowhere.
void WINAPI OutputDebugStringA(LPCSTR) {}

void WINAPI RaiseException(DWORD dwExceptionCode, DWORD dwExceptionFlags, DWORD nNumberOfArguments,
                           const ULONG_PTR* lpArguments) {
  EXCEPTION_RECORD record{};
  record.ExceptionCode = dwExceptionCode;
  record.ExceptionFlags = dwExceptionFlags & EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = __builtin_return_address(0);
  record.NumberParameters = nNumberOfArguments < EXCEPTION_MAXIMUM_PARAMETERS
                                ? nNumberOfArguments
                                : EXCEPTION_MAXIMUM_PARAMETERS;
  for (DWORD i = 0; i < record.NumberParameters && lpArguments != nullptr; ++i) {
    record.ExceptionInformation[i] = lpArguments[i];
  }
  CONTEXT context{};
  EXCEPTION_POINTERS pointers{&record, &context};
  if (DispatchToVectoredHandlers(&pointers) && record.ExceptionFlags == 0) return;
  std::fprintf(stderr, "win32 stand-in: unhandled exception 0x%08lX\n", dwExceptionCode);
  std::abort();
}

DWORD WINAPI FormatMessageA(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*) {
  SetLastError(ERROR_MR_MID_NOT_FOUND);
  return 0;
}

// Nothing here hands out local memory, so only a null handle is freed (as a no-op).
HGLOBAL WINAPI LocalFree(HGLOBAL hMem) {
  if (hMem != nullptr) SetLastError(ERROR_INVALID_HANDLE);
  return hMem;
}

}  // extern "C"
