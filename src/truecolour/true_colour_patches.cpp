#include "truecolour/true_colour_patches.h"

#include <cstdint>
#include <iterator>

#include "truecolour/bitmap_hooks.h"
#include "truecolour/sprite_hooks.h"
#include "truecolour/text_video_hooks.h"
#include "truecolour/transition_hooks.h"

namespace qz::truecolour {
namespace {

using core::kCallSite;
using core::kPointerCell;
using core::kRegisterCall;
using core::kRoutine;
using core::kStackCall;
using core::kThisCall;

enum class Operation { kByte, kCode, kWrap, kReplace };

// One change to the game. Wrapping handlers get the SplicerHook first (mode 1 or 2 by
// "QZ.ExeVersion"); replacements take over the whole routine in its own convention.
struct TrueColourPatch {
  Operation operation;
  uint32_t address;
  uint8_t value;     // kByte
  const char* code;  // kCode: machine code in the patching library's hex notation
  core::HookKind kind;
  core::HookConvention convention;
  const void* handler;
};

TrueColourPatch Byte(uint32_t address, uint8_t value) {
  return {Operation::kByte, address, value, nullptr, kCallSite, kStackCall, nullptr};
}

TrueColourPatch Code(uint32_t address, const char* code) {
  return {Operation::kCode, address, 0, code, kCallSite, kStackCall, nullptr};
}

TrueColourPatch Wrap(uint32_t address, core::HookKind kind, core::HookConvention convention,
                     const void* handler) {
  return {Operation::kWrap, address, 0, nullptr, kind, convention, handler};
}

TrueColourPatch Replace(uint32_t address, const void* handler) {
  return {Operation::kReplace, address, 0, nullptr, kRoutine, kThisCall, handler};
}

const TrueColourPatch* Patches(int& count) {
  using core::CodeAddress;
  static const TrueColourPatch patches[] = {
      Byte(0x4F0684, 0x88),
      // Fourteen pixel loops of the game, one group each: their 16-bit loads, tests and stores
      // become 32-bit ones (a pixel of 0 is left unwritten) and their steps become 4 bytes.
      // clang-format off
      Byte(0x5FA18E, 0x2C), Byte(0x5FA19C, 0x2C), Byte(0x5FA1C7, 0xB9), Byte(0x5FA213, 0x81),
          Code(0x5FA214, "8B 00 90 85 C0 90 74 0C 8B 5D FC 89 03 90"),
          Byte(0x5FA22B, 0x04), Byte(0x5FA24F, 0x31), Byte(0x5FA255, 0x30),
      Byte(0x5FA737, 0x2C), Byte(0x5FA748, 0x2C), Byte(0x5FA759, 0xB7), Byte(0x5FA779, 0x83),
          Code(0x5FA77A, "8B 00 90 85 C0 90 74 09 89 07 90"),
          Byte(0x5FA78D, 0x04), Byte(0x5FA7B0, 0x30), Byte(0x5FA7B9, 0x38),
      Byte(0x5FA909, 0x2C), Byte(0x5FA91A, 0x2C), Byte(0x5FA92B, 0xB7), Byte(0x5FA947, 0x83),
          Code(0x5FA948, "8B 00 90 85 C0 90 74 09 89 07 90"),
          Byte(0x5FA95B, 0x04), Byte(0x5FA97E, 0x30), Byte(0x5FA987, 0x38),
      Byte(0x5F976E, 0x2C), Byte(0x5F977D, 0x2C), Byte(0x5F978E, 0x9F), Byte(0x5F97B1, 0x8F),
          Code(0x5F97B2, "8B 09 90 85 C9 90 74 08 89 0E 90"),
          Byte(0x5F97C4, 0x04), Byte(0x5F97E7, 0x39), Byte(0x5F97F0, 0x31),
      Byte(0x5F9847, 0x2C), Byte(0x5F9852, 0x2C), Byte(0x5F98DB, 0x8F),
          Code(0x5F98DC, "8B 09 90 85 C9 90 74 06 8B 7D 10 89 0F 90"),
          Byte(0x5F98EF, 0x04), Byte(0x5F9922, 0x08), Byte(0x5F992B, 0x38),
      Byte(0x5F9AFF, 0x2C), Byte(0x5F9B0E, 0x2C), Byte(0x5F9B1F, 0x9F), Byte(0x5F9B42, 0x8F),
          Code(0x5F9B43, "8B 09 90 85 C9 90 74 08 89 0E 90"),
          Byte(0x5F9B55, 0x04), Byte(0x5F9B7B, 0x39), Byte(0x5F9B81, 0x31),
      Byte(0x5F9BD8, 0x2C), Byte(0x5F9BE3, 0x2C), Byte(0x5F9C6C, 0x8F),
          Code(0x5F9C6D, "8B 09 90 85 C9 90 74 06 8B 7D 10 89 0F 90"),
          Byte(0x5F9C80, 0x04), Byte(0x5F9CB3, 0x10), Byte(0x5F9CBC, 0x38),
      Byte(0x5FA4E8, 0x2C), Byte(0x5FA4F6, 0x2C), Byte(0x5FA507, 0x9F), Byte(0x5FA526, 0x87),
          Code(0x5FA527, "8B 00 90 85 C0 90 74 09 89 06 90"),
          Byte(0x5FA53A, 0x04), Byte(0x5FA560, 0x38), Byte(0x5FA566, 0x30),
      Byte(0x5F93EE, 0x2C), Byte(0x5F9400, 0x2C), Byte(0x5F9411, 0xBF), Byte(0x5F9431, 0x8B),
          Code(0x5F9432, "8B 09 90 85 C9 90 74 08 89 0F 90"),
          Byte(0x5F9444, 0x04), Byte(0x5F9467, 0x31), Byte(0x5F9470, 0x39),
      Byte(0x5F94C6, 0x2C), Byte(0x5F94D5, 0x2C), Byte(0x5F9509, 0xBB), Byte(0x5F9553, 0x8B),
          Code(0x5F9554, "8B 09 90 85 C9 90 74 0B 8B 45 08 89 08 90"),
          Byte(0x5F956A, 0x04), Byte(0x5F9594, 0x19), Byte(0x5F959A, 0x39),
      Byte(0x5F8DB3, 0x2C), Byte(0x5F8DC2, 0x2C), Byte(0x5F8DD3, 0xB3), Byte(0x5F8DF6, 0x8B),
          Code(0x5F8DF7, "8B 09 90 85 C9 90 74 08 89 0E 90"),
          Byte(0x5F8E09, 0x04), Byte(0x5F8E2F, 0x39), Byte(0x5F8E35, 0x31),
      Byte(0x5F8E8B, 0x2C), Byte(0x5F8E9A, 0x2C), Byte(0x5F8ECF, 0xBB), Byte(0x5F8F17, 0x8B),
          Code(0x5F8F18, "8B 09 90 85 C9 90 74 0B 8B 45 14 89 08 90"),
          Byte(0x5F8F2E, 0x04), Byte(0x5F8F52, 0x32), Byte(0x5F8F58, 0x3A),
      Byte(0x5F9EEF, 0x2C), Byte(0x5F9F00, 0x2C), Byte(0x5F9F11, 0xB7), Byte(0x5F9F31, 0x83),
          Code(0x5F9F32, "8B 00 90 85 C0 90 74 09 89 07 90"),
          Byte(0x5F9F45, 0x04), Byte(0x5F9F77, 0x10), Byte(0x5F9F7D, 0x38),
      Byte(0x5FA084, 0x2C), Byte(0x5FA095, 0x2C), Byte(0x5FA0A6, 0xB7), Byte(0x5FA0C6, 0x83),
          Code(0x5FA0C7, "8B 00 90 85 C0 90 74 09 89 07 90"),
          Byte(0x5FA0DA, 0x04), Byte(0x5FA103, 0x10), Byte(0x5FA112, 0x38),
      Wrap(0x5A5750, kRoutine, kThisCall, CodeAddress(&OverrideColourMasks)),
      Wrap(0x55A8F0, kRoutine, kRegisterCall, CodeAddress(&ForceColourFormat)),
      // 32 bits per pixel where the game's set-up code names its colour depth.
      Byte(0x600A54, 0x20), Byte(0x6009C2, 0x20), Byte(0x600B34, 0x20), Byte(0x601B1E, 0x20),
      Byte(0x601A67, 0x20), Byte(0x602116, 0x20),
      Byte(0x5975A3, 0xB2), Byte(0x44D677, 0xBE), Byte(0x44DAC4, 0x8E),
      // clang-format on
      Replace(0x603380, CodeAddress(&CrossFade)),
      Replace(0x6036A0, CodeAddress(&FadeOut)),
      Replace(0x6038A0, CodeAddress(&FadeIn)),
      Wrap(0x63A458, kPointerCell, kStackCall, CodeAddress(&RedirectVideoOutput)),
      Wrap(0x63A454, kPointerCell, kStackCall, CodeAddress(&ConvertVideoFrame)),
      Wrap(0x597DC1, kCallSite, kThisCall, CodeAddress(&OffsetVideoRectangle)),
      Replace(0x44ECE0, CodeAddress(&DrawImage24)),
      Replace(0x44F940, CodeAddress(&DrawImage8)),
      Replace(0x4B4F00, CodeAddress(&DrawGlyph)),
      Replace(0x44DC40, CodeAddress(&ConstructBitmap)),
      Replace(0x44DD20, CodeAddress(&ConstructNamedBitmap)),
      Replace(0x44DE00, CodeAddress(&IgnoreOneArgument)),
      Replace(0x44DF20, CodeAddress(&AttachBitmapBuffer)),
      Replace(0x44DF80, CodeAddress(&DrawBitmapToBuffer)),
      Replace(0x44E0C0, CodeAddress(&GrabBitmapFromBuffer)),
      Replace(0x44E190, CodeAddress(&FillBitmapRectangle)),
      Replace(0x44E210, CodeAddress(&OutlineBitmapRectangle)),
      Replace(0x44E2C0, CodeAddress(&DarkenBitmapRectangle)),
      Replace(0x44E370, CodeAddress(&DarkenBitmapThroughMask)),
      Replace(0x44E450, CodeAddress(&TintBitmapByColour)),
      Replace(0x44E610, CodeAddress(&TintBitmapByHue)),
      Replace(0x47BE90, CodeAddress(&DrawFrameHook)),
      Replace(0x47C300, CodeAddress(&DrawFrameShadedHook)),
      Replace(0x47C9C0, CodeAddress(&DrawFrameFlaggedHook)),
      Replace(0x47CE10, CodeAddress(&DrawFrameFlaggedHalfHook)),
      Replace(0x47D250, CodeAddress(&DrawFrameShadowPackedHook)),
      Replace(0x47D660, CodeAddress(&DrawFrameOpaqueHook)),
      Replace(0x47E140, CodeAddress(&DrawFrameShadowRowsHook)),
      Replace(0x47E880, CodeAddress(&DrawFrameHalfHook)),
  };
  count = static_cast<int>(std::size(patches));
  return patches;
}

void Write(core::SplicerInstance* instance, const TrueColourPatch& patch) {
  switch (patch.operation) {
    case Operation::kByte:
      core::WriteByte(instance, patch.address, patch.value);
      break;
    case Operation::kCode:
      core::WriteHexBytes(instance, patch.address, patch.code);
      break;
    case Operation::kWrap:
      core::WriteHook(instance, patch.address, patch.kind, core::HandlerMode(), patch.convention,
                      patch.handler);
      break;
    case Operation::kReplace:
      core::ReplaceRoutine(instance, patch.address, patch.handler);
      break;
  }
}

}  // namespace

void WriteTrueColourPatches(core::SplicerInstance* instance) {
  int count = 0;
  const TrueColourPatch* patches = Patches(count);
  for (int i = 0; i < count; ++i) Write(instance, patches[i]);
}

}  // namespace qz::truecolour
