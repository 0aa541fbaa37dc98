// Column headings of the pile-response tables, built once per run from the
// unit labels and the analysis type, and the heading block that prints the
// headings of the selected columns.
#pragma once

#include <cstdio>

#include "engine/run.h"

namespace kestra {

// Fills STORE::an.headings: two heading lines, the unit line of every
// column and the first-column fields of the report and the summary file.
void SET_RESULT_HEADINGS(RUN& run);

// The four heading lines (line 1, line 2, units, asterisks) of the columns
// whose flag (select[1..25]) is greater than 0, after an END_LINE. summary
// selects the first-column layout of the summary file.
void WRITE_HEADING_BLOCK(const RUN& run, FILE* f, bool summary, const int* select);

}  // namespace kestra
