// The load-transfer march, the load-settlement branches and the runtime
// iteration on the tip movement, on hand-checkable piles and on curves
// generated from a soil profile.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "pile/axial_march.h"
#include "support/test_support.h"

using namespace kestra;

namespace {

double sp(float f) { return static_cast<double>(f); }
const double PI_4 = sp(3.1416f);

AXIAL_PILE uniform_pile(double length, int inc, double width, double ea) {
  AXIAL_PILE p;
  p.PILE_TYPE = DRIVEN_PILE;
  p.LENGTH = length;
  p.INC = inc;
  p.WIDTH = p.TIP_WIDTH = width;
  p.TIP_AREA = 0.25 * 3.14159265358979 * width * width;
  p.NSEC = 1;
  p.SEC_END[1] = length;
  p.EA_START[1] = p.EA_END[1] = ea;
  p.GJ_START[1] = p.GJ_END[1] = ea;
  return p;
}

// Side curves mobilised at once (t = f from a movement of 1e-9 on) at the
// head and the tip, and a linear tip curve Q = kq W.
std::unique_ptr<AXIAL_CURVES> plastic_curves(double length, double f, double kq) {
  auto c = std::make_unique<AXIAL_CURVES>();
  c->NP = 2;
  c->POS[1] = 0.0;
  c->POS[2] = length;
  for (int i = 1; i <= 2; ++i) {
    c->TZ[i].Z[1] = 0.0;
    c->TZ[i].T[1] = 0.0;
    for (int j = 2; j <= TZ_POINTS; ++j) {
      c->TZ[i].Z[j] = j == 2 ? 1e-9 : j - 2.0;
      c->TZ[i].T[j] = f;
    }
  }
  for (int j = 1; j <= TZ_POINTS; ++j) {
    c->QW.Z[j] = j - 1.0;
    c->QW.T[j] = kq * (j - 1.0);
  }
  return c;
}

// Soft clay over sand, English units, generated for a driven pile.
struct GENERATED {
  std::unique_ptr<TZ_PROFILE> soil = std::make_unique<TZ_PROFILE>();
  AXIAL_PILE pile;
  std::unique_ptr<AXIAL_CURVES> pull = std::make_unique<AXIAL_CURVES>();
  std::unique_ptr<AXIAL_CURVES> push = std::make_unique<AXIAL_CURVES>();
  HEAD_CURVE head;
};

std::unique_ptr<GENERATED> generated(int inc = 40) {
  auto g = std::make_unique<GENERATED>();
  TZ_PROFILE& s = *g->soil;
  s.NL = 2;
  s.NP = 4;
  const double x[5] = {0, 0.0, 240.0, 240.0, 900.0};
  s.MODEL[1] = 1;
  s.MODEL[2] = 4;
  s.TOP[1] = 0.0;
  s.BOTTOM[1] = 240.0;
  s.TOP[2] = 240.0;
  s.BOTTOM[2] = 900.0;
  for (int i = 1; i <= 4; ++i) {
    s.X[i] = x[i];
    s.UNIT_WEIGHT[i] = i <= 2 ? 0.02 : 0.035;
    s.COHESION[i] = i <= 2 ? 3.0 + i : 0.0;
    s.PHI[i] = i <= 2 ? 0.0 : 34.0 * 3.14159265358979 / 180.0;
    s.E50[i] = i <= 2 ? 0.02 : 0.0;
  }
  g->pile = uniform_pile(600.0, inc, 18.0, 29e6 * 254.0);
  AXIAL_MESSAGE msg;
  EXPECT_EQ(GENERATE_TZ_CURVES(s, g->pile, AXIAL_GROUP{}, 1, DIR_PULL_OUT, TZ_ECHO, *g->pull, msg), ST_OK);
  EXPECT_EQ(GENERATE_TZ_CURVES(s, g->pile, AXIAL_GROUP{}, 1, DIR_COMPRESSION, TZ_ECHO, *g->push, msg), ST_OK);
  auto pass = std::make_unique<AXIAL_LS_PASS>();
  EXPECT_EQ(AXIAL_LOAD_SETTLEMENT(g->pile, *g->pull, 1, DIR_PULL_OUT, *pass, g->head, msg), ST_OK);
  EXPECT_EQ(AXIAL_LOAD_SETTLEMENT(g->pile, *g->push, 1, DIR_COMPRESSION, *pass, g->head, msg), ST_OK);
  return g;
}

}  // namespace

// ------------------------------------------------------------ march

