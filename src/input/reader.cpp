// The free-form record reader. Lines are taken from the file with getc into
// DECK::line and parsed in place: one pass over each line, no copies of the
// line, no recursion, so a line of any length or content is read in linear
// time and never read out of bounds.
#include "input/reader.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

#include "engine/status.h"

namespace kestra {

namespace {

constexpr size_t MAX_SHOWN = 60;  // characters of a bad token quoted in a message

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_separator(char c) { return is_blank(c) || c == ',' || c == '/'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Takes the next physical line of the file into d.line, without its LF and
// without a CR just before it (or before the end of the file). Returns false
// at the end of the file, when not even an empty line is left.
bool next_line(DECK& d) {
  d.line.clear();
  if (d.at_eof || d.fp == nullptr) {
    d.at_eof = true;
    return false;
  }
  char chunk[512];
  size_t k = 0;
  bool got_newline = false;
  for (;;) {
    int c = std::getc(d.fp);
    if (c == EOF) {
      d.at_eof = true;
      break;
    }
    if (c == '\n') {
      got_newline = true;
      break;
    }
    chunk[k++] = static_cast<char>(c);
    if (k == sizeof chunk) {
      d.line.append(chunk, k);
      k = 0;
    }
  }
  d.line.append(chunk, k);
  if (!got_newline && d.line.empty()) return false;
  if (!d.line.empty() && d.line.back() == '\r') d.line.pop_back();
  ++d.line_no;
  return true;
}

// A piece of deck text made fit for a one-line message: control characters
// shown as '?', cut after MAX_SHOWN characters.
std::string shown(std::string_view t) {
  std::string s;
  size_t n = t.size() < MAX_SHOWN ? t.size() : MAX_SHOWN;
  s.reserve(n + 3);
  for (size_t j = 0; j < n; ++j) {
    unsigned char c = static_cast<unsigned char>(t[j]);
    s.push_back(c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c));
  }
  if (t.size() > n) s += "...";
  return s;
}

std::string_view trimmed(std::string_view t) {
  size_t b = 0, e = t.size();
  while (b < e && (is_blank(t[b]) || t[b] == '\0')) ++b;
  while (e > b && (is_blank(t[e - 1]) || t[e - 1] == '\0')) --e;
  return t.substr(b, e - b);
}

// "<file label>, line <n>, section "<section>"" (after_line: "after line <n>",
// for the end of the file). The pieces that are empty are left out.
std::string where(const DECK& d, bool after_line) {
  std::string s = d.file_label;
  if (!s.empty()) s += ", ";
  char num[32];
  std::snprintf(num, sizeof num, "%s %d", after_line ? "after line" : "line", d.line_no);
  s += num;
  std::string_view sec = trimmed(d.section);
  if (!sec.empty()) {
    s += ", section \"";
    s += shown(sec);
    s += '"';
  }
  return s;
}

const char* kind_words(RITEM::KIND k) {
  switch (k) {
    case RITEM::INT: return "an integer";
    case RITEM::REAL: return "a real number";
    default: return "a text";
  }
}

// The items of one record: a list of RITEM, or n reals or n integers of one
// array (whose names carry the index).
struct ITEMS {
  const RITEM* list = nullptr;
  double* reals = nullptr;
  int* ints = nullptr;
  const char* name = nullptr;
  int n = 0;

