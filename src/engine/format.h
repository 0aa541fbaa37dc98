// The field-notation formatter. Every fixed-column line of the engine is
// written through it, so that a format in the code reads like the format of
// the table it writes:
//
//   WRITE_F(f, "(5X,I5,2X,1P,6(G12.5,2X))", node, a, b, c, d, e, g);
//
// Edit descriptors: Iw, Iw.m, Fw.d, Ew.d, Gw.d, kP (1P), Aw, A, nX, /, k(...)
// group repeats, a repeat count before a descriptor (6G12.5), 'text' and
// "text" literals, and a final $ that leaves the line open. A number too wide
// for its field prints as w asterisks. A zero (also a negated zero) prints
// without a minus sign; a fixed field with no room for the leading zero drops
// it (F3.2 of 0.46 prints ".46").
//
// One WRITE_F is one formatted write: it starts where the previous write left
// off (a new line unless the previous one ended with $) and ends the line at
// the end of the format unless the format ends with $. When the values run out
// the write stops at the next data descriptor; when values remain at the end
// of the format, the line is ended and the format is used again from its last
// top-level group (or from the start when it has none).
//
// List-directed ("free-format") lines: WRITE_LIST writes its values on one
// line, each integer as I12 and each real as 1PE16.7 (blank-separated), each
// text as itself after one blank. The plot-file depth record, the trace lines
// and the count lines of the curve files all use this one layout.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace kestra {

// One value handed to a format.
struct FARG {
  enum KIND : unsigned char { INT, REAL, TEXT } kind;
  long long i = 0;
  double r = 0.0;
  std::string_view s;
  FARG(int v) : kind(INT), i(v) {}
  FARG(long v) : kind(INT), i(v) {}
  FARG(long long v) : kind(INT), i(v) {}
  FARG(double v) : kind(REAL), r(v) {}
  FARG(const char* v) : kind(TEXT), s(v) {}
  FARG(std::string_view v) : kind(TEXT), s(v) {}
  FARG(const std::string& v) : kind(TEXT), s(v) {}
};

// Formats the values by the format text and appends the output to out
// (newlines included). Returns true when the write ended with $ (the line is
// left open). A malformed format text is a programming fault: the output then
// holds "<bad format: ...>" so that a test catches it at once.
bool FORMAT(std::string& out, std::string_view fmt, std::span<const FARG> args);

// Convenience for tests and one-off texts.
std::string FORMAT(std::string_view fmt, std::initializer_list<FARG> args);

// Writes one formatted write to a file.
void WRITE_FV(FILE* f, std::string_view fmt, std::span<const FARG> args);

template <class... A>
inline void WRITE_F(FILE* f, std::string_view fmt, const A&... a) {
  const FARG list[] = {FARG(a)..., FARG(0)};  // trailing sentinel keeps the array non-empty
  WRITE_FV(f, fmt, std::span<const FARG>(list, sizeof...(A)));
}

// One list-directed line (see above), ended by a newline.
void WRITE_LISTV(FILE* f, std::span<const FARG> args);
std::string LIST_LINE(std::span<const FARG> args);

template <class... A>
inline void WRITE_LIST(FILE* f, const A&... a) {
  const FARG list[] = {FARG(a)..., FARG(0)};
  WRITE_LISTV(f, std::span<const FARG>(list, sizeof...(A)));
}

}  // namespace kestra
