#pragma once
#include <string>
#include <vector>

namespace qzprx {

// qzprx render --filter N|all --window WxH [--threads K] [--rect L,T,R,B]... FRAME.png OUT.png
// Returns the process exit code; errors are printed with what was wrong.
int RunRender(const std::vector<std::string>& arguments);

}  // namespace qzprx
