// Cap equilibrium in 3D: incremental Newton iteration with load steps,
// halving of the increment and a minimum increment.
#include "group/cap_solve_3d.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "group/foundation_stiffness.h"
#include "group/pile_head.h"
#include "group/stiffness_passes.h"
#include "group/reduction_factors.h"
#include "output/results_report.h"
#include "slab/slab.h"
#include "soil/generate_py.h"

namespace kestra {

bool GAUSS_JORDAN(MAT6& a, int n) {
  int ipiv[7] = {}, indxr[7] = {}, indxc[7] = {};
  // A pivot this far below the largest entry is round-off, not stiffness:
  // the central differences of a degree of freedom that nothing resists
  // (the twist of a cap on piles without torsional curves) leave values of
  // 1e-28 where the true stiffness is zero, whose inverse would be garbage.
  double largest = 0.0;
  for (int j = 1; j <= n; ++j)
    for (int k = 1; k <= n; ++k) largest = std::max(largest, std::fabs(a[j][k]));
  const double negligible = 1.0E-13 * largest;
  for (int i = 1; i <= n; ++i) {
    double big = 0.0;
    int irow = 0, icol = 0;
    for (int j = 1; j <= n; ++j) {
      if (ipiv[j] == 1) continue;
      for (int k = 1; k <= n; ++k) {
        if (ipiv[k] == 0) {
          if (std::fabs(a[j][k]) >= big) {
            big = std::fabs(a[j][k]);
            irow = j;
            icol = k;
          }
        } else if (ipiv[k] > 1) {
          return false;
        }
      }
    }
    if (icol == 0) return false;
    ++ipiv[icol];
    if (ipiv[icol] > 1) return false;  // a column chosen twice
    if (irow != icol)
      for (int l = 1; l <= n; ++l) std::swap(a[irow][l], a[icol][l]);
    indxr[i] = irow;
    indxc[i] = icol;
    // A zero (or not finite) pivot: singular.
    if (!(std::fabs(a[icol][icol]) > negligible) || !std::isfinite(a[icol][icol])) return false;
    const double pivinv = 1.0 / a[icol][icol];
    a[icol][icol] = 1.0;
    for (int l = 1; l <= n; ++l) a[icol][l] *= pivinv;
    for (int ll = 1; ll <= n; ++ll) {
      if (ll == icol) continue;
      const double dum = a[ll][icol];
      a[ll][icol] = 0.0;
      for (int l = 1; l <= n; ++l) a[ll][l] -= a[icol][l] * dum;
    }
  }
  for (int l = n; l >= 1; --l) {
    if (indxr[l] != indxc[l])
      for (int k = 1; k <= n; ++k) std::swap(a[k][indxr[l]], a[k][indxc[l]]);
  }
  return true;
}

void UPDATE_GROUP_FACTORS_3D(RUN& run) {
  STORE& s = run.store;
  PILE_DATA& p = s.piles;
  const VEC6& U = s.an.U;
  const int option = s.ctl.SPACING_REDUCTION;
  double cy, cz;
  if (option == 1) {
    REDUCTION_FACTORS_Y(run, U[2] < 0.0 ? -1 : 1);
    REDUCTION_FACTORS_Z(run, U[3] < 0.0 ? -1 : 1);
  }
  if (option == 3) {
    cy = std::fabs(s.ctl.GROUP_MOVE_Y);
    cz = std::fabs(s.ctl.GROUP_MOVE_Z);
    if (cy == 0.0 && cz == 0.0) cy = cz = 1.0;
  } else {
    cy = std::fabs(U[2]);
    cz = std::fabs(U[3]);
    if (cy == 0.0 && cz == 0.0) {
      cy = std::fabs(s.loads.EQ_LOAD[2]);
      cz = std::fabs(s.loads.EQ_LOAD[3]);
    }
    if (cy == 0.0 && cz == 0.0) {
      cy = 1.0;
      cz = 0.0;
    }
  }
  const double norm = std::sqrt(cy * cy + cz * cz);
  cy /= norm;
  cz /= norm;
  for (int g = 1; g <= p.NPILES; ++g) {
    p.P_FACTOR[g] = std::sqrt(std::pow(cy * p.P_FACTOR_Y[g], 2) + std::pow(cz * p.P_FACTOR_Z[g], 2));
    p.Y_FACTOR[g] = std::sqrt(std::pow(cy * p.Y_FACTOR_Y[g], 2) + std::pow(cz * p.Y_FACTOR_Z[g], 2));
  }
}

namespace {

// Equivalent lateral load of the embedded height of the cap.
int passive_load(RUN& run, const VEC6& U, VEC6& P) {
  STORE& s = run.store;
  P = VEC6{};
  VEC6 R;
  const int st = CAP_RESISTANCE(run, U, R);  // refreshes the ground value and CAP_P
  if (st != ST_OK) return st;
  const PILE_WORK& w = s.an.work;
  const double g = w.ground, T = s.piles.CAP_THICKNESS, p = w.CAP_P;
  const double xn = s.piles.NPILES >= 1 ? s.piles.PILE_X[s.piles.NPILES] : 0.0;
  if (g >= -1.0E-6) return ST_OK;
  double L, e;
  if (std::fabs(g) > T) {
    L = T;
    e = (std::fabs(g) - T) * p / std::fabs(g);
  } else {
    L = std::fabs(g);
    e = 0.0;
  }
  const double F = 0.5 * L * (p + e);
  const double M = L * e * (L / 2.0 - xn) + 0.5 * L * (p - e) * (L / 3.0 - xn);
  const double sum = std::fabs(U[2]) + std::fabs(U[3]);
  if (sum > 1.0E-14) {
    const double m = std::fabs(U[2]) / sum;
    const double sy = U[2] >= 0.0 ? -1.0 : 1.0, sz = U[3] >= 0.0 ? -1.0 : 1.0;
    P[2] = sy * m * F;
    P[6] = -sy * m * M;
    P[3] = sz * (1.0 - m) * F;
    P[5] = sz * (1.0 - m) * M;
  }
  return ST_OK;
}

// Equivalent lateral springs: the cap as one more, rigid member over its
// thickness, its soil springs the secant moduli of the p-y evaluation at
// the resultant deflection of each node.
int passive_springs(RUN& run, const VEC6& U, VEC6& P) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& w = an.work;
  P = VEC6{};
  VEC6 R;
  int st = CAP_RESISTANCE(run, U, R);
  if (st != ST_OK) return st;
  const int cap = s.piles.NPILES + 1;
  PILE_TRANSFORM(run, cap);
  VEC6 u, loc;
  MAT6_MUL(an.B, U, u);
  MAT6_MUL(an.D, u, loc);
  const int n = s.piles.CAP_INCREMENTS >= 1 ? std::min(s.piles.CAP_INCREMENTS, MAX_INCREMENTS) : 1;
  const double h = s.piles.CAP_THICKNESS / n;
  w.group = cap;
  w.property = 0;
  w.N = n;
  w.h = h;
  w.ground = s.piles.GROUND[cap];
  w.vert = s.piles.PILE_X[cap];
  for (int m = 0; m <= n; ++m) {
    const double d = m * h;
    const int e = NODE(m);
    w.X[e] = w.vert + d;
    w.Y[e] = loc[2] + loc[6] * d;
    w.Z[e] = loc[3] - loc[5] * d;
    w.DEFL[e] = std::sqrt(w.Y[e] * w.Y[e] + w.Z[e] * w.Z[e]);
  }
  ASSIGN_LAYER_NODES(run, w);
  st = GENERATE_PY(run, w);
  if (st != ST_OK) return st;
  double Fy = 0.0, Fz = 0.0, My = 0.0, Mz = 0.0;
  FILE* rep = run.files[F_REPORT];
  if (rep) WRITE_LIST(rep, "REACTIONS CAP");
  for (int m = 0; m <= n; ++m) {
    const int e = NODE(m);
    const double d = m * h, wt = (m == 0 || m == n) ? 0.5 * h : h;
    const double py = w.ESOIL[e] * w.Y[e], pz = w.ESOIL[e] * w.Z[e];
    Fy -= wt * py;
    Fz -= wt * pz;
    My += wt * pz * d;
    Mz -= wt * py * d;
    if (rep) {
      WRITE_LIST(rep, "DISP", m, w.Y[e], w.Z[e]);
      WRITE_LIST(rep, "RES", m, py, pz);
      WRITE_LIST(rep, "FORCE", m, Fy, Fz);
      WRITE_LIST(rep, "MOMENT", m, My, Mz);
    }
  }
  const double mult = s.piles.MULTIPLICITY[cap];
  VEC6 f{}, gl;
  f[2] = Fy * mult;
  f[3] = Fz * mult;
  f[5] = My * mult;
  f[6] = Mz * mult;
  PILE_TRANSFORM(run, cap);
  MAT6_MUL(an.C, f, gl);
  MAT6_MUL(an.A, gl, P);
  return ST_OK;
}

void trace_row(FILE* f, const char* tag, const VEC6& v) {
  if (f) WRITE_F(f, "(A,7E13.5)", tag, v[1], v[2], v[3], v[4], v[5], v[6]);
}

std::string progress_text(std::string_view fmt, std::initializer_list<FARG> args) {
  std::string s = FORMAT(fmt, args);
  if (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

// The failure-warnings scratch file, emptied for a new evaluation.
FILE* reopen_warnings(RUN& run) {
  FILE*& f = run.files.fp[F_FAIL_WARNINGS];
  if (f) std::fclose(f);
  const std::string& name = run.files.name[F_FAIL_WARNINGS];
  f = name.empty() ? std::tmpfile() : std::fopen(name.c_str(), "w+");
  return f;
}

void close_warnings(RUN& run) {
  FILE*& f = run.files.fp[F_FAIL_WARNINGS];
  if (f) std::fclose(f);
  f = nullptr;
}

// Copies the recorded warnings of one kind (three lines each) to the report
// and the runtime file.
void copy_warnings(RUN& run, const char* kind) {
  FILE* f = run.files[F_FAIL_WARNINGS];
  if (!f) return;
  std::fflush(f);
  std::rewind(f);
  char line[3][258];
  auto get = [&](char* b) {
    if (!std::fgets(b, 258, f)) return false;
    std::size_t n = std::strlen(b);
    while (n && (b[n - 1] == '\n' || b[n - 1] == '\r')) b[--n] = 0;
    return true;
  };
  while (get(line[0]) && get(line[1]) && get(line[2])) {
    if (!std::strstr(line[1], kind)) continue;
    for (FILE* out : {run.files[F_REPORT], run.files[F_RUNTIME]})
      if (out)
        for (auto& l : line) std::fprintf(out, "%s\n", l);
  }
}

}  // namespace

int PASSIVE_FORCE(RUN& run, const VEC6& U, VEC6& P) {
  return run.store.piles.CAP_SPRINGS == 0 ? passive_load(run, U, P) : passive_springs(run, U, P);
}

int PASSIVE_STIFFNESS(RUN& run, const VEC6& U_in, MAT6& K) {
  const VEC6 U = U_in;
  VEC6 step;
  STIFFNESS_STEPS(run, step);
  K = MAT6{};
  for (int j = 1; j <= 6; ++j) {
    VEC6 up = U, dn = U, Pp, Pm;
    up[j] += step[j];
    dn[j] -= step[j];
    int st = PASSIVE_FORCE(run, up, Pp);
    if (st == ST_OK) st = PASSIVE_FORCE(run, dn, Pm);
    if (st != ST_OK) return st;
    for (int r = 1; r <= 6; ++r) K[r][j] = (Pp[r] - Pm[r]) * 0.5 / step[j];
  }
  return ST_OK;
}

int CAP_SOLVE_3D(RUN& run, int kind, int& flag, VEC6& load_out, VEC6& disp_out) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  VEC6& Q = s.loads.EQ_LOAD;
  FILE* rep = run.files[F_REPORT];
  FILE* rt = run.files[F_RUNTIME];
  FILE* trace = run.files[F_CAP_TRACE];
  flag = s.py.PY_PHASE;
  // A flexible cap: the plate model takes the load in place of the rigid-cap
  // iteration (FLEX_CAP 2 only writes the plate model files of the load).
  if (s.ctl.FLEX_CAP > 0) {
    if (s.ctl.FLEX_CAP == 2) return SLAB_GENERATE(run);
    SLAB_PILE_LINK piles = SLAB_PILES_OF(run);
    const int st = FLEX_CAP_SOLVE(run, piles, kind + 1, an.PRINTED);
    ++an.PRINTED;
    return st;
  }

  // Set-up.
  const CURRENT_CONTROLS& c = an.cur;
  const double increment = c.LOAD_INCREMENT > 0.0 && c.LOAD_INCREMENT <= 1.0 ? c.LOAD_INCREMENT : 1.0;
  // A minimum increment of zero would halve forever.
  const double min_increment = c.MIN_INCREMENT > 0.0 ? c.MIN_INCREMENT : 1.0E-6;
  an.OUTCOME = 0;
  an.N_FAIL_BEARING = an.N_FAIL_PULLOUT = an.N_FAIL_TORSION = 0;
  an.TOTAL_LOAD = Q;
  an.FRACTION = 0.0;
  an.CAP_ITERATIONS = 0;
  an.CAP_ITERATIONS_TOTAL = 0;
  an.U = VEC6{};
  VEC6 U_start{}, dU{}, dU_step{}, R{};
  double tcur = increment, dtcur = increment;
  int step = 0;
  if (rt) {
    WRITE_F(rt, "(/,'     GLOBAL ITERATIONS')");
    COMMIT_RUNTIME(run);
  }
  const bool passive = s.ctl.CAP_OPTION >= 1;

  auto finish = [&](int st) {
    close_warnings(run);
    load_out = Q;
    disp_out = an.U;
    return st;
  };

  while (tcur <= 1.0) {
    // A new load step.
    ++step;
    an.TCUR = tcur;
    if (rt) {
      WRITE_F(rt, "(5X,'STEP ',I5,', TCUR ',F10.4,', DTCUR ',F10.4)", step, tcur, dtcur);
      COMMIT_RUNTIME(run);
    }
    dU = VEC6{};
    dU_step = VEC6{};
    an.CAP_ITERATIONS = 0;
    const double t = tcur;
    bool converged = false;
    for (;;) {
      // A new iteration: the outcome and the failure counters start afresh.
      ++an.CAP_ITERATIONS;
      ++an.CAP_ITERATIONS_TOTAL;
      const bool first = an.CAP_ITERATIONS == 1;
      an.OUTCOME = 0;
      an.N_FAIL_BEARING = an.N_FAIL_PULLOUT = an.N_FAIL_TORSION = 0;
      // Progress and the stop check.
      const char* what = kind == 0 ? "LOAD CASE " : "LOAD COMB ";
      if (an.STIFF_PASS > 0)
        PROGRESS(run, progress_text("('- ANALYSIS FOR ',A,I3,'/',I3,/,' DOF:',I3,'/',I3,' STEP:',I5,' TCUR:',F9.3,"
                                    "' ITERATION:',I5,/)",
                                    {what, an.CURRENT, an.COUNT, an.STIFF_DOF, an.STIFF_NDOF, step, tcur,
                                     an.CAP_ITERATIONS}));
      else
        PROGRESS(run, progress_text("('- ANALYSIS FOR ',A,I3,'/',I3,/,' STEP:',I5,' TCUR:',F10.4,' ITERATION:',I5,/)",
                                    {what, an.CURRENT, an.COUNT, step, tcur, an.CAP_ITERATIONS}));
      if (STOP_REQUESTED(run)) return finish(ST_STOPPED);
      // Group reduction factors for the current direction of movement.
      if (s.ctl.SPACING_REDUCTION >= 1) UPDATE_GROUP_FACTORS_3D(run);
      // Resistance, recording the failures of this evaluation.
      an.WARN_RECORDING = 1;
      reopen_warnings(run);
      an.NO_CLOSURE_SEEN = 0;
      an.NLEI_UPDATE_ERROR = 0;
      int st = CAP_RESISTANCE(run, an.U, R);
      an.WARN_RECORDING = 0;
      if (FILE* fw = run.files[F_FAIL_WARNINGS]) std::fflush(fw);
      if (st != ST_OK) return finish(st);
      // Why the base evaluation failed; the perturbed evaluations of the
      // stiffness do not change it.
      const int base_closure = an.NO_CLOSURE_SEEN;
      bool failed = false;
      if (base_closure != 0) {
        an.OUTCOME = 1;  // 4 counts as 1
        an.CAP_ITERATIONS = std::max(an.CAP_ITERATIONS, c.MAXIT_CAP + 1);
        failed = true;
      } else if (an.NLEI_UPDATE_ERROR != 0) {
        return finish(ST_OK);
      }
      double incD = 0, incR = 0, totD = 0, totR = 0, errD = 0, errR = 0, maxD = 0, maxR = 0;
      if (!failed) {
        // Load of this fraction, tangent stiffness, passive cap, residual.
        for (int k = 1; k <= 6; ++k) Q[k] = t * an.TOTAL_LOAD[k];
        MAT6 K;
        CAP_STIFFNESS(run, an.U, K);
        if (passive) {
          VEC6 Pc;
          MAT6 Kc;
          if ((st = PASSIVE_FORCE(run, an.U, Pc)) != ST_OK) return finish(st);
          if ((st = PASSIVE_STIFFNESS(run, an.U, Kc)) != ST_OK) return finish(st);
          for (int r = 1; r <= 6; ++r) {
            R[r] += Pc[r];
            for (int q = 1; q <= 6; ++q) K[r][q] += Kc[r][q];
          }
          an.PASSIVE_Y = std::fabs(Pc[2]);
          an.PASSIVE_Z = std::fabs(Pc[3]);
          an.PASSIVE_POS = std::fabs(Pc[2]) > 0.0 ? Pc[6] / Pc[2] : s.piles.PILE_X[s.piles.NPILES];
        }
        VEC6 r;
        for (int k = 1; k <= 6; ++k) r[k] = -Q[k] - R[k];
        // Correction.
        if (trace) {
          std::fputc('\n', trace);
          WRITE_LIST(trace, an.CAP_ITERATIONS);
          for (int row = 1; row <= 6; ++row)
            WRITE_F(trace, "('SS  ',I1,7E13.5)", row, K[row][1], K[row][2], K[row][3], K[row][4], K[row][5],
                    K[row][6]);
        }
        an.LAST_K = K;  // the tangent before its inversion, for the stiffness passes
        if (!GAUSS_JORDAN(K, 6)) {
          if (rep) WRITE_F(rep, "(5X,'** WARNING **  ','DETERMINANT OF STIFFNESS MATRIX IS ZERO')");
          if (rt) {
            WRITE_F(rt, "(/,/,5X,'** WARNING **  ','DETERMINANT OF STIFFNESS MATRIX IS ZERO')");
            COMMIT_RUNTIME(run);
          }
          an.OUTCOME = 2;
          an.CAP_ITERATIONS = c.MAXIT_CAP + 1;
          failed = true;
        } else {
          MAT6_MUL(K, r, dU);
          trace_row(trace, "DDV  ", dU);
          trace_row(trace, "DFV  ", r);
          // Update of the displacement and of the step increment.
          for (int k = 1; k <= 6; ++k) {
            an.U[k] += dU[k];
            dU_step[k] += dU[k];
          }
          trace_row(trace, "UDV  ", dU_step);
          trace_row(trace, "DV  ", an.U);
          trace_row(trace, "FV  ", Q);
          trace_row(trace, "RV  ", R);
          // Norms.
          auto norm3 = [](const VEC6& v, int o) { return std::sqrt(v[o] * v[o] + v[o + 1] * v[o + 1] + v[o + 2] * v[o + 2]); };
          auto max3 = [](const VEC6& v, int o) {
            return std::max(std::fabs(v[o]), std::max(std::fabs(v[o + 1]), std::fabs(v[o + 2])));
          };
          incD = norm3(dU, 1);
          incR = norm3(dU, 4);
          totD = norm3(dU_step, 1);
          totR = norm3(dU_step, 4);
          maxD = max3(dU, 1);
          maxR = max3(dU, 4);
          errD = totD != 0.0 ? incD / totD : incD;
          errR = totR != 0.0 ? incR / totR : incR;
          if (rt) {
            WRITE_F(rt, "(5X,'ITERATION ',I4)", an.CAP_ITERATIONS);
            COMMIT_RUNTIME(run);
            WRITE_F(rt, "(5X,'          ',4X,'- ErrDsp ',E13.5,', IncDsp ',E13.5,', TotDsp ',E13.5)", errD, incD, totD);
            WRITE_F(rt, "(5X,'          ',4X,'- ErrRot ',E13.5,', IncRot ',E13.5,', TotRot ',E13.5)", errR, incR, totR);
            if (c.USE_ALT_TOL == 1) WRITE_F(rt, "(5X,'          ',4X,'- MaxDsp ',E13.5,', MaxRot ',E13.5)", maxD, maxR);
          }
        }
      }
      // Convergence. The first iteration of a step is not tested; a failed
      // one (a pile that did not close, a singular matrix) halves at once.
      if (first && !failed) continue;
      bool ok = false;
      if (!failed) {
        const bool late = an.CAP_ITERATIONS >= 41;
        const bool alt = c.USE_ALT_TOL == 1;
        const bool okD = errD <= c.TOL_CAP || incD <= 1.0E-12 || totD <= 1.0E-12 ||
                         (late && (incD <= 1.0E-8 || totD <= 1.0E-8)) || (alt && maxD <= c.ALT_TOL_DISP);
        const bool okR = errR <= c.TOL_CAP || incR <= 1.0E-12 || totR <= 1.0E-12 ||
                         (late && (incR <= 1.0E-8 || totR <= 1.0E-8)) || (alt && maxR <= c.ALT_TOL_ROT);
        ok = okD && okR;
      }
      if (ok) {
        converged = true;
        break;
      }
      if (an.CAP_ITERATIONS <= c.MAXIT_CAP) continue;  // another iteration
      break;                                            // too many: halve
    }
    if (converged) {
      // The step converged: the next fraction, landing exactly on the full load.
      an.FRACTION = t;
      for (int k = 1; k <= 6; ++k) U_start[k] += dU_step[k];
      an.U = U_start;
      const double old = tcur;
      tcur += dtcur;
      if (tcur > 1.0 && old < 1.0) tcur = 1.0;
      continue;
    }
    // Halve the increment and retry the step from its start.
    dtcur *= 0.5;
    an.U = U_start;
    if (dtcur < min_increment) {
      if (an.OUTCOME != 2) {
        for (FILE* out : {rep, rt})
          if (out)
            WRITE_F(out, "(/,/,5X,'** WARNING **  ','PILE CAP DISPL DOES NOT CONVERGE AFTER,',I5,2X,'ITERATIONS')",
                    c.MAXIT_CAP);
        COMMIT_RUNTIME(run);
      }
      tcur = 1.1;
    } else {
      tcur -= dtcur;
      --step;
    }
  }

  // General warnings of the pile failures of the last evaluation.
  struct KIND {
    int count;
    const char *head, *l2, *l3, *tag;
  };
  const KIND kinds[3] = {
      {an.N_FAIL_BEARING, "SOME PILES, MAY FAIL IN BEARING!", "AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN",
       "MAXIMUM DISPLACEMENT DEFINED IN AXIAL LOAD-DISPLACEMENT CURVE", "BEARING"},
      {an.N_FAIL_PULLOUT, "SOME PILES, MAY FAIL IN PULL OUT!", "AXIAL DISPLACEMENT ESTIMATED IS SMALLER THAN",
       "MINIMUM DISPLACEMENT DEFINED IN AXIAL LOAD-DISPLACEMENT CURVE", "PULL OUT"},
      {an.N_FAIL_TORSION, "SOME PILES, MAY FAIL IN TORSION!", "TORSIONAL ROTATION ESTIMATED IS LARGER/SMALLER",
       "THAN MAXIMUM/MINIMUM ROTATION DEFINED IN TORQUE-ROTATION CURVE", "TORSION"},
  };
  bool any = false;
  for (const KIND& k : kinds) {
    if (k.count <= 0) continue;
    any = true;
    if (rep) WRITE_F(rep, "(/,5X,'** WARNING **  ',A,/,5X,15X,A,/,5X,15X,A)", k.head, k.l2, k.l3);
    if (rt) WRITE_F(rt, "(/,5X,'** WARNING **  ',A)", k.head);
  }
  if (any && an.OUTCOME != 1 && an.OUTCOME != 2) an.OUTCOME = 3;
  // The recorded warnings of the last evaluation, bearing, pull-out, torsion.
  if (an.OUTCOME == 3)
    for (const KIND& k : kinds) copy_warnings(run, k.tag);
  close_warnings(run);
  COMMIT_RUNTIME(run);

  // The last converged fraction and its displacement.
  for (int k = 1; k <= 6; ++k) Q[k] = an.FRACTION * an.TOTAL_LOAD[k];
  an.U = U_start;
  FILE* cr = run.files[F_CASE_RESULTS];
  const char* failure = an.OUTCOME == 1   ? "    6 NO CONVERGENCE ON PILES   "
                        : an.OUTCOME == 2 ? "    7 SINGULAR STIFFNESS MATRIX "
                        : an.FRACTION <= 0.0 ? "    3 NO CONVERGENCE ON PILE CAP"
                                             : nullptr;
  int st = ST_OK;
  if (an.STIFF_MODE == 2) {
    FLEXIBILITY_RECORDS(run, failure, Q, an.U);
  } else if (an.STIFF_MODE == 1) {
    st = TARGET_MODE_END(run, failure, Q, an.U, an.LAST_K, 6);
  } else if (failure) {
    if (cr && an.STIFF_PASS == 0) WRITE_F(cr, "(A)", failure);
  } else if (an.STIFF_PASS == 0) {
    st = RESULTS_REPORT(run);
  }
  an.PASS_FLAG = 0;
  load_out = Q;
  disp_out = an.U;
  return st;
}

}  // namespace kestra
