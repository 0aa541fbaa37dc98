// Tests of the 2D cap equilibrium: the rigid-body kinematics of a row, the
// group reaction with multiplicities, the cofactor solution, the passive
// force of an embedded cap, and the incremental Newton iteration on rows of
// linear springs (equilibrium, floors, halving, singular stiffness, rows
// that do not close).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/format.h"
#include "engine/ikestra.h"
#include "engine/report.h"
#include "engine/run.h"
#include "group/cap_solve_2d.h"
#include "group/cap_solve_3d.h"
#include "group/driver.h"
#include "group/group_fixture.h"
#include "group/pile_head.h"
#include "output/headings.h"
#include "support/test_support.h"

using namespace kestra;

namespace {

std::string file_text(FILE* f) {
  std::string out;
  if (!f) return out;
  std::fflush(f);
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  return out;
}

// A model of the group reaction for the cap iteration: every row a set of
// linear springs (axial, lateral, rotational) at its head, carried to the
// origin by the row's transfer matrix and multiplied by its multiplicity;
// optionally the rows never close, or the ground and cap resistance the
// passive force reads are left as a last row would leave them.
struct SPRING_MODEL {
  double ka = 0, kl = 0, kr = 0;
  bool no_closure = false;
  double ground = 0.0;
  double cap_p_per_defl = 0.0;  // cap soil resistance per unit |U_Y|
  double wobble_beyond = 0.0;   // > 0: beyond this U_Y the reaction jitters (never converges)
  int calls = 0;
};
SPRING_MODEL model;

int spring_reaction(RUN& run, const VEC3& U, VEC3& R) {
  ++model.calls;
  STORE& s = run.store;
  R = VEC3{};
  for (int i = 1; i <= s.piles.NPILES; ++i) {
    VEC3 u;
    ROW_HEAD_DISPLACEMENT_2D(s, i, U, u);
    MAT3 M;
    ROW_TRANSFER_2D(s, i, M);
    const double m = s.piles.MULTIPLICITY[i];
    const VEC3 f{0, m * model.ka * u[1], m * model.kl * u[2], m * model.kr * u[3]};
    for (int r = 1; r <= 3; ++r) R[r] += M[r][1] * f[1] + M[r][2] * f[2] + M[r][3] * f[3];
  }
  if (model.no_closure) s.an.OUTCOME = 1;
  if (model.wobble_beyond > 0.0 && U[2] > model.wobble_beyond) R[2] += model.calls % 2 ? 2.0e3 : -2.0e3;
  s.an.work.ground = model.ground;
  s.an.work.CAP_P = model.cap_p_per_defl * std::fabs(U[2]);
  return ST_OK;
}

class Cap2D : public ::testing::Test {
 protected:
  std::unique_ptr<RUN> run = std::make_unique<RUN>();

  void SetUp() override {
    RUN_RESET(*run);
    model = SPRING_MODEL{};
    model.ka = 2.0e5;
    model.kl = 1.0e4;
    model.kr = 5.0e6;
    STORE& s = run->store;
    s.ctl.UNITS_SYSTEM = 1;
    s.ctl.ANALYSIS_TYPE = 2;
    SET_UNIT_LABELS(s);
    for (int role : {F_REPORT, F_RUNTIME, F_CASE_RESULTS, F_CAP_TRACE, F_SUMMARY, F_SUMMARY_SCRATCH,
                     F_RESULTS_TABLE})
      run->files.fp[role] = std::tmpfile();
    CURRENT_CONTROLS& c = s.an.cur;
    c.MAXIT_CAP = 100;
    c.TOL_CAP = 1.0e-5;
    c.LOAD_INCREMENT = 1.0;
    c.MIN_INCREMENT = 0.01;
    c.PRINT_OPTION = 1;
  }
  void TearDown() override {
    for (FILE*& f : run->files.fp)
      if (f) {
        std::fclose(f);
        f = nullptr;
      }
  }

  // Row i: head (X, Y), batter in degrees, multiplicity.
  void row(int i, double X, double Y, double batter_deg, int n) {
    PILE_DATA& p = run->store.piles;
    p.NPILES = std::max(p.NPILES, i);
    p.PILE_X[i] = X;
    p.PILE_Y[i] = Y;
    p.ALPHA_DEG[i] = batter_deg;
    p.ALPHA[i] = batter_deg * M_PI / 180.0;
    p.NO_OF_PILE[i] = n;
    p.MULTIPLICITY[i] = n;
    p.AXIAL_FACTOR[i] = 1.0;
    p.PILE_PROP[i] = 1;
  }
  void load(double vx, double hy, double mz) {
    auto& q = run->store.loads.EQ_LOAD;
    q = {};
    q[1] = vx;
    q[2] = hy;
    q[3] = mz;
  }
  int solve(CAP_REACTION_2D reaction = spring_reaction) {
    int flag = -7;
    std::array<double, 7> lo{}, uo{};
    return CAP_SOLVE_2D_WITH(*run, 0, flag, lo, uo, reaction);
  }
  std::string text(int role) { return file_text(run->files[role]); }
  VEC3 U() const { return VEC3{0, run->store.an.U[1], run->store.an.U[2], run->store.an.U[6]}; }

