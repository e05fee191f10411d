#pragma once
// How large a picture the tool takes on, checked from the sizes alone, before anything is
// allocated: the plug-in's own 32767 pixels a side, and no more memory in all than a 32-bit game
// process could give the plug-in.
#include <cstdint>
#include <string>

namespace qzprx {

inline constexpr int64_t kLargestSide = 32767;
inline constexpr int64_t kMemoryLimit = int64_t{2} << 30;

// Empty when a width x height picture may be read, else why not.
std::string PictureSizeProblem(int64_t width, int64_t height);

// Empty when a frame of frame_width x frame_height may be shown in a window of
// window_width x window_height, counting the frame read and every image the presentation lays
// out, else why not.
std::string PresentationSizeProblem(int64_t frame_width, int64_t frame_height, int64_t window_width,
                                    int64_t window_height);

}  // namespace qzprx
