#include "pile/llp_core.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "pile/section_value.h"
#include "soil/generate_py.h"
#include "soil/input_py.h"

namespace kestra::llp {

void HEAD_ROWS(LLP_PLANE& p, int connection, double yt, double theta, double K, double h,
               double s) {
  for (int e = 1; e <= 2; ++e) p.REC_B[e] = p.REC_C[e] = p.REC_D[e] = 0.0;
  const int head = NODE(0), top = NODE(-1);
  p.REC_B[head] = 0.0;
  p.REC_C[head] = yt;
  p.REC_D[head] = 0.0;

  const double ei0 = p.EI[head];
  const double den = K * h + 2.0 * ei0;
  if (connection == RES && den == 0.0) connection = PIN;
  p.REC_B[top] = 0.0;
  switch (connection) {
    case FIX:  // (y(1) - y(-1)) / 2h = s*theta
      p.REC_C[top] = -s * 2.0 * h * theta;
      p.REC_D[top] = 1.0;
      break;
    case RES:  // EI0 y''(0) = K (y'(0) - s*theta)
      p.REC_C[top] = (4.0 * ei0 * yt - s * 2.0 * K * h * h * theta) / den;
      p.REC_D[top] = (K * h - 2.0 * ei0) / den;
      break;
    default:  // y(-1) - 2y(0) + y(1) = 0
      p.REC_C[top] = 2.0 * yt;
      p.REC_D[top] = -1.0;
      break;
  }
}

void ELIMINATE(LLP_PLANE& p, const NODE_VALUES& esoil, int N, double h) {
  const double h2 = h * h, h4 = h2 * h2;
  const NODE_VALUES& R = p.EI;
  const NODE_VALUES& Q = p.PX;
  for (int m = 1; m <= N + 1; ++m) {
    const int e = NODE(m);
    const double a = R[e - 1];
    const double b = -2.0 * R[e - 1] - 2.0 * R[e] + Q[e] * h2;
    const double c = R[e - 1] + 4.0 * R[e] + R[e + 1] - 2.0 * Q[e] * h2 + esoil[e] * h4;
    const double d = -2.0 * R[e] - 2.0 * R[e + 1] + Q[e] * h2;
    const double f = p.WLOAD[e] * h4;
    const double M = b + a * p.REC_B[e - 2];
    const double den = c + a * p.REC_D[e - 2] + M * p.REC_B[e - 1];
    const double t = den == 0.0 ? 0.0 : -1.0 / den;
    p.REC_D[e] = t * R[e + 1];
    p.REC_B[e] = t * (d + M * p.REC_D[e - 1]);
    p.REC_C[e] = t * (M * p.REC_C[e - 1] + a * p.REC_C[e - 2] - f);
  }
}

void SOLVE_BACK(LLP_PLANE& p, NODE_VALUES& y, int N, double h) {
  for (int m = 0; m <= N; ++m) p.YPREV[NODE(m)] = y[NODE(m)];

  // Tip: zero moment y(N-1) - 2y(N) + y(N+1) = 0 and zero shear
  // y(N+2) - 2y(N+1) + 2y(N-1) - y(N-2) + (Q h^2/R)(y(N+1) - y(N-1)) = 0.
  const int n = NODE(N);
  const NODE_VALUES &B = p.REC_B, &C = p.REC_C, &D = p.REC_D;
  const double R = p.EI[n];
  y[n + 1] = y[n + 2] = y[n + 3] = 0.0;
  if (R != 0.0) {
    const double kappa = (p.PX[n] * h * h - 2.0 * R) / R;
    const double L = kappa + B[n - 2];
    const double delta = B[n - 1] - 2.0;
    const double S = L * (B[n - 1] * B[n] + D[n - 1]) + D[n - 2] * B[n] - kappa;
    const double V = L * B[n - 1] * D[n] + D[n - 2] * D[n] - 1.0;
    const double W = D[n - 1] + B[n] * delta + 1.0;
    const double X = D[n] * delta;
    const double Z = C[n - 1] + C[n] * delta;
    const double T = C[n - 2] + L * (C[n - 1] + B[n - 1] * C[n]) + C[n] * D[n - 2];
    const double det = V * W - S * X;
    if (det != 0.0) {
      y[n + 1] = (X * T - V * Z) / det;
      y[n + 2] = (S * Z - W * T) / det;
    }
  }
  for (int e = n; e >= 1; --e) y[e] = B[e] * y[e + 1] + C[e] + D[e] * y[e + 2];
}

bool CLOSED(const LLP_PLANE& p, const NODE_VALUES& y, int N, double tol) {
  for (int m = 0; m <= N; ++m)
    if (!(std::fabs(p.YPREV[NODE(m)] - y[NODE(m)]) < tol)) return false;
  return true;
}

double RESULTS(LLP_PLANE& p, const NODE_VALUES& y, const NODE_VALUES& esoil, int N, double h) {
  const double h2 = h * h;
  p.BMOM[2] = 0.0;
  p.BMOM[NODE(N) + 2] = 0.0;
  for (int m = 0; m <= N + 1; ++m) {
    const int e = NODE(m);
    p.SLOPE[e] = (y[e + 1] - y[e - 1]) / (2.0 * h);
    p.BMOM[e] = -p.EI[e] * (y[e - 1] - 2.0 * y[e] + y[e + 1]) / h2;
  }
  const int head = NODE(0);
  p.SHEAR[head] = p.SLOPE[head] * p.PX[head] - (p.BMOM[head + 1] - p.BMOM[head]) / h;
  for (int m = 1; m <= N; ++m) {
    const int e = NODE(m);
    p.SHEAR[e] = p.PX[e] * p.SLOPE[e] - (p.BMOM[e + 1] - p.BMOM[e - 1]) / (2.0 * h);
  }
  double force = 0.0;
  for (int m = 0; m <= N; ++m) {
    const int e = NODE(m);
    p.SOILR[e] = esoil[e] * y[e];
    const double weight = (m == 0 || m == N) ? 0.5 : 1.0;
    force += weight * h * (p.SOILR[e] - p.WLOAD[e]);
  }
  return force;
}

void SECTION_RIGIDITIES(const STORE& s, const PILE_WORK& w, LLP_PLANE& p, int axis) {
  for (int e = NODE(-1); e <= NODE(w.N + 2); ++e) {
    const int m = std::clamp(e - NODE_OFFSET, 0, w.N);
    p.EI[e] = SECTION_EI(s, w.property, w.vert, w.X[NODE(m)], axis);
  }
}

void AXIAL_FORCES(const STORE& s, const PILE_WORK& w, int g, double P, NODE_VALUES& px) {
  for (int e = NODE(-1); e <= NODE(w.N + 2); ++e) px[e] = P;
  if (w.CONTROL.AXIAL_VARIATION > 0 && s.piles.LS_SET[g] <= 0) {
    for (int e = NODE(-1); e <= NODE(w.N + 2); ++e) {
      const int m = std::clamp(e - NODE_OFFSET, 0, w.N);
      px[e] = w.AXFORCE[NODE(m)];
    }
  }
}

void DIST_LOADS(const STORE& s, int g, int N, NODE_VALUES& load_y, NODE_VALUES& load_z) {
  load_y.fill(0.0);
  load_z.fill(0.0);
  if (g < 1 || g > MAX_PILES) return;
  const LOAD_DATA& L = s.loads;
  const int nodes = std::min(L.DLOAD_NODES[g], std::min(N + 1, MAX_NODES));
  for (int k = 1; k <= nodes; ++k) {
    load_y[NODE(k - 1)] = L.DLOAD_Y[g][k];
    load_z[NODE(k - 1)] = L.DLOAD_Z[g][k];
  }
}

double FIBRE_DEPTH(const STORE& s, const PILE_WORK& w, double x, int axis) {
  const int type = SECTION_TYPE(s, w.property, w.vert, x);
  if (type < 2) return SECTION_VALUE(s, w.property, w.vert, x, XS_DIAMETER);
  const double c =
      SECTION_VALUE(s, w.property, w.vert, x, axis == 0 ? XS_EXT_DEPTH : XS_EXT_WIDTH);
  return c > 0.0 ? c : SECTION_WIDTH(s, w.property, w.vert, x);
}

void RESOLVE_SOIL_MOVEMENT(PILE_WORK& w, double alpha, double beta) {
  const double ca = std::cos(alpha), sa = std::sin(alpha), sb = std::sin(beta);
  for (int m = 0; m <= w.N; ++m) {
    const int e = NODE(m);
    const double SY = w.SOIL_MOVE_Y[e], SZ = w.SOIL_MOVE_Z[e];
    w.SOIL_MOVE_Y[e] = sb * (SY * ca + SZ * sa);
    w.SOIL_MOVE_Z[e] = SZ * ca - SY * sa;
  }
}

bool LAYOUT_NODES(const RUN& run, PILE_WORK& w, int g) {
  const STORE& s = run.store;
  if (g < 1 || g > MAX_PILE_ENTRIES) return false;
  const int p = s.piles.PILE_PROP[g];
  if (p < 1 || p > MAX_PROPERTIES) return false;
  const PILE_PROPERTY& prop = s.piles.PROP[p];
  if (prop.INC < 1 || prop.INC > MAX_INCREMENTS || !(prop.LENGTH > 0.0)) return false;
  w.group = g;
  w.property = p;
  w.N = prop.INC;
  w.h = prop.LENGTH / prop.INC;
  w.vert = s.piles.PILE_X[g];
  w.ground = s.piles.GROUND[g];
  w.X.fill(0.0);
  w.X[NODE(0)] = w.vert;
  // m*h from the head rather than a running sum, so that the tip lies at the
  // head plus the pile length without a drift of rounding.
  for (int m = 1; m <= w.N; ++m) w.X[NODE(m)] = w.vert + m * w.h;
  if (!USES_INPUT_PY(s, g)) ASSIGN_LAYER_NODES(run, w);
  return true;
}

void NO_CLOSURE_WARNING(RUN& run, int limit, int g) {
  static constexpr const char* FMT =
      "(/,/,5X,'** WARNING **  ','NO CLOSURE OF A LLP AFTER ',I5,2X,'ITERATIONS',10X,"
      "'PILE GROUP',I5)";
  WRITE_F(run.files[F_REPORT], FMT, limit, g);
  WRITE_F(run.files[F_RUNTIME], FMT, limit, g);
}

void BEYOND_CURVES_WARNING(RUN& run) {
  WRITE_F(run.files[F_REPORT], "(/,/,A)", "  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE");
}

void PLASTIC_HINGE_MESSAGE(RUN& run, int g, bool summary_too) {
  static constexpr const char* FMT = "(/,10X,'PLASTIC HINGE IS FORMED IN GROUP',I5)";
  WRITE_F(run.files[F_REPORT], FMT, g);
  if (summary_too) WRITE_F(run.files[F_SUMMARY], FMT, g);
}

int NLEI_FAILURE(RUN& run, int g) {
  return FATAL(run, ST_BAD_PROPERTY,
               "THE MOMENT-CURVATURE SET OF PILE GROUP " + std::to_string(g) +
                   " GIVES NO BENDING STIFFNESS (MISSING SET, A CURVE OF FEWER THAN TWO POINTS"
                   " OR A FIRST SEGMENT WITHOUT SLOPE)");
}

bool BEGIN_SOLUTION(RUN& run, PILE_WORK& w, int g) {
  // The results of a printing pass use the small-deflection threshold of
  // the start of a run, whatever a rock or liquefied-sand layer left in it.
  if (w.CONTROL.PRINT_PASS == 1) run.store.py.SMALL_DEFLECTION = 1.0e-14;
  w.NO_CLOSURE = 0;
  w.LLP_ITERATIONS = 0;
  w.PLASTIC_HINGE = 0;
  w.NLEI_ERROR = 0;
  w.PY_BEYOND_CURVES = 0;
  if (w.group != g || w.N < 1 || w.N > MAX_INCREMENTS || !(w.h > 0.0)) return LAYOUT_NODES(run, w, g);
  return true;
}

void CLEAR_PLANE(LLP_PLANE& p) {
  p.EI.fill(0.0);
  p.PX.fill(0.0);
  p.WLOAD.fill(0.0);
  p.YPREV.fill(0.0);
  p.SLOPE.fill(0.0);
  p.BMOM.fill(0.0);
  p.SHEAR.fill(0.0);
  p.SOILR.fill(0.0);
  p.STRESS.fill(0.0);
}

void MOVING_SOIL_LOADS(LLP_PLANE& p, const NODE_VALUES& esoil, const NODE_VALUES& move, int N) {
  for (int m = 0; m <= N; ++m) {
    const int e = NODE(m);
    p.WLOAD[e] = esoil[e] * move[e] + p.DLOAD[e];
  }
}

void CAPACITY_RATIOS(const STORE& s, const PILE_WORK& w, double x, double moment, double shear,
                     double& moment_ratio, double& shear_ratio) {
  moment_ratio = shear_ratio = 0.0;
  const double mn = SECTION_VALUE(s, w.property, w.vert, x, XS_MN);
  const double vn = SECTION_VALUE(s, w.property, w.vert, x, XS_VN);
  const double mcap = mn * w.CONTROL.BENDING_RF, vcap = vn * w.CONTROL.SHEAR_RF;
  if (mn > 1.0e-14 && mcap != 0.0) moment_ratio = std::fabs(moment) / mcap;
  if (vn > 1.0e-14 && vcap != 0.0) shear_ratio = std::fabs(shear) / vcap;
}

void PRINT_PASS_MESSAGES(RUN& run, const PILE_WORK& w, int g, bool summary_too) {
  if (w.CONTROL.PRINT_PASS != 1) return;
  if (w.PY_BEYOND_CURVES) BEYOND_CURVES_WARNING(run);
  if (w.PLASTIC_HINGE) PLASTIC_HINGE_MESSAGE(run, g, summary_too);
}

}  // namespace kestra::llp
