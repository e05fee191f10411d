#pragma once
#include <string>
#include <vector>

namespace qzprx {

// qzprx gallery DIR: turns the play-through's raw pictures listed in DIR/manifest.txt into PNG
// files, a labelled contact sheet per group, and DIR/index.html showing them with the log.
int RunGallery(const std::vector<std::string>& arguments);

// qzprx raw FRAME.png OUT.raw: a PNG as the play-through's raw picture (for --frame).
int RunRaw(const std::vector<std::string>& arguments);

}  // namespace qzprx
