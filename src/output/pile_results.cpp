// Pile results of a printing pass and of an equivalent-stiffness pass (3D).
#include "output/pile_results.h"

#include <cmath>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "group/pile_head.h"
#include "output/headings.h"
#include "output/results_report.h"
#include "pile/section_value.h"

namespace kestra {

double RESULTANT(double a, double b) {
  if (std::fabs(a) < 1.0E-24) a = 0.0;
  if (std::fabs(b) < 1.0E-24) b = 0.0;
  return std::sqrt(a * a + b * b);
}

namespace {

bool axial_fixed(const RUN& run, int g) {
  return run.store.an.cur.AXIAL_VARIATION <= 0 || run.store.piles.LS_SET[g] >= 1;
}

// Slope of a curve through the origin: the segment that holds displacement 0.
double slope_at_origin(int n, const double* x, const double* y) {
  for (int j = 2; j <= n; ++j) {
    if (0.0 <= x[j] && 0.0 >= x[j - 1] && x[j] != x[j - 1]) return (y[j] - y[j - 1]) / (x[j] - x[j - 1]);
  }
  return 0.0;
}

double axial_head_stiffness(const STORE& s, int g) {
  const int set = s.piles.LS_SET[g];
  if (set >= 1 && set <= MAX_LS_CURVES) {
    const USER_LS_CURVE& c = s.soil.LS_CURVES[set];
    return slope_at_origin(c.NPOINTS, c.DISP.data(), c.LOAD.data());
  }
  const int p = s.piles.PILE_PROP[g];
  if (p < 1 || p > MAX_PROPERTIES) return 0.0;
  return slope_at_origin(HEAD_CURVE_POINTS, s.head.LS_DISP[p].data(), s.head.LS_LOAD[p].data());
}

double torsion_head_stiffness(const STORE& s, int g) {
  const int set = s.piles.TR_SET[g];
  if (set >= 1 && set <= MAX_TR_CURVES) {
    const USER_TR_CURVE& c = s.soil.TR_CURVES[set];
    return slope_at_origin(c.NPOINTS, c.ROTATION.data(), c.MOMENT.data());
  }
  const int p = s.piles.PILE_PROP[g];
  if (p < 1 || p > MAX_PROPERTIES) return 0.0;
  return slope_at_origin(HEAD_CURVE_POINTS, s.head.TR_ROT[p].data(), s.head.TR_MOM[p].data());
}

// A 13-character heading field: text and unit, right-justified.
std::string field13(const std::string& t) { return t.size() >= 13 ? t.substr(0, 13) : std::string(13 - t.size(), ' ') + t; }

void head_block(RUN& run, FILE* f, const char* title, const char* const dn[6], const char* const fn[6],
                const VEC6& disp, const VEC6& force, double stress) {
  const LABELS& l = run.store.labels;
  const std::string L(l.LENGTH_LABEL, 2), F(l.FORCE_LABEL, 3), A = "RAD";
  WRITE_F(f, "(/,7X,A)", title);
  std::string h(3, ' ');
  for (int k = 0; k < 6; ++k) h += field13(std::string(dn[k]) + (k < 3 ? L : A));
  WRITE_F(f, "(/,A)", h);
  WRITE_BLANKS(f, 3);
  for (int k = 1; k <= 6; ++k) WRITE_REAL(f, 13, 4, disp[k]);
  END_LINE(f);
  h.assign(3, ' ');
  for (int k = 0; k < 6; ++k) h += field13(std::string(fn[k]) + (k < 3 ? F : F + "-" + L));
  WRITE_F(f, "(/,A)", h);
  WRITE_BLANKS(f, 3);
  for (int k = 1; k <= 6; ++k) WRITE_REAL(f, 13, 4, force[k]);
  END_LINE(f);
  WRITE_F(f, "(/,A)", std::string(3, ' ') + field13("STR," + F + "/" + L + "**2"));
  WRITE_BLANKS(f, 3);
  WRITE_REAL(f, 13, 4, stress);
  END_LINE(f);
}

void table_line(FILE* f, const VEC6& d, const VEC6& F, double stress) {
  WRITE_BLANKS(f, 3);
  for (int k = 1; k <= 6; ++k) WRITE_REAL(f, 17, 8, d[k]);
  for (int k = 1; k <= 6; ++k) WRITE_REAL(f, 17, 8, F[k]);
  WRITE_REAL(f, 17, 8, stress);
  END_LINE(f);
}

void extreme_head(FILE* f, int g, const VEC6& d, const VEC6& F, double stress) {
  if (!f) return;
  WRITE_F(f, "(5X,I6,6X,1P,6(G12.5,2X))", g, d[1], d[2], d[3], d[4], d[5], d[6]);
  WRITE_F(f, "(5X,I6,6X,1P,3(G12.5,2X),3(G12.5,2X),G12.5)", g, F[1], F[2], F[3], F[4], F[5], F[6], stress);
}

// Steps along the pile of a printing pass: the node loop, the results
// table, its copies in the results table file and the report, and the
// column extremes. P is the axial head force.
void along_pile(RUN& run, int g, double P, bool three_d) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& pw = an.work;
  const int N = pw.N;
  // Node loop.
  const bool fixed_axial = axial_fixed(run, g);
  const bool movement = s.ctl.SOIL_MOVEMENT > 0;
  const bool combination = an.IN_COMBINATIONS != 0;
  const int prop = s.piles.PILE_PROP[g];
  auto& T = an.RESULTS_TABLE;
  for (auto& col : T) col.fill(0.0);
  for (int m = 0; m <= N; ++m) {
    const int e = NODE(m);
    pw.PLANE_Y.BMOM[e] = -pw.PLANE_Y.BMOM[e];
    if (three_d) pw.PLANE_Z.BMOM[e] = -pw.PLANE_Z.BMOM[e];
    if (fixed_axial) {
      pw.AXDISP[e] = 0.0;
      pw.AXFORCE[e] = P;
    }
    VEC6 loc{}, glob{};
    loc[1] = pw.AXDISP[e];
    loc[2] = pw.Y[e];
    loc[3] = three_d ? pw.Z[e] : 0.0;
    if (three_d) {
      MAT6_MUL(an.C, loc, glob);
    } else {
      // The row's batter b in the X-Y plane.
      const double b = s.piles.ALPHA[g];
      glob[1] = loc[1] * std::cos(b) - loc[2] * std::sin(b);
      glob[2] = loc[1] * std::sin(b) + loc[2] * std::cos(b);
    }
    double sy = pw.PLANE_Y.SOILR[e], sz = three_d ? pw.PLANE_Z.SOILR[e] : 0.0, sr = RESULTANT(sy, sz);
    if (movement && !three_d) {
      sy = pw.PSOIL[e];
      sr = 0.0;
    } else if (movement) {
      sr = pw.PSOIL[e];
      const double my = pw.SOIL_MOVE_Y[e], mz = pw.SOIL_MOVE_Z[e], mm = std::sqrt(my * my + mz * mz);
      if (mm > 0.0) {
        sy = pw.PSOIL[e] * my / mm;
        sz = pw.PSOIL[e] * mz / mm;
      }
    }
    if (!three_d) {
      // The columns of the plane only.
      T[1][e] = pw.AXDISP[e];
      T[2][e] = pw.Y[e];
      T[5][e] = glob[1];
      T[6][e] = glob[2];
      T[9][e] = pw.PLANE_Y.BMOM[e];
      T[12][e] = pw.PLANE_Y.SHEAR[e];
      T[15][e] = sy;
      T[18][e] = pw.AXFORCE[e];
      T[19][e] = pw.PLANE_Y.STRESS[e];
      T[20][e] = pw.PLANE_Y.EI[e];
      T[22][e] = pw.PLANE_Y.WLOAD[e];
      if (combination) {
        const double x = pw.X[e];
        const double mn = SECTION_VALUE(s, prop, pw.vert, x, XS_MN) * an.cur.BENDING_RF;
        const double vn = SECTION_VALUE(s, prop, pw.vert, x, XS_VN) * an.cur.SHEAR_RF;
        T[24][e] = mn > 0.0 ? std::fabs(T[9][e]) / mn : 0.0;
        T[25][e] = vn > 0.0 ? std::fabs(T[12][e]) / vn : 0.0;
      }
      continue;
    }
    T[1][e] = pw.AXDISP[e];
    T[2][e] = pw.Y[e];
    T[3][e] = pw.Z[e];
    T[4][e] = RESULTANT(pw.Y[e], pw.Z[e]);
    T[5][e] = glob[1];
    T[6][e] = glob[2];
    T[7][e] = glob[3];
    T[8][e] = RESULTANT(glob[2], glob[3]);
    T[9][e] = pw.PLANE_Y.BMOM[e];
    T[10][e] = pw.PLANE_Z.BMOM[e];
    T[11][e] = RESULTANT(T[9][e], T[10][e]);
    T[12][e] = pw.PLANE_Y.SHEAR[e];
    T[13][e] = pw.PLANE_Z.SHEAR[e];
    T[14][e] = RESULTANT(T[12][e], T[13][e]);
    T[15][e] = sy;
    T[16][e] = sz;
    T[17][e] = sr;
    T[18][e] = pw.AXFORCE[e];
    T[19][e] = pw.PLANE_Y.STRESS[e];
    T[20][e] = pw.PLANE_Y.EI[e];
    T[21][e] = pw.PLANE_Z.EI[e];
    T[22][e] = pw.PLANE_Y.WLOAD[e];
    T[23][e] = pw.PLANE_Z.WLOAD[e];
    if (combination) {
      // Demand over factored nominal capacity; no ratio without a capacity.
      const double x = pw.X[e];
      const double mn = SECTION_VALUE(s, prop, pw.vert, x, XS_MN) * an.cur.BENDING_RF;
      const double vn = SECTION_VALUE(s, prop, pw.vert, x, XS_VN) * an.cur.SHEAR_RF;
      T[24][e] = mn > 0.0 ? T[11][e] / mn : 0.0;
      T[25][e] = vn > 0.0 ? T[14][e] / vn : 0.0;
    }
  }

