// Envelopes over the printed analyses of a set: the store update (minima and
// maxima of the cap and pile results component by component, the first
// analysis initialising them), and the printing of the minimum and maximum
// envelopes after the load cases and after the combinations.
#include "output/envelopes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "group/driver.h"
#include "group/group_fixture.h"
#include "output/headings.h"
#include "support/test_support.h"

using namespace kestra;
namespace fs = std::filesystem;

namespace {

using kestra_test::set_text;

void controls(LOAD_CONTROLS& c, const char* name) { kestra_test::load_controls(c, name, 2); }

// Two piles on linear springs; load case m carries a vertical load and the
// horizontal load HY[m] along Y. The combination is 1.0 x case 1 + 1.0 x
// case 2. Every file of the run lives in a scratch directory.
struct ENV_RUN {
  std::unique_ptr<RUN> run;
  fs::path dir;
  ENV_RUN(const std::string& test, const std::vector<double>& HY, bool two_d = false) {
    run = kestra_test::make_group({{0, 2, 0}, {0, -2, 0}});
    STORE& s = run->store;
    if (two_d) {
      // Two rows in the X-Y plane, the second of two piles.
      s.ctl.ANALYSIS_TYPE = 2;
      PILE_DATA& p = s.piles;
      for (int i = 1; i <= 2; ++i) {
        p.P_FACTOR[i] = p.Y_FACTOR[i] = 1.0;
        p.BETA[i] = 0.0;
        p.TR_SET[i] = 0;
        p.CONNECTZ[i] = 0;
      }
      p.MULTIPLICITY[2] = p.NO_OF_PILE[2] = 2;
    }
    set_text(s.TITLE, "TWO PILES ON SPRINGS", 80);
    LOAD_DATA& ld = s.loads;
    ld.NLC = static_cast<int>(HY.size());
    for (int m = 1; m <= ld.NLC; ++m) {
      LOAD_CASE& c = ld.CASE[m];
      controls(c, "CASE");
      c.SCALE_FACTOR = 1.0;
      c.NCONC = 1;
      c.CONC[1].FORCE_X = 1000.0;
      c.CONC[1].FORCE_Y = HY[m - 1];
    }
    ld.CASE_ENVELOPE = 1;
    ld.CASE_ENV_PRINT = 2;
    ld.CASE_ENV_EVERY = 20;
    for (int k = 1; k <= OUTPUT_FLAGS; ++k) ld.CASE_ENV_SELECT[k] = ld.COMB_ENV_SELECT[k] = k == 2 || k == 9;
    SET_RESULT_HEADINGS(*run);
    dir = kestra_test::scratch_dir(test);
    for (int role = F_REPORT; role <= NAMES_RECORDS; ++role) {
      char file[16];
      std::snprintf(file, sizeof file, "f%02d.txt", role);
      run->files.name[role] = (dir / file).string();
    }
    for (int role : {F_REPORT, F_SUMMARY, F_RUNTIME, F_CASE_RESULTS, F_RESULTS_TABLE})
      run->files.fp[role] = std::fopen(run->files.name[role].c_str(), "w");
    run->files.fp[F_SUMMARY_SCRATCH] = std::fopen(run->files.name[F_SUMMARY_SCRATCH].c_str(), "w+");
  }
  void combination() {
    LOAD_DATA& ld = run->store.loads;
    ld.NCOMB = 1;
    controls(ld.COMB[1], "ONE PLUS TWO");
    ld.COMB[1].BENDING_RF = ld.COMB[1].SHEAR_RF = 1.0;
    ld.COMB[1].NCOMB_CASES = 2;
    ld.COMB[1].ENTRY[1] = {1, 1.0};
    ld.COMB[1].ENTRY[2] = {2, 1.0};
    ld.COMB_ENVELOPE = 1;
  }
  int drive() {
    const int st = RUN_DRIVER(*run);
    for (int role = 1; role <= NAMES_RECORDS; ++role)
      if (run->files.fp[role]) {
        std::fclose(run->files.fp[role]);
        run->files.fp[role] = nullptr;
      }
    return st;
  }
  std::string text(int role) { return kestra_test::read_file(run->files.name[role]); }
  std::vector<std::string> lines(int role) { return kestra_test::read_lines(run->files.name[role]); }
};

// Lines of text from the one that equals first, count lines long.
std::vector<std::string> block(const std::vector<std::string>& lines, const std::string& first, int count,
                               std::size_t from = 0) {
  for (std::size_t i = from; i < lines.size(); ++i)
    if (lines[i] == first) return std::vector<std::string>(lines.begin() + i, lines.begin() + std::min(lines.size(), i + count));
  return {};
}

std::vector<double> numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<double> v;
  double x;
  while (in >> x) v.push_back(x);
  return v;
}

