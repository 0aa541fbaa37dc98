// Table N: the status of every request, the messages of the curves that
// are not generated, cap-level and boundary curves, and the plot-file copy.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "py_fixture.h"
#include "soil/py_print.h"

using namespace kestra;
using kestra_test::PY_FIXTURE;
using kestra_test::SOIL_POINT;
using kestra_test::clay;

namespace {

void request(PY_FIXTURE& f, int group, double x, std::initializer_list<double> defl = {}) {
  SOIL_DATA& s = f.store().soil;
  PY_REQUEST& r = s.PY_PRINT[++s.NPYPRINT];
  r.GROUP = group;
  r.DEPTH = x;
  r.NYU = static_cast<int>(defl.size());
  int i = 0;
  for (double d : defl) r.DEFL[++i] = d;
}

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// An embedded cap 1.5 thick over a pile whose head is 1 below the ground;
// soft clay, stiff clay from 5, user curves from 10, sand from 15.
struct EmbeddedCapTable : ::testing::Test {
  PY_FIXTURE f;
  void SetUp() override {
    f.capture();
    f.layer(1, -1, 5, clay(8, 20, 0.02));
    f.layer(3, 5, 10, clay(9, 80, 0.005));
    f.layer(5, 10, 15, SOIL_POINT{});
    SOIL_POINT sand;
    sand.gamma = 10;
    sand.phi_deg = 35;
    sand.k = 20000;
    f.layer(4, 15, 30, sand);
    f.pile(0.6, 20.0, 20, 0.0, -1.0);
    STORE& s = f.store();
    s.ctl.CAP_OPTION = 1;
    s.piles.CAP_WIDTH = 3.0;
    s.piles.CAP_THICKNESS = 1.5;
    request(f, 1, -2.0);               // 1: above the cap top (and above the ground)
    request(f, 1, -0.5);               // 2: in the cap: the cap-level curve
    request(f, 1, 0.0);                // 3: in the cap again
    request(f, 1, 25.0);               // 4: below the tip
    request(f, 1, 5.0);                // 5: on the boundary: the stiff clay below
    request(f, 1, 12.0);               // 6: in the user-curve layer
    request(f, 1, 3.0, {0.01, 0.02});  // 7: user deflections
  }
};

TEST_F(EmbeddedCapTable, StatusesOfTheRequests) {
  int st[MAX_PY_PRINT + 1] = {};
  PY_REQUEST_STATUSES(*f.run, st);
  const int expect[] = {0, PYR_ABOVE_CAP, PYR_CAP_LEVEL, PYR_CAP_AGAIN, PYR_BELOW_TIP,
                        PYR_GENERATE, PYR_GENERATE, PYR_GENERATE};
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(st[i], expect[i]) << i;
}

TEST_F(EmbeddedCapTable, ReportAndPlotFile) {
  f.store().py.PY_PHASE = 1;
  ASSERT_EQ(PRINT_PY_REQUESTS(*f.run), ST_OK);
  const std::string rep = f.report_text();
  const std::string plot = f.plot_text();
  EXPECT_NE(rep.find("\n\n     * GENERATED P-Y CURVES *\n\n     NUMBER OF CURVES  :    7\n"), std::string::npos);
  EXPECT_EQ(plot.rfind("     * GENERATED P-Y CURVES *\n         7\n", 0), 0u);
  EXPECT_NE(rep.find("         CURVE NUMBER              =    1\n\n"
                     "         PILE GROUP NUMBER         =    1\n\n"
                     "         CURVE NOT GENERATED SINCE REQUIRED DEPTH,       -2.00  M,\n"
                     "         IS ABOVE TOP OF PILE CAP,      -1.50  M"),
            std::string::npos);
  // The cap-level curve: its own header, the cap width in the soft clay header.
  EXPECT_NE(rep.find("         CURVE NUMBER              =    2\n\n"
                     "         AT PILE CAP LEVEL, DEPTH  =     -0.50  M\n\n"
                     "         NUMBER OF POINTS ON CURVE =   17"),
            std::string::npos);
  EXPECT_NE(rep.find("      0.50           3.000"), std::string::npos);
  EXPECT_NE(rep.find("         CURVE NUMBER              =    3\n\n"
                     "         AT PILE CAP LEVEL, DEPTH  =      0.00  M\n\n"
                     "         CURVE NOT GENERATED SINCE ONLY ONE CURVE \n"
                     "         AT PILE CAP LEVEL CAN BE PRINTED "),
            std::string::npos);
  EXPECT_NE(rep.find("IS BELOW TIP OF REQUIRED PILE,      20.00  M"), std::string::npos);
  EXPECT_NE(rep.find("         CURVE NOT GENERATED SINCE REQUIRED DEPTH,          12.00  M,\n"
                     "         IS WITHIN LAYER   3, WHICH IS SET AS USER DEFINED P-Y CURVES"),
            std::string::npos);
  // The boundary request is a stiff clay curve (its header has CAVG).
  const size_t c5 = rep.find("CURVE NUMBER              =    5");
  ASSERT_NE(c5, std::string::npos);
  const size_t c6 = rep.find("CURVE NUMBER              =    6");
  EXPECT_NE(rep.substr(c5, c6 - c5).find("DEPTH BELOW GS     DIAM        C       CAVG"), std::string::npos);
  EXPECT_NE(rep.find("         NUMBER OF POINTS ON CURVE =    2"), std::string::npos);
  // Plot records: the curve records, a depth record and the points of
  // each generated curve.
  EXPECT_NE(plot.find("\n    1    1    0\n    2    1   17\n"), std::string::npos);
  EXPECT_NE(plot.find("\n    3    1    0\n    4    1    0\n    5    1   17\n"), std::string::npos);
  EXPECT_NE(plot.find("\n    6    1    0\n    7    1    2\n"), std::string::npos);
  EXPECT_EQ(count(plot, "\n"), 2u + 7 + 3 + 17 + 17 + 2);
}

TEST(PrintedCurves, MessagesWithoutAnEmbeddedCap) {
  PY_FIXTURE f;
  f.capture();
  f.layer(1, 3, 10, clay(8, 20, 0.02));
  f.pile(0.6, 12.0, 12, 0.0, 2.0);  // head at 0, ground surface at 2
  request(f, 1, -1.0);  // above the head (also above the ground): the later test wins
  request(f, 1, 1.0);   // above the ground
  request(f, 1, 2.5);   // below the ground, above the soil top
  request(f, 1, 11.0);  // below the soil bottom, above the tip
  f.store().py.PY_PHASE = 1;
  int st[MAX_PY_PRINT + 1] = {};
  PY_REQUEST_STATUSES(*f.run, st);
  EXPECT_EQ(st[1], PYR_ABOVE_HEAD);
  EXPECT_EQ(st[2], PYR_ABOVE_GROUND);
  EXPECT_EQ(st[3], PYR_GENERATE);
  EXPECT_EQ(st[4], PYR_GENERATE);
  ASSERT_EQ(PRINT_PY_REQUESTS(*f.run), ST_OK);
  const std::string rep = f.report_text();
  EXPECT_NE(rep.find("IS ABOVE TOP OF REQUIRED PILE,       0.00  M"), std::string::npos);
  EXPECT_NE(rep.find("         IS ABOVE OR EQUAL TO THE SOIL GROUND FOR REQUIRED PILE,       2.00  M"),
            std::string::npos);
  EXPECT_NE(rep.find("IS ABOVE OR EQUAL TO THE DEFINED SOIL TOP,       3.00  M"), std::string::npos);
  EXPECT_NE(rep.find("         CURVE NOT GENERATED SINCE REQUIRED DEPTH,          11.00  M,\n"
                     "         IS BELOW OR EQUAL TO THE DEFINED SOIL BOTTOM,      10.00  M"),
            std::string::npos);
  EXPECT_EQ(count(f.plot_text(), "    1    0\n"), 4u);
}

TEST(PrintedCurves, SoftClayRowsAndPlotRecords) {
  PY_FIXTURE f;
  f.capture();
  f.layer(1, 0, 30, clay(8, 20, 0.02));
  f.pile(0.6, 10.0, 20);
  request(f, 1, 3.0, {0.01, 0.09});
  f.store().py.PY_PHASE = 1;
  ASSERT_EQ(PRINT_PY_REQUESTS(*f.run), ST_OK);
  const std::string rep = f.report_text();
  EXPECT_NE(rep.find("         DEPTH BELOW GS      DIAM         C         GAMMA         E50\n"
                     "                M              M       KN/ M**2    KN/ M**3\n"
                     "              3.00           0.600   0.2000E+02  0.8000E+01   0.2000E-01\n\n"
                     "                                     Y, M             P, KN/ M\n"),
            std::string::npos)
      << rep;
  // Rows: 21 blanks and two fields of 20 columns.
  EXPECT_NE(rep.find("\n                     " "          1.0000E-02" "              27.873 \n"), std::string::npos) << rep;
  const std::string plot = f.plot_text();
  EXPECT_NE(plot.find("\n   3.0000000E+00\n  1.00000000E-02   27.873123    \n"), std::string::npos) << plot;
}

TEST(PrintedCurves, LookupFailureEndsTheTable) {
  PY_FIXTURE f;
  f.capture();
  f.layer(1, 0, 10, clay(8, 20, 0.02));
  f.pile(0.6, 12.0, 12);
  request(f, 1, 3.0);
  f.store().soil.NPROFILE = 1;  // a profile that ends at the ground: every lookup below is beyond it
  f.store().soil.LAYER_BOTTOM[1] = 10;
  f.store().py.PY_PHASE = 1;
  EXPECT_EQ(PRINT_PY_REQUESTS(*f.run), ST_BEYOND_COHESION);
}

TEST(PrintedCurves, SoftClayWarnsOfATinyDeflectionAfterTheFirst) {
  PY_FIXTURE f;
  f.capture();
  f.layer(1, 0, 30, clay(8, 20, 0.02));
  f.pile(0.6, 10.0, 20);
  request(f, 1, 3.0, {0.0, 0.01, 0.0});
  f.store().py.PY_PHASE = -1;  // a p-y only run: the current ground value is left as it is
  f.store().py.GROUND_NOW = -7.0;
  ASSERT_EQ(PRINT_PY_REQUESTS(*f.run), ST_OK);
  EXPECT_EQ(f.store().py.GROUND_NOW, -7.0);
  const std::string rep = f.report_text();
  const double e0 = 0.5 * 80.40 / 0.03 * std::pow(0.03 / 1e-14, double(2.0f / 3.0f));
  const std::string warning = "\n                             **** WARNING ****\n"
                              "     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\n"
                              "     USED A SOIL MODULUS OF ";
  EXPECT_EQ(count(rep, warning), 1u) << rep;
  const size_t at = rep.find(warning);
  ASSERT_NE(at, std::string::npos);
  const double printed = std::stod(rep.substr(at + warning.size(), 12));
  EXPECT_NEAR(printed, e0, 1e-3 * e0);
}

}  // namespace
