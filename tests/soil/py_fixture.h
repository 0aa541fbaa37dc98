// A small soil-and-pile model for the p-y tests: layers with constant or
// linearly varying properties, one pile property of constant width, one
// pile group, and the pile's nodes laid out and assigned to the layers.
#pragma once

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/report.h"
#include "engine/run.h"
#include "input/soils.h"
#include "pile/pile_work.h"
#include "soil/generate_py.h"
#include "soil/py_models.h"
#include "support/test_support.h"

namespace kestra_test {

using namespace kestra;

// Properties of one profile point, in the order of the layer records.
struct SOIL_POINT {
  double gamma = 0, c = 0, phi_deg = 0, k = 0, er = 0, e50 = 0, rqd = 0;
};

// A clay point: unit weight, cohesion and e50, nothing else.
inline SOIL_POINT clay(double gamma, double c, double e50) {
  SOIL_POINT s;
  s.gamma = gamma;
  s.c = c;
  s.e50 = e50;
  return s;
}

struct PY_FIXTURE {
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  std::unique_ptr<PILE_WORK> w = std::make_unique<PILE_WORK>();
  FILE* report = nullptr;
  FILE* runtime = nullptr;
  FILE* plot = nullptr;

  explicit PY_FIXTURE(int units = 2) {
    RUN_RESET(*run);
    STORE& s = run->store;
    s.ctl.UNITS_SYSTEM = units;
    s.ctl.ANALYSIS_TYPE = 2;
    s.rw.PI = double(3.14159f);
    SET_UNIT_LABELS(s);
    PILE_DATA_DEFAULTS(s.piles);
  }
  ~PY_FIXTURE() {
    for (FILE* f : {report, runtime, plot})
      if (f) std::fclose(f);
  }
  STORE& store() { return run->store; }

  // Captures the report, runtime and plot files in memory-backed files.
  void capture() {
    report = std::tmpfile();
    runtime = std::tmpfile();
    plot = std::tmpfile();
    run->files.fp[F_REPORT] = report;
    run->files.fp[F_RUNTIME] = runtime;
    run->files.fp[F_PLOT] = plot;
  }
  static std::string text_of(FILE* f) { return file_text(f); }
  std::string report_text() { return text_of(report); }
  std::string runtime_text() { return text_of(runtime); }
  std::string plot_text() { return text_of(plot); }

  void layer(int model, double top, double bottom, SOIL_POINT a, SOIL_POINT b) {
    SOIL_DATA& s = store().soil;
    const int k = ++s.NLAYERS;
    SOIL_LAYER& L = s.LAYER[k];
    L.SOIL_MODEL = model;
    L.LAYER_TOP = top;
    L.LAYER_BOTTOM = bottom;
    L.NROWS = 2;
    L.NPROPS = 9;
    const SOIL_POINT pts[2] = {a, b};
    for (int r = 0; r < 2; ++r) {
      L.PROPS[r][SP_UNIT_WEIGHT] = pts[r].gamma;
      L.PROPS[r][SP_COHESION] = pts[r].c;
      L.PROPS[r][SP_PHI] = pts[r].phi_deg;
      L.PROPS[r][SP_K] = pts[r].k;
      L.PROPS[r][SP_E_ROCK] = pts[r].er;
      L.PROPS[r][SP_E50] = pts[r].e50;
      L.PROPS[r][SP_RQD] = pts[r].rqd;
    }
    BUILD_SOIL_PROFILE(store());
  }
  void layer(int model, double top, double bottom, SOIL_POINT p) { layer(model, top, bottom, p, p); }

  // One pile property of constant width b and one group with head value v
  // and ground value g (the ground surface at g + v).
  void pile(double b, double length, int inc, double v = 0.0, double g = 0.0) {
    STORE& s = store();
    s.piles.NPROP = 1;
    PILE_PROPERTY& p = s.piles.PROP[1];
    p.NSECT = 1;
    p.INC = inc;
    p.LENGTH = length;
    p.SECT[1].SECT_FROM = 0.0;
    p.SECT[1].SECT_TO = length;
    p.SECT[1].TOP[XS_DIAMETER] = b;
    p.SECT[1].BOT[XS_DIAMETER] = b;
    s.piles.NPILES = 1;
    s.piles.PILE_PROP[1] = 1;
    s.piles.PILE_X[1] = v;
    s.piles.GROUND[1] = g;
    w->group = 1;
    w->property = 1;
    w->N = inc;
    w->h = length / inc;
    w->ground = g;
    w->vert = v;
    for (int m = 0; m <= inc; ++m) w->X[NODE(m)] = v + m * w->h;
    ASSIGN_LAYER_NODES(*run, *w);
  }

  // Evaluates every node at the same deflection.
  int eval(double y) {
    for (int m = 0; m <= w->N; ++m) w->DEFL[NODE(m)] = y;
    return GENERATE_PY(*run, *w);
  }
  // Node index m at coordinate x (the pile must have a node there).
  int node_at(double x) const {
    const int m = static_cast<int>(std::lround((x - w->X[NODE(0)]) / w->h));
    return m;
  }
  double p_at(double x) const { return std::fabs(w->PSOIL[NODE(node_at(x))]); }
  double e_at(double x) const { return w->ESOIL[NODE(node_at(x))]; }
  // p of the curve at coordinate x and deflection y.
  double p(double x, double y) {
    eval(y);
    return p_at(x);
  }

  // A tabulated curve at coordinate x into CURVE_BUFFER; returns the status.
  int tabulate(double x, int phase = 1) {
    PY_STATE& py = store().py;
    py.PY_TABULATE = true;
    py.PY_BUFFER = true;
    py.PY_PHASE = phase;
    auto one = std::make_unique<PILE_WORK>();
    SET_ONE_NODE_PILE(*run, *one, 1, x);
    const int st = GENERATE_PY(*run, *one);
    py.PY_TABULATE = false;
    py.PY_BUFFER = false;
    py.PY_PHASE = 0;
    return st;
  }
};

}  // namespace kestra_test