TEST(AxialMarch, UniformPileCarriesTipPlusFullSideFrictionAndShortensElastically) {
  const double L = 400.0, D = 12.0, EA = 3e7, f = 1.5, kq = 2000.0, wt = 0.5;
  struct CASE {
    int inc;
  };
  for (CASE c : {CASE{1}, CASE{10}, CASE{100}}) {
    SCOPED_TRACE(c.inc);
    const AXIAL_PILE p = uniform_pile(L, c.inc, D, EA);
    auto cv = plastic_curves(L, f, kq);
    AXIAL_MARCH m;
    AXIAL_MESSAGE msg;
    ASSERT_EQ(MARCH_AXIAL(p, *cv, wt, m, msg), ST_OK);
    const double qt = kq * wt, side = f * PI_4 * D * L;
    EXPECT_NEAR(m.TIP_FORCE(), qt, 1e-9);
    EXPECT_NEAR(m.TOP_LOAD(), qt + side, 1e-9 * (qt + side));
    // Force linear from qt to qt + side: shortening (qt + side/2) L / EA.
    EXPECT_NEAR(m.TOP_MOVE() - wt, (qt + 0.5 * side) * L / EA, 1e-12);
    EXPECT_EQ(m.PASS_LIMITED, 0);
  }
}

TEST(AxialMarch, RigidPileMovesAsABlock) {
  const AXIAL_PILE p = uniform_pile(400.0, 20, 12.0, 1e30);
  auto cv = plastic_curves(400.0, 1.0, 100.0);
  AXIAL_MARCH m;
  AXIAL_MESSAGE msg;
  ASSERT_EQ(MARCH_AXIAL(p, *cv, 0.25, m, msg), ST_OK);
  for (int k = 1; k <= 21; ++k) EXPECT_NEAR(m.W[k], 0.25, 1e-15);
}

TEST(AxialMarch, RigidityInterpolatesBetweenSectionEnds) {
  AXIAL_PILE p = uniform_pile(30.0, 10, 1.0, 1.0);
  p.NSEC = 2;
  p.SEC_START[1] = 0.0;
  p.SEC_END[1] = 10.0;
  p.EA_START[1] = 100.0;
  p.EA_END[1] = 200.0;
  p.SEC_START[2] = 10.0;
  p.SEC_END[2] = 30.0;
  p.EA_START[2] = 400.0;
  p.EA_END[2] = 800.0;
  EXPECT_EQ(SECTION_RIGIDITY(p, 0, -1.0), 100.0);
  EXPECT_EQ(SECTION_RIGIDITY(p, 0, 5.0), 150.0);
  EXPECT_EQ(SECTION_RIGIDITY(p, 0, 10.0), 200.0);
  EXPECT_EQ(SECTION_RIGIDITY(p, 0, 20.0), 600.0);
  EXPECT_EQ(SECTION_RIGIDITY(p, 0, 35.0), 800.0);
}

TEST(AxialMarch, RigidityThatIsNotPositiveStopsInsteadOfDividingByZero) {
  auto cv = plastic_curves(100.0, 1.0, 100.0);
  struct CASE {
    const char* id;
    double ea_start, ea_end, width;
    int inc;
  };
  const CASE cases[] = {{"zero EA", 0.0, 0.0, 12.0, 10},
                        {"EA vanishing at the section end", 1e6, 0.0, 12.0, 10},
                        {"negative EA", -1e6, -1e6, 12.0, 10},
                        {"no width", 1e6, 1e6, 0.0, 10},
                        {"no increments", 1e6, 1e6, 12.0, 0}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    AXIAL_PILE p = uniform_pile(100.0, c.inc, c.width, 1.0);
    p.EA_START[1] = c.ea_start;
    p.EA_END[1] = c.ea_end;
    AXIAL_MARCH m;
    AXIAL_MESSAGE msg;
    EXPECT_EQ(MARCH_AXIAL(p, *cv, 0.1, m, msg), ST_BAD_PROPERTY);
    EXPECT_NE(msg.TEXT[0], '\0');
  }
}

