// Cap equilibrium in 3D on linear springs: the inversion, equilibrium,
// rigid-body kinematics against closed forms, load steps, partial loads,
// zero load and the stop request.
#include "group/cap_solve_3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "group/group_fixture.h"
#include "group/pile_head.h"
#include "support/test_support.h"

using namespace kestra;
using kestra_test::KA;
using kestra_test::make_group;

namespace {

VEC6 vec(double a, double b, double c, double d, double e, double f) { return VEC6{0.0, a, b, c, d, e, f}; }

// Reads back what a run wrote to a temporary file.
std::string text_of(FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string s;
  char buf[1024];
  while (std::fgets(buf, sizeof buf, f)) s += buf;
  return s;
}

struct CAPTURED {
  kestra::RUN& run;
  std::vector<int> roles;
  CAPTURED(kestra::RUN& r, std::vector<int> which) : run(r), roles(std::move(which)) {
    for (int role : roles) run.files.fp[role] = std::tmpfile();
  }
  std::string operator[](int role) { return text_of(run.files.fp[role]); }
  ~CAPTURED() {
    for (int role = 1; role <= NAMES_RECORDS; ++role)
      if (run.files.fp[role]) {
        std::fclose(run.files.fp[role]);
        run.files.fp[role] = nullptr;
      }
  }
};

int solve(kestra::RUN& run, const VEC6& load) {
  run.store.loads.EQ_LOAD = load;
  int flag = -7;
  VEC6 lo, uo;
  return CAP_SOLVE_3D(run, 0, flag, lo, uo);
}

double ei() { return 2.0E7 * 0.05; }

TEST(GaussJordan, InvertsWithFullPivoting) {
  // A matrix whose leading entry is zero needs pivoting.
  MAT6 a{};
  const double m[6][6] = {{0, 2, 1, 0, 0, 1}, {3, 1, 0, 0, 2, 0}, {1, 0, 4, 1, 0, 0},
                          {0, 0, 1, 5, 1, 0}, {2, 0, 0, 1, 6, 1}, {0, 1, 0, 0, 1, 7}};
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) a[r + 1][c + 1] = m[r][c];
  MAT6 inv = a;
  ASSERT_TRUE(GAUSS_JORDAN(inv, 6));
  MAT6 prod;
  MAT6_MUL(a, inv, prod);
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) EXPECT_NEAR(prod[r][c], r == c ? 1.0 : 0.0, 1e-12) << r << "," << c;
}

TEST(GaussJordan, ReportsSingularMatrices) {
  MAT6 zero_row{};
  for (int k = 1; k <= 6; ++k) zero_row[k][k] = 1.0;
  zero_row[4][4] = 0.0;
  EXPECT_FALSE(GAUSS_JORDAN(zero_row, 6));
  MAT6 dependent{};
  for (int k = 1; k <= 6; ++k) dependent[k][k] = 1.0;
  for (int c = 1; c <= 6; ++c) dependent[6][c] = dependent[5][c] * 2.0;
  EXPECT_FALSE(GAUSS_JORDAN(dependent, 6));
}

TEST(CapSolve3D, SingleVerticalPileSettlesOnItsCurve) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  ASSERT_EQ(solve(*run, vec(1000.0, 0, 0, 0, 0, 0)), 0);
  const ANALYSIS& an = run->store.an;
  EXPECT_EQ(an.OUTCOME, 0);
  EXPECT_DOUBLE_EQ(an.FRACTION, 1.0);
  EXPECT_NEAR(an.U[1], 1000.0 / KA, 1e-9);
  for (int k = 2; k <= 6; ++k) EXPECT_NEAR(an.U[k], 0.0, 1e-12) << k;
  EXPECT_GE(an.CAP_ITERATIONS, 2);  // the first iteration never ends a step
}

