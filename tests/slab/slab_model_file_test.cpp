// Slab generator: run list, slab deck and keyword model file from the store.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/run.h"
#include "engine/status.h"
#include "slab/slab.h"
#include "slab/slab_deck.h"
#include "slab_test_util.h"
#include "support/test_support.h"

using namespace kestra;
using kestra_test::in_directory;
using kestra_test::read_file;
using kestra_test::read_lines;
using kestra_test::scratch_dir;
using kestra_test::write_file;

namespace {

// A 3D cap 4 long (Y), 3 wide (Z; CAP_WIDTH holds the plan diagonal 5),
// 1 thick, with two piles.
std::unique_ptr<RUN> cap_run(int ny, int nz) {
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  auto& p = run->store.piles;
  p.CAP_LENGTH = 4.0;
  p.CAP_WIDTH = 5.0;
  p.CAP_WIDTH_GIVEN = 3.0;
  p.CAP_THICKNESS = 1.0;
  p.SLAB_YC = 0.0;
  p.SLAB_ZREF = 0.0;
  p.SLAB_NY = ny;
  p.SLAB_NZ = nz;
  p.SLAB_E = 3.0e7;
  p.SLAB_NU = 0.2;
  p.NPILES = 2;
  const double xyz[3][3] = {{0, 0, 0}, {0.5, -1.0, 0.75}, {0.5, 1.0, -0.75}};
  for (int i = 1; i <= 2; ++i) {
    p.PILE_X[i] = xyz[i][0];
    p.PILE_Y[i] = xyz[i][1];
    p.PILE_Z[i] = xyz[i][2];
    p.CONNECTY[i] = i;  // 1 pin, 2 fixed
  }
  p.ALPHA[2] = std::acos(0.8);
  auto& n = run->files.name;
  n[F_INPUT] = "cap.in";
  n[F_REPORT] = "cap.out";
  n[F_SUMMARY] = "cap.sum";
  n[F_PLOT] = "cap.plt";
  n[F_RUNTIME] = "cap.run";
  run->store.loads.EQ_LOAD = {0, 100.0, 20.0, -30.0, 0.0, 40.0, 50.0};
  // Load stepping of the load case in progress.
  auto& k = run->store.an.cur;
  k.LOAD_INCREMENT = 0.25;
  k.MIN_INCREMENT = 0.01;
  k.MAXIT_CAP = 40;
  k.TOL_CAP = 1.0E-5;
  return run;
}

std::vector<double> numbers(const std::string& line) {
  std::vector<double> v;
  const char* s = line.c_str();
  if (*s == '*') ++s;
  char* end;
  for (double x = std::strtod(s, &end); end != s; x = std::strtod(s, &end)) {
    v.push_back(x);
    s = end;
  }
  return v;
}

// Lines of the keyword file between a block's header and its end.
std::vector<std::string> block(const std::vector<std::string>& lines, const std::string& name) {
  std::vector<std::string> out;
  bool in = false;
  for (const auto& l : lines) {
    if (l == " " + name) {
      in = true;
      continue;
    }
    if (l == " END_" + name) break;
    if (in) out.push_back(l);
  }
  return out;
}

}  // namespace

