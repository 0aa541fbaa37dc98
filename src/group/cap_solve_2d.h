// Cap equilibrium of a two-dimensional analysis: the rigid cap in the X-Y
// plane with three degrees of freedom at the origin (vertical displacement
// X, horizontal displacement Y, rotation about Z), carried by pile rows of
// MULTIPLICITY identical piles each and, for an embedded cap, by the passive
// earth pressure on its front face.
//
// Sign convention: the group reaction R is the force the rows exert against
// the cap displacement, positive in the direction of that displacement, so
// equilibrium is L = R and the tangent stiffness K = dR/dU is positive
// definite for a stable foundation (the opposite of the 3D reaction).
//
// Three-component vectors are 1-based (entry 0 unused): slot 1 along X,
// slot 2 along Y, slot 3 about Z. The solution reads the applied load from
// EQ_LOAD slots 1..3, the in-plane moment that the load resultants form in
// slot 6 having been moved to slot 3 first (MOVE_MOMENT_TO_SLOT_3). The cap
// displacement in the store (STORE::an.U) and the load printed with the
// results (EQ_LOAD after the solution) use the six-slot places of the three
// components: 1, 2 and 6 (rotation and moment about Z).
#pragma once

#include <array>

#include "engine/run.h"

namespace kestra {

using VEC3 = std::array<double, 4>;                 // 1-based slots 1..3
using MAT3 = std::array<std::array<double, 4>, 4>;  // 1-based [row][column]

// Transfer matrix of pile row i (1..NPILES): its columns are the row's
// local axial, lateral and rotation directions in global slots, so that the
// local head displacement is M^T U and the local reaction f goes to the
// origin as M f. With c = cos b, s = sin b (b the batter) and the head at
// (X, Y): column 1 (c, s, X s - Y c), column 2 (-s, c, X c + Y s),
// column 3 (0, 0, 1).
void ROW_TRANSFER_2D(const STORE& s, int i, MAT3& M);

// Local head displacement of row i at the cap displacement U:
// u[1] axial, u[2] lateral, u[3] rotation.
void ROW_HEAD_DISPLACEMENT_2D(const STORE& s, int i, const VEC3& U, VEC3& u);

// Axial head force of row i at the axial head displacement a, from the
// row's load-settlement curve (user curve LS_SET >= 1, else the generated
// curve of its property), before the row's axial-load factor. Only a = 0
// exactly gives 0 without a lookup. A displacement beyond the last point
// (bearing) or before the first (pull-out) carries nothing and, while
// STORE::an.WARN_RECORDING is 1, records a three-line warning in the
// failure-warnings scratch file and counts it. With axial variation on and
// a generated curve, the single-pile axial solution gives the force and its
// distribution along the pile (scaled by the axial-load factor).
//   status: receives a failure of the axial solution (0 otherwise).
double AXIAL_HEAD_FORCE_2D(RUN& run, int i, double a, int& status);

// Group reaction R at the origin for the cap displacement U: for every row
// in order, the axial force, the node layout and the one-plane lateral
// solution, the local reaction MULTIPLICITY * (N, V, head moment) carried to
// the origin. A row that does not close sets STORE::an.OUTCOME to 1 and the
// loop goes on; a failure of the axial solution is logged and the row keeps
// the force of its last iterate. Returns the status: nonzero (pile longer
// than the soil profile, a p-y failure) ends the loop at once with R holding
// the rows summed so far.
int CAP_RESISTANCE_2D(RUN& run, const VEC3& U, VEC3& R);

// The evaluation of the group reaction the cap iteration uses; production
// passes CAP_RESISTANCE_2D, tests may pass a model of their own.
using CAP_REACTION_2D = int (*)(RUN& run, const VEC3& U, VEC3& R);

// Central-difference steps: 1.0E-5 (2.54E-7 in SI units) for the two
// translations, 1.0E-8 for the rotation, held as single precision values.
void CAP_STEPS_2D(const STORE& s, VEC3& step);

// Passive force of an embedded cap (CAP_OPTION 1) at the cap displacement U,
// from the ground value and the cap soil resistance left by the last row
// evaluated: P = (0, -F, M), F and M negated when U_Y < 0, zero when the
// ground is not above the origin. F_out and position receive the signed
// force and the height of its resultant for the report.
void PASSIVE_FORCE_2D(const RUN& run, const VEC3& U, VEC3& P, double& F_out, double& position);

// Solves K dU = r by cofactors. Returns false (dU untouched) when
// |det K| <= 1.0E-14; det receives the determinant.
bool SOLVE_3X3_COFACTORS(const MAT3& K, const VEC3& r, VEC3& dU, double& det);

// EQ_LOAD slot 3 = slot 6 (the in-plane moment): the three-slot load of a
// 2D analysis, for load cases and combinations alike.
void MOVE_MOMENT_TO_SLOT_3(STORE& s);

// Cap equilibrium of the current load case (kind 0) or combination (kind 1)
// by an incremental Newton iteration on the cap displacement, then the cap
// results and the printing pass of every row.
//   kind:     0 load case, 1 combination (progress wording).
//   flag:     receives the p-y phase flag found on entry (then set to 0).
//   load_out, disp_out: receive the final load L and displacement U in
//             slots 1..3 (slots 4..6 zero).
// A converged solution then writes the results of the last converged load
// fraction: Table L, the cap envelope, the partial-load warning, the case
// results line, the passive resistance, the Table M heading and the
// printing pass, in which every row is solved once more at U.
// Reads EQ_LOAD slots 1..3 and the current controls; leaves U, the
// iteration counter, the load fraction and the outcome (0, 1 rows did not
// close, 2 singular stiffness, 3 pile failure warnings) in STORE::an.
// Returns the run status: 0, 4 after a stop request, or the status of a
// failed pile evaluation (immediate return, no results).
int CAP_SOLVE_2D(RUN& run, int kind, int& flag, VEC6& load_out, VEC6& disp_out);

// The same with the group reaction given.
int CAP_SOLVE_2D_WITH(RUN& run, int kind, int& flag, VEC6& load_out, VEC6& disp_out,
                      CAP_REACTION_2D reaction);

}  // namespace kestra
