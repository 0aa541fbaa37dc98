// Section readers of the loads input (load cases, load combinations,
// distributed-load sets) and their echo, Table C.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "group/loads.h"
#include "input/sections.h"

namespace kestra {

namespace {

// The smallest load increment accepted. The cap solutions halve the increment
// after every failed step and give up once it falls below MIN_INCREMENT; a
// value of zero or less never stops the halving. 1.0E-4 allows some fourteen
// halvings from a full-load increment.
constexpr double MIN_INCREMENT_FLOOR = 1.0E-4;

int fail(RUN& run, DECK& deck, int st) { return st == ST_OK ? ST_OK : DECK_FAIL(run, deck, st); }

std::string where(const DECK& deck) {
  std::string w = deck.file_label + ", line " + std::to_string(deck.line_no);
  if (!deck.section.empty()) w += ", section \"" + deck.section + "\"";
  return w;
}

// "NCONC of load case 3" and the like, for the limit messages.
std::string item_of(const char* item, const char* owner, int n) {
  return std::string(item) + " of " + owner + " " + std::to_string(n);
}

std::string real_text(double x) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6G", x);
  return buf;
}

// ---- Controls that would keep the analysis from ending are mended here.

void mend_step(RUN& run, int& every, bool used, const std::string& owner, const char* name) {
  if (every >= 1) return;
  if (used)
    WARN_BOTH(run, owner + ": " + name + " " + std::to_string(every) + " IS BELOW 1, 1 IS USED");
  every = 1;
}

void mend_controls(RUN& run, LOAD_CONTROLS& k, const std::string& owner) {
  mend_step(run, k.PRINT_EVERY, k.PRINT_OPTION >= 2, owner, "PRINT_EVERY");
  if (!(k.LOAD_INCREMENT > 0.0 && k.LOAD_INCREMENT <= 1.0)) {
    WARN_BOTH(run, owner + ": LOAD_INCREMENT " + real_text(k.LOAD_INCREMENT) + " IS NOT IN (0,1], 1.0 IS USED");
    k.LOAD_INCREMENT = 1.0;
  }
  if (!(k.MIN_INCREMENT > 0.0)) {
    WARN_BOTH(run, owner + ": MIN_INCREMENT " + real_text(k.MIN_INCREMENT) + " IS NOT ABOVE 0, " +
                       real_text(MIN_INCREMENT_FLOOR) + " IS USED");
    k.MIN_INCREMENT = MIN_INCREMENT_FLOOR;
  }
  // The number of cycles matters for cyclic loading only (static loading
  // counts as one cycle); it is mended either way.
  if (k.NCYCLES < 1) {
    if (k.LOADING == 0)
      WARN_BOTH(run, owner + ": NCYCLES " + std::to_string(k.NCYCLES) + " IS BELOW 1, 1 IS USED");
    k.NCYCLES = 1;
  }
}

// Records 1 to 3, common to load cases and combinations.
int read_control_head(RUN& run, DECK& deck, LOAD_CONTROLS& k) {
  int st = READ_RECORD(deck, {ITEM(k.RESERVED_1[0], "RESERVED"), ITEM(k.RESERVED_1[1], "RESERVED"),
                              ITEM(k.RESERVED_1[2], "RESERVED"), ITEM(k.LOADING, "LOADING"),
                              ITEM(k.NCYCLES, "NCYCLES"), ITEM(k.MAXIT_CAP, "MAXIT_CAP"),
                              ITEM(k.MAXIT_PILE, "MAXIT_PILE")});
  if (st) return fail(run, deck, st);
  st = READ_RECORD(deck, {ITEM(k.TOL_CAP, "TOL_CAP"), ITEM(k.TOL_PILE, "TOL_PILE"),
                          ITEM(k.LOAD_INCREMENT, "LOAD_INCREMENT"), ITEM(k.MIN_INCREMENT, "MIN_INCREMENT")});
  if (st) return fail(run, deck, st);
  return fail(run, deck, READ_TEXT(deck, k.NAME, LOAD_NAME_CHARS, "NAME"));
}

// Records 6 and 7, common to load cases and combinations.
int read_control_tail(RUN& run, DECK& deck, LOAD_CONTROLS& k) {
  int st = READ_RECORD(deck, {ITEM(k.RESERVED_6, "RESERVED")});
  if (st) return fail(run, deck, st);
  return fail(run, deck, READ_INTS(deck, &k.OUTPUT_SELECT[1], OUTPUT_FLAGS, "OUTPUT_SELECT"));
}

// A count of zero or less means that no list follows.
int list_count(int n) { return n > 0 ? n : 0; }

int read_one_case(RUN& run, DECK& deck, int i) {
  LOAD_CASE& lc = run.store.loads.CASE[i];
  int st = read_control_head(run, deck, lc);
  if (st) return st;
  st = READ_RECORD(deck, {ITEM(lc.LOAD_TYPE, "LOAD_TYPE"), ITEM(lc.STIFFNESS_DATA, "STIFFNESS_DATA"),
                          ITEM(lc.STIFF_TABLES, "STIFF_TABLES"), ITEM(lc.STIFF_DIAGONAL, "STIFF_DIAGONAL"),
                          ITEM(lc.RESERVED_4[0], "RESERVED"), ITEM(lc.RESERVED_4[1], "RESERVED"),
                          ITEM(lc.AXIAL_AS_HEAD_LOAD, "AXIAL_AS_HEAD_LOAD")});
  if (st) return fail(run, deck, st);
  st = READ_RECORD(deck, {ITEM(lc.PRINT_OPTION, "PRINT_OPTION"), ITEM(lc.PRINT_EVERY, "PRINT_EVERY"),
                          ITEM(lc.SCALE_FACTOR, "SCALE_FACTOR"), ITEM(lc.USE_ALT_TOL, "USE_ALT_TOL"),
                          ITEM(lc.ALT_TOL_DISP, "ALT_TOL_DISP"), ITEM(lc.ALT_TOL_ROT, "ALT_TOL_ROT"),
                          ITEM(lc.AXIAL_VARIATION, "AXIAL_VARIATION"), ITEM(lc.NOT_ANALYZED, "NOT_ANALYZED")});
  if (st) return fail(run, deck, st);
  if ((st = read_control_tail(run, deck, lc))) return st;

  int n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NCONC")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, item_of("NCONC", "load case", i).c_str(), n, MAX_CONC_LOADS))) return st;
  lc.NCONC = list_count(n);
  for (int j = 1; j <= lc.NCONC; ++j) {
    CONC_LOAD& p = lc.CONC[j];
    st = READ_RECORD(deck, {ITEM(p.FORCE_X, "FORCE_X"), ITEM(p.FORCE_Y, "FORCE_Y"), ITEM(p.MOMENT_Z, "MOMENT_Z"),
                            ITEM(p.FORCE_Z, "FORCE_Z"), ITEM(p.MOMENT_Y, "MOMENT_Y"), ITEM(p.MOMENT_X, "MOMENT_X"),
                            ITEM(p.COORD_X, "COORD_X"), ITEM(p.COORD_Y, "COORD_Y"), ITEM(p.COORD_Z, "COORD_Z")});
    if (st) return fail(run, deck, st);
  }

  n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NDIST")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, item_of("NDIST", "load case", i).c_str(), n, MAX_DIST_LOADS))) return st;
  lc.NDIST = list_count(n);
  for (int j = 1; j <= lc.NDIST; ++j) {
    DIST_LOAD& d = lc.DIST[j];
    st = READ_RECORD(deck, {ITEM(d.RESERVED, "RESERVED"), ITEM(d.AXIS, "AXIS"), ITEM(d.INI_PILE, "INI_PILE"),
                            ITEM(d.END_PILE, "END_PILE"), ITEM(d.INC_PILE, "INC_PILE"), ITEM(d.SET_Y, "SET_Y"),
                            ITEM(d.FACTOR_Y, "FACTOR_Y"), ITEM(d.SET_Z, "SET_Z"), ITEM(d.FACTOR_Z, "FACTOR_Z")});
    if (st) return fail(run, deck, st);
  }

  n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NLEVELS")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, item_of("NLEVELS", "load case", i).c_str(), n, MAX_STIFF_LEVELS))) return st;
  lc.NLEVELS = list_count(n);
  for (int j = 1; j <= lc.NLEVELS; ++j)
    if ((st = READ_RECORD(deck, {ITEM(lc.LEVELS[j], "STIFFNESS_LEVEL")}))) return fail(run, deck, st);

  mend_controls(run, lc, "LOAD CASE " + std::to_string(i));
  return ST_OK;
}

int read_one_comb(RUN& run, DECK& deck, int j) {
  const LOAD_DATA& L = run.store.loads;
  LOAD_COMB& lk = run.store.loads.COMB[j];
  int st = read_control_head(run, deck, lk);
  if (st) return st;
  int given = 0;  // the number of cases announced here; record 8 holds the list
  st = READ_RECORD(deck, {ITEM(lk.BENDING_RF, "BENDING_RF"), ITEM(lk.SHEAR_RF, "SHEAR_RF"),
                          ITEM(given, "NUMBER OF CASES")});
  if (st) return fail(run, deck, st);
  st = READ_RECORD(deck, {ITEM(lk.PRINT_OPTION, "PRINT_OPTION"), ITEM(lk.PRINT_EVERY, "PRINT_EVERY"),
                          ITEM(lk.USE_ALT_TOL, "USE_ALT_TOL"), ITEM(lk.ALT_TOL_DISP, "ALT_TOL_DISP"),
                          ITEM(lk.ALT_TOL_ROT, "ALT_TOL_ROT"), ITEM(lk.AXIAL_VARIATION, "AXIAL_VARIATION"),
                          ITEM(lk.NOT_ANALYZED, "NOT_ANALYZED")});
  if (st) return fail(run, deck, st);
  if ((st = read_control_tail(run, deck, lk))) return st;

  int n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NCOMB_CASES")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, item_of("NCOMB_CASES", "load combination", j).c_str(), n, MAX_COMB_CASES)))
    return st;
  lk.NCOMB_CASES = list_count(n);
  for (int e = 1; e <= lk.NCOMB_CASES; ++e) {
    COMB_ENTRY& en = lk.ENTRY[e];
    if ((st = READ_RECORD(deck, {ITEM(en.CASE, "LOAD_CASE"), ITEM(en.FACTOR, "LOAD_FACTOR")})))
      return fail(run, deck, st);
    if (en.CASE < 1 || en.CASE > L.NLC)
      return DECK_FAIL(run, deck, ST_DECK_REFERENCE,
                       where(deck) + ": load combination " + std::to_string(j) + ", entry " + std::to_string(e) +
                           " refers to load case " + std::to_string(en.CASE) + ", but there are " +
                           std::to_string(L.NLC) + " load cases");
  }

  mend_controls(run, lk, "LOAD COMB. " + std::to_string(j));
  return ST_OK;
}

// A set number of 0 or less means "no load"; any other must name a set.
int check_set_reference(RUN& run, DECK& deck, int c, int n, const char* which, int set) {
  const int nsets = run.store.loads.NDSETS;
  if (set <= nsets) return ST_OK;
  return DECK_FAIL(run, deck, ST_DECK_REFERENCE,
                   where(deck) + ": distributed load " + std::to_string(n) + " of load case " + std::to_string(c) +
                       " refers to distributed-load set " + std::to_string(set) + " (" + which +
                       "), but there are " + std::to_string(nsets) + " sets");
}

// The record that opens the load-case and the load-combination lists: the
// count, the envelope option, its printing and node step, a value not used,
// then the output selection when envelopes are asked for.
struct LIST_NAMES {
  const char *count, *envelope, *print, *every, *select, *owner;
};
struct LIST_FIELDS {
  int &count, &envelope, &print, &every, &unused;
  std::array<int, OUTPUT_FLAGS + 1>& select;
};

int read_list_record(RUN& run, DECK& deck, const LIST_NAMES& names, int limit, LIST_FIELDS f) {
  int n = 0, env = 0, env_print = 0, env_every = 0, unused = 0;
  int st = READ_RECORD(deck, {ITEM(n, names.count), ITEM(env, names.envelope), ITEM(env_print, names.print),
                              ITEM(env_every, names.every), ITEM(unused, "UNUSED")});
  if (st) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, names.count, n, limit))) return st;
  f.count = list_count(n);
  f.envelope = env;
  f.print = env_print;
  f.every = env_every;
  f.unused = unused;
  if (f.envelope > 0 && (st = READ_INTS(deck, &f.select[1], OUTPUT_FLAGS, names.select))) return fail(run, deck, st);
  mend_step(run, f.every, f.envelope > 0 && f.print >= 2, names.owner, names.every);
  return ST_OK;
}

}  // namespace

