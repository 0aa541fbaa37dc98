// The field-notation formatter: a small interpreter of format texts.
//
// A call parses the format text into a flat array of nodes on the stack (no
// heap use), then walks it with the values, appending the fields to the
// output string. Number conversion goes through snprintf ("C" semantics: the
// engine never changes the locale) and std::to_chars.
#include "engine/format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kestra {
namespace {

enum OP : unsigned char {
  OP_I,       // Iw, Iw.m
  OP_F,       // Fw.d
  OP_E,       // Ew.d
  OP_G,       // Gw.d
  OP_A,       // Aw, A
  OP_X,       // nX
  OP_SLASH,   // /
  OP_DOLLAR,  // $ or backslash
  OP_COLON,   // :  (stop here when no values are left)
  OP_LIT,     // 'text' or "text"
  OP_SCALE,   // kP
  OP_OPEN,    // k(
  OP_CLOSE,   // )
};

struct NODE {
  OP op;
  char quote;  // OP_LIT: the quote character
  int rep;     // repeat count (data descriptors, '/', groups)
  int w;       // width; X: blank count; A: -1 for A without width; P: k
  int d;       // decimals or minimum digits; -1 when absent
  int link;    // OP_OPEN: index of its OP_CLOSE; OP_CLOSE: index of its OP_OPEN;
               // OP_LIT: offset of the text in the format
  int len;     // OP_LIT: length of the raw text between the quotes
};

constexpr int MAX_NODES = 512;
constexpr int MAX_DEPTH = 32;
constexpr int MAX_COUNT = 32767;  // repeat counts, X counts, A widths
constexpr int MAX_WIDTH = 255;    // numeric field widths

struct PROGRAM {
  NODE nodes[MAX_NODES];
  int count = 0;
  int revert = 0;  // node where the format is used again when values remain
};

struct PARSE_ERROR {
  const char* what = nullptr;
  size_t column = 0;
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

class PARSER {
 public:
  PARSER(std::string_view fmt, PROGRAM& prog) : fmt_(fmt), prog_(prog) {}

  bool run(PARSE_ERROR& err) {
    skip_blanks();
    if (peek() != '(') return fail(err, "format must start with '('");
    int top_open = 0;
    if (!add(err, NODE{OP_OPEN, 0, 1, 0, -1, -1, 0})) return false;
    ++pos_;
    int stack[MAX_DEPTH];
    int depth = 0;
    stack[depth++] = top_open;
    bool need_item = false;  // just after a ',' (an item must follow)
    bool had_item = false;   // an item since the last '(' or ','
    while (true) {
      skip_blanks();
      if (pos_ >= fmt_.size()) return fail(err, "missing ')'");
      const char c = fmt_[pos_];
      if (c == ',') {
        if (!had_item) return fail(err, "empty item");
        ++pos_;
        need_item = true;
        had_item = false;
        continue;
      }
      if (c == ')') {
        if (need_item) return fail(err, "empty item");
        const int open = stack[--depth];
        const int close = prog_.count;
        if (!add(err, NODE{OP_CLOSE, 0, 1, 0, -1, open, 0})) return false;
        prog_.nodes[open].link = close;
        ++pos_;
        if (depth == 0) break;
        need_item = false;
        had_item = true;
        continue;
      }
      // An item.
      if (c == '\'' || c == '"') {
        if (!literal(err)) return false;
      } else if (c == '/' || c == ':' || c == '$' || c == '\\') {
        const OP op = c == '/' ? OP_SLASH : c == ':' ? OP_COLON : OP_DOLLAR;
        if (!add(err, NODE{op, 0, 1, 0, -1, -1, 0})) return false;
        ++pos_;
      } else if (c == '(') {
        if (!open_group(err, 1, stack, depth)) return false;
        need_item = false;
        had_item = false;
        continue;
      } else if (is_digit(c) || c == '-' || c == '+') {
        const size_t start = pos_;
        bool negative = false;
        bool signed_number = false;
        if (c == '-' || c == '+') {
          negative = c == '-';
          signed_number = true;
          ++pos_;
          skip_blanks();
        }
        int n = 0;
        if (!number(err, n)) return false;
        skip_blanks();
        const char next = upper(peek());
        if (next == 'P') {
          ++pos_;
          if (!add(err, NODE{OP_SCALE, 0, 1, negative ? -n : n, -1, -1, 0})) return false;
        } else if (signed_number) {
          pos_ = start;
          return fail(err, "a signed number must be followed by P");
        } else if (n == 0) {
          pos_ = start;
          return fail(err, "zero repeat count");
        } else if (next == 'X') {
          ++pos_;
          if (!add(err, NODE{OP_X, 0, 1, n, -1, -1, 0})) return false;
        } else if (next == '/') {
          ++pos_;
          if (!add(err, NODE{OP_SLASH, 0, n, 0, -1, -1, 0})) return false;
        } else if (next == '(') {
          if (!open_group(err, n, stack, depth)) return false;
          need_item = false;
          had_item = false;
          continue;
        } else if (next == '\'' || next == '"') {
          return fail(err, "repeat count before a literal");
        } else {
          if (!descriptor(err, n)) return false;
        }
      } else if (upper(c) == 'X') {
        ++pos_;
        if (!add(err, NODE{OP_X, 0, 1, 1, -1, -1, 0})) return false;
      } else {
        if (!descriptor(err, 1)) return false;
      }
      need_item = false;
      had_item = true;
    }
    skip_blanks();
    if (pos_ < fmt_.size()) return fail(err, "text after the closing ')'");
    return true;
  }

