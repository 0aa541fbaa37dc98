// Echo of the soil input (Tables F, G, H, I, J1, J2, K and the p-y curves to
// print) and the soil profile that the echo of the layers derives.
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "input/sections.h"
#include "input/soils.h"
#include "input/soils_hooks.h"

namespace kestra {

namespace {

// --- Pile arrangement as the soil echo sees it (input/pile_data.h).

int group_count(const STORE& s) { return s.piles.NPILES; }
int group_pile_type(const STORE& s, int g) {
  const int p = s.piles.PILE_PROP[g];
  if (p < 1 || p > s.piles.NPROP) return 0;
  return s.piles.PROP[p].PILE_TYPE;
}
// Group multipliers: the pair of the plane of a 2D analysis, the Y pair and
// the Z pair.
double group_p_plane(const STORE& s, int g) { return s.piles.P_FACTOR[g]; }
double group_y_plane(const STORE& s, int g) { return s.piles.Y_FACTOR[g]; }
double group_p_y(const STORE& s, int g) { return s.piles.P_FACTOR_Y[g]; }
double group_y_y(const STORE& s, int g) { return s.piles.Y_FACTOR_Y[g]; }
double group_p_z(const STORE& s, int g) { return s.piles.P_FACTOR_Z[g]; }
double group_y_z(const STORE& s, int g) { return s.piles.Y_FACTOR_Z[g]; }

// --- Unit labels.

std::string_view length_label(const STORE& s) { return std::string_view(s.labels.LENGTH_LABEL, 2); }
std::string_view force_label(const STORE& s) { return std::string_view(s.labels.FORCE_LABEL, 3); }
std::string stress_unit(const STORE& s) {
  return std::string(force_label(s)) + "/" + std::string(length_label(s)) + "**2";
}
std::string unit_weight_unit(const STORE& s) {
  return std::string(force_label(s)) + "/" + std::string(length_label(s)) + "**3";
}
std::string force_per_length_unit(const STORE& s) {
  return std::string(force_label(s)) + "/" + std::string(length_label(s));
}
std::string moment_unit(const STORE& s) { return std::string(force_label(s)) + "-" + std::string(length_label(s)); }
std::string in_parens(std::string_view u) {
  std::string r(1, '(');
  r.append(u);
  r.push_back(')');
  return r;
}

// Columns of a Table F row: the label in 30 columns, one blank, the unit in
// 12 columns; the top value starts in column 49.
// The label and the unit are fixed-length texts, padded on the right.
void layer_row_head(FILE* f, std::string_view label, std::string_view unit) {
  std::string l(label.substr(0, 30)), u(unit.substr(0, 12));
  l.resize(30, ' ');
  u.resize(12, ' ');
  WRITE_F(f, "(5X,A30,1X,A12$)", l, u);
}

void layer_row(FILE* f, std::string_view label, std::string_view unit, double top, double bottom) {
  layer_row_head(f, label, unit);
  WRITE_REAL(f, 14, 5, top);
  WRITE_BLANKS(f, 4);
  WRITE_REAL(f, 14, 5, bottom);
  END_LINE(f);
}

// One value of a capacity row: what is printed and its 4-column mark.
struct SHOWN {
  double value = 0.0;
  const char* mark = "    ";
  bool second = false;  // a drilled-shaft value on the continuation line
  double second_value = 0.0;
};

SHOWN capacity_value(double input, int flag, double driven, double drilled, bool has_driven, bool has_drilled) {
  SHOWN v;
  v.value = input;
  if (flag == 0 || (!has_driven && !has_drilled)) return v;
  if (has_driven) {
    v.value = driven;
    v.mark = " (P)";
    if (has_drilled) {
      v.second = true;
      v.second_value = drilled;
    }
  } else {
    v.value = drilled;
    v.mark = " (S)";
  }
  return v;
}

void capacity_row(FILE* f, std::string_view label, std::string_view unit, const SHOWN& top, const SHOWN& bottom) {
  layer_row_head(f, label, unit);
  WRITE_REAL(f, 14, 5, top.value);
  WRITE_F(f, "(A4$)", top.mark);
  WRITE_REAL(f, 14, 5, bottom.value);
  if (bottom.mark[1] != ' ') WRITE_F(f, "(A4$)", bottom.mark);
  END_LINE(f);
  if (!top.second && !bottom.second) return;
  WRITE_BLANKS(f, 48);
  if (top.second) {
    WRITE_REAL(f, 14, 5, top.second_value);
    WRITE_F(f, "(' (S)'$)");
  } else {
    WRITE_BLANKS(f, 18);
  }
  if (bottom.second) {
    WRITE_REAL(f, 14, 5, bottom.second_value);
    WRITE_F(f, "(' (S)'$)");
  }
  END_LINE(f);
}

bool model_in(int m, std::initializer_list<int> set) {
  for (int v : set)
    if (v == m) return true;
  return false;
}

}  // namespace

const char* SOIL_MODEL_LINE(int soil_model) {
  switch (soil_model) {
    case 1: return "THE SOIL IS A SOFT CLAY";
    case 2: return "THE SOIL IS A STIFF CLAY WITH FREE WATER";
    case 3: return "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER";
    case 4: return "THE SOIL IS A SAND";
    case 5: return "THE SOIL-RESISTANCE CURVES SPECIFIED BY THE USER";
    case 6: return "THE LAYER IS A VUGGY LIMESTONE";
    case 7: return "THE SOIL IS A SILT";
    case 8: return "THE SOIL IS A SAND USING API CRITERIA";
    case 9: return "THE LAYER IS A WEAK ROCK";
    case 10: return "THE SOIL IS A STIFF CLAYWITHOUT FREE WATER, USING INITIAL K VALUE";
    case 11: return "THE SOIL IS A LIQUEFIED SAND";
    default: return nullptr;
  }
}

void BUILD_SOIL_PROFILE(STORE& st) {
  SOIL_DATA& s = st.soil;
  const int nl = s.NLAYERS;
  s.NL = nl;
  s.NPROFILE = 2 * nl;
  s.GROUND_SURFACE = nl > 0 ? s.LAYER[1].LAYER_TOP : 0.0;
  const double to_radians = st.rw.PI / 180.0;
  for (int k = 1; k <= nl; ++k) {
    const SOIL_LAYER& L = s.LAYER[k];
    s.SOIL_MODEL[k] = L.SOIL_MODEL;
    s.LAYER_TOP[k] = L.LAYER_TOP;
    s.LAYER_BOTTOM[k] = L.LAYER_BOTTOM;
    for (int r = 0; r < 2; ++r) {
      const int i = 2 * k - 1 + r;
      s.PROFILE_X[i] = r == 0 ? L.LAYER_TOP : L.LAYER_BOTTOM;
      for (int p = 0; p < SOIL_PROPERTIES; ++p) s.PROFILE[p][i] = L.PROPS[r][p];
      s.PROFILE[SP_PHI][i] *= to_radians;
      // The properties the layer's model does not use.
      auto zero = [&](std::initializer_list<int> props) {
        for (int p : props) s.PROFILE[p][i] = 0.0;
      };
      switch (L.SOIL_MODEL) {
        case 1: case 3: zero({SP_PHI, SP_K, SP_RQD}); break;
        case 2: case 10: zero({SP_PHI, SP_RQD}); break;
        case 4: case 8: zero({SP_COHESION, SP_E_ROCK, SP_E50, SP_RQD}); break;
        case 5: case 11: zero({SP_COHESION, SP_PHI, SP_K, SP_E_ROCK, SP_E50, SP_RQD}); break;
        case 6:
          zero({SP_PHI, SP_K, SP_E_ROCK, SP_RQD});
          s.PROFILE[SP_E50][i] = 0.0005;
          break;
        case 7: zero({SP_E_ROCK, SP_E50}); break;
        case 9: zero({SP_PHI, SP_K}); break;
        default: break;  // any other code keeps its values (treated as soft clay later)
      }
    }
  }
}

// --- Table F.
int ECHO_TABLE_F(RUN& run) { return ECHO_TABLE_F_USING(run, ECHO_HOOK_UNIT_RESISTANCE); }

int ECHO_TABLE_F_USING(RUN& run, UNIT_RESISTANCE_FN estimate) {
  STORE& st = run.store;
  SOIL_DATA& s = st.soil;
  FILE* f = run.files[F_REPORT];
  BUILD_SOIL_PROFILE(st);
  TABLE_HEADING(f, "F", "   SOIL DATA");
  if (s.NLAYERS <= 0) {
    WRITE_F(f, "(/,5X,'  NO SOIL LAYERS DEFINED')");
    return ST_OK;
  }
  const std::string_view len = length_label(st);
  const std::string stress = in_parens(stress_unit(st));
  const std::string weight = in_parens(unit_weight_unit(st));
  bool has_driven = false, has_drilled = false;
  for (int g = 1; g <= group_count(st); ++g) {
    const int t = group_pile_type(st, g);
    has_driven = has_driven || t == 1;
    has_drilled = has_drilled || t == 2;
  }

  WRITE_F(f, "(/,5X,'SOILS INFORMATION')");
  WRITE_F(f, "(/,5X,' GROUND SURFACE          ='$)");
  WRITE_REAL(f, 13, 5, s.GROUND_SURFACE);
  WRITE_F(f, "(1X,A2$)", len);
  END_LINE(f);
  WRITE_F(f, "(/,5X,I1,' LAYER(S) OF SOIL')", s.NLAYERS);

  for (int k = 1; k <= s.NLAYERS; ++k) {
    const SOIL_LAYER& L = s.LAYER[k];
    const int m = L.SOIL_MODEL;
    const double* top = L.PROPS[0];
    const double* bot = L.PROPS[1];
    WRITE_F(f, "(/,5X,'LAYER',I3)", k);
    if (const char* line = SOIL_MODEL_LINE(m)) WRITE_F(f, "(5X,A)", line);
    WRITE_F(f, "(/,48X,' TOP OF LAYER    BOTTOM OF LAYER ')");
    layer_row(f, " X COORDINATE", in_parens(len), L.LAYER_TOP, L.LAYER_BOTTOM);
    layer_row(f, " EFFECTIVE UNIT WEIGHT", weight, top[SP_UNIT_WEIGHT], bot[SP_UNIT_WEIGHT]);
    if (model_in(m, {1, 2, 3, 7, 10}))
      layer_row(f, " UNDRAINED COHESION, C", stress, top[SP_COHESION], bot[SP_COHESION]);
    if (model_in(m, {6, 9}))
      layer_row(f, " UNIAXIAL COMPRESSIVE STRENGTH", stress, top[SP_COHESION], bot[SP_COHESION]);
    if (model_in(m, {4, 7, 8})) layer_row(f, " FRICTION ANGLE", "(DEGREES)", top[SP_PHI], bot[SP_PHI]);
    if (model_in(m, {2, 4, 7, 8, 10})) layer_row(f, " P-Y SUBGRADE MODULUS", weight, top[SP_K], bot[SP_K]);
    if (m == 9) layer_row(f, " YOUNG MODULUS,ER", stress, top[SP_E_ROCK], bot[SP_E_ROCK]);
    if (model_in(m, {1, 2, 3, 7, 10})) layer_row(f, " STRAIN AT 50% STRESS", "", top[SP_E50], bot[SP_E50]);
    if (m == 9) {
      layer_row(f, " KRM", "", top[SP_E50], bot[SP_E50]);
      layer_row(f, " RQD", "(%)", top[SP_RQD], bot[SP_RQD]);
    }
    // The capacities, with the estimates where the input gives zero.
    UNIT_RESISTANCE_ESTIMATE et, eb;
    int rc = estimate(run, m, L.LAYER_TOP, et);
    if (rc == ST_OK) rc = estimate(run, m, L.LAYER_BOTTOM, eb);
    if (rc != ST_OK) {
      if (run.status == ST_OK) run.status = rc;
      return rc;
    }
    capacity_row(f, " ULTIMATE UNIT SIDE FRICTION", stress,
                 capacity_value(top[SP_SIDE_FRICTION], et.SIDE_FLAG, et.SIDE_DRIVEN, et.SIDE_DRILLED, has_driven,
                                has_drilled),
                 capacity_value(bot[SP_SIDE_FRICTION], eb.SIDE_FLAG, eb.SIDE_DRIVEN, eb.SIDE_DRILLED, has_driven,
                                has_drilled));
    capacity_row(f, " ULTIMATE UNIT TIP RESISTANCE", stress,
                 capacity_value(top[SP_TIP_RESISTANCE], et.TIP_FLAG, et.TIP_DRIVEN, et.TIP_DRILLED, has_driven,
                                has_drilled),
                 capacity_value(bot[SP_TIP_RESISTANCE], eb.TIP_FLAG, eb.TIP_DRIVEN, eb.TIP_DRILLED, has_driven,
                                has_drilled));
  }
  WRITE_F(f, "(/,5X,'  Notes :  Program estimated values for ',/,"
             "5X,'           ULTIMATE UNIT SIDE FRICTION  and ULTIMATE UNIT TIP RESISTANCE ',/,"
             "5X,'           if zero input values were entered.',/,"
             "5X,'           (P) Driven Piles, (S) Drilled Shafts')");
  return ST_OK;
}

// --- The p-y curves to print.
int ECHO_PY_REQUESTS(RUN& run) {
  const STORE& st = run.store;
  const SOIL_DATA& s = st.soil;
  if (st.ctl.KPYOP != 1) return ST_OK;
  FILE* f = run.files[F_REPORT];
  WRITE_F(f, "(/,/,5X,'* DATA TO PRINT GENERATED P-Y CURVES *')");
  if (s.NPYPRINT <= 0) return ST_OK;
  WRITE_F(f, "(/,5X,' NUMBER OF CURVES TO PRINT : ',I5)", s.NPYPRINT);
  WRITE_F(f, "(/,5X,'  CURVE NUMBER  ','   PILE GROUP   ','      DEPTH (',A2,')   ')", length_label(st));
  for (int i = 1; i <= s.NPYPRINT; ++i) {
    WRITE_F(f, "(5X,I8,8X,I8,10X$)", i, s.PY_PRINT[i].GROUP);
    WRITE_REAL(f, 14, 5, s.PY_PRINT[i].DEPTH);
    END_LINE(f);
  }
  return ST_OK;
}

// --- Tables G, H and I.

void WRITE_LS_CURVE_TABLE(RUN& run, int curve, int npoints, const double* disp, const double* load) {
  FILE* f = run.files[F_REPORT];
  WRITE_F(f, "(/,5X,'CURVE',I3,5X,'NUM OF POINTS',I3)", curve, npoints);
  WRITE_F(f, "(/,5X,'DISPLACEMENT,',A2,4X,'AXIAL LOAD,',A3)", length_label(run.store), force_label(run.store));
  for (int j = 1; j <= npoints; ++j) {
    WRITE_BLANKS(f, 8);
    WRITE_REAL(f, 12, 5, disp[j]);
    WRITE_BLANKS(f, 6);
    WRITE_REAL(f, 12, 5, load[j]);
    END_LINE(f);
  }
}

void WRITE_TR_CURVE_TABLE(RUN& run, int curve, int npoints, const double* rotation, const double* moment) {
  FILE* f = run.files[F_REPORT];
  WRITE_F(f, "(/,5X,'CURVE',I3,5X,'NUM OF POINTS',I3)", curve, npoints);
  WRITE_F(f, "(/,5X,'ROT. ANGLE,',1X,'Rad.',4X,'TORS.MOMEN,',A)", moment_unit(run.store));
  for (int j = 1; j <= npoints; ++j) {
    WRITE_BLANKS(f, 9);
    WRITE_REAL(f, 12, 5, rotation[j]);
    WRITE_BLANKS(f, 9);
    WRITE_REAL(f, 12, 5, moment[j]);
    END_LINE(f);
  }
}

int ECHO_TABLES_GHI(RUN& run) {
  STORE& st = run.store;
  const SOIL_DATA& s = st.soil;
  FILE* f = run.files[F_REPORT];
  FILE* plot = run.files[F_PLOT];
  const std::string_view len = length_label(st);

  // Table G: the user p-y curves.
  if (st.ctl.USER_PY == 1 && s.NPYSETS > 0) {
    TABLE_HEADING(f, "G", "   INPUT P-Y CURVES");
    WRITE_F(f, "(/,5X,'NUM OF SETS :',I3)", s.NPYSETS);
    for (int k = 1; k <= s.NPYSETS; ++k) {
      const USER_PY_SET& set = s.PY_SETS[k];
      WRITE_F(f, "(/,5X,'SET',I3,5X,'NUM OF CURVES',I3)", k, set.NPYCURVES);
      for (int c = 1; c <= set.NPYCURVES; ++c) {
        const USER_PY_CURVE& cv = set.CURVE[c];
        WRITE_F(f, "(/,5X,'CURVE',I8)", c);
        WRITE_F(f, "(5X,'DISTANCE FROM ORIGIN (X-COORD.)',1X$)");
        WRITE_REAL(f, 10, 5, cv.DEPTH);
        WRITE_F(f, "(1X,A2$)", len);
        END_LINE(f);
        WRITE_F(f, "(/,5X,'POINT',7X,'P,',A,9X,'Y,',A2)", force_per_length_unit(st), len);
        for (int j = 1; j <= cv.NPOINTS; ++j) {
          WRITE_F(f, "(5X,I5,2X$)", j);
          WRITE_REAL(f, 12, 5, cv.P[j]);
          WRITE_BLANKS(f, 2);
          WRITE_REAL(f, 12, 5, cv.Y[j]);
          END_LINE(f);
        }
      }
    }
  }

  // Table H: the axial load-displacement curves, user or generated.
  if (st.ctl.USER_LS == 1) {
    TABLE_HEADING(f, "H", "   AXIAL LOAD VS DISPLACEMENT");
    WRITE_F(f, "(/,5X,'USER DEFINED AXIAL LOAD-DISPLACEMENT CURVES')");
    WRITE_F(f, "(/,5X,'NUM OF CURVES',I3)", s.NLSCURVES);
    for (int c = 1; c <= s.NLSCURVES; ++c)
      WRITE_LS_CURVE_TABLE(run, c, s.LS_CURVES[c].NPOINTS, s.LS_CURVES[c].DISP.data(), s.LS_CURVES[c].LOAD.data());
    if (plot) {
      WRITE_F(plot, "(5X,'* AXIAL LOAD-DISPLACEMENT CURVES *',/,5X,I5)", s.NLSCURVES);
      for (int c = 1; c <= s.NLSCURVES; ++c) {
        const USER_LS_CURVE& cv = s.LS_CURVES[c];
        WRITE_F(plot, "(2I5)", c, cv.NPOINTS);
        for (int j = 1; j <= cv.NPOINTS; ++j) WRITE_F(plot, "(1P,2(2X,G15.8))", cv.DISP[j], cv.LOAD[j]);
      }
    }
  } else if (s.NLAYERS > 0 && group_count(st) > 0) {
    TABLE_HEADING(f, "H", "   AXIAL LOAD VS DISPLACEMENT");
    const int rc = ECHO_HOOK_GENERATED_LS_CURVES(run);
    if (rc != ST_OK) {
      if (run.status == ST_OK) run.status = rc;
      return rc;
    }
  }

  // Table I: the torque-rotation curves of a 3D analysis, user or generated.
  if (st.ctl.ANALYSIS_TYPE == 3) {
    TABLE_HEADING(f, "I", "   TORS. MOM. VS ANGLE ROT. ");
    if (st.ctl.USER_TR == 1) {
      WRITE_F(f, "(/,5X,'USER DEFINED TORQUE-ROTATION CURVE')");
      WRITE_F(f, "(/,5X,'NUM OF CURVES',I3)", s.NTRCURVES);
      for (int c = 1; c <= s.NTRCURVES; ++c)
        WRITE_TR_CURVE_TABLE(run, c, s.TR_CURVES[c].NPOINTS, s.TR_CURVES[c].ROTATION.data(),
                             s.TR_CURVES[c].MOMENT.data());
      if (plot) {
        WRITE_F(plot, "(5X,'* TORQUE-ROTATION CURVES *',/,5X,I5)", s.NTRCURVES);
        for (int c = 1; c <= s.NTRCURVES; ++c) {
          const USER_TR_CURVE& cv = s.TR_CURVES[c];
          WRITE_F(plot, "(2I5)", c, cv.NPOINTS);
          for (int j = 1; j <= cv.NPOINTS; ++j) WRITE_F(plot, "(1P,2(2X,G15.8))", cv.ROTATION[j], cv.MOMENT[j]);
        }
      }
    } else {
      const int rc = ECHO_HOOK_GENERATED_TR_CURVES(run);
      if (rc != ST_OK) {
        if (run.status == ST_OK) run.status = rc;
        return rc;
      }
    }
  }
  return ST_OK;
}

// --- Tables J1, J2 and K.

namespace {

void factor_table(FILE* f, const STORE& st, const char* heading, double (*p)(const STORE&, int),
                  double (*y)(const STORE&, int)) {
  WRITE_F(f, "(/,5X,A)", heading);
  WRITE_F(f, "(/,5X,'GROUP NO',6X,'P-FACTOR',6X,'Y-FACTOR')");
  for (int g = 1; g <= group_count(st); ++g) {
    WRITE_F(f, "(5X,I8,2X$)", g);
    WRITE_REAL(f, 12, 4, p(st, g));
    WRITE_BLANKS(f, 2);
    WRITE_REAL(f, 12, 4, y(st, g));
    END_LINE(f);
  }
}

int table_k(RUN& run) {
  STORE& st = run.store;
  const int opt = st.ctl.SPACING_REDUCTION;
  const bool three_d = st.ctl.ANALYSIS_TYPE == 3;
  if (opt == 0 || (three_d && (opt < 1 || opt > 3))) return ST_OK;
  FILE* f = run.files[F_REPORT];
  const bool estimated = opt == 1 || opt == 3;
  SPACING_ESTIMATE est;
  if (estimated) {
    const int rc = ECHO_HOOK_SPACING_FACTORS(run, est);
    if (rc != ST_OK) {
      if (run.status == ST_OK) run.status = rc;
      return rc;
    }
  }
  TABLE_HEADING(f, "K", "   REDUCTION FACTORS        ");
  const std::string_view len = length_label(st);
  if (!three_d) {
    if (estimated) WRITE_F(f, "(/,5X,'PILE DIAMETER = ',F10.3,1X,A2)", est.PILE_DIAMETER, len);
    factor_table(f, st, "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS", group_p_plane, group_y_plane);
    return ST_OK;
  }
  for (int dir = 0; dir < 2; ++dir) {
    const char* axis = dir == 0 ? "Y" : "Z";
    if (opt == 3) {
      WRITE_F(f, "(/,5X,'ESTIMATED BASED ON DEFINED MOVEMENT IN THE ',A1,'-DIRECTION OF '$)", axis);
      WRITE_REAL(f, 12, 4, dir == 0 ? st.ctl.GROUP_MOVE_Y : st.ctl.GROUP_MOVE_Z);
      WRITE_F(f, "(1X,A2$)", len);
      END_LINE(f);
    } else if (opt == 1) {
      WRITE_F(f, "(/,5X,'ESTIMATED ASSUMING MOVEMENT IN THE DIRECTION OF ',A1,'-FORCE ')", axis);
    }
    if (dir == 0)
      factor_table(f, st, "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Y-DIRECTION", group_p_y, group_y_y);
    else
      factor_table(f, st, "REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Z-DIRECTION", group_p_z, group_y_z);
  }
  return ST_OK;
}

}  // namespace

int ECHO_TABLES_J1_J2_K(RUN& run) {
  const STORE& st = run.store;
  const SOIL_DATA& s = st.soil;
  FILE* f = run.files[F_REPORT];
  const std::string_view len = length_label(st);

  if (st.ctl.DEPTH_FACTORS == 1) {
    TABLE_HEADING(f, "J1", "  REDUCTION FACTORS ALONG DEPTH  ");
    WRITE_F(f, "(/,5X,'NUM OF SETS :',I3)", s.NRFSETS);
    for (int k = 1; k <= s.NRFSETS; ++k) {
      const RF_SET& set = s.RF_SETS[k];
      WRITE_F(f, "(/,5X,'  SET',I3,5X,'NUM OF POINTS',I3)", k, set.NPOINTS);
      WRITE_F(f, "(/,5X,'     DEPTH,',A2,3X,'P-FACTOR   ',4X,'Y-FACTOR   ')", len);
      for (int j = 1; j <= set.NPOINTS; ++j) {
        WRITE_BLANKS(f, 6);
        WRITE_REAL(f, 12, 5, set.DEPTH[j]);
        WRITE_BLANKS(f, 3);
        WRITE_REAL(f, 12, 5, set.P_FACTOR[j]);
        WRITE_BLANKS(f, 3);
        WRITE_REAL(f, 12, 5, set.Y_FACTOR[j]);
        END_LINE(f);
      }
    }
  }

  if (st.ctl.SOIL_MOVEMENT == 1) {
    const bool three_d = st.ctl.ANALYSIS_TYPE == 3;
    TABLE_HEADING(f, "J2", "  SOIL MOVEMENT DATA       ");
    if (three_d) {
      WRITE_F(f, "(/,10X,'POINT',11X,'       DEPTH',9X,'  MOVE Y-DIR',9X,'  MOVE Z-DIR')");
      WRITE_F(f, "(34X,'(',A2,')',17X,'(',A2,')',17X,'(',A2,')')", len, len, len);
    } else {
      WRITE_F(f, "(/,10X,'POINT',11X,'       DEPTH',9X,'  MOVE Y-DIR')");
      WRITE_F(f, "(34X,'(',A2,')',17X,'(',A2,')')", len, len);
    }
    for (int j = 1; j <= s.NSMPTS; ++j) {
      WRITE_F(f, "(10X,I5,11X$)", j);
      WRITE_REAL(f, 12, 5, s.SM_DEPTH[j]);
      WRITE_BLANKS(f, 9);
      WRITE_REAL(f, 12, 5, s.SM_MOVE_Y[j]);
      if (three_d) {
        WRITE_BLANKS(f, 9);
        WRITE_REAL(f, 12, 5, s.SM_MOVE_Z[j]);
      }
      END_LINE(f);
    }
  }

  return table_k(run);
}

}  // namespace kestra
