#include "present/present_routines.h"

#include <iterator>

#include "core/settings.h"
#include "present/filter_table.h"
#include "present/presentation.h"

namespace qz::present {
namespace {

// A missing rectangle asks for the whole frame, as a block transfer without one does.
RECT Requested(const RECT* rectangle) {
  if (rectangle != nullptr) return *rectangle;
  return {0, 0, core::srcW - 1, core::srcH - 1};
}

void Present(int32_t filter, const RECT* rectangle) {
  if (!PresentationReady()) return;
  const RECT changed = Requested(rectangle);
  const PictureArea area =
      PresentRectangle(filter, CurrentImages(), CurrentGeometry(), changed.left, changed.top,
                       changed.right, changed.bottom);
  if (!IsEmpty(area)) TransferToWindow(area);
}

template <int32_t Filter>
HRESULT WINAPI PresentFilter(void*, RECT* rectangle, void*, RECT*, DWORD, void*) {
  Present(Filter, rectangle);
  return 0;
}

template <int32_t... Filters>
constexpr PresentRoutineType kRoutines[] = {&PresentFilter<Filters>...};

constexpr auto& kPresentRoutines = kRoutines<0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12>;
static_assert(std::size(kPresentRoutines) == kFilterCount);

}  // namespace

PresentRoutineType PresentRoutineOf(int32_t index) {
  return kPresentRoutines[index < 0 || index >= kFilterCount ? 0 : index];
}

HRESULT WINAPI OneToOnePresent(void*, RECT* rectangle, void*, RECT*, DWORD, void*) {
  if (FrameImage == nullptr || WindowDC == nullptr) return 0;
  const RECT changed = Requested(rectangle);
  BitBlt(WindowDC, changed.left + core::dstX, changed.top + core::dstY,
         changed.right - changed.left + 1, changed.bottom - changed.top + 1, FrameImage->dc,
         changed.left, changed.top, SRCCOPY);
  return 0;
}

}  // namespace qz::present
