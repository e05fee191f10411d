#pragma once
// The images of the presentation, made once by the display emulation and kept for the life of
// the process, and the transfer of a finished picture area to the game window.
#include <windows.h>

#include "present/frame_pipeline.h"
#include "present/image_buffer.h"

namespace qz::present {

extern ImageBuffer* FrameImage;
extern ImageBuffer* DoubleImage;
extern ImageBuffer* OutputImage;
extern HDC WindowDC;

// Makes DoubleImage, OutputImage and the band boundary rows for pictures up to width x height;
// false when any could not be had (then frames go out one to one or not at all).
bool CreateScaledImages(int32_t width, int32_t height);

// True once the frame, the scaled images and the window DC all exist.
bool PresentationReady();

FrameGeometry CurrentGeometry();
PresentationImages CurrentImages();

// Copies a picture area to the window at the picture rectangle.
void TransferToWindow(const PictureArea& area);

}  // namespace qz::present