TEST(SlabModelFile, OneElementMeshRunListAndKeywordFile) {
  auto dir = scratch_dir("slab_one_element");
  auto run = cap_run(1, 1);
  write_file(dir / "cap.in", "THE INPUT DATA\n");
  ASSERT_EQ(in_directory(dir, [&] { return SLAB_GENERATE(*run); }), 0);
  EXPECT_EQ(read_file(dir / "cap.in"), "THE INPUT DATA\n");  // never overwritten

  const auto list = read_lines(dir / "gslab.dat");
  ASSERT_EQ(list.size(), 5u);
  const char* names[] = {"cap.run", "cap.slb", "cap.out", "cap.sum", "cap.plt"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list[i].size(), 75u);
    EXPECT_EQ(list[i].substr(0, list[i].find(' ')), names[i]);
  }

  const auto kw = read_lines(dir / "cap.slk");
  ASSERT_GE(kw.size(), 6u);
  EXPECT_EQ(kw[0], " KESTRA5_FC");
  EXPECT_EQ(kw[1], " TITLE");
  EXPECT_EQ(kw[2], " TEST OF KESTRA5_FC");
  EXPECT_EQ(kw[3], " ELEMENT_DATA");
  EXPECT_EQ(kw[4], " QUAD8  REDUCED_INTEGRATION");
  EXPECT_EQ(kw[5], "*       1       1       1       3       8       6       2       5       7       4");
  EXPECT_EQ(kw.back(), " END_DATA");
  const auto nodes = block(kw, "NODE_DATA");
  ASSERT_EQ(nodes.size(), 8u);
  // A corner row of 3, a mid row of 2, a corner row of 3; Z from 1.5 down
  // by 1.5 per row over the width as given (3), not the diagonal.
  EXPECT_EQ(nodes[0], "*       1      0.0000     -2.0000      1.5000");
  EXPECT_EQ(nodes[3], "*       4      0.0000     -2.0000      0.0000");
  EXPECT_EQ(nodes[4], "*       5      0.0000      2.0000      0.0000");
  EXPECT_EQ(nodes[7], "*       8      0.0000      2.0000     -1.5000");
  const auto mat = block(kw, "MATERIAL_DATA");
  ASSERT_EQ(mat.size(), 1u);
  EXPECT_EQ(mat[0], "*    ALL  0.30000E+08  0.20000E+00  0.10000E+01");
  const auto loads = block(kw, "CONCENTRATED_LOAD_DATA");
  ASSERT_EQ(loads.size(), 1u);  // no moment about X
  EXPECT_EQ(numbers(loads[0]), (std::vector<double>{0, 0, 0, 100, 20, -30, 0, 40, 50}));
  const auto piles = block(kw, "TOTAL_CONCENTRATED_STIFFNESS_DATA");
  ASSERT_EQ(piles.size(), 2u);
  EXPECT_EQ(numbers(piles[0]), (std::vector<double>{0.5, -1.0, 0.75, 1.0, 1.0, 0.0, 0.0, 0.0, 0.0}));
  const auto p2 = numbers(piles[1]);
  ASSERT_EQ(p2.size(), 9u);
  EXPECT_NEAR(p2[3], 0.8, 1e-5);
  EXPECT_EQ(p2[6], 1.0);
  EXPECT_EQ(p2[8], 1.0);
  const auto steps = block(kw, "TIME_STEPPING_DATA");
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0], "    0.2500    0.0000    1.0000    0.0100        40  0.10000E-04");

  const auto deck = read_lines(dir / "cap.slb");
  ASSERT_GE(deck.size(), 4u);
  EXPECT_EQ(deck[1], "       8       1       1       8       2       0       0       0       0       0       1       0"
                     "       0       0       2       1");
  EXPECT_EQ(deck[2], "    0.2500    0.0000    1.0000    0.0100        40  0.10000E-04");
  EXPECT_EQ(deck[3], "       1       1       1       1       3       8       6       2       5       7       4");
}

TEST(SlabModelFile, TwoElementNumbering) {
  auto dir = scratch_dir("slab_two_elements");
  auto run = cap_run(2, 1);
  ASSERT_EQ(in_directory(dir, [&] { return SLAB_GENERATE(*run); }), 0);
  const auto kw = read_lines(dir / "cap.slk");
  const auto elems = block(kw, "ELEMENT_DATA");
  ASSERT_EQ(elems.size(), 3u);  // the integration line and two elements
  EXPECT_EQ(elems[2], "*       2       1       3       5      13      11       4       8      12       7");
  EXPECT_EQ(block(kw, "NODE_DATA").size(), 13u);
}

TEST(SlabModelFile, MomentAboutTheVerticalAxisAsPointLoads) {
  struct CASE {
    double mx;
    double thickness;
    size_t records;
    double arm;
  } cases[] = {{1.0E-10, 1.0, 1, 0.0}, {-1.0E-10, 1.0, 1, 0.0}, {1.0000001E-10, 1.0, 9, 1.0}, {250.0, 0.6, 9, 0.6},
               {-250.0, 5.0, 9, 3.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mx);
    auto dir = scratch_dir("slab_torsion");
    auto run = cap_run(2, 2);
    run->store.piles.CAP_THICKNESS = c.thickness;
    run->store.loads.EQ_LOAD[4] = c.mx;
    ASSERT_EQ(in_directory(dir, [&] { return SLAB_GENERATE(*run); }), 0);
    const auto loads = block(read_lines(dir / "cap.slk"), "CONCENTRATED_LOAD_DATA");
    ASSERT_EQ(loads.size(), c.records);
    const auto deck = read_lines(dir / "cap.slb");
    EXPECT_EQ(numbers(deck[1])[10], double(c.records));  // NCLOD
    if (c.records == 1) continue;
    // Every point at distance a, every force tangential; together they
    // carry the applied moment about X (Y F_Z - Z F_Y).
    double m = 0.0;
    for (size_t i = 1; i < loads.size(); ++i) {
      const auto v = numbers(loads[i]);
      ASSERT_EQ(v.size(), 9u);
      EXPECT_NEAR(std::hypot(v[1], v[2]), c.arm, 1e-4 * c.arm);
      EXPECT_NEAR(v[1] * v[4] + v[2] * v[5], 0.0, 1e-4 * std::fabs(c.mx));
      m += v[1] * v[5] - v[2] * v[4];
    }
    EXPECT_NEAR(m, c.mx, 1e-4 * std::fabs(c.mx));
  }
}