int READ_LOAD_CASES(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "LOAD CASES");
  if (st) return st;
  LOAD_DATA& L = run.store.loads;
  const LIST_NAMES names = {"NLC", "CASE_ENVELOPE", "CASE_ENV_PRINT", "CASE_ENV_EVERY", "CASE_ENV_SELECT",
                            "LOAD CASES ENVELOPES"};
  if ((st = read_list_record(run, deck, names, MAX_LOAD_CASES,
                             {L.NLC, L.CASE_ENVELOPE, L.CASE_ENV_PRINT, L.CASE_ENV_EVERY, L.CASE_LIST_UNUSED,
                              L.CASE_ENV_SELECT})))
    return st;
  for (int i = 1; i <= L.NLC; ++i)
    if ((st = read_one_case(run, deck, i))) return st;
  return ST_OK;
}

int READ_LOAD_COMBS(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "LOAD COMBINATIONS");
  if (st) return st;
  LOAD_DATA& L = run.store.loads;
  const LIST_NAMES names = {"NCOMB", "COMB_ENVELOPE", "COMB_ENV_PRINT", "COMB_ENV_EVERY", "COMB_ENV_SELECT",
                            "LOAD COMBINATION ENVELOPES"};
  if ((st = read_list_record(run, deck, names, MAX_LOAD_COMBS,
                             {L.NCOMB, L.COMB_ENVELOPE, L.COMB_ENV_PRINT, L.COMB_ENV_EVERY, L.COMB_LIST_UNUSED,
                              L.COMB_ENV_SELECT})))
    return st;
  for (int j = 1; j <= L.NCOMB; ++j)
    if ((st = read_one_comb(run, deck, j))) return st;
  return ST_OK;
}

