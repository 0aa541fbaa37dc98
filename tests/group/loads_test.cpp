// Applied loads: the resultant at the origin of load cases and combinations,
// the distributed loads along the piles and the axial head loads of global
// distributed loads, against hand sums.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "engine/store.h"
#include "group/loads.h"

using namespace kestra;

namespace {

constexpr double PI = 3.14159265358979323846;

struct LoadsTest : ::testing::Test {
  std::unique_ptr<STORE> store = std::make_unique<STORE>();
  STORE& s = *store;

  void SetUp() override { s.ctl.ANALYSIS_TYPE = 2; }

  LOAD_CASE& add_case(double scale) {
    LOAD_CASE& lc = s.loads.CASE[++s.loads.NLC];
    lc.SCALE_FACTOR = scale;
    return lc;
  }
  static void add_conc(LOAD_CASE& lc, CONC_LOAD p) { lc.CONC[++lc.NCONC] = p; }
  static DIST_LOAD& add_dist(LOAD_CASE& lc, int axis, int ini, int end, int inc, int set_y, double fy, int set_z = 0,
                             double fz = 0.0) {
    DIST_LOAD& d = lc.DIST[++lc.NDIST];
    d = DIST_LOAD{0, axis, ini, end, inc, set_y, fy, set_z, fz};
    return d;
  }
  int add_set(std::vector<std::pair<double, double>> points) {
    DLOAD_SET& ds = s.loads.DSET[++s.loads.NDSETS];
    ds.NPOINTS = static_cast<int>(points.size());
    for (int k = 1; k <= ds.NPOINTS; ++k) {
      ds.DEPTH[k] = points[k - 1].first;
      ds.LOAD[k] = points[k - 1].second;
    }
    return s.loads.NDSETS;
  }
  // n piles of property 1: inc increments over the length.
  void piles(int n, int inc, double length) {
    s.piles.NPILES = n;
    s.piles.NPROP = 1;
    s.piles.PROP[1].INC = inc;
    s.piles.PROP[1].LENGTH = length;
    for (int i = 1; i <= n; ++i) s.piles.PILE_PROP[i] = 1;
  }
  std::set<int> loaded_piles() const {
    std::set<int> out;
    for (int i = 1; i <= s.piles.NPILES; ++i)
      if (s.loads.DLOAD_NODES[i] > 0) out.insert(i);
    return out;
  }
  void expect_eq_load(std::array<double, 7> want) const {
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(s.loads.EQ_LOAD[i], want[i], 1e-9 * (1.0 + std::fabs(want[i]))) << "slot " << i;
  }
};

// CONC_LOAD fields in record order: FX, FY, MZ, FZ, MY, MX, x, y, z.
TEST_F(LoadsTest, CaseResultant2DTakesMomentsAboutTheOriginInSlotSix) {
  struct ROW {
    const char* id;
    CONC_LOAD p;
    std::array<double, 7> want;  // before the scale factor
  };
  const ROW rows[] = {
      {"vertical load off the origin", {100, 0, 0, 0, 0, 0, 2, 3, 0}, {0, 100, 0, 0, 0, 0, -300}},
      {"horizontal load below the origin", {0, 40, 0, 0, 0, 0, 5, 7, 0}, {0, 0, 40, 0, 0, 0, 200}},
      {"moment alone", {0, 0, -25, 0, 0, 0, 9, 9, 0}, {0, 0, 0, 0, 0, 0, -25}},
      {"3D components are ignored", {10, 20, 30, 99, 98, 97, 1, 2, 96}, {0, 10, 20, 0, 0, 0, 30 + 20 * 1 - 10 * 2}},
  };
  for (const ROW& r : rows) {
    SCOPED_TRACE(r.id);
    s.loads.NLC = 0;
    LOAD_CASE& lc = add_case(2.5);
    lc.NCONC = 0;
    add_conc(lc, r.p);
    CASE_RESULTANT(s, 1);
    std::array<double, 7> want = r.want;
    for (double& v : want) v *= 2.5;
    expect_eq_load(want);
  }
}

TEST_F(LoadsTest, CaseResultant3DSumsEveryLoadAboutTheOrigin) {
  s.ctl.ANALYSIS_TYPE = 3;
  LOAD_CASE& lc = add_case(-2.0);
  // FX, FY, MZ, FZ, MY, MX at (x, y, z).
  add_conc(lc, {10, 20, 3, 30, 2, 1, 1, 2, 3});
  add_conc(lc, {-5, 0, 0, 4, 0, 0, -1, 0.5, 2});
  // Hand sums: moment = M + r x F with r = (x, y, z), F = (FX, FY, FZ).
  const double m4 = (1 + 30 * 2 - 20 * 3) + (0 + 4 * 0.5 - 0 * 2);
  const double m5 = (2 + 10 * 3 - 30 * 1) + (0 + (-5) * 2 - 4 * (-1));
  const double m6 = (3 + 20 * 1 - 10 * 2) + (0 + 0 * (-1) - (-5) * 0.5);
  CASE_RESULTANT(s, 1);
  expect_eq_load({0, -2.0 * 5, -2.0 * 20, -2.0 * 34, -2.0 * m4, -2.0 * m5, -2.0 * m6});
}

TEST_F(LoadsTest, CombinationAddsTheScaledCaseResultantsWithTheirFactors) {
  LOAD_CASE& a = add_case(2.0);
  add_conc(a, {100, 10, 0, 0, 0, 0, 0, 1, 0});  // (100, 10, -100) before scaling
  LOAD_CASE& b = add_case(1.0);
  add_conc(b, {0, 0, 50, 0, 0, 0, 0, 0, 0});
  LOAD_COMB& k = s.loads.COMB[++s.loads.NCOMB];
  k.NCOMB_CASES = 3;
  k.ENTRY[1] = {1, 1.0};
  k.ENTRY[2] = {1, 0.5};  // the same case twice
  k.ENTRY[3] = {2, -1.0};
  COMB_RESULTANT(s, 1);
  expect_eq_load({0, 1.5 * 200, 1.5 * 20, 0, 0, 0, 1.5 * -200 - 50});

  // An empty combination, or one beyond the table, is no load.
  s.loads.EQ_LOAD.fill(7.0);
  COMB_RESULTANT(s, 2);
  expect_eq_load({});
}

TEST_F(LoadsTest, LoadAtDepthInterpolatesInsideTheSetAndIsZeroOutside) {
  const int set = add_set({{0, 0}, {10, 100}, {20, 50}});
  const int one = add_set({{5, 80}});
  struct ROW {
    int set;
    double d, q;
  } rows[] = {
      {set, 0, 0},         {set, 5, 50},   {set, 10, 100},  {set, 15, 75},   {set, 20, 50},
      {set, 20 + 5e-9, 50}, {set, 20.5, 0}, {set, -0.1, 0},  {one, 5, 0},     {0, 5, 0},
      {-1, 5, 0},          {3, 5, 0},      {MAX_DLOAD_SETS + 5, 5, 0},
  };
  for (const ROW& r : rows) EXPECT_DOUBLE_EQ(DLOAD_AT_DEPTH(s, r.set, r.d), r.q) << "set " << r.set << " at " << r.d;
}

TEST_F(LoadsTest, PileRangesOfADistributedLoad) {
  piles(6, 4, 8.0);
  const int set = add_set({{0, 1}, {8, 1}});
  struct ROW {
    int ini, end, inc;
    std::set<int> want;
  } rows[] = {
      {3, 0, 0, {3}},           // END_PILE 0: the first pile alone
      {5, 1, 0, {1, 5}},        // reversed, INC_PILE 0: the two ends
      {1, 5, 2, {1, 3, 5}},     //
      {2, 2, 0, {2}},           //
      {4, 9, 1, {4, 5, 6}},     // beyond the arrangement: nothing there
      {6, 2, 3, {2, 5}},        // reversed with a step
      {0, 2, 1, {}},            // from pile 0: the range starts outside
  };
  for (const ROW& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.ini << " " << r.end << " " << r.inc);
    s.loads.NLC = 0;
    LOAD_CASE& lc = add_case(1.0);
    lc.NDIST = 0;
    add_dist(lc, 0, r.ini, r.end, r.inc, set, 1.0);
    CASE_DIST_LOADS(s, 1);
    EXPECT_EQ(loaded_piles(), r.want);
  }
}

