// Side and tip load-transfer curves: the curve families against their
// published tables (English and SI), the hyperbolic sand curve against its
// formula, the side-friction and tip estimates, the depth points and the
// statuses of the tip.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "soil/tz_curves.h"

using namespace kestra;

namespace {

double sp(float f) { return static_cast<double>(f); }

// A profile of layers with constant properties in each (friction angle in
// degrees here, radians in the profile).
struct LAYER_SPEC {
  int model;
  double top, bottom;
  double gamma, c, phi_deg, e50, side, tip;
};

std::unique_ptr<TZ_PROFILE> profile(std::initializer_list<LAYER_SPEC> layers) {
  auto s = std::make_unique<TZ_PROFILE>();
  int k = 0;
  for (const LAYER_SPEC& l : layers) {
    ++k;
    s->MODEL[k] = l.model;
    s->TOP[k] = l.top;
    s->BOTTOM[k] = l.bottom;
    for (int r = 0; r < 2; ++r) {
      const int i = 2 * k - 1 + r;
      s->X[i] = r == 0 ? l.top : l.bottom;
      s->UNIT_WEIGHT[i] = l.gamma;
      s->COHESION[i] = l.c;
      s->PHI[i] = l.phi_deg * 3.14159265358979 / 180.0;
      s->E50[i] = l.e50;
      s->SIDE_FRICTION[i] = l.side;
      s->TIP_RESISTANCE[i] = l.tip;
    }
  }
  s->NL = k;
  s->NP = 2 * k;
  return s;
}

AXIAL_PILE pile(int type, double length, double width, double area) {
  AXIAL_PILE p;
  p.PILE_TYPE = type;
  p.LENGTH = length;
  p.INC = 20;
  p.WIDTH = width;
  p.TIP_WIDTH = width;
  p.TIP_AREA = area;
  p.NSEC = 1;
  p.SEC_START[1] = 0.0;
  p.SEC_END[1] = length;
  p.EA_START[1] = p.EA_END[1] = 1e9;
  p.GJ_START[1] = p.GJ_END[1] = 1e9;
  return p;
}

}  // namespace

// ------------------------------------------------------------ side families

TEST(TzFamilies, TablesOfTheDimensionlessFamilies) {
  // Points 2..10: z (inches, metres or a fraction of D) and t / FMAX. Load
  // transfer of driven piles in clay (tabulated curve), of the API clay
  // criteria, and of the drilled-shaft trend curves in clay and sand.
  struct CASE {
    const char* id;
    int family, units;
    double width;
    double z[9];  // absolute, or a fraction of D when scaled
    bool scaled;
    double r[9];
  };
  const CASE cases[] = {
      {"clay table, English", TZ_FAMILY_CLAY_TABLE, 1, 24.0,
       {0.01, 0.02, 0.04, 0.06, 0.08, 0.12, 0.16, 0.5, 10.0}, false,
       {0.18, 0.38, 0.79, 0.97, 1.0, 0.97, 0.93, 0.93, 0.93}},
      {"clay table, SI", TZ_FAMILY_CLAY_TABLE, 2, 0.6,
       {0.000254, 0.000508, 0.001016, 0.001524, 0.002032, 0.003048, 0.004064, 0.0127, 0.254}, false,
       {0.18, 0.38, 0.79, 0.97, 1.0, 0.97, 0.93, 0.93, 0.93}},
      {"API clay, English", TZ_FAMILY_CLAY_API, 1, 24.0,
       {0.0016, 0.0031, 0.0057, 0.008, 0.01, 0.02, 0.03, 0.05, 0.1}, true,
       {0.30, 0.50, 0.75, 0.90, 1.0, 0.80, 0.80, 0.80, 0.80}},
      {"API clay, SI", TZ_FAMILY_CLAY_API, 2, 0.6,
       {0.0016, 0.0031, 0.0057, 0.008, 0.01, 0.02, 0.03, 0.05, 0.1}, true,
       {0.30, 0.50, 0.75, 0.90, 1.0, 0.80, 0.80, 0.80, 0.80}},
      {"drilled shaft clay", TZ_FAMILY_SHAFT_CLAY, 1, 36.0,
       {0.001, 0.002, 0.003, 0.005, 0.006, 0.008, 0.012, 0.016, 0.1}, true,
       {0.51, 0.72, 0.90, 0.925, 0.945, 0.955, 0.925, 0.90, 0.835}},
      {"drilled shaft sand, SI", TZ_FAMILY_SHAFT_SAND, 2, 0.9,
       {0.001, 0.002, 0.003, 0.005, 0.006, 0.008, 0.012, 0.016, 0.1}, true,
       {0.335, 0.58, 0.72, 0.86, 0.91, 0.95, 0.965, 0.96, 0.95}},
  };
  const double fmax = 7.5;
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    TZ_CURVE cv;
    TZ_CURVE_OF(c.family, c.units, fmax, 30.0, c.width, cv);
    EXPECT_EQ(cv.Z[1], 0.0);
    EXPECT_EQ(cv.T[1], 0.0);
    for (int j = 0; j < 9; ++j) {
      const double z = c.scaled ? c.z[j] * c.width : c.z[j];
      EXPECT_NEAR(cv.Z[j + 2], z, 1e-6 * z) << "point " << j + 2;
      EXPECT_NEAR(cv.T[j + 2], c.r[j] * fmax, 1e-6 * fmax) << "point " << j + 2;
    }
  }
}

