// One-plane beam-column solution against closed forms of beams on elastic
// foundations, its head conditions, iteration control and failure paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "llp_fixture.h"

using kestra_test::LLP_MODEL;
using namespace kestra;

namespace {

constexpr double EI = 1.0e5;
constexpr double K = 1.0e4;
const double BETA = std::pow(K / (4.0 * EI), 0.25);  // 0.3976 per length
const double R = std::pow(EI / K, 0.25);              // characteristic length

// A long pile (beta*L = 8) on constant springs k.
struct LONG_PILE : LLP_MODEL {
  LONG_PILE(int inc = 100, double L = 20.0) : LLP_MODEL(L, inc, EI, 1.0) {
    linear_soil(0.0, K, L, K);
    EXPECT_EQ(nodes(), ST_OK);
  }
};

double max_abs_moment(LLP_MODEL& m, int* at = nullptr) {
  double best = 0.0;
  for (int i = 0; i <= m.w->N; ++i)
    if (std::fabs(m.moment(i)) > best) {
      best = std::fabs(m.moment(i));
      if (at) *at = i;
    }
  return best;
}

}  // namespace

// Hetenyi, Beams on Elastic Foundation (1946): long beam, free head under
// shear H: y0 = 2H beta/k, |theta0| = 2H beta^2/k, Mmax = 0.3224 H/beta at
// beta x = pi/4.
TEST(LlpGroup, FreeHeadLongPileMatchesWinklerBeam) {
  LONG_PILE m;
  const double yt = 0.01;
  int st = -1;
  const double H = m.solve(yt, 0.0, 0.0, &st);
  ASSERT_EQ(st, ST_OK);
  EXPECT_EQ(m.w->NO_CLOSURE, 0);
  EXPECT_NEAR(yt / H, 2.0 * BETA / K, 0.01 * 2.0 * BETA / K);
  EXPECT_NEAR(std::fabs(m.slope(0)), 2.0 * H * BETA * BETA / K, 0.01 * 2.0 * H * BETA * BETA / K);
  EXPECT_LT(m.slope(0), 0.0);  // deflection falls away from the head
  EXPECT_NEAR(m.moment(0), 0.0, 1e-9 * H);
  int at = 0;
  const double mmax = max_abs_moment(m, &at);
  EXPECT_NEAR(mmax, 0.3224 * H / BETA, 0.01 * 0.3224 * H / BETA);
  EXPECT_NEAR(at * m.w->h * BETA, 0.7854, 0.05);
  // The shear at the head is a forward difference, short of H by about
  // h/2 * k * y0 (the load the first half increment takes).
  EXPECT_NEAR(m.w->PLANE_Y.SHEAR[NODE(0)], H - 0.5 * m.w->h * K * yt, 0.01 * H);
}

// Fixed head (zero rotation): y0 = H beta/k, M0 = -H/(2 beta).
TEST(LlpGroup, FixedHeadLongPileMatchesWinklerBeam) {
  LONG_PILE m;
  m.store().piles.CONNECTY[1] = 2;
  const double yt = 0.01;
  const double H = m.solve(yt, 0.0);
  EXPECT_NEAR(yt / H, BETA / K, 0.01 * BETA / K);
  EXPECT_NEAR(m.slope(0), 0.0, 1e-12);
  EXPECT_NEAR(std::fabs(m.moment(0)), H / (2.0 * BETA), 0.01 * H / (2.0 * BETA));
  EXPECT_NEAR(max_abs_moment(m), std::fabs(m.moment(0)), 1e-9 * H);
}

// Finite free-free pile of length 4R (Hetenyi): y0 = 1.43187 H R^3/EI. The
// central differences converge at second order in the increment.
TEST(LlpGroup, HeadDeflectionConvergesAtSecondOrder) {
  const double L = 4.0 * R;
  const double exact = 1.43187 * R * R * R / EI;
  double err[3];
  const int incs[3] = {20, 40, 80};
  for (int i = 0; i < 3; ++i) {
    LONG_PILE m(incs[i], L);
    const double H = m.solve(0.01, 0.0);
    err[i] = std::fabs(0.01 / H - exact);
  }
  EXPECT_LT(err[2] / exact, 0.005);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GT(err[i] / err[i + 1], 3.5);
    EXPECT_LT(err[i] / err[i + 1], 4.5);
  }
}

