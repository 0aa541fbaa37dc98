// The curve data file of small decks, record by record: the file and
// geometry records, the station layout (S + 1 stations, mirrored curves),
// the half-segment lumping against curves tabulated independently, the
// axial tip term, the torsional records of a 3D deck, the binary form and
// the failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run.h"
#include "input/input.h"
#include "output/curve_data_file.h"
#include "pile/axial_generate.h"
#include "pile/section_value.h"
#include "soil/generate_py.h"
#include "support/test_support.h"

using namespace kestra;

namespace {

const std::string SELECT = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";

// One load case, no combination.
std::string loads() {
  return "LOAD CASES\n1 0 0 0 0\n0 0 0 1 1 100 100\n1E-5 1E-5 1 0.01\nCASE\n0 0 0 0 0 0 0\n0 1 1.0 0 0 0 0 0\n0\n" +
         SELECT + "0\n0\n0\nLOAD COMBINATIONS\n0 0 0 0 0\nDISTRIBUTED LOAD SETS\n0\n";
}

// A driven pile 10 m long, 0.6 m wide, 20 increments (SI units).
const std::string PILE =
    "PILE PROPERTIES\n1\n1 1\n20 10 1\n0 10 1 2.5E7 0 0\n"
    "PILE CROSS SECTIONS\n1\n1 1 0\n'SHAFT'\n0.6 0 0 0 0 0 0 0\n1.0E7 0.2827 0.00636 0.00637 0 0.0127 0 0 0 0\n";

// Two soft clay layers, 0-5 m with e50 0.01 and 5-20 m with e50 0.02.
const std::string CLAYS =
    "SOIL LAYERS\n2\n"
    "0 1\n0 5\n2 9\n9 30 0 0 0 0.01 0 0 0\n9 30 0 0 0 0.01 0 0 0\n"
    "0 1\n5 20\n2 9\n9 30 0 0 0 0.02 0 0 0\n9 30 0 0 0 0.02 0 0 0\n";

// 2D deck: group 1 vertical with its head at the ground surface; group 2
// battered 10 degrees, head at HOR 1.5, ground value 3 (the ground lies 3 m
// below its head).
const std::string TWO_GROUPS =
    "ARRANGEMENT OF PILE GROUPS\n2\n2 2 1 0 0 0\n0 0 1 1 1\n0 0 0 0\n2 2 1 0 0 0\n0 0 1 1 1\n0 1.5 10 3\n";

std::string deck2d_with(const std::string& user_py, const std::string& groups, const std::string& soil,
                        const std::string& after_soil, const std::string& options, int binary = 0) {
  return "TITLE\nVERSION\nCONTROL PARAMETERS\n2 2 0 0 " + user_py + " 0 0 0 0 0 0 0 0 0 1 " +
         std::to_string(binary) + "\nPILE CAP\n3 2 1\n" + loads() + groups + PILE + soil + after_soil +
         "CURVE DATA FILE OPTIONS\n" + options;
}

std::string deck2d(int binary = 0, const std::string& options = "4 0 0\n", const std::string& soil = CLAYS) {
  return deck2d_with("0", TWO_GROUPS, soil, "", options, binary);
}

// 3D deck: one pile battered ALPHA 20, BETA 30 degrees, S = 2.
std::string deck3d(int binary = 0, const std::string& soil = CLAYS) {
  return "TITLE\nVERSION\nCONTROL PARAMETERS\n2 3 0 0 0 0 0 0 0 0 0 0 0 0 1 " + std::to_string(binary) +
         "\nPILE CAP\n3 2 1\n" + loads() +
         "ARRANGEMENT OF PILE GROUPS\n1\n2 2 1 0 0 0 0 0\n0 0 1 1 1 1 1\n0.5 1 2 20 30 0\n" + PILE + soil +
         "CURVE DATA FILE OPTIONS\n2 0 0\n";
}

std::string file_text(FILE* f) {
  std::string out;
  std::fflush(f);
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  return out;
}

// A deck read and echoed, with the curve data file in a scratch file.
struct DECK_RUN {
  std::unique_ptr<RUN> run = std::make_unique<RUN>();
  int status = 0;