  // The abutment-like group: a battered row each side of a vertical one.
  void three_rows() {
    row(1, 0.0, -96.0, -14.0, 6);
    row(2, 0.0, 0.0, 0.0, 6);
    row(3, 0.0, 96.0, 14.0, 6);
  }
};

TEST_F(Cap2D, RowHeadSeesRigidBodyMotionProjectedOnItsAxes) {
  struct CASE {
    const char* id;
    double X, Y, batter_deg;
    VEC3 U;
  } cases[] = {
      {"vertical at origin", 0, 0, 0, {0, 0.01, 0.002, 0.0}},
      {"vertical at (X,Y) rotation only", 3.0, -2.0, 0, {0, 0.0, 0.0, 0.001}},
      {"vertical at (X,Y) all three", -4.0, 7.5, 0, {0, 0.02, -0.01, 0.003}},
      {"battered 14 deg", 1.0, 96.0, 14.0, {0, 0.02, -0.01, 0.003}},
      {"battered -20 deg", 0.0, -60.0, -20.0, {0, -0.01, 0.05, -0.0005}},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    row(1, c.X, c.Y, c.batter_deg, 1);
    VEC3 u;
    ROW_HEAD_DISPLACEMENT_2D(run->store, 1, c.U, u);
    // Rigid-body head motion, then projected on the pile axis (cos b, sin b)
    // and its normal (-sin b, cos b).
    const double hx = c.U[1] - c.Y * c.U[3], hy = c.U[2] + c.X * c.U[3];
    const double b = c.batter_deg * M_PI / 180.0;
    EXPECT_NEAR(u[1], std::cos(b) * hx + std::sin(b) * hy, 1e-15);
    EXPECT_NEAR(u[2], -std::sin(b) * hx + std::cos(b) * hy, 1e-15);
    EXPECT_DOUBLE_EQ(u[3], c.U[3]);
    if (c.batter_deg == 0.0) {
      EXPECT_NEAR(u[1], c.U[1] - c.Y * c.U[3], 1e-15);
      EXPECT_NEAR(u[2], c.U[2] + c.X * c.U[3], 1e-15);
    }
  }
}

TEST_F(Cap2D, TransferMatrixCarriesHeadForcesToTheOriginAsItsTranspose) {
  // The work of the head forces on the head displacement equals the work of
  // the origin forces on the cap displacement: (M f) . U = f . (M^T U).
  row(1, 2.0, -30.0, 11.0, 1);
  MAT3 M;
  ROW_TRANSFER_2D(run->store, 1, M);
  const VEC3 U{0, 0.3, -0.2, 0.01}, f{0, 1000.0, -250.0, 4.0e4};
  VEC3 u;
  ROW_HEAD_DISPLACEMENT_2D(run->store, 1, U, u);
  double w_head = 0, w_origin = 0;
  for (int k = 1; k <= 3; ++k) {
    w_head += f[k] * u[k];
    double F = 0;
    for (int j = 1; j <= 3; ++j) F += M[k][j] * f[j];
    w_origin += F * U[k];
  }
  EXPECT_NEAR(w_head, w_origin, 1e-9 * std::fabs(w_head));
  // A vertical force N at (X, Y) gives the moment -Y N about the origin.
  row(2, 5.0, 40.0, 0.0, 1);
  ROW_TRANSFER_2D(run->store, 2, M);
  EXPECT_DOUBLE_EQ(M[3][1], -40.0);
  EXPECT_DOUBLE_EQ(M[3][2], 5.0);
}

TEST_F(Cap2D, CofactorSolutionOfAKnownSystem) {
  const MAT3 K{{{0, 0, 0, 0}, {0, 4, -2, 1}, {0, 3, 6, -4}, {0, 2, 1, 8}}};
  // x = (1, -2, 3): r = K x.
  const VEC3 r{0, 4 + 4 + 3, 3 - 12 - 12, 2 - 2 + 24};
  VEC3 x{};
  double det = 0;
  ASSERT_TRUE(SOLVE_3X3_COFACTORS(K, r, x, det));
  EXPECT_NEAR(det, 4 * (48 + 4) + 2 * (24 + 8) + 1 * (3 - 12), 1e-12);
  EXPECT_NEAR(x[1], 1.0, 1e-13);
  EXPECT_NEAR(x[2], -2.0, 1e-13);
  EXPECT_NEAR(x[3], 3.0, 1e-13);
}

TEST_F(Cap2D, CofactorSolutionRefusesADeterminantAtTheFloor) {
  MAT3 K{{{0, 0, 0, 0}, {0, 1, 2, 3}, {0, 2, 4, 6}, {0, 1, 0, 1}}};  // rows 1 and 2 dependent
  VEC3 x{0, 9, 9, 9};
  double det = 1;
  EXPECT_FALSE(SOLVE_3X3_COFACTORS(K, VEC3{0, 1, 1, 1}, x, det));
  EXPECT_EQ(x[1], 9.0);  // untouched
  // A tiny but regular matrix: det 1e-15 is below the floor, 1e-12 above.
  K = MAT3{};
  K[1][1] = 1e-5;
  K[2][2] = 1e-5;
  K[3][3] = 1e-5;
  EXPECT_FALSE(SOLVE_3X3_COFACTORS(K, VEC3{0, 1, 1, 1}, x, det));
  K[3][3] = 1e-2;
  EXPECT_TRUE(SOLVE_3X3_COFACTORS(K, VEC3{0, 1, 1, 1}, x, det));
}

TEST_F(Cap2D, StepSizesDependOnTheUnitsSystem) {
  VEC3 st;
  CAP_STEPS_2D(run->store, st);
  EXPECT_EQ(st[1], double(1.0E-5f));
  EXPECT_EQ(st[2], double(1.0E-5f));
  EXPECT_EQ(st[3], double(1.0E-8f));
  run->store.ctl.UNITS_SYSTEM = 2;
  CAP_STEPS_2D(run->store, st);
  EXPECT_EQ(st[1], double(2.54E-7f));
  EXPECT_EQ(st[2], double(2.54E-7f));
  EXPECT_EQ(st[3], double(1.0E-8f));
}

TEST_F(Cap2D, MomentOfACombinationMovesToSlot3) {
  run->store.loads.EQ_LOAD = {0, 100.0, 20.0, 0.0, 0.0, 0.0, -3.0e4};
  MOVE_MOMENT_TO_SLOT_3(run->store);
  const auto& q = run->store.loads.EQ_LOAD;
  EXPECT_EQ(q[1], 100.0);
  EXPECT_EQ(q[2], 20.0);
  EXPECT_EQ(q[3], -3.0e4);
  EXPECT_EQ(q[4], 0.0);
}

TEST_F(Cap2D, PassiveForceIsZeroWithTheGroundAtOrBelowTheHeads) {
  row(1, 0.0, -96.0, 0.0, 3);
  row(2, 1.5, 96.0, 0.0, 3);
  run->store.piles.CAP_THICKNESS = 36.0;
  run->store.an.work.CAP_P = 50.0;
  for (double g : {0.0, 10.0, double(-1.0E-6f)}) {
    SCOPED_TRACE(g);
    run->store.an.work.ground = g;
    VEC3 P{0, 9, 9, 9};
    double F = 9, pos = 9;
    PASSIVE_FORCE_2D(*run, VEC3{0, 0.1, 0.5, 0.0}, P, F, pos);
    EXPECT_EQ(P[1], 0.0);
    EXPECT_EQ(P[2], 0.0);
    EXPECT_EQ(P[3], 0.0);
    EXPECT_EQ(F, 0.0);
    EXPECT_EQ(pos, 1.5);  // the X of the last row
  }
}

TEST_F(Cap2D, PassiveForceOfAPartlyAndAFullyEmbeddedCap) {
  row(1, 2.0, 0.0, 0.0, 1);
  run->store.piles.CAP_THICKNESS = 30.0;
  PILE_WORK& w = run->store.an.work;
  w.CAP_P = 60.0;
  // Ground 20 above the heads, cap 30 thick: triangle of height 20.
  w.ground = -20.0;
  VEC3 P;
  double F, pos;
  PASSIVE_FORCE_2D(*run, VEC3{0, 0, 0.2, 0}, P, F, pos);
  EXPECT_DOUBLE_EQ(F, 0.5 * 20 * 60);
  EXPECT_DOUBLE_EQ(P[2], -F);  // opposes the movement
  EXPECT_DOUBLE_EQ(P[3], 0.5 * 20 * 60 * (20.0 / 3 - 2.0));
  EXPECT_DOUBLE_EQ(pos, 2.0 - (60 * 400.0 / 6) / F);
  // Moving the other way turns force and moment.
  VEC3 Q;
  PASSIVE_FORCE_2D(*run, VEC3{0, 0, -0.2, 0}, Q, F, pos);
  EXPECT_DOUBLE_EQ(Q[2], -P[2]);
  EXPECT_DOUBLE_EQ(Q[3], -P[3]);
  EXPECT_DOUBLE_EQ(F, -0.5 * 20 * 60);
  // Ground 50 above: trapezoid over the cap thickness 30.
  w.ground = -50.0;
  PASSIVE_FORCE_2D(*run, VEC3{0, 0, 0.2, 0}, P, F, pos);
  const double e = 20.0 * 60 / 50;
  EXPECT_DOUBLE_EQ(F, 0.5 * 30 * (e + 60));
  EXPECT_DOUBLE_EQ(P[3], 30 * e * (15 - 2.0) + 0.5 * 30 * (60 - e) * (10 - 2.0));
  // No soil resistance at the face: no force, and a finite position.
  w.CAP_P = 0.0;
  PASSIVE_FORCE_2D(*run, VEC3{0, 0, 0.2, 0}, P, F, pos);
  EXPECT_EQ(F, 0.0);
  EXPECT_EQ(pos, 2.0);
}

// Input p-y curves (one linear curve, subgrade modulus 1000 force/length^2)
// and the group multipliers at 1, for the rows' lateral solutions.
void linear_py_curves(STORE& s) {
  PILE_DATA_DEFAULTS(s.piles);
  s.ctl.USER_PY = 1;
  s.ctl.USER_PY_PRESENT = true;
  s.soil.NPYSETS = 1;
  s.soil.PY_SETS[1].NPYCURVES = 1;
  s.soil.PY_SETS[1].CURVE[1].NPOINTS = 2;
  s.soil.PY_SETS[1].CURVE[1].Y = {0.0, 0.0, 1.0};
  s.soil.PY_SETS[1].CURVE[1].P = {0.0, 0.0, 1000.0};
  for (int i = 1; i <= MAX_PILES; ++i) s.piles.PY_SET[i] = 1;
}

// A user load-settlement curve for every row: (-0.5,-100) (-0.1,-60) (0,0)
// (0.1,80) (0.5,200).
void user_curve(STORE& s) {
  s.soil.NLSCURVES = 1;
  USER_LS_CURVE& c = s.soil.LS_CURVES[1];
  c.NPOINTS = 5;
  const double d[] = {-0.5, -0.1, 0.0, 0.1, 0.5}, q[] = {-100, -60, 0, 80, 200};
  for (int k = 0; k < 5; ++k) {
    c.DISP[k + 1] = d[k];
    c.LOAD[k + 1] = q[k];
  }
  for (int i = 1; i <= s.piles.NPILES; ++i) s.piles.LS_SET[i] = 1;
}

TEST_F(Cap2D, AxialHeadForceFollowsTheLoadSettlementCurve) {
  row(1, 0.0, 0.0, 0.0, 1);
  user_curve(run->store);
  struct CASE {
    double a, N;
  } cases[] = {
      {0.0, 0.0},      {1.0e-15, 8.0e-13}, {0.05, 40.0},  {0.1, 80.0},   {0.3, 140.0},
      {0.5, 200.0},    {-0.5, -100.0},    {-0.3, -80.0}, {0.6, 0.0},    {-0.6, 0.0},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.a);
    int st = -1;
    EXPECT_NEAR(AXIAL_HEAD_FORCE_2D(*run, 1, c.a, st), c.N, 1e-12);
    EXPECT_EQ(st, ST_OK);
  }
  // Outside the curve nothing is recorded unless recording is on.
  EXPECT_EQ(run->store.an.N_FAIL_BEARING, 0);
  EXPECT_EQ(run->store.an.N_FAIL_PULLOUT, 0);
}

