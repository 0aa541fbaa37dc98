// The axial and torsional curves as the input echo and the group analysis
// see them: Table F estimates, the generated curves of Tables H and I, the
// curve files, the warnings and statuses, and the runtime axial solution.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/report.h"
#include "engine/run.h"
#include "input/sections.h"
#include "input/soils.h"
#include "input/soils_hooks.h"
#include "pile/axial_generate.h"
#include "pile/pile_solvers.h"
#include "support/test_support.h"

using namespace kestra;
using kestra_test::file_text;
using kestra_test::split_lines;

namespace {

std::vector<std::string> lines_of(FILE* f) { return split_lines(file_text(f)); }

int count_lines_starting(const std::vector<std::string>& lines, const std::string& head) {
  int n = 0;
  for (const std::string& l : lines) n += l.rfind(head, 0) == 0;
  return n;
}

// Index of the first line equal to text (-1: none).
int find_line(const std::vector<std::string>& lines, const std::string& text, int from = 0) {
  for (size_t i = from; i < lines.size(); ++i)
    if (lines[i] == text) return static_cast<int>(i);
  return -1;
}

struct LAYER_IN {
  int model;
  double top, bottom;
  double gamma, c, phi_deg, e50, side, tip;
};

class AxialEcho : public ::testing::Test {
 protected:
  std::unique_ptr<RUN> run = std::make_unique<RUN>();

  void SetUp() override {
    RUN_RESET(*run);
    STORE& s = run->store;
    s.ctl.UNITS_SYSTEM = 1;
    s.ctl.ANALYSIS_TYPE = 3;
    SET_UNIT_LABELS(s);
    s.rw.PI = 2.0 * std::asin(1.0);
    PILE_DATA_DEFAULTS(s.piles);
    for (int role : {F_REPORT, F_RUNTIME, F_AXIAL_CURVES, F_TZ_CURVES, F_PLOT})
      run->files.fp[role] = std::tmpfile();
    layers({{1, 0.0, 240.0, 0.02, 4.0, 0, 0.02, 0, 0}, {4, 240.0, 900.0, 0.035, 0, 34, 0, 0, 0}});
    // One driven pile, 50 ft long, 18 in. wide, 40 increments.
    PILE_DATA& p = s.piles;
    p.NPILES = 1;
    p.PILE_PROP[1] = 1;
    p.NPROP = 1;
    property(1, DRIVEN_PILE, 18.0, 1e10);
  }
  void TearDown() override {
    for (FILE*& f : run->files.fp)
      if (f) {
        std::fclose(f);
        f = nullptr;
      }
  }

  void layers(std::initializer_list<LAYER_IN> in) {
    SOIL_DATA& d = run->store.soil;
    int k = 0;
    for (const LAYER_IN& l : in) {
      SOIL_LAYER& L = d.LAYER[++k];
      L.SOIL_MODEL = l.model;
      L.LAYER_TOP = l.top;
      L.LAYER_BOTTOM = l.bottom;
      L.NROWS = 2;
      L.NPROPS = 9;
      for (int r = 0; r < 2; ++r) {
        L.PROPS[r][SP_UNIT_WEIGHT] = l.gamma;
        L.PROPS[r][SP_COHESION] = l.c;
        L.PROPS[r][SP_PHI] = l.phi_deg;
        L.PROPS[r][SP_E50] = l.e50;
        L.PROPS[r][SP_SIDE_FRICTION] = l.side;
        L.PROPS[r][SP_TIP_RESISTANCE] = l.tip;
      }
    }
    d.NLAYERS = k;
    BUILD_SOIL_PROFILE(run->store);
  }

  void property(int n, int type, double width, double gj) {
    PILE_PROPERTY& pr = run->store.piles.PROP[n];
    pr.NSECT = 1;
    pr.INC = 40;
    pr.LENGTH = 600.0;
    pr.PILE_TYPE = type;
    PILE_SECTION& sec = pr.SECT[1];
    sec.SECT_FROM = 0.0;
    sec.SECT_TO = 600.0;
    sec.E_MOD = 29e6;
    for (auto* v : {&sec.TOP, &sec.BOT}) {
      (*v)[XS_DIAMETER] = width;
      (*v)[XS_AREA] = 254.0;
      (*v)[XS_GJ] = gj;
    }
  }

