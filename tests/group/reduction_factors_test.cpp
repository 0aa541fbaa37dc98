// p-multipliers of closely spaced piles against hand-computed factors: the
// pair factors, pile positions of 2D rows and 3D piles, the group means, the
// sense of the movement, coincident piles, and the Table K estimate.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/report.h"
#include "engine/run.h"
#include "group/reduction_factors.h"
#include "input/sections.h"
#include "input/soils_hooks.h"
#include "support/test_support.h"

using namespace kestra;
using kestra_test::file_text;

namespace {

double side(double s) { return std::min(0.64 * std::pow(s, 0.34), 1.0); }
double lead(double s) { return std::min(0.70 * std::pow(s, 0.26), 1.0); }
double trail(double s) { return std::min(0.48 * std::pow(s, 0.38), 1.0); }

constexpr double D = 12.0;  // pile width

struct ReductionTest : ::testing::Test {
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  STORE& s = run->store;

  void SetUp() override {
    RUN_RESET(*run);
    s.ctl.UNITS_SYSTEM = 1;
    s.ctl.ANALYSIS_TYPE = 2;
    SET_UNIT_LABELS(s);
    PILE_DATA_DEFAULTS(s.piles);
    run->files.fp[F_REPORT] = std::tmpfile();
    run->files.fp[F_RUNTIME] = std::tmpfile();
    s.piles.NPROP = 1;
    s.piles.PROP[1].NSECT = 1;
    s.piles.PROP[1].SECT[1].CROSS_SECT = 1;
    s.piles.NXSEC = 1;
    s.piles.XSEC[1].TOP[XS_DIAMETER] = D;
  }
  void TearDown() override {
    for (FILE*& f : run->files.fp)
      if (f) {
        std::fclose(f);
        f = nullptr;
      }
  }
  // A 2D row of n piles at spacing S (widths) and horizontal position y (widths).
  void row(int n, double S, double y) {
    const int g = ++s.piles.NPILES;
    s.piles.PILE_PROP[g] = 1;
    s.piles.NO_OF_PILE[g] = n;
    s.piles.ROW_SPACING[g] = S * D;
    s.piles.PILE_Y[g] = y * D;
  }
  // A 3D pile at (y, z) in widths.
  void pile(double y, double z) {
    s.ctl.ANALYSIS_TYPE = 3;
    const int g = ++s.piles.NPILES;
    s.piles.PILE_PROP[g] = 1;
    s.piles.NO_OF_PILE[g] = 1;
    s.piles.PILE_Y[g] = y * D;
    s.piles.PILE_Z[g] = z * D;
  }
  std::string report() { return file_text(run->files.fp[F_REPORT]); }
};

TEST(PairFactor, SideBySideInLineAndSkewed) {
  const double phi = std::atan(4.0 / 3.0);
  struct ROW {
    const char* id;
    double du, dw;
    int sigma;
    double want;
  } rows[] = {
      {"side by side 3 widths", 0, 3, 1, 0.64 * std::pow(3.0, 0.34)},
      {"side by side 4 widths reaches 1", 0, -4, 1, 1.0},
      {"side by side beyond 5 widths", 0, 5.5, 1, 1.0},
      {"in line leading", 3, 0, 1, 0.70 * std::pow(3.0, 0.26)},
      {"in line trailing", -3, 0, 1, 0.48 * std::pow(3.0, 0.38)},
      {"sense reversed: trailing", 3, 0, -1, 0.48 * std::pow(3.0, 0.38)},
      {"sense reversed: leading", -3, 0, -1, 0.70 * std::pow(3.0, 0.26)},
      {"in line beyond 8 widths", 8.5, 0, 1, 1.0},
      {"skewed leading", 3, 4, 1,
       std::hypot(lead(5.0) * std::cos(phi), side(5.0) * std::sin(phi))},
      {"skewed trailing", -3, -4, 1,
       std::hypot(trail(5.0) * std::cos(phi), side(5.0) * std::sin(phi))},
      {"skewed beyond 8 widths", 6, 6, 1, 1.0},
      {"coincident: side by side at one width", 0, 0, 1, 0.64},
  };
  for (const ROW& r : rows) EXPECT_NEAR(PAIR_FACTOR(r.du, r.dw, r.sigma), r.want, 1e-12) << r.id;
  // The published values of two piles 3 widths apart.
  EXPECT_NEAR(PAIR_FACTOR(-3, 0, 1), 0.729, 5e-4);
  EXPECT_NEAR(PAIR_FACTOR(3, 0, 1), 0.931, 5e-4);
  EXPECT_NEAR(PAIR_FACTOR(0, 3, 1), 0.930, 5e-4);
}

TEST_F(ReductionTest, OnePileKeepsFullResistance) {
  pile(2.0, -1.0);
  s.piles.P_FACTOR_Y[1] = 0.5;  // user values are replaced
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_OK);
  ASSERT_EQ(REDUCTION_FACTORS_Z(*run, 1), ST_OK);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR_Y[1], 1.0);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR_Z[1], 1.0);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR[1], 1.0);
}