TEST(TzFamilies, HyperbolicSandCurveFollowsItsFormula) {
  const double zin[9] = {0.01, 0.02, 0.04, 0.06, 0.08, 0.12, 0.16, 0.5, 2.5};
  // Initial stiffness by friction angle (degrees): the plateaus and ramps.
  struct K_CASE {
    double phi, k;
  };
  const double step = sp(1333.3f);
  const K_CASE ks[] = {{20.0, 6000.0}, {28.0, 6000.0},           {30.0, 6000.0 + 2 * step},
                       {31.5, 10000.0}, {33.0, 10000.0 + step}, {34.5, 14000.0},
                       {37.0, 14000.0 + 2 * step}, {45.0, 18000.0}};
  for (const K_CASE& kc : ks) EXPECT_NEAR(SAND_TZ_STIFFNESS(kc.phi), kc.k, 1e-9) << kc.phi;

  // English: K / 144 and t = z / (1/K + z/FMAX), z in inches.
  TZ_CURVE e;
  const double f = 2.0;  // psi
  TZ_CURVE_OF(TZ_FAMILY_SAND_HYPERBOLIC, 1, f, 30.0, 24.0, e);
  const double k = (6000.0 + 2 * step) / 144.0;
  for (int j = 0; j < 9; ++j) {
    EXPECT_NEAR(e.Z[j + 2], zin[j], 1e-7);
    EXPECT_NEAR(e.T[j + 2], e.Z[j + 2] / (1.0 / k + e.Z[j + 2] / f), 1e-12);
  }
  // The curve rises toward FMAX without reaching it.
  for (int j = 2; j <= TZ_POINTS; ++j) {
    EXPECT_GT(e.T[j], e.T[j - 1]);
    EXPECT_LT(e.T[j], f);
  }

  // SI: worked in inches with f = FMAX * 20.88, the movements stored in
  // metres.
  TZ_CURVE m;
  const double fk = 50.0;  // kPa
  TZ_CURVE_OF(TZ_FAMILY_SAND_HYPERBOLIC, 2, fk, 40.0, 0.6, m);
  const double conv = sp(20.88f);
  for (int j = 0; j < 9; ++j) {
    EXPECT_NEAR(m.Z[j + 2], zin[j] * 0.0254, 1e-8);
    const double zi = m.Z[j + 2] / sp(0.0254f);
    EXPECT_NEAR(m.T[j + 2], zi / (1.0 / 18000.0 + zi / (fk * conv)) / conv, 1e-9);
  }
  // A zero friction is raised to 0.001 rather than dividing by zero.
  TZ_CURVE z;
  TZ_CURVE_OF(TZ_FAMILY_SAND_HYPERBOLIC, 1, 0.0, 30.0, 24.0, z);
  for (int j = 1; j <= TZ_POINTS; ++j) EXPECT_TRUE(std::isfinite(z.T[j]));
  EXPECT_GT(z.T[TZ_POINTS], 0.0);
}

TEST(TzFamilies, FamilyByPileTypeAndModel) {
  struct CASE {
    int type, model;
    double bphi;
    int family;
  };
  const CASE cases[] = {
      {DRIVEN_PILE, 4, 30, TZ_FAMILY_SAND_HYPERBOLIC},  {DRIVEN_PILE, 7, 30, TZ_FAMILY_SAND_HYPERBOLIC},
      {DRIVEN_PILE, 8, 30, TZ_FAMILY_SAND_HYPERBOLIC},  {DRIVEN_PILE, 1, 0, TZ_FAMILY_CLAY_TABLE},
      {DRIVEN_PILE, 9, 0, TZ_FAMILY_CLAY_TABLE},        {DRIVEN_PILE, 11, 0, TZ_FAMILY_CLAY_TABLE},
      {DRIVEN_PILE, 5, 30, TZ_FAMILY_CLAY_API},         {DRILLED_SHAFT, 8, 30, TZ_FAMILY_SHAFT_SAND},
      {DRILLED_SHAFT, 3, 0, TZ_FAMILY_SHAFT_CLAY},      {DRILLED_SHAFT, 6, 0, TZ_FAMILY_SHAFT_CLAY},
      {DRILLED_SHAFT, 5, 20, TZ_FAMILY_SHAFT_SAND},     {DRILLED_SHAFT, 5, 0.5, TZ_FAMILY_SHAFT_CLAY},
      {DRILLED_SHAFT, 5, 1.0, TZ_FAMILY_SHAFT_CLAY},    {DRIVEN_PILE, 42, 0, TZ_FAMILY_CLAY_TABLE},
  };
  for (const CASE& c : cases)
    EXPECT_EQ(TZ_FAMILY_OF(c.type, c.model, c.bphi), c.family)
        << "type " << c.type << " model " << c.model << " bphi " << c.bphi;
}