// Modulus growing with depth, k = nh x: long-pile solution y0 = Ay H T^3/EI
// + By M T^2/EI, theta0 = As H T^2/EI + Bs M T/EI, fixed head Fy; exact
// values Ay 2.4292, By = |As| 1.6194, |Bs| 1.7468, Fy 0.9279.
TEST(LlpGroup, ModulusGrowingWithDepthMatchesLongPileSolution) {
  const double nh = 5000.0;
  const double T = std::pow(EI / nh, 0.2);
  const double L = 10.0 * T;
  LLP_MODEL m(L, 100, EI, 1.0);
  m.linear_soil(0.0, 0.0, L, nh * L);
  ASSERT_EQ(m.nodes(), ST_OK);
  m.store().piles.CONNECTY[1] = 2;
  // Head stiffness from two fixed-head solutions, then its inverse.
  const double Va = m.solve(1e-3, 0.0), Ma = m.moment(0);
  const double Vb = m.solve(0.0, 1e-3), Mb = m.moment(0);
  const double det = (Va * Mb - Vb * Ma) / 1e-6;
  const double fyh = (Mb / 1e-3) / det, fym = -(Vb / 1e-3) / det, fth = (Va / 1e-3) / det;
  const double T2 = T * T, T3 = T2 * T;
  EXPECT_NEAR(fyh * EI / T3, 2.4292, 0.01 * 2.4292);
  EXPECT_NEAR(std::fabs(fym) * EI / T2, 1.6194, 0.01 * 1.6194);
  EXPECT_NEAR(std::fabs(fth) * EI / T, 1.7468, 0.01 * 1.7468);
  EXPECT_NEAR(1e-3 / Va * EI / T3, 0.9279, 0.01 * 0.9279);
  // The worked example: H = 100, M = 50 gives y0 = 0.017342.
  EXPECT_NEAR(fyh * 100.0 + std::fabs(fym) * 50.0, 0.017342, 0.01 * 0.017342);

  // Free head under H alone.
  m.store().piles.CONNECTY[1] = 1;
  const double H = m.solve(1e-3, 0.0);
  EXPECT_NEAR(1e-3 / H * EI / T3, 2.4292, 0.01 * 2.4292);
}

// EI y'''' + P y'' + k y = 0: p = P/sqrt(k EI), a = sqrt((1 - p/2)/2); free
// head y0 = 2a/(1 - p) H R^3/EI, fixed y0 = 1/(2a) H R^3/EI, M0 = -H R/(2a).
TEST(LlpGroup, AxialForceChangesDeflectionAsBeamColumnTheory) {
  struct CASE {
    const char* id;
    double pbar;
    int connect;
  } cases[] = {{"compression free", 0.5, 1},
               {"compression fixed", 0.5, 2},
               {"tension free", -0.5, 1},
               {"tension fixed", -0.5, 2}};
  const double R3 = R * R * R;
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    LONG_PILE m(100, 30.0);
    m.store().piles.CONNECTY[1] = c.connect;
    const double P = c.pbar * std::sqrt(K * EI);
    const double a = std::sqrt((1.0 - c.pbar / 2.0) / 2.0);
    const double H = m.solve(0.01, 0.0, P);
    const double expected = (c.connect == 1 ? 2.0 * a / (1.0 - c.pbar) : 1.0 / (2.0 * a)) * R3 / EI;
    EXPECT_NEAR(0.01 / H, expected, 0.01 * expected);
    if (c.connect == 2) {
      EXPECT_NEAR(std::fabs(m.moment(0)), H * R / (2.0 * a), 0.01 * H * R / (2.0 * a));
    }
    // Compression softens the pile, tension stiffens it.
    LONG_PILE plain(100, 30.0);
    plain.store().piles.CONNECTY[1] = c.connect;
    const double H0 = plain.solve(0.01, 0.0);
    if (c.pbar > 0) {
      EXPECT_LT(H, H0);
    } else {
      EXPECT_GT(H, H0);
    }
  }
}

