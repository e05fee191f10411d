#include "scale/vector_lanes_sse2.h"
#include "scale/xbrz_lane_rows.h"

namespace qz::scale {

const XbrzLaneWork kXbrzSse2Work{LookUpLaneMagnitudes<Sse2Lanes>, DecideLaneRow<Sse2Lanes>,
                                 DoubleLaneRow<Sse2Lanes>};

}  // namespace qz::scale
