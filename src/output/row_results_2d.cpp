// Pile results of a 2D printing pass and of a 2D equivalent-stiffness pass.
#include "output/row_results_2d.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/format.h"
#include "engine/writers.h"
#include "group/cap_solve_2d.h"
#include "output/headings.h"
#include "output/pile_results.h"
#include "output/results_report.h"
#include "pile/section_value.h"

namespace kestra {

namespace {

// A heading field of w characters, right-justified (cut at w).
std::string field(const std::string& t, size_t w) { return t.size() >= w ? t.substr(0, w) : std::string(w - t.size(), ' ') + t; }

void head_block_2d(RUN& run, FILE* f, const char* title, const char* const names[7], const VEC3& d,
                   const VEC3& F, double stress) {
  const LABELS& l = run.store.labels;
  const std::string L(l.LENGTH_LABEL, 2), Fo(l.FORCE_LABEL, 3);
  const std::string units[7] = {L, L, "", Fo, Fo, Fo + "-" + L, Fo + "/" + L + "**2"};
  WRITE_F(f, "(/,7X,A)", title);
  std::string h(6, ' ');
  for (int k = 0; k < 6; ++k) h += field(std::string(names[k]) + units[k], 12);
  h += field(std::string(names[6]) + units[6], 17);  // over the 4 blanks and the stress, and one more
  WRITE_F(f, "(/,A)", h);
  WRITE_BLANKS(f, 6);
  for (int k = 1; k <= 3; ++k) WRITE_REAL(f, 12, 4, d[k]);
  for (int k = 1; k <= 3; ++k) WRITE_REAL(f, 12, 4, F[k]);
  WRITE_BLANKS(f, 4);
  WRITE_REAL(f, 12, 4, stress);
  END_LINE(f);
}

void table_line_2d(FILE* f, const VEC3& d, const VEC3& F, double stress) {
  WRITE_BLANKS(f, 3);
  for (int k = 1; k <= 3; ++k) WRITE_REAL(f, 17, 8, d[k]);
  for (int k = 1; k <= 3; ++k) WRITE_REAL(f, 17, 8, F[k]);
  WRITE_REAL(f, 17, 8, stress);
  END_LINE(f);
}

void extreme_head_2d(FILE* f, int g, const VEC3& d, const VEC3& F, double stress) {
  if (!f) return;
  WRITE_F(f, "(5X,I6,6X,1P,3(G12.5,2X))", g, d[1], d[2], d[3]);
  WRITE_F(f, "(5X,I6,6X,1P,3(G12.5,2X),G12.5)", g, F[1], F[2], F[3], stress);
}

bool axial_fixed_2d(const RUN& run, int g) {
  return run.store.an.cur.AXIAL_VARIATION <= 0 || run.store.piles.LS_SET[g] >= 1;
}

void printing_pass_2d(RUN& run, int g, const VEC3& u, const VEC3& f) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  PILE_WORK& pw = an.work;
  const int N = pw.N;
  const double b = s.piles.ALPHA[g];
  const double c = std::cos(b), sn = std::sin(b);

  // 1. Head tables: local (u, y(0), slope(0)) and (P, V, M); global
  //    displacements turned by the batter, global forces carried to the
  //    origin.
  const int e0 = NODE(0);
  const double y0 = pw.Y[e0], slope0 = pw.PLANE_Y.SLOPE[e0], stress = pw.PLANE_Y.STRESS[e0];
  const VEC3 ld{0.0, u[1], y0, slope0};
  const VEC3 gd{0.0, u[1] * c - y0 * sn, u[1] * sn + y0 * c, slope0};
  MAT3 M;
  ROW_TRANSFER_2D(s, g, M);
  VEC3 gf{};
  for (int r = 1; r <= 3; ++r) gf[r] = M[r][1] * f[1] + M[r][2] * f[2] + M[r][3] * f[3];
  an.HEAD_LOCAL_DISP = VEC6{0.0, ld[1], ld[2], 0.0, 0.0, 0.0, ld[3]};
  an.HEAD_LOCAL_FORCE = VEC6{0.0, f[1], f[2], 0.0, 0.0, 0.0, f[3]};
  an.HEAD_GLOBAL_DISP = VEC6{0.0, gd[1], gd[2], 0.0, 0.0, 0.0, gd[3]};
  an.HEAD_GLOBAL_FORCE = VEC6{0.0, gf[1], gf[2], 0.0, 0.0, 0.0, gf[3]};
  an.HEAD_STRESS = stress;
  if (FILE* t = run.files[F_RESULTS_TABLE]) {
    WRITE_F(t, "('* PILE GROUP *',I6)", g);
    WRITE_F(t, "('* PILE TOP DISP. AND REACT. GLOBAL')");
    table_line_2d(t, gd, gf, stress);
    WRITE_F(t, "('* PILE TOP DISP. AND REACT. LOCAL')");
    table_line_2d(t, ld, f, stress);
  }
  FILE* rep = run.files[F_REPORT];
  if (an.cur.PRINT_OPTION >= 1 && rep) {
    static const char* const G[7] = {"DISP.X,", "DISP.Y,", "SLOPE", "FOR.X,", "FOR.Y,", "BM,", "STRESS,"};
    static const char* const L[7] = {"DISP.x,", "DISP.y,", "SLOPE", "AXIAL,", "LAT,", "BM,", "STRESS,"};
    WRITE_F(rep, "(/,/,7X,'* PILE GROUP *',I3)", g);
    WRITE_F(rep, "(/,7X,'* PILE TOP DISPLACEMENTS AND REACTIONS *')");
    head_block_2d(run, rep, "THE GLOBAL STRUCTURAL COORDINATE SYSTEM", G, gd, gf, stress);
    head_block_2d(run, rep, "THE PILE COORDINATE SYSTEM (LOCAL AXES)", L, ld, f, stress);
  }

