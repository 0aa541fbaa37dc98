// Neutral versions of the soil echo steps that belong to the analysis
// subsystems (see input/soils_hooks.h): no estimate, nothing generated.
// The Table K estimate lives with the reduction factors
// (group/reduction_factors.cpp).
#include "input/soils_hooks.h"

namespace kestra {

int ECHO_HOOK_UNIT_RESISTANCE(RUN&, int, double, UNIT_RESISTANCE_ESTIMATE& est) {
  est = UNIT_RESISTANCE_ESTIMATE{};
  return ST_OK;
}

int ECHO_HOOK_GENERATED_LS_CURVES(RUN&) { return ST_OK; }

int ECHO_HOOK_GENERATED_TR_CURVES(RUN&) { return ST_OK; }

}  // namespace kestra