  explicit DECK_RUN(const std::string& text) {
    RUN_RESET(*run);
    FILE* in = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), in);
    std::rewind(in);
    run->files.fp[F_INPUT] = in;
    for (int role : {F_REPORT, F_SUMMARY, F_PLOT, F_RUNTIME, F_AXIAL_CURVES, F_TZ_CURVES, F_CAP_TRACE})
      run->files.fp[role] = std::tmpfile();
    SET_ENTRY_VALUES(*run);
    status = READ_INPUT(*run);
    if (status == ST_OK) status = ECHO_TABLES(*run);
    run->files.fp[F_CURVE_DATA] = std::tmpfile();
  }
  ~DECK_RUN() {
    for (FILE*& f : run->files.fp)
      if (f) std::fclose(f);
  }
  STORE& store() { return run->store; }
  int write() { return CURVE_DATA_FILE(*run); }
  std::string curve_text() { return file_text(run->files.fp[F_CURVE_DATA]); }
  std::string report() { return file_text(run->files.fp[F_REPORT]); }
  std::vector<std::string> lines() {
    std::vector<std::string> out;
    std::istringstream is(curve_text());
    for (std::string l; std::getline(is, l);) out.push_back(l);
    return out;
  }

  // The p-y curve of the analysis' models at coordinate x of group g, as
  // the tabulation leaves it (points (y, p) of CURVE_BUFFER).
  std::vector<std::pair<double, double>> tabulated(int g, double x) {
    PY_STATE& py = store().py;
    py.PY_TABULATE = true;
    py.PY_BUFFER = true;
    py.PY_PHASE = 1;
    py.NYPTS = 0;
    store().soil.NL = store().soil.NLAYERS;
    auto w = std::make_unique<PILE_WORK>();
    SET_ONE_NODE_PILE(*run, *w, g, x);
    py.NCURVE = 0;
    EXPECT_EQ(GENERATE_PY(*run, *w), ST_OK);
    std::vector<std::pair<double, double>> out;
    for (int i = 1; i <= py.NCURVE; ++i) out.emplace_back(py.CURVE_Y[i], py.CURVE_P[i]);
    return out;
  }
};

std::vector<double> numbers(const std::string& line) {
  std::vector<double> out;
  std::istringstream is(line);
  for (std::string t; is >> t;) out.push_back(std::strtod(t.c_str(), nullptr));
  return out;
}

// Reads the station records of one kind from line index at; returns the
// per-station point lists (empty for a flag-0 station) and moves at past them.
struct STATION {
  int k = 0;
  double c = 0.0;
  int flag = 0, count = 0, model = 0;
  std::vector<std::pair<double, double>> pts;
};
std::vector<STATION> read_stations(const std::vector<std::string>& L, size_t& at, int nst, bool with_model) {
  std::vector<STATION> out;
  for (int s = 0; s < nst; ++s) {
    STATION st;
    const auto kc = numbers(L.at(at++));
    st.k = int(kc.at(0));
    st.c = kc.at(1);
    const auto rec = numbers(L.at(at++));
    st.flag = int(rec.at(0));
    st.count = int(rec.at(1));
    if (with_model) st.model = int(rec.at(2));
    for (int i = 0; i < (st.flag ? st.count : 0); ++i) {
      const auto pt = numbers(L.at(at++));
      EXPECT_EQ(int(pt.at(0)), i + 1);
      st.pts.emplace_back(pt.at(1), pt.at(2));
    }
    out.push_back(st);
  }
  return out;
}

// Relative closeness of the G15.8 fields (eight significant digits).
void expect_close(double got, double want, const std::string& what) {
  EXPECT_NEAR(got, want, 2e-7 * std::fabs(want) + 1e-12) << what;
}

// Independent linear interpolation of a tabulated curve at u.
double interp(const std::vector<std::pair<double, double>>& c, double u) {
  size_t j = 1;
  while (j + 1 < c.size() && c[j].first < u) ++j;
  const double y0 = c[j - 1].first, y1 = c[j].first;
  return c[j - 1].second + (c[j].second - c[j - 1].second) * (u - y0) / (y1 - y0);
}

}  // namespace

