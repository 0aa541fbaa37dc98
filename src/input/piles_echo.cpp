// Echo of the pile sections in the report (Tables B, D, E and J) and the
// model arrays derived on the way: the per-pile arrays of the arrangement
// with the pile cap's entry, the per-section copies of the cross sections,
// the smallest number of increments. The echo of the arrangement first
// checks every reference between the tables, since the referenced sets are
// read after the arrangement.
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "input/sections.h"

namespace kestra {

namespace {

std::string_view len2(const LABELS& l) { return std::string_view(l.LENGTH_LABEL, 2); }
std::string_view len3(const LABELS& l) { return std::string_view(l.LENGTH_LABEL3, 3); }
std::string_view force3(const LABELS& l) { return std::string_view(l.FORCE_LABEL, 3); }

const char* connection_label(int code) {
  switch (code) {
    case 1: return "PIN";
    case 2: return "FIX";
    case 3: return "RES";
    default: return "   ";
  }
}

int reference_fault(RUN& run, const std::string& text) {
  return FATAL(run, ST_DECK_REFERENCE, "INPUT DATA ERROR: " + text);
}

std::string count_text(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A group's reference to a set of a later section. 'available' is the
// number of sets read for this run.
int check_group_set(RUN& run, const std::string& group, const char* item, int number, const char* set_name,
                    int available, const std::string& given) {
  if (number <= available) return ST_OK;
  return reference_fault(run, "ARRANGEMENT OF PILE GROUPS: " + group + " refers to " + set_name + " " +
                                  std::to_string(number) + " (" + item + "), which does not exist (" + given + ")");
}

// A pile section's reference to a moment-curvature set, which must hold at
// least one curve of at least two points for the secant rigidity.
int check_mc_reference(RUN& run, const std::string& sect, const char* item, int set) {
  const PILE_DATA& p = run.store.piles;
  const std::string head = "PILE PROPERTIES: " + sect + " refers to moment-curvature set " + std::to_string(set) +
                           " (" + item + ")";
  if (set < 1 || set > p.NMCSETS)
    return reference_fault(run, head + ", which does not exist (" +
                                    count_text(p.NMCSETS, "moment-curvature set", "moment-curvature sets") + " given)");
  const MC_SET& s = p.MC[set];
  if (s.NMCURVES < 1) return reference_fault(run, head + ", which has no curves");
  for (int j = 1; j <= s.NMCURVES; ++j)
    if (s.CURVE[j].NPOINTS < 2)
      return reference_fault(run, head + ", whose curve " + std::to_string(j) + " has " +
                                      count_text(s.CURVE[j].NPOINTS, "point", "points") + " (at least 2 are needed)");
  return ST_OK;
}

// Every reference in force between the pile tables and to the curve and
// factor sets of the soil sections. A set number of 0 or less means "none"
// where the analysis allows it (user curves, depth factors).
int check_references(RUN& run) {
  const STORE& s = run.store;
  const CONTROL& c = s.ctl;
  const PILE_DATA& p = s.piles;
  const SOIL_DATA& soil = s.soil;
  const bool three_d = c.ANALYSIS_TYPE == 3;
  int st;
  for (int g = 1; g <= p.NPILES; ++g) {
    const std::string group = (three_d ? "pile " : "group ") + std::to_string(g);
    if (p.PILE_PROP[g] < 1 || p.PILE_PROP[g] > p.NPROP)
      return reference_fault(run, "ARRANGEMENT OF PILE GROUPS: " + group + " refers to pile property set " +
                                      std::to_string(p.PILE_PROP[g]) + " (PILE_PROP), which does not exist (" +
                                      count_text(p.NPROP, "property set", "property sets") + " given)");
    if (c.USER_PY >= 1 && p.PY_SET[g] >= 1) {
      const int n = c.USER_PY == 1 ? soil.NPYSETS : 0;
      const std::string given = c.USER_PY == 1 ? count_text(n, "user p-y curve set", "user p-y curve sets") + " given"
                                               : "USER_PY is " + std::to_string(c.USER_PY) + ": no user p-y curves are read";
      if ((st = check_group_set(run, group, "PY_SET", p.PY_SET[g], "p-y curve set", n, given))) return st;
    }
    if (c.USER_LS == 1 && p.LS_SET[g] >= 1 &&
        (st = check_group_set(run, group, "LS_SET", p.LS_SET[g], "load-settlement curve", soil.NLSCURVES,
                              count_text(soil.NLSCURVES, "user load-settlement curve", "user load-settlement curves") +
                                  " given")))
      return st;
    if (three_d && c.USER_TR == 1 && p.TR_SET[g] >= 1 &&
        (st = check_group_set(run, group, "TR_SET", p.TR_SET[g], "torque-rotation curve", soil.NTRCURVES,
                              count_text(soil.NTRCURVES, "user torque-rotation curve", "user torque-rotation curves") +
                                  " given")))
      return st;
    if (c.DEPTH_FACTORS == 1 && p.RFL_SET[g] >= 1 &&
        (st = check_group_set(run, group, "RFL_SET", p.RFL_SET[g], "reduction-factor set", soil.NRFSETS,
                              count_text(soil.NRFSETS, "reduction-factor set", "reduction-factor sets") + " given")))
      return st;
  }
  for (int i = 1; i <= p.NPROP; ++i) {
    const PILE_PROPERTY& pr = p.PROP[i];
    for (int k = 1; k <= pr.NSECT; ++k) {
      const PILE_SECTION& sc = pr.SECT[k];
      const std::string sect = "property set " + std::to_string(i) + ", pile section " + std::to_string(k);
      if (sc.CROSS_SECT < 1 || sc.CROSS_SECT > p.NXSEC)
        return reference_fault(run, "PILE PROPERTIES: " + sect + " refers to cross section " +
                                        std::to_string(sc.CROSS_SECT) + " (CROSS_SECT), which does not exist (" +
                                        count_text(p.NXSEC, "cross section", "cross sections") + " given)");
      if (c.NLEI_OPTION == 1) {
        if ((st = check_mc_reference(run, sect, "SET_NLEI_Y", sc.SET_NLEI_Y))) return st;
        if (three_d && (st = check_mc_reference(run, sect, "SET_NLEI_Z", sc.SET_NLEI_Z))) return st;
      }
    }
  }
  return ST_OK;
}

// The per-pile arrays of the analysis: angles in radians, multiplicities,
// the plane's multipliers in 3D, and the pile cap's entry NPILES + 1.
void derive_pile_arrays(RUN& run) {
  STORE& s = run.store;
  PILE_DATA& p = s.piles;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  s.rw.PI = 2.0 * std::asin(1.0);
  const double to_rad = s.rw.PI / 180.0;
  double x_min = 0.0;
  for (int g = 1; g <= p.NPILES; ++g) {
    p.ALPHA[g] = p.ALPHA_DEG[g] * to_rad;
    if (three_d) {
      p.BETA[g] = p.BETA_DEG[g] * to_rad;
      p.MULTIPLICITY[g] = 1.0;
      p.P_FACTOR[g] = p.P_FACTOR_Y[g];
      p.Y_FACTOR[g] = p.Y_FACTOR_Y[g];
    } else {
      p.BETA[g] = 0.0;
      p.PILE_Z[g] = 0.0;
      p.MULTIPLICITY[g] = p.NO_OF_PILE[g];
    }
    x_min = g == 1 ? p.PILE_X[g] : std::min(x_min, p.PILE_X[g]);
  }
  // The pile cap as one more, vertical member: its head at the cap top (the
  // highest pile head less the cap thickness), its ground value from the top
  // of the first soil layer.
  const int cap = p.NPILES + 1;
  p.CONNECTY[cap] = p.CONNECTZ[cap] = p.PILE_PROP[cap] = 0;
  p.PY_SET[cap] = p.LS_SET[cap] = p.TR_SET[cap] = p.RFL_SET[cap] = 0;
  p.NO_OF_PILE[cap] = 1;
  p.MULTIPLICITY[cap] = 1.0;
  p.SPY[cap] = p.SPZ[cap] = p.ROW_SPACING[cap] = 0.0;
  p.AXIAL_FACTOR[cap] = 1.0;
  p.PILE_X[cap] = x_min - p.CAP_THICKNESS;
  p.PILE_Y[cap] = p.PILE_Z[cap] = 0.0;
  p.ALPHA_DEG[cap] = p.ALPHA[cap] = 0.0;
  // A vertical 3D member has beta = 90 degrees (local axes = global axes).
  p.BETA_DEG[cap] = three_d ? 90.0 : 0.0;
  p.BETA[cap] = three_d ? s.rw.PI / 2.0 : 0.0;
  const double ground_top = s.soil.NLAYERS >= 1 ? s.soil.LAYER[1].LAYER_TOP : 0.0;
  p.GROUND[cap] = ground_top - p.PILE_X[cap];
  p.P_FACTOR[cap] = p.Y_FACTOR[cap] = p.P_FACTOR_Y[cap] = 1.0;
  p.Y_FACTOR_Y[cap] = p.P_FACTOR_Z[cap] = p.Y_FACTOR_Z[cap] = 1.0;
  // In 3D the passive resistance of the cap acts over its plan diagonal.
  if (three_d) p.CAP_WIDTH = std::sqrt(p.CAP_LENGTH * p.CAP_LENGTH + p.CAP_WIDTH_GIVEN * p.CAP_WIDTH_GIVEN);
}

void write_arrangement_2d(RUN& run) {
  FILE* f = run.files[F_REPORT];
  const PILE_DATA& p = run.store.piles;
  const LABELS& l = run.store.labels;
  const bool factor = run.store.ctl.AXIAL_FACTOR_COLUMN != 0;
  if (factor)
    WRITE_F(f, "(/,5X,'GROUP   CONNECT   NO OF PILE   PILE PROP    P-Y CURVE    L-S CURVE    R-F-L SET',"
               "'   FACT. AXIAL LOAD')");
  else
    WRITE_F(f, "(/,5X,'GROUP   CONNECT   NO OF PILE   PILE PROP    P-Y CURVE    L-S CURVE    R-F-L SET')");
  for (int g = 1; g <= p.NPILES; ++g) {
    if (factor)
      WRITE_F(f, "(5X,I5,7X,A3,5X,I5,8X,I5,7X,I5,8X,I5,8X,I5,6X,F10.4)", g, connection_label(p.CONNECTY[g]),
              p.NO_OF_PILE[g], p.PILE_PROP[g], p.PY_SET[g], p.LS_SET[g], p.RFL_SET[g], p.AXIAL_FACTOR[g]);
    else
      WRITE_F(f, "(5X,I5,7X,A3,5X,I5,8X,I5,7X,I5,8X,I5,8X,I5)", g, connection_label(p.CONNECTY[g]), p.NO_OF_PILE[g],
              p.PILE_PROP[g], p.PY_SET[g], p.LS_SET[g], p.RFL_SET[g]);
  }
  WRITE_F(f,
          "(/,5X,'GROUP',14X,'VERT,',A2,7X,'HOR,',A2,2X,'SLOPE,',A2,'/',A2,4X,'GROUND,',A2,1X,'SPRING,',A3,'-',A2)",
          len2(l), len2(l), len2(l), len2(l), len2(l), force3(l), len2(l));
  for (int g = 1; g <= p.NPILES; ++g) {
    WRITE_BLANKS(f, 5);
    WRITE_INT(f, 5, g);
    WRITE_BLANKS(f, 8);
    WRITE_REAL(f, 13, 5, p.PILE_X[g]);
    WRITE_REAL(f, 13, 5, p.PILE_Y[g]);
    WRITE_REAL(f, 13, 5, std::tan(p.ALPHA[g]));
    WRITE_REAL(f, 13, 5, p.GROUND[g]);
    WRITE_REAL(f, 13, 5, p.SPY[g]);
    END_LINE(f);
  }
}

void write_arrangement_3d(RUN& run) {
  FILE* f = run.files[F_REPORT];
  const PILE_DATA& p = run.store.piles;
  const LABELS& l = run.store.labels;
  const bool factor = run.store.ctl.AXIAL_FACTOR_COLUMN != 0;
  if (factor)
    WRITE_F(f, "(/,5X,'  GROUP  CONNECTY   CONNECTZ   PILE PROP  P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET ',"
               "' FACT.AX.LD')");
  else
    WRITE_F(f, "(/,5X,'  GROUP  CONNECTY   CONNECTZ   PILE PROP  P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET ')");
  for (int g = 1; g <= p.NPILES; ++g) {
    if (factor)
      WRITE_F(f, "(5X,I7,7X,A3,8X,A3,7X,I5,6X,I5,6X,I5,6X,I5,6X,I5,2X,F10.4)", g, connection_label(p.CONNECTY[g]),
              connection_label(p.CONNECTZ[g]), p.PILE_PROP[g], p.PY_SET[g], p.LS_SET[g], p.TR_SET[g], p.RFL_SET[g],
              p.AXIAL_FACTOR[g]);
    else
      WRITE_F(f, "(5X,I7,7X,A3,8X,A3,7X,I5,6X,I5,6X,I5,6X,I5,6X,I5)", g, connection_label(p.CONNECTY[g]),
              connection_label(p.CONNECTZ[g]), p.PILE_PROP[g], p.PY_SET[g], p.LS_SET[g], p.TR_SET[g], p.RFL_SET[g]);
  }
  WRITE_F(f,
          "(/,3X,'GROUP',5X,'CorX,',A2,4X,'CorY,',A2,4X,'CorZ,',A2,1X,' ALPHA,','DEG',1X,'  BETA,','DEG',2X,"
          "'GROUND,',A2,1X,'SPy,',A3,'-',A2,1X,'SPz,',A3,'-',A2)",
          len2(l), len2(l), len2(l), len2(l), force3(l), len2(l), force3(l), len2(l));
  for (int g = 1; g <= p.NPILES; ++g) {
    const double v[8] = {p.PILE_X[g], p.PILE_Y[g], p.PILE_Z[g], p.ALPHA_DEG[g],
                         p.BETA_DEG[g], p.GROUND[g], p.SPY[g], p.SPZ[g]};
    WRITE_BLANKS(f, 4);
    WRITE_INT(f, 4, g);
    WRITE_BLANKS(f, 2);
    for (int i = 0; i < 8; ++i) {
      if (i > 0) WRITE_BLANKS(f, 1);
      WRITE_REAL(f, 10, 3, v[i]);
    }
    END_LINE(f);
  }
}

// Table E, cross sections: the lines of the dimensions that the type uses.
struct DIMENSION_LINE {
  const char* label;
  int value;
};

void write_cross_section(RUN& run, int s) {
  FILE* f = run.files[F_REPORT];
  const STORE& st = run.store;
  const LABELS& l = st.labels;
  const CROSS_SECTION& x = st.piles.XSEC[s];
  const bool tapered = x.TAPERED >= 1;
  WRITE_F(f, "(/,5X,' CROSS SECTION       : ',I5)", x.XSEC_ID);
  WRITE_F(f, "(5X,' SECTION NAME        : ',A32)", std::string_view(x.NAME, 32));

  static const DIMENSION_LINE general[] = {{" EQUIVALENT DIAMETER : ", XS_DIAMETER}};
  static const DIMENSION_LINE circular[] = {{" EXTERNAL DIAMETER   : ", XS_DIAMETER},
                                            {" INTERNAL DIAMETER   : ", XS_INT_DIAMETER}};
  static const DIMENSION_LINE rectangular[] = {{" EQUIVALENT DIAMETER : ", XS_DIAMETER},
                                               {" EXTERNAL WIDTH      : ", XS_EXT_WIDTH},
                                               {" EXTERNAL DEPTH      : ", XS_EXT_DEPTH},
                                               {" INTERNAL WIDTH      : ", XS_INT_WIDTH},
                                               {" INTERNAL DEPTH      : ", XS_INT_DEPTH}};
  static const DIMENSION_LINE flanged[] = {{" EQUIVALENT DIAMETER : ", XS_DIAMETER},
                                           {" EXTERNAL WIDTH      : ", XS_EXT_WIDTH},
                                           {" EXTERNAL DEPTH      : ", XS_EXT_DEPTH},
                                           {" FLANGE THICKNESS    : ", XS_FLANGE},
                                           {" WEB THICKNESS       : ", XS_WEB}};
  const DIMENSION_LINE* lines = flanged;
  int nlines = 5;
  const char* type_name = " H SECTION        ";
  switch (x.XSEC_TYPE) {
    case XT_GENERAL: lines = general, nlines = 1, type_name = " GENERAL SECTION  "; break;
    case XT_CIRCULAR_PIPE: lines = circular, nlines = 2, type_name = " CIRCULAR PIPE    "; break;
    case XT_RECTANGULAR_PIPE: lines = rectangular, nlines = 5, type_name = " RECTANGULAR PIPE "; break;
    case XT_I_SECTION: type_name = " I SECTION        "; break;
    default: break;
  }
  if (tapered)
    WRITE_F(f, "(5X,' TAPERED SECTION       ',10X,'TOP',7X,'BOTTOM')");
  else
    WRITE_F(f, "(5X,' CROSS SECTION TYPE  :',A18)", type_name);
  auto values = [&](int v) {
    WRITE_REAL(f, 13, 5, x.TOP[v]);
    if (tapered) WRITE_REAL(f, 13, 5, x.BOT[v]);
  };
  for (int i = 0; i < nlines; ++i) {
    WRITE_F(f, "(5X,A,$)", lines[i].label);
    values(lines[i].value);
    WRITE_TEXT3(f, len3(l));
    END_LINE(f);
  }
  if (st.ctl.ANALYSIS_TYPE == 3 && x.XSEC_TYPE != XT_GENERAL) {
    WRITE_F(f, "(5X,' SHEAR MODULUS       : ',$)");
    values(XS_SHEAR_MODULUS);
    WRITE_F(f, "(1X,A3,'/',A2,'**2',$)", force3(l), len2(l));
    END_LINE(f);
  }
}

void write_section_properties(RUN& run) {
  FILE* f = run.files[F_REPORT];
  const PILE_DATA& p = run.store.piles;
  const LABELS& l = run.store.labels;
  const bool three_d = run.store.ctl.ANALYSIS_TYPE == 3;
  WRITE_F(f, "(/,5X,'* PILE CROSS SECTIONS PROPERTIES *')");
  if (three_d)
    WRITE_F(f,
            "(/,6X,'SECT',10X,'DIAM,',A2,2X,'AREA,',A2,'**2',4X,'Iz,',A2,'**4',4X,'Iy,',A2,'**4',1X,"
            "'GJ,',A3,'-',A2,'**2',2X,'Mn,',A3,'-',A2,6X,'Vn,',A3)",
            len2(l), len2(l), len2(l), len2(l), force3(l), len2(l), force3(l), len2(l), force3(l));
  else
    WRITE_F(f, "(/,6X,'SECT',12X,'DIAM,',A2,4X,'AREA,',A2,'**2',7X,'I,',A2,'**4',5X,'Mn,',A3,'-',A2,8X,'Vn,',A3)",
            len2(l), len2(l), len2(l), force3(l), len2(l), force3(l));
  auto row = [&](const std::array<double, XSEC_VALUES>& v) {
    if (three_d) {
      for (int k : {XS_DIAMETER, XS_AREA, XS_IZ, XS_IY, XS_GJ, XS_MN, XS_VN}) WRITE_REAL(f, 12, 4, v[k]);
    } else {
      for (int k : {XS_DIAMETER, XS_AREA, XS_IZ, XS_MN, XS_VN}) WRITE_REAL(f, 14, 5, v[k]);
    }
    END_LINE(f);
  };
  for (int s = 1; s <= p.NXSEC; ++s) {
    const CROSS_SECTION& x = p.XSEC[s];
    WRITE_BLANKS(f, 5);
    WRITE_INT(f, 5, s);
    WRITE_BLANKS(f, 1);
    if (x.TAPERED >= 1) {
      WRITE_BLANKS(f, 1);
      WRITE_TEXT3(f, "TAP");
      row(x.TOP);
      WRITE_BLANKS(f, 12);
      WRITE_TEXT3(f, "BOT");
      row(x.BOT);
    } else {
      WRITE_BLANKS(f, 4);
      row(x.TOP);
    }
  }
}

}  // namespace

// Table B: the pile cap options.
int ECHO_TABLE_B(RUN& run) {
  FILE* f = run.files[F_REPORT];
  const PILE_DATA& p = run.store.piles;
  const int option = run.store.ctl.CAP_OPTION;
  const LABELS& l = run.store.labels;
  auto not_considered = [&] {
    WRITE_F(f, "(/,5X,'* PILE CAP DIMENSIONS ARE NOT CONSIDERED')");
    WRITE_F(f, "(5X,'  FOR THE PILE GROUP ANALYSIS ')");
  };
  if (!(option > 0 || p.CAP_LENGTH + p.CAP_WIDTH + p.CAP_THICKNESS > 1.0E-10)) {
    not_considered();
    return ST_OK;
  }
  TABLE_HEADING(f, "B", "  PILE CAP OPTIONS");
  WRITE_F(f, "(/,5X,'LENGTH,YY    ( ',A2,' ) = ',1PG12.4)", len2(l), p.CAP_LENGTH);
  WRITE_F(f, "(5X,'WIDTH, ZZ    ( ',A2,' ) = ',1PG12.4)", len2(l), p.CAP_WIDTH);
  WRITE_F(f, "(5X,'THICKNESS,XX ( ',A2,' ) = ',1PG12.4)", len2(l), p.CAP_THICKNESS);
  if (option < 1) {
    not_considered();
    return ST_OK;
  }
  WRITE_F(f, "(/,5X,'* PILE CAP IS EMBEDDED AND PASSIVE EARTH')");
  WRITE_F(f, "(5X,'  RESISTANCE IN FRONT OF PILE CAP WILL BE CONSIDERED')");
  if (option != 2) return ST_OK;
  if (p.CAP_SPRINGS == 0) {
    WRITE_F(f, "(/,5X,'- USING EQUIVALENT LATERAL LOAD')");
  } else {
    WRITE_F(f, "(/,5X,'- USING EQUIVALENT LATERAL SPRINGS')");
    WRITE_F(f, "(5X,'  INCREMENTS = ',I5)", p.CAP_INCREMENTS);
  }
  if (p.CAP_MODEL == 0) {
    WRITE_F(f, "(5X,'- USE SOIL MODEL FROM SOIL DATA')");
  } else if (p.CAP_MODEL == 1) {
    WRITE_F(f, "(5X,'- USE FHD MODEL BASED ON SOIL DATA')");
  } else {
    WRITE_F(f, "(5X,'- USE FHD MODEL, PARAMETERS:      ')");
    WRITE_F(f, "(5X,'  K50    (',A3,'/',A2,'/',A2,') = ',1PG12.4)", force3(l), len2(l), len2(l), p.K50);
    WRITE_F(f, "(5X,'  F ULT  (',A3,'/',A2,')    = ',1PG12.4)", force3(l), len2(l), p.F_ULT);
    WRITE_F(f, "(5X,'  Y MAX  (',A2,')        = ',1PG12.4)", len2(l), p.Y_MAX);
  }
  return ST_OK;
}

// Table D: checks the references of the pile tables, derives the per-pile
// arrays (and replaces pi by its double value) and writes the arrangement.
int ECHO_TABLE_D(RUN& run) {
  int st = check_references(run);
  if (st) return st;
  derive_pile_arrays(run);
  TABLE_HEADING(run.files[F_REPORT], "D", "   ARRANGEMENT OF PILE GROUPS");
  if (run.store.ctl.ANALYSIS_TYPE == 3)
    write_arrangement_3d(run);
  else
    write_arrangement_2d(run);
  return ST_OK;
}

// Table E: the property sets, their pile sections and the cross sections;
// copies each pile section's cross-section values and finds the smallest INC.
int ECHO_TABLE_E(RUN& run) {
  FILE* f = run.files[F_REPORT];
  STORE& s = run.store;
  PILE_DATA& p = s.piles;
  const LABELS& l = s.labels;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const bool nlei = s.ctl.NLEI_OPTION == 1;

  p.INC_MIN = 0;
  for (int i = 1; i <= p.NPROP; ++i) {
    PILE_PROPERTY& pr = p.PROP[i];
    p.INC_MIN = i == 1 ? pr.INC : std::min(p.INC_MIN, pr.INC);
    for (int k = 1; k <= pr.NSECT; ++k) {
      PILE_SECTION& sc = pr.SECT[k];
      if (sc.CROSS_SECT >= 1 && sc.CROSS_SECT <= p.NXSEC) {
        const CROSS_SECTION& x = p.XSEC[sc.CROSS_SECT];
        sc.XSEC_TYPE = x.XSEC_TYPE;
        sc.TOP = x.TOP;
        sc.BOT = x.BOT;
      } else {
        sc.XSEC_TYPE = 0;
        sc.TOP.fill(0.0);
        sc.BOT.fill(0.0);
      }
    }
  }

  TABLE_HEADING(f, "E", "   PILE GEOMETRY AND PROPERTIES ");
  WRITE_F(f, "(/,A)", "              PILE TYPE = 1 - DRIVEN PILE");
  WRITE_F(f, "(A)", "                        = 2 - DRILLED SHAFT");
  WRITE_F(f, "(/,6X,'PROP  ',' SECTS ','  INC  ','   PILE TYPE',7X,'LENGTH,',A3)", len3(l));
  for (int i = 1; i <= p.NPROP; ++i) {
    const PILE_PROPERTY& pr = p.PROP[i];
    WRITE_BLANKS(f, 5);
    WRITE_INT(f, 5, i);
    WRITE_INT(f, 7, pr.NSECT);
    WRITE_INT(f, 8, pr.INC);
    WRITE_INT(f, 11, pr.PILE_TYPE);
    WRITE_BLANKS(f, 3);
    WRITE_REAL(f, 16, 4, pr.LENGTH);
    END_LINE(f);
  }

  WRITE_F(f, "(/,5X,'* PILE SECTIONS *')");
  const char* sections_heading =
      "(/,6X,'PROP',4X,'SECT',8X,'FROM,',A2,8X,'TO,',A2,2X,'CROSS SECT',4X,'    E,',A3,'/',A2,'**2',$)";
  WRITE_F(f, sections_heading, len2(l), len2(l), force3(l), len2(l));
  if (nlei && three_d)
    WRITE_F(f, "(3X,'SET NLEIy',3X,'SET NLEIz')");
  else if (nlei)
    WRITE_F(f, "(4X,'SET_NLEI')");
  else
    WRITE_F(f, "()");
  for (int i = 1; i <= p.NPROP; ++i) {
    const PILE_PROPERTY& pr = p.PROP[i];
    for (int k = 1; k <= pr.NSECT; ++k) {
      const PILE_SECTION& sc = pr.SECT[k];
      WRITE_BLANKS(f, 5);
      WRITE_INT(f, 5, i);
      WRITE_INT(f, 8, k);
      WRITE_BLANKS(f, 1);
      WRITE_REAL(f, 14, 5, sc.SECT_FROM);
      WRITE_REAL(f, 15, 5, sc.SECT_TO);
      WRITE_INT(f, 8, sc.CROSS_SECT);
      WRITE_BLANKS(f, 6);
      WRITE_REAL(f, 15, 5, sc.E_MOD);
      if (nlei) {
        WRITE_INT(f, 12, sc.SET_NLEI_Y);
        if (three_d) WRITE_INT(f, 12, sc.SET_NLEI_Z);
      }
      END_LINE(f);
    }
  }

  WRITE_F(f, "(/,5X,'* PILE CROSS SECTIONS *')");
  for (int x = 1; x <= p.NXSEC; ++x) write_cross_section(run, x);
  write_section_properties(run);
  return ST_OK;
}

// Table J: the moment-curvature sets (NLEI_OPTION 1 and at least one set).
int ECHO_TABLE_J(RUN& run) {
  const STORE& s = run.store;
  const PILE_DATA& p = s.piles;
  if (s.ctl.NLEI_OPTION != 1 || p.NMCSETS <= 0) return ST_OK;
  FILE* f = run.files[F_REPORT];
  const LABELS& l = s.labels;
  TABLE_HEADING(f, "J", "   MOMENT CURVATURE SETS    ");
  WRITE_F(f, "(/,5X,'  USER DEFINED MOMENT CURVATURE')");
  WRITE_F(f, "(/,5X,'NUM OF SETS :',I3)", p.NMCSETS);
  for (int m = 1; m <= p.NMCSETS; ++m) {
    const MC_SET& set = p.MC[m];
    WRITE_F(f, "(/,5X,'CURVE SET',I3,5X,'NUM OF CURVES',I3)", m, set.NMCURVES);
    for (int j = 1; j <= set.NMCURVES; ++j) {
      const MC_CURVE& cv = set.CURVE[j];
      WRITE_F(f, "(/,5X,'CURVE',I3,'        AXIAL LOAD ',E10.3,1X,A3)", j, cv.AXIAL_LOAD, force3(l));
      WRITE_F(f, "(/,5X,'POINT',4X,'MOMENT,',A3,'-',A2,1X,'CURVATURE,','RADIAN/',A2)", force3(l), len2(l), len2(l));
      for (int i = 1; i <= cv.NPOINTS; ++i) {
        WRITE_BLANKS(f, 5);
        WRITE_INT(f, 5, i);
        WRITE_BLANKS(f, 5);
        WRITE_REAL(f, 12, 5, cv.MOMENT[i]);
        WRITE_BLANKS(f, 8);
        WRITE_REAL(f, 12, 5, cv.CURVATURE[i]);
        END_LINE(f);
      }
    }
  }
  return ST_OK;
}

}  // namespace kestra
