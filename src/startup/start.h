#pragma once
#include <windows.h>

// The plug-in's one entry point, exported as "Start" and "_Start@0": called once by the host
// modification on the game's main thread after it has published its settings.
extern "C" void WINAPI Start();

namespace qz::startup {

// The values the process starts with, before Start: the worker bound from the processor count,
// the process handle, filter 2, and the cursor cache emptied whenever the picture is resized. Run
// by the library's static initialisation.
void InitialiseProcessSettings();

}  // namespace qz::startup
