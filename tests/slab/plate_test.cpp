// Plate elements and frontal solution against Kirchhoff and Mindlin plate
// solutions (Timoshenko & Woinowsky-Krieger, Theory of Plates and Shells;
// the Mindlin series for a simply supported square plate), and the solver's
// pivots, prescribed values and reactions.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/status.h"
#include "slab/plate_elements.h"
#include "slab/plate_shape.h"
#include "slab/slab_deck.h"
#include "slab/slab_mesh.h"
#include "slab_test_util.h"

using namespace kestra;

namespace {

using slab_test::CLAMPED;
using slab_test::SIMPLY_SUPPORTED;
using slab_test::square_plate;
using slab_test::uniform_load;

struct SOLUTION {
  int status = 0;
  std::vector<double> du, reactions;
  std::string listing;
};

// One linear solution from zero displacement at load factor 1.
SOLUTION solve(const SLAB_MODEL& m) {
  SOLUTION s;
  SLAB_FILES f;
  f.ELEMENTS = std::tmpfile();
  f.EQUATIONS = std::tmpfile();
  f.LISTING = std::tmpfile();
  std::vector<double> u(static_cast<size_t>(m.NPOIN) * 6, 0.0), fixed(u.size(), 0.0);
  for (const auto& fx : m.FIX)
    for (int k = 0; k < 6; ++k) fixed[(fx.NODE - 1) * 6 + k] = fx.VALUE[k];
  s.status = ELEMENT_MATRICES(m, f, u, 1.0, nullptr);
  if (s.status == 0) s.status = FRONTAL_SOLVE(m, f, fixed, s.du, s.reactions);
  s.listing = slab_test::file_text(f.LISTING);
  std::fclose(f.ELEMENTS);
  std::fclose(f.EQUATIONS);
  std::fclose(f.LISTING);
  return s;
}

int centre_node(const SLAB_MODEL& m) {
  for (int i = 1; i <= m.NPOIN; ++i)
    if (std::fabs(m.COORD[i][0]) < 1e-9 && std::fabs(m.COORD[i][1]) < 1e-9) return i;
  return 0;
}

double rigidity(double E, double t, double nu) { return E * t * t * t / (12 * (1 - nu * nu)); }

}  // namespace

TEST(PlateElements, SimplySupportedSquareUnderUniformLoad) {
  // 100 w D / (q a^4) of the Mindlin plate with shear factor 5/6; at
  // a/t = 100 the Kirchhoff value 0.40624 within 0.05 %.
  struct CASE {
    double a_over_t, coefficient;
  } cases[] = {{10.0, 0.4273}, {100.0, 0.4064}};
  const double a = 10.0, q = 1.0, E = 1.0e7, nu = 0.3;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a_over_t);
    const double t = a / c.a_over_t;
    auto m = square_plate(8, a, t, SIMPLY_SUPPORTED, E, nu);
    uniform_load(*m, q);
    auto s = solve(*m);
    ASSERT_EQ(s.status, 0) << s.listing;
    const double w = s.du[(centre_node(*m) - 1) * 6 + 2];
    EXPECT_NEAR(100 * w * rigidity(E, t, nu) / (q * a * a * a * a), c.coefficient, 0.004 * c.coefficient);
    // The reactions of the supports carry the whole load.
    double rz = 0.0;
    for (int i = 0; i < m->NPOIN; ++i) rz += s.reactions[i * 6 + 2];
    EXPECT_NEAR(rz, -q * a * a, 1e-8 * q * a * a);
  }
}

TEST(PlateElements, ClampedSquareUnderUniformLoad) {
  // a/t = 100: the shear part is below 0.5 % of the Kirchhoff value.
  const double a = 10.0, t = 0.1, q = 1.0, E = 1.0e7, nu = 0.3;
  auto m = square_plate(8, a, t, CLAMPED, E, nu);
  uniform_load(*m, q);
  auto s = solve(*m);
  ASSERT_EQ(s.status, 0);
  const double w = s.du[(centre_node(*m) - 1) * 6 + 2];
  EXPECT_NEAR(w * rigidity(E, t, nu) / (q * a * a * a * a), 0.00126, 0.01 * 0.00126);
}