 private:
  char peek() const { return pos_ < fmt_.size() ? fmt_[pos_] : '\0'; }
  void skip_blanks() {
    while (pos_ < fmt_.size() && is_blank(fmt_[pos_])) ++pos_;
  }

  bool fail(PARSE_ERROR& err, const char* what) {
    err.what = what;
    err.column = pos_ + 1;
    return false;
  }

  bool add(PARSE_ERROR& err, const NODE& n) {
    if (prog_.count >= MAX_NODES) return fail(err, "format too long");
    prog_.nodes[prog_.count++] = n;
    return true;
  }

  // An unsigned number. Blanks end it: "I5 2X" is I5 followed by 2X.
  bool number(PARSE_ERROR& err, int& n) {
    if (!is_digit(peek())) return fail(err, "number expected");
    long v = 0;
    while (pos_ < fmt_.size() && is_digit(fmt_[pos_])) {
      v = v * 10 + (fmt_[pos_] - '0');
      if (v > MAX_COUNT) return fail(err, "number too large");
      ++pos_;
    }
    n = static_cast<int>(v);
    return true;
  }

  bool open_group(PARSE_ERROR& err, int rep, int* stack, int& depth) {
    if (depth >= MAX_DEPTH) return fail(err, "groups nested too deep");
    const int open = prog_.count;
    if (!add(err, NODE{OP_OPEN, 0, rep, 0, -1, -1, 0})) return false;
    if (depth == 1) prog_.revert = open;  // the last top-level group
    stack[depth++] = open;
    ++pos_;
    return true;
  }

  bool literal(PARSE_ERROR& err) {
    const char q = fmt_[pos_];
    const size_t start = ++pos_;
    while (true) {
      if (pos_ >= fmt_.size()) {
        pos_ = start - 1;
        return fail(err, "unterminated literal");
      }
      if (fmt_[pos_] == q) {
        if (pos_ + 1 < fmt_.size() && fmt_[pos_ + 1] == q) {
          pos_ += 2;  // a doubled quote stands for one quote
          continue;
        }
        break;
      }
      ++pos_;
    }
    const size_t len = pos_ - start;
    ++pos_;
    return add(err, NODE{OP_LIT, q, 1, 0, -1, static_cast<int>(start), static_cast<int>(len)});
  }

