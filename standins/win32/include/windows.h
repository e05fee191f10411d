#pragma once
// The i386 build's <windows.h>: the part of the Windows API that the plug-in uses, with the real
// names, signatures, calling conventions, layouts and constant values, implemented over a small
// simulated Windows (standins/win32) that tests set up and inspect through win32_world.h.

#include "win32_gdi32.h"
#include "win32_kernel32.h"
#include "win32_types.h"
#include "win32_user32.h"
