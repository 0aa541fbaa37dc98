// The field-notation formatter: exact output strings for every descriptor,
// the format control (repeats, groups, reversion, values running out, $) and
// malformed formats.
#include "engine/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using kestra::FARG;
using kestra::FORMAT;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct CASE {
  const char* id;
  const char* fmt;
  std::vector<FARG> args;
  std::string expected;  // the whole output, newlines included
};

std::string run(const CASE& c, bool* open = nullptr) {
  std::string out;
  const bool o = FORMAT(out, c.fmt, std::span<const FARG>(c.args.data(), c.args.size()));
  if (open) *open = o;
  return out;
}

void check_table(const std::vector<CASE>& cases) {
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(run(c), c.expected) << "format " << c.fmt;
  }
}

TEST(FormatInteger, Fields) {
  check_table({
      {"I5 positive", "(I5)", {42}, "   42\n"},
      {"I5 negative", "(I5)", {-42}, "  -42\n"},
      {"I3 exactly full with sign", "(I3)", {-99}, "-99\n"},
      {"I3 overflow", "(I3)", {1234}, "***\n"},
      {"I2 overflow by the sign", "(I2)", {-10}, "**\n"},
      {"I1 zero", "(I1)", {0}, "0\n"},
      {"I5.3 leading zeros", "(I5.3)", {7}, "  007\n"},
      {"I5.3 negative leading zeros", "(I5.3)", {-7}, " -007\n"},
      {"I5.3 more digits than m", "(I5.3)", {12345}, "12345\n"},
      {"I4.4 negative overflows", "(I4.4)", {-7}, "****\n"},
      {"I3.0 of zero is blank", "(I3.0)", {0}, "   \n"},
      {"I3.0 of nonzero", "(I3.0)", {5}, "  5\n"},
      {"I0 minimal width", "(I0,'|')", {-123}, "-123|\n"},
      {"I20 most negative", "(I20)", {LLONG_MIN}, "-9223372036854775808\n"},
      {"I of a real truncates", "(2I5)", {12.9, -12.9}, "   12  -12\n"},
      {"I of a small negative real", "(I5)", {-0.7}, "    0\n"},
      {"I of a huge real overflows", "(I5)", {1.0e30}, "*****\n"},
      {"I of a real beyond 64 bits", "(I25)", {1.0e20}, "    100000000000000000000\n"},
      {"I of NaN", "(I5)", {kNaN}, "  NaN\n"},
      {"I of a text", "(I4)", {"ab"}, "****\n"},
  });
}

TEST(FormatFixed, RoundingAndLayout) {
  check_table({
      // 2.675 is stored as 2.67499999..., so it rounds down.
      {"F5.2 2.675", "(F5.2)", {2.675}, " 2.67\n"},
      // 0.125 and 0.375 are exact ties: round to even.
      {"F5.2 0.125 tie", "(F5.2)", {0.125}, " 0.12\n"},
      {"F5.2 0.375 tie", "(F5.2)", {0.375}, " 0.38\n"},
      {"F6.3 1.0005 below the tie", "(F6.3)", {1.0005}, " 1.000\n"},
      {"F9.3 negative", "(F9.3)", {-1234.5678}, "-1234.568\n"},
      {"F8.3 negative overflow", "(F8.3)", {-1234.5678}, "********\n"},
      {"F5.1 rounds up a digit", "(F5.1)", {99.96}, "100.0\n"},
      {"F4.1 rounds up into overflow", "(F4.1)", {99.96}, "****\n"},
      {"F4.0 point without decimals", "(F4.0)", {12.3}, " 12.\n"},
      {"F4.0 of 0.4", "(F4.0)", {0.4}, "  0.\n"},
      {"F2.0 of 0.3", "(F2.0)", {0.3}, "0.\n"},
      {"F3.2 drops the leading zero", "(F3.2)", {0.46}, ".46\n"},
      {"F4.2 keeps the leading zero", "(F4.2)", {0.46}, "0.46\n"},
      {"F4.2 negative drops it", "(F4.2)", {-0.46}, "-.46\n"},
      {"F3.2 negative overflow", "(F3.2)", {-0.46}, "***\n"},
      {"F5.2 negative zero", "(F5.2)", {-0.0}, " 0.00\n"},
      {"F5.2 rounds to zero: no sign", "(F5.2)", {-0.001}, " 0.00\n"},
      {"F3.2 negative rounding to zero", "(F3.2)", {-0.004}, ".00\n"},
      {"F5.2 negative rounding away from zero", "(F5.2)", {-0.005001}, "-0.01\n"},
      {"F10.3 of an integer", "(F10.3)", {42}, "    42.000\n"},
      {"F8.2 huge", "(F8.2)", {1.0e300}, "********\n"},
      {"F3.5 more decimals than width", "(F3.5)", {0.5}, "***\n"},
      {"F8.2 infinity", "(F8.2)", {kInf}, "Infinity\n"},
      {"F8.2 negative infinity shortened", "(F8.2)", {-kInf}, "    -Inf\n"},
      {"F9.2 negative infinity", "(F9.2)", {-kInf}, "-Infinity\n"},
      {"F5.1 NaN", "(F5.1)", {kNaN}, "  NaN\n"},
      {"F2.1 NaN too wide", "(F2.1)", {kNaN}, "**\n"},
      {"F6.2 of a text", "(F6.2)", {"ab"}, "******\n"},
  });
}

