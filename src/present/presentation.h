#pragma once
// The images of the presentation, made by the display emulation and kept for the life of the
// process (the picture's own grow with the window), and the transfer of a finished picture area
// to the game window.
#include <windows.h>

#include "present/frame_pipeline.h"
#include "present/image_buffer.h"

namespace qz::present {

extern ImageBuffer* FrameImage;
extern ImageBuffer* DoubleImage;
extern ImageBuffer* OutputImage;
extern HDC WindowDC;

// Makes DoubleImage, OutputImage and the band boundary rows for pictures up to width x height,
// OutputImage at least as large as the current picture; false when any could not be had (then
// frames go out one to one or not at all).
bool CreateScaledImages(int32_t width, int32_t height);

enum class PictureRoom {
  kEnough,  // the images hold the picture as they are, or do not exist yet
  kGrown,   // OutputImage and the boundary rows were remade larger, black, the old ones released
  kShort,   // they are smaller and larger ones could not be had; the old ones stay
};

// Lets OutputImage and the boundary rows hold a picture of width x height. Called between
// frames, never while a frame is being presented.
PictureRoom MakeRoomForPicture(int32_t width, int32_t height);

// The largest picture OutputImage holds (0 x 0 before it exists).
int32_t HeldPictureWidth();
int32_t HeldPictureHeight();

// True once the frame, the scaled images and the window DC all exist and hold the picture.
bool PresentationReady();

FrameGeometry CurrentGeometry();
PresentationImages CurrentImages();

// Copies a picture area to the window at the picture rectangle.
void TransferToWindow(const PictureArea& area);

}  // namespace qz::present
