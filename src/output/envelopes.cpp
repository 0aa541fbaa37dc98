// Envelopes over the printed analyses of a set and their printing.
#include "output/envelopes.h"

#include <algorithm>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "output/headings.h"
#include "output/pile_results.h"
#include "output/summary_tables.h"

namespace kestra {

void ENVELOPE_RESET(RUN& run) {
  ENVELOPES& e = run.store.an.env;
  e.COUNT = 0;
  e.LOAD_MAX = e.LOAD_MIN = e.DISP_MAX = e.DISP_MIN = VEC6{};
  for (auto& v : e.HEAD_MAX) v.fill(0.0);
  for (auto& v : e.HEAD_MIN) v.fill(0.0);
  e.HEAD_SEEN.fill(0);
  e.TABLE.clear();
}

void ENVELOPE_CAP_UPDATE(RUN& run) {
  ANALYSIS& an = run.store.an;
  ENVELOPES& e = an.env;
  const VEC6& L = run.store.loads.EQ_LOAD;
  const bool first = e.COUNT == 0;
  for (int k = 1; k <= 6; ++k) {
    e.LOAD_MAX[k] = first ? L[k] : std::max(e.LOAD_MAX[k], L[k]);
    e.LOAD_MIN[k] = first ? L[k] : std::min(e.LOAD_MIN[k], L[k]);
    e.DISP_MAX[k] = first ? an.U[k] : std::max(e.DISP_MAX[k], an.U[k]);
    e.DISP_MIN[k] = first ? an.U[k] : std::min(e.DISP_MIN[k], an.U[k]);
  }
  ++e.COUNT;
}

// The global head values come as arguments; the local ones and the head
// stress are those the printing pass has just left in the store.
void ENVELOPE_HEAD_UPDATE(RUN& run, int g, const VEC6& disp, const VEC6& force) {
  ANALYSIS& an = run.store.an;
  ENVELOPES& e = an.env;
  if (g < 1 || g > MAX_PILES) return;
  std::array<double, HEAD_ENV_VALUES + 1> v{};
  for (int k = 1; k <= 6; ++k) {
    v[HEAD_ENV_GLOBAL_DISP + k] = disp[k];
    v[HEAD_ENV_GLOBAL_FORCE + k] = force[k];
    v[HEAD_ENV_LOCAL_DISP + k] = an.HEAD_LOCAL_DISP[k];
    v[HEAD_ENV_LOCAL_FORCE + k] = an.HEAD_LOCAL_FORCE[k];
  }
  v[HEAD_ENV_STRESS] = an.HEAD_STRESS;
  const bool first = e.HEAD_SEEN[g] == 0;
  for (int k = 1; k <= HEAD_ENV_VALUES; ++k) {
    e.HEAD_MAX[g][k] = first ? v[k] : std::max(e.HEAD_MAX[g][k], v[k]);
    e.HEAD_MIN[g][k] = first ? v[k] : std::min(e.HEAD_MIN[g][k], v[k]);
  }
  e.HEAD_SEEN[g] = 1;
}

void ENVELOPE_TABLE_UPDATE(RUN& run, int g) {
  ANALYSIS& an = run.store.an;
  ENVELOPES& e = an.env;
  if (g < 1 || g > MAX_PILES) return;
  const std::size_t need = static_cast<std::size_t>(std::max(run.store.piles.NPILES, g)) + 1;
  if (e.TABLE.size() < need) e.TABLE.resize(need);
  PILE_TABLE_ENVELOPE& t = e.TABLE[static_cast<std::size_t>(g)];
  const int N = std::clamp(an.work.N, 0, MAX_INCREMENTS);
  const bool first = t.SEEN == 0;
  // A pile keeps its nodes from one analysis to the next; should the count
  // change, the envelope starts again at the new nodes.
  const bool restart = first || t.N != N;
  for (int k = 1; k <= RESULT_COLUMNS; ++k) {
    const NODE_VALUES& col = an.RESULTS_TABLE[k];
    for (int m = 0; m <= N; ++m) {
      const double v = col[NODE(m)];
      t.MAX[k][m] = restart ? v : std::max(t.MAX[k][m], v);
      t.MIN[k][m] = restart ? v : std::min(t.MIN[k][m], v);
    }
  }
  t.SEEN = 1;
  t.N = N;
  t.h = an.work.h;
}

namespace {

const char* envelope_name(int kind) { return kind == ENV_MINIMUM ? "MINIMUM ENVELOPE" : "MAXIMUM ENVELOPE"; }

void headings(RUN& run, int set, int kind) {
  const bool cases = set == ENV_SET_CASES;
  const std::string digit(1, kind == ENV_MINIMUM ? '1' : '2');
  const char* name = envelope_name(kind);
  for (int role : {F_REPORT, F_SUMMARY})
    if (FILE* f = run.files[role])
      WRITE_F(f,
              cases ? "(/,/,/,5X,'LOAD CASE ENV : ',A1,/,5X,'CASE NAME     : ',A)"
                    : "(/,/,/,5X,'LOAD COMB. ENV : ',A1,/,5X,'COMB. NAME     : ',A)",
              digit, name);
  if (FILE* t = run.files[F_RESULTS_TABLE])
    WRITE_F(t, cases ? "('LOAD CASE ENV : ',A1)" : "('LOAD COMB. ENV : ',A1)", digit);
  if (FILE* c = run.files[F_CASE_RESULTS]) {
    WRITE_F(c, cases ? "('LOAD CASE ENV : ',A1,/,6X,A)" : "('LOAD COMB. ENV : ',A1,/,6X,A)", digit, name);
    WRITE_F(c, "('    1 CALCULATED AND PRINTED')");
  }
}

// The values of one head group in the three or six slots of the analysis.
int head_slots(const RUN& run, int (&slot)[6]) {
  if (run.store.ctl.ANALYSIS_TYPE == 3) {
    for (int k = 0; k < 6; ++k) slot[k] = k + 1;
    return 6;
  }
  slot[0] = 1;
  slot[1] = 2;
  slot[2] = 6;
  return 3;
}

// One pile-top line of the results table file: the displacements, the
// forces and the stress, each group after 5 blanks, 2 blanks after every
// displacement and force.
void table_file_line(FILE* t, const double* v, int base_disp, int base_force, int stress_at, const int* slot, int n) {
  for (int group : {base_disp, base_force}) {
    WRITE_BLANKS(t, 5);
    for (int k = 0; k < n; ++k) {
      WRITE_REAL(t, 15, 8, v[group + slot[k]]);
      WRITE_BLANKS(t, 2);
    }
  }
  WRITE_BLANKS(t, 5);
  WRITE_REAL(t, 15, 8, v[stress_at]);
  END_LINE(t);
}

void extreme_head_records(FILE* ext, int g, const double* v, const int* slot, int n) {
  if (!ext) return;
  const auto x = [&](int base, int k) { return v[base + slot[k]]; };
  if (n == 6) {
    for (int b : {HEAD_ENV_GLOBAL_DISP, HEAD_ENV_LOCAL_DISP}) {
      const int f = b == HEAD_ENV_GLOBAL_DISP ? HEAD_ENV_GLOBAL_FORCE : HEAD_ENV_LOCAL_FORCE;
      WRITE_F(ext, "(5X,I6,6X,1P,6(G12.5,2X))", g, x(b, 0), x(b, 1), x(b, 2), x(b, 3), x(b, 4), x(b, 5));
      WRITE_F(ext, "(5X,I6,6X,1P,3(G12.5,2X),3(G12.5,2X),G12.5)", g, x(f, 0), x(f, 1), x(f, 2), x(f, 3), x(f, 4),
              x(f, 5), v[HEAD_ENV_STRESS]);
    }
  } else {
    for (int b : {HEAD_ENV_GLOBAL_DISP, HEAD_ENV_LOCAL_DISP}) {
      const int f = b == HEAD_ENV_GLOBAL_DISP ? HEAD_ENV_GLOBAL_FORCE : HEAD_ENV_LOCAL_FORCE;
      WRITE_F(ext, "(5X,I6,6X,1P,3(G12.5,2X))", g, x(b, 0), x(b, 1), x(b, 2));
      WRITE_F(ext, "(5X,I6,6X,1P,3(G12.5,2X),G12.5)", g, x(f, 0), x(f, 1), x(f, 2), v[HEAD_ENV_STRESS]);
    }
  }
}

void report_values(FILE* f, const double* v, int base, const int* slot, int n) {
  for (int k = 0; k < n; ++k) {
    WRITE_BLANKS(f, 3);
    WRITE_REAL(f, 13, 4, v[base + slot[k]]);
  }
  END_LINE(f);
}

// The pile-top block of an envelope in the report.
void report_head(RUN& run, FILE* rep, int g, const double* v, const int* slot, int n) {
  const LABELS& l = run.store.labels;
  const std::string L2(l.LENGTH_LABEL, 2), F3(l.FORCE_LABEL, 3);
  const bool three_d = n == 6;
  WRITE_F(rep, "(/,/,7X,'* PILE GROUP *',I6)", g);
  WRITE_F(rep, "(/,/,8X,'* PILE TOP DISPLACEMENTS AND REACTIONS *',/)");
  for (int local = 0; local < 2; ++local) {
    WRITE_F(rep, local ? "(/,7X,'THE PILE COORDINATE SYSTEM (LOCAL AXES)',/,7X,'---------------------------------------',/)"
                       : "(/,7X,'THE GLOBAL STRUCTURAL COORDINATE SYSTEM',/,7X,'---------------------------------------',/)");
    if (three_d) {
      if (local)
        WRITE_F(rep, "(/,5X,' DISP. x,',A2,3X,'DISP. y,',A2,3X,'DISP. z,',A2,3X,'ROT. x,',A3,3X,'ROT. y,',A3,3X,'ROT. z,',A3,2X)",
                L2, L2, L2, "RAD", "RAD", "RAD");
      else
        WRITE_F(rep, "(/,5X,' DISP. X,',A2,3X,'DISP. Y,',A2,3X,'DISP. Z,',A2,3X,'ROT. X,',A3,3X,'ROT. Y,',A3,3X,'ROT. Z,',A3,2X)",
                L2, L2, L2, "RAD", "RAD", "RAD");
    } else {
      if (local)
        WRITE_F(rep, "(/,5X,' DISP. x,',A2,3X,'DISP. y,',A2,3X,'ROT. z,',A3,2X)", L2, L2, "RAD");
      else
        WRITE_F(rep, "(/,5X,' DISP. X,',A2,3X,'DISP. Y,',A2,3X,'ROT. Z,',A3,2X)", L2, L2, "RAD");
    }
    report_values(rep, v, local ? HEAD_ENV_LOCAL_DISP : HEAD_ENV_GLOBAL_DISP, slot, n);
    if (three_d) {
      if (local)
        WRITE_F(rep, "(/,5X,'  AXIAL,',A3,3X,'LAT. y,',A3,3X,'LAT. z,',A3,2X,'MOM x,',A3,A1,A2,1X,'MOM y,',A3,A1,A2,1X,'MOM z,',A3,A1,A2)",
                F3, F3, F3, F3, "-", L2, F3, "-", L2, F3, "-", L2);
      else
        WRITE_F(rep, "(/,5X,' FOR. X,',A3,3X,'FOR. Y,',A3,3X,'FOR. Z,',A3,2X,'MOM X,',A3,A1,A2,1X,'MOM Y,',A3,A1,A2,1X,'MOM Z,',A3,A1,A2)",
                F3, F3, F3, F3, "-", L2, F3, "-", L2, F3, "-", L2);
    } else {
      if (local)
        WRITE_F(rep, "(/,5X,'  AXIAL,',A3,3X,'LAT. y,',A3,2X,'MOM z,',A3,A1,A2)", F3, F3, F3, "-", L2);
      else
        WRITE_F(rep, "(/,5X,' FOR. X,',A3,3X,'FOR. Y,',A3,2X,'MOM Z,',A3,A1,A2)", F3, F3, F3, "-", L2);
    }
    report_values(rep, v, local ? HEAD_ENV_LOCAL_FORCE : HEAD_ENV_GLOBAL_FORCE, slot, n);
    WRITE_F(rep, "(/,5X,'STR,',A3,A1,A2,A2,A1)", F3, "/", L2, "**", "2");
    const int one[1] = {0};
    report_values(rep, v, HEAD_ENV_STRESS, one, 1);
  }
}

// Column extremes of an envelope table to the extreme-values scratch file,
// in the four lines of a printing pass (the first node wins a tie).
void column_extremes(RUN& run, FILE* ext, int g, const std::array<std::array<double, MAX_NODES>, RESULT_COLUMNS + 1>& T,
                     int N, double h) {
  if (!ext) return;
  double mn[RESULT_COLUMNS + 1], mx[RESULT_COLUMNS + 1], xmn[RESULT_COLUMNS + 1], xmx[RESULT_COLUMNS + 1];
  for (int k = 1; k <= RESULT_COLUMNS; ++k) {
    mn[k] = mx[k] = T[k][0];
    xmn[k] = xmx[k] = 0.0;
    for (int m = 1; m <= N; ++m) {
      const double v = T[k][m];
      if (v < mn[k]) {
        mn[k] = v;
        xmn[k] = m * h;
      }
      if (v > mx[k]) {
        mx[k] = v;
        xmx[k] = m * h;
      }
    }
  }
  const std::string L(run.store.labels.LENGTH_LABEL, 2);
  auto line = [&](const double* v, bool coords) {
    if (coords) {
      WRITE_F(ext, "(1X,4X,'x(',A2,')',1X,$)", L);
      for (int k = 1; k <= RESULT_COLUMNS; ++k) WRITE_F(ext, "(3X,F11.4,$)", v[k]);
    } else {
      WRITE_F(ext, "(1X,I8,2X,$)", g);
      for (int k = 1; k <= RESULT_COLUMNS; ++k) WRITE_F(ext, "(2X,E12.5,$)", v[k]);
    }
    std::fputc('\n', ext);
  };
  line(mn, false);
  line(xmn, true);
  line(mx, false);
  line(xmx, true);
}

}  // namespace

void PRINT_ENVELOPE(RUN& run, int set, int kind) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  const ENVELOPES& e = an.env;
  const LOAD_DATA& ld = s.loads;
  const bool cases = set == ENV_SET_CASES;
  const bool maximum = kind == ENV_MAXIMUM;
  const int print = cases ? ld.CASE_ENV_PRINT : ld.COMB_ENV_PRINT;
  const int every = std::max(cases ? ld.CASE_ENV_EVERY : ld.COMB_ENV_EVERY, 1);
  const auto& select = cases ? ld.CASE_ENV_SELECT : ld.COMB_ENV_SELECT;
  FILE* rep = run.files[F_REPORT];
  FILE* sum = run.files[F_SUMMARY];

