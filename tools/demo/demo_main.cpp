// The play-through of scripts/demo: qz_demo [--out DIR] [--frame FRAME.raw] [--frames N]
// and the end-to-end check of scripts/test: qz_demo --check DIR
#include <cstdio>
#include <cstdlib>
#include <string>

#include "end_to_end_check.h"
#include "play_through.h"

int main(int argc, char** argv) {
  demo::PlayThroughOptions options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--out") {
      options.out_directory = argv[i + 1];
    } else if (option == "--frame") {
      options.frame_raw = argv[i + 1];
    } else if (option == "--check") {
      return demo::RunEndToEndCheck(argv[i + 1]);
    } else if (option == "--frames") {
      options.frames_per_filter = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr,
                   "usage: qz_demo [--out DIR] [--frame FRAME.raw] [--frames N] | --check DIR\n");
      return 2;
    }
  }
  return demo::RunPlayThrough(options);
}
