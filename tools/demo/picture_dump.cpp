#include "picture_dump.h"

#include <fstream>

#include "raw_picture.h"

namespace demo {

void PictureDump::Save(const std::string& name, const std::string& group, const std::string& label,
                       const uint32_t* pixels, int32_t width, int32_t height,
                       int32_t pitch_pixels) {
  tools::WriteRawPicture(directory_ + "/" + name + ".raw", pixels, width, height, pitch_pixels);
  manifest_ += name + "\t" + group + "\t" + label + "\n";
}

void PictureDump::Finish(const std::vector<std::string>& log_lines) {
  std::ofstream log(directory_ + "/log.txt");
  for (const std::string& line : log_lines) log << line << "\n";
  std::ofstream(directory_ + "/manifest.txt") << manifest_;
}

}  // namespace demo
