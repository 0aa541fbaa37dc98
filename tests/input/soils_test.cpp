// Tests of the soil sections: reading, count limits and references, the soil
// profile derived from the layers, and the echo of Tables F to K.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/report.h"
#include "engine/run.h"
#include "input/sections.h"
#include "input/soils.h"
#include "support/test_support.h"

using namespace kestra;
using kestra_test::file_text;
using kestra_test::split_lines;

namespace {

using READER = int (*)(RUN&, DECK&);

std::string pad(const std::string& s, size_t n) { return s.size() >= n ? s : s + std::string(n - s.size(), ' '); }
std::string blanks(size_t n) { return std::string(n, ' '); }

// A Table F row: label in 30 columns, a blank, unit in 12 columns, the two
// 14-column values 4 blanks apart, the trailing blank.
std::string layer_row(const std::string& label, const std::string& unit, const char* top, const char* bottom) {
  return "     " + pad(label, 30) + " " + pad(unit, 12) + top + "    " + bottom + " ";
}

class SoilsTest : public ::testing::Test {
 protected:
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  std::string message;

  void SetUp() override {
    RUN_RESET(*run);
    run->store.ctl.UNITS_SYSTEM = 1;
    run->store.ctl.ANALYSIS_TYPE = 2;
    SET_UNIT_LABELS(run->store);
    run->store.rw.PI = 2.0 * std::asin(1.0);
    PILE_DATA_DEFAULTS(run->store.piles);
    run->files.fp[F_REPORT] = std::tmpfile();
    run->files.fp[F_RUNTIME] = std::tmpfile();
    run->files.fp[F_PLOT] = std::tmpfile();
  }
  void TearDown() override {
    for (FILE*& f : run->files.fp)
      if (f) {
        std::fclose(f);
        f = nullptr;
      }
  }

  // Feeds a deck text to one section reader.
  int read(READER fn, const std::string& text) {
    FILE* fp = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), fp);
    std::rewind(fp);
    DECK d;
    DECK_OPEN(d, fp, "input file \"t.dat\"");
    const int st = fn(*run, d);
    message = d.message;
    std::fclose(fp);
    return st;
  }

  // The report from its start; the lines after the last one already taken.
  std::vector<std::string> report_lines() { return split_lines(file_text(run->files.fp[F_REPORT])); }

  void groups(int n) {
    PILE_DATA& p = run->store.piles;
    p.NPILES = n;
    p.NPROP = 1;
    p.PROP[1].PILE_TYPE = 1;
    for (int g = 1; g <= n; ++g) p.PILE_PROP[g] = 1;
  }

  void expect_lines(const std::vector<std::string>& expected) {
    const std::vector<std::string> got = report_lines();
    for (size_t i = 0; i < expected.size() || i < got.size(); ++i) {
      SCOPED_TRACE("report line " + std::to_string(i + 1));
      EXPECT_EQ(i < got.size() ? got[i] : "<missing>", i < expected.size() ? expected[i] : "<extra>");
    }
  }
};

const char* SOFT_CLAY =
    "SOIL LAYERS\n"
    "1\n"
    "0 1\n"
    "0.0 120.0\n"
    "2 9\n"
    "0.0361 5.0 0.0 0.0 0.0 0.02 0.0 3.0 45.0\n"
    "0.0361 10.0 0.0 0.0 0.0 0.01 0.0 4.0 90.0\n";

// ------------------------------------------------------------ soil layers

TEST_F(SoilsTest, LayersAreReadWithBothPropertyRows) {
  ASSERT_EQ(read(READ_SOIL_LAYERS,
                 "SOIL LAYERS\n2\n"
                 "7 1\n0.0, 120.0\n2 9\n0.0361 5 0 0 0 0.02 0 3 45\n0.0361 10 0 0 0 0.01 0 4 90\n"
                 "0 4\n120 300  ! comment after the values\n2 9\n"
                 "0.04 0 30 90\n0 0 0 0 0\n0.045 0 36 90 0 0 0 0 0\n"),
            ST_OK)
      << message;
  const SOIL_DATA& s = run->store.soil;
  ASSERT_EQ(s.NLAYERS, 2);
  EXPECT_EQ(s.LAYER[1].UNUSED, 7);
  EXPECT_EQ(s.LAYER[1].SOIL_MODEL, 1);
  EXPECT_EQ(s.LAYER[1].LAYER_BOTTOM, 120.0);
  EXPECT_EQ(s.LAYER[1].PROPS[1][SP_COHESION], 10.0);
  EXPECT_EQ(s.LAYER[1].PROPS[1][SP_TIP_RESISTANCE], 90.0);
  EXPECT_EQ(s.LAYER[2].SOIL_MODEL, 4);
  EXPECT_EQ(s.LAYER[2].LAYER_TOP, 120.0);
  EXPECT_EQ(s.LAYER[2].PROPS[0][SP_PHI], 30.0);  // a row may continue over lines
  EXPECT_EQ(s.LAYER[2].PROPS[1][SP_PHI], 36.0);
  EXPECT_EQ(s.LAYER[2].NROWS, 2);
  EXPECT_EQ(s.LAYER[2].NPROPS, 9);
}

