// One linear plate solution of a square cap of n x n eight-node elements
// (element matrices and frontal solution through the scratch files): time
// per solution and the front width, for n = 8, 16 and 32.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "slab/plate_elements.h"
#include "slab/plate_shape.h"
#include "slab/slab_deck.h"
#include "slab/slab_mesh.h"

using namespace kestra;

namespace {

std::unique_ptr<SLAB_MODEL> square_cap(int n) {
  auto m = std::make_unique<SLAB_MODEL>();
  SLAB_MESH mesh;
  const double a = 10.0;
  SLAB_BUILD_MESH(n, n, 0.0, a, a / 2, a, mesh);
  m->NPOIN = static_cast<int>(mesh.YZ.size()) - 1;
  m->NELEM = n * n;
  m->NMATS = 1;
  m->NNODE = 8;
  m->NGAUS = 2;
  m->NEVAB = 48;
  m->COORD.assign(m->NPOIN + 1, {0, 0});
  m->NODE_LABEL.assign(m->NPOIN + 1, 0);
  for (int i = 1; i <= m->NPOIN; ++i) m->COORD[i] = {mesh.YZ[i][1], mesh.YZ[i][0]};
  m->MATNO.assign(m->NELEM + 1, 1);
  for (int e = 1; e <= m->NELEM; ++e)
    for (int k : mesh.ELEMENT[e]) m->LNODS.push_back(k);
  m->PROPS = {{0, 0, 0}, {3.0e7, 0.2, 1.0}};
  for (int i = 1; i <= m->NPOIN; ++i)
    if (std::abs(m->COORD[i][0]) > a / 2 - 1e-9 || std::abs(m->COORD[i][1]) > a / 2 - 1e-9) {
      SLAB_FIX fx;
      fx.NODE = i;
      fx.CODE = {1, 1, 1, 1, 1, 1};
      m->FIX.push_back(fx);
    }
  for (int e = 1; e <= m->NELEM; ++e) m->DIST_LOAD.push_back({e, {0, 0, 10.0, 0, 0, 0}});
  m->NODE_FIRST.assign(m->NPOIN + 1, 0);
  m->NODE_LAST.assign(m->NPOIN + 1, 0);
  GAUSS_RULE(2, m->POSGP, m->WEIGP);
  SLAB_FILES quiet;
  CHECK2(*m, quiet);
  return m;
}

void BM_PlateSolve(benchmark::State& state) {
  auto m = square_cap(static_cast<int>(state.range(0)));
  SLAB_FILES f;
  f.ELEMENTS = std::tmpfile();
  f.EQUATIONS = std::tmpfile();
  std::vector<double> u(static_cast<size_t>(m->NPOIN) * 6, 0.0), fixed(u.size(), 0.0), du, reactions;
  for (auto _ : state) {
    ELEMENT_MATRICES(*m, f, u, 1.0, nullptr);
    FRONTAL_SOLVE(*m, f, fixed, du, reactions);
    benchmark::DoNotOptimize(du.data());
  }
  state.counters["front_width"] = FRONT_WIDTH(*m);
  state.counters["equations"] = static_cast<double>(u.size());
  std::fclose(f.ELEMENTS);
  std::fclose(f.EQUATIONS);
}

}  // namespace

BENCHMARK(BM_PlateSolve)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);