// ------------------------------------------------------------ side friction

TEST(TzSideFriction, DrivenPileAlphaAndSandEstimates) {
  bool traced = false;
  // psi = c / (gamma z) <= 1: alpha = 0.5 / sqrt(psi).
  const double c = 10.0, g = 0.04, z = 500.0;  // psi = 0.5
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(1, 1, c, g, 0.0, z, traced), 0.5 / std::sqrt(0.5) * c, 1e-9);
  EXPECT_FALSE(traced);
  // psi > 1: alpha = 0.5 / psi^0.25 (below 0.5), kept for a strong clay.
  const double c2 = 20.0, z2 = 100.0;  // psi = 5
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(1, 3, c2, g, 0.0, z2, traced), 0.5 / std::pow(5.0, 0.25) * c2, 1e-9);
  // ... but a clay weaker than 3.47 psi (24 kPa in SI) at shallow depth
  // takes alpha = 1.
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(1, 1, 3.0, g, 0.0, 10.0, traced), 3.0, 1e-12);
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(2, 2, 20.0, 8.0, 0.0, 0.5, traced), 20.0, 1e-12);
  // Units system 3 has no such change.
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(3, 1, 3.0, g, 0.0, 10.0, traced), 0.5 / std::pow(7.5, 0.25) * 3.0,
              1e-9);
  // Rock: 0.1 c.
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(2, 9, 800.0, 20.0, 0.0, 3.0, traced), 80.0, 1e-4);
  // Sand: 0.8 gamma z tan(phi - 0.087), traced.
  const double phi = 0.6;
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(1, 4, 0.0, g, phi, 300.0, traced),
              sp(0.8f) * g * 300.0 * std::tan(phi - sp(0.087f)), 1e-9);
  EXPECT_TRUE(traced);
  // Silt: both terms.
  const double silt = SIDE_FRICTION_DRIVEN(1, 7, 2.0, g, phi, 300.0, traced);
  const double alpha = 0.5 / std::sqrt(2.0 / (g * 300.0));
  EXPECT_NEAR(ADHESION_FACTOR(1, 2.0, g, 300.0), alpha, 1e-12);
  EXPECT_NEAR(silt, sp(0.8f) * g * 300.0 * std::tan(phi - sp(0.087f)) + alpha * 2.0, 1e-9);
  // User-curve layer: no estimate. A depth at the surface counts as 1.
  EXPECT_EQ(SIDE_FRICTION_DRIVEN(1, 5, 5.0, g, phi, 300.0, traced), 0.0);
  EXPECT_NEAR(SIDE_FRICTION_DRIVEN(1, 4, 0.0, g, phi, 0.0, traced),
              sp(0.8f) * g * 1.0 * std::tan(phi - sp(0.087f)), 1e-12);
  // A friction angle below the 0.087 rad reduction gives no friction rather
  // than a negative one.
  EXPECT_EQ(SIDE_FRICTION_DRIVEN(1, 4, 0.0, g, 0.05, 300.0, traced), 0.0);
  // Nothing divides by zero for a weightless point.
  EXPECT_TRUE(std::isfinite(SIDE_FRICTION_DRIVEN(1, 1, 5.0, 0.0, 0.0, 100.0, traced)));
}

TEST(TzSideFriction, DrilledShaftBetaLimits) {
  // At the surface beta is at its upper limit 1.2; deep it falls to 0.25.
  EXPECT_NEAR(SHAFT_BETA(1, 0.0), sp(1.2f), 1e-12);
  EXPECT_NEAR(SHAFT_BETA(2, 1.0), sp(1.2f), 1e-12);  // 3.3 ft
  EXPECT_NEAR(SHAFT_BETA(1, 12.0 * 25.0), sp(1.5f) - sp(0.135f) * 5.0, 1e-6);
  EXPECT_NEAR(SHAFT_BETA(2, 0.3048 * 25.0), sp(1.5f) - sp(0.135f) * 5.0, 1e-5);
  EXPECT_EQ(SHAFT_BETA(1, 12.0 * 1000.0), 0.25);
  // beta gamma z in sand, 0.55 c in clay, 0.1 c in rock, both in silt.
  EXPECT_NEAR(SIDE_FRICTION_SHAFT(1, 4, 0.0, 0.04, 600.0, 1200.0), SHAFT_BETA(1, 1200.0) * 0.04 * 600.0,
              1e-12);
  EXPECT_NEAR(SIDE_FRICTION_SHAFT(2, 1, 40.0, 8.0, 3.0, 3.0), sp(0.55f) * 40.0, 1e-12);
  EXPECT_NEAR(SIDE_FRICTION_SHAFT(2, 6, 400.0, 8.0, 3.0, 3.0), sp(0.1f) * 400.0, 1e-12);
  EXPECT_NEAR(SIDE_FRICTION_SHAFT(2, 7, 40.0, 8.0, 3.0, 3.0),
              SHAFT_BETA(2, 3.0) * 24.0 + sp(0.55f) * 40.0, 1e-12);
  EXPECT_EQ(SIDE_FRICTION_SHAFT(2, 5, 40.0, 8.0, 3.0, 3.0), 0.0);
}

