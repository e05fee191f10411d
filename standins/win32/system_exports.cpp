// The export tables of the system libraries. Every KERNEL32, USER32 and GDI32 function is
// stdcall, and the build checks that it removes as many argument bytes as mingw-w64's import
// libraries declare (_Name@N), so a DLL can never be bound to a shim of another signature.
// msvcrt's functions are cdecl; where its rules match the host C library's, the host's own
// function serves.
#include "win32/system_exports.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "win32/mingw_stdcall_bytes.h"
#include "win32/msvcrt_functions.h"
#include "win32/runtime_functions.h"
#include "win32/win32_world.h"

namespace qz::win32 {
namespace {

// What a stdcall function removes from the stack: each argument takes whole 4-byte words.
template <typename Result, typename... Arguments>
constexpr int StdcallArgumentBytes(Result(__attribute__((stdcall)) *)(Arguments...)) {
  return (0 + ... + ((static_cast<int>(sizeof(Arguments)) + 3) / 4 * 4));
}

// A function as itself, data by its address.
template <typename Exported>
FARPROC ExportAddress(Exported* exported) {
  if constexpr (std::is_function_v<Exported>) {
    return AsExport(exported);
  } else {
    return reinterpret_cast<FARPROC>(reinterpret_cast<uintptr_t>(exported));
  }
}

constexpr int DeclaredArgumentBytes(std::string_view name) {
  for (const DeclaredStdcall& declared : kMingwStdcalls) {
    if (name == declared.name) return declared.argument_bytes;
  }
  return -1;
}

#define STDCALL_EXPORT(library, function)                                                    \
  [] {                                                                                       \
    static_assert(StdcallArgumentBytes(&function) == DeclaredArgumentBytes(#function),       \
                  #function " removes other argument bytes than mingw-w64 declares for it"); \
    return SystemExport{#library ".dll", #function, AsExport(&function)};                    \
  }()
#define CDECL_EXPORT(name, address)             \
  SystemExport {                                \
    "msvcrt.dll", #name, ExportAddress(address) \
  }

}  // namespace

std::span<const SystemExport> SystemExports() {
  static const SystemExport exports[] = {
      STDCALL_EXPORT(kernel32, GetModuleHandleA),
      STDCALL_EXPORT(kernel32, LoadLibraryA),
      STDCALL_EXPORT(kernel32, GetProcAddress),
      STDCALL_EXPORT(kernel32, FreeLibrary),
      STDCALL_EXPORT(kernel32, FindResourceA),
      STDCALL_EXPORT(kernel32, LoadResource),
      STDCALL_EXPORT(kernel32, LockResource),
      STDCALL_EXPORT(kernel32, SizeofResource),
      STDCALL_EXPORT(kernel32, GetCurrentDirectoryA),
      STDCALL_EXPORT(kernel32, SetCurrentDirectoryA),
      STDCALL_EXPORT(kernel32, GetSystemInfo),
      STDCALL_EXPORT(kernel32, GetCurrentProcess),
      STDCALL_EXPORT(kernel32, GetProcessAffinityMask),
      STDCALL_EXPORT(kernel32, SetProcessAffinityMask),
      STDCALL_EXPORT(kernel32, GetCurrentProcessorNumber),
      STDCALL_EXPORT(kernel32, Sleep),
      STDCALL_EXPORT(kernel32, GetCurrentThreadId),
      STDCALL_EXPORT(kernel32, InitializeCriticalSection),
      STDCALL_EXPORT(kernel32, EnterCriticalSection),
      STDCALL_EXPORT(kernel32, LeaveCriticalSection),
      STDCALL_EXPORT(kernel32, DeleteCriticalSection),
      STDCALL_EXPORT(kernel32, GetLastError),
      STDCALL_EXPORT(kernel32, SetLastError),
      STDCALL_EXPORT(kernel32, AddVectoredExceptionHandler),
      STDCALL_EXPORT(kernel32, RemoveVectoredExceptionHandler),
      STDCALL_EXPORT(kernel32, CreateEventA),
      STDCALL_EXPORT(kernel32, SetEvent),
      STDCALL_EXPORT(kernel32, ResetEvent),
      STDCALL_EXPORT(kernel32, CreateSemaphoreA),
      STDCALL_EXPORT(kernel32, ReleaseSemaphore),
      STDCALL_EXPORT(kernel32, WaitForSingleObject),
      STDCALL_EXPORT(kernel32, WaitForMultipleObjects),
      STDCALL_EXPORT(kernel32, CloseHandle),
      STDCALL_EXPORT(kernel32, DuplicateHandle),
      STDCALL_EXPORT(kernel32, GetHandleInformation),
      STDCALL_EXPORT(kernel32, CreateThread),
      STDCALL_EXPORT(kernel32, GetCurrentThread),
      STDCALL_EXPORT(kernel32, GetCurrentProcessId),
      STDCALL_EXPORT(kernel32, OpenProcess),
      STDCALL_EXPORT(kernel32, SuspendThread),
      STDCALL_EXPORT(kernel32, ResumeThread),
      STDCALL_EXPORT(kernel32, GetThreadContext),
      STDCALL_EXPORT(kernel32, SetThreadContext),
      STDCALL_EXPORT(kernel32, GetThreadPriority),
      STDCALL_EXPORT(kernel32, SetThreadPriority),
      STDCALL_EXPORT(kernel32, TryEnterCriticalSection),
      STDCALL_EXPORT(kernel32, TlsAlloc),
      STDCALL_EXPORT(kernel32, TlsFree),
      STDCALL_EXPORT(kernel32, TlsGetValue),
      STDCALL_EXPORT(kernel32, TlsSetValue),
      STDCALL_EXPORT(kernel32, VirtualAlloc),
      STDCALL_EXPORT(kernel32, VirtualFree),
      STDCALL_EXPORT(kernel32, VirtualProtect),
      STDCALL_EXPORT(kernel32, VirtualQuery),
      STDCALL_EXPORT(kernel32, GetSystemTimeAsFileTime),
      STDCALL_EXPORT(kernel32, GetTickCount64),
      STDCALL_EXPORT(kernel32, IsDebuggerPresent),
      STDCALL_EXPORT(kernel32, OutputDebugStringA),
      STDCALL_EXPORT(kernel32, RaiseException),
      STDCALL_EXPORT(kernel32, FormatMessageA),
      STDCALL_EXPORT(kernel32, LocalFree),
      STDCALL_EXPORT(kernel32, IsDBCSLeadByteEx),
      STDCALL_EXPORT(kernel32, MultiByteToWideChar),
      STDCALL_EXPORT(kernel32, WideCharToMultiByte),
      STDCALL_EXPORT(kernel32, GetModuleHandleW),
      STDCALL_EXPORT(kernel32, LoadLibraryW),
      STDCALL_EXPORT(user32, MessageBoxA),
      STDCALL_EXPORT(user32, GetSystemMetrics),
      STDCALL_EXPORT(user32, SystemParametersInfoA),
      STDCALL_EXPORT(user32, RegisterClassA),
      STDCALL_EXPORT(user32, CreateWindowExA),
      STDCALL_EXPORT(user32, DestroyWindow),
      STDCALL_EXPORT(user32, IsWindow),
      STDCALL_EXPORT(user32, DefWindowProcA),
      STDCALL_EXPORT(user32, SendMessageA),
      STDCALL_EXPORT(user32, CallWindowProcA),
      STDCALL_EXPORT(user32, GetClientRect),
      STDCALL_EXPORT(user32, GetWindowRect),
      STDCALL_EXPORT(user32, SetWindowPos),
      STDCALL_EXPORT(user32, GetWindowLongA),
      STDCALL_EXPORT(user32, SetWindowLongA),
      STDCALL_EXPORT(user32, ShowWindow),
      STDCALL_EXPORT(user32, AdjustWindowRectEx),
      STDCALL_EXPORT(user32, ClientToScreen),
      STDCALL_EXPORT(user32, ScreenToClient),
      STDCALL_EXPORT(user32, LoadCursorA),
      STDCALL_EXPORT(user32, CreateIconIndirect),
      STDCALL_EXPORT(user32, CreateIconFromResourceEx),
      STDCALL_EXPORT(user32, GetIconInfo),
      STDCALL_EXPORT(user32, DestroyIcon),
      STDCALL_EXPORT(user32, DestroyCursor),
      STDCALL_EXPORT(user32, SetCursor),
      STDCALL_EXPORT(user32, GetCursor),
      STDCALL_EXPORT(user32, ShowCursor),
      STDCALL_EXPORT(user32, GetCursorInfo),
      STDCALL_EXPORT(user32, GetCursorPos),
      STDCALL_EXPORT(user32, SetCursorPos),
      STDCALL_EXPORT(user32, GetKeyState),
      STDCALL_EXPORT(user32, PeekMessageA),
      STDCALL_EXPORT(user32, DispatchMessageA),
      STDCALL_EXPORT(user32, InvalidateRect),
      STDCALL_EXPORT(user32, BeginPaint),
      STDCALL_EXPORT(user32, EndPaint),
      STDCALL_EXPORT(user32, GetDC),
      STDCALL_EXPORT(user32, ReleaseDC),
      STDCALL_EXPORT(user32, SetRect),
      STDCALL_EXPORT(user32, IntersectRect),
      STDCALL_EXPORT(user32, PtInRect),
      STDCALL_EXPORT(gdi32, CreateCompatibleDC),
      STDCALL_EXPORT(gdi32, DeleteDC),
      STDCALL_EXPORT(gdi32, CreateDIBSection),
      STDCALL_EXPORT(gdi32, CreateBitmap),
      STDCALL_EXPORT(gdi32, SelectObject),
      STDCALL_EXPORT(gdi32, DeleteObject),
      STDCALL_EXPORT(gdi32, GetObjectA),
      STDCALL_EXPORT(gdi32, BitBlt),
      STDCALL_EXPORT(gdi32, PatBlt),
      STDCALL_EXPORT(gdi32, GetDIBits),
      STDCALL_EXPORT(gdi32, GetPixel),
      CDECL_EXPORT(__mb_cur_max, &msvcrt::mb_cur_max),
      CDECL_EXPORT(_iob, msvcrt::iob),
      CDECL_EXPORT(__setusermatherr, &msvcrt::SetUserMathErr),
      CDECL_EXPORT(_amsg_exit, &msvcrt::AmsgExit),
      CDECL_EXPORT(_beginthreadex, &msvcrt::BeginThreadEx),
      CDECL_EXPORT(_endthreadex, &msvcrt::EndThreadEx),
      CDECL_EXPORT(_errno, &msvcrt::Errno),
      CDECL_EXPORT(_initterm, &msvcrt::InitTerm),
      CDECL_EXPORT(_lock, &msvcrt::Lock),
      CDECL_EXPORT(_unlock, &msvcrt::Unlock),
      CDECL_EXPORT(_setjmp3, &msvcrt::qz_msvcrt_setjmp3),
      CDECL_EXPORT(longjmp, &msvcrt::qz_msvcrt_longjmp),
      CDECL_EXPORT(_ultoa, &msvcrt::UnsignedLongToText),
      CDECL_EXPORT(_strdup, &msvcrt::DuplicateText),
      CDECL_EXPORT(_read, &msvcrt::Read),
      CDECL_EXPORT(_close, &msvcrt::Close),
      CDECL_EXPORT(fprintf, &msvcrt::Fprintf),
      CDECL_EXPORT(vfprintf, &msvcrt::Vfprintf),
      CDECL_EXPORT(printf, &msvcrt::Printf),
      CDECL_EXPORT(fputc, &msvcrt::Fputc),
      CDECL_EXPORT(fputs, &msvcrt::Fputs),
      CDECL_EXPORT(fwrite, &msvcrt::Fwrite),
      CDECL_EXPORT(setlocale, &msvcrt::SetLocale),
      CDECL_EXPORT(localeconv, &msvcrt::LocaleConv),
      CDECL_EXPORT(wcslen, &msvcrt::WideLength),
      CDECL_EXPORT(abort, &::abort),
      CDECL_EXPORT(exit, &::exit),
      CDECL_EXPORT(atoi, &::atoi),
      CDECL_EXPORT(calloc, &::calloc),
      CDECL_EXPORT(free, &::free),
      CDECL_EXPORT(malloc, &::malloc),
      CDECL_EXPORT(realloc, &::realloc),
      CDECL_EXPORT(memchr, static_cast<const void* (*)(const void*, int, size_t)>(&::memchr)),
      CDECL_EXPORT(memcmp, &::memcmp),
      CDECL_EXPORT(memcpy, &::memcpy),
      CDECL_EXPORT(memmove, &::memmove),
      CDECL_EXPORT(memset, &::memset),
      CDECL_EXPORT(strchr, static_cast<const char* (*)(const char*, int)>(&::strchr)),
      CDECL_EXPORT(strcmp, &::strcmp),
      CDECL_EXPORT(strerror, &::strerror),
      CDECL_EXPORT(strlen, &::strlen),
      CDECL_EXPORT(strncmp, &::strncmp),
  };
  return exports;
}

}  // namespace qz::win32