TEST_F(SoilsTest, ProfileHoldsTopAndBottomPointsInRadians) {
  ASSERT_EQ(read(READ_SOIL_LAYERS,
                 "SOIL LAYERS\n2\n"
                 "0 4\n10 50\n2 9\n0.04 0 30 90 0 0 0 1 2\n0.045 0 36 95 0 0 0 3 4\n"
                 "0 1\n50 80\n2 9\n0.03 5 0 0 0 0.02 0 5 6\n0.03 8 0 0 0 0.01 0 7 8\n"),
            ST_OK);
  BUILD_SOIL_PROFILE(run->store);
  const SOIL_DATA& s = run->store.soil;
  EXPECT_EQ(s.NL, 2);
  EXPECT_EQ(s.NPROFILE, 4);
  EXPECT_EQ(s.GROUND_SURFACE, 10.0);
  const double x[] = {0, 10, 50, 50, 80};
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(s.PROFILE_X[i], x[i]) << i;
  EXPECT_DOUBLE_EQ(s.PROFILE[SP_PHI][1], 30.0 * run->store.rw.PI / 180.0);
  EXPECT_DOUBLE_EQ(s.PROFILE[SP_PHI][2], 36.0 * run->store.rw.PI / 180.0);
  EXPECT_EQ(s.PROFILE[SP_K][2], 95.0);
  EXPECT_EQ(s.PROFILE[SP_COHESION][3], 5.0);
  EXPECT_EQ(s.PROFILE[SP_COHESION][4], 8.0);
  EXPECT_EQ(s.PROFILE[SP_E50][4], 0.01);
  EXPECT_EQ(s.PROFILE[SP_SIDE_FRICTION][3], 5.0);
  EXPECT_EQ(s.PROFILE[SP_TIP_RESISTANCE][4], 8.0);
  EXPECT_EQ(s.SOIL_MODEL[1], 4);
  EXPECT_EQ(s.LAYER_TOP[2], 50.0);
  EXPECT_EQ(s.LAYER_BOTTOM[2], 80.0);
}

TEST_F(SoilsTest, ProfileZeroesWhatTheModelDoesNotUse) {
  struct CASE {
    int model;
    std::vector<int> zeroed;
  };
  const CASE cases[] = {
      {1, {SP_PHI, SP_K, SP_RQD}},
      {2, {SP_PHI, SP_RQD}},
      {3, {SP_PHI, SP_K, SP_RQD}},
      {4, {SP_COHESION, SP_E_ROCK, SP_E50, SP_RQD}},
      {5, {SP_COHESION, SP_PHI, SP_K, SP_E_ROCK, SP_E50, SP_RQD}},
      {6, {SP_PHI, SP_K, SP_E_ROCK, SP_RQD}},
      {7, {SP_E_ROCK, SP_E50}},
      {8, {SP_COHESION, SP_E_ROCK, SP_E50, SP_RQD}},
      {9, {SP_PHI, SP_K}},
      {10, {SP_PHI, SP_RQD}},
      {11, {SP_COHESION, SP_PHI, SP_K, SP_E_ROCK, SP_E50, SP_RQD}},
      {12, {}},  // an unknown code keeps every value
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE("model " + std::to_string(c.model));
    SOIL_DATA& s = run->store.soil;
    s.NLAYERS = 1;
    s.LAYER[1].SOIL_MODEL = c.model;
    for (int r = 0; r < 2; ++r)
      for (int p = 0; p < SOIL_PROPERTIES; ++p) s.LAYER[1].PROPS[r][p] = 10.0 * (r + 1) + p;
    BUILD_SOIL_PROFILE(run->store);
    for (int i = 1; i <= 2; ++i)
      for (int p = 0; p < SOIL_PROPERTIES; ++p) {
        SCOPED_TRACE("point " + std::to_string(i) + " property " + std::to_string(p));
        bool zero = false;
        for (int z : c.zeroed) zero = zero || z == p;
        double expect = zero ? 0.0 : 10.0 * i + p;
        if (p == SP_PHI && !zero) expect *= run->store.rw.PI / 180.0;
        if (c.model == 6 && p == SP_E50) expect = 0.0005;  // vuggy limestone, whatever the input
        EXPECT_DOUBLE_EQ(s.PROFILE[p][i], expect);
      }
  }
}

// ------------------------------------------------------------ other sections

