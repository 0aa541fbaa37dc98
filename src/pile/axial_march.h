// Single-pile axial solution by the load-transfer method: a movement is
// imposed at the tip, the tip force follows from the tip curve, and the pile
// is walked up segment by segment, each segment adding the side friction of
// the t-z curves at its midpoint movement and shortening elastically under
// the force it carries.
//
// Three uses: the march itself; the load-settlement pass of a pile property
// (nine imposed tip movements per branch, filling its half of the 19-point
// pile-head curve, the origin at point 10); and the runtime solution for a
// given head displacement (AXIAL_SOLVE), which iterates on the tip movement
// and fills the axial movement and force node arrays.
//
// Nothing is allocated and nothing is kept between calls; the curves come in
// AXIAL_CURVES (soil/tz_curves.h), the pile in AXIAL_PILE.
#pragma once

#include <array>
#include <cstdio>

#include "engine/limits.h"
#include "engine/status.h"
#include "pile/pile_work.h"
#include "soil/tz_curves.h"

namespace kestra {

// Segment iteration: the midpoint movement is converged to this absolute
// tolerance (length unit of the run), in at most this many passes.
inline constexpr double MARCH_TOLERANCE = 1e-4;
inline constexpr int MARCH_MAX_PASSES = 100;
// Imposed tip movements of one branch of the load-settlement curve.
inline constexpr int LS_MOVEMENTS = 9;
static_assert(HEAD_CURVE_POINTS == 2 * LS_MOVEMENTS + 1, "two branches and the origin");

// Result of one march. Index k = 1 is the bottom of the tip segment, k is
// the bottom of segment k, N + 1 the head: P the axial force (compression
// positive), W the movement (downward positive).
struct AXIAL_MARCH {
  int N = 0;                               // segments
  double DL = 0.0;                         // segment length L / N
  std::array<double, MAX_NODES + 1> P{};   // 1..N+1
  std::array<double, MAX_NODES + 1> W{};   // 1..N+1
  int PASS_LIMITED = 0;                    // segments whose iteration stopped at the pass limit
  double TOP_LOAD() const { return P[N + 1]; }
  double TOP_MOVE() const { return W[N + 1]; }
  double TIP_FORCE() const { return P[1]; }
  double TIP_MOVE() const { return W[1]; }
};

// The 19-point pile-head curve of a property: point 10 the origin, 11..19
// the compression branch in the order of the imposed movements, 1..9 the
// pull-out branch with every sign reversed, point 1 the largest movement.
struct HEAD_CURVE {
  int NPTS = 0;
  std::array<double, HEAD_CURVE_POINTS + 1> TOP_MOVE{};
  std::array<double, HEAD_CURVE_POINTS + 1> TOP_LOAD{};
  std::array<double, HEAD_CURVE_POINTS + 1> TIP_MOVE{};
  std::array<double, HEAD_CURVE_POINTS + 1> TIP_FORCE{};
};

// One branch of the load-settlement curve: the nine imposed tip movements
// and their marches (raw: compression-positive values, whatever the branch).
// SIGN is -1 for the pull-out branch: every force and movement of that
// branch is printed and stored times SIGN.
struct AXIAL_LS_PASS {
  int DIRECTION = 0;
  double SIGN = 1.0;
  std::array<double, LS_MOVEMENTS + 1> IMPOSED{};      // 1..9
  std::array<AXIAL_MARCH, LS_MOVEMENTS + 1> RUN{};     // 1..9
  int PASS_LIMITED = 0;                                // sum over the nine marches
};

// Run-log note of a load-settlement or torque-rotation pass of property p in
// which passes_limited segment iterations stopped at MARCH_MAX_PASSES; curve names the
// curve ("LOAD-SETTLEMENT", "TORQUE-ROTATION"). Nothing when none stopped.
void PASS_LIMIT_NOTE(std::FILE* runtime, int passes_limited, int p, const char* curve);

// Node arrays of the runtime solution: node m (0 head .. N tip) in entry
// NODE(m), as the lateral solver and the pile-head response read them.
struct AXIAL_NODES {
  NODE_VALUES MOVE{};
  NODE_VALUES FORCE{};
};

// Outcome of AXIAL_SOLVE.
struct AXIAL_SOLUTION {
  int RANGE_FLAG = 0;      // 0 within the table, 1 below its first point, 2 at or beyond its last
  bool CONVERGED = false;  // the top movement matched the head displacement
  int ITERATIONS = 0;      // iterations after the first (0: ended after the first marches)
  int MARCHES = 0;         // marches run
  int PASS_LIMITED = 0;    // segments stopped at the pass limit (all marches)
  double TIP_MOVE = 0.0;   // signed tip movement of the last march
  double TOP_MOVE = 0.0;   // signed top movement of the last march
  double HEAD_FORCE = 0.0; // signed head force of the last march
};

// Axial rigidity EA (which = 0) or torsional rigidity GJ (which = 1) at a
// position along the pile, linear in the section table taken as the list of
// (start, value at start), (end, value at end) of every section; clamped to
// the first and last entries.
double SECTION_RIGIDITY(const AXIAL_PILE& pile, int which, double pos);

// Checks the pile for a march: length, increments, sections, and every
// section's rigidity (which as above) positive. ST_BAD_PROPERTY with the
// section and a text otherwise.
int CHECK_MARCH_PILE(const AXIAL_PILE& pile, int which, AXIAL_MESSAGE& msg);

// The march shared by the axial and torsional solutions: from the base
// force and movement at the tip, segment by segment to the head. The side
// friction of a segment is read at movement arm * m (m the midpoint value)
// and carried as t * 3.1416 * D * DL * arm, with the rigidity 'which'. The
// axial march has arm 1; the torsional march the torque arm D / 2, so that
// P is the torque and W the rotation.
int MARCH_FROM_TIP(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, int which, double arm,
                   double base_force, double base_move, AXIAL_MARCH& m, AXIAL_MESSAGE& msg);

// The march for an imposed tip movement w_tip (>= 0).
// in:  pile, curves (positions along the pile), w_tip
// out: m; status ST_BAD_PROPERTY for a pile that cannot be marched.
int MARCH_AXIAL(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, double w_tip, AXIAL_MARCH& m,
                AXIAL_MESSAGE& msg);

// The nine imposed tip movements of a branch: 0.0001, 0.001, 0.005, 0.01,
// 0.05, 0.1, 0.5, 1.0 and the larger of 2.0 and 0.05 D, in inches in units
// system 1 (units system 3 uses the same numbers), times 0.0254 in units
// system 2 (the comparison with 0.05 D made in metres).
void AXIAL_IMPOSED_MOVEMENTS(int units, double width, std::array<double, LS_MOVEMENTS + 1>& w);

// One branch of the load-settlement curve (direction 1 pull-out, 2
// compression) with the curves generated for that branch: the nine marches,
// and the branch's half of the head curve (plus the origin at point 10 and
// NPTS = 19).
int AXIAL_LOAD_SETTLEMENT(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, int units,
                          int direction, AXIAL_LS_PASS& pass, HEAD_CURVE& head,
                          AXIAL_MESSAGE& msg);

// The branch whose curves the runtime solution needs for a head displacement.
inline int AXIAL_RUNTIME_DIRECTION(double a) { return a < 0.0 ? DIR_PULL_OUT : DIR_COMPRESSION; }

// Runtime solution for head displacement a (AXIAL_SOLVE of pile/pile_solvers.h
// wraps it for a pile group): the tip movement is iterated
// until the top movement matches a, starting from the head curve of the
// property (top movement and tip movement of its 19 points).
// in:  pile; curves regenerated for AXIAL_RUNTIME_DIRECTION(a); head; a
// out: nodes (entries NODE(0..N) of MOVE and FORCE, signed: negative when
//      pulling), sol; status ST_BAD_PROPERTY for a pile that cannot be
//      marched. A solution that ends unconverged (iteration limit) or out of
//      the table (range flag) is not a failure: sol says so.
int AXIAL_SOLVE_CURVES(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, const HEAD_CURVE& head,
                       double a, AXIAL_NODES& nodes, AXIAL_SOLUTION& sol, AXIAL_MESSAGE& msg);

// Iteration limits of the runtime solution: after this many iterations the
// slope is found by two extra marches around the current tip movement and
// the convergence test is relaxed; after the second limit the solution ends
// with the last march.
inline constexpr int AXIAL_NEWTON_AFTER = 10;
inline constexpr int AXIAL_MAX_ITERATIONS = 25;

}  // namespace kestra
