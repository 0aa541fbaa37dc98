// Broken decks: every count above its table, a deck that ends inside a
// section, a value of the wrong kind, a negative count where a list follows
// and a reference to something that does not exist stop the run with a
// message naming the section, the item and the numbers, and with one of the
// engine's own status codes. Controls that would keep the analysis from
// ending are mended with a warning.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/ikestra.h"
#include "engine/run.h"
#include "input/input.h"
#include "support/test_support.h"

using namespace kestra;
using namespace kestra_test;

namespace {

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// A small sound 2D deck, section by section; a case replaces one section
// (or the control record) to break it.
struct DECK_PARTS {
  std::string control = "1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";
  std::string cap = "PILE CAP\n0 0 0\n";
  std::string cases =
      "LOAD CASES\n"
      "1 0 0 0 0\n"
      "0 0 0 1 1 100 100\n"
      "1.0E-5 1.0E-5 1.0 0.01\n"
      "LATERAL\n"
      "0 0 0 0 0 0 0\n"
      "0 1 1.0 0 0 0 0 0\n"
      "0\n" +
      repeat("1 ", 25) +
      "\n"
      "1\n"
      "100 10 0 0 0 0 0 0 0\n"
      "0\n"
      "0\n";
  std::string combs = "LOAD COMBINATIONS\n0 0 0 0 0\n";
  std::string dsets = "DISTRIBUTED LOAD SETS\n0\n";
  std::string arrangement =
      "ARRANGEMENT OF PILE GROUPS\n"
      "1\n"
      "2 2 1 0 0 0\n"
      "0 36 1 1 1\n"
      "0 0 0 0\n";
  std::string properties = "PILE PROPERTIES\n1\n1 1\n10 360 1\n0 360 1 2.9E7 0 0\n";
  std::string sections =
      "PILE CROSS SECTIONS\n1\n1 1 0\n'PIPE'\n12 0 0 0 0 0 0 0\n1.1E7 10 100 100 0 1E7 1E6 1E5 0 0\n";
  std::string layers =
      "SOIL LAYERS\n1\n0 4\n0 600\n2 9\n0.04 0 35 90 0 0 0 0 0\n0.04 0 35 90 0 0 0 0 0\n";
  std::string tail;  // optional sections

  std::string text() const {
    return "TITLE\nVERSION\nCONTROL PARAMETERS\n" + control + cap + cases + combs + dsets + arrangement + properties +
           sections + layers + tail;
  }
};

// A run over an in-memory deck, with the report and runtime files kept as
// temporary files.
struct DECK_RUN {
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  int status = 0;
  std::string report, runtime;

  explicit DECK_RUN(const std::string& text, bool echo = true) {
    RUN_RESET(*run);
    FILE* in = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), in);
    std::rewind(in);
    run->files.fp[F_INPUT] = in;
    run->files.name[F_INPUT] = "t.dat";
    run->files.fp[F_REPORT] = std::tmpfile();
    run->files.fp[F_RUNTIME] = std::tmpfile();
    run->files.fp[F_PLOT] = std::tmpfile();
    run->files.fp[F_AXIAL_CURVES] = std::tmpfile();
    SET_ENTRY_VALUES(*run);
    status = READ_INPUT(*run);
    if (status == ST_OK && echo) status = ECHO_INPUT(*run);
    report = file_text(run->files.fp[F_REPORT]);
    runtime = file_text(run->files.fp[F_RUNTIME]);
    for (FILE*& f : run->files.fp)
      if (f) {
        std::fclose(f);
        f = nullptr;
      }
  }
};

struct BAD_CASE {
  const char* id;
  void (*breaks)(DECK_PARTS&);
  int status;
  std::vector<std::string> message_parts;  // every one must be in the runtime file and the report
};

void expect_refused(const BAD_CASE& c) {
  SCOPED_TRACE(c.id);
  DECK_PARTS parts;
  c.breaks(parts);
  DECK_RUN r(parts.text());
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.run->status, c.status);
  for (const std::string& part : c.message_parts) {
    EXPECT_NE(r.runtime.find(part), std::string::npos) << "runtime file lacks \"" << part << "\":\n" << r.runtime;
    EXPECT_NE(r.report.find(part), std::string::npos) << "report lacks \"" << part << "\"";
  }
}

}  // namespace

