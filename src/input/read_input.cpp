// The input data file in file order: title, version, control record, the
// group-reduction movements, then every section the control options call
// for, and the curve data file options. Nothing after the last section that
// the options call for is read.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "input/input.h"
#include "input/sections.h"
#include "output/headings.h"

namespace kestra {

void SET_ENTRY_VALUES(RUN& run) {
  RUNWIDE& rw = run.store.rw;
  rw.PI = static_cast<double>(3.14159f);
  rw.SMALL_14 = 1.0E-14;
  rw.SMALL_6 = 1.0E-6;
  rw.SMALL_5 = 1.0E-5;
  std::memcpy(rw.END_MARKER, "END ", 5);
  PILE_DATA_DEFAULTS(run.store.piles);
}

int READ_HEADER(RUN& run, DECK& deck, const char* section_name) {
  char header[81];
  deck.section = section_name;
  const int st = READ_TEXT(deck, header, 80, "the section header line");
  if (st != ST_OK) return DECK_FAIL(run, deck, st);
  WRITE_F(run.files[F_RUNTIME], "(5X,'READING ',A80)", std::string_view(header, 80));
  // Messages name the section by its header when it has one.
  std::string h(header, 80);
  while (!h.empty() && h.back() == ' ') h.pop_back();
  std::size_t lead = h.find_first_not_of(' ');
  deck.section = lead == std::string::npos ? std::string(section_name) : h.substr(lead);
  return ST_OK;
}

int DECK_FAIL(RUN& run, DECK& deck, int status) { return DECK_FAIL(run, deck, status, deck.message); }

int DECK_FAIL(RUN& run, DECK& deck, int status, const std::string& message) {
  deck.message = message;
  return FATAL(run, status, "INPUT DATA ERROR: " + message);
}

int CHECK_COUNT(RUN& run, DECK& deck, const char* item, int count, int limit, bool negative_ok) {
  if (count > limit || (!negative_ok && count < 0)) {
    std::string where = deck.file_label + ", line " + std::to_string(deck.line_no);
    if (!deck.section.empty()) where += ", section \"" + deck.section + "\"";
    std::string msg = where + ": " + item + " = " + std::to_string(count);
    msg += count < 0 ? " is negative where a list must follow" : " exceeds the limit of " + std::to_string(limit);
    return DECK_FAIL(run, deck, ST_DECK_LIMIT, msg);
  }
  return ST_OK;
}

namespace {

int fail(RUN& run, DECK& deck, int st) { return st == ST_OK ? ST_OK : DECK_FAIL(run, deck, st); }

// Section 18: curve data file options.
int read_curve_options(RUN& run, DECK& deck) {
  CONTROL& c = run.store.ctl;
  int st = READ_HEADER(run, deck, "CURVE DATA FILE OPTIONS");
  if (st) return st;
  st = READ_RECORD(deck, {ITEM(c.CURVE_FILE_MODE, "CURVE_FILE_MODE"), ITEM(c.CURVE_DEFL_OPTION, "CURVE_DEFL_OPTION"),
                          ITEM(c.CURVE_LIST2_OPTION, "CURVE_LIST2_OPTION")});
  if (st) return fail(run, deck, st);
  if (c.CURVE_DEFL_OPTION == 1) {
    int n = 0;
    if ((st = READ_RECORD(deck, {ITEM(n, "NYPTS")}))) return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, "NYPTS", n, MAX_CURVE_DEFL))) return st;
    c.NYPTS = n;
    for (int i = 1; i <= n; ++i)
      if ((st = READ_RECORD(deck, {ITEM(c.CURVE_DEFL[i], "CURVE_DEFLECTION")}))) return fail(run, deck, st);
  }
  if (c.CURVE_LIST2_OPTION == 1) {
    int n = 0;
    if ((st = READ_RECORD(deck, {ITEM(n, "second deflection count")}))) return fail(run, deck, st);
    if ((st = CHECK_COUNT(run, deck, "second deflection count", n, MAX_CURVE_DEFL))) return st;
    c.NLIST2 = n;
    for (int i = 1; i <= n; ++i)
      if ((st = READ_RECORD(deck, {ITEM(c.CURVE_LIST2[i], "second-list deflection")}))) return fail(run, deck, st);
  }
  return ST_OK;
}

int open_curve_file(RUN& run) {
  RUNWIDE& rw = run.store.rw;
  rw.CURVE_CODE_A = 33;
  rw.CURVE_CODE_B = 19;
  const std::string& name = run.files.name[F_CURVE_DATA];
  run.files.curve_binary = run.store.ctl.CURVE_FILE_BINARY != 0;
  if (name.empty()) return ST_OK;  // no curve data file named: nothing to open
  FILE* f = std::fopen(name.c_str(), run.files.curve_binary ? "wb" : "w");
  if (!f)
    return FATAL(run, ST_OUTPUT_FILE,
                 "cannot create the curve data file \"" + name + "\" (Names.dat record 23)");
  run.files.fp[F_CURVE_DATA] = f;
  return ST_OK;
}

}  // namespace

