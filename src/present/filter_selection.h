#pragma once
#include <cstdint>

#include "present/present_routines.h"

namespace qz::present {

// Present routine of the current filter.
extern PresentRoutineType PresentRoutine;

// Makes `index` the current filter's routine.
void SelectFilter(int32_t index);

}  // namespace qz::present