int READ_DLOAD_SETS(RUN& run, DECK& deck) {
  int st = READ_HEADER(run, deck, "DISTRIBUTED LOAD SETS");
  if (st) return st;
  LOAD_DATA& L = run.store.loads;
  int n = 0;
  if ((st = READ_RECORD(deck, {ITEM(n, "NDSETS")}))) return fail(run, deck, st);
  if ((st = CHECK_COUNT(run, deck, "NDSETS", n, MAX_DLOAD_SETS))) return st;
  L.NDSETS = list_count(n);
  for (int s = 1; s <= L.NDSETS; ++s) {
    int np = 0;
    if ((st = READ_RECORD(deck, {ITEM(np, "NUMBER OF POINTS")}))) return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, item_of("NUMBER OF POINTS", "distributed-load set", s).c_str(), np,
                          MAX_DLOAD_POINTS)))
      return st;
    DLOAD_SET& ds = L.DSET[s];
    ds.NPOINTS = list_count(np);
    for (int k = 1; k <= ds.NPOINTS; ++k)
      if ((st = READ_RECORD(deck, {ITEM(ds.DEPTH[k], "DEPTH"), ITEM(ds.LOAD[k], "LOAD")}))) return fail(run, deck, st);
  }

  // The distributed loads of the cases, read before the sets, refer to them.
  const bool three_d = run.store.ctl.ANALYSIS_TYPE == 3;
  for (int c = 1; c <= L.NLC; ++c) {
    const LOAD_CASE& lc = L.CASE[c];
    for (int k = 1; k <= lc.NDIST; ++k) {
      if ((st = check_set_reference(run, deck, c, k, "SET_Y", lc.DIST[k].SET_Y))) return st;
      if (three_d && (st = check_set_reference(run, deck, c, k, "SET_Z", lc.DIST[k].SET_Z))) return st;
    }
  }
  return ST_OK;
}

