// Secant bending rigidity from moment-curvature sets, the rigidity update of
// a pile and the lateral solution with nonlinear bending stiffness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "llp_fixture.h"
#include "pile/ei_update.h"

using kestra_test::LLP_MODEL;
using namespace kestra;

namespace {

void set_curve(MC_CURVE& c, double axial, const std::vector<std::pair<double, double>>& phi_m) {
  c.AXIAL_LOAD = axial;
  c.NPOINTS = int(phi_m.size());
  for (size_t i = 0; i < phi_m.size(); ++i) {
    c.CURVATURE[i + 1] = phi_m[i].first;
    c.MOMENT[i + 1] = phi_m[i].second;
  }
}

// Two curves, axial loads 100 and 300; initial rigidities 1e5 and 1.5e5.
MC_SET two_curve_set() {
  MC_SET s;
  s.NMCURVES = 2;
  set_curve(s.CURVE[1], 100.0, {{0.0, 0.0}, {0.001, 100.0}, {0.01, 200.0}});
  set_curve(s.CURVE[2], 300.0, {{0.0, 0.0}, {0.001, 150.0}, {0.01, 300.0}});
  return s;
}

}  // namespace

TEST(SecantEi, TableOfCurvaturesAndAxialForces) {
  const MC_SET set = two_curve_set();
  struct CASE {
    const char* id;
    double P, phi, ei;
    bool beyond;
  } cases[] = {
      {"1 zero curvature: first slope", 0.0, 0.0, 1e5, false},
      {"2 first segment", 0.0, 0.0005, 1e5, false},
      {"3 second segment", 0.0, 0.0055, 150.0 / 0.0055, false},
      {"4 at a point", 0.0, 0.01, 200.0 / 0.01, false},
      {"5 beyond the last point: last moment", 0.0, 0.02, 200.0 / 0.02, true},
      {"6 at the first axial load: curve 1", 100.0, 0.0055, 150.0 / 0.0055, false},
      {"7 between: linear in P", 200.0, 0.0055, 187.5 / 0.0055, false},
      {"8 at the last axial load: curve 2", 300.0, 0.0055, 225.0 / 0.0055, false},
      {"9 above the last: curve 2", 1000.0, 0.0055, 225.0 / 0.0055, false},
      {"10 between, beyond both", 200.0, 0.04, 250.0 / 0.04, true},
      {"11 between, zero curvature", 250.0, 0.0, 1.375e5, false},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    double ei = -1.0;
    bool beyond = false;
    ASSERT_TRUE(SECANT_EI(set, c.P, c.phi, ei, beyond));
    EXPECT_NEAR(ei, c.ei, 1e-9 * c.ei);
    EXPECT_EQ(beyond, c.beyond);
  }
}

TEST(SecantEi, RefusesSetsThatGiveNoRigidity) {
  double ei = 7.0;
  bool beyond = false;
  MC_SET empty;
  EXPECT_FALSE(SECANT_EI(empty, 0.0, 0.001, ei, beyond));
  MC_SET one_point;
  one_point.NMCURVES = 1;
  set_curve(one_point.CURVE[1], 0.0, {{0.0, 0.0}});
  EXPECT_FALSE(SECANT_EI(one_point, 0.0, 0.001, ei, beyond));
  MC_SET flat;
  flat.NMCURVES = 1;
  set_curve(flat.CURVE[1], 0.0, {{0.0, 0.0}, {0.0, 10.0}, {0.01, 20.0}});
  EXPECT_FALSE(SECANT_EI(flat, 0.0, 0.0, ei, beyond));
  EXPECT_EQ(ei, 7.0);
}

