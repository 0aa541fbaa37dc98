// The layer walk shared by the soil models: node assignment, profile
// lookups and averages, the equivalent depth of a lower layer, the
// run-wide threshold, soil movement, multipliers, nodes above the ground,
// heads away from the origin and the embedded-cap pass.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "py_fixture.h"

using namespace kestra;
using kestra_test::PY_FIXTURE;
using kestra_test::SOIL_POINT;
using kestra_test::clay;

namespace {

// Nodes at the given coordinates (node m at xs[m]).
void set_nodes(PY_FIXTURE& f, std::initializer_list<double> xs) {
  f.w->N = static_cast<int>(xs.size()) - 1;
  int m = 0;
  for (double x : xs) f.w->X[NODE(m++)] = x;
  ASSIGN_LAYER_NODES(*f.run, *f.w);
}

TEST(NodeAssignment, PileRuleCases) {
  {
    SCOPED_TRACE("thin middle layer");
    PY_FIXTURE f;
    f.layer(1, 0, 10, clay(8, 20, 0.02));
    f.layer(1, 10, 11, clay(8, 20, 0.02));
    f.layer(1, 11, 30, clay(8, 20, 0.02));
    set_nodes(f, {-0.5, 2.5, 5.5, 8.5, 11.5, 14.5, 17.5, 20.5});
    EXPECT_EQ(f.w->NFIRST[1], 2);
    EXPECT_EQ(f.w->NLAST[1], 4);
    EXPECT_EQ(f.w->NFIRST[2], 5);
    EXPECT_EQ(f.w->NLAST[2], 5);
    EXPECT_EQ(f.w->NFIRST[3], 6);
    EXPECT_EQ(f.w->NLAST[3], 8);
  }
  {
    SCOPED_TRACE("tip on the boundary");
    PY_FIXTURE f;
    f.layer(1, 0, 10, clay(8, 20, 0.02));
    f.layer(1, 10, 20, clay(8, 20, 0.02));
    set_nodes(f, {-2, 0, 2, 4, 6, 8, 10});
    EXPECT_EQ(f.w->NFIRST[1], 2);
    EXPECT_EQ(f.w->NLAST[1], 7);
    EXPECT_EQ(f.w->NFIRST[2], 7);
    EXPECT_EQ(f.w->NLAST[2], 7);
  }
  {
    SCOPED_TRACE("node at the bottom of layer 1, head at that bottom");
    PY_FIXTURE f;
    f.layer(1, 0, 10, clay(8, 20, 0.02));
    f.layer(1, 10, 20, clay(8, 20, 0.02));
    set_nodes(f, {0, 5, 10, 15});
    EXPECT_EQ(f.w->NLAST[1], 2);  // the node at 10 is the first of layer 2
    EXPECT_EQ(f.w->NFIRST[2], 3);
    set_nodes(f, {10, 12, 14});
    EXPECT_EQ(f.w->NFIRST[2], 1);  // a head at the bottom of layer 1 belongs to layer 2
    EXPECT_EQ(f.w->NFIRST[1], 0);
  }
  {
    SCOPED_TRACE("head below two layer tops");
    PY_FIXTURE f;
    f.layer(1, 0, 10, clay(8, 20, 0.02));
    f.layer(3, 10, 20, clay(8, 20, 0.02));
    f.layer(1, 20, 40, clay(8, 20, 0.02));
    set_nodes(f, {25, 27, 29, 31});
    EXPECT_EQ(f.w->NFIRST[1], 0);
    EXPECT_EQ(f.w->NFIRST[2], 0);
    EXPECT_EQ(f.w->NFIRST[3], 1);
    EXPECT_EQ(f.w->NLAST[3], 4);
  }
}

TEST(NodeAssignment, TipOnlyLayerIsSkippedInTheAnalysis) {
  PY_FIXTURE f;
  f.layer(1, 0, 10, clay(8, 20, 0.02));
  f.layer(1, 10, 20, clay(8, 80, 0.02));
  f.pile(0.6, 10.0, 5, 0.0, 0.0);  // tip exactly at 10
  f.eval(0.01);
  // The tip is evaluated with layer 1 (c 20 at the boundary coordinate's
  // average of 50 is not used: the layer-2 pass is skipped).
  ASSERT_EQ(f.w->NFIRST[2], 6);
  const double tip_e = f.e_at(10.0);
  EXPECT_GT(tip_e, 0.0);
  f.store().py.PY_PHASE = 1;  // tabulation-style phase: the tip layer runs too
  f.eval(0.01);
  EXPECT_NE(f.e_at(10.0), tip_e);
}

TEST(NodeAssignment, RequestRule) {
  PY_FIXTURE f;
  f.layer(1, 0, 10, clay(8, 20, 0.02));
  f.layer(3, 10, 20, clay(8, 20, 0.02));
  f.layer(1, 20, 30, clay(8, 20, 0.02));
  struct CASE {
    double x;
    int layer;
  } cases[] = {{5, 1}, {10, 2}, {15, 2}, {20, 3}, {29.9, 3}, {30, 0}, {35, 0}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.x);
    ASSIGN_REQUEST_NODES(*f.run, *f.w, c.x);
    int found = 0;
    for (int k = 1; k <= 3; ++k)
      if (f.w->NFIRST[k] == 1) {
        EXPECT_EQ(found, 0);
        found = k;
        EXPECT_EQ(f.w->NLAST[k], 1);
      }
    EXPECT_EQ(found, c.layer);
  }
}