TEST_F(LoadsTest, LocalLoadAlongThePileAndNoLoadBeyondTheLastPoint) {
  piles(1, 10, 20.0);  // nodes every 2.0
  s.piles.ALPHA[1] = 0.3;
  const int set = add_set({{0, 10}, {9, 1}});  // ends between nodes 5 (d = 8) and 6 (d = 10)
  LOAD_CASE& lc = add_case(2.0);
  lc.AXIAL_AS_HEAD_LOAD = 1;  // a local load never has an axial part
  add_dist(lc, 0, 1, 0, 0, set, 3.0);
  CASE_DIST_LOADS(s, 1);
  ASSERT_EQ(s.loads.DLOAD_NODES[1], 11);
  for (int k = 1; k <= 11; ++k) {
    const double d = (k - 1) * 2.0;
    EXPECT_DOUBLE_EQ(s.loads.DLOAD_DIST[1][k], d);
    const double want = d <= 9.0 ? 6.0 * (10.0 - d) : 0.0;
    EXPECT_NEAR(s.loads.DLOAD_Y[1][k], want, 1e-12) << "node " << k;
  }
  EXPECT_EQ(s.loads.HEAD_AXIAL_FLAG, 0);
  EXPECT_EQ(s.loads.AXIAL_HEAD_LOAD[1], 0.0);
}

