// The torsional march: imposed rotations, the torque of a fully mobilised
// shaft, and the pull-out branch as the mirror of the compression branch.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "pile/torsion_curves.h"

using namespace kestra;

namespace {

double sp(float f) { return static_cast<double>(f); }

AXIAL_PILE shaft(double length, double width, double gj) {
  AXIAL_PILE p;
  p.PILE_TYPE = DRILLED_SHAFT;
  p.LENGTH = length;
  p.INC = 25;
  p.WIDTH = p.TIP_WIDTH = width;
  p.NSEC = 1;
  p.SEC_END[1] = length;
  p.EA_START[1] = p.EA_END[1] = 1e9;
  p.GJ_START[1] = p.GJ_END[1] = gj;
  return p;
}

// Side friction f from a movement of 1e-9 on, at both ends of the pile.
std::unique_ptr<AXIAL_CURVES> plastic(double length, double f) {
  auto c = std::make_unique<AXIAL_CURVES>();
  c->NP = 2;
  c->POS[2] = length;
  for (int i = 1; i <= 2; ++i)
    for (int j = 2; j <= TZ_POINTS; ++j) {
      c->TZ[i].Z[j] = j == 2 ? 1e-9 : j - 2.0;
      c->TZ[i].T[j] = f;
    }
  return c;
}

}  // namespace

TEST(TorsionCurves, ImposedRotationsScaleWithTheTorqueArm) {
  std::array<double, LS_MOVEMENTS + 1> r1, r2, si;
  TORSION_IMPOSED_ROTATIONS(1, 24.0, r1);
  TORSION_IMPOSED_ROTATIONS(1, 48.0, r2);
  TORSION_IMPOSED_ROTATIONS(2, 0.6, si);
  const double base[9] = {0.0001, 0.001, 0.005, 0.01, 0.05, 0.1, 0.5, 1.0, 2.0};
  for (int j = 1; j <= 9; ++j) {
    EXPECT_NEAR(r1[j], base[j - 1] / 12.0, 1e-7 * r1[j]);
    EXPECT_DOUBLE_EQ(r2[j], 0.5 * r1[j]);  // twice as wide: half the rotations
    EXPECT_NEAR(si[j], base[j - 1] * 0.0254 / 0.3, 1e-6 * si[j]);
  }
}

TEST(TorsionCurves, FullyMobilisedShaftCarriesFrictionTimesArm) {
  const double L = 300.0, D = 30.0, f = 2.0, gj = 1e12;
  const AXIAL_PILE p = shaft(L, D, gj);
  auto cv = plastic(L, f);
  auto pass = std::make_unique<TORSION_PASS>();
  TORSION_CURVE curve;
  AXIAL_MESSAGE msg;
  ASSERT_EQ(TORSION_LOAD_ROTATION(p, *cv, 1, DIR_COMPRESSION, *pass, curve, msg), ST_OK);
  const double r = 0.5 * D, torque = f * sp(3.1416f) * D * L * r;
  for (int j = 1; j <= 9; ++j) {
    const AXIAL_MARCH& m = pass->RUN[j];
    EXPECT_EQ(m.TIP_FORCE(), 0.0);  // no torque at the tip
    EXPECT_NEAR(m.TOP_LOAD(), torque, 1e-9 * torque);
    // Twist of a linearly growing torque: (T / 2) L / GJ.
    EXPECT_NEAR(m.TOP_MOVE() - pass->IMPOSED[j], 0.5 * torque * L / gj, 1e-12);
    EXPECT_EQ(curve.MOM[10 + j], m.TOP_LOAD());
  }
  // The pull-out branch is the mirror image.
  TORSION_CURVE both = curve;
  ASSERT_EQ(TORSION_LOAD_ROTATION(p, *cv, 1, DIR_PULL_OUT, *pass, both, msg), ST_OK);
  for (int j = 1; j <= 9; ++j) {
    EXPECT_EQ(both.ROT[10 - j], -both.ROT[10 + j]);
    EXPECT_EQ(both.MOM[10 - j], -both.MOM[10 + j]);
  }
  EXPECT_EQ(both.ROT[10], 0.0);
  EXPECT_EQ(both.NPTS, 19);
}

TEST(TorsionCurves, ZeroTorsionalRigidityIsRefused) {
  auto cv = plastic(100.0, 1.0);
  auto pass = std::make_unique<TORSION_PASS>();
  TORSION_CURVE curve;
  AXIAL_MESSAGE msg;
  AXIAL_PILE p = shaft(100.0, 12.0, 0.0);
  EXPECT_EQ(TORSION_LOAD_ROTATION(p, *cv, 1, DIR_COMPRESSION, *pass, curve, msg), ST_BAD_PROPERTY);
  EXPECT_STREQ(msg.TEXT, "THE TORSIONAL RIGIDITY GJ OF PILE SECTION 1 IS NOT POSITIVE");
  // A pile without width has no torque arm.
  p = shaft(100.0, 0.0, 1e9);
  EXPECT_EQ(TORSION_LOAD_ROTATION(p, *cv, 1, DIR_COMPRESSION, *pass, curve, msg), ST_BAD_PROPERTY);
}