  WRITE_PILE_TABLES(run, g, three_d);
}

void printing_pass(RUN& run, int g, const VEC6& w, const VEC6& head_force) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& pw = an.work;

  // Head tables. The rotations of the head are those of the pile in its
  //    own axes.
  PILE_TRANSFORM(run, g);
  VEC6 gd, gf;
  MAT6_MUL(an.C, w, gd);
  MAT6_MUL(an.C, head_force, gf);
  const double stress = pw.PLANE_Y.STRESS[NODE(0)];
  an.HEAD_LOCAL_DISP = w;
  an.HEAD_LOCAL_FORCE = head_force;
  an.HEAD_GLOBAL_DISP = gd;
  an.HEAD_GLOBAL_FORCE = gf;
  an.HEAD_STRESS = stress;
  if (FILE* t = run.files[F_RESULTS_TABLE]) {
    WRITE_F(t, "('* PILE GROUP *',I6)", g);
    WRITE_F(t, "('* PILE TOP DISP. AND REACT. GLOBAL')");
    table_line(t, gd, gf, stress);
    WRITE_F(t, "('* PILE TOP DISP. AND REACT. LOCAL')");
    table_line(t, w, head_force, stress);
  }
  FILE* rep = run.files[F_REPORT];
  if (an.cur.PRINT_OPTION >= 1 && rep) {
    static const char* const GD[6] = {"DISP. X,", "DISP. Y,", "DISP. Z,", "ROT. X,", "ROT. Y,", "ROT. Z,"};
    static const char* const GF[6] = {"FOR. X,", "FOR. Y,", "FOR. Z,", "MOM X,", "MOM Y,", "MOM Z,"};
    static const char* const LD[6] = {"DISP. x,", "DISP. y,", "DISP. z,", "ROT. x,", "ROT. y,", "ROT. z,"};
    static const char* const LF[6] = {"AXIAL,", "LAT. y,", "LAT. z,", "MOM x,", "MOM y,", "MOM z,"};
    WRITE_F(rep, "(/,/,7X,'* PILE GROUP *',I6)", g);
    WRITE_F(rep, "(/,7X,'* PILE TOP DISPLACEMENTS AND REACTIONS *')");
    head_block(run, rep, "THE GLOBAL STRUCTURAL COORDINATE SYSTEM", GD, GF, gd, gf, stress);
    head_block(run, rep, "THE PILE COORDINATE SYSTEM (LOCAL AXES)", LD, LF, w, head_force, stress);
  }

