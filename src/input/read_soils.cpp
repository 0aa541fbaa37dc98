// Soil input: the readers of the soil layers, the p-y curves to print, the
// user p-y, load-settlement and torque-rotation curves, the reduction
// factors along depth and the soil movement points, and their echo (Tables
// F to J2 and K). The soil profile is derived when the layers are echoed.
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

// --- Pile arrangement as the soil sections see it (input/pile_data.h).

int group_count(const STORE& s) { return s.piles.NPILES; }
int group_py_set(const STORE& s, int g) { return s.piles.PY_SET[g]; }
int group_ls_set(const STORE& s, int g) { return s.piles.LS_SET[g]; }
int group_tr_set(const STORE& s, int g) { return s.piles.TR_SET[g]; }
int group_rfl_set(const STORE& s, int g) { return s.piles.RFL_SET[g]; }

// --- Deck helpers.

int fail(RUN& run, DECK& deck, int st) { return st == ST_OK ? ST_OK : DECK_FAIL(run, deck, st); }

std::string where(const DECK& deck) {
  std::string w = deck.file_label + ", line " + std::to_string(deck.line_no);
  if (!deck.section.empty()) w += ", section \"" + deck.section + "\"";
  return w;
}

// Reads one count record and checks it against its limit; a negative count
// is refused as well (every count here sizes a list).
int read_count(RUN& run, DECK& deck, const char* name, int limit, int& n) {
  int v = 0;
  if (const int st = READ_RECORD(deck, {ITEM(v, name)})) return fail(run, deck, st);
  if (const int st = CHECK_COUNT(run, deck, name, v, limit, false)) return st;
  n = v;
  return ST_OK;
}

// A group's reference to a set of a section that holds 'count' sets.
int check_set_reference(RUN& run, DECK& deck, int group, const char* item, int set, int count,
                        const char* what) {
  if (set >= 1 && set <= count) return ST_OK;
  return DECK_FAIL(run, deck, ST_DECK_REFERENCE,
                   where(deck) + ": pile group " + std::to_string(group) + " refers to " + item + " " +
                       std::to_string(set) + ", but " + std::to_string(count) + " " + what + " are given");
}

}  // namespace

void SOIL_MOVEMENT_RESET(RUN& run) { run.store.soil.NSMPTS = 0; }

// --- Section 10: soil layers.
int READ_SOIL_LAYERS(RUN& run, DECK& deck) {
  SOIL_DATA& s = run.store.soil;
  int st = READ_HEADER(run, deck, "SOIL LAYERS");
  if (st) return st;
  int n = 0;
  if ((st = read_count(run, deck, "NLAYERS", MAX_LAYERS, n))) return st;
  s.NLAYERS = n;
  for (int i = 1; i <= n; ++i) {
    SOIL_LAYER& L = s.LAYER[i];
    if ((st = READ_RECORD(deck, {ITEM(L.UNUSED, "layer value 1"), ITEM(L.SOIL_MODEL, "SOIL_MODEL")})))
      return fail(run, deck, st);
    if ((st = READ_RECORD(deck, {ITEM(L.LAYER_TOP, "LAYER_TOP"), ITEM(L.LAYER_BOTTOM, "LAYER_BOTTOM")})))
      return fail(run, deck, st);
    int rows = 0, props = 0;
    if ((st = READ_RECORD(deck, {ITEM(rows, "number of property rows"), ITEM(props, "properties per row")})))
      return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, "number of property rows", rows, 2, false))) return st;
    if ((st = CHECK_COUNT(run, deck, "properties per row", props, SOIL_PROPERTIES, false))) return st;
    L.NROWS = rows;
    L.NPROPS = props;
    for (int r = 0; r < rows && props > 0; ++r)
      if ((st = READ_REALS(deck, L.PROPS[r], props, r == 0 ? "TOP_PROPERTIES" : "BOTTOM_PROPERTIES")))
        return fail(run, deck, st);
  }
  return ST_OK;
}

