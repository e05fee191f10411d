#include "cursor/install_sys_cursors.h"

namespace qz::cursor {

// The game keeps its own cursors until the system cursors arrive.
void InstallSysCursors(core::SplicerInstance*) {}

}  // namespace qz::cursor
