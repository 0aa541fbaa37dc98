// Whole 2D cap solutions of 3, 10 and 30 pile rows (every third battered)
// under a combined load: time per load case and per cap iteration. Each cap
// iteration evaluates every row 1 + 6 times (the reaction and the
// central-difference stiffness of the whole group).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine/report.h"
#include "engine/run.h"
#include "bench_fixture.h"
#include "group/cap_solve_2d.h"

namespace {

using namespace kestra;

std::unique_ptr<RUN> row_group(int rows) {
  auto run = kestra_bench::si_run(2);
  STORE& s = run->store;
  PILE_DATA& p = s.piles;
  kestra_bench::one_property(p);
  const double spacing = 2.0, mid = 0.5 * (rows - 1) * spacing;
  p.NPILES = rows;
  for (int i = 1; i <= rows; ++i) {
    p.PILE_Y[i] = (i - 1) * spacing - mid;
    p.ALPHA[i] = i % 3 == 0 ? 0.2 : 0.0;
    p.PILE_PROP[i] = 1;
    p.LS_SET[i] = p.PY_SET[i] = 1;
    p.CONNECTY[i] = 2;
    p.AXIAL_FACTOR[i] = 1.0;
    p.MULTIPLICITY[i] = 4.0;
    p.NO_OF_PILE[i] = 4;
  }
  // A softening user load-settlement curve, so that the iteration does real work.
  SOIL_DATA& soil = s.soil;
  soil.NLSCURVES = 1;
  kestra_bench::softening_ls_curve(soil);
  soil.NPYSETS = 1;
  soil.PY_SETS[1].NPYCURVES = 1;
  soil.PY_SETS[1].CURVE[1].NPOINTS = 2;
  soil.PY_SETS[1].CURVE[1].Y = {0.0, 0.0, 1.0};
  soil.PY_SETS[1].CURVE[1].P = {0.0, 0.0, 2.0E4};
  CURRENT_CONTROLS& c = s.an.cur;
  c.MAXIT_CAP = 100;
  c.MAXIT_PILE = 100;
  c.TOL_CAP = 1.0E-5;
  c.TOL_PILE = 1.0E-6;
  c.LOAD_INCREMENT = 0.5;
  c.MIN_INCREMENT = 0.01;
  return run;
}

void BM_CapSolve2D(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  auto run = row_group(rows);
  const double n = 4.0 * rows;
  const VEC6 load = {0.0, 1400.0 * n, 40.0 * n, 0.0, 0.0, 0.0, -100.0 * n};
  long cap_iterations = 0;
  for (auto _ : state) {
    run->store.loads.EQ_LOAD = load;
    MOVE_MOMENT_TO_SLOT_3(run->store);
    int flag = 0;
    VEC6 lo, uo;
    benchmark::DoNotOptimize(CAP_SOLVE_2D(*run, 0, flag, lo, uo));
    cap_iterations += run->store.an.CAP_ITERATIONS_TOTAL;
  }
  state.counters["rows"] = rows;
  kestra_bench::cap_iteration_counters(state, cap_iterations);
}
BENCHMARK(BM_CapSolve2D)->Arg(3)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);

}  // namespace
