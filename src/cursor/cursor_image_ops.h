#pragma once
// The image operations that turn a cursor sprite into a smooth cursor picture. Each runs in one
// piece on the calling thread; images are at most 128 x 128. None of them checks sizes: callers
// keep regions and rectangles inside their images.
#include <cstdint>

#include "cursor/argb_image.h"

namespace qz::cursor {

// Builds the 64 MiB distance table on first use; false when its memory cannot be had (callers
// then build cursors without the alpha-aware enlargement). Not thread-safe: the first calls
// must not overlap.
bool EnsureColorDistanceTable();

// Distance of two pixels with alpha; requires EnsureColorDistanceTable() to have succeeded.
// Two transparent pixels are at 0, transparent and opaque at 255, whatever their colours; the
// colours are looked up by halved channel differences, so one opaque colour against itself
// reads the faintest difference, about 1.0.
double ColorDistanceArgb(uint32_t first, uint32_t second);

// Mix of two pixels with alpha: front weighs alpha(front) * M, back alpha(back) * (N - M).
// Defined in cursor/alpha_gradient.h.
template <uint32_t M, uint32_t N>
uint32_t AlphaGradient(uint32_t back, uint32_t front);

// Doubles a packed image (pitch = width) into a packed image of twice the width and height,
// every pixel of which is written. Pixels beyond the source's edges read as the edge pixels.
void ScaleXbrz2xArgb(const uint32_t* source, uint32_t* destination, int32_t source_width,
                     int32_t source_height, const XbrzConfiguration& configuration);

// Resamples the top-left source_width x source_height of `source` into the rectangle at
// (destination_x, destination_y) of `destination` with the cubic B-spline, all four bytes
// alike. Reads only that region (its edges repeat outwards) and writes only that rectangle.
void ResampleBSpline(const ArgbImage& destination, const ArgbImage& source, int32_t source_width,
                     int32_t source_height, int32_t destination_x, int32_t destination_y,
                     int32_t destination_width, int32_t destination_height);

// Sharpens the whole image in place with the cross kernel of strength k; the outermost rows and
// columns stay. False (image unchanged) when the working copy cannot be had.
bool SharpenCross(const ArgbImage& image, double strength);

}  // namespace qz::cursor
