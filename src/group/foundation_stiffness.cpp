// Equivalent stiffness of the foundation at the origin: the points of the
// case (load levels or target deflections), the target iteration, the
// linearised pile models read back from the pile stiffness file, their
// condensed head stiffnesses and the sum at the origin.
#include "group/foundation_stiffness.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "group/cap_solve_2d.h"
#include "group/loads.h"
#include "group/pile_head.h"
#include "group/stiffness_passes.h"
#include "pile/section_value.h"

namespace kestra {

namespace {

int ndof_of(const RUN& run) { return run.store.ctl.ANALYSIS_TYPE == 3 ? 6 : 3; }

// The levels and the twelve parameters of the case in progress.
struct POINTS {
  int nlv = 0;
  double P[13] = {};  // P[1] .. P[12], 0 when not given
};

POINTS points_of(const ANALYSIS& an) {
  POINTS pt;
  const int n = an.NLEVELS;
  if (n >= STIFF_PARAMETER_FORM) {
    pt.nlv = n - STIFF_PARAMETERS;
    for (int j = 1; j <= STIFF_PARAMETERS; ++j) pt.P[j] = an.LEVELS[pt.nlv + j];
  } else {
    pt.nlv = n;
  }
  return pt;
}

int rounded(double x) { return static_cast<int>(std::lround(x)); }

// The target degree of freedom (0: none).
int target_dof(const RUN& run, const POINTS& pt) {
  int d = rounded(pt.P[2]);
  if (run.store.ctl.ANALYSIS_TYPE != 3 && d == 6) d = 3;
  return (d >= 1 && d <= ndof_of(run)) ? d : 0;
}

// History of the target iteration: (displacement, factor) pairs.
struct HISTORY {
  int n = 0;
  double D[64] = {}, F[64] = {};
};

// The pile stiffness file reopened and emptied, its "LOAD CASE" line.
void open_pile_stiffness(RUN& run, int m) {
  FILE*& ps = run.files.fp[F_PILE_STIFFNESS];
  if (ps) std::fclose(ps);
  ps = nullptr;
  const std::string& name = run.files.name[F_PILE_STIFFNESS];
  if (!name.empty()) ps = std::fopen(name.c_str(), "w");
  if (ps) WRITE_F(ps, "('LOAD CASE : ',I5)", m);
}

void close_pile_stiffness(RUN& run) {
  FILE*& ps = run.files.fp[F_PILE_STIFFNESS];
  if (ps) std::fclose(ps);
  ps = nullptr;
}

// ---- linearised pile models -------------------------------------------

struct PILE_MODEL {
  double P = 0.0, KAX = 0.0, KT = 0.0, h = 0.0;
  int N = 0;
  double X[MAX_NODES + 2] = {};     // node coordinates from the head, 1-based
  double S[MAX_NODES + 2] = {};     // node springs
};

bool get_line(FILE* f, char* b, int n) {
  if (!std::fgets(b, n, f)) return false;
  std::size_t k = std::strlen(b);
  while (k && (b[k - 1] == '\n' || b[k - 1] == '\r')) b[--k] = 0;
  return true;
}

// The real in columns [from, from + width) of a line (0 when blank).
double field(const char* line, int from, int width) {
  const int len = static_cast<int>(std::strlen(line));
  if (from >= len) return 0.0;
  char buf[40] = {};
  const int w = std::min(width, std::min(len - from, 39));
  std::memcpy(buf, line + from, static_cast<std::size_t>(w));
  return std::strtod(buf, nullptr);
}

// Reads pile i's records (the file positioned at its first heading line).
bool read_pile(FILE* f, bool three_d, int nodes, PILE_MODEL& pm) {
  char line[512];
  if (!get_line(f, line, sizeof line) || !get_line(f, line, sizeof line)) return false;  // two headings
  if (!get_line(f, line, sizeof line)) return false;
  pm.P = field(line, 0, 17);
  pm.KAX = field(line, 17, 17);
  pm.KT = three_d ? field(line, 34, 17) : 0.0;
  if (!get_line(f, line, sizeof line)) return false;  // heading
  if (!get_line(f, line, sizeof line)) return false;  // spacing
  pm.h = field(line, 6, 16);
  pm.N = nodes;
  double k[MAX_NODES + 2] = {};
  for (int j = 1; j <= nodes; ++j) {
    if (!get_line(f, line, sizeof line)) return false;
    pm.X[j] = field(line, 6, 16);
    k[j] = field(line, 22, 17);
    if (three_d) k[j] = std::max(k[j], field(line, 39, 17));
  }
  for (int j = 1; j <= nodes; ++j) pm.S[j] = (j == 1 || j == nodes) ? k[j] * pm.h / 2.0 : k[j] * pm.h;
  return true;
}

// Gaussian elimination without pivoting of the first nlow slots of the
// symmetric element matrix a (1-based, n slots); false at a zero pivot.
bool condense(double (&a)[13][13], int n, int nlow) {
  for (int p = 1; p <= nlow; ++p) {
    const double piv = a[p][p];
    if (piv == 0.0) return false;
    for (int r = p + 1; r <= n; ++r) {
      const double f = a[r][p] / piv;
      if (f == 0.0) continue;
      for (int c = p; c <= n; ++c) a[r][c] -= f * a[p][c];
    }
  }
  return true;
}

void set_sym(double (&a)[13][13], int r, int c, double v) {
  a[r][c] += v;
  if (r != c) a[c][r] += v;
}

}  // namespace

void HEAD_CONNECTION(MAT6& S, int n, int code, double k, int r, int l) {
  const MAT6 T = S;
  if (code == 1 || (code == 3 && k == 0.0)) {
    if (T[r][r] != 0.0)
      for (int a = 1; a <= n; ++a)
        for (int b = 1; b <= n; ++b)
          if (a != r && b != r) S[a][b] = T[a][b] - T[a][r] * T[r][b] / T[r][r];
    for (int a = 1; a <= n; ++a) S[a][r] = S[r][a] = 0.0;
  } else if (code == 3) {
    const double q = 1.0 + T[r][r] / k;
    if (q == 0.0) return;
    S[l][l] = T[l][l] - T[r][l] * T[l][r] / (q * k);
    S[l][r] = T[l][r] / q;
    S[r][l] = T[r][l] / q;
    S[r][r] = T[r][r] / q;
  }
}

namespace {

void write_matrix_rows(FILE* f, const MAT6& K, int n, int w, int d) {
  for (int r = 1; r <= n; ++r) {
    WRITE_BLANKS(f, 5);
    WRITE_INT(f, 5, r);
    WRITE_BLANKS(f, 2);
    for (int c = 1; c <= n; ++c) WRITE_REAL(f, w, d, K[r][c]);
    END_LINE(f);
  }
}

void write_values(FILE* f, const VEC6& v, int n, int w, int d) {
  for (int j = 1; j <= n; ++j) WRITE_REAL(f, w, d, v[j]);
  END_LINE(f);
}

// K0 from the pile stiffness file; false when the file could not be read.
bool origin_stiffness(RUN& run, const POINTS& pt, MAT6& K0) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const int n = ndof_of(run);
  K0 = MAT6{};
  const std::string& name = run.files.name[F_PILE_STIFFNESS];
  if (name.empty()) return false;
  FILE* f = std::fopen(name.c_str(), "r");
  if (!f) return false;
  char line[512];
  bool ok = true;
  for (int j = 0; j < 2 + n && ok; ++j) ok = get_line(f, line, sizeof line);
  FILE* nr = run.files[F_NODE_RESULTS];
  if (nr) WRITE_F(nr, "(5X,'NPILES=',I5)", s.piles.NPILES);
  const bool geometric = pt.P[11] > 0.0;
  for (int i = 1; ok && i <= s.piles.NPILES; ++i) {
    PILE_MODEL pm;
    const int prop = s.piles.PILE_PROP[i];
    const int nodes = std::clamp(s.piles.PROP[prop].INC, 1, MAX_INCREMENTS) + 1;
    if (!read_pile(f, three_d, nodes, pm)) {
      ok = false;
      break;
    }
    double ei1[MAX_NODES + 2] = {}, ei2[MAX_NODES + 2] = {};
    for (int j = 1; j <= nodes; ++j) {
      const double x = pm.X[std::max(1, j - 1)];
      ei1[j] = SECTION_EI(s, prop, 0.0, x, 0);
      ei2[j] = three_d ? SECTION_EI(s, prop, 0.0, x, 1) : 0.0;
    }
    if (nr) {
      WRITE_F(nr, "(5X,'PILE=',I5,5X,'NNODES=',I5)", i, nodes);
      if (three_d)
        WRITE_LIST(nr, pm.KAX, pm.KT);
      else
        WRITE_LIST(nr, pm.KAX);
      for (int j = 1; j <= nodes; ++j) WRITE_LIST(nr, pm.S[j]);
    }
    MAT6 Kh;
    CONDENSED_HEAD_STIFFNESS(three_d, nodes, pm.h, pm.S, ei1, ei2, pm.P, geometric, Kh);
    const int nh = three_d ? 6 : 3;
    HEAD_CONNECTION(Kh, nh, s.piles.CONNECTY[i], s.piles.SPY[i], three_d ? 6 : 3, 2);
    if (three_d) HEAD_CONNECTION(Kh, nh, s.piles.CONNECTZ[i], s.piles.SPZ[i], 5, 3);
    Kh[1][1] = pm.KAX;
    if (three_d) Kh[4][4] = pm.KT;
    const double mult = s.piles.MULTIPLICITY[i];
    if (three_d) {
      PILE_TRANSFORM(run, i);
      MAT6 a, b, c;
      MAT6_MUL(an.C, Kh, a);
      MAT6_MUL(a, an.D, b);
      MAT6_MUL(an.A, b, c);
      MAT6_MUL(c, an.B, a);
      for (int r = 1; r <= 6; ++r)
        for (int q = 1; q <= 6; ++q) K0[r][q] += mult * a[r][q];
    } else {
      // The transfer matrix of the row: global slots X, Y, rotation Z by the
      // local axial, lateral and rotation slots.
      const double cb = std::cos(s.piles.ALPHA[i]), sb = std::sin(s.piles.ALPHA[i]);
      const double X = s.piles.PILE_X[i], Y = s.piles.PILE_Y[i];
      const double M[4][4] = {{0, 0, 0, 0},
                              {0, cb, -sb, 0},
                              {0, sb, cb, 0},
                              {0, X * sb - Y * cb, X * cb + Y * sb, 1.0}};
      for (int r = 1; r <= 3; ++r)
        for (int q = 1; q <= 3; ++q) {
          double sum = 0.0;
          for (int a = 1; a <= 3; ++a)
            for (int b = 1; b <= 3; ++b) sum += M[r][a] * Kh[a][b] * M[q][b];
          K0[r][q] += mult * sum;
        }
    }
  }
  std::fclose(f);
  return ok;
}

const char* target_label(int d, bool three_d) {
  static const char* const L3[7] = {"", "  DISPLACEMENT X,", "  DISPLACEMENT Y,", "  DISPLACEMENT Z,",
                                     "      ROTATION X,", "      ROTATION Y,", "      ROTATION Z,"};
  static const char* const L2[4] = {"", "  DISPLACEMENT X,", "  DISPLACEMENT Y,", "      ROTATION Z,"};
  return three_d ? L3[d] : L2[d];
}

// The load and displacement block and the matrix of point p.
void print_point(RUN& run, const POINTS& pt, int p, double lambda, const MAT6& K0) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const int n = ndof_of(run);
  FILE* rep = run.files[F_REPORT];
  FILE* sum = run.files[F_SUMMARY];
  FILE* tab = run.files[F_RESULTS_TABLE];
  if (FILE* fs = run.files[F_FOUND_STIFFNESS]) {
    WRITE_F(fs, "(5X,'* EQV. STIFFNESS MATRIX AT ORIGIN *')");
    for (int r = 1; r <= n; ++r) {
      for (int c = 1; c <= n; ++c) WRITE_REAL(fs, 19, 5, K0[r][c]);
      END_LINE(fs);
    }
  }
  // Load and displacement.
  if (sum) WRITE_F(sum, "(/,4X,'   N:',I5,'  FACTOR :',F10.4)", p, lambda);
  if (tab) {
    WRITE_F(tab, "(4X,'    1','   N:',I5,'  FACTOR :',F10.4)", p, lambda);
    WRITE_F(tab, "(7X,'* EQUIVALENT CONC. LOAD AT ORIGIN *')");
    write_values(tab, an.LOAD_OUT, n, 18, 8);
    WRITE_F(tab, "(7X,'* DISPLACEMENT OF PILE CAP AT ORIGIN *')");
    write_values(tab, an.DISP_OUT, n, 18, 8);
  }
  const std::string L(s.labels.LENGTH_LABEL, 2);
  for (FILE* f : {rep, sum}) {
    if (!f) continue;
    WRITE_F(f, "(2X,' LOAD',$)");
    write_values(f, an.LOAD_OUT, n, 15, 5);
    WRITE_F(f, "(2X,' DISP',$)");
    write_values(f, an.DISP_OUT, n, 15, 5);
    const int d = an.TARGET_DOF;
    if (pt.P[1] != 0.0 && d >= 1) {
      const std::string unit = (three_d ? d >= 4 : d == 3) ? std::string("RAD") : L;
      WRITE_F(f, "(A,'  TARGET =',$)", target_label(d, three_d));
      WRITE_REAL(f, 13, 5, an.TARGET);
      WRITE_F(f, "(A,' , COMPUTED =',$)", unit);
      WRITE_REAL(f, 13, 5, an.TARGET_COMPUTED);
      WRITE_F(f, "(A)", unit);
    }
  }
  if (rep) WRITE_F(rep, "(/,10X,'* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *')");
  if (sum) WRITE_F(sum, "(/,10X,'* EQV. STIFFNESS MATRIX AT ORIGIN *')");
  for (FILE* f : {rep, sum}) {
    if (!f) continue;
    if (three_d)
      WRITE_F(f, "(2X,'  DOF',6(I11,4X))", 1, 2, 3, 4, 5, 6);
    else
      WRITE_F(f, "(2X,'  DOF',6(I11,4X))", 1, 2, 3);
    write_matrix_rows(f, K0, n, 15, 5);
  }
  if (tab) write_matrix_rows(tab, K0, n, 18, 8);
}

