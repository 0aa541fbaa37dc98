// Stiffness passes of a load case on the linear-spring foundation: the
// flexibility columns against the linear response, the stiffness matrices as
// their inverses, skipped degrees of freedom, the diagonal option, the
// default levels, and no passes for combinations.
#include "group/stiffness_passes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "group/cap_solve_2d.h"
#include "group/driver.h"
#include "group/foundation_stiffness.h"
#include "group/loads.h"
#include "group/group_fixture.h"
#include "group/pile_head.h"
#include "output/headings.h"
#include "support/test_support.h"

using namespace kestra;
namespace fs = std::filesystem;

namespace {

using kestra_test::set_text;

void controls(LOAD_CONTROLS& c, const char* name) { kestra_test::load_controls(c, name, 0); }

// Four vertical piles on linear springs, one load case with stiffness data,
// the run's files in a scratch directory.
struct STIFF_RUN {
  std::unique_ptr<RUN> run;
  fs::path dir;
  explicit STIFF_RUN(const std::string& test, VEC6 load, std::vector<double> levels, int tables = 1) {
    run = kestra_test::make_group({{0, 2, 2}, {0, -2, 2}, {0, 2, -2}, {0, -2, -2}});
    STORE& s = run->store;
    set_text(s.TITLE, "STIFFNESS OF FOUR PILES", 80);
    LOAD_DATA& ld = s.loads;
    ld.NLC = 1;
    LOAD_CASE& c = ld.CASE[1];
    controls(c, "STIFFNESS");
    c.SCALE_FACTOR = 1.0;
    c.NCONC = 1;
    c.CONC[1].FORCE_X = load[1];
    c.CONC[1].FORCE_Y = load[2];
    c.CONC[1].FORCE_Z = load[3];
    c.CONC[1].MOMENT_X = load[4];
    c.CONC[1].MOMENT_Y = load[5];
    c.CONC[1].MOMENT_Z = load[6];
    c.STIFFNESS_DATA = 5;
    c.STIFF_TABLES = tables;
    c.NLEVELS = static_cast<int>(levels.size());
    for (int k = 1; k <= c.NLEVELS; ++k) c.LEVELS[k] = levels[k - 1];
    ld.NCOMB = 0;
    SET_RESULT_HEADINGS(*run);
    dir = kestra_test::scratch_dir(test);
    for (int role = F_REPORT; role <= NAMES_RECORDS; ++role) {
      char file[16];
      std::snprintf(file, sizeof file, "f%02d.txt", role);
      run->files.name[role] = (dir / file).string();
    }
    for (int role : {F_REPORT, F_SUMMARY, F_RUNTIME, F_CASE_RESULTS, F_RESULTS_TABLE, F_CAP_TRACE, F_NODE_RESULTS})
      run->files.fp[role] = std::fopen(run->files.name[role].c_str(), "w");
    run->files.fp[F_SUMMARY_SCRATCH] = std::fopen(run->files.name[F_SUMMARY_SCRATCH].c_str(), "w+");
  }
  int drive() {
    const int st = RUN_DRIVER(*run);
    for (int role = 1; role <= NAMES_RECORDS; ++role) {
      if (run->files.fp[role] && (role == F_FLEX_SCRATCH || role == F_DISP_SCRATCH)) ++left_open;
      if (run->files.fp[role]) {
        std::fclose(run->files.fp[role]);
        run->files.fp[role] = nullptr;
      }
    }
    return st;
  }
  std::string text(int role) { return kestra_test::read_file(run->files.name[role]); }
  int left_open = 0;
};

// The flexibility scratch records: per pass in order, per level, the level
// number and the six displacements over the load.
struct FLEX_RECORD {
  int k;
  std::vector<double> f;
};
std::vector<FLEX_RECORD> flex_records(const std::string& text) {
  std::vector<FLEX_RECORD> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    FLEX_RECORD r;
    ls >> r.k;
    double v;
    while (ls >> v) r.f.push_back(v);
    out.push_back(r);
  }
  return out;
}

// The stiffness matrix of level k from the results table file (rows of the
// row number and six values after the "   N:" line of that level).
std::vector<std::vector<double>> table_matrix(const std::string& tab, int k, int n = 6) {
  const std::size_t head = tab.find("* PILE CAP STIFFNESS ESTIMATION *");
  if (head == std::string::npos) return {};
  char key[32];
  std::snprintf(key, sizeof key, "   N:%5d", k);
  std::size_t p = tab.find(key, head);
  if (p == std::string::npos) return {};
  std::istringstream in(tab.substr(tab.find('\n', p) + 1));
  std::vector<std::vector<double>> K(n, std::vector<double>(n));
  for (int r = 0; r < n; ++r) {
    int row;
    in >> row;
    for (int c = 0; c < n; ++c) in >> K[r][c];
  }
  return K;
}

const VEC6 FULL_LOAD{0, 4000.0, 100.0, 80.0, 30.0, 60.0, 40.0};

}  // namespace

