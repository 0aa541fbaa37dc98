// Tests of the deck reader: text records, free-form records, value forms,
// failures and their messages, robustness over arbitrary bytes.
#include "input/reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../../fuzz/reader_drive.h"
#include "engine/status.h"
#include "support/test_support.h"

using namespace kestra;

namespace {

const char* LABEL = "input file \"pier.dat\"";

// A deck over a temporary file holding the given bytes.
struct MEM_DECK {
  FILE* fp = nullptr;
  DECK d;
  explicit MEM_DECK(const std::string& bytes, const char* section = "PILE CAP") {
    fp = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), fp);
    std::rewind(fp);
    DECK_OPEN(d, fp, LABEL);
    d.section = section;
  }
  ~MEM_DECK() { std::fclose(fp); }
  MEM_DECK(const MEM_DECK&) = delete;
  MEM_DECK& operator=(const MEM_DECK&) = delete;
};

std::string where(int line, const char* section = "PILE CAP") {
  return std::string(LABEL) + ", line " + std::to_string(line) + ", section \"" + section + "\": ";
}

// ---------------------------------------------------------------- text records

TEST(ReadText, PadsCutsAndCleansTheLine) {
  struct CASE {
    const char* id;
    std::string file;
    int len;
    std::string expect;
  };
  const CASE cases[] = {
      {"shorter line padded", "ABC\nnext\n", 6, "ABC   "},
      {"longer line cut", "ABCDEFGHIJ\n", 4, "ABCD"},
      {"exact length", "ABCD\n", 4, "ABCD"},
      {"empty header line accepted", "\nnext\n", 5, "     "},
      {"CR before LF stripped", "AB\r\n", 4, "AB  "},
      {"CR at the end of the file stripped", "AB\r", 4, "AB  "},
      {"inner CR kept", "A\rB\n", 3, "A\rB"},
      {"tab read as a blank", "A\tB\n", 4, "A B "},
      {"NUL read as a blank", std::string("A\0B\n", 4), 3, "A B"},
      {"no final newline", "LAST", 6, "LAST  "},
      {"zero length", "ABC\n", 0, ""},
      {"leading blanks kept", "   X\n", 5, "   X "},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    MEM_DECK m(c.file);
    std::vector<char> out(c.len + 2, 'Z');
    ASSERT_EQ(READ_TEXT(m.d, out.data(), c.len, "the title record"), ST_OK);
    EXPECT_EQ(std::string(out.data(), c.len), c.expect);
    EXPECT_EQ(out[c.len], '\0');
    EXPECT_EQ(m.d.line_no, 1);
  }
}

TEST(ReadText, EndOfFile) {
  // "A\n" is one line: the second read meets the end, not an empty line.
  MEM_DECK m("A\n");
  char out[9];
  ASSERT_EQ(READ_TEXT(m.d, out, 8, "the title record"), ST_OK);
  EXPECT_EQ(READ_TEXT(m.d, out, 8, "the version record"), ST_DECK_END);
  EXPECT_EQ(m.d.message, std::string(LABEL) +
                             ", after line 1, section \"PILE CAP\": the file ended: expected the version record");
  EXPECT_EQ(std::string(out), "        ");

  MEM_DECK empty("", "");
  EXPECT_EQ(READ_TEXT(empty.d, out, 8, "the title record"), ST_DECK_END);
  EXPECT_EQ(empty.d.message, std::string(LABEL) + ", after line 0: the file ended: expected the title record");
}

// ----------------------------------------------------------- free-form records

// One record of: int I, real R, text T (6 characters), int J.
struct MIXED {
  int i = -1;
  double r = -1.0;
  char t[7] = "??????";
  int j = -1;
  int read(DECK& d) {
    return READ_RECORD(d, {ITEM(i, "I"), ITEM(r, "R"), ITEM_TEXT(t, 6, "T"), ITEM(j, "J")});
  }
};

