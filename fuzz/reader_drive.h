// Drives the deck reader over arbitrary bytes: the fuzz target and the
// corpus replay test both call READER_DRIVE. The bytes are the deck; a
// sequence of text records and free-form records of integers, reals and
// texts (chosen from the first byte) is read until the first failure.
// Returns false when the reader broke one of its guarantees.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "input/reader.h"

namespace kestra_fuzz {

inline bool message_ok(const kestra::DECK& d) {
  return !d.message.empty() && d.message.find('\n') == std::string::npos &&
         d.message.find('\0') == std::string::npos;
}

inline bool text_ok(const char* t, int len) {
  if (t[len] != 0) return false;
  for (int k = 0; k < len; ++k)
    if (t[k] == 0 || t[k] == '\t') return false;
  return true;
}

inline FILE* open_bytes(const uint8_t* data, size_t size, std::vector<char>& keep) {
  keep.assign(data, data + size);
  if (keep.empty()) return std::tmpfile();  // fmemopen wants a buffer of at least one byte
  return fmemopen(keep.data(), keep.size(), "r");
}

inline bool READER_DRIVE(const uint8_t* data, size_t size) {
  using namespace kestra;
  std::vector<char> keep;

  // The stop-request reading over the same bytes.
  if (FILE* f = open_bytes(data, size, keep)) {
    int v = -12345;
    bool got = READ_FIRST_INT(f, v);
    std::fclose(f);
    if (!got && v != -12345) return false;
  }

  FILE* fp = open_bytes(data, size, keep);
  if (fp == nullptr) return true;
  DECK d;
  DECK_OPEN(d, fp, "input file \"fuzz.dat\"");
  d.section = "FUZZ SECTION";
  uint32_t seed = size > 0 ? data[0] : 0;
  bool ok = true;
  int last_line = 0;
  for (int step = 0; step < 1000000 && ok; ++step) {
    seed = seed * 1103515245u + 12345u;
    uint32_t op = seed >> 16;
    int st = 0;
    char text[82];
    char t8[9] = {0};
    char t3[4] = {0};
    int ia = 7, ib = 7;
    double ra = 1.0, rb = 1.0;
    double reals[7] = {1, 1, 1, 1, 1, 1, 1};
    int ints[5] = {0, 0, 0, 0, 0};
    switch (op % 6) {
      case 0:
        st = READ_TEXT(d, text, 80, "the title record");
        if (st == 0 && !text_ok(text, 80)) ok = false;
        break;
      case 1:
        st = READ_RECORD(d, {ITEM(ia, "IA"), ITEM(ra, "RA"), ITEM_TEXT(t8, 8, "T8"), ITEM(ib, "IB")});
        if (t8[0] != 0 && !text_ok(t8, 8)) ok = false;
        if (!std::isfinite(ra)) ok = false;
        break;
      case 2:
        st = READ_REALS(d, reals, 1 + static_cast<int>(op % 7), "VALUES");
        for (double x : reals)
          if (!std::isfinite(x)) ok = false;
        break;
      case 3:
        st = READ_INTS(d, ints, 1 + static_cast<int>(op % 5), "COUNTS");
        break;
      case 4:
        st = READ_RECORD(d, {ITEM_TEXT(t3, 3, "T3"), ITEM(rb, "RB")});
        if (t3[0] != 0 && !text_ok(t3, 3)) ok = false;
        if (!std::isfinite(rb)) ok = false;
        break;
      default:
        st = READ_TEXT(d, text, static_cast<int>(op % 81), nullptr);
        if (st == 0 && !text_ok(text, static_cast<int>(op % 81))) ok = false;
        break;
    }
    // Every record takes at least one line; the line count only grows.
    if (d.line_no < last_line || (st == 0 && d.line_no == last_line)) ok = false;
    last_line = d.line_no;
    if (st != 0) {
      if (!message_ok(d)) ok = false;
      break;
    }
  }
  std::fclose(fp);
  return ok;
}

}  // namespace kestra_fuzz
