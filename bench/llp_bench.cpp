// One lateral solve of a 100-increment pile in layered nonlinear soil, in one
// plane and in two planes: time per solve and iterations to closure.
//
// The soil is given as input p-y curves shaped like soft clay,
// p = pu/2 (y/y50)^(1/3) up to 8 y50, with a soft layer over a stiffer one.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine/run.h"
#include "pile/pile_solvers.h"

using namespace kestra;

namespace {

struct MODEL {
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  std::unique_ptr<PILE_WORK> w = std::make_unique<PILE_WORK>();

  MODEL() {
    RUN_RESET(*run);
    STORE& s = run->store;
    const double L = 25.0, D = 0.9, E = 3.0e7, I = 3.141592653589793 * std::pow(D, 4) / 64.0;
    s.ctl.USER_PY = 1;
    s.piles.NPILES = 1;
    s.piles.PILE_PROP[1] = 1;
    s.piles.PY_SET[1] = 1;
    s.piles.CONNECTY[1] = s.piles.CONNECTZ[1] = 2;
    s.piles.P_FACTOR[1] = s.piles.Y_FACTOR[1] = 1.0;
    PILE_PROPERTY& p = s.piles.PROP[1];
    p.NSECT = 1;
    p.INC = 100;
    p.LENGTH = L;
    PILE_SECTION& sec = p.SECT[1];
    sec.SECT_TO = L;
    sec.E_MOD = E;
    for (auto* v : {&sec.TOP, &sec.BOT}) {
      (*v)[XS_DIAMETER] = D;
      (*v)[XS_AREA] = 0.25 * 3.141592653589793 * D * D;
      (*v)[XS_IZ] = (*v)[XS_IY] = I;
    }
    // Layers: soft clay (c 15) to X = 8, stiff clay (c 60) below; curves every 2 m.
    USER_PY_SET& set = s.soil.PY_SETS[1];
    s.soil.NPYSETS = 1;
    for (int c = 1; c <= 14; ++c) {
      const double x = 2.0 * (c - 1);
      const double cu = x < 8.0 ? 15.0 : 60.0, gamma = 8.0, eps50 = x < 8.0 ? 0.02 : 0.007;
      const double pu = std::fmin(3.0 + gamma * x / cu + 0.5 * x / D, 9.0) * cu * D;
      const double y50 = 2.5 * eps50 * D;
      USER_PY_CURVE& cv = set.CURVE[c];
      cv.DEPTH = x;
      cv.NPOINTS = 18;
      cv.Y[1] = cv.P[1] = 0.0;
      for (int i = 1; i <= 16; ++i) {
        const double y = 8.0 * y50 * std::pow(i / 16.0, 3.0);
        cv.Y[i + 1] = y;
        cv.P[i + 1] = 0.5 * pu * std::cbrt(y / y50);
      }
      cv.Y[18] = 100.0 * y50;
      cv.P[18] = pu;
    }
    set.NPYCURVES = 14;
    w->CONTROL.TOL_PILE = 1e-6;
    w->CONTROL.MAXIT_PILE = 500;
    GENERATE_NODES(*run, *w, 1);
  }
};

void BM_LLP_GROUP(benchmark::State& state) {
  MODEL m;
  double V = 0.0;
  for (auto _ : state) {
    LLP_GROUP(*m.run, *m.w, 1, 0.02, 0.0, 1000.0, V);
    benchmark::DoNotOptimize(V);
  }
  state.counters["iterations"] = m.w->LLP_ITERATIONS;
  state.counters["head_force"] = V;
}
BENCHMARK(BM_LLP_GROUP)->Unit(benchmark::kMicrosecond);

void BM_LLP_BIAXIAL(benchmark::State& state) {
  MODEL m;
  double Vy = 0, Vz = 0, My = 0, Mz = 0;
  for (auto _ : state) {
    LLP_BIAXIAL(*m.run, *m.w, 1, 0.02, 0.0, 0.01, 0.0, 1000.0, 0.0, Vy, Vz, My, Mz);
    benchmark::DoNotOptimize(Vy);
  }
  state.counters["iterations"] = m.w->LLP_ITERATIONS;
  state.counters["head_force_y"] = Vy;
}
BENCHMARK(BM_LLP_BIAXIAL)->Unit(benchmark::kMicrosecond);

}  // namespace
