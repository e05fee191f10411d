// qzprx: the plug-in's picture work on the command line, for players choosing a filter on a
// screenshot of their own, and for the play-through's gallery.
#include <cstdio>
#include <string>
#include <vector>

#include "cursor_command.h"
#include "gallery_command.h"
#include "render_command.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 1 ? 2 : 1), argv + argc);
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "render") return qzprx::RunRender(arguments);
  if (command == "gallery") return qzprx::RunGallery(arguments);
  if (command == "raw") return qzprx::RunRaw(arguments);
  if (command == "cursor") return qzprx::RunCursor(arguments);
  std::fprintf(stderr,
               "usage: qzprx render --filter N|all --window WxH [--threads K] "
               "[--rect L,T,R,B]... FRAME.png OUT.png\n"
               "       qzprx gallery DIR\n"
               "       qzprx raw FRAME.png OUT.raw\n"
               "       qzprx cursor --game GWxGH --picture OWxOH [--pre-nt6] SPRITE.png OUT.png\n");
  return 2;
}