  // A data descriptor I, F, E, G or A with its width and digits.
  bool descriptor(PARSE_ERROR& err, int rep) {
    const char c = upper(peek());
    OP op;
    switch (c) {
      case 'I': op = OP_I; break;
      case 'F': op = OP_F; break;
      case 'E': op = OP_E; break;
      case 'G': op = OP_G; break;
      case 'A': op = OP_A; break;
      default: return fail(err, "unknown edit descriptor");
    }
    ++pos_;
    skip_blanks();
    if (op == OP_A) {
      int w = -1;
      if (is_digit(peek())) {
        if (!number(err, w)) return false;
        if (w == 0) return fail(err, "zero width");
      }
      return add(err, NODE{OP_A, 0, rep, w, -1, -1, 0});
    }
    int w = 0;
    if (!number(err, w)) return false;
    if (w > MAX_WIDTH) return fail(err, "field too wide");
    if (w == 0 && op != OP_I) return fail(err, "zero width");
    int d = -1;
    skip_blanks();
    if (peek() == '.') {
      ++pos_;
      skip_blanks();
      if (!number(err, d)) return false;
      // Iw.m needs m <= w; Fw.d with d >= w is legal and prints asterisks.
      if (op == OP_I && w > 0 && d > w) return fail(err, "more digits than the field width");
    } else if (op != OP_I) {
      return fail(err, "'.d' expected");
    }
    return add(err, NODE{op, 0, rep, w, d, -1, 0});
  }

