#include "soil/input_py.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "engine/report.h"

namespace kestra {

namespace {

// p at deflection y on one curve (points y increasing).
double curve_p(const USER_PY_CURVE& c, double y) {
  const int n = c.NPOINTS;
  if (n <= 0) return 0.0;
  double y0 = 0.0, p0 = 0.0;  // the segment before the first point starts at the origin
  for (int i = 1; i <= n; ++i) {
    if (c.Y[i] >= y) {
      const double dy = c.Y[i] - y0;
      if (dy <= 0.0) return c.P[i];
      return p0 + (y - y0) * (c.P[i] - p0) / dy;
    }
    y0 = c.Y[i];
    p0 = c.P[i];
  }
  return c.P[n];
}

// Depth factors (P_d, Y_d) of group g at coordinate x: linear between the
// points of the group's set (the mean of two points closer than 1e-5); false
// when none apply (option off, no set, x outside the points).
bool depth_factors(const STORE& s, int g, double x, double& pd, double& yd) {
  if (s.ctl.DEPTH_FACTORS != 1) return false;
  const int k = s.piles.RFL_SET[g];
  if (k < 1 || k > s.soil.NRFSETS || k > MAX_RF_SETS) return false;
  const RF_SET& r = s.soil.RF_SETS[k];
  const int n = std::min(r.NPOINTS, MAX_RF_POINTS);
  if (n < 1 || x < r.DEPTH[1] || x > r.DEPTH[n]) return false;
  if (n == 1) {
    pd = r.P_FACTOR[1];
    yd = r.Y_FACTOR[1];
    return true;
  }
  for (int i = 2; i <= n; ++i) {
    if (x > r.DEPTH[i]) continue;
    const double a = r.DEPTH[i - 1], b = r.DEPTH[i];
    if (b - a < 1.0e-5) {
      pd = 0.5 * (r.P_FACTOR[i - 1] + r.P_FACTOR[i]);
      yd = 0.5 * (r.Y_FACTOR[i - 1] + r.Y_FACTOR[i]);
    } else {
      const double t = (x - a) / (b - a);
      pd = r.P_FACTOR[i - 1] + t * (r.P_FACTOR[i] - r.P_FACTOR[i - 1]);
      yd = r.Y_FACTOR[i - 1] + t * (r.Y_FACTOR[i] - r.Y_FACTOR[i - 1]);
    }
    return true;
  }
  return false;
}

int not_positive(RUN& run, int g, const char* what) {
  return FATAL(run, ST_BAD_PROPERTY,
               std::string("THE ") + what + " OF PILE GROUP " + std::to_string(g) +
                   " IS NOT POSITIVE (INPUT P-Y CURVES)");
}

}  // namespace

bool USES_INPUT_PY(const STORE& s, int g) {
  return s.ctl.USER_PY >= 1 && g >= 1 && g <= MAX_PILE_ENTRIES && s.piles.PY_SET[g] >= 1;
}

int INPUT_PY_EVALUATE(RUN& run, PILE_WORK& w) {
  const STORE& s = run.store;
  const int g = w.group;
  if (g < 1 || g > MAX_PILE_ENTRIES) return ST_DECK_REFERENCE;
  const int k = std::abs(s.piles.PY_SET[g]);
  const bool known = k >= 1 && k <= s.soil.NPYSETS && k <= MAX_PY_SETS;
  const int nc = known ? s.soil.PY_SETS[k].NPYCURVES : 0;
  if (nc < 1 || nc > MAX_PY_CURVES)
    return FATAL(run, ST_DECK_REFERENCE,
                 "PILE GROUP " + std::to_string(g) + " NAMES P-Y CURVE SET " + std::to_string(k) +
                     ", WHICH HOLDS NO CURVE");
  const USER_PY_SET& set = s.soil.PY_SETS[k];

  const double P = s.piles.P_FACTOR[g];
  const double Y = s.piles.Y_FACTOR[g];
  if (!(Y > 0.0)) return not_positive(run, g, "Y-FACTOR");
  const bool moving = s.soil.NSMPTS > 0;

  for (int m = 0; m <= w.N; ++m) {
    const int e = NODE(m);
    const double x = w.X[e];
    const double yj = w.DEFL[e];
    double sj = 0.0;
    if (moving) sj = std::hypot(w.SOIL_MOVE_Y[e], w.SOIL_MOVE_Z[e]);
    double y = moving ? std::fabs(yj - sj) : std::fabs(yj);
    // At least the run-wide small-deflection threshold (1e-14 unless a weak
    // rock or liquefied sand layer raised it), where the secant is taken.
    if (y < s.py.SMALL_DEFLECTION) y = s.py.SMALL_DEFLECTION;

    // Bracketing curves: the first curve at or below the node, and the one before.
    int i = 1;
    while (i <= nc && set.CURVE[i].DEPTH < x) ++i;
    int upper = i - 1, lower = i;
    if (i > nc) {
      upper = lower = nc;  // below the deepest curve: the deepest curve
      w.PY_BEYOND_CURVES = 1;
    } else if (i == 1 || set.CURVE[i].DEPTH == x) {
      upper = lower = i;   // at a curve, or above the first one
    }

    double pd = 1.0, yd = 1.0;
    const bool factored = depth_factors(s, g, x, pd, yd);
    if (factored && !(yd > 0.0)) return not_positive(run, g, "Y-FACTOR ALONG DEPTH");
    const double scale = factored ? (P / Y) * (pd / yd) : P / Y;

    const double p_low = curve_p(set.CURVE[lower], y);
    double es = p_low * scale / y;
    if (upper != lower) {
      const USER_PY_CURVE& cu = set.CURVE[upper];
      const USER_PY_CURVE& cl = set.CURVE[lower];
      const double eu = curve_p(cu, y) * scale / y;
      const double span = cl.DEPTH - cu.DEPTH;
      es = span > 0.0 ? eu + (es - eu) * (x - cu.DEPTH) / span : es;
    }
    w.ESOIL[e] = es;
    const double ps = p_low * P * (factored ? pd : 1.0);
    w.PSOIL[e] = (yj > sj) ? -ps : ps;
    w.PMOVE[e] = moving ? sj * es : 0.0;
  }
  return ST_OK;
}

}  // namespace kestra