TEST_F(SoilsTest, CurveSectionsAreReadInRecordOrder) {
  groups(2);
  run->store.piles.PY_SET[1] = 1;
  run->store.piles.LS_SET[2] = 2;
  run->store.piles.RFL_SET[1] = 1;
  ASSERT_EQ(read(READ_PY_REQUESTS, "PY REQUESTS\n2\n1 35.5\n3\n0.1 0.2 0.4\n2 60\n0\n"), ST_OK) << message;
  ASSERT_EQ(read(READ_USER_PY, "USER PY\n1\n9 2\n0.0\n2\n0 0\n100 0.5\n48\n1\n250 1.2\n"), ST_OK) << message;
  ASSERT_EQ(read(READ_USER_LS, "USER LS\n2\n0 1\n-500 -0.1\n0 2\n0 0\n900 0.3\n"), ST_OK) << message;
  ASSERT_EQ(read(READ_USER_TR, "USER TR\n1\n0 2\n0 0\n5000 0.01\n"), ST_OK) << message;
  ASSERT_EQ(read(READ_DEPTH_FACTORS, "RF\n1\n0 2\n0 0.5 1\n100 1 1\n"), ST_OK) << message;
  ASSERT_EQ(read(READ_SOIL_MOVEMENT, "SM\n2\n0 0.5 0.25\n100 0 0\n"), ST_OK) << message;
  const SOIL_DATA& s = run->store.soil;
  ASSERT_EQ(s.NPYPRINT, 2);
  EXPECT_EQ(s.PY_PRINT[1].GROUP, 1);
  EXPECT_EQ(s.PY_PRINT[1].DEPTH, 35.5);
  EXPECT_EQ(s.PY_PRINT[1].NYU, 3);
  EXPECT_EQ(s.PY_PRINT[1].DEFL[3], 0.4);
  EXPECT_EQ(s.PY_PRINT[2].NYU, 0);
  ASSERT_EQ(s.NPYSETS, 1);
  EXPECT_EQ(s.PY_SETS[1].SET_VALUE, 9);
  ASSERT_EQ(s.PY_SETS[1].NPYCURVES, 2);
  EXPECT_EQ(s.PY_SETS[1].CURVE[1].P[2], 100.0);  // p first, then y
  EXPECT_EQ(s.PY_SETS[1].CURVE[1].Y[2], 0.5);
  EXPECT_EQ(s.PY_SETS[1].CURVE[2].DEPTH, 48.0);
  EXPECT_EQ(s.PY_SETS[1].CURVE[2].NPOINTS, 1);
  ASSERT_EQ(s.NLSCURVES, 2);
  EXPECT_EQ(s.LS_CURVES[1].LOAD[1], -500.0);  // load first, then displacement
  EXPECT_EQ(s.LS_CURVES[1].DISP[1], -0.1);
  EXPECT_EQ(s.LS_CURVES[2].NPOINTS, 2);
  ASSERT_EQ(s.NTRCURVES, 1);
  EXPECT_EQ(s.TR_CURVES[1].MOMENT[2], 5000.0);  // moment first, then rotation
  EXPECT_EQ(s.TR_CURVES[1].ROTATION[2], 0.01);
  ASSERT_EQ(s.NRFSETS, 1);
  EXPECT_EQ(s.RF_SETS[1].P_FACTOR[1], 0.5);
  EXPECT_EQ(s.RF_SETS[1].DEPTH[2], 100.0);
  ASSERT_EQ(s.NSMPTS, 2);
  EXPECT_EQ(s.SM_MOVE_Y[1], 0.5);
  EXPECT_EQ(s.SM_MOVE_Z[1], 0.25);
}

TEST_F(SoilsTest, CountsAtTheirLimitsAreAccepted) {
  groups(1);
  std::string deck = "PY REQUESTS\n50\n";
  for (int i = 0; i < 50; ++i) {
    deck += "1 10\n25\n";
    for (int j = 1; j <= 25; ++j) deck += std::to_string(j) + " ";
    deck += "\n";
  }
  ASSERT_EQ(read(READ_PY_REQUESTS, deck), ST_OK) << message;
  EXPECT_EQ(run->store.soil.PY_PRINT[50].DEFL[25], 25.0);
  deck = "SM\n20\n";
  for (int j = 1; j <= 20; ++j) deck += std::to_string(j) + " 0.1 0.2\n";
  ASSERT_EQ(read(READ_SOIL_MOVEMENT, deck), ST_OK) << message;
  EXPECT_EQ(run->store.soil.NSMPTS, 20);
  EXPECT_EQ(run->store.soil.SM_DEPTH[20], 20.0);
}

TEST_F(SoilsTest, SoilMovementIsResetBetweenRuns) {
  ASSERT_EQ(read(READ_SOIL_MOVEMENT, "SM\n1\n0 0.5 0\n"), ST_OK);
  EXPECT_EQ(run->store.soil.NSMPTS, 1);
  SOIL_MOVEMENT_RESET(*run);  // the next run has no section 17
  EXPECT_EQ(run->store.soil.NSMPTS, 0);
}