  std::string_view fmt_;
  PROGRAM& prog_;
  size_t pos_ = 0;
};

// ---------------------------------------------------------------------------
// Field conversion.

void stars(std::string& out, int w) { out.append(static_cast<size_t>(w > 0 ? w : 1), '*'); }

void pad(std::string& out, int n) {
  if (n > 0) out.append(static_cast<size_t>(n), ' ');
}

// NaN and infinities: the word right-justified, or asterisks when too wide.
void non_finite(std::string& out, int w, double x) {
  std::string_view t;
  if (std::isnan(x)) {
    t = "NaN";
  } else {
    t = std::signbit(x) ? "-Infinity" : "Infinity";
    if (static_cast<int>(t.size()) > w) t = std::signbit(x) ? "-Inf" : "Inf";
  }
  if (static_cast<int>(t.size()) > w) return stars(out, w);
  pad(out, w - static_cast<int>(t.size()));
  out.append(t);
}

// Iw.m from a sign and a digit string (magnitude, no leading zeros).
void int_field(std::string& out, int w, int m, bool negative, std::string_view digits) {
  if (digits == "0") {
    negative = false;
    if (m == 0) digits = {};  // Iw.0 of zero prints blanks only
  }
  const int nd = static_cast<int>(digits.size());
  const int zeros = m > nd ? m - nd : 0;
  const int len = (negative ? 1 : 0) + zeros + nd;
  if (w == 0) w = len;  // I0: as wide as needed
  if (len > w) return stars(out, w);
  pad(out, w - len);
  if (negative) out.push_back('-');
  out.append(static_cast<size_t>(zeros), '0');
  out.append(digits);
}

void int_value(std::string& out, int w, int m, long long v) {
  char buf[24];
  const unsigned long long mag =
      v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  const auto r = std::to_chars(buf, buf + sizeof buf, mag);
  int_field(out, w, m, v < 0, std::string_view(buf, static_cast<size_t>(r.ptr - buf)));
}

// I editing of a real: its value truncated toward zero.
void int_of_real(std::string& out, int w, int m, double x) {
  if (!std::isfinite(x)) return non_finite(out, w == 0 ? 3 : w, x);
  const double t = std::trunc(x);
  if (std::fabs(t) < 9.0e18) return int_value(out, w, m, static_cast<long long>(t));
  char buf[320];
  const int n = std::snprintf(buf, sizeof buf, "%.0f", std::fabs(t));
  int_field(out, w, m, t < 0, std::string_view(buf, static_cast<size_t>(n)));
}

double pow10_int(int n) {
  double p = 1.0;
  for (int i = 0; i < n; ++i) p *= 10.0;
  return p;
}

// Fw.d.
void fixed_field(std::string& out, int w, int d, double x) {
  if (!std::isfinite(x)) return non_finite(out, w, x);
  const double ax = std::fabs(x);
  // d decimals and the point need d + 1 columns; an integer part of w + 1
  // digits can never fit. Both checks keep the buffer bounded.
  if (d + 1 > w || (w <= 300 && ax >= pow10_int(w))) return stars(out, w);
  char buf[MAX_WIDTH * 2 + 16];
  int n = std::snprintf(buf, sizeof buf, "%.*f", d, ax);
  if (n < 0 || n >= static_cast<int>(sizeof buf) - 1) return stars(out, w);
  if (d == 0) buf[n++] = '.';
  bool zero = true;
  for (int i = 0; i < n; ++i) {
    if (buf[i] >= '1' && buf[i] <= '9') {
      zero = false;
      break;
    }
  }
  const bool negative = std::signbit(x) && !zero;
  const char* s = buf;
  int len = n + (negative ? 1 : 0);
  if (len > w && buf[0] == '0' && buf[1] == '.') {  // the leading zero is optional
    ++s;
    --len;
  }
  if (len > w) return stars(out, w);
  pad(out, w - len);
  if (negative) out.push_back('-');
  out.append(s, static_cast<size_t>(buf + n - s));
}

// Ew.d with scale factor k.
void exp_field(std::string& out, int w, int d, int k, double x) {
  if (!std::isfinite(x)) return non_finite(out, w, x);
  // The scale factor must leave at least one significant digit; d digits
  // and the exponent can never fit in d columns (this also bounds buffers).
  if (k <= 0 ? (k <= -d) : (k >= d + 2)) return stars(out, w);
  if (d >= w) return stars(out, w);
  const int sig = k > 0 ? d + 1 : d + k;
  char digits[MAX_WIDTH + 8];
  int exponent = 0;
  if (x == 0.0) {
    std::memset(digits, '0', static_cast<size_t>(sig));
  } else {
    char buf[MAX_WIDTH + 32];
    const int n = std::snprintf(buf, sizeof buf, "%.*e", sig - 1, std::fabs(x));
    if (n < 0 || n >= static_cast<int>(sizeof buf)) return stars(out, w);
    // buf is "D.DDDDe+XX" (no point when sig is 1).
    int nd = 0;
    int i = 0;
    for (; i < n && buf[i] != 'e'; ++i) {
      if (is_digit(buf[i])) digits[nd++] = buf[i];
    }
    int e10 = 0;
    std::from_chars(buf + i + (buf[i + 1] == '+' ? 2 : 1), buf + n, e10);
    exponent = e10 + 1 - k;
  }
  const bool negative = std::signbit(x) && x != 0.0;
  const int ae = exponent < 0 ? -exponent : exponent;
  if (ae > 999) return stars(out, w);
  const int exp_len = 4;  // E+dd or +ddd
  // Mantissa length: k > 0 gives k digits, the point and d-k+1 digits;
  // otherwise an optional "0", the point, -k zeros and the digits.
  bool lead_zero = k <= 0;
  int len = (negative ? 1 : 0) + exp_len + (k > 0 ? sig + 1 : 1 + (-k) + sig + 1);
  if (len > w && lead_zero) {
    lead_zero = false;
    --len;
  }
  if (len > w) return stars(out, w);
  pad(out, w - len);
  if (negative) out.push_back('-');
  if (k > 0) {
    out.append(digits, static_cast<size_t>(k));
    out.push_back('.');
    out.append(digits + k, static_cast<size_t>(sig - k));
  } else {
    if (lead_zero) out.push_back('0');
    out.push_back('.');
    out.append(static_cast<size_t>(-k), '0');
    out.append(digits, static_cast<size_t>(sig));
  }
  char e[5];
  if (ae <= 99) {
    e[0] = 'E';
    e[1] = exponent < 0 ? '-' : '+';
    e[2] = static_cast<char>('0' + ae / 10);
    e[3] = static_cast<char>('0' + ae % 10);
  } else {
    e[0] = exponent < 0 ? '-' : '+';
    e[1] = static_cast<char>('0' + ae / 100);
    e[2] = static_cast<char>('0' + ae / 10 % 10);
    e[3] = static_cast<char>('0' + ae % 10);
  }
  out.append(e, 4);
}

// Gw.d: fixed form with d significant digits in w-4 columns and 4 blanks when
// the value rounded to d significant digits lies in [0.1, 10^d); exponent form
// (with the scale factor) otherwise.
void general_field(std::string& out, int w, int d, int k, double x) {
  if (!std::isfinite(x)) return non_finite(out, w, x);
  if (d == 0 || d >= w) return exp_field(out, w, d, k, x);
  int decimals;
  if (x == 0.0) {
    decimals = d - 1;
  } else {
    char buf[MAX_WIDTH + 32];
    const int n = std::snprintf(buf, sizeof buf, "%.*e", d - 1, std::fabs(x));
    const char* e = static_cast<const char*>(std::memchr(buf, 'e', static_cast<size_t>(n)));
    int e10 = 0;
    if (e) std::from_chars(e + (e[1] == '+' ? 2 : 1), buf + n, e10);
    if (e10 < -1 || e10 > d - 1) return exp_field(out, w, d, k, x);
    decimals = d - (e10 + 1);
  }
  if (w - 4 < 1) return stars(out, w);
  const size_t before = out.size();
  fixed_field(out, w - 4, decimals, x);
  if (out[before] == '*') {
    out.resize(before);
    return stars(out, w);
  }
  pad(out, 4);
}

// A number handed to an A descriptor: its shortest text.
std::string_view number_text(const FARG& a, char (&buf)[32]) {
  std::to_chars_result r;
  if (a.kind == FARG::INT) {
    r = std::to_chars(buf, buf + sizeof buf, a.i);
  } else {
    r = std::to_chars(buf, buf + sizeof buf, a.r);
  }
  return std::string_view(buf, r.ec == std::errc() ? static_cast<size_t>(r.ptr - buf) : 0);
}

void text_field(std::string& out, int w, std::string_view t) {
  if (w < 0) {
    out.append(t);
  } else if (static_cast<int>(t.size()) >= w) {
    out.append(t.substr(0, static_cast<size_t>(w)));
  } else {
    pad(out, w - static_cast<int>(t.size()));
    out.append(t);
  }
}

void data_field(std::string& out, const NODE& n, int scale, const FARG& a) {
  if (n.op == OP_A) {
    if (a.kind == FARG::TEXT) return text_field(out, n.w, a.s);
    char buf[32];
    return text_field(out, n.w, number_text(a, buf));
  }
  if (a.kind == FARG::TEXT) return stars(out, n.w);
  if (n.op == OP_I) {
    if (a.kind == FARG::INT) return int_value(out, n.w, n.d, a.i);
    return int_of_real(out, n.w, n.d, a.r);
  }
  const double x = a.kind == FARG::INT ? static_cast<double>(a.i) : a.r;
  switch (n.op) {
    case OP_F: return fixed_field(out, n.w, n.d, x);
    case OP_E: return exp_field(out, n.w, n.d, scale, x);
    default: return general_field(out, n.w, n.d, scale, x);
  }
}

void literal_text(std::string& out, std::string_view fmt, const NODE& n) {
  const std::string_view t = fmt.substr(static_cast<size_t>(n.link), static_cast<size_t>(n.len));
  for (size_t i = 0; i < t.size(); ++i) {
    out.push_back(t[i]);
    if (t[i] == n.quote) ++i;  // the second of a doubled quote
  }
}

void bad_format(std::string& out, std::string_view fmt, const char* what, size_t column) {
  out.append("<bad format: ");
  out.append(what);
  if (column > 0) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, column);
    out.append(" at column ");
    out.append(buf, static_cast<size_t>(r.ptr - buf));
  }
  out.append(" in ");
  out.append(fmt);
  out.append(">\n");
}

}  // namespace