// --- Section 11: p-y curves to print.
int READ_PY_REQUESTS(RUN& run, DECK& deck) {
  SOIL_DATA& s = run.store.soil;
  int st = READ_HEADER(run, deck, "P-Y CURVES TO PRINT");
  if (st) return st;
  int n = 0;
  if ((st = read_count(run, deck, "NPYPRINT", MAX_PY_PRINT, n))) return st;
  s.NPYPRINT = n;
  const int ngroups = group_count(run.store);
  for (int i = 1; i <= n; ++i) {
    PY_REQUEST& r = s.PY_PRINT[i];
    int group = 0;
    double depth = 0.0;
    if ((st = READ_RECORD(deck, {ITEM(group, "pile group of the curve"), ITEM(depth, "depth of the curve")})))
      return fail(run, deck, st);
    if (group < 1 || group > ngroups)
      return DECK_FAIL(run, deck, ST_DECK_REFERENCE,
                       where(deck) + ": p-y curve " + std::to_string(i) + " refers to pile group " +
                           std::to_string(group) + ", but " + std::to_string(ngroups) + " groups are given");
    r.GROUP = group;
    r.DEPTH = depth;
    int nyu = 0;
    if ((st = read_count(run, deck, "NYU", MAX_PY_DEFLECTIONS, nyu))) return st;
    r.NYU = nyu;
    if (nyu > 0 && (st = READ_REALS(deck, &r.DEFL[1], nyu, "DEFLECTION"))) return fail(run, deck, st);
  }
  return ST_OK;
}

// --- Section 12: user p-y curve sets.
int READ_USER_PY(RUN& run, DECK& deck) {
  SOIL_DATA& s = run.store.soil;
  int st = READ_HEADER(run, deck, "USER P-Y CURVES");
  if (st) return st;
  int n = 0;
  if ((st = read_count(run, deck, "NPYSETS", MAX_PY_SETS, n))) return st;
  s.NPYSETS = n;
  for (int k = 1; k <= n; ++k) {
    USER_PY_SET& set = s.PY_SETS[k];
    int value = 0, ncurves = 0;
    if ((st = READ_RECORD(deck, {ITEM(value, "set value"), ITEM(ncurves, "NPYCURVES")}))) return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, "NPYCURVES", ncurves, MAX_PY_CURVES, false))) return st;
    set.SET_VALUE = value;
    set.NPYCURVES = ncurves;
    for (int c = 1; c <= ncurves; ++c) {
      USER_PY_CURVE& cv = set.CURVE[c];
      if ((st = READ_RECORD(deck, {ITEM(cv.DEPTH, "X coordinate of the curve")}))) return fail(run, deck, st);
      int np = 0;
      if ((st = read_count(run, deck, "number of points", MAX_PY_POINTS, np))) return st;
      cv.NPOINTS = np;
      for (int j = 1; j <= np; ++j)
        if ((st = READ_RECORD(deck, {ITEM(cv.P[j], "P"), ITEM(cv.Y[j], "Y")}))) return fail(run, deck, st);
    }
  }
  // A group naming a set uses it as its input curves; a negative number
  // still selects the set for the layers of user curves.
  bool user_layers = false;
  for (int i = 1; i <= s.NLAYERS; ++i) user_layers = user_layers || s.LAYER[i].SOIL_MODEL == 5;
  for (int g = 1; g <= group_count(run.store); ++g) {
    const int set = group_py_set(run.store, g);
    if (set >= 1 || (set <= -1 && user_layers))
      if ((st = check_set_reference(run, deck, g, "p-y curve set", set < 0 ? -set : set, n, "sets")))
        return st;
  }
  return ST_OK;
}

// --- Section 13: user axial load-displacement curves.
int READ_USER_LS(RUN& run, DECK& deck) {
  SOIL_DATA& s = run.store.soil;
  int st = READ_HEADER(run, deck, "USER LOAD-DISPLACEMENT CURVES");
  if (st) return st;
  int n = 0;
  if ((st = read_count(run, deck, "NLSCURVES", MAX_LS_CURVES, n))) return st;
  s.NLSCURVES = n;
  for (int c = 1; c <= n; ++c) {
    USER_LS_CURVE& cv = s.LS_CURVES[c];
    int unused = 0, np = 0;
    if ((st = READ_RECORD(deck, {ITEM(unused, "curve value 1"), ITEM(np, "number of points")})))
      return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, "number of points", np, MAX_LS_POINTS, false))) return st;
    cv.UNUSED = unused;
    cv.NPOINTS = np;
    for (int j = 1; j <= np; ++j)
      if ((st = READ_RECORD(deck, {ITEM(cv.LOAD[j], "AXIAL_LOAD"), ITEM(cv.DISP[j], "DISPLACEMENT")})))
        return fail(run, deck, st);
  }
  for (int g = 1; g <= group_count(run.store); ++g) {
    const int set = group_ls_set(run.store, g);
    if (set >= 1 && (st = check_set_reference(run, deck, g, "load-settlement curve", set, n, "curves"))) return st;
  }
  return ST_OK;
}

