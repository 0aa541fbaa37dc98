// One run of the engine: Names.dat, the run files, the opening blocks, the
// input, the echo and analysis, the closing message and the summary
// completion.
#include "engine/ikestra.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "input/input.h"

namespace kestra {

namespace {

std::string rtrim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) s.pop_back();
  return s;
}

// Reads one line of at most 'width' characters (a longer one is cut).
// Returns false at the end of the file.
bool read_fixed_line(FILE* f, std::size_t width, std::string& out) {
  out.clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (out.size() < width) out.push_back(static_cast<char>(c == '\t' ? ' ' : c));
  }
  if (!out.empty() && out.back() == '\r') out.pop_back();
  return any;
}

// Reads the 25 records of Names.dat. Returns 0 or ST_NAMES_FILE with 'why'.
int read_names(FILES& files, std::string& why) {
  FILE* f = std::fopen("Names.dat", "r");
  if (!f) {
    why = "cannot open Names.dat in the working directory";
    return ST_NAMES_FILE;
  }
  std::string line;
  for (int rec = 1; rec <= NAMES_RECORDS; ++rec) {
    const std::size_t width = rec == 1 ? 12 : NAME_LENGTH;
    if (!read_fixed_line(f, width, line)) {
      std::fclose(f);
      why = "Names.dat ends at record " + std::to_string(rec) + " of 25: expected the " +
            (rec == 1 ? std::string("version text") : "name of file record " + std::to_string(rec));
      return ST_NAMES_FILE;
    }
    if (rec == 1) {
      line.resize(12, ' ');
      files.version = line;
    } else if (rec != NAMES_UNUSED_4) {
      files.name[rec] = rtrim(line);
    }
  }
  std::fclose(f);
  for (int rec : {F_INPUT, F_REPORT, F_SUMMARY, F_PLOT, F_RUNTIME}) {
    if (files.name[rec].empty()) {
      why = "Names.dat record " + std::to_string(rec) + " is blank: expected a file name";
      return ST_NAMES_FILE;
    }
  }
  return ST_OK;
}

const char* role_name(int role) {
  switch (role) {
    case F_INPUT: return "input data file";
    case F_REPORT: return "report file";
    case F_SUMMARY: return "summary file";
    case F_PLOT: return "plot file";
    case F_RUNTIME: return "runtime file";
    case F_CASE_RESULTS: return "case results file";
    case F_RESULTS_TABLE: return "results table file";
    case F_AXIAL_CURVES: return "axial-torsion curve file";
    case F_CAP_TRACE: return "cap iteration trace file";
    case F_TZ_CURVES: return "t-z curve file";
    case F_NODE_RESULTS: return "pile node results file";
    case F_SUMMARY_SCRATCH: return "summary scratch file";
    default: return "file";
  }
}

// Opens one at-start file; an output file is emptied, the input only read.
// Remembers the first failure.
void open_role(RUN& run, int role, const char* mode, int& first_fail, int& fail_status) {
  const std::string& name = run.files.name[role];
  FILE* f = name.empty() ? nullptr : std::fopen(name.c_str(), mode);
  run.files.fp[role] = f;
  if (!f && first_fail == 0) {
    first_fail = role;
    fail_status = role == F_INPUT ? ST_INPUT_FILE : ST_OUTPUT_FILE;
  }
}

void write_file_block(RUN& run) {
  FILE* rep = run.files[F_REPORT];
  const PATH_PARTS in = SPLIT_PATH(run.files.name[F_INPUT]);
  auto base_ext = [&](int role) {
    const PATH_PARTS p = SPLIT_PATH(run.files.name[role]);
    return p.base + p.ext;
  };
  WRITE_F(rep, "(5X,'Path to file locations      : ',A)", in.drive + in.dir);
  WRITE_F(rep, "(5X,'Name of input data file     : ',A)", in.base + in.ext);
  WRITE_F(rep, "(5X,'Name of output file         : ',A)", base_ext(F_REPORT));
  WRITE_F(rep, "(5X,'Name of output summary file : ',A)", base_ext(F_SUMMARY));
  WRITE_F(rep, "(5X,'Name of plot output file    : ',A)", base_ext(F_PLOT));
  WRITE_F(rep, "(5X,'Name of runtime file        : ',A)", base_ext(F_RUNTIME));
  WRITE_F(rep, "(/)");
}

