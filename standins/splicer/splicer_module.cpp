#include "splicer/splicer_module.h"

#include "win32/win32_world.h"

namespace standin::splicer {

// The host modification loads the library before the plug-in, so it is already in the process.
void RegisterSplicerModule(void* get_splicer, void* get_version) {
  qz::win32::RegisterModule("splicer_x86.dll",
                            {{"_GetSplicerX86@0", reinterpret_cast<FARPROC>(get_splicer)},
                             {"_GetSplicerX86Version@0", reinterpret_cast<FARPROC>(get_version)}},
                            true);
}

}  // namespace standin::splicer
