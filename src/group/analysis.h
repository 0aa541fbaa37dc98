// State of the analysis in progress, kept in the model store (STORE::an):
// the current analysis controls copied from the load case or combination,
// the cap displacement and load fraction, the pass and phase flags, the
// failure-warning counters of the pile-head response, the per-pile
// direction cosines, the working arrays of the pile being evaluated, the
// passive resistance of an embedded cap for the output, the pile-results
// table of the last printing pass, the result column headings and the cap
// and head envelopes. Vectors of six cap slots are 1-based (entry 0 unused):
// 1..3 displacement (force) X, Y, Z, 4..6 rotation (moment) about X, Y, Z.
#pragma once

#include <array>
#include <vector>

#include "engine/limits.h"
#include "input/load_data.h"
#include "input/pile_data.h"
#include "pile/pile_work.h"

namespace kestra {

using VEC6 = std::array<double, 7>;                // 1-based slots 1..6
using MAT6 = std::array<std::array<double, 7>, 7>;  // 1-based [row][column]

// Columns of the pile-results table.
inline constexpr int RESULT_COLUMNS = 25;
static_assert(RESULT_COLUMNS == OUTPUT_FLAGS, "one selection flag per results column");

// The controls of the case or combination being analysed.
struct CURRENT_CONTROLS {
  int MAXIT_CAP = 0;
  int MAXIT_PILE = 0;
  double TOL_CAP = 0.0;
  double TOL_PILE = 0.0;
  double LOAD_INCREMENT = 0.0;
  double MIN_INCREMENT = 0.0;
  int USE_ALT_TOL = 0;
  double ALT_TOL_DISP = 0.0;
  double ALT_TOL_ROT = 0.0;
  int AXIAL_VARIATION = 0;      // > 0: the axial load varies along the piles
  int PRINT_OPTION = 0;
  int PRINT_EVERY = 1;          // node step, at least 1
  int LOADING = 0;
  double NCYCLES = 0.0;
  int STIFFNESS_DATA = 0;       // 0 for combinations
  int STIFF_TABLES = 0;
  int STIFF_DIAGONAL = 0;
  int NLEVELS = 0;
  double BENDING_RF = 1.0;      // 1.0 for load cases
  double SHEAR_RF = 1.0;
  std::array<int, OUTPUT_FLAGS + 1> OUTPUT_SELECT{};  // 1-based
};

// Column headings of the pile-results table (10 characters each,
// NUL-terminated) and the fields of the first column.
struct RESULT_HEADINGS {
  char LINE1[RESULT_COLUMNS + 1][11] = {};
  char LINE2[RESULT_COLUMNS + 1][11] = {};
  char UNITS[RESULT_COLUMNS + 1][11] = {};
  char FIRST_REPORT[4][11] = {};   // heading line 1, 2, units, asterisks
  char FIRST_SUMMARY[4][7] = {};
};

// Places of the pile-head values in the head envelopes: global
// displacements 1..6 and forces 7..12, the head stress 13, local
// displacements 14..19 and forces 20..25 (the six-slot order of the cap in
// each group of six; 2D uses slots 1, 2 and 6 of each).
inline constexpr int HEAD_ENV_GLOBAL_DISP = 0, HEAD_ENV_GLOBAL_FORCE = 6, HEAD_ENV_STRESS = 13,
                     HEAD_ENV_LOCAL_DISP = 13, HEAD_ENV_LOCAL_FORCE = 19, HEAD_ENV_VALUES = 25;

// Envelope of the table along one pile: the largest and smallest value of
// every column at nodes 0..N (entry m), with the node count and spacing of
// the pile when it entered.
struct PILE_TABLE_ENVELOPE {
  int SEEN = 0;
  int N = 0;
  double h = 0.0;
  std::array<std::array<double, MAX_NODES>, RESULT_COLUMNS + 1> MAX{}, MIN{};
};

// Running envelopes of the cap results and of the pile results over the
// printed analyses of one group (load cases, then combinations).
struct ENVELOPES {
  int COUNT = 0;                   // analyses entered since the last reset
  VEC6 LOAD_MAX{}, LOAD_MIN{};     // EQ_LOAD
  VEC6 DISP_MAX{}, DISP_MIN{};     // cap displacement U
  // Per pile, the head values at the places HEAD_ENV_* + slot.
  PILE_ARRAY<std::array<double, HEAD_ENV_VALUES + 1>> HEAD_MAX{};
  PILE_ARRAY<std::array<double, HEAD_ENV_VALUES + 1>> HEAD_MIN{};
  PILE_ARRAY<int> HEAD_SEEN{};     // 1 once the pile has entered the envelope
  // Per pile 1..NPILES, the tables along the piles. Sized when the first
  // pile enters: a fixed table for the pile limit would take some 80 MB.
  std::vector<PILE_TABLE_ENVELOPE> TABLE;
};

struct ANALYSIS {
  CURRENT_CONTROLS cur;

