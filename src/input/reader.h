// The free-form record reader of the input data file (and of the small
// front-end files: Names.dat record 4, the stop-request file).
//
// Records:
//  - text records take one whole line, read as a fixed number of characters
//    (a shorter line padded with blanks, a longer one cut);
//  - free-form records hold integers, reals and texts separated by blanks,
//    tabs or commas. A record starts on a new line and continues over the
//    following lines until all its values are read; whatever follows the
//    last value on its last line is ignored. A slash ends the record early
//    and leaves the values not yet read unchanged. A text value is quoted
//    with apostrophes or quotation marks when it holds blanks, commas or
//    slashes. Integers are written without a point; reals take a leading
//    sign, a missing leading or trailing digit, and an E or D exponent
//    (1.5D+03). A non-finite or out-of-range number is an error.
//  - Lines may end in CR LF.
//
// Every failure returns a nonzero status (ST_DECK_END, ST_DECK_KIND,
// ST_DECK_RANGE) and leaves in DECK::message one line saying where: file,
// line number, section, the item expected and what was found, e.g.
//   input file "pier.dat", line 14, section "PILE CAP": expected an integer
//   for CAP_OPTION, found "1.5"
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

namespace kestra {

struct DECK {
  FILE* fp = nullptr;            // the open file (not owned)
  std::string file_label;        // e.g. "input file \"pier.dat\""
  std::string section;           // the section being read, for messages
  int line_no = 0;               // number of the last line taken from the file
  std::string message;           // the last failure, one line
  // Reader state: the line being consumed by a free-form record.
  std::string line;
  bool at_eof = false;
};

// One target of a free-form record.
struct RITEM {
  enum KIND : unsigned char { INT, REAL, TEXT } kind;
  void* p;
  int len;            // TEXT: the fixed length of the blank-padded target (no NUL)
  const char* name;   // the item's name for messages, e.g. "CAP_OPTION"
};
inline RITEM ITEM(int& v, const char* name) { return {RITEM::INT, &v, 0, name}; }
inline RITEM ITEM(double& v, const char* name) { return {RITEM::REAL, &v, 0, name}; }
// A text value stored blank-padded in len characters (no terminating NUL is
// written; size the buffer len + 1 and keep its last byte 0 to print it).
inline RITEM ITEM_TEXT(char* buf, int len, const char* name) { return {RITEM::TEXT, buf, len, name}; }

// Opens a DECK over an open file.
void DECK_OPEN(DECK& d, FILE* fp, std::string file_label);

// Reads one text record: the next whole line, cut or blank-padded to len
// characters, into out[0..len-1], with out[len] = 0. Returns 0, or
// ST_DECK_END at the end of the file (what names the record).
int READ_TEXT(DECK& d, char* out, int len, const char* what);

// Reads one free-form record into the items, in order.
int READ_RECORD(DECK& d, std::initializer_list<RITEM> items);

// Reads one free-form record of n reals (or n integers) into v[0..n-1].
// name is the item's name; messages add the index, e.g. "TOP_VALUES(3)".
int READ_REALS(DECK& d, double* v, int n, const char* name);
int READ_INTS(DECK& d, int* v, int n, const char* name);

// Reads one free-form integer from the start of a small file (Names.dat
// record 4, the stop-request file). Returns false when none can be read.
bool READ_FIRST_INT(FILE* fp, int& value);

}  // namespace kestra
