// The state handle of one run: the model store, the open files and the
// status. IKESTRA owns the only production instance and passes it to every
// procedure; tests build their own (engine/run.cpp: RUN_RESET).
#pragma once

#include <cstdio>
#include <ctime>
#include <string>

#include "engine/limits.h"
#include "engine/status.h"
#include "engine/store.h"

namespace kestra {

// Roles of the 25 records of Names.dat (1-based record numbers).
enum FILE_ROLE : int {
  NAMES_VERSION = 1,
  NAMES_UNUSED_2 = 2,
  NAMES_UNUSED_3 = 3,
  NAMES_UNUSED_4 = 4,
  F_INPUT = 5,
  F_REPORT = 6,
  F_SUMMARY = 7,
  F_PLOT = 8,
  F_RUNTIME = 9,
  F_CASE_RESULTS = 10,
  F_RESULTS_TABLE = 11,
  F_PROGRESS = 12,
  F_AXIAL_CURVES = 13,
  F_FLEX_SCRATCH = 14,
  F_DISP_SCRATCH = 15,
  F_EXTREME_SCRATCH = 16,
  F_STOP_REQUEST = 17,
  F_PILE_STIFFNESS = 18,
  F_FOUND_STIFFNESS = 19,
  F_FAIL_WARNINGS = 20,
  F_CAP_TRACE = 21,
  F_TZ_CURVES = 22,
  F_CURVE_DATA = 23,
  F_NODE_RESULTS = 24,
  F_SUMMARY_SCRATCH = 25,
};

struct FILES {
  std::string version;                        // record 1, 12 characters
  std::string name[NAMES_RECORDS + 1];        // records 2..25, trailing blanks removed
  FILE* fp[NAMES_RECORDS + 1] = {};           // open files by role (progress and stop: never kept open)
  bool curve_binary = false;                  // the curve data file is binary
  FILE* operator[](int role) const { return fp[role]; }
};

struct RUN {
  STORE store;
  FILES files;
  int status = ST_OK;
  std::tm clock{};          // the local date and time, taken once per run
};

// Clears a run: a fresh store (every table zero, every default in place),
// no files, status 0.
void RUN_RESET(RUN& run);

}  // namespace kestra