// The axial force along the pile replaces P only with the variation option
// on and a generated load-settlement curve.
TEST(LlpGroup, AxialVariationUsesTheAxialSolutionsForces) {
  const double P = 0.4 * std::sqrt(K * EI);
  LONG_PILE ref;
  const double Vref = ref.solve(0.01, 0.0, P);
  struct CASE {
    const char* id;
    int variation, ls_set;
    bool uses_axforce;
  } cases[] = {{"variation on", 1, 0, true}, {"variation off", 0, 0, false},
               {"user load-settlement curve", 1, 2, false}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    LONG_PILE m;
    m.w->CONTROL.AXIAL_VARIATION = c.variation;
    m.store().piles.LS_SET[1] = c.ls_set;
    m.w->AXFORCE.fill(P);
    const double V = m.solve(0.01, 0.0, 0.0);
    if (c.uses_axforce) {
      EXPECT_NEAR(V, Vref, 1e-9 * Vref);
    } else {
      EXPECT_GT(V, Vref * 1.01);
    }
  }
}

TEST(LlpGroup, RestrainedHeadSpansPinnedToFixed) {
  LONG_PILE pin, fix, res0, stiff;
  fix.store().piles.CONNECTY[1] = 2;
  res0.store().piles.CONNECTY[1] = 3;
  res0.store().piles.SPY[1] = 0.0;
  stiff.store().piles.CONNECTY[1] = 3;
  stiff.store().piles.SPY[1] = 1e14;
  const double Vpin = pin.solve(0.01, 0.0), Vfix = fix.solve(0.01, 0.0);
  const double Vres0 = res0.solve(0.01, 0.0), Vstiff = stiff.solve(0.01, 0.0);
  EXPECT_NEAR(Vres0, Vpin, 1e-12 * Vpin);
  for (int i = 0; i <= 100; ++i) ASSERT_NEAR(res0.Y(i), pin.Y(i), 1e-15) << i;
  EXPECT_NEAR(Vstiff, Vfix, 1e-4 * Vfix);
  EXPECT_NEAR(stiff.moment(0), fix.moment(0), 1e-4 * std::fabs(fix.moment(0)));

  // A moderate spring lies between the two, and the head moment obeys it:
  // M0 = -K (slope - theta) with theta 0.
  LONG_PILE mid;
  mid.store().piles.CONNECTY[1] = 3;
  mid.store().piles.SPY[1] = 2e5;
  const double Vmid = mid.solve(0.01, 0.0);
  EXPECT_GT(Vmid, Vpin);
  EXPECT_LT(Vmid, Vfix);
  EXPECT_NEAR(mid.moment(0), -2e5 * mid.slope(0), 1e-6 * std::fabs(mid.moment(0)));
}

// dy/dx = +theta at a fixed head of the one-plane solution.
TEST(LlpGroup, FixedHeadImposesTheRotation) {
  LONG_PILE m;
  m.store().piles.CONNECTY[1] = 2;
  m.solve(0.0, 2e-3);
  EXPECT_NEAR(m.slope(0), 2e-3, 1e-12);
  EXPECT_NEAR(m.Y(0), 0.0, 1e-15);
}

TEST(LlpGroup, UndisplacedPinnedPileStaysStraightAfterTwoIterations) {
  LONG_PILE m;
  m.w->CONTROL.TOL_PILE = 1e30;  // even a tolerance that accepts anything waits for a second solution
  const double V = m.solve(0.0, 0.0);
  EXPECT_EQ(m.w->LLP_ITERATIONS, 2);
  EXPECT_EQ(V, 0.0);
  for (int i = -1; i <= 101; ++i) ASSERT_EQ(m.Y(i), 0.0) << i;
}

