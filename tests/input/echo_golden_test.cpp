// The input echo of a few small decks, pinned line by line: Tables B to K for
// 2D and 3D and for the three units systems. Each deck under
// tests/input/data/ has its expected report text beside it (.echo).
//
// The expected texts were checked by hand field by field; after a deliberate
// change of the echo, KESTRA_UPDATE_GOLDEN=1 rewrites them (then check the
// difference line by line before committing it).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/run.h"
#include "input/input.h"
#include "support/test_support.h"

using namespace kestra;
using namespace kestra_test;

namespace {

struct ECHO {
  int status = 0;
  std::string report, runtime;
  std::unique_ptr<RUN> run;  // the store as the echo left it
};

// Reads a deck and writes its echo, the way a run does after the banners.
ECHO echo_of(const std::string& deck_name) {
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  const auto path = source_path("tests/input/data/" + deck_name);
  run->files.fp[F_INPUT] = std::fopen(path.string().c_str(), "r");
  run->files.name[F_INPUT] = deck_name;
  for (int role : {F_REPORT, F_RUNTIME, F_PLOT, F_AXIAL_CURVES, F_SUMMARY}) run->files.fp[role] = std::tmpfile();
  ECHO e;
  if (!run->files.fp[F_INPUT]) {
    e.status = -1;
  } else {
    SET_ENTRY_VALUES(*run);
    e.status = READ_INPUT(*run);
    if (e.status == ST_OK) e.status = ECHO_TABLES(*run);
  }
  e.report = file_text(run->files.fp[F_REPORT]);
  e.runtime = file_text(run->files.fp[F_RUNTIME]);
  for (FILE*& f : run->files.fp)
    if (f) {
      std::fclose(f);
      f = nullptr;
    }
  e.run = std::move(run);
  return e;
}

void expect_golden(const std::string& deck) {
  SCOPED_TRACE(deck);
  const ECHO e = echo_of(deck + ".dat");
  ASSERT_EQ(e.status, ST_OK) << e.runtime;
  const auto golden = source_path("tests/input/data/" + deck + ".echo");
  if (const char* upd = std::getenv("KESTRA_UPDATE_GOLDEN"); upd && *upd == '1') {
    write_file(golden, e.report);
    return;
  }
  const std::vector<std::string> want = split_lines(read_file(golden));
  const std::vector<std::string> got = split_lines(e.report);
  for (size_t i = 0; i < want.size() || i < got.size(); ++i) {
    EXPECT_EQ(i < got.size() ? got[i] : "<missing>", i < want.size() ? want[i] : "<extra>")
        << deck << ".echo line " << i + 1;
    if (::testing::Test::HasFailure() && i > 0 && (i < got.size()) != (i < want.size())) break;
  }
}

}  // namespace

// English units, 2D: embedded cap with its model parameters, a case with
// concentrated, distributed and stiffness data in the parameter form, a
// cyclic case of a special type, a combination listing one case twice, the
// arrangement with the axial-factor column, tapered and H cross sections
// with moment-curvature sets, ten layers of every model, p-y curves to print
// and a user load-settlement curve.
TEST(EchoGolden, TwoDimensionalEnglish) { expect_golden("echo2d_english"); }

// SI units, 3D: a cap that is not embedded, the concentrated loads printed
// in column order, default stiffness levels, user torque-rotation curves and
// the user multipliers along Y and Z.
TEST(EchoGolden, ThreeDimensionalSI) { expect_golden("echo3d_si"); }

// Consistent units, 2D: no cap, no load case, depth factors, soil movement,
// user p-y and load-settlement curves and the user multipliers.
TEST(EchoGolden, TwoDimensionalOpenUnits) { expect_golden("echo2d_open"); }

// Each section header is logged to the runtime file as it is read.
TEST(EchoGolden, SectionHeadersAreLogged) {
  const ECHO e = echo_of("echo2d_open.dat");
  ASSERT_EQ(e.status, ST_OK) << e.runtime;
  const std::vector<std::string> rt = split_lines(e.runtime);
  std::vector<std::string> reading;
  for (const std::string& l : rt)
    if (l.rfind("     READING ", 0) == 0) reading.push_back(l.substr(0, 40));
  const std::vector<std::string> want = {
      "     READING * TITLE AND VERSION",
      "     READING CONTROL PARAMETERS",
      "     READING PILE CAP",
      "     READING LOAD CASES",
      "     READING LOAD COMBINATIONS",
      "     READING DISTRIBUTED LOAD SETS",
      "     READING ARRANGEMENT OF PILE GROUPS",
      "     READING PILE PROPERTIES",
      "     READING PILE CROSS SECTIONS",
      "     READING SOIL LAYERS",
      "     READING USER P-Y CURVES",
      "     READING USER LOAD-SETTLEMENT CURVES",
      "     READING DEPTH FACTORS",
      "     READING SOIL MOVEMENT",
  };
  ASSERT_EQ(reading.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    std::string w = want[i];
    w.resize(40, ' ');
    EXPECT_EQ(reading[i], i == 0 ? want[i] : w);
  }
}

// What the echo derives for the analysis: the exact pi, the cap's plan
// diagonal in 3D, the cap entry after the last pile, angles in radians.
TEST(EchoGolden, DerivedArraysOfThe3DDeck) {
  const ECHO e = echo_of("echo3d_si.dat");
  ASSERT_EQ(e.status, ST_OK) << e.runtime;
  const STORE& s = e.run->store;
  EXPECT_EQ(s.rw.PI, 2.0 * std::asin(1.0));
  EXPECT_DOUBLE_EQ(s.piles.CAP_WIDTH, 5.0);
  const int cap = s.piles.NPILES + 1;
  EXPECT_DOUBLE_EQ(s.piles.PILE_X[cap], -1.0);  // the highest head less the cap thickness
  EXPECT_DOUBLE_EQ(s.piles.GROUND[cap], 1.0);   // the first layer's top seen from there
  EXPECT_DOUBLE_EQ(s.piles.MULTIPLICITY[cap], 1.0);
  EXPECT_DOUBLE_EQ(s.piles.ALPHA[2], 15.0 * s.rw.PI / 180.0);
  EXPECT_DOUBLE_EQ(s.piles.BETA[2], 80.0 * s.rw.PI / 180.0);
  EXPECT_DOUBLE_EQ(s.piles.P_FACTOR[2], 0.7);  // the Y pair doubles as the plane's pair
  EXPECT_EQ(s.piles.INC_MIN, 60);
}