// ============================================================ Table C ======

namespace {

// The print option line(s). 'node_blank' puts a blank before "NODE(S)".
void echo_print_option(FILE* f, int option, int every, bool node_blank) {
  if (option == 0)
    WRITE_F(f, "(/,5X,'PRINT RESULTS ONLY AT PILE CAP')");
  else if (option == 1)
    WRITE_F(f, "(/,5X,'PRINT RESULTS AT PILE CAP AND PILE HEADS')");
  else
    WRITE_F(f, "(/,5X,'PRINT RESULTS AT PILE CAP, PILE HEADS AND ALONG PILES')");
  if (option == 2) {
    if (node_blank)
      WRITE_F(f, "(5X,'PRINT RESULTS EVERY ',I5,' NODE(S)')", every);
    else
      WRITE_F(f, "(5X,'PRINT RESULTS EVERY ',I5,'NODE(S)')", every);
  }
}

// A control-parameter label, left-aligned in 52 columns (an A field would
// right-justify it).
std::string label52(std::string_view t) {
  std::string l(t);
  l.resize(52, ' ');
  return l;
}

// Loading, control parameters and print option: the same for a case and a
// combination.
void echo_controls(RUN& run, FILE* f, const LOAD_CONTROLS& k, bool node_blank) {
  const LABELS& lb = run.store.labels;
  if (k.LOADING == 0)
    WRITE_F(f, "(/,5X,'* THE LOADING IS CYCLIC *',/,5X,'NO. OF CYCLES =',F10.0)", static_cast<double>(k.NCYCLES));
  else if (k.LOADING == 1)
    WRITE_F(f, "(/,5X,'* THE LOADING IS STATIC *')");

  WRITE_F(f, "(/,5X,'* CONTROL PARAMETERS *')");
  WRITE_F(f, "(5X,A52,' = ',1PG12.5)", label52("TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT"), k.TOL_CAP);
  if (k.USE_ALT_TOL != 0) {
    WRITE_F(f, "(5X,A52,' = ',1PG12.5,1X,A2)", label52("ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION"), k.ALT_TOL_DISP,
            lb.LENGTH_LABEL);
    WRITE_F(f, "(5X,A52,' = ',1PG12.5,1X,A3)", label52("ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION"), k.ALT_TOL_ROT,
            "RAD");
  }
  WRITE_F(f, "(5X,A52,' = ',1PG12.5,1X,A2)", label52("TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS"), k.TOL_PILE,
          lb.LENGTH_LABEL);
  WRITE_F(f, "(5X,A52,' = ',I9)", label52("MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS"), k.MAXIT_CAP);
  WRITE_F(f, "(5X,A52,' = ',I9)", label52("MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS"), k.MAXIT_PILE);
  WRITE_F(f, "(5X,A52,' = ',1PG12.5)", label52("FACTOR TO APPLY THE LOAD IN INCREMENTS"), k.LOAD_INCREMENT);
  WRITE_F(f, "(5X,A52,' = ',1PG12.5)", label52("MINIMUM FACTOR FOR LOAD INCREMENTS"), k.MIN_INCREMENT);

  if (k.AXIAL_VARIATION > 0)
    WRITE_F(f, "(/,5X,'INCLUDE VARIATION OF AXIAL LOAD AT PILES',/,5X,'* NOT FOR USER DEFINED LOAD SETTL. CURVE')");
  echo_print_option(f, k.PRINT_OPTION, k.PRINT_EVERY, node_blank);
}

void echo_conc_loads(RUN& run, FILE* f, const LOAD_CASE& lc, bool three_d) {
  const LABELS& lb = run.store.labels;
  WRITE_F(f, "(/,5X,'* CONCENTRATED LOADS *')");
  if (!three_d) {
    WRITE_F(f, "(/,5X,'  NL',1X,'    VERT.LOAD','     HOR.LOAD','       MOMENT','      COORD X','      COORD Y')");
    WRITE_F(f, "(20X,A3,10X,A3,7X,A3,A1,A2,11X,A2,11X,A2)", lb.FORCE_LABEL, lb.FORCE_LABEL, lb.FORCE_LABEL, "-",
            lb.LENGTH_LABEL, lb.LENGTH_LABEL, lb.LENGTH_LABEL);
    for (int n = 1; n <= lc.NCONC; ++n) {
      const CONC_LOAD& p = lc.CONC[n];
      WRITE_BLANKS(f, 5);
      WRITE_INT(f, 4, n);
      WRITE_BLANKS(f, 1);
      for (double v : {p.FORCE_X, p.FORCE_Y, p.MOMENT_Z, p.COORD_X, p.COORD_Y}) WRITE_REAL(f, 13, 5, v);
      END_LINE(f);
    }
    return;
  }
  WRITE_F(f,
          "(/,2X,'  NL',1X,' VERT.LOAD',' HR.LOAD Y',' HR.LOAD Z','  MOMENT X','  MOMENT Y','  MOMENT Z',"
          "'   COORD X','   COORD Y','   COORD Z')");
  WRITE_F(f, "(14X,A3,2(7X,A3),3(4X,A3,A1,A2),3(8X,A2))", lb.FORCE_LABEL, lb.FORCE_LABEL, lb.FORCE_LABEL,
          lb.FORCE_LABEL, "-", lb.LENGTH_LABEL, lb.FORCE_LABEL, "-", lb.LENGTH_LABEL, lb.FORCE_LABEL, "-",
          lb.LENGTH_LABEL, lb.LENGTH_LABEL, lb.LENGTH_LABEL, lb.LENGTH_LABEL);
  for (int n = 1; n <= lc.NCONC; ++n) {
    const CONC_LOAD& p = lc.CONC[n];
    WRITE_BLANKS(f, 2);
    WRITE_INT(f, 4, n);
    WRITE_BLANKS(f, 1);
    for (double v : {p.FORCE_X, p.FORCE_Y, p.FORCE_Z, p.MOMENT_X, p.MOMENT_Y, p.MOMENT_Z, p.COORD_X, p.COORD_Y,
                     p.COORD_Z})
      WRITE_REAL(f, 10, 2, v);
    END_LINE(f);
  }
}

void echo_values(FILE* f, double a, double b, double c) {
  WRITE_BLANKS(f, 8);
  WRITE_REAL(f, 18, 5, a);
  WRITE_REAL(f, 18, 5, b);
  WRITE_REAL(f, 18, 5, c);
  END_LINE(f);
}

void echo_equivalent_load(RUN& run, FILE* f, int c, bool three_d) {
  const LABELS& lb = run.store.labels;
  CASE_RESULTANT(run.store, c);
  const auto& eq = run.store.loads.EQ_LOAD;
  WRITE_F(f, "(/,/,5X,'* EQUIVALENT CONC. LOAD AT ORIGIN *')");
  if (!three_d) {
    WRITE_F(f, "(/,13X,' VER.LOAD X,',A3,3X,' HOR.LOAD Y,',A3,3X,' MOMENT,',A3,A1,A2)", lb.FORCE_LABEL,
            lb.FORCE_LABEL, lb.FORCE_LABEL, "-", lb.LENGTH_LABEL);
    echo_values(f, eq[1], eq[2], eq[6]);
    return;
  }
  WRITE_F(f, "(/,11X,' VER.LOAD X,',A3,5X,'HOR.LOAD Y,',A3,5X,'HOR.LOAD Z,',A3)", lb.FORCE_LABEL, lb.FORCE_LABEL,
          lb.FORCE_LABEL);
  echo_values(f, eq[1], eq[2], eq[3]);
  WRITE_F(f, "(/,11X,' MOMENT X,',A3,A1,A2,3X,' MOMENT Y,',A3,A1,A2,3X,' MOMENT Z,',A3,A1,A2)", lb.FORCE_LABEL, "-",
          lb.LENGTH_LABEL, lb.FORCE_LABEL, "-", lb.LENGTH_LABEL, lb.FORCE_LABEL, "-", lb.LENGTH_LABEL);
  echo_values(f, eq[4], eq[5], eq[6]);
}

void echo_dist_loads(FILE* f, const LOAD_CASE& lc, bool three_d) {
  WRITE_F(f, "(/,5X,'* DISTRIBUTED LOADS *')");
  if (three_d)
    WRITE_F(f, "(/,5X,'  NL',2X,'  AXIS',3(1X,A8),2X,'   SET_Y','      FACTOR_Y',2X,'   SET_Z','      FACTOR_Z')",
            "INI_PILE", "END_PILE", "INC_PILE");
  else
    WRITE_F(f, "(/,5X,'  NL',2X,'  AXIS',3(1X,A8),2X,'   SET_Y','      FACTOR_Y')", "INI_PILE", "END_PILE",
            "INC_PILE");
  bool global = false;
  for (int n = 1; n <= lc.NDIST; ++n) {
    const DIST_LOAD& d = lc.DIST[n];
    global = global || d.AXIS == 1;
    WRITE_F(f, "(5X,I4,2X,A6,3(1X,I8),2X,I8,$)", n, d.AXIS == 1 ? "GLOBAL" : "LOCAL", d.INI_PILE, d.END_PILE,
            d.INC_PILE, d.SET_Y);
    WRITE_REAL(f, 14, 4, d.FACTOR_Y);
    if (three_d) {
      WRITE_F(f, "(2X,I8,$)", d.SET_Z);
      WRITE_REAL(f, 14, 4, d.FACTOR_Z);
    }
    END_LINE(f);
  }
  if (global && lc.AXIAL_AS_HEAD_LOAD == 1)
    NOTE_LINE(f, "FOR GLOBAL LOADING, AXIAL COMPONENT IS CONSIDERED AS CONCENTRATED LOAD AT PILE HEAD");
}

void echo_level_table(FILE* f, const LOAD_CASE& lc, int nlevels, bool displacement) {
  if (displacement)
    WRITE_F(f, "(/,5X,'  NL','  DISP. LEVEL')");
  else
    WRITE_F(f, "(/,5X,'  NL','   LOAD LEVEL')");
  for (int n = 1; n <= nlevels; ++n) {
    WRITE_BLANKS(f, 5);
    WRITE_INT(f, 4, n);
    WRITE_REAL(f, 13, 5, lc.LEVELS[n]);
    END_LINE(f);
  }
}

// The target line of the target-deflection form: the degree of freedom (as
// given, rounded) picks the label and the value among the six targets.
void echo_target(RUN& run, FILE* f, const double* prm, bool three_d) {
  static constexpr const char* LABEL[] = {"",
                                          "  DISPLACEMENT X = ",
                                          "  DISPLACEMENT Y = ",
                                          "  DISPLACEMENT Z = ",
                                          "  ROTATION X     = ",
                                          "  ROTATION Y     = ",
                                          "  ROTATION Z     = "};
  long dof = std::lround(prm[2]);
  // A 2D analysis has three degrees of freedom, the third the rotation in
  // the plane (6 names it too), with their targets in the first three slots.
  if (!three_d && dof == 6) dof = 3;
  if (dof < 1 || dof > 6) return;
  const bool rotation = dof >= 4 || (!three_d && dof == 3);
  const char* label = (!three_d && dof == 3) ? LABEL[6] : LABEL[dof];
  WRITE_F(f, "(5X,A19,1PG12.5,1X,A3)", label, prm[2 + dof], rotation ? "RAD" : run.store.labels.LENGTH_LABEL3);
}

void echo_stiffness(RUN& run, FILE* f, const LOAD_CASE& lc, bool three_d) {
  const int nv = lc.NLEVELS;
  WRITE_F(f, "(/,5X,'* DATA FOR FOUNDATION STIFFNESS *')");
  if (nv < STIFF_PARAMETER_FORM) {
    // Plain load levels. Eleven or twelve values are plain levels too, as the
    // analysis reads them.
    WRITE_F(f, "(5X,'COMPUTED FOR EQUIVALENT CONC. LOAD AT ORIGIN')");
    WRITE_F(f, "(/,5X,'* FOUNDATION STIFFNESS LOAD LEVELS *')");
    echo_level_table(f, lc, nv, false);
    return;
  }
  const int nlev = nv - STIFF_PARAMETERS;
  const double* prm = &lc.LEVELS[nlev];  // prm[1] .. prm[12]
  if (prm[11] == 1.0) WRITE_F(f, "(5X,'- CONSIDER AXIAL LOADS IN PILES')");
  const bool target = prm[1] != 0.0;
  if (!target) {
    WRITE_F(f, "(5X,'- BASED ON TOTAL APPLIED LOAD  ')");
  } else {
    WRITE_F(f, "(5X,'- BASED ON TARGET DEFLECTION   ')");
    echo_target(run, f, prm, three_d);
    WRITE_F(f, "(5X,'  TOLERANCE (%)  = ',1PG12.5)", prm[9]);
    WRITE_F(f, "(5X,'  ITERATIONS     = ',I5)", static_cast<int>(std::lround(prm[10])));
  }
  if (target)
    WRITE_F(f, "(/,5X,'* FOUNDATION STIFFNESS DISPLACEMENT LEVELS *')");
  else
    WRITE_F(f, "(/,5X,'* FOUNDATION STIFFNESS LOAD LEVELS *')");
  echo_level_table(f, lc, nlev, target);
}

void echo_case(RUN& run, FILE* f, int c, bool three_d) {
  LOAD_CASE& lc = run.store.loads.CASE[c];
  WRITE_F(f, "(/,/,5X,'LOAD CASE    : ',I5,/,5X,'CASE NAME    : ',A80,/,5X,'LOAD TYPE    : ',A32)", c,
          std::string_view(lc.NAME, LOAD_NAME_CHARS), LOAD_TYPE_NAME(lc.LOAD_TYPE));
  WRITE_F(f, "(5X,'SCALE FACTOR : ',$)");
  WRITE_REAL(f, 12, 4, lc.SCALE_FACTOR);
  END_LINE(f);
  if (lc.NOT_ANALYZED == 1) NOTE_LINE(f, "LOAD CASE WILL NOT BE ANALYZED");

  if (lc.NCONC > 0) echo_conc_loads(run, f, lc, three_d);
  echo_equivalent_load(run, f, c, three_d);
  if (lc.NDIST > 0) echo_dist_loads(f, lc, three_d);

  if (lc.STIFFNESS_DATA > 0) {
    if (lc.NLEVELS == 0) {
      // Default load levels: 0.1, then log10(2) .. log10(10).
      lc.NLEVELS = DEFAULT_STIFF_LEVELS;
      lc.LEVELS[1] = 0.1;
      for (int n = 2; n <= DEFAULT_STIFF_LEVELS; ++n) lc.LEVELS[n] = std::log10(static_cast<double>(n));
    }
    echo_stiffness(run, f, lc, three_d);
  }
  echo_controls(run, f, lc, true);
}

void echo_comb(RUN& run, FILE* f, int j) {
  const LOAD_DATA& L = run.store.loads;
  const LOAD_COMB& lk = L.COMB[j];
  WRITE_F(f, "(/,/,5X,'LOAD COMB. : ',I5,/,5X,'COMB. NAME : ',A80)", j, std::string_view(lk.NAME, LOAD_NAME_CHARS));
  if (lk.NOT_ANALYZED == 1) NOTE_LINE(f, "LOAD COMB. WILL NOT BE ANALYZED");
  WRITE_F(f, "(5X,'BENDING RF : ',1PG12.5,/,5X,'SHEAR RF   : ',1PG12.5)", lk.BENDING_RF, lk.SHEAR_RF);
  if (lk.NCOMB_CASES > 0) {
    WRITE_F(f, "(/,5X,'  NL','LOAD NUMBER',9X,'LOAD NAME',22X,' LOAD FACTOR')");
    for (int e = 1; e <= lk.NCOMB_CASES; ++e) {
      const COMB_ENTRY& en = lk.ENTRY[e];
      // Case numbers were checked at input; a blank name guards the table anyway.
      const bool known = en.CASE >= 1 && en.CASE <= L.NLC;
      std::string_view name = known ? std::string_view(L.CASE[en.CASE].NAME, 26) : std::string_view("");
      WRITE_F(f, "(5X,I4,I10,10X,A26,5X,$)", e, en.CASE, name);
      WRITE_REAL(f, 12, 5, en.FACTOR);
      END_LINE(f);
    }
  }
  echo_controls(run, f, lk, false);
}

}  // namespace