// A broken deck fails before anything of the offending list is stored.
TEST_F(SoilsTest, BadDecksFailWithTheirStatusAndMessage) {
  struct CASE {
    const char* id;
    READER fn;
    const char* deck;
    int status;
    const char* message_part;
    std::function<int(const SOIL_DATA&)> untouched;  // must stay 0
  };
  const CASE cases[] = {
      {"21 layers", READ_SOIL_LAYERS, "H\n21\n", ST_DECK_LIMIT, "NLAYERS = 21 exceeds the limit of 20",
       [](const SOIL_DATA& s) { return s.NLAYERS; }},
      {"negative layer count", READ_SOIL_LAYERS, "H\n-1\n", ST_DECK_LIMIT, "NLAYERS = -1 is negative",
       [](const SOIL_DATA& s) { return s.NLAYERS; }},
      {"three property rows", READ_SOIL_LAYERS, "H\n1\n0 1\n0 10\n3 9\n", ST_DECK_LIMIT,
       "number of property rows = 3", [](const SOIL_DATA& s) { return s.LAYER[1].NROWS; }},
      {"ten properties per row", READ_SOIL_LAYERS, "H\n1\n0 1\n0 10\n2 10\n", ST_DECK_LIMIT,
       "properties per row = 10", [](const SOIL_DATA& s) { return s.LAYER[1].NPROPS; }},
      {"deck ends inside a layer", READ_SOIL_LAYERS, "H\n1\n0 1\n0 10\n2 9\n1 2 3 4 5 6 7 8 9\n", ST_DECK_END,
       "BOTTOM_PROPERTIES", nullptr},
      {"text for a model code", READ_SOIL_LAYERS, "H\n1\n0 clay\n", ST_DECK_KIND, "SOIL_MODEL", nullptr},
      {"51 requests", READ_PY_REQUESTS, "H\n51\n", ST_DECK_LIMIT, "NPYPRINT = 51",
       [](const SOIL_DATA& s) { return s.NPYPRINT; }},
      {"26 deflections", READ_PY_REQUESTS, "H\n1\n1 10\n26\n", ST_DECK_LIMIT, "NYU = 26",
       [](const SOIL_DATA& s) { return s.PY_PRINT[1].NYU; }},
      {"negative deflection count", READ_PY_REQUESTS, "H\n1\n1 10\n-2\n", ST_DECK_LIMIT, "NYU = -2",
       [](const SOIL_DATA& s) { return s.PY_PRINT[1].NYU; }},
      {"request for group 0", READ_PY_REQUESTS, "H\n1\n0 10\n0\n", ST_DECK_REFERENCE,
       "p-y curve 1 refers to pile group 0, but 2 groups are given",
       [](const SOIL_DATA& s) { return s.PY_PRINT[1].GROUP; }},
      {"request for a missing group", READ_PY_REQUESTS, "H\n2\n1 10\n0\n3 10\n0\n", ST_DECK_REFERENCE,
       "p-y curve 2 refers to pile group 3", [](const SOIL_DATA& s) { return s.PY_PRINT[2].GROUP; }},
      {"51 p-y sets", READ_USER_PY, "H\n51\n", ST_DECK_LIMIT, "NPYSETS = 51",
       [](const SOIL_DATA& s) { return s.NPYSETS; }},
      {"51 curves in a set", READ_USER_PY, "H\n1\n0 51\n", ST_DECK_LIMIT, "NPYCURVES = 51",
       [](const SOIL_DATA& s) { return s.PY_SETS[1].NPYCURVES; }},
      {"51 points of a p-y curve", READ_USER_PY, "H\n1\n0 1\n0.0\n51\n", ST_DECK_LIMIT,
       "number of points = 51", [](const SOIL_DATA& s) { return s.PY_SETS[1].CURVE[1].NPOINTS; }},
      {"51 LS curves", READ_USER_LS, "H\n51\n", ST_DECK_LIMIT, "NLSCURVES = 51",
       [](const SOIL_DATA& s) { return s.NLSCURVES; }},
      {"51 LS points", READ_USER_LS, "H\n1\n0 51\n", ST_DECK_LIMIT, "number of points = 51",
       [](const SOIL_DATA& s) { return s.LS_CURVES[1].NPOINTS; }},
      {"negative LS points", READ_USER_LS, "H\n1\n0 -1\n", ST_DECK_LIMIT, "number of points = -1",
       [](const SOIL_DATA& s) { return s.LS_CURVES[1].NPOINTS; }},
      {"51 TR curves", READ_USER_TR, "H\n51\n", ST_DECK_LIMIT, "torque-rotation curves = 51",
       [](const SOIL_DATA& s) { return s.NTRCURVES; }},
      {"51 TR points", READ_USER_TR, "H\n1\n0 51\n", ST_DECK_LIMIT, "number of points = 51",
       [](const SOIL_DATA& s) { return s.TR_CURVES[1].NPOINTS; }},
      {"101 RF sets", READ_DEPTH_FACTORS, "H\n101\n", ST_DECK_LIMIT, "NRFSETS = 101",
       [](const SOIL_DATA& s) { return s.NRFSETS; }},
      {"51 RF points", READ_DEPTH_FACTORS, "H\n1\n0 51\n", ST_DECK_LIMIT, "number of points = 51",
       [](const SOIL_DATA& s) { return s.RF_SETS[1].NPOINTS; }},
      {"21 soil movement points", READ_SOIL_MOVEMENT, "H\n21\n", ST_DECK_LIMIT, "NSMPTS = 21",
       [](const SOIL_DATA& s) { return s.NSMPTS; }},
      {"negative soil movement count", READ_SOIL_MOVEMENT, "H\n-3\n", ST_DECK_LIMIT, "NSMPTS = -3",
       [](const SOIL_DATA& s) { return s.NSMPTS; }},
      {"soil movement deck ends early", READ_SOIL_MOVEMENT, "H\n2\n0 1 1\n", ST_DECK_END, "DEPTH",
       [](const SOIL_DATA& s) { return s.NSMPTS; }},
      {"missing header", READ_SOIL_MOVEMENT, "", ST_DECK_END, "header", nullptr},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    RUN_RESET(*run);
    SetUp();
    groups(2);
    EXPECT_EQ(read(c.fn, c.deck), c.status);
    EXPECT_EQ(run->status, c.status);
    EXPECT_NE(message.find(c.message_part), std::string::npos) << message;
    EXPECT_NE(message.find("input file \"t.dat\""), std::string::npos) << message;
    if (c.untouched) {
      EXPECT_EQ(c.untouched(run->store.soil), 0);
    }
    TearDown();
  }
}

