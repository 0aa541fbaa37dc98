// Pile-head response in cap coordinates: transformations, curve lookups,
// rigid-body transfer, multiplicity and the central-difference stiffness.
#include "group/pile_head.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "group/group_fixture.h"

using namespace kestra;
using kestra_test::KA;
using kestra_test::make_group;

namespace {

VEC6 vec(double a, double b, double c, double d, double e, double f) { return VEC6{0.0, a, b, c, d, e, f}; }

TEST(PileTransform, VerticalPileHasGlobalAxesAndRigidBodyRows) {
  auto run = make_group({{0.5, 2.0, -3.0}});
  PILE_TRANSFORM(*run, 1);
  const ANALYSIS& an = run->store.an;
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) {
      EXPECT_NEAR(an.D[r][c], r == c ? 1.0 : 0.0, 1e-15) << r << "," << c;
      EXPECT_DOUBLE_EQ(an.A[r][c], an.B[c][r]);
      EXPECT_DOUBLE_EQ(an.C[r][c], an.D[c][r]);
    }
  // u_head = u_cap + theta x r with r = (0.5, 2, -3).
  VEC6 u;
  MAT6_MUL(an.B, vec(0, 0, 0, 0.1, 0.2, 0.3), u);
  EXPECT_NEAR(u[1], 0.2 * -3.0 - 0.3 * 2.0, 1e-15);
  EXPECT_NEAR(u[2], 0.3 * 0.5 - 0.1 * -3.0, 1e-15);
  EXPECT_NEAR(u[3], 0.1 * 2.0 - 0.2 * 0.5, 1e-15);
  EXPECT_DOUBLE_EQ(u[4], 0.1);
  EXPECT_DOUBLE_EQ(u[6], 0.3);
}

TEST(PileTransform, BatteredPileRotationIsOrthonormal) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  run->store.piles.ALPHA[1] = 0.3;
  run->store.piles.BETA[1] = 1.2;
  PILE_TRANSFORM(*run, 1);
  const ANALYSIS& an = run->store.an;
  MAT6 dc;
  MAT6_MUL(an.D, an.C, dc);
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) EXPECT_NEAR(dc[r][c], r == c ? 1.0 : 0.0, 1e-14);
  // The local x axis runs along the pile: (sin b, cos a cos b, sin a cos b).
  EXPECT_NEAR(an.D[1][1], std::sin(1.2), 1e-15);
  EXPECT_NEAR(an.D[1][3], std::sin(0.3) * std::cos(1.2), 1e-15);
  EXPECT_NEAR(an.COS_A[1], std::cos(0.3), 1e-15);
  EXPECT_NEAR(an.SIN_B[1], std::sin(1.2), 1e-15);
}

struct CURVE_CASE {
  const char* id;
  double a;
  double N;
  int bearing, pullout;
};

TEST(AxialHeadForce, CurveEndsAndFailures) {
  const CURVE_CASE cases[] = {
      {"exactly d_1 interpolates", -1.0, -KA, 0, 0},
      {"exactly d_n interpolates", 1.0, KA, 0, 0},
      {"inside", 0.25, 0.25 * KA, 0, 0},
      {"beyond d_n is bearing failure", 1.0001, 0.0, 1, 0},
      {"before d_1 is pull-out failure", -1.5, 0.0, 0, 1},
      {"tiny displacement is zero", 1.0E-15, 0.0, 0, 0},
  };
  for (const CURVE_CASE& c : cases) {
    SCOPED_TRACE(c.id);
    auto run = make_group({{0.0, 0.0, 0.0}});
    run->store.an.WARN_RECORDING = 1;
    int st = -1;
    EXPECT_DOUBLE_EQ(AXIAL_HEAD_FORCE(*run, 1, c.a, st), c.N);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(run->store.an.N_FAIL_BEARING, c.bearing);
    EXPECT_EQ(run->store.an.N_FAIL_PULLOUT, c.pullout);
  }
}

TEST(AxialHeadForce, TinyDisplacementDoesNotLookAtTheCurve) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  run->store.soil.LS_CURVES[1].NPOINTS = 0;  // no curve at all
  run->store.an.WARN_RECORDING = 1;
  int st = 0;
  EXPECT_EQ(AXIAL_HEAD_FORCE(*run, 1, -1.0E-14, st), 0.0);
  EXPECT_EQ(run->store.an.N_FAIL_PULLOUT + run->store.an.N_FAIL_BEARING, 0);
}

TEST(AxialHeadForce, WarningLinesGoToTheScratchFile) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  FILE* f = std::tmpfile();
  run->files.fp[F_FAIL_WARNINGS] = f;
  run->store.an.WARN_RECORDING = 1;
  int st = 0;
  AXIAL_HEAD_FORCE(*run, 1, 2.0, st);
  std::rewind(f);
  char buf[512] = {};
  std::string text;
  while (std::fgets(buf, sizeof buf, f)) text += buf;
  EXPECT_EQ(text,
            "\n     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    1\n"
            "                    AX. DISP.=  0.2000E+01 >   0.1000E+01     AX. FORCE=  0.0000E+00\n");
  std::fclose(f);
  run->files.fp[F_FAIL_WARNINGS] = nullptr;
}