// The flexibility of the linear foundation: the vertical column is 1/(4 KA)
// with nothing else moving; every column is the same at every level; the
// stiffness matrix is the inverse of the flexibility and equals the tangent
// stiffness of the piles at rest.
TEST(Stiffness, LinearFoundationFlexibilityAndItsInverse) {
  STIFF_RUN d("stiffness_linear", FULL_LOAD, {0.5, 1.0});
  ASSERT_EQ(d.drive(), 0);
  EXPECT_EQ(d.left_open, 0);
  const std::vector<FLEX_RECORD> rec = flex_records(d.text(F_FLEX_SCRATCH));
  ASSERT_EQ(rec.size(), 12u);  // six passes, two levels
  const double f11 = 1.0 / (4.0 * kestra_test::KA);
  EXPECT_NEAR(rec[0].f[0], f11, 1.0E-6 * f11);
  for (int j = 1; j < 6; ++j) EXPECT_NEAR(rec[0].f[j], 0.0, 1.0E-6 * f11) << j;
  // The lateral Y column: a sway with the rotation about Z that goes with it.
  EXPECT_GT(rec[2].f[1], 0.0);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(rec[2 * i].k, 1);
    EXPECT_EQ(rec[2 * i + 1].k, 2);
    for (int j = 0; j < 6; ++j)
      EXPECT_NEAR(rec[2 * i].f[j], rec[2 * i + 1].f[j], 1.0E-5 * std::fabs(rec[2 * i].f[i])) << i << "," << j;
  }
  // K F = I for both levels.
  const std::string tab = d.text(F_RESULTS_TABLE);
  for (int k = 1; k <= 2; ++k) {
    const auto K = table_matrix(tab, k);
    ASSERT_EQ(K.size(), 6u);
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 6; ++c) {
        double sum = 0.0;
        for (int j = 0; j < 6; ++j) sum += K[r][j] * rec[2 * c + (k - 1)].f[j];
        EXPECT_NEAR(sum, r == c ? 1.0 : 0.0, 1.0E-5) << "level " << k << " K*F(" << r << "," << c << ")";
      }
    EXPECT_NEAR(K[0][0], 4.0 * kestra_test::KA, 1.0E-5 * 4.0 * kestra_test::KA);
  }
  // Against the tangent stiffness of the piles at rest (the reactions oppose
  // the displacement, so the foundation stiffness is its negative).
  MAT6 T;
  ASSERT_EQ(CAP_STIFFNESS(*d.run, VEC6{}, T), 0);
  const auto K = table_matrix(tab, 2);
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c)
      EXPECT_NEAR(K[r - 1][c - 1], -T[r][c], 1.0E-4 * std::fabs(T[r][r]) + 1.0E-6 * std::fabs(T[c][c]))
          << r << "," << c;
  // The case results: every level of every pass, then the total load.
  const std::string cr = d.text(F_CASE_RESULTS);
  EXPECT_NE(cr.find("LOAD CASE :     1\n      DOF :     1 POINT :     1\n    1 ANALYSIS COMPLETED\n"
                    "      DOF :     1 POINT :     2\n    1 ANALYSIS COMPLETED\n      DOF :     2 POINT :     1\n"),
            std::string::npos);
  EXPECT_NE(cr.find("      DOF :     6 POINT :     2\n    1 ANALYSIS COMPLETED\n      ANALYSIS DUE TO TOTAL LOAD\n"
                    "    1 ANALYSIS COMPLETED\n"),
            std::string::npos);
  // The report: heading, one heading per degree of freedom, the matrices.
  const std::string rep = d.text(F_REPORT);
  for (const char* t : {"     * PILE CAP FLEXIBILITY ESTIMATION *", "     DOF   : 1 (FORCE X)", "     DOF   : 4 (MOMENT X)",
                        "     DOF   : 6 (MOMENT Z)", "     * PILE CAP STIFFNESS ESTIMATION *",
                        "       N:    2  FACTOR :    1.0000", "K11", "* TABLE L *"})
    EXPECT_NE(rep.find(t), std::string::npos) << t;
  EXPECT_NE(tab.find("CAP FLEX., 5, MOMENT Y"), std::string::npos);
  EXPECT_NE(d.text(F_RUNTIME).find("     DOF :     3 POINT :     2"), std::string::npos);
}