TEST(CapSolve3D, LonePileUnderLateralLoadDeflectsAsAFreeHead) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  const double H = 100.0, k = 1000.0;
  ASSERT_EQ(solve(*run, vec(0, H, 0, 0, 0, 0)), 0);
  const double y = kestra_test::free_head_deflection(H, ei(), k);
  EXPECT_NEAR(run->store.an.U[2], y, 1e-2 * y);  // 40 increments
  // And the same along Z.
  auto run_z = make_group({{0.0, 0.0, 0.0}});
  ASSERT_EQ(solve(*run_z, vec(0, 0, H, 0, 0, 0)), 0);
  EXPECT_NEAR(run_z->store.an.U[3], y, 1e-2 * y);
}

TEST(CapSolve3D, WideGroupHoldsTheCapLevelAndApproachesTheFixedHead) {
  auto run = make_group({{0, 20, 20}, {0, -20, 20}, {0, 20, -20}, {0, -20, -20}});
  const double H = 400.0, k = 1000.0;
  ASSERT_EQ(solve(*run, vec(0, H, 0, 0, 0, 0)), 0);
  const double y = kestra_test::fixed_head_deflection(H / 4.0, ei(), k);
  EXPECT_NEAR(run->store.an.U[2], y, 1e-2 * y);  // 40 increments
  EXPECT_LT(std::fabs(run->store.an.U[6]) * 20.0, 1e-2 * y);
}

TEST(CapSolve3D, SymmetricGroupUnderCentricLoadDoesNotRotate) {
  auto run = make_group({{0, 2, 2}, {0, -2, 2}, {0, 2, -2}, {0, -2, -2}});
  ASSERT_EQ(solve(*run, vec(4000.0, 0, 0, 0, 0, 0)), 0);
  const VEC6 U = run->store.an.U;
  for (int k = 4; k <= 6; ++k) EXPECT_NEAR(U[k], 0.0, 1e-12) << k;
  VEC6 F0;
  for (int i = 1; i <= 4; ++i) {
    PILE_TRANSFORM(*run, i);
    VEC6 u, F;
    MAT6_MUL(run->store.an.B, U, u);
    ASSERT_EQ(PILE_HEAD_RESPONSE(*run, i, u, F), 0);
    if (i == 1) F0 = F;
    EXPECT_NEAR(F[1], -1000.0, 1e-6);
    for (int k = 1; k <= 6; ++k) EXPECT_NEAR(F[k], F0[k], 1e-6);
  }
}

TEST(CapSolve3D, PileForcesAtTheOriginBalanceTheLoad) {
  auto run = make_group({{0, 1.5, 0.5}, {0.2, -1.0, 2.0}, {0, 0.5, -2.5}});
  run->store.piles.ALPHA[2] = 0.2;
  run->store.piles.BETA[3] = 1.3;
  run->store.piles.MULTIPLICITY[3] = 2.0;
  const VEC6 load = vec(3000.0, 150.0, -80.0, 40.0, -200.0, 120.0);
  ASSERT_EQ(solve(*run, load), 0);
  ASSERT_EQ(run->store.an.OUTCOME, 0);
  VEC6 R;
  ASSERT_EQ(CAP_RESISTANCE(*run, run->store.an.U, R), 0);
  for (int k = 1; k <= 6; ++k) EXPECT_NEAR(load[k] + R[k], 0.0, 1e-6 * 3000.0) << k;
}

TEST(CapSolve3D, LoadIncrementsLandExactlyOnTheFullLoad) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  run->store.an.cur.LOAD_INCREMENT = 0.3;
  CAPTURED files(*run, {F_RUNTIME});
  ASSERT_EQ(solve(*run, vec(1000.0, 0, 0, 0, 0, 0)), 0);
  const std::string rt = files[F_RUNTIME];
  EXPECT_NE(rt.find("     GLOBAL ITERATIONS"), std::string::npos);
  std::vector<std::string> steps;
  for (std::size_t p = rt.find("STEP "); p != std::string::npos; p = rt.find("STEP ", p + 1))
    steps.push_back(rt.substr(p, rt.find('\n', p) - p));
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0], "STEP     1, TCUR     0.3000, DTCUR     0.3000");
  EXPECT_EQ(steps[1], "STEP     2, TCUR     0.6000, DTCUR     0.3000");
  EXPECT_EQ(steps[2], "STEP     3, TCUR     0.9000, DTCUR     0.3000");
  EXPECT_EQ(steps[3], "STEP     4, TCUR     1.0000, DTCUR     0.3000");
  EXPECT_NEAR(run->store.an.U[1], 1000.0 / KA, 1e-9);
}