// First record, the geometry of a vertical and a battered group, and the
// layout of the p-y station records: S + 1 stations numbered from 1 at the
// segment ends, 2n - 1 points numbered from 1, the curve mirrored through
// the origin, the layer's soil model on every station record.
TEST(CurveDataFile, TwoDimensionalRecordLayout) {
  DECK_RUN d(deck2d());
  ASSERT_EQ(d.status, ST_OK) << d.report();
  ASSERT_EQ(d.write(), ST_OK) << d.report();
  const auto L = d.lines();
  ASSERT_GT(L.size(), 20u);
  EXPECT_EQ(L[0], "         2         2         2");  // NPILES, 2D, SI
  EXPECT_EQ(L[1], "         1         4         0");  // group 1, S = 4
  // The pile length: 10 blanks, 1 blank, G15.8 (fixed form in its first
  // 11 columns); what follows the last value is blank.
  EXPECT_EQ(L[2].substr(0, 22), "             10.000000");
  EXPECT_EQ(L[2].find_first_not_of(' ', 22), std::string::npos);
  const auto head = numbers(L[3]);
  ASSERT_EQ(head.size(), 2u);
  EXPECT_EQ(head[0], 0.0);
  EXPECT_EQ(head[1], 0.0);
  // Vertical pile: theta = pi/2, the axis along X.
  const auto d1 = numbers(L[4]), d2 = numbers(L[5]);
  EXPECT_NEAR(d1[0], 0.0, 1e-9);
  EXPECT_NEAR(d1[1], 1.0, 1e-12);
  EXPECT_NEAR(d2[0], -1.0, 1e-12);
  EXPECT_NEAR(d2[1], 0.0, 1e-9);
  // Segments at their midpoints with width, area, inertia and E.
  for (int s = 1; s <= 4; ++s) {
    char want[32];
    std::snprintf(want, sizeof want, "%10d%10.4f", s, -1.25 + 2.5 * s);
    EXPECT_EQ(L[4 + 2 * s], want);
    const auto sec = numbers(L[5 + 2 * s]);
    ASSERT_EQ(sec.size(), 4u);
    expect_close(sec[0], 0.6, "width");
    expect_close(sec[1], 0.2827, "area");
    expect_close(sec[2], 0.00636, "inertia");
    expect_close(sec[3], 2.5e7, "E");
  }
  EXPECT_EQ(L[14], "         1         5         1");  // p-y records of group 1
  size_t at = 15;
  const auto st = read_stations(L, at, 5, true);
  for (int k = 1; k <= 5; ++k) {
    const STATION& s = st[k - 1];
    SCOPED_TRACE("station " + std::to_string(k));
    EXPECT_EQ(s.k, k);
    EXPECT_DOUBLE_EQ(s.c, 2.5 * (k - 1));
    EXPECT_EQ(s.flag, 1);
    EXPECT_EQ(s.count, 33);
    EXPECT_EQ(s.model, 1);
    ASSERT_EQ(s.pts.size(), 33u);
    EXPECT_EQ(s.pts[16].first, 0.0);
    EXPECT_EQ(s.pts[16].second, 0.0);
    for (int m = 1; m <= 16; ++m) {
      EXPECT_EQ(s.pts[16 - m].first, -s.pts[16 + m].first);
      EXPECT_EQ(s.pts[16 - m].second, -s.pts[16 + m].second);
      EXPECT_GT(s.pts[16 + m].first, s.pts[15 + m].first);
    }
  }
  // The axial records follow the p-y records of the group.
  EXPECT_EQ(L.at(at), "         1         5         2");
}

// The station curve sums the half-segment curves next to the station (p
// times half the segment): one layer on both sides gives the same
// deflections and a plain sum; across the layer boundary the deflections
// are those of the curve with the smaller last deflection (the stiffer
// upper clay) and the other curve is interpolated at them. The first and
// the last station carry one half segment.
TEST(CurveDataFile, StationCurvesLumpTheTwoHalfSegments) {
  DECK_RUN ref(deck2d());
  ASSERT_EQ(ref.status, ST_OK);
  const double half = 0.5 * 2.5;
  std::vector<std::vector<std::pair<double, double>>> seg(5);
  for (int s = 1; s <= 4; ++s) {
    seg[s] = ref.tabulated(1, -1.25 + 2.5 * s);
    ASSERT_EQ(seg[s].size(), 17u);
    for (auto& pt : seg[s]) pt.second *= half;
  }
  // Both lists proportional to y50: equal within a layer, doubled below.
  EXPECT_DOUBLE_EQ(seg[1][16].first, seg[2][16].first);
  EXPECT_DOUBLE_EQ(seg[3][16].first, 2.0 * seg[2][16].first);

  DECK_RUN d(deck2d());
  ASSERT_EQ(d.write(), ST_OK);
  const auto L = d.lines();
  size_t at = 15;
  const auto st = read_stations(L, at, 5, true);
  auto positive = [](const STATION& s, int i) { return s.pts[16 + i - 1]; };  // point i = 1..17
  for (int i = 1; i <= 17; ++i) {
    SCOPED_TRACE("point " + std::to_string(i));
    const auto s1 = positive(st[0], i), s2 = positive(st[1], i), s3 = positive(st[2], i), s5 = positive(st[4], i);
    expect_close(s1.first, seg[1][i - 1].first, "station 1 y");
    expect_close(s1.second, seg[1][i - 1].second, "station 1 p");
    expect_close(s2.first, seg[1][i - 1].first, "station 2 y");
    expect_close(s2.second, seg[1][i - 1].second + seg[2][i - 1].second, "station 2 p");
    const double u = seg[2][i - 1].first;
    expect_close(s3.first, u, "station 3 y");
    expect_close(s3.second, seg[2][i - 1].second + interp(seg[3], u), "station 3 p");
    expect_close(s5.first, seg[4][i - 1].first, "tip y");
    expect_close(s5.second, seg[4][i - 1].second, "tip p");
  }
}