  std::vector<std::string> report() { return lines_of(run->files[F_REPORT]); }
  std::vector<std::string> runtime() { return lines_of(run->files[F_RUNTIME]); }
  std::vector<std::string> axial_file() { return lines_of(run->files[F_AXIAL_CURVES]); }
  std::vector<std::string> tz_file() { return lines_of(run->files[F_TZ_CURVES]); }
};

const std::string WARNING = std::string(29, ' ') + "**** WARNING ****";

}  // namespace

// ------------------------------------------------------------ Table H

TEST_F(AxialEcho, GeneratedLoadSettlementCurveAndItsFiles) {
  ASSERT_EQ(ECHO_HOOK_GENERATED_LS_CURVES(*run), ST_OK);
  const HEAD_CURVES& h = run->store.head;
  EXPECT_EQ(h.LS_DONE[1], 1);
  EXPECT_EQ(h.LS_DISP[1][10], 0.0);
  for (int i = 2; i <= 19; ++i) EXPECT_GT(h.LS_DISP[1][i], h.LS_DISP[1][i - 1]);

  // Report: the heading, the count and the 19-point table.
  const auto rep = report();
  const int at = find_line(rep, "     AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY");
  ASSERT_GE(at, 0);
  EXPECT_EQ(rep[at + 2], "     NUM OF CURVES  1");
  EXPECT_EQ(rep[at + 4], "     CURVE  1     NUM OF POINTS 19");
  EXPECT_EQ(rep[at + 6], "     DISPLACEMENT,IN    AXIAL LOAD,LBS");
  EXPECT_EQ(static_cast<int>(rep.size()), at + 7 + 19);
  EXPECT_EQ(rep[at + 7 + 9], "             0.00000           0.00000 ");

  // Axial-torsion curve file: t-z curves (pull-out pass), q-w curve
  // (compression pass), two load-settlement tables and the curve section.
  const auto ax = axial_file();
  int i = find_line(ax, "     T-Z CURVES, PILE PROPERTY:  1");
  ASSERT_GE(i, 0);
  EXPECT_EQ(ax[i + 2], "          CURVE   N. POINTS     DEPTH           T Value         Z Value");
  EXPECT_EQ(ax[i + 3], std::string(32, ' ') + "(IN.)            (PSI)           (IN.)");
  EXPECT_EQ(ax[i + 4], "            1         10      0.0000E+00");
  EXPECT_EQ(ax[i + 5], std::string(40, ' ') + "       0.0000E+00      0.0000E+00");
  EXPECT_EQ(count_lines_starting(ax, "     T-Z CURVES"), 1);
  i = find_line(ax, "     Q-W CURVE, PILE PROPERTY:  1");
  ASSERT_GE(i, 0);
  EXPECT_EQ(ax[i + 2], "         Q Value            W Value");
  EXPECT_EQ(ax[i + 3], "          (LBS)              (IN.)");
  const std::string table = "        TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT     TIP  LOAD";
  const int t1 = find_line(ax, table);
  ASSERT_GE(t1, 0);
  EXPECT_EQ(ax[t1 + 1], "           LBS             IN.              IN.            LBS");
  for (int r = 0; r < 9; ++r) {
    const std::string& row = ax[t1 + 2 + r];
    ASSERT_EQ(row.size(), 65u) << row;
    for (int col = 0; col < 4; ++col) EXPECT_EQ(row.substr(5 + 15 * col, 4), " -0.") << row;
  }
  const int t2 = find_line(ax, table, t1 + 1);
  ASSERT_GT(t2, t1);
  EXPECT_EQ(ax[t2 + 2].substr(5, 4), "  0.");
  const int sec = find_line(ax, "     * AXIAL LOAD-DISPLACEMENT CURVES *");
  ASSERT_GT(sec, t2);
  EXPECT_EQ(ax[sec + 1], "         1");
  EXPECT_EQ(ax[sec + 2], "    1   19");
  EXPECT_EQ(static_cast<int>(ax.size()), sec + 3 + 19);

  // t-z curve file: the heading and count line once, then nine march
  // tables per pass of 41 rows from the tip up.
  const auto tz = tz_file();
  ASSERT_GE(tz.size(), 4u);
  EXPECT_EQ(tz[1], "     T-Z CURVES, PILE PROPERTY:    1");
  EXPECT_EQ(tz[3], "           9           1           9          40   1.5000000E+01");
  EXPECT_EQ(count_lines_starting(tz, "       N    DEPTH      AXIAL LOAD           MOVEMENT"), 18);
  const int m1 = find_line(tz, "       N    DEPTH      AXIAL LOAD           MOVEMENT");
  EXPECT_EQ(tz[m1 + 1], "             IN.            LBS                IN.");
  EXPECT_EQ(tz[m1 + 2].substr(0, 18), "       1   600.000");
  EXPECT_EQ(tz[m1 + 42].substr(0, 18), "      41     0.000");

  // Runtime file: a trace record for every sand point.
  const auto rt = runtime();
  EXPECT_EQ(count_lines_starting(rt, " FMAX 1"), 2 * 3);
}

