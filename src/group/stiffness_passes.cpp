// Stiffness passes of a load case: the cap flexibility by load components
// and the stiffness matrices formed from it.
#include "group/stiffness_passes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "group/cap_solve_2d.h"
#include "group/cap_solve_3d.h"
#include "group/foundation_stiffness.h"
#include "group/loads.h"

namespace kestra {

namespace {

int ndof_of(const RUN& run) { return run.store.ctl.ANALYSIS_TYPE == 3 ? 6 : 3; }

// A scratch file emptied for writing and reading back: the named file, or
// an anonymous one when the run has no name for it.
FILE* reopen_scratch(RUN& run, int role) {
  FILE*& f = run.files.fp[role];
  if (f) std::fclose(f);
  const std::string& name = run.files.name[role];
  f = name.empty() ? std::tmpfile() : std::fopen(name.c_str(), "w+");
  return f;
}

void close_scratch(RUN& run, int role) {
  FILE*& f = run.files.fp[role];
  if (f) std::fclose(f);
  f = nullptr;
}

// One scratch record: an integer and n reals.
void write_record(FILE* f, int k, const double* v, int n) {
  if (!f) return;
  double x[7] = {};
  for (int j = 0; j < n && j < 7; ++j) x[j] = v[j];
  const FARG args[8] = {k, x[0], x[1], x[2], x[3], x[4], x[5], x[6]};
  WRITE_FV(f, "(5X,I5,2X,1P,7(G18.8,3X))", std::span<const FARG>(args, static_cast<std::size_t>(n + 1)));
}

// Reads one scratch record back; false at the end of the file.
bool read_record(FILE* f, int& k, double* v, int n) {
  char line[512];
  if (!f || !std::fgets(line, sizeof line, f)) return false;
  char* p = line;
  k = static_cast<int>(std::strtol(p, &p, 10));
  for (int j = 0; j < n; ++j) {
    char* q = p;
    v[j] = std::strtod(p, &q);
    if (q == p) v[j] = 0.0;
    p = q;
  }
  return true;
}

const char* dof_name(int i, bool three_d) {
  static const char* const D3[7] = {"", "FORCE X", "FORCE Y", "FORCE Z", "MOMENT X", "MOMENT Y", "MOMENT Z"};
  static const char* const D2[4] = {"", "FORCE X", "FORCE Y", "MOMENT Z"};
  return three_d ? D3[i] : D2[i];
}

bool rotational(int i, bool three_d) { return three_d ? i >= 4 : i == 3; }

struct UNITS {
  std::string L, F, M;  // length (2), force (3), moment ("F-L")
  std::string Lt, Ft;   // length and force without their leading blanks
};

UNITS units_of(const RUN& run) {
  const LABELS& l = run.store.labels;
  UNITS u;
  u.L = std::string(l.LENGTH_LABEL, 2);
  u.F = std::string(l.FORCE_LABEL, 3);
  auto trim = [](std::string t) {
    const auto a = t.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : t.substr(a);
  };
  u.Lt = trim(u.L);
  u.Ft = trim(u.F);
  u.M = u.Ft + "-" + u.Lt;
  return u;
}

// Unit of a displacement component and of a load component.
std::string disp_unit(const UNITS& u, int j, bool three_d) {
  return rotational(j, three_d) ? std::string("RAD") : u.Lt;
}
std::string load_unit(const UNITS& u, int i, bool three_d) { return rotational(i, three_d) ? u.M : u.Ft; }

std::string right(const std::string& t, std::size_t w) {
  return t.size() >= w ? t.substr(t.size() - w) : std::string(w - t.size(), ' ') + t;
}

// Step 8: the displacements and the flexibility columns of pass i.
void pass_tables(RUN& run, int i) {
  STORE& s = run.store;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const int n = ndof_of(run);
  const UNITS u = units_of(run);
  FILE* disp = run.files[F_DISP_SCRATCH];
  if (!disp) return;
  std::fflush(disp);
  // Rows: per level the displacement record and the flexibility record.
  struct ROW {
    int k = 0;
    bool ok = false;
    double v[7] = {};
    double f[6] = {};
  };
  ROW rows[MAX_STIFF_LEVELS + 1];
  int nrows = 0;
  std::rewind(disp);
  for (;;) {
    ROW r;
    double a[7] = {}, b[7] = {};
    int k1 = 0, k2 = 0;
    if (!read_record(disp, k1, a, n + 1) || !read_record(disp, k2, b, n)) break;
    r.k = std::abs(k1);
    r.ok = k1 > 0;
    for (int j = 0; j <= n; ++j) r.v[j] = a[j];
    for (int j = 0; j < n; ++j) r.f[j] = b[j];
    if (nrows < MAX_STIFF_LEVELS) rows[++nrows] = r;
  }
  const bool rot = rotational(i, three_d);
  for (FILE* out : {run.files[F_REPORT], run.files[F_SUMMARY], run.files[F_RESULTS_TABLE]}) {
    if (!out) continue;
    const bool table_file = out == run.files[F_RESULTS_TABLE];
    // Displacements.
    if (three_d) {
      if (rot)
        WRITE_F(out, "(/,5X,'    N',6X,'MOMENT,',A)", right(u.M, 6));
      else
        WRITE_F(out, "(/,5X,'    N',7X,'FORCE,',A3)", u.F);
      std::string h = std::string(27, ' ');
      static const char* const NAMES[7] = {"", "DISP X,", "DISP Y,", "DISP Z,", "ROT X,", "ROT Y,", "ROT Z,"};
      for (int j = 1; j <= 6; ++j) h += right(std::string(NAMES[j]) + disp_unit(u, j, true), 15);
      WRITE_F(out, "(A)", h);
    } else if (rot) {
      WRITE_F(out, "(/,5X,'    N',6X,'MOMENT,',A,5X,'VERT. DISP,',A2,4X,'HOR. DISP Y,',A2,4X,'ROTATION Z,',A3)",
              right(u.M, 6), u.L, u.L, "RAD");
    } else {
      WRITE_F(out, "(/,5X,'    N',7X,'FORCE,',A3,5X,'VERT. DISP,',A2,4X,'HOR. DISP Y,',A2,4X,'ROTATION Z,',A3)", u.F,
              u.L, u.L, "RAD");
    }
    const int w = table_file ? 17 : 15, d = table_file ? 8 : 5;
    for (int r = 1; r <= nrows; ++r) {
      if (!rows[r].ok) {
        WRITE_F(out, "(5X,I5,5X,'NO CONVERGENCE ON PILE CAP')", rows[r].k);
        continue;
      }
      WRITE_BLANKS(out, 5);
      WRITE_INT(out, 5, rows[r].k);
      WRITE_BLANKS(out, 2);
      for (int j = 0; j <= n; ++j) WRITE_REAL(out, w, d, rows[r].v[j]);
      END_LINE(out);
    }
    // Flexibility columns f_ji = U_j / F_i.
    std::string h = std::string(12, ' ');
    for (int j = 1; j <= n; ++j) {
      char idx[32];
      std::snprintf(idx, sizeof idx, "F%d%d", j, i);
      h += right(idx, w);
    }
    WRITE_F(out, "(/,A)", h);
    std::string hu = std::string(12, ' ');
    for (int j = 1; j <= n; ++j) hu += right(disp_unit(u, j, three_d) + "/" + load_unit(u, i, three_d), w);
    WRITE_F(out, "(A)", hu);
    for (int r = 1; r <= nrows; ++r) {
      if (!rows[r].ok) {
        WRITE_F(out, "(5X,I5,5X,'NO CONVERGENCE ON PILE CAP')", rows[r].k);
        continue;
      }
      WRITE_BLANKS(out, 5);
      WRITE_INT(out, 5, rows[r].k);
      WRITE_BLANKS(out, 2);
      for (int j = 0; j < n; ++j) WRITE_REAL(out, w, d, rows[r].f[j]);
      END_LINE(out);
    }
  }
}

// Step 9: the stiffness matrix of every level from the flexibility columns.
void stiffness_matrices(RUN& run) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const int n = ndof_of(run);
  const int nl = an.NLEVELS;
  const UNITS u = units_of(run);
  FILE* rep = run.files[F_REPORT];
  FILE* sum = run.files[F_SUMMARY];
  FILE* tab = run.files[F_RESULTS_TABLE];
  FILE* rt = run.files[F_RUNTIME];
  for (FILE* f : {rep, sum, tab, rt})
    if (f) WRITE_F(f, "(/,5X,'* PILE CAP STIFFNESS ESTIMATION *')");
  COMMIT_RUNTIME(run);
  // The flexibility columns: every pass that was not skipped wrote one
  // record per level, passes in order.
  double flex[MAX_STIFF_LEVELS + 1][7][7] = {};
  FILE* fs = run.files[F_FLEX_SCRATCH];
  if (fs) {
    std::fflush(fs);
    std::rewind(fs);
  }
  for (int i = 1; i <= n; ++i) {
    if (an.STIFF_SKIPPED[i]) continue;
    for (int k = 1; k <= nl; ++k) {
      int kk = 0;
      double v[6] = {};
      if (!read_record(fs, kk, v, n)) break;
      if (kk < 1 || kk > nl) continue;
      for (int j = 1; j <= n; ++j) flex[kk][j][i] = v[j - 1];
    }
  }
  for (int k = 1; k <= nl; ++k) {
    // The loaded degrees of freedom and their flexibility block.
    int map[7] = {}, m = 0;
    for (int i = 1; i <= n; ++i)
      if (!an.STIFF_SKIPPED[i]) map[++m] = i;
    MAT6 a{};
    for (int r = 1; r <= m; ++r)
      for (int c = 1; c <= m; ++c) {
        const int ri = map[r], ci = map[c];
        a[r][c] = (an.cur.STIFF_DIAGONAL == 1 && ri != ci) ? 0.0 : flex[k][ri][ci];
      }
    const bool ok = m > 0 && GAUSS_JORDAN(a, m);
    MAT6 K{};
    if (ok)
      for (int r = 1; r <= m; ++r)
        for (int c = 1; c <= m; ++c) K[map[r]][map[c]] = a[r][c];
    for (FILE* f : {rep, sum, tab}) {
      if (!f) continue;
      WRITE_F(f, "(/,4X,'   N:',I5,'  FACTOR :',F10.4)", k, an.LEVELS[k]);
      if (!ok && m > 0) {
        WRITE_F(f, "(5X,'** WARNING **  ','DETERMINANT OF FLEXIBILITY MATRIX IS ZERO')");
        continue;
      }
      const bool table_file = f == tab;
      const int w = table_file ? 18 : 15, d = table_file ? 8 : 5;
      if (!table_file) {
        std::string units;
        if (three_d) {
          WRITE_F(f, "(2X,5X,6(9X,'K',I1,I1,3X))", 1, 1, 1, 2, 1, 3, 1, 4, 1, 5, 1, 6);
          units = std::string(7, ' ');
          for (int j = 1; j <= 6; ++j) units += right(load_unit(u, j, true) + "/" + disp_unit(u, j, true), 15);
        } else {
          WRITE_F(f, "(5X,'     ',3X,3(7X,'K',I1,I1,8X))", 1, 1, 1, 2, 1, 3);
          units = std::string(13, ' ');
          for (int j = 1; j <= 3; ++j) units += right(load_unit(u, j, false) + "/" + disp_unit(u, j, false), 18);
        }
        WRITE_F(f, "(A)", units);
      }
      for (int r = 1; r <= n; ++r) {
        if (table_file) {
          WRITE_BLANKS(f, 2);
          WRITE_INT(f, 5, r);
        } else if (three_d) {
          WRITE_BLANKS(f, 2);
          WRITE_INT(f, 5, r);
        } else {
          WRITE_BLANKS(f, 5);
          WRITE_INT(f, 5, r);
          WRITE_BLANKS(f, 3);
        }
        for (int c = 1; c <= n; ++c) WRITE_REAL(f, three_d || table_file ? w : 18, d, K[r][c]);
        END_LINE(f);
      }
    }
  }
}

}  // namespace

