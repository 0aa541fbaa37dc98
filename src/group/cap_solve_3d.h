// Equilibrium of a rigid pile cap with six degrees of freedom (3D): an
// incremental Newton iteration on the cap displacement U at the origin
// until EQ_LOAD + R(U) = 0, R the pile reactions (and the passive
// resistance of an embedded cap), with the tangent stiffness by central
// differences. A load fraction that does not converge is retried at half
// the increment; below the minimum increment the search stops and the
// results are those of the last converged fraction.
#pragma once

#include "engine/run.h"

namespace kestra {

// kind: 0 load case, 1 load combination (wording of the progress messages).
// flag receives the p-y phase flag found on entry (the flag is not changed).
// load_out / disp_out receive the final EQ_LOAD and U.
// Returns the run status: 0, 4 after a stop request, or the status of a
// failed pile evaluation. Non-convergence is not a status: it is reported
// (STORE::an.OUTCOME, the report, the runtime and case results files).
int CAP_SOLVE_3D(RUN& run, int kind, int& flag, VEC6& load_out, VEC6& disp_out);

// In-place inverse of the leading n x n block of a (1-based) by Gauss-Jordan
// elimination with full pivoting. Returns false when the matrix is singular
// (a zero pivot); the contents of a are then undefined.
bool GAUSS_JORDAN(MAT6& a, int n);

// Group reduction factors for the current cap displacement (the cap
// iteration calls it before every evaluation when the option is in use).
void UPDATE_GROUP_FACTORS_3D(RUN& run);

// Passive force of an embedded cap at the cap displacement U (equivalent
// lateral load, or equivalent lateral springs with CAP_SPRINGS != 0), and
// its stiffness by central differences. Returns the status of the pile
// evaluations they run.
int PASSIVE_FORCE(RUN& run, const VEC6& U, VEC6& P);
int PASSIVE_STIFFNESS(RUN& run, const VEC6& U, MAT6& K);

}  // namespace kestra
