// Neutral version of the soil echo step that belongs to the closely-spaced
// group estimate (see input/soils_hooks.h). The axial and torsional steps
// are in pile/axial_echo.cpp.
#include "input/soils_hooks.h"

namespace kestra {

int ECHO_HOOK_SPACING_FACTORS(RUN&, SPACING_ESTIMATE& est) {
  est = SPACING_ESTIMATE{};
  return ST_OK;
}

}  // namespace kestra
