// The driver over load cases and combinations.
#pragma once

#include "engine/run.h"

namespace kestra {

// Analyses every load case and combination, the envelopes, the requested
// p-y curves and the curve data file. Returns the status code.
int RUN_DRIVER(RUN& run);

}  // namespace kestra