TEST(FormatExponent, Fields) {
  check_table({
      {"E12.5 leading zero", "(E12.5)", {123.45}, " 0.12345E+03\n"},
      {"E10.3 negative fills the field", "(E10.3)", {-0.00123456}, "-0.123E-02\n"},
      {"E9.3 negative drops the zero", "(E9.3)", {-0.00123456}, "-.123E-02\n"},
      {"E8.3 overflow", "(E8.3)", {-0.00123456}, "********\n"},
      {"E10.3 zero", "(E10.3)", {0.0}, " 0.000E+00\n"},
      {"E10.3 negative zero", "(E10.3)", {-0.0}, " 0.000E+00\n"},
      {"E10.3 rounding raises the exponent", "(E10.3)", {0.99996}, " 0.100E+01\n"},
      {"E11.4 three-digit exponent", "(E11.4)", {1.0e100}, " 0.1000+101\n"},
      {"E11.4 exponent -99 keeps E", "(E11.4)", {1.0e-100}, " 0.1000E-99\n"},
      {"E12.4 negative three-digit exponent", "(E12.4)", {1.0e-120}, "  0.1000-119\n"},
      {"E12.4 of an integer", "(E12.4)", {5}, "  0.5000E+01\n"},
      {"E10.3 NaN", "(E10.3)", {kNaN}, "       NaN\n"},
      {"E12.4 infinity", "(E12.4)", {-kInf}, "   -Infinity\n"},
      {"E12.0 without scale has no digit", "(E12.0)", {5.0}, "************\n"},
  });
}

TEST(FormatExponent, ScaleFactor) {
  check_table({
      {"1PE12.4", "(1P,E12.4)", {12345.0}, "  1.2345E+04\n"},
      {"1PE12.4 negative small", "(1P,E12.4)", {-0.05}, " -5.0000E-02\n"},
      {"1PE10.4 overflow", "(1P,E10.4)", {-0.05}, "**********\n"},
      {"1PE12.4 zero", "(1P,E12.4)", {0.0}, "  0.0000E+00\n"},
      {"1PE16.7", "(1P,E16.7)", {-1.0e-5}, "  -1.0000000E-05\n"},
      {"1PE12.4 three-digit exponent", "(1P,E12.4)", {-1.0e200}, " -1.0000+200\n"},
      {"1PE12.0", "(1P,E12.0)", {5.0}, "      5.E+00\n"},
      {"1PE without comma", "(1PE10.3)", {1.0}, " 1.000E+00\n"},
      {"1P before a repeat", "(1P2E10.3)", {1.0, 2.0}, " 1.000E+00 2.000E+00\n"},
      {"scale lasts for the write", "(1P,E10.3,1X,E10.3)", {1.0, 2.0}, " 1.000E+00  2.000E+00\n"},
      {"0P resets", "(1P,E10.3,0P,E10.3)", {1.0, 1.0}, " 1.000E+00 0.100E+01\n"},
      {"2P", "(2P,E12.4)", {12345.0}, "  12.345E+03\n"},
      {"5P", "(5P,E12.4)", {12345.0}, "  12345.E+00\n"},
      {"6P leaves no decimals", "(6P,E12.4)", {12345.0}, "************\n"},
      {"-1P", "(-1P,E12.4)", {12345.0}, "  0.0123E+06\n"},
      {"-4P leaves no digit", "(-4P,E12.4)", {12345.0}, "************\n"},
      {"F is not scaled", "(1P,F6.2)", {1.5}, "  1.50\n"},
      {"scale survives reversion", "(1P,E10.2)", {1.0, 2.0}, "  1.00E+00\n  2.00E+00\n"},
  });
}

