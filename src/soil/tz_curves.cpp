// Axial load-transfer curves: depth points, ultimate side friction and tip
// capacity, the side-curve families and the tip curves.
#include "soil/tz_curves.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/format.h"

namespace kestra {

namespace {

// A single-precision literal widened to double: the curve constants are
// kept at the precision the curves were calibrated with.
constexpr double SP(float f) { return static_cast<double>(f); }

using POINT_VALUES = std::array<double, MAX_PROFILE_POINTS + 1>;

// Models outside 1..11 are treated as soft clay, as the lateral models do.
int normal_model(int model) { return (model >= 1 && model <= 11) ? model : 1; }

bool is_clay_side(int model) {
  return model == 1 || model == 2 || model == 3 || model == 10 || model == 11;
}
bool is_rock_side(int model) { return model == 6 || model == 9; }
bool is_sand_side(int model) { return model == 4 || model == 8; }

void bad_property(AXIAL_MESSAGE& msg, int section, const char* text) {
  msg.status = ST_BAD_PROPERTY;
  msg.SECTION = section;
  std::snprintf(msg.TEXT, sizeof msg.TEXT, "%s", text);
}

// Value of a profile property at coordinate x: linear between the points
// that bracket x; at a layer boundary (two points at one coordinate) the
// average of both sides when both are positive, otherwise the positive one;
// above the first point the first value. x below the last point only:
// 'beyond' is set when x lies below it (and 0 returned).
double profile_value(const TZ_PROFILE& s, const POINT_VALUES& V, double x, bool& beyond) {
  beyond = false;
  const int n = s.NP;
  if (n < 1) return 0.0;
  if (x > s.X[n]) {
    beyond = true;
    return 0.0;
  }
  if (x < s.X[1] || n == 1) return V[1];
  int i = 2;
  while (i < n && x > s.X[i]) ++i;
  if (x == s.X[n] && i == n) return V[n];
  if (x < s.X[i]) {
    const double x0 = s.X[i - 1], x1 = s.X[i];
    if (x1 <= x0) return V[i];
    return V[i - 1] + (x - x0) * (V[i] - V[i - 1]) / (x1 - x0);
  }
  // x == X[i]
  if (i < n && s.X[i + 1] == s.X[i]) {
    if (V[i + 1] >= 1e-20) return V[i] >= 1e-20 ? 0.5 * (V[i] + V[i + 1]) : V[i + 1];
    return V[i];
  }
  return V[i];
}

// A lookup with its own beyond-the-profile status.
int lookup(const TZ_PROFILE& s, const POINT_VALUES& V, double x, int status, double& v,
           AXIAL_MESSAGE& msg) {
  bool beyond = false;
  v = profile_value(s, V, x, beyond);
  if (!beyond) return ST_OK;
  msg.status = status;
  msg.X = x;
  msg.NPROFILE = s.NP;
  msg.XLAST = s.NP >= 1 ? s.X[s.NP] : 0.0;
  return status;
}

// Average effective unit weight from the ground surface (the first profile
// point) down to x, by the trapezoid rule over the profile segments.
int avg_unit_weight(const TZ_PROFILE& s, double x, double& v, AXIAL_MESSAGE& msg) {
  v = 0.0;
  const int n = s.NP;
  if (n < 1 || x < s.X[1]) return ST_OK;
  if (x > s.X[n]) {
    msg.status = ST_BEYOND_UNIT_WEIGHT;
    msg.X = x;
    msg.NPROFILE = n;
    msg.XLAST = s.X[n];
    return msg.status;
  }
  const POINT_VALUES& V = s.UNIT_WEIGHT;
  if (x - s.X[1] < 1e-6) {
    for (int i = 1; i <= n; ++i)
      if (V[i] > 0.0) {
        v = V[i];
        break;
      }
    return ST_OK;
  }
  double sum = 0.0;
  for (int i = 1; i < n; ++i) {
    const double a = s.X[i], b = s.X[i + 1];
    if (b - a < 1e-6) continue;
    if (x <= a) break;
    const double hi = std::min(b, x);
    const double vhi = x < b ? V[i] + (x - a) * (V[i + 1] - V[i]) / (b - a) : V[i + 1];
    sum += 0.5 * (V[i] + vhi) * (hi - a);
    if (x <= b) break;
  }
  v = sum / (x - s.X[1]);
  return ST_OK;
}

// Value of a curve at a movement: the segment of the first point at or
// beyond the movement (the first segment at or below the first point); the
// last value beyond the last point.
double curve_value(const TZ_CURVE& c, double m) {
  int j = 1;
  while (j <= TZ_POINTS && c.Z[j] < m) ++j;
  if (j > TZ_POINTS) return c.T[TZ_POINTS];
  if (j == 1) j = 2;
  const double z0 = c.Z[j - 1], z1 = c.Z[j];
  if (z1 == z0) return c.T[j];
  return c.T[j - 1] + (m - z0) * (c.T[j] - c.T[j - 1]) / (z1 - z0);
}

// Fills points 2..10 from movement and ratio lists.
void fill(TZ_CURVE& c, const float (&z)[9], double zscale, const float (&r)[9], double rscale) {
  c.T[1] = 0.0;
  c.Z[1] = 0.0;
  for (int j = 0; j < 9; ++j) {
    c.Z[j + 2] = SP(z[j]) * zscale;
    c.T[j + 2] = SP(r[j]) * rscale;
  }
}

// Movement lists (inches or ratios of the width) and ratio lists.
constexpr float CLAY_TABLE_Z_IN[9] = {0.01f, 0.02f, 0.04f, 0.06f, 0.08f, 0.12f, 0.16f, 0.5f, 10.0f};
constexpr float CLAY_TABLE_Z_M[9] = {0.000254f, 0.000508f, 0.001016f, 0.001524f, 0.002032f,
                                     0.003048f, 0.004064f,  0.0127f,   0.254f};
constexpr float CLAY_TABLE_T[9] = {0.18f, 0.38f, 0.79f, 0.97f, 1.0f, 0.97f, 0.93f, 0.93f, 0.93f};
constexpr float API_CLAY_Z[9] = {0.0016f, 0.0031f, 0.0057f, 0.008f, 0.01f,
                                 0.02f,   0.03f,   0.05f,   0.1f};
constexpr float API_CLAY_T[9] = {0.30f, 0.50f, 0.75f, 0.90f, 1.0f, 0.80f, 0.80f, 0.80f, 0.80f};
constexpr float SHAFT_Z[9] = {0.001f, 0.002f, 0.003f, 0.005f, 0.006f,
                              0.008f, 0.012f, 0.016f, 0.1f};
constexpr float SHAFT_CLAY_T[9] = {0.51f, 0.72f, 0.90f, 0.925f, 0.945f,
                                   0.955f, 0.925f, 0.90f, 0.835f};
constexpr float SHAFT_SAND_T[9] = {0.335f, 0.58f, 0.72f, 0.86f, 0.91f,
                                   0.95f,  0.965f, 0.96f, 0.95f};
constexpr float SAND_Z_IN[9] = {0.01f, 0.02f, 0.04f, 0.06f, 0.08f, 0.12f, 0.16f, 0.5f, 2.5f};

constexpr float TIP_W_IN[9] = {0.0001f, 0.005f, 0.01f, 0.05f, 0.1f, 0.2f, 0.4f, 0.8f, 5.0f};
constexpr float SHAFT_TIP_W[9] = {0.005f, 0.01f, 0.015f, 0.025f, 0.03f, 0.04f, 0.05f, 0.07f, 0.1f};
constexpr float SHAFT_SAND_Q[9] = {0.175f, 0.345f, 0.485f, 0.65f, 0.73f,
                                   0.88f,  1.015f, 1.195f, 1.46f};
constexpr float SHAFT_CLAY_Q[9] = {0.395f, 0.56f, 0.70f, 0.865f, 0.90f,
                                   0.95f,  0.97f, 0.98f, 0.99f};
constexpr float USER_TIP_W[9] = {0.002f, 0.013f, 0.042f, 0.073f, 0.1f, 0.12f, 0.15f, 0.18f, 0.2f};
constexpr float USER_TIP_Q[9] = {0.25f, 0.5f, 0.75f, 0.9f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};

constexpr double INCH = SP(0.0254f);
constexpr double DEG_PER_RAD = 180.0 / SP(3.1416f);

}  // namespace

const char* AXIAL_WARNING_TEXT(int status) {
  switch (status) {
    case ST_LS_ZERO_E50: return "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE";
    case ST_LS_ZERO_C: return "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE";
    case ST_TQ_ZERO_E50: return "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE";
    case ST_TQ_ZERO_C: return "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE";
    case ST_BEYOND_SIDE_FRICTION:
    case ST_BEYOND_SIDE_RESISTANCE: return "THE INPUT MAX. LOAD TRANSFER";
    case ST_BEYOND_TIP_FRICTION: return "THE INPUT STRENGTH CURVE, BPHI";
    default: return nullptr;
  }
}

const char* TZ_TRACE_TEXT(int use) {
  switch (use) {
    case TZ_RUNTIME: return "FMAX 2";
    case TZ_CURVE_FILE_AXIAL: return "FMAX 3";
    case TZ_TORSION: return "FMAX 4";
    case TZ_CURVE_FILE_TORSION: return "FMAX 5";
    default: return "FMAX 1";
  }
}

int TZ_DEPTH_POINTS(const TZ_PROFILE& soil, AXIAL_CURVES& out, AXIAL_MESSAGE& msg) {
  const int nl = soil.NL;
  if (nl < 1 || nl > LAYER_TABLE) {
    bad_property(msg, 0, "THE SOIL PROFILE HAS NO LAYER OR MORE LAYERS THAN THE TABLES HOLD");
    return msg.status;
  }
  // The first point sits at the coordinate origin; when the ground lies
  // above the origin it sits on the ground so that the points stay in order
  // (a point below the ground surface with the curve of a point above it
  // would drop the friction between the two).
  out.NP = 3 * nl + 2;
  out.X[1] = std::min(0.0, soil.TOP[1]);
  out.X[2] = soil.TOP[1];
  out.MODEL[1] = out.MODEL[2] = normal_model(soil.MODEL[1]);
  for (int k = 1; k <= nl; ++k) {
    const double top = soil.TOP[k] + SP(0.1f);
    const int i = 3 * k;
    out.X[i] = top;
    out.X[i + 1] = 0.5 * (top + soil.BOTTOM[k]);
    out.X[i + 2] = soil.BOTTOM[k] - 1.0;
    out.MODEL[i] = out.MODEL[i + 1] = out.MODEL[i + 2] = normal_model(soil.MODEL[k]);
  }
  return ST_OK;
}

double ADHESION_FACTOR(int units, double c, double gamma, double z) {
  const double gz = gamma * z;
  double psi = c > 0.0 ? c / gz : 0.0;  // a cohesionless point has no adhesion to scale
  if (!(psi >= 1e-10)) psi = 1e-10;     // also catches c > 0 over gamma z <= 0
  if (std::isinf(psi)) psi = 1e30;
  double alpha = psi <= 1.0 ? 0.5 / std::sqrt(psi) : 0.5 / std::pow(psi, 0.25);
  if (alpha < 0.5 && ((units == 1 && c < SP(3.47f)) || (units == 2 && c < 24.0))) alpha = 1.0;
  return alpha;
}

double SIDE_FRICTION_DRIVEN(int units, int model, double c, double gamma, double phi, double z,
                            bool& traced) {
  traced = false;
  if (z < 1e-10) z = 1.0;
  const int m = normal_model(model);
  const double alpha = ADHESION_FACTOR(units, c, gamma, z);
  // The friction term is limited at zero: a friction angle below the
  // 0.087 rad reduction would otherwise give a negative side friction.
  const double sand = SP(0.8f) * gamma * z * std::tan(std::max(phi - SP(0.087f), 0.0));
  if (is_clay_side(m)) return alpha * c;
  if (is_rock_side(m)) return SP(0.1f) * c;
  if (is_sand_side(m)) {
    traced = true;
    return sand;
  }
  if (m == 7) return sand + alpha * c;
  return 0.0;  // user-curve layer: no estimate
}

double SHAFT_BETA(int units, double zb) {
  // Length in feet. Units system 3 has no conversion of its own; it takes
  // the length unit as metres, as its side-curve shapes do.
  double zf = units == 1 ? zb / 12.0 : zb / SP(0.3048f);
  if (zf < SP(1e-7f)) zf = SP(1e-7f);
  double beta = SP(1.5f) - SP(0.135f) * std::sqrt(zf);
  return std::clamp(beta, 0.25, SP(1.2f));
}

double SIDE_FRICTION_SHAFT(int units, int model, double c, double gamma, double z, double zb) {
  const int m = normal_model(model);
  if (is_clay_side(m)) return SP(0.55f) * c;
  if (is_rock_side(m)) return SP(0.1f) * c;
  const double sand = SHAFT_BETA(units, zb) * gamma * z;
  if (is_sand_side(m)) return sand;
  if (m == 7) return sand + SP(0.55f) * c;
  return 0.0;
}

int TZ_FAMILY_OF(int pile_type, int model, double bphi) {
  const int m = normal_model(model);
  const bool sand = m == 4 || m == 7 || m == 8;
  if (pile_type == DRILLED_SHAFT) {
    if (sand) return TZ_FAMILY_SHAFT_SAND;
    // A user-curve layer with a friction angle is treated as sand (a
    // friction angle of exactly one degree counts as clay).
    if (m == 5) return bphi > 1.0 ? TZ_FAMILY_SHAFT_SAND : TZ_FAMILY_SHAFT_CLAY;
    return TZ_FAMILY_SHAFT_CLAY;
  }
  if (sand) return TZ_FAMILY_SAND_HYPERBOLIC;
  if (m == 5) return TZ_FAMILY_CLAY_API;
  return TZ_FAMILY_CLAY_TABLE;
}

double SAND_TZ_STIFFNESS(double bphi) {
  const double step = SP(1333.3f);
  if (bphi <= 28.0) return 6000.0;
  if (bphi <= 31.0) return 6000.0 + (bphi - 28.0) * step;
  if (bphi <= 32.0) return 10000.0;
  if (bphi <= 34.0) return 10000.0 + (bphi - 32.0) * step;
  if (bphi <= 35.0) return 14000.0;
  if (bphi <= 38.0) return 14000.0 + (bphi - 35.0) * step;
  return 18000.0;
}

void TZ_CURVE_OF(int family, int units, double fmax, double bphi, double width, TZ_CURVE& c) {
  switch (family) {
    case TZ_FAMILY_CLAY_TABLE:
      if (units == 1)
        fill(c, CLAY_TABLE_Z_IN, 1.0, CLAY_TABLE_T, fmax);
      else
        fill(c, CLAY_TABLE_Z_M, 1.0, CLAY_TABLE_T, fmax);
      return;
    case TZ_FAMILY_CLAY_API: fill(c, API_CLAY_Z, width, API_CLAY_T, fmax); return;
    case TZ_FAMILY_SHAFT_CLAY: fill(c, SHAFT_Z, width, SHAFT_CLAY_T, fmax); return;
    case TZ_FAMILY_SHAFT_SAND: fill(c, SHAFT_Z, width, SHAFT_SAND_T, fmax); return;
    default: break;
  }
  // Hyperbolic sand curve, worked in inches with the stiffness of the
  // friction angle; the metric form converts the friction to and from
  // pounds per square foot around it.
  if (fmax <= 1e-15) fmax = SP(0.001f);
  double k = SAND_TZ_STIFFNESS(bphi);
  c.T[1] = 0.0;
  c.Z[1] = 0.0;
  if (units == 1) {
    k = k / 144.0;
    for (int j = 0; j < 9; ++j) {
      const double z = SP(SAND_Z_IN[j]);
      c.Z[j + 2] = z;
      c.T[j + 2] = z / (1.0 / k + z / fmax);
    }
    return;
  }
  const double conv = SP(20.88f);
  const double f = fmax * conv;
  for (int j = 0; j < 9; ++j) {
    const double z = SP(SAND_Z_IN[j]);
    c.T[j + 2] = z / (1.0 / k + z / f) / conv;
    c.Z[j + 2] = z * INCH;
  }
}

double BEARING_FACTOR_NQ(double phi_deg) {
  const double p = phi_deg;
  if (p <= 20.0) return 8.0;
  if (p <= 25.0) return 8.0 + (p - 20.0) * 4.0 / 5.0;
  if (p <= 30.0) return 12.0 + (p - 25.0) * 8.0 / 5.0;
  if (p <= 35.0) return 20.0 + (p - 30.0) * 20.0 / 5.0;
  if (p <= 40.0) return 40.0 + (p - 35.0) * 10.0 / 5.0;
  return 50.0;
}

double SHAFT_TIP_UNIT(int units, double phi) {
  // Units system 3 takes the metric values, as its side curves do.
  if (phi < SP(0.5236f)) return SP(0.1f);
  if (phi < SP(0.628f)) return units == 1 ? SP(222.2f) : 1530.0;
  return units == 1 ? SP(555.56f) : 3830.0;
}

int QW_FAMILY_OF(int pile_type, int tip_model) {
  const int m = normal_model(tip_model);
  const bool sand = m == 4 || m == 7 || m == 8 || m == 9 || m == 11;
  if (pile_type == DRILLED_SHAFT) return sand ? QW_FAMILY_SAND_SHAFT : QW_FAMILY_CLAY_SHAFT;
  if (sand) return QW_FAMILY_SAND_DRIVEN;
  return m == 5 ? QW_FAMILY_USER_DRIVEN : QW_FAMILY_CLAY_DRIVEN;
}

int QW_CURVE_OF(int family, int units, double qmax, double width, double tip_width, double e50,
                double bphi_last, int use, TZ_CURVE& c, AXIAL_MESSAGE& msg) {
  c.T[1] = 0.0;
  c.Z[1] = 0.0;
  switch (family) {
    case QW_FAMILY_SAND_SHAFT: fill(c, SHAFT_TIP_W, width, SHAFT_SAND_Q, qmax); return ST_OK;
    case QW_FAMILY_CLAY_SHAFT: fill(c, SHAFT_TIP_W, width, SHAFT_CLAY_Q, qmax); return ST_OK;
    case QW_FAMILY_USER_DRIVEN: fill(c, USER_TIP_W, width, USER_TIP_Q, qmax); return ST_OK;
    case QW_FAMILY_SAND_DRIVEN: {
      if (!(width > 0.0)) {
        bad_property(msg, 0, "THE PILE WIDTH IS NOT POSITIVE: NO TIP CURVE");
        return msg.status;
      }
      const double e = bphi_last <= 31.0 ? 0.5 : (bphi_last <= 38.0 ? SP(0.333f) : 0.25);
      const double wscale = units == 2 ? INCH : 1.0;
      for (int j = 0; j < 9; ++j) {
        const double w = SP(TIP_W_IN[j]) * wscale;
        c.Z[j + 2] = w;
        c.T[j + 2] = qmax * std::pow(w / (SP(0.05f) * width), e);
      }
      return ST_OK;
    }
    default: break;
  }
  // Driven pile in clay: square-root law to 4 w50, then constant.
  const bool torsion = use == TZ_TORSION;
  if (std::fabs(e50) < 1e-14) {
    msg.status = torsion ? ST_TQ_ZERO_E50 : ST_LS_ZERO_E50;
    return msg.status;
  }
  if (std::fabs(qmax) < 1e-14) {
    msg.status = torsion ? ST_TQ_ZERO_C : ST_LS_ZERO_C;
    return msg.status;
  }
  if (!(tip_width > 0.0)) {
    bad_property(msg, 0, "THE WIDTH OF THE PILE AT ITS TIP IS NOT POSITIVE: NO TIP CURVE");
    return msg.status;
  }
  const double w50 = 2.0 * tip_width * e50;
  for (int j = 2; j <= 9; ++j) {
    c.Z[j] = 0.5 * (j - 1) * w50;
    c.T[j] = 0.5 * qmax * std::sqrt(c.Z[j] / w50);
  }
  c.Z[10] = 40.0 * w50;
  c.T[10] = qmax;
  return ST_OK;
}

namespace {

// FMAX, BPHI and the side curve at coordinate x (one depth point).
// at_ground: one of the two points at the ground surface, which carry
// practically nothing whatever the input or the estimate.
int side_curve_at(const TZ_PROFILE& soil, int pile_type, int model, double x, double width,
                  const AXIAL_GROUP& group, int units, int use, int point, bool at_ground,
                  double& fmax_out, double& bphi_out, bool& traced, TZ_CURVE& curve,
                  AXIAL_MESSAGE& msg, FILE* trace) {
  traced = false;
  double fmax = 0.0;
  if (lookup(soil, soil.SIDE_FRICTION, x, ST_BEYOND_SIDE_FRICTION, fmax, msg)) return msg.status;
  if (fmax < 1e-10 && model != 5) {
    const double z = x - group.GROUND - group.VERT;
    double c = 0.0, gamma = 0.0, phi = 0.0;
    if (lookup(soil, soil.COHESION, x, ST_BEYOND_COHESION, c, msg)) return msg.status;
    if (avg_unit_weight(soil, x, gamma, msg)) return msg.status;
    if (lookup(soil, soil.PHI, x, ST_BEYOND_FRICTION, phi, msg)) return msg.status;
    // The beta factor of a drilled shaft is taken at the point's
    // coordinate; the effective stress at its depth below the ground.
    fmax = pile_type == DRIVEN_PILE ? SIDE_FRICTION_DRIVEN(units, model, c, gamma, phi, z, traced)
                                    : SIDE_FRICTION_SHAFT(units, model, c, gamma, z, x);
    if (traced && trace) WRITE_LIST(trace, TZ_TRACE_TEXT(use), point, fmax);
  }
  if (at_ground) fmax = 1e-6;
  double phi = 0.0;
  if (lookup(soil, soil.PHI, x, ST_BEYOND_TIP_FRICTION, phi, msg)) return msg.status;
  const double bphi = phi * DEG_PER_RAD;
  TZ_CURVE_OF(TZ_FAMILY_OF(pile_type, model, bphi), units, fmax, bphi, width, curve);
  fmax_out = fmax;
  bphi_out = bphi;
  return ST_OK;
}

}  // namespace

int GENERATE_SIDE_CURVES(const TZ_PROFILE& soil, const AXIAL_PILE& pile, const AXIAL_GROUP& group,
                         int units, int use, AXIAL_CURVES& out, AXIAL_MESSAGE& msg, FILE* trace) {
  msg = AXIAL_MESSAGE{};
  if (pile.PILE_TYPE != DRIVEN_PILE && pile.PILE_TYPE != DRILLED_SHAFT) {
    bad_property(msg, 0, "THE PILE TYPE IS NEITHER 1 (DRIVEN PILE) NOR 2 (DRILLED SHAFT)");
    return msg.status;
  }
  if (!(pile.WIDTH > 0.0)) {
    bad_property(msg, 1, "THE WIDTH OF THE FIRST PILE SECTION IS NOT POSITIVE");
    return msg.status;
  }
  if (TZ_DEPTH_POINTS(soil, out, msg) != ST_OK) return msg.status;
  out.WIDTH = pile.WIDTH;
  for (int i = 1; i <= out.NP; ++i) {
    double fmax = 0.0, bphi = 0.0;
    if (side_curve_at(soil, pile.PILE_TYPE, out.MODEL[i], out.X[i], pile.WIDTH, group, units, use, i,
                      i <= 2, fmax, bphi, out.FMAX_TRACED[i], out.TZ[i], msg, trace))
      return msg.status;
    out.FMAX[i] = fmax;
    out.BPHI[i] = bphi;
    out.POS[i] = out.X[i] - group.VERT;
  }
  return ST_OK;
}

int TZ_SIDE_CURVE_AT(const TZ_PROFILE& soil, int pile_type, int model, double x, double width,
                     const AXIAL_GROUP& group, int units, int use, int point, double& fmax,
                     double& bphi, TZ_CURVE& curve, AXIAL_MESSAGE& msg, FILE* trace) {
  msg = AXIAL_MESSAGE{};
  bool traced = false;
  return side_curve_at(soil, pile_type, normal_model(model), x, width, group, units, use, point, false,
                       fmax, bphi, traced, curve, msg, trace);
}

int GENERATE_TIP_CURVE(const TZ_PROFILE& soil, const AXIAL_PILE& pile, const AXIAL_GROUP& group,
                       int units, int direction, int use, AXIAL_CURVES& out, AXIAL_MESSAGE& msg) {
  msg = AXIAL_MESSAGE{};
  const double xt = group.VERT + pile.LENGTH;
  const double zt = xt - group.GROUND - group.VERT;
  // The layer holding the tip: the first whose bottom lies below it; a tip
  // at or below the bottom of the deepest layer takes the deepest layer.
  int k = 1;
  while (k < soil.NL && !(soil.BOTTOM[k] > xt)) ++k;
  int model = normal_model(soil.MODEL[k]);
  double c = 0.0, phi = 0.0, e50 = 0.0, qunit = 0.0;
  if (lookup(soil, soil.COHESION, xt, ST_BEYOND_COHESION, c, msg)) return msg.status;
  if (lookup(soil, soil.PHI, xt, ST_BEYOND_FRICTION, phi, msg)) return msg.status;
  if (c > 0.1 && phi < 1e-4) model = 3;
  const double at = direction == DIR_PULL_OUT ? SP(1e-4f) : pile.TIP_AREA;
  bool beyond = false;
  e50 = profile_value(soil, soil.E50, xt, beyond);
  if (lookup(soil, soil.TIP_RESISTANCE, xt, ST_BEYOND_SIDE_RESISTANCE, qunit, msg))
    return msg.status;
  double qmax = qunit * at;
  if (model == 1 || model == 2 || model == 3 || model == 10) {
    if (qmax < 1e-10) qmax = 9.0 * c * at;
  } else {
    if (qmax < 1e-10) {
      if (pile.PILE_TYPE == DRIVEN_PILE) {
        double gamma = 0.0;
        if (avg_unit_weight(soil, xt, gamma, msg)) return msg.status;
        qmax = zt * gamma * BEARING_FACTOR_NQ(phi * SP(57.296f)) * at;
      } else {
        qmax = phi < SP(0.5236f) ? SP(0.1f) : at * SHAFT_TIP_UNIT(units, phi);
      }
    }
    if (model == 5 || model == 6 || model == 9 || model == 11) {
      qmax = qunit * at;
      if (qmax < 1e-10) qmax = 9.0 * c * at;
    }
  }
  out.DIRECTION = direction;
  out.TIP_MODEL = model;
  out.TIP_AREA = at;
  out.QMAX = qmax;
  const double bphi_last = out.NP >= 1 ? out.BPHI[out.NP] : 0.0;
  return QW_CURVE_OF(QW_FAMILY_OF(pile.PILE_TYPE, model), units, qmax, pile.WIDTH,
                     pile.TIP_WIDTH, e50, bphi_last, use, out.QW, msg);
}

int GENERATE_TZ_CURVES(const TZ_PROFILE& soil, const AXIAL_PILE& pile, const AXIAL_GROUP& group,
                       int units, int direction, int use, AXIAL_CURVES& out, AXIAL_MESSAGE& msg,
                       FILE* trace) {
  if (GENERATE_SIDE_CURVES(soil, pile, group, units, use, out, msg, trace)) return msg.status;
  return GENERATE_TIP_CURVE(soil, pile, group, units, direction, use, out, msg);
}

int ESTIMATE_UNIT_RESISTANCE(const TZ_PROFILE& soil, int units, int model, double x,
                             UNIT_ESTIMATE& est, AXIAL_MESSAGE& msg) {
  est = UNIT_ESTIMATE{};
  msg = AXIAL_MESSAGE{};
  int m = normal_model(model);
  double z = x - soil.TOP[1];
  double side = 0.0, gamma = 0.0, phi = 0.0, c = 0.0;
  bool have_gamma = false;
  if (lookup(soil, soil.SIDE_FRICTION, x, ST_BEYOND_SIDE_FRICTION, side, msg)) return msg.status;
  if (side < 1e-10) {
    est.SIDE_FLAG = 1;
    if (avg_unit_weight(soil, x, gamma, msg)) return msg.status;
    have_gamma = true;
    if (lookup(soil, soil.PHI, x, ST_BEYOND_FRICTION, phi, msg)) return msg.status;
    if (lookup(soil, soil.COHESION, x, ST_BEYOND_COHESION, c, msg)) return msg.status;
    if (z < 1e-10) z = 1.0;
    bool traced = false;
    est.SIDE_DRIVEN = m == 5 ? side : SIDE_FRICTION_DRIVEN(units, m, c, gamma, phi, z, traced);
    est.SIDE_SHAFT = SIDE_FRICTION_SHAFT(units, m, c, gamma, z, z);
  }
  if (lookup(soil, soil.COHESION, x, ST_BEYOND_COHESION, c, msg)) return msg.status;
  if (lookup(soil, soil.PHI, x, ST_BEYOND_FRICTION, phi, msg)) return msg.status;
  if (c > 0.1 && phi < 1e-4) m = 3;
  double tip = 0.0;
  if (lookup(soil, soil.TIP_RESISTANCE, x, ST_BEYOND_SIDE_RESISTANCE, tip, msg)) return msg.status;
  if (tip < 1e-10) {
    if (m == 4 || m == 8) {
      if (!have_gamma && avg_unit_weight(soil, x, gamma, msg)) return msg.status;
      est.TIP_FLAG = 1;
      est.TIP_DRIVEN = z * gamma * BEARING_FACTOR_NQ(phi * SP(57.296f));
      est.TIP_SHAFT = SHAFT_TIP_UNIT(units, phi);
    } else if (m != 7) {
      est.TIP_FLAG = 1;
      est.TIP_DRIVEN = est.TIP_SHAFT = 9.0 * c;
    }
  }
  return ST_OK;
}

double TZ_SIDE_FRICTION(const AXIAL_CURVES& curves, double pos, double move) {
  const int n = curves.NP;
  if (n < 1) return 0.0;
  int i = 1;
  while (i <= n && !(curves.POS[i] > pos)) ++i;
  if (i > n) return curve_value(curves.TZ[n], move);
  if (i == 1) return curve_value(curves.TZ[1], move);
  const double p0 = curves.POS[i - 1], p1 = curves.POS[i];
  const double t0 = curve_value(curves.TZ[i - 1], move);
  if (pos == p0) return t0;
  const double t1 = curve_value(curves.TZ[i], move);
  return t0 + (pos - p0) * (t1 - t0) / (p1 - p0);
}

double QW_TIP_FORCE(const TZ_CURVE& qw, double move) {
  if (move <= qw.Z[1]) return 0.0;
  int j = 2;
  while (j <= TZ_POINTS && qw.Z[j] < move) ++j;
  if (j > TZ_POINTS) j = TZ_POINTS;  // beyond the last point: the last segment extended
  const double w0 = qw.Z[j - 1], w1 = qw.Z[j];
  if (w1 == w0) return qw.T[j];
  return qw.T[j - 1] + (move - w0) * (qw.T[j] - qw.T[j - 1]) / (w1 - w0);
}

}  // namespace kestra