TEST_F(LoadsTest, GlobalLoadOnA2DBatteredPileCarriesItsAxialPartToTheHead) {
  piles(1, 4, 8.0);  // h = 2
  const double b = 14.0 * PI / 180.0;
  s.piles.ALPHA[1] = b;
  s.piles.PILE_X[1] = 1.5;
  s.piles.PILE_Y[1] = -4.0;
  const int set = add_set({{0, 0}, {8, 8}});  // q = d
  LOAD_CASE& lc = add_case(1.0);
  lc.AXIAL_AS_HEAD_LOAD = 1;
  add_conc(lc, {100, 0, 0, 0, 0, 0, 0, 0, 0});
  add_dist(lc, 1, 1, 1, 0, set, 2.0);  // q_y = 2 d

  CASE_RESULTANT(s, 1);
  CASE_DIST_LOADS(s, 1);
  for (int k = 1; k <= 5; ++k) EXPECT_NEAR(s.loads.DLOAD_Y[1][k], 2.0 * (k - 1) * 2.0 * std::cos(b), 1e-12);
  // Trapezoids of 2d over 0..8: the exact integral 64 (linear load).
  const double P = std::sin(b) * 64.0;
  EXPECT_EQ(s.loads.HEAD_AXIAL_FLAG, 1);
  EXPECT_NEAR(s.loads.AXIAL_HEAD_LOAD[1], P, 1e-12);
  ADD_AXIAL_HEAD_LOADS(s);
  const double fx = P * std::cos(b), fy = P * std::sin(b);
  expect_eq_load({0, 100 + fx, fy, 0, 0, 0, fy * 1.5 - fx * -4.0});

  // With the option off the axial part is lost, and nothing reaches the head.
  lc.AXIAL_AS_HEAD_LOAD = 0;
  CASE_RESULTANT(s, 1);
  CASE_DIST_LOADS(s, 1);
  EXPECT_EQ(s.loads.HEAD_AXIAL_FLAG, 0);
  EXPECT_EQ(s.loads.AXIAL_HEAD_LOAD[1], 0.0);
  ADD_AXIAL_HEAD_LOADS(s);
  expect_eq_load({0, 100, 0, 0, 0, 0, 0});
}

