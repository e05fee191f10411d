#include "present/filter_selection.h"

namespace qz::present {

PresentRoutineType PresentRoutine = PresentRoutineOf(2);

void SelectFilter(int32_t index) {
  PresentRoutine = PresentRoutineOf(index);
}

}  // namespace qz::present
