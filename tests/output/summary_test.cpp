// Per-pile summary tables of the summary file, read back from the
// extreme-values scratch file: the rows of every pile, the minimum and
// maximum over the piles with the first pile reaching each, the column
// selection of the tables along the piles, and the 2D layout.
#include "output/summary_tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/format.h"
#include "group/group_fixture.h"
#include "output/headings.h"
#include "support/test_support.h"

using namespace kestra;
namespace fs = std::filesystem;

namespace {

// The eight records of one pile, written in the layouts of a printing pass;
// head values v0 + k (k the slot), column extremes from the column number.
void write_pile(FILE* f, int g, int n, double v0, double stress, double col0) {
  for (int rec = 0; rec < 4; ++rec) {
    double v[7];
    for (int k = 1; k <= 6; ++k) v[k] = v0 + 10.0 * rec + k;
    const bool forces = rec % 2 == 1;
    if (n == 6) {
      if (forces)
        WRITE_F(f, "(5X,I6,6X,1P,3(G12.5,2X),3(G12.5,2X),G12.5)", g, v[1], v[2], v[3], v[4], v[5], v[6], stress);
      else
        WRITE_F(f, "(5X,I6,6X,1P,6(G12.5,2X))", g, v[1], v[2], v[3], v[4], v[5], v[6]);
    } else {
      if (forces)
        WRITE_F(f, "(5X,I6,6X,1P,3(G12.5,2X),G12.5)", g, v[1], v[2], v[3], stress);
      else
        WRITE_F(f, "(5X,I6,6X,1P,3(G12.5,2X))", g, v[1], v[2], v[3]);
    }
  }
  for (int line = 0; line < 4; ++line) {
    const bool coords = line % 2 == 1;
    if (coords)
      WRITE_F(f, "(1X,4X,'x(',A2,')',1X,$)", "FT");
    else
      WRITE_F(f, "(1X,I8,2X,$)", g);
    for (int k = 1; k <= RESULT_COLUMNS; ++k) {
      const double value = line == 0 ? col0 - k : line == 2 ? col0 + k : 0.5 * k + line;
      if (coords)
        WRITE_F(f, "(3X,F11.4,$)", value);
      else
        WRITE_F(f, "(2X,E12.5,$)", value);
    }
    std::fputc('\n', f);
  }
}

struct SUMMARY_RUN {
  std::unique_ptr<RUN> run;
  fs::path dir;
  SUMMARY_RUN(const std::string& test, int analysis_type, int npiles) {
    std::vector<kestra_test::PILE_AT> at;
    for (int g = 0; g < npiles; ++g) at.push_back({0.0, 2.0 * g, 0.0});
    run = kestra_test::make_group(at);
    run->store.ctl.ANALYSIS_TYPE = analysis_type;
    run->store.ctl.UNITS_SYSTEM = 2;
    SET_UNIT_LABELS(run->store);
    SET_RESULT_HEADINGS(*run);
    dir = kestra_test::scratch_dir(test);
    run->files.name[F_EXTREME_SCRATCH] = (dir / "extremes.txt").string();
    run->files.name[F_SUMMARY] = (dir / "summary.txt").string();
  }
  // Writes the scratch file with the given piles (number, head base, stress,
  // column base), then the summary tables; returns the summary lines.
  std::vector<std::string> tables(const std::vector<std::array<double, 4>>& piles, const int* select) {
    const int n = run->store.ctl.ANALYSIS_TYPE == 3 ? 6 : 3;
    FILE* ext = std::fopen(run->files.name[F_EXTREME_SCRATCH].c_str(), "w");
    for (const auto& p : piles) write_pile(ext, static_cast<int>(p[0]), n, p[1], p[2], p[3]);
    std::fclose(ext);
    run->files.fp[F_SUMMARY] = std::fopen(run->files.name[F_SUMMARY].c_str(), "w");
    WRITE_SUMMARY_TABLES(*run, select);
    std::fclose(run->files.fp[F_SUMMARY]);
    run->files.fp[F_SUMMARY] = nullptr;
    return kestra_test::read_lines(run->files.name[F_SUMMARY]);
  }
};

std::vector<std::string> from(const std::vector<std::string>& lines, const std::string& first, std::size_t count) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == first) return std::vector<std::string>(lines.begin() + i, lines.begin() + std::min(lines.size(), i + count));
  return {};
}