TEST(ProfileLookup, BoundaryAveragingAndDefaults) {
  PY_FIXTURE f;
  f.layer(1, 0, 10, clay(6, 20, 0.02), clay(10, 40, 0.02));
  f.layer(1, 10, 20, clay(10, 60, 0.01), clay(10, 60, 0.01));
  const STORE& s = f.store();
  EXPECT_DOUBLE_EQ(PROFILE_VALUE(s, SP_COHESION, 5.0), 30.0);
  EXPECT_DOUBLE_EQ(PROFILE_VALUE(s, SP_COHESION, 10.0), 50.0);  // both sides given: the average
  EXPECT_DOUBLE_EQ(PROFILE_VALUE(s, SP_COHESION, 20.0), 60.0);
  EXPECT_DOUBLE_EQ(PROFILE_VALUE(s, SP_COHESION, -1.0), 20.0);  // clamped above the profile
  // A zero upper value gives the lower value at the boundary, and back.
  PY_FIXTURE g;
  g.layer(9, 0, 10, SOIL_POINT{20, 1000, 0, 0, 0, 0, 0});
  g.layer(9, 10, 20, SOIL_POINT{20, 1000, 0, 0, 5e5, 0, 0});
  EXPECT_DOUBLE_EQ(PROFILE_VALUE(g.store(), SP_E_ROCK, 10.0), 5e5);
  g.store().soil.PROFILE[SP_E_ROCK][3] = 0.0;
  g.store().soil.PROFILE[SP_E_ROCK][2] = 7.0;
  EXPECT_DOUBLE_EQ(PROFILE_VALUE(g.store(), SP_E_ROCK, 10.0), 7.0);
  // Subgrade modulus: 0 above the profile, the units default when zero.
  EXPECT_DOUBLE_EQ(SUBGRADE_MODULUS(s, -1.0), 0.0);
  EXPECT_DOUBLE_EQ(SUBGRADE_MODULUS(s, 5.0), 13575.0);
  PY_FIXTURE e(1);
  e.layer(1, 0, 10, clay(6, 20, 0.02));
  EXPECT_DOUBLE_EQ(SUBGRADE_MODULUS(e.store(), 5.0), 50.0);
}