TEST(ReadRecord, SeparatorsLinesAndNullValues) {
  struct CASE {
    const char* id;
    std::string file;
    int i;
    double r;
    const char* t;
    int j;
    int last_line;
  };
  const CASE cases[] = {
      {"blanks", "1 2.5 abc 4\n", 1, 2.5, "abc   ", 4, 1},
      {"commas", "1,2.5,abc,4\n", 1, 2.5, "abc   ", 4, 1},
      {"blanks around commas", "  1 , 2.5 ,abc , 4\n", 1, 2.5, "abc   ", 4, 1},
      {"tabs", "1\t2.5\t\tabc\t4\n", 1, 2.5, "abc   ", 4, 1},
      {"CR LF", "1 2.5\r\nabc 4\r\n", 1, 2.5, "abc   ", 4, 2},
      {"split over lines", "1 2.5\nabc\n4\n", 1, 2.5, "abc   ", 4, 3},
      {"comma at a line end", "1,\n2.5,abc,\n4\n", 1, 2.5, "abc   ", 4, 3},
      {"blank lines inside and before", "\n  \n1\n\n \t\n2.5 abc 4\n", 1, 2.5, "abc   ", 4, 6},
      {"comment after the last value", "1 2.5 abc 4 comment, 5 / 'x\n", 1, 2.5, "abc   ", 4, 1},
      {"no final newline", "1 2.5 abc 4", 1, 2.5, "abc   ", 4, 1},
      {"slash leaves the rest", "1 2.5 / 8 9.5 xyz 7\n", 1, 2.5, "??????", -1, 1},
      {"slash glued to a value", "1 2.5/\n", 1, 2.5, "??????", -1, 1},
      {"slash on a later line", "1\n/ 2.5\n", 1, -1.0, "??????", -1, 2},
      {"slash first", "/\n", -1, -1.0, "??????", -1, 1},
      {"null between commas", "1,,abc,4\n", 1, -1.0, "abc   ", 4, 1},
      {"null with blanks", "1 , , abc 4\n", 1, -1.0, "abc   ", 4, 1},
      {"leading comma is a null", ",2.5,abc,4\n", -1, 2.5, "abc   ", 4, 1},
      {"null on the next line", "1,\n,abc,4\n", 1, -1.0, "abc   ", 4, 2},
      {"repeated nulls", "2*, abc 4\n", -1, -1.0, "abc   ", 4, 1},
      {"repeated nulls then slash", "1 2*/ 9\n", 1, -1.0, "??????", -1, 1},
      {"quoted text with blanks, comma, slash", "1 2.5 'a, /b' 4\n", 1, 2.5, "a, /b ", 4, 1},
      {"double quotes", "1 2.5 \"x y\" 4\n", 1, 2.5, "x y   ", 4, 1},
      {"doubled apostrophe", "1 2.5 'it''s' 4\n", 1, 2.5, "it's  ", 4, 1},
      {"doubled quotation mark", "1 2.5 \"a\"\"b\" 4\n", 1, 2.5, "a\"b   ", 4, 1},
      {"other quote inside", "1 2.5 \"it's\" 4\n", 1, 2.5, "it's  ", 4, 1},
      {"empty quoted text", "1 2.5 '' 4\n", 1, 2.5, "      ", 4, 1},
      {"tab in a quoted text", "1 2.5 'a\tb' 4\n", 1, 2.5, "a b   ", 4, 1},
      {"long text cut", "1 2.5 abcdefghij 4\n", 1, 2.5, "abcdef", 4, 1},
      {"long quoted text cut", "1 2.5 'abc defghij' 4\n", 1, 2.5, "abc de", 4, 1},
      {"unquoted text with an apostrophe", "1 2.5 it's 4\n", 1, 2.5, "it's  ", 4, 1},
      {"number as text", "1 2.5 12 4\n", 1, 2.5, "12    ", 4, 1},
      {"repeat over kinds", "2*5 x 4\n", 5, 5.0, "x     ", 4, 1},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    MEM_DECK m(c.file);
    MIXED v;
    ASSERT_EQ(v.read(m.d), ST_OK) << m.d.message;
    EXPECT_EQ(v.i, c.i);
    EXPECT_DOUBLE_EQ(v.r, c.r);
    EXPECT_EQ(std::string(v.t), c.t);
    EXPECT_EQ(v.j, c.j);
    EXPECT_EQ(m.d.line_no, c.last_line);
  }
}

