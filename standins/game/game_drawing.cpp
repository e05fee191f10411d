#include "game/game_drawing.h"

#include <cstring>

#include "game/game_calls.h"
#include "game/game_image.h"
#include "game/game_layout.h"
#include "game/game_screen.h"
#include "game/x86_code.h"

namespace standin::game {
namespace {

std::vector<GameDrawingRun> runs;

std::array<uint32_t, 3> ColourMasks() {
  std::array<uint32_t, 3> masks{};
  for (size_t i = 0; i < masks.size(); ++i) masks[i] = Cell<uint32_t>(kColourMaskVariables[i]);
  return masks;
}

// Where the decoder writes its frames, as last asked.
struct VideoOutput {
  uint8_t* buffer = nullptr;
  int32_t left = 0;
  int32_t top = 0;
  int32_t pitch = 0;
  int32_t frames = 0;
};
VideoOutput video_output;

uint32_t __attribute__((stdcall))
DecoderOutput(const void* video, int32_t left, int32_t top, int32_t pitch, int32_t height,
              void* buffer, uint32_t flags) {
  runs.push_back(
      {kVideoOutputSlot,
       0,
       0,
       {Word(video), static_cast<uint32_t>(left), static_cast<uint32_t>(top),
        static_cast<uint32_t>(pitch), static_cast<uint32_t>(height), Word(buffer), flags},
       ColourMasks()});
  video_output = {static_cast<uint8_t*>(buffer), left, top, pitch, video_output.frames};
  return 0;
}

uint32_t __attribute__((stdcall)) DecoderFrame(const void* video) {
  runs.push_back({kVideoFrameSlot, 0, 0, {Word(video)}, ColourMasks()});
  if (video_output.buffer == nullptr) return 0;
  int32_t size[2];
  std::memcpy(size, static_cast<const uint8_t*>(video) + 4, sizeof size);
  for (int32_t y = 0; y < size[1]; ++y) {
    uint8_t* row = video_output.buffer + (video_output.top + y) * video_output.pitch;
    for (int32_t x = 0; x < size[0]; ++x) {
      const uint16_t pixel = VideoTestPixel(x, y, video_output.frames);
      std::memcpy(row + 2 * (video_output.left + x), &pixel, 2);
    }
  }
  ++video_output.frames;
  return 0;
}

// `stack` is the stack pointer at the routine's entry: the return address, then the arguments.
// Returns ECX, which the game's constructors return and the rest leave in EAX as garbage.
uint32_t __attribute__((cdecl))
RecordRun(uint32_t routine, uint32_t count, const uint32_t* stack, uint32_t ecx, uint32_t edx) {
  runs.push_back(
      {routine, ecx, edx, std::vector<uint32_t>(stack + 1, stack + 1 + count), ColourMasks()});
  return ecx;
}

// A body of the game's own code that records its run and removes `stack_arguments` words.
uint32_t RecordingBody(uint32_t routine, uint8_t stack_arguments) {
  const uint32_t body = AllocateCode(32);
  CodeWriter code(body);
  code.Byte(0x89);  // mov eax, esp
  code.Byte(0xE0);
  code.Byte(0x52);  // push edx
  code.Byte(0x51);  // push ecx
  code.Byte(0x50);  // push eax
  code.Byte(0x6A);  // push count
  code.Byte(stack_arguments);
  code.PushImmediate(routine);
  code.Call(Address(reinterpret_cast<void*>(&RecordRun)));
  code.AddEsp(20);
  code.Return(static_cast<uint16_t>(4 * stack_arguments));
  return body;
}

uint32_t SlotTarget(uint32_t slot) {
  uint32_t target;
  std::memcpy(&target, Bytes(slot), 4);
  return target;
}

void SetSlot(uint32_t slot, uint32_t target) {
  std::memcpy(Bytes(slot), &target, 4);
}

uint32_t video_rectangle_caller = 0;

}  // namespace

uint16_t VideoTestPixel(int32_t x, int32_t y, int32_t frame) {
  return static_cast<uint16_t>(x * 0x0841 + y * 0x1003 + frame * 0x2A5);
}

const std::vector<GameDrawingRun>& DrawingRuns() {
  return runs;
}

void ForgetDrawingRuns() {
  runs.clear();
}

void LayOutDrawingCode() {
  for (const DrawingRoutine& routine : kReplacedRoutines) {
    LayOutRoutine(routine.address, RecordingBody(routine.address, routine.stack_arguments));
  }
  LayOutRoutine(kColourMaskRoutine, RecordingBody(kColourMaskRoutine, 2));
  LayOutRoutine(kColourFormatRoutine, RecordingBody(kColourFormatRoutine, 1));
  SetSlot(kVideoOutputSlot, Address(reinterpret_cast<void*>(&DecoderOutput)));
  SetSlot(kVideoFrameSlot, Address(reinterpret_cast<void*>(&DecoderFrame)));
  video_rectangle_caller =
      LayOutCallSite(kVideoRectangleSite, RecordingBody(kVideoRectangleSite, 4), 4, true);
}

void CallGameMethod(uint32_t routine, const void* object, const std::vector<uint32_t>& arguments) {
  CallGame(routine, arguments, Word(object));
}

void SetColourFormat(uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask) {
  CallGame(kColourFormatRoutine, {blue_mask}, red_mask, green_mask);
}

void SetColourMasks(const void* object, uint32_t first, uint32_t second) {
  CallGameMethod(kColourMaskRoutine, object, {first, second});
}

void RequestVideoOutput(const void* video, int32_t left, int32_t top, int32_t pitch, int32_t height,
                        void* buffer, uint32_t flags) {
  CallGame(SlotTarget(kVideoOutputSlot),
           {Word(video), static_cast<uint32_t>(left), static_cast<uint32_t>(top),
            static_cast<uint32_t>(pitch), static_cast<uint32_t>(height), Word(buffer), flags});
}

void DecodeVideoFrame(const void* video) {
  CallGame(SlotTarget(kVideoFrameSlot), {Word(video)});
}

void PlaceVideoRectangle(const void* object, int32_t x, int32_t y, int32_t w, int32_t h) {
  CallGame(video_rectangle_caller,
           {static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(w),
            static_cast<uint32_t>(h)},
           Word(object));
}

}  // namespace standin::game