TEST(ProfileLookup, AveragesAndTheirExtentWarnings) {
  PY_FIXTURE f;
  f.capture();
  f.layer(1, 0, 10, clay(6, 20, 0.02), clay(10, 40, 0.02));
  int st = ST_OK;
  EXPECT_DOUBLE_EQ(AVG_UNIT_WEIGHT(*f.run, 10.0, st), 8.0);
  EXPECT_DOUBLE_EQ(AVG_UNIT_WEIGHT(*f.run, 5.0, st), 7.0);
  EXPECT_DOUBLE_EQ(AVG_UNIT_WEIGHT(*f.run, 0.0, st), 6.0);
  EXPECT_DOUBLE_EQ(AVG_UNIT_WEIGHT(*f.run, -1.0, st), 0.0);
  EXPECT_DOUBLE_EQ(AVG_COHESION(*f.run, 5.0), 25.0);
  EXPECT_EQ(st, ST_OK);
  EXPECT_EQ(AVG_UNIT_WEIGHT(*f.run, 12.0, st), 0.0);
  EXPECT_EQ(st, ST_BEYOND_UNIT_WEIGHT);
  const char* uw =
      "\n                             **** WARNING ****\n"
      "     THE VALUE OF X = 0.12E+02IS BEYOND THE EXTENT OF/     THE INPUT CURVE FOR UNIT WEIGHT\n";
  EXPECT_NE(f.report_text().find(uw), std::string::npos) << f.report_text();
  EXPECT_NE(f.runtime_text().find(uw), std::string::npos);
  st = ST_OK;
  EXPECT_EQ(COHESION_LOOKUP(*f.run, 12.0, st), 0.0);
  EXPECT_EQ(st, ST_BEYOND_COHESION);
  EXPECT_NE(f.report_text().find("     THE VALUE OF X =  0.1E+02 IS BEYOND THE EXTENT OF\n     THE INPUT STRENGTH CURVE\n"),
            std::string::npos);
  st = ST_OK;
  EXPECT_EQ(PHI_LOOKUP(*f.run, 12.0, st), 0.0);
  EXPECT_EQ(st, ST_BEYOND_FRICTION);
  EXPECT_NE(f.runtime_text().find("THE INPUT PHI CURVE"), std::string::npos);
  // The average cohesion beyond the profile warns in the report only and
  // averages over the profile.
  const std::string runtime_before = f.runtime_text();
  EXPECT_DOUBLE_EQ(AVG_COHESION(*f.run, 12.0), 30.0);
  EXPECT_NE(f.report_text().find("IS BEYOND THE EXTENT OF THE/     INPUT CURVE FOR STRENGTH"), std::string::npos);
  EXPECT_EQ(f.runtime_text(), runtime_before);
}

TEST(ProfileLookup, PileBeyondTheProfileEndsTheEvaluationWithTheLookupStatus) {
  PY_FIXTURE f;
  f.capture();
  f.layer(1, 0, 10, clay(8, 20, 0.02));
  f.pile(0.6, 12.0, 12);
  ASSERT_EQ(f.w->NFIRST[1], 1);
  f.w->NLAST[1] = 13;  // force the deep nodes into the layer
  EXPECT_EQ(f.eval(0.01), ST_BEYOND_COHESION);
  EXPECT_EQ(f.run->status, ST_BEYOND_COHESION);
}

// Direct numerical integral of pu over 0..h, and the h at which it reaches S.
double integral_depth(const std::function<double(double)>& pu, double S) {
  const double dz = 1e-5;
  double acc = 0.0, z = 0.0;
  while (acc < S && z < 1000.0) {
    const double inc = 0.5 * (pu(z) + pu(z + dz)) * dz;
    if (acc + inc >= S) return z + (S - acc) / inc * dz;
    acc += inc;
    z += dz;
  }
  return z;
}

