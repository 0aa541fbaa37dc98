// Printed results of the plate: displacements, reactions and stress
// resultants of a converged increment, and the step records.
#include <cmath>
#include <limits>

#include "engine/format.h"
#include "engine/status.h"
#include "slab/plate_elements.h"
#include "slab/plate_shape.h"

namespace kestra {

namespace {

void NODE_LINE(FILE* fp, int label, const double* v) {
  WRITE_F(fp, "(I10,6E14.6)", label, v[0], v[1], v[2], v[3], v[4], v[5]);
}

}  // namespace

void PRINT_STEP_RESULTS(const SLAB_MODEL& m, const SLAB_FILES& f, int step, double tcur, const std::vector<double>& u,
                        const std::vector<double>& reactions) {
  FILE* L = f.LISTING;
  if (!L) return;
  WRITE_F(L, "('   STEP =',I5,'   TIME =',F10.4)", step, tcur);
  WRITE_F(L, "(/,' ',5X,'DISPLACEMENTS')");
  WRITE_F(L, "(/,' ',5X,'NODE',5X,'X-DISP',8X,'Y-DISP',7X,'Z-DISP',8X,'XZ-ROT.',7X,'YZ-ROT.',7X,'Z-ROT')");
  for (int n = 1; n <= m.NPOIN; ++n) NODE_LINE(L, m.NODE_LABEL[n], &u[static_cast<size_t>(n - 1) * 6]);
  WRITE_F(L, "(/,' ',5X,'REACTIONS')");
  WRITE_F(L, "(/,' ',5X,'NODE',4X,'X-FORCE',7X,'Y-FORCE',7X,'Z-FORCE',6X,'XZ-MOMENT',6X,'YZ-MOMENT',5X,'Z-MOMENT')");
  for (const auto& fx : m.FIX)
    if (fx.NODE >= 1 && fx.NODE <= m.NPOIN)
      NODE_LINE(L, m.NODE_LABEL[fx.NODE], &reactions[static_cast<size_t>(fx.NODE - 1) * 6]);
}

bool GAUSS_POINT_RESULTANTS(const SLAB_MODEL& m, int e, int i, int j, const std::vector<double>& u,
                            PLATE_RESULTANTS& s, double& x, double& y) {
  ELEMENT_POINT p;
  s.fill(0.0);
  if (!JACOB2(m, e, m.POSGP[i], m.POSGP[j], p)) return false;
  x = p.X;
  y = p.Y;
  const auto& pr = m.PROPS[m.MATNO[e]];
  const PLATE_RIGIDITY D = MATERIAL_RIGIDITY(pr[0], pr[1], pr[2]);
  double em[3] = {}, eb[5] = {};  // membrane strains; curvatures and shear strains
  for (int a = 0; a < m.NNODE; ++a) {
    const double* v = &u[static_cast<size_t>(m.node(e, a + 1) - 1) * 6];
    em[0] += p.DX[a] * v[0];
    em[1] += p.DY[a] * v[1];
    em[2] += p.DY[a] * v[0] + p.DX[a] * v[1];
    eb[0] += -p.DX[a] * v[3];
    eb[1] += -p.DY[a] * v[4];
    eb[2] += -p.DY[a] * v[3] - p.DX[a] * v[4];
    eb[3] += p.DX[a] * v[2] - p.s.N[a] * v[3];
    eb[4] += p.DY[a] * v[2] - p.s.N[a] * v[4];
  }
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      s[r] += D.DM[r][c] * em[c];
      s[3 + r] += D.DB[r][c] * eb[c];
    }
  s[6] = D.DS * eb[3];
  s[7] = D.DS * eb[4];
  return true;
}