// ------------------------------------------------------------ generation

TEST(TzGeneration, DepthPointsFollowTheLayersInPointOrder) {
  // The second layer is thinner than 1.1: its bottom point lies above its
  // top point and the points are kept as they are.
  auto s = profile({{1, 0.0, 120.0, 0.04, 5, 0, 0.01, 0, 0}, {1, 120.0, 121.0, 0.04, 5, 0, 0.01, 0, 0},
                    {4, 121.0, 300.0, 0.04, 0, 30, 0, 0, 0}});
  AXIAL_CURVES out;
  AXIAL_MESSAGE msg;
  ASSERT_EQ(TZ_DEPTH_POINTS(*s, out, msg), ST_OK);
  ASSERT_EQ(out.NP, 11);
  const double x[12] = {0, 0.0, 0.0, sp(0.1f), 0.5 * (sp(0.1f) + 120.0), 119.0, 120.0 + sp(0.1f),
                        0.5 * (120.0 + sp(0.1f) + 121.0), 120.0, 121.0 + sp(0.1f),
                        0.5 * (121.0 + sp(0.1f) + 300.0), 299.0};
  for (int i = 1; i <= 11; ++i) EXPECT_NEAR(out.X[i], x[i], 1e-9) << "point " << i;
  EXPECT_EQ(out.MODEL[1], 1);
  EXPECT_EQ(out.MODEL[8], 1);
  EXPECT_EQ(out.MODEL[9], 4);
  EXPECT_LT(out.X[8], out.X[7]);
}

TEST(TzGeneration, SideCurvesFromEstimatesAndInput) {
  // Driven pile, English: soft clay with input friction over sand without.
  auto s = profile({{1, 0.0, 240.0, 0.04, 4.0, 0, 0.02, 2.5, 0}, {4, 240.0, 600.0, 0.04, 0, 34, 0, 0, 0}});
  AXIAL_PILE p = pile(DRIVEN_PILE, 480.0, 24.0, 452.0);
  AXIAL_GROUP grp;  // head and ground at X = 0
  AXIAL_CURVES out;
  AXIAL_MESSAGE msg;
  FILE* trace = std::tmpfile();
  ASSERT_EQ(GENERATE_SIDE_CURVES(*s, p, grp, 1, TZ_ECHO, out, msg, trace), ST_OK);
  // Points 1 and 2 at the ground carry practically nothing.
  EXPECT_EQ(out.FMAX[1], 1e-6);
  EXPECT_EQ(out.FMAX[2], 1e-6);
  // Clay points take the input friction; sand points the estimate.
  EXPECT_NEAR(out.FMAX[4], 2.5, 1e-12);
  const double x7 = out.X[7];
  double gamma = 0.04;
  EXPECT_NEAR(out.FMAX[7], sp(0.8f) * gamma * x7 * std::tan(34.0 * 3.14159265358979 / 180.0 - sp(0.087f)),
              1e-6);
  EXPECT_NEAR(out.BPHI[7], 34.0 * 3.14159265358979 / 180.0 * 180.0 / sp(3.1416f), 1e-9);
  EXPECT_EQ(out.POS[7], x7);
  // One trace record per sand point, with the point number and FMAX.
  std::rewind(trace);
  char line[200];
  int n = 0;
  while (std::fgets(line, sizeof line, trace)) {
    ++n;
    EXPECT_EQ(std::string(line).rfind(" FMAX 1", 0), 0u) << line;
  }
  EXPECT_EQ(n, 3);
  std::fclose(trace);

  // Drilled shaft in the same sand: beta gamma z with beta from the point's
  // coordinate.
  p.PILE_TYPE = DRILLED_SHAFT;
  ASSERT_EQ(GENERATE_SIDE_CURVES(*s, p, grp, 1, TZ_ECHO, out, msg), ST_OK);
  EXPECT_NEAR(out.FMAX[8], SHAFT_BETA(1, out.X[8]) * gamma * out.X[8], 1e-9);
  EXPECT_NEAR(out.TZ[8].T[10], sp(0.95f) * out.FMAX[8], 1e-9);
  EXPECT_NEAR(out.TZ[8].Z[10], sp(0.1f) * 24.0, 1e-9);
}