TEST(EquivalentDepth, SoftClayClosedFormMatchesTheIntegral) {
  // A thin upper layer gives the quadratic branch, a thick one the deep
  // branch beyond the transition depth.
  for (double t : {3.0, 12.0})
    for (int loading : {1, 0}) {
      SCOPED_TRACE(::testing::Message() << "top layer " << t << " loading " << loading);
      PY_FIXTURE f;
      f.store().py.LOADING = loading;
      f.layer(1, 0, t, clay(8, 20, 0.02));
      f.layer(1, t, 40, clay(9, 40, 0.01));
      f.pile(0.6, 20.0, 40);
      ASSERT_EQ(f.eval(0.01), ST_OK);
      const double S = f.w->PUSUM[1];
      const double m = loading ? 1.0 : double(0.72f);
      // Layer 1 sum: h * pu (0.72 pu cyclic) over its nodes below the ground.
      double expect_S = 0.0;
      for (double x = 0.5; x < t - 0.1; x += 0.5) expect_S += 0.5 * CLAY_PU(20, 8, 0.6, x) * m;
      EXPECT_NEAR(S, expect_S, 1e-9 * expect_S);
      int st = ST_OK;
      const double c = PROFILE_VALUE(f.store(), SP_COHESION, t);
      const double g = AVG_UNIT_WEIGHT(*f.run, t, st);
      const double zr = 6 * c * 0.6 / (g * 0.6 + 0.5 * c);
      const double I_zr = 3 * c * 0.6 * zr + 0.5 * g * 0.6 * zr * zr + 0.25 * c * zr * zr;
      // Static: the integral of pu; cyclic: 0.72 pu beyond zr while the
      // shallow (quadratic) branch stays unfactored.
      const bool deep = S > I_zr * m;
      const double h = deep ? integral_depth([&](double z) { return CLAY_PU(c, g, 0.6, z) * m; }, S)
                            : integral_depth([&](double z) { return CLAY_PU(c, g, 0.6, z); }, S);
      EXPECT_EQ(deep, t > 10.0);
      EXPECT_NEAR(f.store().py.HEQ[1][2], h, 1e-4);
      // The layer's curves use the depth (x - top) + HEQ.
      const double z = 2.0 + f.store().py.HEQ[1][2];
      f.eval(2.5 * 0.01 * 0.6);  // y = y50 of layer 2: p = 0.5 pu, static or cyclic
      const double pu = CLAY_PU(40, AVG_UNIT_WEIGHT(*f.run, t + 2.0, st), 0.6, z);
      EXPECT_NEAR(f.p_at(t + 2.0), 0.5 * pu, 1e-9 * pu);
    }
}

TEST(EquivalentDepth, SteppedSandDepthMatchesTheIntegralWithinAStep) {
  PY_FIXTURE f;
  f.layer(1, 0, 3, clay(8, 20, 0.02));
  SOIL_POINT sand;
  sand.gamma = 10;
  sand.phi_deg = 35;
  sand.k = 20000;
  f.layer(8, 3, 20, sand);
  f.pile(0.6, 10.0, 20);
  ASSERT_EQ(f.eval(0.01), ST_OK);
  const double S = f.w->PUSUM[1];
  int st = ST_OK;
  const double g = AVG_UNIT_WEIGHT(*f.run, 3.0, st);
  const double pi = f.store().rw.PI;
  const PY_WEDGE q = WEDGE_OF(PROFILE_VALUE(f.store(), SP_PHI, 3.0), pi);
  const double b = 0.6;
  auto pu = [&](double z) {
    const double pus = (q.C1 * z + q.C2 * b) * g * z, pud = q.C3 * b * g * z;
    return std::max(3.0 - double(0.8f) * z / b, double(0.9f)) * std::min(pus, pud);
  };
  const double h = integral_depth(pu, S);
  const double zt = (q.C3 - q.C2) * b / q.C1;
  EXPECT_GT(f.store().py.HEQ[1][2], 0.0);
  EXPECT_NEAR(f.store().py.HEQ[1][2], h, zt / 50.0);
  // Computed once for the group and layer: a second analysis keeps it.
  const double first = f.store().py.HEQ[1][2];
  f.store().soil.LAYER[1].PROPS[0][SP_COHESION] = 99;
  f.eval(0.02);
  EXPECT_EQ(f.store().py.HEQ[1][2], first);
}

