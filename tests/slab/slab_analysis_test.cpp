// Coupled plate-pile analysis: increments, convergence, halving, the pile
// coupling through the plate-global transformation, the final printing pass
// and the flexible-cap entry of a run.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

#include "engine/run.h"
#include "engine/status.h"
#include "group/group_fixture.h"
#include "slab/plate_elements.h"
#include "slab/slab.h"
#include "slab_test_util.h"
#include "support/test_support.h"

using namespace kestra;
using slab_test::file_text;
using slab_test::text_file;

namespace {

// Piles as springs in global axes: F = -k u, plus -c u_X^3 on the axial
// (vertical) component; the stiffness is the exact derivative.
struct SPRING_PILES {
  std::array<double, 6> k{};
  double c = 0.0;
  int print_pass = 0;
  std::vector<int> printed;              // piles evaluated in the printing pass
  std::map<int, SLAB_VEC6> last_force;   // pile -> force of its last response
  std::map<int, SLAB_VEC6> last_disp;

  SLAB_PILE_LINK link() {
    SLAB_PILE_LINK l;
    l.CTX = this;
    l.STIFFNESS = [](void* ctx, int, const SLAB_VEC6& u, SLAB_MAT6& K) {
      auto* s = static_cast<SPRING_PILES*>(ctx);
      K = {};
      for (int i = 0; i < 6; ++i) K[i][i] = -s->k[i];
      K[0][0] -= 3.0 * s->c * u[0] * u[0];
      return 0;
    };
    l.RESPONSE = [](void* ctx, int pile, const SLAB_VEC6& u, SLAB_VEC6& F) {
      auto* s = static_cast<SPRING_PILES*>(ctx);
      for (int i = 0; i < 6; ++i) F[i] = -s->k[i] * u[i];
      F[0] -= s->c * u[0] * u[0] * u[0];
      if (s->print_pass) s->printed.push_back(pile);
      s->last_force[pile] = F;
      s->last_disp[pile] = u;
      return 0;
    };
    l.SET_PRINT_PASS = [](void* ctx, int flag) { static_cast<SPRING_PILES*>(ctx)->print_pass = flag; };
    return l;
  }
};

struct RESULT {
  int status = 0;
  PLATE_OUTCOME out;
  std::string listing, history, step_data, console;
};

RESULT analyse(const SLAB_MODEL& m, SLAB_PILE_LINK* piles) {
  RESULT r;
  FILE* deck = text_file(slab_test::model_deck(m));
  SLAB_FILES f;
  f.LISTING = std::tmpfile();
  f.HISTORY = std::tmpfile();
  f.STEP_DATA = std::tmpfile();
  f.CONSOLE = std::tmpfile();
  r.status = PLATE_ANALYSIS_DECK(deck, "plate.slb", f, piles, r.out);
  r.listing = file_text(f.LISTING);
  r.history = file_text(f.HISTORY);
  r.step_data = file_text(f.STEP_DATA);
  r.console = file_text(f.CONSOLE);
  for (FILE* x : {deck, f.LISTING, f.HISTORY, f.STEP_DATA, f.CONSOLE}) std::fclose(x);
  return r;
}

void stepping(SLAB_MODEL& m, double dt, double tini, double tend, double dtmin, int maxiter, double toler) {
  m.DT = dt;
  m.TINI = tini;
  m.TEND = tend;
  m.DTMIN = dtmin;
  m.MAXITER = maxiter;
  m.TOLER = toler;
}

// A 4 x 4 plate of side 8 on four piles at the nodes (+-2, +-2), with a
// central point load P on the plate's UZ (plate axes: P < 0 pushes the cap
// down, along global X).
std::unique_ptr<SLAB_MODEL> plate_on_piles(double P) {
  auto m = slab_test::square_plate(4, 8.0, 0.5, slab_test::SIMPLY_SUPPORTED, 3.0e6, 0.2);
  m->FIX.clear();
  m->NVFIX = 0;
  for (double x : {-2.0, 2.0})
    for (double y : {-2.0, 2.0}) {
      SLAB_POINT p;
      p.X = x;
      p.Y = y;
      m->PILE_POINT.push_back(p);
    }
  m->NCTSTI = 4;
  m->KPILE = 1;
  SLAB_POINT load;
  load.V[2] = P;
  m->CONC_LOAD.push_back(load);
  m->NCLOD = 1;
  stepping(*m, 1.0, 0.0, 1.0, 0.1, 20, 1.0E-8);
  return m;
}

}  // namespace

