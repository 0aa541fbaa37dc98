// Cap equilibrium in 2D: the group reaction of the pile rows, the passive
// force of an embedded cap, and the incremental Newton iteration with load
// steps, halving of the increment and a minimum increment.
#include "group/cap_solve_2d.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "group/foundation_stiffness.h"
#include "group/pile_head.h"
#include "group/stiffness_passes.h"
#include "output/results_report.h"
#include "output/row_results_2d.h"
#include "pile/pile_solvers.h"

namespace kestra {

namespace {

// Constants of the 2D cap iteration, single precision values widened.
const double STEP_TRANSLATION = double(1.0E-5f);
const double STEP_TRANSLATION_SI = double(2.54E-7f);  // 1.0E-5 inch in metres
const double STEP_ROTATION = double(1.0E-8f);
const double CONVERGENCE_FLOOR = double(1.0E-10f);
const double DETERMINANT_FLOOR = double(1.0E-14f);
const double GROUND_THRESHOLD = double(-1.0E-6f);
const double ABANDON_MARKER = double(1.1f);

// ---------------------------------------------------------------------------
// Failure-warnings scratch file: emptied before every base evaluation and
// read back after the step loop. A run without a name for it (tests) uses an
// anonymous temporary file. The file stays open between the two so that an
// anonymous one keeps its content; close_fail_warnings ends it.

void open_fail_warnings(RUN& run) {
  FILE*& f = run.files.fp[F_FAIL_WARNINGS];
  if (f) std::fclose(f);
  const std::string& name = run.files.name[F_FAIL_WARNINGS];
  f = name.empty() ? std::tmpfile() : std::fopen(name.c_str(), "w+");
}

void close_fail_warnings(RUN& run) {
  FILE*& f = run.files.fp[F_FAIL_WARNINGS];
  if (f) std::fclose(f);
  f = nullptr;
}

// One 256-character record of the scratch file, trailing blanks and the
// newline removed. False at the end of the file.
bool read_record(FILE* f, std::string& line) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() < 256) line.push_back(char(c));
  }
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
  return any;
}

// Copies the recorded warnings, every bearing warning first, then every
// pull-out warning, three lines each, to the report and the runtime file.
void copy_fail_warnings(RUN& run) {
  FILE* f = run.files[F_FAIL_WARNINGS];
  if (!f) return;
  std::fflush(f);
  std::rewind(f);
  std::vector<std::string> lines;
  std::string line;
  while (read_record(f, line)) lines.push_back(line);
  for (const char* kind : {"FAILURE IN BEARING", "FAILURE IN PULL OUT"}) {
    for (size_t k = 0; k < lines.size(); ++k) {
      if (lines[k].find(kind) == std::string::npos) continue;
      // The warning line is the second of its three, after a blank line.
      const size_t first = k > 0 ? k - 1 : k;
      for (size_t j = first; j < first + 3 && j < lines.size(); ++j) {
        WRITE_F(run.files[F_REPORT], "(A)", lines[j]);
        WRITE_F(run.files[F_RUNTIME], "(A)", lines[j]);
      }
    }
  }
}

// ---------------------------------------------------------------------------

void copy3(const std::array<double, 7>& from, VEC3& to) {
  for (int k = 1; k <= 3; ++k) to[k] = from[k];
}

double norm2(double a, double b) { return std::sqrt(a * a + b * b); }

// Writes the three values of a trace vector.
void trace_vector(FILE* f, const char* fmt, const VEC3& v) {
  if (f) WRITE_F(f, fmt, v[1], v[2], v[3]);
}