TEST(PlateElements, SimplySupportedSquareUnderCentralPointLoad) {
  // A thin plate (a/t = 100), where the shear part of the point-load
  // deflection (unbounded in the Mindlin theory, logarithmic in the mesh
  // size) stays well below 1 % of the bending part on this mesh.
  const double a = 10.0, t = 0.1, P = 1.0, E = 1.0e7, nu = 0.3;
  auto m = square_plate(8, a, t, SIMPLY_SUPPORTED, E, nu);
  SLAB_POINT p;
  p.V[2] = P;
  m->CONC_LOAD.push_back(p);
  m->NCLOD = 1;
  LOCATE_POINTS(*m, m->CONC_LOAD);
  ASSERT_NE(m->CONC_LOAD[0].ELEM, 0);
  auto s = solve(*m);
  ASSERT_EQ(s.status, 0);
  const double w = s.du[(centre_node(*m) - 1) * 6 + 2];
  EXPECT_NEAR(w * rigidity(E, t, nu) / (P * a * a), 0.011601, 0.01 * 0.011601);
}

TEST(PlateElements, DeflectionConvergesWithMeshRefinement) {
  const double a = 10.0, t = 1.0, q = 1.0, E = 1.0e7, nu = 0.3, exact = 0.4273;
  double previous = 1e30;
  for (int n : {2, 4, 8}) {
    SCOPED_TRACE(n);
    auto m = square_plate(n, a, t, SIMPLY_SUPPORTED, E, nu);
    uniform_load(*m, q);
    auto s = solve(*m);
    ASSERT_EQ(s.status, 0);
    const double coef = 100 * s.du[(centre_node(*m) - 1) * 6 + 2] * rigidity(E, t, nu) / (q * a * a * a * a);
    const double error = std::fabs(coef - exact);
    EXPECT_LT(error, previous);
    previous = error;
  }
  EXPECT_LT(previous, 0.002 * exact);
}

TEST(PlateElements, RigidBodyMotionsStrainFree) {
  // Every rigid motion of a distorted element (membrane translations and
  // rotation, deflection translation and tilts with the matching section
  // rotations) leaves the plate's stiffness without force, drilling aside.
  SLAB_MODEL m;
  m.NNODE = 8;
  m.NELEM = 1;
  m.NPOIN = 8;
  m.NEVAB = 48;
  m.NGAUS = 2;
  m.COORD = {{0, 0}, {0, 0}, {4, 0.5}, {3.5, 3}, {-0.5, 2.5}, {2, 0.1}, {3.8, 1.7}, {1.5, 2.9}, {-0.2, 1.2}};
  m.LNODS = {1, 2, 3, 4, 5, 6, 7, 8};
  m.MATNO = {0, 1};
  m.PROPS = {{0, 0, 0}, {2.0e7, 0.25, 0.4}};
  GAUSS_RULE(2, m.POSGP, m.WEIGP);
  std::vector<double> K;
  SLAB_FILES f;
  ASSERT_EQ(PLATE_ELEMENT_STIFFNESS(m, f, 1, K), 0);
  for (int mode = 0; mode < 6; ++mode) {
    SCOPED_TRACE(mode);
    std::vector<double> u(48, 0.0);
    for (int a = 0; a < 8; ++a) {
      const double x = m.COORD[a + 1][0], y = m.COORD[a + 1][1];
      double* v = &u[6 * a];
      switch (mode) {
        case 0: v[0] = 1; break;
        case 1: v[1] = 1; break;
        case 2: v[0] = -y; v[1] = x; break;  // in-plane rotation
        case 3: v[2] = 1; break;
        case 4: v[2] = x; v[3] = 1; break;   // w = x, slope dw/dx = 1
        case 5: v[2] = y; v[4] = 1; break;
      }
    }
    for (int i = 0; i < 48; ++i) {
      double s = 0.0;
      for (int j = 0; j < 48; ++j) s += K[i * 48 + j] * u[j];
      EXPECT_NEAR(s, 0.0, 1e-6 * 2.0e7) << "row " << i;
    }
  }
}