TEST_F(ReductionTest, TwoPilesInLineLeadAndTrail) {
  pile(0.0, 0.0);
  pile(3.0, 0.0);  // ahead of the first for movement towards +Y
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_OK);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[1], trail(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[2], lead(3.0), 1e-12);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR[2], s.piles.P_FACTOR_Y[2]);  // the plane's pair follows Y
  EXPECT_DOUBLE_EQ(s.piles.Y_FACTOR_Y[1], 1.0);
  // Moving towards -Y the roles swap.
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, -1), ST_OK);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[1], lead(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[2], trail(3.0), 1e-12);
  // Along Z the two stand side by side, 3 widths apart.
  ASSERT_EQ(REDUCTION_FACTORS_Z(*run, 1), ST_OK);
  EXPECT_NEAR(s.piles.P_FACTOR_Z[1], side(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR_Z[2], side(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[1], lead(3.0), 1e-12);  // Z leaves the Y pair alone
}

TEST_F(ReductionTest, RowsOfA2DAnalysisSpreadAcrossThePlane) {
  // Two piles at 3 widths: side by side at +-1.5 widths.
  row(2, 3.0, 0.0);
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_OK);
  EXPECT_NEAR(s.piles.P_FACTOR[1], side(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR[1], 0.930, 5e-4);
  EXPECT_DOUBLE_EQ(s.piles.Y_FACTOR[1], 1.0);

  // Three piles at 2 widths (0, +2, -2) and a row of one 3 widths ahead.
  TearDown();
  SetUp();
  row(3, 2.0, 0.0);
  row(1, 0.0, 3.0);
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_OK);
  const double skew2 = std::hypot(trail(std::hypot(3, 2)) * std::cos(std::atan(2.0 / 3.0)),
                                  side(std::hypot(3, 2)) * std::sin(std::atan(2.0 / 3.0)));
  const double middle = side(2.0) * side(2.0) * trail(3.0);
  const double outer = side(2.0) * side(4.0) * skew2;
  EXPECT_NEAR(s.piles.P_FACTOR[1], (middle + 2 * outer) / 3.0, 1e-12);
  const double lead_skew = std::hypot(lead(std::hypot(3, 2)) * std::cos(std::atan(2.0 / 3.0)),
                                      side(std::hypot(3, 2)) * std::sin(std::atan(2.0 / 3.0)));
  EXPECT_NEAR(s.piles.P_FACTOR[2], lead(3.0) * lead_skew * lead_skew, 1e-12);

  // Four piles at 3 widths: +-1.5 and +-4.5 widths.
  TearDown();
  SetUp();
  row(4, 3.0, 0.0);
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_OK);
  const double inner = side(3.0) * side(3.0) * side(6.0);
  const double edge = side(3.0) * side(6.0) * side(9.0);
  EXPECT_NEAR(s.piles.P_FACTOR[1], (2 * inner + 2 * edge) / 4.0, 1e-12);
}

