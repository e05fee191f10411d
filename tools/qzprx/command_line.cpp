#include "command_line.h"

#include <cerrno>
#include <cstdlib>

namespace qzprx {

bool ParseNumber(const std::string& text, int64_t low, int64_t high, int32_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
  constexpr int64_t kLargest = 16384;
  const size_t cross = text.find('x');
  if (cross == std::string::npos) return false;
  return ParseNumber(text.substr(0, cross), 1, kLargest, width) &&
         ParseNumber(text.substr(cross + 1), 1, kLargest, height);
}

bool ParseFour(const std::string& text, int32_t (&values)[4]) {
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = i < 3 ? text.find(',', start) : text.size();
    if (comma == std::string::npos) return false;
    if (!ParseNumber(text.substr(start, comma - start), INT32_MIN, INT32_MAX, values[i])) {
      return false;
    }
    start = comma + 1;
  }
  return true;
}

std::string WithSuffix(const std::string& path, const std::string& suffix) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  const bool has_extension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = has_extension ? path.substr(0, dot) : path;
  return stem + "-" + suffix + ".png";
}

}  // namespace qzprx