TEST(FrontalSolve, ZeroPivotStopsNegativePivotSolves) {
  // One four-node element without plate stiffness (E = 0): every pivot is
  // exactly zero. With a negative spring on every degree of freedom the
  // pivots are negative and the solution is load / spring.
  auto one_element = [](double spring) {
    auto m = std::make_unique<SLAB_MODEL>();
    m->NNODE = 4;
    m->NELEM = 1;
    m->NPOIN = 4;
    m->NMATS = 1;
    m->NEVAB = 24;
    m->NGAUS = 2;
    m->COORD = {{0, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m->LNODS = {1, 2, 3, 4};
    m->MATNO = {0, 1};
    m->PROPS = {{0, 0, 0}, {0.0, 0.3, 0.1}};
    GAUSS_RULE(2, m->POSGP, m->WEIGP);
    m->NODE_FIRST = {0, 1, 1, 1, 1};
    m->NODE_LAST = {0, 1, 1, 1, 1};
    for (int n = 1; n <= 4 && spring != 0.0; ++n) {
      SLAB_ITEM_VALUES s;
      s.ID = n;
      s.V.fill(spring);
      m->NODAL_STIFF.push_back(s);
    }
    SLAB_ITEM_VALUES load;
    load.ID = 3;
    load.V = {1, 2, 3, 4, 5, 6};
    m->NODAL_LOAD.push_back(load);
    return m;
  };
  auto zero = solve(*one_element(0.0));
  EXPECT_EQ(zero.status, ST_SLAB_STOP);
  EXPECT_NE(zero.listing.find("    NEGATIVE OR ZERO PIVOT ENCOUNTERED FOR VARIABLE NO.    1 OF VALUE "), std::string::npos)
      << zero.listing;
  auto negative = solve(*one_element(-2.0));
  ASSERT_EQ(negative.status, 0);
  for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(negative.du[2 * 6 + k], -(k + 1) / 2.0);
  EXPECT_DOUBLE_EQ(negative.du[0], 0.0);
}

TEST(FrontalSolve, PrescribedValuesAndReactions) {
  // A cantilever strip of eight-node elements along the plane y axis,
  // clamped at y = 0 and loaded by an end shear on its last side; then the
  // same strip without load and with the end deflections prescribed at the
  // values found: the same solution, with the end load as reaction.
  const double L = 8.0, b = 1.0, t = 0.2, E = 1.0e6, P = 0.5;
  const int n = 16;
  auto m = std::make_unique<SLAB_MODEL>();
  SLAB_MESH mesh;
  SLAB_BUILD_MESH(n, 1, L / 2, L, b / 2, b, mesh);
  m->NPOIN = static_cast<int>(mesh.YZ.size()) - 1;
  m->NELEM = n;
  m->NMATS = 1;
  m->NNODE = 8;
  m->NGAUS = 2;
  m->NEVAB = 48;
  m->COORD.assign(m->NPOIN + 1, {0, 0});
  for (int i = 1; i <= m->NPOIN; ++i) m->COORD[i] = {mesh.YZ[i][1], mesh.YZ[i][0]};
  m->MATNO.assign(n + 1, 1);
  for (int e = 1; e <= n; ++e)
    for (int k : mesh.ELEMENT[e]) m->LNODS.push_back(k);
  m->PROPS = {{0, 0, 0}, {E, 0.0, t}};
  GAUSS_RULE(2, m->POSGP, m->WEIGP);
  std::vector<int> end_nodes;
  for (int i = 1; i <= m->NPOIN; ++i) {
    SLAB_FIX fx;
    fx.NODE = i;
    if (m->COORD[i][1] < 1e-9) {
      fx.CODE = {1, 1, 1, 1, 1, 1};
    } else {
      // Membrane, drilling and the slope across the strip held: a beam.
      fx.CODE = {1, 1, 0, 1, 0, 1};
      if (m->COORD[i][1] > L - 1e-9) end_nodes.push_back(i);
    }
    m->FIX.push_back(fx);
  }
  ASSERT_EQ(end_nodes.size(), 3u);
  m->NODE_FIRST.assign(m->NPOIN + 1, 0);
  m->NODE_LAST.assign(m->NPOIN + 1, 0);
  SLAB_FILES quiet;
  ASSERT_FALSE(CHECK2(*m, quiet));
  SLAB_EDGE edge;
  edge.ELEM = n;
  edge.SIDE = 2;  // corners 2 and 3 of the generated element lie at the largest y
  edge.DOF = 3;
  edge.V = {P / b, P / b, P / b};
  m->EDGE_LOAD.push_back(edge);
  auto loaded = solve(*m);
  ASSERT_EQ(loaded.status, 0);
  const double tip = loaded.du[(end_nodes[0] - 1) * 6 + 2];
  // Beam with shear deformation: P L^3 / 3EI + P L / (kGA), k = 5/6.
  const double I = b * t * t * t / 12, G = E / 2, kGA = G * b * t / 1.2;
  EXPECT_NEAR(tip, P * L * L * L / (3 * E * I) + P * L / kGA, 0.005 * tip);
  double rz = 0.0;
  for (int i = 0; i < m->NPOIN; ++i) rz += loaded.reactions[i * 6 + 2];
  EXPECT_NEAR(rz, -P, 1e-6 * P);

  m->EDGE_LOAD.clear();
  for (int node : end_nodes) {
    auto& fx = m->FIX[node - 1];
    fx.CODE[2] = 1;
    fx.VALUE[2] = loaded.du[(node - 1) * 6 + 2];
  }
  auto prescribed = solve(*m);
  ASSERT_EQ(prescribed.status, 0);
  double rend = 0.0;
  for (int node : end_nodes) rend += prescribed.reactions[(node - 1) * 6 + 2];
  EXPECT_NEAR(rend, P, 1e-6 * P);
  for (size_t i = 0; i < loaded.du.size(); ++i) EXPECT_NEAR(prescribed.du[i], loaded.du[i], 1e-9 * tip) << i;
}


TEST(PlateOutput, CentreMomentStepResultsAndStepRecord) {
  // Simply supported square under uniform load: the largest moment, at the
  // centre, 0.0479 q a^2 (the hard-support Mindlin moments are those of the
  // thin plate).
  const double a = 10.0, t = 1.0, q = 1.0;
  auto m = square_plate(16, a, t, SIMPLY_SUPPORTED);
  uniform_load(*m, q);
  for (int n = 1; n <= m->NPOIN; ++n) m->NODE_LABEL[n] = 1000 + n;
  auto s = solve(*m);
  ASSERT_EQ(s.status, 0);
  SLAB_FILES f;
  f.LISTING = std::tmpfile();
  f.STEP_DATA = std::tmpfile();
  PRINT_STEP_RESULTS(*m, f, 1, 0.5, s.du, s.reactions);
  ASSERT_EQ(PLATE_STRESSES(*m, f, 1, s.du), 0);
  double mx = 0.0, my = 0.0;
  for (int e = 1; e <= m->NELEM; ++e)
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) {
        PLATE_RESULTANTS r;
        double x, y;
        ASSERT_TRUE(GAUSS_POINT_RESULTANTS(*m, e, i, j, s.du, r, x, y));
        mx = std::max(mx, r[3]);
        my = std::max(my, r[4]);
        EXPECT_NEAR(r[0], 0.0, 1e-12);  // no membrane action
      }
  EXPECT_NEAR(mx, 0.0479 * q * a * a, 0.01 * 0.0479 * q * a * a);
  EXPECT_NEAR(my, mx, 1e-6 * mx);
  const std::string listing = slab_test::file_text(f.LISTING);
  EXPECT_EQ(listing.rfind("   STEP =    1   TIME =    0.5000\n", 0), 0u) << listing.substr(0, 200);
  EXPECT_NE(listing.find("\n      NODE     X-DISP        Y-DISP       Z-DISP        XZ-ROT.       YZ-ROT.       Z-ROT\n"),
            std::string::npos);
  EXPECT_NE(listing.find("      REACTIONS"), std::string::npos);
  EXPECT_NE(listing.find("     ELEMENT NO.=  256"), std::string::npos);
  EXPECT_NE(listing.find("          MAXIMUM STRESSES"), std::string::npos);
  EXPECT_NE(listing.find("          STRESS         "), std::string::npos);
  const auto steps = slab_test::lines_of(slab_test::file_text(f.STEP_DATA));
  ASSERT_EQ(steps.size(), 4u + m->NPOIN);
  EXPECT_EQ(steps[0], "STEP_DATA");
  EXPECT_EQ(steps[1], "14");
  EXPECT_EQ(steps[2], "UX UY UZ ROTX ROTY ROTZ SXX SYY SXY MOM_X MOM_Y MOM_XY SH_XZ SH_YZ");
  EXPECT_EQ(steps[3], "STEP       1");
  EXPECT_EQ(steps[4].substr(0, 5), " 1001");
  EXPECT_EQ(steps[4].size(), 5u + 14 * 12);  // label, six displacements, eight resultants
  std::fclose(f.LISTING);
  std::fclose(f.STEP_DATA);
}

TEST(PlateElements, MembraneUnderUniformEdgeTraction) {
  // Plane stress: a 4 x 2 plate pulled along y by a traction q per unit
  // length on its far side, held at y = -2 (and in x at one node): uniform
  // strain q/(E t) along y, -nu q/(E t) across, membrane force q along y.
  const double E = 1.0e6, nu = 0.25, t = 0.5, q = 100.0;
  SLAB_MESH mesh;
  SLAB_BUILD_MESH(4, 2, 0.0, 4.0, 1.0, 2.0, mesh);
  auto m = std::make_unique<SLAB_MODEL>();
  m->NPOIN = static_cast<int>(mesh.YZ.size()) - 1;
  m->NELEM = 8;
  m->NMATS = 1;
  m->NNODE = 8;
  m->NGAUS = 2;
  m->NEVAB = 48;
  m->COORD.assign(m->NPOIN + 1, {0, 0});
  for (int i = 1; i <= m->NPOIN; ++i) m->COORD[i] = {mesh.YZ[i][1], mesh.YZ[i][0]};
  m->MATNO.assign(m->NELEM + 1, 1);
  for (int e = 1; e <= m->NELEM; ++e)
    for (int k : mesh.ELEMENT[e]) m->LNODS.push_back(k);
  m->PROPS = {{0, 0, 0}, {E, nu, t}};
  GAUSS_RULE(2, m->POSGP, m->WEIGP);
  for (int i = 1; i <= m->NPOIN; ++i) {
    SLAB_FIX fx;
    fx.NODE = i;
    fx.CODE = {i == 1 ? 1 : 0, m->COORD[i][1] < -2 + 1e-9 ? 1 : 0, 1, 1, 1, 1};
    m->FIX.push_back(fx);
  }
  m->NODE_FIRST.assign(m->NPOIN + 1, 0);
  m->NODE_LAST.assign(m->NPOIN + 1, 0);
  SLAB_FILES quiet;
  ASSERT_FALSE(CHECK2(*m, quiet));
  for (int e : {4, 8}) m->EDGE_LOAD.push_back({e, 2, 2, {q, q, q}});
  auto s = solve(*m);
  ASSERT_EQ(s.status, 0);
  const double strain = q / (E * t);
  for (int i = 1; i <= m->NPOIN; ++i) {
    SCOPED_TRACE(i);
    const double x = m->COORD[i][0], y = m->COORD[i][1];
    EXPECT_NEAR(s.du[(i - 1) * 6 + 1], strain * (y + 2.0), 1e-9);
    EXPECT_NEAR(s.du[(i - 1) * 6 + 0], -nu * strain * (x - 1.0), 1e-9);
  }
  for (int e = 1; e <= m->NELEM; ++e) {
    PLATE_RESULTANTS r;
    double x, y;
    ASSERT_TRUE(GAUSS_POINT_RESULTANTS(*m, e, 0, 1, s.du, r, x, y));
    // (the single-precision Gauss weights carry about 3e-8 of the edge load)
    EXPECT_NEAR(r[0], 0.0, 1e-7 * q);
    EXPECT_NEAR(r[1], q, 1e-7 * q);
    EXPECT_NEAR(r[2], 0.0, 1e-7 * q);
  }
}
