// Group reduction factors of closely spaced piles for a direction of lateral
// movement: every pile's p-multiplier and y-multiplier of that direction
// recomputed from the positions of all piles, for movement of sense sigma
// (+1 or -1). _Y: movement along Y (the plane of a 2D analysis); _Z: along Z.
#pragma once

#include "engine/run.h"

namespace kestra {

void REDUCTION_FACTORS_Y(RUN& run, int sigma);
void REDUCTION_FACTORS_Z(RUN& run, int sigma);

}  // namespace kestra
