// p-y curves of the sands: sand (wedge and flow resistance with the A and B
// tables), sand by API criteria (hyperbolic tangent) and liquefied sand.
#include <algorithm>
#include <cmath>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "soil/py_models.h"

namespace kestra {

namespace {

// Breakpoints x/b and the coefficients of the sand tables.
constexpr float ZB[10] = {0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 4.0f, 5.0f, 6.0f};
constexpr float A_STATIC[10] = {2.83f, 2.48f, 2.11f, 1.76f, 1.48f, 1.23f, 1.06f, 0.90f, 0.88f, 0.88f};
constexpr float B_STATIC[10] = {2.14f, 1.83f, 1.54f, 1.27f, 1.05f, 0.86f, 0.71f, 0.53f, 0.50f, 0.50f};
constexpr float A_CYCLIC[10] = {0.75f, 0.93f, 1.07f, 1.11f, 1.03f, 0.98f, 0.94f, 0.90f, 0.88f, 0.88f};
constexpr float B_CYCLIC[10] = {0.53f, 0.72f, 0.83f, 0.86f, 0.82f, 0.77f, 0.70f, 0.55f, 0.55f, 0.55f};

// The segment ending at the first breakpoint above x/b (the last segment
// from x/b = 6 on, where both ends are equal).
double sand_table(const float (&t)[10], double zb) {
  int i = 1;
  while (i < 9 && !(double(ZB[i]) > zb)) ++i;
  if (zb < 0.0) zb = 0.0;
  const double x0 = ZB[i - 1], x1 = ZB[i];
  return double(t[i - 1]) + (double(t[i]) - double(t[i - 1])) * (zb - x0) / (x1 - x0);
}

const double K0 = F32(0.4f);
const double A_DEEP = F32(0.88f);

// The framed warning of a zero friction angle.
void zero_phi_warning(RUN& run, const char* soil) {
  const std::string line = std::string("THE FRICTION ANGLE IS 0 FOR ") + soil + " ACCORING TO THE INPUT";
  for (FILE* f : {run.files[F_RUNTIME], run.files[F_REPORT]}) {
    if (!f) continue;
    WRITE_F(f, "()");
    WRITE_F(f, "(7X,A)", "--------------------WARNING----------------------");
    WRITE_F(f, "(7X,A)", line);
    WRITE_F(f, "(7X,A)", "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.");
  }
}

// Depth of the API sand and the silt: the equivalent depth below layer 1,
// measured from the ground surface when the upper layers lie above the
// coordinate origin.
double api_depth(RUN& run, const PILE_WORK& w, const PY_NODE& n) {
  if (n.k == 1) return n.zt;
  const SOIL_DATA& s = run.store.soil;
  if (s.LAYER_BOTTOM[1] < -1.0e-8 || (s.NL >= 2 && s.LAYER_BOTTOM[2] < -1.0e-8)) return n.x - (n.g + n.v);
  return EQUIVALENT_MODEL_DEPTH(run, w, n);
}

double api_A(bool cyclic, double z, double b) {
  if (cyclic) return F32(0.9f);
  return std::max(3.0 - F32(0.8f) * z / b, double(F32(0.9f)));
}

}  // namespace

double SAND_TABLE_A(bool cyclic, double zb) { return sand_table(cyclic ? A_CYCLIC : A_STATIC, zb); }
double SAND_TABLE_B(bool cyclic, double zb) { return sand_table(cyclic ? B_CYCLIC : B_STATIC, zb); }

PY_WEDGE WEDGE_OF(double phi, double pi) {
  PY_WEDGE q;
  q.phi = phi;
  q.tanphi = std::tan(phi);
  q.alpha = phi / 2.0;
  q.beta = pi / 4.0 + phi / 2.0;
  q.tana = std::tan(q.alpha);
  q.tanb = std::tan(q.beta);
  q.sinb = std::sin(q.beta);
  q.cosa = std::cos(q.alpha);
  q.K0 = K0;
  const double t = std::tan(pi / 4.0 - phi / 2.0);
  q.Ka = t * t;
  q.Kp = q.tanb * q.tanb;
  q.C1 = q.tanb * (q.K0 * ((1.0 / q.cosa + 1.0) * q.tanphi * q.sinb - q.tana) + q.Kp * q.tana);
  q.C2 = q.Kp - q.Ka;
  q.C3 = (q.K0 * q.tanphi + q.Kp) * q.Kp * q.Kp - q.Ka;
  return q;
}

double SAND_PST(const PY_WEDGE& q, double gamma, double b, double z) {
  const double tbf = std::tan(q.beta - q.phi);
  return gamma * z *
         (q.K0 * z * q.tanphi * q.sinb / (tbf * q.cosa) + q.tanb / tbf * (b + z * q.tanb * q.tana) +
          q.K0 * z * q.tanb * (q.tanphi * q.sinb - q.tana) - q.Ka * b);
}

double SAND_PSD(const PY_WEDGE& q, double gamma, double b, double zf) {
  const double t4 = std::pow(q.tanb, 4.0);
  return q.Ka * b * gamma * zf * (t4 * t4 - 1.0) + q.K0 * b * gamma * zf * q.tanphi * t4;
}

void SAND_SHAPE(PY_CURVE& c, double pu, double pm, double esi, double z) {
  c.pu = pu;
  c.pm = pm;
  c.esi = esi;
  c.E0 = esi;
  c.ym = c.b / 60.0;
  c.yu = 3.0 * c.b / 80.0;
  c.slope = (pu - pm) / (c.yu - c.ym);
  c.inv_n = 1.0;
  c.cpar = 0.0;
  if (z > 0.0) {
    const double n = pm / (c.slope * c.ym);
    const double C = pm / std::pow(c.ym, 1.0 / n);
    const double yk = std::pow(C / esi, n / (n - 1.0));
    if (std::isfinite(n) && std::isfinite(C) && std::isfinite(yk) && n != 0.0) {
      c.inv_n = 1.0 / n;
      c.cpar = C;
      c.yk = yk;
    } else {
      // No parabola (pm = 0, pm = pu or no initial modulus): the initial
      // line runs to ym and the straight segment follows.
      c.yk = c.ym;
    }
  } else {
    c.yk = 2.0 * c.b;
  }
}

double P_SAND_SHAPE(const PY_CURVE& c, double y) {
  double p;
  if (y <= c.yk && y < c.ym)
    p = c.esi * y;
  else if (y < c.ym)
    p = c.cpar * std::pow(y, c.inv_n);
  else if (y < c.yu)
    p = c.pm + c.slope * (y - c.ym);
  else
    p = c.pu;
  return std::min(p, c.esi * y);
}

// --- Sand.

int PREPARE_SAND(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c) {
  int st = ST_OK;
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  c.phi = PHI_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  if (!(c.phi >= 1.0e-10)) return BAD_PROPERTY(run, n.k, "FRICTION ANGLE OF THE SAND IS ZERO");
  const double k = SUBGRADE_MODULUS(run.store, n.x);
  const double b = n.b, g = c.gamma;
  const PY_WEDGE q = WEDGE_OF(c.phi, run.store.rw.PI);
  const bool cyc = c.cyclic;

  double S = 0.0;
  if (HEQ_NEEDED(run, w, n, S)) {
    double h = 0.0;
    const double D = q.C3;
    if (S > 0.0 && q.C1 > 0.0) {
      const double zt = (D - q.C2) * b / q.C1;
      auto pu = [&](double z) {
        return SAND_TABLE_A(cyc, z / b) * g * b * b * (q.C1 * (z / b) * (z / b) + q.C2 * z / b);
      };
      h = HEQ_STEPPED(S, zt, 50, pu, A_DEEP * g * b * D * n.zt);
    }
    HEQ_STORE(run, w, n, h);
  }
  c.z = EQUIVALENT_MODEL_DEPTH(run, w, n);
  c.pst = SAND_PST(q, g, b, c.z);
  c.psd = SAND_PSD(q, g, b, n.zt);
  const double ps = std::min(c.pst, c.psd);
  c.A = SAND_TABLE_A(cyc, c.z / b);
  c.B = SAND_TABLE_B(cyc, c.z / b);
  SAND_SHAPE(c, c.A * ps, c.B * ps, k * c.z, c.z);
  PUSUM_STANDARD(run, w, n, c.pu, c.pu);
  if (n.last) w.PUSUM[n.k] += (n.bottom - n.x) * c.pu;
  return ST_OK;
}

// --- Sand by API criteria.

int PREPARE_API_SAND(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c) {
  int st = ST_OK;
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  int phi_status = ST_OK;  // beyond the profile: phi 0, caught below
  c.phi = PHI_LOOKUP(run, n.x, phi_status);
  (void)COHESION_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  (void)PROFILE_VALUE(run.store, SP_E50, n.x);
  if (c.phi < 1.0e-10 && !n.first) {
    zero_phi_warning(run, "SAND");
    return ST_SAND_ZERO_PHI;
  }
  const double b = n.b, g = c.gamma;
  const PY_WEDGE q = WEDGE_OF(c.phi, run.store.rw.PI);
  const bool cyc = c.cyclic;

  double S = 0.0;
  if (HEQ_NEEDED(run, w, n, S)) {
    double h = 0.0;
    double z1 = n.zt;
    if (z1 < 1.0e-7) z1 = n.x - (n.g + n.v);
    if (S > 0.0 && q.C1 > 0.0) {
      const double zt = (q.C3 - q.C2) * b / q.C1;
      auto pu = [&](double z) {
        return api_A(cyc, z, b) * g * b * b * (q.C1 * (z / b) * (z / b) + q.C2 * z / b);
      };
      h = HEQ_STEPPED(S, zt, 50, pu, A_DEEP * g * b * q.C3 * z1);
    }
    HEQ_STORE(run, w, n, h);
  }
  const double z = api_depth(run, w, n);
  c.z = z;
  c.pst = (q.C1 * z + q.C2 * b) * g * z;
  c.psd = q.C3 * b * g * z;
  const bool deep = q.C1 > 0.0 && z > b * (q.C3 - q.C2) / q.C1;
  c.pu = deep ? c.psd : c.pst;
  c.A = api_A(cyc, z, b);
  c.kz = SUBGRADE_MODULUS(run.store, n.x) * z;
  c.E0 = c.kz;
  c.ym = b / 60.0;
  c.yu = 3.0 * b / 80.0;
  const double apu = c.A * c.pu;
  PUSUM_STANDARD(run, w, n, apu, apu);
  if (n.last) w.PUSUM[n.k] += (n.bottom - n.x) * apu;
  const double surface = n.g + n.v;
  if (n.k == 1 && run.store.py.GROUND_NOW < -1.0e-5)
    w.PUSUM[1] = 0.5 * (run.store.soil.LAYER_BOTTOM[1] - surface) * apu;
  return ST_OK;
}

double P_API_SAND(const PY_CURVE& c, double y) {
  if (c.z < 1.0e-10) return 0.0;
  const double apu = c.A * c.pu;
  if (!(apu > 0.0)) return 0.0;
  return apu * std::tanh(c.kz * y / apu);
}

// --- Liquefied sand.

int PREPARE_LIQUEFIED_SAND(RUN& run, PILE_WORK& w, const PY_NODE& n, PY_CURVE& c, const PY_FACTORS&) {
  STORE& s = run.store;
  int st = ST_OK;
  c.gamma = AVG_UNIT_WEIGHT(run, n.x, st);
  if (st != ST_OK) return st;
  (void)COHESION_LOOKUP(run, n.x, st);
  if (st != ST_OK) return st;
  const double b = n.b;
  double zl = n.x - n.top;
  if (s.soil.LAYER_BOTTOM[1] < -1.0e-10) zl = n.x - s.py.GROUND_NOW;
  if (zl <= 1.0e-7) zl = 1.0e-4;
  c.z = zl;
  s.py.SMALL_DEFLECTION = F32(2.0e-5f) * b;
  const bool english = s.ctl.UNITS_SYSTEM == 1;
  const double sigma = c.gamma * zl;
  double sv, bm;
  if (english) {
    sv = sigma / F32(0.036f) * F32(0.0254f) + 1.0;
    bm = b * F32(0.0254f);
  } else {
    sv = sigma / 10.0 + 1.0;
    bm = b;
  }
  c.conv = CONV_LIQUEFIED;
  c.la = F32(3.0e-7f) * std::pow(sv, F32(6.05f));
  c.lb = F32(2.80f) * std::pow(sv, F32(0.11f));
  c.lc = F32(2.85f) * std::pow(sv, -F32(0.41f));
  c.pd = F32(3.81f) * std::log(bm) + F32(5.6f);
  if (c.pd < 0.0) {
    // Below about 0.23 m the width term turns negative, which would make
    // the soil pull the pile: no resistance, and a warning for the layer.
    c.pd = 0.0;
    if (n.k >= 1 && n.k <= LAYER_TABLE + 1 && !s.py.PD_WARNED[n.k]) {
      s.py.PD_WARNED[n.k] = true;
      WARN_BOTH(run, "LIQUEFIED SAND LAYER " + std::to_string(n.k) +
                         ": THE PILE WIDTH IS BELOW THE RANGE OF THE MODEL, NO RESISTANCE IS USED");
    }
  }
  c.yscale = english ? 25.4 : 1000.0;
  c.mult = english ? F32(5.7143f) : 1.0;
  c.pcap = english ? 85.0 : 15.0;
  c.units1 = english ? 1.0 : 0.0;
  c.pu = c.la * std::pow(c.lb * 0.5 * b * c.yscale, c.lc) * c.pd * c.mult;
  // The first of the default deflections (1.34 mm), used for y = 0.
  const double first_mm = std::pow(10.0, double(F32(0.12800537f)));
  c.yfirst = english ? first_mm / 25.4 : first_mm / 1000.0;
  if (!n.first) w.PUSUM[n.k] += (c.pu + s.py.PU_PREV_LIQUEFIED) * 0.5 * n.h;
  if (n.last) w.PUSUM[n.k] += (n.bottom - n.x) * c.pu;
  s.py.PU_PREV_LIQUEFIED = c.pu;
  return ST_OK;
}

double P_LIQUEFIED_SAND(const PY_CURVE& c, double y) {
  double p = c.la * std::pow(c.lb * y * c.yscale, c.lc) * c.pd * c.mult;
  p = std::min(p, c.pcap);
  return std::min(p, c.pu);
}

}  // namespace kestra
