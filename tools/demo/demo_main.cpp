// A simulated host start-up: the host modification publishes its settings, loads the plug-in and
// calls Start; the demo prints what the host's log received and what the plug-in chose.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/settings.h"
#include "game/host_modification.h"
#include "parallel/worker_count.h"
#include "present/filter_table.h"
#include "splicer/splicer_library.h"

namespace {

void PrintChoices() {
  using namespace qz::core;
  std::printf("workers:           %d of at most %d\n", qz::parallel::WorkerCount,
              qz::parallel::MaxWorkerCount);
  std::printf("filter:            %d \"%s\"\n", FilterIndex, qz::present::Filter(FilterIndex).name);
  std::printf("frame:             %d x %d\n", srcW, srcH);
  std::printf("screen:            %d x %d\n", ScreenW, ScreenH);
  std::printf("picture rectangle: x %d, y %d, %d x %d\n", dstX, dstY, dstW, dstH);
  std::printf("QZ.BPP %d, QZ.Rez.Scanline %d\n", standin::splicer::Value("QZ.BPP"),
              standin::splicer::Value("QZ.Rez.Scanline"));
  std::printf("patches written:   %zu, hooks in force: %zu\n", standin::splicer::Writes().size(),
              standin::splicer::Hooks().size());
}

}  // namespace

int main(int argc, char** argv) {
  standin::host::Settings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const int value = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--threads") == 0) settings.threads = value;
    if (std::strcmp(argv[i], "--filter") == 0) settings.filter = value;
  }
  standin::host::Boot(settings);
  standin::host::CallStart();
  std::printf("log lines:\n");
  for (const std::string& line : standin::host::LogLines()) std::printf("  %s\n", line.c_str());
  PrintChoices();
  return standin::host::Logged("SUCCESS: DO PARALLEL") ? 0 : 1;
}