TEST(BadInput, TheSoundBaseDeckReadsAndEchoes) {
  DECK_PARTS parts;
  DECK_RUN r(parts.text());
  EXPECT_EQ(r.status, ST_OK) << r.runtime;
  EXPECT_NE(r.report.find("* TABLE D *"), std::string::npos);
}

// Every table limit is refused before anything is stored beyond it.
TEST(BadInput, CountsAboveTheirLimits) {
  const BAD_CASE cases[] = {
      {"2001 groups", [](DECK_PARTS& p) { p.arrangement = "ARRANGEMENT OF PILE GROUPS\n2001\n"; }, ST_DECK_LIMIT,
       {"section \"ARRANGEMENT OF PILE GROUPS\"", "NPILES = 2001 exceeds the limit of 2000"}},
      {"21 layers", [](DECK_PARTS& p) { p.layers = "SOIL LAYERS\n21\n"; }, ST_DECK_LIMIT,
       {"section \"SOIL LAYERS\"", "NLAYERS = 21 exceeds the limit of 20"}},
      {"101 load cases", [](DECK_PARTS& p) { p.cases = "LOAD CASES\n101 0 0 0 0\n"; }, ST_DECK_LIMIT,
       {"section \"LOAD CASES\"", "NLC = 101 exceeds the limit of 100"}},
      {"101 concentrated loads",
       [](DECK_PARTS& p) { p.cases.replace(p.cases.find("\n1\n100 10"), 3, "\n101\n"); }, ST_DECK_LIMIT,
       {"NCONC of load case 1 = 101 exceeds the limit of 100"}},
      {"26 stiffness levels",
       [](DECK_PARTS& p) { p.cases.replace(p.cases.rfind("0\n0\n"), 4, "0\n26\n"); }, ST_DECK_LIMIT,
       {"NLEVELS of load case 1 = 26 exceeds the limit of 25"}},
      {"101 distributed loads",
       [](DECK_PARTS& p) { p.cases.replace(p.cases.rfind("0\n0\n"), 4, "101\n"); }, ST_DECK_LIMIT,
       {"NDIST of load case 1 = 101 exceeds the limit of 100"}},
      {"101 combinations", [](DECK_PARTS& p) { p.combs = "LOAD COMBINATIONS\n101 0 0 0 0\n"; }, ST_DECK_LIMIT,
       {"section \"LOAD COMBINATIONS\"", "NCOMB = 101 exceeds the limit of 100"}},
      {"101 cases in a combination",
       [](DECK_PARTS& p) {
         p.combs = "LOAD COMBINATIONS\n1 0 0 0 0\n0 0 0 1 1 100 100\n1E-5 1E-5 1 0.01\nCOMB\n1 1 1\n0 1 0 0 0 0 0\n0\n" +
                   repeat("1 ", 25) + "\n101\n";
       },
       ST_DECK_LIMIT, {"NCOMB_CASES of load combination 1 = 101 exceeds the limit of 100"}},
      {"2001 distributed-load sets", [](DECK_PARTS& p) { p.dsets = "DISTRIBUTED LOAD SETS\n2001\n"; }, ST_DECK_LIMIT,
       {"NDSETS = 2001 exceeds the limit of 2000"}},
      {"102 points of a distributed-load set", [](DECK_PARTS& p) { p.dsets = "DISTRIBUTED LOAD SETS\n1\n102\n"; },
       ST_DECK_LIMIT, {"distributed-load set 1 = 102 exceeds the limit of 101"}},
      {"101 increments", [](DECK_PARTS& p) { p.properties = "PILE PROPERTIES\n1\n1 1\n101 360 1\n"; },
       ST_DECK_LIMIT, {"section \"PILE PROPERTIES\"", "INC of property set 1 = 101 exceeds the limit of 100"}},
      {"51 property sets", [](DECK_PARTS& p) { p.properties = "PILE PROPERTIES\n51\n"; }, ST_DECK_LIMIT,
       {"NPROP = 51 exceeds the limit of 50"}},
      {"21 pile sections", [](DECK_PARTS& p) { p.properties = "PILE PROPERTIES\n1\n1 21\n"; }, ST_DECK_LIMIT,
       {"NSECT of property set 1 = 21 exceeds the limit of 20"}},
      {"101 cross sections", [](DECK_PARTS& p) { p.sections = "PILE CROSS SECTIONS\n101\n"; }, ST_DECK_LIMIT,
       {"NXSEC = 101 exceeds the limit of 100"}},
      {"151 points of a moment-curvature curve",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 0 0 0 1 0 0 0 0 0 0 0\n";
         p.tail = "MOMENT CURVATURE\n1\n1 1\n0.0\n151 151\n";
       },
       ST_DECK_LIMIT,
       {"section \"MOMENT CURVATURE\"",
        "the number of points of moment-curvature set 1, curve 1 = 151 exceeds the limit of 150"}},
      {"51 moment-curvature sets",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 0 0 0 1 0 0 0 0 0 0 0\n";
         p.tail = "MOMENT CURVATURE\n51\n";
       },
       ST_DECK_LIMIT, {"NMCSETS = 51 exceeds the limit of 50"}},
      {"26 curve-file deflections",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 0 0 0 0 0 0 0 0 0 1 0\n";
         p.tail = "CURVE FILE\n1 1 0\n26\n";
       },
       ST_DECK_LIMIT, {"NYPTS = 26 exceeds the limit of 25"}},
  };
  for (const BAD_CASE& c : cases) expect_refused(c);
}