// Progress message of one iteration of the cap solution.
void progress_2d(RUN& run, int kind, int step, double tcur, int iteration) {
  const ANALYSIS& an = run.store.an;
  const char* what = kind == 1 ? "LOAD COMB " : "LOAD CASE ";
  std::string msg;
  if (an.STIFF_PASS > 0) {
    msg = FORMAT(std::string("('- ANALYSIS FOR ") + what +
                     "',I3,'/',I3,/,' DOF:',I3,'/',I3,' STEP:',I5,' TCUR:',F10.4,' ITERATION:',I5,/)",
                 {an.CURRENT, an.COUNT, an.STIFF_DOF, an.STIFF_NDOF, step, tcur, iteration});
  } else {
    msg = FORMAT(std::string("('- ANALYSIS FOR ") + what +
                     "',I3,'/',I3,/,' STEP:',I5,' TCUR:',F10.4,' ITERATION:',I5,/)",
                 {an.CURRENT, an.COUNT, step, tcur, iteration});
  }
  while (!msg.empty() && msg.back() == '\n') msg.pop_back();
  PROGRESS(run, msg);
}

// The passive resistance of an embedded cap: the signed force and the
// height of its resultant.
void write_passive_table_2d(RUN& run) {
  const LABELS& lb = run.store.labels;
  const ANALYSIS& an = run.store.an;
  const std::string F3(lb.FORCE_LABEL, 3), L3(lb.LENGTH_LABEL3, 3);
  for (int role : {F_REPORT, F_SUMMARY}) {
    FILE* f = run.files[role];
    if (!f) continue;
    WRITE_F(f, "(/,/,5X,'* PASIVE RESISTANCE IN PILE CAP *')");
    WRITE_F(f, "(/,5X,9X,'HORI. LOAD,',A3,6X,'POSITION,',A3)", F3, L3);
    WRITE_BLANKS(f, 10);
    WRITE_REAL(f, 18, 5, an.PASSIVE_Y);
    WRITE_REAL(f, 18, 5, an.PASSIVE_POS);
    END_LINE(f);
  }
}

void case_result_line(RUN& run, const char* text) {
  if (FILE* f = run.files[F_CASE_RESULTS]) WRITE_F(f, "(A)", text);
}

// The end of a cap solution in a stiffness pass: the flexibility records, or
// the target check and the equivalent-stiffness pass of the target mode.
int stiffness_records_2d(RUN& run, const char* failure, const VEC6& load, const VEC6& disp) {
  ANALYSIS& an = run.store.an;
  if (an.STIFF_MODE == 2) {
    FLEXIBILITY_RECORDS(run, failure, load, disp);
    return ST_OK;
  }
  return TARGET_MODE_END(run, failure, load, disp, an.LAST_K, 3);
}

}  // namespace

// ---------------------------------------------------------------------------

void ROW_TRANSFER_2D(const STORE& s, int i, MAT3& M) {
  const double b = s.piles.ALPHA[i];
  const double c = std::cos(b), sn = std::sin(b);
  const double X = s.piles.PILE_X[i], Y = s.piles.PILE_Y[i];
  M = MAT3{};
  M[1][1] = c;
  M[2][1] = sn;
  M[3][1] = X * sn - Y * c;
  M[1][2] = -sn;
  M[2][2] = c;
  M[3][2] = X * c + Y * sn;
  M[3][3] = 1.0;
}

void ROW_HEAD_DISPLACEMENT_2D(const STORE& s, int i, const VEC3& U, VEC3& u) {
  MAT3 M;
  ROW_TRANSFER_2D(s, i, M);
  for (int j = 1; j <= 3; ++j) u[j] = M[1][j] * U[1] + M[2][j] * U[2] + M[3][j] * U[3];
  u[0] = 0.0;
}

