// A DLL importing two functions that the stand-in Windows does not offer, which the loader must
// refuse to run, naming both.
#include <windows.h>

extern "C" __declspec(dllexport) int UsesMissingImports() {
  return static_cast<int>(GetTickCount()) + MessageBeep(MB_OK);
}
