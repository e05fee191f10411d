// The play-through of scripts/demo: qz_demo [--out DIR] [--frame FRAME.raw] [--frames N]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "play_through.h"

int main(int argc, char** argv) {
  demo::PlayThroughOptions options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--out") {
      options.out_directory = argv[i + 1];
    } else if (option == "--frame") {
      options.frame_raw = argv[i + 1];
    } else if (option == "--frames") {
      options.frames_per_filter = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: qz_demo [--out DIR] [--frame FRAME.raw] [--frames N]\n");
      return 2;
    }
  }
  return demo::RunPlayThrough(options);
}