double AXIAL_HEAD_FORCE_2D(RUN& run, int i, double a, int& status) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& w = an.work;
  status = ST_OK;
  w.AXDISP.fill(0.0);
  w.AXFORCE.fill(0.0);
  if (a == 0.0) return 0.0;

  // The curve: a user curve by its number, else the generated curve of the
  // row's property.
  const int set = s.piles.LS_SET[i];
  const int prop = s.piles.PILE_PROP[i];
  const double* d = nullptr;
  const double* q = nullptr;
  int n = 0;
  if (set >= 1 && set <= MAX_LS_CURVES) {
    const USER_LS_CURVE& c = s.soil.LS_CURVES[set];
    d = c.DISP.data();
    q = c.LOAD.data();
    n = c.NPOINTS;
  } else if (prop >= 1 && prop <= MAX_PROPERTIES) {
    d = s.head.LS_DISP[prop].data();
    q = s.head.LS_LOAD[prop].data();
    n = HEAD_CURVE_POINTS;
  }
  if (n < 2) return 0.0;  // no curve: the row carries no axial force

  int j = 0;
  for (int k = 2; k <= n; ++k) {
    if (a <= d[k]) {
      j = k;
      break;
    }
  }
  double N = 0.0;
  const bool bearing = j == 0;
  const bool pullout = j != 0 && a < d[1];
  if (!bearing && !pullout) {
    const double span = d[j] - d[j - 1];
    N = span != 0.0 ? q[j - 1] + (q[j] - q[j - 1]) * (a - d[j - 1]) / span : q[j];
    if (an.cur.AXIAL_VARIATION > 0 && set <= 0) {
      double head = N;
      status = AXIAL_SOLVE(run, w, i, prop, a, head);
      N = head;
      const double f = s.piles.AXIAL_FACTOR[i];
      for (double& v : w.AXFORCE) v *= f;
    }
    return N;
  }
  if (an.WARN_RECORDING == 1) {
    if (FILE* f = run.files[F_FAIL_WARNINGS]) {
      if (bearing) {
        WRITE_F(f,
                "(/,5X,'** WARNING **  ','APPARENT FAILURE IN BEARING    ,',2X,'PILE GROUP',I5,/,20X,"
                "'AX. DISP.=',E12.4,' > ',E12.4,5X,'AX. FORCE=',E12.4)",
                i, a, d[n], N);
      } else {
        WRITE_F(f,
                "(/,5X,'** WARNING **  ','APPARENT FAILURE IN PULL OUT    ',2X,'PILE GROUP',I5,/,20X,"
                "'AX. DISP.=',E12.4,' > ',E12.4,5X,'AX. FORCE=',E12.4)",
                i, a, d[1], N);
      }
    }
    if (bearing)
      ++an.N_FAIL_BEARING;
    else
      ++an.N_FAIL_PULLOUT;
  }
  return N;
}

int CAP_RESISTANCE_2D(RUN& run, const VEC3& U, VEC3& R) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& w = an.work;
  R = VEC3{};
  for (int i = 1; i <= s.piles.NPILES; ++i) {
    MAT3 M;
    ROW_TRANSFER_2D(s, i, M);
    VEC3 u{};
    for (int j = 1; j <= 3; ++j) u[j] = M[1][j] * U[1] + M[2][j] * U[2] + M[3][j] * U[3];

    w.group = i;
    w.property = s.piles.PILE_PROP[i];
    int axial_status = ST_OK;
    const double N = AXIAL_HEAD_FORCE_2D(run, i, u[1], axial_status) * s.piles.AXIAL_FACTOR[i];
    // The node layout starts from a clean status: a failure of the axial
    // solution is not fatal (the head force of its last iterate is used),
    // but it is logged so that it is not lost silently.
    if (axial_status != ST_OK) {
      char line[96];
      std::snprintf(line, sizeof line, "     NOTE: AXIAL SOLUTION OF PILE GROUP %5d ENDED WITH STATUS %4d", i,
                    axial_status);
      LOG_RUNTIME(run, line);
    }

    int st = GENERATE_NODES(run, w, i);
    if (st != ST_OK) return st;
    PILE_SOLUTION_CONTROLS(run, w);
    w.NO_CLOSURE = 0;
    double V = 0.0;
    st = LLP_GROUP(run, w, i, u[2], u[3], N, V);
    if (st != ST_OK) return st;
    double Mh = 0.0;
    if (w.NO_CLOSURE != 0) {
      an.OUTCOME = 1;
    } else {
      // The head moment of the solution, taken before the recording of the
      // row turns BMOM into EI*y'' in place.
      Mh = w.PLANE_Y.BMOM[NODE(0)];
      if (an.PASS_FLAG == 1 || an.PASS_FLAG == 2) RECORD_ROW_2D(run, i, u, VEC3{0.0, N, V, Mh});
    }
    const double m = s.piles.MULTIPLICITY[i];
    const VEC3 f{0.0, m * N, m * V, m * Mh};
    for (int r = 1; r <= 3; ++r) R[r] += M[r][1] * f[1] + M[r][2] * f[2] + M[r][3] * f[3];
  }
  return ST_OK;
}