void DEFAULT_LEVELS(double* levels) {
  levels[1] = 0.1;
  for (int n = 2; n <= DEFAULT_STIFF_LEVELS; ++n) levels[n] = std::log10(static_cast<double>(n));
}

int STIFFNESS_SETUP(RUN& run, int m) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  an.STIFF_MODE = 0;
  an.STIFF_PASS = 0;
  an.STIFF_SKIPPED = {};
  if (an.cur.STIFFNESS_DATA <= 0) return 0;
  const LOAD_CASE& lc = s.loads.CASE[m];
  // 1. The concentrated load of the case (the driver cleared the
  //    distributed loads).
  an.SAVED_LOAD = s.loads.EQ_LOAD;
  if (s.ctl.ANALYSIS_TYPE != 3) an.SAVED_LOAD[3] = s.loads.EQ_LOAD[6];
  // 2. The levels.
  an.LEVELS = {};
  an.NLEVELS = std::min(lc.NLEVELS, MAX_STIFF_LEVELS);
  for (int k = 1; k <= an.NLEVELS; ++k) an.LEVELS[k] = lc.LEVELS[k];
  if (an.NLEVELS <= 0) {
    an.NLEVELS = DEFAULT_STIFF_LEVELS;
    DEFAULT_LEVELS(an.LEVELS.data());
  }
  an.cur.NLEVELS = an.NLEVELS;
  if (an.cur.STIFFNESS_DATA >= 11) return FOUNDATION_SETUP(run, m);
  const int np = ndof_of(run);
  // 3. The heading and the flexibility scratch file.
  for (FILE* f : {run.files[F_REPORT], run.files[F_SUMMARY]})
    if (f) WRITE_F(f, "(/,/,5X,'* PILE CAP FLEXIBILITY ESTIMATION *')");
  for (FILE* f : {run.files[F_RESULTS_TABLE], run.files[F_RUNTIME]})
    if (f) WRITE_F(f, "(5X,'* PILE CAP FLEXIBILITY ESTIMATION *')");
  COMMIT_RUNTIME(run);
  reopen_scratch(run, F_FLEX_SCRATCH);
  return np;
}

