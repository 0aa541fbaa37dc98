// Pile-head response of the 3D group analysis.
#include "group/pile_head.h"

#include <cmath>
#include <cstdio>

#include "engine/format.h"
#include "engine/report.h"
#include "output/pile_results.h"
#include "pile/pile_solvers.h"

namespace kestra {

void MAT6_MUL(const MAT6& a, const VEC6& x, VEC6& y) {
  VEC6 r{};
  for (int i = 1; i <= 6; ++i) {
    double s = 0.0;
    for (int k = 1; k <= 6; ++k) s += a[i][k] * x[k];
    r[i] = s;
  }
  y = r;
}

void MAT6_MUL(const MAT6& a, const MAT6& b, MAT6& c) {
  MAT6 r{};
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      double s = 0.0;
      for (int k = 1; k <= 6; ++k) s += a[i][k] * b[k][j];
      r[i][j] = s;
    }
  c = r;
}

void PILE_TRANSFORM(RUN& run, int i) {
  ANALYSIS& an = run.store.an;
  const PILE_DATA& p = run.store.piles;
  const double x = p.PILE_X[i], y = p.PILE_Y[i], z = p.PILE_Z[i];
  const double ca = std::cos(p.ALPHA[i]), sa = std::sin(p.ALPHA[i]);
  const double cb = std::cos(p.BETA[i]), sb = std::sin(p.BETA[i]);
  an.COS_A[i] = ca;
  an.SIN_A[i] = sa;
  an.COS_B[i] = cb;
  an.SIN_B[i] = sb;

  MAT6& B = an.B;
  B = MAT6{};
  for (int k = 1; k <= 6; ++k) B[k][k] = 1.0;
  // Head translation = cap translation + theta x r.
  B[1][5] = z;
  B[1][6] = -y;
  B[2][4] = -z;
  B[2][6] = x;
  B[3][4] = y;
  B[3][5] = -x;
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) an.A[r][c] = B[c][r];

  // Rows of R: the local axes x, y, z in global components.
  const double R[3][3] = {{sb, ca * cb, sa * cb}, {-cb, ca * sb, sa * sb}, {0.0, -sa, ca}};
  an.D = MAT6{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      an.D[r + 1][c + 1] = R[r][c];
      an.D[r + 4][c + 4] = R[r][c];
    }
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) an.C[r][c] = an.D[c][r];
}

namespace {

// The points of a pile's curve: a user curve by number, or the generated
// 19-point curve of its property.
struct CURVE_VIEW {
  int n = 0;
  const double* x = nullptr;  // 1-based
  const double* y = nullptr;
};

CURVE_VIEW ls_curve(const STORE& s, int i) {
  const int set = s.piles.LS_SET[i];
  if (set >= 1 && set <= MAX_LS_CURVES) {
    const USER_LS_CURVE& c = s.soil.LS_CURVES[set];
    return {c.NPOINTS, c.DISP.data(), c.LOAD.data()};
  }
  const int prop = s.piles.PILE_PROP[i];
  if (prop < 1 || prop > MAX_PROPERTIES) return {};
  return {HEAD_CURVE_POINTS, s.head.LS_DISP[prop].data(), s.head.LS_LOAD[prop].data()};
}

CURVE_VIEW tr_curve(const STORE& s, int i) {
  const int set = s.piles.TR_SET[i];
  if (set >= 1 && set <= MAX_TR_CURVES) {
    const USER_TR_CURVE& c = s.soil.TR_CURVES[set];
    return {c.NPOINTS, c.ROTATION.data(), c.MOMENT.data()};
  }
  const int prop = s.piles.PILE_PROP[i];
  if (prop < 1 || prop > MAX_PROPERTIES) return {};
  return {HEAD_CURVE_POINTS, s.head.TR_ROT[prop].data(), s.head.TR_MOM[prop].data()};
}

// Outcome of a curve lookup: 0 interpolated, 1 beyond the last point (or
// no segment at all), -1 before the first point. Two points at the same
// displacement give the load of the second.
int lookup(const CURVE_VIEW& c, double a, double& value) {
  value = 0.0;
  if (c.n < 2) return 1;  // no segment holds the displacement
  for (int j = 2; j <= c.n; ++j) {
    if (a <= c.x[j]) {
      if (a < c.x[1]) return -1;
      const double dx = c.x[j] - c.x[j - 1];
      value = dx != 0.0 ? c.y[j - 1] + (c.y[j] - c.y[j - 1]) * (a - c.x[j - 1]) / dx : c.y[j];
      return 0;
    }
  }
  return 1;
}

FILE* warnings_file(RUN& run) { return run.files[F_FAIL_WARNINGS]; }

// The controls the single-pile solutions read for the analysis in progress
// (pile tolerance and iteration limit, variation of axial load, the pass
// flag, combinations and their resistance factors), handed over from
// STORE::an before every pile is solved. The working arrays carry no such
// controls yet; the solutions that need them read them here once they do.

}  // namespace