// The cap load and displacement of Table L in the results table file after
// the heading line first.
void cap_vectors(const std::vector<std::string>& lines, const std::string& first, std::vector<double>& load,
                 std::vector<double>& disp) {
  const auto b = block(lines, first, 6);
  ASSERT_EQ(b.size(), 6u) << first;
  ASSERT_EQ(b[2], "* EQUIVALENT CONC. LOAD AT ORIGIN *");
  ASSERT_EQ(b[4], "* DISPLACEMENT OF PILE CAP AT ORIGIN *");
  load = numbers(b[3]);
  disp = numbers(b[5]);
}

TEST(EnvelopeStore, CapComponentsAreIndependentAndTheFirstAnalysisStartsThem) {
  auto run = kestra_test::make_group({{0, 0, 0}});
  STORE& s = run->store;
  ENVELOPE_RESET(*run);
  struct ANALYSED {
    VEC6 load, disp;
  };
  const ANALYSED analysed[] = {
      {{0, 1000.0, 100.0, 0.0, 5.0, -7.0, 3.0}, {0, 0.1, 0.02, 0.0, 1e-4, 0.0, -2e-5}},
      {{0, 1000.0, -50.0, 20.0, -5.0, -9.0, 1.0}, {0, 0.1, -0.01, 0.03, -1e-4, 0.0, 4e-5}},
      {{0, 400.0, 10.0, -20.0, 0.0, -8.0, 2.0}, {0, 0.05, 0.0, -0.03, 0.0, 0.0, 0.0}},
  };
  for (const ANALYSED& a : analysed) {
    s.loads.EQ_LOAD = a.load;
    s.an.U = a.disp;
    ENVELOPE_CAP_UPDATE(*run);
  }
  const ENVELOPES& e = s.an.env;
  EXPECT_EQ(e.COUNT, 3);
  const VEC6 load_min{0, 400.0, -50.0, -20.0, -5.0, -9.0, 1.0}, load_max{0, 1000.0, 100.0, 20.0, 5.0, -7.0, 3.0};
  const VEC6 disp_min{0, 0.05, -0.01, -0.03, -1e-4, 0.0, -2e-5}, disp_max{0, 0.1, 0.02, 0.03, 1e-4, 0.0, 4e-5};
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(e.LOAD_MIN[k], load_min[k]) << k;
    EXPECT_EQ(e.LOAD_MAX[k], load_max[k]) << k;
    EXPECT_EQ(e.DISP_MIN[k], disp_min[k]) << k;
    EXPECT_EQ(e.DISP_MAX[k], disp_max[k]) << k;
  }
  // All-negative values: the first analysis initialises, zero never enters.
  ENVELOPE_RESET(*run);
  s.loads.EQ_LOAD = {0, -5.0, -5.0, -5.0, -5.0, -5.0, -5.0};
  ENVELOPE_CAP_UPDATE(*run);
  EXPECT_EQ(s.an.env.LOAD_MAX[3], -5.0);
  EXPECT_EQ(s.an.env.LOAD_MIN[3], -5.0);
}