// A group whose first segment midpoint lies above the ground: station 1 is
// written with flag 0 and no points; station 2 carries only the upper half
// of segment 2. The battered group's axis directions follow its batter.
TEST(CurveDataFile, StationAboveTheGroundHasNoCurve) {
  DECK_RUN ref(deck2d());
  ASSERT_EQ(ref.status, ST_OK);
  auto upper2 = ref.tabulated(2, 3.75);
  ASSERT_EQ(upper2.size(), 17u);

  DECK_RUN d(deck2d());
  ASSERT_EQ(d.write(), ST_OK);
  const auto L = d.lines();
  size_t at = 0;
  while (at < L.size() && L[at] != "         2         4         0") ++at;
  ASSERT_LT(at, L.size());
  const double a = 10.0 * std::acos(-1.0) / 180.0;
  const auto d1 = numbers(L[at + 3]), d2 = numbers(L[at + 4]);
  // (pi is the single-precision value of the curves by now)
  EXPECT_NEAR(d1[0], std::sin(a), 1e-6);
  EXPECT_NEAR(d1[1], std::cos(a), 1e-6);
  EXPECT_NEAR(d2[0], -std::cos(a), 1e-6);
  EXPECT_NEAR(d2[1], std::sin(a), 1e-6);
  at += 5 + 8;
  ASSERT_EQ(L[at++], "         2         5         1");
  EXPECT_EQ(L[at + 1], "         0         0         1");
  const auto st = read_stations(L, at, 5, true);
  EXPECT_EQ(st[0].flag, 0);
  EXPECT_TRUE(st[0].pts.empty());
  ASSERT_EQ(st[1].pts.size(), 33u);
  for (int i = 1; i <= 17; ++i) {
    expect_close(st[1].pts[15 + i].first, upper2[i - 1].first, "y");
    expect_close(st[1].pts[15 + i].second, upper2[i - 1].second * 1.25, "p");
  }
}

// The file's own deflection list gives every station curve its n points
// (2n - 1 mirrored); a one-point list is one point at each station.
TEST(CurveDataFile, DeflectionListOfTheFile) {
  struct CASE {
    const char* options;
    std::vector<double> y;
  } cases[] = {
      {"4 1 1\n3\n0.0\n0.01\n0.05\n2\n0.3\n0.4\n", {0.0, 0.01, 0.05}},  // second list stored only
      {"4 1 0\n1\n0.02\n", {0.02}},
      // A repeated first deflection: the interpolation meets two points at
      // the same deflection and takes the upper point's force.
      {"4 1 0\n3\n0.0\n0.0\n0.05\n", {0.0, 0.0, 0.05}},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.options);
    DECK_RUN d(deck2d(0, c.options));
    ASSERT_EQ(d.status, ST_OK) << d.report();
    ASSERT_EQ(d.write(), ST_OK);
    const auto L = d.lines();
    size_t at = 15;
    const int n = int(c.y.size());
    const auto st = read_stations(L, at, 5, true);
    for (const STATION& s : st) {
      ASSERT_EQ(s.count, 2 * n - 1);
      for (int i = 1; i <= n; ++i) {
        EXPECT_DOUBLE_EQ(s.pts[n - 2 + i].first, c.y[i - 1]);
        EXPECT_TRUE(std::isfinite(s.pts[n - 2 + i].second));
        if (c.y[i - 1] == 0.0) {
          EXPECT_EQ(s.pts[n - 2 + i].second, 0.0);
        }
      }
    }
    EXPECT_EQ(d.curve_text().find("nan"), std::string::npos);
    EXPECT_EQ(L.at(at), "         1         5         2");
  }
}