TEST(LlpGroup, IterationLimitOfOneNeverCloses) {
  LONG_PILE m;
  m.open_files();
  m.w->CONTROL.MAXIT_PILE = 1;
  m.w->CONTROL.TOL_PILE = 1e30;
  int st = -1;
  const double V = m.solve(0.01, 0.0, 0.0, &st);
  EXPECT_EQ(st, ST_OK);
  EXPECT_EQ(m.w->NO_CLOSURE, 1);
  EXPECT_EQ(V, 0.0);
  const std::string line =
      "\n\n     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    1\n";
  EXPECT_EQ(m.text(F_REPORT), line);
  EXPECT_EQ(m.text(F_RUNTIME), line);
  // The next call starts clean.
  m.w->CONTROL.MAXIT_PILE = 100;
  m.w->CONTROL.TOL_PILE = 1e-12;
  EXPECT_GT(m.solve(0.01, 0.0), 0.0);
  EXPECT_EQ(m.w->NO_CLOSURE, 0);
}

// With input curves the first solution takes ESOIL = m*h, numerically the
// distance from the head, whatever the curves say.
TEST(LlpGroup, FirstSolutionWithInputCurvesUsesDistanceAsModulus) {
  const double L = 20.0;
  LLP_MODEL first(L, 100, EI, 1.0), converged(L, 100, EI, 1.0);
  first.linear_soil(0.0, 1e12, L, 1e12);
  converged.linear_soil(0.0, 0.0, L, L);  // k = x exactly
  first.nodes();
  converged.nodes();
  first.w->CONTROL.MAXIT_PILE = 1;
  first.solve(0.01, 0.0);
  converged.solve(0.01, 0.0);
  ASSERT_EQ(first.w->NO_CLOSURE, 1);
  for (int i = 0; i <= 100; ++i) ASSERT_NEAR(first.Y(i), converged.Y(i), 1e-14) << i;
}

// The converged state lies on the p-y curves: ESOIL*y is the curve's p.
TEST(LlpGroup, NonlinearSoilConvergesOntoTheCurves) {
  const double L = 20.0, y50 = 0.01;
  LLP_MODEL m(L, 100, EI, 1.0);
  m.clay_soil(0.0, 20.0, L, 300.0, y50);
  m.nodes();
  m.w->CONTROL.TOL_PILE = 1e-9;
  const double H = m.solve(0.05, 0.0);
  EXPECT_EQ(m.w->NO_CLOSURE, 0);
  EXPECT_GT(m.w->LLP_ITERATIONS, 3);
  EXPECT_GT(H, 0.0);
  for (int i = 0; i <= 100; i += 5) {
    SCOPED_TRACE(i);
    const double x = i * m.w->h, y = std::fabs(m.Y(i));
    const double pu = 20.0 + (300.0 - 20.0) * x / L;
    // Within one curve segment the input curve is a chord of the cube root:
    // compare with the chord through the neighbouring points.
    const double p_curve = y >= 8 * y50 ? pu : 0.5 * pu * std::cbrt(y / y50);
    EXPECT_NEAR(std::fabs(m.w->PLANE_Y.SOILR[NODE(i)]), p_curve, 0.08 * pu + 1e-9);
  }
}

TEST(LlpGroup, HeadForceTakesHalfTheHeadNodesLoad) {
  LONG_PILE m;
  m.store().loads.DLOAD_NODES[1] = 101;
  m.store().loads.DLOAD_Y[1][1] = 30.0;  // node 0 only
  const double V = m.solve(0.0, 0.0);
  for (int i = 0; i <= 100; ++i) ASSERT_EQ(m.Y(i), 0.0);
  EXPECT_DOUBLE_EQ(V, -0.5 * m.w->h * 30.0);
}

// A uniform load on a long pinned pile: far from the head y = w/k, and the
// head carries what the soil does not.
TEST(LlpGroup, UniformDistributedLoadBalancesAtTheHead) {
  LONG_PILE m;
  const double q = 50.0;
  m.store().loads.DLOAD_NODES[1] = 101;
  for (int k = 1; k <= 101; ++k) m.store().loads.DLOAD_Y[1][k] = q;
  const double V = m.solve(0.0, 0.0);
  EXPECT_NEAR(m.Y(60), q / K, 1e-3 * q / K);
  // Hetenyi, semi-infinite beam with a pinned end: the end reaction is q/(2 beta).
  EXPECT_NEAR(-V, q / (2.0 * BETA), 0.01 * q / (2.0 * BETA));
}

