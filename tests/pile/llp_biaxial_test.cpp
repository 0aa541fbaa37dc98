// Two-plane beam-column solution: the planes against the one-plane solution,
// symmetry of a round pile, the shared modulus at the resultant deflection,
// stresses, capacity ratios and the head-force hand-back.
#include <gtest/gtest.h>

#include <cmath>

#include "llp_fixture.h"
#include "pile/llp_core.h"

using kestra_test::LLP_MODEL;
using namespace kestra;

namespace {

constexpr double EI = 1.0e5;
constexpr double L = 20.0;

struct BI_RESULT {
  int status = -1;
  double Vy = 0, Vz = 0, My = 0, Mz = 0;
};

BI_RESULT biaxial(LLP_MODEL& m, double yt, double ty, double zt, double tz, double P = 0.0,
                  double T = 0.0) {
  BI_RESULT r;
  r.status = LLP_BIAXIAL(*m.run, *m.w, 1, yt, ty, zt, tz, P, T, r.Vy, r.Vz, r.My, r.Mz);
  return r;
}

struct LINEAR_PILE : LLP_MODEL {
  LINEAR_PILE() : LLP_MODEL(L, 100, EI, 1.0) {
    linear_soil(0.0, 1e4, L, 1e4);
    nodes();
  }
};

struct CLAY_PILE : LLP_MODEL {
  CLAY_PILE() : LLP_MODEL(L, 100, EI, 1.0) {
    clay_soil(0.0, 20.0, L, 300.0, 0.01);
    nodes();
    w->CONTROL.TOL_PILE = 1e-10;
  }
};

}  // namespace

// With nothing in z the y-plane is the one-plane solution with the head
// rotation of the opposite sense (dy/dx = -theta_y), in nonlinear soil too.
TEST(LlpBiaxial, OnePlaneLoadingReproducesTheOnePlaneSolution) {
  for (int connect : {1, 2, 3}) {
    SCOPED_TRACE(connect);
    CLAY_PILE a, b;
    for (auto* m : {&a, &b}) {
      m->store().piles.CONNECTY[1] = connect;
      m->store().piles.CONNECTZ[1] = 2;
      m->store().piles.SPY[1] = 3e5;
    }
    const BI_RESULT r = biaxial(a, 0.04, 1e-3, 0.0, 0.0);
    ASSERT_EQ(r.status, ST_OK);
    const double V = b.solve(0.04, -1e-3);
    // The two start from different moduli and meet within the tolerance.
    EXPECT_NEAR(r.Vy, V, 1e-7 * std::fabs(V));
    EXPECT_EQ(r.Vz, 0.0);
    EXPECT_NEAR(r.My, b.moment(0), 1e-7 * std::fabs(V) * L);
    for (int i = 0; i <= 100; ++i) {
      ASSERT_EQ(a.w->Z[NODE(i)], 0.0) << i;
      ASSERT_NEAR(a.w->RES_DEFL[NODE(i)], std::fabs(a.Y(i)), 1e-15) << i;
      ASSERT_NEAR(a.Y(i), b.Y(i), 1e-9) << i;
    }
    if (connect == 2) {
      EXPECT_NEAR(a.slope(0), -1e-3, 1e-12);
    }
  }
}

// A round pile pushed along y or along z responds the same way.
TEST(LlpBiaxial, RoundPileRespondsAlikeInBothDirections) {
  CLAY_PILE a, b;
  const BI_RESULT ry = biaxial(a, 0.05, 0.0, 0.0, 0.0);
  const BI_RESULT rz = biaxial(b, 0.0, 0.0, 0.05, 0.0);
  EXPECT_DOUBLE_EQ(ry.Vy, rz.Vz);
  EXPECT_DOUBLE_EQ(ry.My, rz.Mz);
  for (int i = 0; i <= 100; ++i) ASSERT_DOUBLE_EQ(a.Y(i), b.w->Z[NODE(i)]) << i;
  // The still plane passes the test at once; the loaded one decides.
  EXPECT_GT(a.w->LLP_ITERATIONS, 3);
  EXPECT_EQ(a.w->LLP_ITERATIONS, b.w->LLP_ITERATIONS);
}

// Equal displacements in y and z: equal planes, resultants sqrt(2) times the
// plane values, and the modulus is that of the resultant deflection.
TEST(LlpBiaxial, DiagonalLoadingGivesEqualPlanesAndRootTwoResultants) {
  CLAY_PILE d, single;
  d.store().piles.CONNECTY[1] = d.store().piles.CONNECTZ[1] = 2;
  single.store().piles.CONNECTY[1] = 2;
  const double a = 0.03;
  const BI_RESULT r = biaxial(d, a, 0.0, a, 0.0);
  ASSERT_EQ(r.status, ST_OK);
  EXPECT_DOUBLE_EQ(r.Vy, r.Vz);
  EXPECT_DOUBLE_EQ(r.My, r.Mz);
  const double s2 = std::sqrt(2.0);
  for (int i = 0; i <= 100; ++i) {
    const int e = NODE(i);
    ASSERT_DOUBLE_EQ(d.Y(i), d.w->Z[e]) << i;
    ASSERT_NEAR(d.w->RES_DEFL[e], s2 * std::fabs(d.Y(i)), 1e-14) << i;
    ASSERT_NEAR(d.w->RES_BMOM[e], s2 * std::fabs(d.moment(i)), 1e-9) << i;
  }
  // The same resultant along y alone gives the same resultant response.
  const BI_RESULT one = biaxial(single, s2 * a, 0.0, 0.0, 0.0);
  EXPECT_NEAR(std::hypot(r.Vy, r.Vz), one.Vy, 1e-6 * one.Vy);
}