TEST(EnvelopeStore, PileHeadAndTableKeepTheirExtremesPerPileAndNode) {
  auto run = kestra_test::make_group({{0, 0, 0}, {0, 2, 0}});
  ANALYSIS& an = run->store.an;
  ENVELOPE_RESET(*run);
  an.work.N = 4;
  an.work.h = 2.5;
  auto enter = [&](int g, double base) {
    VEC6 gd{}, gf{};
    for (int k = 1; k <= 6; ++k) {
      gd[k] = base + k;
      gf[k] = -base - k;
      an.HEAD_LOCAL_DISP[k] = 2.0 * base;
      an.HEAD_LOCAL_FORCE[k] = -2.0 * base;
    }
    an.HEAD_STRESS = 10.0 * base;
    ENVELOPE_HEAD_UPDATE(*run, g, gd, gf);
    for (int k = 1; k <= RESULT_COLUMNS; ++k)
      for (int m = 0; m <= an.work.N; ++m) an.RESULTS_TABLE[k][NODE(m)] = (m % 2 ? base : -base) + k;
    ENVELOPE_TABLE_UPDATE(*run, g);
  };
  enter(1, 1.0);
  enter(2, 100.0);
  enter(1, 3.0);
  enter(1, 2.0);
  const ENVELOPES& e = an.env;
  EXPECT_EQ(e.HEAD_MAX[1][HEAD_ENV_GLOBAL_DISP + 2], 5.0);
  EXPECT_EQ(e.HEAD_MIN[1][HEAD_ENV_GLOBAL_DISP + 2], 3.0);
  EXPECT_EQ(e.HEAD_MAX[1][HEAD_ENV_GLOBAL_FORCE + 6], -7.0);
  EXPECT_EQ(e.HEAD_MIN[1][HEAD_ENV_GLOBAL_FORCE + 6], -9.0);
  EXPECT_EQ(e.HEAD_MAX[1][HEAD_ENV_LOCAL_DISP + 1], 6.0);
  EXPECT_EQ(e.HEAD_MIN[1][HEAD_ENV_LOCAL_FORCE + 4], -6.0);
  EXPECT_EQ(e.HEAD_MAX[1][HEAD_ENV_STRESS], 30.0);
  EXPECT_EQ(e.HEAD_MIN[1][HEAD_ENV_STRESS], 10.0);
  // Pile 2 entered once: both envelopes hold its values.
  EXPECT_EQ(e.HEAD_MAX[2][HEAD_ENV_STRESS], 1000.0);
  EXPECT_EQ(e.HEAD_MIN[2][HEAD_ENV_STRESS], 1000.0);
  ASSERT_GE(e.TABLE.size(), 3u);
  const PILE_TABLE_ENVELOPE& t = e.TABLE[1];
  EXPECT_EQ(t.N, 4);
  EXPECT_EQ(t.h, 2.5);
  // Odd nodes +base, even nodes -base, plus the column number.
  EXPECT_EQ(t.MAX[7][1], 10.0);
  EXPECT_EQ(t.MIN[7][1], 8.0);
  EXPECT_EQ(t.MAX[7][2], 6.0);
  EXPECT_EQ(t.MIN[7][2], 4.0);
  EXPECT_EQ(e.TABLE[2].MAX[1][0], -99.0);
  // A reset clears everything.
  ENVELOPE_RESET(*run);
  EXPECT_EQ(an.env.HEAD_SEEN[1], 0);
  EXPECT_TRUE(an.env.TABLE.empty());
}

TEST(EnvelopePrint, MinimumAndMaximumOfTwoCasesInEveryFile) {
  ENV_RUN r("env_two_cases", {100.0, -50.0});
  ASSERT_EQ(r.drive(), 0);
  const auto table = r.lines(F_RESULTS_TABLE);
  std::vector<double> load1, disp1, load2, disp2, lmin, dmin, lmax, dmax;
  cap_vectors(table, "LOAD CASE :     1", load1, disp1);
  cap_vectors(table, "LOAD CASE :     2", load2, disp2);
  cap_vectors(table, "LOAD CASE ENV : 1", lmin, dmin);
  cap_vectors(table, "LOAD CASE ENV : 2", lmax, dmax);
  ASSERT_EQ(lmin.size(), 6u);
  EXPECT_EQ(lmin[1], -50.0);
  EXPECT_EQ(lmax[1], 100.0);
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_NEAR(lmin[k], std::min(load1[k], load2[k]), 1e-9) << k;
    EXPECT_NEAR(lmax[k], std::max(load1[k], load2[k]), 1e-9) << k;
    EXPECT_NEAR(dmin[k], std::min(disp1[k], disp2[k]), 1e-12) << k;
    EXPECT_NEAR(dmax[k], std::max(disp1[k], disp2[k]), 1e-12) << k;
  }
  // The rotation about Z changes sign with the horizontal load: the
  // envelope vectors mix components of the two cases.
  EXPECT_GT(dmax[5], 0.0);
  EXPECT_EQ(dmax[5], disp2[5]);
  EXPECT_EQ(dmax[1], disp1[1]);

  // The pile-top envelope of pile 1 in the results table file.
  const auto env2 = block(table, "LOAD CASE ENV : 2", 13);
  ASSERT_EQ(env2.size(), 13u);
  EXPECT_EQ(env2[6], "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE");
  EXPECT_EQ(env2[7], "* PILE GROUP *     1");
  EXPECT_EQ(env2[8], "       * PILE TOP DISP. AND REACT. GLOBAL");
  EXPECT_EQ(env2[10], "       * PILE TOP DISP. AND REACT. LOCAL");
  EXPECT_EQ(env2[12], "        * EFFECTS FOR LATERALLY LOADED PILE *   ");
  const auto head = numbers(env2[9]);
  ASSERT_EQ(head.size(), 13u);
  // 5 blanks before each group (the stress its own), 15 columns and 2
  // blanks for each displacement and force.
  EXPECT_EQ(env2[9].substr(0, 5), "     ");
  EXPECT_EQ(env2[9].size(), 3 * 5 + 12 * 17u + 15 + 1);

  // Case results file.
  const std::string cases = r.text(F_CASE_RESULTS);
  EXPECT_NE(cases.find("LOAD CASE ENV : 1\n      MINIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n"
                       "LOAD CASE ENV : 2\n      MAXIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n"),
            std::string::npos)
      << cases;
}