// A pile with a curvature of 0.0055 at every node; plane y uses set 1 and
// plane z set 2 of the same section.
TEST(EiUpdate, UpdatesEachPlaneFromItsOwnSet) {
  LLP_MODEL m(10.0, 10, 1e5, 1.0);
  STORE& s = m.store();
  s.ctl.NLEI_OPTION = 1;
  s.piles.NMCSETS = 2;
  s.piles.MC[1] = two_curve_set();
  s.piles.MC[2] = two_curve_set();
  s.piles.MC[2].CURVE[1] = s.piles.MC[2].CURVE[2];
  s.piles.MC[2].NMCURVES = 1;
  s.piles.PROP[1].SECT[1].SET_NLEI_Y = 1;
  s.piles.PROP[1].SECT[1].SET_NLEI_Z = 2;
  ASSERT_EQ(m.nodes(), ST_OK);
  const double h = m.w->h;
  for (int i = -1; i <= 11; ++i) {
    m.w->Y[NODE(i)] = -0.5 * 0.0055 * (i * h) * (i * h);
    m.w->Z[NODE(i)] = 0.5 * 0.0055 * (i * h) * (i * h);
  }
  m.w->PLANE_Y.EI.fill(9.0);
  m.w->PLANE_Z.EI.fill(9.0);
  ASSERT_EQ(EI_UPDATE_Y(*m.run, *m.w, 0.0), ST_OK);
  ASSERT_EQ(EI_UPDATE_Z(*m.run, *m.w, 0.0), ST_OK);
  for (int i = 0; i <= 10; ++i) {
    EXPECT_NEAR(m.w->PLANE_Y.EI[NODE(i)], 150.0 / 0.0055, 1e-6) << i;
    EXPECT_NEAR(m.w->PLANE_Z.EI[NODE(i)], 225.0 / 0.0055, 1e-6) << i;
  }
  // The imaginary nodes keep what they had.
  EXPECT_EQ(m.w->PLANE_Y.EI[NODE(-1)], 9.0);
  EXPECT_EQ(m.w->PLANE_Y.EI[NODE(11)], 9.0);
  EXPECT_EQ(m.w->PLASTIC_HINGE, 0);
}

TEST(EiUpdate, FlagsHingesAndMissingSets) {
  LLP_MODEL m(10.0, 10, 1e5, 1.0);
  STORE& s = m.store();
  s.piles.NMCSETS = 1;
  s.piles.MC[1] = two_curve_set();
  PILE_SECTION& sec = s.piles.PROP[1].SECT[1];
  m.nodes();
  m.w->Y[NODE(5)] = -0.02 * m.w->h * m.w->h / 2.0;  // a kink of curvature 0.02 at node 5
  m.w->PLANE_Y.EI.fill(1e5);

  sec.SET_NLEI_Y = 0;  // an elastic section keeps its rigidity
  EXPECT_EQ(EI_UPDATE_Y(*m.run, *m.w, 0.0), ST_OK);
  EXPECT_EQ(m.w->PLANE_Y.EI[NODE(5)], 1e5);

  sec.SET_NLEI_Y = 1;
  EXPECT_EQ(EI_UPDATE_Y(*m.run, *m.w, 0.0), ST_OK);
  EXPECT_EQ(m.w->PLASTIC_HINGE, 1);
  EXPECT_NEAR(m.w->PLANE_Y.EI[NODE(5)], 200.0 / 0.02, 1e-6);
  EXPECT_NEAR(m.w->PLANE_Y.EI[NODE(2)], 1e5, 1e-6);

  sec.SET_NLEI_Y = 2;  // beyond the table
  EXPECT_EQ(EI_UPDATE_Y(*m.run, *m.w, 0.0), ST_BAD_PROPERTY);
  EXPECT_EQ(m.w->NLEI_ERROR, 1);
  EXPECT_EQ(m.w->PLASTIC_HINGE, 0);
}