int STIFFNESS_PASS(RUN& run, int m, int p) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  if (an.cur.STIFFNESS_DATA >= 11) return FOUNDATION_POINT(run, m, p);
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const int n = ndof_of(run);
  const int i = p;
  // 4.
  CLEAR_DIST_LOADS(s);
  an.STIFF_MODE = 2;
  an.STIFF_PASS = p;
  an.STIFF_DOF = i;
  an.STIFF_NDOF = n;
  // 5. The heading of the degree of freedom.
  for (FILE* f : {run.files[F_REPORT], run.files[F_SUMMARY]})
    if (f) WRITE_F(f, "(/,5X,'DOF   : ',I1,' (',A,')')", i, dof_name(i, three_d));
  if (FILE* t = run.files[F_RESULTS_TABLE]) WRITE_F(t, "('CAP FLEX., ',I1,', ',A)", i, dof_name(i, three_d));
  FILE* cr = run.files[F_CASE_RESULTS];
  const int nl = an.NLEVELS;
  // 6. A degree of freedom without load.
  if (std::fabs(an.SAVED_LOAD[i]) < 1.0E-12) {
    an.STIFF_SKIPPED[i] = 1;
    for (FILE* f : {run.files[F_REPORT], run.files[F_SUMMARY]})
      if (f) WRITE_F(f, "(/,'             DOF NOT CONSIDERED',' SINCE APPLIED FORCE AT CAP IS ZERO')");
    if (cr)
      for (int k = 1; k <= nl; ++k) {
        WRITE_F(cr, "(6X,'DOF : ',I5,' POINT : ',I5)", i, k);
        WRITE_F(cr, "('    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO')");
      }
    an.STIFF_MODE = 0;
    return ST_OK;
  }
  // 7. The levels.
  reopen_scratch(run, F_DISP_SCRATCH);
  int st = ST_OK;
  for (int k = 1; k <= nl; ++k) {
    an.STIFF_LEVEL = k;
    s.loads.EQ_LOAD = VEC6{};
    s.loads.EQ_LOAD[i] = an.SAVED_LOAD[i] * an.LEVELS[k];
    if (FILE* rt = run.files[F_RUNTIME]) WRITE_F(rt, "(5X,'DOF : ',I5,' POINT : ',I5)", i, k);
    COMMIT_RUNTIME(run);
    if (cr) WRITE_F(cr, "(6X,'DOF : ',I5,' POINT : ',I5)", i, k);
    st = STIFFNESS_SOLVE_CAP(run, m);
    if (st != ST_OK) break;
  }
  an.STIFF_MODE = 0;
  if (st != ST_OK) return st;
  // 8.
  pass_tables(run, i);
  close_scratch(run, F_DISP_SCRATCH);
  return ST_OK;
}

