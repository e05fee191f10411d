#include "startup/start.h"

#include "core/log.h"
#include "core/picture_rectangle.h"
#include "core/settings.h"
#include "core/splicer.h"
#include "cursor/cursor_cache.h"
#include "cursor/install_sys_cursors.h"
#include "parallel/self_test.h"
#include "parallel/worker_count.h"
#include "present/filter_selection.h"
#include "present/filter_table.h"
#include "present/window_geometry.h"
#include "scale/color_magnitude.h"
#include "startup/patch_table.h"
#include "truecolour/install_true_colour.h"

namespace qz::startup {

using namespace qz::core;

namespace {

HANDLE ProcessHandle = nullptr;

void ReadWorkerCount() {
  parallel::WorkerCount =
      parallel::WorkersForSetting(ReadVariable("QZ.Graphics.Nx.Threads"), parallel::MaxWorkerCount);
}

void ReportEmulator() {
  HMODULE ntdll = LoadLibraryA("ntdll.dll");
  if (ntdll == nullptr) return;
  const bool emulated = GetProcAddress(ntdll, "wine_get_version") != nullptr;
  FreeLibrary(ntdll);
  if (emulated) LogLine("WINE detected");
}

void RunSelfTest() {
  uint8_t buffer[4] = {1, 2, 3, 4};
  parallel::ProveParallelism(parallel::StoreSelfTestValues, buffer);
}

// Filters 0 to 3, or a single worker, keep the whole game on the first processor.
void SetAffinity() {
  DWORD_PTR process_mask = 1;
  DWORD_PTR system_mask = 1;
  if (GetProcessAffinityMask(ProcessHandle, &process_mask, &system_mask)) {
    SavedAffinityMask = static_cast<uint32_t>(process_mask);
  }
  if (parallel::WorkerCount == 1) {
    SavedAffinityMask = 1;
    SetProcessAffinityMask(ProcessHandle, 1);
  } else if (FilterIndex < 4) {
    SetProcessAffinityMask(ProcessHandle, 1);
  }
}

// Without the table's 64 MiB the 2x filters cannot run: the game goes on with the fallback, and
// the fallback, a single-stage filter, keeps the game on the first processor as any other does.
void BuildColourTable() {
  if (scale::BuildColorMagnitudeTable()) return;
  LogLine("ERROR: NO MEMORY FOR THE COLOUR TABLE, 2X FILTERS OFF");
  FilterIndex = present::FilterInForce(FilterIndex);
  present::SelectFilter(FilterIndex);
  if (FilterIndex < 4) SetProcessAffinityMask(ProcessHandle, 1);
}

struct StaticInitialisation {
  StaticInitialisation() { InitialiseProcessSettings(); }
} static_initialisation;

}  // namespace

void InitialiseProcessSettings() {
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  parallel::MaxWorkerCount = parallel::MaxWorkersForProcessors(system.dwNumberOfProcessors);
  parallel::WorkerCount = parallel::MaxWorkerCount;
  ProcessHandle = GetCurrentProcess();
  FilterIndex = 2;
  SavedAffinityMask = 1;
  present::SelectFilter(FilterIndex);
  present::PictureResized = cursor::ResetCursorCache;
}

}  // namespace qz::startup

extern "C" void WINAPI Start() {
  using namespace qz::core;
  using namespace qz::startup;
  qz::truecolour::InstallTrueColour();
  if (ObtainSplicer() == nullptr) return;
  ReadWorkerCount();
  srcW = ReadVariable("QZ.Rez.X");
  srcH = ReadVariable("QZ.Rez.Y");
  ScreenW = GetSystemMetrics(SM_CXSCREEN);
  ScreenH = GetSystemMetrics(SM_CYSCREEN);
  ReportEmulator();
  RunSelfTest();
  FilterIndex = FilterForSetting(ReadVariable("QZ.Graphics.Nx.Filter"));
  qz::present::SelectFilter(FilterIndex);
  SetAffinity();
  SetPicture(FitPicture(srcW, srcH, ScreenW, ScreenH));
  BuildColourTable();
  SplicerInstance* instance = CreateInstance("QZ.PRX");
  if (instance == nullptr) {
    LogLine("ERROR: FAIL TO CREATE QZ_PRX SplicerInstance");
    return;
  }
  qz::cursor::InstallSysCursors(instance);
  WriteGamePatches(instance);
}