void CAP_STEPS_2D(const STORE& s, VEC3& step) {
  const double dt = s.ctl.UNITS_SYSTEM == 2 ? STEP_TRANSLATION_SI : STEP_TRANSLATION;
  step = VEC3{0.0, dt, dt, STEP_ROTATION};
}

void PASSIVE_FORCE_2D(const RUN& run, const VEC3& U, VEC3& P, double& F_out, double& position) {
  const STORE& s = run.store;
  const PILE_WORK& w = s.an.work;
  const double g = w.ground;
  const double p = w.CAP_P;
  const double T = s.piles.CAP_THICKNESS;
  const double XN = s.piles.NPILES >= 1 ? s.piles.PILE_X[s.piles.NPILES] : 0.0;
  double F = 0.0, M = 0.0;
  position = XN;
  if (g < GROUND_THRESHOLD) {
    const double ag = std::fabs(g);
    double H, e;
    if (ag > T) {
      H = T;
      e = (ag - T) * p / ag;
    } else {
      H = ag;
      e = 0.0;
    }
    F = 0.5 * H * (e + p);
    M = H * e * (H / 2.0 - XN) + 0.5 * H * (p - e) * (H / 3.0 - XN);
    if (U[2] < 0.0) {
      F = -F;
      M = -M;
    }
    // Height of the resultant below the origin; a cap face without soil
    // resistance has no resultant and is reported at the last row.
    if (std::fabs(F) > 0.0) position = XN - (e * H * H / 2.0 + (p - e) * H * H / 6.0) / std::fabs(F);
  }
  P = VEC3{0.0, 0.0, -F, M};
  F_out = F;
}

bool SOLVE_3X3_COFACTORS(const MAT3& K, const VEC3& r, VEC3& dU, double& det) {
  MAT3 C{};
  C[1][1] = K[2][2] * K[3][3] - K[2][3] * K[3][2];
  C[1][2] = -(K[2][1] * K[3][3] - K[2][3] * K[3][1]);
  C[1][3] = K[2][1] * K[3][2] - K[2][2] * K[3][1];
  C[2][1] = -(K[1][2] * K[3][3] - K[1][3] * K[3][2]);
  C[2][2] = K[1][1] * K[3][3] - K[1][3] * K[3][1];
  C[2][3] = -(K[1][1] * K[3][2] - K[1][2] * K[3][1]);
  C[3][1] = K[1][2] * K[2][3] - K[1][3] * K[2][2];
  C[3][2] = -(K[1][1] * K[2][3] - K[1][3] * K[2][1]);
  C[3][3] = K[1][1] * K[2][2] - K[1][2] * K[2][1];
  det = K[1][1] * C[1][1] + K[1][2] * C[1][2] + K[1][3] * C[1][3];
  if (!(std::fabs(det) > DETERMINANT_FLOOR)) return false;
  // K^-1 = C^T / det.
  for (int i = 1; i <= 3; ++i) dU[i] = (C[1][i] * r[1] + C[2][i] * r[2] + C[3][i] * r[3]) / det;
  return true;
}

void MOVE_MOMENT_TO_SLOT_3(STORE& s) {
  auto& q = s.loads.EQ_LOAD;
  q[3] = q[6];
}

int CAP_SOLVE_2D(RUN& run, int kind, int& flag, VEC6& load_out, VEC6& disp_out) {
  return CAP_SOLVE_2D_WITH(run, kind, flag, load_out, disp_out, CAP_RESISTANCE_2D);
}

