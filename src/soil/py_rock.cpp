// p-y curves of rock and silt, and the user-specified curves of a layer:
// weak rock, vuggy limestone, silt (cohesion and friction angle).
#include <algorithm>
#include <cmath>

#include "engine/format.h"
#include "soil/py_models.h"

namespace kestra {

namespace {

void framed_lines(RUN& run, std::initializer_list<const char*> lines, bool empty_after) {
  for (FILE* f : {run.files[F_REPORT], run.files[F_RUNTIME]}) {
    if (!f) continue;
    WRITE_F(f, "()");
    for (const char* l : lines) WRITE_F(f, "(7X,A)", l);
    if (empty_after) WRITE_F(f, "()");
  }
}

double api_like_depth(RUN& run, const PILE_WORK& w, const PY_NODE& n) {
  if (n.k == 1) return n.zt;
  const SOIL_DATA& s = run.store.soil;
  if (s.LAYER_BOTTOM[1] < -1.0e-8 || (s.NL >= 2 && s.LAYER_BOTTOM[2] < -1.0e-8)) return n.x - (n.g + n.v);
  return EQUIVALENT_MODEL_DEPTH(run, w, n);
}

}  // namespace

// --- Weak rock.

int PREPARE_WEAK_ROCK(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c) {
  STORE& s = run.store;
  const double b = n.b;
  const double zr = (n.x - n.top) + 1.0e-8;
  c.z = zr;
  c.conv = CONV_ROCK;
  s.py.SMALL_DEFLECTION = F32(2.0e-5f) * b;
  if (s.py.NCYCLES == 0) s.py.NCYCLES = 1;
  c.qr = 0.5 * PROFILE_VALUE(s, SP_COHESION, n.x);
  if (!n.first && c.qr < 1.0e-10) {
    framed_lines(run,
                 {"--------------------WARNING----------------------",
                  "THE UNIAXIAL COMPRESION STRENGTH IS 0 FOR WEAK ROCK ", "ACCORDING TO THE INPUT DATA.",
                  "PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."},
                 false);
    return ST_WEAK_ROCK_ZERO_C;
  }
  const double alpha_r = 1.0 - PROFILE_VALUE(s, SP_RQD, n.x) * F32(0.0066666668f);
  double qa;
  if (n.k == 1)
    qa = 0.5 * AVG_COHESION(run, n.x);
  else if (s.py.PY_TABULATE)
    qa = (0.5 * LAYER_TOP_VALUE(s, SP_COHESION, n.k) + c.qr) / 2.0;
  else
    qa = LAYER_AVERAGE(run, n, c.qr);
  c.ca = qa;
  const double er = PROFILE_VALUE(s, SP_E_ROCK, n.x);
  c.krm = PROFILE_VALUE(s, SP_E50, n.x);
  c.e50 = c.krm;
  if (!(c.krm > 0.0)) return BAD_PROPERTY(run, n.k, "KRM OF THE WEAK ROCK IS ZERO");
  if (!(er > 0.0)) return BAD_PROPERTY(run, n.k, "THE ROCK MODULUS ER IS ZERO");
  if (zr <= 3.0 * b) {
    c.pu = 2.0 * alpha_r * qa * b * (1.0 + F32(1.4f) * zr / b);
    c.kir = (100.0 + 400.0 * zr / (3.0 * b)) * er;
  } else {
    c.pu = 2.0 * alpha_r * qa * F32(5.2f) * b;
    c.kir = 500.0 * er;
  }
  c.E0 = c.kir;
  c.y50 = c.krm * b;  // yrm
  const double pur = std::max(c.pu, 0.0);
  c.ya = std::pow(pur / (2.0 * std::pow(c.y50, 0.25) * c.kir), 1.3333333333333333);
  c.gamma = 0.0;
  {
    int st = ST_OK;
    c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);  // printed only; its status matters as any lookup
    if (st != ST_OK) return st;
  }
  if (!n.first) {
    const PILE_PROPERTY& p = s.piles.PROP[w.property];
    const double step = p.INC > 0 ? p.LENGTH / p.INC : 0.0;
    w.PUSUM[n.k] += n.h * c.pu;
    w.PUSUM[n.k] += (c.pu + c.pu) * 0.5 * step;
  }
  if (n.last) w.PUSUM[n.k] += 2.0 * (n.bottom - n.x) * c.pu;
  return ST_OK;
}

double P_WEAK_ROCK(const PY_CURVE& c, double y) {
  if (y < c.ya) return c.kir * y;
  return std::min(0.5 * c.pu * std::pow(y / c.y50, 0.25), c.pu);
}

// --- Vuggy limestone.