  // Extreme-values scratch file, head records.
  FILE* ext = run.files[F_EXTREME_SCRATCH];
  extreme_head(ext, g, gd, gf, stress);
  extreme_head(ext, g, w, head_force, stress);

  // Head envelopes.
  ENVELOPE_HEAD_UPDATE(run, g, gd, gf);

  along_pile(run, g, head_force[1], true);
}

void stiffness_pass(RUN& run, int g, const VEC6& w, const VEC6& head_force) {
  STORE& s = run.store;
  PILE_WORK& pw = s.an.work;
  FILE* f = run.files[F_PILE_STIFFNESS];
  if (f) {
    WRITE_F(f, "('* PILE GROUP *',I6)", g);
    WRITE_F(f, "('* PILE TOP EQUIVALENT STIFFNESSES')");
    const double P = head_force[1], Tq = head_force[4];
    const double ka = std::fabs(w[1]) > 1.0E-14 ? P / w[1] : axial_head_stiffness(s, g);
    const double kt = std::fabs(w[4]) > 1.0E-14 ? Tq / w[4] : torsion_head_stiffness(s, g);
    WRITE_REAL(f, 17, 8, P);
    WRITE_REAL(f, 17, 8, ka);
    WRITE_REAL(f, 17, 8, kt);
    END_LINE(f);
    WRITE_F(f, "('* EQUIVALENT STIFFNESSES ALONG PILE')");
    WRITE_BLANKS(f, 6);
    WRITE_REAL(f, 16, 8, pw.h);
    END_LINE(f);
    for (int m = 0; m <= pw.N; ++m) {
      const int e = NODE(m);
      const double ky = std::fabs(pw.Y[e]) > 1.0E-14 ? pw.PLANE_Y.SOILR[e] / pw.Y[e] : 0.0;
      const double kz = std::fabs(pw.Z[e]) > 1.0E-14 ? pw.PLANE_Z.SOILR[e] / pw.Z[e] : 0.0;
      WRITE_BLANKS(f, 6);
      WRITE_REAL(f, 16, 8, m * pw.h);
      WRITE_REAL(f, 17, 8, ky);
      WRITE_REAL(f, 17, 8, kz);
      END_LINE(f);
    }
  }
  for (int m = 0; m <= pw.N; ++m) {
    pw.PLANE_Y.BMOM[NODE(m)] = -pw.PLANE_Y.BMOM[NODE(m)];
    pw.PLANE_Z.BMOM[NODE(m)] = -pw.PLANE_Z.BMOM[NODE(m)];
  }
}

}  // namespace

