// Drives the deck reader over arbitrary bytes: the fuzz target and the
// corpus replay tests call READER_DRIVE and INPUT_DRIVE.
//  - READER_DRIVE: the bytes are the deck; a sequence of text records and
//    free-form records of integers, reals and texts (chosen from the first
//    byte) is read until the first failure.
//  - INPUT_DRIVE: the bytes are a whole input data file, read by READ_INPUT
//    and, when it reads, echoed (Tables B to K, without the analysis).
// Each returns false when the reader broke one of its guarantees.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <memory>

#include "engine/run.h"
#include "input/input.h"
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

// What a deck that reads must leave: every count within its table, and the
// controls the analysis loops on mended.
inline bool STORE_WITHIN_LIMITS(const kestra::STORE& s) {
  using namespace kestra;
  auto in = [](int n, int lo, int hi) { return n >= lo && n <= hi; };
  const LOAD_DATA& L = s.loads;
  if (!in(L.NLC, 0, MAX_LOAD_CASES) || !in(L.NCOMB, 0, MAX_LOAD_COMBS) || !in(L.NDSETS, 0, MAX_DLOAD_SETS))
    return false;
  auto controls_ok = [](const LOAD_CONTROLS& k) {
    return k.PRINT_EVERY >= 1 && k.NCYCLES >= 1 && k.LOAD_INCREMENT > 0.0 && k.LOAD_INCREMENT <= 1.0 &&
           k.MIN_INCREMENT > 0.0;
  };
  for (int c = 1; c <= L.NLC; ++c) {
    const LOAD_CASE& lc = L.CASE[c];
    if (!in(lc.NCONC, 0, MAX_CONC_LOADS) || !in(lc.NDIST, 0, MAX_DIST_LOADS) ||
        !in(lc.NLEVELS, 0, MAX_STIFF_LEVELS) || !controls_ok(lc))
      return false;
  }
  for (int k = 1; k <= L.NCOMB; ++k) {
    const LOAD_COMB& lk = L.COMB[k];
    if (!in(lk.NCOMB_CASES, 0, MAX_COMB_CASES) || !controls_ok(lk)) return false;
    for (int e = 1; e <= lk.NCOMB_CASES; ++e)
      if (!in(lk.ENTRY[e].CASE, 1, L.NLC)) return false;
  }
  for (int d = 1; d <= L.NDSETS; ++d)
    if (!in(L.DSET[d].NPOINTS, 0, MAX_DLOAD_POINTS)) return false;
  const PILE_DATA& p = s.piles;
  if (!in(p.NPILES, 0, MAX_PILES) || !in(p.NPROP, 0, MAX_PROPERTIES) || !in(p.NXSEC, 0, MAX_XSECTIONS) ||
      !in(p.NMCSETS, 0, MAX_MC_SETS))
    return false;
  for (int i = 1; i <= p.NPROP; ++i)
    if (!in(p.PROP[i].NSECT, 0, MAX_SECTIONS) || !in(p.PROP[i].INC, 1, MAX_INCREMENTS)) return false;
  for (int m = 1; m <= p.NMCSETS; ++m) {
    if (!in(p.MC[m].NMCURVES, 0, MAX_MC_CURVES)) return false;
    for (int j = 1; j <= p.MC[m].NMCURVES; ++j)
      if (!in(p.MC[m].CURVE[j].NPOINTS, 0, MAX_MC_POINTS)) return false;
  }
  const SOIL_DATA& so = s.soil;
  return in(so.NLAYERS, 0, MAX_LAYERS) && in(so.NPYPRINT, 0, MAX_PY_PRINT) && in(so.NPYSETS, 0, MAX_PY_SETS) &&
         in(so.NLSCURVES, 0, MAX_LS_CURVES) && in(so.NTRCURVES, 0, MAX_TR_CURVES) &&
         in(so.NRFSETS, 0, MAX_RF_SETS) && in(so.NSMPTS, 0, MAX_SM_POINTS) && in(s.ctl.NYPTS, 0, MAX_CURVE_DEFL);
}

inline bool INPUT_DRIVE(const uint8_t* data, size_t size) {
  using namespace kestra;
  // One store for every input (several megabytes), rebuilt for each.
  static std::unique_ptr<RUN> run = std::make_unique<RUN>();
  RUN_RESET(*run);
  std::vector<char> keep;
  FILE* in = open_bytes(data, size, keep);
  if (in == nullptr) return true;
  char* rt_buf = nullptr;
  size_t rt_len = 0;
  FILE* rt = open_memstream(&rt_buf, &rt_len);
  FILE* sink = std::fopen("/dev/null", "w");
  run->files.fp[F_INPUT] = in;
  run->files.name[F_INPUT] = "fuzz.dat";
  run->files.fp[F_RUNTIME] = rt;
  for (int role : {F_REPORT, F_SUMMARY, F_PLOT, F_AXIAL_CURVES}) run->files.fp[role] = sink;

  SET_ENTRY_VALUES(*run);
  bool ok = true;
  int st = READ_INPUT(*run);
  if (st == ST_OK) {
    ok = STORE_WITHIN_LIMITS(run->store);
    if (ok) st = ECHO_TABLES(*run);
  } else {
    // A deck fault carries one of the engine's own codes and its message.
    ok = st >= ST_NAMES_FILE && run->status == st;
  }
  if (ok && st != ST_OK && run->status != st) ok = false;
  std::fflush(rt);
  // Deck faults say so in the runtime file at once; the analysis statuses of
  // the echo (curve generation) get their message from the entry point.
  if (ok && st >= ST_NAMES_FILE &&
      (rt_len == 0 || std::string(rt_buf, rt_len).find("ERROR") == std::string::npos))
    ok = false;

  for (FILE*& f : run->files.fp) f = nullptr;  // closed here, once each
  std::fclose(in);
  std::fclose(rt);
  if (sink) std::fclose(sink);
  std::free(rt_buf);
  return ok;
}

}  // namespace kestra_fuzz