TEST(CapSolve3D, ZeroLoadConvergesOnTheSecondIteration) {
  auto run = make_group({{0, 1, 1}, {0, -1, -1}});
  CAPTURED files(*run, {F_CASE_RESULTS});
  ASSERT_EQ(solve(*run, VEC6{}), 0);
  EXPECT_EQ(run->store.an.CAP_ITERATIONS, 2);
  EXPECT_DOUBLE_EQ(run->store.an.FRACTION, 1.0);
  EXPECT_EQ(files[F_CASE_RESULTS], "    1 ANALYSIS COMPLETED\n");
}

// A pile whose curve softens after 0.001 and two iterations at most: the
// first fraction converges, the next cannot.
std::unique_ptr<RUN> softening_pile() {
  auto run = make_group({{0.0, 0.0, 0.0}});
  USER_LS_CURVE& c = run->store.soil.LS_CURVES[1];
  c.NPOINTS = 4;
  c.DISP = {0.0, -1.0, 0.0, 0.001, 1.0E6};
  c.LOAD = {0.0, -KA, 0.0, 500.0, 500.0 + 500.0 * (1.0E6 - 0.001)};
  CURRENT_CONTROLS& ctl = run->store.an.cur;
  ctl.MAXIT_CAP = 1;
  ctl.TOL_CAP = 1.0E-10;
  ctl.LOAD_INCREMENT = 0.2;
  ctl.MIN_INCREMENT = 0.15;
  ctl.PRINT_OPTION = 1;
  return run;
}

TEST(CapSolve3D, LoadBeyondReachIsReportedAtTheLastConvergedFraction) {
  auto run = softening_pile();
  CAPTURED files(*run, {F_REPORT, F_RUNTIME, F_CASE_RESULTS, F_SUMMARY});
  ASSERT_EQ(solve(*run, vec(2000.0, 0, 0, 0, 0, 0)), 0);
  const ANALYSIS& an = run->store.an;
  EXPECT_DOUBLE_EQ(an.FRACTION, 0.2);
  EXPECT_NEAR(run->store.loads.EQ_LOAD[1], 400.0, 1e-9);
  EXPECT_NEAR(an.U[1], 400.0 / KA, 1e-9);
  EXPECT_EQ(files[F_CASE_RESULTS], "    2 SOLUTION AT    20.00 % OF THE TOTAL LOAD\n");
  const std::string rep = files[F_REPORT];
  EXPECT_NE(rep.find("     ** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,    1  ITERATIONS"), std::string::npos);
  EXPECT_NE(rep.find("     ** WARNING **    KESTRA COULD NOT GET SOLUTION FOR 100% OF THE LOAD\n"
                     "                      RESULTS ARE FOR    20.00% OF THE TOTAL LOAD\n"),
            std::string::npos);
  EXPECT_NE(files[F_SUMMARY].find("RESULTS ARE FOR    20.00%"), std::string::npos);
  // Table L shows the load of that fraction.
  EXPECT_NE(rep.find("* TABLE L *"), std::string::npos);
  EXPECT_NE(rep.find("                 400.000            0.00000            0.00000 \n"), std::string::npos);
}

TEST(CapSolve3D, FirstStepThatNeverConvergesPrintsNothing) {
  auto run = softening_pile();
  run->store.an.cur.LOAD_INCREMENT = 1.0;
  run->store.an.cur.MIN_INCREMENT = 0.6;
  CAPTURED files(*run, {F_REPORT, F_CASE_RESULTS});
  ASSERT_EQ(solve(*run, vec(2000.0, 0, 0, 0, 0, 0)), 0);
  EXPECT_EQ(files[F_CASE_RESULTS], "    3 NO CONVERGENCE ON PILE CAP\n");
  EXPECT_EQ(files[F_REPORT].find("TABLE L"), std::string::npos);
}