// Under load along a row of a 3 x 3 group at 3 widths the leading row keeps
// more resistance than the middle and trailing rows.
TEST_F(ReductionTest, ThreeByThreeGroupShadowsItsBackRows) {
  for (double y : {0.0, 3.0, 6.0})
    for (double z : {-3.0, 0.0, 3.0}) pile(y, z);
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_OK);
  auto row_mean = [&](int first) {
    return (s.piles.P_FACTOR_Y[first] + s.piles.P_FACTOR_Y[first + 1] + s.piles.P_FACTOR_Y[first + 2]) / 3.0;
  };
  const double trailing_row = row_mean(1), middle_row = row_mean(4), leading_row = row_mean(7);
  EXPECT_GT(leading_row, middle_row);
  EXPECT_GT(leading_row, trailing_row);
  for (int g = 1; g <= 9; ++g) {
    EXPECT_GT(s.piles.P_FACTOR_Y[g], 0.0);
    EXPECT_LE(s.piles.P_FACTOR_Y[g], 1.0);
  }
  // The middle pile of the leading row, by hand: the pile behind it in line,
  // the one behind that, its two neighbours and the four skewed ones.
  const double sk33 = std::hypot(lead(std::hypot(3, 3)) * std::cos(std::atan(1.0)), side(std::hypot(3, 3)) * std::sin(std::atan(1.0)));
  const double sk63 = std::hypot(lead(std::hypot(6, 3)) * std::cos(std::atan(0.5)),
                                 side(std::hypot(6, 3)) * std::sin(std::atan(0.5)));
  EXPECT_NEAR(s.piles.P_FACTOR_Y[8], lead(3) * lead(6) * side(3) * side(3) * sk33 * sk33 * sk63 * sk63, 1e-12);
}

TEST_F(ReductionTest, CoincidentPilesAreTakenAsTouchingAndWarned) {
  row(1, 0.0, 0.0);
  row(1, 0.0, 0.0);
  REDUCTION_WORK work;
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1, work, true), ST_OK);
  EXPECT_EQ(work.COINCIDENT, 1);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR[1], 0.64);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR[2], 0.64);
  const std::string w = "** WARNING **  PILES 1 AND 2 (GROUPS 1 AND 2) STAND AT THE SAME POSITION; 1 SUCH PAIR(S) "
                        "TAKEN AS SIDE BY SIDE ONE WIDTH APART";
  EXPECT_NE(report().find(w), std::string::npos);
  EXPECT_NE(file_text(run->files.fp[F_RUNTIME]).find(w), std::string::npos);

  // A row of three at spacing 0: three coincident pairs, each pile with two.
  TearDown();
  SetUp();
  row(3, 0.0, 0.0);
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1, work, false), ST_OK);
  EXPECT_EQ(work.COINCIDENT, 3);
  EXPECT_NEAR(s.piles.P_FACTOR[1], 0.64 * 0.64, 1e-12);
  EXPECT_EQ(report().find("SAME POSITION"), std::string::npos);  // not asked to warn
}

// The short forms serve the cap iteration: in 3D they read the piles in
// place, and they repeat no warning.
TEST_F(ReductionTest, CapIterationUpdateIsQuietAndReadsThePilesInPlace) {
  pile(1.0, 1.0);
  pile(1.0, 1.0);
  pile(4.0, 1.0);
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_OK);
  ASSERT_EQ(REDUCTION_FACTORS_Z(*run, -1), ST_OK);
  EXPECT_EQ(report().find("SAME POSITION"), std::string::npos);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[1], 0.64 * trail(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[3], lead(3.0) * lead(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR_Z[3], side(3.0) * side(3.0), 1e-12);
  REDUCTION_WORK work;
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1, work, true), ST_OK);
  EXPECT_TRUE(work.U.empty());
  EXPECT_EQ(work.COINCIDENT, 1);
  EXPECT_NE(report().find("PILES 1 AND 2 (GROUPS 1 AND 2) STAND AT THE SAME POSITION"), std::string::npos);
}

