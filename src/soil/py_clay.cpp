// p-y curves of the clays: soft clay, stiff clay with free water, stiff
// clay without free water (with or without an initial straight line k z).
#include <algorithm>
#include <cmath>

#include "soil/py_models.h"

namespace kestra {

namespace {

const double ONE_THIRD = double(1.0f / 3.0f);
const double TWO_THIRDS = double(2.0f / 3.0f);
const double C072 = F32(0.72f);

// Linear table in x/b with breakpoints 0, 1, 2, 3, 4, constant beyond.
double table_04(const float (&t)[5], double xb) {
  if (!(xb > 0.0)) return double(t[0]);
  if (xb >= 4.0) return double(t[4]);
  const int i = static_cast<int>(xb);
  return double(t[i]) + (double(t[i + 1]) - double(t[i])) * (xb - i);
}
constexpr float AS_TABLE[5] = {0.223f, 0.46f, 0.55f, 0.59f, 0.60f};
constexpr float AC_TABLE[5] = {0.20f, 0.29f, 0.30f, 0.30f, 0.30f};

// Residual factor of the stiff clay with free water.
double residual_factor(bool cyclic, double as, double ac) {
  if (cyclic) return F32(0.936f) * ac - F32(0.418f) * as;
  return F32(1.225f) * std::sqrt(as) - 0.75 * as - F32(0.411f);
}

// The average cohesion of the stiff clays: from the ground surface in layer
// 1, over the layer's nodes below, from the layer top in tabulation.
double average_cohesion(RUN& run, const PY_NODE& n, double c) {
  if (n.k == 1) return AVG_COHESION(run, n.x);
  if (run.store.py.PY_TABULATE) return 0.5 * (LAYER_TOP_VALUE(run.store, SP_COHESION, n.k) + c);
  return LAYER_AVERAGE(run, n, c);
}

}  // namespace

double CLAY_PU(double c, double gamma, double b, double z) {
  if (!(c > 0.0)) return 0.0;
  const double np = std::min(3.0 + gamma * z / c + 0.5 * z / b, 9.0);
  return np * c * b;
}

// --- Soft clay.

int PREPARE_SOFT_CLAY(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c) {
  int st = ST_OK;
  c.c = COHESION_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  c.e50 = PROFILE_VALUE(run.store, SP_E50, n.x);
  if (!(c.e50 > 0.0)) return BAD_PROPERTY(run, n.k, "E50 OF THE SOFT CLAY IS ZERO");
  const double b = n.b, cc = c.c, g = c.gamma;
  const double den = g * b + 0.5 * cc;
  c.zr = den > 0.0 ? 6.0 * cc * b / den : 0.0;
  if (c.zr < 1.0e-6) c.zr = b;

  double S = 0.0;
  if (HEQ_NEEDED(run, w, n, S)) {
    double h = 0.0;
    if (cc > 0.0) {
      const double zt = c.zr;
      double I = 3.0 * cc * b * zt + 0.5 * g * b * zt * zt + 0.25 * cc * zt * zt;
      double deep = 9.0 * cc * b;
      if (c.cyclic) {
        I *= C072;
        deep *= C072;
      }
      h = HEQ_CLOSED(S, zt, I, deep, 0.25 * cc + 0.5 * g * b, 3.0 * cc * b);
    }
    HEQ_STORE(run, w, n, h);
  }
  c.z = EQUIVALENT_MODEL_DEPTH(run, w, n);
  c.pu = CLAY_PU(cc, g, b, c.z);
  c.y50 = 2.5 * c.e50 * b;
  c.E0 = 0.5 * c.pu / c.y50 * std::pow(c.y50 / run.store.py.SMALL_DEFLECTION, TWO_THIRDS);
  PUSUM_STANDARD(run, w, n, c.cyclic ? C072 * c.pu : c.pu, c.pu);
  return ST_OK;
}

double P_SOFT_CLAY(const PY_CURVE& c, double y) {
  const double r = y / c.y50;
  if (r <= 3.0) return 0.5 * c.pu * std::pow(r, ONE_THIRD);
  if (!c.cyclic) return r <= 8.0 ? 0.5 * c.pu * std::pow(r, ONE_THIRD) : c.pu;
  const double top = C072 * c.pu;
  if (c.z >= c.zr) return top;
  const double low = top * c.z / c.zr;
  if (r >= 15.0) return low;
  return top + (low - top) * (r - 3.0) / 12.0;
}

// --- Stiff clay with free water.

int PREPARE_STIFF_CLAY_FREE_WATER(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c) {
  int st = ST_OK;
  c.c = COHESION_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  c.ca = average_cohesion(run, n, c.c);
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  c.e50 = PROFILE_VALUE(run.store, SP_E50, n.x);
  if (!(c.e50 > 0.0)) return BAD_PROPERTY(run, n.k, "E50 OF THE STIFF CLAY IS ZERO");
  const double k = SUBGRADE_MODULUS(run.store, n.x);
  const double b = n.b, cc = c.c, ca = c.ca, g = c.gamma;

  double S = 0.0;
  if (HEQ_NEEDED(run, w, n, S)) {
    double h = 0.0;
    const double den = F32(2.83f) * ca + b * g;
    const double zt = den > 0.0 ? (11.0 * cc * b - 2.0 * ca * b) / den : 0.0;
    const bool cyc = c.cyclic;
    auto factor = [&](double z) {
      return residual_factor(cyc, table_04(AS_TABLE, z / b), table_04(AC_TABLE, z / b));
    };
    if (S > 0.0) {
      auto pu = [&](double z) { return (g * b * z + 2.0 * ca * b + F32(2.83f) * ca * z) * factor(z); };
      h = HEQ_STEPPED(S, zt, 40, pu, 11.0 * cc * b * factor(zt > 0.0 ? zt : 0.0));
    }
    HEQ_STORE(run, w, n, h);
  }
  const double za = EQUIVALENT_MODEL_DEPTH(run, w, n);
  const double z = n.zt < 1.0e-6 ? 0.0 : n.zt;
  c.z = z;
  const double pct = 2.0 * ca * b + g * b * z + F32(2.83f) * ca * z;
  const double pcd = 11.0 * cc * b;
  c.pu = std::min(pct, pcd);
  c.y50 = c.e50 * b;
  c.esi = k * z;
  c.E0 = c.esi;
  c.as = table_04(AS_TABLE, za / b);
  c.ac = table_04(AC_TABLE, za / b);
  c.yp = F32(4.1f) * c.ac * c.y50;
  const double F = residual_factor(c.cyclic, c.as, c.ac);

  PY_STATE& py = run.store.py;
  const double ground = py.GROUND_NOW;
  if (n.k == 1 && ground <= 0.0 && w.PUSUM[1] <= 0.0)
    w.PUSUM[1] = -0.5 * CLAY_PU(cc, g, b, z) * ground;
  if (!(n.k >= 2 && n.first))
    w.PUSUM[n.k] += n.h * F * (c.pu + py.PC_PREV_FREE_WATER) / 2.0 + n.h * F * c.pu;
  py.PC_PREV_FREE_WATER = c.pu;
  return ST_OK;
}

double P_STIFF_CLAY_FREE_WATER(const PY_CURVE& c, double y) {
  const double pc = c.pu, y50 = c.y50;
  double p;
  if (!c.cyclic) {
    const double a = c.as * y50;
    const double root6 = 0.5 * pc * std::sqrt(6.0 * c.as);
    if (y <= a)
      p = 0.5 * pc * std::sqrt(y / y50);
    else if (y <= 6.0 * a)
      p = 0.5 * pc * std::sqrt(y / y50) - F32(0.055f) * pc * std::pow((y - a) / a, 1.25);
    else if (y <= 18.0 * a)
      p = root6 - F32(0.411f) * pc - 0.0625 * pc * (y - 6.0 * a) / y50;
    else
      p = root6 - F32(0.411f) * pc - 0.75 * c.as * pc;
  } else {
    const double yp = c.yp;
    if (y <= F32(0.6f) * yp) {
      const double q = std::fabs((y - F32(0.45f) * yp) / (F32(0.45f) * yp));
      p = c.ac * pc * (1.0 - std::pow(q, 2.5));
    } else if (y <= F32(1.8f) * yp) {
      p = F32(0.936f) * c.ac * pc - F32(0.085f) * pc * (y - F32(0.6f) * yp) / y50;
    } else {
      p = F32(0.936f) * c.ac * pc - F32(0.102f) * pc * yp / y50;
    }
  }
  return std::min(p, c.esi * y);
}

// --- Stiff clay without free water (model 3; model 10 with initial k).

int PREPARE_STIFF_CLAY_NO_WATER(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c) {
  int st = ST_OK;
  c.c = COHESION_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  c.ca = average_cohesion(run, n, c.c);
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  c.e50 = PROFILE_VALUE(run.store, SP_E50, n.x);
  if (!(c.e50 > 0.0)) return BAD_PROPERTY(run, n.k, "E50 OF THE STIFF CLAY IS ZERO");
  const double b = n.b, cc = c.c, ca = c.ca, g = c.gamma;

  double S = 0.0;
  if (HEQ_NEEDED(run, w, n, S)) {
    double h = 0.0;
    const double den = 0.5 * cc + b * g;
    if (cc > 0.0 && den > 0.0) {
      const double zt = std::max((9.0 * cc * b - 3.0 * ca * b) / den, 0.0);
      const double I = 0.25 * cc * zt * zt + 0.5 * g * b * zt * zt + 3.0 * cc * b * zt;
      h = HEQ_CLOSED(S, zt, I, 9.0 * cc * b, 0.25 * cc + 0.5 * g * b, 3.0 * cc * b);
    }
    HEQ_STORE(run, w, n, h);
  }
  c.z = EQUIVALENT_MODEL_DEPTH(run, w, n);
  c.pu = std::min(3.0 * ca * b + g * b * c.z + 0.5 * ca * c.z, 9.0 * cc * b);
  c.y50 = 2.5 * c.e50 * b;
  const int ncyc = run.store.py.NCYCLES < 1 ? 1 : run.store.py.NCYCLES;
  c.ncyc = c.cyclic ? double(ncyc) : 1.0;
  c.E0 = 0.5 * c.pu / c.y50 * std::pow(c.y50 / run.store.py.SMALL_DEFLECTION, 0.75);
  if (c.initial_k) {
    c.esi = SUBGRADE_MODULUS(run.store, n.x) * c.z;
    c.E0 = c.esi;
  }
  PUSUM_STANDARD(run, w, n, c.pu, c.pu);
  return ST_OK;
}

double P_STIFF_CLAY_NO_WATER(const PY_CURVE& c, double y) {
  double p;
  if (!c.cyclic) {
    p = y <= 16.0 * c.y50 ? 0.5 * c.pu * std::pow(y / c.y50, 0.25) : c.pu;
  } else {
    const double yc = c.y50 * (1.0 + F32(0.6f) * std::log10(c.ncyc));
    p = std::min(0.5 * c.pu * std::pow(y / yc, 0.25), c.pu);
  }
  if (c.initial_k) p = std::min(p, c.esi * y);
  return p;
}

}  // namespace kestra
