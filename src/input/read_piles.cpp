// Readers of the pile sections of the input data file: the pile cap
// (section 3), the arrangement of pile groups (7), the pile property sets
// (8), the cross sections (9) and the moment-curvature sets (15).
//
// Every count is checked against its table before anything is stored under
// it; a negative count is refused as well. References between the tables
// (groups to property sets and curve sets, pile sections to cross sections
// and moment-curvature sets) point forward in the file and are checked by the
// echo of the arrangement (input/piles_echo.cpp).
#include <algorithm>
#include <string>

#include "input/pile_data.h"
#include "input/sections.h"

namespace kestra {

void PILE_DATA_DEFAULTS(PILE_DATA& p) {
  p.P_FACTOR.fill(1.0);
  p.Y_FACTOR.fill(1.0);
  p.P_FACTOR_Y.fill(1.0);
  p.Y_FACTOR_Y.fill(1.0);
  p.P_FACTOR_Z.fill(1.0);
  p.Y_FACTOR_Z.fill(1.0);
}

namespace {

int fail(RUN& run, DECK& deck, int st) { return st == ST_OK ? ST_OK : DECK_FAIL(run, deck, st); }

// "input file "x.dat", line 12, section "...": " for messages of this file.
std::string where(const DECK& deck) {
  std::string w = deck.file_label + ", line " + std::to_string(deck.line_no);
  if (!deck.section.empty()) w += ", section \"" + deck.section + "\"";
  return w + ": ";
}

// Item names that carry the number of the item they belong to, e.g.
// "PILE_PROP of group 3". The texts live as long as the object.
struct NAMES {
  std::string text[10];
  const char* operator()(int i, const char* item, const std::string& owner) {
    text[i] = std::string(item) + " of " + owner;
    return text[i].c_str();
  }
};

// Clears the per-pile entries of group g (the multipliers keep their 1.0
// defaults unless the group's record gives them).
void clear_group(PILE_DATA& p, int g) {
  p.CONNECTY[g] = p.CONNECTZ[g] = p.NO_OF_PILE[g] = p.PILE_PROP[g] = 0;
  p.PY_SET[g] = p.LS_SET[g] = p.TR_SET[g] = p.RFL_SET[g] = 0;
  p.SPY[g] = p.SPZ[g] = p.ROW_SPACING[g] = p.AXIAL_FACTOR[g] = 0.0;
  p.PILE_X[g] = p.PILE_Y[g] = p.PILE_Z[g] = 0.0;
  p.ALPHA_DEG[g] = p.BETA_DEG[g] = p.GROUND[g] = 0.0;
  p.ALPHA[g] = p.BETA[g] = p.MULTIPLICITY[g] = 0.0;
}

int read_group_2d(RUN& run, DECK& deck, PILE_DATA& p, int g) {
  const std::string owner = "group " + std::to_string(g);
  NAMES n;
  int st = READ_RECORD(deck, {ITEM(p.CONNECTY[g], n(0, "CONNECT", owner)), ITEM(p.NO_OF_PILE[g], n(1, "NO_OF_PILE", owner)),
                              ITEM(p.PILE_PROP[g], n(2, "PILE_PROP", owner)), ITEM(p.PY_SET[g], n(3, "PY_SET", owner)),
                              ITEM(p.LS_SET[g], n(4, "LS_SET", owner)), ITEM(p.RFL_SET[g], n(5, "RFL_SET", owner))});
  if (st) return fail(run, deck, st);
  st = READ_RECORD(deck, {ITEM(p.SPY[g], n(0, "SPRING", owner)), ITEM(p.ROW_SPACING[g], n(1, "ROW_SPACING", owner)),
                          ITEM(p.P_FACTOR[g], n(2, "P_FACTOR", owner)), ITEM(p.Y_FACTOR[g], n(3, "Y_FACTOR", owner)),
                          ITEM(p.AXIAL_FACTOR[g], n(4, "AXIAL_FACTOR", owner))});
  if (st) return fail(run, deck, st);
  st = READ_RECORD(deck, {ITEM(p.PILE_X[g], n(0, "VERT", owner)), ITEM(p.PILE_Y[g], n(1, "HOR", owner)),
                          ITEM(p.ALPHA_DEG[g], n(2, "BATTER", owner)), ITEM(p.GROUND[g], n(3, "GROUND", owner))});
  return fail(run, deck, st);
}

int read_group_3d(RUN& run, DECK& deck, PILE_DATA& p, int g) {
  const std::string owner = "pile " + std::to_string(g);
  NAMES n;
  int unused = 0;
  int st = READ_RECORD(deck, {ITEM(p.CONNECTY[g], n(0, "CONNECTY", owner)), ITEM(p.CONNECTZ[g], n(1, "CONNECTZ", owner)),
                              ITEM(p.PILE_PROP[g], n(2, "PILE_PROP", owner)), ITEM(p.PY_SET[g], n(3, "PY_SET", owner)),
                              ITEM(p.LS_SET[g], n(4, "LS_SET", owner)), ITEM(p.TR_SET[g], n(5, "TR_SET", owner)),
                              ITEM(p.RFL_SET[g], n(6, "RFL_SET", owner)), ITEM(unused, n(7, "the eighth value", owner))});
  if (st) return fail(run, deck, st);
  st = READ_RECORD(deck, {ITEM(p.SPY[g], n(0, "SPY", owner)), ITEM(p.SPZ[g], n(1, "SPZ", owner)),
                          ITEM(p.P_FACTOR_Y[g], n(2, "P_FACTOR_Y", owner)), ITEM(p.Y_FACTOR_Y[g], n(3, "Y_FACTOR_Y", owner)),
                          ITEM(p.P_FACTOR_Z[g], n(4, "P_FACTOR_Z", owner)), ITEM(p.Y_FACTOR_Z[g], n(5, "Y_FACTOR_Z", owner)),
                          ITEM(p.AXIAL_FACTOR[g], n(6, "AXIAL_FACTOR", owner))});
  if (st) return fail(run, deck, st);
  st = READ_RECORD(deck, {ITEM(p.PILE_X[g], n(0, "CORX", owner)), ITEM(p.PILE_Y[g], n(1, "CORY", owner)),
                          ITEM(p.PILE_Z[g], n(2, "CORZ", owner)), ITEM(p.ALPHA_DEG[g], n(3, "ALPHA", owner)),
                          ITEM(p.BETA_DEG[g], n(4, "BETA", owner)), ITEM(p.GROUND[g], n(5, "GROUND", owner))});
  if (st) return fail(run, deck, st);
  p.NO_OF_PILE[g] = 1;
  return ST_OK;
}

}  // namespace

// Section 3: cap dimensions, then the embedded-cap model record
// (CAP_OPTION >= 2) and the flexible-cap record (FLEX_CAP > 0). A record
// that is absent leaves its values at 0.
int READ_PILE_CAP(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "PILE CAP");
  if (st) return st;
  PILE_DATA& p = run.store.piles;
  const CONTROL& c = run.store.ctl;
  p.CAP_LENGTH = p.CAP_WIDTH = p.CAP_THICKNESS = 0.0;
  st = READ_RECORD(deck, {ITEM(p.CAP_LENGTH, "CAP_LENGTH"), ITEM(p.CAP_WIDTH, "CAP_WIDTH"),
                          ITEM(p.CAP_THICKNESS, "CAP_THICKNESS")});
  if (st) return fail(run, deck, st);
  p.CAP_WIDTH_GIVEN = p.CAP_WIDTH;

