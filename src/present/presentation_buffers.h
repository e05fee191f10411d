#pragma once
// The presentation's images in plain memory, laid out as the plug-in lays out its image records
// (frame four pixels larger each way, 2x image and picture as large as the window or twice the
// frame, three spare columns and rows each), for the host tools, tests and benchmarks.
#include <cstdint>
#include <vector>

#include "present/frame_pipeline.h"

namespace qz::present {

struct PresentationBuffers {
  FrameGeometry geometry;
  int32_t frame_pitch = 0;
  int32_t scaled_pitch = 0;
  std::vector<uint32_t> frame;
  std::vector<uint32_t> doubled;
  std::vector<uint32_t> output;
  std::vector<uint32_t> boundary_rows;
};

// Buffers for a frame shown in a window (and screen) of window_width x window_height, with the
// picture rectangle the window gives; every pixel 0.
PresentationBuffers MakePresentationBuffers(int32_t frame_width, int32_t frame_height,
                                            int32_t window_width, int32_t window_height);

PresentationImages ImagesOf(PresentationBuffers& buffers);

}  // namespace qz::present