TEST_F(Cap2D, AxialFailuresAreRecordedWithTheirLimits) {
  row(1, 0.0, 0.0, 0.0, 1);
  row(2, 0.0, 10.0, 0.0, 1);
  user_curve(run->store);
  run->files.fp[F_FAIL_WARNINGS] = std::tmpfile();
  run->store.an.WARN_RECORDING = 1;
  int st;
  EXPECT_EQ(AXIAL_HEAD_FORCE_2D(*run, 2, 0.75, st), 0.0);
  EXPECT_EQ(AXIAL_HEAD_FORCE_2D(*run, 1, -0.625, st), 0.0);
  EXPECT_EQ(run->store.an.N_FAIL_BEARING, 1);
  EXPECT_EQ(run->store.an.N_FAIL_PULLOUT, 1);
  EXPECT_EQ(text(F_FAIL_WARNINGS),
            "\n"
            "     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    2\n"
            "                    AX. DISP.=  0.7500E+00 >   0.5000E+00     AX. FORCE=  0.0000E+00\n"
            "\n"
            "     ** WARNING **  APPARENT FAILURE IN PULL OUT      PILE GROUP    1\n"
            "                    AX. DISP.= -0.6250E+00 >  -0.5000E+00     AX. FORCE=  0.0000E+00\n");
}

TEST_F(Cap2D, GroupReactionCountsEveryPileOfARow) {
  // Two vertical rows at heads X = 0, Y = -50 (3 piles) and Y = +50 (1 pile),
  // pushed down without rotation or lateral movement: only axial forces.
  row(1, 0.0, -50.0, 0.0, 3);
  row(2, 0.0, 50.0, 0.0, 1);
  STORE& s = run->store;
  user_curve(s);
  s.piles.PROP[1].INC = 10;
  s.piles.PROP[1].LENGTH = 100.0;
  s.soil.NL = 1;
  s.soil.LAYER_TOP[1] = 0.0;
  s.soil.LAYER_BOTTOM[1] = 1000.0;
  linear_py_curves(s);
  s.an.cur.MAXIT_PILE = 100;
  s.an.cur.TOL_PILE = 1.0e-8;
  s.piles.PROP[1].NSECT = 1;
  s.piles.PROP[1].SECT[1].SECT_TO = 100.0;
  s.piles.PROP[1].SECT[1].E_MOD = 2.9e7;
  s.piles.PROP[1].SECT[1].TOP[XS_IZ] = s.piles.PROP[1].SECT[1].BOT[XS_IZ] = 729.0;
  VEC3 R{};
  ASSERT_EQ(CAP_RESISTANCE_2D(*run, VEC3{0, 0.05, 0.0, 0.0}, R), ST_OK);
  EXPECT_NEAR(R[1], 4 * 40.0, 1e-9);
  EXPECT_NEAR(R[2], 0.0, 1e-9);
  EXPECT_NEAR(R[3], -(-50.0) * 3 * 40.0 - 50.0 * 40.0, 1e-7);
  // The axial-load factor scales the row's force.
  s.piles.AXIAL_FACTOR[2] = 0.5;
  ASSERT_EQ(CAP_RESISTANCE_2D(*run, VEC3{0, 0.05, 0.0, 0.0}, R), ST_OK);
  EXPECT_NEAR(R[1], 3 * 40.0 + 20.0, 1e-9);
}

// Solves the linear group directly: sum of m M diag(k) M^T, for comparison.
VEC3 linear_solution(const STORE& s, const VEC3& L) {
  MAT3 K{};
  for (int i = 1; i <= s.piles.NPILES; ++i) {
    MAT3 M;
    ROW_TRANSFER_2D(s, i, M);
    const double m = s.piles.MULTIPLICITY[i];
    const double k[4] = {0, model.ka, model.kl, model.kr};
    for (int a = 1; a <= 3; ++a)
      for (int b = 1; b <= 3; ++b)
        for (int j = 1; j <= 3; ++j) K[a][b] += m * M[a][j] * k[j] * M[b][j];
  }
  // Gaussian elimination, independent of the cofactor solver.
  double A[3][4];
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) A[a][b] = K[a + 1][b + 1];
    A[a][3] = L[a + 1];
  }
  for (int p = 0; p < 3; ++p)
    for (int a = p + 1; a < 3; ++a) {
      const double f = A[a][p] / A[p][p];
      for (int b = p; b < 4; ++b) A[a][b] -= f * A[p][b];
    }
  VEC3 x{};
  for (int a = 2; a >= 0; --a) {
    double v = A[a][3];
    for (int b = a + 1; b < 3; ++b) v -= A[a][b] * x[b + 1];
    x[a + 1] = v / A[a][a];
  }
  return x;
}