TEST(BadInput, DeckEndsInsideASection) {
  const BAD_CASE cases[] = {
      {"no control record", [](DECK_PARTS& p) { p = DECK_PARTS{}; p.control = ""; p.cap = ""; p.cases = "";
         p.combs = p.dsets = p.arrangement = p.properties = p.sections = p.layers = ""; },
       ST_DECK_END, {"UNITS_SYSTEM"}},
      {"inside a load case", [](DECK_PARTS& p) {
         p.cases = "LOAD CASES\n1 0 0 0 0\n0 0 0 1 1 100 100\n1.0E-5 1.0E-5\n";
         p.combs = p.dsets = p.arrangement = p.properties = p.sections = p.layers = ""; },
       ST_DECK_END, {"section \"LOAD CASES\"", "LOAD_INCREMENT"}},
      {"a group record cut short", [](DECK_PARTS& p) {
         p.arrangement = "ARRANGEMENT OF PILE GROUPS\n1\n2 2 1 0 0 0\n0 36 1\n";
         p.properties = p.sections = p.layers = ""; },
       ST_DECK_END, {"section \"ARRANGEMENT OF PILE GROUPS\"", "Y_FACTOR of group 1"}},
      {"a tapered section without its bottom properties", [](DECK_PARTS& p) {
         p.sections = "PILE CROSS SECTIONS\n1\n1 1 0\n'TAPER'\n12 0 0 0 0 0 0 0\n1 10 100 100 0 1 1 1 0 1\n"
                      "10 0 0 0 0 0 0 0\n";
         p.layers = ""; },
       ST_DECK_END, {"section \"PILE CROSS SECTIONS\"", "BOTTOM_PROPERTIES"}},
      {"an optional section called for but absent", [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0\n"; },
       ST_DECK_END, {"section header"}},
  };
  for (const BAD_CASE& c : cases) expect_refused(c);
}

TEST(BadInput, WrongKindsAndNegativeCounts) {
  const BAD_CASE cases[] = {
      {"a real for an integer count", [](DECK_PARTS& p) { p.arrangement = "ARRANGEMENT OF PILE GROUPS\n1.5\n"; },
       ST_DECK_KIND, {"NPILES", "1.5"}},
      {"text for a real", [](DECK_PARTS& p) { p.cap = "PILE CAP\n0 zero 0\n"; }, ST_DECK_KIND,
       {"section \"PILE CAP\"", "CAP_WIDTH"}},
      {"negative group count", [](DECK_PARTS& p) { p.arrangement = "ARRANGEMENT OF PILE GROUPS\n-2\n"; },
       ST_DECK_LIMIT, {"NPILES = -2 is negative where a list must follow"}},
      {"negative section count", [](DECK_PARTS& p) { p.properties = "PILE PROPERTIES\n1\n1 -1\n"; },
       ST_DECK_LIMIT, {"NSECT of property set 1 = -1 is negative"}},
      {"analysis type 4", [](DECK_PARTS& p) { p.control = "1 4 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"; }, ST_DECK_RANGE,
       {"ANALYSIS_TYPE = 4"}},
      {"no increments", [](DECK_PARTS& p) { p.properties = "PILE PROPERTIES\n1\n1 1\n0 360 1\n"; },
       ST_BAD_PROPERTY, {"INC of property set 1 is 0"}},
  };
  for (const BAD_CASE& c : cases) expect_refused(c);
}

// A count of zero or less where the list may be empty keeps its meaning:
// nothing follows.
TEST(BadInput, NegativeLoadCountsMeanNoList) {
  DECK_PARTS parts;
  parts.cases = "LOAD CASES\n-1 0 0 0 0\n";
  parts.combs = "LOAD COMBINATIONS\n-3 0 0 0 0\n";
  parts.dsets = "DISTRIBUTED LOAD SETS\n-1\n";
  DECK_RUN r(parts.text());
  EXPECT_EQ(r.status, ST_OK) << r.runtime;
  EXPECT_EQ(r.run->store.loads.NLC, 0);
  EXPECT_EQ(r.run->store.loads.NCOMB, 0);
  EXPECT_EQ(r.run->store.loads.NDSETS, 0);
}

TEST(BadInput, ReferencesToThingsThatDoNotExist) {
  const BAD_CASE cases[] = {
      {"property set", [](DECK_PARTS& p) { p.arrangement.replace(p.arrangement.find("2 2 1"), 5, "2 2 3"); },
       ST_DECK_REFERENCE, {"group 1 refers to pile property set 3", "1 property set given"}},
      {"cross section", [](DECK_PARTS& p) { p.properties = "PILE PROPERTIES\n1\n1 1\n10 360 1\n0 360 2 2.9E7 0 0\n"; },
       ST_DECK_REFERENCE, {"property set 1, pile section 1 refers to cross section 2"}},
      {"load case of a combination",
       [](DECK_PARTS& p) {
         p.combs = "LOAD COMBINATIONS\n1 0 0 0 0\n0 0 0 1 1 100 100\n1E-5 1E-5 1 0.01\nCOMB\n1 1 1\n0 1 0 0 0 0 0\n0\n" +
                   repeat("1 ", 25) + "\n2\n1 1.0\n4 1.0\n";
       },
       ST_DECK_REFERENCE, {"load combination 1, entry 2 refers to load case 4", "there are 1 load cases"}},
      {"distributed-load set",
       [](DECK_PARTS& p) { p.cases.replace(p.cases.rfind("0\n0\n"), 4, "1\n0 1 1 0 0 3 1.0 0 0\n0\n"); },
       ST_DECK_REFERENCE, {"distributed load 1 of load case 1 refers to distributed-load set 3"}},
      {"depth-factor set",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0\n";
         p.arrangement.replace(p.arrangement.find("2 2 1 0 0 0"), 11, "2 2 1 0 0 2");
         p.tail = "DEPTH FACTORS\n1\n0 2\n0 1 1\n100 1 1\n";
       },
       ST_DECK_REFERENCE, {"pile group 1 refers to reduction-factor set 2"}},
      {"moment-curvature set",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 0 0 0 1 0 0 0 0 0 0 0\n";
         p.properties = "PILE PROPERTIES\n1\n1 1\n10 360 1\n0 360 1 2.9E7 2 0\n";
         p.tail = "MOMENT CURVATURE\n1\n1 1\n0.0\n2 2\n0 0\n1E6 1E-4\n";
       },
       ST_DECK_REFERENCE, {"refers to moment-curvature set 2 (SET_NLEI_Y)"}},
      {"user p-y curve set",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 1 0 0 0 0 0 0 0 0 0 0 0\n";
         p.arrangement.replace(p.arrangement.find("2 2 1 0 0 0"), 11, "2 2 1 2 0 0");
         p.tail = "USER P-Y CURVES\n1\n0 1\n10.0\n2\n0 0\n100 1\n";
       },
       ST_DECK_REFERENCE, {"pile group 1 refers to p-y curve set 2"}},
      {"user load-settlement curve",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 1 0 0 0 0 0 0 0 0 0 0\n";
         p.arrangement.replace(p.arrangement.find("2 2 1 0 0 0"), 11, "2 2 1 0 3 0");
         p.tail = "USER LOAD-SETTLEMENT CURVES\n1\n0 2\n0 0\n100 1\n";
       },
       ST_DECK_REFERENCE, {"pile group 1 refers to load-settlement curve 3"}},
      {"pile group of a p-y curve to print",
       [](DECK_PARTS& p) {
         p.control = "1 2 0 0 0 0 0 0 0 0 1 0 0 0 0 0\n";
         p.tail = "P-Y CURVES TO PRINT\n1\n4 10.0\n0\n";
       },
       ST_DECK_REFERENCE, {"p-y curve 1 refers to pile group 4"}},
  };
  for (const BAD_CASE& c : cases) expect_refused(c);
}

