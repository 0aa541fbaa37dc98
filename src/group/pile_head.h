// Pile-head response in cap coordinates (3D): the rigid-body transfer of the
// cap displacement to every pile head, the rotation into the pile's axes,
// the axial, torsional and biaxial lateral single-pile solutions, and the
// head forces turned back and carried to the origin; their tangent
// stiffness by central differences.
//
// Forces returned are the reactions of the piles on the cap (a pile pushed
// down pushes the cap up), so the cap is in equilibrium when
// EQ_LOAD + CAP_RESISTANCE(U) = 0 and CAP_STIFFNESS is negative definite for
// a stable foundation.
#pragma once

#include "engine/run.h"

namespace kestra {

// y = a*x for 6 x 6 a (1-based), and c = a*b.
void MAT6_MUL(const MAT6& a, const VEC6& x, VEC6& y);
void MAT6_MUL(const MAT6& a, const MAT6& b, MAT6& c);

// Builds, for pile i (1 .. NPILES + 1), the matrices of STORE::an:
//   B  rigid-body transfer origin -> head  (u_head = B u_cap),
//   A = B^T, forces at the head -> origin,
//   D  global -> local axes, diag(R, R), R's rows the local axes,
//   C = D^T.
// Keeps cos/sin of the pile's angles in the per-pile arrays.
void PILE_TRANSFORM(RUN& run, int i);

// Copies the controls of the load in progress (tolerance, iteration limit,
// axial variation, pass flag, resistance factors) into the pile solution's
// work area; run before every single-pile solution.
void PILE_SOLUTION_CONTROLS(const RUN& run, PILE_WORK& w);

// Axial head force N of pile i at the axial head displacement a, from its
// load-settlement curve (user curve LS_SET >= 1, else the generated one);
// the axial distribution along the pile is left in the working arrays. A
// displacement beyond the curve carries nothing and, with WARN_RECORDING,
// records a warning. status receives a failure of the axial solution
// (variation of axial load); N is the last value in that case.
double AXIAL_HEAD_FORCE(RUN& run, int i, double a, int& status);

// Torque at the head of pile i at the twist t (radians), from its
// torque-rotation curve; 0 outside it (with a recorded warning).
double TORSION_HEAD_MOMENT(RUN& run, int i, double t);

// Force vector F (global axes, at the head) that pile i exerts on the cap at
// the head displacement u (global axes). Returns the status: nonzero when
// the node layout or the lateral solution failed (F is zero then).
int PILE_HEAD_RESPONSE(RUN& run, int i, const VEC6& u, VEC6& F);

// R = sum over the piles of A_i F_i at the cap displacement U. Returns at
// once on a nonzero status.
int CAP_RESISTANCE(RUN& run, const VEC6& U, VEC6& R);

// Central-difference stiffness of PILE_HEAD_RESPONSE at u (global axes):
// steps 1.0E-7 (2.54E-9 in SI units) for translations, 1.0E-13 for
// rotations. The statuses of the twelve responses are not examined.
int PILE_HEAD_STIFFNESS(RUN& run, int i, const VEC6& u, MAT6& K);

// K = sum over the piles of A_i K_i B_i, the stiffness of CAP_RESISTANCE.
int CAP_STIFFNESS(RUN& run, const VEC6& U, MAT6& K);

// The central-difference steps of the units system, slot by slot.
void STIFFNESS_STEPS(const RUN& run, VEC6& step);

}  // namespace kestra
