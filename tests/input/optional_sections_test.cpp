// Which records the control options call for: optional sections present or
// absent, records that only some options read, and what the reader keeps.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/run.h"
#include "input/input.h"
#include "support/test_support.h"

using namespace kestra;
using kestra_test::file_text;

namespace {

const std::string SELECT = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";

std::string deck(const std::string& control, const std::string& cap, const std::string& tail,
                 const std::string& combs = "LOAD COMBINATIONS\n0 0 0 0 0\n") {
  return "TITLE\nVERSION\nCONTROL PARAMETERS\n" + control + "PILE CAP\n" + cap +
         "LOAD CASES\n1 0 0 0 0\n0 0 0 1 1 100 100\n1E-5 1E-5 1 0.01\nCASE\n0 0 0 0 0 0 0\n0 1 1.0 0 0 0 0 0\n0\n" +
         SELECT + "0\n0\n0\n" + combs +
         "DISTRIBUTED LOAD SETS\n0\n"
         "ARRANGEMENT OF PILE GROUPS\n1\n2 2 1 0 0 0\n0 36 1 1 1\n0 0 0 0\n"
         "PILE PROPERTIES\n1\n1 1\n10 360 1\n0 360 1 2.9E7 0 0\n"
         "PILE CROSS SECTIONS\n1\n1 1 0\n'PIPE'\n12 0 0 0 0 0 0 0\n1.1E7 10 100 100 0 1E7 1E6 1E5 0 0\n"
         "SOIL LAYERS\n1\n0 4\n0 600\n2 9\n0.04 0 35 90 0 0 0 1 10\n0.04 0 35 90 0 0 0 1 10\n" +
         tail;
}

struct READ {
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  int status = 0;
  std::string report, runtime;
  bool at_end = false;  // nothing of the deck left unread

  explicit READ(const std::string& text, bool echo = false, const std::string& curve_file = "") {
    RUN_RESET(*run);
    FILE* in = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), in);
    std::rewind(in);
    run->files.fp[F_INPUT] = in;
    run->files.name[F_CURVE_DATA] = curve_file;
    for (int role : {F_REPORT, F_RUNTIME, F_PLOT, F_AXIAL_CURVES}) run->files.fp[role] = std::tmpfile();
    SET_ENTRY_VALUES(*run);
    status = READ_INPUT(*run);
    if (status == ST_OK && echo) status = ECHO_TABLES(*run);
    at_end = std::fgetc(in) == EOF;
    report = file_text(run->files.fp[F_REPORT]);
    runtime = file_text(run->files.fp[F_RUNTIME]);
    for (FILE*& f : run->files.fp)
      if (f) {
        std::fclose(f);
        f = nullptr;
      }
  }
};

}  // namespace

// Nothing after the last section the options call for is read: a deck with
// no optional section ends after the soil layers, whatever follows.
TEST(OptionalSections, NothingIsReadAfterTheLastCalledForSection) {
  const READ r(deck("1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n", "0 0 0\n", "P-Y CURVES TO PRINT\nnot read\n"));
  EXPECT_EQ(r.status, ST_OK) << r.runtime;
  EXPECT_FALSE(r.at_end);
  EXPECT_EQ(r.runtime.find("READING P-Y CURVES"), std::string::npos);

  // KPYOP -1: p-y only, section 11 absent. USER_PY 2: section 12 absent, but
  // the group analysis sees user p-y curves.
  const READ r2(deck("1 2 0 0 2 0 0 0 0 0 -1 0 0 0 0 0\n", "0 0 0\n", ""));
  EXPECT_EQ(r2.status, ST_OK) << r2.runtime;
  EXPECT_TRUE(r2.at_end);
  EXPECT_TRUE(r2.run->store.ctl.USER_PY_PRESENT);
  EXPECT_FALSE(r2.run->store.ctl.USER_LS_PRESENT);
}