  // Case or combination in progress (for messages and the output).
  int CURRENT = 0;                 // case or combination number
  int COUNT = 0;                   // NLC or NCOMB
  int IN_COMBINATIONS = 0;         // 1 while load combinations are analysed
  int PRINTED = 0;                 // analyses printed in the current group (cases, then combinations)

  // Flags.
  int PASS_FLAG = 0;               // pile solutions: 0 solve, 1 printing pass, 2 equivalent stiffness
  int STIFF_PASS = 0;              // > 0 during a stiffness pass (progress wording)
  int STIFF_DOF = 0;               // degree of freedom of the stiffness pass
  int STIFF_NDOF = 0;
  int STIFF_MODE = 0;              // cap solutions: 0 ordinary, 2 flexibility pass, 1 target-deflection pass
  int STIFF_LEVEL = 0;             // level (flexibility) being analysed
  int NLEVELS = 0;                 // levels of the case in progress (defaults filled in)
  std::array<double, MAX_STIFF_LEVELS + 1> LEVELS{};
  std::array<int, 7> STIFF_SKIPPED{};  // 1: the degree of freedom had no load (flexibility passes)
  // Target-deflection pass: the state, target, tolerance and degree of freedom
  // of the point, the computed displacement, and the last tangent stiffness
  // of the cap iteration (before its inversion).
  int TARGET_STATE = 0;
  int TARGET_DOF = 0;
  double TARGET = 0.0;
  double TARGET_TOL = 1.0;
  double TARGET_COMPUTED = 0.0;
  MAT6 LAST_K{};
  int TARGET_CARRY_SET = 0;        // the first (displacement, factor) pair of the case is kept
  double TARGET_CARRY_D = 0.0;
  double TARGET_CARRY_F = 0.0;
  VEC6 LOAD_OUT{}, DISP_OUT{};     // final load and displacement of the last stiffness-pass solution
  int NLEI_UPDATE_ERROR = 0;       // raised by the nonlinear bending stiffness update

  // Cap solution.
  VEC6 U{};                        // cap displacement at the origin; while a pile is
                                   // evaluated, that pile's head displacement
  VEC6 TOTAL_LOAD{};               // the full load of the analysis
  VEC6 SAVED_LOAD{};
  double TCUR = 0.0;               // load fraction sought
  double FRACTION = 0.0;           // last converged load fraction
  int CAP_ITERATIONS = 0;          // iteration counter of the step ("NUMBER OF GLOBAL ITERATIONS")
  int CAP_ITERATIONS_TOTAL = 0;    // iterations of all steps of the last cap solution
  int OUTCOME = 0;                 // 0 ok, 1 piles did not close, 2 singular, 3 pile failure warnings
  int NO_CLOSURE_SEEN = 0;         // first nonzero no-closure flag of the piles since the last reset

  // Pile-head response: failure recording and counters.
  int WARN_RECORDING = 0;
  int N_FAIL_BEARING = 0;
  int N_FAIL_PULLOUT = 0;
  int N_FAIL_TORSION = 0;

  // Transformations of the last pile passed to PILE_TRANSFORM.
  MAT6 B{}, A{}, D{}, C{};
  PILE_ARRAY<double> COS_A{}, SIN_A{}, COS_B{}, SIN_B{};

  // Passive resistance of an embedded cap, for the output.
  double PASSIVE_Y = 0.0;          // |force along Y| (2D: the signed force)
  double PASSIVE_Z = 0.0;          // |force along Z|
  double PASSIVE_POS = 0.0;        // position of the resultant

  // The pile being evaluated.
  PILE_WORK work;

  // Pile results of the last printing pass: column k (1..25), entry NODE(m).
  std::array<NODE_VALUES, RESULT_COLUMNS + 1> RESULTS_TABLE{};
  VEC6 HEAD_LOCAL_DISP{}, HEAD_LOCAL_FORCE{}, HEAD_GLOBAL_DISP{}, HEAD_GLOBAL_FORCE{};
  double HEAD_STRESS = 0.0;

  RESULT_HEADINGS headings;
  ENVELOPES env;
};

}  // namespace kestra