TEST_F(Cap2D, LinearRowsBalanceTheLoad) {
  three_rows();
  load(9.0e5, 1.2e5, -1.5e6);
  ASSERT_EQ(solve(), ST_OK);
  const ANALYSIS& an = run->store.an;
  EXPECT_EQ(an.OUTCOME, 0);
  EXPECT_EQ(an.FRACTION, 1.0);
  const VEC3 x = linear_solution(run->store, VEC3{0, 9.0e5, 1.2e5, -1.5e6});
  for (int k = 1; k <= 3; ++k) EXPECT_NEAR(U()[k], x[k], 1e-6 * std::fabs(x[k]) + 1e-12) << k;
  // Equilibrium: the row reactions at the origin balance the load.
  VEC3 R;
  spring_reaction(*run, U(), R);
  EXPECT_NEAR(R[1], 9.0e5, 1.0);
  EXPECT_NEAR(R[2], 1.2e5, 1.0);
  EXPECT_NEAR(R[3], -1.5e6, 10.0);
  EXPECT_NE(text(F_CASE_RESULTS).find("    1 ANALYSIS COMPLETED"), std::string::npos);
  const std::string rep = text(F_REPORT);
  EXPECT_NE(rep.find("* TABLE L *   COMPUTATION ON PILE CAP"), std::string::npos);
  EXPECT_NE(rep.find("VERT. LOAD, LBS    HORI. LOAD, LBS    MOMENT,"), std::string::npos);
  // The load and the displacement of Table L, the moment and rotation last.
  EXPECT_NE(rep.find("                 9.00000E+05       1.20000E+05      -1.50000E+06 \n"), std::string::npos);
  EXPECT_NE(rep.find("NUMBER OF ITERATIONS = "), std::string::npos);
  EXPECT_NE(rep.find("* TABLE M *   COMPUTATION ON INDIVIDUAL PILE"), std::string::npos);
  EXPECT_EQ(run->store.an.PRINTED, 1);
}

TEST_F(Cap2D, MultiplicityScalesTheCapStiffness) {
  // One row of 3 piles moves as three rows of 1 at the same place would.
  row(1, 0.0, 0.0, 0.0, 3);
  row(2, 0.0, 40.0, 10.0, 3);
  load(3.0e5, 2.0e4, 1.0e5);
  ASSERT_EQ(solve(), ST_OK);
  const VEC3 with3 = U();
  run->store.piles.MULTIPLICITY[1] = run->store.piles.MULTIPLICITY[2] = 1;
  load(1.0e5, 2.0e4 / 3, 1.0e5 / 3);
  ASSERT_EQ(solve(), ST_OK);
  for (int k = 1; k <= 3; ++k) EXPECT_NEAR(U()[k], with3[k], 1e-9 * std::fabs(with3[k]) + 1e-15) << k;
}

TEST_F(Cap2D, ZeroLoadConvergesAtTheSecondIterationByTheFloors) {
  three_rows();
  load(0, 0, 0);
  ASSERT_EQ(solve(), ST_OK);
  EXPECT_EQ(run->store.an.CAP_ITERATIONS, 2);
  EXPECT_EQ(run->store.an.OUTCOME, 0);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(run->store.an.U[k], 0.0);
  EXPECT_NE(text(F_CASE_RESULTS).find("    1 ANALYSIS COMPLETED"), std::string::npos);
}

TEST_F(Cap2D, LoadFractionsLandExactlyOnTheFullLoad) {
  three_rows();
  load(9.0e5, 1.2e5, -1.5e6);
  run->store.an.cur.LOAD_INCREMENT = 0.3;
  ASSERT_EQ(solve(), ST_OK);
  const std::string rt = text(F_RUNTIME);
  for (const char* line : {"STEP     1, TCUR     0.3000", "STEP     2, TCUR     0.6000", "STEP     3, TCUR     0.9000",
                           "STEP     4, TCUR     1.0000, DTCUR     0.3000"})
    EXPECT_NE(rt.find(line), std::string::npos) << line;
  EXPECT_EQ(rt.find("STEP     5"), std::string::npos);
  EXPECT_EQ(run->store.an.FRACTION, 1.0);
}

TEST_F(Cap2D, IncrementsThatCouldNeverEndAreBounded) {
  // A load increment of 0 would never advance the load fraction and a
  // minimum increment of 0 would halve forever; both end.
  three_rows();
  struct CASE {
    const char* id;
    double inc, min_inc;
    bool no_closure;
    int outcome;
  } cases[] = {
      {"zero increment", 0.0, 0.01, false, 0},
      {"negative increment", -0.5, 0.01, false, 0},
      {"zero minimum, rows never close", 0.5, 0.0, true, 1},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    model.no_closure = c.no_closure;
    run->store.an.cur.LOAD_INCREMENT = c.inc;
    run->store.an.cur.MIN_INCREMENT = c.min_inc;
    load(9.0e5, 1.2e5, -1.5e6);
    ASSERT_EQ(solve(), ST_OK);
    EXPECT_EQ(run->store.an.OUTCOME, c.outcome);
    EXPECT_EQ(run->store.an.FRACTION, c.outcome == 0 ? 1.0 : 0.0);
  }
}

TEST_F(Cap2D, ResultsOfThePartialLoadWhenALaterStepIsAbandoned) {
  three_rows();
  const VEC3 L{0, 9.0e5, 1.2e5, -1.5e6};
  const VEC3 x = linear_solution(run->store, L);
  model.wobble_beyond = 0.65 * x[2];  // between the displacements at 0.6 and at 0.75
  CURRENT_CONTROLS& c = run->store.an.cur;
  c.LOAD_INCREMENT = 0.3;
  c.MIN_INCREMENT = 0.1;
  c.MAXIT_CAP = 5;
  load(L[1], L[2], L[3]);
  ASSERT_EQ(solve(), ST_OK);
  EXPECT_EQ(run->store.an.FRACTION, 0.6);
  // Table L shows 60 % of the load and the displacement found for it.
  for (int k = 1; k <= 3; ++k) EXPECT_NEAR(U()[k], 0.6 * x[k], 1e-6 * std::fabs(x[k])) << k;
  EXPECT_EQ(run->store.loads.EQ_LOAD[1], 0.6 * L[1]);
  EXPECT_EQ(run->store.loads.EQ_LOAD[6], 0.6 * L[3]);
  const std::string rep = text(F_REPORT);
  EXPECT_NE(rep.find("     ** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,    5  ITERATIONS"), std::string::npos);
  EXPECT_NE(rep.find("  KESTRA COULD NOT GET SOLUTION FOR 100% OF THE LOAD\n"
                     "                      RESULTS ARE FOR    60.00% OF THE TOTAL LOAD"),
            std::string::npos);
  EXPECT_NE(text(F_CASE_RESULTS).find("    2 SOLUTION AT    60.00 % OF THE TOTAL LOAD"), std::string::npos);
  // Steps 0.3 and 0.6, then 0.9 retried at 0.75 and abandoned.
  const std::string rt = text(F_RUNTIME);
  EXPECT_NE(rt.find("STEP     3, TCUR     0.9000, DTCUR     0.3000"), std::string::npos);
  EXPECT_NE(rt.find("STEP     3, TCUR     0.7500, DTCUR     0.1500"), std::string::npos);
  EXPECT_EQ(rt.find("STEP     4"), std::string::npos);
}

// The spring model, with row 1 pulled out of and row 2 pushed beyond their
// load-settlement curve in every evaluation (pull-out recorded first).
int failing_rows_reaction(RUN& run, const VEC3& U, VEC3& R) {
  int st;
  AXIAL_HEAD_FORCE_2D(run, 1, -5.0, st);
  AXIAL_HEAD_FORCE_2D(run, 2, 5.0, st);
  return spring_reaction(run, U, R);
}

