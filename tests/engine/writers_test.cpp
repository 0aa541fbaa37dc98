// The piecewise line writers, above all the fixed/scientific choice of
// WRITE_REAL.
#include "engine/writers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

// A FILE* that collects what is written to it.
class CAPTURE {
 public:
  CAPTURE() : f_(open_memstream(&buf_, &len_)) {}
  ~CAPTURE() {
    std::fclose(f_);
    std::free(buf_);
  }
  FILE* file() { return f_; }
  std::string text() {
    std::fflush(f_);
    return std::string(buf_, len_);
  }

 private:
  char* buf_ = nullptr;
  size_t len_ = 0;
  FILE* f_;
};

struct REAL_CASE {
  const char* id;
  int w, d;
  double x;
  const char* format;  // the format chosen
  const char* text;    // the field written
};

const std::vector<REAL_CASE> kRealCases = {
    // (12, 4): lo = 0.1, hi = 10000.
    {"0.5 fixed, k = 0", 12, 4, 0.5, "F12.4", "      0.5000"},
    {"250 two decimals", 12, 4, 250.0, "F12.2", "      250.00"},
    {"12345 at or above hi", 12, 4, 12345.0, "1PE12.4", "  1.2345E+04"},
    {"0.05 at or below lo", 12, 4, 0.05, "1PE12.4", "  5.0000E-02"},
    {"0.1 equals lo", 12, 4, 0.1, "1PE12.4", "  1.0000E-01"},
    {"0.11 just above lo", 12, 4, 0.11, "F12.4", "      0.1100"},
    {"-9999.9 one decimal", 12, 4, -9999.9, "F12.1", "     -9999.9"},
    {"10000 equals hi", 12, 4, 10000.0, "1PE12.4", "  1.0000E+04"},
    {"100 exact power of ten", 12, 4, 100.0, "F12.2", "      100.00"},
    {"1000 exact power of ten", 12, 4, 1000.0, "F12.1", "      1000.0"},
    {"zero", 12, 4, 0.0, "F12.4", "      0.0000"},
    {"negative zero", 12, 4, -0.0, "F12.4", "      0.0000"},
    {"1e-60 prints zero", 12, 4, 1.0e-60, "F12.4", "      0.0000"},
    {"-1e-60 prints zero", 12, 4, -1.0e-60, "F12.4", "      0.0000"},
    {"1e-50 itself is not zero", 12, 4, 1.0e-50, "1PE12.4", "  1.0000E-50"},
    {"-1e200 three-digit exponent", 12, 4, -1.0e200, "1PE12.4", " -1.0000+200"},
    // (10, 2): lo = 10, hi = 100, only 10 < |x| < 100 is fixed.
    {"5 below the fixed band", 10, 2, 5.0, "1PE10.2", "  5.00E+00"},
    {"10 equals lo", 10, 2, 10.0, "1PE10.2", "  1.00E+01"},
    {"50 fixed one decimal", 10, 2, 50.0, "F10.1", "      50.0"},
    {"-50 fixed", 10, 2, -50.0, "F10.1", "     -50.0"},
    {"99.99 rounds up in F10.1", 10, 2, 99.99, "F10.1", "     100.0"},
    {"100 equals hi", 10, 2, 100.0, "1PE10.2", "  1.00E+02"},
    // (12, 5): lo = 0.01. An exact negative power of ten loses one more
    // from k (log10 0.1 is exactly -1), giving m = d + 2.
    {"0.1 with d = 5", 12, 5, 0.1, "F12.7", "   0.1000000"},
    {"0.02 with d = 5", 12, 5, 0.02, "F12.7", "   0.0200000"},
    {"0.2 with d = 5", 12, 5, 0.2, "F12.5", "     0.20000"},
    {"(13,5) 12345.678", 13, 5, 12345.678, "F13.1", "      12345.7"},
    {"(14,4) -123.456", 14, 4, -123.456, "F14.2", "       -123.46"},
    {"(18,5) 1e10", 18, 5, 1.0e10, "1PE18.5", "       1.00000E+10"},
    // (10, 3): lo = 1, hi = 1000.
    {"(10,3) 1 equals lo", 10, 3, 1.0, "1PE10.3", " 1.000E+00"},
    {"(10,3) 1.5", 10, 3, 1.5, "F10.3", "     1.500"},
    {"(10,3) 999.9996 rounds into F10.1", 10, 3, 999.9996, "F10.1", "    1000.0"},
    // Fields too narrow for the chosen form.
    {"narrow exponent form", 6, 4, 12345.0, "1PE6.4", "******"},
    {"narrow fixed form", 4, 4, 0.5, "F4.4", "****"},
    {"NaN", 12, 4, std::numeric_limits<double>::quiet_NaN(), "1PE12.4", "         NaN"},
    {"infinity", 12, 4, std::numeric_limits<double>::infinity(), "1PE12.4", "    Infinity"},
    {"d = 0 is always scientific", 12, 0, 5.0, "1PE12.0", "      5.E+00"},
};