// The equivalent depth of a lower layer of every model that uses one,
// against a direct integral of that layer's ultimate resistance with the
// properties of its first node; the stepped forms agree within one step.
TEST(EquivalentDepth, EveryModelAgainstTheIntegralOfItsResistance) {
  const double b = 0.6, t = 3.0;
  auto as_of = [](double zb) {
    const double v[5] = {0.223, 0.46, 0.55, 0.59, 0.60};
    if (zb >= 4) return v[4];
    const int i = static_cast<int>(zb);
    return v[i] + (v[i + 1] - v[i]) * (zb - i);
  };
  struct CASE {
    const char* id;
    int model;
    SOIL_POINT lower;
    double tolerance_steps;  // 0: closed form
  } cases[] = {
      {"stiff clay without free water", 3, clay(9, 60, 0.005), 0},
      {"stiff clay with initial k", 10, SOIL_POINT{9, 60, 0, 30000, 0, 0.005, 0}, 0},
      {"stiff clay with free water", 2, SOIL_POINT{9, 60, 0, 30000, 0, 0.005, 0}, 40},
      {"sand", 4, SOIL_POINT{10, 0, 35, 20000, 0, 0, 0}, 50},
      {"silt", 7, SOIL_POINT{10, 10, 30, 20000, 0, 0.01, 0}, 50},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    PY_FIXTURE f;
    f.layer(1, 0, t, clay(8, 20, 0.02));
    f.layer(c.model, t, 30, c.lower);
    f.pile(b, 10.0, 20);
    ASSERT_EQ(f.eval(0.01), ST_OK);
    const double S = f.w->PUSUM[1];
    int st = ST_OK;
    const STORE& s = f.store();
    const double cu = PROFILE_VALUE(s, SP_COHESION, t);
    const double g = AVG_UNIT_WEIGHT(*f.run, t, st);
    const PY_WEDGE q = WEDGE_OF(PROFILE_VALUE(s, SP_PHI, t), s.rw.PI);
    std::function<double(double)> pu;
    double zt = 0.0;
    switch (c.model) {
      case 2:
        zt = (11 * cu * b - 2 * cu * b) / (double(2.83f) * cu + b * g);
        pu = [&](double z) {
          const double F = 1.225 * std::sqrt(as_of(z / b)) - 0.75 * as_of(z / b) - 0.411;
          return std::min(2 * cu * b + g * b * z + 2.83 * cu * z, 11 * cu * b) * F;
        };
        break;
      case 3:
      case 10: pu = [&](double z) { return std::min(3 * cu * b + g * b * z + 0.5 * cu * z, 9 * cu * b); }; break;
      case 4:
        zt = (q.C3 - q.C2) * b / q.C1;
        pu = [&](double z) {
          const double shallow = SAND_TABLE_A(false, z / b) * g * b * b * (q.C1 * (z / b) * (z / b) + q.C2 * z / b);
          return z < zt ? shallow : 0.88 * g * b * q.C3 * t;
        };
        break;
      default:
        zt = (q.C3 - q.C2) * b / q.C1;
        pu = [&](double z) {
          const double sand = SAND_TABLE_A(false, z / b) * g * b * b * (q.C1 * (z / b) * (z / b) + q.C2 * z / b);
          return sand + CLAY_PU(cu, g, b, z);
        };
        break;
    }
    const double h = integral_depth(pu, S);
    const double tol = c.tolerance_steps > 0 ? zt / c.tolerance_steps : 1e-4;
    EXPECT_GT(f.store().py.HEQ[1][2], 0.0);
    EXPECT_NEAR(f.store().py.HEQ[1][2], h, tol);
  }
}

TEST(Threshold, CarriedFromWeakRockAndLiquefiedSandIntoALowerClay) {
  for (int upper : {9, 11}) {
    SCOPED_TRACE(upper);
    PY_FIXTURE f;
    f.layer(upper, 0, 3, SOIL_POINT{20, 3000, 0, 0, 3e5, 0.0005, 50});
    f.layer(1, 3, 20, clay(8, 20, 0.02));
    f.pile(0.6, 10.0, 20);
    ASSERT_EQ(f.eval(0.0), ST_OK);
    const double thr = double(2e-5f) * 0.6;
    EXPECT_DOUBLE_EQ(f.store().py.SMALL_DEFLECTION, thr);
    // The clay's initial modulus divides by the threshold the upper layer left.
    f.eval(1.0);
    const double pu = f.p_at(6.0);  // 1.0 > 8 y50: p = pu
    f.eval(0.0);
    const double y50 = 2.5 * 0.02 * 0.6;
    EXPECT_NEAR(f.e_at(6.0), 0.5 * pu / y50 * std::pow(y50 / thr, double(2.0f / 3.0f)), 1e-9 * f.e_at(6.0));
  }
}