TEST(FormatGeneral, FixedOrExponent) {
  check_table({
      {"G12.5 at 0.1 is fixed", "(G12.5)", {0.1}, " 0.10000    \n"},
      {"G12.5 below 0.1", "(G12.5)", {0.0999994}, " 0.99999E-01\n"},
      {"G12.5 rounding up to 0.1", "(G12.5)", {0.0999996}, " 0.10000    \n"},
      {"G12.5 just below 10^5", "(G12.5)", {99999.4}, "  99999.    \n"},
      {"G12.5 rounding up to 10^5", "(G12.5)", {99999.5}, " 0.10000E+06\n"},
      {"G12.5 at 10^5", "(G12.5)", {100000.0}, " 0.10000E+06\n"},
      {"G12.5 three integer digits", "(G12.5)", {123.456}, "  123.46    \n"},
      {"G12.5 negative", "(G12.5)", {-1.5}, " -1.5000    \n"},
      {"G12.5 rounding adds an integer digit", "(G12.5)", {9.999996}, "  10.000    \n"},
      {"G12.5 zero", "(G12.5)", {0.0}, "  0.0000    \n"},
      {"G12.5 negative zero", "(G12.5)", {-0.0}, "  0.0000    \n"},
      {"G10.3 exponent form", "(G10.3)", {1234.0}, " 0.123E+04\n"},
      {"G8.5 fixed overflow", "(G8.5)", {123.456}, "********\n"},
      {"G9.5 exponent overflow", "(G9.5)", {1.0e6}, "*********\n"},
      {"G12.5 NaN", "(G12.5)", {kNaN}, "         NaN\n"},
      {"G12.5 of an integer", "(G12.5)", {7}, "  7.0000    \n"},
      {"1PG fixed form ignores the scale", "(1P,G12.5)", {123.456}, "  123.46    \n"},
      {"1PG exponent form", "(1P,G12.5)", {123456.0}, " 1.23456E+05\n"},
      {"1PG small", "(1P,G12.5)", {0.01234}, " 1.23400E-02\n"},
      {"1PG zero", "(1P,G12.5)", {0.0}, "  0.0000    \n"},
      {"1PG15.8 pair", "(1P,2(1X,G15.8))", {-2.5e-7, 1234.5},
       " -2.50000000E-07" " " "  1234.5000    " "\n"},
  });
}