int PREPARE_VUGGY_LIMESTONE(RUN& run, PILE_WORK&, const PY_NODE& n, PY_CURVE& c, const PY_FACTORS& f) {
  int st = ST_OK;
  c.conv = CONV_VUGGY;
  c.z = n.zt;
  c.c = 0.5 * PROFILE_VALUE(run.store, SP_COHESION, n.x);
  if (!(c.c > 0.0)) return BAD_PROPERTY(run, n.k, "STRENGTH OF THE VUGGY LIMESTONE IS ZERO");
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  const double b = n.b;
  c.esi = 2000.0 * c.c;
  c.E0 = c.esi;
  c.y1 = F32(0.0004f) * b;
  c.p1 = c.esi * c.y1;
  c.y2 = (c.c * b - c.p1) / (100.0 * c.c) + c.y1;
  c.y50 = c.y2;
  c.pres = 2.0 * F32(1.69f) * b * c.gamma;
  c.pfac = f.P;
  c.pd = f.PD;
  return ST_OK;
}

double P_VUGGY_LIMESTONE(const PY_CURVE& c, double y) {
  if (y < c.y1) return c.esi * y * c.pfac * c.pd;
  if (y < c.y2) return ((y - c.y1) * 100.0 * c.c + c.p1) * c.pfac;
  return c.pres;
}

// --- Silt.

int PREPARE_SILT(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c) {
  STORE& s = run.store;
  int st = ST_OK;
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  c.e50 = PROFILE_VALUE(s, SP_E50, n.x);
  c.c = COHESION_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  c.phi = PHI_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  const double k = SUBGRADE_MODULUS(s, n.x);
  if (c.phi < 1.0e-10 && !n.first) {
    framed_lines(run,
                 {"--------------------WARNING----------------------",
                  "THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO THE INPUT",
                  "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."},
                 false);
    return ST_SILT_ZERO_PHI;
  }
  const double cphi = std::cos(c.phi);
  if (1.0 - cphi * cphi < 1.0e-10) {
    framed_lines(run,
                 {"WARNING-------The Angle of the slope can not", "              be greater than the internal  ",
                  "              friction angle of the silt.   "},
                 true);
    return ST_SILT_SLOPE;
  }
  const double b = n.b, g = c.gamma, cc = c.c;
  const PY_WEDGE q = WEDGE_OF(c.phi, s.rw.PI);
  const bool cyc = c.cyclic;

  double S = 0.0;
  if (HEQ_NEEDED(run, w, n, S)) {
    double h = 0.0;
    if (S > 0.0 && q.C1 > 0.0) {
      const double zt = (q.C3 - q.C2) * b / q.C1;
      auto pu = [&](double z) {
        const double ps = g * b * b * (q.C1 * (z / b) * (z / b) + q.C2 * z / b);
        return SAND_TABLE_A(cyc, z / b) * ps + CLAY_PU(cc, g, b, z);
      };
      const double deep = F32(0.88f) * g * b * q.C3 * n.zt + (cc > 0.0 ? 9.0 * cc * b : 0.0);
      h = HEQ_STEPPED(S, zt, 50, pu, deep);
    }
    HEQ_STORE(run, w, n, h);
  }
  const double z = api_like_depth(run, w, n);
  c.z = z;
  c.pst = SAND_PST(q, g, b, z);
  c.psd = SAND_PSD(q, g, b, z);
  const double ps = std::min(c.pst, c.psd);
  c.pc = CLAY_PU(cc, g, b, z);
  c.A = SAND_TABLE_A(cyc, z / b);
  c.B = SAND_TABLE_B(cyc, z / b);
  c.psd = ps;  // printed as the sand part
  SAND_SHAPE(c, c.A * ps + c.pc, 1.5 * ps + 1.5 * c.pc, k * z, z);

  PY_STATE& py = s.py;
  const double ground = py.GROUND_NOW;
  if (n.k == 1 && ground <= 0.0 && w.PUSUM[1] <= 0.0) w.PUSUM[1] = -0.5 * c.pu * ground;
  if (!n.first) w.PUSUM[n.k] += (c.pu + py.PU_PREV_SILT) * 0.5 * n.h;
  if (n.last) w.PUSUM[n.k] += (n.bottom - n.x) * c.pu;
  if (n.k == 1 && ground < -1.0e-5)
    w.PUSUM[1] = 0.5 * (s.soil.LAYER_BOTTOM[1] - (n.g + n.v)) * (3.0 * cc * b + c.pu);
  py.PU_PREV_SILT = c.pu;
  return ST_OK;
}

// --- User curves of a layer.

namespace {

// p of one user curve at deflection y: linear between the bracketing
// points, the first segment below the first point, the last p beyond.
double user_p(const USER_PY_CURVE& cv, double y) {
  const int np = std::min(cv.NPOINTS, MAX_PY_POINTS);
  if (np <= 0) return 0.0;
  if (np == 1) return cv.P[1];
  int q = 1;
  while (q <= np && cv.Y[q] < y) ++q;
  if (q > np) return cv.P[np];
  if (q == 1) q = 2;
  const double y0 = cv.Y[q - 1], y1 = cv.Y[q];
  if (!(y1 > y0)) return cv.P[q];
  return cv.P[q - 1] + (cv.P[q] - cv.P[q - 1]) * (y - y0) / (y1 - y0);
}

}  // namespace