TEST(Threshold, ApiSandAndSiltSetItBack) {
  PY_FIXTURE f;
  SOIL_POINT sand;
  sand.gamma = 10;
  sand.phi_deg = 35;
  sand.k = 20000;
  f.layer(9, 0, 3, SOIL_POINT{20, 3000, 0, 0, 3e5, 0.0005, 50});
  f.layer(8, 3, 20, sand);
  f.pile(0.6, 10.0, 20);
  ASSERT_EQ(f.eval(0.0), ST_OK);
  EXPECT_EQ(f.store().py.SMALL_DEFLECTION, 1e-14);
}

TEST(SoilMovement, VerticalPileIn3DFollowsYAndZAlike) {
  for (int dir : {0, 1}) {
    SCOPED_TRACE(dir);
    PY_FIXTURE f;
    f.store().ctl.ANALYSIS_TYPE = 3;
    f.layer(1, 0, 20, clay(8, 20, 0.02));
    f.pile(0.6, 10.0, 20);
    SOIL_DATA& s = f.store().soil;
    s.NSMPTS = 2;
    s.SM_DEPTH[1] = 0.0;
    s.SM_DEPTH[2] = 8.0;
    (dir == 0 ? s.SM_MOVE_Y : s.SM_MOVE_Z)[1] = 0.02;
    (dir == 0 ? s.SM_MOVE_Y : s.SM_MOVE_Z)[2] = 0.0;
    SOIL_MOVEMENT_Y(*f.run, *f.w);
    SOIL_MOVEMENT_Z(*f.run, *f.w);
    const int m = f.node_at(2.0);
    const double sm = std::hypot(f.w->SOIL_MOVE_Y[NODE(m)], f.w->SOIL_MOVE_Z[NODE(m)]);
    EXPECT_NEAR(sm, 0.015, 1e-12);
    EXPECT_EQ(f.w->SOIL_MOVE_Y[NODE(f.node_at(9.0))] + f.w->SOIL_MOVE_Z[NODE(f.node_at(9.0))], 0.0);
    // The pile at rest: the soil pushes it (positive reaction), PMOVE = s ESOIL.
    ASSERT_EQ(f.eval(0.0), ST_OK);
    EXPECT_GT(f.w->PSOIL[NODE(m)], 0.0);
    EXPECT_NEAR(f.w->PMOVE[NODE(m)], 0.015 * f.w->ESOIL[NODE(m)], 1e-9 * f.w->PMOVE[NODE(m)]);
    PY_FIXTURE still;
    still.layer(1, 0, 20, clay(8, 20, 0.02));
    still.pile(0.6, 10.0, 20);
    still.eval(0.015);
    EXPECT_NEAR(f.w->ESOIL[NODE(m)], still.e_at(2.0), 1e-9 * still.e_at(2.0));
    // Moved further than the soil: the reaction turns negative.
    ASSERT_EQ(f.eval(0.03), ST_OK);
    EXPECT_LT(f.w->PSOIL[NODE(m)], 0.0);
  }
}

