#pragma once
// Pictures the play-through saves for the host side to turn into PNG files and a web page, listed
// with their group and label in manifest.txt.
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

class PictureDump {
 public:
  explicit PictureDump(std::string directory) : directory_(std::move(directory)) {}

  void Save(const std::string& name, const std::string& group, const std::string& label,
            const uint32_t* pixels, int32_t width, int32_t height, int32_t pitch_pixels);

  // Writes the log lines to log.txt and the manifest.
  void Finish(const std::vector<std::string>& log_lines);

 private:
  std::string directory_;
  std::string manifest_;
};

}  // namespace demo
