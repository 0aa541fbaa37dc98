// The driver over load cases and combinations: headings and their order in
// every file, skipped analyses, empty load lists and the stop request.
#include "group/driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <filesystem>
#include <string>
#include <vector>

#include "group/group_fixture.h"
#include "group/pile_head.h"
#include "output/headings.h"
#include "support/test_support.h"

using namespace kestra;
namespace fs = std::filesystem;

namespace {

using kestra_test::set_text;

void controls(LOAD_CONTROLS& c, const char* name) { kestra_test::load_controls(c, name, 2); }

// Four piles under three load cases and one combination, with the run's
// files in a scratch directory.
struct DRIVER_RUN {
  std::unique_ptr<RUN> run;
  fs::path dir;
  explicit DRIVER_RUN(const std::string& test) {
    run = kestra_test::make_group({{0, 2, 2}, {0, -2, 2}, {0, 2, -2}, {0, -2, -2}});
    STORE& s = run->store;
    set_text(s.TITLE, "FOUR PILES ON SPRINGS", 80);
    LOAD_DATA& ld = s.loads;
    ld.NLC = 3;
    const char* names[] = {"DEAD", "WIND Y", "WIND Z"};
    for (int m = 1; m <= 3; ++m) {
      LOAD_CASE& c = ld.CASE[m];
      controls(c, names[m - 1]);
      c.LOAD_TYPE = m == 1 ? 0 : 4;
      c.SCALE_FACTOR = 1.0;
      c.NCONC = 1;
      c.CONC[1].FORCE_X = 4000.0;
      c.CONC[1].FORCE_Y = m == 2 ? 100.0 : 0.0;
      c.CONC[1].FORCE_Z = m == 3 ? 100.0 : 0.0;
    }
    ld.NCOMB = 1;
    controls(ld.COMB[1], "DEAD + WIND");
    ld.COMB[1].BENDING_RF = ld.COMB[1].SHEAR_RF = 0.9;
    ld.COMB[1].NCOMB_CASES = 2;
    ld.COMB[1].ENTRY[1] = {1, 1.2};
    ld.COMB[1].ENTRY[2] = {2, 1.6};
    SET_RESULT_HEADINGS(*run);
    dir = kestra_test::scratch_dir(test);
    for (int role = F_REPORT; role <= NAMES_RECORDS; ++role)
    {
      char file[16];
      std::snprintf(file, sizeof file, "f%02d.txt", role);
      run->files.name[role] = (dir / file).string();
    }
    for (int role : {F_REPORT, F_SUMMARY, F_RUNTIME, F_CASE_RESULTS, F_RESULTS_TABLE, F_CAP_TRACE})
      run->files.fp[role] = std::fopen(run->files.name[role].c_str(), "w");
    run->files.fp[F_SUMMARY_SCRATCH] = std::fopen(run->files.name[F_SUMMARY_SCRATCH].c_str(), "w+");
  }
  int drive() {
    const int st = RUN_DRIVER(*run);
    open_roles = 0;
    for (int role = 1; role <= NAMES_RECORDS; ++role)
      if (run->files.fp[role]) {
        if (role == F_PILE_STIFFNESS || role == F_FOUND_STIFFNESS || role == F_EXTREME_SCRATCH ||
            role == F_FAIL_WARNINGS)
          ++open_roles;
        std::fclose(run->files.fp[role]);
        run->files.fp[role] = nullptr;
      }
    return st;
  }
  std::string text(int role) { return kestra_test::read_file(run->files.name[role]); }
  int open_roles = 0;  // files the driver and its callers should have closed
};

// Positions of the texts in s, in the order given; -1 for one not found
// after the previous.
std::vector<long> in_order(const std::string& s, const std::vector<std::string>& texts) {
  std::vector<long> at;
  std::size_t from = 0;
  for (const std::string& t : texts) {
    const std::size_t p = s.find(t, from);
    at.push_back(p == std::string::npos ? -1 : static_cast<long>(p));
    if (p != std::string::npos) from = p + t.size();
  }
  return at;
}

TEST(Driver, HeadingsComeInOrderInEveryFile) {
  DRIVER_RUN d("driver_order");
  ASSERT_EQ(d.drive(), 0);
  EXPECT_EQ(d.open_roles, 0);
  const std::string rep = d.text(F_REPORT);
  const std::vector<std::string> order = {
      "                 *****     COMPUTATION RESULTS     *****\n",
      "     FOUR PILES ON SPRINGS",
      "                 *****     LOAD CASES RESULTS      *****",
      "     LOAD CASE :     1\n     CASE NAME : DEAD",
      "     LOAD TYPE : Dead, DL",
      "* TABLE L *   COMPUTATION ON PILE CAP",
      "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE",
      "* PILE GROUP *     1",
      "* EFFECTS FOR LATERALLY LOADED PILE *",
      "NUMBER OF ITERATIONS IN LLP =",
      "* PILE GROUP *     4",
      "     LOAD CASE :     2\n     CASE NAME : WIND Y",
      "     LOAD TYPE : Wind, WN",
      "     LOAD CASE :     3",
      "                 *****     LOAD COMBINATIONS RESULTS      *****",
      "     LOAD COMB. :     1\n     COMB. NAME : DEAD + WIND",
      "* TABLE L *",
  };
  const std::vector<long> at = in_order(rep, order);
  for (std::size_t k = 0; k < order.size(); ++k) EXPECT_GE(at[k], 0) << "missing or out of order: " << order[k];

  EXPECT_EQ(d.text(F_CASE_RESULTS),
            "COMPUTATION RESULTS\n"
            "FOUR PILES ON SPRINGS                                                           \n"
            "LOAD CASES RESULTS \n"
            "LOAD CASE :     1\n      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n"
            "LOAD CASE :     2\n      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n"
            "LOAD CASE :     3\n      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n"
            "LOAD COMBINATIONS RESULTS \n"
            "LOAD COMB. :     1\n      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n");

  const std::string rt = d.text(F_RUNTIME);
  const std::vector<long> rt_at = in_order(rt, {"     COMPUTATION IS PROCEEDING......", "LOAD CASE :     1",
                                                "     GLOBAL ITERATIONS", "NUMBER OF GLOBAL ITERATIONS =",
                                                "     ANALYSIS FOR LOAD CASE   1/  3 FINISHED",
                                                "     ANALYSIS FOR LOAD COMB.   1/  1 FINISHED"});
  for (long p : rt_at) EXPECT_GE(p, 0);
  EXPECT_EQ(d.text(F_PROGRESS), "- ANALYSIS FOR LOAD COMB.   1/  1 FINISHED\n\n\n");

  const std::string tab = d.text(F_RESULTS_TABLE);
  EXPECT_EQ(tab.rfind("** COMPUTATION RESULTS **\nFOUR PILES ON SPRINGS", 0), 0u);
  EXPECT_GE(in_order(tab, {"LOAD CASES RESULTS ", "LOAD CASE :     1", "     * TABLE L *", "* TABLE M *",
                           "* PILE GROUP *     1", "* PILE TOP DISP. AND REACT. GLOBAL",
                           "* PILE TOP DISP. AND REACT. LOCAL", "        * EFFECTS FOR LATERALLY LOADED PILE *   "})
                .back(),
            0);
  const std::string ss = d.text(F_SUMMARY_SCRATCH);
  EXPECT_GE(in_order(ss, {"* TABLE L *   COMPUTATION ON PILE CAP", "LOAD CASES RESULTS", "     LOAD CASE :     1",
                          "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *", "LOAD COMBINATIONS RESULTS",
                          "     LOAD COMB :     1"})
                .back(),
            0);
  EXPECT_EQ(d.run->store.py.PY_PHASE, 0);
  EXPECT_EQ(d.run->store.an.PASS_FLAG, 0);
}

TEST(Driver, SkippedFirstCaseStillGetsTheGroupHeading) {
  DRIVER_RUN d("driver_skip");
  d.run->store.loads.CASE[1].NOT_ANALYZED = 1;
  d.run->store.loads.COMB[1].NOT_ANALYZED = 1;
  ASSERT_EQ(d.drive(), 0);
  const std::string rep = d.text(F_REPORT);
  EXPECT_GE(in_order(rep, {"LOAD CASES RESULTS", "     LOAD CASE :     1", "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
                           "     LOAD CASE :     2", "* TABLE L *", "LOAD COMBINATIONS RESULTS",
                           "     NOTE: LOAD COMB WILL NOT BE ANALYZED"})
                .back(),
            0);
  const std::string cr = d.text(F_CASE_RESULTS);
  EXPECT_NE(cr.find("LOAD CASE :     1\n       ANALYSIS TO NOT RUN   \n     9 ANALYSIS NOT PERFORMED\nLOAD CASE :     2\n"),
            std::string::npos);
  EXPECT_NE(cr.find("LOAD COMB. :     1\n       ANALYSIS TO NOT RUN   \n     9 ANALYSIS NOT PERFORMED\n"),
            std::string::npos);
  EXPECT_NE(d.text(F_RUNTIME).find("     NOTE: LOAD CASE WILL NOT BE ANALYZED"), std::string::npos);
}

TEST(Driver, NoCasesAndNoCombinationsWriteOnlyTheHeadings) {
  DRIVER_RUN d("driver_empty");
  d.run->store.loads.NLC = 0;
  d.run->store.loads.NCOMB = 0;
  ASSERT_EQ(d.drive(), 0);
  EXPECT_EQ(d.text(F_CASE_RESULTS),
            "COMPUTATION RESULTS\nFOUR PILES ON SPRINGS                                                           \n");
  EXPECT_EQ(d.text(F_REPORT).find("LOAD CASES RESULTS"), std::string::npos);
}

TEST(Driver, StopRequestBeforeTheFirstCase) {
  DRIVER_RUN d("driver_stop_first");
  kestra_test::write_file(d.run->files.name[F_STOP_REQUEST], "1\n");
  EXPECT_EQ(d.drive(), ST_STOPPED);
  EXPECT_EQ(d.open_roles, 0);
  EXPECT_EQ(d.text(F_REPORT).find("LOAD CASE :"), std::string::npos);
  EXPECT_EQ(d.text(F_PROGRESS), "- ANALYSIS FOR LOAD CASE   1/  3 STARTED\n\n\n");
}

TEST(Driver, StopRequestAfterTheFirstCaseKeepsItsResults) {
  DRIVER_RUN d("driver_stop_after");
  // The stop-request file is the extreme-values file of the printing pass:
  // once case 1 has printed, its first record (pile 1) reads as a 1.
  d.run->files.name[F_STOP_REQUEST] = d.run->files.name[F_EXTREME_SCRATCH];
  EXPECT_EQ(d.drive(), ST_STOPPED);
  EXPECT_EQ(d.open_roles, 0);
  const std::string rep = d.text(F_REPORT);
  EXPECT_NE(rep.find("* PILE GROUP *     4"), std::string::npos);
  EXPECT_EQ(rep.find("LOAD CASE :     2"), std::string::npos);
  EXPECT_EQ(d.text(F_CASE_RESULTS).substr(d.text(F_CASE_RESULTS).find("LOAD CASE :     1")),
            "LOAD CASE :     1\n      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n");
}

TEST(Driver, CombinationUsesItsResistanceFactorsAndNoStiffnessData) {
  DRIVER_RUN d("driver_comb");
  d.run->store.loads.CASE[1].STIFFNESS_DATA = 1;
  ASSERT_EQ(d.drive(), 0);
  EXPECT_DOUBLE_EQ(d.run->store.an.cur.BENDING_RF, 0.9);
  EXPECT_EQ(d.run->store.an.cur.STIFFNESS_DATA, 0);
  // 1.2 x case 1 + 1.6 x case 2 at the origin.
  EXPECT_NEAR(d.run->store.loads.EQ_LOAD[1], 1.2 * 4000.0 + 1.6 * 4000.0, 1e-9);
  EXPECT_NEAR(d.run->store.loads.EQ_LOAD[2], 1.6 * 100.0, 1e-9);
}

// Every analysed load of the results table file: the printed equivalent
// load must equal the printed pile-head forces (global axes) carried to the
// origin, with multiplicities.
TEST(Driver, PrintedPileForcesBalanceThePrintedLoad) {
  DRIVER_RUN d("driver_equilibrium");
  PILE_DATA& p = d.run->store.piles;
  p.ALPHA[1] = 0.15;
  p.BETA[2] = 1.35;
  p.ALPHA[3] = -0.2;
  p.BETA[3] = 1.4;
  p.MULTIPLICITY[4] = 2.0;
  LOAD_CASE& c = d.run->store.loads.CASE[2];
  c.CONC[1] = CONC_LOAD{3000.0, 150.0, 400.0, -90.0, -250.0, 120.0, -1.0, 0.5, 0.3};
  ASSERT_EQ(d.drive(), 0);
  std::istringstream in(d.text(F_RESULTS_TABLE));
  std::string line;
  int analyses = 0;
  VEC6 load{}, sum{};
  bool open = false;
  auto check = [&] {
    if (!open) return;
    ++analyses;
    for (int k = 1; k <= 6; ++k) EXPECT_NEAR(sum[k], load[k], 1e-5 * (1.0 + std::fabs(load[1]))) << analyses << ":" << k;
  };
  while (std::getline(in, line)) {
    if (line == "* EQUIVALENT CONC. LOAD AT ORIGIN *") {
      check();
      std::getline(in, line);
      std::istringstream v(line);
      for (int k = 1; k <= 6; ++k) v >> load[k];
      sum = VEC6{};
      open = true;
    } else if (line.rfind("* PILE GROUP *", 0) == 0) {
      const int g = std::stoi(line.substr(14));
      std::getline(in, line);
      ASSERT_EQ(line, "* PILE TOP DISP. AND REACT. GLOBAL");
      std::getline(in, line);
      std::istringstream v(line);
      VEC6 disp, force, moved;
      for (int k = 1; k <= 6; ++k) v >> disp[k];
      for (int k = 1; k <= 6; ++k) v >> force[k];
      PILE_TRANSFORM(*d.run, g);
      MAT6_MUL(d.run->store.an.A, force, moved);
      for (int k = 1; k <= 6; ++k) sum[k] += p.MULTIPLICITY[g] * moved[k];
    }
  }
  check();
  EXPECT_EQ(analyses, 4);
}

}  // namespace