namespace {

// The six perturbed evaluations of the group reaction, in the order
// U - d1 e1, U - d2 e2, U - d3 e3, U + d1 e1, U + d2 e2, U + d3 e3. When
// 'passive' is set, each is followed by the passive force there and the
// columns are those of the passive force; else of the reaction.
int central_differences(RUN& run, const VEC3& U, const VEC3& step, CAP_REACTION_2D reaction, bool passive,
                        MAT3& K) {
  std::array<VEC3, 7> val{};
  for (int e = 0; e < 6; ++e) {
    const int j = e % 3 + 1;
    VEC3 Up = U;
    Up[j] += e < 3 ? -step[j] : step[j];
    VEC3 R{};
    const int st = reaction(run, Up, R);
    if (st != ST_OK) return st;
    if (passive) {
      double F, pos;
      PASSIVE_FORCE_2D(run, Up, R, F, pos);
    }
    val[e + 1] = R;
  }
  for (int j = 1; j <= 3; ++j)
    for (int r = 1; r <= 3; ++r) K[r][j] = (val[j + 3][r] - val[j][r]) * 0.5 / step[j];
  return ST_OK;
}

// The results of a converged 2D analysis (EQ_LOAD, U and the fraction in
// the store): Table L, the cap envelope, the partial-load warning and the
// case results line, the passive resistance and the Table M heading, then
// the printing pass over the rows.
int results_report_2d(RUN& run, const VEC3& U, CAP_REACTION_2D reaction) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  FILE* rep = run.files[F_REPORT];
  FILE* sum = run.files[F_SUMMARY];
  WRITE_TABLE_L(run);
  if (an.PRINTED == 1) ENVELOPE_RESET(run);
  ENVELOPE_CAP_UPDATE(run);

  const double f = an.FRACTION;
  if (f < 1.0) {
    for (FILE* out : {rep, sum})
      if (out)
        WRITE_F(out,
                "(/,5X,'** WARNING **  ','  KESTRA COULD NOT GET SOLUTION FOR 100% OF THE LOAD',/,5X,'               ',"
                "'  RESULTS ARE FOR ',F8.2,'% OF THE TOTAL LOAD',/)",
                100.0 * f);
    if (FILE* cr = run.files[F_CASE_RESULTS])
      WRITE_F(cr, "('    2 SOLUTION AT ',F8.2,' % OF THE TOTAL LOAD')", 100.0 * f);
  } else {
    case_result_line(run, "    1 ANALYSIS COMPLETED");
  }

  if (an.cur.PRINT_OPTION > 0) {
    if (s.ctl.CAP_OPTION == 1) write_passive_table_2d(run);
    for (FILE* out : {rep, sum})
      if (out) WRITE_F(out, "(/,/,/,5X,'* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");
  }
  if (FILE* t = run.files[F_RESULTS_TABLE]) WRITE_F(t, "('* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");

  FILE*& ext = run.files.fp[F_EXTREME_SCRATCH];
  if (ext) std::fclose(ext);
  const std::string& name = run.files.name[F_EXTREME_SCRATCH];
  ext = name.empty() ? nullptr : std::fopen(name.c_str(), "w+");
  an.PASS_FLAG = 1;
  VEC3 R{};
  const int st = reaction(run, U, R);
  an.PASS_FLAG = 0;
  if (ext) {
    std::fclose(ext);
    ext = nullptr;
  }
  SUMMARY_PILE_TABLES(run);
  ++an.PRINTED;
  return st;
}

}  // namespace

