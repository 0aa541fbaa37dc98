// The driver over load cases and combinations: headings, controls, applied
// loads, the cap solution of every case and combination, the progress and
// stop protocol, and the curve outputs at the end.
#include "group/driver.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/format.h"
#include "engine/report.h"
#include "group/cap_solve_2d.h"
#include "group/cap_solve_3d.h"
#include "group/loads.h"
#include "group/stiffness_passes.h"
#include "output/curve_data_file.h"
#include "output/envelopes.h"
#include "output/results_report.h"
#include "soil/py_print.h"

namespace kestra {

namespace {

void copy_controls(ANALYSIS& an, const LOAD_CONTROLS& l) {
  CURRENT_CONTROLS& c = an.cur;
  c.MAXIT_CAP = l.MAXIT_CAP;
  c.MAXIT_PILE = l.MAXIT_PILE;
  c.TOL_CAP = l.TOL_CAP;
  c.TOL_PILE = l.TOL_PILE;
  c.LOAD_INCREMENT = l.LOAD_INCREMENT;
  c.MIN_INCREMENT = l.MIN_INCREMENT;
  c.USE_ALT_TOL = l.USE_ALT_TOL;
  c.ALT_TOL_DISP = l.ALT_TOL_DISP;
  c.ALT_TOL_ROT = l.ALT_TOL_ROT;
  c.AXIAL_VARIATION = l.AXIAL_VARIATION;
  c.PRINT_OPTION = l.PRINT_OPTION;
  c.PRINT_EVERY = std::max(l.PRINT_EVERY, 1);  // a node step below 1 is 1
  c.LOADING = l.LOADING;
  c.NCYCLES = static_cast<double>(l.NCYCLES);
  c.OUTPUT_SELECT = l.OUTPUT_SELECT;
}


// The minimum and maximum envelopes over the cases or the combinations.
void print_envelopes(RUN& run, bool combinations) {
  PRINT_ENVELOPES(run, combinations ? ENV_SET_COMBS : ENV_SET_CASES);
}

// The cap solution of the analysis type. A 2D load case or combination
// carries its in-plane moment in slot 3, where the 2D solution reads it (and
// so does the saved load).
int solve_cap(RUN& run, int kind) {
  int flag = 0;
  VEC6 load, disp;
  if (run.store.ctl.ANALYSIS_TYPE == 3) return CAP_SOLVE_3D(run, kind, flag, load, disp);
  MOVE_MOMENT_TO_SLOT_3(run.store);
  run.store.an.SAVED_LOAD = run.store.loads.EQ_LOAD;
  return CAP_SOLVE_2D(run, kind, flag, load, disp);
}

void close_role(RUN& run, int role) {
  if (run.files.fp[role]) {
    std::fclose(run.files.fp[role]);
    run.files.fp[role] = nullptr;
  }
}

void open_role(RUN& run, int role) {
  close_role(run, role);
  const std::string& name = run.files.name[role];
  if (!name.empty()) run.files.fp[role] = std::fopen(name.c_str(), "w");
}

// Progress and the stop check. Returns true on a stop request.
bool progress_and_stop(RUN& run, std::string_view fmt, int m, int n) {
  std::string text = FORMAT(fmt, {m, n});
  if (!text.empty() && text.back() == '\n') text.pop_back();
  PROGRESS(run, text);
  return STOP_REQUESTED(run);
}

int stopped(RUN& run) {
  close_role(run, F_FOUND_STIFFNESS);
  close_role(run, F_DISP_SCRATCH);
  run.store.py.PY_PHASE = 0;
  run.store.an.PASS_FLAG = 0;
  return ST_STOPPED;
}

int failed(RUN& run, int st) {
  close_role(run, F_PILE_STIFFNESS);
  close_role(run, F_FOUND_STIFFNESS);
  close_role(run, F_DISP_SCRATCH);
  run.store.py.PY_PHASE = 0;
  run.store.an.PASS_FLAG = 0;
  return st;
}

void group_heading(RUN& run, const char* title) {
  const std::string t(title);
  if (FILE* ss = run.files[F_SUMMARY_SCRATCH]) WRITE_F(ss, "(/,/,17X,'*****',5X,A,5X,'*****')", t);
  for (int role : {F_REPORT, F_SUMMARY})
    if (FILE* f = run.files[role]) WRITE_F(f, "(/,/,/,/,17X,'*****',5X,A,5X,'*****')", t);
  for (int role : {F_RESULTS_TABLE, F_CASE_RESULTS})
    if (FILE* f = run.files[role]) WRITE_F(f, "(A)", t);
}

}  // namespace

int RUN_DRIVER(RUN& run) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  LOAD_DATA& ld = s.loads;
  const std::string_view title(s.TITLE, 80);
  FILE* rep = run.files[F_REPORT];
  FILE* sum = run.files[F_SUMMARY];
  FILE* rt = run.files[F_RUNTIME];