// Zero load components: their passes are skipped with the note, the loaded
// components run at the scaled loads, and the stiffness is that of the
// loaded degrees of freedom with zero rows and columns for the others.
TEST(Stiffness, ZeroComponentIsSkippedWithItsNote) {
  STIFF_RUN d("stiffness_skip", VEC6{0, 4000.0, 100.0, 0, 0, 0, 0}, {0.5, 1.0});
  ASSERT_EQ(d.drive(), 0);
  const std::string rep = d.text(F_REPORT);
  std::size_t notes = 0;
  for (std::size_t p = rep.find("DOF NOT CONSIDERED SINCE APPLIED FORCE AT CAP IS ZERO"); p != std::string::npos;
       p = rep.find("DOF NOT CONSIDERED SINCE APPLIED FORCE AT CAP IS ZERO", p + 1))
    ++notes;
  EXPECT_EQ(notes, 4u);
  EXPECT_NE(rep.find("     DOF   : 3 (FORCE Z)\n\n             DOF NOT CONSIDERED SINCE APPLIED FORCE AT CAP IS ZERO"),
            std::string::npos);
  const std::string cr = d.text(F_CASE_RESULTS);
  EXPECT_NE(cr.find("      DOF :     3 POINT :     1\n    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO\n"
                    "      DOF :     3 POINT :     2\n    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO\n"),
            std::string::npos);
  // The vertical pass applies half, then all of the vertical load alone.
  const std::size_t pass1 = rep.find("DOF   : 1 (FORCE X)");
  const std::size_t pass2 = rep.find("DOF   : 2 (FORCE Y)");
  ASSERT_NE(pass1, std::string::npos);
  const std::string table1 = rep.substr(pass1, pass2 - pass1);
  EXPECT_NE(table1.find("         1          2000.00"), std::string::npos) << table1;
  EXPECT_NE(table1.find("         2          4000.00"), std::string::npos) << table1;
  // Only the two loaded passes left flexibility records.
  EXPECT_EQ(flex_records(d.text(F_FLEX_SCRATCH)).size(), 4u);
  const auto K = table_matrix(d.text(F_RESULTS_TABLE), 1);
  ASSERT_EQ(K.size(), 6u);
  EXPECT_NEAR(K[0][0], 4.0 * kestra_test::KA, 1.0E-5 * 4.0 * kestra_test::KA);
  EXPECT_GT(K[1][1], 0.0);
  for (int r = 0; r < 6; ++r)
    for (int c = 2; c < 6; ++c) {
      EXPECT_EQ(K[r][c], 0.0);
      EXPECT_EQ(K[c][r], 0.0);
    }
}

// STIFF_DIAGONAL 1: diagonal matrices of the inverted diagonal flexibilities.
TEST(Stiffness, DiagonalOptionInvertsTheDiagonalFlexibilities) {
  STIFF_RUN d("stiffness_diagonal", FULL_LOAD, {1.0});
  d.run->store.loads.CASE[1].STIFF_DIAGONAL = 1;
  ASSERT_EQ(d.drive(), 0);
  const std::vector<FLEX_RECORD> rec = flex_records(d.text(F_FLEX_SCRATCH));
  ASSERT_EQ(rec.size(), 6u);
  const auto K = table_matrix(d.text(F_RESULTS_TABLE), 1);
  ASSERT_EQ(K.size(), 6u);
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) {
      if (r == c)
        EXPECT_NEAR(K[r][r], 1.0 / rec[r].f[r], 1.0E-6 / std::fabs(rec[r].f[r])) << r;
      else
        EXPECT_EQ(K[r][c], 0.0) << r << "," << c;
    }
  // The coupled matrix of the same foundation is not diagonal: sway and
  // rocking interact, so the option makes a difference.
  EXPECT_NE(rec[1].f[5], 0.0);
}

// No levels given: the ten default levels; no tables asked: no matrices.
TEST(Stiffness, DefaultLevelsWithoutTables) {
  STIFF_RUN d("stiffness_default", VEC6{0, 4000.0, 0, 0, 0, 0, 0}, {}, 0);
  ASSERT_EQ(d.drive(), 0);
  const std::vector<FLEX_RECORD> rec = flex_records(d.text(F_FLEX_SCRATCH));
  ASSERT_EQ(rec.size(), 10u);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(rec[k].k, k + 1);
  const RUN& r = *d.run;
  ASSERT_EQ(r.store.an.NLEVELS, 10);
  EXPECT_DOUBLE_EQ(r.store.an.LEVELS[1], 0.1);
  EXPECT_DOUBLE_EQ(r.store.an.LEVELS[2], std::log10(2.0));
  EXPECT_DOUBLE_EQ(r.store.an.LEVELS[10], 1.0);
  const std::string rep = d.text(F_REPORT);
  EXPECT_NE(rep.find("        10          4000.00"), std::string::npos);
  EXPECT_NE(rep.find("         1          400.000"), std::string::npos);
  EXPECT_EQ(rep.find("* PILE CAP STIFFNESS ESTIMATION *"), std::string::npos);
}

