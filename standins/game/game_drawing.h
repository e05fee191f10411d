#pragma once
// The game's drawing code that the plug-in switches to 32-bit colour: its sprite, bitmap, image,
// text and transition routines, its colour set-up and its video output. Each routine of the game
// records that it ran (the game's own 16-bit code) and removes its own arguments; tests call them
// as the game does and see whether the plug-in's routine or the game's answered.
#include <array>
#include <cstdint>
#include <vector>

namespace standin::game {

// The eight sprite-frame routines: this-call on the frame object.
inline constexpr uint32_t kDrawFrame = 0x47BE90;
inline constexpr uint32_t kDrawFrameShaded = 0x47C300;
inline constexpr uint32_t kDrawFrameFlagged = 0x47C9C0;
inline constexpr uint32_t kDrawFrameFlaggedHalf = 0x47CE10;
inline constexpr uint32_t kDrawFrameShadowPacked = 0x47D250;
inline constexpr uint32_t kDrawFrameOpaque = 0x47D660;
inline constexpr uint32_t kDrawFrameShadowRows = 0x47E140;
inline constexpr uint32_t kDrawFrameHalf = 0x47E880;

// The screen transitions: this-call on the screen object.
inline constexpr uint32_t kCrossFade = 0x603380;
inline constexpr uint32_t kFadeOut = 0x6036A0;
inline constexpr uint32_t kFadeIn = 0x6038A0;
// The plain images (this-call on the image) and the glyph (this-call on the font).
inline constexpr uint32_t kDrawImage24 = 0x44ECE0;
inline constexpr uint32_t kDrawImage8 = 0x44F940;
inline constexpr uint32_t kDrawGlyph = 0x4B4F00;
// The bitmap routines: this-call on the bitmap.
inline constexpr uint32_t kConstructBitmap = 0x44DC40;
inline constexpr uint32_t kConstructNamedBitmap = 0x44DD20;
inline constexpr uint32_t kBitmapNoOp = 0x44DE00;
inline constexpr uint32_t kAttachBuffer = 0x44DF20;
inline constexpr uint32_t kDrawToBuffer = 0x44DF80;
inline constexpr uint32_t kGrabFromBuffer = 0x44E0C0;
inline constexpr uint32_t kFill = 0x44E190;
inline constexpr uint32_t kOutline = 0x44E210;
inline constexpr uint32_t kDarken = 0x44E2C0;
inline constexpr uint32_t kDarkenThroughMask = 0x44E370;
inline constexpr uint32_t kTintByColour = 0x44E450;
inline constexpr uint32_t kTintByHue = 0x44E610;
// A routine of the game's drawing code and the stack words it takes after its object.
struct DrawingRoutine {
  uint32_t address;
  uint8_t stack_arguments;
};
// The routines the plug-in replaces whole, all this-calls on their object.
inline constexpr DrawingRoutine kReplacedRoutines[] = {
    {kCrossFade, 5},
    {kFadeOut, 2},
    {kFadeIn, 1},
    {kDrawImage24, 10},
    {kDrawImage8, 11},
    {kDrawGlyph, 5},
    {kConstructBitmap, 2},
    {kConstructNamedBitmap, 3},
    {kBitmapNoOp, 1},  // a bitmap routine with nothing to do in 32 bits
    {kAttachBuffer, 4},
    {kDrawToBuffer, 11},
    {kGrabFromBuffer, 6},
    {kFill, 5},
    {kOutline, 5},
    {kDarken, 4},
    {kDarkenThroughMask, 7},
    {kTintByColour, 5},
    {kTintByHue, 6},
    {kDrawFrame, 13},
    {kDrawFrameShaded, 14},
    {kDrawFrameFlagged, 13},
    {kDrawFrameFlaggedHalf, 13},
    {kDrawFrameShadowPacked, 12},
    {kDrawFrameOpaque, 13},
    {kDrawFrameShadowRows, 13},
    {kDrawFrameHalf, 13},
};
// The places the plug-in wraps: two routine entries, two pointer slots of the video decoder and
// one call instruction. A run of the routine behind a slot or a call site is recorded under the
// slot's or the site's address.
inline constexpr uint32_t kColourMaskRoutine = 0x5A5750;    // this-call, 2 stack words
inline constexpr uint32_t kColourFormatRoutine = 0x55A8F0;  // ECX, EDX and 1 stack word
inline constexpr uint32_t kVideoOutputSlot = 0x63A458;      // standard call, 7 arguments
inline constexpr uint32_t kVideoFrameSlot = 0x63A454;       // standard call, 1 argument
inline constexpr uint32_t kVideoRectangleSite = 0x597DC1;   // calls a this-call, 4 stack words

// One run of a routine of the game's own drawing code.
struct GameDrawingRun {
  uint32_t routine;
  uint32_t ecx;
  uint32_t edx;
  std::vector<uint32_t> arguments;         // the stack words it removed
  std::array<uint32_t, 3> colour_masks{};  // the game's colour-mask variables as it ran
};
const std::vector<GameDrawingRun>& DrawingRuns();
void ForgetDrawingRuns();

// The game's video decoder behind the two slots: the output routine remembers the buffer, left,
// top and pitch it is given; the frame routine then writes a frame of the video object's size
// (width at byte 4, height at byte 8) there, pixel (x, y) of the n-th frame (from 0) being
// VideoTestPixel(x, y, n).
uint16_t VideoTestPixel(int32_t x, int32_t y, int32_t frame);

// Lays out the drawing part of the image (part of mapping it).
void LayOutDrawingCode();

// Calls a routine as the game calls an object method: `object` in ECX, `arguments` on the stack.
void CallGameMethod(uint32_t routine, const void* object, const std::vector<uint32_t>& arguments);

// As the game: sets up its colour format and its colour masks, asks the video decoder for output
// into a buffer and for a frame, and places the video rectangle.
void SetColourFormat(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask);
void SetColourMasks(const void* object, uint32_t first, uint32_t second);
void RequestVideoOutput(const void* video, int32_t left, int32_t top, int32_t pitch, int32_t height,
                        void* buffer, uint32_t flags);
void DecodeVideoFrame(const void* video);
void PlaceVideoRectangle(const void* object, int32_t x, int32_t y, int32_t w, int32_t h);

}  // namespace standin::game