TEST(TzGeneration, GroupBelowTheOriginShiftsDepthAndPosition) {
  // Head at X = 60 with the ground at the head: depths are x - g - v and
  // positions x - v.
  auto s = profile({{4, 60.0, 600.0, 0.04, 0, 30, 0, 0, 0}});
  AXIAL_PILE p = pile(DRIVEN_PILE, 400.0, 24.0, 452.0);
  AXIAL_GROUP grp;
  grp.VERT = 60.0;
  grp.GROUND = 0.0;
  AXIAL_CURVES out;
  AXIAL_MESSAGE msg;
  ASSERT_EQ(GENERATE_SIDE_CURVES(*s, p, grp, 1, TZ_ECHO, out, msg), ST_OK);
  const double z = out.X[4] - 60.0;
  EXPECT_NEAR(out.FMAX[4], sp(0.8f) * 0.04 * z * std::tan(30.0 * 3.14159265358979 / 180.0 - sp(0.087f)),
              1e-9);
  EXPECT_NEAR(out.POS[4], out.X[4] - 60.0, 1e-12);
}

TEST(TzGeneration, SideFrictionProfileEndsAboveADepthPoint) {
  // A last layer thinner than 0.1: its first point lies below the profile.
  auto s = profile({{1, 0.0, 120.0, 0.04, 5, 0, 0.01, 0, 0}, {1, 120.0, 120.05, 0.04, 5, 0, 0.01, 0, 0}});
  AXIAL_PILE p = pile(DRIVEN_PILE, 100.0, 24.0, 452.0);
  AXIAL_CURVES out;
  AXIAL_MESSAGE msg;
  EXPECT_EQ(GENERATE_SIDE_CURVES(*s, p, AXIAL_GROUP{}, 1, TZ_ECHO, out, msg), ST_BEYOND_SIDE_FRICTION);
  EXPECT_NEAR(msg.X, 120.0 + sp(0.1f), 1e-9);
  EXPECT_EQ(msg.NPROFILE, 4);
  EXPECT_EQ(msg.XLAST, 120.05);
}

// ------------------------------------------------------------ tip

TEST(TzTip, CapacityByModelAndPileType) {
  struct CASE {
    const char* id;
    int units, type, model;
    double c, phi, tip_unit;
    double expect;  // QMAX
  };
  const double area = 452.0;
  const double gamma = 0.04, zt = 480.0;
  const CASE cases[] = {
      {"clay, 9 c A", 1, DRIVEN_PILE, 1, 6.0, 0.0, 0.0, 9.0 * 6.0 * area},
      {"clay, input unit resistance", 1, DRIVEN_PILE, 2, 6.0, 0.0, 80.0, 80.0 * area},
      {"sand driven, Nq 20 + 2*4 at 32 deg", 1, DRIVEN_PILE, 4, 0.0, 32.0, 0.0,
       zt * gamma * (20.0 + (32.0 * 3.14159265358979 / 180.0 * sp(57.296f) - 30.0) * 4.0) * area},
      {"sand drilled, phi < 30 deg: 0.1", 1, DRILLED_SHAFT, 4, 0.0, 28.0, 0.0, sp(0.1f)},
      {"sand drilled 33 deg, English", 1, DRILLED_SHAFT, 8, 0.0, 33.0, 0.0, area * sp(222.2f)},
      {"sand drilled 40 deg, SI", 2, DRILLED_SHAFT, 8, 0.0, 40.0, 0.0, area * 3830.0},
      {"weak rock takes the input or 9 c", 1, DRIVEN_PILE, 9, 50.0, 0.0, 0.0, 9.0 * 50.0 * area},
      {"liquefied sand, input", 1, DRIVEN_PILE, 11, 0.0, 0.0, 30.0, 30.0 * area},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    auto s = profile({{c.model, 0.0, 600.0, gamma, c.c, c.phi, 0.01, 1.0, c.tip_unit}});
    AXIAL_PILE p = pile(c.type, zt, 24.0, area);
    AXIAL_CURVES out;
    AXIAL_MESSAGE msg;
    ASSERT_EQ(GENERATE_SIDE_CURVES(*s, p, AXIAL_GROUP{}, c.units, TZ_ECHO, out, msg), ST_OK);
    ASSERT_EQ(GENERATE_TIP_CURVE(*s, p, AXIAL_GROUP{}, c.units, DIR_COMPRESSION, TZ_ECHO, out, msg), ST_OK);
    EXPECT_NEAR(out.QMAX, c.expect, 1e-9 * std::fabs(c.expect));
    // Pull-out: the area factor 1e-4 in place of the tip area.
    ASSERT_EQ(GENERATE_TIP_CURVE(*s, p, AXIAL_GROUP{}, c.units, DIR_PULL_OUT, TZ_ECHO, out, msg), ST_OK);
    EXPECT_EQ(out.TIP_AREA, sp(1e-4f));
  }
}