TEST(ReadRecord, EachRecordStartsOnANewLine) {
  MEM_DECK m("1 2 3 4\n5\n6 7 / x\n8,9\nTITLE LINE\n\n10\n");
  int a[2] = {0, 0};
  ASSERT_EQ(READ_INTS(m.d, a, 2, "A"), ST_OK);  // 3 4 ignored
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(a[1], 2);
  ASSERT_EQ(READ_INTS(m.d, a, 2, "A"), ST_OK);  // over two lines
  EXPECT_EQ(a[0], 5);
  EXPECT_EQ(a[1], 6);
  EXPECT_EQ(m.d.line_no, 3);
  ASSERT_EQ(READ_INTS(m.d, a, 2, "A"), ST_OK);
  EXPECT_EQ(a[0], 8);
  EXPECT_EQ(a[1], 9);
  char text[11];
  ASSERT_EQ(READ_TEXT(m.d, text, 10, "header"), ST_OK);
  EXPECT_STREQ(text, "TITLE LINE");
  ASSERT_EQ(READ_TEXT(m.d, text, 10, "header"), ST_OK);  // an empty header
  EXPECT_STREQ(text, "          ");
  ASSERT_EQ(READ_INTS(m.d, a, 1, "A"), ST_OK);
  EXPECT_EQ(a[0], 10);
  EXPECT_EQ(READ_INTS(m.d, a, 1, "A"), ST_DECK_END);
}

TEST(ReadRecord, RepeatCounts) {
  struct CASE {
    const char* id;
    const char* file;
    std::vector<double> expect;  // 5 values; -9 stands for unchanged
  };
  const CASE cases[] = {
      {"values", "3*1.5 2 3\n", {1.5, 1.5, 1.5, 2, 3}},
      {"nulls", "1 2* 4 5\n", {1, -9, -9, 4, 5}},
      {"nulls before a comma", "2*, 3 4 5\n", {-9, -9, 3, 4, 5}},
      {"values and nulls", "2*1.5, 2*, 4\n", {1.5, 1.5, -9, -9, 4}},
      {"beyond the record", "10*2 junk\n", {2, 2, 2, 2, 2}},
      {"huge count", "99999999999999999999*7\n", {7, 7, 7, 7, 7}},
      {"over two lines", "2*1\n3*2\n", {1, 1, 2, 2, 2}},
      {"repeat then slash", "2*8/ 1 1\n", {8, 8, -9, -9, -9}},
      {"D exponent repeated", "5*1D1\n", {10, 10, 10, 10, 10}},
      {"count of one", "1*4 1* 3 4 5\n", {4, -9, 3, 4, 5}},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    MEM_DECK m(c.file);
    double v[5] = {-9, -9, -9, -9, -9};
    ASSERT_EQ(READ_REALS(m.d, v, 5, "V"), ST_OK) << m.d.message;
    for (int k = 0; k < 5; ++k) EXPECT_DOUBLE_EQ(v[k], c.expect[k]) << k;
  }
  {
    // A quoted text repeated: blanks inside it do not end the repeat.
    MEM_DECK m("2*'p q' 3\n");
    char a[5] = "????", b[5] = "????";
    int n = 0;
    ASSERT_EQ(READ_RECORD(m.d, {ITEM_TEXT(a, 4, "A"), ITEM_TEXT(b, 4, "B"), ITEM(n, "N")}), ST_OK);
    EXPECT_STREQ(a, "p q ");
    EXPECT_STREQ(b, "p q ");
    EXPECT_EQ(n, 3);
  }
  // The record after a repeat starts on the next line.
  MEM_DECK m("3*1 9\n4\n");
  int a[2] = {0, 0};
  ASSERT_EQ(READ_INTS(m.d, a, 2, "A"), ST_OK);
  ASSERT_EQ(READ_INTS(m.d, a, 1, "A"), ST_OK);
  EXPECT_EQ(a[0], 4);
}