// Axial records: the side curve at each segment midpoint times the
// perimeter and half the segment (single-precision pi), summed at the
// stations, the tip force of the q-w curve added to the positive points of
// the last station only.
TEST(CurveDataFile, AxialStationsAndTipForce) {
  DECK_RUN d(deck2d());
  ASSERT_EQ(d.status, ST_OK);
  ASSERT_EQ(d.write(), ST_OK);
  const auto L = d.lines();
  size_t at = 15;
  read_stations(L, at, 5, true);
  ASSERT_EQ(L.at(at++), "         1         5         2");
  const auto st = read_stations(L, at, 5, false);

  const STORE& s = d.store();
  EXPECT_EQ(s.rw.PI, double(3.1415927f));
  TZ_PROFILE prof;
  TZ_PROFILE_OF(s, prof);
  const AXIAL_GROUP grp = AXIAL_GROUP_OF(s, 1);
  const double pi = double(3.1415927f), b = 0.6, dL = 2.5;
  TZ_CURVE seg[5];
  for (int k = 1; k <= 4; ++k) {
    double fmax = 0, bphi = 0;
    AXIAL_MESSAGE msg;
    const double xm = -1.25 + 2.5 * k;
    ASSERT_EQ(TZ_SIDE_CURVE_AT(prof, 1, 1, xm, b, grp, 2, TZ_CURVE_FILE_AXIAL, k, fmax, bphi, seg[k], msg), ST_OK);
  }
  AXIAL_PILE pile;
  AXIAL_PILE_OF(s, 1, 0.0, pile);
  auto curves = std::make_unique<AXIAL_CURVES>();
  AXIAL_MESSAGE msg;
  ASSERT_EQ(GENERATE_TZ_CURVES(prof, pile, grp, 2, DIR_COMPRESSION, TZ_CURVE_FILE_AXIAL, *curves, msg), ST_OK);
  EXPECT_GT(curves->QMAX, 0.0);

  for (const STATION& x : st) {
    EXPECT_EQ(x.flag, 1);
    EXPECT_EQ(x.count, 19);
    ASSERT_EQ(x.pts.size(), 19u);
  }
  const double F = pi * b * dL * 0.5;
  for (int j = 1; j <= 10; ++j) {
    SCOPED_TRACE("point " + std::to_string(j));
    // Station 1: upper half of segment 1; both halves of the clay table
    // curve share the movements.
    expect_close(st[0].pts[8 + j].first, seg[1].Z[j], "station 1 z");
    expect_close(st[0].pts[8 + j].second, seg[1].T[j] * F, "station 1 F");
    expect_close(st[2].pts[8 + j].second, (seg[2].T[j] + seg[3].T[j]) * F, "station 3 F");
    // Tip: lower half of segment 4 and the tip force on the positive side.
    const double side = seg[4].T[j] * F;
    expect_close(st[4].pts[8 + j].second, side + QW_TIP_FORCE(curves->QW, seg[4].Z[j]), "tip F");
    if (j >= 2) expect_close(st[4].pts[10 - j].second, -side, "tip F, negative side");
  }
  EXPECT_GT(QW_TIP_FORCE(curves->QW, seg[4].Z[10]), 0.0);
}

// 3D: head coordinates, the three axis directions from ALPHA and BETA, six
// section values per segment, and the torsional records after the axial
// ones: rotation = movement / r, torque = force times r, no tip term.
TEST(CurveDataFile, ThreeDimensionalGeometryAndTorsion) {
  DECK_RUN d(deck3d());
  ASSERT_EQ(d.status, ST_OK) << d.report();
  ASSERT_EQ(d.write(), ST_OK) << d.report();
  const auto L = d.lines();
  const std::string all = d.curve_text();
  for (const char* bad : {"*", "nan", "NaN", "inf", "Inf"}) EXPECT_EQ(all.find(bad), std::string::npos) << bad;
  EXPECT_EQ(L[0], "         1         3         2");
  EXPECT_EQ(L[1], "         1         2         0");
  const auto head = numbers(L[3]);
  ASSERT_EQ(head.size(), 3u);
  EXPECT_DOUBLE_EQ(head[0], 0.5);
  EXPECT_DOUBLE_EQ(head[1], 1.0);
  EXPECT_DOUBLE_EQ(head[2], 2.0);
  const double a = d.store().piles.ALPHA[1], b = d.store().piles.BETA[1];
  EXPECT_NEAR(a, 20.0 * std::acos(-1.0) / 180.0, 1e-12);
  const std::vector<double> want[3] = {{std::sin(b), std::cos(a) * std::cos(b), std::sin(a) * std::cos(b)},
                                       {-std::cos(b), std::cos(a) * std::sin(b), std::sin(a) * std::sin(b)},
                                       {0.0, -std::sin(a), std::cos(a)}};
  for (int r = 0; r < 3; ++r) {
    const auto got = numbers(L[4 + r]);
    ASSERT_EQ(got.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[r][i], 1e-8);
  }
  EXPECT_EQ(L[7], "         1    3.0000");  // midpoint of segment 1: 0.5 + 2.5
  const auto sec = numbers(L[8]);
  ASSERT_EQ(sec.size(), 6u);
  const double ref[6] = {0.6, 0.2827, 0.00636, 0.00637, 2.5e7, 0.0127};
  for (int i = 0; i < 6; ++i) expect_close(sec[i], ref[i], "section value " + std::to_string(i));

  size_t at = 11;
  ASSERT_EQ(L.at(at++), "         1         3         1");
  read_stations(L, at, 3, true);
  ASSERT_EQ(L.at(at++), "         1         3         2");
  const auto ax = read_stations(L, at, 3, false);
  ASSERT_EQ(L.at(at++), "         1         3         3");
  const auto tq = read_stations(L, at, 3, false);
  EXPECT_EQ(at, L.size());
  const double r = 0.3;
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(tq[k].pts.size(), 19u);
    for (int j = 0; j < 19; ++j) {
      expect_close(tq[k].pts[j].first, ax[k].pts[j].first / r, "rotation");
      if (k < 2) expect_close(tq[k].pts[j].second, ax[k].pts[j].second * r, "torque");
    }
  }
  // The axial tip force is not part of the torsional tip station.
  const auto& tip_ax = ax[2].pts, tip_tq = tq[2].pts;
  for (int j = 0; j < 9; ++j) expect_close(tip_tq[j].second, tip_ax[j].second * r, "negative side");
  EXPECT_LT(tip_tq[18].second, tip_ax[18].second * r);
}