// The working list follows the actual number of piles, beyond the 2000-group
// table; an absurd number is refused before anything is allocated.
TEST_F(ReductionTest, PileListIsSizedByTheActualCount) {
  row(2500, 10.0, 0.0);  // 10 widths apart: no shadowing
  REDUCTION_WORK work;
  ASSERT_EQ(REDUCTION_FACTORS_Y(*run, 1, work), ST_OK);
  EXPECT_EQ(work.U.size(), 2500u);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR[1], 1.0);

  TearDown();
  SetUp();
  row(30000, 3.0, 0.0);
  EXPECT_EQ(REDUCTION_FACTORS_Y(*run, 1, work), ST_DECK_LIMIT);
  EXPECT_NE(report().find("30000 piles (sum of NO_OF_PILE), above the limit of 20000"), std::string::npos);
}

TEST_F(ReductionTest, WidthMustBePositive) {
  row(2, 3.0, 0.0);
  s.piles.XSEC[1].TOP[XS_DIAMETER] = 0.0;
  EXPECT_EQ(REDUCTION_FACTORS_Y(*run, 1), ST_BAD_PROPERTY);
  EXPECT_EQ(run->status, ST_BAD_PROPERTY);
  EXPECT_NE(report().find("is not positive"), std::string::npos);
  EXPECT_DOUBLE_EQ(REDUCTION_PILE_WIDTH(s), 0.0);
}

// Table K, option 1: the sense from the first load case's lateral force
// (+1 without load cases); option 3: from the defined movement. The 2D table
// shows the pile width.
TEST_F(ReductionTest, TableKEstimateTakesTheSenseOfTheLoad) {
  row(1, 0.0, 0.0);
  row(1, 0.0, 3.0);
  s.ctl.SPACING_REDUCTION = 1;
  SPACING_ESTIMATE est;
  ASSERT_EQ(ECHO_HOOK_SPACING_FACTORS(*run, est), ST_OK);  // no load case: +1
  EXPECT_DOUBLE_EQ(est.PILE_DIAMETER, D);
  EXPECT_NEAR(s.piles.P_FACTOR[1], trail(3.0), 1e-12);

  LOAD_CASE& lc = s.loads.CASE[++s.loads.NLC];
  lc.SCALE_FACTOR = 1.0;
  lc.NCONC = 1;
  lc.CONC[1].FORCE_Y = -100.0;  // towards -Y: group 2 now trails
  ASSERT_EQ(ECHO_HOOK_SPACING_FACTORS(*run, est), ST_OK);
  EXPECT_NEAR(s.piles.P_FACTOR[1], lead(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR[2], trail(3.0), 1e-12);

  s.ctl.SPACING_REDUCTION = 3;
  s.ctl.GROUP_MOVE_Y = 0.5;
  ASSERT_EQ(ECHO_TABLES_J1_J2_K(*run), ST_OK);
  const std::string rep = report();
  EXPECT_NE(rep.find("     PILE DIAMETER =     12.000 IN\n"), std::string::npos) << rep;
  EXPECT_NE(rep.find("            1        0.7287        1.0000 \n"), std::string::npos) << rep;
  EXPECT_NE(rep.find("            2        0.9314        1.0000 \n"), std::string::npos) << rep;
}

TEST_F(ReductionTest, TableKEstimateIn3DTakesEachDirectionsSense) {
  pile(0.0, 0.0);
  pile(0.0, 3.0);  // in line along Z
  s.ctl.SPACING_REDUCTION = 3;
  s.ctl.GROUP_MOVE_Y = 1.0;
  s.ctl.GROUP_MOVE_Z = -1.0;
  SPACING_ESTIMATE est;
  ASSERT_EQ(ECHO_HOOK_SPACING_FACTORS(*run, est), ST_OK);
  EXPECT_NEAR(s.piles.P_FACTOR_Y[1], side(3.0), 1e-12);
  EXPECT_NEAR(s.piles.P_FACTOR_Z[1], lead(3.0), 1e-12);  // moving to -Z, pile 1 is ahead
  EXPECT_NEAR(s.piles.P_FACTOR_Z[2], trail(3.0), 1e-12);
}

}  // namespace
