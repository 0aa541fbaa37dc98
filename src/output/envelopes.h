// Envelopes over the printed analyses of a set (the load cases, then the
// load combinations): the store of the cap and pile results, its update
// after every printing pass, and the printing of the minimum and maximum
// envelopes as two extra analyses with their own Table L, Table M, pile-top
// tables, tables along the piles and per-pile summary tables.
//
// The store update entry points (ENVELOPE_RESET, ENVELOPE_CAP_UPDATE,
// ENVELOPE_HEAD_UPDATE, ENVELOPE_TABLE_UPDATE) are declared with the results
// report that calls them (output/results_report.h).
#pragma once

#include "engine/run.h"
#include "output/results_report.h"

namespace kestra {

// Set of analyses: 1 load cases, 2 load combinations; kind: 1 minimum,
// 2 maximum.
inline constexpr int ENV_SET_CASES = 1, ENV_SET_COMBS = 2;
inline constexpr int ENV_MINIMUM = 1, ENV_MAXIMUM = 2;

// One envelope of the set: headings, Table L of the cap envelope, Table M,
// the pile tables of every pile and the per-pile summary tables.
void PRINT_ENVELOPE(RUN& run, int set, int kind);

// The minimum envelope, then the maximum envelope.
void PRINT_ENVELOPES(RUN& run, int set);

}  // namespace kestra