TEST(AxialMarch, SideFrictionBetweenAndBeyondDepthPoints) {
  auto c = std::make_unique<AXIAL_CURVES>();
  c->NP = 3;
  const double pos[4] = {0, 10.0, 20.0, 40.0};
  for (int i = 1; i <= 3; ++i) {
    c->POS[i] = pos[i];
    for (int j = 1; j <= TZ_POINTS; ++j) {
      c->TZ[i].Z[j] = 0.1 * (j - 1);
      c->TZ[i].T[j] = i * (j - 1);  // t = 10 i z up to z = 0.9
    }
  }
  EXPECT_NEAR(TZ_SIDE_FRICTION(*c, 5.0, 0.25), 2.5, 1e-12);    // above the first point
  EXPECT_NEAR(TZ_SIDE_FRICTION(*c, 10.0, 0.25), 2.5, 1e-12);   // at a point: its curve alone
  EXPECT_NEAR(TZ_SIDE_FRICTION(*c, 15.0, 0.25), 3.75, 1e-12);  // halfway
  EXPECT_NEAR(TZ_SIDE_FRICTION(*c, 50.0, 0.25), 7.5, 1e-12);   // below the last
  EXPECT_NEAR(TZ_SIDE_FRICTION(*c, 20.0, 5.0), 18.0, 1e-12);   // beyond the last movement
  EXPECT_NEAR(TZ_SIDE_FRICTION(*c, 20.0, 0.0), 0.0, 1e-12);    // movement 0: first segment
  // Tip: 0 at or below the first point, the last segment extended.
  EXPECT_EQ(QW_TIP_FORCE(c->TZ[1], 0.0), 0.0);
  EXPECT_NEAR(QW_TIP_FORCE(c->TZ[1], 1.4), 14.0, 1e-12);
}

// ------------------------------------------------------------ load-settlement

TEST(AxialLoadSettlement, ImposedMovements) {
  std::array<double, LS_MOVEMENTS + 1> w;
  const double base[9] = {0.0001, 0.001, 0.005, 0.01, 0.05, 0.1, 0.5, 1.0, 2.0};
  AXIAL_IMPOSED_MOVEMENTS(1, 24.0, w);
  for (int j = 1; j <= 9; ++j) EXPECT_NEAR(w[j], base[j - 1], 1e-7 * base[j - 1]);
  AXIAL_IMPOSED_MOVEMENTS(1, 60.0, w);  // 0.05 D = 3 in.
  EXPECT_NEAR(w[9], 3.0, 1e-6);
  AXIAL_IMPOSED_MOVEMENTS(2, 0.6, w);
  EXPECT_NEAR(w[5], 0.05 * 0.0254, 1e-9);
  EXPECT_NEAR(w[9], 2.0 * 0.0254, 1e-8);
  AXIAL_IMPOSED_MOVEMENTS(2, 1.5, w);  // 0.05 D = 75 mm
  EXPECT_NEAR(w[9], 0.075, 1e-8);
  AXIAL_IMPOSED_MOVEMENTS(3, 0.6, w);  // units system 3: the numbers unchanged
  EXPECT_NEAR(w[9], 2.0, 1e-7);
}

TEST(AxialLoadSettlement, NineteenPointCurve) {
  auto g = generated();
  const HEAD_CURVE& h = g->head;
  EXPECT_EQ(h.NPTS, 19);
  EXPECT_EQ(h.TOP_MOVE[10], 0.0);
  EXPECT_EQ(h.TOP_LOAD[10], 0.0);
  for (int i = 1; i <= 9; ++i) {
    EXPECT_LT(h.TOP_MOVE[i], 0.0) << i;
    EXPECT_LT(h.TOP_LOAD[i], 0.0) << i;
    EXPECT_LE(h.TIP_MOVE[i], 0.0) << i;
  }
  for (int i = 2; i <= 19; ++i) {
    EXPECT_GT(h.TOP_MOVE[i], h.TOP_MOVE[i - 1]) << i;
    EXPECT_GE(h.TOP_LOAD[i], h.TOP_LOAD[i - 1]) << i;
  }
  // Point 1 holds the largest pull-out movement.
  EXPECT_NEAR(h.TIP_MOVE[1], -2.0, 1e-6);
  EXPECT_NEAR(h.TIP_MOVE[19], 2.0, 1e-6);
  // Pull-out is practically side friction alone; compression adds the tip.
  EXPECT_LT(std::fabs(h.TIP_FORCE[1]), 1e-3 * std::fabs(h.TOP_LOAD[1]));
  EXPECT_GT(h.TIP_FORCE[19], 0.1 * h.TOP_LOAD[19]);
  // The side friction of both branches nearly agrees (the compressed pile
  // shortens a little more and mobilises a little more friction).
  EXPECT_NEAR(h.TOP_LOAD[19] - h.TIP_FORCE[19], -(h.TOP_LOAD[1] - h.TIP_FORCE[1]),
              1e-3 * h.TOP_LOAD[19]);
}

