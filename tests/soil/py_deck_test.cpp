// A whole run of the entry point with a deck that asks for printed p-y
// curves: the driver prints Table N and the run completes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/ikestra.h"
#include "engine/run.h"
#include "support/test_support.h"

using namespace kestra;
namespace fs = std::filesystem;
using kestra_test::write_names;

namespace {

// The bundled 3D pier deck with KPYOP 1 and three requested curves: one in
// the soft clay, one on the clay boundary with two user deflections, one
// below the pile tip.
std::string deck_with_requests(bool silt_without_phi = false) {
  std::string deck = kestra_test::read_file(kestra_test::source_path("examples/pier3d.dat"));
  const std::string control = "2 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
  const size_t at = deck.find(control);
  if (at == std::string::npos) return {};
  deck.replace(at, control.size(), "2 3 0 0 0 0 0 0 0 0 1 0 0 0 0 0");
  if (silt_without_phi) {
    // The deepest layer becomes a silt with c 30 and no friction angle.
    const std::string sand = "3 8 ";
    const size_t s8 = deck.find(sand);
    if (s8 == std::string::npos) return {};
    deck.replace(s8, sand.size(), "3 7 ");
    for (const char* row : {"10.0 0.0 36.0 30000.0", "10.5 0.0 38.0 35000.0"}) {
      const size_t r = deck.find(row);
      if (r == std::string::npos) return {};
      deck.replace(r, std::string(row).size(), "10.0 30.0 0.0 30000.0");
    }
  }
  if (deck.back() != '\n') deck += '\n';
  deck += silt_without_phi ? "P-Y CURVES TO PRINT\n2\n1 3.0\n0\n1 20.0\n0\n"
                           : "P-Y CURVES TO PRINT\n3\n1 3.0\n0\n1 5.0\n2\n0.005 0.02\n1 30.0\n0\n";
  return deck;
}

TEST(PrintedCurvesRun, DeckWithRequestsPrintsTableN) {
  const fs::path dir = kestra_test::scratch_dir("py_deck_table_n");
  write_names(dir);
  const std::string deck = deck_with_requests();
  ASSERT_FALSE(deck.empty());
  kestra_test::write_file(dir / "deck.dat", deck);
  auto run = std::make_unique<RUN>();
  std::tm clock{};
  clock.tm_year = 114;
  clock.tm_mday = 1;
  const int st = kestra_test::in_directory(dir, [&] { return RUN_IKESTRA(*run, 20, &clock); });
  EXPECT_EQ(st, 0);
  const std::string rep = kestra_test::read_file(dir / "r.out");
  const size_t table = rep.find("\n\n\n\n\n     * TABLE N *   PRINTED P-Y CURVES\n");
  ASSERT_NE(table, std::string::npos);
  EXPECT_NE(rep.find("     NUMBER OF CURVES  :    3", table), std::string::npos);
  EXPECT_NE(rep.find("         NUMBER OF POINTS ON CURVE =    2", table), std::string::npos);
  EXPECT_NE(rep.find("IS BELOW TIP OF REQUIRED PILE,      24.00  M", table), std::string::npos);
  // Soft clay at 3 m and stiff clay (with CAVG) at the 5 m boundary.
  EXPECT_NE(rep.find("         DEPTH BELOW GS      DIAM         C         GAMMA         E50", table), std::string::npos);
  EXPECT_NE(rep.find("DEPTH BELOW GS     DIAM        C       CAVG", table), std::string::npos);
  const std::string plot = kestra_test::read_file(dir / "r.plt");
  EXPECT_NE(plot.find("     * GENERATED P-Y CURVES *\n         3\n    1    1   17\n"), std::string::npos);
  EXPECT_NE(plot.find("\n    2    1    2\n"), std::string::npos);
  EXPECT_NE(plot.find("\n    3    1    0\n"), std::string::npos);
  EXPECT_NE(kestra_test::read_file(dir / "r.run").find("ANALYSIS COMPLETED"), std::string::npos);
}

TEST(PrintedCurvesRun, FailingCurveEndsTheRunWithItsStatus) {
  const fs::path dir = kestra_test::scratch_dir("py_deck_silt_stop");
  write_names(dir);
  const std::string deck = deck_with_requests(true);
  ASSERT_FALSE(deck.empty());
  kestra_test::write_file(dir / "deck.dat", deck);
  auto run = std::make_unique<RUN>();
  std::tm clock{};
  clock.tm_year = 114;
  clock.tm_mday = 1;
  const int st = kestra_test::in_directory(dir, [&] { return RUN_IKESTRA(*run, 20, &clock); });
  EXPECT_EQ(st, ST_SILT_SLOPE);
  const std::string runtime = kestra_test::read_file(dir / "r.run");
  EXPECT_NE(runtime.find("friction angle of the silt."), std::string::npos);
  EXPECT_NE(runtime.find("SILT, SLOPE ANGLE GREATER THAN FRICTION ANGLE"), std::string::npos);
  // The piles reach the silt, so the analysis of the first load case meets
  // the failing curve before any requested curve is printed.
  EXPECT_EQ(kestra_test::read_file(dir / "r.out").find("* TABLE N *"), std::string::npos);
}

TEST(PrintedCurvesRun, PyOnlyRunPrintsTheHeadingWithoutRequests) {
  const fs::path dir = kestra_test::scratch_dir("py_deck_py_only");
  write_names(dir);
  std::string deck = kestra_test::read_file(kestra_test::source_path("examples/pier3d.dat"));
  const std::string control = "2 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
  const size_t at = deck.find(control);
  ASSERT_NE(at, std::string::npos);
  deck.replace(at, control.size(), "2 3 0 0 0 0 0 0 0 0 -1 0 0 0 0 0");
  kestra_test::write_file(dir / "deck.dat", deck);
  auto run = std::make_unique<RUN>();
  std::tm clock{};
  clock.tm_year = 114;
  clock.tm_mday = 1;
  EXPECT_EQ(kestra_test::in_directory(dir, [&] { return RUN_IKESTRA(*run, 20, &clock); }), 0);
  const std::string rep = kestra_test::read_file(dir / "r.out");
  const size_t table = rep.find("     * TABLE N *   PRINTED P-Y CURVES\n");
  ASSERT_NE(table, std::string::npos);
  EXPECT_NE(rep.find("     NUMBER OF CURVES  :    0", table), std::string::npos);
}

}  // namespace
