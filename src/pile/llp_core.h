// Pieces shared by the one-plane and the two-plane lateral solutions: the
// head rows, the five-band elimination with its tip closure and back
// substitution, the convergence test, the results along the pile and the
// warnings. Internal to the pile solutions.
//
// Difference equation at node m (R = EI, Q = PX, k = ESOIL, w = WLOAD):
//   R(m-1) y(m-2) + [-2R(m-1) - 2R(m) + Q h^2] y(m-1)
//   + [R(m-1) + 4R(m) + R(m+1) - 2Q h^2 + k h^4] y(m)
//   + [-2R(m) - 2R(m+1) + Q h^2] y(m+1) + R(m+1) y(m+2) = w h^4
// eliminated head to tip into y(m) = C(m) + B(m) y(m+1) + D(m) y(m+2).
#pragma once

#include "engine/run.h"
#include "pile/pile_work.h"

namespace kestra::llp {

// Connection codes of a pile head.
enum CONNECTION : int { PIN = 1, FIX = 2, RES = 3 };

// Recursion rows of the head: nodes -3 and -2 empty, the head node held at
// yt, the imaginary node -1 carrying the connection (PIN zero moment, FIX
// slope s*theta, RES moment = K*(slope - s*theta) with EI0 = EI of the head
// at set-up). Any other code is taken as PIN; so is a RES row whose
// denominator K*h + 2*EI0 vanishes (K = 0 with EI0 = 0, or K = -2EI0/h).
void HEAD_ROWS(LLP_PLANE& p, int connection, double yt, double theta, double K, double h,
               double s);

// Forward elimination of rows 1..N+1 with the plane's EI, PX, WLOAD and the
// shared moduli; a row with a zero denominator gets a zero multiplier.
void ELIMINATE(LLP_PLANE& p, const NODE_VALUES& esoil, int N, double h);

// Copies the deflections of nodes 0..N into YPREV, closes the tip (zero
// moment and shear give y(N+1), y(N+2); a zero determinant leaves them 0)
// and substitutes back to node -3.
void SOLVE_BACK(LLP_PLANE& p, NODE_VALUES& y, int N, double h);

// |YPREV - y| < tol at every node 0..N.
bool CLOSED(const LLP_PLANE& p, const NODE_VALUES& y, int N, double tol);

// SLOPE, BMOM (entries 2 and N+6 zero), SHEAR and SOILR = ESOIL*y; returns
// the lateral head force: the trapezoidal sum of h*(SOILR - WLOAD).
double RESULTS(LLP_PLANE& p, const NODE_VALUES& y, const NODE_VALUES& esoil, int N, double h);

// Rigidity of every entry 3..N+6 (imaginary nodes take the nearest end
// node's value): axis 0 bending in x-y (Iz), 1 in x-z (Iy).
void SECTION_RIGIDITIES(const STORE& s, const PILE_WORK& w, LLP_PLANE& p, int axis);

// Axial force of entries 3..N+6: P, or with the axial variation on and a
// generated load-settlement curve, the force along the pile of the last
// axial solution.
void AXIAL_FORCES(const STORE& s, const PILE_WORK& w, int g, double P, NODE_VALUES& px);

// Distributed load of group g at nodes 0..N from the per-node loads of the
// current case or combination (0 where the group has none).
void DIST_LOADS(const STORE& s, int g, int N, NODE_VALUES& load_y, NODE_VALUES& load_z);

// The extreme-fibre dimension of the section at x for bending in the x-y
// plane (axis 0) or the x-z plane (axis 1): the diameter of a general or
// circular section, the external depth (axis 0) or width (axis 1) of the
// others, the equivalent diameter where that dimension is not given.
double FIBRE_DEPTH(const STORE& s, const PILE_WORK& w, double x, int axis);

// Resolves the soil movement at the nodes, given along global Y and Z in
// SOIL_MOVE_Y and SOIL_MOVE_Z, onto the local axes of a pile with angles
// alpha and beta (radians): s_y = sin(beta) (S_Y cos(alpha) + S_Z sin(alpha)),
// s_z = S_Z cos(alpha) - S_Y sin(alpha).
void RESOLVE_SOIL_MOVEMENT(PILE_WORK& w, double alpha, double beta);

// Lays out the nodes of group g (h, X, N, property, head and ground values)
// and, with generated curves, assigns them to the layers. Returns false when
// the group or its property cannot be laid out (no property, INC outside
// 1..100, a length that is not positive).
bool LAYOUT_NODES(const RUN& run, PILE_WORK& w, int g);

// Start of a solution of group g: a printing pass resets the small-deflection
// threshold, the solution flags are cleared and the nodes are laid out again
// unless w already holds group g. Returns false where LAYOUT_NODES fails.
bool BEGIN_SOLUTION(RUN& run, PILE_WORK& w, int g);

// Zeroes every array of a plane but its distributed loads.
void CLEAR_PLANE(LLP_PLANE& p);

// Loads of the soil movement: w = k * (soil movement) + distributed load.
void MOVING_SOIL_LOADS(LLP_PLANE& p, const NODE_VALUES& esoil, const NODE_VALUES& move, int N);

// Capacity ratios at coordinate x of a combination: |moment| over Mn times
// the bending factor and |shear| over Vn times the shear factor, 0 where
// the section gives no capacity.
void CAPACITY_RATIOS(const STORE& s, const PILE_WORK& w, double x, double moment, double shear,
                     double& moment_ratio, double& shear_ratio);

// The messages of a printing pass: curves ending above the tip, a hinge.
void PRINT_PASS_MESSAGES(RUN& run, const PILE_WORK& w, int g, bool summary_too);

// The no-closure warning to the report and the run log.
void NO_CLOSURE_WARNING(RUN& run, int limit, int g);
// The warning of input p-y curves that end above the tip (report).
void BEYOND_CURVES_WARNING(RUN& run);
// The plastic-hinge message of a printing pass (report; 2D also summary).
void PLASTIC_HINGE_MESSAGE(RUN& run, int g, bool summary_too);
// The fatal message of a rigidity update without a usable curve.
int NLEI_FAILURE(RUN& run, int g);

}  // namespace kestra::llp