int USER_CURVE_LAYER(RUN& run, PILE_WORK& w, int k) {
  STORE& s = run.store;
  PY_STATE& py = s.py;
  const int g = w.group;
  w.PUSUM[k] = 0.0;
  if (py.PY_TABULATE) {
    // The input curves are not tabulated.
    py.NCURVE = 0;
    py.STATION_MODEL = s.soil.SOIL_MODEL[k];
    py.STATION_BELOW = 0;
    return ST_OK;
  }
  const int set = std::abs(s.piles.PY_SET[g]);
  if (set < 1 || set > s.soil.NPYSETS || set > MAX_PY_SETS)
    return BAD_PROPERTY(run, k, "THE PILE GROUP HAS NO USER P-Y CURVE SET FOR THIS USER-CURVE LAYER");
  const USER_PY_SET& us = s.soil.PY_SETS[set];
  const int nc = std::min(us.NPYCURVES, MAX_PY_CURVES);
  if (nc <= 0) return BAD_PROPERTY(run, k, "THE USER P-Y CURVE SET HOLDS NO CURVE");
  const double v = s.piles.PILE_X[g];
  const double gv = s.piles.GROUND[g];
  const double P = py.USE_FACTOR_PAIR ? py.P_FACTOR_PAIR : s.piles.P_FACTOR[g];
  const double Y = py.USE_FACTOR_PAIR ? py.Y_FACTOR_PAIR : s.piles.Y_FACTOR[g];
  if (!(Y > 0.0)) return BAD_PROPERTY(run, k, "THE Y-FACTOR OF THE PILE GROUP IS NOT POSITIVE");
  const bool moving = py.PY_PHASE == 0 && s.soil.NSMPTS > 0;
  bool warned = false;

  auto node = [&](int j, bool cap) -> int {
    const int m = j - 1;
    const double xn = w.X[NODE(m)];
    if (!cap) w.ESOIL[NODE(m)] = 0.0;
    if (xn - gv - v < 1.0e-6) return ST_OK;
    const double x = cap ? 0.99 * v : xn;
    double pd = 1.0, yd = 1.0;
    DEPTH_FACTORS_AT(s, g, xn, pd, yd);
    if (!(yd > 0.0)) return BAD_PROPERTY(run, k, "THE Y-FACTOR ALONG DEPTH IS NOT POSITIVE");
    const double yj = w.DEFL[NODE(m)];
    const double sj = moving ? std::hypot(w.SOIL_MOVE_Y[NODE(m)], w.SOIL_MOVE_Z[NODE(m)]) : 0.0;
    const double y = std::max(std::fabs(yj - sj), py.SMALL_DEFLECTION);
    int i = 1;
    while (i <= nc && us.CURVE[i].DEPTH < x) ++i;
    int lo = i - 1, hi = i;
    if (i > nc) {
      if (!warned && run.files[F_REPORT]) WRITE_F(run.files[F_REPORT], "(/,/,A)", "     P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE");
      warned = true;
      lo = hi = nc;
    } else if (i == 1 || us.CURVE[i].DEPTH == x) {
      lo = hi = i;
    }
    const double p_hi = user_p(us.CURVE[hi], y);
    const double e_hi = p_hi * P / (y * Y) * pd / yd;
    double e = e_hi, p = p_hi;
    if (lo != hi) {
      const double p_lo = user_p(us.CURVE[lo], y);
      const double e_lo = p_lo * P / (y * Y) * pd / yd;
      const double d0 = us.CURVE[lo].DEPTH, d1 = us.CURVE[hi].DEPTH;
      const double t = d1 > d0 ? (x - d0) / (d1 - d0) : 1.0;
      e = e_lo + (e_hi - e_lo) * t;
      p = p_lo + (p_hi - p_lo) * t;
    }
    if (cap) {
      w.CAP_P = p;
      return ST_OK;
    }
    w.ESOIL[NODE(m)] = e;
    w.PSOIL[NODE(m)] = p_hi * P * (yj > sj ? -1.0 : 1.0);
    w.PMOVE[NODE(m)] = moving ? sj * e : 0.0;
    return ST_OK;
  };

  const int nf = w.NFIRST[k], nl = w.NLAST[k];
  if (s.ctl.CAP_OPTION >= 1 && nf == 1) {
    const int st = node(1, true);
    if (st != ST_OK) return st;
  }
  for (int j = nf; j <= nl && j <= w.N + 1; ++j) {
    const int st = node(j, false);
    if (st != ST_OK) return st;
  }
  return ST_OK;
}

}  // namespace kestra