int PLATE_STRESSES(const SLAB_MODEL& m, const SLAB_FILES& f, int step, const std::vector<double>& u) {
  FILE* L = f.LISTING;
  static constexpr const char* COLUMNS =
      "'SIGMA_XX',4X,'SIGMA_YY',4X,'SIGMA_XY',3X,'X-MOMENT',4X,'Y-MOMENT',3X,'XY-MOMENT',2X,'XZ-S,FORCE',2X,'YZ-S,FORCE'";
  if (L) {
    WRITE_F(L, "(/,10X,'STRESSES',/)");
    WRITE_F(L, std::string("(/,' ','G,P.',2X,'X-COORD.',2X,'Y-COORD.',3X,") + COLUMNS + ")");
  }
  PLATE_RESULTANTS hi, lo;
  hi.fill(-std::numeric_limits<double>::infinity());
  lo.fill(std::numeric_limits<double>::infinity());
  std::array<int, 8> hi_e{}, hi_p{}, lo_e{}, lo_p{};
  // Node sums of the Gauss-point values of the elements around each node.
  std::vector<PLATE_RESULTANTS> sum(static_cast<size_t>(m.NPOIN) + 1, PLATE_RESULTANTS{});
  std::vector<int> count(static_cast<size_t>(m.NPOIN) + 1, 0);
  for (int e = 1; e <= m.NELEM; ++e) {
    if (L) WRITE_F(L, "(/,5X,'ELEMENT NO.=',I5)", e);
    int gp = 0;
    PLATE_RESULTANTS esum{};
    for (int i = 0; i < m.NGAUS; ++i)
      for (int j = 0; j < m.NGAUS; ++j) {
        ++gp;
        PLATE_RESULTANTS s;
        double x, y;
        if (!GAUSS_POINT_RESULTANTS(m, e, i, j, u, s, x, y)) {
          WRITE_AREA_FAILURE(L, e);
          return ST_SLAB_STOP;
        }
        if (L) WRITE_F(L, "(I5,2F10.4,8E13.5)", gp, x, y, s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]);
        for (int k = 0; k < 8; ++k) {
          esum[k] += s[k];
          if (s[k] > hi[k]) hi[k] = s[k], hi_e[k] = e, hi_p[k] = gp;
          if (s[k] < lo[k]) lo[k] = s[k], lo_e[k] = e, lo_p[k] = gp;
        }
      }
    for (int a = 1; a <= m.NNODE; ++a) {
      const int n = m.node(e, a);
      for (int k = 0; k < 8; ++k) sum[n][k] += esum[k];
      count[n] += gp;
    }
  }
  if (L && m.NELEM > 0) {
    for (int pass = 0; pass < 2; ++pass) {
      const auto& v = pass == 0 ? hi : lo;
      const auto& ve = pass == 0 ? hi_e : lo_e;
      const auto& vp = pass == 0 ? hi_p : lo_p;
      WRITE_F(L, pass == 0 ? "(/,10X,'MAXIMUM STRESSES',/)" : "(/,10X,'MINIMUM STRESSES',/)");
      WRITE_F(L, std::string("(' ','    ',2X,'        ',2X,'        ',3X,") + COLUMNS + ")");
      WRITE_F(L, "(10X,A6,9X,8E13.5)", "STRESS", v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
      WRITE_F(L, "(10X,A6,9X,I6,7I12)", "ELEM. ", ve[0], ve[1], ve[2], ve[3], ve[4], ve[5], ve[6], ve[7]);
      WRITE_F(L, "(10X,A6,9X,I6,7I12)", "IP    ", vp[0], vp[1], vp[2], vp[3], vp[4], vp[5], vp[6], vp[7]);
    }
  }
  if (FILE* S = f.STEP_DATA) {
    if (step == 1) {
      WRITE_F(S, "('STEP_DATA')");
      WRITE_F(S, "('14')");
      WRITE_F(S, "('UX UY UZ ROTX ROTY ROTZ ','SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ')");
    }
    WRITE_F(S, "('STEP',I8)", step);
    for (int n = 1; n <= m.NPOIN; ++n) {
      const double* v = &u[static_cast<size_t>(n - 1) * 6];
      PLATE_RESULTANTS a{};
      for (int k = 0; k < 8; ++k) a[k] = count[n] > 0 ? sum[n][k] / count[n] : 0.0;
      WRITE_F(S, "(I5,15E12.4)", m.NODE_LABEL[n], v[0], v[1], v[2], v[3], v[4], v[5], a[0], a[1], a[2], a[3], a[4],
              a[5], a[6], a[7]);
    }
  }
  return 0;
}

}  // namespace kestra
