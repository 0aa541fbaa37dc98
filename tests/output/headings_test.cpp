// Result column headings and the heading block.
#include "output/headings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/report.h"

using namespace kestra;

namespace {

std::unique_ptr<RUN> run_with(int analysis, int units) {
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  run->store.ctl.ANALYSIS_TYPE = analysis;
  run->store.ctl.UNITS_SYSTEM = units;
  SET_UNIT_LABELS(run->store);
  SET_RESULT_HEADINGS(*run);
  return run;
}

struct FIELD_CASE {
  int analysis, units, column;
  const char *line1, *line2, *unit;
};

TEST(ResultHeadings, FieldsOfEveryKind) {
  const FIELD_CASE cases[] = {
      {3, 1, 1, "  DISPL.  ", "   x-DIR  ", "    IN    "},
      {3, 1, 4, "  DISPL.  ", "  y-z-DIR ", "    IN    "},
      {3, 1, 9, "  MOMENT  ", "   z-DIR  ", "  LBS-IN  "},
      {3, 1, 15, "SOIL REACT", "   y-DIR  ", "  LBS/IN  "},
      {3, 1, 18, " AXIAL F. ", "   x-DIR  ", "    LBS   "},
      {3, 1, 19, "   TOTAL  ", "  STRESS  ", " LBS/IN**2"},
      {3, 1, 21, "FLEX. RIG.", "   y-DIR  ", " LBS-IN**2"},
      {3, 1, 24, " DEM./CAP.", "  MOMENT  ", "          "},
      {3, 2, 8, "  DISPL.  ", "  Y-Z-DIR ", "     M    "},
      {3, 2, 12, "   SHEAR  ", "   y-DIR  ", "     KN   "},
      {2, 1, 9, "  BENDING ", "  MOMENT  ", "  LBS-IN  "},
      {2, 1, 15, "   SOIL   ", " REACTION ", "  LBS/IN  "},
      {2, 1, 20, " FLEXURAL ", " RIGIDITY ", " LBS-IN**2"},
      {2, 1, 22, "DISTRIBUT.", "   LOAD   ", "  LBS/IN  "},
      {2, 1, 3, "          ", "          ", "          "},
  };
  for (const FIELD_CASE& c : cases) {
    SCOPED_TRACE(std::to_string(c.analysis) + "D units " + std::to_string(c.units) + " column " +
                 std::to_string(c.column));
    auto run = run_with(c.analysis, c.units);
    const RESULT_HEADINGS& h = run->store.an.headings;
    EXPECT_STREQ(h.LINE1[c.column], c.line1);
    EXPECT_STREQ(h.LINE2[c.column], c.line2);
    EXPECT_STREQ(h.UNITS[c.column], c.unit);
  }
}

std::string block(const RUN& run, bool summary, const int* select) {
  char* buf = nullptr;
  size_t len = 0;
  FILE* f = open_memstream(&buf, &len);
  WRITE_HEADING_BLOCK(run, f, summary, select);
  std::fclose(f);
  std::string s(buf, len);
  std::free(buf);
  return s;
}

TEST(HeadingBlock, NoColumnSelected) {
  auto run = run_with(3, 1);
  int none[RESULT_COLUMNS + 1] = {};
  EXPECT_EQ(block(*run, false, none),
            " \n       x     \n             \n      IN     \n  ********** \n");
  EXPECT_EQ(block(*run, true, none), " \n    PILE  \n          \n    x(IN) \n   ****** \n");
}

TEST(HeadingBlock, SelectedColumnsInOrder) {
  auto run = run_with(3, 2);
  int sel[RESULT_COLUMNS + 1] = {};
  sel[2] = 1;
  sel[19] = 2;
  sel[9] = -1;  // not shown
  // 2 blanks, the first-column field, then blank, field, blank per column.
  EXPECT_EQ(block(*run, false, sel),
            " \n"
            "       x    " "   DISPL.   " "    TOTAL   " " \n"
            "            " "    y-DIR   " "   STRESS   " " \n"
            "       M    " "      M     " "   KN/ M**2 " " \n"
            "  **********" " ********** " " ********** " " \n");
}

}  // namespace
