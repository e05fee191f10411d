#pragma once
#include <string>
#include <vector>

namespace qzprx {

// qzprx cursor --game GWxGH --picture OWxOH [--pre-nt6] SPRITE.png OUT.png
// Builds the cursor picture of one sprite frame as the plug-in would. Returns the process exit
// code; errors are printed with what was wrong.
int RunCursor(const std::vector<std::string>& arguments);

}  // namespace qzprx