int STIFFNESS_SOLVE_CAP(RUN& run, int m) {
  FILE*& ps = run.files.fp[F_PILE_STIFFNESS];
  if (ps) std::fclose(ps);
  ps = nullptr;
  const std::string& name = run.files.name[F_PILE_STIFFNESS];
  if (!name.empty()) ps = std::fopen(name.c_str(), "w");
  if (ps) WRITE_F(ps, "('LOAD CASE : ',I5)", m);
  const int st = STIFFNESS_CAP_SOLUTION(run);
  if (ps) std::fclose(ps);
  ps = nullptr;
  return st;
}

int STIFFNESS_CAP_SOLUTION(RUN& run) {
  int flag = 0;
  VEC6 load{}, disp{};
  int st = ST_OK;
  if (run.store.ctl.ANALYSIS_TYPE == 3)
    st = CAP_SOLVE_3D(run, 0, flag, load, disp);
  else
    st = CAP_SOLVE_2D(run, 0, flag, load, disp);
  run.store.an.LOAD_OUT = load;
  run.store.an.DISP_OUT = disp;
  return st;
}

void FLEXIBILITY_RECORDS(RUN& run, const char* failure, const VEC6& F, const VEC6& U) {
  ANALYSIS& an = run.store.an;
  const int n = ndof_of(run);
  const int i = an.STIFF_DOF, k = an.STIFF_LEVEL;
  FILE* disp = run.files[F_DISP_SCRATCH];
  FILE* flex = run.files[F_FLEX_SCRATCH];
  FILE* cr = run.files[F_CASE_RESULTS];
  double v[7] = {}, f[6] = {};
  if (!failure) {
    const double Fi = F[i];
    v[0] = Fi;
    for (int j = 1; j <= n; ++j) v[j] = U[j];
    write_record(disp, k, v, n + 1);
    for (int j = 1; j <= n; ++j) f[j - 1] = std::fabs(Fi) >= 1.0E-14 ? U[j] / Fi : U[j];
    write_record(disp, k, f, n);
    write_record(flex, k, f, n);
    if (cr) WRITE_F(cr, "('    1 ANALYSIS COMPLETED')");
    return;
  }
  write_record(disp, -k, v, n + 1);
  write_record(disp, -k, v, n);
  f[i - 1] = 1.0;
  write_record(flex, k, f, n);
  if (cr) WRITE_F(cr, "(A)", failure);
}

void STIFFNESS_FINISH(RUN& run, int, int np) {
  ANALYSIS& an = run.store.an;
  if (np >= 1 && an.cur.STIFFNESS_DATA >= 1 && an.cur.STIFFNESS_DATA <= 10 && an.cur.STIFF_TABLES == 1)
    stiffness_matrices(run);
  close_scratch(run, F_FLEX_SCRATCH);
  close_scratch(run, F_DISP_SCRATCH);
  an.STIFF_MODE = 0;
  an.STIFF_PASS = 0;
  an.STIFF_DOF = 0;
}

}  // namespace kestra