TEST(ReadRecord, NumberForms) {
  struct CASE {
    const char* token;
    double value;
  };
  const CASE reals[] = {
      {"1.5D+03", 1500},  {"1.5d3", 1500},   {"2.5D-1", 0.25},  {"1.5E+03", 1500}, {"1.5e3", 1500},
      {"25E-2", 0.25},    {".5", 0.5},       {"5.", 5},         {"-.5", -0.5},     {"+.5", 0.5},
      {"+5", 5},          {"-5", -5},        {"7", 7},          {"007.50", 7.5},   {"-0", 0},
      {"1.5+03", 1500},   {"2.5-1", 0.25},   {"-2.5-1", -0.25}, {"+1.e+1", 10},    {"1e-300", 1e-300},
      {"1.7976931348623157e308", 1.7976931348623157e308},
  };
  for (const CASE& c : reals) {
    SCOPED_TRACE(c.token);
    MEM_DECK m(std::string(c.token) + "\n");
    double v = -99;
    ASSERT_EQ(READ_REALS(m.d, &v, 1, "X"), ST_OK) << m.d.message;
    EXPECT_DOUBLE_EQ(v, c.value);
  }
  const CASE ints[] = {{"+5", 5}, {"-12", -12}, {"007", 7}, {"0", 0}, {"2147483647", 2147483647.0},
                       {"-2147483648", -2147483648.0}};
  for (const CASE& c : ints) {
    SCOPED_TRACE(c.token);
    MEM_DECK m(std::string(c.token) + "\n");
    int v = -99;
    ASSERT_EQ(READ_INTS(m.d, &v, 1, "N"), ST_OK) << m.d.message;
    EXPECT_EQ(v, static_cast<int>(c.value));
  }
}

