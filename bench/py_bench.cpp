// Evaluation cost of the p-y springs: a 100-increment pile through a
// layered profile, once per soil model for the whole pile and once through
// a profile that holds every generated model in turn.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/report.h"
#include "engine/run.h"
#include "input/soils.h"
#include "pile/pile_work.h"
#include "soil/generate_py.h"

using namespace kestra;

namespace {

struct MODEL {
  int code;
  double gamma, c, phi, k, er, e50, rqd;
};

// Properties that suit each model (SI units).
constexpr MODEL MODELS[] = {
    {1, 8, 20, 0, 0, 0, 0.02, 0},          {2, 9, 60, 0, 50000, 0, 0.005, 0},
    {3, 9, 80, 0, 0, 0, 0.005, 0},         {4, 10, 0, 35, 20000, 0, 0, 0},
    {6, 20, 4000, 0, 0, 0, 0, 0},          {7, 9, 20, 30, 20000, 0, 0.01, 0},
    {8, 10, 0, 36, 30000, 0, 0, 0},        {9, 22, 3000, 0, 0, 3e5, 0.0005, 60},
    {10, 9, 80, 0, 40000, 0, 0.005, 0},    {11, 9, 0, 0, 0, 0, 0, 0},
};

void add_layer(STORE& s, const MODEL& m, double top, double bottom) {
  SOIL_LAYER& L = s.soil.LAYER[++s.soil.NLAYERS];
  L.SOIL_MODEL = m.code;
  L.LAYER_TOP = top;
  L.LAYER_BOTTOM = bottom;
  for (int r = 0; r < 2; ++r) {
    double* p = L.PROPS[r];
    p[SP_UNIT_WEIGHT] = m.gamma;
    p[SP_COHESION] = m.c * (1.0 + 0.2 * r);
    p[SP_PHI] = m.phi;
    p[SP_K] = m.k;
    p[SP_E_ROCK] = m.er;
    p[SP_E50] = m.e50;
    p[SP_RQD] = m.rqd;
  }
}

std::unique_ptr<RUN> make_run(int only_model) {
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  STORE& s = run->store;
  s.ctl.UNITS_SYSTEM = 2;
  s.ctl.ANALYSIS_TYPE = 2;
  s.rw.PI = double(3.14159f);
  SET_UNIT_LABELS(s);
  PILE_DATA_DEFAULTS(s.piles);
  if (only_model >= 0) {
    // A soft clay cover over three layers of the model.
    add_layer(s, MODELS[0], 0.0, 4.0);
    for (int k = 0; k < 3; ++k) add_layer(s, MODELS[only_model], 4.0 + 10.0 * k, 14.0 + 10.0 * k);
  } else {
    const int n = sizeof MODELS / sizeof MODELS[0];
    for (int k = 0; k < n; ++k) add_layer(s, MODELS[k], 3.4 * k, 3.4 * (k + 1));
  }
  BUILD_SOIL_PROFILE(s);
  PILE_PROPERTY& p = s.piles.PROP[1];
  s.piles.NPROP = 1;
  p.NSECT = 1;
  p.INC = 100;
  p.LENGTH = 30.0;
  p.SECT[1].SECT_TO = 30.0;
  p.SECT[1].TOP[XS_DIAMETER] = p.SECT[1].BOT[XS_DIAMETER] = 1.0;
  s.piles.NPILES = 1;
  s.piles.PILE_PROP[1] = 1;
  s.piles.GROUND[1] = 0.5;  // head 0.5 above the ground surface
  return run;
}

void evaluate_pile(benchmark::State& state, int only_model) {
  auto run = make_run(only_model);
  auto w = std::make_unique<PILE_WORK>();
  w->group = 1;
  w->property = 1;
  w->N = 100;
  w->h = 0.3;
  for (int m = 0; m <= 100; ++m) {
    w->X[NODE(m)] = 0.3 * m;
    w->DEFL[NODE(m)] = 0.02 * (1.0 - m / 60.0);
  }
  ASSIGN_LAYER_NODES(*run, *w);
  int status = 0;
  for (auto _ : state) {
    status |= GENERATE_PY(*run, *w);
    benchmark::DoNotOptimize(w->ESOIL.data());
    w->DEFL[NODE(0)] *= 1.0000001;
  }
  if (status != 0) state.SkipWithError("p-y evaluation failed");
  state.SetItemsProcessed(state.iterations() * 101);
}

void BM_Model(benchmark::State& state) { evaluate_pile(state, static_cast<int>(state.range(0))); }
BENCHMARK(BM_Model)->DenseRange(0, sizeof MODELS / sizeof MODELS[0] - 1)->ArgName("model_index");

void BM_EveryModelLayered(benchmark::State& state) { evaluate_pile(state, -1); }
BENCHMARK(BM_EveryModelLayered);

}  // namespace