TEST_F(SoilsTest, GroupsMustReferToCurvesThatExist) {
  struct CASE {
    const char* id;
    READER fn;
    int analysis_type;
    std::function<void(PILE_DATA&)> refer;
    const char* deck;
    int status;
    const char* message_part;
  };
  const CASE cases[] = {
      {"p-y set beyond the sets given", READ_USER_PY, 2, [](PILE_DATA& p) { p.PY_SET[2] = 2; },
       "H\n1\n0 0\n", ST_DECK_REFERENCE, "pile group 2 refers to p-y curve set 2, but 1 sets are given"},
      {"negative p-y set without user-curve layers", READ_USER_PY, 2, [](PILE_DATA& p) { p.PY_SET[1] = -4; },
       "H\n1\n0 0\n", ST_OK, ""},
      {"LS curve beyond the curves given", READ_USER_LS, 2, [](PILE_DATA& p) { p.LS_SET[1] = 3; },
       "H\n2\n0 0\n0 0\n", ST_DECK_REFERENCE, "pile group 1 refers to load-settlement curve 3, but 2 curves"},
      {"generated LS curves (0 or less)", READ_USER_LS, 2, [](PILE_DATA& p) { p.LS_SET[1] = -1; },
       "H\n0\n", ST_OK, ""},
      {"TR curve missing in 3D", READ_USER_TR, 3, [](PILE_DATA& p) { p.TR_SET[2] = 1; }, "H\n0\n",
       ST_DECK_REFERENCE, "pile group 2 refers to torque-rotation curve 1, but 0 curves"},
      {"TR curve numbers are not used in 2D", READ_USER_TR, 2, [](PILE_DATA& p) { p.TR_SET[2] = 1; }, "H\n0\n",
       ST_OK, ""},
      {"RF set missing", READ_DEPTH_FACTORS, 2, [](PILE_DATA& p) { p.RFL_SET[1] = 2; }, "H\n1\n0 0\n",
       ST_DECK_REFERENCE, "pile group 1 refers to reduction-factor set 2, but 1 sets"},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    RUN_RESET(*run);
    SetUp();
    run->store.ctl.ANALYSIS_TYPE = c.analysis_type;
    groups(2);
    c.refer(run->store.piles);
    EXPECT_EQ(read(c.fn, c.deck), c.status);
    EXPECT_NE(message.find(c.message_part), std::string::npos) << message;
    TearDown();
  }
}

TEST_F(SoilsTest, NegativePySetMustExistWhenALayerUsesUserCurves) {
  groups(1);
  ASSERT_EQ(read(READ_SOIL_LAYERS, "H\n1\n0 5\n0 10\n2 9\n0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0\n"), ST_OK);
  run->store.piles.PY_SET[1] = -2;
  EXPECT_EQ(read(READ_USER_PY, "H\n1\n0 0\n"), ST_DECK_REFERENCE);
  EXPECT_NE(message.find("refers to p-y curve set 2"), std::string::npos) << message;
}

// ------------------------------------------------------------ Table F

TEST_F(SoilsTest, TableFEchoesASoftClayLayer) {
  ASSERT_EQ(read(READ_SOIL_LAYERS, SOFT_CLAY), ST_OK);
  ASSERT_EQ(ECHO_TABLE_F(*run), ST_OK);
  expect_lines({
      "",
      "",
      "",
      "     * TABLE F *   SOIL DATA",
      "",
      "     SOILS INFORMATION",
      "",
      "      GROUND SURFACE          =      0.00000 IN ",
      "",
      "     1 LAYER(S) OF SOIL",
      "",
      "     LAYER  1",
      "     THE SOIL IS A SOFT CLAY",
      "",
      blanks(48) + " TOP OF LAYER    BOTTOM OF LAYER ",
      layer_row(" X COORDINATE", "(IN)", "       0.00000", "       120.000"),
      layer_row(" EFFECTIVE UNIT WEIGHT", "(LBS/IN**3)", "     0.0361000", "     0.0361000"),
      layer_row(" UNDRAINED COHESION, C", "(LBS/IN**2)", "       5.00000", "       10.0000"),
      layer_row(" STRAIN AT 50% STRESS", "", "     0.0200000", "   1.00000E-02"),
      layer_row(" ULTIMATE UNIT SIDE FRICTION", "(LBS/IN**2)", "       3.00000", "       4.00000"),
      layer_row(" ULTIMATE UNIT TIP RESISTANCE", "(LBS/IN**2)", "       45.0000", "       90.0000"),
      "",
      "       Notes :  Program estimated values for ",
      "                ULTIMATE UNIT SIDE FRICTION  and ULTIMATE UNIT TIP RESISTANCE ",
      "                if zero input values were entered.",
      "                (P) Driven Piles, (S) Drilled Shafts",
  });
}

TEST_F(SoilsTest, TableFRowsFollowTheModel) {
  // Weak rock in SI units: strength, Er, KRM and RQD, no friction angle or k.
  run->store.ctl.UNITS_SYSTEM = 2;
  SET_UNIT_LABELS(run->store);
  ASSERT_EQ(read(READ_SOIL_LAYERS, "H\n1\n0 9\n2 8\n2 9\n20 500 0 0 1e5 5e-4 50 0 0\n20 500 0 0 1e5 5e-4 50 0 0\n"),
            ST_OK);
  ASSERT_EQ(ECHO_TABLE_F(*run), ST_OK);
  std::vector<std::string> labels;
  for (const std::string& l : report_lines())
    if (l.size() > 36 && l.compare(0, 6, "      ") == 0 && l[6] != ' ') labels.push_back(l.substr(5, 43));
  const std::vector<std::string> expect = {
      pad(" GROUND SURFACE          =      2.00000  M", 43),
      pad(" X COORDINATE", 31) + pad("( M)", 12),
      pad(" EFFECTIVE UNIT WEIGHT", 31) + pad("( KN/ M**3)", 12),
      pad(" UNIAXIAL COMPRESSIVE STRENGTH", 31) + pad("( KN/ M**2)", 12),
      pad(" YOUNG MODULUS,ER", 31) + pad("( KN/ M**2)", 12),
      pad(" KRM", 43),
      pad(" RQD", 31) + pad("(%)", 12),
      pad(" ULTIMATE UNIT SIDE FRICTION", 31) + pad("( KN/ M**2)", 12),
      pad(" ULTIMATE UNIT TIP RESISTANCE", 31) + pad("( KN/ M**2)", 12),
  };
  EXPECT_EQ(labels, expect);
}