TEST_F(Cap2D, FailureWarningsOfTheLastEvaluationAreCopiedBearingFirst) {
  three_rows();
  user_curve(run->store);
  load(9.0e5, 1.2e5, -1.5e6);
  ASSERT_EQ(solve(failing_rows_reaction), ST_OK);
  EXPECT_EQ(run->store.an.OUTCOME, 3);
  const std::string rep = text(F_REPORT);
  const size_t general_b = rep.find("     ** WARNING **  SOME PILES, MAY FAIL IN BEARING!\n"
                                    "                    AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN\n"
                                    "                    MAXIMUM DISPLACEMENT DEFINED IN LOAD-SETTLEMENT CURVE\n");
  const size_t general_p = rep.find("     ** WARNING **  SOME PILES, MAY FAIL IN PULL OUT!\n"
                                    "                    AXIAL DISPLACEMENT ESTIMATED IS SMALLER THAN\n"
                                    "                    MINIMUM DISPLACEMENT DEFINED IN LOAD-SETTLEMENT CURVE\n");
  const size_t bearing = rep.find("APPARENT FAILURE IN BEARING    ,  PILE GROUP    2\n"
                                  "                    AX. DISP.=  0.5000E+01 >   0.5000E+00");
  const size_t pullout = rep.find("APPARENT FAILURE IN PULL OUT      PILE GROUP    1\n"
                                  "                    AX. DISP.= -0.5000E+01 >  -0.5000E+00");
  ASSERT_NE(general_b, std::string::npos);
  ASSERT_NE(general_p, std::string::npos);
  ASSERT_NE(bearing, std::string::npos);
  ASSERT_NE(pullout, std::string::npos);
  EXPECT_LT(general_b, general_p);
  EXPECT_LT(general_p, bearing);
  EXPECT_LT(bearing, pullout);
  // Only the warnings of the last evaluation: each once.
  EXPECT_EQ(rep.find("APPARENT FAILURE IN BEARING", bearing + 1), std::string::npos);
  // Warnings are not a failure: the results follow.
  EXPECT_NE(rep.find("* TABLE L *", pullout), std::string::npos);
  EXPECT_NE(text(F_CASE_RESULTS).find("    1 ANALYSIS COMPLETED"), std::string::npos);
  const std::string rt = text(F_RUNTIME);
  EXPECT_NE(rt.find("     ** WARNING **  SOME PILES, MAY FAIL IN BEARING!\n\n"), std::string::npos);
  EXPECT_LT(rt.find("FAILURE IN BEARING    ,"), rt.find("FAILURE IN PULL OUT "));
}

TEST_F(Cap2D, TraceRecordsOfEveryIteration) {
  row(1, 0.0, 0.0, 0.0, 2);
  load(1.0e5, 0.0, 0.0);
  ASSERT_EQ(solve(), ST_OK);
  std::vector<std::string> lines;
  {
    std::istringstream in(text(F_CAP_TRACE));
    std::string l;
    while (std::getline(in, l)) lines.push_back(l);
  }
  // Two iterations of 11 records each: a blank line, the counter, three
  // stiffness rows and six vectors.
  ASSERT_EQ(lines.size(), 22u);
  const char* tags[] = {"SS  1", "SS  2", "SS  3", "DDV  ", "DFV  ", "UDV  ", "DV   ", "FV   ", "RV   "};
  for (int it = 0; it < 2; ++it) {
    SCOPED_TRACE(it);
    EXPECT_EQ(lines[11 * it], "");
    EXPECT_EQ(std::stoi(lines[11 * it + 1]), it + 1);
    for (int k = 0; k < 9; ++k) {
      const std::string& l = lines[11 * it + 2 + k];
      EXPECT_EQ(l.rfind(tags[k], 0), 0u) << l;
      EXPECT_EQ(l.size(), 5u + 3 * 18) << l;
    }
  }
  // The stiffness of two piles of axial stiffness ka, and the first
  // correction that reaches the linear solution.
  EXPECT_EQ(lines[2], FORMAT("('SS  ',I1,7E18.10)", {1, 2 * model.ka, 0.0, 0.0}).substr(0, lines[2].size()));
  EXPECT_NE(lines[5].find(FORMAT("(E18.10)", {1.0e5 / (2 * model.ka)}).substr(0, 18)), std::string::npos);
}

TEST_F(Cap2D, SingularStiffnessWarnsAndFailsTheCase) {
  // Vertical rows all at Y = 0 without rotational springs: rotation and
  // horizontal movement have stiffness, but a single vertical row with no
  // lateral or rotational spring leaves two directions free.
  row(1, 0.0, 0.0, 0.0, 2);
  model.kl = 0.0;
  model.kr = 0.0;
  load(1.0e5, 0.0, 0.0);
  ASSERT_EQ(solve(), ST_OK);
  EXPECT_EQ(run->store.an.OUTCOME, 2);
  const std::string rep = text(F_REPORT);
  EXPECT_NE(rep.find("     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO"), std::string::npos);
  EXPECT_EQ(rep.find("PILE CAP DISPL DOES NOT CONVERGE"), std::string::npos);
  EXPECT_EQ(rep.find("* TABLE L *"), std::string::npos);
  EXPECT_NE(text(F_CASE_RESULTS).find("    7 SINGULAR STIFFNESS MATRIX "), std::string::npos);
  EXPECT_EQ(text(F_CASE_RESULTS).find("ANALYSIS COMPLETED"), std::string::npos);
}

TEST_F(Cap2D, RowsThatNeverCloseAreNeverTakenAsConverged) {
  three_rows();
  model.no_closure = true;
  load(9.0e5, 1.2e5, -1.5e6);
  run->store.an.cur.LOAD_INCREMENT = 0.5;
  run->store.an.cur.MIN_INCREMENT = 0.1;
  ASSERT_EQ(solve(), ST_OK);
  EXPECT_EQ(run->store.an.OUTCOME, 1);
  const std::string cr = text(F_CASE_RESULTS);
  EXPECT_NE(cr.find("    6 NO CONVERGENCE ON PILES   "), std::string::npos);
  EXPECT_EQ(cr.find("ANALYSIS COMPLETED"), std::string::npos);
  EXPECT_EQ(cr.find("SOLUTION AT"), std::string::npos);
  // Halved 0.5 -> 0.25 -> 0.125 -> 0.0625 < 0.1, each after one evaluation.
  const std::string rt = text(F_RUNTIME);
  EXPECT_NE(rt.find("PILE CAP DISPL DOES NOT CONVERGE AFTER,  100  ITERATIONS"), std::string::npos);
  EXPECT_EQ(model.calls, 3);
  EXPECT_EQ(text(F_REPORT).find("* TABLE L *"), std::string::npos);
}

TEST_F(Cap2D, PassiveResistanceActsForCapOption1Only) {
  three_rows();
  run->store.piles.CAP_THICKNESS = 36.0;
  model.ground = -48.0;
  model.cap_p_per_defl = 400.0;
  load(9.0e5, 1.2e5, -1.5e6);
  run->store.ctl.CAP_OPTION = 0;
  ASSERT_EQ(solve(), ST_OK);
  const VEC3 bare = U();
  run->store.ctl.CAP_OPTION = 2;
  load(9.0e5, 1.2e5, -1.5e6);
  ASSERT_EQ(solve(), ST_OK);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(U()[k], bare[k]);
  EXPECT_EQ(text(F_REPORT).find("PASIVE RESISTANCE"), std::string::npos);

  run->store.ctl.CAP_OPTION = 1;
  load(9.0e5, 1.2e5, -1.5e6);
  ASSERT_EQ(solve(), ST_OK);
  const VEC3 emb = U();
  EXPECT_LT(emb[2], bare[2]);  // the passive earth pressure holds the cap back
  // Equilibrium with the passive force: rows + passive = load.
  VEC3 R, P;
  spring_reaction(*run, emb, R);
  double F, pos;
  PASSIVE_FORCE_2D(*run, emb, P, F, pos);
  EXPECT_NEAR(R[1] - P[1], 9.0e5, 1.0);
  EXPECT_NEAR(R[2] - P[2], 1.2e5, 1.0);
  EXPECT_NEAR(R[3] - P[3], -1.5e6, 20.0);
  EXPECT_GT(F, 0.0);
  EXPECT_NE(text(F_REPORT).find("* PASIVE RESISTANCE IN PILE CAP *"), std::string::npos);
  // The printed load is the applied load, without the passive part.
  EXPECT_EQ(run->store.loads.EQ_LOAD[2], 1.2e5);
  EXPECT_EQ(run->store.loads.EQ_LOAD[6], -1.5e6);
}

