// Set-up shared by the benchmarks: a run in SI units of a given analysis
// type, one pile property of constant section, a softening user
// load-settlement curve, the counters of the cap solutions.
#pragma once

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine/report.h"
#include "engine/run.h"
#include "input/sections.h"

namespace kestra_bench {

using namespace kestra;

inline std::unique_ptr<RUN> si_run(int analysis_type) {
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  STORE& s = run->store;
  s.ctl.ANALYSIS_TYPE = analysis_type;
  s.ctl.UNITS_SYSTEM = 2;
  SET_UNIT_LABELS(s);
  s.rw.PI = 2.0 * std::asin(1.0);
  PILE_DATA_DEFAULTS(s.piles);  // group multipliers 1
  // The piles answer through user curves: p-y sets, load-settlement curves.
  s.ctl.USER_PY = 1;
  s.ctl.USER_PY_PRESENT = true;
  s.ctl.USER_LS = 1;
  s.ctl.USER_LS_PRESENT = true;
  CURRENT_CONTROLS& c = s.an.cur;
  c.MAXIT_PILE = 100;
  c.TOL_PILE = 1.0E-6;
  return run;
}

// Property 1: 20 m in 40 increments, E 2.5E7, Iz 0.05.
inline void one_property(PILE_DATA& p) {
  p.NPROP = 1;
  p.PROP[1].INC = 40;
  p.PROP[1].LENGTH = 20.0;
  p.PROP[1].NSECT = 1;
  p.PROP[1].SECT[1].E_MOD = 2.5E7;
  p.PROP[1].SECT[1].SECT_TO = 20.0;
  p.PROP[1].SECT[1].TOP[XS_IZ] = p.PROP[1].SECT[1].TOP[XS_IY] = 0.05;
  p.PROP[1].SECT[1].TOP[XS_DIAMETER] = 1.0;
  p.PROP[1].SECT[1].TOP[XS_AREA] = 0.785;
  p.PROP[1].SECT[1].BOT = p.PROP[1].SECT[1].TOP;
}

// Load-settlement curve 1, softening, so that an iteration does real work.
inline void softening_ls_curve(SOIL_DATA& soil) {
  soil.NLSCURVES = 1;
  soil.LS_CURVES[1].NPOINTS = 5;
  soil.LS_CURVES[1].DISP = {0.0, -0.5, -0.005, 0.0, 0.005, 0.5};
  soil.LS_CURVES[1].LOAD = {0.0, -2500.0, -1500.0, 0.0, 1500.0, 2500.0};
}

// Cap iterations per load case and time per cap iteration of a cap-solution
// benchmark that counted cap_iterations over all its load cases.
inline void cap_iteration_counters(benchmark::State& state, long cap_iterations) {
  state.counters["cap_iterations_per_case"] =
      benchmark::Counter(static_cast<double>(cap_iterations), benchmark::Counter::kAvgIterations);
  state.counters["seconds_per_cap_iteration"] = benchmark::Counter(
      static_cast<double>(cap_iterations), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace kestra_bench