TEST_F(AxialEcho, RuntimeSolutionReproducesTheCurve) {
  ASSERT_EQ(ECHO_HOOK_GENERATED_LS_CURVES(*run), ST_OK);
  const HEAD_CURVES& h = run->store.head;
  auto w = std::make_unique<PILE_WORK>();
  for (int i : {2, 8, 13, 17}) {
    SCOPED_TRACE(i);
    double force = 0.0;
    ASSERT_EQ(AXIAL_SOLVE(*run, *w, 1, 1, h.LS_DISP[1][i], force), ST_OK);
    EXPECT_DOUBLE_EQ(force, h.LS_LOAD[1][i]);
    EXPECT_DOUBLE_EQ(w->AXFORCE[NODE(0)], force);
    EXPECT_DOUBLE_EQ(w->AXDISP[NODE(0)], h.LS_DISP[1][i]);
    EXPECT_DOUBLE_EQ(w->AXDISP[NODE(40)], h.LS_TIP_DISP[1][i]);
    EXPECT_EQ(w->AXFORCE[NODE(41)], 0.0);
  }
  // A displacement between points is met by the head.
  double force = 0.0;
  ASSERT_EQ(AXIAL_SOLVE(*run, *w, 1, 1, 0.25, force), ST_OK);
  EXPECT_NEAR(w->AXDISP[NODE(0)], 0.25, 0.25e-3);
  EXPECT_GT(force, h.LS_LOAD[1][16]);
  EXPECT_LT(force, h.LS_LOAD[1][17]);
  // The regeneration traces with its own text.
  EXPECT_GT(count_lines_starting(runtime(), " FMAX 2"), 0);
  // Without generated curves there is nothing to start from.
  EXPECT_EQ(AXIAL_SOLVE(*run, *w, 1, 2, 0.1, force), ST_BAD_PROPERTY);
}

TEST_F(AxialEcho, ClayTipWithoutE50StopsAfterTheTzCurves) {
  layers({{1, 0.0, 900.0, 0.02, 4.0, 0, 0.0, 0, 0}});
  EXPECT_EQ(ECHO_HOOK_GENERATED_LS_CURVES(*run), ST_LS_ZERO_E50);
  EXPECT_EQ(run->store.head.LS_DONE[1], 0);
  const auto ax = axial_file();
  EXPECT_GE(find_line(ax, "     T-Z CURVES, PILE PROPERTY:  1"), 0);
  EXPECT_EQ(count_lines_starting(ax, "        TOP  LOAD"), 0);
  EXPECT_TRUE(tz_file().empty());
  for (const auto& lines : {report(), runtime()}) {
    const int i = find_line(lines, WARNING);
    ASSERT_GE(i, 1);
    EXPECT_EQ(lines[i - 1], "");
    EXPECT_EQ(lines[i + 1], "     THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE");
  }
  EXPECT_EQ(find_line(report(), "     AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY"), -1);
  EXPECT_EQ(run->status, ST_LS_ZERO_E50);
}

TEST_F(AxialEcho, ZeroAxialRigidityStopsWithAStatusOfItsOwn) {
  run->store.piles.PROP[1].SECT[1].E_MOD = 0.0;
  EXPECT_EQ(ECHO_HOOK_GENERATED_LS_CURVES(*run), ST_BAD_PROPERTY);
  EXPECT_EQ(run->status, ST_BAD_PROPERTY);
  const auto rep = report();
  bool named = false;
  for (const auto& l : rep) named = named || l.find("AXIAL RIGIDITY EA OF PILE SECTION 1 IS NOT POSITIVE") != std::string::npos;
  EXPECT_TRUE(named);
}

