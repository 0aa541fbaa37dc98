// Reading the input data file into the model store and the input echo.
#pragma once

#include "engine/run.h"

namespace kestra {

// Run-wide values set after the date block of every run: π as the single
// precision 3.14159, the three small-number thresholds, the end marker and
// the group multipliers (1.0).
void SET_ENTRY_VALUES(RUN& run);

// Reads the whole input data file, section by section, into the store.
// Returns the status (0, or a deck fault with its message written).
int READ_INPUT(RUN& run);

// Writes Tables B to K and derives the model arrays. Returns the status.
int ECHO_TABLES(RUN& run);

// ECHO_TABLES, then the analysis driver. Returns the status code of the run.
int ECHO_INPUT(RUN& run);

}  // namespace kestra
