// Curves of the models as whole tables: p at a deflection for every model,
// the default deflections of a tabulated curve, and the report headers and
// point rows with their plot-file records.
#include <cmath>
#include <string>

#include "engine/format.h"
#include "engine/writers.h"
#include "soil/py_models.h"

namespace kestra {

double PY_CURVE_P(const PY_CURVE& c, double y) {
  switch (c.model) {
    case PY_STIFF_CLAY_FREE_WATER: return P_STIFF_CLAY_FREE_WATER(c, y);
    case PY_STIFF_CLAY_NO_WATER:
    case PY_STIFF_CLAY_INITIAL_K: return P_STIFF_CLAY_NO_WATER(c, y);
    case PY_SAND:
    case PY_SILT: return P_SAND_SHAPE(c, y);
    case PY_API_SAND: return P_API_SAND(c, y);
    case PY_LIQUEFIED_SAND: return P_LIQUEFIED_SAND(c, y);
    case PY_WEAK_ROCK: return P_WEAK_ROCK(c, y);
    case PY_VUGGY_LIMESTONE: return P_VUGGY_LIMESTONE(c, y);
    default: return P_SOFT_CLAY(c, y);
  }
}

int PY_DEFAULT_DEFLECTIONS(const RUN& run, const PY_CURVE& c, double* y) {
  switch (c.model) {
    case PY_STIFF_CLAY_FREE_WATER:
      if (!c.cyclic) {
        const double a = c.as * c.y50;
        for (int i = 0; i < 13; ++i) y[i] = 0.5 * a * i;
        y[13] = 10.0 * a;
        y[14] = 14.0 * a;
        y[15] = 18.0 * a;
        y[16] = 200.0 * a;
      } else {
        for (int i = 0; i < 13; ++i) y[i] = F32(0.05f) * c.yp * i;
        y[13] = 1.0 * c.yp;
        y[14] = F32(1.4f) * c.yp;
        y[15] = F32(1.8f) * c.yp;
        y[16] = 20.0 * c.yp;
      }
      return 17;
    case PY_STIFF_CLAY_NO_WATER:
    case PY_STIFF_CLAY_INITIAL_K: {
      const double D = c.y50 * (16.0 + F32(9.6f) * std::log10(c.ncyc));
      for (int i = 0; i < 16; ++i) y[i] = i * D / 15.0;
      y[16] = 1.25 * D;
      return 17;
    }
    case PY_SAND:
    case PY_API_SAND:
    case PY_SILT: {
      y[0] = 0.0;
      for (int i = 1; i <= 12; ++i) y[i] = c.ym / 12.0 * i;
      y[13] = c.yu;
      for (int i = 1; i <= 3; ++i) y[13 + i] = c.yu + i * c.b;
      return 17;
    }
    case PY_LIQUEFIED_SAND: {
      const bool english = run.store.ctl.UNITS_SYSTEM == 1;
      for (int i = 1; i <= 17; ++i) {
        const double mm = std::pow(10.0, F32(0.12800537f) * i);
        y[i - 1] = english ? mm / 25.4 : mm / 1000.0;
      }
      return 17;
    }
    case PY_WEAK_ROCK: {
      static constexpr float F[17] = {0.0005f, 0.001f, 0.003f, 0.006f, 0.009f, 0.02f, 0.04f, 0.06f, 0.08f,
                                      0.1f,    0.25f,  0.5f,   0.75f,  1.0f,   4.0f,  8.0f,  12.0f};
      for (int i = 0; i < 17; ++i) y[i] = c.y50 * double(F[i]);
      return 17;
    }
    case PY_VUGGY_LIMESTONE:
      for (int i = 0; i < 17; ++i) y[i] = i * c.y2 / 15.0;
      return 17;
    default: {
      const double y50 = c.y50;
      y[0] = 0.0;
      y[1] = F32(0.008f) * y50;
      if (y[1] > 0.25 * y50) y[1] = 0.125 * y50;
      for (int i = 1; i <= 12; ++i) y[1 + i] = 0.25 * y50 * i;
      y[14] = 8.0 * y50;
      y[15] = 15.0 * y50;
      y[16] = 20.0 * y50;
      return 17;
    }
  }
}

void PY_CURVE_HEADER(RUN& run, const PY_NODE& n, const PY_CURVE& c, const PY_FACTORS& f) {
  const STORE& s = run.store;
  FILE* r = run.files[F_REPORT];
  const std::string_view L(s.labels.LENGTH_LABEL, 2);
  const std::string_view F(s.labels.FORCE_LABEL, 3);
  const double deg = c.phi * 180.0 / s.rw.PI;
  double depth = n.zt;
  switch (c.model) {
    case PY_STIFF_CLAY_FREE_WATER:
      WRITE_F(r, "()");
      WRITE_F(r, "(9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',9X,'CAVG',6X,'GAMMA',8X,'E50')");
      WRITE_F(r, "(15X,A2,13X,A2,5X,2(A3,A1,A2,A2,A1,2X),A3,A1,A2,A2,A1)", L, L, F, "/", L, "**", "2", F, "/", L,
              "**", "2", F, "/", L, "**", "3");
      WRITE_F(r, "(9X,F10.2,5X,F10.3,3(1X,E10.2),E12.4)", n.zt, c.b, c.c, c.ca, c.gamma, c.e50);
      WRITE_F(r, "()");
      WRITE_F(r, "(13X,'AS =',F3.2,5X,'AC =',F3.2,5X,'Y,',A2,13X,'P,',A3,A1,A2)", c.as, c.ac, L, F, "/", L);
      break;
    case PY_STIFF_CLAY_NO_WATER:
    case PY_STIFF_CLAY_INITIAL_K:
      WRITE_F(r, "()");
      WRITE_F(r, "(10X,'DEPTH BELOW GS',5X,'DIAM',8X,'C',7X,'CAVG',6X,'GAMMA',7X,'E50')");
      WRITE_F(r, "(16X,A2,12X,A2,5X,3(A3,A1,A2,A2,A1,1X))", L, L, F, "/", L, "**", "2", F, "/", L, "**", "2", F,
              "/", L, "**", "3");
      WRITE_F(r, "(10X,F10.2,5X,F10.3,3E10.2,E12.4)", n.zt, c.b, c.c, c.ca, c.gamma, c.e50);
      WRITE_F(r, "(38X,'Y',19X,'P')");
      WRITE_F(r, "(38X,A2,15X,A3,A1,A2)", L, F, "/", L);
      break;
    case PY_SAND:
      WRITE_F(r, "()");
      WRITE_F(r, "(11X,'DEPTH BELOW GS',6X,'DIAM',6X,'PHI',5X,'GAMMA',10X,'A',9X,'B',15X,'PCT',7X,'PCD')");
      WRITE_F(r, "(17X,A2,13X,A2,13X,A3,A1,A2,A2,A1)", L, L, F, "/", L, "**", "3");
      WRITE_F(r, "(10X,F10.2,5X,2F10.2,E10.2,2F10.2,10X,2E10.2)", n.zt, c.b, deg, c.gamma, c.A, c.B, c.pst, c.psd);
      WRITE_F(r, "()");
      WRITE_F(r, "(38X,'Y',19X,'P')");
      WRITE_F(r, "(38X,A2,15X,A3,A1,A2)", L, F, "/", L);
      break;
    case PY_API_SAND:
    case PY_SILT:
      depth = c.z;
      WRITE_F(r, "(/)");
      if (c.model == PY_API_SAND)
        WRITE_F(r, "(5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,'PCT',7X,'PCD')");
      else
        WRITE_F(r, "(5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,'Puc',7X,'Pu',A1)", "\xED");
      WRITE_F(r, "(7X,A2,8X,A2,12X,A3,A1,A2,A2,A1)", L, L, F, "/", L, "**", "3");
      if (c.model == PY_API_SAND)
        WRITE_F(r, "(2F10.2,F10.1,E10.3,2F10.2,2E10.3)", c.z, c.b, deg, c.gamma, c.A, 0.0, c.pst, c.psd);
      else
        WRITE_F(r, "(2F10.2,F10.1,E10.3,2F10.2,2E10.3)", c.z, c.b, deg, c.gamma, c.A, c.B, c.pc, c.psd);
      WRITE_F(r, "()");
      WRITE_F(r, "(37X,'Y',19X,'P')");
      WRITE_F(r, "(37X,A2,16X,A3,A1,A2)", L, F, "/", L);
      break;
    case PY_LIQUEFIED_SAND:
      depth = c.z;
      WRITE_F(r, "(/)");
      WRITE_F(r, "(7X,'p-y Curve Computed Using Liquefied Sand Criteria')");
      WRITE_F(r, "(7X,'Depth below ground surface       = ',F12.3,1X,A2)", c.z, L);
      WRITE_F(r, "(7X,'Diameter                         = ',F12.3,1X,A2)", c.b, L);
      WRITE_F(r, "(7X,'Gamma Avg                        = ',F12.5,1X,A3,A1,A2,A2,A1)", c.gamma, F, "/", L, "**", "3");
      WRITE_F(r, "(7X,'Pu                               = ',F12.3,1X,A3,A1,A2)", c.pu, F, "/", L);
      WRITE_F(r, "(7X,'p-multiplier                     = ',F12.5)", f.P);
      WRITE_F(r, "(7X,'y-multiplier                     = ',F12.5)", f.Y);
      WRITE_F(r, "()");
      WRITE_F(r, "(7X,'         y, ',A2,'            p, ',A3,A1,A2)", L, F, "/", L);
      WRITE_F(r, "(7X,'------------    -------------')");
      break;
    case PY_WEAK_ROCK:
      depth = c.z;
      WRITE_F(r, "(/)");
      WRITE_F(r, "(14X,'DEPTH',5X,'DIAM',7X,'C',8X,' PU ',3X,'GAMMA AVG',6X,'E50')");
      WRITE_F(r, "(16X,A2,7X,A2,4X,3(A3,A1,A2,A2,A1,1X))", L, L, F, "/", L, "**", "2", F, "/", L, "  ", " ", F, "/",
              L, "**", "3");
      WRITE_F(r, "(10X,F10.2,F10.3,3E10.2,E12.3)", c.z, c.b, c.qr, c.pu, c.gamma, c.krm);
      WRITE_F(r, "(37X,'Y',19X,'P')");
      WRITE_F(r, "(37X,A2,16X,A3,A1,A2)", L, F, "/", L);
      break;
    case PY_VUGGY_LIMESTONE:
      WRITE_F(r, "()");
      WRITE_F(r, "(10X,'DEPTH BELOW GS',5X,'DIAM',8X,'C',7X)");
      WRITE_F(r, "(16X,A2,12X,A2,5X,A3,A1,A2,A2,A1,1X)", L, L, F, "/", L, "**", "2");
      WRITE_F(r, "(10X,F10.2,5X,F10.3,E10.1)", n.zt, c.b, c.c);
      WRITE_F(r, "(38X,'Y',19X,'P')");
      WRITE_F(r, "(38X,A2,15X,A3,A1,A2)", L, F, "/", L);
      break;
    default:
      WRITE_F(r, "()");
      WRITE_F(r, "(9X,'DEPTH BELOW GS',6X,'DIAM',9X,'C',9X,'GAMMA',9X,'E50')");
      WRITE_F(r, "(15X,A2,13X,A2,6X,A3,A1,A2,A2,A1,3X,A3,A1,A2,A2,A1)", L, L, F, "/", L, "**", "2", F, "/", L, "**",
              "3");
      WRITE_F(r, "(8X,F10.2,6X,F10.3,3X,E10.4,2X,E10.4,1X,E12.4)", n.zt, c.b, c.c, c.gamma, c.e50);
      WRITE_F(r, "()");
      WRITE_F(r, "(37X,'Y,',A2,13X,'P,',A3,'/',A2)", L, F, L);
      break;
  }
  WRITE_LIST(run.files[F_PLOT], depth);
}

void PY_CURVE_ROW(RUN& run, const PY_CURVE& c, double y, double p) {
  FILE* r = run.files[F_REPORT];
  FILE* plot = run.files[F_PLOT];
  if (c.model == PY_LIQUEFIED_SAND) {
    if (r) {
      WRITE_BLANKS(r, 1);
      WRITE_REAL(r, 14, 4, y);
      WRITE_REAL(r, 17, 4, p);
      END_LINE(r);
    }
    WRITE_F(plot, "(7X,1P,2G20.8)", y, p);
    return;
  }
  if (r) {
    WRITE_BLANKS(r, 21);
    WRITE_REAL(r, 20, 4, y);
    WRITE_REAL(r, 20, 4, p);
    END_LINE(r);
  }
  switch (c.model) {
    case PY_API_SAND:
    case PY_WEAK_ROCK:
    case PY_SILT: WRITE_F(plot, "(1P,2(2X,G15.8))", y, p); break;
    case PY_VUGGY_LIMESTONE: WRITE_F(plot, "(1P,1X,2(G15.8,2X))", y, p); break;
    default: WRITE_F(plot, "(1P,2(1X,G15.8))", y, p); break;
  }
}

}  // namespace kestra
