// A small 3D foundation on linear springs for the group-analysis tests:
// vertical piles (alpha 0, beta 90 degrees) with a linear user
// load-settlement curve, a linear user torque-rotation curve and one
// elastic section, the lateral response of the linear-spring solutions.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/report.h"
#include "engine/run.h"
#include "input/sections.h"

namespace kestra_test {

struct PILE_AT {
  double x, y, z;
};

// Axial stiffness KA (force per length) of the user curve, torsional KT,
// over displacements -LIMIT .. LIMIT.
inline constexpr double KA = 5.0E5;
inline constexpr double KT = 2.0E6;
inline constexpr double LIMIT = 1.0;

inline std::unique_ptr<kestra::RUN> make_group(const std::vector<PILE_AT>& piles) {
  using namespace kestra;
  auto run = std::make_unique<RUN>();
  RUN_RESET(*run);
  STORE& s = run->store;
  s.ctl.ANALYSIS_TYPE = 3;
  s.ctl.UNITS_SYSTEM = 3;
  SET_UNIT_LABELS(s);
  s.ctl.USER_PY = 1;
  s.ctl.USER_PY_PRESENT = true;
  s.ctl.USER_LS = 1;
  s.ctl.USER_LS_PRESENT = true;
  s.rw.PI = 2.0 * std::asin(1.0);
  PILE_DATA& p = s.piles;
  PILE_DATA_DEFAULTS(p);
  p.NPROP = 1;
  p.PROP[1].INC = 40;
  p.PROP[1].LENGTH = 40.0;
  p.PROP[1].NSECT = 1;
  p.PROP[1].SECT[1].E_MOD = 2.0E7;
  p.PROP[1].SECT[1].SECT_TO = 40.0;
  p.PROP[1].SECT[1].TOP[XS_IZ] = p.PROP[1].SECT[1].TOP[XS_IY] = 0.05;
  p.PROP[1].SECT[1].TOP[XS_DIAMETER] = 1.0;
  p.PROP[1].SECT[1].TOP[XS_AREA] = 0.785;
  p.PROP[1].SECT[1].BOT = p.PROP[1].SECT[1].TOP;
  p.NPILES = static_cast<int>(piles.size());
  const double pi = 2.0 * std::asin(1.0);
  for (int i = 1; i <= p.NPILES; ++i) {
    p.PILE_X[i] = piles[i - 1].x;
    p.PILE_Y[i] = piles[i - 1].y;
    p.PILE_Z[i] = piles[i - 1].z;
    p.ALPHA[i] = 0.0;
    p.BETA[i] = pi / 2.0;
    p.PILE_PROP[i] = 1;
    p.LS_SET[i] = 1;
    p.PY_SET[i] = 1;
    p.TR_SET[i] = 1;
    p.CONNECTY[i] = p.CONNECTZ[i] = 2;
    p.AXIAL_FACTOR[i] = 1.0;
    p.MULTIPLICITY[i] = 1.0;
    p.NO_OF_PILE[i] = 1;
  }
  SOIL_DATA& soil = s.soil;
  soil.NLSCURVES = 1;
  soil.LS_CURVES[1].NPOINTS = 3;
  soil.LS_CURVES[1].DISP = {0.0, -LIMIT, 0.0, LIMIT};
  soil.LS_CURVES[1].LOAD = {0.0, -KA * LIMIT, 0.0, KA * LIMIT};
  soil.NTRCURVES = 1;
  soil.TR_CURVES[1].NPOINTS = 3;
  soil.TR_CURVES[1].ROTATION = {0.0, -LIMIT, 0.0, LIMIT};
  soil.TR_CURVES[1].MOMENT = {0.0, -KT * LIMIT, 0.0, KT * LIMIT};
  // A linear user p-y curve: subgrade modulus 1000 force/length^2.
  soil.NPYSETS = 1;
  soil.PY_SETS[1].NPYCURVES = 1;
  soil.PY_SETS[1].CURVE[1].NPOINTS = 2;
  soil.PY_SETS[1].CURVE[1].Y = {0.0, 0.0, 1.0};
  soil.PY_SETS[1].CURVE[1].P = {0.0, 0.0, 1000.0};
  // Analysis controls.
  CURRENT_CONTROLS& c = s.an.cur;
  c.MAXIT_CAP = 100;
  c.TOL_CAP = 1.0E-6;
  c.LOAD_INCREMENT = 1.0;
  c.MIN_INCREMENT = 0.01;
  c.PRINT_EVERY = 1;
  c.MAXIT_PILE = 100;
  c.TOL_PILE = 1.0E-12;  // tight: the head stiffness is a central difference of the solutions
  return run;
}

// A blank-padded text of n characters (and its terminator) in dst.
inline void set_text(char* dst, const char* text, int n) {
  std::memset(dst, ' ', n);
  dst[n] = 0;
  std::memcpy(dst, text, std::min<std::size_t>(std::strlen(text), n));
}

// The controls of a load case or combination driven through the whole
// analysis: every output column selected, printed at print option
// print_option, tight pile tolerance as in make_group.
inline void load_controls(kestra::LOAD_CONTROLS& c, const char* name, int print_option) {
  c.MAXIT_CAP = 100;
  c.MAXIT_PILE = 100;
  c.TOL_PILE = 1.0E-12;
  c.TOL_CAP = 1.0E-6;
  c.LOAD_INCREMENT = 1.0;
  c.MIN_INCREMENT = 0.01;
  c.PRINT_OPTION = print_option;
  c.PRINT_EVERY = 10;
  for (int k = 1; k <= kestra::OUTPUT_FLAGS; ++k) c.OUTPUT_SELECT[k] = 1;
  set_text(c.NAME, name, kestra::LOAD_NAME_CHARS);
}

// Semi-infinite beam on springs: beta and the free- and fixed-head
// deflections under a head shear H.
inline double hetenyi_beta(double ei, double k) { return std::pow(k / (4.0 * ei), 0.25); }
inline double free_head_deflection(double H, double ei, double k) { return 2.0 * H * hetenyi_beta(ei, k) / k; }
inline double fixed_head_deflection(double H, double ei, double k) { return H * hetenyi_beta(ei, k) / k; }

}  // namespace kestra_test
