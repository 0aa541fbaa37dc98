// Recording and printing of the response of one pile after its lateral
// solution, in a printing pass (PASS_FLAG 1: head tables, the results table,
// the per-node report table, the extreme values and the head envelopes) or
// an equivalent-stiffness pass (PASS_FLAG 2: the pile stiffness file).
//
// The 3D recording is called by the pile-head response once the biaxial
// solution of the pile has returned; the lateral solutions themselves do
// not call it.
#pragma once

#include "engine/run.h"

namespace kestra {

// Pile g, local head displacement w (axial, lateral y, lateral z, twist,
// rotations about y and z) and local head forces (P, V_y, V_z, T,
// -M_z0, M_y0), from the working arrays of STORE::an.work. Negates the
// moments of both planes in place (the recorded moment is EI*y'').
void RECORD_PILE_3D(RUN& run, int g, const VEC6& w, const VEC6& head_force);

// The tables along pile g from STORE::an.RESULTS_TABLE, filled by the
// recording of the pile (3D) or of the row (2D): the results table file
// (every column that applies), the report table of the selected columns
// every PRINT_EVERY nodes (print level 2) with the iterations of the lateral
// solution, the column extremes to the extreme-values scratch file, and the
// envelope of the table.
void WRITE_PILE_TABLES(RUN& run, int g, bool three_d);

// The columns of the results table shown for the current analysis: the
// input selection (report == true) or all columns (the results table file),
// less the columns that do not apply (2D-only blanks, the axial columns
// without variation of axial load or with a user load-settlement curve, the
// demand-to-capacity columns outside load combinations).
void RESULT_COLUMN_FLAGS(const RUN& run, int g, bool report, int (&flags)[RESULT_COLUMNS + 1]);

// sqrt(a^2 + b^2), each of a and b below 1.0E-24 in magnitude taken as zero.
double RESULTANT(double a, double b);

}  // namespace kestra
