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

// The same for a 2D row g: local axial head displacement u, axial force P
// and lateral head force V; the head deflection, slope, moment and stress
// are read from the working arrays. In a printing pass with print level 1
// or more the global head forces (times the multiplicity) are added to
// STORE::an.HEAD_FORCE_SUM_2D. Negates the moments in place.
void RECORD_PILE_2D(RUN& run, int g, double u, double P, double V);

// The columns of the results table shown for the current analysis: the
// input selection (report == true) or all columns (the results table file),
// less the columns that do not apply (2D-only blanks, the axial columns
// without variation of axial load or with a user load-settlement curve, the
// demand-to-capacity columns outside load combinations).
void RESULT_COLUMN_FLAGS(const RUN& run, int g, bool report, int (&flags)[RESULT_COLUMNS + 1]);

// sqrt(a^2 + b^2), each of a and b below 1.0E-24 in magnitude taken as zero.
double RESULTANT(double a, double b);

}  // namespace kestra