TEST_F(SoilsTest, TableFLayerCountAndEmptyProfile) {
  // No layers.
  ASSERT_EQ(read(READ_SOIL_LAYERS, "H\n0\n"), ST_OK);
  ASSERT_EQ(ECHO_TABLE_F(*run), ST_OK);
  expect_lines({"", "", "", "     * TABLE F *   SOIL DATA", "", "       NO SOIL LAYERS DEFINED"});
  EXPECT_EQ(run->store.soil.NL, 0);
  // Ten layers: the one-column count prints as an asterisk.
  TearDown();
  SetUp();
  std::string deck = "H\n10\n";
  for (int k = 0; k < 10; ++k)
    deck += "0 4\n" + std::to_string(10 * k) + " " + std::to_string(10 * k + 10) +
            "\n2 9\n0.04 0 30 90 0 0 0 0 0\n0.04 0 30 90 0 0 0 0 0\n";
  ASSERT_EQ(read(READ_SOIL_LAYERS, deck), ST_OK);
  ASSERT_EQ(ECHO_TABLE_F(*run), ST_OK);
  const std::vector<std::string> lines = report_lines();
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[9], "     * LAYER(S) OF SOIL");
  EXPECT_EQ(run->store.soil.NPROFILE, 20);
}

// Estimates: side friction zero at the top, tip resistance zero at both ends.
int fake_estimate(RUN&, int, double x, UNIT_RESISTANCE_ESTIMATE& e) {
  e = UNIT_RESISTANCE_ESTIMATE{};
  if (x == 0.0) e = {1, 1.5, 2.5, 1, 10.0, 20.0};
  else e.TIP_FLAG = 1, e.TIP_DRIVEN = 30.0, e.TIP_DRILLED = 40.0;
  return ST_OK;
}

int failing_estimate(RUN& run, int, double, UNIT_RESISTANCE_ESTIMATE&) {
  run.status = ST_BEYOND_SIDE_FRICTION;
  return ST_BEYOND_SIDE_FRICTION;
}

TEST_F(SoilsTest, TableFShowsEstimatesForThePileTypesInUse) {
  struct CASE {
    const char* id;
    std::vector<int> types;  // pile type of each group's property
    std::vector<std::string> side, tip;
  };
  const std::string stress = "(LBS/IN**2)";
  const CASE cases[] = {
      {"driven and drilled",
       {1, 2},
       {layer_row(" ULTIMATE UNIT SIDE FRICTION", stress, "       1.50000 (P)", "       4.00000").replace(66, 4, ""),
        blanks(48) + "       2.50000 (S) "},
       {layer_row(" ULTIMATE UNIT TIP RESISTANCE", stress, "       10.0000 (P)", "       30.0000 (P)").replace(66, 4, ""),
        blanks(48) + "       20.0000 (S)       40.0000 (S) "}},
      {"drilled shafts only",
       {2},
       {layer_row(" ULTIMATE UNIT SIDE FRICTION", stress, "       2.50000 (S)", "       4.00000").replace(66, 4, "")},
       {layer_row(" ULTIMATE UNIT TIP RESISTANCE", stress, "       20.0000 (S)", "       40.0000 (S)").replace(66, 4, "")}},
      {"no groups: the input values",
       {},
       {layer_row(" ULTIMATE UNIT SIDE FRICTION", stress, "       0.00000", "       4.00000")},
       {layer_row(" ULTIMATE UNIT TIP RESISTANCE", stress, "       0.00000", "       0.00000")}},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    TearDown();
    SetUp();
    PILE_DATA& p = run->store.piles;
    p.NPILES = static_cast<int>(c.types.size());
    p.NPROP = p.NPILES;
    for (int g = 1; g <= p.NPILES; ++g) {
      p.PILE_PROP[g] = g;
      p.PROP[g].PILE_TYPE = c.types[g - 1];
    }
    ASSERT_EQ(read(READ_SOIL_LAYERS, "H\n1\n0 1\n0 120\n2 9\n0.03 5 0 0 0 0.02 0 0 0\n0.03 5 0 0 0 0.02 0 4 0\n"),
              ST_OK);
    ASSERT_EQ(ECHO_TABLE_F_USING(*run, fake_estimate), ST_OK);
    const std::vector<std::string> lines = report_lines();
    size_t at = 0;
    while (at < lines.size() && lines[at].find("SIDE FRICTION") == std::string::npos) ++at;
    std::vector<std::string> expect = c.side;
    expect.insert(expect.end(), c.tip.begin(), c.tip.end());
    ASSERT_LE(at + expect.size(), lines.size());
    for (size_t i = 0; i < expect.size(); ++i) EXPECT_EQ(lines[at + i], expect[i]) << i;
    EXPECT_EQ(lines[at + expect.size()], "");  // then the notes
  }
}