TEST(EnvelopePrint, ReportLayoutOfTheEnvelope) {
  ENV_RUN r("env_report", {100.0, -50.0});
  ASSERT_EQ(r.drive(), 0);
  const auto rep = r.lines(F_REPORT);
  std::size_t at = 0;
  while (at < rep.size() && rep[at] != "     LOAD CASE ENV : 1") ++at;
  const auto b = block(rep, "     LOAD CASE ENV : 1", 40);
  const std::vector<std::string> expected = {
      "     LOAD CASE ENV : 1",
      "     CASE NAME     : MINIMUM ENVELOPE",
      "",
      "",
      "",
      "     * TABLE L *   COMPUTATION ON PILE CAP",
      "",
      "",
      "     * EQUIVALENT CONC. LOAD AT ORIGIN *",
      "",
      "",
      "           VERT. LOAD,   F    HOR. LOAD Y,   F   HOR. LOAD Z,   F",
      "                   1000.00          -50.0000           0.00000 ",
      "",
      "          MOMENT X ,  F- L    MOMENT Y,  F- L    MOMENT Z,  F- L",
      "                   0.00000           0.00000           0.00000 ",
      "",
      "",
      "     * DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN *",
      "",
      "",
      "            VERTICAL , L      HORIZONTAL Y, L     HORIZONTAL Z, L",
      "               1.00000E-03      -3.35510E-03           0.00000 ",
      "",
      "          ANGLE ROT. X,RAD    ANGLE ROT. Y,RAD    ANGLE ROT. Z,RAD",
      "                   0.00000           0.00000      -9.35896E-05 ",
      "",
      "",
      "",
      "     * TABLE M *   COMPUTATION ON INDIVIDUAL PILE",
      "",
      "",
      "       * PILE GROUP *     1",
      "",
      "",
      "        * PILE TOP DISPLACEMENTS AND REACTIONS *",
      "",
      "",
      "       THE GLOBAL STRUCTURAL COORDINATE SYSTEM",
      "       ---------------------------------------",
  };
  EXPECT_EQ(b, expected);
  const auto heads = block(rep, "       ---------------------------------------", 12, at);
  const std::vector<std::string> global = {
      "       ---------------------------------------",
      "",
      "",
      "      DISP. X, L   DISP. Y, L   DISP. Z, L   ROT. X,RAD   ROT. Y,RAD   ROT. Z,RAD  ",
      heads.size() > 4 ? heads[4] : "",
      "",
      "      FOR. X,  F   FOR. Y,  F   FOR. Z,  F  MOM X,  F- L MOM Y,  F- L MOM Z,  F- L",
      heads.size() > 7 ? heads[7] : "",
      "",
      "     STR,  F/ L**2",
      heads.size() > 10 ? heads[10] : "",
      "",
  };
  EXPECT_EQ(heads, global);
  // Value lines: 3 blanks and 13 columns per value.
  ASSERT_GT(heads.size(), 10u);
  EXPECT_EQ(heads[4].size(), 6 * 16u + 1);
  EXPECT_EQ(heads[10].size(), 16u + 1);
  // The table along the pile with the envelope's columns (2 and 9) every
  // 20 nodes of 40.
  const auto along = block(rep, "        * EFFECTS FOR LATERALLY LOADED PILE *   ", 10, at);
  ASSERT_EQ(along.size(), 10u);
  EXPECT_EQ(along[3], "       x       DISPL.      MOMENT    ");
  EXPECT_EQ(numbers(along[7]).size(), 3u);
  EXPECT_EQ(along[7].substr(0, 13), "       0.0000");
  EXPECT_EQ(along[8].substr(0, 13), "       20.000");
  EXPECT_EQ(along[9].substr(0, 13), "       40.000");
}