// The iteration line with the format chosen by the size of the factor.
void iter_line(FILE* f, const char* lead, int n, double fct) {
  if (!f) return;
  const std::string fmt = std::string("(") + lead + "'STIFFNESS ESTIMATION, ','ITER : ',I5,' FACTOR : '," +
                          (fct > 1000.0 ? "E12.5" : "F12.5") + ")";
  WRITE_F(f, fmt, n, fct);
}

}  // namespace

double NEXT_FACTOR(double* D, double* F, int n, double T) {
  if (n <= 0) return 0.0;
  if (n == 1) return std::fabs(D[1]) <= 1.0E-4 ? 1.0 : F[1] * T / D[1];
  // The newest pair into the list sorted by increasing displacement.
  for (int j = n; j > 1 && D[j] < D[j - 1]; --j) {
    std::swap(D[j], D[j - 1]);
    std::swap(F[j], F[j - 1]);
  }
  int a, b;
  if (T <= D[1]) {
    a = 1;
    b = 2;
  } else if (T >= D[n]) {
    a = n - 1;
    b = n;
  } else {
    int j = 1;
    while (j <= n && T > D[j]) ++j;
    a = j - 1;
    b = j;
  }
  // Two runs that gave the same displacement leave no slope: the newer
  // factor is kept rather than dividing by zero.
  if (D[b] == D[a]) return F[b];
  return F[a] + (T - D[a]) * (F[b] - F[a]) / (D[b] - D[a]);
}

