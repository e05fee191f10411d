#pragma once
// What the loader's test DLL exports (plain C names, cdecl) and records.
#include <cstdint>

// Who saw a notification: a TLS callback or the entry point.
enum LoaderEventSource : int32_t { kFromTlsCallback = 1, kFromEntryPoint = 2 };

struct LoaderEvent {
  int32_t source;
  uint32_t reason;  // DLL_PROCESS_ATTACH ...
  uint32_t thread_id;
};

extern "C" {
// Copies the events so far; returns their count (at most `capacity` are copied).
typedef int32_t (*CopyEventsFunction)(LoaderEvent* events, int32_t capacity);
// A value read through a pointer in the DLL's data, which relocation must have moved along.
typedef int32_t (*ReadThroughPointerFunction)();
// `count` threads each count a thread_local and a variable in the image's TLS section to
// `rounds` and back; 1 when every thread saw only its own values.
typedef int32_t (*ThreadLocalRoundFunction)(int32_t count, int32_t rounds);
// Thrown three calls deep, caught at the top; the value it carried.
typedef int32_t (*ThrowAcrossFramesFunction)(int32_t value);
// Told of DLL_PROCESS_DETACH: `ending` is 1 when the reserved argument says the process ends.
typedef void (*DetachWitness)(int32_t ending);
// Names the witness of the DLL's process detach.
typedef void (*WatchProcessDetachFunction)(DetachWitness witness);
// A worker thread writes through a null pointer under a vectored handler that resumes it
// elsewhere; 1 when the worker came back from the fault and was joined.
typedef int32_t (*FaultOnWorkerFunction)();
}
