// Stiffness passes of a load case, run by the driver before the analysis
// under the total load.
//
// STIFFNESS_DATA 1..10: the cap flexibility by load components. For every
// degree of freedom (2D: X, Y, rotation Z; 3D: the six cap slots) the case's
// load component alone is applied at each level; the displacements over the
// component form one column of the flexibility matrix of that level, and the
// matrices are inverted into stiffness matrices at the end.
//
// STIFFNESS_DATA >= 11: the equivalent stiffness of the whole foundation at
// the origin at load levels or target deflections (foundation_stiffness.h).
//
// A degree of freedom with a zero load component is skipped and has no
// flexibility column. The stiffness of such a case is formed over the
// loaded degrees of freedom only: their flexibility block is inverted (the
// stiffness with the unloaded degrees of freedom free of load), and the
// rows and columns of the skipped ones print as zero.
#pragma once

#include "engine/run.h"

namespace kestra {

// Case set-up for load case m, after CASE_RESULTANT and CLEAR_DIST_LOADS:
// SAVED_LOAD, the levels (the ten default levels when the case gives none),
// the heading and the flexibility scratch file. Returns the number of
// stiffness passes NP (0 when the case asks for no stiffness data).
int STIFFNESS_SETUP(RUN& run, int m);

// Stiffness pass p (1..NP) of load case m. Returns the run status (4 after
// a stop request, or the status of a failed pile evaluation).
int STIFFNESS_PASS(RUN& run, int m, int p);

// After the passes: the stiffness matrices (flexibility passes with
// STIFF_TABLES 1), the scratch files closed, the mode flags back to rest.
void STIFFNESS_FINISH(RUN& run, int m, int np);

// Called by the cap solutions at their end in a flexibility pass, in place of
// the result tables. failure is the case results line of a failed solution
// (no step converged, a singular matrix, piles that did not close), or
// nullptr when a load step converged; U is the cap displacement and F the
// applied load of the last converged step.
void FLEXIBILITY_RECORDS(RUN& run, const char* failure, const VEC6& F, const VEC6& U);

// One cap solution of a stiffness pass of load case m: the pile stiffness
// file opened afresh with its "LOAD CASE" line, the cap solution of the
// analysis type, the file closed. The final load and cap displacement are
// kept in STORE::an.LOAD_OUT and DISP_OUT. Returns the run status.
int STIFFNESS_SOLVE_CAP(RUN& run, int m);

// The cap solution of the analysis type alone (load case wording), its final
// load and displacement kept as above.
int STIFFNESS_CAP_SOLUTION(RUN& run);

// The ten default levels: 0.1, then log10(2) .. log10(10).
void DEFAULT_LEVELS(double* levels);

}  // namespace kestra
