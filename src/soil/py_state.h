// Run-wide state of the p-y evaluation: the control flags its callers set,
// the tabulation buffer, the equivalent depths of layered soil per group and
// layer, and the values the soil models change and later models read (the
// small-deflection threshold and the previous-node resistances of the
// models whose layer integrals use them). One PY_STATE lives in the model
// store; it is never cleared during a run.
#pragma once

#include <array>

#include "engine/limits.h"

namespace kestra {

inline constexpr int CURVE_BUFFER_POINTS = MAX_CURVE_DEFL;  // 25 points (y, p)

struct PY_STATE {
  // --- Flags set by the callers.
  int PY_PHASE = 0;           // 0 analysis; KPYOP (1, -1) printed curves; 1 curve data file
  bool PY_TABULATE = false;   // false: evaluate ESOIL/PSOIL; true: tabulate curves
  bool PY_BUFFER = false;     // tabulated points go to CURVE_BUFFER instead of the report
  bool CAP_WIDTH_MODE = false;  // every model uses the cap width for the pile width
  // Deflections of a tabulated curve: NYPTS 0 selects the model's 17 defaults.
  int NYPTS = 0;
  std::array<double, MAX_PY_DEFLECTIONS + 1> YLIST{};  // 1-based

  // Loading of the case in effect (set by the load driver): LOADING 1
  // static, 0 cyclic; NCYCLES at least 1.
  int LOADING = 1;
  int NCYCLES = 1;
  // Factor on the soil movement of the current load (the load driver's).
  double SOIL_MOVE_FACTOR = 1.0;
  // Multipliers of the 3D cap solution: when USE_FACTOR_PAIR is set the
  // evaluation uses this pair in place of the group's plane P-/Y-FACTOR.
  bool USE_FACTOR_PAIR = false;
  double P_FACTOR_PAIR = 1.0;
  double Y_FACTOR_PAIR = 1.0;

  // --- CURVE_BUFFER: the points of the last tabulated curve, 1-based.
  int NCURVE = 0;
  std::array<double, CURVE_BUFFER_POINTS + 1> CURVE_Y{};
  std::array<double, CURVE_BUFFER_POINTS + 1> CURVE_P{};
  // What the last tabulating model call found: its depth below the ground
  // surface, its soil model and whether the node lay below the ground.
  double STATION_DEPTH = 0.0;
  int STATION_MODEL = 0;
  int STATION_BELOW = 0;

  // --- Equivalent depth of layer k (2..NL) for pile group g: HEQ[g][k];
  // 0 until the analysis computes it, then kept for the run.
  std::array<std::array<double, LAYER_TABLE + 2>, MAX_PILE_ENTRIES + 1> HEQ{};

  // --- Values that one model leaves for the next.
  double SMALL_DEFLECTION = 1.0e-14;  // the small-deflection threshold
  double GROUND_NOW = 0.0;            // current ground-surface coordinate
  double PC_PREV_FREE_WATER = 0.0;    // stiff clay with free water: pc of the last node
  double PU_PREV_SILT = 0.0;          // silt: pu of the last node
  double PU_PREV_LIQUEFIED = 0.0;     // liquefied sand: Pu of the last node
  // Running layer average (stiff clays, weak rock): integral so far, the
  // previous node's coordinate and value.
  double AVG_INTEGRAL = 0.0;
  double AVG_X_PREV = 0.0;
  double AVG_V_PREV = 0.0;
  double AVG_X_FIRST = 0.0;
  bool AVG_STARTED = false;
  // Layers whose liquefied-sand width warning has been written.
  std::array<bool, LAYER_TABLE + 2> PD_WARNED{};
};

}  // namespace kestra