TEST_F(LoadsTest, GlobalLoadIn3DIsResolvedOnThePileAxes) {
  s.ctl.ANALYSIS_TYPE = 3;
  piles(2, 2, 4.0);  // h = 2
  // Pile 1 vertical (beta 90 degrees): no axial part. Pile 2 battered.
  s.piles.ALPHA[1] = 0.4;
  s.piles.BETA[1] = PI / 2;
  const double a = 0.7, b = 1.2;
  s.piles.ALPHA[2] = a;
  s.piles.BETA[2] = b;
  s.piles.PILE_X[2] = 1.0;
  s.piles.PILE_Y[2] = 2.0;
  s.piles.PILE_Z[2] = -3.0;
  const int sy = add_set({{0, 1}, {4, 1}});
  const int sz = add_set({{0, 0}, {4, 4}});
  LOAD_CASE& lc = add_case(1.0);
  lc.AXIAL_AS_HEAD_LOAD = 1;
  add_dist(lc, 1, 1, 2, 1, sy, 2.0, sz, 3.0);  // q_y = 2, q_z = 3 d

  CASE_RESULTANT(s, 1);
  CASE_DIST_LOADS(s, 1);
  for (int i = 1; i <= 2; ++i)
    for (int k = 1; k <= 3; ++k) {
      const double ai = s.piles.ALPHA[i], bi = s.piles.BETA[i];
      const double qy = 2.0, qz = 3.0 * (k - 1) * 2.0;
      EXPECT_NEAR(s.loads.DLOAD_Y[i][k], (qy * std::cos(ai) + qz * std::sin(ai)) * std::sin(bi), 1e-12);
      EXPECT_NEAR(s.loads.DLOAD_Z[i][k], -qy * std::sin(ai) + qz * std::cos(ai), 1e-12);
    }
  EXPECT_NEAR(s.loads.AXIAL_HEAD_LOAD[1], 0.0, 1e-12);
  // Integrals over 0..4: q_y 8, q_z 24 (exact for linear loads).
  const double P = (8.0 * std::cos(a) + 24.0 * std::sin(a)) * std::cos(b);
  EXPECT_NEAR(s.loads.AXIAL_HEAD_LOAD[2], P, 1e-12);
  ADD_AXIAL_HEAD_LOADS(s);
  const double fx = P * std::sin(b), fy = P * std::cos(a) * std::cos(b), fz = P * std::sin(a) * std::cos(b);
  const double x = 1.0, y = 2.0, z = -3.0;
  expect_eq_load({0, fx, fy, fz, fz * y - fy * z, fx * z - fz * x, fy * x - fx * y});
}

TEST_F(LoadsTest, CombinationAppliesTheSameCaseTwiceAndStartsFromClearedArrays) {
  piles(2, 2, 4.0);
  const int set = add_set({{0, 5}, {4, 5}});
  LOAD_CASE& a = add_case(2.0);
  add_dist(a, 0, 1, 0, 0, set, 1.0);
  LOAD_CASE& b = add_case(1.0);
  add_dist(b, 0, 2, 0, 0, set, 1.0);
  LOAD_COMB& k = s.loads.COMB[++s.loads.NCOMB];
  k.NCOMB_CASES = 2;
  k.ENTRY[1] = {1, 1.0};
  k.ENTRY[2] = {1, 0.5};

  CASE_DIST_LOADS(s, 2);  // pile 2 loaded by the previous analysis
  ASSERT_EQ(s.loads.DLOAD_NODES[2], 3);
  COMB_DIST_LOADS(s, 1);
  EXPECT_EQ(s.loads.DLOAD_NODES[2], 0);
  EXPECT_EQ(s.loads.DLOAD_Y[2][1], 0.0);
  for (int n = 1; n <= 3; ++n) EXPECT_DOUBLE_EQ(s.loads.DLOAD_Y[1][n], 5.0 * 2.0 * 1.5);
}

}  // namespace