// Controls that would loop for ever are mended, each with a warning in the
// report and the runtime file.
TEST(BadInput, ControlsThatWouldNeverEndAreMended) {
  DECK_PARTS parts;
  parts.cases =
      "LOAD CASES\n"
      "1 1 2 0 0\n" +
      repeat("1 ", 25) +
      "\n"
      "0 0 0 0 0 100 100\n"     // cyclic, 0 cycles
      "1.0E-5 1.0E-5 1.5 0.0\n"  // increment above 1, no minimum
      "MENDED\n"
      "0 0 0 0 0 0 0\n"
      "2 0 1.0 0 0 0 0 0\n"  // along the piles every 0 nodes
      "0\n" +
      repeat("1 ", 25) + "\n0\n0\n0\n";
  DECK_RUN r(parts.text());
  ASSERT_EQ(r.status, ST_OK) << r.runtime;
  const LOAD_CASE& lc = r.run->store.loads.CASE[1];
  EXPECT_EQ(lc.PRINT_EVERY, 1);
  EXPECT_EQ(lc.NCYCLES, 1);
  EXPECT_EQ(lc.LOAD_INCREMENT, 1.0);
  EXPECT_EQ(lc.MIN_INCREMENT, 1.0E-4);
  EXPECT_EQ(r.run->store.loads.CASE_ENV_EVERY, 1);
  for (const char* w : {"** WARNING **  LOAD CASE 1: PRINT_EVERY 0 IS BELOW 1, 1 IS USED",
                        "** WARNING **  LOAD CASE 1: NCYCLES 0 IS BELOW 1, 1 IS USED",
                        "** WARNING **  LOAD CASE 1: LOAD_INCREMENT 1.5 IS NOT IN (0,1], 1.0 IS USED",
                        "** WARNING **  LOAD CASE 1: MIN_INCREMENT 0 IS NOT ABOVE 0, 0.0001 IS USED",
                        "** WARNING **  LOAD CASES ENVELOPES: CASE_ENV_EVERY 0 IS BELOW 1, 1 IS USED"}) {
    EXPECT_NE(r.report.find(w), std::string::npos) << w;
    EXPECT_NE(r.runtime.find(w), std::string::npos) << w;
  }
}