void CONDENSED_HEAD_STIFFNESS(bool three_d, int N, double h, const double* s, const double* ei1, const double* ei2,
                              double P, bool geometric, MAT6& K) {
  const int nn = three_d ? 6 : 3;  // slots per node
  const int n = 2 * nn;
  MAT6 S{};
  const double L = h;
  for (int u = N - 1; u >= 1; --u) {
    double a[13][13] = {};
    const double EA = 1.0, GJ = 1.0;
    const double EIy = (ei1[u] + ei1[u + 1]) / 2.0;
    const double F = -P / L;
    if (three_d) {
      const double EIz = (ei2[u] + ei2[u + 1]) / 2.0;
      set_sym(a, 1, 1, EA / L);
      set_sym(a, 7, 7, EA / L);
      set_sym(a, 1, 7, -EA / L);
      set_sym(a, 4, 4, GJ / L);
      set_sym(a, 10, 10, GJ / L);
      set_sym(a, 4, 10, -GJ / L);
      const double y3 = 12.0 * EIy / (L * L * L), y2 = 6.0 * EIy / (L * L), y1 = EIy / L;
      set_sym(a, 2, 2, y3);
      set_sym(a, 8, 8, y3);
      set_sym(a, 2, 8, -y3);
      set_sym(a, 2, 6, -y2);
      set_sym(a, 2, 12, -y2);
      set_sym(a, 6, 8, y2);
      set_sym(a, 8, 12, y2);
      set_sym(a, 6, 6, 4.0 * y1);
      set_sym(a, 12, 12, 4.0 * y1);
      set_sym(a, 6, 12, 2.0 * y1);
      const double z3 = 12.0 * EIz / (L * L * L), z2 = 6.0 * EIz / (L * L), z1 = EIz / L;
      set_sym(a, 3, 3, z3);
      set_sym(a, 9, 9, z3);
      set_sym(a, 3, 9, -z3);
      set_sym(a, 3, 5, z2);
      set_sym(a, 3, 11, z2);
      set_sym(a, 5, 9, -z2);
      set_sym(a, 9, 11, -z2);
      set_sym(a, 5, 5, 4.0 * z1);
      set_sym(a, 11, 11, 4.0 * z1);
      set_sym(a, 5, 11, 2.0 * z1);
      if (geometric) {
        for (int k : {2, 3, 8, 9}) set_sym(a, k, k, F);
        set_sym(a, 2, 8, -F);
        set_sym(a, 3, 9, -F);
        set_sym(a, 2, 6, -F * L / 10.0);
        set_sym(a, 2, 12, -F * L / 10.0);
        set_sym(a, 6, 8, F * L / 10.0);
        set_sym(a, 8, 12, F * L / 10.0);
        set_sym(a, 3, 5, F * L / 10.0);
        set_sym(a, 3, 11, F * L / 10.0);
        set_sym(a, 5, 9, -F * L / 10.0);
        set_sym(a, 9, 11, -F * L / 10.0);
        for (int k : {5, 6, 11, 12}) set_sym(a, k, k, F * 2.0 * L * L / 15.0);
        set_sym(a, 5, 11, -F * L * L / 30.0);
        set_sym(a, 6, 12, -F * L * L / 30.0);
      }
    } else {
      set_sym(a, 1, 1, EA / L);
      set_sym(a, 4, 4, EA / L);
      set_sym(a, 1, 4, -EA / L);
      const double y3 = 12.0 * EIy / (L * L * L), y2 = 6.0 * EIy / (L * L), y1 = EIy / L;
      set_sym(a, 2, 2, y3);
      set_sym(a, 5, 5, y3);
      set_sym(a, 2, 5, -y3);
      set_sym(a, 2, 3, -y2);
      set_sym(a, 2, 6, -y2);
      set_sym(a, 3, 5, y2);
      set_sym(a, 5, 6, y2);
      set_sym(a, 3, 3, 4.0 * y1);
      set_sym(a, 6, 6, 4.0 * y1);
      set_sym(a, 3, 6, 2.0 * y1);
      if (geometric) {
        set_sym(a, 2, 2, F);
        set_sym(a, 5, 5, F);
        set_sym(a, 2, 5, -F);
        set_sym(a, 2, 3, -F * L / 10.0);
        set_sym(a, 2, 6, -F * L / 10.0);
        set_sym(a, 3, 5, F * L / 10.0);
        set_sym(a, 5, 6, F * L / 10.0);
        set_sym(a, 3, 3, F * 2.0 * L * L / 15.0);
        set_sym(a, 6, 6, F * 2.0 * L * L / 15.0);
        set_sym(a, 3, 6, -F * L * L / 30.0);
      }
    }
    // The part below, the springs, and the lower node eliminated.
    for (int r = 1; r <= nn; ++r)
      for (int c = 1; c <= nn; ++c) a[r][c] += S[r][c];
    if (u == N - 1) {
      a[2][2] += s[N];
      if (three_d) a[3][3] += s[N];
    }
    a[nn + 2][nn + 2] += s[u];
    if (three_d) a[nn + 3][nn + 3] += s[u];
    if (!condense(a, n, nn)) continue;  // a zero pivot: this element drops out
    for (int r = 1; r <= nn; ++r)
      for (int c = 1; c <= nn; ++c) S[r][c] = a[nn + r][nn + c];
  }
  K = S;
}