// Fixed about one axis, pinned about the other: each plane keeps its own
// head condition (linear soil, so each plane is a one-plane solution).
TEST(LlpBiaxial, HeadConditionsOfThePlanesAreIndependent) {
  LINEAR_PILE bi, fix, pin;
  bi.store().piles.CONNECTY[1] = 2;
  bi.store().piles.CONNECTZ[1] = 1;
  fix.store().piles.CONNECTY[1] = 2;
  const BI_RESULT r = biaxial(bi, 0.01, 0.0, 0.02, 0.0);
  EXPECT_NEAR(r.Vy, fix.solve(0.01, 0.0), 1e-9 * r.Vy);
  EXPECT_NEAR(r.Vz, pin.solve(0.02, 0.0), 1e-9 * r.Vz);
  EXPECT_NEAR(bi.slope(0), 0.0, 1e-12);
  EXPECT_NEAR(r.Mz, 0.0, 1e-9 * r.Vz);
  EXPECT_GT(std::fabs(r.My), 0.0);
  // Head forces in pile axes: axial, y, z, torque, about y, about z.
  const BI_RESULT q = biaxial(bi, 0.01, 0.0, 0.02, 0.0, 250.0, 7.0);
  const auto& f = bi.w->HEAD_FORCE;
  EXPECT_EQ(f[1], 250.0);
  EXPECT_EQ(f[2], q.Vy);
  EXPECT_EQ(f[3], q.Vz);
  EXPECT_EQ(f[4], 7.0);
  EXPECT_EQ(f[5], -bi.w->PLANE_Z.BMOM[NODE(0)]);
  EXPECT_EQ(f[6], bi.w->PLANE_Y.BMOM[NODE(0)]);
}

TEST(LlpBiaxial, StressOfRoundAndRectangularSections) {
  struct CASE {
    const char* id;
    int type;
    double depth, width;
  } cases[] = {{"general", XT_GENERAL, 0, 0}, {"rectangular pipe", XT_RECTANGULAR_PIPE, 2.0, 1.0}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    LINEAR_PILE m;
    PILE_SECTION& sec = m.store().piles.PROP[1].SECT[1];
    sec.XSEC_TYPE = c.type;
    for (auto* v : {&sec.TOP, &sec.BOT}) {
      (*v)[XS_EXT_DEPTH] = c.depth;
      (*v)[XS_EXT_WIDTH] = c.width;
    }
    const double P = 500.0, A = sec.TOP[XS_AREA], D = sec.TOP[XS_DIAMETER];
    biaxial(m, 0.01, 0.0, 0.005, 0.0, P);
    for (int i : {0, 5, 20, 60}) {
      const int e = NODE(i);
      const double my = m.w->PLANE_Y.BMOM[e], mz = m.w->PLANE_Z.BMOM[e];
      const double expected = c.type < 2 ? P / A + std::hypot(my * D / 2.0, mz * D / 2.0)
                                         : P / A + std::fabs(my) * 2.0 / 2.0 + std::fabs(mz) * 1.0 / 2.0;
      EXPECT_NEAR(m.w->PLANE_Y.STRESS[e], expected, 1e-12 * expected) << i;
    }
  }
}

TEST(LlpBiaxial, CapacityRatiosOnlyDuringCombinations) {
  LINEAR_PILE m;
  PILE_SECTION& sec = m.store().piles.PROP[1].SECT[1];
  sec.TOP[XS_MN] = sec.BOT[XS_MN] = 400.0;
  sec.TOP[XS_VN] = sec.BOT[XS_VN] = 300.0;
  biaxial(m, 0.01, 0.0, 0.01, 0.0);
  EXPECT_EQ(m.w->MOMENT_RATIO[NODE(3)], 0.0);
  m.w->CONTROL.COMBINATION = 1;
  m.w->CONTROL.BENDING_RF = 0.9;
  m.w->CONTROL.SHEAR_RF = 0.75;
  biaxial(m, 0.01, 0.0, 0.01, 0.0);
  const int e = NODE(3);
  EXPECT_NEAR(m.w->MOMENT_RATIO[e], m.w->RES_BMOM[e] / 360.0, 1e-15);
  EXPECT_NEAR(m.w->SHEAR_RATIO[e], m.w->RES_SHEAR[e] / 225.0, 1e-15);
  // A zero resistance factor gives no ratio rather than a division by zero.
  m.w->CONTROL.BENDING_RF = 0.0;
  biaxial(m, 0.01, 0.0, 0.01, 0.0);
  EXPECT_EQ(m.w->MOMENT_RATIO[e], 0.0);
  EXPECT_TRUE(std::isfinite(m.w->SHEAR_RATIO[e]));
}