// The binary form holds the text form's items in its order: one framed
// record per text line, integers as 4 bytes, reals as 8 bytes.
TEST(CurveDataFile, BinaryRecordsMatchTheTextRecords) {
  for (const bool three_d : {false, true}) {
    SCOPED_TRACE(three_d ? "3D" : "2D");
    DECK_RUN t(three_d ? deck3d(0) : deck2d(0));
    DECK_RUN bin(three_d ? deck3d(1) : deck2d(1));
    ASSERT_EQ(t.status, ST_OK);
    ASSERT_EQ(bin.status, ST_OK);
    EXPECT_TRUE(bin.run->files.curve_binary);
    ASSERT_EQ(t.write(), ST_OK);
    ASSERT_EQ(bin.write(), ST_OK);
    const auto L = t.lines();
    const std::string B = bin.curve_text();
    size_t pos = 0, line = 0;
    // Which items are integers: every item of a line without a point
    // (3I10), the first of a line with an integer field in columns 1-10
    // ((I10,F10.4) and the point records); none after the 10 blanks of a
    // record of reals.
    while (pos < B.size() && line < L.size()) {
      std::uint32_t len = 0, end = 0;
      ASSERT_LE(pos + 4, B.size());
      std::memcpy(&len, B.data() + pos, 4);
      ASSERT_LE(pos + 8 + len, B.size());
      std::memcpy(&end, B.data() + pos + 4 + len, 4);
      ASSERT_EQ(len, end) << "record " << line;
      const std::string& text = L[line];
      const auto nums = numbers(text);
      const bool ints = text.find('.') == std::string::npos;
      const size_t nint = ints ? nums.size() : (text.size() > 10 && text[9] != ' ' ? 1 : 0);
      ASSERT_EQ(len, nint * 4 + (nums.size() - nint) * 8) << text;
      const char* p = B.data() + pos + 4;
      for (size_t i = 0; i < nums.size(); ++i) {
        if (i < nint) {
          std::int32_t v;
          std::memcpy(&v, p, 4);
          p += 4;
          EXPECT_EQ(v, int(nums[i])) << text;
        } else {
          double v;
          std::memcpy(&v, p, 8);
          p += 8;
          EXPECT_NEAR(v, nums[i], 1e-4 * std::fabs(nums[i]) + 1e-4) << text;
        }
      }
      pos += 8 + len;
      ++line;
    }
    EXPECT_EQ(pos, B.size());
    EXPECT_EQ(line, L.size());
  }
}