// The whole run: the message and the engine's own status reach the closing
// lines of the runtime file, and the run still ends with every file closed
// and the summary completed.
TEST(BadInput, IkestraStopsWithTheStatusAndClosesTheRun) {
  const auto dir = scratch_dir("BadInputIkestra");
  std::string names = "TESTVER\nunused\nunused\n0\ndeck.dat\n";
  for (int rec = 6; rec <= NAMES_RECORDS; ++rec) names.append("f").append(std::to_string(rec)).append(".txt\n");
  write_file(dir / "Names.dat", names);
  DECK_PARTS parts;
  parts.layers = "SOIL LAYERS\n21\n";
  write_file(dir / "deck.dat", parts.text());
  auto run = std::make_unique<RUN>();
  const int st = in_directory(dir, [&] { return RUN_IKESTRA(*run, 20); });
  EXPECT_EQ(st, ST_DECK_LIMIT);
  auto file = [&](int role) { return dir / ("f" + std::to_string(role) + ".txt"); };
  const std::vector<std::string> rt = read_lines(file(F_RUNTIME));
  ASSERT_GE(rt.size(), 2u);
  EXPECT_EQ(rt.back(), "     113, UNKNOWN CODE");
  const std::string report = read_file(file(F_REPORT));
  EXPECT_NE(report.find("NLAYERS = 21 exceeds the limit of 20"), std::string::npos);
  const std::string summary = read_file(file(F_SUMMARY));
  EXPECT_NE(summary.find("SUMMARY FOR LOAD CASES AND COMBINATIONS"), std::string::npos);
  // Closed files can be removed and recreated at once.
  std::filesystem::remove_all(dir);
  EXPECT_FALSE(std::filesystem::exists(dir));
}
