// msvcrt's start-up helpers, locks, locale and text functions where its rules differ from the
// host C library's.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "win32/msvcrt_functions.h"
#include "win32/world_state.h"

namespace qz::win32::msvcrt {

int mb_cur_max = 1;

namespace {

// msvcrt's numbered run-time locks (_lock / _unlock); 36 in its headers.
constexpr int kRuntimeLocks = 36;
std::recursive_mutex runtime_locks[kRuntimeLocks];

std::recursive_mutex& RuntimeLock(int index) {
  if (index < 0 || index >= kRuntimeLocks) Fatal("_lock or _unlock of an unknown lock");
  return runtime_locks[index];
}

// msvcrt's lconv starts with these texts, in this order.
struct LocaleConventions {
  const char* decimal_point;
  const char* thousands_sep;
  const char* grouping;
  const char* int_curr_symbol;
  const char* currency_symbol;
  const char* mon_decimal_point;
  const char* mon_thousands_sep;
  const char* mon_grouping;
  const char* positive_sign;
  const char* negative_sign;
  char numeric[8];  // int_frac_digits .. n_sign_posn
};
const LocaleConventions kCLocale = {
    ".", "", "", "", "", "", "", "", "", "", {127, 127, 127, 127, 127, 127, 127, 127}};
constexpr int kLastCategory = 5;  // LC_ALL 0 .. LC_TIME 5 in msvcrt's numbering

}  // namespace

// Only the "C" locale exists here; asking for any other fails as an unknown locale does.
char* SetLocale(int category, const char* locale) {
  static char c_locale[] = "C";
  if (category < 0 || category > kLastCategory) return nullptr;
  if (locale == nullptr || std::strcmp(locale, "C") == 0 || locale[0] == '\0') return c_locale;
  return nullptr;
}

void* LocaleConv() {
  return const_cast<LocaleConventions*>(&kCLocale);
}

size_t WideLength(const uint16_t* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

char* UnsignedLongToText(unsigned long value, char* buffer, int radix) {
  if (radix < 2 || radix > 36) {
    buffer[0] = '\0';
    return buffer;
  }
  char digits[33];
  int count = 0;
  do {
    const unsigned long digit = value % static_cast<unsigned long>(radix);
    digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
    value /= static_cast<unsigned long>(radix);
  } while (value != 0);
  for (int i = 0; i < count; ++i) buffer[i] = digits[count - 1 - i];
  buffer[count] = '\0';
  return buffer;
}

char* DuplicateText(const char* text) {
  return strdup(text);
}

void InitTerm(void (**begin)(), void (**end)()) {
  for (; begin < end; ++begin) {
    if (*begin != nullptr) (*begin)();
  }
}

void Lock(int index) {
  RuntimeLock(index).lock();
}

void Unlock(int index) {
  RuntimeLock(index).unlock();
}

void AmsgExit(int code) {
  std::fprintf(stderr, "runtime error R60%02d\n", code);
  std::_Exit(255);
}

// Floating-point error reports go to the default handling; nothing here raises them.
void SetUserMathErr(void*) {}

int* Errno() {
  return &errno;
}

}  // namespace qz::win32::msvcrt