TEST_F(AxialEcho, LookupWarnings) {
  struct CASE {
    int status;
    double x;
    std::vector<std::string> lines;  // after the centred warning line
  };
  const CASE cases[] = {
      {ST_BEYOND_SIDE_FRICTION, 120.1,
       {"     THE VALUE OF X = 0.12E+03 IS BEYOND THE EXTENT OF", "     THE INPUT MAX. LOAD TRANSFER"}},
      {ST_BEYOND_SIDE_RESISTANCE, 950.0,
       {"     THE VALUE OF X = 0.95E+03IS BEYOND THE EXTENT OF/     THE INPUT MAX. LOAD TRANSFER"}},
      {ST_BEYOND_TIP_FRICTION, 950.0,
       {"     THE VALUE OF X = 0.95E+03IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE, BPHI"}},
      {ST_BEYOND_UNIT_WEIGHT, 950.0,
       {"     THE VALUE OF X = 0.95E+03IS BEYOND THE EXTENT OF/     THE INPUT CURVE FOR UNIT WEIGHT"}},
      {ST_BEYOND_COHESION, 900.0, {"     THE VALUE OF X =  0.9E+03 IS BEYOND THE EXTENT OF", "     THE INPUT STRENGTH CURVE"}},
      {ST_LS_ZERO_C, 0.0, {"     THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE"}},
      {ST_TQ_ZERO_E50, 0.0, {"     THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE"}},
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.status);
    TearDown();
    SetUp();
    AXIAL_MESSAGE msg;
    msg.status = c.status;
    msg.X = c.x;
    msg.NPROFILE = 4;
    msg.XLAST = 900.0;
    EXPECT_EQ(REPORT_AXIAL_MESSAGE(*run, msg, 1), c.status);
    EXPECT_EQ(run->status, c.status);
    for (const auto& lines : {report(), runtime()}) {
      const int i = find_line(lines, WARNING);
      ASSERT_GE(i, 1);
      for (size_t k = 0; k < c.lines.size(); ++k) EXPECT_EQ(lines[i + 1 + k], c.lines[k]);
    }
    // The side-friction lookup first writes x, the profile size and its end
    // to the report.
    const auto rep = report();
    if (c.status == ST_BEYOND_SIDE_FRICTION) {
      EXPECT_EQ(rep[0], "   1.2010000E+02           4   9.0000000E+02");
    } else {
      EXPECT_EQ(rep[0], "");
    }
  }
}

TEST_F(AxialEcho, SideFrictionProfileTooShortStopsTheEcho) {
  layers({{1, 0.0, 120.0, 0.02, 4.0, 0, 0.02, 0, 0}, {1, 120.0, 120.05, 0.02, 4.0, 0, 0.02, 0, 0}});
  EXPECT_EQ(ECHO_HOOK_GENERATED_LS_CURVES(*run), ST_BEYOND_SIDE_FRICTION);
  EXPECT_GE(find_line(report(), "     THE VALUE OF X = 0.12E+03 IS BEYOND THE EXTENT OF"), 0);
  EXPECT_TRUE(axial_file().empty());
}

// ------------------------------------------------------------ Table F

TEST_F(AxialEcho, TableFShowsTheEstimatesOfBothPileTypes) {
  PILE_DATA& p = run->store.piles;
  p.NPILES = 2;
  p.NPROP = 2;
  p.PILE_PROP[2] = 2;
  property(2, DRILLED_SHAFT, 36.0, 1e10);
  ASSERT_EQ(ECHO_TABLE_F(*run), ST_OK);
  const auto rep = report();
  int side = -1, tip = -1;
  for (size_t i = 0; i < rep.size(); ++i) {
    if (side < 0 && rep[i].find("ULTIMATE UNIT SIDE FRICTION") != std::string::npos &&
        rep[i].find("(P)") != std::string::npos)
      side = static_cast<int>(i);
    if (tip < 0 && rep[i].find("ULTIMATE UNIT TIP RESISTANCE") != std::string::npos &&
        rep[i].find("(P)") != std::string::npos)
      tip = static_cast<int>(i);
  }
  ASSERT_GE(side, 0);
  ASSERT_GE(tip, 0);
  // Soft clay, c = 4 psi: driven alpha c at the top (depth taken as 1 in.,
  // c / (gamma z) = 200, alpha = 0.5 / 200^0.25), drilled 0.55 c; tips 9 c
  // for both.
  EXPECT_EQ(rep[side].substr(48, 18), "       0.53183 (P)");
  EXPECT_EQ(rep[side + 1].substr(48, 18), "       2.20000 (S)");
  EXPECT_EQ(rep[tip].substr(48, 18), "       36.0000 (P)");
  EXPECT_EQ(rep[tip + 1].substr(48, 18), "       36.0000 (S)");
}

// ------------------------------------------------------------ Table I