// A record of one integer CAP_OPTION, one real DIAMETER and one text NAME;
// the bad value is put in the slot of the named kind.
TEST(ReadRecord, WrongKindsAndRanges) {
  struct CASE {
    const char* id;
    char slot;  // 'I', 'R' or 'T': where the token goes
    std::string token;
    int status;
    std::string found;  // the end of the message
  };
  const CASE cases[] = {
      {"point in an integer", 'I', "1.5", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"1.5\""},
      {"exponent in an integer", 'I', "2e3", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"2e3\""},
      {"trailing point in an integer", 'I', "2.", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"2.\""},
      {"word for an integer", 'I', "abc", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"abc\""},
      {"double sign integer", 'I', "+-1", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"+-1\""},
      {"sign alone", 'I', "-", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"-\""},
      {"quoted integer", 'I', "'5'", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"'5'\""},
      {"zero repeat", 'I', "0*5", ST_DECK_KIND, "expected an integer for CAP_OPTION, found \"0*5\""},
      {"repeat of a real into an integer", 'I', "2*1.5", ST_DECK_KIND,
       "expected an integer for CAP_OPTION, found \"2*1.5\""},
      {"integer above the range", 'I', "2147483648", ST_DECK_RANGE,
       "expected an integer for CAP_OPTION, found \"2147483648\" (out of the integer range)"},
      {"integer below the range", 'I', "-2147483649", ST_DECK_RANGE,
       "expected an integer for CAP_OPTION, found \"-2147483649\" (out of the integer range)"},
      {"two points", 'R', "1.2.3", ST_DECK_KIND, "expected a real number for DIAMETER, found \"1.2.3\""},
      {"double minus", 'R', "--1", ST_DECK_KIND, "expected a real number for DIAMETER, found \"--1\""},
      {"plus minus", 'R', "+-1", ST_DECK_KIND, "expected a real number for DIAMETER, found \"+-1\""},
      {"letters", 'R', "ten", ST_DECK_KIND, "expected a real number for DIAMETER, found \"ten\""},
      {"point alone", 'R', ".", ST_DECK_KIND, "expected a real number for DIAMETER, found \".\""},
      {"exponent without digits", 'R', "1.5e", ST_DECK_KIND, "expected a real number for DIAMETER, found \"1.5e\""},
      {"exponent alone", 'R', "e5", ST_DECK_KIND, "expected a real number for DIAMETER, found \"e5\""},
      {"sign at the end", 'R', "1.5+", ST_DECK_KIND, "expected a real number for DIAMETER, found \"1.5+\""},
      {"hexadecimal", 'R', "0x10", ST_DECK_KIND, "expected a real number for DIAMETER, found \"0x10\""},
      {"unit glued", 'R', "2.5ft", ST_DECK_KIND, "expected a real number for DIAMETER, found \"2.5ft\""},
      {"quoted real", 'R', "\"2.5\"", ST_DECK_KIND, "expected a real number for DIAMETER, found \"\"2.5\"\""},
      {"nan", 'R', "nan", ST_DECK_RANGE, "expected a real number for DIAMETER, found \"nan\" (not a finite number)"},
      {"NaN with payload", 'R', "-NaN(7)", ST_DECK_RANGE,
       "expected a real number for DIAMETER, found \"-NaN(7)\" (not a finite number)"},
      {"inf", 'R', "inf", ST_DECK_RANGE, "expected a real number for DIAMETER, found \"inf\" (not a finite number)"},
      {"infinity", 'R', "-Infinity", ST_DECK_RANGE,
       "expected a real number for DIAMETER, found \"-Infinity\" (not a finite number)"},
      {"exponent overflow", 'R', "1e999", ST_DECK_RANGE,
       "expected a real number for DIAMETER, found \"1e999\" (out of range)"},
      {"D exponent overflow", 'R', "-1.5D+400", ST_DECK_RANGE,
       "expected a real number for DIAMETER, found \"-1.5D+400\" (out of range)"},
      {"exponent underflow", 'R', "1d-400", ST_DECK_RANGE,
       "expected a real number for DIAMETER, found \"1d-400\" (out of range)"},
      {"unclosed quote", 'T', "'ab c", ST_DECK_KIND, "expected a text for NAME, found \"'ab c\" (no closing quote)"},
      {"text glued to the quote", 'T', "'ab'cd", ST_DECK_KIND, "expected a text for NAME, found \"'ab'cd\""},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    std::string i = c.slot == 'I' ? c.token : "1";
    std::string r = c.slot == 'R' ? c.token : "2.5";
    std::string t = c.slot == 'T' ? c.token : "name";
    MEM_DECK m("3\n" + i + " " + r + "\n" + t + "\n");
    int dummy = 0;
    ASSERT_EQ(READ_INTS(m.d, &dummy, 1, "X"), ST_OK);
    int cap = -1;
    double dia = -1;
    char name[5] = "????";
    int st = READ_RECORD(m.d, {ITEM(cap, "CAP_OPTION"), ITEM(dia, "DIAMETER"), ITEM_TEXT(name, 4, "NAME")});
    EXPECT_EQ(st, c.status);
    EXPECT_EQ(m.d.message, where(c.slot == 'T' ? 3 : 2) + c.found);
    // The bad value and the ones after it are left as they were.
    EXPECT_EQ(cap, c.slot == 'I' ? -1 : 1);
    EXPECT_EQ(dia, c.slot == 'T' ? 2.5 : -1.0);
    EXPECT_STREQ(name, "????");
  }
}