int FOUNDATION_SETUP(RUN& run, int m) {
  ANALYSIS& an = run.store.an;
  const POINTS pt = points_of(an);
  if (FILE* nr = run.files[F_NODE_RESULTS]) WRITE_F(nr, "(5X,'LOAD CASE=',I5,5X,'NPOINTS=',I5)", m, pt.nlv);
  an.TARGET_CARRY_SET = 0;
  return pt.nlv;
}

int FOUNDATION_POINT(RUN& run, int m, int p) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  LOAD_DATA& ld = s.loads;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const POINTS pt = points_of(an);
  FILE* rep = run.files[F_REPORT];
  FILE* sum = run.files[F_SUMMARY];
  FILE* tab = run.files[F_RESULTS_TABLE];
  FILE* rt = run.files[F_RUNTIME];
  FILE* cr = run.files[F_CASE_RESULTS];
  FILE* tr = run.files[F_CAP_TRACE];
  // 1. The full case load.
  CASE_RESULTANT(s, m);
  CASE_DIST_LOADS(s, m);
  ADD_AXIAL_HEAD_LOADS(s);
  // 2. The heading.
  const bool target = pt.P[1] != 0.0;
  if (p == 1) {
    for (FILE* f : {rep, sum})
      if (f) WRITE_F(f, "(/,/,5X,'* PILE CAP STIFFNESS ESTIMATION *')");
    if (tab) WRITE_F(tab, "(5X,'* PILE CAP STIFFNESS ESTIMATION *')");
    if (rt) WRITE_F(rt, "(/,5X,'* PILE CAP STIFFNESS ESTIMATION *')");
    COMMIT_RUNTIME(run);
    for (FILE* f : {rep, sum})
      if (f) WRITE_F(f, "(A)", target ? "     - BASED ON TARGET DEFLECTION   " : "     - BASED ON TOTAL APPLIED LOAD  ");
  }
  // Parameters of the point.
  const double lambda = an.LEVELS[p];
  const int d = target_dof(run, pt);
  an.TARGET_DOF = d;
  an.TARGET = d >= 1 ? lambda * pt.P[2 + d] : 0.0;
  an.TARGET_TOL = target ? pt.P[9] : 1.0;
  const int nl = target ? std::max(rounded(pt.P[10]), 1) : 1;
  const int A = target ? rounded(pt.P[12]) : 0;
  // 3. The load of the point.
  VEC6 full = ld.EQ_LOAD;
  if (!three_d) full[3] = ld.EQ_LOAD[6];
  VEC6 saved = full;
  if (A == 0) {
    for (int k = 1; k <= 6; ++k) saved[k] = lambda * full[k];
  } else if (d >= 1) {
    saved[d] = lambda * full[d];
  }
  an.SAVED_LOAD = saved;
  // 4. The history: the carry of the first point, if any.
  HISTORY hist;
  if (p > 1 && an.TARGET_CARRY_SET) {
    hist.n = 1;
    hist.D[1] = an.TARGET_CARRY_D;
    hist.F[1] = an.TARGET_CARRY_F;
  }
  // 5. The point line.
  if (rt) WRITE_F(rt, "(/,5X,'STIFFNESS ESTIMATION, ','POINT : ',I4,'/',I4,' FACTOR : ',F12.5)", p, pt.nlv, lambda);
  COMMIT_RUNTIME(run);
  if (cr) WRITE_F(cr, "(6X,'STIFFNESS ESTIMATION, ','POINT : ',I4,'/',I4,' FACTOR : ',F12.5)", p, pt.nlv, lambda);
  if (rep) WRITE_F(rep, "(/,4X,'   N:',I5,'  FACTOR :',F10.4)", p, lambda);
  // 6. The iterations.
  an.STIFF_PASS = p;
  an.STIFF_DOF = p;
  an.STIFF_NDOF = pt.nlv;
  for (int k = 1; k <= nl; ++k) {
    double f;
    if (!target) {
      ld.EQ_LOAD = saved;
      f = lambda;
    } else {
      if (hist.n == 1) {
        f = 1.0;
        ld.EQ_LOAD = saved;
      } else {
        f = NEXT_FACTOR(hist.D, hist.F, hist.n, an.TARGET);
        if (A == 0) {
          for (int j = 1; j <= 6; ++j) ld.EQ_LOAD[j] = f * saved[j];
        } else {
          ld.EQ_LOAD = saved;
          if (d >= 1) ld.EQ_LOAD[d] = f * saved[d];
        }
      }
      iter_line(rt, "/,5X,", hist.n, f);
      iter_line(tr, "5X,", hist.n, f);
      if (rt) {
        const VEC6& q = ld.EQ_LOAD;
        WRITE_F(rt, "(/,5X,'LOAD : ',6E13.5)", q[1], q[2], q[3], q[4], q[5], q[6]);
      }
      COMMIT_RUNTIME(run);
    }
    iter_line(cr, "6X,", hist.n, f);
    an.TARGET_STATE = !target ? 3 : (nl > 1 ? (k < nl ? 2 : 1) : 0);
    an.STIFF_MODE = 1;
    open_pile_stiffness(run, m);
    const int st = STIFFNESS_CAP_SOLUTION(run);
    an.STIFF_MODE = 0;
    close_pile_stiffness(run);
    if (st != ST_OK) return st;
    if (an.TARGET_STATE < 1) break;
    if (hist.n < 63) {
      ++hist.n;
      hist.D[hist.n] = an.TARGET_COMPUTED;
      hist.F[hist.n] = f;
    }
    if (!an.TARGET_CARRY_SET) {
      an.TARGET_CARRY_SET = 1;
      an.TARGET_CARRY_D = an.TARGET_COMPUTED;
      an.TARGET_CARRY_F = f;
    }
  }
  // 7. The matrix of the point.
  if (an.TARGET_STATE < 0) {
    if (tab) WRITE_F(tab, "(4X,'   -1','   N:',I5,'  FACTOR :',F10.4)", p, lambda);
    return ST_OK;
  }
  MAT6 K0;
  const bool read = origin_stiffness(run, pt, K0);
  if (FILE* nr = run.files[F_NODE_RESULTS]) WRITE_F(nr, "(5X,'POINT=',I5)", p);
  if (!read) {
    if (rep) WARNING_LINE(rep, "PILE STIFFNESS FILE COULD NOT BE READ BACK");
    if (tab) WRITE_F(tab, "(4X,'   -1','   N:',I5,'  FACTOR :',F10.4)", p, lambda);
    return ST_OK;
  }
  print_point(run, pt, p, lambda, K0);
  return ST_OK;
}

