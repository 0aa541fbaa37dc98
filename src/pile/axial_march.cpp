// The load-transfer march from the tip, the load-settlement branches of a
// pile property and the runtime iteration on the tip movement.
#include "pile/axial_march.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/format.h"

namespace kestra {

namespace {

constexpr double SP(float f) { return static_cast<double>(f); }

void bad_pile(AXIAL_MESSAGE& msg, int section, const char* text) {
  msg.status = ST_BAD_PROPERTY;
  msg.SECTION = section;
  std::snprintf(msg.TEXT, sizeof msg.TEXT, "%s", text);
}

double start_value(const AXIAL_PILE& p, int which, int e) {
  return which == 0 ? p.EA_START[e] : p.GJ_START[e];
}
double end_value(const AXIAL_PILE& p, int which, int e) {
  return which == 0 ? p.EA_END[e] : p.GJ_END[e];
}

}  // namespace

double SECTION_RIGIDITY(const AXIAL_PILE& pile, int which, double pos) {
  const int n = pile.NSEC;
  if (n < 1) return 0.0;
  // Entries j = 1 .. 2n: (start, value at start) and (end, value at end) of
  // every section in turn.
  auto position = [&](int j) { return (j & 1) ? pile.SEC_START[(j + 1) / 2] : pile.SEC_END[j / 2]; };
  auto value = [&](int j) {
    return (j & 1) ? start_value(pile, which, (j + 1) / 2) : end_value(pile, which, j / 2);
  };
  const int last = 2 * n;
  int j = 1;
  while (j <= last && position(j) < pos) ++j;
  if (j > last) return value(last);
  if (j == 1) return value(1);
  const double p0 = position(j - 1), p1 = position(j);
  if (!(p1 > p0)) return value(j);
  return value(j - 1) + (pos - p0) * (value(j) - value(j - 1)) / (p1 - p0);
}

int CHECK_MARCH_PILE(const AXIAL_PILE& pile, int which, AXIAL_MESSAGE& msg) {
  msg = AXIAL_MESSAGE{};
  if (pile.INC < 1 || pile.INC > MAX_INCREMENTS) {
    bad_pile(msg, 0, "THE NUMBER OF INCREMENTS OF THE PILE IS OUTSIDE 1 .. 100");
    return msg.status;
  }
  if (!(pile.LENGTH > 0.0)) {
    bad_pile(msg, 0, "THE PILE LENGTH IS NOT POSITIVE");
    return msg.status;
  }
  if (!(pile.WIDTH > 0.0)) {
    bad_pile(msg, 1, "THE WIDTH OF THE FIRST PILE SECTION IS NOT POSITIVE");
    return msg.status;
  }
  if (pile.NSEC < 1 || pile.NSEC > MAX_SECTIONS) {
    bad_pile(msg, 0, "THE PILE HAS NO SECTION");
    return msg.status;
  }
  // The march divides by the rigidity interpolated between the section
  // ends: every end must be positive.
  for (int e = 1; e <= pile.NSEC; ++e) {
    if (start_value(pile, which, e) > 0.0 && end_value(pile, which, e) > 0.0) continue;
    char text[120];
    std::snprintf(text, sizeof text, "THE %s OF PILE SECTION %d IS NOT POSITIVE",
                  which == 0 ? "AXIAL RIGIDITY EA" : "TORSIONAL RIGIDITY GJ", e);
    bad_pile(msg, e, text);
    return msg.status;
  }
  return ST_OK;
}

int MARCH_FROM_TIP(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, int which, double arm,
                   double base_force, double base_move, AXIAL_MARCH& m, AXIAL_MESSAGE& msg) {
  if (CHECK_MARCH_PILE(pile, which, msg)) return msg.status;
  const int n = pile.INC;
  const double dl = pile.LENGTH / n;
  const double perimeter = SP(3.1416f) * pile.WIDTH;
  m.N = n;
  m.DL = dl;
  m.PASS_LIMITED = 0;
  m.P[1] = base_force;
  m.W[1] = base_move;
  for (int k = 1; k <= n; ++k) {
    const double s = pile.LENGTH - (k - 0.5) * dl;
    const double rigidity = SECTION_RIGIDITY(pile, which, s);
    const double pk = m.P[k], wk = m.W[k];
    double mid = wk;
    int pass = 0;
    for (;;) {
      const double t = TZ_SIDE_FRICTION(curves, s, mid * arm);
      const double f = t * perimeter * dl * arm;
      m.P[k + 1] = pk + f;
      m.W[k + 1] = wk + (0.5 * f + pk) * dl / rigidity;
      const double next = wk + (((m.P[k + 1] + pk) / 2.0 + pk) / 2.0) * (dl / 2.0) / rigidity;
      if (std::fabs(next - mid) <= MARCH_TOLERANCE) break;
      if (++pass >= MARCH_MAX_PASSES) {
        ++m.PASS_LIMITED;  // the last pass stands
        break;
      }
      mid = next;
    }
  }
  return ST_OK;
}

int MARCH_AXIAL(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, double w_tip, AXIAL_MARCH& m,
                AXIAL_MESSAGE& msg) {
  return MARCH_FROM_TIP(pile, curves, 0, 1.0, QW_TIP_FORCE(curves.QW, w_tip), w_tip, m, msg);
}

void AXIAL_IMPOSED_MOVEMENTS(int units, double width, std::array<double, LS_MOVEMENTS + 1>& w) {
  static constexpr float BASE[LS_MOVEMENTS] = {0.0001f, 0.001f, 0.005f, 0.01f, 0.05f,
                                               0.1f,    0.5f,   1.0f,   2.0f};
  const double scale = units == 2 ? SP(0.0254f) : 1.0;
  w[0] = 0.0;
  for (int j = 1; j <= LS_MOVEMENTS; ++j) w[j] = SP(BASE[j - 1]) * scale;
  // The last movement is at least 5 % of the width (compared in the run's
  // length unit).
  const double wide = SP(0.05f) * width;
  if (wide > w[LS_MOVEMENTS]) w[LS_MOVEMENTS] = wide;
}

int AXIAL_LOAD_SETTLEMENT(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, int units,
                          int direction, AXIAL_LS_PASS& pass, HEAD_CURVE& head,
                          AXIAL_MESSAGE& msg) {
  pass.DIRECTION = direction;
  pass.SIGN = direction == DIR_PULL_OUT ? -1.0 : 1.0;
  pass.PASS_LIMITED = 0;
  AXIAL_IMPOSED_MOVEMENTS(units, pile.WIDTH, pass.IMPOSED);
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    if (MARCH_AXIAL(pile, curves, pass.IMPOSED[j], pass.RUN[j], msg)) return msg.status;
    pass.PASS_LIMITED += pass.RUN[j].PASS_LIMITED;
  }
  const double sg = pass.SIGN;
  for (int j = 1; j <= LS_MOVEMENTS; ++j) {
    const int i = direction == DIR_PULL_OUT ? LS_MOVEMENTS + 1 - j : LS_MOVEMENTS + 1 + j;
    const AXIAL_MARCH& r = pass.RUN[j];
    head.TOP_MOVE[i] = sg * r.TOP_MOVE();
    head.TOP_LOAD[i] = sg * r.TOP_LOAD();
    head.TIP_MOVE[i] = sg * r.TIP_MOVE();
    head.TIP_FORCE[i] = sg * r.TIP_FORCE();
  }
  const int o = LS_MOVEMENTS + 1;
  head.TOP_MOVE[o] = head.TOP_LOAD[o] = head.TIP_MOVE[o] = head.TIP_FORCE[o] = 0.0;
  head.NPTS = HEAD_CURVE_POINTS;
  return ST_OK;
}