int READ_INPUT(RUN& run) {
  STORE& s = run.store;
  CONTROL& c = s.ctl;
  DECK deck;
  DECK_OPEN(deck, run.files[F_INPUT], "input file \"" + run.files.name[F_INPUT] + "\"");

  // 1. Title and version.
  deck.section = "TITLE";
  int st = READ_TEXT(deck, s.TITLE, 80, "the title line");
  if (st) return fail(run, deck, st);
  char version[81];
  if ((st = READ_TEXT(deck, version, 80, "the version line"))) return fail(run, deck, st);
  FILE* rt = run.files[F_RUNTIME];
  WRITE_F(rt, "()");
  WRITE_F(rt, "(12X,A80)", std::string_view(s.TITLE, 80));
  WRITE_F(rt, "(/)");
  WRITE_F(rt, "(5X,A)", "READING * TITLE AND VERSION");

  // 2. Control record and the group-reduction movements.
  if ((st = READ_HEADER(run, deck, "CONTROL PARAMETERS"))) return st;
  st = READ_RECORD(deck, {ITEM(c.UNITS_SYSTEM, "UNITS_SYSTEM"), ITEM(c.ANALYSIS_TYPE, "ANALYSIS_TYPE"),
                          ITEM(c.CAP_OPTION, "CAP_OPTION"), ITEM(c.FLEX_CAP, "FLEX_CAP"), ITEM(c.USER_PY, "USER_PY"),
                          ITEM(c.USER_LS, "USER_LS"), ITEM(c.USER_TR, "USER_TR"),
                          ITEM(c.SPACING_REDUCTION, "SPACING_REDUCTION"), ITEM(c.NLEI_OPTION, "NLEI_OPTION"),
                          ITEM(c.AXIAL_FACTOR_COLUMN, "AXIAL_FACTOR_COLUMN"), ITEM(c.KPYOP, "KPYOP"),
                          ITEM(c.UNUSED_12, "control value 12"), ITEM(c.DEPTH_FACTORS, "DEPTH_FACTORS"),
                          ITEM(c.SOIL_MOVEMENT, "SOIL_MOVEMENT"), ITEM(c.CURVE_FILE, "CURVE_FILE"),
                          ITEM(c.CURVE_FILE_BINARY, "CURVE_FILE_BINARY")});
  if (st) return fail(run, deck, st);
  if (c.ANALYSIS_TYPE != 2 && c.ANALYSIS_TYPE != 3)
    return DECK_FAIL(run, deck, ST_DECK_RANGE,
                     deck.file_label + ", line " + std::to_string(deck.line_no) +
                         ", section \"" + deck.section + "\": ANALYSIS_TYPE = " + std::to_string(c.ANALYSIS_TYPE) +
                         ", expected 2 (two-dimensional) or 3 (three-dimensional)");
  c.USER_LS_PRESENT = c.USER_LS == 1;
  c.USER_PY_PRESENT = c.USER_PY >= 1;
  // Unit labels and result column headings belong between the control
  // record and the pile cap.
  SET_UNIT_LABELS(s);
  SET_RESULT_HEADINGS(run);
  if ((st = open_curve_file(run))) return st;
  if (c.SPACING_REDUCTION == 3) {
    st = READ_RECORD(deck, {ITEM(c.GROUP_MOVE_Y, "GROUP_MOVE_Y"), ITEM(c.GROUP_MOVE_Z, "GROUP_MOVE_Z")});
    if (st) return fail(run, deck, st);
  }

  // 3.-10. The sections that are always present.
  if ((st = READ_PILE_CAP(run, deck))) return st;
  if ((st = READ_LOAD_CASES(run, deck))) return st;
  if ((st = READ_LOAD_COMBS(run, deck))) return st;
  if ((st = READ_DLOAD_SETS(run, deck))) return st;
  if ((st = READ_ARRANGEMENT(run, deck))) return st;
  if ((st = READ_PILE_PROPERTIES(run, deck))) return st;
  if ((st = READ_CROSS_SECTIONS(run, deck))) return st;
  if ((st = READ_SOIL_LAYERS(run, deck))) return st;
  // 11.-18. The optional sections.
  if (c.KPYOP == 1 && (st = READ_PY_REQUESTS(run, deck))) return st;
  if (c.USER_PY == 1 && (st = READ_USER_PY(run, deck))) return st;
  if (c.USER_LS == 1 && (st = READ_USER_LS(run, deck))) return st;
  if (c.USER_TR == 1 && (st = READ_USER_TR(run, deck))) return st;
  if (c.NLEI_OPTION == 1 && (st = READ_MC_SETS(run, deck))) return st;
  if (c.DEPTH_FACTORS == 1 && (st = READ_DEPTH_FACTORS(run, deck))) return st;
  SOIL_MOVEMENT_RESET(run);
  if (c.SOIL_MOVEMENT == 1 && (st = READ_SOIL_MOVEMENT(run, deck))) return st;
  if (c.CURVE_FILE == 1 && (st = read_curve_options(run, deck))) return st;
  return ST_OK;
}

}  // namespace kestra