TEST(TzTip, TipCurveFamilies) {
  const double q = 1000.0, d = 24.0;
  AXIAL_MESSAGE msg;
  // Clay, driven: square-root law to 4 w50, w50 = 2 D_t e50.
  TZ_CURVE c;
  ASSERT_EQ(QW_CURVE_OF(QW_FAMILY_CLAY_DRIVEN, 1, q, d, 20.0, 0.01, 0, TZ_ECHO, c, msg), ST_OK);
  const double w50 = 2 * 20.0 * 0.01;
  for (int j = 2; j <= 9; ++j) {
    EXPECT_NEAR(c.Z[j], 0.5 * (j - 1) * w50, 1e-12);
    EXPECT_NEAR(c.T[j], 0.5 * q * std::sqrt(0.5 * (j - 1)), 1e-9);
  }
  EXPECT_NEAR(c.T[9], q, 1e-9);
  EXPECT_NEAR(c.Z[10], 40 * w50, 1e-12);
  EXPECT_EQ(c.T[10], q);

  // Sand, driven: power law of W / 0.05 D, not limited at QMAX.
  const double w[9] = {0.0001, 0.005, 0.01, 0.05, 0.1, 0.2, 0.4, 0.8, 5.0};
  struct E_CASE {
    double bphi, e;
  };
  for (E_CASE ec : {E_CASE{30.0, 0.5}, E_CASE{35.0, sp(0.333f)}, E_CASE{40.0, 0.25}}) {
    ASSERT_EQ(QW_CURVE_OF(QW_FAMILY_SAND_DRIVEN, 1, q, d, d, 0, ec.bphi, TZ_ECHO, c, msg), ST_OK);
    for (int j = 0; j < 9; ++j) {
      EXPECT_NEAR(c.Z[j + 2], w[j], 1e-7 * w[j]);
      EXPECT_NEAR(c.T[j + 2], q * std::pow(w[j] / (0.05 * d), ec.e), 1e-6 * q);
    }
    EXPECT_GT(c.T[10], q);  // 5 in. is beyond 0.05 D = 1.2 in.
  }
  // SI: the base movements in metres.
  ASSERT_EQ(QW_CURVE_OF(QW_FAMILY_SAND_DRIVEN, 2, q, 0.6, 0.6, 0, 30.0, TZ_ECHO, c, msg), ST_OK);
  EXPECT_NEAR(c.Z[5], 0.05 * 0.0254, 1e-9);

  // Drilled shafts and the user-curve layer under a driven pile.
  struct R_CASE {
    int family;
    double w[9], r[9];
  };
  const R_CASE rs[] = {
      {QW_FAMILY_SAND_SHAFT, {0.005, 0.01, 0.015, 0.025, 0.03, 0.04, 0.05, 0.07, 0.1},
       {0.175, 0.345, 0.485, 0.65, 0.73, 0.88, 1.015, 1.195, 1.46}},
      {QW_FAMILY_CLAY_SHAFT, {0.005, 0.01, 0.015, 0.025, 0.03, 0.04, 0.05, 0.07, 0.1},
       {0.395, 0.56, 0.70, 0.865, 0.90, 0.95, 0.97, 0.98, 0.99}},
      {QW_FAMILY_USER_DRIVEN, {0.002, 0.013, 0.042, 0.073, 0.1, 0.12, 0.15, 0.18, 0.2},
       {0.25, 0.5, 0.75, 0.9, 1.0, 1.0, 1.0, 1.0, 1.0}},
  };
  for (const R_CASE& r : rs) {
    SCOPED_TRACE(r.family);
    ASSERT_EQ(QW_CURVE_OF(r.family, 1, q, d, d, 0, 0, TZ_ECHO, c, msg), ST_OK);
    for (int j = 0; j < 9; ++j) {
      EXPECT_NEAR(c.Z[j + 2], r.w[j] * d, 1e-6);
      EXPECT_NEAR(c.T[j + 2], r.r[j] * q, 1e-4);
    }
  }
  // Family by tip model.
  EXPECT_EQ(QW_FAMILY_OF(DRIVEN_PILE, 9), QW_FAMILY_SAND_DRIVEN);
  EXPECT_EQ(QW_FAMILY_OF(DRIVEN_PILE, 6), QW_FAMILY_CLAY_DRIVEN);
  EXPECT_EQ(QW_FAMILY_OF(DRIVEN_PILE, 5), QW_FAMILY_USER_DRIVEN);
  EXPECT_EQ(QW_FAMILY_OF(DRILLED_SHAFT, 11), QW_FAMILY_SAND_SHAFT);
  EXPECT_EQ(QW_FAMILY_OF(DRILLED_SHAFT, 5), QW_FAMILY_CLAY_SHAFT);
}

