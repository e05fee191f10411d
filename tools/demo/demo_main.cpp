// The play-through of scripts/demo: qz_demo [--out DIR] [--frame FRAME.raw] [--frames N]
// [--dll QZ_PRX.dll]
// and the end-to-end check of scripts/test: qz_demo --check DIR [--dll QZ_PRX.dll [--relocate]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "end_to_end_check.h"
#include "play_through.h"

int main(int argc, char** argv) {
  demo::PlayThroughOptions options;
  std::string check_directory;
  std::string plugin_dll;
  bool relocate = false;
  for (int i = 1; i < argc; i += 2) {
    if (std::string(argv[i]) == "--relocate") {
      relocate = true;
      --i;
      continue;
    }
    if (i + 1 == argc) break;
    const std::string option = argv[i];
    if (option == "--out") {
      options.out_directory = argv[i + 1];
    } else if (option == "--frame") {
      options.frame_raw = argv[i + 1];
    } else if (option == "--check") {
      check_directory = argv[i + 1];
    } else if (option == "--dll") {
      plugin_dll = argv[i + 1];
    } else if (option == "--frames") {
      options.frames_per_filter = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr,
                   "usage: qz_demo [--out DIR] [--frame FRAME.raw] [--frames N] | --check DIR "
                   "[--dll QZ_PRX.dll [--relocate]]\n");
      return 2;
    }
  }
  options.plugin_dll = plugin_dll;
  if (!check_directory.empty()) {
    return demo::RunEndToEndCheck(check_directory, plugin_dll, relocate);
  }
  return demo::RunPlayThrough(options);
}