void write_closing(RUN& run, int status) {
  FILE* rt = run.files[F_RUNTIME];
  if (rt) {
    WRITE_F(rt, "(5X)");
    const char* lines[3];
    char unknown[48];
    const int n = CLOSING_LINES(status, lines, unknown);
    for (int i = 0; i < n; ++i) WRITE_F(rt, "(1X,A)", lines[i]);
    COMMIT_RUNTIME(run);
  }
  if (status == ST_STOPPED) {
    for (int role : {F_REPORT, F_SUMMARY}) {
      if (FILE* f = run.files[role]) {
        WRITE_F(f, "(6X)");
        WRITE_F(f, "(6X,'*** ANALYSIS STOPPED BY USER ***')");
      }
    }
  }
}

void complete_summary(RUN& run) {
  FILE* sum = run.files[F_SUMMARY];
  FILE* scratch = run.files[F_SUMMARY_SCRATCH];
  if (!sum) return;
  WRITE_F(sum, "(///)");
  MAIN_HEADING(sum, 0, 17, "SUMMARY FOR LOAD CASES AND COMBINATIONS ");
  if (!scratch) return;
  std::fflush(scratch);
  std::rewind(scratch);
  std::string line;
  while (read_fixed_line(scratch, 120, line)) {
    line = rtrim(line);
    if (line.empty()) line.push_back(' ');
    std::fwrite(line.data(), 1, line.size(), sum);
    std::fputs(" \n", sum);
  }
}

}  // namespace

PATH_PARTS SPLIT_PATH(const std::string& name_in) {
  PATH_PARTS p;
  std::string name = name_in.substr(0, NAME_LENGTH);
  std::size_t pos = 0;
  if (name.size() >= 2 && name[1] == ':') {
    p.drive = name.substr(0, 2);
    pos = 2;
  }
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos && slash >= pos) {
    p.dir = name.substr(pos, slash + 1 - pos);
    pos = slash + 1;
  }
  std::string rest = name.substr(pos);
  const std::size_t dot = rest.find_last_of('.');
  if (dot != std::string::npos) {
    p.ext = rest.substr(dot, 5);
    rest.resize(dot);
  }
  p.base = rest;
  return p;
}

int CLOSING_LINES(int status, const char* (&lines)[3], char (&unknown)[48]) {
  static const char* const ERR = "    * ERROR IN ANALYSIS *";
  static const char* const BEYOND = "    CURRENT DEPTH IS BEYOND THE EXTENT";
  lines[0] = ERR;
  switch (status) {
    case 0: lines[0] = "    ANALYSIS COMPLETED"; return 1;
    case 3:
    case 13:
      lines[1] = "    PILE LENGTH EXTENDS BELOW THE BOTTOM";
      lines[2] = status == 3 ? "    OF THE DEEPEST LAYER, NODE" : "    OF THE DEEPEST LAYER, NODE2D";
      return 3;
    case 4: lines[0] = "     *** ANALYSIS STOPPED BY USER ***"; return 1;
    case 14: lines[1] = "    DETERMINANT OF STIFFNESS MATRIX IS ZERO"; return 2;
    case 21: lines[1] = "    WEAK ROCK, THE COHESIVE STRENGTH IS ZERO"; return 2;
    case 22: lines[1] = BEYOND; lines[2] = "    OF INPUT CURVE FOR UNIT WEIGHT"; return 3;
    case 23: lines[1] = BEYOND; lines[2] = "    OF INPUT CURVE FOR COHESION"; return 3;
    case 24: lines[1] = BEYOND; lines[2] = "    OF INPUT CURVE FOR FRICTION ANGLE"; return 3;
    case 25: lines[1] = BEYOND; lines[2] = "    OF INPUT CURVE FOR SIDE FRICTION"; return 3;
    case 26: lines[1] = BEYOND; lines[2] = "    OF INPUT CURVE FOR SIDE RESISTANCE"; return 3;
    case 27: lines[1] = BEYOND; lines[2] = "    OF INPUT CURVE FOR FRICTION ANGLE"; return 3;
    case 28: lines[1] = "    SILT, THE FRICTION ANGLE IS ZERO"; return 2;
    case 29: lines[1] = "    SILT, SLOPE ANGLE GREATER THAN FRICTION ANGLE"; return 2;
    case 30: lines[1] = "    SAND, THE FRICTION ANGLE IS ZERO"; return 2;
    case 31: lines[1] = "    SAND, SLOPE ANGLE GREATER THAN FRICTION ANGLE"; return 2;
    case 32: lines[1] = "     LS CURVE, E50 VALUE IS ZERO"; return 2;
    case 33: lines[1] = "      LS CURVE, COHESION VALUE IS ZERO"; return 2;
    case 34: lines[1] = "     TORQUE CURVE, E50 VALUE IS ZERO"; return 2;
    case 35: lines[1] = "     TORQUE CURVE, COHESION VALUE IS ZERO"; return 2;
    case 36:
      lines[1] = "     CONVERGENCE ERROR, ";
      lines[2] = "     WHILE COMPUTING AXIAL FORCES ALONG PILE";
      return 3;
    default:
      std::snprintf(unknown, sizeof unknown, "    %d, UNKNOWN CODE", status);
      lines[1] = unknown;
      return 2;
  }
}