TEST_F(SoilsTest, TableFStopsAtAFailingEstimate) {
  ASSERT_EQ(read(READ_SOIL_LAYERS, SOFT_CLAY), ST_OK);
  EXPECT_EQ(ECHO_TABLE_F_USING(*run, failing_estimate), ST_BEYOND_SIDE_FRICTION);
  EXPECT_EQ(run->status, ST_BEYOND_SIDE_FRICTION);
  const std::string text = file_text(run->files.fp[F_REPORT]);
  EXPECT_EQ(text.find("SIDE FRICTION"), std::string::npos);
  EXPECT_EQ(text.find("Notes"), std::string::npos);
}

// ------------------------------------------------------------ curve tables

TEST_F(SoilsTest, PyRequestsEcho) {
  groups(2);
  run->store.ctl.KPYOP = 1;
  ASSERT_EQ(read(READ_PY_REQUESTS, "H\n2\n1 35.5\n0\n2 120\n1\n0.5\n"), ST_OK);
  ASSERT_EQ(ECHO_PY_REQUESTS(*run), ST_OK);
  expect_lines({
      "",
      "",
      "     * DATA TO PRINT GENERATED P-Y CURVES *",
      "",
      "      NUMBER OF CURVES TO PRINT :     2",
      "",
      "       CURVE NUMBER     PILE GROUP         DEPTH (IN)   ",
      "            1               1                 35.5000 ",
      "            2               2                 120.000 ",
  });
  // KPYOP 0 or -1: nothing.
  TearDown();
  SetUp();
  run->store.ctl.KPYOP = -1;
  run->store.soil.NPYPRINT = 2;
  ASSERT_EQ(ECHO_PY_REQUESTS(*run), ST_OK);
  EXPECT_EQ(file_text(run->files.fp[F_REPORT]), "");
}

TEST_F(SoilsTest, TableGEchoesTheUserPyCurves) {
  groups(1);
  run->store.ctl.USER_PY = 1;
  ASSERT_EQ(read(READ_USER_PY, "H\n1\n0 1\n24\n2\n0 0\n150 0.5\n"), ST_OK);
  ASSERT_EQ(ECHO_TABLES_GHI(*run), ST_OK);
  expect_lines({
      "",
      "",
      "",
      "     * TABLE G *   INPUT P-Y CURVES",
      "",
      "     NUM OF SETS :  1",
      "",
      "     SET  1     NUM OF CURVES  1",
      "",
      "     CURVE       1",
      "     DISTANCE FROM ORIGIN (X-COORD.)    24.0000 IN ",
      "",
      "     POINT       P,LBS/IN         Y,IN",
      "         1       0.00000       0.00000 ",
      "         2       150.000       0.50000 ",
  });
}

TEST_F(SoilsTest, TablesHAndIEchoUserCurvesAndCopyThemToThePlotFile) {
  groups(1);
  run->store.ctl.ANALYSIS_TYPE = 3;
  run->store.ctl.USER_LS = 1;
  run->store.ctl.USER_TR = 1;
  ASSERT_EQ(read(READ_USER_LS, "H\n1\n0 2\n0 0\n900 0.3\n"), ST_OK);
  ASSERT_EQ(read(READ_USER_TR, "H\n1\n0 1\n5000 0.01\n"), ST_OK);
  ASSERT_EQ(ECHO_TABLES_GHI(*run), ST_OK);
  expect_lines({
      "",
      "",
      "",
      "     * TABLE H *   AXIAL LOAD VS DISPLACEMENT",
      "",
      "     USER DEFINED AXIAL LOAD-DISPLACEMENT CURVES",
      "",
      "     NUM OF CURVES  1",
      "",
      "     CURVE  1     NUM OF POINTS  2",
      "",
      "     DISPLACEMENT,IN    AXIAL LOAD,LBS",
      "             0.00000           0.00000 ",
      "             0.30000           900.000 ",
      "",
      "",
      "",
      "     * TABLE I *   TORS. MOM. VS ANGLE ROT. ",
      "",
      "     USER DEFINED TORQUE-ROTATION CURVE",
      "",
      "     NUM OF CURVES  1",
      "",
      "     CURVE  1     NUM OF POINTS  1",
      "",
      "     ROT. ANGLE, Rad.    TORS.MOMEN,LBS-IN",
      "          1.00000E-02              5000.00 ",
  });
  const std::vector<std::string> plot = split_lines(file_text(run->files.fp[F_PLOT]));
  const std::vector<std::string> expect_plot = {
      "     * AXIAL LOAD-DISPLACEMENT CURVES *",
      "         1",
      "    1    2",
      "    0.0000000        0.0000000    ",
      "   0.30000000        900.00000    ",
      "     * TORQUE-ROTATION CURVES *",
      "         1",
      "    1    1",
      "   1.00000000E-02    5000.0000    ",
  };
  EXPECT_EQ(plot, expect_plot);
}

