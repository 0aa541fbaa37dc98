// A one-pile model for the lateral solutions: one property with one uniform
// general section, input p-y curves of one set, files opened as temporary
// files so that warnings can be read back.
#pragma once

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/run.h"
#include "pile/pile_solvers.h"
#include "pile/pile_work.h"

namespace kestra_test {

struct LLP_MODEL {
  std::unique_ptr<kestra::RUN> run = std::make_unique<kestra::RUN>();
  std::unique_ptr<kestra::PILE_WORK> w = std::make_unique<kestra::PILE_WORK>();

  // Pile of length L with INC increments, rigidity E*I (both axes), diameter D.
  LLP_MODEL(double L, int inc, double E, double I, double D = 1.0) {
    using namespace kestra;
    RUN_RESET(*run);
    STORE& s = run->store;
    s.ctl.ANALYSIS_TYPE = 2;
    s.ctl.USER_PY = 1;
    s.piles.NPILES = 1;
    s.piles.PILE_PROP[1] = 1;
    s.piles.PY_SET[1] = 1;
    s.piles.CONNECTY[1] = 1;
    s.piles.CONNECTZ[1] = 1;
    s.piles.P_FACTOR[1] = s.piles.Y_FACTOR[1] = 1.0;
    s.piles.NPROP = 1;
    PILE_PROPERTY& p = s.piles.PROP[1];
    p.NSECT = 1;
    p.INC = inc;
    p.LENGTH = L;
    PILE_SECTION& sec = p.SECT[1];
    sec.SECT_FROM = 0.0;
    sec.SECT_TO = L;
    sec.E_MOD = E;
    sec.XSEC_TYPE = XT_GENERAL;
    for (auto* v : {&sec.TOP, &sec.BOT}) {
      (*v)[XS_DIAMETER] = D;
      (*v)[XS_AREA] = 0.25 * 3.141592653589793 * D * D;
      (*v)[XS_IZ] = I;
      (*v)[XS_IY] = I;
    }
    w->CONTROL.TOL_PILE = 1e-12;
    w->CONTROL.MAXIT_PILE = 100;
  }

  kestra::STORE& store() { return run->store; }

  // Curve c of the set at coordinate x with points (y, p).
  void curve(int c, double x, const std::vector<std::pair<double, double>>& yp) {
    auto& set = run->store.soil.PY_SETS[1];
    run->store.soil.NPYSETS = 1;
    if (set.NPYCURVES < c) set.NPYCURVES = c;
    auto& cv = set.CURVE[c];
    cv.DEPTH = x;
    cv.NPOINTS = int(yp.size());
    for (size_t i = 0; i < yp.size(); ++i) {
      cv.Y[i + 1] = yp[i].first;
      cv.P[i + 1] = yp[i].second;
    }
  }

  // Linear springs p = k(x)*y with k linear from k0 at x0 to k1 at x1.
  void linear_soil(double x0, double k0, double x1, double k1, double ymax = 10.0) {
    curve(1, x0, {{0.0, 0.0}, {ymax, k0 * ymax}});
    curve(2, x1, {{0.0, 0.0}, {ymax, k1 * ymax}});
  }

  // Soft-clay-shaped springs p = pu/2 (y/y50)^(1/3) up to 8 y50, then pu,
  // with pu growing from pu0 at x0 to pu1 at x1.
  void clay_soil(double x0, double pu0, double x1, double pu1, double y50) {
    for (int c = 1; c <= 2; ++c) {
      const double pu = c == 1 ? pu0 : pu1;
      std::vector<std::pair<double, double>> pts{{0.0, 0.0}};
      for (int i = 1; i <= 16; ++i) {
        const double y = 8.0 * y50 * std::pow(i / 16.0, 3.0);
        pts.push_back({y, 0.5 * pu * std::cbrt(y / y50)});
      }
      pts.push_back({100.0 * y50, pu});
      curve(c, c == 1 ? x0 : x1, pts);
    }
  }

  // Report and run log as temporary files.
  void open_files() {
    run->files.fp[kestra::F_REPORT] = std::tmpfile();
    run->files.fp[kestra::F_RUNTIME] = std::tmpfile();
    run->files.fp[kestra::F_SUMMARY] = std::tmpfile();
  }
  std::string text(int role) {
    FILE* f = run->files.fp[role];
    if (!f) return {};
    std::fflush(f);
    std::rewind(f);
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    return out;
  }
  ~LLP_MODEL() {
    for (int r : {kestra::F_REPORT, kestra::F_RUNTIME, kestra::F_SUMMARY})
      if (run->files.fp[r]) std::fclose(run->files.fp[r]);
  }

  int nodes() { return kestra::GENERATE_NODES(*run, *w, 1); }

  // One-plane solve; returns the head force.
  double solve(double yt, double theta, double P = 0.0, int* status = nullptr) {
    double V = 0.0;
    const int st = kestra::LLP_GROUP(*run, *w, 1, yt, theta, P, V);
    if (status) *status = st;
    return V;
  }

  double Y(int m) const { return w->Y[kestra::NODE(m)]; }
  double slope(int m) const { return w->PLANE_Y.SLOPE[kestra::NODE(m)]; }
  double moment(int m) const { return w->PLANE_Y.BMOM[kestra::NODE(m)]; }
};

}  // namespace kestra_test
