// The input echo: Tables B to K from the store, the derived model arrays,
// and then the analysis.
#include <string_view>

#include "engine/format.h"
#include "engine/report.h"
#include "group/driver.h"
#include "input/input.h"
#include "input/sections.h"

namespace kestra {

int ECHO_TABLES(RUN& run) {
  STORE& s = run.store;
  FILE* rep = run.files[F_REPORT];
  WRITE_F(rep, "(/)");
  MAIN_HEADING(rep, 0, 16, "INPUT INFORMATION");
  WRITE_F(rep, "(/)");
  WRITE_F(rep, "(5X,A80)", std::string_view(s.TITLE, 80));
  WRITE_F(rep, "()");
  WRITE_F(rep, "(5X,'ANALYSIS TYPE = ',I1,'D ANALYSIS')", s.ctl.ANALYSIS_TYPE);
  WRITE_F(rep, "()");
  WRITE_F(rep, "(5X,'UNITS SYSTEM  = ',A4)", std::string_view(s.labels.UNITS_NAME, 4));

  int st;
  if ((st = ECHO_TABLE_B(run))) return st;
  if ((st = ECHO_TABLE_C(run))) return st;
  if ((st = ECHO_TABLE_D(run))) return st;
  if ((st = ECHO_TABLE_E(run))) return st;
  if ((st = ECHO_TABLE_F(run))) return st;
  if ((st = ECHO_PY_REQUESTS(run))) return st;
  if ((st = ECHO_TABLES_GHI(run))) return st;
  if ((st = ECHO_TABLE_J(run))) return st;
  if ((st = ECHO_TABLES_J1_J2_K(run))) return st;
  return ST_OK;
}

int ECHO_INPUT(RUN& run) {
  const int st = ECHO_TABLES(run);
  if (st) return st;
  return RUN_DRIVER(run);
}

}  // namespace kestra
