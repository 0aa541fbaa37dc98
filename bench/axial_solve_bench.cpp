// Cost of the runtime axial solution of one pile (the group analysis runs
// it for every pile at every trial cap displacement): the regeneration of
// the curves and the iteration on the tip movement.
#include <benchmark/benchmark.h>

#include <memory>

#include "pile/axial_march.h"

using namespace kestra;

namespace {

struct CASE {
  std::unique_ptr<TZ_PROFILE> soil = std::make_unique<TZ_PROFILE>();
  AXIAL_PILE pile;
  std::unique_ptr<AXIAL_CURVES> curves = std::make_unique<AXIAL_CURVES>();
  HEAD_CURVE head;
};

std::unique_ptr<CASE> make_case(int inc) {
  auto c = std::make_unique<CASE>();
  TZ_PROFILE& s = *c->soil;
  s.NL = 2;
  s.NP = 4;
  const double x[5] = {0, 0.0, 240.0, 240.0, 900.0};
  s.MODEL[1] = 1;
  s.MODEL[2] = 4;
  s.BOTTOM[1] = s.TOP[2] = 240.0;
  s.BOTTOM[2] = 900.0;
  for (int i = 1; i <= 4; ++i) {
    s.X[i] = x[i];
    s.UNIT_WEIGHT[i] = i <= 2 ? 0.02 : 0.035;
    s.COHESION[i] = i <= 2 ? 4.0 : 0.0;
    s.PHI[i] = i <= 2 ? 0.0 : 0.59;
    s.E50[i] = i <= 2 ? 0.02 : 0.0;
  }
  AXIAL_PILE& p = c->pile;
  p.PILE_TYPE = DRIVEN_PILE;
  p.LENGTH = 600.0;
  p.INC = inc;
  p.WIDTH = p.TIP_WIDTH = 18.0;
  p.TIP_AREA = 254.0;
  p.NSEC = 1;
  p.SEC_END[1] = 600.0;
  p.EA_START[1] = p.EA_END[1] = 29e6 * 254.0;
  AXIAL_MESSAGE msg;
  auto pass = std::make_unique<AXIAL_LS_PASS>();
  GENERATE_TZ_CURVES(s, p, AXIAL_GROUP{}, 1, DIR_PULL_OUT, TZ_RUNTIME, *c->curves, msg);
  AXIAL_LOAD_SETTLEMENT(p, *c->curves, 1, DIR_PULL_OUT, *pass, c->head, msg);
  GENERATE_TZ_CURVES(s, p, AXIAL_GROUP{}, 1, DIR_COMPRESSION, TZ_RUNTIME, *c->curves, msg);
  AXIAL_LOAD_SETTLEMENT(p, *c->curves, 1, DIR_COMPRESSION, *pass, c->head, msg);
  return c;
}

void BM_AxialRuntimeSolution(benchmark::State& state) {
  auto c = make_case(static_cast<int>(state.range(0)));
  auto curves = std::make_unique<AXIAL_CURVES>();
  auto nodes = std::make_unique<AXIAL_NODES>();
  AXIAL_SOLUTION sol;
  AXIAL_MESSAGE msg;
  double a = 0.3;
  for (auto _ : state) {
    GENERATE_TZ_CURVES(*c->soil, c->pile, AXIAL_GROUP{}, 1, DIR_COMPRESSION, TZ_RUNTIME, *curves, msg);
    AXIAL_SOLVE_CURVES(c->pile, *curves, c->head, a, *nodes, sol, msg);
    benchmark::DoNotOptimize(sol.HEAD_FORCE);
    a = a == 0.3 ? 0.31 : 0.3;
  }
}
BENCHMARK(BM_AxialRuntimeSolution)->Arg(20)->Arg(100);

}  // namespace
