// Input p-y curves of a pile group: the curve at a node's depth or the depth
// interpolation of two curves' moduli, the ends of the set and of a curve,
// the multipliers and the sign of the reaction.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/run.h"
#include "soil/input_py.h"

using namespace kestra;

namespace {

struct INPUT_PY : ::testing::Test {
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  std::unique_ptr<PILE_WORK> w = std::make_unique<PILE_WORK>();

  void SetUp() override {
    RUN_RESET(*run);
    STORE& s = run->store;
    s.ctl.USER_PY = 1;
    s.piles.NPILES = 1;
    s.piles.PY_SET[1] = 1;
    s.piles.P_FACTOR[1] = s.piles.Y_FACTOR[1] = 1.0;
    s.soil.NPYSETS = 1;
    // Curves at X = 2 and X = 6 (points p, y as stored): the deeper one twice as strong.
    add_curve(2.0, {{0.0, 0.0}, {0.01, 50.0}, {0.1, 100.0}});
    add_curve(6.0, {{0.0, 0.0}, {0.01, 100.0}, {0.1, 200.0}});
    w->group = 1;
    w->N = 4;
    for (int m = 0; m <= 4; ++m) w->X[NODE(m)] = 2.0 * m;  // 0, 2, 4, 6, 8
  }

  void add_curve(double x, const std::vector<std::pair<double, double>>& yp) {
    USER_PY_SET& set = run->store.soil.PY_SETS[1];
    USER_PY_CURVE& c = set.CURVE[++set.NPYCURVES];
    c.DEPTH = x;
    c.NPOINTS = int(yp.size());
    for (size_t i = 0; i < yp.size(); ++i) {
      c.Y[i + 1] = yp[i].first;
      c.P[i + 1] = yp[i].second;
    }
  }

  void deflect(double y) {
    for (int m = 0; m <= 4; ++m) w->DEFL[NODE(m)] = y;
  }
  double E(int m) const { return w->ESOIL[NODE(m)]; }
};

}  // namespace

TEST_F(INPUT_PY, ModulusByDepthAlongThePile) {
  EXPECT_TRUE(USES_INPUT_PY(run->store, 1));
  deflect(0.055);  // mid second segment: p 75 and 150
  ASSERT_EQ(INPUT_PY_EVALUATE(*run, *w), ST_OK);
  const double e2 = 75.0 / 0.055, e6 = 150.0 / 0.055;
  EXPECT_NEAR(E(0), e2, 1e-9);               // above the first curve: the first curve
  EXPECT_NEAR(E(1), e2, 1e-9);               // at a curve: that curve alone
  EXPECT_NEAR(E(2), 0.5 * (e2 + e6), 1e-9);  // between: moduli linear in depth
  EXPECT_NEAR(E(3), e6, 1e-9);
  EXPECT_NEAR(E(4), e6, 1e-9);  // below the deepest curve: the deepest curve

  // A negative set number names the same set (its magnitude), but the group
  // then has no input curves of its own.
  run->store.piles.PY_SET[1] = -1;
  EXPECT_FALSE(USES_INPUT_PY(run->store, 1));
  deflect(0.01);
  ASSERT_EQ(INPUT_PY_EVALUATE(*run, *w), ST_OK);
  EXPECT_NEAR(E(1), 5000.0, 1e-9);
}

TEST_F(INPUT_PY, NodeBelowTheDeepestCurveIsFlagged) {
  w->N = 3;
  deflect(0.01);
  INPUT_PY_EVALUATE(*run, *w);
  EXPECT_EQ(w->PY_BEYOND_CURVES, 0);
  w->N = 4;
  INPUT_PY_EVALUATE(*run, *w);
  EXPECT_EQ(w->PY_BEYOND_CURVES, 1);
  EXPECT_NEAR(E(4), 100.0 / 0.01, 1e-9);
}

TEST_F(INPUT_PY, EndsOfACurve) {
  struct CASE {
    const char* id;
    double y, e1;
  } cases[] = {{"zero deflection: first slope", 0.0, 5000.0},
               {"negative deflection uses its size", -0.005, 5000.0},
               {"at a point", 0.01, 5000.0},
               {"beyond the last point: last p", 0.5, 100.0 / 0.5}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    deflect(c.y);
    ASSERT_EQ(INPUT_PY_EVALUATE(*run, *w), ST_OK);
    EXPECT_NEAR(E(1), c.e1, 1e-9 * c.e1);
    EXPECT_TRUE(std::isfinite(w->PSOIL[NODE(1)]));
  }
  // A curve that does not start at the origin rises from it to its first point.
  run->store.soil.PY_SETS[1].NPYCURVES = 0;
  add_curve(2.0, {{0.02, 40.0}, {0.1, 60.0}});
  deflect(0.01);
  INPUT_PY_EVALUATE(*run, *w);
  EXPECT_NEAR(E(1), 2000.0, 1e-9);
}