void WRITE_PILE_TABLES(RUN& run, int g, bool three_d) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& pw = an.work;
  const int N = pw.N;
  const double h = pw.h;
  FILE* rep = run.files[F_REPORT];
  FILE* ext = run.files[F_EXTREME_SCRATCH];
  const auto& T = an.RESULTS_TABLE;
  // Results table file, per-node part (every column that applies).
  int all[RESULT_COLUMNS + 1];
  RESULT_COLUMN_FLAGS(run, g, false, all);
  if (FILE* t = run.files[F_RESULTS_TABLE]) {
    WRITE_F(t, three_d ? "(8X,'* EFFECTS FOR LATERALLY LOADED PILE *   ')"
                       : "(7X,'* EFFECTS FOR LATERALLY LOADED PILE *   ')");
    WRITE_INT(t, 10, RESULT_COLUMNS);
    for (int k = 1; k <= RESULT_COLUMNS; ++k) WRITE_INT(t, 5, all[k]);
    std::fputc('\n', t);
    for (int m = 0; m <= N; ++m) {
      WRITE_BLANKS(t, 6);
      WRITE_REAL(t, 16, 8, m * h);
      for (int k = 1; k <= RESULT_COLUMNS; ++k)
        if (all[k]) WRITE_REAL(t, 16, 8, T[k][NODE(m)]);
      END_LINE(t);
    }
  }

  // Report, per-node part.
  if (an.cur.PRINT_OPTION >= 2 && rep) {
    int sel[RESULT_COLUMNS + 1];
    RESULT_COLUMN_FLAGS(run, g, true, sel);
    WRITE_F(rep, three_d ? "(/,/,8X,'* EFFECTS FOR LATERALLY LOADED PILE *   ',/)"
                         : "(/,/,7X,'* EFFECTS FOR LATERALLY LOADED PILE *   ',/)");
    WRITE_HEADING_BLOCK(run, rep, false, sel);
    const int step = std::min(std::max(an.cur.PRINT_EVERY, 1), std::max(N, 1));
    for (int m = 0; m <= N; m += step) {
      WRITE_BLANKS(rep, 1);
      WRITE_REAL(rep, 12, 4, m * h);
      for (int k = 1; k <= RESULT_COLUMNS; ++k)
        if (sel[k] > 0) WRITE_REAL(rep, 12, 4, T[k][NODE(m)]);
      END_LINE(rep);
    }
    WRITE_F(rep, "(/,5X,'NUMBER OF ITERATIONS IN LLP = ',I5)", pw.LLP_ITERATIONS);
    if (FILE* rt = run.files[F_RUNTIME])
      WRITE_F(rt, "(5X,'NUMBER OF ITERATIONS IN LLP = ',I4,' (PILE No ',I4,')')", pw.LLP_ITERATIONS, g);
  }

  // Column extremes over the nodes (the first node wins a tie).
  if (ext) {
    double mn[RESULT_COLUMNS + 1], mx[RESULT_COLUMNS + 1], xmn[RESULT_COLUMNS + 1], xmx[RESULT_COLUMNS + 1];
    for (int k = 1; k <= RESULT_COLUMNS; ++k) {
      mn[k] = mx[k] = T[k][NODE(0)];
      xmn[k] = xmx[k] = 0.0;
      for (int m = 1; m <= N; ++m) {
        const double v = T[k][NODE(m)];
        if (v < mn[k]) {
          mn[k] = v;
          xmn[k] = m * h;
        }
        if (v > mx[k]) {
          mx[k] = v;
          xmx[k] = m * h;
        }
      }
    }
    const std::string L(s.labels.LENGTH_LABEL, 2);
    auto values = [&](const double* v, bool coords) {
      if (coords) {
        WRITE_F(ext, "(1X,4X,'x(',A2,')',1X,$)", L);
        for (int k = 1; k <= RESULT_COLUMNS; ++k) WRITE_F(ext, "(3X,F11.4,$)", v[k]);
      } else {
        WRITE_F(ext, "(1X,I8,2X,$)", g);
        for (int k = 1; k <= RESULT_COLUMNS; ++k) WRITE_F(ext, "(2X,E12.5,$)", v[k]);
      }
      std::fputc('\n', ext);
    };
    values(mn, false);
    values(xmn, true);
    values(mx, false);
    values(xmx, true);
  }

  // Envelope of the table along the pile.
  ENVELOPE_TABLE_UPDATE(run, g);
}

void RESULT_COLUMN_FLAGS(const RUN& run, int g, bool report, int (&flags)[RESULT_COLUMNS + 1]) {
  const ANALYSIS& an = run.store.an;
  for (int k = 0; k <= RESULT_COLUMNS; ++k) flags[k] = k == 0 ? 0 : (report ? (an.cur.OUTPUT_SELECT[k] > 0) : 1);
  if (run.store.ctl.ANALYSIS_TYPE != 3)
    for (int k : {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23}) flags[k] = 0;
  if (axial_fixed(run, g))
    for (int k : {1, 5, 6, 7, 8, 18}) flags[k] = 0;
  if (!an.IN_COMBINATIONS) flags[24] = flags[25] = 0;
}

void RECORD_PILE_3D(RUN& run, int g, const VEC6& w, const VEC6& head_force) {
  if (run.store.an.PASS_FLAG == 1)
    printing_pass(run, g, w, head_force);
  else if (run.store.an.PASS_FLAG == 2)
    stiffness_pass(run, g, w, head_force);
}

}  // namespace kestra
