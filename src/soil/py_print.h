// The printed p-y curves of the report (Table N) and their plot-file copy.
#pragma once

#include "engine/run.h"

namespace kestra {

// Status of a requested curve (why it is or is not generated).
enum PY_REQUEST_STATUS : int {
  PYR_GENERATE = 0,     // generate
  PYR_CAP_LEVEL = 1,    // generate at the embedded pile cap (the first such request)
  PYR_CAP_AGAIN = 2,    // a further request within the embedded cap: not generated
  PYR_ABOVE_GROUND = 3, // at or above the group's ground surface
  PYR_BELOW_TIP = 4,    // below the pile tip
  PYR_ABOVE_CAP = 5,    // above the top of the embedded cap
  PYR_ABOVE_HEAD = 6,   // above the pile head (no embedded cap)
};

// The status of every request, 1-based into status[1..NPYPRINT].
void PY_REQUEST_STATUSES(const RUN& run, int* status);

// Tabulates every requested curve to the report and the plot file, with
// tabulation on and the layer count restored from the input. Expects
// PY_PHASE set to KPYOP and PY_BUFFER off. Returns 0 or the status of the
// first failing curve.
int PRINT_PY_REQUESTS(RUN& run);

// What the load driver does after the cases: with KPYOP not 0, the Table N
// heading and PRINT_PY_REQUESTS with PY_PHASE = KPYOP, the loading of the
// last case or combination in effect. Returns the status.
int PY_REQUEST_OUTPUT(RUN& run);

}  // namespace kestra