// ------------------------------------------------------------ runtime solution

TEST(AxialSolve, TablePointConvergesAfterTheFirstMarch) {
  auto g = generated();
  for (int i : {3, 7, 12, 15, 18}) {
    SCOPED_TRACE(i);
    const double a = g->head.TOP_MOVE[i];
    const AXIAL_CURVES& cv = a < 0 ? *g->pull : *g->push;
    AXIAL_NODES nodes;
    AXIAL_SOLUTION sol;
    AXIAL_MESSAGE msg;
    ASSERT_EQ(AXIAL_SOLVE_CURVES(g->pile, cv, g->head, a, nodes, sol, msg), ST_OK);
    EXPECT_TRUE(sol.CONVERGED);
    EXPECT_EQ(sol.RANGE_FLAG, 0);
    EXPECT_EQ(sol.MARCHES, 1);
    EXPECT_EQ(sol.ITERATIONS, 0);
    EXPECT_DOUBLE_EQ(sol.HEAD_FORCE, g->head.TOP_LOAD[i]);
    EXPECT_DOUBLE_EQ(nodes.FORCE[NODE(0)], g->head.TOP_LOAD[i]);
    EXPECT_DOUBLE_EQ(nodes.MOVE[NODE(g->pile.INC)], g->head.TIP_MOVE[i]);
  }
}

TEST(AxialSolve, BetweenTablePointsTheHeadMovesByTheDisplacement) {
  auto g = generated();
  for (double a : {0.02, 0.3, 1.1, -0.004, -0.2, -0.9}) {
    SCOPED_TRACE(a);
    const AXIAL_CURVES& cv = a < 0 ? *g->pull : *g->push;
    AXIAL_NODES nodes;
    AXIAL_SOLUTION sol;
    AXIAL_MESSAGE msg;
    ASSERT_EQ(AXIAL_SOLVE_CURVES(g->pile, cv, g->head, a, nodes, sol, msg), ST_OK);
    EXPECT_TRUE(sol.CONVERGED);
    EXPECT_LE(std::fabs((sol.TOP_MOVE - a) / a), 1e-3);
    EXPECT_DOUBLE_EQ(nodes.MOVE[NODE(0)], sol.TOP_MOVE);
    // Forces and movements share the sign of the head displacement, and
    // the force falls from the head to the tip.
    for (int m = 0; m <= g->pile.INC; ++m) {
      EXPECT_GT(nodes.MOVE[NODE(m)] * a, 0.0) << m;
      if (m > 0) {
        EXPECT_LE(std::fabs(nodes.FORCE[NODE(m)]), std::fabs(nodes.FORCE[NODE(m - 1)]) + 1e-9);
      }
    }
    // The head force lies between those of the bracketing table points.
    int i = 2;
    while (!(a < g->head.TOP_MOVE[i])) ++i;
    EXPECT_GE(sol.HEAD_FORCE, g->head.TOP_LOAD[i - 1] - 1e-6);
    EXPECT_LE(sol.HEAD_FORCE, g->head.TOP_LOAD[i] + 1e-6);
  }
}

TEST(AxialSolve, OutsideTheTableAndAtZero) {
  auto g = generated();
  AXIAL_NODES nodes;
  AXIAL_SOLUTION sol;
  AXIAL_MESSAGE msg;
  // Beyond the compression end, and exactly at it: one march at the last
  // tip movement.
  for (double a : {g->head.TOP_MOVE[19] * 1.5, g->head.TOP_MOVE[19]}) {
    ASSERT_EQ(AXIAL_SOLVE_CURVES(g->pile, *g->push, g->head, a, nodes, sol, msg), ST_OK);
    EXPECT_EQ(sol.RANGE_FLAG, 2);
    EXPECT_EQ(sol.MARCHES, 1);
    EXPECT_DOUBLE_EQ(sol.TIP_MOVE, g->head.TIP_MOVE[19]);
    EXPECT_DOUBLE_EQ(sol.HEAD_FORCE, g->head.TOP_LOAD[19]);
  }
  // Beyond the pull-out end.
  ASSERT_EQ(AXIAL_SOLVE_CURVES(g->pile, *g->pull, g->head, g->head.TOP_MOVE[1] - 1.0, nodes, sol, msg),
            ST_OK);
  EXPECT_EQ(sol.RANGE_FLAG, 1);
  EXPECT_DOUBLE_EQ(sol.HEAD_FORCE, g->head.TOP_LOAD[1]);
  // Zero: the origin, no force anywhere.
  ASSERT_EQ(AXIAL_SOLVE_CURVES(g->pile, *g->push, g->head, 0.0, nodes, sol, msg), ST_OK);
  EXPECT_TRUE(sol.CONVERGED);
  EXPECT_EQ(sol.MARCHES, 1);
  for (int m = 0; m <= g->pile.INC; ++m) {
    EXPECT_EQ(nodes.FORCE[NODE(m)], 0.0);
    EXPECT_EQ(nodes.MOVE[NODE(m)], 0.0);
  }
}