TEST_F(INPUT_PY, MultipliersSignAndSoilMovement) {
  STORE& s = run->store;
  s.piles.P_FACTOR[1] = 0.5;
  s.piles.Y_FACTOR[1] = 2.0;
  deflect(0.055);
  INPUT_PY_EVALUATE(*run, *w);
  EXPECT_NEAR(E(1), 75.0 * 0.5 / (0.055 * 2.0), 1e-9);
  EXPECT_NEAR(w->PSOIL[NODE(1)], -37.5, 1e-12);  // p*P, negative for y > 0
  deflect(-0.055);
  INPUT_PY_EVALUATE(*run, *w);
  EXPECT_NEAR(w->PSOIL[NODE(1)], 37.5, 1e-12);

  // Soil moving by 0.03 (y) and 0.04 (z): the spring acts on |y - 0.05|.
  s.piles.P_FACTOR[1] = s.piles.Y_FACTOR[1] = 1.0;
  s.soil.NSMPTS = 2;
  for (int m = 0; m <= 4; ++m) {
    w->SOIL_MOVE_Y[NODE(m)] = 0.03;
    w->SOIL_MOVE_Z[NODE(m)] = 0.04;
  }
  deflect(0.105);
  INPUT_PY_EVALUATE(*run, *w);
  EXPECT_NEAR(E(1), 75.0 / 0.055, 1e-9);
  EXPECT_NEAR(w->PMOVE[NODE(1)], 0.05 * 75.0 / 0.055, 1e-9);
  EXPECT_LT(w->PSOIL[NODE(1)], 0.0);
}

TEST_F(INPUT_PY, DepthFactorsScaleTheModulus) {
  STORE& s = run->store;
  s.ctl.DEPTH_FACTORS = 1;
  s.piles.RFL_SET[1] = 1;
  s.soil.NRFSETS = 1;
  RF_SET& r = s.soil.RF_SETS[1];
  r.NPOINTS = 2;
  r.DEPTH[1] = 0.0, r.P_FACTOR[1] = 1.0, r.Y_FACTOR[1] = 1.0;
  r.DEPTH[2] = 4.0, r.P_FACTOR[2] = 0.5, r.Y_FACTOR[2] = 2.0;
  deflect(0.055);
  INPUT_PY_EVALUATE(*run, *w);
  EXPECT_NEAR(E(1), (75.0 / 0.055) * 0.75 / 1.5, 1e-9);  // factors at X = 2
  EXPECT_NEAR(w->PSOIL[NODE(1)], -75.0 * 0.75, 1e-12);
  // X = 6 lies beyond the factor points: no factor.
  EXPECT_NEAR(E(3), 150.0 / 0.055, 1e-9);
}

TEST_F(INPUT_PY, NonPositiveYFactorIsRefused) {
  deflect(0.01);
  run->store.piles.Y_FACTOR[1] = 0.0;
  EXPECT_EQ(INPUT_PY_EVALUATE(*run, *w), ST_BAD_PROPERTY);
  EXPECT_EQ(run->status, ST_BAD_PROPERTY);
  run->store.piles.Y_FACTOR[1] = 1.0;
  STORE& s = run->store;
  s.ctl.DEPTH_FACTORS = 1;
  s.piles.RFL_SET[1] = 1;
  s.soil.NRFSETS = 1;
  s.soil.RF_SETS[1].NPOINTS = 1;
  s.soil.RF_SETS[1].DEPTH[1] = 2.0;
  s.soil.RF_SETS[1].P_FACTOR[1] = 1.0;
  s.soil.RF_SETS[1].Y_FACTOR[1] = 0.0;
  EXPECT_EQ(INPUT_PY_EVALUATE(*run, *w), ST_BAD_PROPERTY);
}

TEST_F(INPUT_PY, MissingSetIsAnError) {
  run->store.piles.PY_SET[1] = 3;
  EXPECT_EQ(INPUT_PY_EVALUATE(*run, *w), ST_DECK_REFERENCE);
  run->store.piles.PY_SET[1] = 1;
  run->store.soil.PY_SETS[1].NPYCURVES = 0;
  EXPECT_EQ(INPUT_PY_EVALUATE(*run, *w), ST_DECK_REFERENCE);
  run->store.ctl.USER_PY = 0;
  EXPECT_FALSE(USES_INPUT_PY(run->store, 1));
}