  // 2. Extreme-values scratch file, head records.
  FILE* ext = run.files[F_EXTREME_SCRATCH];
  extreme_head_2d(ext, g, gd, gf, stress);
  extreme_head_2d(ext, g, ld, f, stress);

  // 3. Head envelope, in the six-slot places of the three components.
  ENVELOPE_HEAD_UPDATE(run, g, an.HEAD_GLOBAL_DISP, an.HEAD_GLOBAL_FORCE);

  // 4.-5. Node loop and the results table.
  const bool fixed_axial = axial_fixed_2d(run, g);
  const bool movement = s.soil.NSMPTS > 0;
  const bool combination = an.IN_COMBINATIONS != 0;
  const int prop = s.piles.PILE_PROP[g];
  auto& T = an.RESULTS_TABLE;
  for (auto& col : T) col.fill(0.0);
  for (int m = 0; m <= N; ++m) {
    const int e = NODE(m);
    pw.PLANE_Y.BMOM[e] = -pw.PLANE_Y.BMOM[e];
    if (movement) pw.PLANE_Y.SOILR[e] = pw.PSOIL[e];
    if (fixed_axial) {
      pw.AXDISP[e] = 0.0;
      pw.AXFORCE[e] = f[1];
    }
    T[1][e] = pw.AXDISP[e];
    T[2][e] = pw.Y[e];
    T[5][e] = pw.AXDISP[e] * c - pw.Y[e] * sn;
    T[6][e] = pw.AXDISP[e] * sn + pw.Y[e] * c;
    T[9][e] = pw.PLANE_Y.BMOM[e];
    T[12][e] = pw.PLANE_Y.SHEAR[e];
    T[15][e] = pw.PLANE_Y.SOILR[e];
    T[18][e] = pw.AXFORCE[e];
    T[19][e] = pw.PLANE_Y.STRESS[e];
    T[20][e] = pw.PLANE_Y.EI[e];
    T[22][e] = pw.PLANE_Y.WLOAD[e];
    if (combination) {
      // Demand over factored nominal capacity; no ratio without a capacity.
      const double x = pw.X[e];
      const double mn = SECTION_VALUE(s, prop, pw.vert, x, XS_MN);
      const double vn = SECTION_VALUE(s, prop, pw.vert, x, XS_VN);
      const double mcap = mn * an.cur.BENDING_RF, vcap = vn * an.cur.SHEAR_RF;
      T[24][e] = mn > 1.0E-14 && mcap != 0.0 ? std::fabs(T[9][e]) / mcap : 0.0;
      T[25][e] = vn > 1.0E-14 && vcap != 0.0 ? std::fabs(T[12][e]) / vcap : 0.0;
    }
  }

  // 6.-9. The tables along the row's pile, shared with the 3D piles.
  WRITE_PILE_TABLES(run, g, false);
}

void stiffness_pass_2d(RUN& run, int g, const VEC3& u, const VEC3& f) {
  PILE_WORK& pw = run.store.an.work;
  if (FILE* t = run.files[F_PILE_STIFFNESS]) {
    WRITE_F(t, "('* PILE GROUP *',I6)", g);
    WRITE_F(t, "('* PILE TOP EQUIVALENT STIFFNESSES')");
    WRITE_REAL(t, 17, 8, f[1]);
    WRITE_REAL(t, 17, 8, std::fabs(u[1]) > 1.0E-14 ? f[1] / u[1] : 0.0);
    END_LINE(t);
    WRITE_F(t, "('* EQUIVALENT STIFFNESSES ALONG PILE')");
    WRITE_BLANKS(t, 6);
    WRITE_REAL(t, 16, 8, pw.h);
    END_LINE(t);
    for (int m = 0; m <= pw.N; ++m) {
      const int e = NODE(m);
      WRITE_BLANKS(t, 6);
      WRITE_REAL(t, 16, 8, m * pw.h);
      WRITE_REAL(t, 17, 8, std::fabs(pw.Y[e]) > 1.0E-14 ? pw.PLANE_Y.SOILR[e] / pw.Y[e] : 0.0);
      END_LINE(t);
    }
  }
  for (int m = 0; m <= pw.N; ++m) pw.PLANE_Y.BMOM[NODE(m)] = -pw.PLANE_Y.BMOM[NODE(m)];
}

}  // namespace

void RECORD_ROW_2D(RUN& run, int g, const std::array<double, 4>& u, const std::array<double, 4>& f) {
  if (run.store.an.PASS_FLAG == 1)
    printing_pass_2d(run, g, u, f);
  else if (run.store.an.PASS_FLAG == 2)
    stiffness_pass_2d(run, g, u, f);
}

}  // namespace kestra