TEST(SlabAnalysis, LinearPlateInIncrementsReachesTheEnd) {
  // No piles: each increment converges in its second iteration (the first
  // is never accepted); the increments end at 0.3, 0.6, 0.9 and 1.0, and the
  // final displacement is that of the whole load.
  auto m = slab_test::square_plate(4, 10.0, 1.0, slab_test::SIMPLY_SUPPORTED);
  slab_test::uniform_load(*m, 2.0);
  stepping(*m, 0.3, 0.0, 1.0, 0.01, 10, 1.0E-6);
  auto inc = analyse(*m, nullptr);
  ASSERT_EQ(inc.status, 0) << inc.listing;
  ASSERT_EQ(inc.out.STEP_TIMES.size(), 4u);
  const double expect[] = {0.3, 0.6, 0.9, 1.0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(inc.out.STEP_TIMES[i], expect[i], 1e-12);
    EXPECT_EQ(inc.out.ITERATIONS[i], 2);
  }
  EXPECT_TRUE(inc.out.REACHED_END);
  stepping(*m, 1.0, 0.0, 1.0, 0.01, 10, 1.0E-6);
  auto whole = analyse(*m, nullptr);
  ASSERT_EQ(whole.status, 0);
  ASSERT_EQ(whole.out.STEPS, 1);
  const double wmax = std::fabs(whole.out.U_TOTAL[(slab_test::centre(*m) - 1) * 6 + 2]);
  ASSERT_GT(wmax, 0.0);
  for (size_t i = 0; i < whole.out.U_TOTAL.size(); ++i)
    EXPECT_NEAR(inc.out.U_TOTAL[i], whole.out.U_TOTAL[i], 1e-9 * wmax) << i;
  // Step records: the header once, one record per increment, the end mark.
  const auto lines = slab_test::lines_of(inc.step_data);
  EXPECT_EQ(lines[0], "STEP_DATA");
  EXPECT_EQ(lines.back(), "END_STEP_DATA");
  EXPECT_EQ(lines.size(), 3u + 4 * (1 + m->NPOIN) + 1);
  EXPECT_NE(inc.history.find("\nSTEP     4   TCUR   =    1.0000  DT =     0.3000"), std::string::npos) << inc.history;
  EXPECT_NE(inc.console.find("ITER =    2 ERR1 ="), std::string::npos);
  EXPECT_NE(inc.listing.find("   STEP =    4   TIME =    1.0000"), std::string::npos);
}

TEST(SlabAnalysis, IncrementLongerThanTheRangeEndsAtTheEnd) {
  auto m = slab_test::square_plate(2, 10.0, 1.0, slab_test::CLAMPED);
  slab_test::uniform_load(*m, 1.0);
  stepping(*m, 1.5, 0.0, 1.0, 0.1, 5, 1.0E-6);
  auto r = analyse(*m, nullptr);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out.STEP_TIMES, (std::vector<double>{1.0}));
}

TEST(SlabAnalysis, UnloadedPlateConvergesInTheSecondIteration) {
  auto m = slab_test::square_plate(2, 10.0, 1.0, slab_test::CLAMPED);
  stepping(*m, 0.5, 0.0, 1.0, 0.1, 5, 1.0E-6);
  auto r = analyse(*m, nullptr);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out.ITERATIONS, (std::vector<int>{2, 2}));
  for (double v : r.out.U_TOTAL) EXPECT_EQ(v, 0.0);
  EXPECT_NE(r.history.find(" ERR1 = 0.0000E+00 D =  0.0000E+00 U = 0.0000E+00"), std::string::npos) << r.history;
}