TEST(EnvelopePrint, OneAnalysedCaseGivesEqualEnvelopes) {
  ENV_RUN r("env_one_case", {80.0});
  ASSERT_EQ(r.drive(), 0);
  const auto table = r.lines(F_RESULTS_TABLE);
  std::vector<double> load, disp, lmin, dmin, lmax, dmax;
  cap_vectors(table, "LOAD CASE :     1", load, disp);
  cap_vectors(table, "LOAD CASE ENV : 1", lmin, dmin);
  cap_vectors(table, "LOAD CASE ENV : 2", lmax, dmax);
  EXPECT_EQ(lmin, load);
  EXPECT_EQ(lmax, load);
  EXPECT_EQ(dmin, disp);
  EXPECT_EQ(dmax, disp);
  // The pile-top values and the table along the pile agree with the case.
  for (const char* env : {"LOAD CASE ENV : 1", "LOAD CASE ENV : 2"}) {
    const auto c = block(table, "LOAD CASE :     1", 16);
    const auto e = block(table, env, 16);
    ASSERT_EQ(c.size(), 16u);
    ASSERT_EQ(e.size(), 16u);
    const auto vc = numbers(c[9]), ve = numbers(e[9]);
    ASSERT_EQ(vc.size(), ve.size());
    for (std::size_t k = 0; k < vc.size(); ++k) EXPECT_NEAR(ve[k], vc[k], 1e-8 * (1.0 + std::fabs(vc[k]))) << env << k;
    EXPECT_EQ(e[13], c[13]);  // the column flags
    EXPECT_EQ(e[15], c[15]);  // node 1
  }
}

TEST(EnvelopePrint, AnalysisThatDidNotConvergeStaysOut) {
  // Case 2 would enlarge every envelope but its piles do not close.
  ENV_RUN r("env_failed_case", {100.0, 5000.0, -50.0});
  r.run->store.loads.CASE[2].MAXIT_PILE = 1;
  ASSERT_EQ(r.drive(), 0);
  EXPECT_NE(r.text(F_CASE_RESULTS).find("LOAD CASE :     2\n      ANALYSIS DUE TO TOTAL LOAD\n    6 NO CONVERGENCE ON PILES"),
            std::string::npos);
  const auto table = r.lines(F_RESULTS_TABLE);
  std::vector<double> load, disp;
  cap_vectors(table, "LOAD CASE ENV : 2", load, disp);
  EXPECT_EQ(load[1], 100.0);
  cap_vectors(table, "LOAD CASE ENV : 1", load, disp);
  EXPECT_EQ(load[1], -50.0);
  // The pile-top shear of the maximum envelope is that of case 1.
  const auto e = block(table, "LOAD CASE ENV : 2", 10);
  ASSERT_EQ(e.size(), 10u);
  EXPECT_NEAR(numbers(e[9])[7], 50.0, 1.0);
}

TEST(EnvelopePrint, FailedFirstCaseLeavesTheStoreToTheNextOne) {
  ENV_RUN r("env_failed_first", {5000.0, 30.0});
  r.run->store.loads.CASE[1].MAXIT_PILE = 1;
  ASSERT_EQ(r.drive(), 0);
  const auto table = r.lines(F_RESULTS_TABLE);
  std::vector<double> lmin, dmin, lmax, dmax;
  cap_vectors(table, "LOAD CASE ENV : 1", lmin, dmin);
  cap_vectors(table, "LOAD CASE ENV : 2", lmax, dmax);
  EXPECT_EQ(lmin[1], 30.0);
  EXPECT_EQ(lmax[1], 30.0);
  EXPECT_EQ(dmin, dmax);
}