  s.py.PY_PHASE = 0;
  an.PASS_FLAG = 0;
  ENVELOPE_RESET(run);

  // Headings of the computation results in every file.
  if (rt) WRITE_F(rt, "(/,/,/,5X,'COMPUTATION IS PROCEEDING......')");
  COMMIT_RUNTIME(run);
  for (FILE* f : {rep, sum}) {
    if (!f) continue;
    WRITE_F(f, "(/,/,/,/,17X,'*****',5X,'COMPUTATION RESULTS',5X,'*****',/)");
    WRITE_F(f, "(/,/,5X,A80)", title);
  }
  if (FILE* t = run.files[F_RESULTS_TABLE]) {
    WRITE_F(t, "('** COMPUTATION RESULTS **')");
    WRITE_F(t, "(A80)", title);
  }
  if (FILE* c = run.files[F_CASE_RESULTS]) {
    WRITE_F(c, "('COMPUTATION RESULTS')");
    WRITE_F(c, "(A80)", title);
  }
  an.PRINTED = 0;
  open_role(run, F_FOUND_STIFFNESS);

  // Load cases.
  an.IN_COMBINATIONS = 0;
  an.COUNT = ld.NLC;
  for (int m = 1; m <= ld.NLC; ++m) {
    LOAD_CASE& lc = ld.CASE[m];
    an.CURRENT = m;
    // Started; stop check.
    if (progress_and_stop(run, "('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,' STARTED',/,/)", m, ld.NLC)) return stopped(run);
    // The group heading at the first case.
    if (m == 1) {
      if (FILE* ss = run.files[F_SUMMARY_SCRATCH]) WRITE_F(ss, "(/,/,5X,'* TABLE L *   COMPUTATION ON PILE CAP')");
      group_heading(run, "LOAD CASES RESULTS ");
      an.PRINTED = 1;
      ENVELOPE_RESET(run);
    }
    // The case heading.
    const std::string_view name(lc.NAME, LOAD_NAME_CHARS);
    for (FILE* f : {rep, sum, rt})
      if (f) WRITE_F(f, "(/,/,/,5X,'LOAD CASE : ',I5,/,5X,'CASE NAME : ',A80)", m, name);
    COMMIT_RUNTIME(run);
    for (FILE* f : {rep, sum})
      if (f) WRITE_F(f, "(5X,'LOAD TYPE : ',A32)", LOAD_TYPE_NAME(lc.LOAD_TYPE));
    for (int role : {F_RESULTS_TABLE, F_CASE_RESULTS})
      if (FILE* f = run.files[role]) WRITE_F(f, "('LOAD CASE : ',I5)", m);
    // A case that is not to be analysed.
    if (lc.NOT_ANALYZED == 1) {
      for (FILE* f : {rep, sum, rt})
        if (f) WRITE_F(f, "(5X,'NOTE: LOAD CASE WILL NOT BE ANALYZED')");
      if (FILE* c = run.files[F_CASE_RESULTS]) {
        WRITE_F(c, "('       ANALYSIS TO NOT RUN   ')");
        WRITE_F(c, "('     9 ANALYSIS NOT PERFORMED')");
      }
      continue;
    }
    // Controls and loads of the case.
    if (FILE* ss = run.files[F_SUMMARY_SCRATCH]) WRITE_F(ss, "(/,5X,'LOAD CASE : ',I5)", m);
    if (FILE* tr = run.files[F_CAP_TRACE]) WRITE_F(tr, "('LOAD CASE : ',I5)", m);
    copy_controls(an, lc);
    an.cur.STIFFNESS_DATA = lc.STIFFNESS_DATA;
    an.cur.STIFF_TABLES = lc.STIFF_TABLES;
    an.cur.STIFF_DIAGONAL = lc.STIFF_DIAGONAL;
    an.cur.NLEVELS = lc.NLEVELS;
    an.cur.BENDING_RF = an.cur.SHEAR_RF = 1.0;
    CASE_RESULTANT(s, m);
    if (an.cur.STIFFNESS_DATA < 1)
      CASE_DIST_LOADS(s, m);
    else
      CLEAR_DIST_LOADS(s);
    // Stiffness passes, then the analysis under the total load.
    const int np = STIFFNESS_SETUP(run, m);
    for (int p = 1; p <= np; ++p) {
      const int st = STIFFNESS_PASS(run, m, p);
      if (st != ST_OK) {
        STIFFNESS_FINISH(run, m, 0);
        return st == ST_STOPPED ? stopped(run) : failed(run, st);
      }
    }
    STIFFNESS_FINISH(run, m, np);
    CASE_RESULTANT(s, m);
    CASE_DIST_LOADS(s, m);
    ADD_AXIAL_HEAD_LOADS(s);
    an.SAVED_LOAD = ld.EQ_LOAD;
    ld.EQ_LOAD = an.SAVED_LOAD;
    if (np > 0) {
      LOG_RUNTIME(run, "ANALYSIS DUE TO TOTAL LOAD");
      if (FILE* tr = run.files[F_CAP_TRACE]) WRITE_F(tr, "('ANALYSIS DUE TO TOTAL LOAD')");
    }
    if (FILE* c = run.files[F_CASE_RESULTS]) WRITE_F(c, "(6X,'ANALYSIS DUE TO TOTAL LOAD')");
    open_role(run, F_PILE_STIFFNESS);
    if (FILE* ps = run.files[F_PILE_STIFFNESS]) WRITE_F(ps, "('LOAD CASE : ',I5)", m);
    int st = solve_cap(run, 0);
    close_role(run, F_PILE_STIFFNESS);
    if (st == ST_STOPPED) return stopped(run);
    if (st != ST_OK) return failed(run, st);
    // Finished; stop check.
    std::string done = FORMAT("('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,' FINISHED',/,/)", {m, ld.NLC});
    if (rt) WRITE_F(rt, "('     ANALYSIS FOR LOAD CASE ',I3,'/',I3,' FINISHED',/,/)", m, ld.NLC);
    COMMIT_RUNTIME(run);
    if (!done.empty() && done.back() == '\n') done.pop_back();
    PROGRESS(run, done);
    if (STOP_REQUESTED(run)) return stopped(run);
  }