TEST(Multipliers, GroupAndDepthFactorsScaleTheSecantAndTheTable) {
  struct CASE {
    const char* id;
    double P, Y, PD, YD;
  } cases[] = {{"P 0.5", 0.5, 1, 1, 1}, {"Y 2", 1, 2, 1, 1}, {"Pd 0.5", 1, 1, 0.5, 1}, {"Yd 2", 1, 1, 1, 2}};
  PY_FIXTURE base;
  base.layer(1, 0, 20, clay(8, 20, 0.02));
  base.pile(0.6, 10.0, 20);
  base.eval(0.01);
  const double e_ref = base.e_at(3.0);
  ASSERT_EQ(base.tabulate(3.0), 0);
  const double ty = base.store().py.CURVE_Y[5], tp = base.store().py.CURVE_P[5];
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    PY_FIXTURE f;
    f.layer(1, 0, 20, clay(8, 20, 0.02));
    f.pile(0.6, 10.0, 20);
    STORE& s = f.store();
    s.piles.P_FACTOR[1] = c.P;
    s.piles.Y_FACTOR[1] = c.Y;
    s.ctl.DEPTH_FACTORS = 1;
    s.piles.RFL_SET[1] = 1;
    s.soil.NRFSETS = 1;
    s.soil.RF_SETS[1].NPOINTS = 2;
    s.soil.RF_SETS[1].DEPTH[1] = 0.0;
    s.soil.RF_SETS[1].DEPTH[2] = 20.0;
    for (int i = 1; i <= 2; ++i) {
      s.soil.RF_SETS[1].P_FACTOR[i] = c.PD;
      s.soil.RF_SETS[1].Y_FACTOR[i] = c.YD;
    }
    f.eval(0.01);
    EXPECT_NEAR(f.e_at(3.0), e_ref * c.P * c.PD / (c.Y * c.YD), 1e-9 * e_ref);
    ASSERT_EQ(f.tabulate(3.0), 0);
    EXPECT_NEAR(s.py.CURVE_Y[5], ty * c.Y * c.YD, 1e-12);
    EXPECT_NEAR(s.py.CURVE_P[5], tp * c.P * c.PD, 1e-9 * tp);
  }
}

TEST(GroundSurface, NodesAboveTheGroundGetNoSpring) {
  PY_FIXTURE f;
  f.layer(1, -1.0, 20, clay(8, 20, 0.02));
  f.pile(0.6, 10.0, 20, -2.0, 1.0);  // head 1 above the ground surface at -1
  for (int m = 0; m <= 20; ++m) f.w->PSOIL[NODE(m)] = 123.0;
  ASSERT_EQ(f.eval(0.01), ST_OK);
  EXPECT_EQ(f.e_at(-2.0), 0.0);
  EXPECT_EQ(f.e_at(-1.5), 0.0);
  EXPECT_EQ(f.w->PSOIL[NODE(f.node_at(-1.5))], 123.0);
  EXPECT_EQ(f.e_at(-1.0), 0.0);
  EXPECT_GT(f.e_at(-0.5), 0.0);
}

TEST(GroundSurface, HeadAwayFromTheOriginMeasuresDepthFromGPlusV) {
  PY_FIXTURE at0, away;
  at0.layer(1, 0, 30, clay(8, 20, 0.02));
  at0.pile(0.6, 10.0, 20);
  away.layer(1, 4, 34, clay(8, 20, 0.02));
  away.pile(0.6, 10.0, 20, 3.0, 1.0);  // ground surface at 4
  at0.eval(0.02);
  away.eval(0.02);
  for (double z : {0.5, 1.0, 3.0, 6.0}) EXPECT_DOUBLE_EQ(away.e_at(3.0 + z + 1.0), at0.e_at(z)) << z;
  EXPECT_EQ(away.e_at(4.0), 0.0);
}

TEST(EmbeddedCap, CapPassUsesTheCapWidthAndLeavesPUnfactored) {
  PY_FIXTURE f;
  f.layer(1, -1.0, 30, clay(8, 20, 0.02));
  f.pile(0.6, 10.0, 20, 0.0, -1.0);  // head 1 below the ground surface
  STORE& s = f.store();
  s.ctl.CAP_OPTION = 1;
  s.piles.CAP_WIDTH = 3.0;
  s.piles.CAP_THICKNESS = 1.0;
  s.piles.P_FACTOR[1] = 0.5;
  ASSERT_EQ(f.eval(0.01), ST_OK);
  const double pu_cap = CLAY_PU(20, 8, 3.0, 1.0);
  const double y50 = 2.5 * 0.02 * 3.0;
  EXPECT_NEAR(f.w->CAP_P, 0.5 * pu_cap * std::cbrt(0.01 / y50), 1e-6 * f.w->CAP_P);
  // The head node itself keeps the pile width.
  PY_FIXTURE open;
  open.layer(1, -1.0, 30, clay(8, 20, 0.02));
  open.pile(0.6, 10.0, 20, 0.0, -1.0);
  open.store().piles.P_FACTOR[1] = 0.5;
  open.eval(0.01);
  EXPECT_DOUBLE_EQ(f.e_at(0.0), open.e_at(0.0));
  EXPECT_EQ(open.w->CAP_P, 0.0);
}