bool FORMAT(std::string& out, std::string_view fmt, std::span<const FARG> args) {
  PROGRAM prog;
  PARSE_ERROR err;
  if (!PARSER(fmt, prog).run(err)) {
    bad_format(out, fmt, err.what, err.column);
    return false;
  }
  const NODE* nodes = prog.nodes;
  const int last = prog.count - 1;  // the closing ')' of the format
  struct FRAME {
    int open;
    int left;
  };
  FRAME stack[MAX_DEPTH + 1];
  int depth = 0;
  size_t next = 0;  // next value
  int scale = 0;
  bool open_line = false;
  int consumed = 0;  // values used since the start or the last reversion
  int pc = 1;
  while (true) {
    const NODE& n = nodes[pc];
    switch (n.op) {
      case OP_I:
      case OP_F:
      case OP_E:
      case OP_G:
      case OP_A:
        for (int r = 0; r < n.rep; ++r) {
          if (next >= args.size()) goto done;
          data_field(out, n, scale, args[next++]);
          ++consumed;
        }
        ++pc;
        break;
      case OP_X:
        pad(out, n.w);
        ++pc;
        break;
      case OP_SLASH:
        out.append(static_cast<size_t>(n.rep), '\n');
        open_line = false;
        ++pc;
        break;
      case OP_DOLLAR:
        open_line = true;
        ++pc;
        break;
      case OP_COLON:
        if (next >= args.size()) goto done;
        ++pc;
        break;
      case OP_LIT:
        literal_text(out, fmt, n);
        ++pc;
        break;
      case OP_SCALE:
        scale = n.w;
        ++pc;
        break;
      case OP_OPEN:
        stack[depth++] = FRAME{pc, n.rep};
        ++pc;
        break;
      case OP_CLOSE:
        if (pc != last) {
          FRAME& f = stack[depth - 1];
          if (--f.left > 0) {
            pc = f.open + 1;
          } else {
            --depth;
            ++pc;
          }
          break;
        }
        // End of the format.
        if (next >= args.size()) goto done;
        if (consumed == 0) {
          bad_format(out, fmt, "no data descriptor for the remaining values", 0);
          return false;
        }
        out.push_back('\n');
        open_line = false;
        consumed = 0;
        depth = 0;
        pc = prog.revert;
        if (pc == 0) {
          pc = 1;
        } else {
          stack[depth++] = FRAME{pc, nodes[pc].rep};
          ++pc;
        }
        break;
    }
  }
done:
  if (!open_line) out.push_back('\n');
  return open_line;
}

std::string FORMAT(std::string_view fmt, std::initializer_list<FARG> args) {
  std::string out;
  FORMAT(out, fmt, std::span<const FARG>(args.begin(), args.size()));
  return out;
}

void WRITE_FV(FILE* f, std::string_view fmt, std::span<const FARG> args) {
  thread_local std::string buf;
  buf.clear();
  FORMAT(buf, fmt, args);
  if (f && !buf.empty()) std::fwrite(buf.data(), 1, buf.size(), f);
}

std::string LIST_LINE(std::span<const FARG> args) {
  std::string out;
  for (const FARG& a : args) {
    switch (a.kind) {
      case FARG::INT: int_value(out, 12, -1, a.i); break;
      case FARG::REAL: exp_field(out, 16, 7, 1, a.r); break;
      case FARG::TEXT:
        out.push_back(' ');
        out.append(a.s);
        break;
    }
  }
  out.push_back('\n');
  return out;
}

void WRITE_LISTV(FILE* f, std::span<const FARG> args) {
  const std::string line = LIST_LINE(args);
  if (f) std::fwrite(line.data(), 1, line.size(), f);
}

}  // namespace kestra