// CAP_OPTION 3 reads the model record but prints no model option; FLEX_CAP
// reads the plate record after it.
TEST(OptionalSections, CapModelAndFlexibleCapRecords) {
  const READ r(deck("1 2 3 1 0 0 0 0 0 0 0 0 0 0 0 0\n", "120 60 30\n1 2 8 500 2000 1.5\n60 0 6 4 3.6E6 0.2\n", ""),
               true);
  ASSERT_EQ(r.status, ST_OK) << r.runtime;
  EXPECT_TRUE(r.at_end);
  const PILE_DATA& p = r.run->store.piles;
  EXPECT_EQ(p.CAP_SPRINGS, 1);
  EXPECT_EQ(p.CAP_MODEL, 2);
  EXPECT_EQ(p.CAP_INCREMENTS, 8);
  EXPECT_DOUBLE_EQ(p.Y_MAX, 1.5);
  EXPECT_DOUBLE_EQ(p.SLAB_YC, 60.0);
  EXPECT_EQ(p.SLAB_NY, 6);
  EXPECT_EQ(p.SLAB_NZ, 4);
  EXPECT_DOUBLE_EQ(p.SLAB_NU, 0.2);
  EXPECT_NE(r.report.find("* PILE CAP IS EMBEDDED AND PASSIVE EARTH"), std::string::npos);
  EXPECT_EQ(r.report.find("- USING EQUIVALENT"), std::string::npos);
  EXPECT_EQ(r.report.find("- USE "), std::string::npos);
  EXPECT_DOUBLE_EQ(p.CAP_WIDTH, 60.0);  // 2D keeps the width
}

// Section 18: the second deflection list is kept apart from NYPTS; the curve
// data file is created in the form the control record asks for.
TEST(OptionalSections, CurveDataFileOptions) {
  const auto dir = kestra_test::scratch_dir("OptionalSectionsCurveFile");
  const std::string file = (dir / "curves.bin").string();
  const READ r(deck("1 2 0 0 0 0 0 0 0 0 0 0 0 0 1 1\n", "0 0 0\n",
                    "CURVE DATA FILE\n2 1 1\n3\n0.1\n0.2\n0.4\n2\n5.0\n6.0\n"),
               false, file);
  ASSERT_EQ(r.status, ST_OK) << r.runtime;
  EXPECT_TRUE(r.at_end);
  const CONTROL& c = r.run->store.ctl;
  EXPECT_EQ(c.CURVE_FILE_MODE, 2);
  EXPECT_EQ(c.NYPTS, 3);
  EXPECT_DOUBLE_EQ(c.CURVE_DEFL[3], 0.4);
  EXPECT_EQ(c.NLIST2, 2);
  EXPECT_DOUBLE_EQ(c.CURVE_LIST2[2], 6.0);
  EXPECT_TRUE(r.run->files.curve_binary);
  EXPECT_EQ(r.run->store.rw.CURVE_CODE_A, 33);
  EXPECT_EQ(r.run->store.rw.CURVE_CODE_B, 19);
  EXPECT_TRUE(std::filesystem::exists(file));

  // Only the second list: NYPTS stays 0.
  const READ r2(deck("1 2 0 0 0 0 0 0 0 0 0 0 0 0 1 0\n", "0 0 0\n", "CURVE DATA FILE\n0 0 1\n1\n5.0\n"));
  ASSERT_EQ(r2.status, ST_OK) << r2.runtime;
  EXPECT_EQ(r2.run->store.ctl.NYPTS, 0);
  EXPECT_EQ(r2.run->store.ctl.NLIST2, 1);
  EXPECT_FALSE(r2.run->files.curve_binary);
}

// A combination whose record 4 announces three cases and whose record 8
// lists two reads two; record 5 holds seven values and ignores the rest of
// its line.
TEST(OptionalSections, CombinationCountsAndRecordFive) {
  const std::string combs = "LOAD COMBINATIONS\n1 0 0 0 0\n0 0 0 1 1 100 100\n1E-5 1E-5 1 0.01\nCOMB\n0.9 0.75 3\n"
                            "2 4 1 0.5 0.25 1 1 77 88\n0\n" +
                            SELECT + "2\n1 1.0\n1 0.5\n";
  const READ r(deck("1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n", "0 0 0\n", "", combs));
  ASSERT_EQ(r.status, ST_OK) << r.runtime;
  EXPECT_TRUE(r.at_end);
  const LOAD_COMB& k = r.run->store.loads.COMB[1];
  EXPECT_EQ(k.NCOMB_CASES, 2);
  EXPECT_EQ(k.PRINT_OPTION, 2);
  EXPECT_EQ(k.PRINT_EVERY, 4);
  EXPECT_EQ(k.USE_ALT_TOL, 1);
  EXPECT_DOUBLE_EQ(k.ALT_TOL_DISP, 0.5);
  EXPECT_DOUBLE_EQ(k.ALT_TOL_ROT, 0.25);
  EXPECT_EQ(k.AXIAL_VARIATION, 1);
  EXPECT_EQ(k.NOT_ANALYZED, 1);
  EXPECT_DOUBLE_EQ(k.ENTRY[2].FACTOR, 0.5);
}
