// The soil profile derived from the layers as read (see input/soil_data.h).
#pragma once

#include "engine/run.h"
#include "engine/store.h"
#include "input/soils_hooks.h"

namespace kestra {

// Builds the soil profile from the layers of section 10: the working layer
// count NL, the ground surface, per layer its model and its top and bottom,
// and the 2 * NLAYERS profile points with the nine properties of each
// (friction angle in radians with the current pi; the properties a model does
// not use set to 0; vuggy limestone gets E50 = 0.0005).
void BUILD_SOIL_PROFILE(STORE& s);

// The Table F line naming a layer's soil model, or nullptr for a code
// outside 1 .. 11.
const char* SOIL_MODEL_LINE(int soil_model);

// Table F with the given estimator of the unit capacities (ECHO_TABLE_F uses
// ECHO_HOOK_UNIT_RESISTANCE).
using UNIT_RESISTANCE_FN = int (*)(RUN& run, int soil_model, double x, UNIT_RESISTANCE_ESTIMATE& est);
int ECHO_TABLE_F_USING(RUN& run, UNIT_RESISTANCE_FN estimate);

}  // namespace kestra