TEST(SlabModelFile, DeckReadsBackAsAConsistentPlate) {
  // The generated deck passes the reader's checks; its pile points and its
  // load lie in the plate where the piles and the origin are.
  auto dir = scratch_dir("slab_round_trip");
  auto run = cap_run(4, 3);
  run->store.loads.EQ_LOAD[4] = 80.0;
  ASSERT_EQ(in_directory(dir, [&] { return SLAB_GENERATE(*run); }), 0);
  FILE* deck = std::fopen((dir / "cap.slb").c_str(), "r");
  ASSERT_NE(deck, nullptr);
  FILE* listing = std::tmpfile();
  SLAB_FILES f;
  f.LISTING = listing;
  auto m = std::make_unique<SLAB_MODEL>();
  const int st = READ_SLAB_FILE(deck, "cap.slb", *m, f);
  const std::string text = slab_test::file_text(listing);
  std::fclose(deck);
  std::fclose(listing);
  ASSERT_EQ(st, 0) << text;
  EXPECT_EQ(m->NPOIN, (2 * 4 + 1) * 4 + 5 * 3);
  EXPECT_EQ(m->NCLOD, 9);
  EXPECT_EQ(m->KPILE, 1);
  EXPECT_DOUBLE_EQ(m->DT, 0.25);
  EXPECT_EQ(m->MAXITER, 40);
  // Plate coordinates (Z, Y) of every pile point, found in an element.
  ASSERT_EQ(m->PILE_POINT.size(), 2u);
  EXPECT_DOUBLE_EQ(m->PILE_POINT[0].X, 0.75);
  EXPECT_DOUBLE_EQ(m->PILE_POINT[0].Y, -1.0);
  for (const auto& p : m->PILE_POINT) EXPECT_NE(p.ELEM, 0);
  // The resultant in the plate's degrees of freedom (F_Z, F_Y, -F_X, -M_Y,
  // M_Z, 0) and the eight in-plane torsion loads.
  EXPECT_EQ(m->CONC_LOAD[0].V, (std::array<double, 6>{-30, 20, -100, -40, 50, 0}));
  double mz = 0.0;
  for (int i = 0; i < 9; ++i) {
    const auto& p = m->CONC_LOAD[i];
    EXPECT_NE(p.ELEM, 0) << i;
    // plate x = Z, y = Y: the moment about X is Y F_Z - Z F_Y = y Fx - x Fy
    mz += p.Y * p.V[0] - p.X * p.V[1];
  }
  EXPECT_NEAR(mz, 80.0, 1e-3);
}

TEST(SlabModelFile, PlateDataThatCannotFormAMesh) {
  struct CASE {
    const char* id;
    void (*spoil)(PILE_DATA&);
  } cases[] = {
      {"no elements along Y", [](PILE_DATA& p) { p.SLAB_NY = 0; }},
      {"no elements along Z", [](PILE_DATA& p) { p.SLAB_NZ = -1; }},
      {"zero thickness", [](PILE_DATA& p) { p.CAP_THICKNESS = 0.0; }},
      {"zero length", [](PILE_DATA& p) { p.CAP_LENGTH = 0.0; }},
      {"Poisson's ratio 1", [](PILE_DATA& p) { p.SLAB_NU = 1.0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    auto dir = scratch_dir("slab_bad_plate");
    auto run = cap_run(2, 2);
    c.spoil(run->store.piles);
    EXPECT_EQ(in_directory(dir, [&] { return SLAB_GENERATE(*run); }), ST_DECK_RANGE);
    EXPECT_EQ(run->status, ST_DECK_RANGE);
    EXPECT_FALSE(std::filesystem::exists(dir / "cap.slb"));
  }
}