  // 1. Headings.
  headings(run, set, kind);

  // 2. Table L of the cap envelope.
  const VEC6& Q = maximum ? e.LOAD_MAX : e.LOAD_MIN;
  const VEC6& U = maximum ? e.DISP_MAX : e.DISP_MIN;
  WRITE_TABLE_L_LINES(run, rep, Q, U, 8, 18, 5);
  WRITE_TABLE_L_LINES(run, sum, Q, U, 5, 19, 4);
  WRITE_TABLE_L_RESULTS_FILE(run, Q, U);

  // 3. Table M.
  for (FILE* f : {rep, sum})
    if (f) WRITE_F(f, "(/,/,/,5X,'* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");
  if (FILE* t = run.files[F_RESULTS_TABLE]) WRITE_F(t, "('* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");

  // 4. The piles, with the extreme-values scratch file emptied.
  FILE*& ext = run.files.fp[F_EXTREME_SCRATCH];
  if (ext) std::fclose(ext);
  ext = run.files.name[F_EXTREME_SCRATCH].empty() ? nullptr
                                                  : std::fopen(run.files.name[F_EXTREME_SCRATCH].c_str(), "w+");
  int slot[6];
  const int n = head_slots(run, slot);
  const PILE_TABLE_ENVELOPE blank{};
  for (int g = 1; g <= s.piles.NPILES && g <= MAX_PILES; ++g) {
    const double* v = (maximum ? e.HEAD_MAX[g] : e.HEAD_MIN[g]).data();
    if (FILE* t = run.files[F_RESULTS_TABLE]) {
      WRITE_F(t, "('* PILE GROUP *',I6)", g);
      WRITE_F(t, "(7X,'* PILE TOP DISP. AND REACT. GLOBAL')");
      table_file_line(t, v, HEAD_ENV_GLOBAL_DISP, HEAD_ENV_GLOBAL_FORCE, HEAD_ENV_STRESS, slot, n);
      WRITE_F(t, "(7X,'* PILE TOP DISP. AND REACT. LOCAL')");
      table_file_line(t, v, HEAD_ENV_LOCAL_DISP, HEAD_ENV_LOCAL_FORCE, HEAD_ENV_STRESS, slot, n);
    }
    extreme_head_records(ext, g, v, slot, n);
    if (print > 0 && rep) report_head(run, rep, g, v, slot, n);

    // The table along the pile.
    const PILE_TABLE_ENVELOPE& te = static_cast<std::size_t>(g) < e.TABLE.size() ? e.TABLE[static_cast<std::size_t>(g)] : blank;
    const auto& T = maximum ? te.MAX : te.MIN;
    const int N = te.N;
    const double h = te.h;
    int all[RESULT_COLUMNS + 1];
    RESULT_COLUMN_FLAGS(run, g, false, all);
    if (FILE* t = run.files[F_RESULTS_TABLE]) {
      WRITE_F(t, "(8X,'* EFFECTS FOR LATERALLY LOADED PILE *   ')");
      WRITE_INT(t, 10, RESULT_COLUMNS);
      for (int k = 1; k <= RESULT_COLUMNS; ++k) WRITE_INT(t, 5, all[k]);
      std::fputc('\n', t);
      for (int m = 0; m <= N; ++m) {
        WRITE_BLANKS(t, 6);
        WRITE_REAL(t, 16, 8, m * h);
        for (int k = 1; k <= RESULT_COLUMNS; ++k)
          if (all[k]) WRITE_REAL(t, 16, 8, T[k][m]);
        END_LINE(t);
      }
    }
    if (print > 1 && rep) {
      int sel[RESULT_COLUMNS + 1];
      for (int k = 0; k <= RESULT_COLUMNS; ++k) sel[k] = k > 0 && all[k] && select[k] > 0;
      WRITE_F(rep, "(/,/,8X,'* EFFECTS FOR LATERALLY LOADED PILE *   ',/)");
      WRITE_HEADING_BLOCK(run, rep, false, sel);
      const int step = std::min(every, std::max(N, 1));
      for (int m = 0; m <= N; m += step) {
        WRITE_BLANKS(rep, 1);
        WRITE_REAL(rep, 12, 4, m * h);
        for (int k = 1; k <= RESULT_COLUMNS; ++k)
          if (sel[k] > 0) WRITE_REAL(rep, 12, 4, T[k][m]);
        END_LINE(rep);
      }
    }
    column_extremes(run, ext, g, T, N, h);
  }
  if (ext) {
    std::fclose(ext);
    ext = nullptr;
  }

  // 5. The per-pile summary tables with the envelope's column selection.
  WRITE_SUMMARY_TABLES(run, select.data());
}

void PRINT_ENVELOPES(RUN& run, int set) {
  PRINT_ENVELOPE(run, set, ENV_MINIMUM);
  PRINT_ENVELOPE(run, set, ENV_MAXIMUM);
}

}  // namespace kestra