TEST(FormatText, AAndLiterals) {
  check_table({
      {"A5 short text is right-justified", "(A5,'|')", {"abc"}, "  abc|\n"},
      {"A2 long text keeps the left", "(A2,'|')", {"abc"}, "ab|\n"},
      {"A own length", "(A,'|')", {"hello"}, "hello|\n"},
      {"A empty", "('[',A,']')", {""}, "[]\n"},
      {"A3 of an integer", "(A3)", {42}, " 42\n"},
      {"A of a real", "(A)", {2.5}, "2.5\n"},
      {"doubled quotes", "(3X,'a''b',2X,\"say \"\"hi\"\"\")", {}, "   a'b  say \"hi\"\n"},
      {"other quote inside", "('say \"x\"',\"it's\")", {}, "say \"x\"it's\n"},
      {"literal with comma and parens", "('a,(b)',I2)", {5}, "a,(b) 5\n"},
      {"literal keeps blanks", "(' a  b ')", {}, " a  b \n"},
      {"X without count", "(X,I1)", {3}, " 3\n"},
      {"blanks in the format", "( I3 , 2 X , I3 )", {1, 2}, "  1    2\n"},
      {"lower-case descriptors", "(i3,f5.1,1p,e10.2,a2)", {1, 2.0, 3.0, "ab"},
       "  1" "  2.0" "  3.00E+00" "ab\n"},
      {"empty format", "()", {}, "\n"},
  });
}

TEST(FormatControl, RepeatsGroupsAndSlashes) {
  check_table({
      {"repeat count", "(3I3)", {1, 2, 3}, "  1  2  3\n"},
      {"group", "(2(I2,'|'))", {1, 2}, " 1| 2|\n"},
      {"nested groups", "(2(I1,2(A1)),'.')", {1, "a", "b", 2, "c", "d"}, "1ab2cd.\n"},
      {"slash", "(I2/I2)", {1, 2}, " 1\n 2\n"},
      {"repeated slash", "(I2,2/,I2)", {1, 2}, " 1\n\n 2\n"},
      {"trailing slash", "('a',/)", {}, "a\n\n"},
      {"table row", "(5X,I5,2X,1P,3(G12.5,2X))", {7, 1.5, 123456.0, 0.0},
       "         7" "  " "  1.5000    " "  " " 1.23456E+05" "  " "  0.0000    " "  " "\n"},
  });
}

TEST(FormatControl, Reversion) {
  check_table({
      {"no group: from the start", "(I3)", {1, 2, 3}, "  1\n  2\n  3\n"},
      {"no group, stops inside", "(I2,2I3)", {1, 2, 3, 4, 5}, " 1  2  3\n 4  5\n"},
      {"group with text after it", "('h',2(I2),'|')", {1, 2, 3, 4, 5}, "h 1 2|\n 3 4|\n 5\n"},
      {"last top-level group", "(A,2(I2),3(I3))", {"x", 1, 2, 3, 4, 5, 6, 7},
       "x 1 2  3  4  5\n  6  7\n"},
      {"nested: reverts to the outer group", "(I1,2(I1,2(I1)))", {1, 2, 3, 4, 5, 6, 7, 8, 9},
       "1234567\n89\n"},
  });
}

TEST(FormatControl, ValuesRunningOut) {
  check_table({
      {"text before the next descriptor", "(I2,' a',I2,' b')", {1}, " 1 a\n"},
      {"no values", "(' head',I3,' tail')", {}, " head\n"},
      {"no values, no text", "(I3)", {}, "\n"},
      {"inside a group", "(3(I2,','))", {1, 2}, " 1, 2,\n"},
      {"colon stops at once", "(I2,:,' more')", {1}, " 1\n"},
      {"colon passes with values", "(I2,:,' more',I2)", {1, 2}, " 1 more 2\n"},
  });
}

TEST(FormatControl, OpenLine) {
  struct OPEN_CASE {
    const char* id;
    const char* fmt;
    std::vector<FARG> args;
    std::string expected;
    bool open;
  };
  const std::vector<OPEN_CASE> cases = {
      {"dollar", "(I3,$)", {5}, "  5", true},
      {"backslash", "(A,\\)", {"ab"}, "ab", true},
      {"dollar after text", "(I3,' x',$)", {1}, "  1 x", true},
      {"values run out before the dollar", "(I3,I3,$)", {1}, "  1\n", false},
      {"reversion ends the earlier line", "(I3,$)", {1, 2}, "  1\n  2", true},
      {"slash after dollar ends the line", "(I1,$,/,I1)", {1, 2}, "1\n2\n", false},
      {"line writer format with blanks", "(   1F12.04,\\)                ", {1.5}, "      1.5000", true},
      {"plain end", "(I3)", {1}, "  1\n", false},
  };
  for (const OPEN_CASE& c : cases) {
    SCOPED_TRACE(c.id);
    std::string out = "prev:";
    const bool open = FORMAT(out, c.fmt, std::span<const FARG>(c.args.data(), c.args.size()));
    EXPECT_EQ(out, "prev:" + c.expected);  // appends to what is there
    EXPECT_EQ(open, c.open);
  }
}

