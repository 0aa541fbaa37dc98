// Computation results of one analysed load, and the envelopes they feed.
#include "output/results_report.h"

#include <algorithm>
#include <string>

#include "engine/format.h"
#include "engine/report.h"
#include "engine/writers.h"
#include "group/pile_head.h"

namespace kestra {

namespace {

void values(FILE* f, int lead, int w, int d, const double* v, int n) {
  WRITE_BLANKS(f, lead);
  for (int k = 0; k < n; ++k) WRITE_REAL(f, w, d, v[k]);
  END_LINE(f);
}

void table_l_3d_report(RUN& run, FILE* f, const VEC6& Q, const VEC6& U, int lead, int w, int d, bool iterations) {
  const STORE& s = run.store;
  const LABELS& l = s.labels;
  const std::string F4(l.FORCE_LABEL4, 4), L2(l.LENGTH_LABEL, 2), F3(l.FORCE_LABEL, 3);
  // The moment unit FORCE-LENGTH in the fields A2, A1, A3 ("LB", "S", "-IN").
  const std::string M2 = F3.substr(0, 2), M1 = F3.substr(2, 1), M3 = "-" + L2;
  WRITE_F(f, "(/,/,/,5X,'* TABLE L *   COMPUTATION ON PILE CAP')");
  WRITE_F(f, "(/,/,5X,'* EQUIVALENT CONC. LOAD AT ORIGIN *')");
  WRITE_F(f, "(/,/,11X,'VERT. LOAD,',A4,4X,'HOR. LOAD Y,',A4,3X,'HOR. LOAD Z,',A4)", F4, F4, F4);
  values(f, lead, w, d, &Q[1], 3);
  WRITE_F(f, "(/,10X,'MOMENT X ,',A2,A1,A3,4X,'MOMENT Y,',A2,A1,A3,4X,'MOMENT Z,',A2,A1,A3)", M2, M1, M3, M2, M1, M3, M2, M1, M3);
  values(f, lead, w, d, &Q[4], 3);
  WRITE_F(f, "(/,/,5X,'* DISPLACEMENT OF GROUPED PILE ','FOUNDATION AT ORIGIN *')");
  WRITE_F(f, "(/,/,10X,'  VERTICAL ,',A2,6X,'HORIZONTAL Y,',A2,5X,'HORIZONTAL Z,',A2)", L2, L2, L2);
  values(f, lead, w, d, &U[1], 3);
  WRITE_F(f, "(/,10X,'ANGLE ROT. X,',A3,4X,'ANGLE ROT. Y,',A3,4X,'ANGLE ROT. Z,',A3)", "RAD", "RAD", "RAD");
  values(f, lead, w, d, &U[4], 3);
  if (iterations) WRITE_F(f, "(/,/,10X,'NUMBER OF GLOBAL ITERATIONS = ',I4)", s.an.CAP_ITERATIONS);
}

void table_l_2d_report(RUN& run, FILE* f, const VEC6& Q, const VEC6& U, int lead, int w, int d, bool iterations) {
  const STORE& s = run.store;
  const LABELS& l = s.labels;
  const std::string F4(l.FORCE_LABEL4, 4), L2(l.LENGTH_LABEL, 2), F3(l.FORCE_LABEL, 3);
  // The moment unit FORCE-LENGTH in the fields A2, A1, A3 ("LB", "S", "-IN").
  const std::string M2 = F3.substr(0, 2), M1 = F3.substr(2, 1), M3 = "-" + L2;
  const double q[3] = {Q[1], Q[2], Q[6]}, u[3] = {U[1], U[2], U[6]};
  WRITE_F(f, "(/,/,/,5X,'* TABLE L *   COMPUTATION ON PILE CAP')");
  WRITE_F(f, "(/,/,5X,'* EQUIVALENT CONC. LOAD AT ORIGIN *')");
  WRITE_F(f, "(/,13X,'VERT. LOAD,',A4,4X,'HORI. LOAD,',A4,4X,'MOMENT,',A2,A1,A3)", F4, F4, M2, M1, M3);
  values(f, lead, w, d, q, 3);
  WRITE_F(f, "(/,/,5X,'* DISPLACEMENT OF GROUPED PILE ','FOUNDATION AT ORIGIN *')");
  WRITE_F(f, "(/,16X,'VERTICAL,',A2,6X,'HORIZONTAL,',A2,5X,'ROTATION,',A3)", L2, L2, "RAD");
  values(f, lead, w, d, u, 3);
  if (iterations) WRITE_F(f, "(/,/,10X,'NUMBER OF ITERATIONS = ',I3)", s.an.CAP_ITERATIONS);
}

}  // namespace

void WRITE_TABLE_L(RUN& run) {
  STORE& s = run.store;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  const LABELS& l = s.labels;
  const std::string L2(l.LENGTH_LABEL, 2), F3(l.FORCE_LABEL, 3);
  const std::string M2 = F3.substr(0, 2), M1 = F3.substr(2, 1), M3 = "-" + L2;
  const VEC6& Q = s.loads.EQ_LOAD;
  const VEC6& U = s.an.U;
  FILE* rep = run.files[F_REPORT];
  if (rep) {
    if (three_d)
      table_l_3d_report(run, rep, Q, U, 5, 19, 5, true);
    else
      table_l_2d_report(run, rep, Q, U, 10, 18, 5, true);
  }
  if (FILE* rt = run.files[F_RUNTIME]) {
    WRITE_F(rt, "(/,10X,'NUMBER OF GLOBAL ITERATIONS = ',I4,/)", s.an.CAP_ITERATIONS);
    COMMIT_RUNTIME(run);
  }
  if (FILE* ss = run.files[F_SUMMARY_SCRATCH]) {
    WRITE_F(ss, "(/,5X,'* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *')");
    if (three_d) {
      WRITE_F(ss,
              "(8X,3X,'LOAD X,',A3,2X,3X,'LOAD Y,',A3,2X,3X,'LOAD Z,',A3,2X,1X,' MOM X,',A2,A1,A3,1X,1X,"
              "' MOM Y,',A2,A1,A3,1X,1X,' MOM Z,',A2,A1,A3)",
              F3, F3, F3, M2, M1, M3, M2, M1, M3, M2, M1, M3);
      values(ss, 7, 15, 5, &Q[1], 6);
    } else {
      const double q[3] = {Q[1], Q[2], Q[6]};
      WRITE_F(ss, "(8X,3X,'LOAD X,',A3,2X,3X,'LOAD Y,',A3,2X,1X,' MOM Z,',A2,A1,A3)", F3, F3, M2, M1, M3);
      values(ss, 7, 15, 5, q, 3);
    }
    WRITE_F(ss, "(/,5X,'* DISPLACEMENT OF GROUPED PILE ','FOUNDATION AT ORIGIN *')");
    if (three_d) {
      WRITE_F(ss,
              "(8X,4X,'DISP X,',A2,2X,4X,'DISP Y,',A2,2X,4X,'DISP Z,',A2,2X,3X,' ROT X,',A3,2X,3X,' ROT Y,',A3,2X,"
              "3X,' ROT Z,',A3)",
              L2, L2, L2, "RAD", "RAD", "RAD");
      values(ss, 7, 15, 5, &U[1], 6);
    } else {
      const double u[3] = {U[1], U[2], U[6]};
      WRITE_F(ss, "(8X,4X,'DISP X,',A2,2X,4X,'DISP Y,',A2,2X,3X,' ROT Z,',A3)", L2, L2, "RAD");
      values(ss, 7, 15, 5, u, 3);
    }
  }
  if (FILE* sum = run.files[F_SUMMARY]) {
    if (three_d)
      table_l_3d_report(run, sum, Q, U, 5, 19, 5, false);
    else
      table_l_2d_report(run, sum, Q, U, 10, 18, 5, false);
  }
  WRITE_TABLE_L_RESULTS_FILE(run, Q, U);
}

void WRITE_TABLE_L_LINES(RUN& run, FILE* f, const VEC6& Q, const VEC6& U, int lead, int w, int d) {
  if (!f) return;
  if (run.store.ctl.ANALYSIS_TYPE == 3)
    table_l_3d_report(run, f, Q, U, lead, w, d, false);
  else
    table_l_2d_report(run, f, Q, U, lead, w, d, false);
}

void WRITE_TABLE_L_RESULTS_FILE(RUN& run, const VEC6& Q, const VEC6& U) {
  const bool three_d = run.store.ctl.ANALYSIS_TYPE == 3;
  if (FILE* t = run.files[F_RESULTS_TABLE]) {
    const int n = three_d ? 6 : 3;
    const double q2[3] = {Q[1], Q[2], Q[6]}, u2[3] = {U[1], U[2], U[6]};
    const double* q = three_d ? &Q[1] : q2;
    const double* u = three_d ? &U[1] : u2;
    WRITE_F(t, "(5X,'* TABLE L *   COMPUTATION ON PILE CAP')");
    WRITE_F(t, "('* EQUIVALENT CONC. LOAD AT ORIGIN *')");
    for (int k = 0; k < n; ++k) {
      WRITE_REAL(t, 18, 8, q[k]);
      WRITE_BLANKS(t, 5);
    }
    END_LINE(t);
    WRITE_F(t, "('* DISPLACEMENT OF PILE CAP AT ORIGIN *')");
    for (int k = 0; k < n; ++k) {
      WRITE_REAL(t, 18, 8, u[k]);
      WRITE_BLANKS(t, 5);
    }
    END_LINE(t);
  }
}

int RESULTS_REPORT(RUN& run) {
  STORE& s = run.store;
  ANALYSIS& an = s.an;
  const bool three_d = s.ctl.ANALYSIS_TYPE == 3;
  FILE* rep = run.files[F_REPORT];
  FILE* sum = run.files[F_SUMMARY];

  WRITE_TABLE_L(run);
  // The cap envelope; the first printed analysis of a group starts it.
  if (an.PRINTED == 1) ENVELOPE_RESET(run);
  ENVELOPE_CAP_UPDATE(run);

  // Partial load and the completion line.
  const double f = an.FRACTION;
  if (f < 1.0) {
    for (FILE* out : {rep, sum})
      if (out)
        WRITE_F(out,
                "(/,5X,'** WARNING **  ','  KESTRA COULD NOT GET SOLUTION FOR 100% OF THE LOAD',/,5X,"
                "'               ','  RESULTS ARE FOR ',F8.2,'% OF THE TOTAL LOAD',/)",
                100.0 * f);
    if (FILE* cr = run.files[F_CASE_RESULTS]) WRITE_F(cr, "('    2 SOLUTION AT ',F8.2,' % OF THE TOTAL LOAD')", 100.0 * f);
  } else if (FILE* cr = run.files[F_CASE_RESULTS]) {
    WRITE_F(cr, "('    1 ANALYSIS COMPLETED')");
  }

  // Passive resistance and the Table M heading.
  const LABELS& l = s.labels;
  const std::string F3(l.FORCE_LABEL, 3), L3(l.LENGTH_LABEL3, 3);
  if (an.cur.PRINT_OPTION > 0) {
    const bool passive = three_d ? (s.ctl.CAP_OPTION >= 1 && s.piles.CAP_SPRINGS == 0) : s.ctl.CAP_OPTION == 1;
    for (FILE* out : {rep, sum}) {
      if (!out) continue;
      if (passive) {
        WRITE_F(out, "(/,/,5X,'* PASIVE RESISTANCE IN PILE CAP *')");
        if (three_d) {
          WRITE_F(out, "(/,5X,8X,'HOR. LOAD Y,',A3,4X,'HOR. LOAD Z,',A3,6X,'POSITION,',A3)", F3, F3, L3);
          const double v[3] = {an.PASSIVE_Y, an.PASSIVE_Z, an.PASSIVE_POS};
          values(out, 5, 19, 5, v, 3);
        } else {
          WRITE_F(out, "(/,5X,9X,'HORI. LOAD,',A3,6X,'POSITION,',A3)", F3, L3);
          const double v[2] = {an.PASSIVE_Y, an.PASSIVE_POS};
          values(out, 10, 18, 5, v, 2);
        }
      }
      WRITE_F(out, "(/,/,/,5X,'* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");
    }
  }
  if (FILE* t = run.files[F_RESULTS_TABLE]) WRITE_F(t, "('* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");

  // The printing pass, with the extreme-values scratch file emptied.
  FILE*& ext = run.files.fp[F_EXTREME_SCRATCH];
  if (ext) std::fclose(ext);
  ext = run.files.name[F_EXTREME_SCRATCH].empty() ? nullptr
                                                  : std::fopen(run.files.name[F_EXTREME_SCRATCH].c_str(), "w+");
  an.PASS_FLAG = 1;
  int st = ST_OK;
  if (three_d) {
    const VEC6 U = an.U;
    VEC6 R;
    st = CAP_RESISTANCE(run, U, R);
    an.U = U;
  }
  // >>> 2D: the 2D cap solution runs its row loop (CAP_RESISTANCE_2D) at U
  //     here; each row records itself through RECORD_PILE_2D. <<<
  an.PASS_FLAG = 0;
  if (ext) {
    std::fclose(ext);
    ext = nullptr;
  }
  // The column selection and the per-pile summary tables.
  SUMMARY_PILE_TABLES(run);
  // One more printed analysis in this group.
  ++an.PRINTED;
  return st;
}

}  // namespace kestra