  p.CAP_SPRINGS = p.CAP_MODEL = p.CAP_INCREMENTS = 0;
  p.K50 = p.F_ULT = p.Y_MAX = 0.0;
  if (c.CAP_OPTION >= 2) {
    st = READ_RECORD(deck, {ITEM(p.CAP_SPRINGS, "CAP_SPRINGS"), ITEM(p.CAP_MODEL, "CAP_MODEL"),
                            ITEM(p.CAP_INCREMENTS, "CAP_INCREMENTS"), ITEM(p.K50, "K50"), ITEM(p.F_ULT, "F_ULT"),
                            ITEM(p.Y_MAX, "Y_MAX")});
    if (st) return fail(run, deck, st);
  }

  p.SLAB_YC = p.SLAB_ZREF = p.SLAB_E = p.SLAB_NU = 0.0;
  p.SLAB_NY = p.SLAB_NZ = 0;
  if (c.FLEX_CAP > 0) {
    st = READ_RECORD(deck, {ITEM(p.SLAB_YC, "SLAB_YC"), ITEM(p.SLAB_ZREF, "SLAB_ZREF"), ITEM(p.SLAB_NY, "SLAB_NY"),
                            ITEM(p.SLAB_NZ, "SLAB_NZ"), ITEM(p.SLAB_E, "SLAB_E"), ITEM(p.SLAB_NU, "SLAB_NU")});
    if (st) return fail(run, deck, st);
  }
  return ST_OK;
}