TEST(WriteReal, ChoosesFixedOrScientific) {
  for (const REAL_CASE& c : kRealCases) {
    SCOPED_TRACE(c.id);
    CAPTURE cap;
    kestra::WRITE_REAL(cap.file(), c.w, c.d, c.x);
    EXPECT_EQ(cap.text(), c.text);
    char buf[24];
    EXPECT_EQ(kestra::WRITE_REAL_FORMAT(c.w, c.d, c.x, buf), c.format);
  }
}

TEST(LineWriters, Fields) {
  struct CASE {
    const char* id;
    void (*write)(FILE*);
    std::string expected;
  };
  const std::vector<CASE> cases = {
      {"blanks 0", [](FILE* f) { kestra::WRITE_BLANKS(f, 0); }, ""},
      {"blanks negative", [](FILE* f) { kestra::WRITE_BLANKS(f, -3); }, ""},
      {"blanks 3", [](FILE* f) { kestra::WRITE_BLANKS(f, 3); }, "   "},
      {"blanks 70", [](FILE* f) { kestra::WRITE_BLANKS(f, 70); }, std::string(70, ' ')},
      {"int", [](FILE* f) { kestra::WRITE_INT(f, 5, 42); }, "   42"},
      {"int negative", [](FILE* f) { kestra::WRITE_INT(f, 5, -7); }, "   -7"},
      {"int overflow", [](FILE* f) { kestra::WRITE_INT(f, 3, 12345); }, "***"},
      {"text1 cut", [](FILE* f) { kestra::WRITE_TEXT1(f, "AB"); }, "A"},
      {"text1 empty", [](FILE* f) { kestra::WRITE_TEXT1(f, ""); }, " "},
      {"text2 padded", [](FILE* f) { kestra::WRITE_TEXT2(f, "X"); }, "X "},
      {"text2 label", [](FILE* f) { kestra::WRITE_TEXT2(f, " M"); }, " M"},
      {"text3 label", [](FILE* f) { kestra::WRITE_TEXT3(f, " KN"); }, " KN"},
      {"text3 cut", [](FILE* f) { kestra::WRITE_TEXT3(f, "LBS-IN"); }, "LBS"},
      {"text6", [](FILE* f) { kestra::WRITE_TEXT6(f, "DISPL."); }, " DISPL. "},
      {"text6 padded", [](FILE* f) { kestra::WRITE_TEXT6(f, "ABC"); }, " ABC    "},
      {"text10", [](FILE* f) { kestra::WRITE_TEXT10(f, "SOIL REACT"); }, " SOIL REACT "},
      {"text10 cut", [](FILE* f) { kestra::WRITE_TEXT10(f, "TOO LONG TEXT"); }, " TOO LONG T "},
      {"end line", [](FILE* f) { kestra::END_LINE(f); }, " \n"},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    CAPTURE cap;
    c.write(cap.file());
    EXPECT_EQ(cap.text(), c.expected);
  }
}

TEST(LineWriters, RowIsAssembledOnOneLine) {
  CAPTURE cap;
  FILE* f = cap.file();
  kestra::WRITE_INT(f, 5, 3);
  kestra::WRITE_REAL(f, 12, 4, 0.5);
  kestra::WRITE_REAL(f, 12, 4, 12345.0);
  kestra::WRITE_TEXT3(f, "LBS");
  kestra::WRITE_TEXT1(f, "-");
  kestra::WRITE_TEXT2(f, "IN");
  kestra::END_LINE(f);
  kestra::WRITE_BLANKS(f, 2);
  kestra::WRITE_REAL(f, 10, 2, 50.0);
  kestra::END_LINE(f);
  EXPECT_EQ(cap.text(),
            "    3      0.5000  1.2345E+04LBS-IN \n"
            "        50.0 \n");
}

}  // namespace