int CAP_SOLVE_2D_WITH(RUN& run, int kind, int& flag, VEC6& load_out, VEC6& disp_out,
                      CAP_REACTION_2D reaction) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  const CURRENT_CONTROLS& cur = an.cur;
  FILE* rt = run.files[F_RUNTIME];
  FILE* rep = run.files[F_REPORT];
  FILE* trace = run.files[F_CAP_TRACE];

  // Set-up.
  VEC3 L0{};
  copy3(s.loads.EQ_LOAD, L0);
  flag = s.py.PY_PHASE;
  s.py.PY_PHASE = 0;
  VEC3 U{}, U_start{}, dU{}, dU_step{}, L{}, R{}, r{};
  MAT3 K{};
  // A load increment outside (0, 1] would never advance the load fraction;
  // the whole load is then applied in one step.
  const double inc = cur.LOAD_INCREMENT > 0.0 && cur.LOAD_INCREMENT <= 1.0 ? cur.LOAD_INCREMENT : 1.0;
  double tcur = inc, dtcur = inc;
  int step = 0;
  an.PASS_FLAG = 0;
  an.N_FAIL_BEARING = an.N_FAIL_PULLOUT = an.N_FAIL_TORSION = 0;
  an.WARN_RECORDING = 0;
  an.OUTCOME = 0;
  an.U = VEC6{};
  an.TCUR = 1.0;
  an.CAP_ITERATIONS_TOTAL = 0;
  double last_converged = 0.0;
  bool any_converged = false;
  if (rt) {
    WRITE_F(rt, "(/,'     GLOBAL ITERATIONS')");
    COMMIT_RUNTIME(run);
  }
  VEC3 step_size;
  CAP_STEPS_2D(s, step_size);
  // A minimum increment of zero would halve forever.
  const double min_inc = cur.MIN_INCREMENT > 0.0 ? cur.MIN_INCREMENT : 1.0E-12;
  auto store_u = [&an](const VEC3& v) { an.U = VEC6{0.0, v[1], v[2], 0.0, 0.0, 0.0, v[3]}; };
  int iteration = 0;

  while (tcur <= 1.0) {
    ++step;
    const double t = tcur;
    an.TCUR = tcur;
    if (rt) {
      WRITE_F(rt, "(5X,'STEP ',I5,', TCUR ',F10.4,', DTCUR ',F10.4)", step, tcur, dtcur);
      COMMIT_RUNTIME(run);
    }
    dU = VEC3{};
    dU_step = VEC3{};
    iteration = 0;
    an.CAP_ITERATIONS = 0;
    s.py.PY_TABULATE = false;

    for (;;) {
      an.N_FAIL_BEARING = an.N_FAIL_PULLOUT = 0;
      an.OUTCOME = 0;
      ++iteration;
      an.CAP_ITERATIONS = iteration;
      ++an.CAP_ITERATIONS_TOTAL;

      progress_2d(run, kind, step, tcur, iteration);
      if (STOP_REQUESTED(run)) {
        close_fail_warnings(run);
        return ST_STOPPED;
      }

      bool failed = false;  // the iteration cannot count: halve the increment
      double ErrDsp = 0, ErrRot = 0, IncDsp = 0, IncRot = 0, TotDsp = 0, TotRot = 0, MaxDsp = 0, MaxRot = 0;

      // Base evaluation, with the failure warnings recorded.
      an.WARN_RECORDING = 1;
      open_fail_warnings(run);
      store_u(U);
      int st = reaction(run, U, R);
      if (FILE* f = run.files[F_FAIL_WARNINGS]) std::fflush(f);
      an.WARN_RECORDING = 0;
      if (st != ST_OK) {
        close_fail_warnings(run);
        return st;
      }
      if (an.OUTCOME == 1) failed = true;

      MAT3 Kc{};
      if (!failed) {
        for (int k = 1; k <= 3; ++k) L[k] = t * L0[k];
        if (s.ctl.CAP_OPTION == 1) {
          VEC3 P;
          double F, pos;
          PASSIVE_FORCE_2D(run, U, P, F, pos);
          an.PASSIVE_Y = F;
          an.PASSIVE_POS = pos;
          L[2] += P[2];
          L[3] += P[3];
          st = central_differences(run, U, step_size, reaction, true, Kc);
          if (st != ST_OK) {
            close_fail_warnings(run);
            return st;
          }
        }
        for (int k = 1; k <= 3; ++k) r[k] = L[k] - R[k];
        if (trace) {
          WRITE_LIST(trace);
          WRITE_LIST(trace, iteration);
        }

        // Tangent stiffness of the whole group.
        st = central_differences(run, U, step_size, reaction, false, K);
        if (st != ST_OK) {
          close_fail_warnings(run);
          return st;
        }
        if (an.OUTCOME == 1) failed = true;
      }
      if (!failed) {
        for (int a = 1; a <= 3; ++a)
          for (int b = 1; b <= 3; ++b) K[a][b] -= Kc[a][b];
        for (int a = 1; a <= 3; ++a)
          for (int b = 1; b <= 3; ++b) an.LAST_K[a][b] = K[a][b];  // for the stiffness passes
        if (trace)
          for (int a = 1; a <= 3; ++a) WRITE_F(trace, "('SS  ',I1,7E18.10)", a, K[a][1], K[a][2], K[a][3]);

        double det = 0.0;
        if (!SOLVE_3X3_COFACTORS(K, r, dU, det)) {
          if (rep) WRITE_F(rep, "(5X,'** WARNING **  ','DETERMINANT OF STIFFNESS MATRIX IS ZERO')");
          if (rt) {
            WRITE_F(rt, "(/,/,5X,'** WARNING **  ','DETERMINANT OF STIFFNESS MATRIX IS ZERO')");
            COMMIT_RUNTIME(run);
          }
          an.OUTCOME = 2;
          failed = true;
        }
      }
      if (!failed) {
        for (int k = 1; k <= 3; ++k) {
          U[k] += dU[k];
          dU_step[k] += dU[k];
        }
        store_u(U);
        trace_vector(trace, "('DDV  ',7E18.10)", dU);
        trace_vector(trace, "('DFV  ',7E18.10)", r);
        trace_vector(trace, "('UDV  ',7E18.10)", dU_step);
        trace_vector(trace, "('DV   ',7E18.10)", U);
        trace_vector(trace, "('FV   ',7E18.10)", L);
        trace_vector(trace, "('RV   ',7E18.10)", R);

        IncDsp = norm2(dU[1], dU[2]);
        IncRot = std::fabs(dU[3]);
        TotDsp = norm2(dU_step[1], dU_step[2]);
        TotRot = std::fabs(dU_step[3]);
        MaxDsp = std::fmax(std::fabs(dU[1]), std::fabs(dU[2]));
        MaxRot = std::fabs(dU[3]);
        ErrDsp = TotDsp != 0.0 ? IncDsp / TotDsp : IncDsp;
        ErrRot = TotRot != 0.0 ? IncRot / TotRot : IncRot;
        if (rt) {
          WRITE_F(rt, "(5X,'ITERATION ',I4)", iteration);
          WRITE_F(rt, "(5X,'          ',4X,'- ErrDsp ',E13.5,', IncDsp ',E13.5,', TotDsp ',E13.5)", ErrDsp,
                  IncDsp, TotDsp);
          WRITE_F(rt, "(5X,'          ',4X,'- ErrRot ',E13.5,', IncRot ',E13.5,', TotRot ',E13.5)", ErrRot,
                  IncRot, TotRot);
          if (cur.USE_ALT_TOL == 1)
            WRITE_F(rt, "(5X,'          ',4X,'- MaxDsp ',E13.5,', MaxRot ',E13.5)", MaxDsp, MaxRot);
          COMMIT_RUNTIME(run);
        }
        if (iteration == 1) continue;  // the first iteration of a step is never tested

        const bool alt = cur.USE_ALT_TOL == 1;
        const bool dsp_ok = ErrDsp <= cur.TOL_CAP || IncDsp <= CONVERGENCE_FLOOR || TotDsp <= CONVERGENCE_FLOOR ||
                            (alt && MaxDsp <= cur.ALT_TOL_DISP);
        const bool rot_ok = ErrRot <= cur.TOL_CAP || IncRot <= CONVERGENCE_FLOOR || TotRot <= CONVERGENCE_FLOOR ||
                            (alt && MaxRot <= cur.ALT_TOL_ROT);
        if (dsp_ok && rot_ok) {
          for (int k = 1; k <= 3; ++k) U[k] = U_start[k] + dU_step[k];
          U_start = U;
          store_u(U);
          last_converged = tcur;
          any_converged = true;
          const double old = tcur;
          tcur += dtcur;
          if (tcur > 1.0 && old < 1.0) tcur = 1.0;
          break;  // next step
        }
        if (iteration <= cur.MAXIT_CAP) continue;
      } else {
        iteration = cur.MAXIT_CAP + 1;
        an.CAP_ITERATIONS = iteration;
      }

      // Too many iterations, or an iteration that failed: halve.
      dtcur *= 0.5;
      U = U_start;
      store_u(U);
      if (dtcur < min_inc) {
        if (an.OUTCOME != 2) {
          for (FILE* f : {rep, rt})
            if (f)
              WRITE_F(f, "(/,/,5X,'** WARNING **  ','PILE CAP DISPL DOES NOT CONVERGE AFTER,',I5,2X,'ITERATIONS')",
                      cur.MAXIT_CAP);
          COMMIT_RUNTIME(run);
        }
        tcur = ABANDON_MARKER;
      } else {
        --step;
        tcur -= dtcur;
      }
      break;
    }
  }

  // The stored fraction is now the last converged one (0 when none).
  an.TCUR = last_converged;
  an.FRACTION = last_converged;

  // Failure warnings of the last base evaluation.
  if (an.N_FAIL_BEARING > 0) {
    if (rep)
      WRITE_F(rep,
              "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN BEARING!',/,5X,15X,'AXIAL DISPLACEMENT ESTIMATED IS "
              "LARGER THAN',/,5X,15X,'MAXIMUM DISPLACEMENT DEFINED',' IN LOAD-SETTLEMENT CURVE')");
    if (rt) WRITE_F(rt, "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN BEARING!')");
    an.OUTCOME = 3;
  }
  if (an.N_FAIL_PULLOUT > 0) {
    if (rep)
      WRITE_F(rep,
              "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN PULL OUT!',/,5X,15X,'AXIAL DISPLACEMENT ESTIMATED IS "
              "SMALLER THAN',/,5X,15X,'MINIMUM DISPLACEMENT DEFINED',' IN LOAD-SETTLEMENT CURVE')");
    if (rt) WRITE_F(rt, "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN PULL OUT!')");
    an.OUTCOME = 3;
  }
  if (an.OUTCOME == 3) copy_fail_warnings(run);
  close_fail_warnings(run);
  COMMIT_RUNTIME(run);

  load_out = VEC6{};
  disp_out = VEC6{};
  for (int k = 1; k <= 3; ++k) disp_out[k] = U[k];

  // The stiffness passes record the outcome in place of the result tables.
  const char* failure = an.OUTCOME == 1   ? "    6 NO CONVERGENCE ON PILES   "
                        : an.OUTCOME == 2 ? "    7 SINGULAR STIFFNESS MATRIX "
                        : !any_converged  ? "    3 NO CONVERGENCE ON PILE CAP"
                                          : nullptr;
  if (an.STIFF_MODE != 0 && failure) return stiffness_records_2d(run, failure, load_out, disp_out);
  if (an.OUTCOME == 1) {
    case_result_line(run, "    6 NO CONVERGENCE ON PILES   ");
    return ST_OK;
  }
  if (an.OUTCOME == 2) {
    case_result_line(run, "    7 SINGULAR STIFFNESS MATRIX ");
    return ST_OK;
  }
  if (!any_converged) {
    case_result_line(run, "    3 NO CONVERGENCE ON PILE CAP");
    return ST_OK;
  }

  // Results at the last converged fraction; the passive force is not part
  // of the printed load.
  const double f = last_converged;
  an.TCUR = f;
  an.FRACTION = f;
  for (int k = 1; k <= 3; ++k) L[k] = f * L0[k];
  for (int k = 1; k <= 3; ++k) load_out[k] = L[k];
  s.loads.EQ_LOAD = VEC6{0.0, L[1], L[2], 0.0, 0.0, 0.0, L[3]};
  store_u(U);
  if (an.STIFF_MODE != 0) return stiffness_records_2d(run, nullptr, load_out, disp_out);
  if (an.STIFF_PASS > 0) return ST_OK;  // a stiffness pass writes its own records
  return results_report_2d(run, U, reaction);
}

}  // namespace kestra
