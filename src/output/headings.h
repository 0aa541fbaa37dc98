// Column headings of the pile-response tables, built once per run from the
// unit labels and the analysis type.
#pragma once

#include "engine/run.h"

namespace kestra {

void SET_RESULT_HEADINGS(RUN& run);

}  // namespace kestra