  // After the load cases.
  close_role(run, F_FOUND_STIFFNESS);
  // Without load cases there is no set to envelope.
  if (ld.CASE_ENVELOPE > 0 && ld.NLC > 0) print_envelopes(run, false);

  // Load combinations.
  an.IN_COMBINATIONS = 1;
  an.COUNT = ld.NCOMB;
  for (int j = 1; j <= ld.NCOMB; ++j) {
    LOAD_COMB& lc = ld.COMB[j];
    an.CURRENT = j;
    // Started; stop check.
    if (progress_and_stop(run, "('- ANALYSIS FOR LOAD COMB. ',I3,'/',I3,' STARTED',/,/)", j, ld.NCOMB))
      return stopped(run);
    an.cur.STIFFNESS_DATA = 0;
    // The group heading at the first combination.
    if (j == 1) {
      group_heading(run, "LOAD COMBINATIONS RESULTS ");
      an.PRINTED = 1;
      ENVELOPE_RESET(run);
    }
    // The combination heading.
    const std::string_view name(lc.NAME, LOAD_NAME_CHARS);
    for (FILE* f : {rep, sum, rt})
      if (f) WRITE_F(f, "(/,/,/,5X,'LOAD COMB. : ',I5,/,5X,'COMB. NAME : ',A80)", j, name);
    COMMIT_RUNTIME(run);
    for (int role : {F_RESULTS_TABLE, F_CASE_RESULTS})
      if (FILE* f = run.files[role]) WRITE_F(f, "('LOAD COMB. : ',I5)", j);
    // A combination that is not to be analysed.
    if (lc.NOT_ANALYZED == 1) {
      for (FILE* f : {rep, sum, rt})
        if (f) WRITE_F(f, "(5X,'NOTE: LOAD COMB WILL NOT BE ANALYZED')");
      if (FILE* c = run.files[F_CASE_RESULTS]) {
        WRITE_F(c, "('       ANALYSIS TO NOT RUN   ')");
        WRITE_F(c, "('     9 ANALYSIS NOT PERFORMED')");
      }
      continue;
    }
    // Controls and loads of the combination, and its analysis.
    if (FILE* ss = run.files[F_SUMMARY_SCRATCH]) WRITE_F(ss, "(/,5X,'LOAD COMB : ',I5)", j);
    copy_controls(an, lc);
    an.cur.STIFFNESS_DATA = an.cur.STIFF_TABLES = an.cur.STIFF_DIAGONAL = an.cur.NLEVELS = 0;
    an.cur.BENDING_RF = lc.BENDING_RF;
    an.cur.SHEAR_RF = lc.SHEAR_RF;
    COMB_RESULTANT(s, j);
    COMB_DIST_LOADS(s, j);
    ADD_AXIAL_HEAD_LOADS(s);
    an.SAVED_LOAD = ld.EQ_LOAD;
    if (FILE* c = run.files[F_CASE_RESULTS]) WRITE_F(c, "(6X,'ANALYSIS DUE TO TOTAL LOAD')");
    int st = solve_cap(run, 1);
    if (st == ST_STOPPED) return stopped(run);
    if (st != ST_OK) return failed(run, st);
    // Finished; stop check.
    std::string done = FORMAT("('- ANALYSIS FOR LOAD COMB. ',I3,'/',I3,' FINISHED',/,/)", {j, ld.NCOMB});
    if (rt) WRITE_F(rt, "('     ANALYSIS FOR LOAD COMB. ',I3,'/',I3,' FINISHED',/,/)", j, ld.NCOMB);
    COMMIT_RUNTIME(run);
    if (!done.empty() && done.back() == '\n') done.pop_back();
    PROGRESS(run, done);
    if (STOP_REQUESTED(run)) return stopped(run);
  }

  // After the combinations.
  if (ld.COMB_ENVELOPE > 0 && ld.NCOMB > 0) print_envelopes(run, true);
  // 19. The requested p-y curves (Table N).
  if (const int st = PY_REQUEST_OUTPUT(run); st != ST_OK) return failed(run, st);
  // 20.
  if (s.ctl.CURVE_FILE != 0) {
    if (const int st = CURVE_DATA_FILE(run); st != ST_OK) return failed(run, st);
  }
  // 21. Phase and pass flags back to rest.
  s.py.PY_PHASE = 0;
  an.PASS_FLAG = 0;
  an.IN_COMBINATIONS = 0;
  return ST_OK;
}

}  // namespace kestra