TEST(SlabAnalysis, PilesAtNodesActAsTheirSpringsInPlateAxes) {
  // Linear piles at nodes couple exactly like nodal springs whose values are
  // the global stiffnesses permuted into the plate's degrees of freedom:
  // (UX, UY, UZ) along global (Z, Y, -X), the slopes dw/dx and dw/dy
  // turning about global Y and Z, ROTZ about -X: (k_Z, k_Y, k_X, k_thY,
  // k_thZ, k_thX).
  SPRING_PILES piles;
  piles.k = {1.0e4, 2.0e3, 3.0e3, 4.0e4, 5.0e4, 6.0e4};
  auto m = plate_on_piles(-1000.0);
  m->CONC_LOAD[0].V = {10.0, -20.0, -1000.0, 30.0, 40.0, 0.0};
  auto link = piles.link();
  auto coupled = analyse(*m, &link);
  ASSERT_EQ(coupled.status, 0) << coupled.listing;
  EXPECT_EQ(coupled.out.STEPS, 1);

  auto springs = plate_on_piles(0.0);
  springs->CONC_LOAD = m->CONC_LOAD;
  springs->PILE_POINT.clear();
  springs->NCTSTI = 0;
  springs->KPILE = 0;
  for (int n = 1; n <= springs->NPOIN; ++n)
    for (double x : {-2.0, 2.0})
      for (double y : {-2.0, 2.0})
        if (std::fabs(springs->COORD[n][0] - x) < 1e-9 && std::fabs(springs->COORD[n][1] - y) < 1e-9) {
          SLAB_ITEM_VALUES s;
          s.ID = n;
          s.V = {piles.k[2], piles.k[1], piles.k[0], piles.k[4], piles.k[5], piles.k[3]};
          springs->NODAL_STIFF.push_back(s);
        }
  ASSERT_EQ(springs->NODAL_STIFF.size(), 4u);
  auto alone = analyse(*springs, nullptr);
  ASSERT_EQ(alone.status, 0);
  double scale = 0.0;
  for (double v : alone.out.U_TOTAL) scale = std::max(scale, std::fabs(v));
  for (size_t i = 0; i < alone.out.U_TOTAL.size(); ++i)
    EXPECT_NEAR(coupled.out.U_TOTAL[i], alone.out.U_TOTAL[i], 1e-7 * scale) << i;
  // The printing pass evaluated every pile once; the pile forces balance
  // the load: plate UZ load -1000 is +1000 along global X.
  EXPECT_EQ(piles.printed, (std::vector<int>{1, 2, 3, 4}));
  SLAB_VEC6 sum{};
  for (const auto& [pile, F] : piles.last_force)
    for (int k = 0; k < 3; ++k) sum[k] += F[k];
  EXPECT_NEAR(sum[0], -1000.0, 1e-6);  // global X = -plate z
  EXPECT_NEAR(sum[1], 20.0, 1e-6);     // global Y = plate y
  EXPECT_NEAR(sum[2], -10.0, 1e-6);    // global Z = plate x
}

TEST(SlabAnalysis, NonlinearPilesConvergeToEquilibrium) {
  SPRING_PILES piles;
  piles.k = {1.0e3, 1.0e3, 1.0e3, 1.0e4, 1.0e4, 1.0e4};
  piles.c = 5.0e6;  // stiffening axial response
  auto m = plate_on_piles(-4000.0);
  stepping(*m, 0.5, 0.0, 1.0, 0.01, 30, 1.0E-10);
  auto link = piles.link();
  auto r = analyse(*m, &link);
  ASSERT_EQ(r.status, 0) << r.history;
  EXPECT_TRUE(r.out.REACHED_END);
  EXPECT_GT(r.out.ITERATIONS[0], 2);  // the cubic term needs Newton steps
  double axial = 0.0;
  for (const auto& [pile, F] : piles.last_force) axial += F[0];
  EXPECT_NEAR(axial, -4000.0, 1e-4);
}

TEST(SlabAnalysis, IncrementHalvedDownToTheMinimum) {
  // Two iterations allowed and a tolerance no Newton step meets: 0.5 fails,
  // 0.25 and 0.125 are tried, 0.0625 is below DTMIN; nothing converged, so
  // no printing pass.
  SPRING_PILES piles;
  piles.k = {1.0e3, 1.0e3, 1.0e3, 1.0e4, 1.0e4, 1.0e4};
  piles.c = 5.0e7;
  auto m = plate_on_piles(-4000.0);
  stepping(*m, 0.5, 0.0, 1.0, 0.1, 1, 1.0E-15);
  auto link = piles.link();
  auto r = analyse(*m, &link);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out.STEPS, 0);
  ASSERT_EQ(r.out.TRIED.size(), 3u);
  EXPECT_DOUBLE_EQ(r.out.TRIED[0], 0.5);
  EXPECT_DOUBLE_EQ(r.out.TRIED[1], 0.25);
  EXPECT_DOUBLE_EQ(r.out.TRIED[2], 0.125);
  EXPECT_NE(r.history.find("error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED"), std::string::npos);
  EXPECT_NE(r.console.find("error, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED"), std::string::npos);
  EXPECT_TRUE(piles.printed.empty());
  EXPECT_EQ(r.step_data, "END_STEP_DATA\n");
}