TEST(EnvelopePrint, CombinationEnvelopesHaveTheirOwnStoreAndHeadings) {
  ENV_RUN r("env_combinations", {100.0, -50.0});
  r.combination();
  ASSERT_EQ(r.drive(), 0);
  const std::string cases = r.text(F_CASE_RESULTS);
  EXPECT_NE(cases.find("LOAD COMB. ENV : 2\n      MAXIMUM ENVELOPE\n    1 CALCULATED AND PRINTED\n"), std::string::npos)
      << cases;
  const auto table = r.lines(F_RESULTS_TABLE);
  std::vector<double> load, disp;
  // One combination of 100 - 50: the combination store does not carry the
  // extremes of the cases.
  cap_vectors(table, "LOAD COMB. ENV : 1", load, disp);
  EXPECT_EQ(load[1], 50.0);
  EXPECT_EQ(load[0], 2000.0);
  cap_vectors(table, "LOAD COMB. ENV : 2", load, disp);
  EXPECT_EQ(load[1], 50.0);
  for (int role : {F_REPORT, F_SUMMARY}) {
    const std::string t = r.text(role);
    EXPECT_NE(t.find("\n\n\n     LOAD COMB. ENV : 2\n     COMB. NAME     : MAXIMUM ENVELOPE\n"), std::string::npos) << role;
  }
}

TEST(EnvelopePrint, PrintOptionZeroLeavesThePileBlocksOutOfTheReportOnly) {
  ENV_RUN r("env_print_zero", {100.0, -50.0});
  r.run->store.loads.CASE_ENV_PRINT = 0;
  for (int m = 1; m <= 2; ++m) r.run->store.loads.CASE[m].PRINT_OPTION = 0;
  ASSERT_EQ(r.drive(), 0);
  const std::string rep = r.text(F_REPORT);
  const std::size_t env = rep.find("LOAD CASE ENV : 1");
  ASSERT_NE(env, std::string::npos);
  EXPECT_NE(rep.find("* TABLE M *", env), std::string::npos);
  EXPECT_EQ(rep.find("* PILE GROUP *", env), std::string::npos);
  EXPECT_EQ(rep.find("* EFFECTS FOR LATERALLY LOADED PILE *", env), std::string::npos);
  const auto table = r.lines(F_RESULTS_TABLE);
  EXPECT_EQ(block(table, "LOAD CASE ENV : 2", 10).back().substr(0, 10), "      1.18");
  // The summary tables of both envelopes.
  const std::string sum = r.text(F_SUMMARY);
  const std::size_t s1 = sum.find("LOAD CASE ENV : 1"), s2 = sum.find("LOAD CASE ENV : 2");
  ASSERT_NE(s2, std::string::npos);
  for (std::size_t from : {s1, s2}) {
    const std::size_t t = sum.find("* MAXIMUM VALUES AND LOCATIONS *", from);
    ASSERT_NE(t, std::string::npos);
    EXPECT_TRUE(from == s2 || t < s2);
  }
}

TEST(EnvelopePrint, EmptySetsAndSkippedCases) {
  // No cases and no combinations: no envelopes although they are asked for.
  ENV_RUN none("env_no_cases", {});
  none.combination();
  none.run->store.loads.NCOMB = 0;
  ASSERT_EQ(none.drive(), 0);
  EXPECT_EQ(none.text(F_REPORT).find("ENV :"), std::string::npos);
  // Every case skipped: the envelopes print the cleared store.
  ENV_RUN skipped("env_skipped", {100.0, -50.0});
  for (int m = 1; m <= 2; ++m) skipped.run->store.loads.CASE[m].NOT_ANALYZED = 1;
  ASSERT_EQ(skipped.drive(), 0);
  const auto table = skipped.lines(F_RESULTS_TABLE);
  std::vector<double> load, disp;
  cap_vectors(table, "LOAD CASE ENV : 2", load, disp);
  EXPECT_EQ(load, std::vector<double>(6, 0.0));
  EXPECT_EQ(disp, std::vector<double>(6, 0.0));
}

TEST(EnvelopePrint, SummaryTablesFollowEveryAnalysisAndEnvelope) {
  ENV_RUN r("env_summary", {100.0, -50.0});
  ASSERT_EQ(r.drive(), 0);
  const std::string sum = r.text(F_SUMMARY);
  std::size_t n = 0;
  for (std::size_t at = sum.find("\n       * PILE TOP DISPLACEMENTS *\n"); at != std::string::npos;
       at = sum.find("\n       * PILE TOP DISPLACEMENTS *\n", at + 1))
    ++n;
  EXPECT_EQ(n, 2u * 4u);  // global and local, two cases and two envelopes
  // The vertical head force of pile 1 in case 1, as the results table file
  // has it, read back through the extreme-values scratch file.
  const auto table = r.lines(F_RESULTS_TABLE);
  const auto c = block(table, "LOAD CASE :     1", 10);
  ASSERT_EQ(c.size(), 10u);
  const double fx = numbers(c[9])[6];
  const auto lines = r.lines(F_SUMMARY);
  const auto reactions = block(lines, "       * PILE TOP REACTIONS *", 5);
  ASSERT_EQ(reactions.size(), 5u);
  const auto row = numbers(reactions[4]);
  ASSERT_EQ(row.size(), 7u);
  EXPECT_EQ(row[0], 1.0);
  EXPECT_NEAR(row[1], fx, 5e-5 * std::fabs(fx));
}