void PILE_SOLUTION_CONTROLS(const RUN& run, PILE_WORK& w) {
  const ANALYSIS& an = run.store.an;
  w.CONTROL.TOL_PILE = an.cur.TOL_PILE;
  w.CONTROL.MAXIT_PILE = an.cur.MAXIT_PILE;
  w.CONTROL.AXIAL_VARIATION = an.cur.AXIAL_VARIATION;
  w.CONTROL.PRINT_PASS = an.PASS_FLAG;
  w.CONTROL.COMBINATION = an.IN_COMBINATIONS;
  w.CONTROL.BENDING_RF = an.cur.BENDING_RF;
  w.CONTROL.SHEAR_RF = an.cur.SHEAR_RF;
}

double AXIAL_HEAD_FORCE(RUN& run, int i, double a, int& status) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& w = an.work;
  status = ST_OK;
  w.AXDISP.fill(0.0);
  w.AXFORCE.fill(0.0);
  if (std::fabs(a) <= 1.0E-14) return 0.0;
  const CURVE_VIEW c = ls_curve(s, i);
  double N = 0.0;
  const int where = lookup(c, a, N);
  if (where == 0) {
    if (an.cur.AXIAL_VARIATION > 0 && s.piles.LS_SET[i] <= 0) {
      double head = N;
      status = AXIAL_SOLVE(run, w, i, s.piles.PILE_PROP[i], a, head);
      N = head;
      const double f = s.piles.AXIAL_FACTOR[i];
      for (double& v : w.AXFORCE) v *= f;
    }
    return N;
  }
  if (an.WARN_RECORDING == 1) {
    const bool bearing = where > 0;
    const double limit = bearing ? (c.n >= 1 ? c.x[c.n] : 0.0) : (c.n >= 1 ? c.x[1] : 0.0);
    if (FILE* f = warnings_file(run)) {
      WRITE_F(f,
              bearing ? "(/,5X,'** WARNING **  ','APPARENT FAILURE IN BEARING    ,',2X,'PILE GROUP',I5,/,20X,"
                        "'AX. DISP.=',E12.4,' > ',E12.4,5X,'AX. FORCE=',E12.4)"
                      : "(/,5X,'** WARNING **  ','APPARENT FAILURE IN PULL OUT    ',2X,'PILE GROUP',I5,/,20X,"
                        "'AX. DISP.=',E12.4,' > ',E12.4,5X,'AX. FORCE=',E12.4)",
              i, a, limit, N);
    }
    if (bearing)
      ++an.N_FAIL_BEARING;
    else
      ++an.N_FAIL_PULLOUT;
  }
  return N;
}

double TORSION_HEAD_MOMENT(RUN& run, int i, double t) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  const CURVE_VIEW c = tr_curve(s, i);
  double T = 0.0;
  const int where = lookup(c, t, T);
  if (where != 0 && an.WARN_RECORDING == 1) {
    const double limit = where > 0 ? (c.n >= 1 ? c.x[c.n] : 0.0) : (c.n >= 1 ? c.x[1] : 0.0);
    if (FILE* f = warnings_file(run))
      WRITE_F(f,
              "(/,5X,'** WARNING **  ','APPARENT FAILURE IN TORSION     ',2X,'PILE GROUP',I5,/,20X,"
              "'ROTATION =',E12.4,' > ',E12.4,5X,'T. MOMENT=',E12.4)",
              i, t, limit, T);
    ++an.N_FAIL_TORSION;
  }
  return T;
}