// Elastic-plastic section: rigidity EI0 = 1e5 up to M = 100, then a gentle
// rise to 120 at a large curvature. A fixed head pushed far into stiff
// springs: the moment never passes the last moment, the rigidity falls
// where the curvature is large, and the solution closes.
TEST(LlpNonlinearEi, MomentIsBoundedByTheSectionAndRigidityFalls) {
  LLP_MODEL m(20.0, 100, 1e5, 1.0);
  STORE& s = m.store();
  m.linear_soil(0.0, 1e4, 20.0, 1e4);
  s.ctl.NLEI_OPTION = 1;
  s.piles.NMCSETS = 1;
  s.piles.MC[1].NMCURVES = 1;
  set_curve(s.piles.MC[1].CURVE[1], 0.0, {{0.0, 0.0}, {0.001, 100.0}, {0.05, 120.0}});
  s.piles.PROP[1].SECT[1].SET_NLEI_Y = 1;
  s.piles.CONNECTY[1] = 2;
  m.nodes();
  m.w->CONTROL.TOL_PILE = 1e-9;
  m.w->CONTROL.MAXIT_PILE = 500;

  LLP_MODEL elastic(20.0, 100, 1e5, 1.0);
  elastic.linear_soil(0.0, 1e4, 20.0, 1e4);
  elastic.store().piles.CONNECTY[1] = 2;
  elastic.nodes();
  const double V0 = elastic.solve(0.02, 0.0);

  int st = -1;
  const double V = m.solve(0.02, 0.0, 0.0, &st);
  ASSERT_EQ(st, ST_OK);
  ASSERT_EQ(m.w->NO_CLOSURE, 0);
  double mmax = 0.0, ei_min = 1e300;
  for (int i = 0; i <= 100; ++i) {
    mmax = std::max(mmax, std::fabs(m.moment(i)));
    ei_min = std::min(ei_min, m.w->PLANE_Y.EI[NODE(i)]);
  }
  EXPECT_GT(std::fabs(elastic.moment(0)), 120.0);  // the elastic pile would pass it
  EXPECT_LE(mmax, 120.0 * (1.0 + 1e-9));
  EXPECT_GT(mmax, 100.0);
  EXPECT_LT(ei_min, 0.5e5);
  EXPECT_NEAR(m.w->PLANE_Y.EI[NODE(100)], 1e5, 1e-6);  // the straight tip stays elastic
  EXPECT_LT(V, V0);
}

TEST(LlpNonlinearEi, HingeMessageAfterAPrintingPass) {
  for (int pass : {0, 1}) {
    SCOPED_TRACE(pass);
    LLP_MODEL m(20.0, 100, 1e5, 1.0);
    STORE& s = m.store();
    m.open_files();
    m.linear_soil(0.0, 1e4, 20.0, 1e4);
    s.ctl.NLEI_OPTION = 1;
    s.piles.NMCSETS = 1;
    s.piles.MC[1].NMCURVES = 1;
    set_curve(s.piles.MC[1].CURVE[1], 0.0, {{0.0, 0.0}, {0.001, 100.0}, {0.002, 110.0}});
    s.piles.PROP[1].SECT[1].SET_NLEI_Y = 1;
    s.piles.CONNECTY[1] = 2;
    m.nodes();
    m.w->CONTROL.TOL_PILE = 1e-8;
    m.w->CONTROL.MAXIT_PILE = 500;
    m.w->CONTROL.PRINT_PASS = pass;
    m.solve(0.01, 0.0);
    ASSERT_EQ(m.w->NO_CLOSURE, 0);
    EXPECT_EQ(m.w->PLASTIC_HINGE, 1);
    const std::string msg = pass == 1 ? "\n          PLASTIC HINGE IS FORMED IN GROUP    1\n" : "";
    EXPECT_EQ(m.text(F_REPORT), msg);
    EXPECT_EQ(m.text(F_SUMMARY), msg);
  }
}

TEST(LlpNonlinearEi, UnusableSetStopsTheSolution) {
  LLP_MODEL m(20.0, 100, 1e5, 1.0);
  m.open_files();
  m.linear_soil(0.0, 1e4, 20.0, 1e4);
  m.store().ctl.NLEI_OPTION = 1;
  m.store().piles.PROP[1].SECT[1].SET_NLEI_Y = 3;  // no such set
  m.nodes();
  int st = -1;
  const double V = m.solve(0.02, 0.0, 0.0, &st);
  EXPECT_EQ(st, ST_BAD_PROPERTY);
  EXPECT_EQ(m.run->status, ST_BAD_PROPERTY);
  EXPECT_EQ(V, 0.0);
  EXPECT_NE(m.text(F_REPORT).find("MOMENT-CURVATURE SET OF PILE GROUP 1"), std::string::npos);
}
