// msvcrt's standard streams: the DLL names them by their place in _iob, which maps onto the
// host's stdin, stdout and stderr. Only those three streams exist.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "win32/msvcrt_functions.h"

namespace qz::win32::msvcrt {

File iob[3] = {{nullptr, 0, nullptr, 0, 0, 0, 0, nullptr},
               {nullptr, 0, nullptr, 0, 1, 0, 0, nullptr},
               {nullptr, 0, nullptr, 0, 2, 0, 0, nullptr}};

namespace {

FILE* HostStream(const File* stream) {
  if (stream == &iob[0]) return stdin;
  if (stream == &iob[1]) return stdout;
  if (stream == &iob[2]) return stderr;
  errno = EBADF;
  return nullptr;
}

}  // namespace

int Vfprintf(File* stream, const char* format, va_list arguments) {
  FILE* host = HostStream(stream);
  return host == nullptr ? -1 : std::vfprintf(host, format, arguments);
}

int Fprintf(File* stream, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written = Vfprintf(stream, format, arguments);
  va_end(arguments);
  return written;
}

int Printf(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written = Vfprintf(&iob[1], format, arguments);
  va_end(arguments);
  return written;
}

int Fputc(int character, File* stream) {
  FILE* host = HostStream(stream);
  return host == nullptr ? EOF : std::fputc(character, host);
}

int Fputs(const char* text, File* stream) {
  FILE* host = HostStream(stream);
  return host == nullptr ? EOF : std::fputs(text, host);
}

size_t Fwrite(const void* data, size_t size, size_t count, File* stream) {
  FILE* host = HostStream(stream);
  return host == nullptr ? 0 : std::fwrite(data, size, count, host);
}

int Read(int descriptor, void* buffer, unsigned count) {
  return static_cast<int>(::read(descriptor, buffer, count));
}

int Close(int descriptor) {
  return ::close(descriptor);
}

}  // namespace qz::win32::msvcrt
