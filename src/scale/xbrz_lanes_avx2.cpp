// Built with AVX2 enabled: nothing here may run before the processor is known to have it.
#include "scale/vector_lanes_avx2.h"
#include "scale/xbrz_lane_rows.h"

namespace qz::scale {

const XbrzLaneWork kXbrzAvx2Work{LookUpLaneMagnitudes<Avx2Lanes>, DecideLaneRow<Avx2Lanes>,
                                 DoubleLaneRow<Avx2Lanes>};

}  // namespace qz::scale
