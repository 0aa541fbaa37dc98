// The piecewise line writers with which tables are assembled field by field.
// Each leaves the line open except END_LINE, which writes one blank and ends
// the line (every line it ends carries one trailing blank).
#pragma once

#include <cstdio>
#include <string_view>

namespace kestra {

void WRITE_BLANKS(FILE* f, int n);                 // n blanks; nothing when n <= 0
void WRITE_INT(FILE* f, int w, long long value);   // Iw
void WRITE_REAL(FILE* f, int w, int d, double x);  // fixed or 1PE by the rule below
void WRITE_TEXT1(FILE* f, std::string_view t);     // 1 character
void WRITE_TEXT2(FILE* f, std::string_view t);     // 2 characters
void WRITE_TEXT3(FILE* f, std::string_view t);     // 3 characters
void WRITE_TEXT6(FILE* f, std::string_view t);     // blank, 6 characters, blank
void WRITE_TEXT10(FILE* f, std::string_view t);    // blank, 10 characters, blank
void END_LINE(FILE* f);                            // blank, end of line

// The format WRITE_REAL chooses for (w, d, x), as field notation text, for
// instance "F12.4" or "1PE12.4": a value of magnitude below 1.0E-50 is a
// fixed zero Fw.d; with lo = 10^(3-d), hi = 10^d, |x| <= lo or |x| >= hi is
// 1PEw.d; otherwise k = trunc(log10|x|) (minus 1 when that is negative),
// m = d - k, and Fw.m unless m > d + 2 (then 1PEw.d).
std::string_view WRITE_REAL_FORMAT(int w, int d, double x, char (&buf)[24]);

}  // namespace kestra