int ECHO_TABLE_C(RUN& run) {
  FILE* f = run.files[F_REPORT];
  if (!f) return run.status;
  LOAD_DATA& L = run.store.loads;
  const bool three_d = run.store.ctl.ANALYSIS_TYPE == 3;

  TABLE_HEADING(f, "C", "  LOAD AND CONTROL PARAMETERS");
  if (L.NLC > 0) {
    WRITE_F(f, "(/,5X,'** LOAD CASES **',/,/,5X,'NUMBER OF LOAD CASES :',I5)", L.NLC);
    for (int c = 1; c <= L.NLC; ++c) echo_case(run, f, c, three_d);
  }
  if (L.CASE_ENVELOPE > 0) {
    WRITE_F(f, "(/,/,5X,'** LOAD CASES ENVELOPES **')");
    echo_print_option(f, L.CASE_ENV_PRINT, L.CASE_ENV_EVERY, true);
  }
  if (L.NCOMB > 0) {
    WRITE_F(f, "(/,/,5X,'** LOAD COMBINATIONS **',/,/,5X,'NUMBER OF LOAD COMB. :',I5)", L.NCOMB);
    for (int j = 1; j <= L.NCOMB; ++j) echo_comb(run, f, j);
  }
  if (L.COMB_ENVELOPE > 0) {
    WRITE_F(f, "(/,/,5X,'** LOAD COMBINATION ENVELOPES **')");
    echo_print_option(f, L.COMB_ENV_PRINT, L.COMB_ENV_EVERY, true);
  }
  if (L.NDSETS > 0) {
    const LABELS& lb = run.store.labels;
    WRITE_F(f, "(/,/,5X,'** SETS OF DISTRIBUTED LOAD **',/,/,5X,'NUMBER OF SETS :',I5)", L.NDSETS);
    for (int s = 1; s <= L.NDSETS; ++s) {
      const DLOAD_SET& ds = L.DSET[s];
      WRITE_F(f, "(/,5X,'DIST. LOAD SET : ',I5)", s);
      if (ds.NPOINTS <= 0) continue;
      WRITE_F(f, "(5X,'  NL',4X,'    DEPTH,',A2,2X,' LOAD,',A3,A1,A2)", lb.LENGTH_LABEL, lb.FORCE_LABEL, "/",
              lb.LENGTH_LABEL);
      for (int k = 1; k <= ds.NPOINTS; ++k) {
        WRITE_BLANKS(f, 5);
        WRITE_INT(f, 4, k);
        WRITE_BLANKS(f, 4);
        WRITE_REAL(f, 12, 4, ds.DEPTH[k]);
        WRITE_BLANKS(f, 2);
        WRITE_REAL(f, 12, 4, ds.LOAD[k]);
        END_LINE(f);
      }
    }
  }
  return run.status;
}

}  // namespace kestra