// --- Section 14: user torque-rotation curves.
int READ_USER_TR(RUN& run, DECK& deck) {
  SOIL_DATA& s = run.store.soil;
  int st = READ_HEADER(run, deck, "USER TORQUE-ROTATION CURVES");
  if (st) return st;
  int n = 0;
  if ((st = read_count(run, deck, "number of torque-rotation curves", MAX_TR_CURVES, n))) return st;
  s.NTRCURVES = n;
  for (int c = 1; c <= n; ++c) {
    USER_TR_CURVE& cv = s.TR_CURVES[c];
    int unused = 0, np = 0;
    if ((st = READ_RECORD(deck, {ITEM(unused, "curve value 1"), ITEM(np, "number of points")})))
      return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, "number of points", np, MAX_TR_POINTS, false))) return st;
    cv.UNUSED = unused;
    cv.NPOINTS = np;
    for (int j = 1; j <= np; ++j)
      if ((st = READ_RECORD(deck, {ITEM(cv.MOMENT[j], "TORSIONAL_MOMENT"), ITEM(cv.ROTATION[j], "ROTATION")})))
        return fail(run, deck, st);
  }
  // Torsion is analysed in 3D only; there the groups' curve numbers are in force.
  if (run.store.ctl.ANALYSIS_TYPE == 3)
    for (int g = 1; g <= group_count(run.store); ++g) {
      const int set = group_tr_set(run.store, g);
      if (set >= 1 && (st = check_set_reference(run, deck, g, "torque-rotation curve", set, n, "curves")))
        return st;
    }
  return ST_OK;
}

// --- Section 16: reduction factors along depth.
int READ_DEPTH_FACTORS(RUN& run, DECK& deck) {
  SOIL_DATA& s = run.store.soil;
  int st = READ_HEADER(run, deck, "REDUCTION FACTORS ALONG DEPTH");
  if (st) return st;
  int n = 0;
  if ((st = read_count(run, deck, "NRFSETS", MAX_RF_SETS, n))) return st;
  s.NRFSETS = n;
  for (int k = 1; k <= n; ++k) {
    RF_SET& set = s.RF_SETS[k];
    int unused = 0, np = 0;
    if ((st = READ_RECORD(deck, {ITEM(unused, "set value 1"), ITEM(np, "number of points")})))
      return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, "number of points", np, MAX_RF_POINTS, false))) return st;
    set.UNUSED = unused;
    set.NPOINTS = np;
    for (int j = 1; j <= np; ++j)
      if ((st = READ_RECORD(deck, {ITEM(set.DEPTH[j], "DEPTH"), ITEM(set.P_FACTOR[j], "P_FACTOR"),
                                   ITEM(set.Y_FACTOR[j], "Y_FACTOR")})))
        return fail(run, deck, st);
  }
  for (int g = 1; g <= group_count(run.store); ++g) {
    const int set = group_rfl_set(run.store, g);
    if (set >= 1 && (st = check_set_reference(run, deck, g, "reduction-factor set", set, n, "sets"))) return st;
  }
  return ST_OK;
}

// --- Section 17: soil movement.
int READ_SOIL_MOVEMENT(RUN& run, DECK& deck) {
  SOIL_DATA& s = run.store.soil;
  int st = READ_HEADER(run, deck, "SOIL MOVEMENT DATA");
  if (st) return st;
  int n = 0;
  if ((st = read_count(run, deck, "NSMPTS", MAX_SM_POINTS, n))) return st;
  for (int j = 1; j <= n; ++j)
    if ((st = READ_RECORD(deck, {ITEM(s.SM_DEPTH[j], "DEPTH"), ITEM(s.SM_MOVE_Y[j], "MOVE_Y"),
                                 ITEM(s.SM_MOVE_Z[j], "MOVE_Z")})))
      return fail(run, deck, st);
  // The count is set last: a section that fails leaves no soil movement.
  s.NSMPTS = n;
  return ST_OK;
}

}  // namespace kestra
