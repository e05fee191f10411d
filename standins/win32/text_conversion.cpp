// Text between the ANSI code page and 16-bit wide characters. This world's code page maps each
// byte to the character of the same number (ISO 8859-1); a wide character beyond 0xFF becomes
// the default character. Every code page is read so, and none has lead bytes.
#include <string>

#include "win32/runtime_functions.h"

namespace {

std::string Narrow(LPCWSTR wide) {
  std::string narrow;
  for (; *wide != 0; ++wide) narrow += static_cast<char>(*wide <= 0xFF ? *wide : '?');
  return narrow;
}

}  // namespace

extern "C" {

BOOL WINAPI IsDBCSLeadByteEx(UINT, BYTE) {
  return FALSE;
}

// A length of -1 counts the terminating zero; a destination size of 0 asks for the size needed.
int WINAPI MultiByteToWideChar(UINT, DWORD, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
  if (lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int length = cbMultiByte == -1
                         ? static_cast<int>(std::char_traits<char>::length(lpMultiByteStr)) + 1
                         : cbMultiByte;
  if (cchWideChar == 0) return length;
  if (cchWideChar < length) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  for (int i = 0; i < length; ++i) {
    lpWideCharStr[i] = static_cast<WCHAR>(static_cast<unsigned char>(lpMultiByteStr[i]));
  }
  return length;
}

int WINAPI WideCharToMultiByte(UINT, DWORD, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
  if (lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int length = cchWideChar;
  if (length == -1) {
    length = 1;
    while (lpWideCharStr[length - 1] != 0) ++length;
  }
  if (cbMultiByte == 0) return length;
  if (cbMultiByte < length) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const char fallback = lpDefaultChar != nullptr ? *lpDefaultChar : '?';
  bool used_default = false;
  for (int i = 0; i < length; ++i) {
    const WCHAR unit = lpWideCharStr[i];
    used_default = used_default || unit > 0xFF;
    lpMultiByteStr[i] = unit <= 0xFF ? static_cast<char>(unit) : fallback;
  }
  if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = used_default ? TRUE : FALSE;
  return length;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  return GetModuleHandleA(lpModuleName == nullptr ? nullptr : Narrow(lpModuleName).c_str());
}

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  return LoadLibraryA(lpLibFileName == nullptr ? nullptr : Narrow(lpLibFileName).c_str());
}

}  // extern "C"