TEST_F(Cap2D, PyPhaseIsHandedBackAndCleared) {
  three_rows();
  load(0, 0, 0);
  run->store.py.PY_PHASE = -1;
  int flag = 0;
  std::array<double, 7> lo{}, uo{};
  ASSERT_EQ(CAP_SOLVE_2D_WITH(*run, 1, flag, lo, uo, spring_reaction), ST_OK);
  EXPECT_EQ(flag, -1);
  EXPECT_EQ(run->store.py.PY_PHASE, 0);
}

TEST_F(Cap2D, StopRequestEndsTheSolutionAtOnce) {
  const auto dir = kestra_test::scratch_dir("cap2d_stop");
  run->files.name[F_STOP_REQUEST] = (dir / "stop.dat").string();
  run->files.name[F_PROGRESS] = (dir / "progress.dat").string();
  kestra_test::write_file(dir / "stop.dat", "1\n");
  three_rows();
  load(9.0e5, 1.2e5, -1.5e6);
  EXPECT_EQ(solve(), ST_STOPPED);
  EXPECT_EQ(model.calls, 0);
  EXPECT_EQ(text(F_CASE_RESULTS), "");
  const std::string progress = kestra_test::read_file(dir / "progress.dat");
  EXPECT_NE(progress.find("- ANALYSIS FOR LOAD CASE   0/  0\n STEP:    1 TCUR:    1.0000 ITERATION:    1"),
            std::string::npos);
}

}  // namespace

namespace {

// The same foundation as a 3D group and as a 2D model: four vertical piles
// at (0, +-60, +-40) and two rows of two piles at (0, +-60), with a common
// nonlinear load-settlement curve, loaded in the X-Y plane.
class Cap2DAgainst3D : public ::testing::Test {
 protected:
  std::unique_ptr<RUN> run = std::make_unique<RUN>();

  void SetUp() override {
    RUN_RESET(*run);
    STORE& s = run->store;
    s.ctl.UNITS_SYSTEM = 1;
    SET_UNIT_LABELS(s);
    for (int role : {F_REPORT, F_RUNTIME, F_CASE_RESULTS, F_CAP_TRACE, F_SUMMARY, F_SUMMARY_SCRATCH,
                     F_RESULTS_TABLE})
      run->files.fp[role] = std::tmpfile();
    CURRENT_CONTROLS& c = s.an.cur;
    c.MAXIT_CAP = 100;
    c.MAXIT_PILE = 100;
    c.TOL_CAP = 1.0e-8;
    c.TOL_PILE = 1.0e-8;
    c.LOAD_INCREMENT = 0.5;
    c.MIN_INCREMENT = 0.01;
    PILE_PROPERTY& pr = s.piles.PROP[1];
    s.piles.NPROP = 1;
    pr.NSECT = 1;
    pr.INC = 20;
    pr.LENGTH = 400.0;
    pr.SECT[1].SECT_FROM = 0.0;
    pr.SECT[1].SECT_TO = 400.0;
    pr.SECT[1].E_MOD = 2.9e7;
    pr.SECT[1].TOP[XS_IZ] = pr.SECT[1].BOT[XS_IZ] = 729.0;
    pr.SECT[1].TOP[XS_IY] = pr.SECT[1].BOT[XS_IY] = 729.0;
    pr.SECT[1].TOP[XS_AREA] = pr.SECT[1].BOT[XS_AREA] = 21.4;
    s.soil.NL = 1;
    s.soil.LAYER_TOP[1] = 0.0;
    s.soil.LAYER_BOTTOM[1] = 1000.0;
    linear_py_curves(s);
    s.soil.NLSCURVES = 1;
    USER_LS_CURVE& ls = s.soil.LS_CURVES[1];
    const double d[] = {-2.0, -0.2, 0.0, 0.1, 0.4, 2.0}, q[] = {-1.5e5, -1.0e5, 0.0, 1.2e5, 2.4e5, 3.0e5};
    ls.NPOINTS = 6;
    for (int k = 0; k < 6; ++k) {
      ls.DISP[k + 1] = d[k];
      ls.LOAD[k + 1] = q[k];
    }
    s.soil.NTRCURVES = 1;
    USER_TR_CURVE& tr = s.soil.TR_CURVES[1];
    tr.NPOINTS = 2;
    tr.ROTATION[1] = -1.0;
    tr.ROTATION[2] = 1.0;
    tr.MOMENT[1] = -1.0e6;
    tr.MOMENT[2] = 1.0e6;
  }
  void TearDown() override {
    for (FILE*& f : run->files.fp)
      if (f) {
        std::fclose(f);
        f = nullptr;
      }
  }
  void pile(int i, double Y, double Z, int n) {
    PILE_DATA& p = run->store.piles;
    p.NPILES = std::max(p.NPILES, i);
    p.PILE_X[i] = 0.0;
    p.PILE_Y[i] = Y;
    p.PILE_Z[i] = Z;
    p.ALPHA[i] = 0.0;
    p.BETA[i] = run->store.ctl.ANALYSIS_TYPE == 3 ? M_PI / 2 : 0.0;
    p.MULTIPLICITY[i] = n;
    p.NO_OF_PILE[i] = n;
    p.AXIAL_FACTOR[i] = 1.0;
    p.PILE_PROP[i] = 1;
    p.LS_SET[i] = 1;
    p.PY_SET[i] = 1;
    p.TR_SET[i] = run->store.ctl.ANALYSIS_TYPE == 3 ? 1 : 0;
    p.CONNECTY[i] = 2;
    p.CONNECTZ[i] = run->store.ctl.ANALYSIS_TYPE == 3 ? 2 : 0;
  }
};

TEST_F(Cap2DAgainst3D, SameCapDisplacementsAndPileForces) {
  // Pile forces 150000 +- 16667 per pile: on the second segment of the curve.
  const double V = 6.0e5, H = 2.0e4, M = -4.0e6;
  STORE& s = run->store;
  int flag = 0;
  VEC6 lo{}, uo{};

  s.ctl.ANALYSIS_TYPE = 3;
  pile(1, -60.0, -40.0, 1);
  pile(2, -60.0, 40.0, 1);
  pile(3, 60.0, -40.0, 1);
  pile(4, 60.0, 40.0, 1);
  s.loads.EQ_LOAD = VEC6{0, V, H, 0, 0, 0, M};
  ASSERT_EQ(CAP_SOLVE_3D(*run, 0, flag, lo, uo), ST_OK);
  ASSERT_EQ(s.an.OUTCOME, 0);
  const VEC6 U3 = s.an.U;
  VEC6 R3;
  ASSERT_EQ(CAP_RESISTANCE(*run, U3, R3), ST_OK);

  TearDown();
  SetUp();
  s.ctl.ANALYSIS_TYPE = 2;
  pile(1, -60.0, 0.0, 2);
  pile(2, 60.0, 0.0, 2);
  s.loads.EQ_LOAD = VEC6{0, V, H, 0, 0, 0, M};
  MOVE_MOMENT_TO_SLOT_3(s);
  ASSERT_EQ(CAP_SOLVE_2D(*run, 0, flag, lo, uo), ST_OK);
  ASSERT_EQ(s.an.OUTCOME, 0);
  const VEC6 U2 = s.an.U;
  VEC3 R2;
  ASSERT_EQ(CAP_RESISTANCE_2D(*run, VEC3{0, U2[1], U2[2], U2[6]}, R2), ST_OK);

  // The cap moves alike; the 3D group stays in its plane.
  for (int k : {1, 2, 6}) EXPECT_NEAR(U2[k], U3[k], 1e-4 * std::fabs(U3[k])) << k;
  for (int k : {3, 4, 5}) EXPECT_NEAR(U3[k], 0.0, 1e-9) << k;
  // Reactions: the 3D one acts on the cap (opposite sign convention).
  EXPECT_NEAR(R2[1], -R3[1], 1e-4 * std::fabs(V));
  EXPECT_NEAR(R2[2], -R3[2], 1e-4 * std::fabs(H));
  EXPECT_NEAR(R2[3], -R3[6], 1e-4 * std::fabs(M));
  // And both balance the load.
  EXPECT_NEAR(R2[1], V, 1e-4 * V);
  EXPECT_NEAR(R2[2], H, 1e-4 * H);
  EXPECT_NEAR(R2[3], M, 1e-4 * std::fabs(M));
}

TEST_F(Cap2DAgainst3D, BatteredRowsBalanceTheLoadAtEveryFraction) {
  STORE& s = run->store;
  s.ctl.ANALYSIS_TYPE = 2;
  pile(1, -96.0, 0.0, 6);
  pile(2, 0.0, 0.0, 6);
  pile(3, 96.0, 0.0, 6);
  s.piles.ALPHA[1] = -14.0 * M_PI / 180;
  s.piles.ALPHA[3] = 14.0 * M_PI / 180;
  s.piles.PILE_X[3] = 6.0;  // heads at two levels
  s.an.cur.LOAD_INCREMENT = 0.3;
  const VEC3 L{0, 1.8e6, 1.2e5, -1.5e6};
  for (int variant = 0; variant < 2; ++variant) {
    SCOPED_TRACE(variant);
    s.an.cur.TOL_CAP = variant == 0 ? 1.0e-8 : 1.0e-3;
    s.loads.EQ_LOAD = VEC6{0, L[1], L[2], L[3], 0, 0, 0};
    int flag = 0;
    VEC6 lo{}, uo{};
    ASSERT_EQ(CAP_SOLVE_2D(*run, 0, flag, lo, uo), ST_OK);
    ASSERT_EQ(s.an.OUTCOME, 0);
    ASSERT_EQ(s.an.FRACTION, 1.0);
    VEC3 R;
    ASSERT_EQ(CAP_RESISTANCE_2D(*run, VEC3{0, s.an.U[1], s.an.U[2], s.an.U[6]}, R), ST_OK);
    // The tolerance on the cap movement bounds the residual.
    const double tol = variant == 0 ? 1e-6 : 1e-2;
    EXPECT_NEAR(R[1], L[1], tol * std::fabs(L[1]));
    EXPECT_NEAR(R[2], L[2], tol * std::fabs(L[1]));
    EXPECT_NEAR(R[3], L[3], tol * std::fabs(L[1]) * 96.0);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(lo[k], L[k]);
  }
}

}  // namespace

