#pragma once
// The msvcrt.dll functions a DLL's runtime imports, where the Microsoft C library differs from
// the host's: its stream table and FILE records, locale categories, 16-bit wide characters, the
// jump buffer and thread start. All cdecl. The PE loader binds them under msvcrt's names.
#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace qz::win32::msvcrt {

// msvcrt's FILE record; _iob holds stdin, stdout and stderr in this layout.
struct File {
  char* ptr;
  int count;
  char* base;
  int flags;
  int file;
  int charbuf;
  int buffer_size;
  char* temporary_name;
};
extern File iob[3];
extern int mb_cur_max;

int Fprintf(File* stream, const char* format, ...);
int Vfprintf(File* stream, const char* format, va_list arguments);
int Printf(const char* format, ...);
int Fputc(int character, File* stream);
int Fputs(const char* text, File* stream);
size_t Fwrite(const void* data, size_t size, size_t count, File* stream);
int Read(int descriptor, void* buffer, unsigned count);
int Close(int descriptor);

char* SetLocale(int category, const char* locale);
void* LocaleConv();
size_t WideLength(const uint16_t* text);
char* UnsignedLongToText(unsigned long value, char* buffer, int radix);
char* DuplicateText(const char* text);

void InitTerm(void (**begin)(), void (**end)());
void Lock(int index);
void Unlock(int index);
[[noreturn]] void AmsgExit(int code);
void SetUserMathErr(void* handler);
int* Errno();

uintptr_t BeginThreadEx(void* security, unsigned stack_size,
                        unsigned(__attribute__((stdcall)) * routine)(void*), void* argument,
                        unsigned flags, unsigned* thread_id);
[[noreturn]] void EndThreadEx(unsigned code);

// _setjmp3 and longjmp on msvcrt's jump buffer (written in assembly).
extern "C" int qz_msvcrt_setjmp3(void* buffer, int count, ...);
extern "C" [[noreturn]] void qz_msvcrt_longjmp(void* buffer, int value);

}  // namespace qz::win32::msvcrt