// A combination of a case with stiffness data runs one analysis only.
TEST(Stiffness, CombinationRunsNoStiffnessPass) {
  STIFF_RUN d("stiffness_comb", FULL_LOAD, {1.0});
  LOAD_DATA& ld = d.run->store.loads;
  ld.NCOMB = 1;
  controls(ld.COMB[1], "COMB");
  ld.COMB[1].BENDING_RF = ld.COMB[1].SHEAR_RF = 1.0;
  ld.COMB[1].NCOMB_CASES = 1;
  ld.COMB[1].ENTRY[1] = {1, 1.5};
  ASSERT_EQ(d.drive(), 0);
  const std::string cr = d.text(F_CASE_RESULTS);
  const std::size_t comb = cr.find("LOAD COMB. :     1");
  ASSERT_NE(comb, std::string::npos);
  EXPECT_EQ(cr.substr(comb), "LOAD COMB. :     1\n      ANALYSIS DUE TO TOTAL LOAD\n    1 ANALYSIS COMPLETED\n");
  const std::string rep = d.text(F_REPORT);
  const std::size_t rc = rep.find("LOAD COMB. :     1");
  ASSERT_NE(rc, std::string::npos);
  EXPECT_EQ(rep.find("FLEXIBILITY ESTIMATION", rc), std::string::npos);
  EXPECT_EQ(rep.find("DOF   :", rc), std::string::npos);
}