TEST(CapSolve3D, HalvingRetriesTheStepAtHalfTheIncrement) {
  auto run = softening_pile();
  run->store.an.cur.MIN_INCREMENT = 0.01;
  CAPTURED files(*run, {F_RUNTIME});
  solve(*run, vec(2000.0, 0, 0, 0, 0, 0));
  const std::string rt = files[F_RUNTIME];
  EXPECT_NE(rt.find("STEP     2, TCUR     0.4000, DTCUR     0.2000"), std::string::npos);
  EXPECT_NE(rt.find("STEP     2, TCUR     0.3000, DTCUR     0.1000"), std::string::npos);
}

TEST(CapSolve3D, BearingFailureWarningsAreCopiedOnce) {
  // Two piles, one of them with a short curve: it fails in bearing and the
  // other carries the load.
  auto run = make_group({{0, 0, 1}, {0, 0, -1}});
  run->store.soil.NLSCURVES = 2;
  USER_LS_CURVE& c2 = run->store.soil.LS_CURVES[2];
  c2.NPOINTS = 3;
  c2.DISP = {0.0, -1.0E-4, 0.0, 1.0E-4};
  c2.LOAD = {0.0, -50.0, 0.0, 50.0};
  run->store.piles.LS_SET[2] = 2;
  CAPTURED files(*run, {F_REPORT, F_RUNTIME, F_CASE_RESULTS});
  ASSERT_EQ(solve(*run, vec(1000.0, 0, 0, 0, 0, 0)), 0);
  EXPECT_EQ(run->store.an.OUTCOME, 3);
  const std::string rep = files[F_REPORT];
  const std::string head = "     ** WARNING **  SOME PILES, MAY FAIL IN BEARING!\n"
                           "                    AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN\n"
                           "                    MAXIMUM DISPLACEMENT DEFINED IN AXIAL LOAD-DISPLACEMENT CURVE\n";
  ASSERT_NE(rep.find(head), std::string::npos);
  const auto first = rep.find("APPARENT FAILURE IN BEARING    ,  PILE GROUP    2");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(rep.find("APPARENT FAILURE IN BEARING", first + 1), std::string::npos);
  EXPECT_NE(files[F_RUNTIME].find("APPARENT FAILURE IN BEARING    ,  PILE GROUP    2"), std::string::npos);
  EXPECT_EQ(files[F_CASE_RESULTS], "    1 ANALYSIS COMPLETED\n");
}

TEST(CapSolve3D, StopRequestDuringAnIterationReturnsStatusFour) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  const auto dir = kestra_test::scratch_dir("cap_stop");
  kestra_test::write_file(dir / "stop.dat", "1\n");
  run->files.name[F_STOP_REQUEST] = (dir / "stop.dat").string();
  run->files.name[F_PROGRESS] = (dir / "progress.dat").string();
  CAPTURED files(*run, {F_CASE_RESULTS, F_REPORT});
  EXPECT_EQ(solve(*run, vec(1000.0, 0, 0, 0, 0, 0)), ST_STOPPED);
  EXPECT_EQ(files[F_CASE_RESULTS], "");
  EXPECT_EQ(files[F_REPORT], "");
  EXPECT_EQ(kestra_test::read_file(dir / "progress.dat"),
            "- ANALYSIS FOR LOAD CASE   0/  0\n STEP:    1 TCUR:    1.0000 ITERATION:    1\n\n");
  EXPECT_EQ(run->files.fp[F_FAIL_WARNINGS], nullptr);
}