int TARGET_MODE_END(RUN& run, const char* failure, const VEC6& load, const VEC6& disp, const MAT6& K, int ndof) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  FILE* rt = run.files[F_RUNTIME];
  FILE* cr = run.files[F_CASE_RESULTS];
  if (failure) {
    an.TARGET_STATE = -1;
    if (cr) WRITE_F(cr, "(A)", failure);
    return ST_OK;
  }
  // 1.
  an.LOAD_OUT = load;
  an.DISP_OUT = disp;
  // 2. The target.
  int& st = an.TARGET_STATE;
  if (st > 0) {
    const int d = an.TARGET_DOF;
    const double D = d >= 1 ? disp[d] : 0.0;
    an.TARGET_COMPUTED = D;
    // A zero target is met only by a zero displacement.
    const double T = an.TARGET;
    const double e = T != 0.0 ? std::fabs((D - T) / T) : (std::fabs(D) <= 1.0E-12 ? 0.0 : 1.0);
    if (st < 3) {
      if (rt) {
        if (st == 1)
          WRITE_F(rt,
                  "(/,5X,'STIFFNESS ESTIMATION, ',' MAX. ITER. REACHED, ',' COMPUTED DEF.: ',F11.4,' TARGET DEF.: ',"
                  "F11.4,' ERROR(%): ',F11.4)",
                  D, T, 100.0 * e);
        else
          WRITE_F(rt, "(/,5X,'STIFFNESS ESTIMATION, ',' COMPUTED DEF.: ',F11.4,' TARGET DEF.: ',F11.4,' ERROR(%): ',F11.4)",
                  D, T, 100.0 * e);
      }
      COMMIT_RUNTIME(run);
      if (st == 2 && e > an.TARGET_TOL / 100.0) {
        if (cr) WRITE_F(cr, "('    10 ANALYSIS COMPLETED')");
        return ST_OK;
      }
    }
  }
  st = 0;
  // 3. The tangent stiffness of the cap iteration.
  if (FILE* ps = run.files[F_PILE_STIFFNESS]) {
    WRITE_F(ps, "(5X,'* EQV. STIFFNESS MATRIX AT ORIGIN *')");
    for (int r = 1; r <= ndof; ++r) {
      for (int c = 1; c <= ndof; ++c) WRITE_REAL(ps, 17, 8, K[r][c]);
      END_LINE(ps);
    }
  }
  // 4. The equivalent-stiffness pass over the piles.
  FILE*& ext = run.files.fp[F_EXTREME_SCRATCH];
  if (ext) std::fclose(ext);
  ext = run.files.name[F_EXTREME_SCRATCH].empty() ? nullptr
                                                  : std::fopen(run.files.name[F_EXTREME_SCRATCH].c_str(), "w+");
  an.PASS_FLAG = 2;
  int status = ST_OK;
  if (s.ctl.ANALYSIS_TYPE == 3) {
    const VEC6 U = an.U;
    VEC6 R;
    status = CAP_RESISTANCE(run, U, R);
    an.U = U;
  } else {
    const VEC3 U{0.0, disp[1], disp[2], disp[3]};
    VEC3 R;
    status = CAP_RESISTANCE_2D(run, U, R);
  }
  an.PASS_FLAG = 0;
  if (ext) {
    std::fclose(ext);
    ext = nullptr;
  }
  if (status != ST_OK) return status;
  // 5.
  if (cr) WRITE_F(cr, "('    1 ANALYSIS COMPLETED')");
  return ST_OK;
}

}  // namespace kestra