TEST(SummaryTables, ThreeDimensionalHeadTableWithTheFirstPileOfATie) {
  SUMMARY_RUN r("summary_3d_head", 3, 3);
  int sel[RESULT_COLUMNS + 1] = {};
  // Piles 2 and 3 share their values: the pile numbers name pile 2.
  const auto lines = r.tables({{{1, 100.0, 5.0, 50.0}}, {{2, 200.0, 7.0, 40.0}}, {{3, 200.0, 7.0, 40.0}}}, sel);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2], "       THE GLOBAL STRUCTURAL COORDINATE SYSTEM");
  const std::vector<std::string> expected = {
      "       * PILE TOP DISPLACEMENTS *",
      "",
      "      PILE GROUP   DISP. X, M   DISP. Y, M   DISP. Z, M   ROT. X,RAD   ROT. Y,RAD   ROT. Z,RAD  ",
      "      **********  ***********  ***********  ***********  ***********  ***********  ***********",
      "          1            101.00       102.00       103.00       104.00       105.00       106.00 ",
      "          2            201.00       202.00       203.00       204.00       205.00       206.00 ",
      "          3            201.00       202.00       203.00       204.00       205.00       206.00 ",
      " ",
      "       MINIMUM         101.00       102.00       103.00       104.00       105.00       106.00 ",
      "       Pile N.          1            1            1            1            1            1       ",
      "       MAXIMUM         201.00       202.00       203.00       204.00       205.00       206.00 ",
      "       Pile N.          2            2            2            2            2            2       ",
      "",
      "       * PILE TOP REACTIONS *",
      "",
      "      PILE GROUP   FOR. X, KN   FOR. Y, KN   FOR. Z, KN MOM X, KN- M MOM Y, KN- M MOM Z, KN- M",
      "      **********  ***********  ***********  ***********  ***********  ***********  ***********",
      "          1            111.00       112.00       113.00       114.00       115.00       116.00 ",
  };
  EXPECT_EQ(from(lines, "       * PILE TOP DISPLACEMENTS *", expected.size()), expected);
  // The local tables: reactions from the fourth record, the head stress.
  const auto local = from(lines, "       THE PILE COORDINATE SYSTEM (LOCAL AXES)", 40);
  const std::vector<std::string> stress = {
      "      PILE GROUP   STRESS, KN/ M**2",
      "      **********  ****************",
      "          1            5.0000 ",
      "          2            7.0000 ",
      "          3            7.0000 ",
      " ",
      "       MINIMUM         5.0000 ",
      "       Pile N.          1       ",
      "       MAXIMUM         7.0000 ",
      "       Pile N.          2       ",
  };
  EXPECT_EQ(from(local, "      PILE GROUP   STRESS, KN/ M**2", stress.size()), stress);
  EXPECT_EQ(from(local, "      PILE GROUP   AXIAL, KN    LAT. y, KN   LAT. z, KN MOM x, KN- M MOM y, KN- M MOM z, KN- M", 3)
                .back(),
            "          1            131.00       132.00       133.00       134.00       135.00       136.00 ");
  // No column selected: the tables along the piles show the coordinates only.
  const auto mins = from(lines, "       * MINIMUM VALUES AND LOCATIONS *", 8);
  ASSERT_EQ(mins.size(), 8u);
  EXPECT_EQ(mins[6], "        1  ");
  EXPECT_EQ(mins[7], "     x( M) ");
}