  RITEM at(int i) const {
    if (list != nullptr) return list[i];
    if (reals != nullptr) return {RITEM::REAL, &reals[i], 0, name};
    return {RITEM::INT, &ints[i], 0, name};
  }
  std::string name_of(int i) const {
    const char* base = list != nullptr ? list[i].name : name;
    std::string s = base != nullptr ? base : "?";
    if (list == nullptr) {
      char num[24];
      std::snprintf(num, sizeof num, "(%d)", i + 1);
      s += num;
    }
    return s;
  }
};

int fail_value(DECK& d, const ITEMS& items, int i, std::string_view token, int status, const char* note) {
  RITEM it = items.at(i);
  d.message = where(d, false) + ": expected " + kind_words(it.kind) + " for " + items.name_of(i) +
              ", found \"" + shown(token) + "\"";
  if (note != nullptr) {
    d.message += " (";
    d.message += note;
    d.message += ')';
  }
  return status;
}

int fail_end(DECK& d, const ITEMS& items, int i, bool started) {
  d.message = where(d, true);
  if (items.n <= 0) {
    d.message += ": the file ended: expected a record";
  } else {
    d.message += started ? ": ended inside a record: expected " : ": the file ended before a record: expected ";
    d.message += kind_words(items.at(i).kind);
    d.message += " for ";
    d.message += items.name_of(i);
  }
  return ST_DECK_END;
}

// An integer: an optional sign and digits only.
enum PARSED { P_OK, P_KIND, P_RANGE };

PARSED parse_int(std::string_view t, int& v) {
  size_t k = 0;
  if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
  if (k == t.size()) return P_KIND;
  for (size_t j = k; j < t.size(); ++j)
    if (!is_digit(t[j])) return P_KIND;
  const char* b = t.data() + (t[0] == '+' ? 1 : 0);
  const char* e = t.data() + t.size();
  int x = 0;
  auto r = std::from_chars(b, e, x);
  if (r.ec == std::errc::result_out_of_range) return P_RANGE;
  if (r.ec != std::errc() || r.ptr != e) return P_KIND;
  v = x;
  return P_OK;
}

bool same_word(std::string_view t, const char* w) {
  size_t n = std::strlen(w);
  if (t.size() != n) return false;
  for (size_t j = 0; j < n; ++j) {
    char c = t[j];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != w[j]) return false;
  }
  return true;
}

// A real: [sign] (digits [. [digits]] | . digits) [exponent], where the
// exponent is E, e, D or d with an optional sign and digits, or a sign and
// digits alone (1.5+03). nan, inf and infinity are recognised to be refused
// as non-finite.
PARSED parse_real(std::string_view t, double& v, const char** note) {
  size_t n = t.size(), k = 0;
  if (k < n && (t[k] == '+' || t[k] == '-')) ++k;
  size_t mant_begin = k, digits = 0;
  while (k < n && is_digit(t[k])) ++k, ++digits;
  if (k < n && t[k] == '.') {
    ++k;
    while (k < n && is_digit(t[k])) ++k, ++digits;
  }
  bool ok = digits > 0;
  size_t exp_at = n;  // where the exponent starts (its letter or its sign)
  bool exp_letter = false;
  if (ok && k < n) {
    exp_at = k;
    if (t[k] == 'E' || t[k] == 'e' || t[k] == 'D' || t[k] == 'd') {
      exp_letter = true;
      ++k;
      if (k < n && (t[k] == '+' || t[k] == '-')) ++k;
    } else if (t[k] == '+' || t[k] == '-') {
      ++k;
    } else {
      ok = false;
    }
    size_t exp_digits = 0;
    while (ok && k < n && is_digit(t[k])) ++k, ++exp_digits;
    if (exp_digits == 0 || k != n) ok = false;
  }
  if (!ok) {
    std::string_view w = t.substr(mant_begin);
    if (same_word(w, "nan") || same_word(w, "inf") || same_word(w, "infinity") ||
        (w.size() >= 5 && same_word(w.substr(0, 4), "nan(") && w.back() == ')')) {
      *note = "not a finite number";
      return P_RANGE;
    }
    return P_KIND;
  }
  // The cleaned copy for from_chars: no leading '+', the exponent as 'e'.
  char small[80];
  std::string big;
  char* buf = small;
  if (t.size() + 2 > sizeof small) {
    big.resize(t.size() + 2);
    buf = big.data();
  }
  size_t m = 0;
  for (size_t j = (t[0] == '+' ? 1 : 0); j < n; ++j) {
    if (j == exp_at) {
      buf[m++] = 'e';
      if (exp_letter) continue;
    }
    buf[m++] = t[j];
  }
  double x = 0;
  auto r = std::from_chars(buf, buf + m, x, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    *note = "out of range";
    return P_RANGE;
  }
  if (r.ec != std::errc() || r.ptr != buf + m) return P_KIND;
  if (!std::isfinite(x)) {
    *note = "not a finite number";
    return P_RANGE;
  }
  v = x;
  return P_OK;
}

// Stores a text value blank-padded in len characters. body is the value as
// written: for a quoted value the characters between the quotes, where a
// doubled quote stands for one. A tab (or a NUL byte) is stored as a blank.
void store_text(char* out, int len, std::string_view body, char quote) {
  int k = 0;
  for (size_t j = 0; j < body.size() && k < len; ++j) {
    char c = body[j];
    if (quote != 0 && c == quote) ++j;  // the first of a doubled quote
    if (c == '\t' || c == '\0') c = ' ';
    out[k++] = c;
  }
  for (; k < len; ++k) out[k] = ' ';
}

// One value as written in the record.
struct VALUE {
  std::string_view body;   // the value (inside the quotes when quoted)
  std::string_view token;  // the whole token as written, for messages
  char quote = 0;          // ' or " when quoted
  bool bad = false;        // no closing quote, or text glued to the closing quote
};

// Scans a value starting at line[pos] (not a blank, comma or slash), up to
// the separator after it; returns the position after it.
size_t scan_value(const std::string& line, size_t pos, VALUE& v) {
  size_t n = line.size(), j = pos;
  char q = line[pos];
  if (q == '\'' || q == '"') {
    ++j;
    for (;;) {
      if (j >= n) {
        v.bad = true;
        break;
      }
      if (line[j] == q) {
        if (j + 1 < n && line[j + 1] == q) {
          j += 2;
          continue;
        }
        break;
      }
      ++j;
    }
    v.quote = q;
    v.body = std::string_view(line).substr(pos + 1, j - pos - 1);
    if (j < n) ++j;  // the closing quote
    if (j < n && !is_separator(line[j])) {
      v.bad = true;
      while (j < n && !is_separator(line[j])) ++j;
    }
  } else {
    while (j < n && !is_separator(line[j])) ++j;
    v.body = std::string_view(line).substr(pos, j - pos);
  }
  v.token = std::string_view(line).substr(pos, j - pos);
  return j;
}

// Stores the value into item i; returns 0 or the failure status.
int store_value(DECK& d, const ITEMS& items, int i, const VALUE& v, std::string_view token) {
  RITEM it = items.at(i);
  if (it.kind == RITEM::TEXT) {
    if (v.bad) {
      bool unclosed = v.quote != 0 && v.body.end() == token.end();
      return fail_value(d, items, i, token, ST_DECK_KIND, unclosed ? "no closing quote" : nullptr);
    }
    if (it.p != nullptr) store_text(static_cast<char*>(it.p), it.len, v.body, v.quote);
    return ST_OK;
  }
  if (v.quote != 0 || v.bad) return fail_value(d, items, i, token, ST_DECK_KIND, nullptr);
  PARSED r;
  const char* note = nullptr;
  if (it.kind == RITEM::INT) {
    int x = 0;
    r = parse_int(v.body, x);
    if (r == P_RANGE) note = "out of the integer range";
    if (r == P_OK && it.p != nullptr) *static_cast<int*>(it.p) = x;
  } else {
    double x = 0;
    r = parse_real(v.body, x, &note);
    if (r == P_OK && it.p != nullptr) *static_cast<double*>(it.p) = x;
  }
  if (r == P_OK) return ST_OK;
  if (r == P_RANGE) return fail_value(d, items, i, token, ST_DECK_RANGE, note);
  return fail_value(d, items, i, token, ST_DECK_KIND, nullptr);
}

// Reads one free-form record into the items. *assigned counts the items that
// received a value (null values and those left by a slash do not count).
int read_free(DECK& d, const ITEMS& items, int* assigned) {
  int count = 0;
  if (assigned != nullptr) *assigned = 0;
  if (!next_line(d)) return fail_end(d, items, 0, false);
  size_t pos = 0;
  bool after_value = false;  // a value was just read: a comma now is its separator
  int i = 0;
  // A repeat r*c still being applied. It is applied before the next line is
  // taken, so its views into d.line stay valid.
  long long repeat_left = 0;
  VALUE repeat_value;
  bool repeat_null = false;
  std::string_view repeat_token;

  while (i < items.n) {
    if (repeat_left > 0) {
      --repeat_left;
      if (!repeat_null) {
        int st = store_value(d, items, i, repeat_value, repeat_token);
        if (st != ST_OK) return st;
        ++count;
        if (assigned != nullptr) *assigned = count;
      }
      ++i;
      continue;
    }
    // The next non-blank character, over line ends.
    for (;;) {
      while (pos < d.line.size() && is_blank(d.line[pos])) ++pos;
      if (pos < d.line.size()) break;
      if (!next_line(d)) return fail_end(d, items, i, true);
      pos = 0;
    }
    char c = d.line[pos];
    if (c == ',') {
      ++pos;
      if (after_value) {
        after_value = false;
      } else {
        ++i;  // a null value
      }
      continue;
    }
    if (c == '/') return ST_OK;
    after_value = true;

    // A repeat count: digits and '*', then a value, or nothing for nulls.
    size_t j = pos;
    while (j < d.line.size() && is_digit(d.line[j])) ++j;
    if (j > pos && j < d.line.size() && d.line[j] == '*') {
      long long r = 0;
      for (size_t k = pos; k < j; ++k) {
        r = r * 10 + (d.line[k] - '0');
        if (r > INT_MAX) r = INT_MAX;
      }
      if (r > 0) {
        size_t start = pos;
        ++j;  // past '*'
        repeat_value = VALUE();
        if (j >= d.line.size() || is_separator(d.line[j])) {
          repeat_null = true;
          pos = j;
        } else {
          repeat_null = false;
          pos = scan_value(d.line, j, repeat_value);
        }
        repeat_token = std::string_view(d.line).substr(start, pos - start);
        repeat_left = r;
        continue;
      }
    }

    VALUE v;
    pos = scan_value(d.line, pos, v);
    int st = store_value(d, items, i, v, v.token);
    if (st != ST_OK) return st;
    ++count;
    if (assigned != nullptr) *assigned = count;
    ++i;
  }
  return ST_OK;
}

}  // namespace