TEST(TorsionHeadMoment, PinnedHeadCarriesNoTorqueButStillWarns) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  run->store.an.WARN_RECORDING = 1;
  EXPECT_DOUBLE_EQ(TORSION_HEAD_MOMENT(*run, 1, 0.01), 0.01 * kestra_test::KT);
  VEC6 F;
  run->store.piles.CONNECTZ[1] = 1;  // pinned in one plane
  ASSERT_EQ(PILE_HEAD_RESPONSE(*run, 1, vec(0, 0, 0, 0.01, 0, 0), F), 0);
  EXPECT_NEAR(F[4], 0.0, 1e-20);
  EXPECT_EQ(run->store.an.N_FAIL_TORSION, 0);
  ASSERT_EQ(PILE_HEAD_RESPONSE(*run, 1, vec(0, 0, 0, 2.0, 0, 0), F), 0);
  EXPECT_NEAR(F[4], 0.0, 1e-20);
  EXPECT_EQ(run->store.an.N_FAIL_TORSION, 1);
}

TEST(PileHeadResponse, VerticalPileAtOriginSettles) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  VEC6 F;
  run->store.an.U = vec(9, 9, 9, 9, 9, 9);  // restored after the call
  ASSERT_EQ(PILE_HEAD_RESPONSE(*run, 1, vec(0.01, 0, 0, 0, 0, 0), F), 0);
  EXPECT_DOUBLE_EQ(F[1], -0.01 * KA);
  for (int k = 2; k <= 6; ++k) EXPECT_NEAR(F[k], 0.0, 1e-9) << k;
  EXPECT_EQ(run->store.an.U[1], 9.0);
}

TEST(CapResistance, RotationAboutXMovesAPileSidewaysAndMakesAMoment) {
  auto run = make_group({{0.0, 2.0, 0.0}});
  PILE_TRANSFORM(*run, 1);
  VEC6 u;
  MAT6_MUL(run->store.an.B, vec(0, 0, 0, 0.001, 0, 0), u);
  EXPECT_NEAR(u[3], 0.002, 1e-15);
  EXPECT_NEAR(u[1] * u[1] + u[2] * u[2], 0.0, 1e-30);
  VEC6 F, R;
  ASSERT_EQ(PILE_HEAD_RESPONSE(*run, 1, u, F), 0);
  ASSERT_EQ(CAP_RESISTANCE(*run, vec(0, 0, 0, 0.001, 0, 0), R), 0);
  EXPECT_NEAR(R[4], 2.0 * F[3] + F[4], 1e-9 * std::fabs(F[3]));
  EXPECT_LT(F[3], 0.0);  // the pile resists the movement
}

TEST(CapResistance, MultiplicityScalesForcesAndStiffness) {
  auto one = make_group({{0.0, 1.0, 0.5}});
  auto three = make_group({{0.0, 1.0, 0.5}});
  three->store.piles.MULTIPLICITY[1] = 3.0;
  const VEC6 U = vec(0.01, 0.002, -0.001, 1e-4, 2e-4, -1e-4);
  VEC6 R1, R3;
  ASSERT_EQ(CAP_RESISTANCE(*one, U, R1), 0);
  ASSERT_EQ(CAP_RESISTANCE(*three, U, R3), 0);
  MAT6 K1, K3;
  CAP_STIFFNESS(*one, U, K1);
  CAP_STIFFNESS(*three, U, K3);
  for (int r = 1; r <= 6; ++r) {
    EXPECT_NEAR(R3[r], 3.0 * R1[r], 1e-9 * (1.0 + std::fabs(R1[r]))) << r;
    for (int c = 1; c <= 6; ++c) EXPECT_NEAR(K3[r][c], 3.0 * K1[r][c], 1e-5 * (1.0 + std::fabs(K1[r][c])));
  }
}

TEST(CapStiffness, CentralDifferencesMatchTheLinearResponse) {
  // Lateral translations and a twist of the cap move the heads sideways
  // only: no axial force, so no beam-column coupling, and the piles answer
  // linearly. (With an axial force the lateral stiffness depends on it and
  // the matrix is not symmetric between axial and lateral slots.)
  auto run = make_group({{0.0, 1.5, -1.0}, {0.0, -1.5, 1.0}});
  const VEC6 U = vec(0.0, 0.001, 0.002, 1e-4, 0.0, 0.0);
  MAT6 K;
  CAP_STIFFNESS(*run, U, K);
  VEC6 R, KU;
  ASSERT_EQ(CAP_RESISTANCE(*run, U, R), 0);
  MAT6_MUL(K, U, KU);
  for (int k = 1; k <= 6; ++k) EXPECT_NEAR(KU[k], R[k], 1e-4 * (1.0 + std::fabs(R[k]))) << k;
  // Negative on the diagonal; symmetric within the lateral and twist block.
  for (int r = 1; r <= 6; ++r) EXPECT_LT(K[r][r], 0.0) << r;
  for (int r : {2, 3, 4})
    for (int c : {2, 3, 4}) EXPECT_NEAR(K[r][c], K[c][r], 1e-4 * (1.0 + std::fabs(K[r][c]))) << r << "," << c;
}

TEST(StiffnessSteps, SiUnitsUseTheSameStepInMetres) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  VEC6 st;
  STIFFNESS_STEPS(*run, st);
  EXPECT_EQ(st[1], 1.0E-7);
  EXPECT_EQ(st[6], 1.0E-13);
  run->store.ctl.UNITS_SYSTEM = 2;
  STIFFNESS_STEPS(*run, st);
  EXPECT_EQ(st[2], 2.54E-9);
}

}  // namespace