TEST(EnvelopePrint, TwoDimensionalEnvelopesCarryThreeValues) {
  ENV_RUN r("env_2d", {100.0, -50.0}, true);
  for (int m = 1; m <= 2; ++m) r.run->store.loads.CASE[m].CONC[1].MOMENT_Z = m == 1 ? 400.0 : -800.0;
  ASSERT_EQ(r.drive(), 0);
  const auto table = r.lines(F_RESULTS_TABLE);
  std::vector<double> load1, disp1, load2, disp2, lmin, dmin, lmax, dmax;
  cap_vectors(table, "LOAD CASE :     1", load1, disp1);
  cap_vectors(table, "LOAD CASE :     2", load2, disp2);
  cap_vectors(table, "LOAD CASE ENV : 1", lmin, dmin);
  cap_vectors(table, "LOAD CASE ENV : 2", lmax, dmax);
  ASSERT_EQ(load1.size(), 3u);
  ASSERT_EQ(lmin.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(lmin[k], std::min(load1[k], load2[k])) << k;
    EXPECT_EQ(lmax[k], std::max(load1[k], load2[k])) << k;
    EXPECT_EQ(dmin[k], std::min(disp1[k], disp2[k])) << k;
    EXPECT_EQ(dmax[k], std::max(disp1[k], disp2[k])) << k;
  }
  EXPECT_EQ(lmin[2], -800.0);
  EXPECT_EQ(lmax[2], 400.0);
  // Pile tops: three displacements, three forces and the stress.
  const auto e = block(table, "LOAD CASE ENV : 2", 10);
  ASSERT_EQ(e.size(), 10u);
  EXPECT_EQ(numbers(e[9]).size(), 7u);
  // The report's Table L of the envelope in the 2D headings.
  const auto rep = r.lines(F_REPORT);
  const auto b = block(rep, "     LOAD CASE ENV : 2", 22);
  ASSERT_EQ(b.size(), 22u);
  EXPECT_EQ(b[10], "             VERT. LOAD,   F    HORI. LOAD,   F    MOMENT,  F- L");
  EXPECT_EQ(numbers(b[11]).size(), 3u);
  EXPECT_EQ(b[11].substr(0, 8), "        ");
  EXPECT_EQ(b[11].size(), 8 + 3 * 18u + 1);
  // The summary rows: three values each.
  const auto sum = r.lines(F_SUMMARY);
  std::size_t at = 0;
  while (at < sum.size() && sum[at] != "     LOAD CASE ENV : 2") ++at;
  const auto rows = block(sum, "      PILE GROUP   DISP. X, L   DISP. Y, L   ROT. Z,RAD  ", 10, at);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(numbers(rows[2]).size(), 4u);
  EXPECT_EQ(rows[5].substr(0, 16), "       MINIMUM  ");
  EXPECT_EQ(numbers(rows[5].substr(16)).size(), 3u);
}

TEST(EnvelopePrint, PrintOptionOneGivesThePileTopsWithoutTheTablesAlongThePiles) {
  ENV_RUN r("env_print_one", {100.0, -50.0});
  r.run->store.loads.CASE_ENV_PRINT = 1;
  ASSERT_EQ(r.drive(), 0);
  const std::string rep = r.text(F_REPORT);
  const std::size_t env = rep.find("LOAD CASE ENV : 1");
  ASSERT_NE(env, std::string::npos);
  EXPECT_NE(rep.find("       * PILE GROUP *     2", env), std::string::npos);
  EXPECT_NE(rep.find("THE PILE COORDINATE SYSTEM (LOCAL AXES)", env), std::string::npos);
  EXPECT_EQ(rep.find("* EFFECTS FOR LATERALLY LOADED PILE *", env), std::string::npos);
}

}  // namespace
