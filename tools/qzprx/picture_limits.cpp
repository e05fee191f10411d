#include "picture_limits.h"

#include <algorithm>

namespace qzprx {
namespace {

constexpr int64_t kPixelBytes = 4;
// More than the spare columns and rows the presentation gives each of its images, and than the
// band boundary rows it keeps beside them.
constexpr int64_t kSpare = 8;

std::string Size(int64_t width, int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

std::string TooLarge(const std::string& what) {
  return what + " would need more than " + std::to_string(kMemoryLimit >> 30) + " GiB";
}

}  // namespace

std::string PictureSizeProblem(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return Size(width, height) + ": no picture";
  if (width > kLargestSide || height > kLargestSide) {
    return Size(width, height) + ": more than " + std::to_string(kLargestSide) + " on a side";
  }
  if (width * height * kPixelBytes > kMemoryLimit) return TooLarge(Size(width, height));
  return {};
}

std::string PresentationSizeProblem(int64_t frame_width, int64_t frame_height, int64_t window_width,
                                    int64_t window_height) {
  const std::string frame_problem = PictureSizeProblem(frame_width, frame_height);
  if (!frame_problem.empty()) return frame_problem;
  // The frame as read and as laid out, the 2x and output images, and the picture taken out.
  const int64_t scaled = (std::max(2 * frame_width, window_width) + kSpare) *
                         (std::max(2 * frame_height, window_height) + kSpare);
  const int64_t pixels = frame_width * frame_height +
                         (frame_width + kSpare) * (frame_height + kSpare) + 2 * scaled +
                         window_width * window_height;
  if (pixels * kPixelBytes > kMemoryLimit) {
    return TooLarge("a " + Size(frame_width, frame_height) + " frame in a " +
                    Size(window_width, window_height) + " window");
  }
  return {};
}

}  // namespace qzprx