int PILE_HEAD_RESPONSE(RUN& run, int i, const VEC6& u_in, VEC6& F) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& work = an.work;
  const VEC6 u = u_in;  // u_in may be the store's own vector
  F = VEC6{};
  const VEC6 saved = an.U;
  an.U = u;

  PILE_TRANSFORM(run, i);
  VEC6 w;
  MAT6_MUL(an.D, u, w);
  PILE_SOLUTION_CONTROLS(run, work);

  int axial_status = ST_OK;
  const double N = AXIAL_HEAD_FORCE(run, i, w[1], axial_status) * s.piles.AXIAL_FACTOR[i];
  double T = TORSION_HEAD_MOMENT(run, i, w[4]);
  if (s.piles.CONNECTY[i] == 1 || s.piles.CONNECTZ[i] == 1) T = 0.0;  // a pinned head transmits no torque

  // The lateral solution starts from a clean status; a failure of the axial
  // solution is not fatal here (the head force of its last iterate is used)
  // but it is logged so that it is not lost silently.
  if (axial_status != ST_OK) {
    char line[96];
    std::snprintf(line, sizeof line, "     NOTE: AXIAL SOLUTION OF PILE GROUP %5d ENDED WITH STATUS %4d", i,
                  axial_status);
    LOG_RUNTIME(run, line);
  }
  int st = GENERATE_NODES_3D(run, work, i);
  if (st != ST_OK) return st;

  double Vy = 0.0, Vz = 0.0, My0 = 0.0, Mz0 = 0.0;
  st = LLP_BIAXIAL(run, work, i, w[2], -w[6], w[3], w[5], N, T, Vy, Vz, My0, Mz0);
  if (work.NO_CLOSURE != 0 && an.NO_CLOSURE_SEEN == 0) an.NO_CLOSURE_SEEN = work.NO_CLOSURE;
  if (st != ST_OK) return st;

  const double m = s.piles.MULTIPLICITY[i];
  VEC6 f{};
  f[1] = -N * m;
  f[2] = -Vy * m;
  f[3] = -Vz * m;
  f[4] = -T * m;
  f[5] = Mz0 * m;
  f[6] = -My0 * m;
  MAT6_MUL(an.C, f, F);

  if (an.PASS_FLAG == 1 || an.PASS_FLAG == 2) {
    VEC6 head_force{};
    head_force[1] = N;
    head_force[2] = Vy;
    head_force[3] = Vz;
    head_force[4] = T;
    head_force[5] = -Mz0;
    head_force[6] = My0;
    RECORD_PILE_3D(run, i, w, head_force);
  }
  an.U = saved;
  return ST_OK;
}

int CAP_RESISTANCE(RUN& run, const VEC6& U_in, VEC6& R) {
  ANALYSIS& an = run.store.an;
  const VEC6 U = U_in;
  VEC6 sum{};
  for (int i = 1; i <= run.store.piles.NPILES; ++i) {
    PILE_TRANSFORM(run, i);
    VEC6 u, F, moved;
    MAT6_MUL(an.B, U, u);
    const int st = PILE_HEAD_RESPONSE(run, i, u, F);
    if (st != ST_OK) {
      R = sum;
      return st;
    }
    // PILE_HEAD_RESPONSE rebuilt the matrices of this pile.
    MAT6_MUL(an.A, F, moved);
    for (int k = 1; k <= 6; ++k) sum[k] += moved[k];
  }
  R = sum;
  return ST_OK;
}

void STIFFNESS_STEPS(const RUN& run, VEC6& step) {
  const double dt = run.store.ctl.UNITS_SYSTEM == 2 ? 2.54E-9 : 1.0E-7;
  for (int k = 1; k <= 3; ++k) step[k] = dt;
  for (int k = 4; k <= 6; ++k) step[k] = 1.0E-13;
}

int PILE_HEAD_STIFFNESS(RUN& run, int i, const VEC6& u_in, MAT6& K) {
  const VEC6 u = u_in;
  VEC6 step;
  STIFFNESS_STEPS(run, step);
  K = MAT6{};
  for (int j = 1; j <= 6; ++j) {
    VEC6 up = u, dn = u, Fp, Fm;
    up[j] += step[j];
    dn[j] -= step[j];
    PILE_HEAD_RESPONSE(run, i, up, Fp);
    PILE_HEAD_RESPONSE(run, i, dn, Fm);
    for (int r = 1; r <= 6; ++r) K[r][j] = (Fp[r] - Fm[r]) * 0.5 / step[j];
  }
  return ST_OK;
}

int CAP_STIFFNESS(RUN& run, const VEC6& U_in, MAT6& Kcap) {
  ANALYSIS& an = run.store.an;
  const VEC6 U = U_in;
  MAT6 sum{};
  for (int i = 1; i <= run.store.piles.NPILES; ++i) {
    PILE_TRANSFORM(run, i);
    VEC6 u;
    MAT6_MUL(an.B, U, u);
    MAT6 Ki, KB, AKB;
    PILE_HEAD_STIFFNESS(run, i, u, Ki);
    PILE_TRANSFORM(run, i);
    MAT6_MUL(Ki, an.B, KB);
    MAT6_MUL(an.A, KB, AKB);
    for (int r = 1; r <= 6; ++r)
      for (int c = 1; c <= 6; ++c) sum[r][c] += AKB[r][c];
  }
  Kcap = sum;
  return ST_OK;
}

}  // namespace kestra
