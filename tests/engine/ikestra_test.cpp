// The run protocol: request codes, Names.dat, the at-start files, the stop
// request, the closing messages and the report's opening blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "engine/ikestra.h"
#include "engine/report.h"
#include "support/test_support.h"

using namespace kestra;
namespace fs = std::filesystem;
using kestra_test::read_file;
using kestra_test::read_lines;
using kestra_test::write_file;
using kestra_test::write_names;

namespace {

int run_in(const fs::path& dir, std::tm* clock = nullptr) {
  auto run = std::make_unique<RUN>();
  std::tm fixed{};
  fixed.tm_year = 2014 - 1900;
  fixed.tm_mon = 2;
  fixed.tm_mday = 7;
  fixed.tm_hour = 9;
  fixed.tm_min = 5;
  fixed.tm_sec = 31;
  return kestra_test::in_directory(dir, [&] { return RUN_IKESTRA(*run, 20, clock ? clock : &fixed); });
}

}  // namespace

TEST(Ikestra, OtherOptionsReturnOneAndTouchNothing) {
  const fs::path dir = kestra_test::scratch_dir("ikestra_option");
  write_names(dir);
  for (int option : {0, 21, -20, 19}) {
    SCOPED_TRACE(option);
    auto run = std::make_unique<RUN>();
    EXPECT_EQ(kestra_test::in_directory(dir, [&] { return RUN_IKESTRA(*run, option); }), 1);
    EXPECT_FALSE(fs::exists(dir / "r.out"));
    EXPECT_FALSE(fs::exists(dir / "r.run"));
  }
}

TEST(Ikestra, StopRequestBeforeTheRunCreatesFilesAndWritesNoReport) {
  const fs::path dir = kestra_test::scratch_dir("ikestra_stop");
  write_names(dir);
  write_file(dir / "deck.dat", "TITLE\n");
  write_file(dir / "r.stp", "1\n");
  EXPECT_EQ(run_in(dir), 4);
  for (const char* n : {"r.out", "r.sum", "r.plt", "r.run", "r.cas", "r.tab", "r.atc", "r.itr", "r.tzc", "r.nod", "r.ssc"}) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(fs::exists(dir / n));
  }
  EXPECT_EQ(read_file(dir / "r.out"), "");
  EXPECT_EQ(read_file(dir / "r.prg"), " - ANALYSIS STARTED\n\n");
}

TEST(Ikestra, StopFileWithOtherValuesLetsTheRunGoOn) {
  for (const char* content : {"2\n", "", "garbage\n"}) {
    SCOPED_TRACE(content);
    const fs::path dir = kestra_test::scratch_dir("ikestra_nostop");
    write_names(dir);
    write_file(dir / "deck.dat", "TITLE\n");
    write_file(dir / "r.stp", content);
    EXPECT_NE(run_in(dir), 4);
    EXPECT_NE(read_file(dir / "r.out"), "");
  }
}

TEST(Ikestra, MissingOrShortNamesFileIsRefused) {
  const fs::path dir = kestra_test::scratch_dir("ikestra_names");
  EXPECT_EQ(run_in(dir), ST_NAMES_FILE);
  write_file(dir / "Names.dat", "V\nx\nx\n0\ndeck.dat\nr.out\n");
  EXPECT_EQ(run_in(dir), ST_NAMES_FILE);
  EXPECT_FALSE(fs::exists(dir / "r.out"));
}

TEST(Ikestra, NamesRecordFourIsOneLineEvenWhenEmpty) {
  // An empty record 4 must not swallow the input file name of record 5.
  const fs::path dir = kestra_test::scratch_dir("ikestra_rec4");
  std::string t = "V\r\nx\r\nx\r\n\r\ndeck.dat\r\n";
  for (int i = 6; i <= 25; ++i) t.append("f").append(std::to_string(i)).append(".txt\r\n");
  write_file(dir / "Names.dat", t);
  write_file(dir / "deck.dat", "TITLE\n");
  EXPECT_NE(run_in(dir), ST_NAMES_FILE);
  EXPECT_TRUE(fs::exists(dir / "f6.txt"));  // CR stripped from the names
}

TEST(Ikestra, MissingInputFileStopsWithMessageAndClosedFiles) {
  const fs::path dir = kestra_test::scratch_dir("ikestra_noinput");
  write_names(dir, "absent.dat");
  EXPECT_EQ(run_in(dir), ST_INPUT_FILE);
  const std::string rt = read_file(dir / "r.run");
  EXPECT_NE(rt.find("absent.dat"), std::string::npos);
  EXPECT_NE(rt.find("* ERROR IN ANALYSIS *"), std::string::npos);
}

TEST(Ikestra, UncreatableOutputFileIsReported) {
  const fs::path dir = kestra_test::scratch_dir("ikestra_noout");
  std::string t = "V\nx\nx\n0\ndeck.dat\nr.out\nr.sum\nno/such/dir/r.plt\n";
  for (int i = 9; i <= 25; ++i) t.append("f").append(std::to_string(i)).append(".txt\n");
  write_file(dir / "Names.dat", t);
  write_file(dir / "deck.dat", "TITLE\n");
  EXPECT_EQ(run_in(dir), ST_OUTPUT_FILE);
  EXPECT_NE(read_file(dir / "f9.txt").find("no/such/dir/r.plt"), std::string::npos);
}