TEST(GenerateNodes, LaysOutTheNodesFromTheHead) {
  LLP_MODEL m(12.0, 40, EI, 1.0);
  m.store().piles.PILE_X[1] = 1.5;
  ASSERT_EQ(m.nodes(), ST_OK);
  EXPECT_EQ(m.w->N, 40);
  EXPECT_DOUBLE_EQ(m.w->h, 0.3);
  EXPECT_DOUBLE_EQ(m.w->X[NODE(0)], 1.5);
  EXPECT_NEAR(m.w->X[NODE(40)], 13.5, 1e-12);
}

TEST(GenerateNodes, PileBelowTheDeepestLayerStopsTheRun) {
  for (int three_d = 0; three_d <= 1; ++three_d) {
    SCOPED_TRACE(three_d);
    LLP_MODEL m(12.0, 40, EI, 1.0);
    m.open_files();
    STORE& s = m.store();
    s.ctl.USER_PY = 0;  // generated curves: the profile must reach the tip
    std::snprintf(s.labels.LENGTH_LABEL3, sizeof s.labels.LENGTH_LABEL3, "ft ");
    s.soil.NL = 2;
    s.soil.LAYER_TOP[1] = 0.0;
    s.soil.LAYER_BOTTOM[1] = 5.0;
    s.soil.LAYER_TOP[2] = 5.0;
    s.soil.LAYER_BOTTOM[2] = 11.9;
    const int st = three_d ? GENERATE_NODES_3D(*m.run, *m.w, 1) : GENERATE_NODES(*m.run, *m.w, 1);
    EXPECT_EQ(st, three_d ? ST_TIP_BELOW_LAYERS_3D : ST_TIP_BELOW_LAYERS_2D);
    EXPECT_EQ(m.run->status, st);
    const std::string msg =
        "\n\n\n     **** FATAL ERROR ****\n     THE PILE LENGTH,   0.12E+02(ft ), EXTENDS BELOW THE\n"
        "     BOTTOM OF THE DEEPEST LAYER.\n";
    EXPECT_EQ(m.text(F_REPORT), msg);
    EXPECT_EQ(m.text(F_RUNTIME), msg);

    // A profile reaching the tip exactly passes.
    s.soil.LAYER_BOTTOM[2] = 12.0;
    m.run->status = 0;
    EXPECT_EQ(GENERATE_NODES(*m.run, *m.w, 1), ST_OK);
  }
}

TEST(GenerateNodes, RefusesAPropertyItCannotDivide) {
  LLP_MODEL m(12.0, 0, EI, 1.0);
  EXPECT_EQ(m.nodes(), ST_BAD_PROPERTY);
  double V = 1.0;
  EXPECT_EQ(LLP_GROUP(*m.run, *m.w, 1, 0.01, 0.0, 0.0, V), ST_BAD_PROPERTY);
  EXPECT_EQ(V, 0.0);
}

// Whatever a previous pile left in the working arrays (here NaN), a solve
// writes every result along the pile.
TEST(LlpGroup, ResultsAreWrittenOverStaleArrays) {
  for (int biaxial = 0; biaxial <= 1; ++biaxial) {
    SCOPED_TRACE(biaxial);
    LONG_PILE m;
    const double nan = std::nan("");
    PILE_WORK& w = *m.w;
    for (auto* p : {&w.PLANE_Y, &w.PLANE_Z})
      for (auto* a : {&p->EI, &p->PX, &p->WLOAD, &p->SLOPE, &p->BMOM, &p->SHEAR, &p->SOILR,
                      &p->STRESS, &p->REC_B, &p->REC_C, &p->REC_D, &p->YPREV, &p->DLOAD})
        a->fill(nan);
    for (auto* a : {&w.Y, &w.Z, &w.ESOIL, &w.PSOIL, &w.DEFL, &w.RES_DEFL, &w.RES_BMOM,
                    &w.MOMENT_RATIO, &w.SHEAR_RATIO})
      a->fill(nan);
    double V = nan, Vz = nan, My = nan, Mz = nan;
    if (biaxial) {
      LLP_BIAXIAL(*m.run, w, 1, 0.01, 0.0, 0.005, 0.0, 100.0, 0.0, V, Vz, My, Mz);
    } else {
      LLP_GROUP(*m.run, w, 1, 0.01, 0.0, 100.0, V);
    }
    ASSERT_TRUE(std::isfinite(V));
    for (int i = 0; i <= 100; ++i) {
      const int e = NODE(i);
      for (const LLP_PLANE* p : {&w.PLANE_Y, &w.PLANE_Z}) {
        if (!biaxial && p == &w.PLANE_Z) continue;
        ASSERT_TRUE(std::isfinite(p->SLOPE[e] + p->BMOM[e] + p->SHEAR[e] + p->SOILR[e] +
                                  p->STRESS[e] + p->EI[e]))
            << i;
      }
      ASSERT_TRUE(std::isfinite(w.Y[e] + w.RES_DEFL[e] + w.RES_BMOM[e] + w.MOMENT_RATIO[e])) << i;
    }
  }
}