TEST(LlpBiaxial, NoClosureHandsBackNothing) {
  CLAY_PILE m;
  m.open_files();
  m.w->CONTROL.MAXIT_PILE = 3;
  const BI_RESULT r = biaxial(m, 0.05, 0.0, 0.02, 0.0);
  EXPECT_EQ(r.status, ST_OK);
  EXPECT_EQ(m.w->NO_CLOSURE, 1);
  EXPECT_EQ(r.Vy, 0.0);
  EXPECT_EQ(r.Vz, 0.0);
  EXPECT_EQ(r.My, 0.0);
  EXPECT_EQ(r.Mz, 0.0);
  EXPECT_EQ(m.text(F_REPORT),
            "\n\n     ** WARNING **  NO CLOSURE OF A LLP AFTER     3  ITERATIONS          PILE GROUP    1\n");
}

// Soil movement given along global Y and Z, resolved onto the pile's axes.
TEST(LlpBiaxial, SoilMovementResolvedOntoThePileAxes) {
  const double d = 3.141592653589793 / 180.0;
  struct CASE {
    const char* id;
    double alpha, beta, SY, SZ, sy, sz;
  } cases[] = {
      {"alpha 0, beta 90: Y loads only y", 0.0, 90.0, 0.02, 0.0, 0.02, 0.0},
      {"alpha 0, beta 90: Z loads only z", 0.0, 90.0, 0.0, 0.03, 0.0, 0.03},
      {"alpha 90, beta 90: axes swapped", 90.0, 90.0, 0.02, 0.03, 0.03, -0.02},
      {"alpha 30, beta 60", 30.0, 60.0, 0.02, 0.0, std::sin(60 * d) * 0.02 * std::cos(30 * d),
       -0.02 * std::sin(30 * d)},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    auto w = std::make_unique<PILE_WORK>();
    w->N = 3;
    for (int m = 0; m <= 3; ++m) {
      w->SOIL_MOVE_Y[NODE(m)] = c.SY * m;
      w->SOIL_MOVE_Z[NODE(m)] = c.SZ * m;
    }
    llp::RESOLVE_SOIL_MOVEMENT(*w, c.alpha * d, c.beta * d);
    for (int m = 0; m <= 3; ++m) {
      EXPECT_NEAR(w->SOIL_MOVE_Y[NODE(m)], c.sy * m, 1e-15) << m;
      EXPECT_NEAR(w->SOIL_MOVE_Z[NODE(m)], c.sz * m, 1e-15) << m;
    }
  }
}

// Generated curves start from k(x) * (x - ground value) below the top of the
// first layer and nothing above it.
TEST(LlpBiaxial, GeneratedCurvesStartFromTheSubgradeModulus) {
  LLP_MODEL m(20.0, 20, EI, 1.0);
  STORE& s = m.store();
  s.ctl.USER_PY = 0;
  s.ctl.UNITS_SYSTEM = 2;
  s.piles.GROUND[1] = 2.0;
  s.soil.NL = 1;
  s.soil.LAYER_TOP[1] = 2.0;
  s.soil.LAYER_BOTTOM[1] = 30.0;
  s.soil.NPROFILE = 2;
  s.soil.PROFILE_X[1] = 2.0;
  s.soil.PROFILE_X[2] = 30.0;
  s.soil.PROFILE[SP_K][1] = 1000.0;
  s.soil.PROFILE[SP_K][2] = 3800.0;
  ASSERT_EQ(m.nodes(), ST_OK);
  m.w->CONTROL.MAXIT_PILE = 1;  // stops before the first modulus update
  biaxial(m, 0.01, 0.0, 0.0, 0.0);
  ASSERT_EQ(m.w->NO_CLOSURE, 1);
  // Nodes at X = 0, 1, ...: above the layer nothing, at its top depth 0.
  EXPECT_EQ(m.w->ESOIL[NODE(0)], 0.0);
  EXPECT_EQ(m.w->ESOIL[NODE(1)], 0.0);
  EXPECT_EQ(m.w->ESOIL[NODE(2)], 0.0);
  EXPECT_NEAR(m.w->ESOIL[NODE(3)], 1100.0 * 1.0, 1e-9);
  EXPECT_NEAR(m.w->ESOIL[NODE(10)], 1800.0 * 8.0, 1e-9);
  // A profile without modulus gives the default of the units.
  s.soil.PROFILE[SP_K][1] = s.soil.PROFILE[SP_K][2] = 0.0;
  biaxial(m, 0.01, 0.0, 0.0, 0.0);
  EXPECT_NEAR(m.w->ESOIL[NODE(10)], 13575.0 * 8.0, 1e-9);
}