TEST(CapSolve3D, SingularStiffnessIsReported) {
  // No torsional curve: the twist of the cap has no stiffness.
  auto run = make_group({{0.0, 0.0, 0.0}});
  run->store.piles.TR_SET[1] = 0;
  run->store.piles.PILE_PROP[1] = 1;  // its generated torque curve is all zero
  CAPTURED files(*run, {F_REPORT, F_CASE_RESULTS});
  ASSERT_EQ(solve(*run, vec(1000.0, 0, 0, 0, 0, 0)), 0);
  EXPECT_EQ(run->store.an.OUTCOME, 2);
  EXPECT_EQ(files[F_CASE_RESULTS], "    7 SINGULAR STIFFNESS MATRIX \n");
  const std::string rep = files[F_REPORT];
  EXPECT_NE(rep.find("     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"), std::string::npos);
  EXPECT_EQ(rep.find("DOES NOT CONVERGE"), std::string::npos);
}

// The equivalent lateral load of a cap embedded 2 of its 3 m below a ground
// 3 above the origin: the resistance p at the ground value's depth (left by
// the pile evaluations) and e = (|g| - T) p / |g| at the cap top.
TEST(PassiveForce, EquivalentLateralLoadOpposesTheMovement) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  run->store.piles.GROUND[1] = -3.0;
  run->store.piles.CAP_THICKNESS = 2.0;
  run->store.an.work.CAP_P = 100.0;
  const double e = 100.0 / 3.0, F = 0.5 * 2.0 * (100.0 + e);
  const double M = 2.0 * e * (1.0 - 0.0) + 0.5 * 2.0 * (100.0 - e) * (2.0 / 3.0 - 0.0);
  VEC6 P;
  ASSERT_EQ(PASSIVE_FORCE(*run, vec(0, 0.01, 0, 0, 0, 0), P), 0);
  EXPECT_NEAR(P[2], -F, 1e-9);
  EXPECT_NEAR(P[6], M, 1e-9);
  EXPECT_EQ(P[3], 0.0);
  // Split between Y and Z by the absolute displacements; Z negative pushes back +Z.
  ASSERT_EQ(PASSIVE_FORCE(*run, vec(0, 0.03, -0.01, 0, 0, 0), P), 0);
  EXPECT_NEAR(P[2], -0.75 * F, 1e-9);
  EXPECT_NEAR(P[3], 0.25 * F, 1e-9);
  EXPECT_NEAR(P[5], 0.25 * M, 1e-9);
  // No movement, or the ground not above the origin: nothing.
  ASSERT_EQ(PASSIVE_FORCE(*run, VEC6{}, P), 0);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(P[k], 0.0);
  run->store.piles.GROUND[1] = 0.5;
  ASSERT_EQ(PASSIVE_FORCE(*run, vec(0, 0.01, 0, 0, 0, 0), P), 0);
  EXPECT_EQ(P[2], 0.0);
}

TEST(CapSolve3D, TraceFileRecordsEveryIteration) {
  auto run = make_group({{0.0, 0.0, 0.0}});
  CAPTURED files(*run, {F_CAP_TRACE});
  ASSERT_EQ(solve(*run, vec(1000.0, 0, 0, 0, 0, 0)), 0);
  const std::string tr = files[F_CAP_TRACE];
  std::vector<std::string> tags;
  std::size_t p = 0;
  for (std::size_t q; (q = tr.find('\n', p)) != std::string::npos; p = q + 1) {
    const std::string line = tr.substr(p, q - p);
    tags.push_back(line.substr(0, std::min<std::size_t>(4, line.size())));
  }
  const std::vector<std::string> one = {"", "    ", "SS  ", "SS  ", "SS  ", "SS  ", "SS  ", "SS  ",
                                        "DDV ", "DFV ", "UDV ", "DV  ", "FV  ", "RV  "};
  std::vector<std::string> two = one;
  two.insert(two.end(), one.begin(), one.end());
  EXPECT_EQ(tags, two);
  // First iteration: the stiffness row 1 holds -KA on the diagonal.
  EXPECT_NE(tr.find("SS  1 -0.50000E+06"), std::string::npos);
  EXPECT_NE(tr.find("DDV    0.20000E-02"), std::string::npos);
}

}  // namespace
