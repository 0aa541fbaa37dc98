// A status of the axial-curve generation ends the input echo and is the
// status of the run.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/ikestra.h"
#include "support/test_support.h"

using namespace kestra;
namespace fs = std::filesystem;

TEST(AxialEntry, ClayTipWithoutE50EndsTheRunWithItsStatus) {
  std::string deck = kestra_test::read_file(kestra_test::source_path("examples/abutment2d.dat"));
  // The sand below 180 in. becomes a stiff clay without e50: the driven
  // H-piles end in it.
  const std::string sand = "2 4                                 sand\n180.0 1200.0\n2 9\n"
                           "0.0362 0.0 34.0 60.0 0.0 0.0 0.0 0.0 0.0\n0.0362 0.0 36.0 90.0 0.0 0.0 0.0 0.0 0.0\n";
  const size_t at = deck.find(sand);
  ASSERT_NE(at, std::string::npos);
  deck.replace(at, sand.size(),
               "2 3\n180.0 1200.0\n2 9\n0.0362 12.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
               "0.0362 14.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n");
  const fs::path dir = kestra_test::scratch_dir("axial_entry_e50");
  kestra_test::write_file(dir / "deck.dat", deck);
  kestra_test::write_names(dir);
  auto run = std::make_unique<RUN>();
  const int st = kestra_test::in_directory(dir, [&] { return RUN_IKESTRA(*run, 20); });
  EXPECT_EQ(st, ST_LS_ZERO_E50);
  const std::string rt = kestra_test::read_file(dir / "r.run");
  EXPECT_NE(rt.find("THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE"), std::string::npos);
  EXPECT_NE(rt.find("LS CURVE, E50 VALUE IS ZERO"), std::string::npos);
  const std::string rep = kestra_test::read_file(dir / "r.out");
  EXPECT_EQ(rep.find("AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY"), std::string::npos);
  EXPECT_EQ(rep.find("* TABLE K *"), std::string::npos);
}