TEST_F(AxialEcho, GeneratedTorqueRotationCurveMirrorsItsHalves) {
  ASSERT_EQ(ECHO_HOOK_GENERATED_TR_CURVES(*run), ST_OK);
  const HEAD_CURVES& h = run->store.head;
  EXPECT_EQ(h.TR_DONE[1], 1);
  EXPECT_EQ(h.TR_ROT[1][10], 0.0);
  for (int j = 1; j <= 9; ++j) {
    EXPECT_EQ(h.TR_ROT[1][10 - j], -h.TR_ROT[1][10 + j]) << j;
    EXPECT_EQ(h.TR_MOM[1][10 - j], -h.TR_MOM[1][10 + j]) << j;
    EXPECT_GT(h.TR_MOM[1][10 + j], 0.0);
  }
  for (int i = 2; i <= 19; ++i) EXPECT_GT(h.TR_ROT[1][i], h.TR_ROT[1][i - 1]);
  // Imposed tip rotations 0.0001 .. 2.0 over the torque arm of 9 in.
  const auto ax = axial_file();
  const int tq = find_line(ax, "     T-q CURVES, PILE PROPERTY:  1");
  ASSERT_GE(tq, 0);
  EXPECT_EQ(ax[tq + 3], std::string(32, ' ') + "(IN.)          (LBS/IN.)         (RAD)");
  EXPECT_EQ(count_lines_starting(ax, "     T-q CURVES"), 1);
  const std::string table = "        TOP  MOM.     TOP MOVEMENT     TIP MOVEMENT     TIP  MOM.";
  const int t1 = find_line(ax, table);
  ASSERT_GT(t1, tq);
  EXPECT_EQ(ax[t1 + 1], "         LBS-IN.           RAD              RAD         LBS-IN.");
  for (int r = 0; r < 9; ++r) {
    const std::string& row = ax[t1 + 2 + r];
    ASSERT_EQ(row.size(), 65u) << row;
    double v[4];
    ASSERT_EQ(std::sscanf(row.c_str(), "%lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3]), 4) << row;
    for (int col = 0; col < 3; ++col) EXPECT_LT(v[col], 0.0) << row;
    EXPECT_EQ(row.substr(49), "      0.0000E+00");
  }
  EXPECT_EQ(ax[t1 + 2].substr(33, 16), "     -0.1111E-04");
  EXPECT_GE(find_line(ax, table, t1 + 1), 0);
  EXPECT_GE(find_line(ax, "     * TORQUE-ROTATION CURVES *"), 0);
  const auto rep = report();
  EXPECT_GE(find_line(rep, "     TORQUE-ROTATION CURVES GENERATED INTERNALLY"), 0);
  EXPECT_EQ(find_line(rep, "       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO"), -1);
  EXPECT_EQ(count_lines_starting(runtime(), " FMAX 4"), 2 * 3);
}

TEST_F(AxialEcho, ZeroTorsionalRigidityIsReportedAndStopsBeforeTheMarch) {
  property(1, DRIVEN_PILE, 18.0, 0.0);
  EXPECT_EQ(ECHO_HOOK_GENERATED_TR_CURVES(*run), ST_BAD_PROPERTY);
  for (const auto& lines : {report(), runtime()}) {
    const int i = find_line(lines, "       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO");
    ASSERT_GE(i, 2);
    EXPECT_EQ(lines[i - 1], "");
    EXPECT_EQ(lines[i - 2], "");
    EXPECT_EQ(lines[i + 1], "");
    EXPECT_EQ(lines[i + 2], "");
  }
  EXPECT_EQ(count_lines_starting(axial_file(), "        TOP  MOM."), 0);
  EXPECT_EQ(run->store.head.TR_DONE[1], 0);
}

TEST_F(AxialEcho, ClayTipWithoutE50StopsTheTorsionWithItsOwnStatus) {
  layers({{1, 0.0, 900.0, 0.02, 4.0, 0, 0.0, 0, 0}});
  EXPECT_EQ(ECHO_HOOK_GENERATED_TR_CURVES(*run), ST_TQ_ZERO_E50);
  EXPECT_GE(find_line(report(), "     THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE"), 0);
}

TEST_F(AxialEcho, NothingIsGeneratedWithoutAProfile) {
  run->store.soil.NL = 0;
  run->store.soil.NPROFILE = 0;
  EXPECT_EQ(ECHO_HOOK_GENERATED_LS_CURVES(*run), ST_OK);
  EXPECT_EQ(ECHO_HOOK_GENERATED_TR_CURVES(*run), ST_OK);
  EXPECT_TRUE(report().empty());
}
