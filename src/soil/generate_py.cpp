// The p-y layer walk: node-to-layer assignment, the dispatch to the soil
// models, the embedded-cap pass, the multipliers, the conversion of p to the
// secant modulus and the tabulation of whole curves.
#include "soil/generate_py.h"

#include <cmath>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "pile/section_value.h"
#include "soil/py_models.h"

namespace kestra {

// --- Node assignment.

void ASSIGN_LAYER_NODES(const RUN& run, PILE_WORK& w) {
  const SOIL_DATA& s = run.store.soil;
  w.NFIRST.fill(0);
  w.NLAST.fill(0);
  const int nl = s.NL < LAYER_TABLE ? s.NL : LAYER_TABLE;
  if (nl <= 0) return;
  const int nn = w.N + 1;
  auto T = [&](int k) { return k <= nl ? s.LAYER_TOP[k] : s.LAYER_BOTTOM[nl]; };
  int k = 1;
  // A head at or below the top of a lower layer starts in that layer: the
  // layers above it hold no node (advancing once per node would hand the
  // head to a layer it is not in).
  const double x_head = w.X[NODE(0)];
  while (k < nl && x_head >= T(k + 1)) ++k;
  for (int m = 1; m <= nn; ++m) {
    const double x = w.X[NODE(m - 1)];
    w.NFIRST[k] = m;
    if (x >= T(k) && k <= nl) {
      // The layer index advances at most once per node.
      ++k;
      w.NFIRST[k] = m;
    }
  }
  const double xn = w.X[NODE(nn - 1)];
  for (int kk = 1; kk <= nl; ++kk)
    w.NLAST[kk] = xn > s.LAYER_BOTTOM[kk] ? w.NFIRST[kk + 1] - 1 : nn;
  w.NLAST[nl] = nn;
}

void ASSIGN_REQUEST_NODES(const RUN& run, PILE_WORK& w, double x) {
  const SOIL_DATA& s = run.store.soil;
  w.NFIRST.fill(0);
  w.NLAST.fill(0);
  const int nl = s.NL < LAYER_TABLE ? s.NL : LAYER_TABLE;
  if (nl <= 0) return;
  w.NLAST[nl] = 1;
  int k = 1;
  while (k <= nl && x >= s.LAYER_BOTTOM[k]) {
    w.NFIRST[k] = 0;
    ++k;
  }
  if (k <= nl) {
    w.NFIRST[k] = 1;
    for (int kk = k; kk <= nl - 1; ++kk) w.NLAST[kk] = 1;
    for (int kk = k + 1; kk <= nl; ++kk) w.NFIRST[kk] = 0;
  } else {
    w.NLAST[nl] = 0;
  }
}

void SET_ONE_NODE_PILE(const RUN& run, PILE_WORK& w, int group, double x) {
  const STORE& s = run.store;
  w.group = group;
  w.property = s.piles.PILE_PROP[group];
  const PILE_PROPERTY* p =
      (w.property >= 1 && w.property <= MAX_PROPERTIES) ? &s.piles.PROP[w.property] : nullptr;
  w.h = (p && p->INC > 0) ? p->LENGTH / p->INC : 0.0;
  w.N = 0;
  w.ground = s.piles.GROUND[group];
  w.vert = s.piles.PILE_X[group];
  w.X[NODE(0)] = x;
  w.X[NODE(1)] = x + w.h;
  w.DEFL[NODE(0)] = 0.0;
  ASSIGN_REQUEST_NODES(run, w, x);
}

// --- Helpers of the models.

int BAD_PROPERTY(RUN& run, int layer, const char* what) {
  std::string text = "SOIL LAYER " + std::to_string(layer) + ": " + what;
  return FATAL(run, ST_BAD_PROPERTY, text);
}

double EQUIVALENT_MODEL_DEPTH(RUN& run, const PILE_WORK& w, const PY_NODE& n) {
  if (n.k < 2) return n.zt;
  const STORE& s = run.store;
  double z = (n.x - n.top) + s.py.HEQ[w.group][n.k];
  if (s.soil.LAYER_BOTTOM[1] < 1.0e-10) z -= s.py.GROUND_NOW;
  return z;
}

bool HEQ_NEEDED(const RUN& run, const PILE_WORK& w, const PY_NODE& n, double& S) {
  const PY_STATE& py = run.store.py;
  if (n.k < 2 || py.PY_PHASE != 0 || !n.first || n.cap) return false;
  if (!(py.HEQ[w.group][n.k] < 1.0e-6)) return false;
  S = 0.0;
  for (int k = 1; k < n.k; ++k) S += w.PUSUM[k];
  return true;
}

void HEQ_STORE(RUN& run, const PILE_WORK& w, const PY_NODE& n, double h) {
  run.store.py.HEQ[w.group][n.k] = std::isfinite(h) && h > 0.0 ? h : 0.0;
}

void PUSUM_STANDARD(const RUN& run, PILE_WORK& w, const PY_NODE& n, double pu_n, double pu_init) {
  const double ground = run.store.py.GROUND_NOW;
  if (n.k == 1 && ground <= 0.0 && w.PUSUM[1] <= 0.0) w.PUSUM[1] = -0.5 * pu_init * ground;
  if (!(n.k >= 2 && n.first)) w.PUSUM[n.k] += n.h * pu_n;
}

double LAYER_AVERAGE(RUN& run, const PY_NODE& n, double value) {
  PY_STATE& py = run.store.py;
  if (n.first || !py.AVG_STARTED) {
    py.AVG_STARTED = true;
    py.AVG_X_FIRST = py.AVG_X_PREV = n.x;
    py.AVG_V_PREV = value;
    py.AVG_INTEGRAL = 0.0;
    return value;
  }
  py.AVG_INTEGRAL += 0.5 * (value + py.AVG_V_PREV) * (n.x - py.AVG_X_PREV);
  py.AVG_X_PREV = n.x;
  py.AVG_V_PREV = value;
  const double span = n.x - py.AVG_X_FIRST;
  return span > 0.0 ? py.AVG_INTEGRAL / span : value;
}

double HEQ_CLOSED(double S, double zt, double I_zt, double pu_deep, double a, double B) {
  if (!(S > 0.0)) return 0.0;
  if (I_zt < S) return pu_deep > 0.0 ? (S - I_zt) / pu_deep + zt : zt;
  if (!(a > 0.0)) return B > 0.0 ? S / B : zt;
  return (-B + std::sqrt(B * B + 4.0 * a * S)) * 0.5 / a;
}

namespace {

// p and the secant modulus of a prepared curve at deflection y.
struct SPRING {
  double E = 0.0;
  double p = 0.0;
};

SPRING convert(const PY_CURVE& c, double y, const PY_FACTORS& f, double thr) {
  SPRING r;
  auto secant = [&](double p) { return p * f.P / y / f.Y * f.PD / f.YD; };
  switch (c.conv) {
    case CONV_ROCK:
      r.p = PY_CURVE_P(c, y);
      r.E = (y < c.ya || !(y > 0.0)) ? c.kir : secant(r.p);
      break;
    case CONV_VUGGY:
      r.p = PY_CURVE_P(c, y);
      r.E = (y >= thr && y > 0.0) ? r.p / y / f.Y * f.PD / f.YD : c.esi / f.Y * f.PD / f.YD;
      break;
    case CONV_LIQUEFIED:
      r.p = PY_CURVE_P(c, y);
      r.E = y > 0.0 ? secant(r.p) : 0.0;
      break;
    default:
      if (y < thr || !(y > 0.0)) {
        const bool same_formula = c.model == PY_STIFF_CLAY_NO_WATER || c.model == PY_STIFF_CLAY_INITIAL_K;
        r.p = same_formula ? PY_CURVE_P(c, y) : c.E0 * y;
        r.E = c.E0;
      } else {
        r.p = PY_CURVE_P(c, y);
        r.E = secant(r.p);
      }
      break;
  }
  return r;
}

int prepare(RUN& run, PILE_WORK& w, int model, const PY_NODE& n, PY_CURVE& c, const PY_FACTORS& f) {
  switch (model) {
    case PY_STIFF_CLAY_FREE_WATER: return PREPARE_STIFF_CLAY_FREE_WATER(run, w, n, c);
    case PY_STIFF_CLAY_NO_WATER:
    case PY_STIFF_CLAY_INITIAL_K:
      c.initial_k = model == PY_STIFF_CLAY_INITIAL_K;
      return PREPARE_STIFF_CLAY_NO_WATER(run, w, n, c);
    case PY_SAND: return PREPARE_SAND(run, w, n, c);
    case PY_VUGGY_LIMESTONE: return PREPARE_VUGGY_LIMESTONE(run, w, n, c, f);
    case PY_SILT: return PREPARE_SILT(run, w, n, c);
    case PY_API_SAND: return PREPARE_API_SAND(run, w, n, c);
    case PY_WEAK_ROCK: return PREPARE_WEAK_ROCK(run, w, n, c);
    case PY_LIQUEFIED_SAND: return PREPARE_LIQUEFIED_SAND(run, w, n, c, f);
    default: return PREPARE_SOFT_CLAY(run, w, n, c);
  }
}

void small_deflection_warning(RUN& run, double e0) {
  FILE* f = run.files[F_REPORT];
  if (!f) return;
  WRITE_F(f, "(/,29X,'**** WARNING ****')");
  WRITE_F(f, "(5X,'DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM')");
  WRITE_F(f, "(5X,'USED A SOIL MODULUS OF ',E12.4)", e0);
}

// One node of a generated-model layer: properties, curve, and either the
// spring at the node's deflection or the tabulated curve.
int do_node(RUN& run, PILE_WORK& w, int k, int model, int j, bool cap, const PY_FACTORS& gf) {
  STORE& s = run.store;
  PY_STATE& py = s.py;
  const int g = w.group;
  const int m = j - 1;
  PY_NODE n;
  n.k = k;
  n.j = j;
  n.first = j == w.NFIRST[k];
  n.last = j == w.NLAST[k];
  n.cap = cap;
  n.x = w.X[NODE(m)];
  n.g = s.piles.GROUND[g];
  n.v = s.piles.PILE_X[g];
  n.zt = n.x - n.g - n.v;
  n.h = w.h;
  n.top = s.soil.LAYER_TOP[k];
  n.bottom = s.soil.LAYER_BOTTOM[k];
  if (n.first) {
    w.PUSUM[k] = 0.0;
    py.AVG_STARTED = false;
  }
  w.ESOIL[NODE(m)] = 0.0;
  if (py.PY_TABULATE) {
    py.NCURVE = 0;
    py.STATION_DEPTH = n.zt;
    py.STATION_MODEL = s.soil.SOIL_MODEL[k];
    py.STATION_BELOW = 0;
  }
  if (n.zt < 1.0e-6) return ST_OK;  // above the ground

  n.b = (cap || py.CAP_WIDTH_MODE) ? s.piles.CAP_WIDTH : SECTION_WIDTH(s, w.property, n.v, n.x);
  if (!(n.b > 0.0)) return BAD_PROPERTY(run, k, cap ? "THE CAP WIDTH IS ZERO" : "THE PILE WIDTH IS ZERO");
  PY_FACTORS f = gf;
  DEPTH_FACTORS_AT(s, g, n.x, f.PD, f.YD);
  if (!(f.YD > 0.0)) return BAD_PROPERTY(run, k, "THE Y-FACTOR ALONG DEPTH IS NOT POSITIVE");

  PY_CURVE c;
  c.model = model;
  c.b = n.b;
  c.zt = n.zt;
  c.cyclic = py.LOADING == 0;
  const int status = prepare(run, w, model, n, c, f);
  if (status != ST_OK) return status;
  const double thr = py.SMALL_DEFLECTION;

  if (!py.PY_TABULATE) {
    const double yj = w.DEFL[NODE(m)];
    const bool moving = py.PY_PHASE == 0 && s.soil.NSMPTS > 0;
    const double sj = moving ? std::hypot(w.SOIL_MOVE_Y[NODE(m)], w.SOIL_MOVE_Z[NODE(m)]) : 0.0;
    double y = std::fabs(yj - sj);
    if (c.conv == CONV_LIQUEFIED) {
      if (!moving) y = std::fabs(yj) / f.Y;
      if (y == 0.0) y = c.yfirst;
    }
    const SPRING r = convert(c, y, f, thr);
    w.ESOIL[NODE(m)] = r.E;
    w.PSOIL[NODE(m)] = r.p * f.P * f.PD * (yj > sj ? -1.0 : 1.0);
    w.PMOVE[NODE(m)] = moving ? sj * r.E : 0.0;
    if (cap) w.CAP_P = r.p;
    return ST_OK;
  }

  // Tabulation.
  double ys[CURVE_BUFFER_POINTS + 1] = {};
  int npts = 0;
  if (py.NYPTS > 0) {
    npts = py.NYPTS < MAX_PY_DEFLECTIONS ? py.NYPTS : MAX_PY_DEFLECTIONS;
    for (int i = 1; i <= npts; ++i) ys[i] = py.YLIST[i];
  } else {
    npts = PY_DEFAULT_DEFLECTIONS(run, c, ys + 1);
  }
  py.STATION_BELOW = 1;
  if (!py.PY_BUFFER) PY_CURVE_HEADER(run, n, c, f);
  double e_last = 0.0;
  for (int i = 1; i <= npts; ++i) {
    const double y = ys[i];
    const SPRING r = convert(c, y, f, thr);
    e_last = r.E;
    if (cap) w.CAP_P = r.p;
    if (model == PY_SOFT_CLAY && i > 1 && y < 1.0e-14 && !py.PY_BUFFER) small_deflection_warning(run, c.E0);
    double ty = y * f.Y * f.YD, tp = r.p * f.P * f.PD;
    if (cap) {
      ty = y;
      tp = r.p;
    } else if (c.conv == CONV_VUGGY) {
      tp = r.p;
    }
    if (py.PY_BUFFER) {
      py.NCURVE = i;
      py.CURVE_Y[i] = ty;
      py.CURVE_P[i] = tp;
    } else {
      PY_CURVE_ROW(run, c, ty, tp);
    }
  }
  if (model == PY_LIQUEFIED_SAND && !py.PY_BUFFER && run.files[F_REPORT]) WRITE_F(run.files[F_REPORT], "()");
  w.ESOIL[NODE(m)] = e_last;
  return ST_OK;
}

// The model of layer k for its nodes.
int do_layer(RUN& run, PILE_WORK& w, int k) {
  STORE& s = run.store;
  PY_STATE& py = s.py;
  const int model = PY_MODEL_OF(s.soil.SOIL_MODEL[k]);
  // What a model sets on entry, for itself and the models after it.
  if (model == PY_API_SAND || model == PY_SILT) {
    s.rw.PI = 4.0 * std::atan(1.0);
    py.SMALL_DEFLECTION = 1.0e-14;
  } else if (model == PY_VUGGY_LIMESTONE) {
    py.SMALL_DEFLECTION = double(1.0e-14f);
  }
  if (model == PY_USER_CURVES) return USER_CURVE_LAYER(run, w, k);

  const int g = w.group;
  PY_FACTORS f;
  f.P = py.USE_FACTOR_PAIR ? py.P_FACTOR_PAIR : s.piles.P_FACTOR[g];
  f.Y = py.USE_FACTOR_PAIR ? py.Y_FACTOR_PAIR : s.piles.Y_FACTOR[g];
  if (!(f.Y > 0.0)) return BAD_PROPERTY(run, k, "THE Y-FACTOR OF THE PILE GROUP IS NOT POSITIVE");

  const int nf = w.NFIRST[k], nl = w.NLAST[k];
  bool cap_tabulated = false;
  if (s.ctl.CAP_OPTION >= 1 && nf == 1) {
    const double x = w.X[NODE(0)];
    const double v = s.piles.PILE_X[g];
    const bool in_cap = x >= v - s.piles.CAP_THICKNESS && x <= v;
    if (!py.PY_TABULATE || in_cap) {
      const int st = do_node(run, w, k, model, 1, true, f);
      if (st != ST_OK) return st;
      cap_tabulated = py.PY_TABULATE;
    }
  }
  if (cap_tabulated) return ST_OK;
  for (int j = nf; j <= nl && j <= w.N + 1; ++j) {
    const int st = do_node(run, w, k, model, j, false, f);
    if (st != ST_OK) return st;
  }
  return ST_OK;
}

}  // namespace

int GENERATE_PY(RUN& run, PILE_WORK& w) {
  STORE& s = run.store;
  PY_STATE& py = s.py;
  const int g = w.group;
  if (g < 1 || g > s.piles.NPILES || w.N < 0 || w.N > MAX_INCREMENTS)
    return FATAL(run, ST_INTERNAL, "P-Y EVALUATION CALLED FOR A PILE GROUP OR NODE COUNT OUT OF RANGE");
  if (py.PY_PHASE == 0 || py.PY_PHASE == 1) py.GROUND_NOW = s.piles.GROUND[g] + s.piles.PILE_X[g];
  const int nn = w.N + 1;
  if (!py.PY_TABULATE)
    for (int m = 0; m <= w.N; ++m) {
      w.ESOIL[NODE(m)] = 0.0;
      w.PMOVE[NODE(m)] = 0.0;
    }
  w.CAP_P = 0.0;
  w.PUSUM.fill(0.0);  // rebuilt on every call, also for layers that hold no node
  const int nl = s.soil.NL < LAYER_TABLE ? s.soil.NL : LAYER_TABLE;
  for (int k = 1; k <= nl; ++k) {
    const int nf = w.NFIRST[k];
    if (nf <= 0) continue;
    if (py.PY_PHASE == 0 && nf == nn && w.NLAST[k] == nn) continue;  // only the tip node
    const int st = do_layer(run, w, k);
    if (st != ST_OK) {
      run.status = st;
      return st;
    }
  }
  for (int m = 0; m <= w.N; ++m)
    if (!(w.X[NODE(m)] > py.GROUND_NOW)) w.ESOIL[NODE(m)] = 0.0;
  return ST_OK;
}

}  // namespace kestra