namespace {

TEST_F(Cap2DAgainst3D, PrintingPassKeepsTheReactionAndPrintsForcesAboutTheOrigin) {
  STORE& s = run->store;
  s.ctl.ANALYSIS_TYPE = 2;
  pile(1, -96.0, 0.0, 6);
  pile(2, 96.0, 0.0, 2);
  s.piles.ALPHA[2] = 14.0 * M_PI / 180;
  s.piles.PILE_X[2] = 12.0;
  s.an.cur.PRINT_OPTION = 2;
  const VEC3 U{0, 0.05, 0.2, -0.001};
  VEC3 R0, R1;
  s.an.PASS_FLAG = 0;
  ASSERT_EQ(CAP_RESISTANCE_2D(*run, U, R0), ST_OK);
  const double head_moment = s.an.work.PLANE_Y.BMOM[NODE(0)];
  s.an.PASS_FLAG = 1;
  ASSERT_EQ(CAP_RESISTANCE_2D(*run, U, R1), ST_OK);
  s.an.PASS_FLAG = 0;
  // The reaction of the printing pass is that of the solution, although the
  // recording turned the moments along the pile into EI*y''.
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(R1[k], R0[k]) << k;
  EXPECT_EQ(s.an.work.PLANE_Y.BMOM[NODE(0)], -head_moment);

  // The last row printed: its global head forces are its local ones carried
  // to the origin, one pile's worth.
  MAT3 M;
  ROW_TRANSFER_2D(s, 2, M);
  const VEC6& fl = s.an.HEAD_LOCAL_FORCE;
  const VEC6& fg = s.an.HEAD_GLOBAL_FORCE;
  for (int r = 1; r <= 3; ++r) {
    const double expect = M[r][1] * fl[1] + M[r][2] * fl[2] + M[r][3] * fl[6];
    EXPECT_NEAR(fg[r == 3 ? 6 : r], expect, 1e-9 * (std::fabs(expect) + 1.0)) << r;
  }
  EXPECT_DOUBLE_EQ(fl[6], head_moment);
  VEC3 u;
  ROW_HEAD_DISPLACEMENT_2D(s, 2, U, u);
  EXPECT_DOUBLE_EQ(s.an.HEAD_LOCAL_DISP[1], u[1]);
  const std::string tab = file_text(run->files[F_RESULTS_TABLE]);
  EXPECT_NE(tab.find("* PILE GROUP *     1\n* PILE TOP DISP. AND REACT. GLOBAL\n"), std::string::npos);
  EXPECT_NE(tab.find("* PILE GROUP *     2\n"), std::string::npos);
  EXPECT_NE(tab.find("       * EFFECTS FOR LATERALLY LOADED PILE *   \n"), std::string::npos);
  const std::string rep = file_text(run->files[F_REPORT]);
  EXPECT_NE(rep.find("       * PILE GROUP *  2"), std::string::npos);
  EXPECT_NE(rep.find("BM,LBS-IN STRESS,LBS/IN**2"), std::string::npos);
}

}  // namespace