TEST(Ikestra, ReportOpensWithBannerFileBlockAndDate) {
  const fs::path dir = kestra_test::scratch_dir("ikestra_banner");
  write_names(dir);
  write_file(dir / "deck.dat", "TITLE\n");
  run_in(dir);
  const auto rep = read_lines(dir / "r.out");
  ASSERT_GT(rep.size(), 20u);
  EXPECT_EQ(rep[0], "     " + std::string(73, '='));
  EXPECT_NE(rep[2].find("Version TESTVER"), std::string::npos);
  EXPECT_EQ(rep[2].substr(0, 20), std::string(20, ' '));
  bool date = false, path = false, input = false;
  for (const auto& l : rep) {
    date |= l == "               Date:  March 07, 2014     Time:  09:05:31";
    path |= l == "     Path to file locations      : ";
    input |= l == "     Name of input data file     : deck.dat";
  }
  EXPECT_TRUE(date);
  EXPECT_TRUE(path);
  EXPECT_TRUE(input);
  const auto sum = read_lines(dir / "r.sum");
  ASSERT_FALSE(sum.empty());
  EXPECT_EQ(sum.back(), "                 *****     SUMMARY FOR LOAD CASES AND COMBINATIONS      *****");
}

TEST(Ikestra, ClosingLinesOfTheStatusTable) {
  struct Case {
    int code;
    std::vector<std::string> lines;
  } cases[] = {
      {0, {"    ANALYSIS COMPLETED"}},
      {4, {"     *** ANALYSIS STOPPED BY USER ***"}},
      {1, {"    * ERROR IN ANALYSIS *", "    1, UNKNOWN CODE"}},
      {7, {"    * ERROR IN ANALYSIS *", "    7, UNKNOWN CODE"}},
      {13, {"    * ERROR IN ANALYSIS *", "    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE2D"}},
      {23, {"    * ERROR IN ANALYSIS *", "    CURRENT DEPTH IS BEYOND THE EXTENT", "    OF INPUT CURVE FOR COHESION"}},
      {33, {"    * ERROR IN ANALYSIS *", "      LS CURVE, COHESION VALUE IS ZERO"}},
      {36, {"    * ERROR IN ANALYSIS *", "     CONVERGENCE ERROR, ", "     WHILE COMPUTING AXIAL FORCES ALONG PILE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const char* lines[3];
    char unknown[48];
    const int n = CLOSING_LINES(c.code, lines, unknown);
    ASSERT_EQ(n, static_cast<int>(c.lines.size()));
    for (int i = 0; i < n; ++i) EXPECT_EQ(lines[i], c.lines[i]);
  }
}

TEST(Ikestra, SplitPath) {
  struct Case {
    const char* name;
    const char* drive;
    const char* dir;
    const char* base;
    const char* ext;
  } cases[] = {
      {"deck.dat", "", "", "deck", ".dat"},
      {"/home/eng/pier.in", "", "/home/eng/", "pier", ".in"},
      {"C:\\jobs\\abut.inputfile", "C:", "\\jobs\\", "abut", ".inpu"},
      {"noext", "", "", "noext", ""},
      {"dir.v2/file", "", "dir.v2/", "file", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PATH_PARTS p = SPLIT_PATH(c.name);
    EXPECT_EQ(p.drive, c.drive);
    EXPECT_EQ(p.dir, c.dir);
    EXPECT_EQ(p.base, c.base);
    EXPECT_EQ(p.ext, c.ext);
  }
}

TEST(Report, DateBlockSkipsTheDateLineForABadMonth) {
  std::FILE* f = std::tmpfile();
  std::tm t{};
  t.tm_mon = 12;  // month 13
  WRITE_DATE_BLOCK(f, t);
  std::rewind(f);
  char buf[512] = {};
  const std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  const std::string s(buf, n);
  EXPECT_NE(s.find("Time and Date of Analysis"), std::string::npos);
  EXPECT_EQ(s.find("Date:"), std::string::npos);
}

TEST(Report, UnitLabelsOfTheThreeSystems) {
  auto run = std::make_unique<RUN>();
  struct Case {
    int code;
    const char *len, *force, *len3, *force4, *name;
  } cases[] = {{1, "IN", "LBS", " IN", " LBS", "ENGL"},
               {2, " M", " KN", "  M", "  KN", "METR"},
               {3, " L", "  F", "  L", "   F", "OPEN"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    run->store.ctl.UNITS_SYSTEM = c.code;
    SET_UNIT_LABELS(run->store);
    EXPECT_STREQ(run->store.labels.LENGTH_LABEL, c.len);
    EXPECT_STREQ(run->store.labels.FORCE_LABEL, c.force);
    EXPECT_STREQ(run->store.labels.LENGTH_LABEL3, c.len3);
    EXPECT_STREQ(run->store.labels.FORCE_LABEL4, c.force4);
    EXPECT_STREQ(run->store.labels.UNITS_NAME, c.name);
  }
}