TEST(FormatErrors, MalformedFormats) {
  std::string deep(40, '(');
  deep += "I1";
  deep += std::string(40, ')');
  std::string many = "(";
  for (int i = 0; i < 600; ++i) many += "I1,";
  many += "I1)";
  struct BAD {
    const char* id;
    std::string fmt;
    std::vector<FARG> args;
  };
  const std::vector<BAD> cases = {
      {"no parentheses", "I5", {1}},
      {"empty text", "", {1}},
      {"unclosed", "(I5", {1}},
      {"text after the end", "(I5))", {1}},
      {"unknown descriptor", "(Q5)", {1}},
      {"F without decimals", "(F5)", {1.0}},
      {"I without width", "(I)", {1}},
      {"E with zero width", "(E0.3)", {1.0}},
      {"unterminated literal", "('abc)", {}},
      {"zero repeat", "(0I5)", {1}},
      {"m above w", "(I3.5)", {1}},
      {"double comma", "(I5,,I5)", {1, 2}},
      {"leading comma", "(,I5)", {1}},
      {"trailing comma", "(I5,)", {1}},
      {"signed X", "(-2X)", {}},
      {"repeat before a literal", "(2'ab')", {}},
      {"huge number", "(99999I5)", {1}},
      {"nested too deep", deep, {1}},
      {"too many items", many, {1}},
      {"values but no data descriptor", "('abc')", {1}},
      {"reverted group without data descriptor", "(I2,2('x'))", {1, 2}},
  };
  for (const BAD& c : cases) {
    SCOPED_TRACE(c.id);
    std::string out;
    const bool open = FORMAT(out, c.fmt, std::span<const FARG>(c.args.data(), c.args.size()));
    EXPECT_NE(out.find("<bad format: "), std::string::npos) << out;
    EXPECT_EQ(out.back(), '\n');
    EXPECT_FALSE(open);
  }
  // The output before a fault found while writing is kept.
  EXPECT_EQ(FORMAT("(I2,2('x'))", {1, 2}).rfind(" 1xx\nxx<bad format: ", 0), 0u);
}

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

TEST(FormatFile, WritesAppendAndContinueOpenLines) {
  CAPTURE c;
  kestra::WRITE_F(c.file(), "(5X,'N =',I3,$)", 7);
  kestra::WRITE_F(c.file(), "(2X,F5.2)", 1.25);
  kestra::WRITE_F(c.file(), "('done')");
  EXPECT_EQ(c.text(), "     N =  7   1.25\ndone\n");
}

TEST(FormatList, Layout) {
  EXPECT_EQ(kestra::LIST_LINE(std::vector<FARG>{1, 2.5, "abc"}),
            "           1   2.5000000E+00 abc\n");
  EXPECT_EQ(kestra::LIST_LINE(std::vector<FARG>{-1.0e-5, -12345678901LL}),
            "  -1.0000000E-05-12345678901\n");
  EXPECT_EQ(kestra::LIST_LINE(std::vector<FARG>{-123456789012LL}), "************\n");
  EXPECT_EQ(kestra::LIST_LINE(std::vector<FARG>{0.0, kNaN}), "   0.0000000E+00             NaN\n");
  EXPECT_EQ(kestra::LIST_LINE(std::vector<FARG>{}), "\n");
  CAPTURE c;
  kestra::WRITE_LIST(c.file(), "FMAX", 1, 12.5);
  kestra::WRITE_LIST(c.file(), 9);
  EXPECT_EQ(c.text(), " FMAX           1   1.2500000E+01\n           9\n");
}

}  // namespace