void DECK_OPEN(DECK& d, FILE* fp, std::string file_label) {
  d = DECK();
  d.fp = fp;
  d.file_label = std::move(file_label);
}

int READ_TEXT(DECK& d, char* out, int len, const char* what) {
  if (len < 0) len = 0;
  if (!next_line(d)) {
    d.message = where(d, true) + ": the file ended: expected " + (what != nullptr ? what : "a text record");
    if (out != nullptr) {
      for (int k = 0; k < len; ++k) out[k] = ' ';
      out[len] = 0;
    }
    return ST_DECK_END;
  }
  if (out != nullptr) {
    store_text(out, len, d.line, 0);
    out[len] = 0;
  }
  return ST_OK;
}

int READ_RECORD(DECK& d, std::initializer_list<RITEM> items) {
  ITEMS it;
  it.list = items.begin();
  it.n = static_cast<int>(items.size());
  return read_free(d, it, nullptr);
}

int READ_REALS(DECK& d, double* v, int n, const char* name) {
  ITEMS it;
  it.reals = v;
  it.name = name;
  it.n = v != nullptr && n > 0 ? n : 0;
  return read_free(d, it, nullptr);
}

int READ_INTS(DECK& d, int* v, int n, const char* name) {
  ITEMS it;
  it.ints = v;
  it.name = name;
  it.n = v != nullptr && n > 0 ? n : 0;
  return read_free(d, it, nullptr);
}

bool READ_FIRST_INT(FILE* fp, int& value) {
  if (fp == nullptr) return false;
  DECK d;
  DECK_OPEN(d, fp, std::string());
  int x = 0, assigned = 0;
  RITEM item = ITEM(x, "value");
  ITEMS it;
  it.list = &item;
  it.n = 1;
  if (read_free(d, it, &assigned) != ST_OK || assigned == 0) return false;
  value = x;
  return true;
}

}  // namespace kestra