TEST_F(SoilsTest, TablesHAndIWithoutUserCurves) {
  // 2D without user curves and without layers: nothing; Table I is 3D only.
  groups(1);
  ASSERT_EQ(ECHO_TABLES_GHI(*run), ST_OK);
  EXPECT_EQ(file_text(run->files.fp[F_REPORT]), "");
  // With layers and groups the generated curves get their Table H.
  run->store.soil.NLAYERS = 1;
  run->store.ctl.ANALYSIS_TYPE = 3;
  ASSERT_EQ(ECHO_TABLES_GHI(*run), ST_OK);
  expect_lines({"", "", "", "     * TABLE H *   AXIAL LOAD VS DISPLACEMENT", "", "", "",
                "     * TABLE I *   TORS. MOM. VS ANGLE ROT. "});
}

TEST_F(SoilsTest, TablesJ1AndJ2) {
  groups(1);
  run->store.ctl.DEPTH_FACTORS = 1;
  run->store.ctl.SOIL_MOVEMENT = 1;
  ASSERT_EQ(read(READ_DEPTH_FACTORS, "H\n1\n0 2\n0 0.5 1\n120 1 1\n"), ST_OK);
  ASSERT_EQ(read(READ_SOIL_MOVEMENT, "H\n2\n0 0.5 0.25\n120 0 0\n"), ST_OK);
  ASSERT_EQ(ECHO_TABLES_J1_J2_K(*run), ST_OK);
  expect_lines({
      "",
      "",
      "",
      "     * TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  ",
      "",
      "     NUM OF SETS :  1",
      "",
      "       SET  1     NUM OF POINTS  2",
      "",
      "          DEPTH,IN   P-FACTOR       Y-FACTOR   ",
      "           0.00000        0.50000        1.00000 ",
      "           120.000        1.00000        1.00000 ",
      "",
      "",
      "",
      "     * TABLE J2 *  SOIL MOVEMENT DATA       ",
      "",
      "          POINT                  DEPTH           MOVE Y-DIR",
      "                                  (IN)                 (IN)",
      "              1                0.00000              0.50000 ",
      "              2                120.000              0.00000 ",
  });
  // 3D adds the Z movement.
  TearDown();
  SetUp();
  run->store.ctl.ANALYSIS_TYPE = 3;
  run->store.ctl.SOIL_MOVEMENT = 1;
  ASSERT_EQ(read(READ_SOIL_MOVEMENT, "H\n1\n10 0.5 0.25\n"), ST_OK);
  ASSERT_EQ(ECHO_TABLES_J1_J2_K(*run), ST_OK);
  expect_lines({
      "",
      "",
      "",
      "     * TABLE J2 *  SOIL MOVEMENT DATA       ",
      "",
      "          POINT                  DEPTH           MOVE Y-DIR           MOVE Z-DIR",
      "                                  (IN)                 (IN)                 (IN)",
      "              1                10.0000              0.50000              0.25000 ",
  });
}

TEST_F(SoilsTest, TableKShowsTheUserMultipliers) {
  // 2D, user factors: the plane's pair.
  groups(2);
  run->store.ctl.SPACING_REDUCTION = 2;
  run->store.piles.P_FACTOR[2] = 0.85;
  run->store.piles.Y_FACTOR[1] = 1.2;
  ASSERT_EQ(ECHO_TABLES_J1_J2_K(*run), ST_OK);
  expect_lines({
      "",
      "",
      "",
      "     * TABLE K *   REDUCTION FACTORS        ",
      "",
      "     REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS",
      "",
      "     GROUP NO      P-FACTOR      Y-FACTOR",
      "            1        1.0000        1.2000 ",
      "            2        0.8500        1.0000 ",
  });
  // 3D, estimated for defined movements: both directions.
  TearDown();
  SetUp();
  groups(1);
  run->store.ctl.ANALYSIS_TYPE = 3;
  run->store.ctl.SPACING_REDUCTION = 3;
  run->store.ctl.GROUP_MOVE_Y = 0.5;
  run->store.ctl.GROUP_MOVE_Z = -0.25;
  run->store.piles.P_FACTOR_Z[1] = 0.7;  // replaced by the estimate: a lone pile has 1.0
  run->store.piles.PROP[1].NSECT = 1;
  run->store.piles.PROP[1].SECT[1].CROSS_SECT = 1;
  run->store.piles.NXSEC = 1;
  run->store.piles.XSEC[1].TOP[XS_DIAMETER] = 12.0;
  ASSERT_EQ(ECHO_TABLES_J1_J2_K(*run), ST_OK);
  expect_lines({
      "",
      "",
      "",
      "     * TABLE K *   REDUCTION FACTORS        ",
      "",
      "     ESTIMATED BASED ON DEFINED MOVEMENT IN THE Y-DIRECTION OF       0.5000 IN ",
      "",
      "     REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Y-DIRECTION",
      "",
      "     GROUP NO      P-FACTOR      Y-FACTOR",
      "            1        1.0000        1.0000 ",
      "",
      "     ESTIMATED BASED ON DEFINED MOVEMENT IN THE Z-DIRECTION OF      -0.2500 IN ",
      "",
      "     REDUCTION FACTORS FOR CLOSELY-SPACED PILE GROUPS ALONG Z-DIRECTION",
      "",
      "     GROUP NO      P-FACTOR      Y-FACTOR",
      "            1        1.0000        1.0000 ",
  });
  // Option 0: no Table K.
  TearDown();
  SetUp();
  groups(1);
  ASSERT_EQ(ECHO_TABLES_J1_J2_K(*run), ST_OK);
  EXPECT_EQ(file_text(run->files.fp[F_REPORT]), "");
}

}  // namespace