void CLOSE_ALL(RUN& run) {
  for (int role = 1; role <= NAMES_RECORDS; ++role) {
    if (run.files.fp[role]) {
      std::fclose(run.files.fp[role]);
      run.files.fp[role] = nullptr;
    }
  }
}

int RUN_IKESTRA(RUN& run, int analysis_option, const std::tm* clock) {
  // 1. Any other request: nothing is touched.
  if (analysis_option != 20) return ST_BAD_OPTION;
  // 2. A fresh store for every run: a second run in one process gives the
  //    results of a fresh process. The internal switches are its defaults.
  RUN_RESET(run);
  // 3. The file-name list.
  std::string why;
  int st = read_names(run.files, why);
  if (st != ST_OK) {
    std::fprintf(stderr, "kestra: %s\n", why.c_str());
    return st;
  }
  // 4.-6. The at-start files, in order. An output that cannot be created
  //    stops the run once the runtime file (if it could be) is open.
  int first_fail = 0, fail_status = ST_OK;
  open_role(run, F_INPUT, "r", first_fail, fail_status);
  for (int role : {F_REPORT, F_SUMMARY, F_PLOT, F_RUNTIME, F_CASE_RESULTS, F_RESULTS_TABLE, F_AXIAL_CURVES})
    open_role(run, role, "w", first_fail, fail_status);
  if (FILE* p = std::fopen(run.files.name[F_PROGRESS].c_str(), "w")) {
    std::fputs(" - ANALYSIS STARTED\n\n", p);
    std::fclose(p);
  }
  for (int role : {F_CAP_TRACE, F_TZ_CURVES, F_NODE_RESULTS})
    open_role(run, role, "w", first_fail, fail_status);
  open_role(run, F_SUMMARY_SCRATCH, "w+", first_fail, fail_status);
  if (first_fail != 0) {
    const std::string msg = std::string("cannot ") + (first_fail == F_INPUT ? "open the " : "create the ") +
                            role_name(first_fail) + " \"" + run.files.name[first_fail] + "\" (Names.dat record " +
                            std::to_string(first_fail) + ")";
    FATAL(run, fail_status, msg);
    write_closing(run, fail_status);
    CLOSE_ALL(run);
    return fail_status;
  }
  // 7. Stop check before any output.
  if (STOP_REQUESTED(run)) {
    CLOSE_ALL(run);
    return ST_STOPPED;
  }
  // 8. Banners.
  WRITE_BANNER(run.files[F_REPORT], run.files.version);
  WRITE_BANNER(run.files[F_SUMMARY], run.files.version);
  WRITE_RUNTIME_BANNER(run.files[F_RUNTIME], run.files.version);
  COMMIT_RUNTIME(run);
  // 9. File block.
  write_file_block(run);
  // 10. Date and time, taken once.
  if (clock) {
    run.clock = *clock;
  } else {
    const std::time_t now = std::time(nullptr);
    std::tm* lt = std::localtime(&now);
    if (lt) run.clock = *lt;
  }
  WRITE_DATE_BLOCK(run.files[F_RUNTIME], run.clock);
  WRITE_DATE_BLOCK(run.files[F_REPORT], run.clock);
  WRITE_DATE_BLOCK(run.files[F_SUMMARY], run.clock);
  // Run-wide values set after the date block.
  SET_ENTRY_VALUES(run);
  // 11.-12. Input, echo and analysis.
  st = READ_INPUT(run);
  if (st == ST_OK) st = ECHO_INPUT(run);
  run.status = st;
  // 13.-15.
  write_closing(run, st);
  complete_summary(run);
  CLOSE_ALL(run);
  return st;
}

}  // namespace kestra
