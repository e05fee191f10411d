// qzprx: the plug-in's frame pipeline on the command line, for players choosing a filter on a
// screenshot of their own and for us.
#include <cstdio>
#include <string>
#include <vector>

#include "render_command.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 1 ? 2 : 1), argv + argc);
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "render") return qzprx::RunRender(arguments);
  std::fprintf(stderr,
               "usage: qzprx render --filter N|all --window WxH [--threads K] "
               "[--rect L,T,R,B]... FRAME.png OUT.png\n");
  return 2;
}
