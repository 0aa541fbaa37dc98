// The computation results of an analysed load: Table L, the passive
// resistance table, the Table M heading, and the pile results of the
// printing pass (head tables, per-node tables, extremes) and of the
// equivalent-stiffness pass.
#include "output/results_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "group/group_fixture.h"
#include "group/pile_head.h"
#include "output/headings.h"
#include "output/pile_results.h"
#include "output/row_results_2d.h"

using namespace kestra;

namespace {

std::string text_of(FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string s;
  char buf[4096];
  while (std::fgets(buf, sizeof buf, f)) s += buf;
  return s;
}

struct FILES_OF {
  RUN& run;
  explicit FILES_OF(RUN& r, std::vector<int> roles) : run(r) {
    for (int role : roles) run.files.fp[role] = std::tmpfile();
  }
  std::string operator[](int role) { return run.files.fp[role] ? text_of(run.files.fp[role]) : std::string(); }
  ~FILES_OF() {
    for (int role = 1; role <= NAMES_RECORDS; ++role)
      if (run.files.fp[role]) {
        std::fclose(run.files.fp[role]);
        run.files.fp[role] = nullptr;
      }
  }
};

std::unique_ptr<RUN> english_pile() {
  auto run = kestra_test::make_group({{0.0, 0.0, 0.0}});
  run->store.ctl.UNITS_SYSTEM = 1;
  SET_UNIT_LABELS(run->store);
  SET_RESULT_HEADINGS(*run);
  return run;
}

TEST(TableL, ThreeDimensionalLayout) {
  auto run = english_pile();
  FILES_OF files(*run, {F_REPORT, F_RUNTIME, F_SUMMARY, F_SUMMARY_SCRATCH, F_RESULTS_TABLE});
  run->store.loads.EQ_LOAD = {0, 1000.0, 20.0, -30.0, 400.0, 0.0, 5.0E6};
  run->store.an.U = {0, 0.25, 1.0E-3, 0.0, 0.0, 2.0E-5, -1.0E-4};
  run->store.an.CAP_ITERATIONS = 7;
  WRITE_TABLE_L(*run);
  const std::string rep = files[F_REPORT];
  EXPECT_EQ(rep,
            "\n\n\n     * TABLE L *   COMPUTATION ON PILE CAP\n"
            "\n\n     * EQUIVALENT CONC. LOAD AT ORIGIN *\n"
            "\n\n           VERT. LOAD, LBS    HOR. LOAD Y, LBS   HOR. LOAD Z, LBS\n"
            "                 1000.00            20.0000           -30.0000 \n"
            "\n          MOMENT X ,LBS-IN    MOMENT Y,LBS-IN    MOMENT Z,LBS-IN\n"
            "                 400.000            0.00000        5.00000E+06 \n"
            "\n\n     * DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN *\n"
            "\n\n            VERTICAL ,IN      HORIZONTAL Y,IN     HORIZONTAL Z,IN\n"
            "                 0.25000        1.00000E-03            0.00000 \n"
            "\n          ANGLE ROT. X,RAD    ANGLE ROT. Y,RAD    ANGLE ROT. Z,RAD\n"
            "                 0.00000        2.00000E-05       -1.00000E-04 \n"
            "\n\n          NUMBER OF GLOBAL ITERATIONS =    7\n");
  EXPECT_EQ(files[F_RUNTIME], "\n          NUMBER OF GLOBAL ITERATIONS =    7\n\n");
  // The summary file repeats the report's blocks without the iteration line.
  EXPECT_EQ(files[F_SUMMARY], rep.substr(0, rep.find("\n\n          NUMBER")));
  const std::string ss = files[F_SUMMARY_SCRATCH];
  EXPECT_NE(ss.find("           LOAD X,LBS     LOAD Y,LBS     LOAD Z,LBS    MOM X,LBS-IN   MOM Y,LBS-IN   MOM Z,LBS-IN\n"
                   "               1000.00        20.0000       -30.0000        400.000        0.00000    5.00000E+06 \n"),
            std::string::npos);
  const std::string tab = files[F_RESULTS_TABLE];
  EXPECT_EQ(tab.substr(0, tab.find('\n')), "     * TABLE L *   COMPUTATION ON PILE CAP");
  EXPECT_NE(tab.find("* DISPLACEMENT OF PILE CAP AT ORIGIN *\n"), std::string::npos);
}

TEST(TableL, TwoDimensionalLayoutUsesThreeSlots) {
  auto run = english_pile();
  run->store.ctl.ANALYSIS_TYPE = 2;
  FILES_OF files(*run, {F_REPORT});
  run->store.loads.EQ_LOAD = {0, 1000.0, 20.0, 99.0, 99.0, 99.0, 300.0};
  run->store.an.CAP_ITERATIONS = 12;
  WRITE_TABLE_L(*run);
  const std::string rep = files[F_REPORT];
  EXPECT_NE(rep.find("             VERT. LOAD, LBS    HORI. LOAD, LBS    MOMENT,LBS-IN\n"
                     "                     1000.00           20.0000           300.000 \n"),
            std::string::npos);
  EXPECT_NE(rep.find("\n\n          NUMBER OF ITERATIONS =  12\n"), std::string::npos);
}

TEST(ResultsReport, PrintOptionZeroStillEvaluatesThePiles) {
  auto run = english_pile();
  run->store.an.cur.PRINT_OPTION = 0;
  run->store.an.FRACTION = 1.0;
  run->store.an.PRINTED = 1;
  run->store.ctl.CAP_OPTION = 1;
  FILES_OF files(*run, {F_REPORT, F_RESULTS_TABLE, F_CASE_RESULTS});
  ASSERT_EQ(RESULTS_REPORT(*run), 0);
  const std::string rep = files[F_REPORT];
  EXPECT_EQ(rep.find("TABLE M"), std::string::npos);
  EXPECT_EQ(rep.find("PASIVE"), std::string::npos);
  const std::string tab = files[F_RESULTS_TABLE];
  EXPECT_NE(tab.find("* TABLE M *   COMPUTATION ON INDIVIDUAL PILE\n* PILE GROUP *     1\n"), std::string::npos);
  EXPECT_EQ(files[F_CASE_RESULTS], "    1 ANALYSIS COMPLETED\n");
  EXPECT_EQ(run->store.an.PASS_FLAG, 0);
  EXPECT_EQ(run->store.an.PRINTED, 2);
}

TEST(ResultsReport, PassiveTableOnlyForTheEquivalentLoadModel) {
  for (int springs : {0, 1}) {
    SCOPED_TRACE(springs);
    auto run = english_pile();
    run->store.an.cur.PRINT_OPTION = 1;
    run->store.an.FRACTION = 1.0;
    run->store.ctl.CAP_OPTION = 1;
    run->store.piles.CAP_SPRINGS = springs;
    run->store.an.PASSIVE_Y = 12.5;
    run->store.an.PASSIVE_Z = 0.0;
    run->store.an.PASSIVE_POS = -3.0;
    FILES_OF files(*run, {F_REPORT, F_SUMMARY});
    ASSERT_EQ(RESULTS_REPORT(*run), 0);
    const std::string table = "\n\n     * PASIVE RESISTANCE IN PILE CAP *\n"
                              "\n             HOR. LOAD Y,LBS    HOR. LOAD Z,LBS      POSITION, IN\n"
                              "                 12.5000            0.00000           -3.00000 \n"
                              "\n\n\n     * TABLE M *   COMPUTATION ON INDIVIDUAL PILE\n";
    EXPECT_EQ(files[F_REPORT].find(table) != std::string::npos, springs == 0);
    EXPECT_EQ(files[F_SUMMARY].find(table) != std::string::npos, springs == 0);
    EXPECT_NE(files[F_REPORT].find("* TABLE M *"), std::string::npos);
  }
}

// A pile of N = 4 increments of 2.5 with a known deflected shape.
void shaped_pile(RUN& run) {
  PILE_WORK& w = run.store.an.work;
  w.group = 1;
  w.N = 4;
  w.h = 2.5;
  const double y[5] = {0.4, 0.2, 0.4, -0.1, 0.0};
  for (int m = 0; m <= 4; ++m) {
    w.Y[NODE(m)] = y[m];
    w.Z[NODE(m)] = 0.1 * m;
    w.PLANE_Y.BMOM[NODE(m)] = 100.0 * m;
    w.PLANE_Y.SOILR[NODE(m)] = -10.0 * y[m];
    w.PLANE_Z.SOILR[NODE(m)] = -1.0 * m;
  }
  w.LLP_ITERATIONS = 6;
}

TEST(PileResults, NodeStepAndColumnSelection) {
  struct CASE {
    const char* id;
    int every;
    const char* rows;  // rows of the report: x and the lateral deflection
  };
  const CASE cases[] = {
      {"step larger than N", 9, "       0.0000      0.4000 \n       10.000      0.0000 \n"},
      {"step 3 does not reach the tip", 3, "       0.0000      0.4000 \n       7.5000 -1.0000E-01 \n"},
      {"step below 1 is 1", 0,
       "       0.0000      0.4000 \n       2.5000      0.2000 \n       5.0000      0.4000 \n"
       "       7.5000 -1.0000E-01 \n       10.000      0.0000 \n"}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    auto run = english_pile();
    shaped_pile(*run);
    ANALYSIS& an = run->store.an;
    an.cur.PRINT_OPTION = 2;
    an.cur.PRINT_EVERY = c.every;
    an.cur.OUTPUT_SELECT[2] = an.cur.OUTPUT_SELECT[24] = an.cur.OUTPUT_SELECT[1] = 1;
    an.PASS_FLAG = 1;
    FILES_OF files(*run, {F_REPORT, F_RESULTS_TABLE, F_RUNTIME});
    RECORD_PILE_3D(*run, 1, VEC6{0, 0.0, 0.4, 0.0, 0.0, 0.0, 0.01}, VEC6{0, 50.0, 10.0, 0.0, 0.0, 0.0, 0.0});
    const std::string rep = files[F_REPORT];
    const std::string rows = c.rows;
    // Only column 2: column 1 (axial) is excluded without variation of axial
    // load, column 24 outside load combinations.
    EXPECT_NE(rep.find("  ********** **********  \n" + rows + "\n     NUMBER OF ITERATIONS IN LLP =     6\n"),
              std::string::npos)
        << rep;
    EXPECT_NE(files[F_RUNTIME].find("     NUMBER OF ITERATIONS IN LLP =    6 (PILE No    1)"), std::string::npos);
    // The results table file holds every node and every column that applies.
    const std::string tab = files[F_RESULTS_TABLE];
    EXPECT_NE(tab.find("        25    0    1    1    1    0    0    0    0    1    1    1    1    1    1    1    1    1"
                       "    0    1    1    1    1    1    0    0\n"),
              std::string::npos);
    EXPECT_NE(tab.find("\n            10.0000000      0.00000000"), std::string::npos);  // the tip row
  }
}

TEST(PileResults, MomentsAreNegatedAndResultantsFormed) {
  auto run = english_pile();
  shaped_pile(*run);
  run->store.an.PASS_FLAG = 1;
  RECORD_PILE_3D(*run, 1, VEC6{}, VEC6{0, 50.0, 0, 0, 0, 0, 0});
  const auto& T = run->store.an.RESULTS_TABLE;
  EXPECT_DOUBLE_EQ(T[9][NODE(2)], -200.0);
  EXPECT_DOUBLE_EQ(run->store.an.work.PLANE_Y.BMOM[NODE(2)], -200.0);
  EXPECT_DOUBLE_EQ(T[4][NODE(3)], std::sqrt(0.01 + 0.09));
  EXPECT_DOUBLE_EQ(T[18][NODE(4)], 50.0);  // axial force P along the pile without variation
  EXPECT_EQ(T[1][NODE(4)], 0.0);
  EXPECT_DOUBLE_EQ(T[17][NODE(1)], std::sqrt(4.0 + 1.0));
  EXPECT_EQ(RESULTANT(1.0E-25, -3.0), 3.0);
  EXPECT_EQ(RESULTANT(1.0E-25, 1.0E-25), 0.0);
}

TEST(PileResults, ExtremesReportTheFirstNodeOfATie) {
  auto run = english_pile();
  shaped_pile(*run);
  run->store.an.PASS_FLAG = 1;
  FILES_OF files(*run, {F_EXTREME_SCRATCH});
  RECORD_PILE_3D(*run, 1, VEC6{}, VEC6{});
  const std::string ext = files[F_EXTREME_SCRATCH];
  std::vector<std::string> lines;
  for (std::size_t p = 0, q; (q = ext.find('\n', p)) != std::string::npos; p = q + 1) lines.push_back(ext.substr(p, q - p));
  ASSERT_EQ(lines.size(), 8u);  // four head records, four extreme lines
  // Column 2 (lateral y): minimum -0.1 at x = 7.5, maximum 0.4 first at x = 0.
  const auto field = [](const std::string& l, int k, int first, int width) { return l.substr(first + (k - 1) * width, width); };
  EXPECT_EQ(field(lines[4], 2, 11, 14), "  -0.10000E+00");
  EXPECT_EQ(field(lines[5], 2, 11, 14), "        7.5000");
  EXPECT_EQ(field(lines[6], 2, 11, 14), "   0.40000E+00");
  EXPECT_EQ(field(lines[7], 2, 11, 14), "        0.0000");
  EXPECT_EQ(lines[5].substr(0, 10), "     x(IN)");
}

TEST(PileResults, EquivalentStiffnessPass) {
  auto run = english_pile();
  shaped_pile(*run);
  run->store.an.PASS_FLAG = 2;
  FILES_OF files(*run, {F_PILE_STIFFNESS, F_REPORT});
  // No axial displacement: the axial stiffness of the head curve instead.
  RECORD_PILE_3D(*run, 1, VEC6{0, 0.0, 0.4, 0, 0.001, 0, 0}, VEC6{0, 0.0, 10.0, 0, 2000.0, 0, 0});
  const std::string ps = files[F_PILE_STIFFNESS];
  EXPECT_EQ(ps.substr(0, ps.find("* EQUIVALENT")),
            "* PILE GROUP *     1\n* PILE TOP EQUIVALENT STIFFNESSES\n"
            "       0.00000000       500000.000       2000000.00 \n");
  EXPECT_NE(ps.find("* EQUIVALENT STIFFNESSES ALONG PILE\n            2.50000000 \n"), std::string::npos);
  EXPECT_NE(ps.find("      2.50000000      -10.0000000      -10.0000000 \n"), std::string::npos);
  EXPECT_EQ(files[F_REPORT], "");
  EXPECT_DOUBLE_EQ(run->store.an.work.PLANE_Y.BMOM[NODE(1)], -100.0);
}

TEST(PileResults, TwoDimensionalRows) {
  struct CASE {
    const char* id;
    double batter;
  };
  for (const CASE& c : {CASE{"vertical row: global = local", 0.0}, CASE{"battered row", 0.25}}) {
    SCOPED_TRACE(c.id);
    auto run = english_pile();
    run->store.ctl.ANALYSIS_TYPE = 2;
    run->store.piles.ALPHA[1] = c.batter;
    run->store.piles.MULTIPLICITY[1] = 3.0;
    run->store.an.cur.AXIAL_VARIATION = 1;
    run->store.piles.LS_SET[1] = 0;  // a generated curve: the axial columns apply
    SET_RESULT_HEADINGS(*run);
    shaped_pile(*run);
    PILE_WORK& w = run->store.an.work;
    for (int m = 0; m <= 4; ++m) w.AXDISP[NODE(m)] = 0.01 * (4 - m);
    w.PLANE_Y.SLOPE[NODE(0)] = -0.002;
    run->store.an.PASS_FLAG = 1;
    run->store.an.cur.PRINT_OPTION = 1;
    FILES_OF files(*run, {F_REPORT, F_RESULTS_TABLE, F_EXTREME_SCRATCH});
    RECORD_ROW_2D(*run, 1, {0.0, 0.04, w.Y[NODE(0)], w.PLANE_Y.SLOPE[NODE(0)]},
                  {0.0, 500.0, 20.0, w.PLANE_Y.BMOM[NODE(0)]});
    const auto& T = run->store.an.RESULTS_TABLE;
    const double cb = std::cos(c.batter), sb = std::sin(c.batter);
    for (int m = 0; m <= 4; ++m) {
      EXPECT_NEAR(T[5][NODE(m)], w.AXDISP[NODE(m)] * cb - w.Y[NODE(m)] * sb, 1e-15);
      EXPECT_NEAR(T[6][NODE(m)], w.AXDISP[NODE(m)] * sb + w.Y[NODE(m)] * cb, 1e-15);
      EXPECT_EQ(T[3][NODE(m)], 0.0);
      EXPECT_EQ(T[10][NODE(m)], 0.0);
    }
    if (c.batter == 0.0)
      for (int m = 0; m <= 4; ++m) {
        EXPECT_EQ(T[5][NODE(m)], T[1][NODE(m)]);
        EXPECT_EQ(T[6][NODE(m)], T[2][NODE(m)]);
      }
    // The global head forces of one pile of the row (the moment about the
    // origin is the row solution's concern and tested there).
    EXPECT_NEAR(run->store.an.HEAD_GLOBAL_FORCE[1], cb * 500.0 - sb * 20.0, 1e-9);
    EXPECT_NEAR(run->store.an.HEAD_GLOBAL_FORCE[2], sb * 500.0 + cb * 20.0, 1e-9);
    const std::string rep = files[F_REPORT];
    EXPECT_NE(rep.find("\n\n       * PILE GROUP *  1\n"), std::string::npos);
    EXPECT_NE(rep.find("         DISP.X,IN   DISP.Y,IN       SLOPE   FOR.X,LBS   FOR.Y,LBS   BM,LBS-IN STRESS,LBS/IN**2\n"),
              std::string::npos);
    const std::string tab = files[F_RESULTS_TABLE];
    EXPECT_NE(tab.find("       * EFFECTS FOR LATERALLY LOADED PILE *   \n"
                       "        25    1    1    0    0    1    1    0    0    1    0    0    1    0    0    1    0    0"
                       "    1    1    1    0    1    0    0    0\n"),
              std::string::npos);
  }
}

}  // namespace
