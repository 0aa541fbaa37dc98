// Per-pile summary tables of the summary file.
#include "output/summary_tables.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/format.h"
#include "engine/writers.h"
#include "output/headings.h"
#include "output/pile_results.h"

namespace kestra {

double SCRATCH_NUMBER(const std::string& field) {
  std::size_t a = 0, b = field.size();
  while (a < b && std::isspace(static_cast<unsigned char>(field[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(field[b - 1]))) --b;
  if (a == b || field.find('*', a) < b) return 0.0;
  const std::string t = field.substr(a, b - a);
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || !std::isfinite(v)) return 0.0;
  // 0.12345+100: the exponent of three digits without its letter.
  if ((*end == '+' || *end == '-') && std::isdigit(static_cast<unsigned char>(end[1]))) {
    const long e = std::strtol(end, nullptr, 10);
    v *= std::pow(10.0, static_cast<double>(e));
    if (!std::isfinite(v)) return 0.0;
  }
  return v;
}

namespace {

// Field of a fixed-layout line; blanks past its end.
std::string field_at(const char* line, std::size_t len, std::size_t pos, std::size_t w) {
  if (pos >= len) return std::string();
  return std::string(line + pos, std::min(w, len - pos));
}

bool read_line(FILE* f, char (&buf)[512], std::size_t& len) {
  if (!std::fgets(buf, sizeof buf, f)) return false;
  len = std::strlen(buf);
  if (len > 0 && buf[len - 1] != '\n' && !std::feof(f)) {
    // Longer than any record: drop the rest.
    int c;
    while ((c = std::fgetc(f)) != EOF && c != '\n') {
    }
  }
  while (len > 0 && (buf[len - 1] == '\n' || buf[len - 1] == '\r')) --len;
  return true;
}

// Head record: 5X,I6,6X then values of 12 columns every 14.
bool head_record(FILE* f, int n, double* v, double* extra, int& pile) {
  char buf[512];
  std::size_t len = 0;
  if (!read_line(f, buf, len) || len < 11) return false;
  pile = static_cast<int>(SCRATCH_NUMBER(field_at(buf, len, 5, 6)));
  for (int k = 1; k <= n; ++k) v[k] = SCRATCH_NUMBER(field_at(buf, len, 17 + 14 * (k - 1), 12));
  if (extra) *extra = SCRATCH_NUMBER(field_at(buf, len, 17 + 14 * n, 12));
  return true;
}

// Column-extreme records: 1X,I8,2X then 2X,E12.5 per column, or the
// coordinate label in 11 columns then 3X,F11.4 per column.
bool column_record(FILE* f, bool coords, double* v) {
  char buf[512];
  std::size_t len = 0;
  if (!read_line(f, buf, len) || len < 11) return false;
  for (int k = 1; k <= RESULT_COLUMNS; ++k)
    v[k] = coords ? SCRATCH_NUMBER(field_at(buf, len, 11 + 14 * (k - 1) + 3, 11))
                  : SCRATCH_NUMBER(field_at(buf, len, 11 + 14 * (k - 1) + 2, 12));
  return true;
}

// Running extremes over the piles: the first pile sets both, a later one
// replaces them only when strictly beyond.
struct RUNNING {
  int n = 0;
  bool seen = false;
  double mn[RESULT_COLUMNS + 1] = {}, mx[RESULT_COLUMNS + 1] = {};
  int pmn[RESULT_COLUMNS + 1] = {}, pmx[RESULT_COLUMNS + 1] = {};
  void add(int pile, const double* v, const double* v_max = nullptr) {
    if (!v_max) v_max = v;
    for (int k = 1; k <= n; ++k) {
      if (!seen || v[k] < mn[k]) {
        mn[k] = v[k];
        pmn[k] = pile;
      }
      if (!seen || v_max[k] > mx[k]) {
        mx[k] = v_max[k];
        pmx[k] = pile;
      }
    }
    seen = true;
  }
};

void values_13(FILE* f, const double* v, int n) {
  for (int k = 1; k <= n; ++k) WRITE_REAL(f, 13, 4, v[k]);
  END_LINE(f);
}

void pile_numbers_13(FILE* f, const int* p, int n) {
  WRITE_F(f, "(5X,'  Pile N. ',4X,$)");
  for (int k = 1; k <= n; ++k) {
    WRITE_INT(f, 6, p[k]);
    WRITE_BLANKS(f, 7);
  }
  std::fputc('\n', f);
}

enum HEAD_TABLE { GLOBAL_DISP, GLOBAL_FORCE, LOCAL_DISP, LOCAL_FORCE, LOCAL_STRESS };

void head_heading(const RUN& run, FILE* f, HEAD_TABLE t, bool three_d) {
  const LABELS& l = run.store.labels;
  const std::string L2(l.LENGTH_LABEL, 2), F3(l.FORCE_LABEL, 3);
  const char* stars6 = "(6X,'**********',2X,'***********',2X,'***********',2X,'***********',2X,'***********',2X,"
                       "'***********',2X,'***********')";
  const char* stars3 = "(6X,'**********',2X,'***********',2X,'***********',2X,'***********')";
  switch (t) {
    case GLOBAL_DISP:
    case LOCAL_DISP: {
      const bool lc = t == LOCAL_DISP;
      if (three_d)
        WRITE_F(f,
                lc ? "(/,5X,' PILE GROUP  ',' DISP. x,',A2,3X,'DISP. y,',A2,3X,'DISP. z,',A2,3X,'ROT. x,',A3,3X,"
                     "'ROT. y,',A3,3X,'ROT. z,',A3,2X)"
                   : "(/,5X,' PILE GROUP  ',' DISP. X,',A2,3X,'DISP. Y,',A2,3X,'DISP. Z,',A2,3X,'ROT. X,',A3,3X,"
                     "'ROT. Y,',A3,3X,'ROT. Z,',A3,2X)",
                L2, L2, L2, "RAD", "RAD", "RAD");
      else
        WRITE_F(f,
                lc ? "(/,5X,' PILE GROUP  ',' DISP. x,',A2,3X,'DISP. y,',A2,3X,'ROT. z,',A3,2X)"
                   : "(/,5X,' PILE GROUP  ',' DISP. X,',A2,3X,'DISP. Y,',A2,3X,'ROT. Z,',A3,2X)",
                L2, L2, "RAD");
      WRITE_F(f, three_d ? stars6 : stars3);
      break;
    }
    case GLOBAL_FORCE:
      if (three_d)
        WRITE_F(f,
                "(/,5X,' PILE GROUP  ',' FOR. X,',A3,3X,'FOR. Y,',A3,3X,'FOR. Z,',A3,1X,'MOM X,',A3,A1,A2,1X,"
                "'MOM Y,',A3,A1,A2,1X,'MOM Z,',A3,A1,A2)",
                F3, F3, F3, F3, "-", L2, F3, "-", L2, F3, "-", L2);
      else
        WRITE_F(f, "(/,5X,' PILE GROUP  ',' FOR. X,',A3,3X,'FOR. Y,',A3,1X,'MOM Z,',A3,A1,A2)", F3, F3, F3, "-", L2);
      WRITE_F(f, three_d ? stars6 : stars3);
      break;
    case LOCAL_FORCE:
      if (three_d)
        WRITE_F(f,
                "(/,5X,' PILE GROUP ','  AXIAL,',A3,4X,'LAT. y,',A3,3X,'LAT. z,',A3,1X,'MOM x,',A3,A1,A2,1X,"
                "'MOM y,',A3,A1,A2,1X,'MOM z,',A3,A1,A2)",
                F3, F3, F3, F3, "-", L2, F3, "-", L2, F3, "-", L2);
      else
        WRITE_F(f, "(/,5X,' PILE GROUP ','  AXIAL,',A3,4X,'LAT. y,',A3,1X,'MOM z,',A3,A1,A2)", F3, F3, F3, "-", L2);
      WRITE_F(f, three_d ? stars6 : stars3);
      break;
    case LOCAL_STRESS:
      WRITE_F(f, "(/,5X,' PILE GROUP ',2X,'STRESS,',A3,A1,A2,A2,A1,/,6X,'**********',2X,'****************')", F3, "/",
              L2, "**", "2");
      break;
  }
}

void head_table(const RUN& run, FILE* f, const std::vector<PILE_EXTREMES>& piles, HEAD_TABLE t, int n) {
  const bool three_d = n == 6;
  if (t == GLOBAL_DISP || t == LOCAL_DISP) WRITE_F(f, "(7X,'* PILE TOP DISPLACEMENTS *')");
  if (t == GLOBAL_FORCE || t == LOCAL_FORCE) WRITE_F(f, "(/,7X,'* PILE TOP REACTIONS *')");
  head_heading(run, f, t, three_d);
  RUNNING r;
  r.n = t == LOCAL_STRESS ? 1 : n;
  for (const PILE_EXTREMES& p : piles) {
    double one[2] = {0.0, p.STRESS};
    const double* v = t == GLOBAL_DISP    ? p.GLOBAL_DISP
                      : t == GLOBAL_FORCE ? p.GLOBAL_FORCE
                      : t == LOCAL_DISP   ? p.LOCAL_DISP
                      : t == LOCAL_FORCE  ? p.LOCAL_FORCE
                                          : one;
    WRITE_BLANKS(f, 5);
    WRITE_INT(f, 6, p.PILE);
    WRITE_BLANKS(f, 5);
    values_13(f, v, r.n);
    r.add(p.PILE, v);
  }
  if (!r.seen) return;
  END_LINE(f);
  WRITE_F(f, "(5X,'  MINIMUM  ',$)");
  values_13(f, r.mn, r.n);
  pile_numbers_13(f, r.pmn, r.n);
  WRITE_F(f, "(5X,'  MAXIMUM  ',$)");
  values_13(f, r.mx, r.n);
  pile_numbers_13(f, r.pmx, r.n);
}

void extremes_table(RUN& run, FILE* f, const std::vector<PILE_EXTREMES>& piles, bool maximum,
                    const int (&cols)[RESULT_COLUMNS + 1]) {
  WRITE_F(f, maximum ? "(/,7X,'* MAXIMUM VALUES AND LOCATIONS *')" : "(/,7X,'* MINIMUM VALUES AND LOCATIONS *')");
  WRITE_HEADING_BLOCK(run, f, true, cols);
  const std::string label = "x(" + std::string(run.store.labels.LENGTH_LABEL, 2) + ")";
  RUNNING r;
  r.n = RESULT_COLUMNS;
  for (const PILE_EXTREMES& p : piles) {
    const double* v = maximum ? p.MAX : p.MIN;
    const double* at = maximum ? p.MAX_AT : p.MIN_AT;
    WRITE_BLANKS(f, 1);
    WRITE_INT(f, 8, p.PILE);
    WRITE_BLANKS(f, 1);
    for (int k = 1; k <= RESULT_COLUMNS; ++k)
      if (cols[k] > 0) WRITE_REAL(f, 12, 4, v[k]);
    END_LINE(f);
    WRITE_F(f, "(5X,A5,$)", label);
    for (int k = 1; k <= RESULT_COLUMNS; ++k)
      if (cols[k] > 0) WRITE_REAL(f, 12, 4, at[k]);
    END_LINE(f);
    r.add(p.PILE, v);
  }
  if (!r.seen) return;
  WRITE_F(f, maximum ? "(6X,'Max.',$)" : "(6X,'Min.',$)");
  for (int k = 1; k <= RESULT_COLUMNS; ++k)
    if (cols[k] > 0) WRITE_REAL(f, 12, 4, maximum ? r.mx[k] : r.mn[k]);
  END_LINE(f);
  WRITE_F(f, "(3X,'Pile N.  ',$)");
  for (int k = 1; k <= RESULT_COLUMNS; ++k) {
    if (cols[k] <= 0) continue;
    WRITE_INT(f, 6, maximum ? r.pmx[k] : r.pmn[k]);
    WRITE_BLANKS(f, 6);
  }
  END_LINE(f);
}

}  // namespace

bool READ_PILE_EXTREMES(FILE* f, int n, PILE_EXTREMES& out) {
  out = PILE_EXTREMES{};
  int pile = 0, other = 0;
  double stress_global = 0.0;
  if (!head_record(f, n, out.GLOBAL_DISP, nullptr, pile)) return false;
  if (!head_record(f, n, out.GLOBAL_FORCE, &stress_global, other)) return false;
  if (!head_record(f, n, out.LOCAL_DISP, nullptr, other)) return false;
  if (!head_record(f, n, out.LOCAL_FORCE, &out.STRESS, other)) return false;
  if (!column_record(f, false, out.MIN) || !column_record(f, true, out.MIN_AT)) return false;
  if (!column_record(f, false, out.MAX) || !column_record(f, true, out.MAX_AT)) return false;
  out.PILE = pile;
  return true;
}

void SUMMARY_COLUMNS(const RUN& run, const int* select, int (&columns)[RESULT_COLUMNS + 1]) {
  for (int k = 0; k <= RESULT_COLUMNS; ++k) columns[k] = 0;
  const int npiles = std::max(run.store.piles.NPILES, 1);
  for (int g = 1; g <= npiles && g <= MAX_PILES; ++g) {
    int all[RESULT_COLUMNS + 1];
    RESULT_COLUMN_FLAGS(run, g, false, all);
    for (int k = 1; k <= RESULT_COLUMNS; ++k)
      if (all[k] && select[k] > 0) columns[k] = 1;
  }
}

void WRITE_SUMMARY_TABLES(RUN& run, const int* select) {
  FILE* sum = run.files[F_SUMMARY];
  if (!sum) return;
  const int n = run.store.ctl.ANALYSIS_TYPE == 3 ? 6 : 3;
  int cols[RESULT_COLUMNS + 1];
  SUMMARY_COLUMNS(run, select, cols);

  // The extreme-values scratch file, read back pile by pile.
  std::vector<PILE_EXTREMES> piles;
  const std::string& name = run.files.name[F_EXTREME_SCRATCH];
  if (!name.empty()) {
    if (FILE* ext = std::fopen(name.c_str(), "r")) {
      PILE_EXTREMES p;
      while (READ_PILE_EXTREMES(ext, n, p)) piles.push_back(p);
      std::fclose(ext);
    }
  }

  WRITE_F(sum, "(/,/,7X,'THE GLOBAL STRUCTURAL COORDINATE SYSTEM',/,7X,'---------------------------------------',/)");
  head_table(run, sum, piles, GLOBAL_DISP, n);
  head_table(run, sum, piles, GLOBAL_FORCE, n);
  WRITE_F(sum, "(/,/,7X,'THE PILE COORDINATE SYSTEM (LOCAL AXES)',/,7X,'---------------------------------------',/)");
  head_table(run, sum, piles, LOCAL_DISP, n);
  head_table(run, sum, piles, LOCAL_FORCE, n);
  head_table(run, sum, piles, LOCAL_STRESS, n);
  WRITE_F(sum, "(/,7X,'* EFFECTS FOR LATERALLY LOADED PILE *   ')");
  extremes_table(run, sum, piles, false, cols);
  extremes_table(run, sum, piles, true, cols);
}

void SUMMARY_PILE_TABLES(RUN& run) { WRITE_SUMMARY_TABLES(run, run.store.an.cur.OUTPUT_SELECT.data()); }

}  // namespace kestra