TEST(ReadRecord, MessagesNameTheFileLineSectionAndItem) {
  {
    // READ_REALS names the index; the line is the one holding the token.
    MEM_DECK m("1.0 2.0\n\n3.x 4.0\n");
    double v[4];
    EXPECT_EQ(READ_REALS(m.d, v, 4, "TOP_VALUES"), ST_DECK_KIND);
    EXPECT_EQ(m.d.message, where(3) + "expected a real number for TOP_VALUES(3), found \"3.x\"");
  }
  {
    // A header of 80 characters names the section trimmed.
    MEM_DECK m("1 x\n", "   SOIL LAYERS                                                                  ");
    int v[2];
    EXPECT_EQ(READ_INTS(m.d, v, 2, "LAYER"), ST_DECK_KIND);
    EXPECT_EQ(m.d.message, where(1, "SOIL LAYERS") + "expected an integer for LAYER(2), found \"x\"");
  }
  {
    // No section: no section piece.
    MEM_DECK m("x\n", "        ");
    int v;
    EXPECT_EQ(READ_INTS(m.d, &v, 1, "UNITS_SYSTEM"), ST_DECK_KIND);
    EXPECT_EQ(m.d.message, std::string(LABEL) + ", line 1: expected an integer for UNITS_SYSTEM(1), found \"x\"");
  }
  {
    // A long token is cut and control characters are shown as '?'.
    MEM_DECK m(std::string(100, 'q') + "\n" + std::string("a\x01\x7f", 3) + "\n");
    double v;
    EXPECT_EQ(READ_REALS(m.d, &v, 1, "X"), ST_DECK_KIND);
    EXPECT_EQ(m.d.message, where(1) + "expected a real number for X(1), found \"" + std::string(60, 'q') + "...\"");
    EXPECT_EQ(READ_REALS(m.d, &v, 1, "X"), ST_DECK_KIND);
    EXPECT_EQ(m.d.message, where(2) + "expected a real number for X(1), found \"a??\"");
  }
  {
    // A bad repeated value names the whole token and the item it reached.
    MEM_DECK m("1 2*x\n");
    double v[3];
    EXPECT_EQ(READ_REALS(m.d, v, 3, "X"), ST_DECK_KIND);
    EXPECT_EQ(m.d.message, where(1) + "expected a real number for X(2), found \"2*x\"");
  }
}

TEST(ReadRecord, EndOfFile) {
  struct CASE {
    const char* id;
    std::string file;
    std::string message;
  };
  const std::string deck = std::string(LABEL);
  const CASE cases[] = {
      {"inside a record", "1 2\n", deck + ", after line 1, section \"PILE CAP\": ended inside a record: expected an "
                                          "integer for COUNTS(3)"},
      {"inside a record after blank lines", "1\n\n  \n", deck + ", after line 3, section \"PILE CAP\": ended inside a "
                                                              "record: expected an integer for COUNTS(2)"},
      {"after nulls, no final newline", "1,,", deck + ", after line 1, section \"PILE CAP\": ended inside a record: "
                                                   "expected an integer for COUNTS(3)"},
      {"before a record", "", deck + ", after line 0, section \"PILE CAP\": the file ended before a record: "
                                     "expected an integer for COUNTS(1)"},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    MEM_DECK m(c.file);
    int v[3] = {0, 0, 0};
    EXPECT_EQ(READ_INTS(m.d, v, 3, "COUNTS"), ST_DECK_END);
    EXPECT_EQ(m.d.message, c.message);
  }
  // Once at the end, every further read fails the same way.
  MEM_DECK m("5\n");
  MIXED v;
  EXPECT_EQ(v.read(m.d), ST_DECK_END);
  EXPECT_EQ(v.i, 5);
  EXPECT_EQ(m.d.message, deck + ", after line 1, section \"PILE CAP\": ended inside a record: expected a real "
                                "number for R");
  char text[4];
  EXPECT_EQ(READ_TEXT(m.d, text, 3, "the header"), ST_DECK_END);
  EXPECT_EQ(READ_RECORD(m.d, {ITEM(v.i, "I")}), ST_DECK_END);
}

TEST(ReadFirstInt, StopRequestFile) {
  struct CASE {
    const char* id;
    std::string file;
    bool ok;
    int value;
  };
  const CASE cases[] = {
      {"plain", "1\n", true, 1},
      {"blanks around", "   42   \n", true, 42},
      {"no newline", "0", true, 0},
      {"CR LF", "3\r\n", true, 3},
      {"after blank lines", "\n\n  7\n", true, 7},
      {"text after the value", "-7 stop now\n", true, -7},
      {"empty", "", false, 0},
      {"blank lines only", "\n \n", false, 0},
      {"word", "stop\n", false, 0},
      {"real", "1.5\n", false, 0},
      {"slash", "/\n", false, 0},
      {"null", ",5\n", false, 0},
      {"out of range", "99999999999\n", false, 0},
      {"binary", std::string("\0\x01\xff", 3), false, 0},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    FILE* fp = std::tmpfile();
    std::fwrite(c.file.data(), 1, c.file.size(), fp);
    std::rewind(fp);
    int v = -555;
    EXPECT_EQ(READ_FIRST_INT(fp, v), c.ok);
    EXPECT_EQ(v, c.ok ? c.value : -555);
    std::fclose(fp);
  }
  int v = -555;
  EXPECT_FALSE(READ_FIRST_INT(nullptr, v));
}