TEST(AxialSolve, StiffSoilNeedsTheSlopeIterations) {
  // One increment over a long pile: the linear start is poor and the
  // iteration must still end, converged or at its limit, with finite
  // results.
  auto g = generated(1);
  for (double a : {0.007, 0.6, -0.05}) {
    const AXIAL_CURVES& cv = a < 0 ? *g->pull : *g->push;
    AXIAL_NODES nodes;
    AXIAL_SOLUTION sol;
    AXIAL_MESSAGE msg;
    ASSERT_EQ(AXIAL_SOLVE_CURVES(g->pile, cv, g->head, a, nodes, sol, msg), ST_OK);
    EXPECT_LE(sol.ITERATIONS, AXIAL_MAX_ITERATIONS);
    EXPECT_TRUE(std::isfinite(sol.HEAD_FORCE));
    if (sol.CONVERGED) {
      EXPECT_LE(std::fabs((sol.TOP_MOVE - a) / a), 1e-3);
    }
  }
}

TEST(AxialMarch, OscillatingSegmentIterationStopsAtThePassLimit) {
  // A friction that vanishes beyond a movement of 1: at the tip segment the
  // midpoint movement jumps between 0.5 (full friction) and 1.5 (none) for
  // ever; the iteration keeps its last pass and says how often it stopped.
  const double L = 10.0, D = 1.0;
  AXIAL_PILE p = uniform_pile(L, 1, D, 1.0);
  auto c = std::make_unique<AXIAL_CURVES>();
  c->NP = 2;
  c->POS[2] = L;
  for (int i = 1; i <= 2; ++i) {
    const double z[TZ_POINTS + 1] = {0, 0.0, 0.5, 1.0, 2, 3, 4, 5, 6, 7, 8};
    for (int j = 1; j <= TZ_POINTS; ++j) {
      c->TZ[i].Z[j] = z[j];
      c->TZ[i].T[j] = j == 2 ? 1.0 : 0.0;  // full friction at z = 0.5, none from z = 1
    }
  }
  for (int j = 1; j <= TZ_POINTS; ++j) c->QW.Z[j] = j - 1.0;  // no tip force
  // Midpoint movement with full friction: 0.5 + (F / 4) (L / 2) / EA = 1.5.
  const double f = PI_4 * D * L;
  p.EA_START[1] = p.EA_END[1] = f / 4.0 * (L / 2.0);
  AXIAL_MARCH m;
  AXIAL_MESSAGE msg;
  ASSERT_EQ(MARCH_AXIAL(p, *c, 0.5, m, msg), ST_OK);
  EXPECT_EQ(m.PASS_LIMITED, 1);
  EXPECT_TRUE(std::isfinite(m.TOP_LOAD()));
}

// The run-log note of a pass whose segment iterations hit the pass limit:
// one line naming the curve, nothing when no iteration stopped.
TEST(PassLimitNote, NamesTheCurveAndCountsOnlyWhenAnIterationStopped) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  PASS_LIMIT_NOTE(f, 0, 2, "LOAD-SETTLEMENT");
  EXPECT_EQ(kestra_test::file_text(f), "");
  PASS_LIMIT_NOTE(f, 3, 2, "LOAD-SETTLEMENT");
  PASS_LIMIT_NOTE(f, 1, 12, "TORQUE-ROTATION");
  EXPECT_EQ(kestra_test::file_text(f),
            "     LOAD-SETTLEMENT CURVE OF PILE PROPERTY  2: THE SEGMENT ITERATION STOPPED AT 100 PASSES IN    3 SEGMENT(S)\n"
            "     TORQUE-ROTATION CURVE OF PILE PROPERTY 12: THE SEGMENT ITERATION STOPPED AT 100 PASSES IN    1 SEGMENT(S)\n");
  std::fclose(f);
}