TEST(SlabAnalysis, PilesOutsideThePlateOrUncoupled) {
  // A pile point outside the plate takes no part and is skipped by the
  // printing pass; with KPILE = 0 no pile is called at all.
  SPRING_PILES piles;
  piles.k = {1.0e4, 1.0e4, 1.0e4, 1.0e5, 1.0e5, 1.0e5};
  auto m = plate_on_piles(-100.0);
  m->PILE_POINT[2].X = 50.0;
  auto link = piles.link();
  auto r = analyse(*m, &link);
  ASSERT_EQ(r.status, 0) << r.listing;
  EXPECT_EQ(piles.printed, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(piles.last_force.count(3), 0u);

  SPRING_PILES unused;
  auto m0 = plate_on_piles(-100.0);
  m0->KPILE = 0;
  // Without piles the plate needs supports of its own.
  m0->NODAL_STIFF.push_back({1, {1e4, 1e4, 1e4, 1e4, 1e4, 1e4}});
  m0->NODAL_STIFF.push_back({5, {1e4, 1e4, 1e4, 1e4, 1e4, 1e4}});
  m0->NODAL_STIFF.push_back({m0->NPOIN, {1e4, 1e4, 1e4, 1e4, 1e4, 1e4}});
  auto link0 = unused.link();
  auto r0 = analyse(*m0, &link0);
  ASSERT_EQ(r0.status, 0) << r0.listing;
  EXPECT_TRUE(unused.last_force.empty());
}

TEST(SlabAnalysis, StoppingFaults) {
  struct CASE {
    const char* id;
    void (*spoil)(SLAB_MODEL&);
    int status;
    const char* text;
  } cases[] = {
      {"increment not positive", [](SLAB_MODEL& m) { m.DT = 0.0; }, ST_DECK_RANGE, "DT AND DTMIN MUST BE POSITIVE"},
      {"minimum increment not positive", [](SLAB_MODEL& m) { m.DTMIN = -1.0; }, ST_DECK_RANGE,
       "DT AND DTMIN MUST BE POSITIVE"},
      {"no load range", [](SLAB_MODEL& m) { m.TEND = m.TINI; }, ST_DECK_RANGE, "TEND MUST EXCEED TINI"},
      {"zero modulus: zero pivot", [](SLAB_MODEL& m) { m.PROPS[1][0] = 0.0; }, ST_SLAB_STOP,
       "NEGATIVE OR ZERO PIVOT ENCOUNTERED"},
      {"element turned inside out",
       [](SLAB_MODEL& m) {
         std::swap(m.LNODS[1], m.LNODS[3]);
         std::swap(m.LNODS[5], m.LNODS[6]);
         std::swap(m.LNODS[4], m.LNODS[7]);
       },
       ST_SLAB_STOP, "ZERO OR NEGATIVE AREA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    auto m = slab_test::square_plate(2, 10.0, 1.0, slab_test::CLAMPED);
    slab_test::uniform_load(*m, 1.0);
    stepping(*m, 1.0, 0.0, 1.0, 0.1, 5, 1.0E-6);
    c.spoil(*m);
    auto r = analyse(*m, nullptr);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE((r.listing + r.history).find(c.text), std::string::npos) << r.listing;
  }
}

TEST(SlabAnalysis, FlexibleCapOfARun) {
  // A run whose deck was generated for its load (the FLEX_CAP = 2 files),
  // then analysed with the piles coupled: headings in the report and the
  // summary, plot records, the plate listing in the report, the printing
  // pass switched off on return, and pile forces that balance the load.
  auto dir = kestra_test::scratch_dir("slab_flex_cap_run");
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  auto& p = run->store.piles;
  p.CAP_LENGTH = 6.0;
  p.CAP_WIDTH_GIVEN = p.CAP_WIDTH = 4.0;
  p.CAP_THICKNESS = 1.0;
  p.SLAB_NY = 6;
  p.SLAB_NZ = 4;
  p.SLAB_E = 3.0e7;
  p.SLAB_NU = 0.2;
  p.NPILES = 4;
  const double yz[4][2] = {{-2, -1}, {2, -1}, {-2, 1}, {2, 1}};
  for (int i = 1; i <= 4; ++i) {
    p.PILE_Y[i] = yz[i - 1][0];
    p.PILE_Z[i] = yz[i - 1][1];
    p.CONNECTY[i] = 2;
  }
  run->store.ctl.UNITS_SYSTEM = 2;
  run->store.loads.EQ_LOAD = {0, 800.0, 30.0, -20.0, 60.0, 40.0, -70.0};
  auto& n = run->files.name;
  n[F_INPUT] = "cap.in";
  n[F_REPORT] = "cap.out";
  n[F_SUMMARY] = "cap.sum";
  n[F_PLOT] = "cap.plt";
  n[F_RUNTIME] = "cap.run";
  auto& k = run->store.an.cur;
  k.LOAD_INCREMENT = 0.5;
  k.MIN_INCREMENT = 0.05;
  k.MAXIT_CAP = 30;
  k.TOL_CAP = 1.0E-9;
  SPRING_PILES piles;
  piles.k = {2.0e5, 1.0e4, 1.0e4, 1.0e5, 1.0e5, 1.0e5};
  auto link = piles.link();
  int st = kestra_test::in_directory(dir, [&] {
    int s = SLAB_GENERATE(*run);
    if (s) return s;
    run->files.fp[F_REPORT] = std::fopen("cap.out", "w");
    run->files.fp[F_SUMMARY] = std::fopen("cap.sum", "w");
    run->files.fp[F_PLOT] = std::fopen("cap.plt", "w");
    run->files.fp[F_RUNTIME] = std::fopen("cap.run", "w");
    s = FLEX_CAP_SOLVE(*run, link, 7, 3);
    for (int role : {F_REPORT, F_SUMMARY, F_PLOT, F_RUNTIME}) {
      std::fclose(run->files.fp[role]);
      run->files.fp[role] = nullptr;
    }
    return s;
  });
  ASSERT_EQ(st, 0) << kestra_test::read_file(dir / "cap.out");
  const std::string report = kestra_test::read_file(dir / "cap.out");
  EXPECT_EQ(report.rfind("\n\n\n                 *****     COMPUTATION RESULTS     *****\n\n\n\n\n     * TABLE I *   "
                         "COMPUTATION ON INDIVIDUAL PILE\n",
                         0),
            0u)
      << report.substr(0, 300);
  EXPECT_NE(report.find(" TEST OF KESTRA5_FC"), std::string::npos);
  EXPECT_NE(report.find("   STEP =    2   TIME =    1.0000"), std::string::npos);
  EXPECT_NE(kestra_test::read_file(dir / "cap.sum").find("COMPUTATION ON INDIVIDUAL PILE"), std::string::npos);
  EXPECT_NE(kestra_test::read_file(dir / "cap.sum").find("END_STEP_DATA"), std::string::npos);
  const auto plot = kestra_test::read_lines(dir / "cap.plt");
  ASSERT_GE(plot.size(), 2u);
  EXPECT_EQ(plot[0], "           7");
  EXPECT_EQ(plot[1], "           4           4           2");
  EXPECT_EQ(piles.print_pass, 0);
  EXPECT_EQ(piles.printed, (std::vector<int>{1, 2, 3, 4}));
  // Equilibrium in global axes: the pile forces and moments, carried to
  // the origin, balance the applied load (the moment about the vertical
  // axis through the torsion point loads, those about Y and Z through the
  // plate's bending).
  SLAB_VEC6 sum{};
  for (const auto& [pile, F] : piles.last_force) {
    const double X = p.PILE_X[pile], Y = p.PILE_Y[pile], Z = p.PILE_Z[pile];
    for (int i = 0; i < 3; ++i) sum[i] += F[i];
    sum[3] += F[3] + Y * F[2] - Z * F[1];
    sum[4] += F[4] + Z * F[0] - X * F[2];
    sum[5] += F[5] + X * F[1] - Y * F[0];
  }
  const auto& EQ = run->store.loads.EQ_LOAD;
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(sum[i], -EQ[i + 1], i < 3 ? 1e-3 : 0.05) << "slot " << i + 1;
}


TEST(SlabAnalysis, CapOnPileSolutionsBalancesTheLoad) {
  // Four vertical piles solved as beam-columns on linear soil springs under
  // a flexible cap: the pile-head forces the plate converged to balance the
  // applied load, and the printing pass evaluated every pile once.
  auto dir = kestra_test::scratch_dir("slab_cap_on_piles");
  auto run = kestra_test::make_group({{0, -2, -1}, {0, 2, -1}, {0, -2, 1}, {0, 2, 1}});
  auto& p = run->store.piles;
  p.CAP_LENGTH = 6.0;
  p.CAP_WIDTH_GIVEN = p.CAP_WIDTH = 4.0;
  p.CAP_THICKNESS = 1.0;
  p.SLAB_NY = 6;
  p.SLAB_NZ = 4;
  p.SLAB_E = 3.0e7;
  p.SLAB_NU = 0.2;
  run->store.an.cur.TOL_CAP = 1.0E-8;
  run->store.loads.EQ_LOAD = {0, 1000.0, 50.0, 0.0, 0.0, 200.0, 0.0};
  auto& n = run->files.name;
  n[F_INPUT] = "cap.in";
  n[F_REPORT] = "cap.out";
  n[F_SUMMARY] = "cap.sum";
  n[F_PLOT] = "cap.plt";
  n[F_RUNTIME] = "cap.run";
  // The run's piles, watched: the last force of every pile is kept.
  struct WATCH {
    SLAB_PILE_LINK piles;
    std::map<int, SLAB_VEC6> force;
    int printed = 0;
  } watch{SLAB_PILES_OF(*run), {}, 0};
  SLAB_PILE_LINK link;
  link.CTX = &watch;
  link.STIFFNESS = [](void* c, int i, const SLAB_VEC6& u, SLAB_MAT6& K) {
    auto* w = static_cast<WATCH*>(c);
    return w->piles.STIFFNESS(w->piles.CTX, i, u, K);
  };
  link.RESPONSE = [](void* c, int i, const SLAB_VEC6& u, SLAB_VEC6& F) {
    auto* w = static_cast<WATCH*>(c);
    const int st = w->piles.RESPONSE(w->piles.CTX, i, u, F);
    w->force[i] = F;
    if (static_cast<RUN*>(w->piles.CTX)->store.an.PASS_FLAG == 1) ++w->printed;
    return st;
  };
  link.SET_PRINT_PASS = [](void* c, int flag) {
    auto* w = static_cast<WATCH*>(c);
    w->piles.SET_PRINT_PASS(w->piles.CTX, flag);
  };
  const int st = kestra_test::in_directory(dir, [&] {
    int s = SLAB_GENERATE(*run);
    if (s) return s;
    for (int role : {F_REPORT, F_SUMMARY, F_PLOT, F_RUNTIME})
      run->files.fp[role] = std::fopen(run->files.name[role].c_str(), "w");
    s = FLEX_CAP_SOLVE(*run, link, 1, 0);
    for (int role : {F_REPORT, F_SUMMARY, F_PLOT, F_RUNTIME}) {
      std::fclose(run->files.fp[role]);
      run->files.fp[role] = nullptr;
    }
    return s;
  });
  ASSERT_EQ(st, 0) << kestra_test::read_file(dir / "cap.out");
  EXPECT_EQ(link.FAILURES, 0);
  EXPECT_EQ(watch.printed, 4);
  EXPECT_EQ(run->store.an.PASS_FLAG, 0);
  SLAB_VEC6 sum{};
  for (const auto& [pile, F] : watch.force) {
    const double X = p.PILE_X[pile], Y = p.PILE_Y[pile], Z = p.PILE_Z[pile];
    for (int i = 0; i < 3; ++i) sum[i] += F[i];
    sum[3] += F[3] + Y * F[2] - Z * F[1];
    sum[4] += F[4] + Z * F[0] - X * F[2];
    sum[5] += F[5] + X * F[1] - Y * F[0];
  }
  const auto& EQ = run->store.loads.EQ_LOAD;
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(sum[i], -EQ[i + 1], 1e-3 * 1000.0) << "slot " << i + 1;
  // The piles share the vertical load, those under the moment about Y
  // (at Z = -1 and Z = 1) unequally.
  EXPECT_LT(watch.force[1][0], 0.0);
  EXPECT_NE(watch.force[1][0], watch.force[3][0]);
}