namespace {

// One march at |w| into the node arrays, signed by w: a pulled pile (w <= 0)
// gets negative forces and movements. Returns the signed top movement.
int march_into(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, double w, AXIAL_MARCH& m,
               AXIAL_NODES& nodes, AXIAL_SOLUTION& sol, double& top, AXIAL_MESSAGE& msg) {
  const double tip = std::fabs(w);
  // Below the first tip-curve point the tip carries nothing.
  const double q = tip <= curves.QW.Z[1] ? 0.0 : QW_TIP_FORCE(curves.QW, tip);
  if (MARCH_FROM_TIP(pile, curves, 0, 1.0, q, tip, m, msg)) return msg.status;
  ++sol.MARCHES;
  sol.PASS_LIMITED += m.PASS_LIMITED;
  const double sg = w <= 0.0 ? -1.0 : 1.0;
  const int n = m.N;
  // Node mm (0 head .. N tip) holds the bottom of segment N - mm + 1 (the
  // head the top of the last segment).
  for (int node = 0; node <= n; ++node) {
    const int k = n - node + 1;
    nodes.MOVE[NODE(node)] = sg * m.W[k];
    nodes.FORCE[NODE(node)] = sg * m.P[k];
  }
  top = sg * m.TOP_MOVE();
  sol.TIP_MOVE = sg * m.TIP_MOVE();
  sol.TOP_MOVE = top;
  sol.HEAD_FORCE = sg * m.TOP_LOAD();
  return ST_OK;
}

}  // namespace