// No segments (CURVE_FILE_MODE 0) is refused before anything is written;
// a failing p-y model ends the file with its status; the phase flags are
// back at rest after the file (tabulation stays on).
TEST(CurveDataFile, FailuresAndFlags) {
  {
    DECK_RUN d(deck2d(0, "0 0 0\n"));
    ASSERT_EQ(d.status, ST_OK);
    EXPECT_EQ(d.write(), ST_DECK_RANGE);
    EXPECT_EQ(d.run->status, ST_DECK_RANGE);
    EXPECT_TRUE(d.curve_text().empty());
    EXPECT_NE(d.report().find("CURVE_FILE_MODE = 0"), std::string::npos);
  }
  {
    // A group multiplier that the p-y evaluation refuses: its status ends
    // the file at the first station, the records before it written.
    DECK_RUN d(deck2d());
    ASSERT_EQ(d.status, ST_OK);
    d.store().piles.Y_FACTOR[1] = 0.0;
    EXPECT_EQ(d.write(), ST_BAD_PROPERTY);
    EXPECT_EQ(d.run->status, ST_BAD_PROPERTY);
    EXPECT_EQ(d.store().py.PY_PHASE, 0);
    const auto L = d.lines();
    ASSERT_EQ(L.size(), 16u);
    EXPECT_EQ(L[14], "         1         5         1");
    EXPECT_EQ(L[15], "         1    0.0000");
    EXPECT_NE(d.report().find("Y-FACTOR OF THE PILE GROUP IS NOT POSITIVE"), std::string::npos);
  }
  {
    DECK_RUN d(deck2d());
    ASSERT_EQ(d.status, ST_OK);
    d.store().py.PY_PHASE = 0;
    ASSERT_EQ(d.write(), ST_OK);
    EXPECT_EQ(d.store().py.PY_PHASE, 0);
    EXPECT_FALSE(d.store().py.PY_BUFFER);
    EXPECT_TRUE(d.store().py.PY_TABULATE);
    // CURVE_FILE other than 1: no options were read and nothing is written.
    DECK_RUN off(deck2d());
    off.store().ctl.CURVE_FILE = 0;
    EXPECT_EQ(off.write(), ST_OK);
    EXPECT_TRUE(off.curve_text().empty());
  }
}

// A segment whose model gives no tabulated curve (a layer of user p-y
// curves) adds nothing to its station: the station keeps the lower half of
// the segment above, and the station below starts afresh. A pile whose tip
// lies below the ground at a negative coordinate still gets its tip station.
TEST(CurveDataFile, SegmentsWithoutGeneratedCurves) {
  {
    const std::string soil =
        "SOIL LAYERS\n3\n"
        "0 1\n0 5\n2 9\n9 30 0 0 0 0.01 0 0 0\n9 30 0 0 0 0.01 0 0 0\n"
        "0 5\n5 7.5\n2 9\n9 30 0 0 0 0.01 0 0 0\n9 30 0 0 0 0.01 0 0 0\n"
        "0 1\n7.5 20\n2 9\n9 30 0 0 0 0.01 0 0 0\n9 30 0 0 0 0.01 0 0 0\n";
    const std::string groups = "ARRANGEMENT OF PILE GROUPS\n1\n2 2 1 1 0 0\n0 0 1 1 1\n0 0 0 0\n";
    const std::string user = "USER P-Y CURVES\n1\n1 1\n6.0\n2\n0 0\n100 0.1\n";
    const std::string text = deck2d_with("1", groups, soil, user, "4 0 0\n");
    DECK_RUN ref(text);
    ASSERT_EQ(ref.status, ST_OK) << ref.report();
    const auto lower2 = ref.tabulated(1, 3.75), upper4 = ref.tabulated(1, 8.75);
    EXPECT_TRUE(ref.tabulated(1, 6.25).empty());
    ASSERT_EQ(lower2.size(), 17u);
    ASSERT_EQ(upper4.size(), 17u);
    DECK_RUN d(text);
    ASSERT_EQ(d.write(), ST_OK) << d.report();
    const auto L = d.lines();
    size_t at = 1 + 5 + 8;
    ASSERT_EQ(L.at(at++), "         1         5         1");
    const auto st = read_stations(L, at, 5, true);
    EXPECT_EQ(st[2].model, 5);
    ASSERT_EQ(st[2].pts.size(), 33u);
    ASSERT_EQ(st[3].pts.size(), 33u);
    for (int i = 1; i <= 17; ++i) {
      expect_close(st[2].pts[15 + i].second, lower2[i - 1].second * 1.25, "station 3");
      expect_close(st[3].pts[15 + i].second, upper4[i - 1].second * 1.25, "station 4");
    }
  }
  {
    // Head at -12, tip at -2, the ground surface at the head.
    const std::string soil = "SOIL LAYERS\n1\n0 1\n-12 20\n2 9\n9 30 0 0 0 0.01 0 0 0\n9 30 0 0 0 0.01 0 0 0\n";
    const std::string groups = "ARRANGEMENT OF PILE GROUPS\n1\n2 2 1 0 0 0\n0 0 1 1 1\n-12 0 0 0\n";
    const std::string text = deck2d_with("0", groups, soil, "", "4 0 0\n");
    DECK_RUN ref(text);
    ASSERT_EQ(ref.status, ST_OK) << ref.report();
    const auto lower4 = ref.tabulated(1, -3.25);
    ASSERT_EQ(lower4.size(), 17u);
    DECK_RUN d(text);
    ASSERT_EQ(d.write(), ST_OK) << d.report();
    const auto L = d.lines();
    size_t at = 1 + 5 + 8;
    ASSERT_EQ(L.at(at++), "         1         5         1");
    const auto st = read_stations(L, at, 5, true);
    EXPECT_DOUBLE_EQ(st[4].c, -2.0);
    ASSERT_EQ(st[4].flag, 1);
    ASSERT_EQ(st[4].pts.size(), 33u);
    for (int i = 1; i <= 17; ++i) expect_close(st[4].pts[15 + i].second, lower4[i - 1].second * 1.25, "tip");
    ASSERT_EQ(L.at(at++), "         1         5         2");
    const auto ax = read_stations(L, at, 5, false);
    EXPECT_EQ(ax[4].flag, 1);
    EXPECT_EQ(ax[4].pts.size(), 19u);
  }
}

