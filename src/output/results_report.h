// The computation results of one analysed load: Table L (the equivalent
// load at the origin and the cap displacement), the partial-load warning,
// the completion line of the case results file, the passive resistance of an
// embedded cap, the Table M heading and the printing pass over the piles;
// and the running envelopes that the printed analyses feed.
#pragma once

#include "engine/run.h"

namespace kestra {

// Writes the results of the analysis just solved: EQ_LOAD and the cap
// displacement U (both of the last converged fraction), the fraction f
// (STORE::an.FRACTION) and the iteration counter. In 3D the printing pass is
// CAP_RESISTANCE at U. Returns the status of the printing pass.
int RESULTS_REPORT(RUN& run);

// Table L alone (3D or 2D layout by the analysis type).
void WRITE_TABLE_L(RUN& run);
// The load and displacement blocks of Table L for the vectors Q and U, with
// the values of each line in fields of width w with d digits after lead
// blanks (no iteration line); and the Table L lines of the results table
// file. Used by the envelopes, whose values have their own fields.
void WRITE_TABLE_L_LINES(RUN& run, FILE* f, const VEC6& Q, const VEC6& U, int lead, int w, int d);
void WRITE_TABLE_L_RESULTS_FILE(RUN& run, const VEC6& Q, const VEC6& U);

// Envelopes: cleared at the start of the driver and of each group (count 1
// at the first printed analysis), fed with the cap results and the pile-head
// results of every printing pass.
void ENVELOPE_RESET(RUN& run);
void ENVELOPE_CAP_UPDATE(RUN& run);
void ENVELOPE_HEAD_UPDATE(RUN& run, int g, const VEC6& disp, const VEC6& force);
// Envelope of the table along pile g (STORE::an.RESULTS_TABLE of its
// printing pass).
void ENVELOPE_TABLE_UPDATE(RUN& run, int g);

// The per-pile summary tables of the summary file after a printing pass,
// with the column selection of the analysis (output/summary_tables.cpp).
void SUMMARY_PILE_TABLES(RUN& run);

}  // namespace kestra