TEST(TzTip, ClayTipWithoutE50OrCapacityStops) {
  struct CASE {
    double e50, c;
    int use, status;
  };
  const CASE cases[] = {{0.0, 5.0, TZ_ECHO, ST_LS_ZERO_E50},
                        {0.01, 0.0, TZ_ECHO, ST_LS_ZERO_C},
                        {0.0, 5.0, TZ_TORSION, ST_TQ_ZERO_E50},
                        {0.01, 0.0, TZ_TORSION, ST_TQ_ZERO_C},
                        {0.0, 5.0, TZ_RUNTIME, ST_LS_ZERO_E50}};
  for (const CASE& c : cases) {
    auto s = profile({{1, 0.0, 600.0, 0.04, c.c, 0, c.e50, 1.0, 0.0}});
    AXIAL_PILE p = pile(DRIVEN_PILE, 480.0, 24.0, 452.0);
    AXIAL_CURVES out;
    AXIAL_MESSAGE msg;
    EXPECT_EQ(GENERATE_TZ_CURVES(*s, p, AXIAL_GROUP{}, 1, DIR_PULL_OUT, c.use, out, msg), c.status);
    EXPECT_NE(AXIAL_WARNING_TEXT(c.status), nullptr);
  }
  EXPECT_STREQ(AXIAL_WARNING_TEXT(ST_LS_ZERO_E50), "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
  EXPECT_STREQ(AXIAL_WARNING_TEXT(ST_TQ_ZERO_C),
               "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE");
  // A drilled shaft in the same clay needs no e50.
  auto s = profile({{1, 0.0, 600.0, 0.04, 5.0, 0, 0.0, 1.0, 0.0}});
  AXIAL_PILE p = pile(DRILLED_SHAFT, 480.0, 24.0, 452.0);
  AXIAL_CURVES out;
  AXIAL_MESSAGE msg;
  EXPECT_EQ(GENERATE_TZ_CURVES(*s, p, AXIAL_GROUP{}, 1, DIR_COMPRESSION, TZ_ECHO, out, msg), ST_OK);
}

TEST(TzTip, TipAtTheBottomOfTheDeepestLayerTakesThatLayer) {
  auto s = profile({{1, 0.0, 240.0, 0.04, 5.0, 0, 0.01, 1.0, 0.0}, {4, 240.0, 480.0, 0.04, 0, 35, 0, 0, 0}});
  AXIAL_PILE p = pile(DRIVEN_PILE, 480.0, 24.0, 452.0);
  AXIAL_CURVES out;
  AXIAL_MESSAGE msg;
  ASSERT_EQ(GENERATE_TZ_CURVES(*s, p, AXIAL_GROUP{}, 1, DIR_COMPRESSION, TZ_ECHO, out, msg), ST_OK);
  EXPECT_EQ(out.TIP_MODEL, 4);
  // A tip below the profile stops at the first lookup there (cohesion).
  p.LENGTH = 500.0;
  EXPECT_EQ(GENERATE_TZ_CURVES(*s, p, AXIAL_GROUP{}, 1, DIR_COMPRESSION, TZ_ECHO, out, msg), ST_BEYOND_COHESION);
  // A cohesive point without friction angle counts as stiff clay.
  auto t = profile({{7, 0.0, 600.0, 0.04, 5.0, 0, 0.01, 1.0, 0.0}});
  p.LENGTH = 480.0;
  ASSERT_EQ(GENERATE_TZ_CURVES(*t, p, AXIAL_GROUP{}, 1, DIR_COMPRESSION, TZ_ECHO, out, msg), ST_OK);
  EXPECT_EQ(out.TIP_MODEL, 3);
}

// ------------------------------------------------------------ soil-table estimates

TEST(TzEstimate, UnitResistanceEstimatesOfTheSoilTable) {
  auto s = profile({{1, 0.0, 240.0, 0.04, 4.0, 0, 0.02, 0, 0}, {4, 240.0, 600.0, 0.05, 0, 32, 0, 0, 0},
                    {7, 600.0, 700.0, 0.05, 3.0, 25, 0.01, 0, 0}, {2, 700.0, 800.0, 0.05, 8.0, 0, 0.01, 2.0, 50.0}});
  UNIT_ESTIMATE e;
  AXIAL_MESSAGE msg;
  // Clay at its bottom: alpha c, 0.55 c, tips 9 c.
  ASSERT_EQ(ESTIMATE_UNIT_RESISTANCE(*s, 1, 1, 120.0, e, msg), ST_OK);
  EXPECT_EQ(e.SIDE_FLAG, 1);
  bool traced;
  EXPECT_NEAR(e.SIDE_DRIVEN, SIDE_FRICTION_DRIVEN(1, 1, 4.0, 0.04, 0, 120.0, traced), 1e-12);
  EXPECT_NEAR(e.SIDE_SHAFT, sp(0.55f) * 4.0, 1e-12);
  EXPECT_EQ(e.TIP_FLAG, 1);
  EXPECT_NEAR(e.TIP_DRIVEN, 36.0, 1e-12);
  EXPECT_NEAR(e.TIP_SHAFT, 36.0, 1e-12);
  // At the ground surface the depth counts as 1.
  ASSERT_EQ(ESTIMATE_UNIT_RESISTANCE(*s, 1, 1, 0.0, e, msg), ST_OK);
  EXPECT_NEAR(e.SIDE_DRIVEN, SIDE_FRICTION_DRIVEN(1, 1, 4.0, 0.04, 0, 1.0, traced), 1e-12);
  // Sand: N_q tip for a driven pile, the unit value for a drilled shaft.
  ASSERT_EQ(ESTIMATE_UNIT_RESISTANCE(*s, 1, 4, 300.0, e, msg), ST_OK);
  double gamma = (0.04 * 240.0 + 0.5 * (0.05 + 0.05) * 60.0) / 300.0;
  EXPECT_NEAR(e.TIP_DRIVEN, 300.0 * gamma * (20.0 + (32.0 * 3.14159265358979 / 180.0 * sp(57.296f) - 30.0) * 4.0),
              1e-6);
  EXPECT_NEAR(e.TIP_SHAFT, sp(222.2f), 1e-9);
  EXPECT_NEAR(e.SIDE_SHAFT, SHAFT_BETA(1, 300.0) * gamma * 300.0, 1e-9);
  // Silt: no tip estimate.
  ASSERT_EQ(ESTIMATE_UNIT_RESISTANCE(*s, 1, 7, 650.0, e, msg), ST_OK);
  EXPECT_EQ(e.SIDE_FLAG, 1);
  EXPECT_EQ(e.TIP_FLAG, 0);
  EXPECT_EQ(e.TIP_DRIVEN, 0.0);
  // Input values: no flags.
  ASSERT_EQ(ESTIMATE_UNIT_RESISTANCE(*s, 1, 2, 750.0, e, msg), ST_OK);
  EXPECT_EQ(e.SIDE_FLAG, 0);
  EXPECT_EQ(e.TIP_FLAG, 0);
}

TEST(TzEstimate, DrilledShaftTipUnitByFrictionAngleAndUnits) {
  // Below 30 degrees 0.1; up to 36 degrees 222.2 psi or 1530 kPa; above,
  // 555.56 psi or 3830 kPa. Units system 3 takes the SI values, as its
  // side-curve shapes do.
  struct CASE {
    int units;
    double phi;
    double unit;
  };
  const CASE cases[] = {{1, 0.50, sp(0.1f)},    {1, 0.55, sp(222.2f)}, {1, 0.63, sp(555.56f)},
                        {2, 0.50, sp(0.1f)},    {2, 0.55, 1530.0},     {2, 0.70, 3830.0},
                        {3, 0.55, 1530.0},      {3, 0.70, 3830.0}};
  for (const CASE& c : cases) EXPECT_EQ(SHAFT_TIP_UNIT(c.units, c.phi), c.unit) << c.units << " " << c.phi;
  EXPECT_EQ(SHAFT_BETA(3, 0.3048 * 25.0), SHAFT_BETA(2, 0.3048 * 25.0));
  // N_q ranges include their upper bounds.
  EXPECT_EQ(BEARING_FACTOR_NQ(20.0), 8.0);
  EXPECT_EQ(BEARING_FACTOR_NQ(25.0), 12.0);
  EXPECT_EQ(BEARING_FACTOR_NQ(30.0), 20.0);
  EXPECT_EQ(BEARING_FACTOR_NQ(35.0), 40.0);
  EXPECT_EQ(BEARING_FACTOR_NQ(40.0), 50.0);
  EXPECT_EQ(BEARING_FACTOR_NQ(37.5), 45.0);
  EXPECT_EQ(BEARING_FACTOR_NQ(60.0), 50.0);
}

TEST(TzGeneration, SingleSideCurveMatchesTheDepthPoint) {
  auto s = profile({{1, 0.0, 240.0, 0.04, 4.0, 0, 0.02, 0, 0}, {4, 240.0, 600.0, 0.04, 0, 34, 0, 0, 0}});
  const AXIAL_PILE p = pile(DRIVEN_PILE, 480.0, 24.0, 452.0);
  AXIAL_CURVES out;
  AXIAL_MESSAGE msg;
  ASSERT_EQ(GENERATE_SIDE_CURVES(*s, p, AXIAL_GROUP{}, 1, TZ_ECHO, out, msg), ST_OK);
  FILE* trace = std::tmpfile();
  for (int i : {4, 8}) {
    double fmax = 0.0, bphi = 0.0;
    TZ_CURVE c;
    ASSERT_EQ(TZ_SIDE_CURVE_AT(*s, DRIVEN_PILE, out.MODEL[i], out.X[i], 24.0, AXIAL_GROUP{}, 1,
                               TZ_CURVE_FILE_AXIAL, 7, fmax, bphi, c, msg, trace),
              ST_OK);
    EXPECT_EQ(fmax, out.FMAX[i]);
    EXPECT_EQ(bphi, out.BPHI[i]);
    for (int j = 1; j <= TZ_POINTS; ++j) {
      EXPECT_EQ(c.T[j], out.TZ[i].T[j]);
      EXPECT_EQ(c.Z[j], out.TZ[i].Z[j]);
    }
  }
  // Only the sand point is traced, with the curve-file text.
  std::rewind(trace);
  char line[200] = {};
  ASSERT_NE(std::fgets(line, sizeof line, trace), nullptr);
  EXPECT_EQ(std::string(line).rfind(" FMAX 3           7", 0), 0u) << line;
  EXPECT_EQ(std::fgets(line, sizeof line, trace), nullptr);
  std::fclose(trace);
  EXPECT_STREQ(TZ_TRACE_TEXT(TZ_CURVE_FILE_TORSION), "FMAX 5");
}
