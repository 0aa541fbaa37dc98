// Whole 3D cap solutions of square groups of 4, 16 and 64 identical
// vertical piles under a combined load: time per load case and per cap
// iteration, so that the growth of the cost with the number of piles shows.
// Each cap iteration evaluates every pile 1 + 12 times (the resistance and
// the central-difference stiffness).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine/report.h"
#include "engine/run.h"
#include "bench_fixture.h"
#include "group/cap_solve_3d.h"

namespace {

using namespace kestra;

std::unique_ptr<RUN> square_group(int side) {
  auto run = kestra_bench::si_run(3);
  STORE& s = run->store;
  PILE_DATA& p = s.piles;
  kestra_bench::one_property(p);
  p.PROP[1].SECT[1].TOP[XS_IY] = 0.05;
  const double pi = 2.0 * std::asin(1.0), spacing = 3.0, mid = 0.5 * (side - 1) * spacing;
  p.NPILES = side * side;
  for (int i = 1; i <= p.NPILES; ++i) {
    p.PILE_Y[i] = ((i - 1) % side) * spacing - mid;
    p.PILE_Z[i] = ((i - 1) / side) * spacing - mid;
    p.BETA[i] = pi / 2.0;
    p.PILE_PROP[i] = 1;
    p.LS_SET[i] = p.TR_SET[i] = p.PY_SET[i] = 1;
    p.CONNECTY[i] = p.CONNECTZ[i] = 2;
    p.AXIAL_FACTOR[i] = p.MULTIPLICITY[i] = 1.0;
  }
  // Softening user curves, so that the iteration does real work.
  SOIL_DATA& soil = s.soil;
  kestra_bench::softening_ls_curve(soil);
  soil.NTRCURVES = 1;
  run->store.ctl.USER_TR = 1;
  soil.TR_CURVES[1].NPOINTS = 3;
  soil.TR_CURVES[1].ROTATION = {0.0, -1.0, 0.0, 1.0};
  soil.TR_CURVES[1].MOMENT = {0.0, -5.0E4, 0.0, 5.0E4};
  soil.NPYSETS = 1;
  soil.PY_SETS[1].NPYCURVES = 1;
  soil.PY_SETS[1].CURVE[1].NPOINTS = 2;
  soil.PY_SETS[1].CURVE[1].Y = {0.0, 0.0, 1.0};
  soil.PY_SETS[1].CURVE[1].P = {0.0, 0.0, 2.0E4};
  CURRENT_CONTROLS& c = s.an.cur;
  c.MAXIT_CAP = 100;
  c.TOL_CAP = 1.0E-5;
  c.LOAD_INCREMENT = 0.5;
  c.MIN_INCREMENT = 0.01;
  return run;
}

void BM_CapSolve3D(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  auto run = square_group(side);
  const double n = side * side;
  const VEC6 load = {0.0, 1400.0 * n, 40.0 * n, 25.0 * n, 10.0 * n, -400.0 * n, 500.0 * n};
  long cap_iterations = 0;
  for (auto _ : state) {
    run->store.loads.EQ_LOAD = load;
    int flag = 0;
    VEC6 lo, uo;
    benchmark::DoNotOptimize(CAP_SOLVE_3D(*run, 0, flag, lo, uo));
    cap_iterations += run->store.an.CAP_ITERATIONS_TOTAL;
  }
  state.counters["piles"] = n;
  kestra_bench::cap_iteration_counters(state, cap_iterations);
}
BENCHMARK(BM_CapSolve3D)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
