#include "truecolour/text_video_hooks.h"

#include <algorithm>

#include "core/game_heap.h"
#include "core/guarded_alloc.h"
#include "truecolour/game_frame.h"
#include "truecolour/game_objects.h"
#include "truecolour/glyph_pixels.h"
#include "truecolour/palette32.h"
#include "truecolour/picture_mix.h"

namespace qz::truecolour {

uint32_t* FontPalette32 = nullptr;

namespace {

using game::ReadField;

constexpr uint32_t kRedMask = 0xF800;
constexpr uint32_t kGreenMask = 0x07E0;
constexpr uint32_t kBlueMask = 0x001F;
constexpr uint32_t kColourMaskVariables[] = {0x68C8B0, 0x68C8B4, 0x68C8B8};

// Bit 3 of "QZ.ExeVersion" selects the fonts' named styles.
constexpr int32_t kNamedStylesBit = 8;
// The colour a plain glyph's edge bytes take.
constexpr int kEdgeColourIndex = 32;

// The text colour that overrides every glyph's own when not 0, fixed on the first glyph.
const uint16_t* FontColourOverride = nullptr;

// The decoder writes 800 x 600 RGB565 frames here; the game's buffer gets them in 32 bits. The
// buffer holds twice the 600 rows of 1600 bytes it is used as, so a decoder that writes past them
// stays inside it rather than in the heap behind it.
constexpr int32_t kFrameWidth = 800;
constexpr int32_t kFrameHeight = 600;
constexpr int32_t kFramePitch = 2 * kFrameWidth;
constexpr uint32_t kFrameBufferBytes = 1920000;
struct VideoOutput {
  uint8_t* frame = nullptr;
  uint32_t* destination = nullptr;
  int32_t left = 0;
  int32_t top = 0;
  int32_t pitch = 0;
};
VideoOutput Video;

// FontPalette32 from the first font drawn, and the override. False while the palette
// cannot be had: the glyph is then left out rather than drawn in the wrong colours.
bool PrepareFonts(const void* font) {
  if (FontPalette32 != nullptr) return true;
  FontPalette32 = static_cast<uint32_t*>(core::GameAllocate(256 * 4));
  if (FontPalette32 == nullptr) return false;
  const uint16_t* colours = game::FieldAddress16(font, game::kFontPalette);
  for (int index = 0; index < 256; ++index) FontPalette32[index] = PixelFromRgb565(colours[index]);
  static const uint16_t kNoOverride = 0;
  const int32_t shared = core::ReadVariable("Tarn.FontColor");
  FontColourOverride =
      shared != 0
          ? reinterpret_cast<const uint16_t*>(static_cast<uintptr_t>(static_cast<uint32_t>(shared)))
          : &kNoOverride;
  return true;
}

// The character's record: the glyph's horizontal offset, then its width.
int CharacterRecord(uint32_t character) {
  return game::kFontCharacters + game::kFontCharacterSize * static_cast<int>(character);
}

GlyphPixels Glyph(const void* font, uint32_t character) {
  const auto* data = ReadField<const uint8_t*>(font, game::kFontGlyphData);
  if (data == nullptr) return {};
  return {
      data + ReadField<int32_t>(font, game::kFontGlyphOffsets + 4 * static_cast<int>(character)),
      ReadField<int32_t>(font, CharacterRecord(character) + 4),
      ReadField<uint8_t>(font, game::kFontGlyphHeight)};
}

}  // namespace

void DrawGlyph(const void* font, uint32_t character, void* bitmap, int32_t x, int32_t y,
               uint32_t colourIndex) {
  if (character > 255 || !PrepareFonts(font)) return;
  uint32_t colour = FontPalette32[colourIndex & 0xFF];
  if (*FontColourOverride != 0) colour = PixelFromRgb565(*FontColourOverride);
  const GlyphPixels glyph = Glyph(font, character);
  if (glyph.data == nullptr) return;
  const auto* name = static_cast<const char*>(font) + game::kFontName;
  const bool named_styles = (core::ReadVariable("QZ.ExeVersion") & kNamedStylesBit) != 0;
  DrawGlyphPixels(game::BitmapPixels(bitmap),
                  x + ReadField<int32_t>(font, CharacterRecord(character)), y, glyph,
                  StyleForFont(name, named_styles), colour, FontPalette32[kEdgeColourIndex]);
}

int32_t WINAPI ForceColourFormat(core::SplicerHook* hook, uint32_t, uint32_t, uint32_t) {
  using Routine = int32_t(__attribute__((fastcall))*)(uint32_t, uint32_t, uint32_t);
  return core::At<Routine>(core::OriginalFunction(hook))(kRedMask, kGreenMask, kBlueMask);
}

int32_t WINAPI OverrideColourMasks(core::SplicerHook* hook, void* object, uint32_t first,
                                   uint32_t second) {
  uint32_t saved[3];
  for (int i = 0; i < 3; ++i) saved[i] = core::Cell<uint32_t>(kColourMaskVariables[i]);
  core::Cell<uint32_t>(kColourMaskVariables[0]) = kRedMask;
  core::Cell<uint32_t>(kColourMaskVariables[1]) = kGreenMask;
  core::Cell<uint32_t>(kColourMaskVariables[2]) = kBlueMask;
  using Routine = core::ThisCall<int32_t, uint32_t, uint32_t>;
  const int32_t result = core::At<Routine>(core::OriginalFunction(hook))(object, first, second);
  for (int i = 0; i < 3; ++i) core::Cell<uint32_t>(kColourMaskVariables[i]) = saved[i];
  return result;
}

int32_t WINAPI RedirectVideoOutput(core::SplicerHook* hook, void* video, int32_t left, int32_t top,
                                   int32_t pitch, int32_t height, void* buffer, uint32_t flags) {
  using Routine = int32_t(WINAPI*)(void*, int32_t, int32_t, int32_t, int32_t, void*, uint32_t);
  const auto routine = core::At<Routine>(core::OriginalFunction(hook));
  if (Video.frame == nullptr) {
    Video.frame = static_cast<uint8_t*>(core::GuardedAlloc(kFrameBufferBytes));
  }
  // Without the frame buffer the decoder writes where the game asked, in 16 bits.
  if (Video.frame == nullptr) return routine(video, left, top, pitch, height, buffer, flags);
  Video.destination = static_cast<uint32_t*>(buffer);
  Video.left = left;
  Video.top = top;
  Video.pitch = pitch;
  constexpr uint32_t kTopLeftRgb565 = 0xC0000000;
  return routine(video, 0, 0, kFramePitch, kFrameHeight, Video.frame, kTopLeftRgb565);
}

int32_t WINAPI ConvertVideoFrame(core::SplicerHook* hook, void* video) {
  using Routine = int32_t(WINAPI*)(void*);
  const int32_t result = core::At<Routine>(core::OriginalFunction(hook))(video);
  if (Video.destination == nullptr) return result;
  // A frame larger than the private buffer is converted as far as the buffer goes.
  const int32_t width = std::min(ReadField<int32_t>(video, game::kVideoWidth), kFrameWidth);
  const int32_t height = std::min(ReadField<int32_t>(video, game::kVideoHeight), kFrameHeight);
  const PixelBuffer destination{
      PixelRow({Video.destination, 0, 0, Video.pitch}, Video.top) + Video.left, width, height,
      Video.pitch};
  ConvertRgb565Picture(Video.frame, kFramePitch, width, height, destination);
  return result;
}

int32_t WINAPI OffsetVideoRectangle(core::SplicerHook* hook, void* object, int32_t x, int32_t y,
                                    int32_t w, int32_t h) {
  using Routine = core::ThisCall<int32_t, int32_t, int32_t, int32_t, int32_t>;
  return core::At<Routine>(core::OriginalFunction(hook))(object, x + Video.left, y + Video.top, w,
                                                         h);
}

}  // namespace qz::truecolour