// Section 7: NPILES, then three records per group in the form of the
// analysis type. AXIAL_FACTOR is always part of record 2.
int READ_ARRANGEMENT(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "ARRANGEMENT OF PILE GROUPS");
  if (st) return st;
  PILE_DATA& p = run.store.piles;
  int n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NPILES")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, "NPILES", n, MAX_PILES, false))) return st;
  p.NPILES = n;
  const bool three_d = run.store.ctl.ANALYSIS_TYPE == 3;
  for (int g = 1; g <= n; ++g) {
    clear_group(p, g);
    st = three_d ? read_group_3d(run, deck, p, g) : read_group_2d(run, deck, p, g);
    if (st) return st;
  }
  return ST_OK;
}

// Section 8: NPROP, then per property set the counts record, the pile record
// (INC, LENGTH, PILE_TYPE) and NSECT pile-section records.
int READ_PILE_PROPERTIES(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "PILE PROPERTIES");
  if (st) return st;
  PILE_DATA& p = run.store.piles;
  int n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NPROP")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, "NPROP", n, MAX_PROPERTIES, false))) return st;
  p.NPROP = n;
  NAMES nm;
  for (int i = 1; i <= n; ++i) {
    const std::string owner = "property set " + std::to_string(i);
    int unused = 0, nsect = 0;
    st = READ_RECORD(deck, {ITEM(unused, nm(0, "the first value", owner)), ITEM(nsect, nm(1, "NSECT", owner))});
    if (st) return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, nm(2, "NSECT", owner), nsect, MAX_SECTIONS, false))) return st;
    PILE_PROPERTY& pr = p.PROP[i];
    pr = PILE_PROPERTY{};
    pr.UNUSED = unused;
    pr.NSECT = nsect;
    int inc = 0;
    st = READ_RECORD(deck, {ITEM(inc, nm(0, "INC", owner)), ITEM(pr.LENGTH, nm(1, "LENGTH", owner)),
                            ITEM(pr.PILE_TYPE, nm(2, "PILE_TYPE", owner))});
    if (st) return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, nm(3, "INC", owner), inc, MAX_INCREMENTS, false))) return st;
    // The increment length LENGTH / INC divides the difference equations.
    if (inc < 1)
      return DECK_FAIL(run, deck, ST_BAD_PROPERTY,
                       where(deck) + "INC of " + owner + " is 0; a pile needs at least one increment");
    if (!(pr.LENGTH > 0.0))
      return DECK_FAIL(run, deck, ST_BAD_PROPERTY,
                       where(deck) + "LENGTH of " + owner + " is not positive; the pile has no length to divide");
    pr.INC = inc;
    for (int k = 1; k <= nsect; ++k) {
      PILE_SECTION& s = pr.SECT[k];
      const std::string sect = owner + ", pile section " + std::to_string(k);
      st = READ_RECORD(deck, {ITEM(s.SECT_FROM, nm(0, "SECT_FROM", sect)), ITEM(s.SECT_TO, nm(1, "SECT_TO", sect)),
                              ITEM(s.CROSS_SECT, nm(2, "CROSS_SECT", sect)), ITEM(s.E_MOD, nm(3, "E_MOD", sect)),
                              ITEM(s.SET_NLEI_Y, nm(4, "SET_NLEI_Y", sect)), ITEM(s.SET_NLEI_Z, nm(5, "SET_NLEI_Z", sect))});
      if (st) return fail(run, deck, st);
    }
  }
  return ST_OK;
}