TEST(SummaryTables, TwoDimensionalRowsAndTheSelectedColumnsOnly) {
  SUMMARY_RUN r("summary_2d", 2, 3);
  int sel[RESULT_COLUMNS + 1] = {};
  // Column 3 is a 3D column: selected, it still stays out in 2D.
  sel[2] = sel[3] = sel[9] = sel[19] = 1;
  const auto lines = r.tables({{{1, 100.0, 5.0, 50.0}}, {{2, 200.0, 7.0, 40.0}}, {{3, 200.0, 7.0, 40.0}}}, sel);
  const std::vector<std::string> head = {
      "      PILE GROUP   DISP. X, M   DISP. Y, M   ROT. Z,RAD  ",
      "      **********  ***********  ***********  ***********",
      "          1            101.00       102.00       103.00 ",
      "          2            201.00       202.00       203.00 ",
      "          3            201.00       202.00       203.00 ",
      " ",
      "       MINIMUM         101.00       102.00       103.00 ",
      "       Pile N.          1            1            1       ",
      "       MAXIMUM         201.00       202.00       203.00 ",
      "       Pile N.          2            2            2       ",
  };
  EXPECT_EQ(from(lines, head[0], head.size()), head);
  EXPECT_EQ(from(lines, "      PILE GROUP   FOR. X, KN   FOR. Y, KN MOM Z, KN- M", 3).back(),
            "          1            111.00       112.00       113.00 ");
  EXPECT_EQ(from(lines, "      PILE GROUP   AXIAL, KN    LAT. y, KN MOM z, KN- M", 3).back(),
            "          1            131.00       132.00       133.00 ");
  const std::vector<std::string> minima = {
      "       * MINIMUM VALUES AND LOCATIONS *",
      " ",
      "    PILE    DISPL.      BENDING      TOTAL    ",
      "             y-DIR      MOMENT      STRESS    ",
      "    x( M)      M         KN- M      KN/ M**2  ",
      "   ****** **********  **********  **********  ",
      "        1       48.000      41.000      31.000 ",
      "     x( M)      2.0000      5.5000      10.500 ",
      "        2       38.000      31.000      21.000 ",
      "     x( M)      2.0000      5.5000      10.500 ",
      "        3       38.000      31.000      21.000 ",
      "     x( M)      2.0000      5.5000      10.500 ",
      "      Min.      38.000      31.000      21.000 ",
      "   Pile N.       2           2           2       ",
  };
  EXPECT_EQ(from(lines, minima[0], minima.size()), minima);
  const auto maxima = from(lines, "       * MAXIMUM VALUES AND LOCATIONS *", 14);
  ASSERT_EQ(maxima.size(), 14u);
  EXPECT_EQ(maxima[6], "        1       52.000      59.000      69.000 ");
  EXPECT_EQ(maxima[7], "     x( M)      4.0000      7.5000      12.500 ");
  EXPECT_EQ(maxima[12], "      Max.      52.000      59.000      69.000 ");
  EXPECT_EQ(maxima[13], "   Pile N.       1           1           1       ");
}

TEST(SummaryTables, ShortScratchFileGivesTheHeadingsWithoutRows) {
  SUMMARY_RUN r("summary_short", 3, 1);
  FILE* ext = std::fopen(r.run->files.name[F_EXTREME_SCRATCH].c_str(), "w");
  write_pile(ext, 1, 6, 1.0, 2.0, 3.0);
  std::fputs("          2  0.1\n", ext);  // a pile cut short
  std::fclose(ext);
  ext = std::fopen(r.run->files.name[F_EXTREME_SCRATCH].c_str(), "r");
  PILE_EXTREMES p;
  EXPECT_TRUE(READ_PILE_EXTREMES(ext, 6, p));
  EXPECT_EQ(p.PILE, 1);
  EXPECT_EQ(p.GLOBAL_FORCE[6], 17.0);
  EXPECT_EQ(p.STRESS, 2.0);
  EXPECT_EQ(p.MAX[25], 28.0);
  EXPECT_EQ(p.MIN_AT[4], 3.0);
  EXPECT_FALSE(READ_PILE_EXTREMES(ext, 6, p));
  std::fclose(ext);
  // No scratch file at all: the tables keep their headings and no extremes.
  r.run->files.name[F_EXTREME_SCRATCH] = (r.dir / "absent" / "x.txt").string();
  r.run->files.fp[F_SUMMARY] = std::fopen(r.run->files.name[F_SUMMARY].c_str(), "w");
  int sel[RESULT_COLUMNS + 1] = {};
  WRITE_SUMMARY_TABLES(*r.run, sel);
  std::fclose(r.run->files.fp[F_SUMMARY]);
  r.run->files.fp[F_SUMMARY] = nullptr;
  const std::string t = kestra_test::read_file(r.run->files.name[F_SUMMARY]);
  EXPECT_NE(t.find("* PILE TOP DISPLACEMENTS *"), std::string::npos);
  EXPECT_NE(t.find("* MAXIMUM VALUES AND LOCATIONS *"), std::string::npos);
  EXPECT_EQ(t.find("MINIMUM  "), std::string::npos);
}

TEST(SummaryTables, ScratchNumbers) {
  const struct {
    const char* field;
    double value;
  } cases[] = {
      {"  0.12345E+03", 123.45}, {" -1.2345E-02", -0.012345}, {"   12.500", 12.5}, {"  1.00000+100", 1.0E100},
      {" 0.50000-101", 0.5E-101}, {"************", 0.0},      {"        ", 0.0},   {"", 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(SCRATCH_NUMBER(c.field), c.value) << c.field;
}

}  // namespace