// ------------------------------------------------------------------ robustness

TEST(ReaderRobustness, HugeLinesAndManyRecords) {
  {
    // 8 MB of blanks before the value, then a long comment: linear work.
    std::string file = std::string(8u << 20, ' ') + "7 " + std::string(1u << 20, 'c') + "\n8\n";
    MEM_DECK m(file);
    int v = 0;
    ASSERT_EQ(READ_INTS(m.d, &v, 1, "N"), ST_OK);
    EXPECT_EQ(v, 7);
    ASSERT_EQ(READ_INTS(m.d, &v, 1, "N"), ST_OK);
    EXPECT_EQ(v, 8);
  }
  {
    // A text record of 4 MB is cut; a million-digit number is out of range.
    std::string file = std::string(4u << 20, 'x') + "\n" + std::string(1000000, '9') + "\n1" +
                       std::string(1000000, '0') + ".5\n";
    MEM_DECK m(file);
    char text[81];
    ASSERT_EQ(READ_TEXT(m.d, text, 80, "title"), ST_OK);
    EXPECT_EQ(std::string(text), std::string(80, 'x'));
    int n = 0;
    EXPECT_EQ(READ_INTS(m.d, &n, 1, "N"), ST_DECK_RANGE);
    double r = 0;
    EXPECT_EQ(READ_REALS(m.d, &r, 1, "R"), ST_DECK_RANGE);
    EXPECT_LT(m.d.message.size(), 200u);
  }
  {
    // Many short records, as a large deck has.
    std::string file;
    const int n = 60000;
    for (int k = 0; k < n; ++k) file += std::to_string(k) + ", " + std::to_string(k) + ".5D0 'P" +
                                        std::to_string(k % 100) + "'\n";
    MEM_DECK m(file);
    long long sum = 0;
    double rsum = 0;
    for (int k = 0; k < n; ++k) {
      int i = 0;
      double r = 0;
      char t[5] = "";
      ASSERT_EQ(READ_RECORD(m.d, {ITEM(i, "I"), ITEM(r, "R"), ITEM_TEXT(t, 4, "T")}), ST_OK) << k;
      sum += i;
      rsum += r;
    }
    EXPECT_EQ(sum, static_cast<long long>(n) * (n - 1) / 2);
    EXPECT_DOUBLE_EQ(rsum, static_cast<double>(n) * (n - 1) / 2 + 0.5 * n);
    EXPECT_EQ(m.d.line_no, n);
  }
}

TEST(ReaderRobustness, CorpusAndArbitraryBytes) {
  namespace fs = std::filesystem;
  fs::path dir = kestra_test::source_path("fuzz/corpus/reader");
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    SCOPED_TRACE(e.path().filename().string());
    std::string bytes = kestra_test::read_file(e.path());
    EXPECT_TRUE(kestra_fuzz::READER_DRIVE(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    ++files;
  }
  EXPECT_GT(files, 0);

  // Every byte value, in several orders and cuts, with and without line ends.
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  std::vector<std::string> inputs = {"", "\n", "\r", "'", "\"", "/", ",", "*", "2*", std::string(1, '\0'), all};
  for (int k = 0; k < 256; k += 7) inputs.push_back(all.substr(k) + all.substr(0, k));
  for (int k = 1; k < 40; ++k) {
    std::string s;
    for (int j = 0; j < 300; ++j) s.push_back(static_cast<char>("0123456789+-.eEdD*,/ \t'\"\n\rx"[(j * k + j / 7) % 27]));
    inputs.push_back(s);
  }
  for (size_t k = 0; k < inputs.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_TRUE(kestra_fuzz::READER_DRIVE(reinterpret_cast<const uint8_t*>(inputs[k].data()), inputs[k].size()));
  }
}

}  // namespace