// Section 9: NXSEC, then per cross section the identifier and type, the
// name, the top dimensions, the top properties with the tapered flag and,
// for a tapered section, the bottom dimensions and properties.
int READ_CROSS_SECTIONS(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "PILE CROSS SECTIONS");
  if (st) return st;
  PILE_DATA& p = run.store.piles;
  int n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NXSEC")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, "NXSEC", n, MAX_XSECTIONS, false))) return st;
  p.NXSEC = n;
  NAMES nm;
  for (int i = 1; i <= n; ++i) {
    const std::string owner = "cross section " + std::to_string(i);
    CROSS_SECTION& x = p.XSEC[i];
    x = CROSS_SECTION{};
    int first_id = 0;
    st = READ_RECORD(deck, {ITEM(first_id, nm(0, "the identifier", owner)), ITEM(x.XSEC_ID, nm(1, "the identifier", owner)),
                            ITEM(x.XSEC_TYPE, nm(2, "XSEC_TYPE", owner))});
    if (st) return fail(run, deck, st);
    std::fill(x.NAME, x.NAME + 80, ' ');
    if ((st = READ_RECORD(deck, {ITEM_TEXT(x.NAME, 80, nm(0, "the section name", owner))}))) return fail(run, deck, st);
    x.NAME[80] = '\0';
    if ((st = READ_REALS(deck, x.TOP.data(), 8, nm(0, "TOP_DIMENSIONS", owner)))) return fail(run, deck, st);
    double* t = x.TOP.data();
    st = READ_RECORD(deck, {ITEM(t[8], nm(0, "SHEAR_MODULUS", owner)), ITEM(t[9], nm(1, "AREA", owner)),
                            ITEM(t[10], nm(2, "IZ", owner)), ITEM(t[11], nm(3, "IY", owner)),
                            ITEM(t[12], nm(4, "the fifth property", owner)), ITEM(t[13], nm(5, "GJ", owner)),
                            ITEM(t[14], nm(6, "MN", owner)), ITEM(t[15], nm(7, "VN", owner)),
                            ITEM(t[16], nm(8, "the ninth property", owner)), ITEM(x.TAPERED, nm(9, "TAPERED", owner))});
    if (st) return fail(run, deck, st);
    x.TOP[XS_EXTRA_18] = x.TAPERED;
    if (x.TAPERED >= 1) {
      if ((st = READ_REALS(deck, x.BOT.data(), 8, nm(0, "BOTTOM_DIMENSIONS", owner)))) return fail(run, deck, st);
      if ((st = READ_REALS(deck, x.BOT.data() + 8, 10, nm(0, "BOTTOM_PROPERTIES", owner)))) return fail(run, deck, st);
    } else {
      x.BOT = x.TOP;
    }
  }
  return ST_OK;
}

// Section 15: NMCSETS, then per set the counts record and per curve the
// axial load, the point counts and the (moment, curvature) points.
int READ_MC_SETS(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "MOMENT CURVATURE SETS");
  if (st) return st;
  PILE_DATA& p = run.store.piles;
  int n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NMCSETS")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, "NMCSETS", n, MAX_MC_SETS, false))) return st;
  p.NMCSETS = n;
  NAMES nm;
  for (int s = 1; s <= n; ++s) {
    const std::string owner = "moment-curvature set " + std::to_string(s);
    int unused = 0, ncurves = 0;
    st = READ_RECORD(deck, {ITEM(unused, nm(0, "the first value", owner)), ITEM(ncurves, nm(1, "NMCURVES", owner))});
    if (st) return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, nm(2, "NMCURVES", owner), ncurves, MAX_MC_CURVES, false))) return st;
    MC_SET& set = p.MC[s];
    set.UNUSED = unused;
    set.NMCURVES = ncurves;
    for (int j = 1; j <= ncurves; ++j) {
      const std::string curve = owner + ", curve " + std::to_string(j);
      MC_CURVE& cv = set.CURVE[j];
      cv.AXIAL_LOAD = 0.0;
      if ((st = READ_RECORD(deck, {ITEM(cv.AXIAL_LOAD, nm(0, "AXIAL_LOAD", curve))}))) return fail(run, deck, st);
      int first = 0, npts = 0;
      st = READ_RECORD(deck, {ITEM(first, nm(0, "the number of points", curve)), ITEM(npts, nm(1, "the number of points", curve))});
      if (st) return fail(run, deck, st);
      if ((st = CHECK_COUNT(run, deck, nm(2, "the number of points", curve), npts, MAX_MC_POINTS, false))) return st;
      cv.NPOINTS = npts;
      for (int i = 1; i <= npts; ++i) {
        cv.MOMENT[i] = cv.CURVATURE[i] = 0.0;
        const std::string pt = curve + ", point " + std::to_string(i);
        st = READ_RECORD(deck, {ITEM(cv.MOMENT[i], nm(0, "MOMENT", pt)), ITEM(cv.CURVATURE[i], nm(1, "CURVATURE", pt))});
        if (st) return fail(run, deck, st);
      }
    }
  }
  return ST_OK;
}

}  // namespace kestra