// A level whose cap solution failed: flagged displacement records, the unit
// column in the flexibility file, the failure line in the case results.
TEST(Stiffness, FailedLevelRecordsTheUnitColumn) {
  auto run = kestra_test::make_group({{0, 0, 0}});
  const fs::path dir = kestra_test::scratch_dir("stiffness_failed_level");
  run->files.name[F_DISP_SCRATCH] = (dir / "disp.txt").string();
  run->files.name[F_FLEX_SCRATCH] = (dir / "flex.txt").string();
  run->files.name[F_CASE_RESULTS] = (dir / "cr.txt").string();
  for (int role : {F_DISP_SCRATCH, F_FLEX_SCRATCH, F_CASE_RESULTS})
    run->files.fp[role] = std::fopen(run->files.name[role].c_str(), "w");
  run->store.an.STIFF_DOF = 2;
  run->store.an.STIFF_LEVEL = 3;
  FLEXIBILITY_RECORDS(*run, "    3 NO CONVERGENCE ON PILE CAP", VEC6{}, VEC6{});
  for (int role : {F_DISP_SCRATCH, F_FLEX_SCRATCH, F_CASE_RESULTS}) std::fclose(run->files.fp[role]);
  const auto disp = flex_records(kestra_test::read_file(dir / "disp.txt"));
  ASSERT_EQ(disp.size(), 2u);
  EXPECT_EQ(disp[0].k, -3);
  EXPECT_EQ(disp[0].f.size(), 7u);
  EXPECT_EQ(disp[1].k, -3);
  EXPECT_EQ(disp[1].f.size(), 6u);
  const auto flex = flex_records(kestra_test::read_file(dir / "flex.txt"));
  ASSERT_EQ(flex.size(), 1u);
  EXPECT_EQ(flex[0].k, 3);
  EXPECT_EQ(flex[0].f, (std::vector<double>{0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(kestra_test::read_file(dir / "cr.txt"), "    3 NO CONVERGENCE ON PILE CAP\n");
}

namespace {

// The equivalent stiffness matrix of point p from the results table file
// (the rows after the displacement of the cap at that point).
std::vector<std::vector<double>> origin_matrix(const std::string& tab, int p, int n = 6) {
  char key[48];
  std::snprintf(key, sizeof key, "        1   N:%5d", p);
  std::size_t at = tab.find(key);
  if (at == std::string::npos) return {};
  at = tab.find("* DISPLACEMENT OF PILE CAP AT ORIGIN *", at);
  if (at == std::string::npos) return {};
  at = tab.find('\n', at);
  at = tab.find('\n', at + 1);
  std::istringstream in(tab.substr(at + 1));
  std::vector<std::vector<double>> K(n, std::vector<double>(n));
  for (int r = 0; r < n; ++r) {
    int row;
    in >> row;
    for (int c = 0; c < n; ++c) in >> K[r][c];
  }
  return K;
}

}  // namespace

// The twelve parameters after the levels: basis, target degree of freedom,
// six targets, tolerance, iterations, geometric switch, axial-load switch.
void set_points(LOAD_CASE& c, std::vector<double> levels, std::vector<double> prm) {
  c.STIFFNESS_DATA = 11;
  c.NLEVELS = static_cast<int>(levels.size() + prm.size());
  int k = 0;
  for (double v : levels) c.LEVELS[++k] = v;
  for (double v : prm) c.LEVELS[++k] = v;
}

// Load basis at two levels: two single analyses at half and full load, each
// followed by its matrix; on linear springs the secant model of the piles is
// the tangent of the linear response.
TEST(FoundationStiffness, LoadBasisMatchesTheTangentOfTheLinearResponse) {
  STIFF_RUN d("foundation_load_basis", FULL_LOAD, {});
  set_points(d.run->store.loads.CASE[1], {0.5, 1.0}, {});
  ASSERT_EQ(d.drive(), 0);
  const std::string tab = d.text(F_RESULTS_TABLE);
  MAT6 T;
  ASSERT_EQ(CAP_STIFFNESS(*d.run, VEC6{}, T), 0);
  for (int p = 1; p <= 2; ++p) {
    const auto K = origin_matrix(tab, p);
    ASSERT_EQ(K.size(), 6u) << p;
    // The axial and twist terms are the read-back head stiffnesses.
    EXPECT_NEAR(K[0][0], 4.0 * kestra_test::KA, 1.0E-6 * 4.0 * kestra_test::KA);
    for (int r = 1; r <= 6; ++r)
      for (int c = 1; c <= 6; ++c)
        EXPECT_NEAR(K[r - 1][c - 1], -T[r][c], 0.01 * std::sqrt(std::fabs(T[r][r] * T[c][c])))
            << "point " << p << " K(" << r << "," << c << ")";
  }
  // Half, then the full load.
  EXPECT_NE(tab.find("        1   N:    1  FACTOR :    0.5000\n       * EQUIVALENT CONC. LOAD AT ORIGIN *\n"
                     "        2000.00000        50.0000000"),
            std::string::npos);
  EXPECT_NE(tab.find("        1   N:    2  FACTOR :    1.0000\n       * EQUIVALENT CONC. LOAD AT ORIGIN *\n"
                     "        4000.00000        100.000000"),
            std::string::npos);
  const std::string cr = d.text(F_CASE_RESULTS);
  EXPECT_NE(cr.find("      STIFFNESS ESTIMATION, POINT :    1/   2 FACTOR :      0.50000\n"
                    "      STIFFNESS ESTIMATION, ITER :     0 FACTOR :      0.50000\n    1 ANALYSIS COMPLETED\n"
                    "      STIFFNESS ESTIMATION, POINT :    2/   2 FACTOR :      1.00000\n"),
            std::string::npos)
      << cr;
  const std::string rep = d.text(F_REPORT);
  for (const char* t : {"     * PILE CAP STIFFNESS ESTIMATION *\n     - BASED ON TOTAL APPLIED LOAD  ",
                        "          * EQUIVALENT STIFFNESS MATRIX AT ORIGIN *", "    DOF          1", "   LOAD",
                        "   DISP"})
    EXPECT_NE(rep.find(t), std::string::npos) << t;
  // One matrix per point in the foundation stiffness file; the node springs
  // of every pile in the node results file.
  const std::string fs = d.text(F_FOUND_STIFFNESS);
  EXPECT_EQ(fs.find("     * EQV. STIFFNESS MATRIX AT ORIGIN *"), 0u);
  EXPECT_NE(fs.find("     * EQV. STIFFNESS MATRIX AT ORIGIN *", 10), std::string::npos);
  const std::string nr = d.text(F_NODE_RESULTS);
  EXPECT_NE(nr.find("     LOAD CASE=    1     NPOINTS=    2"), std::string::npos);
  EXPECT_NE(nr.find("     NPILES=    4\n     PILE=    1     NNODES=   41"), std::string::npos);
  EXPECT_NE(nr.find("     POINT=    2"), std::string::npos);
}

// Target basis with the axial-load switch: the lateral load alone is scaled
// until the cap moves the target distance along Y; the first iteration of
// the first point runs at factor 0 and the vertical load stays in full.
TEST(FoundationStiffness, TargetDeflectionScalesOnlyItsComponent) {
  STIFF_RUN d("foundation_target", VEC6{0, 4000.0, 100.0, 0, 0, 0, 0}, {});
  const double target = 0.01;
  set_points(d.run->store.loads.CASE[1], {0.5, 1.0}, {1, 2, 0, target, 0, 0, 0, 0, 0.1, 10, 0, 1});
  ASSERT_EQ(d.drive(), 0);
  const std::string tab = d.text(F_RESULTS_TABLE);
  const std::string rt = d.text(F_RUNTIME);
  EXPECT_NE(rt.find("     STIFFNESS ESTIMATION, ITER :     0 FACTOR :      0.00000\n\n     LOAD :   0.40000E+04  0.00000E+00"),
            std::string::npos);
  // The displacement at each point is its target; the vertical load is the full one.
  for (int p = 1; p <= 2; ++p) {
    char key[48];
    std::snprintf(key, sizeof key, "        1   N:%5d", p);
    const std::size_t at = tab.find(key);
    ASSERT_NE(at, std::string::npos);
    std::istringstream in(tab.substr(tab.find("LOAD AT ORIGIN *\n", at) + 17));
    double load[6], disp[6];
    for (double& v : load) in >> v;
    std::string skip;
    for (int k = 0; k < 8; ++k) in >> skip;
    for (double& v : disp) in >> v;
    EXPECT_DOUBLE_EQ(load[0], 4000.0);
    EXPECT_NEAR(disp[1], target * (p == 1 ? 0.5 : 1.0), 1.0E-3 * target) << p;
  }
  const std::string rep = d.text(F_REPORT);
  EXPECT_NE(rep.find("     - BASED ON TARGET DEFLECTION   "), std::string::npos);
  EXPECT_NE(rep.find("  DISPLACEMENT Y,  TARGET ="), std::string::npos);
  EXPECT_EQ(origin_matrix(tab, 2).size(), 6u);
}

// A target far beyond the applied load needs a factor above 1000, printed
// in exponent form; a target never met within the iterations still gives
// its matrix after the "MAX. ITER. REACHED" line.
TEST(FoundationStiffness, LargeFactorAndIterationLimit) {
  STIFF_RUN d("foundation_large_factor", VEC6{0, 4000.0, 0.01, 0, 0, 0, 0}, {});
  set_points(d.run->store.loads.CASE[1], {1.0}, {1, 2, 0, 0.01, 0, 0, 0, 0, 0.1, 3, 0, 1});
  ASSERT_EQ(d.drive(), 0);
  const std::string cr = d.text(F_CASE_RESULTS);
  EXPECT_NE(cr.find("      STIFFNESS ESTIMATION, ITER :     2 FACTOR :  0.2"), std::string::npos) << cr;
  EXPECT_NE(d.text(F_RUNTIME).find("STIFFNESS ESTIMATION,  MAX. ITER. REACHED,  COMPUTED DEF.:"), std::string::npos);
  EXPECT_EQ(origin_matrix(d.text(F_RESULTS_TABLE), 1).size(), 6u);
}

// The head stiffness of a long pile on uniform springs against the
// semi-infinite beam: 4 EI b^3 in sway with the head fixed against
// rotation, 2 EI b in rotation, 2 EI b^2 coupling; pinned, the rotation row
// and column vanish and the sway stiffness halves; a compressive axial force
// with the geometric terms lowers it.
TEST(FoundationStiffness, CondensedHeadStiffnessOfABeamOnSprings) {
  const int N = 81;
  const double h = 0.5, k = 1000.0, ei = 1.0E6;
  std::vector<double> s(N + 1), e1(N + 1, ei), e2(N + 1, ei);
  for (int j = 1; j <= N; ++j) s[j] = (j == 1 || j == N) ? k * h / 2 : k * h;
  const double b = kestra_test::hetenyi_beta(ei, k);
  for (bool three_d : {false, true}) {
    MAT6 K;
    CONDENSED_HEAD_STIFFNESS(three_d, N, h, s.data(), e1.data(), e2.data(), 0.0, false, K);
    const int rot = three_d ? 6 : 3;
    EXPECT_NEAR(K[2][2], 4 * ei * b * b * b, 0.02 * 4 * ei * b * b * b) << three_d;
    EXPECT_NEAR(K[rot][rot], 2 * ei * b, 0.02 * 2 * ei * b) << three_d;
    EXPECT_NEAR(std::fabs(K[2][rot]), 2 * ei * b * b, 0.02 * 2 * ei * b * b) << three_d;
    if (three_d) {
      EXPECT_NEAR(K[3][3], K[2][2], 1.0E-9 * K[2][2]);
      EXPECT_NEAR(K[5][5], K[6][6], 1.0E-9 * K[6][6]);
    }
    MAT6 pinned = K;
    HEAD_CONNECTION(pinned, three_d ? 6 : 3, 1, 0.0, rot, 2);
    for (int j = 1; j <= (three_d ? 6 : 3); ++j) {
      EXPECT_EQ(pinned[rot][j], 0.0);
      EXPECT_EQ(pinned[j][rot], 0.0);
    }
    EXPECT_NEAR(pinned[2][2], 2 * ei * b * b * b, 0.03 * 2 * ei * b * b * b);
    MAT6 zero_restraint = K;
    HEAD_CONNECTION(zero_restraint, three_d ? 6 : 3, 3, 0.0, rot, 2);
    EXPECT_EQ(zero_restraint, pinned);
    MAT6 fixed = K;
    HEAD_CONNECTION(fixed, three_d ? 6 : 3, 2, 0.0, rot, 2);
    EXPECT_EQ(fixed, K);
    // A rotational restraint between the two: stiff, it is nearly fixed;
    // soft, the sway stiffness nearly that of the pinned head.
    MAT6 stiff = K, soft = K;
    HEAD_CONNECTION(stiff, three_d ? 6 : 3, 3, 1.0E12, rot, 2);
    HEAD_CONNECTION(soft, three_d ? 6 : 3, 3, 1.0E-3, rot, 2);
    EXPECT_NEAR(stiff[2][2], K[2][2], 1.0E-5 * K[2][2]);
    EXPECT_NEAR(stiff[rot][rot], K[rot][rot], 1.0E-5 * K[rot][rot]);
    EXPECT_NEAR(soft[2][2], pinned[2][2], 1.0E-5 * pinned[2][2]);
    EXPECT_LT(std::fabs(soft[rot][rot]), 1.0E-2);
    MAT6 G;
    CONDENSED_HEAD_STIFFNESS(three_d, N, h, s.data(), e1.data(), e2.data(), 500.0, true, G);
    EXPECT_LT(G[2][2], K[2][2]);
    MAT6 off;
    CONDENSED_HEAD_STIFFNESS(three_d, N, h, s.data(), e1.data(), e2.data(), 500.0, false, off);
    EXPECT_EQ(off, K);
  }
}

// The next factor of the target iteration: zero with no history, the secant
// through the origin pair, then interpolation between the bracketing pairs
// of the sorted history (extrapolation from the end pairs outside it).
TEST(FoundationStiffness, NextFactorOfTheTargetIteration) {
  double D[8] = {}, F[8] = {};
  EXPECT_EQ(NEXT_FACTOR(D, F, 0, 1.0), 0.0);
  D[1] = 0.0;
  F[1] = 0.0;
  EXPECT_EQ(NEXT_FACTOR(D, F, 1, 0.5), 1.0);
  D[1] = 0.02;
  F[1] = 2.0;
  EXPECT_DOUBLE_EQ(NEXT_FACTOR(D, F, 1, 0.01), 1.0);
  // Pairs (0, 0), (0.02, 1), newest (0.01, 0.4) inserted in order.
  D[1] = 0.0, F[1] = 0.0;
  D[2] = 0.02, F[2] = 1.0;
  D[3] = 0.01, F[3] = 0.4;
  EXPECT_DOUBLE_EQ(NEXT_FACTOR(D, F, 3, 0.015), 0.7);
  EXPECT_EQ(D[2], 0.01);
  EXPECT_EQ(D[3], 0.02);
  EXPECT_DOUBLE_EQ(NEXT_FACTOR(D, F, 3, 0.03), 1.6);    // beyond the last pair
  EXPECT_DOUBLE_EQ(NEXT_FACTOR(D, F, 3, -0.01), -0.4);  // before the first
  // Two runs at the same displacement: no slope, no division by zero.
  double Ds[3] = {0, 0.01, 0.01}, Fs[3] = {0, 1.0, 2.0};
  EXPECT_EQ(NEXT_FACTOR(Ds, Fs, 2, 0.02), 2.0);
}

namespace {

// The same foundation as two rows of two piles in the X-Y plane.
void two_rows(STIFF_RUN& d) {
  STORE& s = d.run->store;
  s.ctl.ANALYSIS_TYPE = 2;
  PILE_DATA& p = s.piles;
  p.NPILES = 2;
  p.PILE_Y[1] = -2.0;
  p.PILE_Y[2] = 2.0;
  for (int i = 1; i <= 2; ++i) {
    p.PILE_X[i] = 0.0;
    p.PILE_Z[i] = 0.0;
    p.BETA[i] = 0.0;
    p.TR_SET[i] = 0;
    p.CONNECTZ[i] = 0;
    p.MULTIPLICITY[i] = 2.0;
    p.NO_OF_PILE[i] = 2;
    p.P_FACTOR[i] = p.Y_FACTOR[i] = 1.0;
  }
  SET_RESULT_HEADINGS(*d.run);
}

// dR/dU of the 2D group reaction at rest, by central differences.
MAT6 tangent_2d(RUN& run) {
  MAT6 K{};
  const double step[4] = {0, 1.0E-5, 1.0E-5, 1.0E-8};
  for (int j = 1; j <= 3; ++j) {
    VEC3 up{}, dn{}, Rp, Rm;
    up[j] = step[j];
    dn[j] = -step[j];
    CAP_RESISTANCE_2D(run, up, Rp);
    CAP_RESISTANCE_2D(run, dn, Rm);
    for (int r = 1; r <= 3; ++r) K[r][j] = (Rp[r] - Rm[r]) * 0.5 / step[j];
  }
  return K;
}

}  // namespace

// 2D loads (100, 20, 0) at levels 0.5 and 1.0: the moment is skipped with
// its note; the vertical pass applies 50 and then 100 alone, and its
// column is that of the four piles in compression.
TEST(Stiffness2D, MomentWithoutLoadIsSkipped) {
  STIFF_RUN d("stiffness_2d", VEC6{0, 100.0, 20.0, 0, 0, 0, 0}, {0.5, 1.0});
  two_rows(d);
  ASSERT_EQ(d.drive(), 0);
  const std::string rep = d.text(F_REPORT);
  EXPECT_NE(rep.find("     DOF   : 3 (MOMENT Z)\n\n             DOF NOT CONSIDERED SINCE APPLIED FORCE AT CAP IS ZERO"),
            std::string::npos);
  const std::size_t pass1 = rep.find("DOF   : 1 (FORCE X)");
  const std::size_t pass2 = rep.find("DOF   : 2 (FORCE Y)");
  ASSERT_NE(pass1, std::string::npos);
  ASSERT_NE(pass2, std::string::npos);
  const std::string table1 = rep.substr(pass1, pass2 - pass1);
  EXPECT_NE(table1.find("FORCE,  F     VERT. DISP, L    HOR. DISP Y, L    ROTATION Z,RAD"), std::string::npos) << table1;
  EXPECT_NE(table1.find("         1          50.0000"), std::string::npos) << table1;
  EXPECT_NE(table1.find("         2          100.000"), std::string::npos) << table1;
  const std::vector<FLEX_RECORD> rec = flex_records(d.text(F_FLEX_SCRATCH));
  ASSERT_EQ(rec.size(), 4u);
  const double f11 = 1.0 / (4.0 * kestra_test::KA);
  EXPECT_NEAR(rec[0].f[0], f11, 1.0E-6 * f11);
  EXPECT_EQ(rec[0].f.size(), 3u);
  // The stiffness of the two loaded degrees of freedom, none for the moment.
  const auto K = table_matrix(d.text(F_RESULTS_TABLE), 2, 3);
  ASSERT_EQ(K.size(), 3u);
  EXPECT_NEAR(K[0][0], 4.0 * kestra_test::KA, 1.0E-5 * 4.0 * kestra_test::KA);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(K[2][j], 0.0);
    EXPECT_EQ(K[j][2], 0.0);
  }
  EXPECT_NE(rep.find("K11"), std::string::npos);
}

// The 2D equivalent stiffness at the origin against the tangent of the
// linear response of the rows, multiplicities included.
TEST(FoundationStiffness2D, LoadBasisMatchesTheTangentOfTheRows) {
  STIFF_RUN d("foundation_2d", VEC6{0, 4000.0, 100.0, 0, 0, 0, 50.0}, {});
  two_rows(d);
  set_points(d.run->store.loads.CASE[1], {1.0}, {});
  ASSERT_EQ(d.drive(), 0);
  const auto K = origin_matrix(d.text(F_RESULTS_TABLE), 1, 3);
  ASSERT_EQ(K.size(), 3u);
  const MAT6 T = tangent_2d(*d.run);
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c <= 3; ++c)
      EXPECT_NEAR(K[r - 1][c - 1], T[r][c], 0.01 * std::sqrt(std::fabs(T[r][r] * T[c][c]))) << r << "," << c;
  EXPECT_NE(d.text(F_NODE_RESULTS).find("     NPILES=    2"), std::string::npos);
}

// A cap whose twist nothing resists: every level of the vertical pass meets
// a singular matrix, is tabled as not converged and enters the matrix as
// the unit column; the analysis goes on to the total load.
TEST(Stiffness, SingularLevelsAreTabledAndGiveTheUnitColumn) {
  STIFF_RUN d("stiffness_singular", VEC6{0, 1000.0, 0, 0, 0, 0, 0}, {0.5, 1.0});
  PILE_DATA& p = d.run->store.piles;
  p.NPILES = 1;
  p.PILE_Y[1] = p.PILE_Z[1] = 0.0;
  p.TR_SET[1] = 0;  // its generated torque curve is all zero
  ASSERT_EQ(d.drive(), 0);
  const std::string rep = d.text(F_REPORT);
  EXPECT_NE(rep.find("         1     NO CONVERGENCE ON PILE CAP\n         2     NO CONVERGENCE ON PILE CAP\n"),
            std::string::npos);
  const std::string cr = d.text(F_CASE_RESULTS);
  EXPECT_NE(cr.find("      DOF :     1 POINT :     2\n    7 SINGULAR STIFFNESS MATRIX \n"), std::string::npos) << cr;
  const std::vector<FLEX_RECORD> rec = flex_records(d.text(F_FLEX_SCRATCH));
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(rec[1].f, (std::vector<double>{1, 0, 0, 0, 0, 0}));
  const auto K = table_matrix(d.text(F_RESULTS_TABLE), 2);
  ASSERT_EQ(K.size(), 6u);
  EXPECT_DOUBLE_EQ(K[0][0], 1.0);
}

// A stop request during a pass ends it with status 4.
TEST(Stiffness, StopRequestEndsThePass) {
  STIFF_RUN d("stiffness_stop", FULL_LOAD, {1.0});
  RUN& r = *d.run;
  r.store.an.cur.STIFFNESS_DATA = 5;
  CASE_RESULTANT(r.store, 1);
  ASSERT_EQ(STIFFNESS_SETUP(r, 1), 6);
  kestra_test::write_file(d.dir / "f17.txt", "1\n");
  EXPECT_EQ(STIFFNESS_PASS(r, 1, 1), ST_STOPPED);
  STIFFNESS_FINISH(r, 1, 0);
  EXPECT_EQ(r.files.fp[F_FLEX_SCRATCH], nullptr);
  EXPECT_EQ(r.files.fp[F_DISP_SCRATCH], nullptr);
  EXPECT_EQ(r.store.an.STIFF_MODE, 0);
  EXPECT_EQ(r.store.an.STIFF_PASS, 0);
  d.drive();
}