// The curves are those of the loading in effect: the last load case or
// combination that was analysed.
TEST(CurveDataFile, LoadingOfTheLastAnalysedCase) {
  struct CASE {
    const char* id;
    int loading;
    int not_analyzed;
    bool cyclic;
  } cases[] = {{"static case", 1, 0, false}, {"cyclic case", 0, 0, true}, {"cyclic case skipped", 0, 1, false}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.id);
    DECK_RUN ref(deck2d());
    ASSERT_EQ(ref.status, ST_OK);
    ref.store().py.LOADING = c.cyclic ? 0 : 1;
    const auto want = ref.tabulated(1, 1.25);
    ASSERT_EQ(want.size(), 17u);
    DECK_RUN d(deck2d());
    d.store().loads.CASE[1].LOADING = c.loading;
    d.store().loads.CASE[1].NOT_ANALYZED = c.not_analyzed;
    ASSERT_EQ(d.write(), ST_OK);
    const auto L = d.lines();
    size_t at = 15;
    const auto st = read_stations(L, at, 1, true);
    for (int i = 1; i <= 17; ++i) expect_close(st[0].pts[15 + i].second, want[i - 1].second * 1.25, "p");
  }
}

// The whole text file of a small 2D deck (two groups, S = 2, the file's own
// three deflections), byte for byte against the stored file.
TEST(CurveDataFile, GoldenTwoDimensionalDeck) {
  const auto deck = kestra_test::source_path("tests/output/data/curve2d.dat");
  const auto golden = kestra_test::source_path("tests/output/data/curve2d.crv");
  DECK_RUN d(kestra_test::read_file(deck));
  ASSERT_EQ(d.status, ST_OK) << d.report();
  ASSERT_EQ(d.write(), ST_OK) << d.report();
  const auto got = d.lines();
  const auto want = kestra_test::read_lines(golden);
  const size_t n = std::min(got.size(), want.size());
  for (size_t i = 0; i < n; ++i)
    ASSERT_EQ(got[i], want[i]) << "first difference at line " << i + 1 << " of " << golden << " (deck " << deck << ")";
  EXPECT_EQ(got.size(), want.size()) << golden;
  EXPECT_EQ(d.curve_text(), kestra_test::read_file(golden));
}

// Side friction estimated from the friction angle alone (a driven pile in
// sand) leaves a trace record per station in the runtime file: "FMAX 3"
// for the axial records, "FMAX 5" for the torsional ones.
TEST(CurveDataFile, SandFrictionTraceRecords) {
  const std::string soil =
      "SOIL LAYERS\n2\n"
      "0 1\n0 5\n2 9\n9 30 0 0 0 0.01 0 0 0\n9 30 0 0 0 0.01 0 0 0\n"
      "0 4\n5 20\n2 9\n10 0 35 20000 0 0 0 0 0\n10 0 35 20000 0 0 0 0 0\n";
  struct CASE {
    bool three_d;
    std::vector<std::string> want, absent;
  } cases[] = {
      {false, {"FMAX 3"}, {"FMAX 5"}},
      {true, {"FMAX 3", "FMAX 5"}, {}},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.three_d ? "3D" : "2D");
    DECK_RUN d(c.three_d ? deck3d(0, soil) : deck2d(0, "4 0 0\n", soil));
    ASSERT_EQ(d.status, ST_OK) << d.report();
    FILE* rt = d.run->files.fp[F_RUNTIME];
    std::fflush(rt);
    const long before = std::ftell(rt);
    ASSERT_EQ(d.write(), ST_OK) << d.report();
    const std::string runtime = file_text(rt).substr(static_cast<size_t>(before));
    for (const auto& t : c.want) EXPECT_NE(runtime.find(t), std::string::npos) << t << "\n" << runtime;
    for (const auto& t : c.absent) EXPECT_EQ(runtime.find(t), std::string::npos) << t;
  }
}
