// The piecewise line writers. Numeric fields go through the formatter with a
// format text built for the call, so that they print exactly like the same
// field in a whole-line format.
#include "engine/writers.h"

#include <cmath>
#include <cstring>
#include <string>

#include "engine/format.h"

namespace kestra {
namespace {

constexpr int MAX_FIELD = 255;  // widest numeric field of the formatter

double pow10_int(int n) {
  double p = 1.0;
  for (int i = 0; i < n; ++i) p *= 10.0;
  return p;
}

// 10^n for a signed n, the way an integer power of a real is evaluated:
// a negative power is the reciprocal of the positive one.
double pow10_signed(int n) { return n >= 0 ? pow10_int(n) : 1.0 / pow10_int(-n); }

struct REAL_CHOICE {
  bool scientific;  // 1PEw.d
  int w;
  int decimals;     // d for the exponent form, m (or d) for the fixed form
  double value;     // the value to print (zero for the tiny ones)
};

REAL_CHOICE choose(int w, int d, double x) {
  if (w < 1) w = 1;
  if (w > MAX_FIELD) w = MAX_FIELD;
  if (d < 0) d = 0;
  if (d > 99) d = 99;
  const double ax = std::fabs(x);
  if (!std::isfinite(x)) return {true, w, d, x};  // prints NaN / Infinity
  if (x == 0.0 || ax < 1.0e-50) return {false, w, d, 0.0};
  const double lo = pow10_signed(3 - d);
  const double hi = pow10_signed(d);
  if (ax <= lo || ax >= hi) return {true, w, d, x};
  int k = static_cast<int>(std::trunc(std::log10(ax)));
  if (k < 0) k -= 1;
  const int m = d - k;
  if (m > d + 2 || m < 0) return {true, w, d, x};
  return {false, w, m, x};
}

std::string& scratch() {
  thread_local std::string buf;
  buf.clear();
  return buf;
}

void put(FILE* f, const std::string& s) {
  if (f && !s.empty()) std::fwrite(s.data(), 1, s.size(), f);
}

// Exactly n characters: the text cut, or padded with blanks on the right
// like a fixed-length text.
void write_fixed_text(FILE* f, std::string_view t, size_t n) {
  char buf[16];
  std::memset(buf, ' ', n);
  std::memcpy(buf, t.data(), t.size() < n ? t.size() : n);
  if (f) std::fwrite(buf, 1, n, f);
}

}  // namespace

std::string_view WRITE_REAL_FORMAT(int w, int d, double x, char (&buf)[24]) {
  const REAL_CHOICE c = choose(w, d, x);
  const int n = std::snprintf(buf, sizeof buf, c.scientific ? "1PE%d.%d" : "F%d.%d", c.w, c.decimals);
  return std::string_view(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

void WRITE_BLANKS(FILE* f, int n) {
  static const char blanks[] = "                                ";
  constexpr int chunk = sizeof blanks - 1;
  while (f && n > 0) {
    const int k = n < chunk ? n : chunk;
    std::fwrite(blanks, 1, static_cast<size_t>(k), f);
    n -= k;
  }
}

void WRITE_INT(FILE* f, int w, long long value) {
  if (w < 0) w = 0;
  if (w > MAX_FIELD) w = MAX_FIELD;
  char fmt[24];
  std::snprintf(fmt, sizeof fmt, "(I%d,$)", w);
  const FARG arg(value);
  std::string& out = scratch();
  FORMAT(out, fmt, std::span<const FARG>(&arg, 1));
  put(f, out);
}

void WRITE_REAL(FILE* f, int w, int d, double x) {
  const REAL_CHOICE c = choose(w, d, x);
  // The format of the call, as text: "(   1Fww.dd,\)" or "(1P,1Eww.dd,\)"
  // in a blank-padded buffer.
  char fmt[50];
  std::memset(fmt, ' ', sizeof fmt);
  char tmp[sizeof fmt + 1];
  const int n = std::snprintf(tmp, sizeof tmp, c.scientific ? "(1P,1E%02d.%02d,\\)" : "(   1F%02d.%02d,\\)",
                              c.w, c.decimals);
  std::memcpy(fmt, tmp, static_cast<size_t>(n));
  const FARG arg(c.value);
  std::string& out = scratch();
  FORMAT(out, std::string_view(fmt, sizeof fmt), std::span<const FARG>(&arg, 1));
  put(f, out);
}

void WRITE_TEXT1(FILE* f, std::string_view t) { write_fixed_text(f, t, 1); }
void WRITE_TEXT2(FILE* f, std::string_view t) { write_fixed_text(f, t, 2); }
void WRITE_TEXT3(FILE* f, std::string_view t) { write_fixed_text(f, t, 3); }

void WRITE_TEXT6(FILE* f, std::string_view t) {
  WRITE_BLANKS(f, 1);
  write_fixed_text(f, t, 6);
  WRITE_BLANKS(f, 1);
}

void WRITE_TEXT10(FILE* f, std::string_view t) {
  WRITE_BLANKS(f, 1);
  write_fixed_text(f, t, 10);
  WRITE_BLANKS(f, 1);
}

void END_LINE(FILE* f) {
  if (f) std::fputs(" \n", f);
}

}  // namespace kestra