// A pile much stiffer than its springs moves as a rigid bar: with a pinned
// head at yt the soil pressure is k (yt + theta x) with theta = -3 yt/(2L)
// and the head force is k yt L/4. The differences approach it at second
// order; the coarsest layouts, down to a single increment, stay finite.
TEST(LlpGroup, RigidPileOnCoarseAndFineLayouts) {
  const double L = 10.0, k = 1e3, yt = 0.01, exact = k * yt * L / 4.0;
  double previous = 0.0;
  for (int inc : {1, 2, 3, 10, 20, 40, 80}) {
    SCOPED_TRACE(inc);
    LLP_MODEL m(L, inc, 1e9, 1.0);
    m.linear_soil(0.0, k, L, k);
    ASSERT_EQ(m.nodes(), ST_OK);
    const double V = m.solve(yt, 0.0);
    EXPECT_EQ(m.w->NO_CLOSURE, 0);
    ASSERT_TRUE(std::isfinite(V) && std::isfinite(m.Y(inc)));
    EXPECT_GT(V, exact);
    const double err = V - exact;
    if (inc >= 20) {
      EXPECT_NEAR(previous / err, 4.0, 0.5);
    }
    if (inc == 80) {
      EXPECT_NEAR(V, exact, 5e-4 * exact);
      EXPECT_NEAR(m.Y(inc), -0.5 * yt, 1e-3 * yt);
    }
    previous = err;
  }
}

// A pile whose head is moved with a uniform soil movement rides along with
// the soil: no relative deflection, no soil reaction, no head force. The
// moving soil loads the pile through its springs with input curves too.
TEST(LlpGroup, PileMovedWithTheSoilCarriesNoLoad) {
  LONG_PILE m;
  SOIL_DATA& soil = m.store().soil;
  const double s = 0.01;
  soil.NSMPTS = 2;
  soil.SM_DEPTH[1] = -1.0;
  soil.SM_DEPTH[2] = 30.0;
  soil.SM_MOVE_Y[1] = soil.SM_MOVE_Y[2] = s;
  const double V = m.solve(s, 0.0);
  EXPECT_NEAR(V, 0.0, 1e-6 * K * s * 20.0);
  for (int i = 0; i <= 100; i += 10) EXPECT_NEAR(m.Y(i), s, 1e-9) << i;
}

// With soil movement data the recorded soil reaction is the p-y evaluation's
// signed PSOIL; the head force is still the sum of ESOIL*y less the loads.
TEST(LlpGroup, SoilMovementRecordsTheSignedReaction) {
  LONG_PILE still, moving;
  moving.store().soil.NSMPTS = 1;  // a movement of zero along the pile
  const double V0 = still.solve(0.01, 0.0);
  const double V1 = moving.solve(0.01, 0.0);
  EXPECT_DOUBLE_EQ(V1, V0);
  for (int i = 0; i <= 100; i += 10) {
    const int e = NODE(i);
    EXPECT_EQ(moving.w->PLANE_Y.SOILR[e], moving.w->PSOIL[e]) << i;
    EXPECT_NEAR(std::fabs(moving.w->PLANE_Y.SOILR[e]), std::fabs(still.w->PLANE_Y.SOILR[e]),
                1e-9 * std::fabs(still.w->PLANE_Y.SOILR[NODE(0)]))
        << i;
  }
}