namespace {

void set_name(char* dst, const char* text, int n) {
  std::memset(dst, ' ', n);
  dst[n] = 0;
  std::memcpy(dst, text, std::min<std::size_t>(std::strlen(text), n));
}

// A 2D run through the driver: three rows (one battered, multiplicities 1
// to 3) on linear springs, two load cases with moments and a combination.
// Every analysed load of the results table file must balance: the printed
// head forces of the rows (about the origin) times the multiplicities equal
// the printed load; the combination keeps its moment.
TEST(Cap2DDriver, PrintedRowForcesBalanceThePrintedLoad) {
  auto run = kestra_test::make_group({{0, -40, 0}, {0, 0, 0}, {5, 40, 0}});
  STORE& s = run->store;
  s.ctl.ANALYSIS_TYPE = 2;
  PILE_DATA& p = s.piles;
  for (int i = 1; i <= 3; ++i) p.P_FACTOR[i] = p.Y_FACTOR[i] = 1.0;
  for (int i = 1; i <= 3; ++i) {
    p.BETA[i] = 0.0;
    p.TR_SET[i] = 0;
    p.CONNECTZ[i] = 0;
    p.MULTIPLICITY[i] = i;
    p.NO_OF_PILE[i] = i;
  }
  p.ALPHA[3] = 0.2;
  set_name(s.TITLE, "THREE ROWS ON SPRINGS", 80);
  LOAD_DATA& ld = s.loads;
  ld.NLC = 2;
  for (int m = 1; m <= 2; ++m) {
    LOAD_CASE& c = ld.CASE[m];
    c.MAXIT_CAP = 100;
    c.MAXIT_PILE = 100;
    c.TOL_CAP = 1.0E-8;
    c.TOL_PILE = 1.0E-8;
    c.LOAD_INCREMENT = 0.5;
    c.MIN_INCREMENT = 0.01;
    c.PRINT_OPTION = 1;
    c.PRINT_EVERY = 10;
    c.SCALE_FACTOR = 1.0;
    c.NCONC = 1;
    set_name(c.NAME, m == 1 ? "DEAD" : "WIND", LOAD_NAME_CHARS);
    c.CONC[1].FORCE_X = m == 1 ? 6000.0 : 0.0;
    c.CONC[1].FORCE_Y = m == 1 ? 0.0 : 150.0;
    c.CONC[1].MOMENT_Z = m == 1 ? 2.0e4 : -3.0e4;
  }
  ld.NCOMB = 1;
  LOAD_COMB& k = ld.COMB[1];
  static_cast<LOAD_CONTROLS&>(k) = ld.CASE[1];
  set_name(k.NAME, "DEAD + WIND", LOAD_NAME_CHARS);
  k.BENDING_RF = k.SHEAR_RF = 0.9;
  k.NCOMB_CASES = 2;
  k.ENTRY[1] = {1, 1.2};
  k.ENTRY[2] = {2, 1.6};
  SET_RESULT_HEADINGS(*run);
  const auto dir = kestra_test::scratch_dir("cap2d_driver");
  for (int role = F_REPORT; role <= NAMES_RECORDS; ++role) {
    char file[16];
    std::snprintf(file, sizeof file, "f%02d.txt", role);
    run->files.name[role] = (dir / file).string();
  }
  for (int role : {F_REPORT, F_SUMMARY, F_RUNTIME, F_CASE_RESULTS, F_RESULTS_TABLE, F_CAP_TRACE})
    run->files.fp[role] = std::fopen(run->files.name[role].c_str(), "w");
  run->files.fp[F_SUMMARY_SCRATCH] = std::fopen(run->files.name[F_SUMMARY_SCRATCH].c_str(), "w+");
  ASSERT_EQ(RUN_DRIVER(*run), ST_OK);
  for (FILE*& f : run->files.fp)
    if (f) {
      std::fclose(f);
      f = nullptr;
    }

  std::istringstream in(kestra_test::read_file(run->files.name[F_RESULTS_TABLE]));
  std::string line;
  std::vector<VEC3> loads, sums;
  while (std::getline(in, line)) {
    if (line == "* EQUIVALENT CONC. LOAD AT ORIGIN *") {
      std::getline(in, line);
      std::istringstream v(line);
      VEC3 q{};
      v >> q[1] >> q[2] >> q[3];
      loads.push_back(q);
      sums.push_back(VEC3{});
    } else if (line.rfind("* PILE GROUP *", 0) == 0 && !sums.empty()) {
      const int g = std::stoi(line.substr(14));
      std::getline(in, line);
      ASSERT_EQ(line, "* PILE TOP DISP. AND REACT. GLOBAL");
      std::getline(in, line);
      std::istringstream v(line);
      double d[3], F[3];
      v >> d[0] >> d[1] >> d[2] >> F[0] >> F[1] >> F[2];
      for (int r = 1; r <= 3; ++r) sums.back()[r] += p.MULTIPLICITY[g] * F[r - 1];
    }
  }
  ASSERT_EQ(loads.size(), 3u);
  for (size_t a = 0; a < loads.size(); ++a)
    for (int r = 1; r <= 3; ++r)
      EXPECT_NEAR(sums[a][r], loads[a][r], 1e-6 * (std::fabs(loads[a][1]) + std::fabs(loads[a][3]))) << a << ":" << r;
  // The printed loads: the cases, and the combination with its moment.
  EXPECT_NEAR(loads[0][3], 2.0e4, 1e-3);
  EXPECT_NEAR(loads[1][3], -3.0e4, 1e-3);
  EXPECT_NEAR(loads[2][1], 1.2 * 6000.0, 1e-6);
  EXPECT_NEAR(loads[2][2], 1.6 * 150.0, 1e-6);
  EXPECT_NEAR(loads[2][3], 1.2 * 2.0e4 - 1.6 * 3.0e4, 1e-3);
  const std::string cr = kestra_test::read_file(run->files.name[F_CASE_RESULTS]);
  size_t completed = 0;
  for (size_t at = cr.find("    1 ANALYSIS COMPLETED"); at != std::string::npos;
       at = cr.find("    1 ANALYSIS COMPLETED", at + 1))
    ++completed;
  EXPECT_EQ(completed, 3u);
}

}  // namespace

namespace {

// The bundled 2D examples through the entry point: the run completes and
// every printed analysis balances, the row forces (about the origin) times
// the multiplicities against the printed load. An embedded cap would add a
// passive force the results table does not hold; such decks are skipped.
TEST(Cap2DRun, ConvergedAnalysesOfTheExamplesBalance) {
  int decks = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kestra_test::source_path("examples"))) {
    if (entry.path().extension() != ".dat") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const auto dir = kestra_test::scratch_dir("cap2d_example_" + entry.path().stem().string());
    std::string names = "TESTVER\nunused\nunused\n0\ndeck.dat\n";
    for (const char* n : {"r.out", "r.sum", "r.plt", "r.run", "r.cas", "r.tab", "r.prg", "r.atc", "r.fl1", "r.fl2",
                          "r.ext", "r.stp", "r.pst", "r.fst", "r.fwn", "r.itr", "r.tzc", "r.crv", "r.nod", "r.ssc"})
      names += std::string(n) + "\n";
    kestra_test::write_file(dir / "Names.dat", names);
    std::filesystem::copy_file(entry.path(), dir / "deck.dat");
    auto run = std::make_unique<RUN>();
    std::tm clock{};
    clock.tm_year = 2020 - 1900;
    clock.tm_mday = 1;
    const int st = kestra_test::in_directory(dir, [&] { return RUN_IKESTRA(*run, 20, &clock); });
    if (run->store.ctl.ANALYSIS_TYPE != 2) continue;
    ++decks;
    EXPECT_EQ(st, ST_OK);
    if (run->store.ctl.CAP_OPTION == 1) continue;
    const PILE_DATA& p = run->store.piles;
    std::istringstream in(kestra_test::read_file(dir / "r.tab"));
    std::string line;
    int analyses = 0;
    VEC3 load{}, sum{};
    auto check = [&] {
      const double scale = std::max({1.0, std::fabs(load[1]), std::fabs(load[2]), std::fabs(load[3])});
      for (int k = 1; k <= 3; ++k) EXPECT_NEAR(sum[k], load[k], 1e-3 * scale) << analyses << ":" << k;
    };
    while (std::getline(in, line)) {
      if (line == "* EQUIVALENT CONC. LOAD AT ORIGIN *") {
        if (analyses++ > 0) check();
        std::getline(in, line);
        std::istringstream v(line);
        v >> load[1] >> load[2] >> load[3];
        sum = VEC3{};
      } else if (line.rfind("* PILE GROUP *", 0) == 0) {
        const int g = std::stoi(line.substr(14));
        std::getline(in, line);
        std::getline(in, line);
        std::istringstream v(line);
        double d[3], F[3];
        v >> d[0] >> d[1] >> d[2] >> F[0] >> F[1] >> F[2];
        for (int k = 1; k <= 3; ++k) sum[k] += p.MULTIPLICITY[g] * F[k - 1];
      }
    }
    if (analyses > 0) check();
    EXPECT_GE(analyses, 1);
  }
  EXPECT_GE(decks, 1);
}

}  // namespace