int AXIAL_SOLVE_CURVES(const AXIAL_PILE& pile, const AXIAL_CURVES& curves, const HEAD_CURVE& head,
                       double a, AXIAL_NODES& nodes, AXIAL_SOLUTION& sol, AXIAL_MESSAGE& msg) {
  msg = AXIAL_MESSAGE{};
  sol = AXIAL_SOLUTION{};
  const int last = HEAD_CURVE_POINTS;
  const auto& d = head.TOP_MOVE;
  const auto& u = head.TIP_MOVE;
  double d_lo = d[1], u_lo = u[1], d_hi = d[last], u_hi = u[last];
  double w = 0.0;
  if (a < d[1]) {
    sol.RANGE_FLAG = 1;
    w = u[1];
  } else if (a >= d[last]) {
    // A head displacement at the last table movement is the end of the table.
    sol.RANGE_FLAG = 2;
    w = u[last];
  } else {
    int i = 2;
    while (i < last && !(a < d[i])) ++i;
    d_lo = d[i - 1];
    u_lo = u[i - 1];
    d_hi = d[i];
    u_hi = u[i];
    w = d_hi > d_lo ? u_lo + (a - d_lo) * (u_hi - u_lo) / (d_hi - d_lo) : u_lo;
  }
  AXIAL_MARCH m;
  int c = 0;
  for (;;) {
    // Step for the slope of top movement against tip movement, kept within
    // half the distance to either end of the bracket.
    const double aw = std::fabs(w);
    double delta = aw < 1e-6 ? 0.5 * aw : 1e-6;
    const double e_lo = std::fabs(aw - std::fabs(u_lo));
    const double e_hi = std::fabs(aw - std::fabs(u_hi));
    if (e_lo > 0.0) {
      if (0.5 * e_lo < delta) {
        delta = 0.5 * e_lo;
        if (e_hi > 0.0 && 0.5 * e_hi < delta) delta = 0.5 * e_hi;
      }
    } else if (e_hi > 0.0 && 0.5 * e_hi < delta) {
      delta = 0.5 * e_hi;
    }
    double top = 0.0, t_a = 0.0, t_b = 0.0;
    const bool three = c > AXIAL_NEWTON_AFTER;
    const double sg = w <= 0.0 ? -1.0 : 1.0;
    if (three) {
      if (march_into(pile, curves, sg * (aw - delta), m, nodes, sol, t_a, msg)) return msg.status;
      if (march_into(pile, curves, sg * (aw + delta), m, nodes, sol, t_b, msg)) return msg.status;
    }
    if (march_into(pile, curves, w, m, nodes, sol, top, msg)) return msg.status;
    sol.ITERATIONS = c;
    if (sol.RANGE_FLAG != 0) return ST_OK;
    bool converged;
    if (std::fabs(a) >= 1e-14) {
      const double r = std::fabs((a - top) / a);
      converged = r <= 1e-4 || (c > AXIAL_NEWTON_AFTER && r <= 0.001);
    } else {
      converged = std::fabs(a - top) <= 1e-14;
    }
    if (converged) {
      sol.CONVERGED = true;
      return ST_OK;
    }
    if (++c > AXIAL_MAX_ITERATIONS) return ST_OK;  // the last march stands
    const double w_old = w;
    if (top <= a) {
      d_lo = top;
      u_lo = w;
    } else {
      d_hi = top;
      u_hi = w;
    }
    if (d_hi != d_lo) w = u_lo + (a - d_lo) * (u_hi - u_lo) / (d_hi - d_lo);
    if (three && t_a != t_b) {
      double s = 2.0 * delta / (t_b - t_a);
      if (a < 0.0) s = -s;
      const double w_c = a >= 0.0 ? std::fabs(w_old) : -std::fabs(w_old);
      const double w_n = w_c + (a - top) * s;
      if (u_lo <= w_n && w_n <= u_hi) w = w_n;
    }
  }
}

void PASS_LIMIT_NOTE(std::FILE* runtime, int passes_limited, int p, const char* curve) {
  if (passes_limited <= 0) return;
  WRITE_F(runtime,
          std::string("(5X,'") + curve +
              " CURVE OF PILE PROPERTY',I3,': THE SEGMENT ITERATION STOPPED AT',"
              "I4,' PASSES IN',I5,' SEGMENT(S)')",
          p, MARCH_MAX_PASSES, passes_limited);
}

}  // namespace kestra