TEST(UserCurveLayer, BracketingCurvesAndExactDepth) {
  PY_FIXTURE f;
  f.capture();
  f.layer(5, 0, 20, SOIL_POINT{});
  f.pile(1.0, 10.0, 10);
  STORE& s = f.store();
  s.piles.PY_SET[1] = 1;
  s.soil.NPYSETS = 1;
  USER_PY_SET& set = s.soil.PY_SETS[1];
  set.NPYCURVES = 2;
  // Two curves at 2 and 6: p = 100 y ... 1000 y up to y = 0.1, then flat.
  const double depth[2] = {2.0, 6.0}, k[2] = {100.0, 1000.0};
  for (int c = 0; c < 2; ++c) {
    USER_PY_CURVE& cv = set.CURVE[c + 1];
    cv.DEPTH = depth[c];
    cv.NPOINTS = 3;
    cv.Y[1] = 0.0, cv.P[1] = 0.0;
    cv.Y[2] = 0.1, cv.P[2] = k[c] * 0.1;
    cv.Y[3] = 1.0, cv.P[3] = k[c] * 0.1;
  }
  ASSERT_EQ(f.eval(0.05), ST_OK);
  EXPECT_NEAR(f.e_at(2.0), 100.0, 1e-9);             // exactly at the first curve
  EXPECT_NEAR(f.e_at(4.0), 550.0, 1e-9);             // moduli interpolated by depth
  EXPECT_NEAR(f.p_at(4.0), 1000.0 * 0.05, 1e-9);     // p of the deeper curve
  EXPECT_NEAR(f.e_at(1.0), 100.0, 1e-9);             // above the first curve: the first
  EXPECT_NEAR(f.e_at(8.0), 1000.0, 1e-9);            // below the deepest: the deepest
  EXPECT_NE(f.report_text().find("\n\n     P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE"), std::string::npos);
  EXPECT_EQ(f.w->PUSUM[1], 0.0);
}

TEST(Tabulation, BufferHoldsTheCurveAndWhatTheStationFound) {
  PY_FIXTURE f;
  f.capture();
  f.layer(1, 0, 30, clay(8, 20, 0.02));
  f.pile(0.6, 10.0, 20, -1.0, 1.0);  // head 1 above the ground surface at 0
  PY_STATE& py = f.store().py;
  ASSERT_EQ(f.tabulate(3.0), ST_OK);
  EXPECT_EQ(py.NCURVE, 17);
  EXPECT_EQ(py.STATION_BELOW, 1);
  EXPECT_EQ(py.STATION_MODEL, 1);
  EXPECT_DOUBLE_EQ(py.STATION_DEPTH, 3.0);
  EXPECT_EQ(f.report_text(), "");  // buffered: nothing printed
  EXPECT_EQ(f.plot_text(), "");
  // The cap width in place of the pile width scales the reference deflection.
  const double y17 = py.CURVE_Y[17];
  f.store().piles.CAP_WIDTH = 1.2;
  py.CAP_WIDTH_MODE = true;
  ASSERT_EQ(f.tabulate(3.0), ST_OK);
  EXPECT_NEAR(py.CURVE_Y[17], 2.0 * y17, 1e-12);
  py.CAP_WIDTH_MODE = false;
  // Above the ground: no points, and the station says so.
  ASSERT_EQ(f.tabulate(-0.5), ST_OK);
  EXPECT_EQ(py.NCURVE, 0);
  EXPECT_EQ(py.STATION_BELOW, 0);
}

}  // namespace
